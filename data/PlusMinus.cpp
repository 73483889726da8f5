#include "data/PlusMinus.h"

#include "common/MatchState.h"
#include "data/EventStore.h"
#include "data/FbClient.h"

#include <QString>

namespace {

// Positions as the history stores them, each followed by "x": 0x3x4x7x9x.
QString positionList(const QList<int> &positions)
{
    QString text;
    for (int position : positions)
        text += QString::number(position) + u'x';
    return text;
}

QList<int> parsePositionList(const QString &text)
{
    QList<int> positions;
    for (const QString &item : text.split(u'x', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int position = item.trimmed().toInt(&ok);
        if (ok)
            positions << position;
    }
    return positions;
}

// "(HG = 1 AND <column> IN (?, ?)) OR (HG = 2 AND ...)" over the sides that
// have values, which join `params`; empty when neither has any.
QString eitherSide(const QString &column, const PlusMinus::BySide &values, QVariantList &params)
{
    QStringList sides;
    for (int s : {1, 2}) {
        const QList<int> &side = values[size_t(s - 1)];
        if (side.isEmpty())
            continue;
        sides << QStringLiteral("(HG = %1 AND %2 IN (%3))")
                     .arg(s)
                     .arg(column, QStringList(side.size(), QStringLiteral("?")).join(u','));
        for (int value : side)
            params << value;
    }
    return sides.join(QStringLiteral(" OR "));
}

} // namespace

PlusMinus::PlusMinus(fb::Connection &db) : db_(db) {}

void PlusMinus::AddPlusMinus(int match, int eventNumber, int points, int side)
{
    if (side != 1 && side != 2)
        return;
    Savepoint unit(db_);
    BySide shirts, positions;
    for (int s : {1, 2})
        for (int shirtNumber : CurrentMatch().onCourt(s))
            if (shirtNumber > 0) {
                shirts[s - 1] << shirtNumber;
                positions[s - 1] << RosterPosition(s, shirtNumber);
            }
    const auto change = [&](int s) { return s == side ? points : -points; };
    // The ten players in one statement: on a server every statement is a
    // round trip. A player without a row yet gets one.
    QVariantList params{side, points, -points, match};
    const QString players = eitherSide(QStringLiteral("NODR"), shirts, params);
    const int changed = players.isEmpty() ? 0
                                          : db_.execute(QStringLiteral("UPDATE INDEKSI SET VAL = COALESCE(VAL, 0) + "
                                                                       "IIF(HG = ?, ?, ?) WHERE (IDGAME = ?) AND (%1)")
                                                            .arg(players),
                                                        params);
    if (changed != shirts[0].size() + shirts[1].size()) {
        // The players without a row get theirs, again in one statement.
        QStringList players;
        QVariantList values{match};
        for (int s : {1, 2})
            for (qsizetype i = 0; i < shirts[s - 1].size(); ++i) {
                players << QStringLiteral("SELECT CAST(? AS INTEGER) AS HG, CAST(? AS INTEGER) AS NODR, "
                                          "CAST(? AS INTEGER) AS VAL, CAST(? AS INTEGER) AS IDPLAYER FROM RDB$DATABASE");
                values << s << shirts[s - 1][i] << change(s) << positions[s - 1][i];
            }
        values << match;
        db_.execute(QStringLiteral("INSERT INTO INDEKSI (IDGAME, HG, NODR, VAL, IDPLAYER) "
                                   "SELECT ?, P.HG, P.NODR, P.VAL, P.IDPLAYER FROM (%1) P WHERE NOT EXISTS "
                                   "(SELECT 1 FROM INDEKSI I WHERE (I.IDGAME = ?) AND (I.HG = P.HG) AND (I.NODR = P.NODR))")
                        .arg(players.join(QStringLiteral(" UNION ALL "))),
                    values);
    }
    RecordPlusMinusHistory(match, eventNumber, points, side, positions[0], positions[1]);
    unit.release();
}

void PlusMinus::RevertPlusMinus(int match, int eventNumber)
{
    Savepoint unit(db_);
    // Should a number have been given to two shots (one deleted elsewhere
    // and its number given again after the console was shown anew), the
    // newest history row belongs to the shot in the record store now.
    fb::Query history(db_, QStringLiteral("SELECT FIRST 1 IDZAPISA, HG, VRBODA, IDHOME, IDAWAY "
                                          "FROM ISTORIJA_INDEKSI_PM WHERE (IDUTAKMICE = ?) AND (RBAKCIJE = ?) "
                                          "ORDER BY IDZAPISA DESC"));
    history.exec({match, eventNumber});
    if (!history.next())
        return;
    const int key = history.value(0).toInt();
    const int points = history.value(2).toInt();
    const int homeChange = history.value(1).toInt() == 1 ? -points : points;
    const BySide positions{parsePositionList(history.value(3).toString()),
                           parsePositionList(history.value(4).toString())};
    history.close();
    AdjustPlusMinusByPositions(match, positions, homeChange);
    db_.execute(QStringLiteral("DELETE FROM ISTORIJA_INDEKSI_PM WHERE (IDZAPISA = ?)"), {key});
    unit.release();
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

void PlusMinus::AdjustPlusMinusByPositions(int match, const BySide &positions, int homeChange)
{
    QVariantList params{homeChange, -homeChange, match};
    const QString players = eitherSide(QStringLiteral("IDPLAYER"), positions, params);
    if (!players.isEmpty())
        db_.execute(QStringLiteral("UPDATE INDEKSI SET VAL = COALESCE(VAL, 0) + IIF(HG = 1, ?, ?) "
                                   "WHERE (IDGAME = ?) AND (%1)")
                        .arg(players),
                    params);
}
