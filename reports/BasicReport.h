#pragma once
// The basic report: the printed box score of a match on one A4 landscape
// page. Built from the match's stored rows (the box score with the chosen
// filter, the course of the match, the plus-minus), so any stored match can
// be reported at any time and the console's report of its open match is the
// command line's.

#include "reports/ReportChoice.h"
#include "reports/ReportContent.h"

struct MatchClock;

namespace fb {
class Connection;
}

struct BasicReportRequest
{
    int match = 0;
    ReportChoice choice;
    bool colour = true;
    QString pictureDirectory{}; // where "LIGA.jpg" may be
};

// Raises ReportError for a match that does not exist.
report::Content BuildBasicReport(fb::Connection &db, const BasicReportRequest &request);

// The minute the report is "until": the minute being played, or the last
// minute of play once play has ended (45 after the first overtime).
int ReportMinute(const MatchClock &clock);
