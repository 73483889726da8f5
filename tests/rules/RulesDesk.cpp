#include "rules/RulesDesk.h"

#include "data/FbClient.h"
#include "data/WorkingTables.h"

#include <QStringList>

namespace rules {

const std::set<int> &homeNumbers()
{
    static const std::set<int> numbers = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 100};
    return numbers;
}

const std::set<int> &awayNumbers()
{
    static const std::set<int> numbers = {9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    return numbers;
}

Desk::Desk(fb::Connection &db) : db_(db) {}

Desk::~Desk() = default;

void Desk::seedReference()
{
    if (league_)
        return;
    league_ = db_.scalar(QStringLiteral("select coalesce(max(ID_LIGA), 0) + 1 from LIGA")).toInt();
    db_.execute(QStringLiteral("insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (?, ?, 1)"),
                {league_, QStringLiteral("Rules League %1").arg(league_)});
    auto club = [&](const QString &name) {
        db_.execute(QStringLiteral("insert into KLUB (NAZIV, ID_LIGA) values (?, ?)"), {name, league_});
        return db_.scalar(QStringLiteral("select max(ID_KLUB) from KLUB")).toInt();
    };
    homeClub_ = club(QStringLiteral("Home Club"));
    awayClub_ = club(QStringLiteral("Away Club"));
    auto players = [&](int clubId, const QString &surname, std::vector<int> &ids) {
        for (int i = 0; i < 12; ++i) {
            db_.execute(QStringLiteral("insert into IGRAC (PREZIME, IME, ID_KLUB) values (?, ?, ?)"),
                        {surname, QStringLiteral("Player %1").arg(i + 1), clubId});
            ids.push_back(db_.scalar(QStringLiteral("select max(ID_IGRAC) from IGRAC")).toInt());
        }
    };
    players(homeClub_, QStringLiteral("Domaci"), homePlayers_);
    players(awayClub_, QStringLiteral("Gost"), awayPlayers_);
}

int Desk::createMatch()
{
    seedReference();
    db_.execute(QStringLiteral("insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, REZULTAT) "
                               "values ('Rules match', ?, ?, ?, 'NOT FINISHED')"),
                {league_, homeClub_, awayClub_});
    const int match = db_.scalar(QStringLiteral("select max(ID_UTAKMICA) from UTAKMICA")).toInt();
    auto roster = [&](const std::set<int> &numbers, const std::vector<int> &players, int domgost) {
        size_t i = 0;
        for (int dres : numbers)
            db_.execute(QStringLiteral("insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) "
                                       "values (?, ?, ?, ?, 0)"),
                        {players[i++], match, dres, domgost});
    };
    roster(homeNumbers(), homePlayers_, 1);
    roster(awayNumbers(), awayPlayers_, 0);
    db_.commit();
    return match;
}

void Desk::openMatch(int match)
{
    match_ = match;
    WorkingTables tables(db_);
    tables.Empty();
    tables.ResetClock();
    db_.execute(QStringLiteral("insert into STATDOMACI (DRES) "
                               "select DRES from SASTAV where ID_UTAKMICA = ? and DOMGOST = 1"),
                {match});
    db_.execute(QStringLiteral("insert into STATGOSTI (DRES) "
                               "select DRES from SASTAV where ID_UTAKMICA = ? and DOMGOST = 0"),
                {match});
    db_.commit();
    reOpen();
    db_.commit();
}

int Desk::newMatch()
{
    const int match = createMatch();
    openMatch(match);
    return match;
}

int Desk::check(int a0, int a1, int code, int a3)
{
    if (!checkAction_)
        checkAction_ = std::make_unique<fb::Query>(db_, QStringLiteral("execute procedure CHECKACTION(?, ?, ?, ?, ?)"));
    checkAction_->exec({match_, a0, a1, code, a3});
    checkAction_->next();
    return checkAction_->value(0).toInt();
}

int Desk::undo()
{
    return db_.scalar(QStringLiteral("execute procedure UNDO(?)"), {match_}).toInt();
}

void Desk::deleteAction(int eventId)
{
    db_.execute(QStringLiteral("execute procedure DELETEACTION(?, ?)"), {eventId, match_});
}

void Desk::reOpen()
{
    db_.execute(QStringLiteral("execute procedure RE_OPEN(?)"), {match_});
}

int Desk::isTeam(int a0, int a1)
{
    return db_.scalar(QStringLiteral("execute procedure ISTEAM(?, ?)"), {a0, a1}).toInt();
}

std::pair<int, int> Desk::tgTrener(int period)
{
    fb::Query q(db_, QStringLiteral("execute procedure TGTRENER(?, ?)"));
    q.exec({match_, period});
    q.next();
    return {q.value(0).toInt(), q.value(1).toInt()};
}

void Desk::startMatch(bool clock)
{
    check(3, 0, 1, 0);
    for (int side = 1; side <= 2; ++side) {
        auto it = (side == 1 ? homeNumbers() : awayNumbers()).begin();
        for (int i = 0; i < 5; ++i, ++it)
            check(side, *it, 2, 0);
    }
    if (clock)
        check(3, 0, 3, 0);
}

int Desk::minuteChanges(int count)
{
    int result = 0;
    for (int i = 0; i < count; ++i)
        result = check(3, 0, 3, 0);
    return result;
}

Desk::Clock Desk::clock()
{
    fb::Query q(db_, QStringLiteral("select VREME, PERIOD, KRAJ, A4 from TEMP"));
    q.exec();
    if (!q.next())
        return {-1, -1, -1, -1};
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()};
}

std::vector<int> Desk::court(int side, int vreme)
{
    fb::Query q(db_, QStringLiteral("select DRES from %1 where VREME = ? order by ID_PETORKA")
                         .arg(side == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI")));
    q.exec({vreme});
    std::vector<int> out;
    while (q.next())
        out.push_back(q.value(0).toInt());
    return out;
}

int Desk::counter(int side, int dres, const char *column, std::optional<int> vreme)
{
    const QString table = vreme ? (side == 1 ? QStringLiteral("MINUTID") : QStringLiteral("MINUTIG"))
                                : (side == 1 ? QStringLiteral("STATDOMACI") : QStringLiteral("STATGOSTI"));
    QString sql = QStringLiteral("select %1 from %2 where DRES = ?").arg(QString::fromLatin1(column), table);
    QVariantList params{dres};
    if (vreme) {
        sql += QStringLiteral(" and VREME = ?");
        params << *vreme;
    }
    const QVariant v = db_.scalar(sql, params);
    return v.isValid() ? v.toInt() : -1;
}

bool Desk::hasLine(int side, int dres, int vreme)
{
    return db_.scalar(QStringLiteral("select count(*) from %1 where DRES = ? and VREME = ?")
                          .arg(side == 1 ? QStringLiteral("MINUTID") : QStringLiteral("MINUTIG")),
                      {dres, vreme})
               .toInt() > 0;
}

std::vector<Event> Desk::eventsInForce()
{
    fb::Query q(db_, QStringLiteral("select A0, A1, SIFRA, A3, ID_AKCIJE, A4 from AKCIJE "
                                    "where ID_UTAKMICA = ? and UNDO = 0 order by ID_AKCIJE"));
    q.exec({match_});
    std::vector<Event> out;
    while (q.next())
        out.push_back({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(),
                       q.value(4).toInt(), q.value(5).toInt()});
    return out;
}

int Desk::eventCount()
{
    return db_.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ?"), {match_}).toInt();
}

int Desk::lastEventId()
{
    return db_.scalar(QStringLiteral("select max(ID_AKCIJE) from AKCIJE where ID_UTAKMICA = ?"), {match_}).toInt();
}

QString Desk::dump()
{
    QStringList out;
    QStringList counters;
    for (const char *n : ColumnNames)
        counters << QString::fromLatin1(n);
    const QString row = counters.join(QStringLiteral(" || ' ' || "));
    auto rows = [&](const QString &prefix, const QString &sql) {
        fb::Query q(db_, sql);
        q.exec();
        while (q.next())
            out << prefix + q.value(0).toString();
    };
    rows(QStringLiteral("TEMP "), QStringLiteral("select VREME || ' ' || PERIOD || ' ' || KRAJ || ' ' || PERIOD_NO "
                                                 "|| ' ' || PERIOD_TIME || ' ' || EXTRA_TIME || ' ' || A4 from TEMP"));
    rows(QStringLiteral("STAT 1 "), QStringLiteral("select DRES || ' ' || %1 from STATDOMACI order by DRES").arg(row));
    rows(QStringLiteral("STAT 2 "), QStringLiteral("select DRES || ' ' || %1 from STATGOSTI order by DRES").arg(row));
    rows(QStringLiteral("LINE 1 "),
         QStringLiteral("select VREME || ' ' || DRES || ' ' || %1 from MINUTID order by VREME, DRES").arg(row));
    rows(QStringLiteral("LINE 2 "),
         QStringLiteral("select VREME || ' ' || DRES || ' ' || %1 from MINUTIG order by VREME, DRES").arg(row));
    for (int side = 1; side <= 2; ++side) {
        fb::Query q(db_, QStringLiteral("select VREME, DRES from %1 order by VREME, ID_PETORKA")
                             .arg(side == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI")));
        q.exec();
        int vreme = INT_MIN;
        QString line;
        while (q.next()) {
            const int v = q.value(0).toInt();
            if (v != vreme) {
                if (!line.isEmpty())
                    out << line;
                vreme = v;
                line = QStringLiteral("COURT %1 %2").arg(side).arg(v);
            }
            line += QLatin1Char(' ') + q.value(1).toString();
        }
        if (!line.isEmpty())
            out << line;
    }
    return out.join(QLatin1Char('\n'));
}

QString firstDifference(const QString &expected, const QString &actual)
{
    const QStringList e = expected.split(QLatin1Char('\n'));
    const QStringList a = actual.split(QLatin1Char('\n'));
    for (int i = 0; i < std::max(e.size(), a.size()); ++i) {
        const QString le = i < e.size() ? e[i] : QStringLiteral("<none>");
        const QString la = i < a.size() ? a[i] : QStringLiteral("<none>");
        if (le != la)
            return QStringLiteral("line %1\n expected: %2\n actual:   %3").arg(i + 1).arg(le, la);
    }
    return QString();
}

} // namespace rules
