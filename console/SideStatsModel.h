#pragma once
// One side of the open match as a table: a row per roster player in
// shirt-number order and a totals row last. Its columns hold the box score
// (from the event records, with time on court and plus-minus) and the rules
// engine's statistic lines; the console's two tabs are views of the one
// model, each showing its own group of columns. No widgets: the views mark
// rows through the roles below.

#include "data/BoxScore.h"
#include "data/StatLines.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QSet>
#include <QSortFilterProxyModel>

#include <optional>

class SideStatsModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        OnCourtRole = Qt::UserRole + 1, // bool: on court now
        StarterRole,                    // bool
        FouledOutRole,                  // bool: five personal and technical fouls
        TotalsRole,                     // bool: the totals row
        LineActorRole,                  // bool: on court as the statistic lines' filter sees it
    };
    enum class Group { Player, BoxScore, StatLines };

    explicit SideStatsModel(int side, QObject *parent = nullptr);

    int side() const { return side_; }
    // Which view a column belongs to: the player columns (number, name) to both.
    Group group(int column) const;

    // The box score of the side, each player's plus-minus and time on court
    // by shirt number. The rows follow the box score's roster rows.
    void setBoxScore(const BoxSide &box, const QHash<int, int> &plusMinus);
    void setTimesOnCourt(const QHash<int, TimeOnCourt> &times);
    // The box-score totals: of every event, or of the shown rows alone (all
    // players or those on court).
    void setBoxTotals(bool onCourtOnly, bool ofShownRowsOnly);
    // The statistic lines, their totals and the shirt numbers of their on-court filter.
    void setStatLines(const std::vector<StatLine> &lines, const StatLine &totals, const QSet<int> &actors);
    bool statLinesRead() const { return statLinesRead_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row
    {
        BoxRow box;
        std::optional<StatLine> line;
        int plusMinus = 0;
        std::optional<TimeOnCourt> time;
    };
    bool isTotals(int row) const { return row == int(rows_.size()); }
    QString text(int row, int column) const;
    QString boxText(const Row &row, int boxColumn, bool totals) const;
    // Tells the views which cells of a row a new box score changed.
    void announceChanges(int row, const Row &before, const Row &after);
    // The totals row of the box score as the two boxes ask for it.
    void takeTotals();

    int side_;
    std::vector<Row> rows_;
    BoxSide box_;
    Row totals_;
    bool totalsOnCourtOnly_ = false, totalsOfShownOnly_ = false;
    QSet<int> lineActors_;
    bool statLinesRead_ = false;
    QList<StatLineField> lineFields_;
};

// The rows a view shows: every row, or the totals and the rows marked with
// `role` (the players on court).
class ShownRowsFilter final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    ShownRowsFilter(int role, QObject *parent = nullptr) : QSortFilterProxyModel(parent), role_(role) {}
    void setMarkedOnly(bool markedOnly);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    int role_;
    bool markedOnly_ = false;
};
