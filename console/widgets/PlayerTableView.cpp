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
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The names take the box score's spare width; the wide statistic lines scroll instead.
    if (group == SideStatsModel::Group::BoxScore)
        horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int c = 0; c < model.columnCount(); ++c) {
        const auto g = model.group(c);
        setColumnHidden(c, g != SideStatsModel::Group::Player && g != group);
    }
    // Every column of the box score in sight.
    setHorizontalScrollBarPolicy(group == SideStatsModel::Group::BoxScore ? Qt::ScrollBarAlwaysOff
                                                                          : Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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
