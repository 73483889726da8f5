#pragma once
// The statistic lines of the open match as the database procedures keep them
// (STATDOMACI home, STATGOSTI away: one line per roster player), with the
// fields derived from them, the on-court filter, the team totals, and two
// facts about a player taken from the event records: his time on court and
// whether he took part at all.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace fb {
class Connection;
}

// made / attempted x 100 cut to a whole number, 0 without attempts. Computed
// in integers: the floating-point quotient falls just short of some exact
// percentages (29 of 50 would show 57).
int TruncatedPercent(int made, int attempted);

class StatLine
{
public:
    // The stored counters, in table order (without ID_STAT and DRES).
    static const QStringList &CounterColumns();

    int ID_STAT = 0;
    int DRES = 0;

    // A stored counter; 0 when it is null.
    int counter(const QString &column) const { return counters_.value(column); }
    void setCounter(const QString &column, int value) { counters_.insert(column, value); }

    int P2OK() const;       // two-point shots made, zones 1..6
    int P2UK() const;       // ... attempted
    int P3OK() const;       // three-point shots made, zones 1, 2, 3, 4, 6
    int P3UK() const;
    int P1PROC() const;     // percentages, truncated
    int P2PROC() const;
    int P3PROC() const;
    int PIZIGREOK() const;  // field goals made
    int PIZIGREUK() const;  // field goals attempted
    int P23PROC() const;
    int POENI() const;
    int IZGUBLJENA() const; // all turnovers
    int SKOKOVI() const;    // all rebounds
    // The efficiency index: points, rebounds, assists, steals, fouls drawn
    // and blocks, less missed shots, turnovers, fouls and shots blocked.
    int INDEKS() const;

    // Any field of the grids by name, stored or derived; 0 for an unknown name.
    int field(const QString &name) const;

private:
    QHash<QString, int> counters_;
};

// A field of the statistic-line grids, in grid order, with its caption.
struct StatLineField
{
    QString name;
    QString caption;
};
// The fields of the statistic-line grids, in grid order.
QList<StatLineField> StatLineFields();

// Time on court: the elapsed seconds and the same as minutes and seconds.
struct TimeOnCourt
{
    int seconds = 0;
    int minutes() const { return seconds / 60; }
    int remainingSeconds() const { return seconds % 60; }
};

// The statistic lines of both sides. Side 1 is home, any other value away.
// Database errors answer empty lines, zero totals and zero times.
class StatLines
{
public:
    explicit StatLines(fb::Connection &db);

    // Every line of the side, by shirt number.
    std::vector<StatLine> Lines(int side);
    // The lines of the players on court now (the side's PETORKA rows with
    // VREME 0). While nobody is on court the five last seen stay in force,
    // and before any five was seen every line shows.
    std::vector<StatLine> ActorLines(int side);
    // Sums of every line of the side, whatever the filter; the totals
    // carry no index (INDEKS is not a team figure).
    StatLine Totals(int side);

    // Seconds on court from the substitution records: the times at which
    // the player went off less the times at which he came on, plus the
    // elapsed time now while he is on court (IsOnCourt).
    TimeOnCourt PlayingTime(int match, int side, int shirtNumber, int elapsedSecondsNow);
    // The same for every player of both sides (index 0 home, 1 away), by
    // shirt number, in one read.
    std::array<QHash<int, TimeOnCourt>, 2> PlayingTimes(int match, int elapsedSecondsNow);
    // A starter, or named as actor or as entering player in an event record.
    bool PlayerTookPart(int match, int side, int shirtNumber);

private:
    std::optional<QList<int>> onCourtNow(int side);

    fb::Connection &db_;
    // The shirt numbers of the on-court filter in force, per side.
    std::array<std::optional<QList<int>>, 2> actors_;
};
