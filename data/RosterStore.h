#pragma once
// The roster of one side of a match as the roster dialog edits it: the
// club's players and coaches to choose from, the stored roster rows with
// their statistic lines, and the side's coach. Writes run in the caller's
// transaction; the caller commits or rolls back the whole roster.

#include "data/Side.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace fb {
class Connection;
}

class RosterStore
{
public:
    struct Team
    {
        QVariant clubId; // null when the match names no club
        std::optional<int> coachId;
        QString clubName;
    };
    struct ClubPlayer
    {
        int playerId = 0;
        QString surname, firstName;
        std::optional<int> number; // in this match
    };
    struct ClubCoach
    {
        int id = 0;
        QString name; // surname, a space, first name
        int role = 0;
        QString firstNameFirst;
    };
    struct Entry
    {
        int rosterId = 0;
        int playerId = 0;
        int number = 0;
    };

    RosterStore(fb::Connection &db, int match, Side side) : db_(db), match_(match), side_(side) {}

    // Throws fb::Error when the match does not exist.
    Team ReadTeam();
    // The club's players and coaches, in no particular order: names are put in
    // their alphabet's order by the caller.
    QList<ClubPlayer> ClubPlayers(const QVariant &clubId);
    QList<ClubCoach> ClubCoaches(const QVariant &clubId);
    QList<Entry> Entries();

    // Either side has players on court: the match has begun.
    bool LineUpsStored();
    // The number was on court now or at any earlier minute.
    bool WasOnCourt(int number);
    // Some event names the number, as actor or as the opponent of a foul or block.
    bool NamedByEvents(int number);

    // A new roster row with its statistic line.
    void Add(int playerId, int number);
    // The number passes to another player and keeps its statistic line.
    void Reassign(int rosterId, int playerId);
    void Remove(int rosterId, int number);
    void SetCoach(std::optional<int> coachId);

private:
    fb::Connection &db_;
    int match_;
    Side side_;
};
