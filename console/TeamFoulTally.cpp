#include "console/TeamFoulTally.h"

#include "common/GameClock.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"

#include <optional>

void TeamFoulTally::Reset()
{
    period_ = 0;
    state_ = {};
}

void TeamFoulTally::Recount(int period)
{
    Reset();
    Update(1, period, 0); // reads both sides
}

void TeamFoulTally::Update(int side, int period, int code)
{
    const bool sided = side == 1 || side == 2;
    // Both sides are read together: one statement instead of two.
    std::optional<std::array<int, 2>> fromRecords;
    if (sided && !state_[index(side)].loaded) {
        fromRecords = statistics_.TeamFouls(match_, period);
        period_ = period;
    }
    if (period != period_ && period <= RegularPeriods)
        state_.fill(SideState{0, true, false});
    if (fromRecords)
        for (size_t i : {0u, 1u})
            if (!state_[i].loaded)
                state_[i] = SideState{(*fromRecords)[i], true, (*fromRecords)[i] >= 5};
    if (sided) {
        SideState &s = state_[index(side)];
        if (code == EvPersonalFoul || code == EvTechnicalPlayer)
            ++s.count;
        s.inBonus = s.count >= 5;
        s.loaded = true;
    }
    period_ = period;
}
