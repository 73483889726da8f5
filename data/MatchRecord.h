#pragma once
// What the console writes into the match row (UTAKMICA).

#include "data/Side.h"

#include <QString>

namespace fb {
class Connection;
}

// REZULTAT: "CLOSED INCORRECTLY" while a console has the match open, then the
// score or "NOT FINISHED".
void SetMatchResult(fb::Connection &db, int match, const QString &result);
// A team colour, 0x00BBGGRR.
void SetTeamColour(fb::Connection &db, int match, Side side, int value);
