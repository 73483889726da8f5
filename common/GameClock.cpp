#include "common/GameClock.h"

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

QString MatchClock::PeriodText() const
{
    if (Ended())
        return QStringLiteral("END");
    if (period > RegularPeriods)
        return QStringLiteral("Overtime %1").arg(period - RegularPeriods);
    return QStringLiteral("%1. Quarter").arg(period);
}
