#pragma once
// The working tables of the match open in the console: the clock row (TEMP),
// the statistic lines and the players on court of each side. Every
// connection has rows of its own (global temporary tables), so each desk's
// console holds its own match; the rules engine keeps them, the console
// reads them.

#include "common/GameClock.h"
#include "data/Side.h"

#include <QList>

#include <array>

namespace fb {
class Connection;
}

class WorkingTables
{
public:
    explicit WorkingTables(fb::Connection &db) : db_(db) {}

    // Empties every working table of this connection.
    void Empty();
    // The clock row before the tip-off: period 1, minute 10.
    void ResetClock();
    // The clock row; the default clock when there is none.
    MatchClock Clock();
    // A side's shirt numbers on court now, and of every statistic line, by number.
    struct SideNumbers
    {
        QList<int> onCourt, withLines;
    };
    // Both sides (index 0 home), in one reading: the console asks after
    // every entry, and on a server every statement is a round trip.
    std::array<SideNumbers, 2> Numbers();
    bool HasPlayersOnCourt(Side side);

private:
    fb::Connection &db_;
};
