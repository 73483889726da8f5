#include "data/RulesEngine.h"

#include "data/ActionCodes.h"
#include "data/FbClient.h"

namespace {

const QString CheckCall = QStringLiteral("execute procedure CHECKACTION(?, ?, ?, ?, ?)");
const QString UndoCall = QStringLiteral("execute procedure UNDO(?)");
const QString RemoveCall = QStringLiteral("execute procedure DELETEACTION(?, ?)");

} // namespace

void RulesEngine::Prepare()
{
    for (const QString &call : {CheckCall, UndoCall, RemoveCall})
        db_.prepare(call);
}

int RulesEngine::Check(int match, int side, int player, int code, int parameter)
{
    fb::Query check(db_, CheckCall);
    check.exec({match, side, player, code, parameter});
    return check.next() ? check.value(0).toInt() : 0;
}

int RulesEngine::UndoNewest(int match)
{
    fb::Query undo(db_, UndoCall);
    undo.exec({match});
    return undo.next() ? undo.value(0).toInt() : 0;
}

void RulesEngine::Remove(int match, int eventId)
{
    db_.execute(RemoveCall, {eventId, match});
}

void RulesEngine::RebuildWorkingTables(int match)
{
    db_.execute(QStringLiteral("execute procedure RE_OPEN(?)"), {match});
}

QList<EventInForce> RulesEngine::RemovableEvents(int match, int after)
{
    fb::Query rows(db_, QStringLiteral("select ID_AKCIJE, A0, A1, SIFRA, A3 from AKCIJE "
                                       "where ID_UTAKMICA = ? and ID_AKCIJE > ? and UNDO = 0 "
                                       "and not (SIFRA in (?, ?, ?)) order by ID_AKCIJE desc"));
    rows.exec({match, after, int(EvMatchStart), int(EvStarters), int(EvMatchFinish)});
    QList<EventInForce> events;
    while (rows.next())
        events << EventInForce{rows.value(0).toInt(), rows.value(1).toInt(), rows.value(2).toInt(),
                               rows.value(3).toInt(), rows.value(4).toInt()};
    return events;
}
