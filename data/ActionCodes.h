#pragma once
// The event-code table: which codes a code box accepts and which of them
// need a second parameter. One instance, filled once at start from AKCIJA.

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

namespace fb {
class Connection;
}

// Event codes as stored in AKCIJE.SIFRA and DTT.RES.
enum EventCode : int {
    EvOverTime = 0,
    EvMatchStart = 1,
    EvStarters = 2,
    EvMinuteChange = 3,
    EvMade1 = 4,
    EvMiss1 = 5,
    EvMade2 = 6,
    EvMiss2 = 7,
    EvMade3 = 8,
    EvMiss3 = 9,
    EvReboundDefence = 10,
    EvReboundOffence = 11,
    EvAssist = 12,
    EvSteal = 13,
    EvTurnover = 14,
    EvPersonalFoul = 15,
    EvTechnicalPlayer = 16,
    EvBlock = 17,
    EvPlayerChange = 18,
    EvTechnicalCoach = 19,
    EvTimeOut = 20,
    EvExitWithoutChanges = 21,
    EvMatchFinish = 22,
    EvTeamOffence = 31,
    EvTeamDefence = 32,
    EvTeamTurnover = 33,
    EvJumpBall = 34,
};

// The names of a code: in the legend window (empty for codes the legend
// does not list) and in the event log (the number itself for an unknown code).
QString EventLegendName(int code);
QString EventLogName(int code);

// Turnover types 1..13 and personal-foul types 1..9, by number (index 0 is type 1).
const QStringList &TurnoverTypeNames();
const QStringList &FoulTypeNames();

struct TElement
{
    int Code = 0;
    bool HasParameter = false;
};

class TActions
{
public:
    static constexpr int SlotCount = 27;

    bool SetCode(int slot, int code);
    bool MarkParameter(int slot);
    bool NeedsParameter(int slot) const;
    // Looks a typed code up among the enterable slots 4 to 25; on success the
    // typed value becomes the slot number.
    bool FindCode(int &typed) const;
    int CodeAt(int slot) const;

    // Fills the table from AKCIJA; answers false when a required code is missing.
    bool Load(fb::Connection &connection);
    // A code's short name in AKCIJA (OZNAKA), as the list of events in force shows it.
    QString ShortName(int code) const { return shortNames_.value(code); }

private:
    static bool validSlot(int slot) { return slot >= 0 && slot < SlotCount; }
    std::array<TElement, SlotCount> slots_{};
    QHash<int, QString> shortNames_;
};

// The process-wide table, filled by the data module at start.
TActions &ActionCodes();
