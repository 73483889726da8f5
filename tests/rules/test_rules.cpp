// The rules of the match database, code by code, against a real embedded
// database: what CHECKACTION accepts and refuses, what each event does to the
// clock row, the statistic, period and minute lines and the players on court,
// the clock through four quarters and two overtimes, UNDO of every kind of
// event, DELETEACTION, RE_OPEN, ISTEAM and TGTRENER; every counter of
// db/statistic_columns.txt in the lines it belongs to.
//
// Rosters (rules::homeNumbers / awayNumbers): home 4-14 and 100, away 9-20;
// the starters are home 4, 5, 6, 7, 8 and away 9, 10, 11, 12, 13.

#include "data/FbClient.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTest>

using namespace rules;

namespace {

// A state of the match that a test row starts from.
enum class State {
    New,           // match opened, nothing recorded
    Opened,        // match start (code 1) recorded
    Starters,      // and both starting fives
    Running,       // and the first minute change: quarter 1, clock 9 (minute 1)
    QuarterLast,   // quarter 1, clock 0 (minute 10)
    PeriodStart,   // quarter 2 not started: clock 10
    LastMinute,    // quarter 4, clock 0 (minute 40)
    Ended,         // play ended after quarter 4 (KRAJ 1)
    Finished,      // and the match finish (code 22)
    OvertimeStart, // first overtime not started: period 5, clock 5
    Overtime,      // first overtime running: clock 4 (minute 41)
    AwayFour,      // code 1, five home starters, four away
};

// Events written as "A0 A1 CODE A3", separated by commas; "start" stands for
// the match start, both fives and the first minute change, "minute" for one
// minute change. A leading "*" marks the event a test row points at.
struct Script
{
    std::vector<Event> events;
    int marked = -1;
};

Script parse(const QString &text)
{
    Script s;
    for (QString item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.startsWith(QLatin1Char('*'))) {
            s.marked = int(s.events.size());
            item = item.mid(1).trimmed();
        }
        if (item == QLatin1String("start")) {
            s.events.push_back({3, 0, 1, 0});
            for (int d : {4, 5, 6, 7, 8})
                s.events.push_back({1, d, 2, 0});
            for (int d : {9, 10, 11, 12, 13})
                s.events.push_back({2, d, 2, 0});
            s.events.push_back({3, 0, 3, 0});
        } else if (item == QLatin1String("minute")) {
            s.events.push_back({3, 0, 3, 0});
        } else {
            const QStringList n = item.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            Q_ASSERT(n.size() == 4);
            s.events.push_back({n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt()});
        }
    }
    return s;
}

bool accepted(int ok) { return ok == 1 || ok == 60 || ok == 66; }

// Adds `delta` to the named counters of one player's statistic line and of
// his lines for minute `minute` and period `period` in a dump.
QString bumped(const QString &dump, int side, int dres, int minute, int period, const QStringList &columns)
{
    QStringList lines = dump.split(QLatin1Char('\n'));
    const QStringList keys = {QStringLiteral("STAT %1 %2 ").arg(side).arg(dres),
                              QStringLiteral("LINE %1 %2 %3 ").arg(side).arg(minute).arg(dres),
                              QStringLiteral("LINE %1 %2 %3 ").arg(side).arg(-period).arg(dres)};
    for (const QString &key : keys) {
        bool found = false;
        for (QString &line : lines) {
            if (!line.startsWith(key))
                continue;
            found = true;
            QStringList values = line.mid(key.size()).split(QLatin1Char(' '));
            for (const QString &c : columns) {
                const int i = columnIndex(c.toLatin1().constData());
                Q_ASSERT(i >= 0);
                values[i] = QString::number(values[i].toInt() + 1);
            }
            line = key + values.join(QLatin1Char(' '));
        }
        if (!found)
            lines << QStringLiteral("missing line: ") + key;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

Q_DECLARE_METATYPE(State)

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void playerEventCounts_data();
    void playerEventCounts();
    void everyListedCounterReachesItsLines_data();
    void everyListedCounterReachesItsLines();
    void eventsWithoutLines_data();
    void eventsWithoutLines();
    void refusals_data();
    void refusals();
    void enteringPlayerWithFiveFoulsIsRefused();
    void timeOutAllowance_data();
    void timeOutAllowance();

    void startersAndMatchStart();
    void substitutionMovesThePlayersOnCourt_data();
    void substitutionMovesThePlayersOnCourt();
    void exitWithoutChangeLeavesFour();

    void clockWalk_data();
    void clockWalk();
    void wholeMatchOnCourt();
    void minutesPlayedFollowTheFiveAtEachMinuteEnd();

    void undoTakesBackEachKindOfEvent_data();
    void undoTakesBackEachKindOfEvent();
    void undoAnswers_data();
    void undoAnswers();

    void deleteAction_data();
    void deleteAction();
    void deleteActionOfAnEventNotInForce_data();
    void deleteActionOfAnEventNotInForce();

    void reOpenRebuildsFromTheEventsInForce_data();
    void reOpenRebuildsFromTheEventsInForce();
    void isTeam_data();
    void isTeam();
    void coachTechnicalsUpToAPeriod_data();
    void coachTechnicalsUpToAPeriod();

private:
    bool reach(State state);
    bool record(const QString &script);
    bool record(const std::vector<Event> &events);

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<Desk> desk_;
};

void TestRules::initTestCase()
{
    sandbox_ = std::make_unique<Sandbox>();
    desk_ = std::make_unique<Desk>(sandbox_->dm().db());
}

void TestRules::init() { desk_->newMatch(); }

void TestRules::cleanupTestCase()
{
    desk_.reset();
    sandbox_.reset();
}

bool TestRules::record(const std::vector<Event> &events)
{
    for (const Event &e : events) {
        const int ok = desk_->check(e);
        if (!accepted(ok)) {
            qWarning("(A0 %d, A1 %d, code %d, A3 %d) was refused with %d", e.a0, e.a1, e.code, e.a3, ok);
            return false;
        }
    }
    return true;
}

bool TestRules::record(const QString &script) { return record(parse(script).events); }

bool TestRules::reach(State state)
{
    switch (state) {
    case State::New: return true;
    case State::Opened: return record(QStringLiteral("3 0 1 0"));
    case State::AwayFour:
        return record(QStringLiteral("3 0 1 0, 1 4 2 0, 1 5 2 0, 1 6 2 0, 1 7 2 0, 1 8 2 0, "
                                     "2 9 2 0, 2 10 2 0, 2 11 2 0, 2 12 2 0"));
    case State::Starters: {
        std::vector<Event> e = parse(QStringLiteral("start")).events;
        e.pop_back(); // all but the minute change
        return record(e);
    }
    default: break;
    }
    if (!record(QStringLiteral("start")))
        return false;
    const int changes = state == State::Running       ? 0
                        : state == State::QuarterLast ? 9
                        : state == State::PeriodStart ? 10
                        : state == State::LastMinute  ? 42
                        : state == State::Ended       ? 43
                        : state == State::Finished    ? 43
                        : state == State::OvertimeStart ? 44
                                                        : 45;
    for (int i = 0; i < changes; ++i)
        if (!record(QStringLiteral("minute")))
            return false;
    if (state == State::Finished)
        return record(QStringLiteral("3 0 22 0"));
    return true;
}

// ---------------------------------------------------------------- events

void TestRules::playerEventCounts_data()
{
    QTest::addColumn<int>("a0");
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("a3");
    QTest::addColumn<QStringList>("columns");      // counters of the acting player
    QTest::addColumn<int>("named");                // the player named in A3 (other side), or 0
    QTest::addColumn<QStringList>("namedColumns"); // his counters

    const QStringList none;
    QTest::newRow("free throw made") << 1 << 4 << 4 << 0 << QStringList{"P1OK", "P1UK"} << 0 << none;
    QTest::newRow("free throw missed") << 2 << 9 << 5 << 0 << QStringList{"P1UK"} << 0 << none;
    QTest::newRow("two made, zone 1") << 1 << 5 << 6 << 1 << QStringList{"P21OK", "P21UK"} << 0 << none;
    QTest::newRow("two made, zone 5") << 2 << 13 << 6 << 5 << QStringList{"P25OK", "P25UK"} << 0 << none;
    QTest::newRow("two missed, zone 6") << 2 << 10 << 7 << 6 << QStringList{"P26UK"} << 0 << none;
    QTest::newRow("three made, zone 3") << 1 << 6 << 8 << 3 << QStringList{"P33OK", "P33UK"} << 0 << none;
    QTest::newRow("three made, zone 6") << 2 << 11 << 8 << 6 << QStringList{"P36OK", "P36UK"} << 0 << none;
    QTest::newRow("three missed, zone 4") << 1 << 8 << 9 << 4 << QStringList{"P34UK"} << 0 << none;
    QTest::newRow("defensive rebound") << 1 << 7 << 10 << 0 << QStringList{"SKOKO"} << 0 << none;
    QTest::newRow("offensive rebound") << 2 << 12 << 11 << 0 << QStringList{"SKOKN"} << 0 << none;
    QTest::newRow("assist") << 1 << 4 << 12 << 0 << QStringList{"ASISTENCIJA"} << 0 << none;
    QTest::newRow("steal") << 2 << 9 << 13 << 0 << QStringList{"UKRADENA"} << 0 << none;
    QTest::newRow("turnover, travelling") << 1 << 5 << 14 << 1 << QStringList{"IZG1"} << 0 << none;
    QTest::newRow("turnover, bad ball receiving") << 2 << 10 << 14 << 11 << QStringList{"IZG11"} << 0 << none;
    QTest::newRow("turnover, 5 seconds from the line, kept with 5 seconds")
        << 1 << 6 << 14 << 12 << QStringList{"IZG7"} << 0 << none;
    QTest::newRow("turnover, 8 seconds, kept with technical") << 2 << 11 << 14 << 13 << QStringList{"IZG5"} << 0 << none;
    QTest::newRow("personal foul on an opponent") << 1 << 7 << 15 << 12 << QStringList{"LG"} << 12 << QStringList{"LGNA"};
    QTest::newRow("foul on a number both sides have") << 1 << 4 << 15 << 9 << QStringList{"LG"} << 9 << QStringList{"LGNA"};
    QTest::newRow("foul by the away side") << 2 << 13 << 15 << 8 << QStringList{"LG"} << 8 << QStringList{"LGNA"};
    QTest::newRow("technical to a player") << 2 << 9 << 16 << 0 << QStringList{"TG"} << 0 << none;
    QTest::newRow("block") << 2 << 11 << 17 << 8 << QStringList{"BLOK"} << 8 << QStringList{"BLOKNA"};
}

void TestRules::playerEventCounts()
{
    QFETCH(int, a0);
    QFETCH(int, a1);
    QFETCH(int, code);
    QFETCH(int, a3);
    QFETCH(QStringList, columns);
    QFETCH(int, named);
    QFETCH(QStringList, namedColumns);

    QVERIFY(reach(State::Running));
    QVERIFY(record(QStringLiteral("minute, minute"))); // minute 3 of quarter 1
    const QString before = desk_->dump();
    const int events = desk_->eventCount();

    QCOMPARE(desk_->check(a0, a1, code, a3), 1);

    QString expected = bumped(before, a0, a1, 3, 1, columns);
    if (named)
        expected = bumped(expected, 3 - a0, named, 3, 1, namedColumns);
    const QString after = desk_->dump();
    QVERIFY2(after == expected, qPrintable(firstDifference(expected, after)));
    // One row in AKCIJE, in force, with the minute of the event in A4.
    QCOMPARE(desk_->eventCount(), events + 1);
    const Event stored = desk_->eventsInForce().back();
    QCOMPARE(stored.a0, a0);
    QCOMPARE(stored.a1, a1);
    QCOMPARE(stored.code, code);
    QCOMPARE(stored.a3, a3);
    QCOMPARE(stored.a4, 3);
}

// The build writes every counter list of the engine from one list; a counter
// added to it must count in the statistic, minute and period line, for either
// column code slot and either side.
void TestRules::everyListedCounterReachesItsLines_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("code");

    QFile list(QStringLiteral(QUINTARA_STATISTIC_COLUMNS));
    QVERIFY2(list.open(QIODevice::ReadOnly | QIODevice::Text), QUINTARA_STATISTIC_COLUMNS);
    while (!list.atEnd()) {
        const QString line = QString::fromLatin1(list.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QTest::newRow(qPrintable(fields[0])) << fields[0] << fields[1].toInt();
    }
}

void TestRules::everyListedCounterReachesItsLines()
{
    QFETCH(QString, column);
    QFETCH(int, code);

    QVERIFY2(columnIndex(column.toLatin1().constData()) >= 0, "the rules model does not know the counter");
    QVERIFY(reach(State::Running));
    const QString before = desk_->dump();
    const QString add = QStringLiteral("execute procedure RULES_LINE_ADD(?, ?, 1, 1, ?, ?, 1)");
    desk_->db().execute(add, {1, 4, code, 0});
    desk_->db().execute(add, {2, 9, 0, code});
    const QString expected = bumped(bumped(before, 1, 4, 1, 1, {column}), 2, 9, 1, 1, {column});
    const QString after = desk_->dump();
    QVERIFY2(after == expected, qPrintable(firstDifference(expected, after)));
}

void TestRules::eventsWithoutLines_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("a0");
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("minute"); // expected A4

    QTest::newRow("technical to the coach") << State::Running << 1 << 4 << 19 << 1;
    QTest::newRow("home time-out") << State::Running << 1 << 0 << 20 << 1;
    QTest::newRow("away time-out in the last minute") << State::LastMinute << 2 << 0 << 20 << 40;
    QTest::newRow("team offence") << State::Running << 1 << 0 << 31 << 1;
    QTest::newRow("team defence") << State::Running << 2 << 0 << 32 << 1;
    QTest::newRow("team turnover at a period start") << State::PeriodStart << 1 << 0 << 33 << 11;
    QTest::newRow("jump ball before the tip-off") << State::Starters << 2 << 0 << 34 << 1;
    QTest::newRow("jump ball in an overtime") << State::Overtime << 1 << 0 << 34 << 41;
}

void TestRules::eventsWithoutLines()
{
    QFETCH(State, state);
    QFETCH(int, a0);
    QFETCH(int, a1);
    QFETCH(int, code);
    QFETCH(int, minute);

    QVERIFY(reach(state));
    const QString before = desk_->dump();
    QCOMPARE(desk_->check(a0, a1, code, 0), 1);
    QCOMPARE(desk_->dump(), before);
    const Event stored = desk_->eventsInForce().back();
    QCOMPARE(stored.code, code);
    QCOMPARE(stored.a4, minute);
}

void TestRules::refusals_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("a0");
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("a3");
    QTest::addColumn<int>("expected");

    // 9: the code or the shape of its parameters
    QTest::newRow("unknown code 23") << State::Running << 1 << 4 << 23 << 0 << 9;
    QTest::newRow("unknown code 35") << State::Running << 1 << 4 << 35 << 0 << 9;
    QTest::newRow("negative code") << State::Running << 1 << 4 << -1 << 0 << 9;
    QTest::newRow("player event for the clock side") << State::Running << 3 << 4 << 6 << 1 << 9;
    QTest::newRow("player event for side 0") << State::Running << 0 << 4 << 10 << 0 << 9;
    QTest::newRow("minute change for a side") << State::Running << 1 << 0 << 3 << 0 << 9;
    QTest::newRow("minute change with a player") << State::Running << 3 << 4 << 3 << 0 << 9;
    QTest::newRow("match start with a parameter") << State::New << 3 << 0 << 1 << 1 << 9;
    QTest::newRow("time-out naming a player") << State::Running << 1 << 4 << 20 << 0 << 9;
    QTest::newRow("time-out for the clock side") << State::Running << 3 << 0 << 20 << 0 << 9;
    QTest::newRow("team event with a parameter") << State::Running << 2 << 0 << 31 << 5 << 9;
    QTest::newRow("free throw with a parameter") << State::Running << 1 << 4 << 4 << 2 << 9;
    QTest::newRow("rebound with a parameter") << State::Running << 2 << 9 << 10 << 9 << 9;
    QTest::newRow("exit without change with a parameter") << State::Running << 1 << 4 << 21 << 10 << 9;
    QTest::newRow("starter with a parameter") << State::Opened << 1 << 4 << 2 << 5 << 9;

    // 33: the phase of the match forbids it
    QTest::newRow("shot before the match start") << State::New << 1 << 4 << 6 << 1 << 33;
    QTest::newRow("starter before the match start") << State::New << 1 << 4 << 2 << 0 << 33;
    QTest::newRow("team event before the match start") << State::New << 1 << 0 << 34 << 0 << 33;
    QTest::newRow("substitution before the match start") << State::New << 1 << 4 << 18 << 10 << 33;
    QTest::newRow("second match start") << State::Opened << 3 << 0 << 1 << 0 << 33;
    QTest::newRow("shot before the tip-off") << State::Starters << 1 << 4 << 6 << 1 << 33;
    QTest::newRow("exit without change before the tip-off") << State::Starters << 1 << 4 << 21 << 0 << 33;
    QTest::newRow("sixth starter") << State::Starters << 1 << 10 << 2 << 0 << 33;
    QTest::newRow("starter once the clock runs") << State::Running << 1 << 10 << 2 << 0 << 33;
    QTest::newRow("shot at a period start") << State::PeriodStart << 1 << 4 << 8 << 1 << 33;
    QTest::newRow("time-out at a period start") << State::PeriodStart << 2 << 0 << 20 << 0 << 33;
    QTest::newRow("coach technical at a period start") << State::PeriodStart << 1 << 4 << 19 << 0 << 33;
    QTest::newRow("rebound at an overtime start") << State::OvertimeStart << 2 << 9 << 10 << 0 << 33;
    QTest::newRow("shot after the end of play") << State::Ended << 1 << 4 << 6 << 2 << 33;
    QTest::newRow("substitution after the end of play") << State::Ended << 1 << 4 << 18 << 10 << 33;
    QTest::newRow("team event after the end of play") << State::Ended << 2 << 0 << 32 << 0 << 33;
    QTest::newRow("time-out after the end of play") << State::Ended << 2 << 0 << 20 << 0 << 33;
    QTest::newRow("match finish while playing") << State::Running << 3 << 0 << 22 << 0 << 33;
    QTest::newRow("second match finish") << State::Finished << 3 << 0 << 22 << 0 << 33;
    QTest::newRow("minute change after the match finish") << State::Finished << 3 << 0 << 3 << 0 << 33;
    QTest::newRow("overtime code after the match finish") << State::Finished << 3 << 0 << 0 << 0 << 33;
    QTest::newRow("overtime code while playing") << State::Running << 3 << 0 << 0 << 0 << 33;

    // 0 / 2: the acting player
    QTest::newRow("shooter not on the roster") << State::Running << 1 << 99 << 6 << 1 << 0;
    QTest::newRow("shooter only on the other roster") << State::Running << 1 << 15 << 6 << 1 << 0;
    QTest::newRow("00 is not on the away roster") << State::Running << 2 << 100 << 10 << 0 << 0;
    QTest::newRow("starter not on the roster") << State::Opened << 2 << 4 << 2 << 0 << 0;
    QTest::newRow("shooter on the bench") << State::Running << 1 << 10 << 6 << 1 << 2;
    QTest::newRow("foul by a bench player") << State::Running << 2 << 20 << 15 << 4 << 2;
    QTest::newRow("coach technical with a bench number") << State::Running << 1 << 100 << 19 << 0 << 2;
    QTest::newRow("substitution of a bench player") << State::Running << 1 << 10 << 18 << 11 << 2;
    QTest::newRow("substitution of a number not on the roster") << State::Running << 1 << 99 << 18 << 10 << 0;
    QTest::newRow("exit without change from the bench") << State::Running << 2 << 20 << 21 << 0 << 2;
    QTest::newRow("starter already on court") << State::Starters << 1 << 4 << 2 << 0 << 5;

    // 3 / 4: shot zone and turnover type
    QTest::newRow("two-pointer in zone 0") << State::Running << 1 << 4 << 6 << 0 << 3;
    QTest::newRow("missed two-pointer in zone 7") << State::Running << 1 << 4 << 7 << 7 << 3;
    QTest::newRow("three-pointer in zone 5") << State::Running << 2 << 9 << 8 << 5 << 3;
    QTest::newRow("missed three-pointer in zone 5") << State::Running << 2 << 9 << 9 << 5 << 3;
    QTest::newRow("missed three-pointer in zone 0") << State::Running << 1 << 4 << 9 << 0 << 3;
    QTest::newRow("turnover of type 0") << State::Running << 1 << 4 << 14 << 0 << 4;
    QTest::newRow("turnover of type 14") << State::Running << 2 << 9 << 14 << 14 << 4;

    // 5 / 6 / 7 / 8: the player named in the parameter
    QTest::newRow("foul on no one") << State::Running << 1 << 4 << 15 << 0 << 6;
    QTest::newRow("foul on a number of no roster") << State::Running << 1 << 4 << 15 << 99 << 6;
    QTest::newRow("foul on a team-mate") << State::Running << 1 << 4 << 15 << 5 << 7;
    QTest::newRow("foul on an opponent on the bench") << State::Running << 1 << 4 << 15 << 20 << 8;
    QTest::newRow("block of a team-mate") << State::Running << 2 << 9 << 17 << 15 << 7;
    QTest::newRow("block of an opponent on the bench") << State::Running << 2 << 9 << 17 << 100 << 8;
    QTest::newRow("substitute already on court") << State::Running << 1 << 4 << 18 << 5 << 5;
    QTest::newRow("player replacing himself") << State::Running << 2 << 9 << 18 << 9 << 5;
    QTest::newRow("substitute of no roster") << State::Running << 1 << 4 << 18 << 99 << 6;
    QTest::newRow("substitute from the other side") << State::Running << 1 << 4 << 18 << 15 << 7;

    // 10 / 11: the clock cannot start without both fives
    QTest::newRow("minute change with no starters") << State::Opened << 3 << 0 << 3 << 0 << 10;
    QTest::newRow("minute change with four away starters") << State::AwayFour << 3 << 0 << 3 << 0 << 11;
}

void TestRules::refusals()
{
    QFETCH(State, state);
    QFETCH(int, a0);
    QFETCH(int, a1);
    QFETCH(int, code);
    QFETCH(int, a3);
    QFETCH(int, expected);

    QVERIFY(reach(state));
    const QString before = desk_->dump();
    const int events = desk_->eventCount();
    QCOMPARE(desk_->check(a0, a1, code, a3), expected);
    QCOMPARE(desk_->eventCount(), events);
    QCOMPARE(desk_->dump(), before);
}

void TestRules::enteringPlayerWithFiveFoulsIsRefused()
{
    // Home 10 comes on, commits five fouls (personal and technical) and goes off.
    QVERIFY(reach(State::Running));
    QVERIFY(record(QStringLiteral("1 4 18 10, 1 10 15 9, 1 10 15 9, 1 10 16 0, 1 10 15 10, 1 10 18 4")));
    QCOMPARE(desk_->counter(1, 10, "LG") + desk_->counter(1, 10, "TG"), 4);
    QCOMPARE(desk_->check(1, 4, 18, 10), 1); // four fouls: he may come back
    QVERIFY(record(QStringLiteral("1 10 15 11, 1 10 18 4")));
    QCOMPARE(desk_->check(1, 5, 18, 10), 8);
    QCOMPARE(desk_->court(1), (std::vector<int>{4, 5, 6, 7, 8}));
}

void TestRules::timeOutAllowance_data()
{
    QTest::addColumn<QString>("before"); // after "start"
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("expected");

    const QString toQ2 = QStringLiteral("minute, minute, minute, minute, minute, minute, minute, minute, minute, "
                                        "minute, minute");
    const QString q2ToQ3 = toQ2;
    const QString q3ToQ4 = toQ2;
    const QString q4ToLastTwo = QStringLiteral("minute, minute, minute, minute, minute, minute, minute, "
                                               "minute"); // clock 1
    const QString q4ToOt = QStringLiteral("minute, minute, minute, minute, minute, minute, minute, minute, minute, "
                                          "minute, minute, minute"); // overtime 1, clock 4

    QTest::newRow("second of the first half") << QStringLiteral("1 0 20 0, ") + toQ2 << 1 << 1;
    QTest::newRow("third of the first half") << QStringLiteral("1 0 20 0, 1 0 20 0, ") + toQ2 << 1 << 33;
    QTest::newRow("the other side keeps its own") << QStringLiteral("1 0 20 0, 1 0 20 0, ") + toQ2 << 2 << 1;
    QTest::newRow("first-half time-outs do not carry over")
        << QStringLiteral("1 0 20 0, 1 0 20 0, ") + toQ2 + ", " + q2ToQ3 << 1 << 1;
    QTest::newRow("fourth of the second half")
        << toQ2 + ", " + q2ToQ3 + ", 2 0 20 0, 2 0 20 0, " + q3ToQ4 + ", 2 0 20 0" << 2 << 33;
    QTest::newRow("third in the last two minutes")
        << toQ2 + ", " + q2ToQ3 + ", " + q3ToQ4 + ", " + q4ToLastTwo + ", 1 0 20 0, 1 0 20 0" << 1 << 33;
    QTest::newRow("second in the last two minutes")
        << toQ2 + ", " + q2ToQ3 + ", " + q3ToQ4 + ", " + q4ToLastTwo + ", 1 0 20 0" << 1 << 1;
    QTest::newRow("second in an overtime")
        << toQ2 + ", " + q2ToQ3 + ", " + q3ToQ4 + ", " + q4ToOt + ", 2 0 20 0" << 2 << 33;
    QTest::newRow("first in the next overtime")
        << toQ2 + ", " + q2ToQ3 + ", " + q3ToQ4 + ", " + q4ToOt + ", 2 0 20 0, minute, minute, minute, minute, minute, "
                                                                   "minute, minute"
        << 2 << 1;
}

void TestRules::timeOutAllowance()
{
    QFETCH(QString, before);
    QFETCH(int, side);
    QFETCH(int, expected);

    QVERIFY(record(QStringLiteral("start, ") + before));
    QCOMPARE(desk_->check(side, 0, 20, 0), expected);
}

// --------------------------------------------------------------- players on court

void TestRules::startersAndMatchStart()
{
    QCOMPARE(desk_->check(3, 0, 1, 0), 1);
    QCOMPARE(desk_->clock().a4, 1); // the match start is marked in the clock row
    QVERIFY(record(QStringLiteral("1 7 2 0, 1 4 2 0, 2 20 2 0")));
    QCOMPARE(desk_->court(1, 0), (std::vector<int>{7, 4}));
    QCOMPARE(desk_->court(1, 1), (std::vector<int>{7, 4}));
    QCOMPARE(desk_->court(2, 0), (std::vector<int>{20}));
    // Before the tip-off a substitution changes the starters too, in place.
    QCOMPARE(desk_->check(1, 7, 18, 100), 1);
    QCOMPARE(desk_->court(1, 0), (std::vector<int>{100, 4}));
    QCOMPARE(desk_->court(1, 1), (std::vector<int>{100, 4}));
    QVERIFY(record(QStringLiteral("1 5 2 0, 1 6 2 0, 1 8 2 0, 2 9 2 0, 2 10 2 0, 2 11 2 0, 2 12 2 0")));
    // Nobody has a line yet; the tip-off makes snapshot 100 and minute 1.
    QVERIFY(!desk_->hasLine(1, 100, 1));
    QCOMPARE(desk_->check(3, 0, 3, 0), 1);
    QCOMPARE(desk_->court(1, 100), (std::vector<int>{100, 4, 5, 6, 8}));
    QCOMPARE(desk_->court(2, 101), (std::vector<int>{20, 9, 10, 11, 12}));
    for (int d : {100, 4, 5, 6, 8}) {
        QVERIFY(desk_->hasLine(1, d, 1));
        QVERIFY(desk_->hasLine(1, d, -1));
    }
    QVERIFY(!desk_->hasLine(1, 7, 1));
}

void TestRules::substitutionMovesThePlayersOnCourt_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<int>("snapshot");    // key of the snapshot that follows the change, 0 for none
    QTest::addColumn<int>("lineMinute");  // minute whose line the entering player gets, 0 for none
    QTest::addColumn<int>("linePeriod");

    QTest::newRow("while the clock runs") << State::Running << 101 << 1 << 1;
    QTest::newRow("in the last minute of a quarter") << State::QuarterLast << 110 << 10 << 1;
    QTest::newRow("at a period start") << State::PeriodStart << 0 << 0 << 0;
    QTest::newRow("in an overtime") << State::Overtime << 141 << 41 << 5;
}

void TestRules::substitutionMovesThePlayersOnCourt()
{
    QFETCH(State, state);
    QFETCH(int, snapshot);
    QFETCH(int, lineMinute);
    QFETCH(int, linePeriod);

    QVERIFY(reach(state));
    const std::vector<int> starters = desk_->court(1, 1);
    QCOMPARE(desk_->check(1, 6, 18, 14), 1);
    QCOMPARE(desk_->court(1, 0), (std::vector<int>{4, 5, 14, 7, 8})); // in the place of 6
    QCOMPARE(desk_->court(1, 1), starters);
    QCOMPARE(desk_->court(2, 0), (std::vector<int>{9, 10, 11, 12, 13}));
    if (snapshot)
        QCOMPARE(desk_->court(1, snapshot), (std::vector<int>{4, 5, 14, 7, 8}));
    if (lineMinute) {
        QVERIFY(desk_->hasLine(1, 14, lineMinute));
        QVERIFY(desk_->hasLine(1, 14, -linePeriod));
    } else {
        QVERIFY(!desk_->hasLine(1, 14, 10));
        QVERIFY(!desk_->hasLine(1, 14, -1));
        QVERIFY(!desk_->hasLine(1, 14, -2));
    }
    if (state == State::PeriodStart) {
        // The break's change shows from the next minute on.
        QCOMPARE(desk_->court(1, 110), (std::vector<int>{4, 5, 6, 7, 8}));
        QCOMPARE(desk_->check(3, 0, 3, 0), 1);
        QCOMPARE(desk_->court(1, 111), (std::vector<int>{4, 5, 14, 7, 8}));
        QVERIFY(desk_->hasLine(1, 14, 11));
        QVERIFY(desk_->hasLine(1, 14, -2));
        QVERIFY(!desk_->hasLine(1, 6, 11));
    }
}

void TestRules::exitWithoutChangeLeavesFour()
{
    QVERIFY(reach(State::Running));
    QCOMPARE(desk_->check(2, 11, 21, 0), 1);
    QCOMPARE(desk_->court(2, 0), (std::vector<int>{9, 10, 12, 13}));
    QCOMPARE(desk_->court(2, 101), (std::vector<int>{9, 10, 12, 13}));
    QCOMPARE(desk_->isTeam(2, 11), 2);
    QCOMPARE(desk_->check(2, 11, 10, 0), 2);
    // The side plays on with four; a substitution keeps four.
    QCOMPARE(desk_->check(2, 9, 18, 11), 1);
    QCOMPARE(desk_->court(2, 0), (std::vector<int>{11, 10, 12, 13}));
    QCOMPARE(desk_->check(3, 0, 3, 0), 1);
    QCOMPARE(desk_->counter(2, 11, "MINUTA"), 1);
    QCOMPARE(desk_->counter(2, 9, "MINUTA"), 0);
}

// --------------------------------------------------------------- clock

void TestRules::clockWalk_data()
{
    QTest::addColumn<int>("changes"); // minute changes after the starters
    QTest::addColumn<int>("result");  // answer to the last one
    QTest::addColumn<int>("vreme");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("kraj");
    QTest::addColumn<int>("minute"); // A4 of the last one

    QTest::newRow("tip-off starts the clock") << 1 << 1 << 9 << 1 << 0 << 1;
    QTest::newRow("second change") << 2 << 1 << 8 << 1 << 0 << 2;
    QTest::newRow("last minute of quarter 1") << 10 << 1 << 0 << 1 << 0 << 10;
    QTest::newRow("eleventh change ends quarter 1") << 11 << 60 << 10 << 2 << 0 << 11;
    QTest::newRow("quarter 2 starts its clock") << 12 << 1 << 9 << 2 << 0 << 11;
    QTest::newRow("quarter 2 ends") << 22 << 60 << 10 << 3 << 0 << 21;
    QTest::newRow("quarter 3 ends") << 33 << 60 << 10 << 4 << 0 << 31;
    QTest::newRow("last minute of quarter 4") << 43 << 1 << 0 << 4 << 0 << 40;
    QTest::newRow("44th change ends play") << 44 << 66 << 0 << 4 << 1 << 40;
    QTest::newRow("a change after the end opens overtime 1") << 45 << 1 << 5 << 5 << 0 << 41;
    QTest::newRow("overtime 1 starts its clock") << 46 << 1 << 4 << 5 << 0 << 41;
    QTest::newRow("last minute of overtime 1") << 50 << 1 << 0 << 5 << 0 << 45;
    QTest::newRow("overtime 1 ends play") << 51 << 66 << 0 << 5 << 1 << 45;
    QTest::newRow("overtime 2 opens") << 52 << 1 << 5 << 6 << 0 << 46;
    QTest::newRow("overtime 2 ends play") << 58 << 66 << 0 << 6 << 1 << 50;
}

void TestRules::clockWalk()
{
    QFETCH(int, changes);
    QFETCH(int, result);
    QFETCH(int, vreme);
    QFETCH(int, period);
    QFETCH(int, kraj);
    QFETCH(int, minute);

    QVERIFY(reach(State::Starters));
    QCOMPARE(desk_->minuteChanges(changes), result);
    const Desk::Clock c = desk_->clock();
    QCOMPARE(c.vreme, vreme);
    QCOMPARE(c.period, period);
    QCOMPARE(c.kraj, kraj);
    QCOMPARE(desk_->eventsInForce().back().a4, minute);
}

void TestRules::wholeMatchOnCourt()
{
    // Four quarters and two overtimes with the same ten on court.
    QVERIFY(reach(State::Starters));
    QCOMPARE(desk_->minuteChanges(58), 66);
    QCOMPARE(desk_->counter(1, 4, "MINUTA"), 50);
    QCOMPARE(desk_->counter(2, 13, "MINUTA"), 50);
    QCOMPARE(desk_->counter(1, 10, "MINUTA"), 0);
    for (int k = 1; k <= 6; ++k)
        QCOMPARE(desk_->counter(1, 5, "MINUTA", -k), k <= 4 ? 10 : 5);
    for (int t = 1; t <= 50; ++t) {
        QCOMPARE(desk_->counter(2, 9, "MINUTA", t), 1);
        QCOMPARE(desk_->court(2, 100 + t), (std::vector<int>{9, 10, 11, 12, 13}));
    }
    QVERIFY(!desk_->hasLine(1, 10, 10));
    const int snapshotKeys = desk_->db()
                                 .scalar(QStringLiteral("select count(distinct VREME) from PETORKADOM"))
                                 .toInt();
    QCOMPARE(snapshotKeys, 2 + 51); // now, the starters, and 100 (tip-off) to 150
    const int minuteLines = desk_->db()
                                .scalar(QStringLiteral("select count(*) from MINUTID where VREME > 0"))
                                .toInt();
    QCOMPARE(minuteLines, 5 * 50);
}

void TestRules::minutesPlayedFollowTheFiveAtEachMinuteEnd()
{
    // Minute 3 is running when 4 leaves for 10; 10 then goes back off within
    // minute 5 for 4.
    QVERIFY(reach(State::Running));
    QVERIFY(record(QStringLiteral("minute, minute, 1 4 18 10, minute, minute, 1 10 18 4, minute")));
    QCOMPARE(desk_->counter(1, 4, "MINUTA"), 3);  // minutes 1, 2 and 5
    QCOMPARE(desk_->counter(1, 10, "MINUTA"), 2); // minutes 3 and 4
    QCOMPARE(desk_->counter(1, 4, "MINUTA", 3), 0);
    QCOMPARE(desk_->counter(1, 10, "MINUTA", 3), 1);
    QCOMPARE(desk_->counter(1, 10, "MINUTA", 5), 0); // on court in minute 5 without ending it
    QCOMPARE(desk_->counter(1, 4, "MINUTA", 5), 1);
    QVERIFY(!desk_->hasLine(1, 4, 4));
    QVERIFY(!desk_->hasLine(1, 10, 6));
    QCOMPARE(desk_->counter(1, 10, "MINUTA", -1), 2);
    QCOMPARE(desk_->court(1, 102), (std::vector<int>{4, 5, 6, 7, 8}));
    QCOMPARE(desk_->court(1, 103), (std::vector<int>{10, 5, 6, 7, 8}));
    QCOMPARE(desk_->court(1, 105), (std::vector<int>{4, 5, 6, 7, 8}));
}

// --------------------------------------------------------------- corrections

void TestRules::undoTakesBackEachKindOfEvent_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("event");

    QTest::newRow("match start") << State::New << "3 0 1 0";
    QTest::newRow("starter") << State::Opened << "2 15 2 0";
    QTest::newRow("change of a starter before the tip-off") << State::Starters << "1 5 18 11";
    QTest::newRow("the tip-off") << State::Starters << "minute";
    QTest::newRow("minute change") << State::Running << "minute";
    QTest::newRow("minute change that ends a quarter") << State::QuarterLast << "minute";
    QTest::newRow("start of a quarter's clock") << State::PeriodStart << "minute";
    QTest::newRow("minute change that ends play") << State::LastMinute << "minute";
    QTest::newRow("minute change that opens an overtime") << State::Ended << "minute";
    QTest::newRow("overtime code") << State::Ended << "3 0 0 0";
    QTest::newRow("start of an overtime's clock") << State::OvertimeStart << "minute";
    QTest::newRow("match finish") << State::Ended << "3 0 22 0";
    QTest::newRow("free throw made") << State::Running << "1 4 4 0";
    QTest::newRow("free throw missed") << State::Running << "1 4 5 0";
    QTest::newRow("two made") << State::Running << "2 9 6 2";
    QTest::newRow("two missed") << State::Overtime << "2 9 7 5";
    QTest::newRow("three made") << State::Running << "1 8 8 6";
    QTest::newRow("three missed") << State::Running << "1 8 9 1";
    QTest::newRow("defensive rebound") << State::Running << "2 10 10 0";
    QTest::newRow("offensive rebound") << State::Running << "2 10 11 0";
    QTest::newRow("assist") << State::Running << "1 5 12 0";
    QTest::newRow("steal") << State::Running << "1 5 13 0";
    QTest::newRow("turnover") << State::Running << "2 11 14 13";
    QTest::newRow("personal foul") << State::LastMinute << "1 6 15 12";
    QTest::newRow("technical to a player") << State::Running << "2 12 16 0";
    QTest::newRow("block") << State::Running << "2 12 17 4";
    QTest::newRow("substitution") << State::Running << "1 6 18 100";
    QTest::newRow("substitution at a period start") << State::PeriodStart << "2 9 18 20";
    QTest::newRow("technical to the coach") << State::Running << "1 4 19 0";
    QTest::newRow("time-out") << State::Running << "2 0 20 0";
    QTest::newRow("exit without change") << State::Running << "1 5 21 0";
    QTest::newRow("exit without change at a period start") << State::PeriodStart << "2 12 21 0";
    QTest::newRow("team offence") << State::Running << "1 0 31 0";
    QTest::newRow("team defence") << State::PeriodStart << "2 0 32 0";
    QTest::newRow("team turnover") << State::Running << "1 0 33 0";
    QTest::newRow("jump ball") << State::Starters << "2 0 34 0";
}

void TestRules::undoTakesBackEachKindOfEvent()
{
    QFETCH(State, state);
    QFETCH(QString, event);

    QVERIFY(reach(state));
    const QString before = desk_->dump();
    const int inForce = int(desk_->eventsInForce().size());
    QVERIFY(record(event));
    const int id = desk_->lastEventId();

    QCOMPARE(desk_->undo(), 1);
    const QString after = desk_->dump();
    QVERIFY2(after == before, qPrintable(firstDifference(before, after)));
    QCOMPARE(int(desk_->eventsInForce().size()), inForce);
    QCOMPARE(desk_->db().scalar(QStringLiteral("select UNDO from AKCIJE where ID_AKCIJE = ?"), {id}).toInt(), 1);
    // What RE_OPEN builds from the remaining events is the same.
    desk_->reOpen();
    QCOMPARE(desk_->dump(), before);
}

void TestRules::undoAnswers_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("appended"); // rows written straight into AKCIJE before RE_OPEN
    QTest::addColumn<QList<int>>("answers"); // of successive UNDO calls

    QTest::newRow("nothing recorded") << State::New << QString() << QList<int>{0};
    QTest::newRow("back to nothing") << State::Opened << QString() << QList<int>{1, 0};
    QTest::newRow("after the end, the minute change that ended play")
        << State::Ended << QString() << QList<int>{1, 1};
    QTest::newRow("after the end, a match finish, then the minute change")
        << State::Finished << QString() << QList<int>{1, 1, 1};
    QTest::newRow("after the end, another event on top") << State::Ended << "2 0 20 0" << QList<int>{3, 3};
    QTest::newRow("a match finish on top of another event")
        << State::Ended << "2 0 31 0, 3 0 22 0" << QList<int>{3};
}

void TestRules::undoAnswers()
{
    QFETCH(State, state);
    QFETCH(QString, appended);
    QFETCH(QList<int>, answers);

    QVERIFY(reach(state));
    for (const Event &e : parse(appended).events)
        desk_->db().execute(QStringLiteral("insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO) "
                                           "values (?, ?, ?, ?, ?, 0, 0)"),
                            {desk_->match(), e.a0, e.a1, e.code, e.a3});
    desk_->reOpen();
    for (int expected : answers) {
        const QString before = desk_->dump();
        const int inForce = int(desk_->eventsInForce().size());
        const int ok = desk_->undo();
        QCOMPARE(ok, expected);
        if (ok != 1) {
            QCOMPARE(desk_->dump(), before);
            QCOMPARE(int(desk_->eventsInForce().size()), inForce);
        }
    }
    if (state == State::Ended && appended.isEmpty())
        QCOMPARE(desk_->clock().kraj, 0);
}

void TestRules::deleteAction_data()
{
    QTest::addColumn<QString>("script"); // "*" marks the event to remove
    QTest::addColumn<bool>("removable");

    QTest::newRow("a shot in the middle") << "start, 1 4 6 3, *2 9 8 1, minute, 1 5 10 0" << true;
    QTest::newRow("a foul and the foul drawn") << "start, *1 4 15 9, minute, 2 9 4 0" << true;
    QTest::newRow("a block and the shot blocked") << "start, minute, *2 10 17 7, 1 7 10 0" << true;
    QTest::newRow("a substitution nobody acted on") << "start, *1 4 18 10, minute, 2 9 6 1" << true;
    QTest::newRow("a substitution whose entering player acted later")
        << "start, *1 4 18 10, minute, 1 10 6 1" << false;
    QTest::newRow("a substitution undone later by the reverse change")
        << "start, *1 4 18 10, minute, 1 10 18 4" << false;
    QTest::newRow("an exit without change") << "start, *2 11 21 0, minute, 2 13 4 0" << true;
    QTest::newRow("a starter before the tip-off") << "3 0 1 0, 1 4 2 0, *1 5 2 0, 1 6 2 0, 2 9 2 0" << true;
    QTest::newRow("a starter once the clock has started")
        << "3 0 1 0, *1 4 2 0, 1 5 2 0, 1 6 2 0, 1 7 2 0, 1 8 2 0, 2 9 2 0, 2 10 2 0, 2 11 2 0, 2 12 2 0, 2 13 2 0, "
           "minute"
        << false;
    QTest::newRow("the match start") << "*3 0 1 0, 1 4 2 0" << false;
    QTest::newRow("a minute change in the middle of a quarter")
        << "start, minute, 1 4 6 1, *minute, minute, 2 9 6 2, 1 0 20 0" << true;
    QTest::newRow("the minute change that starts the clock") << "start, minute, minute, minute, minute, minute, "
                                                                "minute, minute, minute, minute, minute, *minute, "
                                                                "1 4 8 1"
                                                             << false;
    QTest::newRow("a time-out") << "start, *1 0 20 0, 1 0 20 0, 2 9 6 1" << true;
    QTest::newRow("the newest event") << "start, 1 4 6 1, *2 9 6 2" << true;
    QTest::newRow("a shot in the last minute of a quarter")
        << "start, minute, minute, minute, minute, minute, minute, minute, minute, minute, *1 4 6 1, minute, minute, "
           "2 9 6 2"
        << true;
    QTest::newRow("a substitution bringing back a player who left in the same minute")
        << "start, minute, 1 4 18 10, 1 10 18 4, *1 4 18 10, 2 9 6 1" << true;
    QTest::newRow("a substitution bringing back a player of an earlier minute of the period")
        << "start, 1 4 18 10, minute, 1 10 18 4, minute, *1 4 18 10, 2 9 6 1" << true;
    QTest::newRow("a shot before an exit without change") << "start, *1 4 6 1, 2 11 21 0, minute, 2 13 4 0" << true;
}

void TestRules::deleteAction()
{
    QFETCH(QString, script);
    QFETCH(bool, removable);

    const Script s = parse(script);
    QVERIFY(s.marked >= 0);

    // The expected tables: the same events without the removed one.
    std::vector<Event> without = s.events;
    without.erase(without.begin() + s.marked);
    QString expected;
    std::vector<Event> expectedEvents;
    if (removable) {
        QVERIFY(record(without));
        expected = desk_->dump();
        expectedEvents = desk_->eventsInForce();
        desk_->newMatch();
    }

    QVERIFY(record(s.events));
    const QString before = desk_->dump();
    const std::vector<Event> recorded = desk_->eventsInForce();
    const int id = recorded[size_t(s.marked)].id;
    QString error;
    try {
        desk_->deleteAction(id);
    } catch (const fb::Error &e) {
        error = e.text();
    }
    if (removable) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString after = desk_->dump();
        QVERIFY2(after == expected, qPrintable(firstDifference(expected, after)));
        const std::vector<Event> remaining = desk_->eventsInForce();
        QCOMPARE(remaining.size(), expectedEvents.size());
        for (size_t i = 0; i < remaining.size(); ++i) {
            QCOMPARE(remaining[i].code, expectedEvents[i].code);
            QCOMPARE(remaining[i].a4, expectedEvents[i].a4); // minutes follow a removed minute change
        }
        QCOMPARE(desk_->db().scalar(QStringLiteral("select UNDO from AKCIJE where ID_AKCIJE = ?"), {id}).toInt(), 1);
    } else {
        QVERIFY2(error.contains(QLatin1String("QNT_EVENT_NOT_REMOVABLE")), qPrintable(error));
        QCOMPARE(desk_->dump(), before);
        QCOMPARE(desk_->eventsInForce().size(), recorded.size());
        for (size_t i = 0; i < recorded.size(); ++i)
            QCOMPARE(desk_->eventsInForce()[i].a4, recorded[i].a4);
    }
}

void TestRules::deleteActionOfAnEventNotInForce_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("an undone event") << "undone";
    QTest::newRow("an event of another match") << "other match";
    QTest::newRow("no such event") << "missing";
}

void TestRules::deleteActionOfAnEventNotInForce()
{
    QFETCH(QString, which);

    int id = 0;
    if (which == QLatin1String("other match")) {
        QVERIFY(reach(State::Running));
        QVERIFY(record(QStringLiteral("1 4 6 1")));
        id = desk_->lastEventId();
        desk_->newMatch();
    }
    QVERIFY(reach(State::Running));
    QVERIFY(record(QStringLiteral("2 9 4 0")));
    if (which == QLatin1String("undone")) {
        QVERIFY(record(QStringLiteral("1 4 6 1")));
        id = desk_->lastEventId();
        QCOMPARE(desk_->undo(), 1);
    } else if (which == QLatin1String("missing")) {
        id = desk_->lastEventId() + 1000;
    }
    const QString before = desk_->dump();
    QString error;
    try {
        desk_->deleteAction(id);
    } catch (const fb::Error &e) {
        error = e.text();
    }
    QVERIFY2(error.contains(QLatin1String("QNT_EVENT_NOT_IN_FORCE")), qPrintable(error));
    QCOMPARE(desk_->dump(), before);
}

// --------------------------------------------------------------- RE_OPEN, ISTEAM, TGTRENER

void TestRules::reOpenRebuildsFromTheEventsInForce_data()
{
    QTest::addColumn<QString>("disturbance");
    QTest::newRow("tables as the console leaves them before RE_OPEN") << "console";
    QTest::newRow("stray rows in every working table") << "stray";
    QTest::newRow("another match recorded in between") << "other match";
    QTest::newRow("minutes in A4 out of date") << "a4";
}

void TestRules::reOpenRebuildsFromTheEventsInForce()
{
    QFETCH(QString, disturbance);

    const QString script = QStringLiteral(
        "start, 1 4 6 3, 2 9 7 2, 1 5 10 0, minute, 1 6 18 100, 2 10 15 4, 1 4 4 0, 1 4 5 0, minute, "
        "2 13 8 6, 1 100 12 0, 2 9 18 20, 1 7 14 2, minute, 1 8 17 20, 2 20 21 0, 2 0 20 0");
    QVERIFY(record(script));
    QVERIFY(record(QStringLiteral("1 5 9 1")));
    QCOMPARE(desk_->undo(), 1); // an undone event is left out
    const QString expected = desk_->dump();
    const std::vector<Event> events = desk_->eventsInForce();
    const int match = desk_->match();

    fb::Connection &db = desk_->db();
    if (disturbance == QLatin1String("console")) {
        desk_->openMatch(match); // empties, clock row 10, 1, 0, lines with DRES only, RE_OPEN
    } else if (disturbance == QLatin1String("stray")) {
        db.execute(QStringLiteral("insert into STATDOMACI (DRES) values (77)"));
        db.execute(QStringLiteral("update STATGOSTI set P1OK = 9"));
        db.execute(QStringLiteral("insert into MINUTIG (DRES, VREME) values (15, 7)"));
        db.execute(QStringLiteral("insert into PETORKADOM (DRES, VREME) values (99, 0)"));
        db.execute(QStringLiteral("insert into PETORKAGOSTI (DRES, VREME) values (99, 103)"));
        db.execute(QStringLiteral("insert into TEMP (VREME, PERIOD, KRAJ) values (1, 2, 3)"));
        desk_->reOpen();
    } else if (disturbance == QLatin1String("other match")) {
        desk_->newMatch();
        QVERIFY(reach(State::Running) && record(QStringLiteral("1 4 8 1")));
        desk_->newMatch();
        QVERIFY(reach(State::Running) && record(QStringLiteral("2 9 8 1, minute")));
        desk_->openMatch(match);
    } else {
        db.execute(QStringLiteral("update AKCIJE set A4 = 0 where ID_UTAKMICA = ?"), {match});
        desk_->reOpen();
    }
    const QString after = desk_->dump();
    QVERIFY2(after == expected, qPrintable(firstDifference(expected, after)));
    const std::vector<Event> again = desk_->eventsInForce();
    QCOMPARE(again.size(), events.size());
    for (size_t i = 0; i < events.size(); ++i)
        QCOMPARE(again[i].a4, events[i].a4);
}

void TestRules::isTeam_data()
{
    QTest::addColumn<int>("a0");
    QTest::addColumn<int>("a1");
    QTest::addColumn<int>("team");

    QTest::newRow("home player on court") << 1 << 4 << 1;
    QTest::newRow("home player on the bench") << 1 << 10 << 2;
    QTest::newRow("home 00 on the bench") << 1 << 100 << 2;
    QTest::newRow("away number asked for home") << 1 << 15 << 0;
    QTest::newRow("away player on court") << 2 << 9 << 1;
    QTest::newRow("away player on the bench") << 2 << 15 << 2;
    QTest::newRow("00 is not away") << 2 << 100 << 0;
    QTest::newRow("number of no roster") << 2 << 99 << 0;
    QTest::newRow("side 3") << 3 << 4 << 0;
}

void TestRules::isTeam()
{
    QFETCH(int, a0);
    QFETCH(int, a1);
    QFETCH(int, team);
    QVERIFY(reach(State::Running));
    QCOMPARE(desk_->isTeam(a0, a1), team);
}

void TestRules::coachTechnicalsUpToAPeriod_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("home");
    QTest::addColumn<int>("away");

    QTest::newRow("whole match") << 0 << 2 << 3;
    QTest::newRow("up to quarter 1") << 1 << 1 << 0;
    QTest::newRow("up to quarter 2") << 2 << 1 << 0;
    QTest::newRow("up to quarter 3") << 3 << 1 << 2;
    QTest::newRow("up to quarter 4") << 4 << 1 << 3;
    QTest::newRow("up to overtime 1") << 5 << 2 << 3;
}

void TestRules::coachTechnicalsUpToAPeriod()
{
    QFETCH(int, period);
    QFETCH(int, home);
    QFETCH(int, away);

    QVERIFY(reach(State::Running));
    QVERIFY(record(QStringLiteral("1 4 19 0, 1 4 16 0")));
    QCOMPARE(desk_->minuteChanges(22), 1); // quarter 3 running
    QVERIFY(record(QStringLiteral("2 9 19 0, 2 10 19 0")));
    QCOMPARE(desk_->minuteChanges(11), 1); // quarter 4 running
    QVERIFY(record(QStringLiteral("2 9 19 0, 2 9 19 0")));
    QCOMPARE(desk_->undo(), 1); // undone: not counted
    QCOMPARE(desk_->minuteChanges(12), 1); // overtime 1 running
    QVERIFY(record(QStringLiteral("1 5 19 0")));
    const auto [tg1, tg2] = desk_->tgTrener(period);
    QCOMPARE(tg1, home);
    QCOMPARE(tg2, away);
}

QTEST_GUILESS_MAIN(TestRules)
#include "test_rules.moc"
