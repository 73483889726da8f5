#include "publish/MatchTimeline.h"

#include "data/ActionCodes.h"
#include "data/FbClient.h"

std::vector<RecordedEvent> ReadRecordedEvents(fb::Connection &db, int match)
{
    std::vector<RecordedEvent> events;
    fb::Query rows(db, QStringLiteral("SELECT RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, I1, PAR4, LGTYPE FROM DTT "
                                      "WHERE (IDM = ?) ORDER BY RBACTION"));
    rows.exec({match});
    while (rows.next())
        events.push_back({.number = rows.value(0).toInt(),
                          .side = rows.value(1).toInt(),
                          .player = rows.value(2).toInt(),
                          .clock = {rows.value(3).toInt(), rows.value(4).toInt()},
                          .code = rows.value(5).toInt(),
                          .parameter = rows.value(6).toInt(),
                          .seconds = rows.value(7).toInt(),
                          .points = rows.value(8).toInt(),
                          .attackType = rows.value(9).toInt(),
                          .foulType = rows.value(10).toInt()});
    return events;
}

MatchTimeline::MatchTimeline(std::vector<RecordedEvent> events) : events_(std::move(events))
{
    for (const RecordedEvent &e : events_) {
        if (e.code != EvMinuteChange && e.code != EvOverTime)
            continue;
        clock_ = clock_.AfterMinuteChange();
        // A change that lets the clock run begins a game minute.
        if (!clock_.Ended() && !clock_.AtPeriodStart())
            lastMinute_ = GameMinute(clock_.period, clock_.minute);
    }
}

int MatchTimeline::points(int side) const { return points(side, nullptr); }

int MatchTimeline::pointsInPeriod(int side, int period) const
{
    int points = 0;
    for (const RecordedEvent &e : events_)
        if (e.side == side && e.clock.period == period)
            points += e.points;
    return points;
}

int MatchTimeline::pointsUpTo(int side, int gameMinute) const
{
    const ClockReading end = ClockOfGameMinute(gameMinute);
    return points(side, &end);
}

int MatchTimeline::points(int side, const ClockReading *end) const
{
    int points = 0;
    for (const RecordedEvent &e : events_)
        if (e.side == side && (!end || e.clock.NotAfter(*end)))
            points += e.points;
    return points;
}

int MatchTimeline::timeOutsIn(int side, int gameMinute) const
{
    const ClockReading minute = ClockOfGameMinute(gameMinute);
    int timeOuts = 0;
    for (const RecordedEvent &e : events_)
        if (e.side == side && e.code == EvTimeOut && e.clock == minute)
            ++timeOuts;
    return timeOuts;
}

QList<int> MatchTimeline::fiveAt(int side, int gameMinute) const
{
    const ClockReading end = ClockOfGameMinute(gameMinute);
    return five(side, &end);
}

QList<int> MatchTimeline::fiveNow(int side) const { return five(side, nullptr); }

QList<int> MatchTimeline::five(int side, const ClockReading *end) const
{
    QList<int> places;
    for (const RecordedEvent &e : events_) {
        if (e.side != side || (end && !e.clock.NotAfter(*end)))
            continue;
        switch (e.code) {
        case EvStarters:
            places << e.player;
            break;
        case EvPlayerChange:
            if (const qsizetype place = places.indexOf(e.player); place >= 0)
                places[place] = e.parameter;
            break;
        case EvExitWithoutChanges:
            places.removeOne(e.player);
            break;
        default:
            break;
        }
    }
    return places;
}

int MatchTimeline::secondsOnCourt(int side, int shirtNumber) const
{
    int seconds = 0;
    for (const RecordedEvent &e : events_) {
        if (e.side != side || e.code != EvPlayerChange)
            continue;
        if (e.player == shirtNumber)
            seconds += e.seconds;
        if (e.parameter == shirtNumber)
            seconds -= e.seconds;
    }
    if (fiveNow(side).contains(shirtNumber))
        seconds += ElapsedSeconds(clock_.period, clock_.minute, 0);
    return seconds;
}
