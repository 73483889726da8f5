#pragma once
// Replays a match script through the console as a statistician would key
// it: the header's reference rows and the match as the browsers and the
// match definition make them, the rosters and starters through the console's
// roster and starters dialogs, then every entry keyed into the console's
// boxes (or its buttons and lists), and at the end the console closed with
// Yes. Questions of the console are answered from the script; its refusals
// are collected with the script's line numbers.

#include "matchscript/MatchScript.h"
#include "console/MatchSession.h"

#include <QList>
#include <QString>

#include <functional>

class MatchReplay
{
public:
    struct Refusal
    {
        int line = 0;
        QString message; // the console's own words
    };
    struct Outcome
    {
        int matchId = -1;       // -1 when the match could not be defined
        QList<Refusal> refusals; // a strict replay stops at the first
        int entriesPlayed = 0;
        MatchScore score;
        QString homeName, awayName;
        QString journal; // the journal file the console wrote
        QStringList notices; // failures between entries: safety copies, the server backup
        bool succeeded() const { return matchId >= 0 && refusals.isEmpty(); }
    };

    // A lenient replay reports a refused entry and goes on with the next one.
    explicit MatchReplay(bool lenient = false) : lenient_(lenient) {}

    // Needs the data module started and the application's widgets.
    Outcome Run(const MatchScript &script);

    // The final score and both box scores of a replayed match, as plain text.
    static QString Summary(const Outcome &outcome);

    // Called after every entry with the time it took, in nanoseconds.
    std::function<void(const ScriptEntry &, qint64)> entryPlayed;

private:
    bool lenient_;
};
