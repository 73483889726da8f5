#pragma once
#include "data/BoxScore.h"

#include <QWidget>

class QCheckBox;
class QTableWidget;

// One side's box score in the console: the players and a totals row, with
// "Actors Only" and "total for actors only".
class BoxScoreGrid final : public QWidget
{
    Q_OBJECT
public:
    BoxScoreGrid(int side, QWidget *parent = nullptr);

    void setTeamColor(const QColor &color, const QColor &text);
    // Shows the side as its two boxes ask; they re-show it when ticked.
    void show(const BoxSide &side);

    QTableWidget *players;
    QTableWidget *totals;
    QCheckBox *actorsOnly;
    QCheckBox *totalForActorsOnly;

private:
    void showView();

    BoxSide side_;
    QColor teamColor_, teamText_;
};
