#pragma once
#include <QString>

#include <array>

// Indices of the statistic counters of a player; the same order as the
// columns of a box-score row.
enum BoxColumn {
    BC_DRES = 0,  // shirt number
    BC_POENI,     // points
    BC_P1OK,      // free throws made, attempted, percentage
    BC_P1UK,
    BC_P1PROC,
    BC_P2OK,      // two-point shots
    BC_P2UK,
    BC_P2PROC,
    BC_P3OK,      // three-point shots
    BC_P3UK,
    BC_P3PROC,
    BC_PIZIGREOK, // field goals
    BC_PIZIGREUK,
    BC_P23PROC,
    BC_SKOKO,     // defensive, offensive, all rebounds
    BC_SKOKN,
    BC_SKOKOVI,
    BC_ASISTENCIJA,
    BC_UKRADENA,
    BC_IZGUBLJENA,
    BC_BLOK,      // blocks made, own shots blocked
    BC_BLOKNA,
    BC_LG,        // personal, technical fouls
    BC_TG,
    BC_LGNA,      // fouls drawn
    BC_MINUTA,
    BC_INDEKS,    // efficiency index
    BC_STARTER,
    BC_AKTER      // on court now
};
constexpr int BoxColumnCount = BC_AKTER + 1;
static_assert(BC_INDEKS == 26 && BC_AKTER == 28, "box-score column order");

constexpr int RosterSize = 12;
constexpr int CourtSize = 5;

// One player of one side of the open match. The default value is the empty
// entry: no player, shirt number -1.
struct TIgracRec
{
    int ID_IGRAC = 0;
    int shirtNumber = -1;
    QString shortName;    // "Surname F.", not transliterated
    QString surname;      // transliterated
    QString firstName;    // transliterated
    QString registration; // EBR

    void clear();
};

// "Surname F." (just the surname when the first name is empty).
QString ShortPlayerName(const QString &surname, const QString &firstName);

using CourtNumbers = std::array<int, CourtSize>;
using Roster = std::array<TIgracRec, RosterSize>;

// What the console and the data module share about the open match. Sides are
// 1 home and 2 away; the side accessors take any other value as away.
struct MatchState
{
    CourtNumbers onCourtHome{}, onCourtAway{};
    // -1 marks a place not filled yet (0 is a valid shirt number).
    CourtNumbers startersHome{-1, -1, -1, -1, -1}, startersAway{-1, -1, -1, -1, -1};
    int elapsedSecondsMarker = 0; // when the on-court sets were last stored
    CourtNumbers lineupAtMinuteHome{}, lineupAtMinuteAway{};
    Roster rosterHome, rosterAway;

    void reset();

    CourtNumbers &onCourt(int side) { return side == 1 ? onCourtHome : onCourtAway; }
    CourtNumbers &starters(int side) { return side == 1 ? startersHome : startersAway; }
    CourtNumbers &lineupAtMinute(int side) { return side == 1 ? lineupAtMinuteHome : lineupAtMinuteAway; }
    Roster &roster(int side) { return side == 1 ? rosterHome : rosterAway; }
    const CourtNumbers &onCourt(int side) const { return side == 1 ? onCourtHome : onCourtAway; }
    const CourtNumbers &starters(int side) const { return side == 1 ? startersHome : startersAway; }
    const CourtNumbers &lineupAtMinute(int side) const { return side == 1 ? lineupAtMinuteHome : lineupAtMinuteAway; }
    const Roster &roster(int side) const { return side == 1 ? rosterHome : rosterAway; }
};

// The one state of the open match in this process.
MatchState &CurrentMatch();

// 1 when shirtNumber is among the side's starters / players on court, else 0.
// A side other than 1 or 2 and a negative shirt number (no player) answer 0.
int IsStarter(int side, int shirtNumber);
int IsOnCourt(int side, int shirtNumber);

// Position (0..11) of the first roster entry of the side with shirtNumber, or
// -1 when there is none, for a side other than 1 or 2 and for a negative number.
int RosterPosition(int side, int shirtNumber);
