#pragma once
// The box score of a match as a value: per side a row per roster player and
// a totals row, computed from the match's event records for any stored
// match and any event filter. The console, the reports, the live page and the
// export each build the one they need; nothing is shared between builds.
// Also the name lookups that the box-score readers print beside it.

#include "common/MatchState.h"
#include "data/EventFilter.h"

#include <QString>

#include <array>
#include <vector>

namespace fb {
class Connection;
}
struct EventRow;

// 100 x made / attempted rounded to the nearest whole number, halves to the
// even neighbour (1 of 8 gives 12, 3 of 8 gives 38); 0 without attempts.
// Computed in integers, so a half is always seen as a half.
int PercentHalfEven(int made, int attempted);
// A real value as it is shown: the nearest whole number, halves to even.
int RoundHalfEven(double value);

// One row of a box score: the 29 columns indexed by BoxColumn, and for a
// player row who he is (names as stored; empty in a totals row).
// Percentages P1PROC, P2PROC and P3PROC hold whole numbers; P23PROC holds
// the unrounded percentage (shown with RoundHalfEven).
struct BoxRow
{
    std::array<double, BoxColumnCount> columns{};
    int playerId = 0;
    QString surname, firstName, registration;

    double &operator[](BoxColumn column) { return columns[size_t(column)]; }
    double operator[](BoxColumn column) const { return columns[size_t(column)]; }
    int count(BoxColumn column) const { return int(columns[size_t(column)]); }
    // Five personal and technical fouls: the rules engine lets him in no more.
    bool FouledOut() const { return count(BC_LG) + count(BC_TG) >= FoulsToFoulOut; }
    static constexpr int FoulsToFoulOut = 5;
};

// One side: the player rows in ascending shirt-number order and the totals
// row, which counts every event of the side, also those of a number that has
// no row.
struct BoxSide
{
    std::vector<BoxRow> players;
    BoxRow totals;

    // The row of a shirt number, or nullptr.
    const BoxRow *player(int shirtNumber) const;
    // What the console shows: the players on court only (AKTER) or all, and
    // totals of the shown rows alone or of every event.
    BoxSide view(bool onCourtOnly, bool totalsOfShownOnly) const;
};

struct BoxScoreSet
{
    BoxSide home, away;

    BoxSide &side(int s) { return s == 1 ? home : away; }
    const BoxSide &side(int s) const { return s == 1 ? home : away; }
    // Marks AKTER of the players on court; only the open match knows them.
    void markOnCourt(int side, const CourtNumbers &onCourt);
    // Counts event records as the build counts them: the console counts
    // the records it reads onto the roster's rows, so that an entry costs
    // one reading of its new records.
    void addEvents(const std::vector<EventRow> &rows);

private:
    friend class BoxScoreBuilder;
    // `times` events of `code` by the player `player` of `side`, in the
    // columns of whoever did them and of the player they name.
    void countActed(int side, int player, int code, int times);
    void countReceived(int side, int namedPlayer, int code, int times);
    void count(int side, int shirtNumber, BoxColumn column, int times);
    void completeRows();
};

class BoxScoreBuilder
{
public:
    explicit BoxScoreBuilder(fb::Connection &db) : db_(db) {}

    // The box score of a match over the events the filter lets through.
    // Player rows come from the match's roster (STARTER from its starter
    // marks, AKTER left 0). A query that fails leaves its counts at zero and
    // the build goes on.
    BoxScoreSet build(int match, const EventFilter &filter = {}) const;
    // The player rows of the match's roster with nothing counted yet: the
    // console counts the records it reads itself (BoxScoreSet::addEvents).
    BoxScoreSet rosterRows(int match) const;

private:
    fb::Connection &db_;
};

// A person's names (and city, where the table has one); empty texts when the
// row or a value is missing.
struct PersonName
{
    QString surname;
    QString firstName;
    QString city;
};

// Lookups of names and registration numbers by key. A missing row answers
// empty texts, and so does a database error.
class NameLookups
{
public:
    explicit NameLookups(fb::Connection &db);

    QString ClubRegistrationNumber(int clubId);
    QString PlayerRegistrationNumber(int playerId);
    PersonName RefereeName(int refereeId);
    PersonName DelegateName(int delegateId);
    PersonName StatisticianName(int statisticianId);
    PersonName CoachName(int coachId);
    // "Surname First name" of the match's roster player with the shirt
    // number on the roster side `domgost` (1 home, 0 away).
    QString NameByShirt(int match, int domgost, int shirtNumber);

private:
    QString text(const QString &sql, int key);
    PersonName person(const QString &table, const QString &keyColumn, bool hasCity, int key);

    fb::Connection &db_;
};
