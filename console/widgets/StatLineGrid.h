#pragma once
#include <QWidget>

class QCheckBox;
class PlayerTableView;
class SideStatsModel;
class StatLines;

// One side's statistic lines as the rules engine keeps them, with the team
// totals and "Actors Only" (the players on court now).
class StatLineGrid final : public QWidget
{
    Q_OBJECT
public:
    StatLineGrid(SideStatsModel &model, StatLines &lines, QWidget *parent = nullptr);

    void refresh();
    // After a change: at once when the grid is in sight, else when it comes
    // into sight, so the console's entries do not wait for a hidden tab.
    void refreshWhenShown();

    PlayerTableView *view;
    QCheckBox *actorsOnly;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool stale_ = true;
    SideStatsModel &model_;
    StatLines &source_;
};
