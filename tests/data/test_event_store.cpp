// The event record store: copying and deleting records, numbering, the
// counting and summing family with its event filters, the event statistics
// that reports print, and the players-on-court lookup against the snapshots
// the rules engine stores.
#include "common/GameClock.h"
#include "common/MatchState.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// One DTT row; points made and missed follow from the code.
struct Dtt
{
    int match = 1;
    int number = 1;
    int side = 1;
    int player = 0;
    int code = EvAssist;
    int parameter = 0;
    int period = 1;
    int minute = 9;
    int attack = 0;
    int starter = 0;
    QString stamp = u"20:14:05;0:0"_s;
};

void insert(fb::Connection &db, const Dtt &e)
{
    const bool made = e.code == EvMade1 || e.code == EvMade2 || e.code == EvMade3;
    const bool missed = e.code == EvMiss1 || e.code == EvMiss2 || e.code == EvMiss3;
    const int value = made ? (e.code - EvMade1) / 2 + 1 : missed ? (e.code - EvMiss1) / 2 + 1 : 0;
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES, PAR1, P, M, PAR4, STARTER, S1, I1, I2, "
               "DTYPE, ISBONUS, PAR2, LGTYPE) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 33, 4)"_s,
               {e.match, e.number, e.side, e.player, e.code, e.parameter, e.period, e.minute, e.attack, e.starter,
                e.stamp, made ? value : 0, missed ? value : 0});
}

int rows(fb::Connection &db, const QString &table, int match, int number)
{
    return db.scalar(u"select count(*) from %1 where IDM = ? and RBACTION = ?"_s.arg(table), {match, number}).toInt();
}

QStringList rowText(fb::Connection &db, const QString &table, int match, int number)
{
    fb::Query q(db, u"select IDM, RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, PAR4, DTYPE, I1, I2, S1, ISBONUS, "
                     "STARTER, LGTYPE from %1 where IDM = ? and RBACTION = ?"_s.arg(table));
    q.exec({match, number});
    QStringList values;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            values << q.value(i).toString();
    return values;
}

CourtNumbers court(std::initializer_list<int> numbers)
{
    CourtNumbers five{};
    std::copy(numbers.begin(), numbers.end(), five.begin());
    return five;
}

} // namespace

class TestEventStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void copyKeepsEveryValueAndMarksTheCopy();
    void copyWritesNullsAsZeroAndEmptyText();
    void deleteEventRecord_data();
    void deleteEventRecord();
    void deletionKeepsTheRecordWhenEitherStepFails_data();
    void deletionKeepsTheRecordWhenEitherStepFails();
    void numbersAndLastPeriodOfOneMatch();

    void countingAndSummingFamily();
    void groupedCountsBySideKeyAndCode();
    void failingQueryAnswersZero();

    void fieldGoalChart();
    void timeOutsInHalf_data();
    void timeOutsInHalf();
    void rosterSizeCountsBothAwayMarks();
    void pointsByAttackType();
    void scoreQueries();

    void snapshotKeysNeverCollide();
    void lineupTakesNewestFiveIntoHighPlaces();
    void lineupMatchesWhatTheRulesEngineStores();
};

void TestEventStore::copyKeepsEveryValueAndMarksTheCopy()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    // A stamp with a quote: values are bound, never pasted into the statement.
    insert(db, {.number = 12, .side = 2, .player = 7, .code = EvMade3, .parameter = 4, .period = 3, .minute = 6,
                .attack = 2, .starter = 1, .stamp = u"20:14:05;47:45' or 1=1"_s});
    EventStore store(db);
    QVERIFY(store.CopyEventToDeleted(1, 12));
    QCOMPARE(rowText(db, u"DTT_DEL"_s, 1, 12), rowText(db, u"DTT"_s, 1, 12));
    QCOMPARE(db.scalar(u"select PAR3 from DTT_DEL where IDM = 1 and RBACTION = 12"_s).toInt(), 1);
    QCOMPARE(rows(db, u"DTT"_s, 1, 12), 1); // a copy, not a move
}

void TestEventStore::copyWritesNullsAsZeroAndEmptyText()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into DTT (IDM, RBACTION, RES) values (1, 3, 20)"_s);
    QVERIFY(EventStore(db).CopyEventToDeleted(1, 3));
    QCOMPARE(rowText(db, u"DTT_DEL"_s, 1, 3),
             (QStringList{u"1"_s, u"3"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"20"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s,
                          u"0"_s, u"0"_s, QString(), u"0"_s, u"0"_s, u"0"_s}));
}

void TestEventStore::deleteEventRecord_data()
{
    QTest::addColumn<QList<int>>("numbers"); // event numbers stored in match 1
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("left");
    QTest::newRow("one row") << QList<int>{4, 5} << true << 1 << 0;
    QTest::newRow("no row") << QList<int>{4} << false << 0 << 0;
    QTest::newRow("two rows with the number") << QList<int>{5, 5} << false << 0 << 2;
}

void TestEventStore::deleteEventRecord()
{
    QFETCH(QList<int>, numbers);
    QFETCH(bool, deleted);
    QFETCH(int, copies);
    QFETCH(int, left);
    Sandbox sb;
    auto &db = sb.dm().db();
    for (int number : numbers)
        insert(db, {.number = number});
    insert(db, {.match = 2, .number = 5}); // the same number in another match
    QCOMPARE(EventStore(db).DeleteEventRecord(1, 5), deleted);
    QCOMPARE(rows(db, u"DTT_DEL"_s, 1, 5), copies);
    QCOMPARE(rows(db, u"DTT"_s, 1, 5), left);
    QCOMPARE(rows(db, u"DTT"_s, 2, 5), 1);
    QCOMPARE(rows(db, u"DTT"_s, 1, 4), numbers.count(4));
}

void TestEventStore::deletionKeepsTheRecordWhenEitherStepFails_data()
{
    QTest::addColumn<QStringList>("obstacle");
    QTest::newRow("the copy fails")
        << QStringList{u"alter table DTT_DEL add constraint DTT_DEL_NO_TIMEOUTS check (RES <> 20)"_s};
    QTest::newRow("the deletion fails")
        << QStringList{u"create exception KEEP_IT 'kept'"_s,
                       u"create trigger DTT_KEEP for DTT before delete as begin exception KEEP_IT; end"_s};
}

void TestEventStore::deletionKeepsTheRecordWhenEitherStepFails()
{
    QFETCH(QStringList, obstacle);
    Sandbox sb;
    auto &db = sb.dm().db();
    for (const QString &statement : obstacle)
        db.executeDefinition(statement);
    insert(db, {.number = 9, .code = EvTimeOut});
    QVERIFY(!EventStore(db).DeleteEventRecord(1, 9));
    QCOMPARE(rows(db, u"DTT"_s, 1, 9), 1);
    QCOMPARE(rows(db, u"DTT_DEL"_s, 1, 9), 0);
}

void TestEventStore::numbersAndLastPeriodOfOneMatch()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    EventStore store(db);
    QCOMPARE(store.MaxEventNumber(1), 0);
    QCOMPARE(store.LastEventPeriod(1), 0);
    insert(db, {.number = 1, .period = 1});
    insert(db, {.number = 7, .period = 3});
    insert(db, {.number = 2, .period = 2});
    db.execute(u"insert into DTT (IDM, RBACTION, P) values (1, 8, null)"_s);
    insert(db, {.match = 2, .number = 50, .period = 6});
    QCOMPARE(store.MaxEventNumber(1), 8);
    QCOMPARE(store.LastEventPeriod(1), 3);
}

void TestEventStore::countingAndSummingFamily()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    // Home: player 7 scores in periods 1, 4, 5 (first overtime) and 6; a
    // starter 5 misses; an assist. Away: player 7 scores too.
    insert(db, {.number = ++n, .player = 7, .code = EvMade2, .period = 1, .starter = 1});
    insert(db, {.number = ++n, .player = 7, .code = EvMade3, .period = 4, .attack = 2, .starter = 1});
    insert(db, {.number = ++n, .player = 7, .code = EvMade2, .period = 5, .minute = 3, .starter = 1});
    insert(db, {.number = ++n, .player = 7, .code = EvMade1, .period = 6, .minute = 1, .starter = 1});
    insert(db, {.number = ++n, .player = 5, .code = EvMiss3, .period = 5, .starter = 1});
    insert(db, {.number = ++n, .player = 9, .code = EvAssist, .period = 5});
    insert(db, {.number = ++n, .side = 2, .player = 7, .code = EvMade2, .period = 5});
    insert(db, {.match = 2, .number = 1, .player = 7, .code = EvMade2, .period = 5});

    EventStore store(db);
    const struct
    {
        const char *name;
        DttCondition condition;
        int expected;
    } counts[] = {
        {"the side's events", DttCondition(1, 1), 6},
        {"first overtime by filter", DttCondition(1, 1).filter(EventFilter::Period(5)), 3},
        {"player and code", DttCondition(1, 1).equals(DttColumn::NODR, 7).equals(DttColumn::RES, EvMade2), 2},
        {"fourth period and overtimes", DttCondition(1, 1).equals(DttColumn::NODR, 7).atLeast(DttColumn::P, 4), 3},
        {"three tests, the last at least",
         DttCondition(1, 1).equals(DttColumn::NODR, 7).equals(DttColumn::STARTER, 1).atLeast(DttColumn::P, 5), 2},
        {"starters by filter", DttCondition(1, 1).filter({.starters = true}), 5},
        {"bench by filter", DttCondition(1, 1).filter({.starters = false}), 1},
        {"two filter parts", DttCondition(1, 1).filter({.fromPeriod = 5, .starters = true}), 3},
        {"until a period", DttCondition(1, 1).filter(EventFilter::UntilPeriod(4)), 2},
        {"attack type", DttCondition(1, 1).filter({.attackType = 2}), 1},
        {"one of several codes", DttCondition(1, 1).oneOf(DttColumn::RES, {EvMade1, EvMade3}), 2},
        {"the whole match", DttCondition(1), 7},
    };
    for (const auto &c : counts)
        QVERIFY2(store.CountWhere(c.condition) == c.expected,
                 qPrintable(u"%1: %2"_s.arg(QLatin1String(c.name)).arg(store.CountWhere(c.condition))));

    QCOMPARE(store.SumWhere(DttColumn::I1, DttCondition(1, 1)), 2 + 3 + 2 + 1);
    QCOMPARE(store.SumWhere(DttColumn::I1, DttCondition(1, 1).atLeast(DttColumn::P, 5)), 3);
    QCOMPARE(store.SumWhere(DttColumn::I2, DttCondition(1, 1).equals(DttColumn::NODR, 5)), 3);
    QCOMPARE(store.SumWhere(DttColumn::I1, DttCondition(1, 1).equals(DttColumn::NODR, 4)), 0); // no rows
}

void TestEventStore::groupedCountsBySideKeyAndCode()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    insert(db, {.number = ++n, .side = 2, .player = 5, .code = EvPersonalFoul, .parameter = 9});
    insert(db, {.number = ++n, .side = 2, .player = 5, .code = EvPersonalFoul, .parameter = 9, .period = 5});
    insert(db, {.number = ++n, .side = 2, .player = 6, .code = EvPersonalFoul, .parameter = 9});
    insert(db, {.number = ++n, .side = 1, .player = 9, .code = EvBlock, .parameter = 5});
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES) values (1, 99, 1, null, 12)"_s);

    EventStore store(db);
    auto text = [](const std::vector<EventCount> &groups) {
        QStringList t;
        for (const EventCount &g : groups)
            t << u"%1/%2/%3:%4"_s.arg(g.side).arg(g.key).arg(g.code).arg(g.count);
        return t.join(u' ');
    };
    QCOMPARE(text(store.CountByPlayer(DttCondition(1))), u"1/9/17:1 2/5/15:2 2/6/15:1"_s);
    QCOMPARE(text(store.CountByPlayer(DttCondition(1).filter(EventFilter::Period(1)))), u"1/9/17:1 2/5/15:1 2/6/15:1"_s);
    QCOMPARE(text(store.CountByParameter(DttCondition(1).oneOf(DttColumn::RES, {EvPersonalFoul, EvBlock}))),
             u"1/5/17:1 2/9/15:3"_s);
}

void TestEventStore::failingQueryAnswersZero()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    insert(db, {.player = 7, .code = EvMade2});
    EventStore store(db);
    // An empty set of codes makes a statement the engine refuses.
    const DttCondition broken = DttCondition(1, 1).oneOf(DttColumn::RES, {});
    QCOMPARE(store.CountWhere(broken), 0);
    QCOMPARE(store.SumWhere(DttColumn::I1, broken), 0);
    QVERIFY(store.CountByPlayer(broken).empty());
    // The connection goes on working after a failed statement.
    QCOMPARE(store.CountWhere(DttCondition(1, 1)), 1);
}

void TestEventStore::fieldGoalChart()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    auto shot = [&](int player, int code, int zone) {
        insert(db, {.number = ++n, .player = player, .code = code, .parameter = zone});
    };
    shot(7, EvMade2, 1);
    shot(7, EvMiss2, 1);
    shot(7, EvMiss2, 6);
    shot(7, EvMade3, 6);
    shot(7, EvMade3, 5); // no three-point zone 5
    shot(7, EvMade2, 0); // no zone
    shot(8, EvMade2, 3);
    shot(8, EvMiss3, 2);
    insert(db, {.number = ++n, .side = 2, .player = 7, .code = EvMade2, .parameter = 1});

    EventStatistics stats(db);
    using Chart = EventStatistics::FieldGoalCounts;
    //                 2P zones 1..6 (made, attempted)      3P zones 1, 2, 3, 4, 6
    QCOMPARE(stats.FieldGoalChart(1, 1, 7), (Chart{1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}));
    QCOMPARE(stats.SideFieldGoalChart(1, 1),
             (Chart{1, 2, 0, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1}));
}

void TestEventStore::timeOutsInHalf_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("timeOuts");
    // Time-outs taken: one in period 1, two in 2, one in 3, one in 4, two in 5, one in 6.
    QTest::newRow("first quarter") << 1 << 3;
    QTest::newRow("second quarter") << 2 << 3;
    QTest::newRow("third quarter") << 3 << 2;
    QTest::newRow("fourth quarter counts the third") << 4 << 2;
    QTest::newRow("first overtime alone") << 5 << 2;
    QTest::newRow("second overtime alone") << 6 << 1;
}

void TestEventStore::timeOutsInHalf()
{
    QFETCH(int, period);
    QFETCH(int, timeOuts);
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    for (int p : {1, 2, 2, 3, 4, 5, 5, 6})
        insert(db, {.number = ++n, .code = EvTimeOut, .period = p});
    insert(db, {.number = ++n, .side = 2, .code = EvTimeOut, .period = period});
    insert(db, {.number = ++n, .code = EvTechnicalCoach, .period = period});
    EventStatistics stats(db);
    QCOMPARE(stats.TimeOutsInHalf(1, 1, period), timeOuts);
    QCOMPARE(stats.TimeOuts(1, 1), 8);
}

void TestEventStore::rosterSizeCountsBothAwayMarks()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const QList<std::pair<int, int>> roster = {{1, 4}, {1, 5}, {0, 4}, {0, 6}, {2, 7}};
    for (const auto &[domgost, shirt] : roster)
        db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, 1, ?, ?)"_s,
                   {domgost, shirt});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, 2, 1, 4)"_s);
    EventStatistics stats(db);
    QCOMPARE(stats.RosterSize(1, 1), 2);
    QCOMPARE(stats.RosterSize(1, 2), 3);
}

void TestEventStore::pointsByAttackType()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    insert(db, {.number = ++n, .player = 7, .code = EvMade2, .attack = 2});
    insert(db, {.number = ++n, .player = 7, .code = EvMade3, .attack = 2});
    insert(db, {.number = ++n, .player = 7, .code = EvMade2, .attack = 0});
    insert(db, {.number = ++n, .player = 7, .code = EvMiss2, .attack = 2});
    insert(db, {.number = ++n, .player = 8, .code = EvMade2, .attack = 2});
    EventStatistics stats(db);
    QCOMPARE(stats.PointsByAttackType(1, 1, 7, EvMade2, 2), 2);
    QCOMPARE(stats.PointsByAttackType(1, 1, 7, {}, 2), 5);
    QCOMPARE(stats.PointsByAttackType(1, 1, 7, {}, {}), 7);
    QCOMPARE(stats.MissesByAttackType(1, 1, 7, EvMiss2, 2), 2);
    QCOMPARE(stats.MissesByAttackType(1, 1, 7, EvMiss2, 0), 0);
    db.execute(u"update DTT set LGTYPE = 3 where RBACTION in (1, 5)"_s);
    QCOMPARE(stats.FoulsOfType(1, 1, 3), 2);
    QCOMPARE(stats.FoulsOfType(1, 1, 3, 8), 1);
}

void TestEventStore::scoreQueries()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    int n = 0;
    // Home points: 2 in P1 M9, 3 in P2 M10, 1 in P3 M5, 2 in P3 M4, 2 in P5 M4; away 3 in P3 M5.
    const QList<std::tuple<int, int, int, int>> shots = {
        {1, EvMade2, 1, 9}, {1, EvMade3, 2, 10}, {1, EvMade1, 3, 5}, {1, EvMade2, 3, 4},
        {1, EvMade2, 5, 4}, {2, EvMade3, 3, 5},  {1, EvMiss3, 3, 5},
    };
    for (const auto &[side, code, period, minute] : shots)
        insert(db, {.number = ++n, .side = side, .player = 7, .code = code, .period = period, .minute = minute});

    EventStatistics stats(db);
    QCOMPARE(stats.MatchPoints(1), (std::array<int, 2>{10, 3}));
    QCOMPARE(stats.PointsInPeriod(1, 3, 1), 3);
    QCOMPARE(stats.PointsUntil(1, 3, 5, 1), 6);          // up to and including clock minute 5
    QCOMPARE(stats.PointsUntilMinute(1, 25, 1), 6);      // periods 1, 2 and period 3 at minutes 10 to 5
    QCOMPARE(stats.PointsUntilMinute(1, 26, 1), 8);
    QCOMPARE(stats.PointsUntilMinute(1, 20, 1), 5);      // the end of the second quarter
    QCOMPARE(stats.PointsUntilMinute(1, 45, 1), 2);      // past 40: the overtime points alone
    QCOMPARE(stats.PointsUntilEvent(1, 1, 3), 6);
}

void TestEventStore::snapshotKeysNeverCollide()
{
    // Every clock minute of eight periods: different game minutes never
    // share a key, and no key is one of the fixed rows 0 (now) and 1 (starters).
    std::map<int, int> gameMinuteOfKey;
    for (int period = 1; period <= 8; ++period) {
        for (int minute = PeriodStartMinute(period); minute >= 0; --minute) {
            const int key = LineupSnapshotKey(period, minute);
            QVERIFY(key != 0 && key != 1);
            const auto [it, fresh] = gameMinuteOfKey.emplace(key, GameMinute(period, minute));
            QVERIFY2(fresh || it->second == GameMinute(period, minute),
                     qPrintable(u"period %1 minute %2"_s.arg(period).arg(minute)));
        }
    }
}

void TestEventStore::lineupTakesNewestFiveIntoHighPlaces()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const int key = LineupSnapshotKey(2, 10);
    for (int shirt : {4, 5, 6, 7, 8, 9})
        db.execute(u"insert into PETORKADOM (DRES, VREME) values (?, ?)"_s, {shirt, key});
    for (int shirt : {15, 16, 17})
        db.execute(u"insert into PETORKAGOSTI (DRES, VREME) values (?, ?)"_s, {shirt, key});
    // The rows of now (0) and of the starting five (1) are other keys.
    for (int fixed : {0, 1})
        db.execute(u"insert into PETORKADOM (DRES, VREME) values (44, ?)"_s, {fixed});

    EventStore store(db);
    CurrentMatch().lineupAtMinuteHome = court({1, 1, 1, 1, 1});
    store.LoadLineupAtMinute(2, 10);
    QCOMPARE(CurrentMatch().lineupAtMinute(1), court({5, 6, 7, 8, 9}));
    QCOMPARE(CurrentMatch().lineupAtMinute(2), court({0, 0, 15, 16, 17}));
    store.LoadLineupAtMinute(1, 9);
    QCOMPARE(CurrentMatch().lineupAtMinute(1), court({}));
}

void TestEventStore::lineupMatchesWhatTheRulesEngineStores()
{
    Sandbox sb;
    rules::Desk desk(sb.dm().db());
    desk.newMatch();
    desk.startMatch(true); // home 4 5 6 7 8 and away 9 10 11 12 13 start; minute 1 runs
    auto runClockTo = [&](int period, int minute) {
        for (int changes = 0; changes < 100; ++changes) {
            const rules::Desk::Clock now = desk.clock();
            if (now.period == period && now.vreme == minute && now.kraj == 0)
                return true;
            desk.minuteChanges(1);
        }
        return false;
    };
    EventStore store(sb.dm().db());
    auto lineup = [&](int period, int minute, int side) {
        store.LoadLineupAtMinute(period, minute);
        return CurrentMatch().lineupAtMinute(side);
    };

    QCOMPARE(desk.check(1, 4, EvPlayerChange, 9), 1); // minute 1: home 9 for 4
    QVERIFY(runClockTo(3, 5));
    QCOMPARE(desk.check(2, 10, EvPlayerChange, 14), 1); // minute 25: away 14 for 10
    QVERIFY(runClockTo(5, 4));
    QCOMPARE(desk.check(2, 14, EvPlayerChange, 10), 1); // minute 41 (first overtime): away 10 for 14

    QCOMPARE(lineup(1, 10, 1), court({4, 5, 6, 7, 8}));   // the five that started the match
    QCOMPARE(lineup(1, 9, 1), court({9, 5, 6, 7, 8}));
    QCOMPARE(lineup(2, 10, 1), court({9, 5, 6, 7, 8}));   // the five that ended minute 10
    QCOMPARE(lineup(3, 5, 2), court({9, 14, 11, 12, 13}));
    QCOMPARE(lineup(4, 0, 2), court({9, 14, 11, 12, 13}));
    QCOMPARE(lineup(5, 4, 2), court({9, 10, 11, 12, 13})); // overtime minutes have keys of their own
}

QTEST_GUILESS_MAIN(TestEventStore)
#include "test_event_store.moc"
