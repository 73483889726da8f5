#pragma once
// The roster of a stored match (SASTAV with the players' names), read in one
// statement: what the box score lists and what the console keeps of the open
// match.

#include "common/MatchState.h"
#include "data/Side.h"

#include <QList>

#include <QString>

#include <vector>

namespace fb {
class Connection;
}

struct RosterPlayer
{
    int side = 1; // 1 home, 2 away
    int playerId = 0;
    int shirtNumber = 0;
    bool starter = false;
    QString surname; // as stored, not transliterated
    QString firstName;
    QString registration;
};

// The match's roster in the order of its roster positions (DOMGOST, then
// shirt number), which the plus-minus history refers to. A database error
// answers an empty roster.
std::vector<RosterPlayer> ReadMatchRoster(fb::Connection &db, int match);

// Before the tip-off the five on court are the side's starters: their
// roster rows get the starter mark, the side's other rows lose it.
void MarkStartersFromCourt(fb::Connection &db, int match, Side side);
// The shirt numbers with the starter mark, by number.
QList<int> StarterNumbers(fb::Connection &db, int match, Side side);

// Refills both roster tables of the state (at most 12 players a side, in
// the roster's order) with names transliterated.
void FillRosterTables(MatchState &state, const std::vector<RosterPlayer> &roster);
