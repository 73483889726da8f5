#pragma once
// What the large scoreboard shows, apart from the window: team names cut to
// fit its frames, and the line of points per period.

#include <QString>

#include <array>
#include <vector>

namespace fb {
class Connection;
}

// A name longer than 12 letters shows its first 13 and ".".
QString ScoreboardName(const QString &name);

// Home and away points of periods 1, 2, ... up to the highest period of the
// match's event records; none for a match without records.
using PeriodPoints = std::vector<std::array<int, 2>>;
PeriodPoints ReadPeriodPoints(fb::Connection &db, int match);

// "20 / 18     25 / 22     ": each period's pair followed by five spaces.
QString PeriodPointsLine(const PeriodPoints &points);

// A score or minute on three seven-segment digits: 7 shows as "007".
QString ThreeDigits(int value);

// What the board shows, read from the console once a second.
struct ScoreboardReading
{
    QString home, away;   // team names as the console shows them
    int homeScore = 0, awayScore = 0;
    QString period;       // the console's period caption
    int minute = 0;       // the clock minute
    PeriodPoints periods; // points per period so far
};
