#pragma once
// Plus-minus: every made shot credits its points to the players on court of
// the scoring side and debits them from those of the other side. INDEKSI
// holds each player's running balance in a match; ISTORIJA_INDEKSI_PM holds
// one row per made shot with the positions in the roster tables
// (RosterPosition) of the players on court, so that deleting the shot can
// take its points back.
//
// Failures raise fb::Error to the caller; a shot's change and its taking
// back are each one statement, which fails as a whole. Nothing here commits
// (see EventStore.h).

#include <QList>

#include <map>
#include <utility>

namespace fb {
class Connection;
}

class PlusMinus
{
public:
    explicit PlusMinus(fb::Connection &db);

    // After the event record of a made shot (event eventNumber, `points` 1
    // to 3, scoring side 1 or 2): the players of CurrentMatch()'s on-court
    // sets gain or lose the points and one history row is written. Empty
    // places of a five (shirt number 0) are no player and are left out.
    void AddPlusMinus(int match, int eventNumber, int points, int side);
    // Takes the points of event eventNumber back from the players its
    // history row lists and deletes that row.
    void RevertPlusMinus(int match, int eventNumber);

    // Adds `change` to the balance of player shirtNumber, creating his row
    // (with his roster position) when he has none yet.
    void ChangePlusMinus(int match, int side, int position, int change, int shirtNumber);
    // The balance of a player at a roster position; 0 when he has no row.
    int PlusMinusValue(int match, int side, int position, int shirtNumber);
    // Every balance of the match by side (1, 2) and shirt number, the key by
    // which the balances are kept; players without a row are absent.
    std::map<std::pair<int, int>, int> Balances(int match);
    // One history row: the positions on court of each side, as "0x3x4x7x9x".
    void RecordPlusMinusHistory(int match, int eventNumber, int points, int side, const QList<int> &homePositions,
                                const QList<int> &awayPositions);

private:
    fb::Connection &db_;
};
