#include "common/MatchState.h"

#include <algorithm>

void TIgracRec::clear()
{
    *this = TIgracRec();
}

QString ShortPlayerName(const QString &surname, const QString &firstName)
{
    if (firstName.isEmpty())
        return surname;
    return surname + u' ' + firstName.at(0) + u'.';
}

void MatchState::reset()
{
    *this = MatchState();
}

MatchState &CurrentMatch()
{
    static MatchState state;
    return state;
}

namespace {

bool validSide(int side) { return side == 1 || side == 2; }

int contains(const CourtNumbers &numbers, int shirtNumber)
{
    // Negative numbers are the empty places, not players.
    if (shirtNumber < 0)
        return 0;
    return std::find(numbers.begin(), numbers.end(), shirtNumber) != numbers.end() ? 1 : 0;
}

} // namespace

int IsStarter(int side, int shirtNumber)
{
    return validSide(side) ? contains(CurrentMatch().starters(side), shirtNumber) : 0;
}

int IsOnCourt(int side, int shirtNumber)
{
    return validSide(side) ? contains(CurrentMatch().onCourt(side), shirtNumber) : 0;
}

int RosterPosition(int side, int shirtNumber)
{
    // Empty entries carry -1, which is no player's number.
    if (!validSide(side) || shirtNumber < 0)
        return -1;
    const Roster &roster = CurrentMatch().roster(side);
    for (int i = 0; i < RosterSize; ++i) {
        if (roster[i].shirtNumber == shirtNumber)
            return i;
    }
    return -1;
}
