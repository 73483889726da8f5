#pragma once
// What the console says when the rules engine refuses an entry, and which
// entry box gets the focus back.

#include <QString>

struct Refusal
{
    enum Box { None, Init, Player, Parameter } focus = None;
    QString message;
};

// The message of a CHECKACTION result, naming the texts the statistician typed.
Refusal CheckResultMessage(int result, const QString &playerText, const QString &parameterText);
