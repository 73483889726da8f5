#pragma once
// Small matches keyed through the console's session, for the tests of what
// is published from the stored rows.

#include "console/MatchSession.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QString>

#include <vector>

namespace fb {
class Connection;
}

// Entries as the tests write them, one per line: "side player code
// [parameter [seconds]]", "+" for a minute change, "+N" for N of them.
std::vector<EventEntry> parseEntries(const QString &text);

// A match between two clubs of twelve players, open in a console session,
// with whatever entries a test keys; the starting fives are the first five
// numbers of each roster.
struct KeyedMatch
{
    KeyedMatch();

    int home(int i) const;
    int away(int i) const;

    // Match start and both starting fives, as the starters dialog records them.
    void start();
    // Fails the process when the session refuses the entry.
    void key(const EventEntry &e);
    void play(const QString &entries);
    int records();
    // The working tables and every match's result: what publishing must leave alone.
    QString state();
    fb::Connection &db() { return sb.dm().db(); }

    Sandbox sb;
    rules::Desk desk;
    int match;
    MatchSession session;
};
