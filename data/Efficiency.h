#pragma once
// The efficiency index of a player or a team, from its counts: what it gained
// (rebounds, assists, steals, fouls drawn, blocks) less what it lost (missed
// shots weighted by their value, turnovers, fouls, own shots blocked).

struct EfficiencyCounts
{
    int p1Made = 0, p1Attempted = 0;
    int p2Made = 0, p2Attempted = 0;
    int p3Made = 0, p3Attempted = 0;
    int rebounds = 0, assists = 0, steals = 0, turnovers = 0;
    int blocks = 0, shotsBlocked = 0;
    int fouls = 0, technicals = 0, foulsDrawn = 0;
};

constexpr int EfficiencyIndex(const EfficiencyCounts &c)
{
    const int gains = c.rebounds + c.assists + c.steals + c.foulsDrawn + c.blocks;
    const int losses = c.p1Attempted - 2 * c.p1Made + c.p2Attempted - 3 * c.p2Made + c.p3Attempted - 4 * c.p3Made +
                       c.turnovers + c.fouls + c.technicals + c.shotsBlocked;
    return gains - losses;
}
