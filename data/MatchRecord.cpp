#include "data/MatchRecord.h"

#include "data/FbClient.h"

void SetMatchResult(fb::Connection &db, int match, const QString &result)
{
    db.execute(QStringLiteral("update UTAKMICA set REZULTAT = ? where ID_UTAKMICA = ?"), {result, match});
}

void SetTeamColour(fb::Connection &db, int match, Side side, int value)
{
    db.execute(QStringLiteral("update UTAKMICA set %1 = ? where ID_UTAKMICA = ?").arg(side.colourColumn()),
               {value, match});
}
