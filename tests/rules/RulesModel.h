#pragma once
// An independent statement, in C++, of the match rules that the database
// procedures implement (docs/rules-engine.md): which events are legal, what
// each one does to the clock, the statistic lines, the period and minute
// lines and the players on court. Tests replay the events in force of a
// match through it and compare its canonical dump with the database's.

#include <QString>

#include <array>
#include <map>
#include <set>
#include <vector>

namespace rules {

// The counters of a statistic line, in the order the dumps print them.
constexpr int ColumnCount = 45;
extern const std::array<const char *, ColumnCount> ColumnNames;
// Index in ColumnNames of a counter name; -1 when unknown.
int columnIndex(const char *name);

struct Event
{
    int a0 = 0;
    int a1 = 0;
    int code = 0;
    int a3 = 0;
    int id = 0; // ID_AKCIJE, 0 when not recorded yet
    int a4 = 0; // the minute of the event as recorded
};

using Line = std::array<int, ColumnCount>;

class Model
{
public:
    // Rosters: shirt numbers of the home and away side.
    Model(std::set<int> home, std::set<int> away);

    // 1 when the event is legal now, else the refusal code.
    int validate(const Event &e) const;
    // Applies a legal event; answers 1, or 60 / 66 for a minute change that
    // ended a quarter / play. minuteOfLastEvent() is then its A4.
    int apply(const Event &e);
    int minuteOfLastEvent() const { return lastMinute_; }

    // Replays events in order without checks (as RE_OPEN does). With
    // `checked`, stops at the first refused event and answers its index.
    static Model replay(const std::set<int> &home, const std::set<int> &away, const std::vector<Event> &events,
                        int *firstRefused = nullptr);

    // The canonical text of all working tables (see RulesDesk::dump).
    QString dump() const;

    // State, for the generator and for assertions.
    int clock() const { return clock_; }
    int period() const { return period_; }
    int ended() const { return ended_; }
    int flags() const { return flags_; }
    bool started() const { return period_ > 1 || clock_ < 10 || ended_; }
    bool periodStart() const;
    bool running() const { return !ended_ && !periodStart(); }
    int minuteNow() const; // the minute an event recorded now belongs to
    const std::vector<int> &court(int side, int vreme = 0) const;
    const std::set<int> &roster(int side) const { return roster_[side - 1]; }
    const Line &statLine(int side, int dres) const;
    int fouls(int side, int dres) const; // LG + TG
    int timeOutsBetween(int side, int from, int to) const;

private:
    void add(int side, int dres, int minute, int period, int column1, int column2 = -1);
    void present(int side, int dres, int minute, int period);
    void minuteStart(int minute);
    void minuteEnd(int minute);
    static void replaceIn(std::vector<int> &five, int out, int in);

    std::set<int> roster_[2];
    int clock_ = 10;
    int period_ = 1;
    int ended_ = 0;
    int flags_ = 0;
    int lastMinute_ = 0;
    std::map<int, Line> stat_[2];                   // by shirt number
    std::map<std::pair<int, int>, Line> lines_[2];  // by (VREME, shirt number)
    std::map<int, std::vector<int>> court_[2];      // by VREME, in order of coming on
    std::vector<std::pair<int, int>> timeOuts_;     // (side, minute)
};

} // namespace rules
