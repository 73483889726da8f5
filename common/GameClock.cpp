#include "common/GameClock.h"

#include <algorithm>

int PeriodStartMinute(int period)
{
    return period > RegularPeriods ? OvertimeMinutes : QuarterMinutes;
}

int GameMinute(int period, int clockMinute)
{
    if (period <= 0)
        return 0;
    // Game minute at which the period ends, less what is left on the clock.
    const int periodEnd = period <= RegularPeriods
        ? QuarterMinutes * period
        : RegularPeriods * QuarterMinutes + OvertimeMinutes * (period - RegularPeriods);
    return periodEnd - clockMinute;
}

int ElapsedSeconds(int period, int clockMinute, int seconds)
{
    if (period <= 0)
        return 0;
    // The clock shows M:S, so M minutes and S seconds are still to play.
    return GameMinute(period, clockMinute) * 60 - seconds;
}

ClockReading ClockOfGameMinute(int gameMinute)
{
    const int regularEnd = RegularPeriods * QuarterMinutes;
    if (gameMinute <= 0)
        return {1, QuarterMinutes};
    // The last minute of a period is played with 0 on the clock.
    if (gameMinute <= regularEnd) {
        const int period = (gameMinute + QuarterMinutes - 1) / QuarterMinutes;
        return {period, QuarterMinutes * period - gameMinute};
    }
    const int overtime = (gameMinute - regularEnd + OvertimeMinutes - 1) / OvertimeMinutes;
    const int period = RegularPeriods + overtime;
    return {period, regularEnd + OvertimeMinutes * overtime - gameMinute};
}

MatchClock MatchClock::AfterMinuteChange() const
{
    MatchClock next = *this;
    if (Ended()) {
        next.period = period + 1;
        next.minute = OvertimeMinutes;
        next.ended = 0;
    } else if (minute > 0) {
        next.minute = minute - 1;
    } else if (period < RegularPeriods) {
        next.period = period + 1;
        next.minute = QuarterMinutes;
    } else {
        next.ended = 1;
    }
    return next;
}

QString MatchClock::PeriodText() const
{
    if (Ended())
        return QStringLiteral("END");
    if (period > RegularPeriods)
        return QStringLiteral("Overtime %1").arg(period - RegularPeriods);
    return QStringLiteral("%1. Quarter").arg(period);
}

QString MatchClock::Caption() const
{
    if (Ended())
        return QStringLiteral("END");
    const QString period = this->period > RegularPeriods ? QStringLiteral("OT%1").arg(this->period - RegularPeriods)
                                                        : QStringLiteral("Q%1").arg(this->period);
    return QStringLiteral("%1 \u00B7 %2'").arg(period).arg(minute);
}

int TimeOutsLeft(const MatchClock &clock, int taken, int takenInLastTwoMinutes)
{
    int left = 0;
    if (clock.period > RegularPeriods)
        left = 1 - taken;
    else if (clock.period <= 2)
        left = 2 - taken;
    else {
        left = 3 - taken;
        if (clock.period == RegularPeriods && clock.minute <= 1)
            left = std::min(left, 2 - takenInLastTwoMinutes);
    }
    return std::max(left, 0);
}
