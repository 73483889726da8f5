// The program as a terminal user starts it: its options without a display,
// refusals before any database is made, and a start as a user who is not root.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out, err;
};

// How the program is started: which file, by whom, with what more in its environment.
struct Launch
{
    QString program = QStringLiteral(QUINTARA_PROGRAM);
    bool asNobody = false;
    QStringList environment;
};

// Runs the program with no display at all, its data directory `home`.
Run run(const QStringList &arguments, const QString &home, const Launch &launch = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "FIREBIRD", "FIREBIRD_LOCK",
                             "FIREBIRD_TMP", "QUINTARA_DATABASE", "QUINTARA_LIVE_DIR"})
        environment.remove(QLatin1String(name));
    environment.insert(u"QUINTARA_HOME"_s, home);
    environment.insert(u"HOME"_s, home);
    for (const QString &pair : launch.environment)
        environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    QProcess program;
    program.setProcessEnvironment(environment);
    if (launch.asNobody)
        program.start(u"setpriv"_s,
                      QStringList{u"--reuid=nobody"_s, u"--regid=nogroup"_s, u"--clear-groups"_s, launch.program} +
                          arguments);
    else
        program.start(launch.program, arguments);
    Run result;
    if (!program.waitForFinished(120000)) {
        program.kill();
        program.waitForFinished();
        return result;
    }
    result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    result.out = program.readAllStandardOutput();
    result.err = program.readAllStandardError();
    return result;
}

// No byte of the output is a control character other than a line end.
bool printable(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == '\n' || uchar(c) >= 0x20; });
}

// A directory that `nobody` owns.
bool handOver(const QString &directory)
{
    const passwd *nobody = getpwnam("nobody");
    return nobody && chown(QFile::encodeName(directory).constData(), nobody->pw_uid, nobody->pw_gid) == 0;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void optionsWithoutDisplay_data();
    void optionsWithoutDisplay();
    void unusableDataDirectoryIsOneMessage();
    void startAsAUserWhoIsNotRoot();
};

void TestCommandLine::optionsWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("saying"); // on standard output, then on standard error
    QTest::addColumn<bool>("onStandardError");
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0
                            << QStringList{u"--replay"_s, u"QUINTARA_HOME"_s, u"QUINTARA_LIVE_DIR"_s,
                                           u"QUINTARA_DATABASE"_s, u"data directory"_s, u"QNDB.FDB"_s}
                            << false;
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << QStringList{u"Quintara v."_s} << false;
    QTest::newRow("unknown option") << QStringList{u"--colour"_s} << 1 << QStringList{u"Unknown option 'colour'"_s}
                                    << true;
    QTest::newRow("--lenient alone") << QStringList{u"--lenient"_s} << 1
                                     << QStringList{u"--lenient goes with --replay"_s} << true;
    QTest::newRow("missing script") << QStringList{u"--replay"_s, u"no-such-match.qms"_s} << 2
                                    << QStringList{u"no-such-match.qms: No such file or directory"_s} << true;
    QTest::newRow("a directory for a script") << QStringList{u"--replay"_s, u"."_s} << 2 << QStringList{u".:"_s}
                                              << true;
    QTest::newRow("a binary file for a script")
        << QStringList{u"--replay"_s, u"binary.qms"_s} << 2
        << QStringList{u"binary.qms:1: unknown header line \"\\x7fELF\\x02\\x1b[2J\\x00\\ufffd"_s, u"..."_s} << true;
}

void TestCommandLine::optionsWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, saying);
    QFETCH(bool, onStandardError);
    QTemporaryDir home;
    QFile binary(home.filePath(u"binary.qms"_s));
    QVERIFY(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\x7f" "ELF\x02\x1b[2J\x00\xff", 11) + QByteArray(300, '\x01'));
    binary.close();
    QDir::setCurrent(home.path());

    const Run r = run(arguments, home.path());
    QCOMPARE(r.exitCode, exitCode);
    const QString said = QString::fromUtf8(onStandardError ? r.err : r.out);
    for (const QString &words : saying)
        QVERIFY2(said.contains(words), qPrintable(said));
    QVERIFY2(printable(r.err) && printable(r.out), r.err.constData());
    // Nothing was made for a run that stopped at its options.
    QVERIFY(!QFile::exists(home.filePath(u"QNDB.FDB"_s)));
    QVERIFY(!QFile::exists(home.filePath(u".firebird"_s)));
}

void TestCommandLine::unusableDataDirectoryIsOneMessage()
{
    // A data directory under a file cannot be made, for root as for anyone.
    QTemporaryDir top;
    QFile file(top.filePath(u"file"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString home = top.filePath(u"file/data"_s);
    const Run r = run({u"--replay"_s, QStringLiteral(QUINTARA_EXAMPLE_MATCH)}, home);
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = QString::fromUtf8(r.err).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.filter(u"error:"_s).size(), 1);
    QVERIFY2(lines.first().contains(home) && lines.first().contains(u"cannot be made"_s), r.err.constData());
}

void TestCommandLine::startAsAUserWhoIsNotRoot()
{
    if (geteuid() != 0)
        QSKIP("runs the program as nobody, which needs root to start it");
    QTemporaryDir top;
    QVERIFY(QFile::setPermissions(top.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                  QFile::ReadOther | QFile::ExeOther));
    const QString home = top.filePath(u"home"_s);
    QVERIFY(QDir().mkpath(home));
    QVERIFY(handOver(home));
    // The build may lie where nobody may not look: the program and a script go beside the data.
    const Launch nobody{top.filePath(u"quintara"_s), true, {u"QT_QPA_PLATFORM=offscreen"_s}};
    const QString script = top.filePath(u"match.qms"_s);
    QVERIFY(QFile::copy(QStringLiteral(QUINTARA_PROGRAM), nobody.program));
    QVERIFY(QFile::copy(QStringLiteral(QUINTARA_EXAMPLE_MATCH), script));
    for (const QString &file : {nobody.program, script})
        QVERIFY(QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOther | QFile::ExeOther));

    // A first start: the database is made, and every engine file stays in the data directory.
    const Run first = run({u"--startup-time"_s}, home, nobody);
    QVERIFY2(first.exitCode == 0, first.err.constData());
    QVERIFY(first.out.contains("main window shown after"));
    QVERIFY(QFile::exists(home + u"/QNDB.FDB"_s));
    QVERIFY(!QDir(home + u"/.firebird/lock"_s).entryList(QDir::Files).isEmpty());
    QVERIFY(QFileInfo(home + u"/.firebird/tmp"_s).isDir());
    // A second start opens the same database.
    const Run second = run({u"--startup-time"_s}, home, nobody);
    QVERIFY2(second.exitCode == 0, second.err.constData());

    // A data directory the user may not write to: one message, naming it and why.
    const QString foreign = top.filePath(u"foreign"_s);
    QVERIFY(QDir().mkpath(foreign));
    const Run refused = run({u"--replay"_s, script}, foreign, nobody);
    QCOMPARE(refused.exitCode, 1);
    const QStringList lines = QString::fromUtf8(refused.err).split(u'\n', Qt::SkipEmptyParts).filter(u"error:"_s);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(foreign) && lines.first().contains(u"Permission denied"_s),
             refused.err.constData());
    QVERIFY(!QFile::exists(foreign + u"/.firebird"_s));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
