#include "console/widgets/BoxScoreGrid.h"

#include "common/MatchState.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

struct GridColumn
{
    const char *caption;
    BoxColumn column;
};

// The console's columns, in the order the statistician reads them.
constexpr GridColumn Columns[] = {
    {"No", BC_DRES},        {"P", BC_POENI},         {"PF", BC_LG},           {"TF", BC_TG},
    {"ndx", BC_INDEKS},     {"1", BC_P1OK},          {"1", BC_P1UK},          {"%1", BC_P1PROC},
    {"2", BC_P2OK},         {"2", BC_P2UK},          {"%2", BC_P2PROC},       {"3", BC_P3OK},
    {"3", BC_P3UK},         {"%3", BC_P3PROC},       {"23", BC_PIZIGREOK},    {"23", BC_PIZIGREUK},
    {"%23", BC_P23PROC},    {"Rd", BC_SKOKO},        {"Rat", BC_SKOKN},       {"R", BC_SKOKOVI},
    {"A", BC_ASISTENCIJA},  {"St", BC_UKRADENA},     {"Tur", BC_IZGUBLJENA},  {"B", BC_BLOK},
    {"Bon", BC_BLOKNA},     {"PFon", BC_LGNA},       {"M", BC_MINUTA},        {"S", BC_STARTER},
};
constexpr int ColumnCount = int(std::size(Columns));

QString cellText(const BoxRow &row, BoxColumn column)
{
    if (column == BC_DRES)
        return row.count(BC_DRES) == 100 ? QStringLiteral("00") : QString::number(row.count(BC_DRES));
    if (column == BC_P23PROC)
        return QString::number(RoundHalfEven(row[column]));
    return QString::number(row.count(column));
}

QTableWidget *grid(int rows)
{
    auto *t = new QTableWidget(rows, ColumnCount);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setFocusPolicy(Qt::NoFocus);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setMinimumSectionSize(18);
    t->horizontalHeader()->setDefaultSectionSize(30);
    t->verticalHeader()->setDefaultSectionSize(18);
    QStringList captions;
    for (const auto &c : Columns)
        captions << QString::fromLatin1(c.caption);
    t->setHorizontalHeaderLabels(captions);
    t->setColumnHidden(ColumnCount - 2, true); // minutes stay out of sight
    return t;
}

} // namespace

BoxScoreGrid::BoxScoreGrid(int side, QWidget *parent)
    : QWidget(parent), players(grid(0)), totals(grid(1)), actorsOnly(new QCheckBox(QStringLiteral("Actors Only"))),
      totalForActorsOnly(new QCheckBox(QStringLiteral("total for actors only")))
{
    players->setToolTip(side == 1 ? QStringLiteral("HOME TEAM STATISTICS") : QStringLiteral("AWAY TEAM STATISTICS"));
    totals->horizontalHeader()->hide();
    totals->setColumnHidden(ColumnCount - 1, true);
    totals->setFixedHeight(22);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(players, 1);
    layout->addWidget(totals);
    auto *boxes = new QHBoxLayout;
    boxes->addWidget(actorsOnly);
    boxes->addWidget(totalForActorsOnly);
    boxes->addStretch();
    layout->addLayout(boxes);
    for (QCheckBox *box : {actorsOnly, totalForActorsOnly})
        connect(box, &QCheckBox::toggled, this, [this] { showView(); });
}

void BoxScoreGrid::setTeamColor(const QColor &color, const QColor &text)
{
    teamColor_ = color;
    teamText_ = text;
}

void BoxScoreGrid::show(const BoxSide &side)
{
    side_ = side;
    showView();
}

void BoxScoreGrid::showView()
{
    const BoxSide shown = side_.view(actorsOnly->isChecked(), totalForActorsOnly->isChecked());
    const std::vector<BoxRow> &rows = shown.players;
    players->setRowCount(int(rows.size()));
    auto fill = [this](QTableWidget *table, int r, const BoxRow &row) {
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(Columns[c].column == BC_DRES && table == totals
                                                  ? QStringLiteral("Tot")
                                                  : cellText(row, Columns[c].column));
            item->setTextAlignment(Qt::AlignCenter);
            if (c == 0 && teamColor_.isValid()) {
                item->setBackground(teamColor_);
                item->setForeground(teamText_);
            }
            table->setItem(r, c, item);
        }
    };
    for (int r = 0; r < int(rows.size()); ++r)
        fill(players, r, rows[size_t(r)]);
    fill(totals, 0, shown.totals);
}
