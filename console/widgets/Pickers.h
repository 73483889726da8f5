#pragma once
// The small windows that supply an event's second parameter (shot zone,
// turnover type, personal-foul type) and the legend of the event codes.
// The pickers live for the whole program and are shown again for each use.

#include "data/ActionCodes.h"

#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QLabel;

// Shot zone: six buttons over the half court, "6 5 4" nearer the basket.
class TShootPosFrm final : public QDialog
{
    Q_OBJECT
public:
    explicit TShootPosFrm(QWidget *parent = nullptr);
    // Shows the picker at a position; answers the zone, or 0 when cancelled.
    int Pick(const QPoint &where);
    QString SelectedZone;
    bool ZoneCancelled = true;
};

// Turnover type: the thirteen types, a click picks one.
class TTurnoverTypesFrm final : public QDialog
{
    Q_OBJECT
public:
    explicit TTurnoverTypesFrm(QWidget *parent = nullptr);
    // Answers the type 1..13, or 0 when closed without a choice.
    int Pick(const QPoint &where);
    int SelectedType = 1;
};

// Personal-foul type, asked after a personal foul is accepted.
class TPFTypesFrm final : public QDialog
{
    Q_OBJECT
public:
    explicit TPFTypesFrm(QWidget *parent = nullptr);
    // Answers the type 1..9 (1, a plain personal foul, unless another is chosen).
    int Pick();

private:
    QButtonGroup *rgPFType;
};

// The legend of event codes, turnover types and shot zones.
class TEventLegendFrm final : public QDialog
{
    Q_OBJECT
public:
    explicit TEventLegendFrm(QWidget *parent = nullptr);
};

// The three pickers of the program.
struct ParameterPickers
{
    TShootPosFrm *zone = nullptr;
    TTurnoverTypesFrm *turnover = nullptr;
    TPFTypesFrm *foul = nullptr;
};
ParameterPickers &Pickers();
