#include "setup/RosterEditor.h"

#include "common/Messenger.h"
#include "common/NameOrder.h"
#include "data/FbClient.h"

#include <algorithm>

RosterEditor::RosterEditor(fb::Connection &db, int matchId, int side)
    : db_(db), store_(db, matchId, Side::FromRosterCode(side))
{
    const RosterStore::Team team = store_.ReadTeam();
    coachId = team.coachId;
    caption_ = side == 1 ? QStringLiteral("HOME TEAM ") + team.clubName : QStringLiteral("AWAY TEAM: ") + team.clubName;
    for (const RosterStore::ClubPlayer &p : store_.ClubPlayers(team.clubId))
        rows << Row{p.playerId, p.surname, p.firstName, p.number};
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        const int bySurname = CompareNames(a.surname, b.surname);
        return bySurname != 0 ? bySurname < 0 : NameBefore(a.firstName, b.firstName);
    });
    // By role, and by first name and surname within a role.
    QList<RosterStore::ClubCoach> listed = store_.ClubCoaches(team.clubId);
    std::stable_sort(listed.begin(), listed.end(), [](const RosterStore::ClubCoach &a, const RosterStore::ClubCoach &b) {
        return a.role != b.role ? a.role < b.role : NameBefore(a.firstNameFirst, b.firstNameFirst);
    });
    for (const RosterStore::ClubCoach &c : listed)
        coaches << Coach{c.id, c.name};
}

void RosterEditor::ClearAllNumbers()
{
    for (Row &r : rows)
        r.number.reset();
}

int RosterEditor::rowOfPlayer(int playerId) const
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].playerId == playerId)
            return i;
    return -1;
}

bool RosterEditor::numberIsRemovable(int number)
{
    // Before the start any number goes; after it, a number with play time stays.
    return !store_.LineUpsStored() || !store_.NamedByEvents(number);
}

bool RosterEditor::Apply(int *focusRow)
{
    auto refuse = [&](int row, const QString &message) {
        if (focusRow)
            *focusRow = row;
        ShowError(message);
        return false;
    };

    // Typed numbers must differ.
    for (int i = 0; i < rows.size(); ++i)
        for (int j = 0; j < i; ++j)
            if (rows[i].number && rows[i].number == rows[j].number)
                return refuse(j, QStringLiteral("Incorrect data! Players must have different numbers!"));

    const QList<RosterStore::Entry> stored = store_.Entries();

    auto typedRowOfNumber = [&](int number) {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].number == number)
                return i;
        return -1;
    };

    struct Change
    {
        enum { Insert, Update, Delete } kind;
        int rosterId;
        int number;
        int playerId;
    };
    QList<Change> changes;
    for (const RosterStore::Entry &s : stored) {
        const int typed = typedRowOfNumber(s.number);
        const int own = rowOfPlayer(s.playerId);
        const int nowNumber = own >= 0 ? rows[own].number.value_or(0) : 0;
        if (typed < 0 && store_.WasOnCourt(s.number)) {
            return refuse(own, nowNumber >= 1
                                   ? QStringLiteral("Player number %1 can not be changed by number %2 becose this "
                                                    "player is starter!")
                                         .arg(s.number)
                                         .arg(nowNumber)
                                   : QStringLiteral("Player number %1 can not be changed becose this player is "
                                                    "starter!")
                                         .arg(s.number));
        }
        if (typed >= 0) {
            if (rows[typed].playerId != s.playerId)
                changes << Change{Change::Update, s.rosterId, s.number, rows[typed].playerId};
        } else if (numberIsRemovable(s.number)) {
            changes << Change{Change::Delete, s.rosterId, s.number, s.playerId};
        } else {
            return refuse(own, QStringLiteral("Action is not correct! Deleting of numbers with play time is not "
                                              "allowed!"));
        }
    }
    for (const Row &r : rows) {
        const bool known = std::any_of(stored.begin(), stored.end(),
                                       [&](const RosterStore::Entry &s) { return r.number == s.number; });
        if (r.number && !known)
            changes << Change{Change::Insert, 0, *r.number, r.playerId};
    }

    try {
        // Another desk writing the match row at this moment is waited for.
        db_.runRetryingConflicts([&] {
            for (const Change &c : changes) {
                switch (c.kind) {
                case Change::Insert: store_.Add(c.playerId, c.number); break;
                case Change::Update: store_.Reassign(c.rosterId, c.playerId); break;
                case Change::Delete: store_.Remove(c.rosterId, c.number); break;
                }
            }
            store_.SetCoach(coachId);
        });
        db_.commitRetaining();
    } catch (const fb::Error &e) {
        // All or nothing: a roster half written would not match its statistic lines.
        db_.rollbackRetaining();
        return refuse(-1, QStringLiteral("ERROR. Previous action can not be done!\n%1")
                              .arg(e.isConflict() ? QStringLiteral("Another desk is changing this match; please try again.")
                                                  : e.text()));
    }
    return true;
}
