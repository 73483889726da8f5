#pragma once
#include <QWidget>

class QCheckBox;
class QTableWidget;
struct BoxSide;

// One side's box score in the console: the players and a totals row, with
// "Actors Only" and "total for actors only".
class BoxScoreGrid final : public QWidget
{
    Q_OBJECT
public:
    BoxScoreGrid(int side, QWidget *parent = nullptr);

    void setTeamColor(const QColor &color, const QColor &text);
    void show(const BoxSide &side);

    QTableWidget *players;
    QTableWidget *totals;
    QCheckBox *actorsOnly;
    QCheckBox *totalForActorsOnly;

signals:
    // A filter changed: the box score must be built again.
    void filterChanged();

private:
    int side_;
    QColor teamColor_, teamText_;
};
