#include "data/PlusMinus.h"

#include "common/MatchState.h"
#include "data/FbClient.h"

#include <QString>

#include <array>

namespace {

// Shirt numbers or roster positions, home (index 0) and away.
using BySide = std::array<QList<int>, 2>;

// Positions as the history stores them, each followed by "x": 0x3x4x7x9x.
QString positionList(const QList<int> &positions)
{
    QString text;
    for (int position : positions)
        text += QString::number(position) + u'x';
    return text;
}

} // namespace

PlusMinus::PlusMinus(fb::Connection &db) : db_(db) {}

void PlusMinus::AddPlusMinus(int match, int eventNumber, int points, int side)
{
    if (side != 1 && side != 2)
        return;
    // Each player once, with his roster position.
    BySide shirts, positions;
    for (int s : {1, 2})
        for (int shirtNumber : CurrentMatch().onCourt(s))
            if (shirtNumber > 0 && !shirts[s - 1].contains(shirtNumber)) {
                shirts[s - 1] << shirtNumber;
                positions[s - 1] << RosterPosition(s, shirtNumber);
            }
    // One statement, which changes every balance (a player without a row
    // gets his) and writes the history row, or changes nothing: on a server
    // every statement is a round trip.
    QStringList inputs{QStringLiteral("M INTEGER = ?"), QStringLiteral("N INTEGER = ?"),
                       QStringLiteral("SCORER INTEGER = ?"), QStringLiteral("POINTS INTEGER = ?"),
                       QStringLiteral("IDHOME VARCHAR(20) = ?"), QStringLiteral("IDAWAY VARCHAR(20) = ?")};
    QVariantList params{match, eventNumber, side, points, positionList(positions[0]), positionList(positions[1])};
    QStringList players;
    for (int s : {1, 2})
        for (qsizetype i = 0; i < shirts[s - 1].size(); ++i) {
            const QString name = QStringLiteral("%1_%2").arg(s).arg(i);
            inputs << QStringLiteral("S%1 INTEGER = ?, P%1 INTEGER = ?").arg(name);
            params << shirts[s - 1][i] << positions[s - 1][i];
            players << QStringLiteral("SELECT %1 AS HG, :S%2 AS NODR, :P%2 AS IDPLAYER FROM RDB$DATABASE").arg(s).arg(name);
        }
    const QString balances =
        players.isEmpty()
            ? QString()
            : QStringLiteral("MERGE INTO INDEKSI I USING (%1) P "
                             "ON (I.IDGAME = :M) AND (I.HG = P.HG) AND (I.NODR = P.NODR) "
                             "WHEN MATCHED THEN UPDATE SET VAL = COALESCE(I.VAL, 0) + IIF(P.HG = :SCORER, :POINTS, -:POINTS) "
                             "WHEN NOT MATCHED THEN INSERT (IDGAME, HG, NODR, VAL, IDPLAYER) "
                             "VALUES (:M, P.HG, P.NODR, IIF(P.HG = :SCORER, :POINTS, -:POINTS), P.IDPLAYER); ")
                  .arg(players.join(QStringLiteral(" UNION ALL ")));
    db_.execute(QStringLiteral("EXECUTE BLOCK (%1) AS BEGIN %2"
                               "INSERT INTO ISTORIJA_INDEKSI_PM (IDUTAKMICE, RBAKCIJE, HG, VRBODA, IDHOME, IDAWAY) "
                               "VALUES (:M, :N, :SCORER, :POINTS, :IDHOME, :IDAWAY); END")
                    .arg(inputs.join(QStringLiteral(", ")), balances),
                params);
}

void PlusMinus::RevertPlusMinus(int match, int eventNumber)
{
    // One statement, as above. Should a number have been given to two shots
    // (one deleted elsewhere and its number given again after the console
    // was shown anew), the newest history row belongs to the shot in the
    // record store now. A player is named in a position list as "x<position>x"
    // once the list is put behind an "x".
    db_.execute(QStringLiteral(
                    "EXECUTE BLOCK (M INTEGER = ?, N INTEGER = ?) AS "
                    "DECLARE KEY INTEGER; DECLARE HOMECHANGE INTEGER; "
                    "DECLARE IDHOME VARCHAR(100); DECLARE IDAWAY VARCHAR(100); "
                    "BEGIN "
                    "SELECT FIRST 1 IDZAPISA, IIF(HG = 1, -VRBODA, VRBODA), "
                    "'x' || REPLACE(IDHOME, ' ', ''), 'x' || REPLACE(IDAWAY, ' ', '') "
                    "FROM ISTORIJA_INDEKSI_PM WHERE (IDUTAKMICE = :M) AND (RBAKCIJE = :N) ORDER BY IDZAPISA DESC "
                    "INTO :KEY, :HOMECHANGE, :IDHOME, :IDAWAY; "
                    "IF (KEY IS NULL) THEN EXIT; "
                    "UPDATE INDEKSI SET VAL = COALESCE(VAL, 0) + IIF(HG = 1, :HOMECHANGE, -:HOMECHANGE) "
                    "WHERE (IDGAME = :M) AND (HG IN (1, 2)) "
                    "AND (POSITION('x' || IDPLAYER || 'x' IN IIF(HG = 1, :IDHOME, :IDAWAY)) > 0); "
                    "DELETE FROM ISTORIJA_INDEKSI_PM WHERE (IDZAPISA = :KEY); "
                    "END"),
                {match, eventNumber});
}

void PlusMinus::ChangePlusMinus(int match, int side, int position, int change, int shirtNumber)
{
    const QVariantList player{match, side, shirtNumber};
    const int changed = db_.execute(QStringLiteral("UPDATE INDEKSI SET VAL = COALESCE(VAL, 0) + ? "
                                                   "WHERE (IDGAME = ?) AND (HG = ?) AND (NODR = ?)"),
                                    QVariantList{change} + player);
    if (changed == 0)
        db_.execute(QStringLiteral("INSERT INTO INDEKSI (IDGAME, HG, NODR, VAL, IDPLAYER) VALUES (?, ?, ?, ?, ?)"),
                    {match, side, shirtNumber, change, position});
}

int PlusMinus::PlusMinusValue(int match, int side, int position, int shirtNumber)
{
    return db_
        .scalar(QStringLiteral("SELECT VAL FROM INDEKSI "
                               "WHERE (IDGAME = ?) AND (HG = ?) AND (NODR = ?) AND (IDPLAYER = ?)"),
                {match, side, shirtNumber, position})
        .toInt();
}

std::map<std::pair<int, int>, int> PlusMinus::Balances(int match)
{
    std::map<std::pair<int, int>, int> balances;
    fb::Query rows(db_, QStringLiteral("SELECT HG, NODR, VAL FROM INDEKSI WHERE (IDGAME = ?) ORDER BY IDINDEKS"));
    rows.exec({match});
    while (rows.next())
        balances.emplace(std::pair{rows.value(0).toInt(), rows.value(1).toInt()}, rows.value(2).toInt());
    return balances;
}

void PlusMinus::RecordPlusMinusHistory(int match, int eventNumber, int points, int side,
                                       const QList<int> &homePositions, const QList<int> &awayPositions)
{
    db_.execute(QStringLiteral("INSERT INTO ISTORIJA_INDEKSI_PM (IDUTAKMICE, RBAKCIJE, HG, VRBODA, IDHOME, IDAWAY) "
                               "VALUES (?, ?, ?, ?, ?, ?)"),
                {match, eventNumber, side, points,
                 positionList(homePositions), positionList(awayPositions)});
}
