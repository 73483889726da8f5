// The console's logic against a real database with the rules engine:
// opening and closing a match, recording events, team fouls and bonus, and
// the keyboard grammar of the entry boxes.
#include "console/EntryGrammar.h"
#include "console/MatchSession.h"
#include "console/PeriodPictures.h"
#include "common/MatchState.h"
#include "data/FbClient.h"
#include "rules/RulesDesk.h"
#include "data/MatchDesk.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include "common/AppPaths.h"
#include "data/ActionCodes.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A match between two seeded clubs, opened in a console session, with both
// starting fives recorded (the first five shirt numbers of each roster).
struct ConsoleFixture
{
    explicit ConsoleFixture(const QString &parent = QString())
        : sb(true, parent), desk(sb.dm().db()), match(desk.createMatch()), session(sb.dm())
    {
        session.ResetWorkingTables();
        QVERIFY(session.OpenExistingMatch(match));
        desk.openMatch(match);
        desk.startMatch(false);
        sb.dm().db().commitRetaining();
        session.ResetShowingState();
        for (int side = 1; side <= 2; ++side) {
            auto &starters = CurrentMatch().starters(side);
            auto it = (side == 1 ? rules::homeNumbers() : rules::awayNumbers()).begin();
            for (int i = 0; i < 5; ++i, ++it)
                starters[size_t(i)] = *it;
        }
    }

    int home(int i) const { return *std::next(rules::homeNumbers().begin(), i); }
    int away(int i) const { return *std::next(rules::awayNumbers().begin(), i); }

    int minuteChange() { return session.Record({3, 0, 3, 0, 0}); }
    int dttCount() { return db().scalar(u"select count(*) from DTT where IDM = ?"_s, {match}).toInt(); }
    int akcijeCount() { return desk.eventCount(); }
    QVariant dtt(int number, const QString &column)
    {
        return db().scalar(u"select %1 from DTT where IDM = ? and RBACTION = ?"_s.arg(column), {match, number});
    }
    fb::Connection &db() { return sb.dm().db(); }

    Sandbox sb;
    rules::Desk desk;
    int match;
    MatchSession session;
};

} // namespace

class TestMatchSession : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskKeepsWhatWasReported();
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void unknownMatchIsRefused();
    void matchKeyedAtAnotherDeskIsRefused();
    void openingMarksTheMatchAndWaitsForStarters();
    void recordedShotCarriesEveryColumn();
    void refusalRecordsNothing();
    void failedRecordLeavesNeitherTable();
    void eventNumbersContinueAfterReopening();
    void fifthFoulReachesTheBonus();
    void foulPeriods_data();
    void foulPeriods();
    void offensiveReboundStartsSecondAttack();
    void playerChangeStoresElapsedSeconds();
    void closingWritesTheResult();
    void undoTakesBackTheNewestEvent();
    void onCourtNumbersAreStoredForReports();
    void deletionFromTheEventLog_data();
    void deletionFromTheEventLog();
    void deletionFromTheUndoList();
    void undoListFollowsEveryChange();
    void isTeamAnswersAsTheRulesEngine();
    void periodSnapshotNames();
    void checkResultMessages_data();
    void checkResultMessages();

    void grammarCodeBox_data();
    void grammarCodeBox();
    void grammarExitWithoutChangesAsks_data();
    void grammarExitWithoutChangesAsks();
    void grammarPeriodStartOnlyTakesChanges();
    void grammarPlayerBox();
    void grammarInitBoxJumps();
    void grammarParameterBoxNeedsParameterCode();
    void grammarMinuteChangeMessages();
    void grammarEndAllowsOnlyOvertime();
};

void TestMatchSession::unknownMatchIsRefused()
{
    Sandbox sb;
    RecordingMessenger messages;
    MatchSession session(sb.dm());
    QVERIFY(!session.OpenExistingMatch(4242));
    QCOMPARE(messages.texts(), QStringList{u"Error! Can not find match!"_s});
}

void TestMatchSession::matchKeyedAtAnotherDeskIsRefused()
{
    Sandbox sb;
    rules::Desk desk(sb.dm().db());
    const int match = desk.createMatch(), other = desk.createMatch(), abandoned = desk.createMatch();
    // Another desk (a connection of its own) keys the match.
    auto elsewhere = fb::Connection::attach(sb.file(AppPaths::DatabaseFileName), sb.dm().db().credentials());
    MatchDesk otherDesk(*elsewhere);
    QVERIFY(otherDesk.Claim(match));
    // A desk on another computer whose program was killed: its connection is gone.
    sb.dm().db().execute(u"insert into MATCH_DESKS (ID_UTAKMICA, ATTACHMENT, COMPUTER, PROCESS) "
                         "values (?, 987654321, 'desk-7', 42)"_s,
                         {abandoned});
    sb.dm().db().commitRetaining();

    RecordingMessenger messages;
    MatchSession session(sb.dm());
    QVERIFY(!session.OpenExistingMatch(match));
    QCOMPARE(messages.texts(),
             QStringList{u"The match Rules match is being recorded at another desk (process %1 on this computer). "
                         "One desk records a match: close its console there first."_s
                             .arg(QCoreApplication::applicationPid())});
    QVERIFY(session.OpenExistingMatch(other));
    QVERIFY(session.OpenExistingMatch(abandoned));
    QCOMPARE(messages.texts().size(), 1);

    // Once given back, the match opens here; while it is open here, the other desk is refused.
    otherDesk.Release();
    QVERIFY(session.OpenExistingMatch(match));
    QVERIFY(!otherDesk.Claim(match));
    QVERIFY(otherDesk.holder().endsWith(u"on this computer"_s));
    session.Close(false);
    QVERIFY(otherDesk.Claim(match));
}

void TestMatchSession::openingMarksTheMatchAndWaitsForStarters()
{
    Sandbox sb;
    rules::Desk desk(sb.dm().db());
    const int match = desk.createMatch();
    MatchSession session(sb.dm());
    session.ResetWorkingTables();
    QVERIFY(session.OpenExistingMatch(match));
    QCOMPARE(sb.dm().db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {match}).toString(),
             u"CLOSED INCORRECTLY"_s);
    QCOMPARE(session.MatchName(), u"Rules match"_s);
    QVERIFY(!session.BothSidesOnCourt()); // entry waits for the starters
    QCOMPARE(session.PeriodText(), u"1. Quarter"_s);
    QVERIFY(!session.MatchStarted());
    desk.openMatch(match);
    desk.startMatch(false);
    QVERIFY(session.BothSidesOnCourt());
}

void TestMatchSession::recordedShotCarriesEveryColumn()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    f.session.DefenceType = 1;
    f.session.AttackType = 2;
    const int before = f.akcijeCount();
    QCOMPARE(f.session.Record({1, f.home(0), 6, 4, 0}), 1);
    QCOMPARE(f.akcijeCount(), before + 1);
    QCOMPARE(f.dttCount(), 2);
    const int n = f.session.LastEventNumber();
    QCOMPARE(n, 2);
    QCOMPARE(f.dtt(n, u"HG"_s).toInt(), 1);
    QCOMPARE(f.dtt(n, u"NODR"_s).toInt(), f.home(0));
    QCOMPARE(f.dtt(n, u"P"_s).toInt(), 1);
    QCOMPARE(f.dtt(n, u"M"_s).toInt(), 9);
    QCOMPARE(f.dtt(n, u"RES"_s).toInt(), 6);
    QCOMPARE(f.dtt(n, u"PAR1"_s).toInt(), 4);
    QCOMPARE(f.dtt(n, u"I1"_s).toInt(), 2);
    QCOMPARE(f.dtt(n, u"I2"_s).toInt(), 0);
    QCOMPARE(f.dtt(n, u"DTYPE"_s).toInt(), 1);
    QCOMPARE(f.dtt(n, u"PAR4"_s).toInt(), 2); // the attack type before the basket...
    QCOMPARE(f.session.AttackType, 0);        // ...which ends the attack
    QCOMPARE(f.dtt(n, u"STARTER"_s).toInt(), 1);
    QCOMPARE(f.dtt(n, u"ISBONUS"_s).toInt(), 0);
    QVERIFY(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d;0:0$"_s).match(f.dtt(n, u"S1"_s).toString()).hasMatch());
    // The next record shows the score before it.
    QCOMPARE(f.session.Record({2, f.away(1), 9, 1, 0}), 1);
    QVERIFY(f.dtt(n + 1, u"S1"_s).toString().endsWith(u";2:0"_s));
    QCOMPARE(f.dtt(n + 1, u"I2"_s).toInt(), 3);
    QCOMPARE(f.dtt(n + 1, u"STARTER"_s).toInt(), 1);
    QCOMPARE(f.session.Score().home, 2);
    QVERIFY(!f.session.UndoOffered());
}

void TestMatchSession::refusalRecordsNothing()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    const int events = f.akcijeCount();
    const int bench = f.home(7);
    QCOMPARE(f.session.Record({1, bench, 4, 0, 0}), 2); // a bench player cannot shoot
    QCOMPARE(f.akcijeCount(), events);
    QCOMPARE(f.dttCount(), 1);
}

void TestMatchSession::failedRecordLeavesNeitherTable()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    f.db().executeDefinition(u"create exception TEST_NO_RECORD 'the record store is broken'"_s);
    f.db().executeDefinition(u"create trigger TEST_DTT_FAILS for DTT before insert as "
                             "begin exception TEST_NO_RECORD; end"_s);
    const int events = f.akcijeCount();
    RecordingMessenger messages;
    QCOMPARE(f.session.Record({1, f.home(0), 4, 0, 0}), -1);
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY(messages.texts()[0].contains(u"the record store is broken"_s));
    QCOMPARE(f.akcijeCount(), events);
    QCOMPARE(f.dttCount(), 1);
    // The statistic lines did not keep the free throw either.
    QCOMPARE(f.desk.counter(1, f.home(0), "P1OK"), 0);

    // Nor does the session keep what a refused foul would have changed: the
    // team fouls, the newest event (which the undo button takes back), the
    // number to give next, the attack type.
    f.session.SetAttackType(2);
    QCOMPARE(f.session.Record({1, f.home(1), 15, f.away(0), 0}), -1);
    QCOMPARE(f.session.TeamFouls(1), 0);
    QCOMPARE(f.session.LastEventNumber(), 1);
    QCOMPARE(f.session.LastEventCode(), int(EvMinuteChange));
    QCOMPARE(f.session.AttackType, 2);
    f.db().executeDefinition(u"drop trigger TEST_DTT_FAILS"_s);
    QCOMPARE(f.session.Record({1, f.home(1), 15, f.away(0), 0}), 1);
    QCOMPARE(f.session.TeamFouls(1), 1);
    QCOMPARE(f.session.LastEventNumber(), 2);
}

void TestMatchSession::eventNumbersContinueAfterReopening()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 4, 0, 0}), 1);
    QCOMPARE(f.session.LastEventNumber(), 2);
    f.db().execute(u"delete from DTT where IDM = ? and RBACTION = 2"_s, {f.match});
    QCOMPARE(f.session.Record({1, f.home(0), 5, 0, 0}), 1);
    QCOMPARE(f.session.LastEventNumber(), 3); // a freed number is not given again...
    f.db().execute(u"delete from DTT where IDM = ? and RBACTION = 3"_s, {f.match});
    f.session.ResetShowingState();
    QCOMPARE(f.session.Record({1, f.home(0), 5, 0, 0}), 1);
    QCOMPARE(f.session.LastEventNumber(), 2); // ...until the console is shown again
}

void TestMatchSession::fifthFoulReachesTheBonus()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    for (int foul = 1; foul <= 5; ++foul) {
        QCOMPARE(f.session.Record({1, f.home(foul % 5), 15, f.away(0), 0}), 1);
        QCOMPARE(f.session.TeamFouls(1), foul);
        QCOMPARE(f.dtt(f.session.LastEventNumber(), u"ISBONUS"_s).toInt(), foul >= 5 ? 1 : 0);
        QCOMPARE(f.dtt(f.session.LastEventNumber(), u"LGTYPE"_s).toInt(), 1);
    }
    QVERIFY(f.session.InBonus(1));
    QVERIFY(!f.session.InBonus(2));
    QCOMPARE(TeamFoulTally::BonusText(5), u" bonus p.flts: 5"_s);
}

void TestMatchSession::foulPeriods_data()
{
    QTest::addColumn<int>("foulPeriod");
    QTest::addColumn<int>("laterPeriod");
    QTest::addColumn<int>("carried");
    QTest::addColumn<int>("code");
    QTest::newRow("third quarter does not carry into the fourth") << 3 << 4 << 0 << 15;
    QTest::newRow("fourth quarter carries into overtime") << 4 << 5 << 1 << 15;
    QTest::newRow("technical foul to a player counts") << 1 << 1 << 1 << 16;
    QTest::newRow("technical foul to the coach does not") << 1 << 1 << 0 << 19;
}

void TestMatchSession::foulPeriods()
{
    QFETCH(int, foulPeriod);
    QFETCH(int, laterPeriod);
    QFETCH(int, carried);
    QFETCH(int, code);
    // Stored fouls are read back when the console is shown again.
    ConsoleFixture f;
    f.db().execute(u"insert into DTT (IDM, RBACTION, HG, NODR, P, M, RES, PAR1) values (?, 1, 1, ?, ?, 5, ?, 0)"_s,
                   {f.match, f.home(0), foulPeriod, code});
    f.session.ResetShowingState();
    f.session.UpdateTeamFouls(1, laterPeriod, 0);
    QCOMPARE(f.session.TeamFouls(1), carried);
}

void TestMatchSession::offensiveReboundStartsSecondAttack()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 7, 2, 0}), 1);
    QCOMPARE(f.session.Record({1, f.home(1), 11, 0, 0}), 1);
    QCOMPARE(f.dtt(f.session.LastEventNumber(), u"PAR4"_s).toInt(), 0); // the rebound keeps the type before it
    QCOMPARE(f.session.AttackType, 1);
    QCOMPARE(f.session.Record({1, f.home(1), 7, 5, 0}), 1);
    QCOMPARE(f.dtt(f.session.LastEventNumber(), u"PAR4"_s).toInt(), 1);
}

void TestMatchSession::playerChangeStoresElapsedSeconds()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1); // period 1, clock minute 9
    QCOMPARE(f.session.Record({1, f.home(0), 18, f.home(6), 30}), 1);
    QCOMPARE(f.dtt(f.session.LastEventNumber(), u"PAR2"_s).toInt(), 30);
    QCOMPARE(f.session.IsTeam(1, f.home(6)), 1);
    QCOMPARE(f.session.IsTeam(1, f.home(0)), 2);
    QCOMPARE(f.session.IsTeam(1, 77), 0);
}

void TestMatchSession::closingWritesTheResult()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 8, 1, 0}), 1);
    QCOMPARE(f.session.Record({2, f.away(0), 4, 0, 0}), 1);
    f.sb.dm().SetJumpBall(f.match, 2);
    auto result = [&] {
        return f.db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {f.match}).toString();
    };
    f.session.Close(false);
    QCOMPARE(result(), u"NOT FINISHED"_s);
    f.session.Close(true);
    QCOMPARE(result(), u"3 : 1"_s);
    QCOMPARE(f.sb.dm().GetJumpBall(f.match), 2); // possession survives the close
}

void TestMatchSession::undoTakesBackTheNewestEvent()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.minuteChange(), 1);
    QVERIFY(f.session.UndoOffered());
    const int number = f.session.LastEventNumber();
    RecordingMessenger messages;
    QCOMPARE(f.session.Undo(), 1);
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(f.session.Clock().minute, 9);
    QCOMPARE(f.dttCount(), 1);
    QCOMPARE(f.db().scalar(u"select count(*) from DTT_DEL where IDM = ? and RBACTION = ? and PAR3 = 1"_s,
                           {f.match, number}).toInt(),
             1);
    QCOMPARE(f.session.LastEventNumber(), number - 1);
    // The next event does not take the number back while the console stays open.
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.LastEventNumber(), number + 1);
    // Everything taken back: nothing is left to undo but the starters and the start.
    while (f.session.UndoOffered() && f.session.LastEventCode() == 3)
        QCOMPARE(f.session.Undo(), 1);
    QCOMPARE(f.session.Clock().minute, 10);
}

void TestMatchSession::onCourtNumbersAreStoredForReports()
{
    ConsoleFixture f;
    for (int i = 0; i < 3; ++i)
        QCOMPARE(f.minuteChange(), 1); // period 1, clock minute 7
    CurrentMatch().onCourt(2).fill(0);
    f.session.StoreOnCourtNumbers();
    QCOMPARE(CurrentMatch().elapsedSecondsMarker, 180);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(IsOnCourt(2, f.away(i)), 1);
}

void TestMatchSession::deletionFromTheEventLog_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("deleted");
    const QString question = u"Are you sure to delete action %1 ?"_s;
    QTest::newRow("minute change") << u"1. TIME CHANGE"_s << QList<bool>{}
                                   << QStringList{u"This type of action can not be deleted!"_s} << false;
    QTest::newRow("no side") << u"7. TEAM OFFENCE 31"_s << QList<bool>{}
                             << QStringList{u"This type of action can not be deleted!"_s} << false;
    QTest::newRow("no number") << u"x. HOME MADE 2P  9"_s << QList<bool>{}
                               << QStringList{u"Action serial No is not correct!"_s} << false;
    QTest::newRow("declined") << u"2. HOME MADE 2P"_s << QList<bool>{false}
                              << QStringList{question.arg(u"2. HOME MADE 2P"_s)} << false;
    QTest::newRow("deleted") << u"2. HOME MADE 2P"_s << QList<bool>{true}
                             << QStringList{question.arg(u"2. HOME MADE 2P"_s), u"Action is deleted!"_s} << true;
    QTest::newRow("no such record") << u"99. HOME MADE 2P"_s << QList<bool>{true}
                                    << QStringList{question.arg(u"99. HOME MADE 2P"_s),
                                                   u"Can not delete action! Try to do it in actions review."_s}
                                    << false;
}

void TestMatchSession::deletionFromTheEventLog()
{
    QFETCH(QString, line);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(bool, deleted);
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    f.session.RefreshCourtPanels();
    QCOMPARE(f.session.Record({1, f.home(0), 6, 2, 0}), 1); // record 2
    QCOMPARE(f.session.Score().home, 2);
    const int events = f.akcijeCount();
    RecordingMessenger recorded;
    for (bool a : answers)
        recorded.answer(a);
    QCOMPARE(f.session.DeleteLoggedEvent(line), deleted);
    QCOMPARE(recorded.texts(), messages);
    QCOMPARE(f.dttCount(), deleted ? 1 : 2);
    QCOMPARE(f.session.Score().home, deleted ? 0 : 2);
    QCOMPARE(f.akcijeCount(), events); // the rules engine keeps its event
    // The basket's plus-minus goes with it.
    const int plusMinus = f.db().scalar(u"select coalesce(sum(VAL), 0) from INDEKSI where IDGAME = ? and HG = 1"_s,
                                        {f.match}).toInt();
    QCOMPARE(plusMinus, deleted ? 0 : 10);
}

void TestMatchSession::deletionFromTheUndoList()
{
    ConsoleFixture f;
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 18, f.home(6), 10}), 1);
    QCOMPARE(f.session.Record({1, f.home(6), 4, 0, 0}), 1);
    QCOMPARE(f.session.Record({2, f.away(0), 10, 0, 0}), 1);
    const auto list = f.session.UndoList();
    QCOMPARE(list.size(), 4); // starters and the match start are not offered
    QCOMPARE(list[0].display, u"AWAY %1  %2"_s.arg(list[0].name).arg(f.away(0)));
    RecordingMessenger messages;
    // The change cannot go: the player who came in scored afterwards.
    messages.answer(true);
    QVERIFY(!f.session.DeleteFromUndoList(list, 2));
    QCOMPARE(messages.texts(), (QStringList{u"Delete Event: %1; %2"_s.arg(list[2].name, list[2].display),
                                            u"Warning! Some action is not allowed."_s}));
    QCOMPARE(f.session.UndoList().size(), 4);
    // The rebound can.
    messages.messages.clear();
    messages.answer(true);
    QVERIFY(f.session.DeleteFromUndoList(list, 0));
    QCOMPARE(f.session.UndoList().size(), 3);
    QCOMPARE(f.dttCount(), 4); // this route leaves the event records alone
}

void TestMatchSession::undoListFollowsEveryChange()
{
    ConsoleFixture f;
    // What the session shows against the events in force read whole.
    const auto shown = [&] {
        QList<int> ids;
        for (const auto &row : f.session.UndoList())
            ids << row.eventId;
        return ids;
    };
    const auto inForce = [&] {
        QList<int> ids;
        for (const EventInForce &e : RulesEngine(f.db()).RemovableEvents(f.match))
            ids << e.eventId;
        return ids;
    };
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 6, 2, 0}), 1);
    QCOMPARE(shown(), inForce());
    QCOMPARE(f.session.Record({2, f.away(0), 6, 2, 0}), 1);
    QCOMPARE(f.session.Record({1, f.home(7), 4, 0, 0}), 2); // refused: a bench player cannot shoot
    QCOMPARE(shown(), inForce());
    QCOMPARE(shown().size(), 3);
    QCOMPARE(f.session.Undo(), 1);
    QCOMPARE(shown(), inForce());
    QCOMPARE(f.session.Record({2, f.away(1), 6, 2, 0}), 1);
    QCOMPARE(shown(), inForce());
    // The home basket, below the newest event.
    RecordingMessenger messages;
    messages.answer(true);
    QVERIFY(f.session.DeleteFromUndoList(f.session.UndoList(), 1));
    QCOMPARE(shown(), inForce());
    QCOMPARE(f.session.Record({1, f.home(1), 6, 2, 0}), 1);
    QCOMPARE(shown(), inForce());
    QCOMPARE(shown().size(), 3);
}

void TestMatchSession::isTeamAnswersAsTheRulesEngine()
{
    ConsoleFixture f;
    const auto agrees = [&] {
        for (int side : {1, 2})
            for (int number : QList<int>{f.home(0), f.home(6), f.away(0), f.away(6), 77, 0})
                if (f.session.IsTeam(side, number) != f.desk.isTeam(side, number))
                    return false;
        return true;
    };
    QVERIFY(agrees());
    QCOMPARE(f.minuteChange(), 1);
    QCOMPARE(f.session.Record({1, f.home(0), 18, f.home(6), 10}), 1);
    QCOMPARE(f.session.IsTeam(1, f.home(6)), 1);
    QVERIFY(agrees());
    QCOMPARE(f.session.Undo(), 1);
    QCOMPARE(f.session.IsTeam(1, f.home(6)), 2);
    QVERIFY(agrees());
    QCOMPARE(f.session.Record({2, f.away(0), 18, f.away(6), 20}), 1);
    RecordingMessenger messages;
    messages.answer(true);
    QVERIFY(f.session.DeleteFromUndoList(f.session.UndoList(), 0));
    QVERIFY(agrees());
}

void TestMatchSession::periodSnapshotNames()
{
    QTemporaryDir dir;
    const auto name = [&] { return PeriodSnapshotFileName(dir.path(), 7, u"Crvena Zvezda Đ"_s, u"Šibenik"_s, 3); };
    QCOMPARE(QFileInfo(name()).fileName(), u"7_Crvena Zvezda DJ_VS_Sibenik_Period_2.jpeg"_s);
    // A picture of the same period already there: the next free number.
    for (const QString &taken : {u"7_Crvena Zvezda DJ_VS_Sibenik_Period_2.jpeg"_s,
                                 u"7_Crvena Zvezda DJ_VS_Sibenik_Period_3.jpeg"_s}) {
        QFile file(QDir(dir.path()).filePath(taken));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(QFileInfo(name()).fileName(), u"7_Crvena Zvezda DJ_VS_Sibenik_Period_4.jpeg"_s);
}

void TestMatchSession::checkResultMessages_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QString>("message");
    using R = Refusal;
    QTest::newRow("0") << 0 << int(R::Player) << u"There is no player with No 7!!!"_s;
    QTest::newRow("2") << 2 << int(R::Player) << u"Player No 7 is not playing at present!"_s;
    QTest::newRow("3, a shot's zone") << 3 << int(R::Parameter)
                                      << u"Incorrect zone! Available zones : 1 to 6 (for three points 1,2,3,4,6) !"_s;
    QTest::newRow("4") << 4 << int(R::Parameter) << u"Incorrect data! Available values 1,2,3,4 to 13 !"_s;
    QTest::newRow("5") << 5 << int(R::Parameter) << u"Player is playing allready!"_s;
    QTest::newRow("6") << 6 << int(R::Parameter) << u"There is no player with No 12!!!"_s;
    QTest::newRow("7 as 6") << 7 << int(R::Parameter) << u"There is no player with No 12!!!"_s;
    QTest::newRow("8") << 8 << int(R::Parameter) << u"Player No 12 is not playing at present!"_s;
    QTest::newRow("9") << 9 << int(R::Parameter) << u"Incorrect data!. Available values: 1,2,3,4 to 13)!"_s;
    QTest::newRow("33") << 33 << int(R::Init) << u"ACTION is not allowed! Match time or over time not finished!"_s;
    QTest::newRow("unknown") << 44 << int(R::None) << u"FATAL UNKNOWN ERROR! unit MatchU"_s;
}

void TestMatchSession::checkResultMessages()
{
    QFETCH(int, result);
    QFETCH(int, focus);
    QFETCH(QString, message);
    const auto refusal = CheckResultMessage(result, u"7"_s, u"12"_s);
    QCOMPARE(int(refusal.focus), focus);
    QCOMPARE(refusal.message, message);
}

// ------------------------------------------------------------------ grammar

namespace {

struct GrammarFixture : ConsoleFixture
{
    GrammarFixture() : grammar(session, hooks())
    {
        QObject::connect(&session, &MatchSession::matchChanged, [this](MatchChanges what) {
            if (what & MatchChange::EventAdded)
                ++recorded;
        });
    }

    EntryGrammar::Hooks hooks()
    {
        EntryGrammar::Hooks h;
        h.askSeconds = [this](bool) { return secondsAnswer; };
        h.refreshCourt = [this] { ++courtRefreshes; };
        return h;
    }

    // Types into a box (focusing it first) and presses Enter.
    void key(EntryBox box, const QString &text)
    {
        grammar.Focus(box);
        grammar.edit(box, text);
        grammar.Enter();
    }

    std::optional<int> secondsAnswer = 20;
    int courtRefreshes = 0;
    int recorded = 0;
    EntryGrammar grammar;
};

} // namespace

void TestMatchSession::grammarCodeBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("recordedCode");
    QTest::newRow("21 alone is unknown") << u"21"_s << u"Error. Unknown event! Press F2 for legend."_s << -1;
    QTest::newRow("team offence is not a code-box code") << u"31"_s << u"Error. Unknown event! Press F2 for legend."_s << -1;
    QTest::newRow("zero") << u"0"_s << u"Error. Unknown event! Press F2 for legend."_s << -1;
    QTest::newRow("not a number") << u"x"_s << u"Data value has to be integer!"_s << -1;
    QTest::newRow("made free throw") << u"4"_s << QString() << 4;
    QTest::newRow("zone needed") << u"6"_s << QString() << -1;
}

void TestMatchSession::grammarCodeBox()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, recordedCode);
    GrammarFixture f;
    QCOMPARE(f.minuteChange(), 1);
    f.recorded = 0; // what the grammar records from here on
    RecordingMessenger messages;
    f.key(EntryBox::HomePlayer, QString::number(f.home(0)));
    QCOMPARE(f.grammar.focus(), EntryBox::HomeCode);
    QCOMPARE(f.grammar.text(EntryBox::Init), u"1"_s);
    f.grammar.edit(EntryBox::HomeCode, typed);
    f.grammar.Enter();
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (recordedCode >= 0) {
        QCOMPARE(f.session.LastEventCode(), recordedCode);
        QCOMPARE(f.grammar.focus(), EntryBox::Init);
        QCOMPARE(f.recorded, 1);
    } else {
        QCOMPARE(f.dttCount(), 1);
        // Refused on the code box, or on to the parameter box for a code that needs one.
        QCOMPARE(f.grammar.focus(), typed == u"6"_s ? EntryBox::HomeParameter : EntryBox::HomeCode);
        QVERIFY(f.grammar.selected());
    }
}

void TestMatchSession::grammarExitWithoutChangesAsks_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("home asks twice") << 1 << QList<bool>{true, true} << true;
    QTest::newRow("home second No") << 1 << QList<bool>{true, false} << false;
    QTest::newRow("away asks once") << 2 << QList<bool>{true} << true;
    QTest::newRow("away No") << 2 << QList<bool>{false} << false;
}

void TestMatchSession::grammarExitWithoutChangesAsks()
{
    QFETCH(int, side);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, recorded);
    GrammarFixture f;
    QCOMPARE(f.minuteChange(), 1);
    RecordingMessenger messages;
    for (bool a : answers)
        messages.answer(a);
    const EntryBox player = side == 1 ? EntryBox::HomePlayer : EntryBox::AwayPlayer;
    const EntryBox code = side == 1 ? EntryBox::HomeCode : EntryBox::AwayCode;
    f.key(player, QString::number(side == 1 ? f.home(0) : f.away(0)));
    f.key(code, u"210"_s);
    QCOMPARE(messages.messages.size(), answers.size());
    for (const auto &m : messages.messages)
        QCOMPARE(m.second, u"Are you sure to make Exit Without Change ? "_s);
    QCOMPARE(f.session.LastEventCode() == 21, recorded);
}

void TestMatchSession::grammarPeriodStartOnlyTakesChanges()
{
    GrammarFixture f; // clock at 10: the period has not started
    RecordingMessenger messages;
    f.key(EntryBox::HomePlayer, QString::number(f.home(0)));
    f.key(EntryBox::HomeCode, u"018"_s); // the rule compares the text
    QCOMPARE(messages.texts(), QStringList{u"Before period start you can change lining players only. "
                                            "Type \"+\" or code 3 for minutes change!"_s});
    QVERIFY(f.grammar.EntryRefused);
    QCOMPARE(f.grammar.focus(), EntryBox::HomeCode);
    messages.messages.clear();
    f.key(EntryBox::HomeCode, u"18"_s);
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(f.grammar.focus(), EntryBox::HomeParameter);
    f.key(EntryBox::HomeParameter, QString::number(f.home(6)));
    QCOMPARE(f.session.LastEventCode(), 18);
    QCOMPARE(f.courtRefreshes, 1);
    // Before the clock runs the change happens at the start of the period.
    QCOMPARE(f.dtt(f.session.LastEventNumber(), u"PAR2"_s).toInt(), 0);
}

void TestMatchSession::grammarPlayerBox()
{
    GrammarFixture f;
    QCOMPARE(f.minuteChange(), 1);
    RecordingMessenger messages;
    f.key(EntryBox::HomePlayer, QString::number(f.home(8)));
    QCOMPARE(messages.texts(), QStringList{u"Player with No %1 is not playing at present!"_s.arg(f.home(8))});
    QCOMPARE(f.grammar.text(EntryBox::HomePlayer), QString());
    messages.messages.clear();
    f.key(EntryBox::AwayPlayer, QString::number(f.away(8)));
    QCOMPARE(messages.texts(), QStringList{u"Player No %1 is not playing at present"_s.arg(f.away(8))});
    messages.messages.clear();
    f.key(EntryBox::AwayPlayer, u"77"_s);
    QCOMPARE(messages.texts(), QStringList{u"There is no player with No 77"_s});
    messages.messages.clear();
    // Leaving with a bench player's number empties the box without a word.
    f.grammar.Focus(EntryBox::HomePlayer);
    f.grammar.edit(EntryBox::HomePlayer, QString::number(f.home(8)));
    f.grammar.Focus(EntryBox::HomeCode);
    QCOMPARE(f.grammar.text(EntryBox::HomePlayer), QString());
    QVERIFY(messages.messages.isEmpty());
}

void TestMatchSession::grammarInitBoxJumps()
{
    GrammarFixture f;
    f.grammar.Focus(EntryBox::Init);
    f.grammar.edit(EntryBox::Init, u"2"_s);
    f.grammar.KeyReleased(2);
    QCOMPARE(f.grammar.focus(), EntryBox::AwayPlayer);
    f.grammar.Focus(EntryBox::Init);
    f.grammar.edit(EntryBox::Init, u"3"_s);
    f.grammar.KeyReleased(3);
    QCOMPARE(f.grammar.focus(), EntryBox::Init); // 3 waits for Enter
    f.grammar.Enter();
    QCOMPARE(f.session.Clock().minute, 9);
    // Up and Down walk the boxes as one column.
    f.grammar.Focus(EntryBox::HomeParameter);
    f.grammar.Down();
    QCOMPARE(f.grammar.focus(), EntryBox::AwayPlayer);
    f.grammar.Up();
    f.grammar.Up();
    QCOMPARE(f.grammar.focus(), EntryBox::HomeCode);
    f.grammar.Focus(EntryBox::AwayParameter);
    f.grammar.Down();
    QCOMPARE(f.grammar.focus(), EntryBox::AwayParameter);
}

void TestMatchSession::grammarParameterBoxNeedsParameterCode()
{
    GrammarFixture f;
    QCOMPARE(f.minuteChange(), 1);
    RecordingMessenger messages;
    f.key(EntryBox::HomePlayer, QString::number(f.home(0)));
    f.grammar.edit(EntryBox::HomeCode, u"10"_s);
    f.key(EntryBox::HomeParameter, u"3"_s);
    QCOMPARE(messages.texts(), QStringList{u"Event or action is not created correctly!"_s});
    QCOMPARE(f.dttCount(), 1);
    // A refused zone comes back to the parameter box with the engine's message.
    messages.messages.clear();
    f.grammar.edit(EntryBox::HomeCode, u"8"_s);
    f.key(EntryBox::HomeParameter, u"5"_s);
    QCOMPARE(f.grammar.focus(), EntryBox::HomeParameter);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(f.dttCount(), 1);
}

void TestMatchSession::grammarMinuteChangeMessages()
{
    GrammarFixture f;
    RecordingMessenger messages;
    for (int i = 0; i < 11; ++i)
        f.key(EntryBox::Init, u"3"_s);
    QCOMPARE(messages.texts(), QStringList{u"Finish of 1. quarter"_s});
    QCOMPARE(f.session.PeriodText(), u"2. Quarter"_s);
    QCOMPARE(f.session.Clock().minute, 10);
    QCOMPARE(f.recorded, 11);
}

void TestMatchSession::grammarEndAllowsOnlyOvertime()
{
    GrammarFixture f;
    RecordingMessenger messages;
    for (int i = 0; i < 44; ++i)
        f.grammar.MinuteChange();
    QVERIFY(messages.texts().contains(u"Finish. For over time type \"+\" or code 3 into Init box!"_s));
    QCOMPARE(f.session.PeriodText(), u"END"_s);
    messages.messages.clear();
    f.grammar.Focus(EntryBox::AwayCode);
    QCOMPARE(f.grammar.focus(), EntryBox::Init);
    QCOMPARE(messages.texts(), QStringList{u"For any action you must enter over time! "
                                            "Type \"+\" or code 3 into Init field."_s});
    f.grammar.Focus(EntryBox::Init);
    f.grammar.NumPlus();
    QCOMPARE(f.session.PeriodText(), u"Overtime 1"_s);
    QCOMPARE(f.session.Clock().minute, 5);
}

void TestMatchSession::fullDiskKeepsWhatWasReported()
{
    QTemporaryDir mountPoint;
    if (QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=12m"_s, u"tmpfs"_s, mountPoint.path()}) != 0)
        QSKIP("a 12 MB tmpfs could not be mounted here (that needs root): the full disk is not tried");
    const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {u"-l"_s, mountPoint.path()}); });
    ConsoleFixture f(mountPoint.path());
    RecordingMessenger messages;
    QCOMPARE(f.minuteChange(), 1);
    f.sb.dm().WaitForSafetyCopies();
    const QString directory = f.sb.path();
    const int eventsBefore = f.akcijeCount(), recordsBefore = f.dttCount();

    // The disk filled to its last byte.
    QFile filler(mountPoint.filePath(u"filler"_s));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    for (const qsizetype size : {64 << 10, 4 << 10, 1}) {
        const QByteArray block(size, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    filler.close();

    // Free throws keyed until the database cannot grow: its free pages take
    // entries while the journal and the safety copies already fail.
    int reported = 0, result = 1;
    for (int i = 0; i < 5000 && result == 1; ++i) {
        result = f.session.Record({1, f.home(i % 5), EvMade1, 0, 0});
        reported += result == 1;
        if (i > 1000)
            f.sb.dm().PollSafetyCopies();
    }
    qInfo("%d entries recorded on the full disk", reported);
    QCOMPARE(result, -1);
    const QString said = messages.texts().join(u'\n');
    QVERIFY2(said.contains(u"The disk that holds %1 is full. The match journal "_s.arg(directory)), qPrintable(said));
    QVERIFY2(said.contains(u"The disk that holds %1 is full. The event was not recorded: "_s.arg(directory)),
             qPrintable(said));
    // Every entry reported as recorded is stored; the refused one is not.
    QCOMPARE(f.akcijeCount(), eventsBefore + reported);
    QCOMPARE(f.dttCount(), recordsBefore + reported);
    // No half-written file under a name a user might trust.
    for (const QString &name : QDir(directory).entryList(QDir::Files))
        QVERIFY2(!name.endsWith(u".part"_s), qPrintable(name));

    // Space freed: entries and safety copies go on by themselves.
    QVERIFY(filler.remove());
    QCOMPARE(f.session.Record({1, f.home(0), EvMade1, 0, 0}), 1);
    ++reported;
    // The journal caught up: the lines the full disk held back came first.
    QFile journal(f.session.Journal().FileName(f.match));
    QVERIFY(journal.open(QIODevice::ReadOnly));
    const QString journaled = QString::fromUtf8(journal.readAll());
    QCOMPARE(journaled.count(QRegularExpression(u"^H \\d+ 4$"_s, QRegularExpression::MultilineOption)), reported);
    const QString backup = f.sb.file(QString::fromLatin1(AppPaths::BackupFileName));
    const auto copied = [&] {
        f.sb.dm().PollSafetyCopies();
        if (f.sb.dm().db().scalar(u"select count(*) from DTT where IDM = ?"_s, {f.match}).toInt() !=
            recordsBefore + reported)
            return false;
        auto copy = fb::Connection::attach(backup, f.db().credentials());
        return copy->scalar(u"select count(*) from DTT where IDM = ?"_s, {f.match}).toInt() == recordsBefore + reported;
    };
    QTRY_VERIFY_WITH_TIMEOUT(copied(), 15000);
    f.sb.dm().WaitForSafetyCopies();
    QVERIFY(!QFile::exists(f.sb.file(QString::fromLatin1(AppPaths::DatabaseFileName)) + u".delta"_s));
}

QTEST_GUILESS_MAIN(TestMatchSession)
#include "test_match_session.moc"
