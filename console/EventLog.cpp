#include "console/EventLog.h"

#include "data/ActionCodes.h"

const std::vector<EventRow> &NewRecords::After(int number)
{
    if (!rows_ || after_ != number) {
        rows_ = store_.EventRowsAfter(match_, number);
        after_ = number;
    }
    return *rows_;
}

QString EventLog::Line(int number, int side, int parameter, int code, int player)
{
    QString line = QStringLiteral("%1. ").arg(number);
    if (side == 1 || side == 2)
        line += side == 1 ? QStringLiteral("HOME ") : QStringLiteral("AWAY ");
    line += EventLogName(code);
    if (player > 0)
        line += QStringLiteral("  %1").arg(player);
    if (parameter > 0)
        line += QStringLiteral("  >>  %1").arg(parameter);
    return line;
}

const QStringList &EventLog::Lines()
{
    if (!current_) {
        lines_.clear();
        newest_ = 0;
        lastCode_ = NoEvent;
        lastNumber_ = -1;
    }
    QStringList added;
    for (const EventRow &row : records_.After(newest_)) {
        added.prepend(Line(row.number, row.side.value_or(0), row.parameter.value_or(0), row.code.value_or(0),
                           row.player.value_or(0)));
        newest_ = row.number;
        if (row.side && row.code)
            Recorded(row.number, *row.code);
    }
    lines_ = added + lines_;
    current_ = true;
    return lines_;
}
