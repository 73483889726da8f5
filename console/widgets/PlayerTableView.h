#pragma once
// A view of one group of a side's table (SideStatsModel): every row in
// sight without scrolling, players on court in bold, starters with "*",
// fouled-out players in red, the totals row apart, the number column in
// the team's colour.

#include "console/SideStatsModel.h"

#include <QTableView>

class PlayerTableView final : public QTableView
{
    Q_OBJECT

public:
    // `markRole` is the mark "Actors Only" keeps rows by.
    PlayerTableView(SideStatsModel &model, SideStatsModel::Group group, int markRole, QWidget *parent = nullptr);

    ShownRowsFilter &filter() { return filter_; }
    void setTeamColor(const QColor &color, const QColor &text);
    QSize minimumSizeHint() const override;
    // Every column as wide as its widest text: after a correction, when a
    // figure may have become narrower than its column.
    void fitColumns();

private:
    void widenFor(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    ShownRowsFilter filter_;
};
