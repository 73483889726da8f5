#pragma once
#include <QWidget>

class QCheckBox;
class QTableWidget;
class StatLines;

// One side's statistic lines as the rules engine keeps them, with the team
// totals and "Actors Only" (the players on court now).
class StatLineGrid final : public QWidget
{
    Q_OBJECT
public:
    StatLineGrid(int side, StatLines &lines, QWidget *parent = nullptr);

    void refresh();

    QTableWidget *lines;
    QTableWidget *totals;
    QCheckBox *actorsOnly;

private:
    int side_;
    StatLines &source_;
};
