#include "data/ActionCodes.h"

#include "data/FbClient.h"

#include <QSet>
#include <QStringList>

namespace {

struct CodeNames
{
    int code;
    const char *legend;
    const char *log;
};

constexpr CodeNames Names[] = {
    {EvOverTime, "", "OVER TIME"},
    {EvMatchStart, "", "MATCH START"},
    {EvStarters, "", "STARTERS"},
    {EvMinuteChange, "MINUTES CHANGE", "TIME CHANGE"},
    {EvMade1, "MADE 1P", "MADE 1P"},
    {EvMiss1, "MISS 1P", "MISS 1P"},
    {EvMade2, "MADE 2P", "MADE 2P"},
    {EvMiss2, "MISS 2P", "MISS 2P"},
    {EvMade3, "MADE 3P", "MADE 3P"},
    {EvMiss3, "MISS 3P", "MISS 3P"},
    {EvReboundDefence, "REBOUND DEFENCE", "REBOUND DEFENCE"},
    {EvReboundOffence, "REBOUND OFFENCE", "REBOUND OFFENCE"},
    {EvAssist, "ASSIST", "ASSIST"},
    {EvSteal, "STEAL BALL", "STEAL BALL"},
    {EvTurnover, "TURNOVER", "TURNOVER"},
    {EvPersonalFoul, "PERSONAL FAULT", "PERSONAL FAULT"},
    {EvTechnicalPlayer, "TECHNICAL TO PLAYER", "TECHNICAL TO PLAYER"},
    {EvBlock, "BLOCK", "BLOCK"},
    {EvPlayerChange, "PLAYER CHANGE", "PLAYER CHANGE"},
    {EvTechnicalCoach, "TECHNICAL TO COACH", "TECHNICAL TO COACH"},
    {EvTimeOut, "TIME OUT", "TIME OUT"},
    {EvExitWithoutChanges, "EXIT WITHOUT CHANGES", "EXIT WITHOUT CHANGES"},
    {EvMatchFinish, "", "MATCH FINISH"},
    {EvTeamOffence, "TEAM OFFENCE", "TEAM OFFENCE 31"},
    {EvTeamDefence, "TEAM DEFENCE", "TEAM DEFENCE 32"},
    {EvTeamTurnover, "TEAM TURNOVER", "TEAM TURNOVER 33"},
    {EvJumpBall, "JUMP BALL", "JUMP BALL 34"},
};

const CodeNames *namesOf(int code)
{
    for (const auto &n : Names)
        if (n.code == code)
            return &n;
    return nullptr;
}

} // namespace

const QStringList &TurnoverTypeNames()
{
    static const QStringList names = {
        QStringLiteral("TRAVELLING"),         QStringLiteral("BAD PASS"),
        QStringLiteral("OFFENSIVE FOUL WITH BALL"), QStringLiteral("OFFENSIVE FOUL WITHOUT BALL"),
        QStringLiteral("TECHNICAL FOUL"),     QStringLiteral("3 SECONDS IN THE PAINT"),
        QStringLiteral("5 SECONDS"),          QStringLiteral("OUT OF BOUNDS"),
        QStringLiteral("BACKCOURT VIOLATION"), QStringLiteral("BAD LEADING"),
        QStringLiteral("BAD BALL RECEIVING"), QStringLiteral("RULE 5 SECONDS (FT)"),
        QStringLiteral("8 SECONDS")};
    return names;
}

const QStringList &FoulTypeNames()
{
    static const QStringList names = {
        QStringLiteral("P [ Personal Fault ]"),
        QStringLiteral("P1 [ Personal fault with one free throw ]"),
        QStringLiteral("P2 [ Personal fault with two free throws ]"),
        QStringLiteral("P3 [ Personal fault with three free throws ]"),
        QStringLiteral("U2 [ Unsportsmanlike foul with two free throws ]"),
        QStringLiteral("D [ Disqualification ]"),
        QStringLiteral("F [ Fight ]"),
        QStringLiteral("U1 [ Unsportsmanlike foul with one free throw ]"),
        QStringLiteral("U3 [ Unsportsmanlike foul with three free throws ] ")};
    return names;
}

QString EventLegendName(int code)
{
    const CodeNames *n = namesOf(code);
    return n ? QString::fromLatin1(n->legend) : QString();
}

QString EventLogName(int code)
{
    const CodeNames *n = namesOf(code);
    return n ? QString::fromLatin1(n->log) : QString::number(code);
}

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
    shortNames_.clear();
    QSet<int> present;
    fb::Query rows(connection, QStringLiteral("select SIFRA, OZNAKA from AKCIJA"));
    rows.exec();
    while (rows.next()) {
        present.insert(rows.value(0).toInt());
        shortNames_.insert(rows.value(0).toInt(), rows.value(1).toString());
    }

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
