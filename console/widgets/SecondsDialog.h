#pragma once
#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

// "SECONDS SETTINGS": the seconds shown with the clock minute at a player
// change. The spin box and the track bar always show the same value.
class TSecFrm final : public QDialog
{
    Q_OBJECT
public:
    explicit TSecFrm(bool confirm, QWidget *parent = nullptr);

    // Answers the seconds when accepted, nothing when declined.
    static std::optional<int> AskSeconds(bool confirm, QWidget *parent);

    QSpinBox *seSec;
    QSlider *tbSec;
    QPushButton *yes;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
