#pragma once
// What the console says when the rules engine refuses an entry, and which
// entry box gets the focus back.

#include <QString>

struct Refusal
{
    enum Box { None, Init, Player, Parameter } focus = None;
    QString message;
};

inline const QString ZoneRefusal =
    QStringLiteral("Incorrect zone! Available zones : 1 to 6 (for three points 1,2,3,4,6) !");

// The message of a CHECKACTION result, naming the texts the statistician typed.
Refusal CheckResultMessage(int result, const QString &playerText, const QString &parameterText);
