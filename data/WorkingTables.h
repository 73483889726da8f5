#pragma once
// The working tables of the match open in the console: the clock row (TEMP),
// the statistic lines and the players on court of each side. Every
// connection has rows of its own (global temporary tables), so each desk's
// console holds its own match; the rules engine keeps them, the console
// reads them.

#include "common/GameClock.h"
#include "data/Side.h"

#include <QList>

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
    // The shirt numbers on court now, and of every statistic line, by number.
    QList<int> OnCourt(Side side);
    QList<int> StatLineNumbers(Side side);
    bool HasPlayersOnCourt(Side side);

private:
    fb::Connection &db_;
};
