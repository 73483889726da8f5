#include "console/widgets/BoxScoreGrid.h"

#include "console/SideStatsModel.h"
#include "console/widgets/PlayerTableView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

BoxScoreGrid::BoxScoreGrid(SideStatsModel &model, QWidget *parent)
    : QWidget(parent), caption(new QLabel),
      view(new PlayerTableView(model, SideStatsModel::Group::BoxScore, SideStatsModel::OnCourtRole)),
      actorsOnly(new QCheckBox(QStringLiteral("Actors Only"))),
      totalForActorsOnly(new QCheckBox(QStringLiteral("total for actors only"))), model_(model)
{
    const bool home = model.side() == 1;
    view->setToolTip(home ? QStringLiteral("HOME TEAM STATISTICS") : QStringLiteral("AWAY TEAM STATISTICS"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    setCaption(QString());
    for (QCheckBox *box : {actorsOnly, totalForActorsOnly})
        box->setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *top = new QHBoxLayout;
    top->addWidget(caption, 1);
    top->addWidget(actorsOnly);
    top->addWidget(totalForActorsOnly);
    layout->addLayout(top);
    layout->addWidget(view, 1);
    for (QCheckBox *box : {actorsOnly, totalForActorsOnly})
        connect(box, &QCheckBox::toggled, this, [this] { showView(); });
}

void BoxScoreGrid::setCaption(const QString &clubName)
{
    const bool home = model_.side() == 1;
    caption->setText((home ? QStringLiteral("HOME STATISTICS ") : QStringLiteral("AWAY STATISTICS ")) + clubName);
}

void BoxScoreGrid::setTeamColor(const QColor &color, const QColor &text) { view->setTeamColor(color, text); }

void BoxScoreGrid::showView()
{
    view->filter().setMarkedOnly(actorsOnly->isChecked());
    model_.setBoxTotals(actorsOnly->isChecked(), totalForActorsOnly->isChecked());
}
