#include "data/RosterStore.h"

#include "data/FbClient.h"

RosterStore::Team RosterStore::ReadTeam()
{
    fb::Query match(db_, QStringLiteral("select M.ID_KLUB1, M.ID_KLUB2, M.ID_TRENER1, M.ID_TRENER2, K1.NAZIV, K2.NAZIV "
                                        "from UTAKMICA M left join KLUB K1 on K1.ID_KLUB = M.ID_KLUB1 "
                                        "left join KLUB K2 on K2.ID_KLUB = M.ID_KLUB2 where M.ID_UTAKMICA = ?"));
    match.exec({match_});
    if (!match.next())
        throw fb::Error(QStringLiteral("Error!!! Can not find match!"));
    const int column = side_.isHome() ? 0 : 1;
    Team team{match.value(column), std::nullopt, match.value(4 + column).toString()};
    if (const QVariant coach = match.value(2 + column); coach.isValid())
        team.coachId = coach.toInt();
    return team;
}

QList<RosterStore::ClubPlayer> RosterStore::ClubPlayers(const QVariant &clubId)
{
    fb::Query players(db_, QStringLiteral("select I.ID_IGRAC, I.PREZIME, I.IME, "
                                          "(select first 1 S.DRES from SASTAV S where S.ID_UTAKMICA = ? "
                                          "and S.ID_IGRAC = I.ID_IGRAC) "
                                          "from IGRAC I where I.ID_KLUB = ?"));
    players.exec({match_, clubId});
    QList<ClubPlayer> list;
    while (players.next()) {
        ClubPlayer player{players.value(0).toInt(), players.value(1).toString(), players.value(2).toString(),
                          std::nullopt};
        if (players.value(3).isValid())
            player.number = players.value(3).toInt();
        list << player;
    }
    return list;
}

QList<RosterStore::ClubCoach> RosterStore::ClubCoaches(const QVariant &clubId)
{
    fb::Query coaches(db_, QStringLiteral("select ID_TRENER, trim(PREZIME || ' ' || coalesce(IME, '')), "
                                          "coalesce(ID_POL, 0), trim(coalesce(IME, '') || ' ' || PREZIME) "
                                          "from TRENER where ID_KLUB = ?"));
    coaches.exec({clubId});
    QList<ClubCoach> list;
    while (coaches.next())
        list << ClubCoach{coaches.value(0).toInt(), coaches.value(1).toString(), coaches.value(2).toInt(),
                          coaches.value(3).toString()};
    return list;
}

QList<RosterStore::Entry> RosterStore::Entries()
{
    fb::Query roster(db_, QStringLiteral("select ID_SASTAV, ID_IGRAC, DRES from SASTAV "
                                         "where ID_UTAKMICA = ? and DOMGOST = ?"));
    roster.exec({match_, side_.rosterCode()});
    QList<Entry> list;
    while (roster.next())
        list << Entry{roster.value(0).toInt(), roster.value(1).toInt(), roster.value(2).toInt()};
    return list;
}

bool RosterStore::LineUpsStored()
{
    for (Side side : {Side::Home(), Side::Away()})
        if (db_.scalar(QStringLiteral("select count(*) from %1").arg(side.courtTable())).toInt() > 0)
            return true;
    return false;
}

bool RosterStore::WasOnCourt(int number)
{
    return db_.scalar(QStringLiteral("select count(*) from %1 where DRES = ?").arg(side_.courtTable()), {number})
               .toInt() > 0;
}

bool RosterStore::NamedByEvents(int number)
{
    return db_.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ? and "
                                     "((A0 = ? and A1 = ?) or (A0 = ? and A3 = ?))"),
                      {match_, side_.number(), number, side_.other().number(), number})
               .toInt() > 0;
}

void RosterStore::Add(int playerId, int number)
{
    db_.execute(QStringLiteral("insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) "
                               "values (?, ?, ?, ?, 0)"),
                {playerId, match_, number, side_.rosterCode()});
    db_.execute(QStringLiteral("insert into %1 (DRES) values (?)").arg(side_.statTable()), {number});
}

void RosterStore::Reassign(int rosterId, int playerId)
{
    db_.execute(QStringLiteral("update SASTAV set ID_IGRAC = ? where ID_SASTAV = ?"), {playerId, rosterId});
}

void RosterStore::Remove(int rosterId, int number)
{
    db_.execute(QStringLiteral("delete from SASTAV where ID_SASTAV = ?"), {rosterId});
    db_.execute(QStringLiteral("delete from %1 where DRES = ?").arg(side_.statTable()), {number});
}

void RosterStore::SetCoach(std::optional<int> coachId)
{
    db_.execute(QStringLiteral("update UTAKMICA set %1 = ? where ID_UTAKMICA = ?").arg(side_.coachColumn()),
                {coachId ? QVariant(*coachId) : QVariant(), match_});
}
