// One data directory and the programs on it: a first start killed at any
// moment, two first starts at once, and two consoles on one database.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// The program with its data directory `home`, offscreen.
void prepare(QProcess &program, const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "FIREBIRD", "FIREBIRD_LOCK", "FIREBIRD_TMP",
                             "QUINTARA_DATABASE", "QUINTARA_LIVE_DIR"})
        environment.remove(QLatin1String(name));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"QUINTARA_HOME"_s, home);
    environment.insert(u"HOME"_s, home);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home);
}

struct Run
{
    int exitCode = -1;
    QString out, err;
};

Run finish(QProcess &program)
{
    Run result;
    if (!program.waitForFinished(180000)) {
        program.kill();
        program.waitForFinished();
        return result;
    }
    result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    result.out = QString::fromUtf8(program.readAllStandardOutput());
    result.err = QString::fromUtf8(program.readAllStandardError());
    return result;
}

Run run(const QStringList &arguments, const QString &home)
{
    QProcess program;
    prepare(program, home);
    program.start(QStringLiteral(QUINTARA_PROGRAM), arguments);
    return finish(program);
}

// A start of the program that shows its main window and ends.
const QStringList Start{u"--startup-time"_s};

bool started(const Run &r) { return r.exitCode == 0 && r.out.contains(u"main window shown"_s); }

} // namespace

class TestDataDirectory : public QObject
{
    Q_OBJECT

private slots:
    void firstStartKilledLeavesAUsableDirectory_data();
    void firstStartKilledLeavesAUsableDirectory();
    void twoFirstStartsAtOnce();
    void desksKeyTwoMatchesAtOnce();
};

void TestDataDirectory::firstStartKilledLeavesAUsableDirectory_data()
{
    QTest::addColumn<int>("killAfterMs");
    // The first start makes the engine's directory, then the database and
    // its schema, in about a second.
    for (int ms : {30, 120, 250, 400, 550, 700, 850, 1000, 1300})
        QTest::addRow("%d ms", ms) << ms;
}

void TestDataDirectory::firstStartKilledLeavesAUsableDirectory()
{
    QFETCH(int, killAfterMs);
    QTemporaryDir home;
    {
        QProcess first;
        prepare(first, home.path());
        first.start(QStringLiteral(QUINTARA_PROGRAM), Start);
        QVERIFY(first.waitForStarted());
        QThread::msleep(killAfterMs);
        ::kill(pid_t(first.processId()), SIGKILL);
        first.waitForFinished();
    }
    const Run next = run(Start, home.path());
    QVERIFY2(started(next), qPrintable(next.out + next.err));
    // Nothing half-made is left under a temporary name either.
    const QStringList left = QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : left)
        QVERIFY2(!name.endsWith(u".creating"_s) && !name.endsWith(u".new"_s) && !name.endsWith(u".part"_s),
                 qPrintable(left.join(u' ')));
    QVERIFY(QFile::exists(home.filePath(u".firebird/intl/libfbintl.so"_s)));
}

void TestDataDirectory::twoFirstStartsAtOnce()
{
    QTemporaryDir home;
    QProcess one, other;
    prepare(one, home.path());
    prepare(other, home.path());
    one.start(QStringLiteral(QUINTARA_PROGRAM), Start);
    other.start(QStringLiteral(QUINTARA_PROGRAM), Start);
    const Run first = finish(one), second = finish(other);
    QVERIFY2(started(first), qPrintable(first.out + first.err));
    QVERIFY2(started(second), qPrintable(second.out + second.err));
}

void TestDataDirectory::desksKeyTwoMatchesAtOnce()
{
    QTemporaryDir home;
    const QString example = QStringLiteral(QUINTARA_EXAMPLE_MATCH);
    QVERIFY(started(run(Start, home.path())));
    // A first console keys the example match for some seconds.
    QProcess keying;
    prepare(keying, home.path());
    keying.start(QStringLiteral(QUINTARA_PROGRAM), {u"--replay"_s, example});
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(home.filePath(u"journal-1.qms"_s)) && waited.elapsed() < 60000)
        QTest::qWait(20);
    QCOMPARE(keying.state(), QProcess::Running);

    // A second console keys a match of its own meanwhile, and tools that
    // only read go on beside both.
    const Run second = run({u"--replay"_s, example}, home.path());
    QVERIFY2(second.exitCode == 0 && second.out.contains(u" 76 : 73 "_s), qPrintable(second.err));
    const Run page = run({u"--live-page"_s, u"--match"_s, u"1"_s}, home.path());
    QVERIFY2(page.exitCode == 0 && !page.out.isEmpty(), qPrintable(page.err));
    QVERIFY(keying.waitForFinished(120000));
    QCOMPARE(keying.exitCode(), 0);
    QVERIFY(QString::fromUtf8(keying.readAllStandardOutput()).contains(u" 76 : 73 "_s));
}

QTEST_GUILESS_MAIN(TestDataDirectory)
#include "test_data_directory.moc"
