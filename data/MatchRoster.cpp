#include "data/MatchRoster.h"

#include "common/Transliterate.h"
#include "data/FbClient.h"

std::vector<RosterPlayer> ReadMatchRoster(fb::Connection &db, int match)
{
    std::vector<RosterPlayer> roster;
    try {
        // DOMGOST is 1 for home; away rows carry 0 (or 2 in older matches).
        fb::Query rows(db, QStringLiteral("SELECT IIF(S.DOMGOST = 1, 1, 2) AS SIDE, S.ID_IGRAC, S.DRES, S.SEKUNDA, "
                                          "I.PREZIME, I.IME, I.EBR "
                                          "FROM SASTAV S LEFT JOIN IGRAC I ON I.ID_IGRAC = S.ID_IGRAC "
                                          "WHERE S.ID_UTAKMICA = ? AND S.DRES IS NOT NULL ORDER BY S.DOMGOST, S.DRES"));
        rows.exec({match});
        while (rows.next())
            roster.push_back({.side = rows.value(0).toInt(),
                              .playerId = rows.value(1).toInt(),
                              .shirtNumber = rows.value(2).toInt(),
                              .starter = rows.value(3).toInt() == 1,
                              .surname = rows.value(4).toString(),
                              .firstName = rows.value(5).toString(),
                              .registration = rows.value(6).toString()});
    } catch (const fb::Error &) {
        roster.clear();
    }
    return roster;
}

void MarkStartersFromCourt(fb::Connection &db, int match, Side side)
{
    db.execute(QStringLiteral("update SASTAV set SEKUNDA = 0 where ID_UTAKMICA = ? and DOMGOST = ?"),
               {match, side.rosterCode()});
    db.execute(QStringLiteral("update SASTAV set SEKUNDA = 1 where ID_UTAKMICA = ? and DOMGOST = ? and DRES in "
                              "(select DRES from %1 where VREME = 0)")
                   .arg(side.courtTable()),
               {match, side.rosterCode()});
}

QList<int> StarterNumbers(fb::Connection &db, int match, Side side)
{
    fb::Query marked(db, QStringLiteral("select DRES from SASTAV where ID_UTAKMICA = ? and DOMGOST = ? "
                                        "and SEKUNDA = 1 and DRES is not null order by DRES"));
    marked.exec({match, side.rosterCode()});
    QList<int> numbers;
    while (marked.next())
        numbers << marked.value(0).toInt();
    return numbers;
}

void FillRosterTables(MatchState &state, const std::vector<RosterPlayer> &roster)
{
    for (int side : {1, 2})
        state.roster(side).fill(TIgracRec());
    std::array<size_t, 2> filled{};
    for (const RosterPlayer &player : roster) {
        size_t &next = filled[size_t(player.side - 1)];
        if (next >= RosterSize)
            continue;
        TIgracRec &entry = state.roster(player.side)[next++];
        entry.ID_IGRAC = player.playerId;
        entry.shirtNumber = player.shirtNumber;
        entry.shortName = ShortPlayerName(player.surname, player.firstName);
        entry.surname = Transliterate(player.surname);
        entry.firstName = Transliterate(player.firstName);
        entry.registration = player.registration;
    }
}
