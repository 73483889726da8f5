#pragma once
// What the starters dialog decides: the five players of one side on court.
// The first time they are recorded as the starters (with the match start);
// later the differences are recorded as player changes.

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class MatchSession;

class StartersEditor
{
public:
    struct Row
    {
        int number = 0;
        QString surname;
        QString firstName;
        bool marked = false;
    };
    static constexpr int RequiredStarters = 5;

    // Side as in the roster: 1 home, 0 away.
    StartersEditor(MatchSession &session, int side);

    QString Caption() const { return caption_; }
    QList<Row> rows; // in shirt-number order
    void Toggle(int row);

    struct Hooks
    {
        // The seconds of the player changes once the match runs; nothing to cancel.
        std::function<std::optional<int>()> askSeconds = [] { return std::optional<int>(0); };
        // The refusal of an entry by the rules engine, with the numbers it named.
        std::function<void(int result, int player, int parameter)> refused = [](int, int, int) {};
        // Both sides now have players on court.
        std::function<void()> enableEntry = [] {};
    };
    // Records the marked five. Answers false when the dialog must stay open.
    bool Apply(const Hooks &hooks);

private:
    QList<int> onCourt();

    MatchSession &session_;
    int side_;      // 1 home, 2 away, as the rules engine counts
    QString caption_;
};
