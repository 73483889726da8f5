#pragma once
// The reports that follow the score through a match: the score by minutes,
// the table summary of lead changes, the score graph, the diagrams by
// periods and the play-by-play. Built from the match's stored rows.

#include "common/GameClock.h"
#include "reports/ReportContent.h"

#include <QString>

#include <vector>

struct RecordedEvent;

namespace fb {
class Connection;
}

// What every report of a stored match takes besides its own options.
struct MatchReportRequest
{
    int match = 0;
    bool colour = true;
    QString pictureDirectory{}; // where "LIGA.jpg" may be
};

// The game minutes counted along the records, one minute change at a time,
// as the clock moves: a period's first change lets its clock run and adds
// no minute, every other one closes a minute, and the change at 0 closes
// the period as well.
class MinuteCount
{
public:
    // Takes the next record; answers whether it closed a game minute.
    bool step(const RecordedEvent &event);
    // Game minutes closed so far (10 after the first quarter, 45 after the
    // first overtime).
    int elapsed() const { return elapsed_; }
    // The game minute an event now lies in, 1 for the first.
    int minute() const { return elapsed_ + 1; }
    // Whether the last minute closed was a period's last.
    bool closedPeriod() const { return closedPeriod_; }

private:
    MatchClock clock_;
    int elapsed_ = 0;
    bool closedPeriod_ = false;
};

// One entry of the lead list: the game minute, the score after the shot and
// what happened ("Take the lead", "Drawn", "Maximum lead").
struct TProm
{
    int minute = 0;
    int home = 0, away = 0;
    QString text;

    bool operator==(const TProm &) const = default;
};

// The lead list of the records in order: every change of lead and every
// levelling, and each moment a side reaches its largest lead, in time order.
std::vector<TProm> LeadList(const std::vector<RecordedEvent> &events);

// The lead list in two columns a page: entries 1 to 28 and 29 to 56 on
// page 1 (under `firstBand`), then 59 a column on every later page.
std::vector<report::Page> LeadListPages(const std::vector<TProm> &list, const report::Band &firstBand);

// Score by minutes; `details` names the players of the fives.
report::Content BuildScoreByMinutes(fb::Connection &db, const MatchReportRequest &request, bool details);
// The lead list in two columns a page.
report::Content BuildTableSummary(fb::Connection &db, const MatchReportRequest &request);
// The two running scores minute by minute.
report::Content BuildScoreGraph(fb::Connection &db, const MatchReportRequest &request);
// Eight statistics of both sides, period by period.
report::Content BuildDiagrams(fb::Connection &db, const MatchReportRequest &request);
// Every player event with the running score.
report::Content BuildPlayByPlay(fb::Connection &db, const MatchReportRequest &request);
