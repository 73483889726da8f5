#pragma once
#include <QString>
#include <QStringList>

namespace fb {
class Connection;
}

// The statistic-line field of each box-score column, in column order.
const QStringList &BoxColumnNames();

// Builds the box score of a match from its event records and compares it,
// player by player, with the statistic lines the rules engine keeps, on the
// columns both keep. A difference fails the test, naming `context`.
void CompareBoxScoreWithStatLines(fb::Connection &db, int match, const QString &context = QString());
