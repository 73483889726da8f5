#include "publish/LargeScoreboard.h"

#include "data/FbClient.h"

#include <algorithm>

QString ScoreboardName(const QString &name)
{
    return name.size() > 12 ? name.left(13) + u'.' : name;
}

PeriodPoints ReadPeriodPoints(fb::Connection &db, int match)
{
    // One grouped read a second while the board is shown, not the match's rows.
    fb::Query rows(db, QStringLiteral("SELECT P, HG, SUM(I1) FROM DTT WHERE (IDM = ?) GROUP BY P, HG"));
    rows.exec({match});
    PeriodPoints points;
    while (rows.next()) {
        const int period = rows.value(0).toInt();
        const int side = rows.value(1).toInt();
        if (period < 1)
            continue;
        if (points.size() < size_t(period))
            points.resize(size_t(period), {0, 0});
        if (side == 1 || side == 2)
            points[size_t(period - 1)][size_t(side - 1)] += rows.value(2).toInt();
    }
    return points;
}

QString PeriodPointsLine(const PeriodPoints &points)
{
    QString line;
    for (const auto &[home, away] : points)
        line += QStringLiteral("%1 / %2     ").arg(home).arg(away);
    return line;
}

QString ThreeDigits(int value)
{
    return QStringLiteral("%1").arg(std::clamp(value, 0, 999), 3, 10, QLatin1Char('0'));
}
