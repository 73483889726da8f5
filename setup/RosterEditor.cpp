#include "setup/RosterEditor.h"

#include "common/Messenger.h"
#include "common/NameOrder.h"
#include "data/FbClient.h"

#include <algorithm>

RosterEditor::RosterEditor(fb::Connection &db, int matchId, int side) : db_(db), matchId_(matchId), side_(side)
{
    fb::Query match(db_, QStringLiteral("select M.ID_KLUB1, M.ID_KLUB2, M.ID_TRENER1, M.ID_TRENER2, K1.NAZIV, K2.NAZIV "
                                        "from UTAKMICA M left join KLUB K1 on K1.ID_KLUB = M.ID_KLUB1 "
                                        "left join KLUB K2 on K2.ID_KLUB = M.ID_KLUB2 where M.ID_UTAKMICA = ?"));
    match.exec({matchId_});
    if (!match.next())
        throw fb::Error(QStringLiteral("Error!!! Can not find match!"));
    const bool home = side_ == 1;
    const QVariant club = match.value(home ? 0 : 1);
    const QVariant coach = match.value(home ? 2 : 3);
    if (coach.isValid())
        coachId = coach.toInt();
    caption_ = home ? QStringLiteral("HOME TEAM ") + match.value(4).toString()
                    : QStringLiteral("AWAY TEAM: ") + match.value(5).toString();

    fb::Query players(db_, QStringLiteral("select I.ID_IGRAC, I.PREZIME, I.IME, "
                                          "(select first 1 S.DRES from SASTAV S where S.ID_UTAKMICA = ? "
                                          "and S.ID_IGRAC = I.ID_IGRAC) "
                                          "from IGRAC I where I.ID_KLUB = ?"));
    players.exec({matchId_, club});
    while (players.next()) {
        Row row{players.value(0).toInt(), players.value(1).toString(), players.value(2).toString(), std::nullopt};
        if (players.value(3).isValid())
            row.number = players.value(3).toInt();
        rows << row;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        const int bySurname = CompareNames(a.surname, b.surname);
        return bySurname != 0 ? bySurname < 0 : NameBefore(a.firstName, b.firstName);
    });

    // By role, and by first name and surname within a role.
    struct Listed
    {
        Coach coach;
        int role;
        QString firstNameFirst;
    };
    QList<Listed> listed;
    fb::Query coachList(db_, QStringLiteral("select ID_TRENER, trim(PREZIME || ' ' || coalesce(IME, '')), "
                                            "coalesce(ID_POL, 0), trim(coalesce(IME, '') || ' ' || PREZIME) "
                                            "from TRENER where ID_KLUB = ?"));
    coachList.exec({club});
    while (coachList.next())
        listed << Listed{{coachList.value(0).toInt(), coachList.value(1).toString()}, coachList.value(2).toInt(),
                         coachList.value(3).toString()};
    std::stable_sort(listed.begin(), listed.end(), [](const Listed &a, const Listed &b) {
        return a.role != b.role ? a.role < b.role : NameBefore(a.firstNameFirst, b.firstNameFirst);
    });
    for (const Listed &l : listed)
        coaches << l.coach;
}

void RosterEditor::ClearAllNumbers()
{
    for (Row &r : rows)
        r.number.reset();
}

QString RosterEditor::lineTable() const
{
    return side_ == 1 ? QStringLiteral("STATDOMACI") : QStringLiteral("STATGOSTI");
}

int RosterEditor::rowOfPlayer(int playerId) const
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].playerId == playerId)
            return i;
    return -1;
}

bool RosterEditor::wasOnCourt(int number)
{
    // The players on court now and at every earlier minute.
    return db_.scalar(QStringLiteral("select count(*) from %1 where DRES = ?")
                          .arg(side_ == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI")),
                      {number})
               .toInt() > 0;
}

bool RosterEditor::numberIsRemovable(int number)
{
    const bool started = db_.scalar(QStringLiteral("select count(*) from PETORKADOM")).toInt() > 0
                         || db_.scalar(QStringLiteral("select count(*) from PETORKAGOSTI")).toInt() > 0;
    if (!started)
        return true;
    // A number that any event names, as actor or as the opponent named in a
    // foul or block, has play time.
    const int own = side_ == 1 ? 1 : 2;
    const int other = side_ == 1 ? 2 : 1;
    return db_.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ? and "
                                     "((A0 = ? and A1 = ?) or (A0 = ? and A3 = ?))"),
                      {matchId_, own, number, other, number})
               .toInt() == 0;
}

bool RosterEditor::Apply(int *focusRow)
{
    auto refuse = [&](int row, const QString &message) {
        if (focusRow)
            *focusRow = row;
        ShowError(message);
        return false;
    };

    // Typed numbers must differ.
    for (int i = 0; i < rows.size(); ++i)
        for (int j = 0; j < i; ++j)
            if (rows[i].number && rows[i].number == rows[j].number)
                return refuse(j, QStringLiteral("Incorrect data! Players must have different numbers!"));

    QList<Stored> stored;
    fb::Query roster(db_, QStringLiteral("select ID_SASTAV, ID_IGRAC, DRES from SASTAV "
                                         "where ID_UTAKMICA = ? and DOMGOST = ?"));
    roster.exec({matchId_, side_});
    while (roster.next())
        stored << Stored{roster.value(0).toInt(), roster.value(1).toInt(), roster.value(2).toInt()};

    auto typedRowOfNumber = [&](int number) {
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].number == number)
                return i;
        return -1;
    };

    struct Change
    {
        enum { Insert, Update, Delete } kind;
        int rosterId;
        int number;
        int playerId;
    };
    QList<Change> changes;
    for (const Stored &s : stored) {
        const int typed = typedRowOfNumber(s.number);
        const int own = rowOfPlayer(s.playerId);
        const int nowNumber = own >= 0 ? rows[own].number.value_or(0) : 0;
        if (typed < 0 && wasOnCourt(s.number)) {
            return refuse(own, nowNumber >= 1
                                   ? QStringLiteral("Player number %1 can not be changed by number %2 becose this "
                                                    "player is starter!")
                                         .arg(s.number)
                                         .arg(nowNumber)
                                   : QStringLiteral("Player number %1 can not be changed becose this player is "
                                                    "starter!")
                                         .arg(s.number));
        }
        if (typed >= 0) {
            if (rows[typed].playerId != s.playerId)
                changes << Change{Change::Update, s.rosterId, s.number, rows[typed].playerId};
        } else if (numberIsRemovable(s.number)) {
            changes << Change{Change::Delete, s.rosterId, s.number, s.playerId};
        } else {
            return refuse(own, QStringLiteral("Action is not correct! Deleting of numbers with play time is not "
                                              "allowed!"));
        }
    }
    for (const Row &r : rows) {
        const bool known = std::any_of(stored.begin(), stored.end(), [&](const Stored &s) { return r.number == s.number; });
        if (r.number && !known)
            changes << Change{Change::Insert, 0, *r.number, r.playerId};
    }

    try {
        for (const Change &c : changes) {
            switch (c.kind) {
            case Change::Insert:
                db_.execute(QStringLiteral("insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) "
                                           "values (?, ?, ?, ?, 0)"),
                            {c.playerId, matchId_, c.number, side_});
                db_.execute(QStringLiteral("insert into %1 (DRES) values (?)").arg(lineTable()), {c.number});
                break;
            case Change::Update:
                // The number keeps its statistic line: it passes to another player.
                db_.execute(QStringLiteral("update SASTAV set ID_IGRAC = ? where ID_SASTAV = ?"),
                            {c.playerId, c.rosterId});
                break;
            case Change::Delete:
                db_.execute(QStringLiteral("delete from SASTAV where ID_SASTAV = ?"), {c.rosterId});
                db_.execute(QStringLiteral("delete from %1 where DRES = ?").arg(lineTable()), {c.number});
                break;
            }
        }
        db_.execute(QStringLiteral("update UTAKMICA set %1 = ? where ID_UTAKMICA = ?")
                        .arg(side_ == 1 ? QStringLiteral("ID_TRENER1") : QStringLiteral("ID_TRENER2")),
                    {coachId ? QVariant(*coachId) : QVariant(), matchId_});
        db_.commitRetaining();
    } catch (const fb::Error &e) {
        // All or nothing: a roster half written would not match its statistic lines.
        db_.rollbackRetaining();
        return refuse(-1, QStringLiteral("ERROR. Previous action can not be done!\n%1").arg(e.text()));
    }
    return true;
}
