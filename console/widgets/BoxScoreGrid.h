#pragma once
#include <QWidget>

class QCheckBox;
class QLabel;
class PlayerTableView;
class SideStatsModel;

// One side's box score in the console: the caption with the club's name,
// "Actors Only" and "total for actors only", and every player with the
// totals row.
class BoxScoreGrid final : public QWidget
{
    Q_OBJECT
public:
    BoxScoreGrid(SideStatsModel &model, QWidget *parent = nullptr);

    void setCaption(const QString &clubName);
    void setTeamColor(const QColor &color, const QColor &text);

    QLabel *caption;
    PlayerTableView *view;
    QCheckBox *actorsOnly;
    QCheckBox *totalForActorsOnly;

private:
    void showView();

    SideStatsModel &model_;
};
