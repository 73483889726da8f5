#pragma once
// The course of a stored match read from its event records alone: the clock,
// the game minutes played, the score and time-outs minute by minute, the
// fives on court at any minute and each player's time on court. It needs no
// working table of the rules engine, so it serves any stored match while a
// console has another one open, and it agrees with what the console shows
// for the match: the records carry the clock after each event, and the fives
// change as the rules engine changes them (a starter takes the next place, a
// substitute the place of the player he replaces, an exit without change
// empties its place).

#include "common/GameClock.h"

#include <QList>

#include <vector>

// The fields of one event record (DTT) that tell the course of the match.
struct RecordedEvent
{
    int number = 0;     // RBACTION
    int side = 0;       // HG: 1 home, 2 away, 3 the match
    int player = 0;     // NODR
    ClockReading clock{}; // P, M: the clock after the event
    int code = 0;       // RES
    int parameter = 0;  // PAR1: zone, type, opponent or entering player
    int seconds = 0;    // PAR2: the game second of a player change
    int points = 0;     // I1
    int attackType = 0; // PAR4
    int foulType = 0;   // LGTYPE

    bool operator==(const RecordedEvent &) const = default;
};

namespace fb {
class Connection;
}

// The match's records in ascending RBACTION; a null column reads 0.
std::vector<RecordedEvent> ReadRecordedEvents(fb::Connection &db, int match);

class MatchTimeline
{
public:
    // The records in ascending RBACTION.
    explicit MatchTimeline(std::vector<RecordedEvent> events);

    const std::vector<RecordedEvent> &events() const { return events_; }

    // The clock after every minute change of the records; Ended() is the
    // console's "END".
    const MatchClock &clock() const { return clock_; }
    // The last game minute begun: minutes 1 to lastMinute() have been
    // played (or are being played), 0 before the tip-off.
    int lastMinute() const { return lastMinute_; }

    // Points of a side in the whole match (the console's score).
    int points(int side) const;
    // Points of a side in one period.
    int pointsInPeriod(int side, int period) const;
    // Points of a side scored up to the end of game minute t, from the tip-off.
    int pointsUpTo(int side, int gameMinute) const;
    // Time-outs of a side taken in game minute t.
    int timeOutsIn(int side, int gameMinute) const;
    // The players of a side on court at the end of game minute t, in the
    // order of their places; minute 0 gives the five who started the match.
    QList<int> fiveAt(int side, int gameMinute) const;
    // The players of a side on court after the last record.
    QList<int> fiveNow(int side) const;
    // Seconds on court: the game seconds at which the player went off less
    // those at which he came on, and the time played so far while he is on
    // court (as the console's playing time counts it).
    int secondsOnCourt(int side, int shirtNumber) const;

private:
    // Over the records up to the reading `end` (all when absent).
    int points(int side, const ClockReading *end) const;
    QList<int> five(int side, const ClockReading *end) const;

    std::vector<RecordedEvent> events_;
    MatchClock clock_;
    int lastMinute_ = 0;
};
