#pragma once
// A side's box score as fixed-width plain text: one line per roster player, then
// the totals, for a terminal or a text file.

#include "data/BoxScore.h"

#include <QString>

// `side` 1 home, 2 away; the names come from the roster tables of CurrentMatch().
QString BoxScoreText(const QString &teamName, int side, const BoxSide &box);
