#pragma once
// Team fouls of the open match and the bonus they bring: personal and
// technical fouls of a side in the current foul period (each quarter; the
// fourth quarter and every overtime together), five and more put the
// opponent in the bonus. Counted from the event records when first asked,
// then kept up to date entry by entry.

#include <QString>

#include <array>

class EventStatistics;

class TeamFoulTally
{
public:
    TeamFoulTally(EventStatistics &statistics, const int &match) : statistics_(statistics), match_(match) {}

    // Forgets every count: they are read again from the records.
    void Reset();
    // A side's entry with `code` in `period` (0 for none: only brings the count up to date).
    void Update(int side, int period, int code);
    int Count(int side) const { return state_[index(side)].count; }
    bool InBonus(int side) const { return state_[index(side)].inBonus; }
    // Recounts both sides from the records that remain.
    void Recount(int period);

    static QString BonusText(int teamFouls) { return QStringLiteral(" bonus p.flts: %1").arg(teamFouls); }

private:
    struct SideState
    {
        int count = 0;
        bool loaded = false;
        bool inBonus = false;
    };
    static size_t index(int side) { return side == 2 ? 1 : 0; }

    EventStatistics &statistics_;
    const int &match_;
    int period_ = 0;
    std::array<SideState, 2> state_{};
};
