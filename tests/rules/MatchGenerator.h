#pragma once
// Seeded generator of realistic event streams for one match: the match start
// and starters, then play minute by minute through the four quarters and any
// overtimes (shots by zone, free throws, rebounds, assists, steals,
// turnovers, fouls on an opponent on court, blocks, substitutions,
// technicals, time-outs, team events), about 13 events per played minute.
// It proposes events from the state of a Model; whether each one is legal is
// the Model's (and the database's) decision.

#include "rules/RulesModel.h"

#include <QRandomGenerator>

#include <optional>

namespace rules {

class MatchGenerator
{
public:
    struct Options
    {
        double wildShare = 0.0;   // share of events with random codes and parameters
        int maxOvertimes = 2;     // overtimes played at most
        double overtimeShare = 0.4; // chance that another overtime is played after an end
        double exitShare = 0.02;  // chance per match of one exit without changes
    };

    MatchGenerator(quint32 seed, Options options);

    // The next event to submit, or nullopt when the match is over (after the
    // last end of play and, sometimes, a match finish).
    std::optional<Event> next(const Model &m);

    QRandomGenerator &random() { return random_; }

private:
    Event pregame(const Model &m);
    Event play(const Model &m);
    Event wild(const Model &m);
    int pick(const std::vector<int> &from);
    int onCourt(const Model &m, int side) { return pick(m.court(side)); }
    bool chance(double p) { return random_.generateDouble() < p; }

    QRandomGenerator random_;
    Options options_;
    int overtimes_ = 0;
    bool finished_ = false;
    bool exitUsed_ = false;
    bool exitPlanned_ = false;
    int pendingFreeThrows_ = 0;
    Event freeThrowShooter_;
};

} // namespace rules
