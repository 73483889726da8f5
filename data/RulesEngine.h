#pragma once
// The calls of the match rules engine: the stored procedures that check and
// record every event of the open match, take events back and rebuild the
// working tables (db/R_rules_engine.sql). None of them commits; a call that
// the engine refuses with an exception throws fb::Error.

#include "data/Side.h"

#include <QList>

namespace fb {
class Connection;
}

// One event the engine holds in force (AKCIJE).
struct EventInForce
{
    int eventId = 0;
    int side = 0;
    int player = 0;
    int code = 0;
    int parameter = 0;
};

class RulesEngine
{
public:
    explicit RulesEngine(fb::Connection &db) : db_(db) {}

    // Prepares the calls of an open match ahead of the first: preparing one
    // compiles the procedures it calls, which for a removal takes several
    // milliseconds, once per connection.
    void Prepare();
    // CHECKACTION: 1 (or 60, 66 for a minute change) when recorded, else the refusal code.
    int Check(int match, int side, int player, int code, int parameter);
    // UNDO of the newest event: 1 when undone, else the engine's answer.
    int UndoNewest(int match);
    // DELETEACTION: removes one event in force anywhere in the match.
    void Remove(int match, int eventId);
    // RE_OPEN: the working tables rebuilt from the match's events in force.
    void RebuildWorkingTables(int match);
    // The events in force that a statistician may remove, newest first
    // (without the match start, the starters and the finish); with `after`,
    // only those stored since that event.
    QList<EventInForce> RemovableEvents(int match, int after = 0);

private:
    fb::Connection &db_;
};
