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

// A reading of the clock: the period and the minute it shows.
struct ClockReading
{
    int period = 1;
    int minute = QuarterMinutes;

    bool operator==(const ClockReading &) const = default;
    // Whether this reading comes no later than `end` (earlier periods, or the
    // same period with as many minutes or more still on the clock).
    bool NotAfter(const ClockReading &end) const
    {
        return period < end.period || (period == end.period && minute >= end.minute);
    }
};

// The reading at which game minute t is played: GameMinute of it is t, with
// the clock running (minute 10 is period 1 at 0, 41 is period 5 at 4, 45
// period 5 at 0, 46 period 6 at 4). Minute 0 is the tip-off, period 1 at 10.
ClockReading ClockOfGameMinute(int gameMinute);

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
    // The clock after a minute change, as the rules engine moves it (the
    // opening of an overtime moves it the same way): a period start lets the
    // clock run, a running clock loses a minute, minute 0 ends a quarter, and
    // the end of the fourth quarter or of an overtime ends play, after which
    // the next overtime waits at its start.
    MatchClock AfterMinuteChange() const;
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
