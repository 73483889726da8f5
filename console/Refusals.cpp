#include "console/Refusals.h"

Refusal CheckResultMessage(int result, const QString &playerText, const QString &parameterText)
{
    switch (result) {
    case 0:
        return {Refusal::Player, QStringLiteral("There is no player with No %1!!!").arg(playerText)};
    case 1:
        return {};
    case 2:
        return {Refusal::Player, QStringLiteral("Player No %1 is not playing at present!").arg(playerText)};
    case 3:
        // Only a shot's zone is refused with 3; the turnover types' range (4) would mislead.
        return {Refusal::Parameter, ZoneRefusal};
    case 4:
        return {Refusal::Parameter, QStringLiteral("Incorrect data! Available values 1,2,3,4 to 13 !")};
    case 5:
        return {Refusal::Parameter, QStringLiteral("Player is playing allready!")};
    case 6:
    case 7:
        return {Refusal::Parameter, QStringLiteral("There is no player with No %1!!!").arg(parameterText)};
    case 8:
        return {Refusal::Parameter, QStringLiteral("Player No %1 is not playing at present!").arg(parameterText)};
    case 9:
        return {Refusal::Parameter, QStringLiteral("Incorrect data!. Available values: 1,2,3,4 to 13)!")};
    case 33:
        return {Refusal::Init, QStringLiteral("ACTION is not allowed! Match time or over time not finished!")};
    default:
        return {Refusal::None, QStringLiteral("FATAL UNKNOWN ERROR! unit MatchU")};
    }
}
