#include "rules/MatchGenerator.h"

#include <algorithm>

namespace rules {

MatchGenerator::MatchGenerator(quint32 seed, Options options) : random_(seed), options_(options)
{
    exitPlanned_ = chance(options_.exitShare);
}

int MatchGenerator::pick(const std::vector<int> &from)
{
    return from.empty() ? 0 : from[size_t(random_.bounded(int(from.size())))];
}

std::optional<Event> MatchGenerator::next(const Model &m)
{
    if (finished_)
        return std::nullopt;
    if (options_.wildShare > 0 && chance(options_.wildShare))
        return wild(m);
    if (!(m.flags() & 1) || !m.started())
        return pregame(m);
    if (m.ended()) {
        if (m.flags() & 2) {
            finished_ = true;
            return std::nullopt;
        }
        if (overtimes_ < options_.maxOvertimes && chance(options_.overtimeShare)) {
            ++overtimes_;
            // The next overtime: usually by a minute change, sometimes by code 0.
            return chance(0.8) ? Event{3, 0, 3, 0} : Event{3, 0, 0, 0};
        }
        if (chance(0.5))
            return Event{3, 0, 22, 0};
        finished_ = true;
        return std::nullopt;
    }
    if (m.periodStart()) {
        if (chance(0.35)) {
            const int side = 1 + int(random_.bounded(2));
            std::vector<int> bench;
            for (int d : m.roster(side))
                if (std::find(m.court(side).begin(), m.court(side).end(), d) == m.court(side).end() &&
                    m.fouls(side, d) < 5)
                    bench.push_back(d);
            if (!bench.empty() && !m.court(side).empty())
                return Event{side, onCourt(m, side), 18, pick(bench)};
        }
        if (chance(0.05))
            return Event{1 + int(random_.bounded(2)), 0, 31 + int(random_.bounded(4)), 0};
        return Event{3, 0, 3, 0};
    }
    return play(m);
}

Event MatchGenerator::pregame(const Model &m)
{
    if (!(m.flags() & 1))
        return {3, 0, 1, 0};
    for (int side = 1; side <= 2; ++side) {
        if (m.court(side).size() < 5) {
            std::vector<int> bench;
            for (int d : m.roster(side))
                if (std::find(m.court(side).begin(), m.court(side).end(), d) == m.court(side).end())
                    bench.push_back(d);
            return {side, pick(bench), 2, 0};
        }
    }
    if (chance(0.1)) {
        // A starter is replaced before the tip-off.
        const int side = 1 + int(random_.bounded(2));
        std::vector<int> bench;
        for (int d : m.roster(side))
            if (std::find(m.court(side).begin(), m.court(side).end(), d) == m.court(side).end())
                bench.push_back(d);
        return {side, onCourt(m, side), 18, pick(bench)};
    }
    if (chance(0.1))
        return {1 + int(random_.bounded(2)), 0, 34, 0}; // the jump ball
    return {3, 0, 3, 0};
}

Event MatchGenerator::play(const Model &m)
{
    if (pendingFreeThrows_ > 0) {
        --pendingFreeThrows_;
        const auto &five = m.court(freeThrowShooter_.a0);
        if (std::find(five.begin(), five.end(), freeThrowShooter_.a1) != five.end())
            return {freeThrowShooter_.a0, freeThrowShooter_.a1, chance(0.75) ? 4 : 5, 0};
        pendingFreeThrows_ = 0;
    }
    if (chance(1.0 / 13))
        return {3, 0, 3, 0};

    const int side = 1 + int(random_.bounded(2));
    const int other = 3 - side;
    auto bench = [&](int s) {
        std::vector<int> out;
        for (int d : m.roster(s))
            if (std::find(m.court(s).begin(), m.court(s).end(), d) == m.court(s).end() && m.fouls(s, d) < 5)
                out.push_back(d);
        return out;
    };
    // A player with five fouls leaves at the next chance.
    for (int d : m.court(side))
        if (m.fouls(side, d) >= 5) {
            const std::vector<int> in = bench(side);
            if (!in.empty())
                return {side, d, 18, pick(in)};
        }
    if (m.court(side).empty() || m.court(other).empty())
        return {3, 0, 3, 0};

    const int player = onCourt(m, side);
    static const int weights[] = {30, 14, 10, 10, 4, 8, 4, 7, 10, 2, 7, 1, 1, 2, 2, 1};
    int total = 0;
    for (int w : weights)
        total += w;
    int roll = int(random_.bounded(total));
    int kind = 0;
    while (roll >= weights[kind])
        roll -= weights[kind++];

    switch (kind) {
    case 0: return {side, player, chance(0.5) ? 6 : 7, 1 + int(random_.bounded(6))};
    case 1: {
        static const int zones[] = {1, 2, 3, 4, 6};
        return {side, player, chance(0.35) ? 8 : 9, zones[random_.bounded(5)]};
    }
    case 2:
        pendingFreeThrows_ = 1 + int(random_.bounded(2));
        freeThrowShooter_ = {side, player, 4, 0};
        return {side, player, chance(0.75) ? 4 : 5, 0};
    case 3: return {side, player, 10, 0};
    case 4: return {side, player, 11, 0};
    case 5: return {side, player, 12, 0};
    case 6: return {side, player, 13, 0};
    case 7: return {side, player, 14, 1 + int(random_.bounded(13))};
    case 8: return {side, player, 15, onCourt(m, other)};
    case 9: return {side, player, 17, onCourt(m, other)};
    case 10: {
        const std::vector<int> in = bench(side);
        if (in.empty())
            return {side, player, 10, 0};
        return {side, player, 18, pick(in)};
    }
    case 11: return {side, player, 16, 0};
    case 12: return {side, player, 19, 0};
    case 13: return {side, 0, 20, 0};
    case 14: return {side, 0, 31 + int(random_.bounded(4)), 0};
    default:
        if (exitPlanned_ && !exitUsed_ && m.court(side).size() == 5) {
            exitUsed_ = true;
            return {side, player, 21, 0};
        }
        return {side, player, 12, 0};
    }
}

Event MatchGenerator::wild(const Model &m)
{
    static const int codes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                                17, 18, 19, 20, 21, 22, 23, 30, 31, 32, 33, 34, 35, -1};
    const int code = codes[random_.bounded(int(std::size(codes)))];
    const int a0 = chance(0.1) ? int(random_.bounded(4)) : 1 + int(random_.bounded(2));
    auto anyNumber = [&]() {
        switch (random_.bounded(6)) {
        case 0: return 0;
        case 1: return int(random_.bounded(22)) - 1; // -1 to 20, some on no roster
        case 2: return 100;
        case 3: return pick(m.court(1));
        case 4: return pick(m.court(2));
        default: return 99;
        }
    };
    const int a1 = chance(0.15) ? 0 : anyNumber();
    const int a3 = chance(0.3) ? 0 : chance(0.5) ? int(random_.bounded(16)) - 1 : anyNumber();
    return {a0, a1, code, a3};
}

} // namespace rules
