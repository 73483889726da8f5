#pragma once
// One side of a match and the names it goes by in the database: 1 home and
// 2 away in the event tables, 1 and 0 in the roster (SASTAV.DOMGOST), and
// a working table of its own for statistic lines, players on court and
// minute lines.

#include <QLatin1StringView>

class Side
{
public:
    // Any value but 1 is the away side, as in the event tables.
    constexpr explicit Side(int number) : home_(number == 1) {}
    static constexpr Side Home() { return Side(1); }
    static constexpr Side Away() { return Side(2); }
    // A side as the roster writes it (DOMGOST 1 home, anything else away).
    static constexpr Side FromRosterCode(int code) { return Side(code == 1 ? 1 : 2); }

    constexpr int number() const { return home_ ? 1 : 2; }
    constexpr int rosterCode() const { return home_ ? 1 : 0; }
    constexpr Side other() const { return Side(home_ ? 2 : 1); }
    constexpr bool isHome() const { return home_; }

    QLatin1StringView statTable() const { return home_ ? QLatin1StringView("STATDOMACI") : QLatin1StringView("STATGOSTI"); }
    QLatin1StringView courtTable() const
    {
        return home_ ? QLatin1StringView("PETORKADOM") : QLatin1StringView("PETORKAGOSTI");
    }
    QLatin1StringView colourColumn() const { return home_ ? QLatin1StringView("BOJAD") : QLatin1StringView("BOJAG"); }
    QLatin1StringView coachColumn() const
    {
        return home_ ? QLatin1StringView("ID_TRENER1") : QLatin1StringView("ID_TRENER2");
    }

private:
    bool home_;
};
