#include "data/ActionCodes.h"

#include "data/FbClient.h"

#include <QSet>

bool TActions::SetCode(int slot, int code)
{
    if (!validSlot(slot))
        return false;
    slots_[size_t(slot)].Code = code;
    return true;
}

bool TActions::MarkParameter(int slot)
{
    if (!validSlot(slot))
        return false;
    slots_[size_t(slot)].HasParameter = true;
    return true;
}

bool TActions::NeedsParameter(int slot) const
{
    return validSlot(slot) && slots_[size_t(slot)].HasParameter;
}

bool TActions::FindCode(int &typed) const
{
    for (int slot = 4; slot <= 25; ++slot) {
        const TElement &e = slots_[size_t(slot)];
        // Slot 0 is "no code", so an empty slot never matches a typed 0.
        if (e.Code != 0 && e.Code == typed) {
            typed = slot;
            return true;
        }
    }
    return false;
}

int TActions::CodeAt(int slot) const
{
    return validSlot(slot) ? slots_[size_t(slot)].Code : -1;
}

bool TActions::Load(fb::Connection &connection)
{
    slots_ = {};
    QSet<int> present;
    fb::Query rows(connection, QStringLiteral("select SIFRA from AKCIJA"));
    rows.exec();
    while (rows.next())
        present.insert(rows.value(0).toInt());

    for (int code = 0; code <= 3; ++code)
        SetCode(code, code);
    bool complete = true;
    for (int code = EvMade1; code <= EvExitWithoutChanges; ++code) {
        complete = complete && present.contains(code);
        if (present.contains(code))
            SetCode(code, code);
    }
    for (int slot : {6, 7, 8, 9, 14, 15, 17, 18})
        MarkParameter(slot);
    // The team events must exist although no code box accepts them.
    for (int code : {EvTeamOffence, EvTeamDefence, EvTeamTurnover})
        complete = complete && present.contains(code);
    SetCode(22, EvMatchFinish);
    return complete;
}

TActions &ActionCodes()
{
    static TActions table;
    return table;
}
