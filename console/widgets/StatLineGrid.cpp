#include "console/widgets/StatLineGrid.h"

#include "data/StatLines.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *table(const QList<StatLineField> &fields, int rows)
{
    auto *t = new QTableWidget(rows, int(fields.size()));
    QStringList captions;
    for (const auto &f : fields)
        captions << f.caption;
    t->setHorizontalHeaderLabels(captions);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setFocusPolicy(Qt::NoFocus);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setDefaultSectionSize(34);
    t->verticalHeader()->setDefaultSectionSize(18);
    return t;
}

void fill(QTableWidget *t, int row, const QList<StatLineField> &fields, const StatLine &line)
{
    for (int c = 0; c < fields.size(); ++c) {
        auto *item = new QTableWidgetItem(QString::number(line.field(fields[c].name)));
        item->setTextAlignment(Qt::AlignCenter);
        t->setItem(row, c, item);
    }
}

} // namespace

StatLineGrid::StatLineGrid(int side, StatLines &source, QWidget *parent)
    : QWidget(parent), lines(table(StatLineFields(side), 0)), totals(table(StatLineFields(side), 1)),
      actorsOnly(new QCheckBox(QStringLiteral("Actors Only"))), side_(side), source_(source)
{
    lines->setToolTip(side == 1 ? QStringLiteral("Statistika domace ekipe") : QStringLiteral("Statistika gostujuce ekipe"));
    totals->horizontalHeader()->hide();
    totals->setFixedHeight(22);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lines, 1);
    layout->addWidget(totals);
    layout->addWidget(actorsOnly);
    connect(actorsOnly, &QCheckBox::toggled, this, &StatLineGrid::refresh);
}

void StatLineGrid::refreshWhenShown()
{
    if (isVisible())
        refresh();
    else
        stale_ = true;
}

void StatLineGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (stale_)
        refresh();
}

void StatLineGrid::refresh()
{
    stale_ = false;
    const QList<StatLineField> fields = StatLineFields(side_);
    const std::vector<StatLine> shown = actorsOnly->isChecked() ? source_.ActorLines(side_) : source_.Lines(side_);
    lines->setRowCount(int(shown.size()));
    for (int r = 0; r < int(shown.size()); ++r)
        fill(lines, r, fields, shown[size_t(r)]);
    // The totals always cover every line of the side.
    fill(totals, 0, fields, source_.Totals(side_));
}
