#pragma once
// The box score of a match computed in memory from its event records: per
// side a player table (one row per statistic line of the open match) and a
// totals row, in three sets (the console's, the reports', and a second one
// for reports that compare two builds), and the roster tables of
// CurrentMatch() with their names and counters. Also the name lookups that
// the box-score readers print beside it.

#include "common/MatchState.h"

#include <QString>

#include <array>
#include <vector>

namespace fb {
class Connection;
}

// 100 x made / attempted rounded to the nearest whole number, halves to the
// even neighbour (1 of 8 gives 12, 3 of 8 gives 38); 0 without attempts.
// Computed in integers, so a half is always seen as a half.
int PercentHalfEven(int made, int attempted);
// A real value as it is shown: the nearest whole number, halves to even.
int RoundHalfEven(double value);

// One row of a box-score table: the 29 columns indexed by BoxColumn.
// Percentages P1PROC, P2PROC and P3PROC hold whole numbers; P23PROC holds
// the unrounded percentage (shown with RoundHalfEven).
struct BoxRow
{
    std::array<double, BoxColumnCount> columns{};

    double &operator[](BoxColumn column) { return columns[size_t(column)]; }
    double operator[](BoxColumn column) const { return columns[size_t(column)]; }
    int count(BoxColumn column) const { return int(columns[size_t(column)]); }
};

// One side of a set: the player rows in ascending shirt-number order and the
// totals row, with the player table's on-court filter.
struct BoxSide
{
    std::vector<BoxRow> players;
    BoxRow totals;
    bool actorsOnly = false;

    // A row shows unless the filter is on and the player is not on court.
    bool isVisible(const BoxRow &row) const { return !actorsOnly || row.count(BC_AKTER) == 1; }
    std::vector<BoxRow> visiblePlayers() const;
};

struct BoxScoreSet
{
    BoxSide home, away;

    BoxSide &side(int s) { return s == 1 ? home : away; }
    const BoxSide &side(int s) const { return s == 1 ? home : away; }
};

class BoxScore
{
public:
    enum class Set { Console, Report, SecondReport };

    // Report mode makes builds fill the report set (the second one while
    // the second-set switch is on) and leave the roster counters alone.
    void SetReportMode(bool on) { reportMode_ = on; }
    void SetSecondSet(bool on) { secondSet_ = on; }
    bool ReportMode() const { return reportMode_; }
    Set SelectedSet() const;

    const BoxScoreSet &tables(Set set) const { return sets_[size_t(set)]; }

    // The on-court filter of a set's player table of one side.
    void SetOnCourtFilter(Set set, int side, bool on);
    // When on, the side's totals add up only the visible players.
    void SetVisibleOnlyTotals(int side, bool on);
    bool VisibleOnlyTotals(int side) const { return visibleOnlyTotals_[side == 1 ? 0 : 1]; }

    // Empties the selected set and gives it one zero row per statistic line
    // of the open match (STARTER and AKTER from the shared sets) and a zero
    // totals row per side.
    void ResetBoxScoreTables(fb::Connection &db);
    // Refills both roster tables of CurrentMatch() from the match's roster:
    // at most 12 players per side, by shirt number, names transliterated.
    void LoadRosterRecords(fb::Connection &db, int match);
    // Fills the selected set from the match's event records that pass the
    // program's event filter (empty, or clauses each beginning with " AND ",
    // over period, attack type, defence type, bonus or starter). Every build
    // replaces the set's previous contents. A query that fails leaves its
    // counts at zero and the build goes on.
    void BuildBoxScore(fb::Connection &db, int match, const QString &eventFilter = QString());

private:
    BoxScoreSet &selected() { return sets_[size_t(SelectedSet())]; }
    void addCount(int side, int shirtNumber, BoxColumn column, int count);
    void completeSide(int side);
    void completeRoster(int side);

    std::array<BoxScoreSet, 3> sets_;
    bool reportMode_ = false;
    bool secondSet_ = false;
    std::array<bool, 2> visibleOnlyTotals_{};
};

// The box-score tables of this process, shared by the console, the reports
// and the live page.
BoxScore &BoxScores();

// "SURNAME;FIRSTNAME" of a shirt number from the side's roster table,
// transliterated; empty when the number is not on it.
QString RosterNames(int side, int shirtNumber);

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
