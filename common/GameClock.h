#pragma once

#include <QString>

// The game clock counts down within a period: four quarters of ten minutes,
// then as many five-minute overtimes as needed (period 5 is the first one).
constexpr int QuarterMinutes = 10;
constexpr int OvertimeMinutes = 5;
constexpr int RegularPeriods = 4;

// Minutes on the clock when the period starts (a quarter before the game).
int PeriodStartMinute(int period);

// Whole game minutes elapsed when the clock shows clockMinute in period;
// 0 before the first period.
int GameMinute(int period, int clockMinute);

// Game time elapsed, in seconds, when the clock shows clockMinute:seconds in
// period; 0 before the first period.
int ElapsedSeconds(int period, int clockMinute, int seconds);

// The clock row of a match: the minute shown, the period, and whether play
// has ended, with what the console asks of them.
struct MatchClock
{
    int minute = QuarterMinutes; // counts down: 10 before a quarter starts, 5 before an overtime
    int period = 1;              // 1..4 quarters, 5.. overtimes
    int ended = 0;               // 1 once the last period played has ended

    bool Ended() const { return ended == 1; }
    // The clock has run: past the tip-off.
    bool Started() const { return period > 1 || minute < QuarterMinutes; }
    // The period's clock has not run yet: only substitutions may be keyed.
    bool AtPeriodStart() const
    {
        return minute == QuarterMinutes || (minute == OvertimeMinutes && period > RegularPeriods);
    }
    // "1. Quarter", "Overtime 1" or "END".
    QString PeriodText() const;
    // The clock as the score board shows it: "Q2 · 7'", "OT1 · 3'" or
    // "END", so the minute is never read as a score.
    QString Caption() const;
};

// Time-outs a side may still take in the current half or overtime: two in
// the first half, three in the second of which at most two in the last two
// minutes of the fourth quarter, one in each overtime. `taken` counts those
// of this half (of this overtime), `takenInLastTwoMinutes` those of the
// fourth quarter with the clock at 1 or 0.
int TimeOutsLeft(const MatchClock &clock, int taken, int takenInLastTwoMinutes);
