#include "console/TeamFoulTally.h"

#include "common/GameClock.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"

void TeamFoulTally::Reset()
{
    period_ = 0;
    state_ = {};
}

void TeamFoulTally::Recount(int period)
{
    Reset();
    Update(1, period, 0);
    Update(2, period, 0);
}

int TeamFoulTally::stored(int side, int period) { return statistics_.TeamFouls(match_, side, period); }

void TeamFoulTally::Update(int side, int period, int code)
{
    const bool sided = side == 1 || side == 2;
    int fromRecords = 0;
    if (sided && !state_[index(side)].loaded) {
        fromRecords = stored(side, period);
        period_ = period;
    }
    if (period != period_ && period <= RegularPeriods)
        state_.fill(SideState{0, true, false});
    if (sided) {
        SideState &s = state_[index(side)];
        if (!s.loaded)
            s.count = fromRecords;
        if (code == EvPersonalFoul || code == EvTechnicalPlayer)
            ++s.count;
        s.inBonus = s.count >= 5;
        s.loaded = true;
    }
    period_ = period;
}
