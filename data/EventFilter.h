#pragma once
// Which events of a match a box score or a report counts. Each part left
// empty lets every event through; the parts narrow together. The store turns
// a filter into bound conditions, never into SQL text.

#include <optional>

struct EventFilter
{
    std::optional<int> fromPeriod = {}; // periods from .. to, both included
    std::optional<int> toPeriod = {};
    std::optional<int> attackType = {}; // 0 normal, 1 second attack, 2 fast break
    std::optional<int> defenceType = {}; // 0 man to man, 1 zone
    std::optional<bool> inBonus = {}; // the acting side was in the bonus (true) or not yet (false)
    std::optional<bool> starters = {}; // events of starters (true) or of the bench (false)

    static EventFilter Period(int period) { return {.fromPeriod = period, .toPeriod = period}; }
    static EventFilter UntilPeriod(int period) { return {.toPeriod = period}; }
    static EventFilter FromPeriod(int period) { return {.fromPeriod = period}; }

    bool operator==(const EventFilter &) const = default;
};
