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

int TeamFoulTally::stored(int side, int period)
{
    DttCondition fouls = DttCondition(match_, side).oneOf(DttColumn::RES, {EvPersonalFoul, EvTechnicalPlayer});
    // The fourth quarter and every overtime are one foul period.
    if (period >= RegularPeriods)
        fouls.atLeast(DttColumn::P, RegularPeriods);
    else
        fouls.equals(DttColumn::P, period);
    return store_.CountWhere(fouls);
}

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
