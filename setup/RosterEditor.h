#pragma once
// What the roster dialog decides: which players of a club play in the match
// for one side, under which shirt numbers, and which coach leads the side.
// Nothing reaches the database before Apply, and Apply writes nothing unless
// every check passes.

#include "data/RosterStore.h"

#include <QList>
#include <QString>

#include <optional>

namespace fb {
class Connection;
}

class RosterEditor
{
public:
    struct Row
    {
        int playerId = 0;
        QString surname;
        QString firstName;
        std::optional<int> number; // empty: does not play
    };
    struct Coach
    {
        int id = 0;
        QString name; // surname, a space, first name
    };

    // Side as in the roster: 1 home, 0 away.
    RosterEditor(fb::Connection &db, int matchId, int side);

    QString Caption() const { return caption_; }
    QList<Row> rows;
    QList<Coach> coaches;
    std::optional<int> coachId;

    void ClearAllNumbers();
    // Checks the numbers against each other, the court and the events, then
    // writes the roster, the statistic lines and the coach. Answers false
    // (after the message) when something is refused; `focusRow` then names
    // the row at fault, or -1.
    bool Apply(int *focusRow = nullptr);

private:
    bool numberIsRemovable(int number);
    int rowOfPlayer(int playerId) const;

    fb::Connection &db_;
    RosterStore store_;
    QString caption_;
};
