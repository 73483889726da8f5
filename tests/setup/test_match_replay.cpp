// Replaying match scripts through the console: the example match, refusals
// with their line numbers, the journal that rebuilds a match in an empty
// database (after a random match and after the program was killed).
#include "matchscript/MatchScript.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "matchscript/widgets/MatchReplay.h"
#include "support/MatchFixtures.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include "common/AppPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString readFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(name));
    return QString::fromUtf8(file.readAll());
}

MatchScript parsed(const QString &text)
{
    const auto result = ParseMatchScript(text);
    if (const auto *error = std::get_if<ScriptError>(&result))
        qFatal("line %d: %s", error->line, qPrintable(error->reason));
    return std::get<MatchScript>(result);
}

// What a replay left behind: the outcome, the journal's text and the tables.
struct Replayed
{
    MatchReplay::Outcome outcome;
    QString journal;
    QStringList tables;
};

Replayed replayInSandbox(const QString &script, bool lenient = false)
{
    Sandbox sb;
    sb.dm();
    Replayed r;
    r.outcome = MatchReplay(lenient).Run(parsed(script));
    if (r.outcome.matchId >= 0) {
        r.tables = MatchTables(sb.dm().db(), r.outcome.matchId);
        if (QFile::exists(r.outcome.journal))
            r.journal = readFile(r.outcome.journal);
    }
    return r;
}

QString refusalsText(const MatchReplay::Outcome &o)
{
    QStringList lines;
    for (const auto &r : o.refusals)
        lines << u"%1: %2"_s.arg(r.line).arg(r.message);
    return lines.join(u'\n');
}

const QString SmallHeader = u"league \"Probe League\"\n"
                            "home \"Home Club\"\n"
                            "away \"Away Club\"\n"
                            "player H 4 \"Jović\" \"Marko\"\n"
                            "player H 5 \"Đurić\" \"Nikola\"\n"
                            "player H 6 \"O'Neal\" \"Luka\"\n"
                            "player H 7 \"Šarić\" \"Mario\"\n"
                            "player H 8 \"Perić\" \"Toni\"\n"
                            "player H 9 \"Babić\" \"Filip\"\n"
                            "player A 4 \"Horvat\" \"Ivan\"\n"
                            "player A 5 \"Novak\" \"Matej\"\n"
                            "player A 6 \"Kovač\" \"Damir\"\n"
                            "player A 7 \"Delić\" \"Amar\"\n"
                            "player A 8 \"Begić\" \"Emir\"\n"
                            "starters H 4 5 6 7 8\n"
                            "starters A 4 5 6 7 8\n"
                            "play\n"
                            "JUMP H\n"
                            "+\n"_s; // the entries that follow begin on line 20

} // namespace

class TestMatchReplay : public QObject
{
    Q_OBJECT

private slots:
    void exampleMatchIsReplayedAndItsJournalRebuildsIt();
    void refusalStopsTheReplay_data();
    void refusalStopsTheReplay();
    void lenientReplayGoesOn();
    void headerRefusalNamesItsLine();
    void reopenedMatchContinuesItsJournal();
    void playerAddedDuringTheMatchIsJournaled();
    void randomMatchJournalRebuildsTheMatch();
    void journalAgreesWithTheDatabaseAfterAKill();
    void journalBeginsWithTheFirstRecordedEvent();
    void headerIsSetUpWholeOrNotAtAll_data();
    void headerIsSetUpWholeOrNotAtAll();
    void headerRefusalOnTheTerminal();
};

void TestMatchReplay::exampleMatchIsReplayedAndItsJournalRebuildsIt()
{
    const QString example = readFile(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    const Replayed first = replayInSandbox(example);
    QVERIFY2(first.outcome.succeeded(), qPrintable(refusalsText(first.outcome)));
    QCOMPARE(first.outcome.entriesPlayed, int(parsed(example).entries.size()));
    QCOMPARE(first.outcome.score.home, 76);
    QCOMPARE(first.outcome.score.away, 73);
    QVERIFY(first.tables.contains(u"result: 76 : 73"_s));
    QVERIFY(first.journal.contains(u"\nplay\n"_s));

    const Replayed again = replayInSandbox(first.journal);
    QVERIFY2(again.outcome.succeeded(), qPrintable(refusalsText(again.outcome)));
    QCOMPARE(again.tables, first.tables);
}

void TestMatchReplay::refusalStopsTheReplay_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("message");
    QTest::newRow("not on the roster") << u"H 4 6 3\nH 99 6 3\nH 4 6 3\n"_s << 21
                                       << u"There is no player with No 99"_s;
    QTest::newRow("bench player keyed for a shot")
        << u"H 9 6 3\nH 4 6 3\n"_s << 20 << u"Player with No 9 is not playing at present!"_s;
    QTest::newRow("entering player already on court")
        << u"H 4 18 5 @30\n"_s << 20 << u"Player is playing allready!"_s;
    QTest::newRow("event in the log that is not there") << u"DELETE 400\n"_s << 20
                                                        << u"the event log has no event 400"_s;
}

void TestMatchReplay::refusalStopsTheReplay()
{
    QFETCH(QString, entries);
    QFETCH(int, line);
    QFETCH(QString, message);
    const Replayed r = replayInSandbox(SmallHeader + entries);
    QCOMPARE(r.outcome.refusals.size(), 1);
    QCOMPARE(r.outcome.refusals[0].line, line);
    QCOMPARE(r.outcome.refusals[0].message, message);
    QCOMPARE(r.outcome.entriesPlayed, line - 17); // nothing after the refused line
    QVERIFY(!r.outcome.succeeded());
}

void TestMatchReplay::lenientReplayGoesOn()
{
    const Replayed r = replayInSandbox(SmallHeader + u"H 99 6 3\nH 4 6 3\nA 4 18 5 @10\nA 5 8 2\n"_s, true);
    QCOMPARE(refusalsText(r.outcome), u"20: There is no player with No 99\n22: Player is playing allready!"_s);
    QCOMPARE(r.outcome.entriesPlayed, 6);
    QCOMPARE(r.outcome.score.home, 2);
    QCOMPARE(r.outcome.score.away, 3);
    // The journal holds what was accepted, nothing refused.
    QVERIFY(r.journal.endsWith(u"JUMP H\n+\nH 4 6 3\nA 5 8 2\n"_s));
}

void TestMatchReplay::headerRefusalNamesItsLine()
{
    QString script = SmallHeader;
    script.replace(u"\"Perić\""_s, u"\"%1\""_s.arg(QString(27, u'P'))); // longer than a surname may be
    const Replayed r = replayInSandbox(script);
    QCOMPARE(r.outcome.refusals.size(), 1);
    QCOMPARE(r.outcome.refusals[0].line, 8);
    QVERIFY2(!r.outcome.refusals[0].message.isEmpty(), "the program's reason is reported");
    QCOMPARE(r.outcome.entriesPlayed, 0);
}

void TestMatchReplay::reopenedMatchContinuesItsJournal()
{
    Sandbox sb;
    sb.dm();
    const MatchReplay::Outcome first = MatchReplay().Run(parsed(SmallHeader + u"H 4 6 3\n"_s));
    QVERIFY(first.succeeded());
    {
        QFile journal(first.journal);
        QVERIFY(journal.open(QIODevice::Append));
        journal.write("A 4 8"); // a line a crash cut short
    }
    MatchSession session(sb.dm());
    session.ResetWorkingTables();
    QVERIFY(session.OpenExistingMatch(first.matchId));
    session.ResetShowingState();
    QCOMPARE(session.Record({2, 4, EvMade3, 2, 0}), 1);
    QString journal = readFile(first.journal);
    QCOMPARE(journal.count(u"\nplay\n"_s), 1);
    QVERIFY2(journal.endsWith(u"\nH 4 6 3\nA 4 8 2\n"_s), qPrintable(journal));

    // A new match under the same number, as in a new database, starts a
    // journal of its own; the old one is kept.
    MatchSession another(sb.dm());
    QVERIFY(another.OpenNewMatch(first.matchId));
    QCOMPARE(readFile(first.journal + u".old"_s), journal);
    QVERIFY(!QFile::exists(first.journal));
}

void TestMatchReplay::playerAddedDuringTheMatchIsJournaled()
{
    const Replayed first = replayInSandbox(SmallHeader + u"player H 12 \"Novi\" \"Igrač\"\nH 5 18 12 @30\nH 12 6 3\n"_s);
    QVERIFY2(first.outcome.succeeded(), qPrintable(refusalsText(first.outcome)));
    QCOMPARE(first.outcome.score.home, 2);
    QVERIFY2(first.journal.endsWith(u"\nplayer H 12 \"Novi\" \"Igrač\"\nH 5 18 12 @30\nH 12 6 3\n"_s),
             qPrintable(first.journal));

    const Replayed again = replayInSandbox(first.journal);
    QVERIFY2(again.outcome.succeeded(), qPrintable(refusalsText(again.outcome)));
    QCOMPARE(again.tables, first.tables);
}

void TestMatchReplay::randomMatchJournalRebuildsTheMatch()
{
    const QString script = RandomMatchScript(20261210);
    const Replayed first = replayInSandbox(script, true);
    QVERIFY(first.outcome.matchId >= 0);
    QVERIFY2(first.outcome.entriesPlayed > 300, "a whole match was keyed");
    QVERIFY2(first.tables.filter(u"DTT:"_s).size() > 250, "most entries were recorded");

    // The journal is strict: every line of it was accepted once.
    const Replayed again = replayInSandbox(first.journal);
    QVERIFY2(again.outcome.succeeded(), qPrintable(refusalsText(again.outcome)));
    QCOMPARE(again.tables, first.tables);
}

void TestMatchReplay::journalAgreesWithTheDatabaseAfterAKill()
{
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QUINTARA_HOME"_s, home.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUINTARA_PROGRAM), {u"--replay"_s, QStringLiteral(QUINTARA_EXAMPLE_MATCH)});
    QVERIFY(program.waitForStarted());

    // Killed in the middle of the second quarter or so.
    const QString journalFile = home.filePath(u"journal-1.qms"_s);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000 && program.state() == QProcess::Running) {
        QFile journal(journalFile);
        if (journal.open(QIODevice::ReadOnly) && journal.readAll().count('\n') > 150)
            break;
        QTest::qWait(2);
    }
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    QVERIFY(program.waitForFinished());

    QString journal = readFile(journalFile);
    journal.truncate(journal.lastIndexOf(u'\n') + 1); // a line the kill cut short was never reported
    const Replayed fromJournal = replayInSandbox(journal);
    QVERIFY2(fromJournal.outcome.succeeded(), qPrintable(refusalsText(fromJournal.outcome)));

    RecordingMessenger quiet;
    Tdm killed({home.filePath(QString::fromLatin1(AppPaths::DatabaseFileName)), home.path()});
    QVERIFY(killed.Start());
    const QStringList stored = MatchTables(killed.db(), 1, false);
    // Every event reported as recorded is in both, in the same order; the
    // database may hold one more, recorded but not yet reported.
    for (const QString &table : {u"DTT:"_s, u"AKCIJE:"_s}) {
        const QStringList inDatabase = stored.filter(table);
        const QStringList inJournal = fromJournal.tables.filter(table);
        QVERIFY2(inJournal.size() > 100, qPrintable(table));
        QVERIFY2(inDatabase.size() - inJournal.size() <= 1, qPrintable(table));
        QCOMPARE(inDatabase.mid(0, inJournal.size()), inJournal);
    }
}

void TestMatchReplay::journalBeginsWithTheFirstRecordedEvent()
{
    // The state a kill leaves after the home starters were recorded and
    // before the away five: events in the database that the journal must hold.
    QString script = SmallHeader;
    script.truncate(script.indexOf(u"starters A"_s));
    script += u"play\n"_s;
    const Replayed first = replayInSandbox(script);
    QVERIFY2(first.outcome.succeeded(), qPrintable(refusalsText(first.outcome)));
    QCOMPARE(first.tables.filter(u"AKCIJE:"_s).size(), 6); // the start and five starters
    QVERIFY2(first.journal.contains(u"starters H 4 5 6 7 8\n"_s), qPrintable(first.journal));

    const Replayed again = replayInSandbox(first.journal);
    QVERIFY2(again.outcome.succeeded(), qPrintable(refusalsText(again.outcome)));
    QCOMPARE(again.tables, first.tables);

    // Both fives: the header is written at the start, each five follows it.
    const Replayed whole = replayInSandbox(SmallHeader);
    QVERIFY2(whole.journal.contains(u"play\nstarters H 4 5 6 7 8\nstarters A 4 5 6 7 8\nJUMP H\n"_s),
             qPrintable(whole.journal));
    QCOMPARE(replayInSandbox(whole.journal).tables, whole.tables);
}

void TestMatchReplay::headerIsSetUpWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("line");
    // After the league, both clubs and four players were added.
    QTest::newRow("a surname too long") << u"\"Perić\""_s << u"\"%1\""_s.arg(QString(27, u'P')) << 8;
    // After the match was defined and the home five recorded.
    QTest::newRow("an away starter not on the roster") << u"starters A 4 5 6 7 8"_s << u"starters A 4 5 6 7 99"_s
                                                       << 16;
}

void TestMatchReplay::headerIsSetUpWholeOrNotAtAll()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, line);
    QString script = SmallHeader;
    script.replace(from, to);
    Sandbox sb;
    const auto counts = [&] {
        QStringList rows;
        for (const char *table : {"LIGA", "KLUB", "IGRAC", "UTAKMICA", "SASTAV", "AKCIJE", "DTT", "INDEKSI"})
            rows << u"%1 %2"_s.arg(QLatin1String(table))
                        .arg(sb.dm().db().scalar(u"select count(*) from %1"_s.arg(QLatin1String(table))).toInt());
        return rows;
    };
    const QStringList before = counts();
    const MatchReplay::Outcome outcome = MatchReplay().Run(parsed(script));
    QCOMPARE(outcome.refusals.size(), 1);
    QCOMPARE(outcome.refusals[0].line, line);
    QVERIFY2(!outcome.refusals[0].message.isEmpty() && outcome.refusals[0].message != u"refused"_s,
             qPrintable(outcome.refusals[0].message));
    QCOMPARE(outcome.matchId, -1);
    QCOMPARE(counts(), before);
    QVERIFY(!QFile::exists(sb.file(u"journal-1.qms"_s)));
}

void TestMatchReplay::headerRefusalOnTheTerminal()
{
    // A surname of control bytes and a NUL, far longer than a line of the terminal.
    QTemporaryDir home;
    QString script = SmallHeader;
    const QString hostile = u"\x1b[2J"_s + QString(100000, QChar(u'\x01')) + QChar(0) + u"x"_s;
    script.replace(u"\"Perić\""_s, u"\""_s + hostile + u"\""_s);
    QFile file(home.filePath(u"hostile.qms"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(script.toUtf8());
    file.close();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QUINTARA_HOME"_s, home.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(QUINTARA_PROGRAM), {u"--replay"_s, file.fileName()});
    QVERIFY(program.waitForFinished(120000));
    const QByteArray out = program.readAllStandardOutput(), err = program.readAllStandardError();
    QCOMPARE(program.exitCode(), 1);
    // Nothing of a match that was never set up.
    QVERIFY2(!out.contains("Final score") && !out.contains("Journal"), out.constData());
    QVERIFY2(err.contains("\n" + QFile::encodeName(file.fileName()) + ":8: refused: "), err.left(300).constData());
    QVERIFY2(err.size() < 1000, err.left(300).constData());
    QVERIFY2(std::all_of(err.begin(), err.end(), [](char c) { return c == '\n' || uchar(c) >= 0x20; }),
             err.left(300).constData());
}

QTEST_MAIN(TestMatchReplay)
#include "test_match_replay.moc"
