#pragma once
// Match scripts: a plain-text description of one match as a statistician
// keys it in (who plays, then every keyed entry in order). Read here into
// structured entries; a line that cannot be read is reported with its number
// and the reason.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <variant>

struct ScriptPerson
{
    QString surname;
    QString firstName;
    QString city;
    int line = 0; // where the script names the person
};

struct ScriptPlayer
{
    int number = 0;
    ScriptPerson person;
};

struct ScriptHeader
{
    QString league;
    QString home;
    QString away;
    std::array<QList<ScriptPlayer>, 2> players;      // index 0 home, 1 away
    std::array<std::optional<ScriptPerson>, 2> coaches;
    QList<ScriptPerson> referees;                     // at most three
    std::optional<ScriptPerson> delegate;
    QList<ScriptPerson> statisticians;                // at most two
    QMap<QString, QString> facts;                     // caption, round, date, time, city, hall, ...
    std::optional<std::array<int, 2>> colors;
    std::array<QList<int>, 2> starters;
    // Where the script names each part, for refusals found while the match is set up.
    int leagueLine = 0, homeLine = 0, awayLine = 0, matchLine = 0;
    std::array<int, 2> startersLines{};
};

struct ScriptEntry
{
    enum class Kind {
        Event,        // side, number, code, parameter (and foul type or seconds)
        MinuteChange, // +
        TimeOut,
        TeamEvent,    // code 31, 32 or 33
        JumpBall,
        Possession,
        AttackType,   // value 0 normal, 1 second, 2 fast break
        DefenceType,  // value 0 man to man, 1 zone
        LineUp,       // five numbers and the seconds
        Starters,     // five numbers: a side's starters, recorded once the match has begun
        Undo,
        Delete,       // event number
        ReviewDelete, // event number
        ReviewUpdate, // event number, side, number, code, parameter
        Color,        // side, colour value
        RosterPlayer, // side, number and person: a player added to the roster during the match
        MarkDelete,   // row of the list of events in force (1 the newest)
    };

    int line = 0;
    Kind kind = Kind::Event;
    int side = 0; // 1 home, 2 away
    int number = 0;
    int code = 0;
    int parameter = 0;
    int foulType = 0;   // personal foul: 1..9
    int seconds = -1;   // player change and line-up: 0..59
    int value = 0;      // event number, type or colour, by kind
    QList<int> five{};   // line-up
    ScriptPerson person{}; // roster player
};

struct MatchScript
{
    ScriptHeader header;
    QList<ScriptEntry> entries;
};

struct ScriptError
{
    int line = 0;
    QString reason;
};

std::variant<MatchScript, ScriptError> ParseMatchScript(const QString &text);
// `text` safe to print on a terminal: characters that are not printable
// written as \xNN or \uNNNN, and no more than maxLength characters of it
// before "...". A refusal's reason is cut to ReasonLength.
QString PrintableText(const QString &text, int maxLength);
constexpr int ReasonLength = 80;

// The script line of one entry, as the journal of an open match writes it.
QString ScriptLine(const ScriptEntry &entry);
// The header lines, up to and including "play".
QString ScriptHeaderText(const ScriptHeader &header);

// Splits a line into words: spaces separate, double quotes keep spaces
// inside a word ("" inside them stands for one double quote), "#" outside
// quotes starts a comment. Answers nothing for an unterminated quote.
std::optional<QStringList> ScriptWords(const QString &line);
