#pragma once
// The facts of a match that every report's frame prints, read from the
// stored match row and the people it names, and the frame built from them.

#include "reports/ReportContent.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <stdexcept>

namespace fb {
class Connection;
}

// Why a report could not be made, in one line naming what was wrong.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

struct MatchFacts
{
    int match = 0;
    QString city, venue, league, extra;
    QDateTime start;
    int spectators = 0;
    int round = 0;
    QString commissioner;
    std::array<QString, 3> referees;
    std::array<QString, 3> teams;   // [1] home, [2] away
    std::array<QString, 3> coaches; // [1] home, [2] away: "Surname First name"
    int possessionSide = 2;         // the side holding the jump-ball possession

    // Raises ReportError when the match does not exist.
    static MatchFacts Read(fb::Connection &db, int match);
};

// The league picture's file name in the data directory.
inline constexpr char LeaguePictureName[] = "LIGA.jpg";

// The frame of a report of the match: facts block, league line, the league
// picture when `pictureDirectory` holds one, title, footer and colour mode.
report::Frame MatchFrame(const MatchFacts &facts, const QString &title, bool colour, const QString &pictureDirectory);
