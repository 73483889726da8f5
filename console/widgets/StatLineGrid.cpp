#include "console/widgets/StatLineGrid.h"

#include "console/SideStatsModel.h"
#include "console/widgets/PlayerTableView.h"
#include "data/StatLines.h"

#include <QCheckBox>
#include <QVBoxLayout>

StatLineGrid::StatLineGrid(SideStatsModel &model, StatLines &source, QWidget *parent)
    : QWidget(parent),
      view(new PlayerTableView(model, SideStatsModel::Group::StatLines, SideStatsModel::LineActorRole)),
      actorsOnly(new QCheckBox(QStringLiteral("Actors Only"))), model_(model), source_(source)
{
    view->setToolTip(model.side() == 1 ? QStringLiteral("Statistika domace ekipe")
                                       : QStringLiteral("Statistika gostujuce ekipe"));
    actorsOnly->setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(actorsOnly);
    layout->addWidget(view, 1);
    connect(actorsOnly, &QCheckBox::toggled, this, [this](bool on) { view->filter().setMarkedOnly(on); });
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
    if (stale_) {
        // What changed meanwhile may include corrections: fitted anew.
        refresh();
        view->fitColumns();
    }
}

void StatLineGrid::refresh()
{
    stale_ = false;
    const int side = model_.side();
    QSet<int> actors;
    for (const StatLine &line : source_.ActorLines(side))
        actors.insert(line.DRES);
    // The totals always cover every line of the side.
    model_.setStatLines(source_.Lines(side), source_.Totals(side), actors);
}
