#pragma once
// A side's box score as fixed-width plain text: one line per roster player, then
// the totals, for a terminal or a text file.

#include "data/BoxScore.h"

#include <QString>

// The names are the rows' own, in plain letters.
QString BoxScoreText(const QString &teamName, const BoxSide &box);
