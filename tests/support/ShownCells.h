#pragma once
// What a table view shows: the text under the visible column with `header`.
#include <QAbstractItemModel>
#include <QTableView>

inline QString ShownCell(const QTableView &view, int row, const QString &header)
{
    const QAbstractItemModel &model = *view.model();
    for (int c = 0; c < model.columnCount(); ++c)
        if (!view.isColumnHidden(c) && model.headerData(c, Qt::Horizontal).toString() == header)
            return model.index(row, c).data().toString();
    return QStringLiteral("no column %1").arg(header);
}

// The same in the totals row, the last one.
inline QString ShownTotal(const QTableView &view, const QString &header)
{
    return ShownCell(view, view.model()->rowCount() - 1, header);
}
