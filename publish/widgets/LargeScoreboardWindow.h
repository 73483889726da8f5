#pragma once
// The large scoreboard: a stay-on-top window turned toward the crowd or the
// commentators, with both names, the scores and the minute in yellow
// seven-segment digits, the period and the points per period. It reads the
// console once a second while it is shown, is dragged by any point of it,
// keeps its place when hidden and shown again, and grows with its window so
// that it can be read across a hall.

#include "publish/LargeScoreboard.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLCDNumber;

class TLargeScoreboardFrm final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int RefreshMs = 1000;

    TLargeScoreboardFrm(std::function<ScoreboardReading()> read, QWidget *parent = nullptr);

    // Reads the console and shows what it read.
    void RefreshLargeScoreboard();

    QLabel *lblHOME = nullptr, *lblAWAY = nullptr, *lbQuarter = nullptr, *lblQuarters = nullptr;
    QLCDNumber *homeScore = nullptr, *awayScore = nullptr, *minute = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    std::function<ScoreboardReading()> read_;
    QTimer refresh_;
    QPoint grab_;                   // the pressed point, from the window's corner
    std::optional<QPoint> placed_; // where it stood when last hidden
};
