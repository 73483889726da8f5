#pragma once
// The event record store: the DTT rows the console writes for every accepted
// event, and the queries that number, copy, delete and count them. The box
// scores, the plus-minus, the reports, the live page and the export all read
// the match through these operations.
//
// Values are always bound as parameters. The only text written into a
// statement is a column name from DttColumn.
//
// None of these operations commits: they run in the data module's one
// transaction, and the caller's commit (the safety copy after every event or
// correction) makes them durable together with the rest of its work.

#include "data/EventFilter.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <initializer_list>
#include <optional>
#include <vector>

namespace fb {
class Connection;
}

// The VREME under which the rules engine keeps the five players on court of
// a side during the game minute that the clock shows: 100 + the elapsed game
// minute (100 holds the five who started the match). Keys 0 (on court now)
// and 1 (starting five) are never produced, and overtime minutes follow the
// regular ones, so no two clock minutes of different game minutes share a key.
int LineupSnapshotKey(int period, int clockMinute);

// The DTT columns that queries test, group or sum.
enum class DttColumn { HG, NODR, P, M, RES, PAR1, PAR2, PAR4, DTYPE, I1, I2, RBACTION, ISBONUS, STARTER, LGTYPE };

QString DttColumnName(DttColumn column);

// The condition of a query over one match's event records, optionally of one
// side, narrowed by tests whose values are bound.
class DttCondition
{
public:
    explicit DttCondition(int match);
    DttCondition(int match, int side);

    DttCondition &equals(DttColumn column, int value);
    DttCondition &atLeast(DttColumn column, int value);
    DttCondition &atMost(DttColumn column, int value);
    DttCondition &oneOf(DttColumn column, std::initializer_list<int> values);
    // Events of earlier periods and of this period up to and including the
    // clock minute (the clock counts down, so that is M >= clockMinute).
    DttCondition &upToClockMinute(int period, int clockMinute);
    // Only the events the filter lets through.
    DttCondition &filter(const EventFilter &events);

    // "WHERE (IDM = ?) AND ..." and the values of its markers, in order.
    QString sql() const;
    const QVariantList &params() const { return params_; }

private:
    DttCondition &test(DttColumn column, const char *comparison, int value);

    QStringList clauses_;
    QVariantList params_;
};

// One group of a grouped count: the side, the grouping value (the acting
// player's shirt number, or the event's parameter), the event code and how
// many events the group holds.
struct EventCount
{
    int side = 0;
    int key = 0;
    int code = 0;
    int count = 0;
};

// One event record as the console writes it.
struct EventRecord
{
    int match = 0;
    int number = 0; // RBACTION
    int side = 0;   // HG
    int player = 0; // NODR
    int period = 0, clockMinute = 0;
    int code = 0;            // RES
    int parameter = 0;       // PAR1
    int elapsedSeconds = 0;  // PAR2: a player change's game time
    int attackType = 0;      // PAR4
    int defenceType = 0;     // DTYPE
    int pointsMade = 0;      // I1
    int pointsMissed = 0;    // I2
    QString stamp;           // S1: "HH:MM:SS;home:away" before the event
    int inBonus = 0;         // ISBONUS
    int starter = 0;         // STARTER
    int foulType = 0;        // LGTYPE
};

// The columns of a record that the event log shows and the box score counts.
struct EventRow
{
    int number = 0;
    std::optional<int> side;
    std::optional<int> player;
    std::optional<int> code;
    std::optional<int> parameter;
};

class EventStore
{
public:
    explicit EventStore(fb::Connection &db);

    void InsertEventRecord(const EventRecord &record);
    // The match's records numbered above `afterNumber`, in number order.
    std::vector<EventRow> EventRowsAfter(int match, int afterNumber);

    // Copies the event record (match, eventNumber) to DTT_DEL with PAR3 = 1,
    // nulls written as 0 (S1 as empty text), when exactly one such row
    // exists. Answers whether it copied; errors answer false.
    bool CopyEventToDeleted(int match, int eventNumber);
    // Deletes the event record when exactly one row carries the pair, after
    // copying it to DTT_DEL. The copy and the deletion happen together or not
    // at all, so a record is never lost. Answers whether it deleted.
    bool DeleteEventRecord(int match, int eventNumber);

    // The largest RBACTION of the match, 0 when it has none.
    int MaxEventNumber(int match);
    // The highest period of the match's event records, 0 when none.
    int LastEventPeriod(int match);

    // Fills the lineup-at-minute arrays of CurrentMatch() with the five
    // players on court at the clock minute, read from the snapshot rows of
    // PETORKADOM / PETORKAGOSTI: the newest row goes to place 4, the next to
    // place 3 and so on; places without a row stay 0.
    void LoadLineupAtMinute(int period, int clockMinute);

    // The counting and summing query family. Each form that the reports name
    // is one condition:
    //   CountWhere (c, v)                  CountWhere(cond.equals(c, v))
    //   CountWhere2 / CountWhere3          two / three equals() tests
    //   CountWhereAtLeast / 3AtLeast       the last test atLeast()
    //   SumWhere, SumWhere2, SumWhere3     SumWhere(x, cond with 1..3 tests)
    //   SumWhereAtLeast                    SumWhere(x, cond.atLeast(c, v))
    // Any failure answers 0.
    int CountWhere(const DttCondition &condition);
    // The same for each side in one statement (index 0 home, 1 away); the
    // condition names no side.
    std::array<int, 2> CountBySide(const DttCondition &condition);
    int SumWhere(DttColumn summed, const DttCondition &condition);

    // Events grouped by side, acting player (NODR) and code; groups whose
    // player is null are left out. Any failure answers no groups.
    std::vector<EventCount> CountByPlayer(const DttCondition &condition);
    // The same grouped by the event's parameter (PAR1): the fouled player of
    // a personal foul, the blocked player of a block, the zone of a shot.
    std::vector<EventCount> CountByParameter(const DttCondition &condition);

private:
    // The copy of CopyEventToDeleted, and the deletion when `deleting`.
    bool toDeleted(int match, int eventNumber, bool deleting);
    std::vector<EventCount> countGrouped(DttColumn key, const DttCondition &condition);

    fb::Connection &db_;
};

// Counts over the event records that the reports, the live page and the
// export print. Sides are 1 home and 2 away; any failure answers 0.
class EventStatistics
{
public:
    explicit EventStatistics(fb::Connection &db);

    // Made and attempted shots by zone: two-point zones 1 to 6, then
    // three-point zones 1, 2, 3, 4 and 6 (there is no three-point zone 5),
    // each as the pair made, attempted.
    using FieldGoalCounts = std::array<int, 22>;
    FieldGoalCounts FieldGoalChart(int match, int side, int shirtNumber);
    FieldGoalCounts SideFieldGoalChart(int match, int side);

    int CountByCode(int match, int side, int code);
    int TimeOuts(int match, int side);
    // Time-outs of the half the period belongs to (1-2, 3-4), or of the
    // overtime itself.
    int TimeOutsInHalf(int match, int side, int period);
    // Team fouls (personal and technical fouls of players) of each side
    // (index 0 home, 1 away) in the foul period of `period`: each quarter
    // alone, the fourth quarter and every overtime together.
    std::array<int, 2> TeamFouls(int match, int period);
    // Roster rows of the side in SASTAV (away rows carry DOMGOST 0, or 2).
    int RosterSize(int match, int side);
    // Personal fouls of a foul type, of the side or of one player.
    int FoulsOfType(int match, int side, int foulType, std::optional<int> shirtNumber = {});
    // Points made / missed by one player, of one code and one attack type
    // when they are given, of all codes and attack types when not.
    int PointsByAttackType(int match, int side, int shirtNumber, std::optional<int> code,
                           std::optional<int> attackType);
    int MissesByAttackType(int match, int side, int shirtNumber, std::optional<int> code,
                           std::optional<int> attackType);

    // Score queries: sums of the points made.
    // Both sides' points in one reading (index 0 home, 1 away).
    std::array<int, 2> MatchPoints(int match);
    int PointsInPeriod(int match, int period, int side);
    // Up to and including clock minute `clockMinute` of `period`.
    int PointsUntil(int match, int period, int clockMinute, int side);
    // Up to elapsed game minute t; a minute past the regular 40 answers the
    // overtime points alone, as the score table of the basic report prints
    // them in its overtime column.
    int PointsUntilMinute(int match, int gameMinute, int side);
    // Up to and including event record `eventNumber`.
    int PointsUntilEvent(int match, int side, int eventNumber);

private:
    FieldGoalCounts fieldGoals(DttCondition condition);
    int shotSum(DttColumn points, int match, int side, int shirtNumber, std::optional<int> code,
                std::optional<int> attackType);

    fb::Connection &db_;
    EventStore store_;
};

// Makes several statements of the shared transaction one unit: when the
// guard is destroyed without release() (an exception left the work), every
// change made since its creation is undone, and nothing that other callers
// have pending in the transaction is touched.
class Savepoint
{
public:
    explicit Savepoint(fb::Connection &db);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;

    void release();

private:
    fb::Connection &db_;
    QString name_;
    bool released_ = false;
};
