#include "data/WorkingTables.h"

#include "data/FbClient.h"

namespace {

QList<int> numbers(fb::Connection &db, const QString &sql)
{
    fb::Query rows(db, sql);
    rows.exec();
    QList<int> list;
    while (rows.next())
        list << rows.value(0).toInt();
    return list;
}

} // namespace

void WorkingTables::Empty()
{
    for (const char *table : {"STATDOMACI", "STATGOSTI", "MINUTID", "MINUTIG", "PETORKADOM", "PETORKAGOSTI"})
        db_.execute(QStringLiteral("delete from %1").arg(QLatin1String(table)));
}

void WorkingTables::ResetClock()
{
    db_.execute(QStringLiteral("delete from TEMP"));
    db_.execute(QStringLiteral("insert into TEMP (VREME, PERIOD, KRAJ, PERIOD_NO, PERIOD_TIME, EXTRA_TIME, A4) "
                               "values (?, 1, 0, ?, ?, ?, 0)"),
                {QuarterMinutes, RegularPeriods, QuarterMinutes, OvertimeMinutes});
}

MatchClock WorkingTables::Clock()
{
    fb::Query row(db_, QStringLiteral("select VREME, PERIOD, KRAJ from TEMP"));
    row.exec();
    if (!row.next())
        return {};
    return {row.value(0).toInt(), row.value(1).toInt(), row.value(2).toInt()};
}

QList<int> WorkingTables::OnCourt(Side side)
{
    return numbers(db_, QStringLiteral("select DRES from %1 where VREME = 0 order by DRES").arg(side.courtTable()));
}

QList<int> WorkingTables::StatLineNumbers(Side side)
{
    return numbers(db_, QStringLiteral("select DRES from %1 order by DRES").arg(side.statTable()));
}

bool WorkingTables::HasPlayersOnCourt(Side side)
{
    return db_.scalar(QStringLiteral("select count(*) from %1").arg(side.courtTable())).toInt() > 0;
}
