#include "console/widgets/PlayerTableView.h"

#include "common/MatchState.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

class PlayerRowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QColor teamColor, teamText;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool totals = index.data(SideStatsModel::TotalsRole).toBool();
        if (totals || index.data(SideStatsModel::OnCourtRole).toBool())
            option->font.setBold(true);
        if (totals)
            option->backgroundBrush = QColor(225, 225, 225);
        else if (index.data(SideStatsModel::OnCourtRole).toBool())
            option->backgroundBrush = QColor(255, 244, 200);
        if (index.data(SideStatsModel::FouledOutRole).toBool())
            option->palette.setColor(QPalette::Text, QColor(200, 0, 0));
        if (index.column() == 0 && !totals && teamColor.isValid()) {
            option->backgroundBrush = teamColor;
            option->palette.setColor(QPalette::Text, teamText);
        }
    }
};

constexpr int NameWidth = 110;

} // namespace

PlayerTableView::PlayerTableView(SideStatsModel &model, SideStatsModel::Group group, int markRole, QWidget *parent)
    : QTableView(parent), filter_(markRole)
{
    filter_.setSourceModel(&model);
    setModel(&filter_);
    setItemDelegate(new PlayerRowDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
    horizontalHeader()->setMinimumSectionSize(20);
    // The names take the box score's spare width; the wide statistic lines scroll instead.
    if (group == SideStatsModel::Group::BoxScore)
        horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    // Columns fit their text. A header sizing its sections to their contents
    // measures every cell after any change (about a millisecond an entry):
    // this view measures the changed cells and widens, and measures the whole
    // table when its rows change.
    connect(&filter_, &QAbstractItemModel::dataChanged, this, &PlayerTableView::widenFor);
    connect(&filter_, &QAbstractItemModel::modelReset, this, &PlayerTableView::fitColumns);
    connect(&filter_, &QAbstractItemModel::layoutChanged, this, &PlayerTableView::fitColumns);
    connect(&filter_, &QAbstractItemModel::rowsInserted, this, &PlayerTableView::fitColumns);
    connect(&filter_, &QAbstractItemModel::rowsRemoved, this, &PlayerTableView::fitColumns);
    for (int c = 0; c < model.columnCount(); ++c) {
        const auto g = model.group(c);
        setColumnHidden(c, g != SideStatsModel::Group::Player && g != group);
    }
    // Every column of the box score in sight.
    setHorizontalScrollBarPolicy(group == SideStatsModel::Group::BoxScore ? Qt::ScrollBarAlwaysOff
                                                                          : Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void PlayerTableView::fitColumns()
{
    for (int c = 0; c < model()->columnCount(); ++c)
        if (!isColumnHidden(c) && horizontalHeader()->sectionResizeMode(c) != QHeaderView::Stretch)
            resizeColumnToContents(c);
    updateGeometry();
}

void PlayerTableView::widenFor(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    bool widened = false;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int grid = showGrid() ? 1 : 0;
    for (int c = topLeft.column(); c <= bottomRight.column(); ++c) {
        if (isColumnHidden(c) || horizontalHeader()->sectionResizeMode(c) == QHeaderView::Stretch)
            continue;
        int width = columnWidth(c);
        for (int r = topLeft.row(); r <= bottomRight.row(); ++r) {
            const QModelIndex cell = model()->index(r, c);
            width = std::max(width, itemDelegateForIndex(cell)->sizeHint(option, cell).width() + grid);
        }
        if (width > columnWidth(c)) {
            setColumnWidth(c, width);
            widened = true;
        }
    }
    if (widened)
        updateGeometry();
}

void PlayerTableView::setTeamColor(const QColor &color, const QColor &text)
{
    auto *delegate = static_cast<PlayerRowDelegate *>(itemDelegate());
    delegate->teamColor = color;
    delegate->teamText = text;
    viewport()->update();
}

QSize PlayerTableView::minimumSizeHint() const
{
    // A full roster and the totals row, never a scroll bar between the
    // statistician and a player.
    const int rows = RosterSize + 1;
    int height = horizontalHeader()->sizeHint().height() + rows * verticalHeader()->defaultSectionSize() +
                 2 * frameWidth();
    if (horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        height += horizontalScrollBar()->sizeHint().height();
    int width = QTableView::minimumSizeHint().width();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
        // Wide enough for every column, and for a surname beside them.
        width = 2 * frameWidth() + NameWidth;
        for (int c = 0; c < model()->columnCount(); ++c)
            if (!isColumnHidden(c) && c != 1)
                width += std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c));
    }
    return {width, height};
}
