#pragma once
// Matches for tests that key them: random match scripts, and everything a
// keyed match leaves in the database as text to compare.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace fb {
class Connection;
}

// A random match keyed as a script: the rules engine's own random matches
// (with a share of wild entries the console refuses), every foul typed and
// every substitution timed.
QString RandomMatchScript(quint32 seed);

// Everything keying must reproduce of a match, as text: the event records
// (without the clock time of their keying), the rules engine's events in
// force, the plus-minus rows and the result; with `workingTables` the
// statistic lines of this connection's open match too.
QStringList MatchTables(fb::Connection &db, int match, bool withResult = true, bool workingTables = true);
