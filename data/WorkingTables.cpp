#include "data/WorkingTables.h"

#include "data/FbClient.h"

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

std::array<WorkingTables::SideNumbers, 2> WorkingTables::Numbers()
{
    static const QString sql = [] {
        QStringList parts;
        for (const Side side : {Side::Home(), Side::Away()})
            parts << QStringLiteral("select %1, 0, DRES from %2 where VREME = 0 "
                                    "union all select %1, 1, DRES from %3")
                         .arg(side.number())
                         .arg(side.courtTable(), side.statTable());
        return parts.join(QStringLiteral(" union all ")) + QStringLiteral(" order by 1, 2, 3");
    }();
    fb::Query rows(db_, sql);
    rows.exec();
    std::array<SideNumbers, 2> numbers;
    while (rows.next()) {
        SideNumbers &side = numbers[size_t(rows.value(0).toInt() - 1)];
        (rows.value(1).toInt() == 0 ? side.onCourt : side.withLines) << rows.value(2).toInt();
    }
    return numbers;
}

bool WorkingTables::HasPlayersOnCourt(Side side)
{
    return db_.scalar(QStringLiteral("select count(*) from %1").arg(side.courtTable())).toInt() > 0;
}
