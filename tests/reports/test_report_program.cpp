// Reports outside the report windows: the console's picture at a quarter's
// end, the same report from the command line, and the command line's
// refusals, which leave the database as it was.
#include "common/AppPaths.h"
#include "common/Transliterate.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "console/widgets/MatchConsole.h"
#include "reports/ReportCommands.h"
#include "rules/RulesDesk.h"
#include "support/ProgramRun.h"
#include "support/TestDatabase.h"
#include "support/RecordingMessenger.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ProgramRun program(const QString &home, const QStringList &arguments)
{
    return RunProgram(QStringLiteral(QUINTARA_PROGRAM), home, arguments);
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestReportProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void cleanup()
    {
        qunsetenv("QUINTARA_LIVE_DIR");
        AppPaths::ExportDirectoryReady = false;
    }
    void pictureAtAQuartersEndIsTheCommandLinesReport();
};

void TestReportProgram::pictureAtAQuartersEndIsTheCommandLinesReport()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    AppPaths::ExportDirectoryReady = true;
    RecordingMessenger messages;
    Sandbox sb;
    int match = 0, shooter = 0;
    {
        // A match with both fives; the desk's statements end here, before
        // the program needs the database to itself.
        rules::Desk desk(sb.dm().db());
        match = desk.createMatch();
        desk.openMatch(match);
        desk.startMatch(false);
        shooter = desk.court(1)[0];
        sb.dm().db().commitRetaining();
    }
    auto window = std::make_unique<TMatchFrm>();
    QVERIFY(window->OpenExistingMatch(match));
    window->show();
    MatchSession &session = window->session();
    const QString home = session.HomeName(), away = session.AwayName();
    window->TimePanelClicked();
    QVERIFY(MatchSession::Recorded(EvMade2, session.Record({1, shooter, EvMade2, 5, 0})));
    for (int i = 0; i < 9; ++i) // the first quarter's minutes: nothing has ended
        window->TimePanelClicked();
    QCOMPARE(QDir(live.path()).entryList({u"*.jpeg"_s}), QStringList());
    window->TimePanelClicked(); // the first quarter is over
    const QString name = u"%1_%2_VS_%3_Period_1.jpeg"_s.arg(match).arg(Transliterate(home), Transliterate(away));
    QStringList files = QDir(live.path()).entryList(QDir::Files);
    files.removeAll(u"data.htm"_s); // the live page
    QCOMPARE(files, QStringList{name}); // and no temporary file left
    const QString picture = QDir(live.path()).filePath(name);
    QImage decoded;
    QVERIFY(decoded.load(picture));
    QVERIFY(decoded.width() > decoded.height()); // A4 landscape
    QCOMPARE(messages.texts(), QStringList{u"Finish of 1. quarter"_s});

    const QByteArray consolePicture = fileBytes(picture);
    // An export directory that went away: said with the path, play goes on.
    QVERIFY(QDir(live.path()).removeRecursively());
    window->SavePeriodSnapshot();
    QCOMPARE(messages.texts().size(), 2);
    QVERIFY2(messages.texts().last().startsWith(u"cannot write %1"_s.arg(QDir::toNativeSeparators(live.path()))),
             qPrintable(messages.texts().last()));

    // The command line's report of the match (the newest, when none is
    // named) is the console's.
    window.reset();
    const auto tables = [&] {
        QStringList counts;
        for (const QString &table : {u"UTAKMICA"_s, u"SASTAV"_s, u"DTT"_s, u"AKCIJE"_s, u"INDEKSI"_s})
            counts << sb.dm().db().scalar(u"SELECT COUNT(*) FROM %1"_s.arg(table)).toString();
        return counts;
    };
    const QStringList before = tables();
    sb.closeDm(); // the program opens the database itself
    const QString data = sb.path();
    const QString pdf = sb.file(u"basic.pdf"_s), jpeg = sb.file(u"basic.jpeg"_s);
    ProgramRun run = program(data, {u"--report"_s, u"basic"_s, u"--pdf"_s, pdf, u"--jpeg"_s, jpeg});
    QCOMPARE(run.errors, QString());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(fileBytes(jpeg), consolePicture);
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &shown : {home, away, u"2-0"_s, u"Statistics until 10. minute"_s})
        QVERIFY2(printed.contains(shown), qPrintable(shown));
    run = program(data, {u"--report"_s, u"list"_s});
    QCOMPARE(QString::fromUtf8(run.out), ReportNames().join(u'\n') + u'\n');

    // Refusals: one line each, nothing written.
    const QString none = sb.file(u"none.pdf"_s);
    const struct
    {
        QStringList arguments;
        int exitCode;
        QString names;
    } refusals[] = {
        {{u"--report"_s, u"basic"_s, u"--match"_s, u"999"_s, u"--pdf"_s, none}, 1, u"there is no match 999"_s},
        {{u"--report"_s, u"scores"_s, u"--pdf"_s, none}, 2, u"\"scores\""_s},
        {{u"--report"_s, u"basic"_s, u"--attack"_s, u"sideways"_s, u"--pdf"_s, none}, 2, u"--attack"_s},
        {{u"--report"_s, u"basic"_s, u"--period-only"_s, u"0"_s, u"--pdf"_s, none}, 2, u"--period-only"_s},
        {{u"--report"_s, u"basic"_s, u"--period-only"_s, u"2"_s, u"--until-overtime"_s, u"--pdf"_s, none}, 2,
         u"--until-overtime"_s},
        {{u"--bonus"_s, u"after"_s}, 2, u"--bonus"_s},
        {{u"--report"_s, u"rebounds"_s, u"--attack"_s, u"second"_s, u"--pdf"_s, none}, 2, u"\"rebounds\""_s},
        {{u"--report"_s, u"basic"_s}, 2, u"--pdf"_s},
        {{u"--report"_s, u"basic"_s, u"--pdf"_s, sb.file(u"gone/basic.pdf"_s)}, 1,
         QDir::toNativeSeparators(sb.file(u"gone/basic.pdf"_s))},
    };
    for (const auto &refusal : refusals) {
        run = program(data, refusal.arguments);
        const QString context = refusal.arguments.join(u' ') + u": "_s + run.errors;
        QVERIFY2(run.exitCode == refusal.exitCode, qPrintable(context));
        QVERIFY2(run.errors.count(u'\n') == 1 && run.errors.contains(refusal.names), qPrintable(context));
        QVERIFY(!QFile::exists(none));
    }
    QCOMPARE(tables(), before);
    sb.closeDm();
}

QTEST_MAIN(TestReportProgram)
#include "test_report_program.moc"
