// The console's keys and mouse shortcuts: every key of the window passes the
// entry grammar first; clicks on the court picture fill the same boxes.
#include "console/widgets/MatchConsole.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/Pickers.h"
#include "console/widgets/StatLineGrid.h"
#include "console/widgets/SecondsDialog.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/StatLines.h"
#include "data/DataModule.h"

#include <QApplication>
#include <QButtonGroup>
#include <QRadioButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// "HOME" or "AWAY" for a team event keyed without a side; 0 when closed.
int ChooseSide(QWidget *parent, const QString &caption)
{
    QDialog chooser(parent);
    chooser.setObjectName(QStringLiteral("TfrmNobodysOD"));
    chooser.setWindowTitle(caption);
    auto *row = new QHBoxLayout(&chooser);
    int chosen = 0;
    for (int side = 1; side <= 2; ++side) {
        auto *button = new QPushButton(side == 1 ? QStringLiteral("HOME") : QStringLiteral("AWAY"));
        button->setMinimumSize(120, 48);
        QObject::connect(button, &QPushButton::clicked, &chooser, [&chosen, &chooser, side] {
            chosen = side;
            chooser.accept();
        });
        row->addWidget(button);
    }
    chooser.exec();
    return chosen;
}

} // namespace

QLineEdit *TMatchFrm::entryBox(EntryBox box) const { return boxes_[size_t(box)]; }

EntryBox TMatchFrm::boxOf(QObject *widget) const
{
    for (size_t i = 0; i < boxes_.size(); ++i)
        if (boxes_[i] == widget)
            return EntryBox(i);
    return EntryBox::Init;
}

void TMatchFrm::syncFromGrammar()
{
    for (size_t i = 0; i < boxes_.size(); ++i) {
        const QString text = grammar_.text(EntryBox(i));
        if (boxes_[i]->text() != text)
            boxes_[i]->setText(text);
    }
    QLineEdit *focused = entryBox(grammar_.focus());
    if (focused->isEnabled()) {
        focused->setFocus();
        if (grammar_.selected())
            focused->selectAll();
    }
}

int TMatchFrm::sideOfInit() const { return grammar_.text(EntryBox::Init) == QLatin1String("2") ? 2 : 1; }

void TMatchFrm::pressEnter(EntryBox box, const QString &text)
{
    grammar_.Focus(box);
    grammar_.edit(box, text);
    grammar_.Enter();
    syncFromGrammar();
}

void TMatchFrm::ShotLabelClicked(int code, const QPoint &where)
{
    const int side = sideOfInit();
    const EntryBox codeBox = side == 2 ? EntryBox::AwayCode : EntryBox::HomeCode;
    if (grammar_.focus() != codeBox)
        return;
    pressEnter(codeBox, QString::number(code));
    const bool needsZone = code != EvMade1 && code != EvMiss1;
    if (!needsZone)
        return;
    if (grammar_.EntryRefused) {
        grammar_.EntryRefused = false;
        return;
    }
    const int zone = Pickers().zone ? Pickers().zone->Pick(mapToGlobal(where + QPoint(209, 30))) : 0;
    if (zone > 0)
        pressEnter(side == 2 ? EntryBox::AwayParameter : EntryBox::HomeParameter, QString::number(zone));
}

void TMatchFrm::EventLabelClicked(int code, const QPoint &where)
{
    const int side = sideOfInit();
    const EntryBox codeBox = side == 2 ? EntryBox::AwayCode : EntryBox::HomeCode;
    if (grammar_.focus() != codeBox)
        return;
    pressEnter(codeBox, QString::number(code));
    if (code == EvTurnover && grammar_.focus() != codeBox) {
        const int type = Pickers().turnover ? Pickers().turnover->Pick(mapToGlobal(where + QPoint(209, 30))) : 0;
        if (type > 0)
            pressEnter(side == 2 ? EntryBox::AwayParameter : EntryBox::HomeParameter, QString::number(type));
    }
}

void TMatchFrm::CourtMarkerClicked(int side, int index)
{
    const QString number = (side == 1 ? homeCourt : awayCourt)[size_t(index)]->text();
    // A marker of the other side names the opponent of a foul or block.
    const EntryBox otherParameter = side == 1 ? EntryBox::AwayParameter : EntryBox::HomeParameter;
    if (grammar_.focus() == otherParameter) {
        pressEnter(otherParameter, number);
        return;
    }
    pressEnter(EntryBox::Init, QString::number(side));
    const EntryBox player = side == 1 ? EntryBox::HomePlayer : EntryBox::AwayPlayer;
    grammar_.Focus(player);
    if (number != QLatin1String("?"))
        grammar_.edit(player, number);
    grammar_.Enter();
    syncFromGrammar();
}

void TMatchFrm::BenchMarkerClicked(int side, int index)
{
    const QString number = (side == 1 ? homeBench : awayBench)[size_t(index)]->text();
    EventLabelClicked(EvPlayerChange, QPoint());
    const EntryBox parameter = side == 1 ? EntryBox::HomeParameter : EntryBox::AwayParameter;
    if (grammar_.focus() == parameter) {
        grammar_.edit(side == 1 ? EntryBox::HomeCode : EntryBox::AwayCode, QString::number(EvPlayerChange));
        pressEnter(parameter, number);
    }
}

void TMatchFrm::TimeOut(int side)
{
    grammar_.TimeOut(side);
    syncFromGrammar();
}

void TMatchFrm::TeamEvent(int side, int code)
{
    if (side < 1)
        return;
    grammar_.TeamEvent(side, code);
    syncFromGrammar();
}

void TMatchFrm::CoachTechnicalClicked(int side)
{
    // A technical foul to the coach is keyed with any player of the side on court.
    const auto &court = side == 1 ? homeCourt : awayCourt;
    pressEnter(EntryBox::Init, QString::number(side));
    pressEnter(side == 1 ? EntryBox::HomePlayer : EntryBox::AwayPlayer, court[0]->text());
    pressEnter(side == 1 ? EntryBox::HomeCode : EntryBox::AwayCode, QString::number(EvTechnicalCoach));
}

void TMatchFrm::TimePanelClicked()
{
    grammar_.Focus(EntryBox::Init);
    grammar_.MinuteChange();
    syncFromGrammar();
    // A quarter has just ended when the next one waits at its start.
    const MatchClock clock = session_.Clock();
    if (clock.Ended() || (clock.period > 1 && clock.period <= RegularPeriods && clock.minute == QuarterMinutes))
        SavePeriodSnapshot();
}

bool TMatchFrm::formKey(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_F2:
        showLegend();
        return true;
    case Qt::Key_F3: TeamEvent(ChooseSide(this, QStringLiteral("TEAM OFFENCE")), EvTeamOffence); return true;
    case Qt::Key_F4: TeamEvent(ChooseSide(this, QStringLiteral("TEAM DEFENCE")), EvTeamDefence); return true;
    case Qt::Key_F5: TeamEvent(ChooseSide(this, QStringLiteral("TEAM TURNOVER")), EvTeamTurnover); return true;
    case Qt::Key_F6: TeamEvent(1, EvJumpBall); return true;
    case Qt::Key_F7: TeamEvent(2, EvJumpBall); return true;
    case Qt::Key_U:
        if (btnUndo->isVisible())
            Undo();
        return true;
    case Qt::Key_Slash: TimeOut(1); return true;
    case Qt::Key_Asterisk: TimeOut(2); return true;
    case Qt::Key_F8: OpenLineUp(1); return true;
    case Qt::Key_F9: OpenLineUp(2); return true;
    case Qt::Key_F10: OpenRoster(1); return true;
    case Qt::Key_F11: OpenRoster(2); return true;
    case Qt::Key_F12: OpenDefinition(); return true;
    case Qt::Key_N: session_.SetAttackType(0); break;
    case Qt::Key_S: session_.SetAttackType(1); break;
    case Qt::Key_F: session_.SetAttackType(2); break;
    case Qt::Key_M: session_.SetDefenceType(0); break;
    case Qt::Key_Z: session_.SetDefenceType(1); break;
    case Qt::Key_H:
    case Qt::Key_A:
        session_.SetPossession(key->key() == Qt::Key_H ? 1 : 2);
        return true;
    default:
        return false;
    }
    showTypes();
    return true;
}

bool TMatchFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress)
        dm()->activity().Touch(); // in the console or any window opened from it
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)) || !isVisible())
        return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::FocusIn) {
        const auto it = std::find(boxes_.begin(), boxes_.end(), widget);
        if (it != boxes_.end() && grammar_.focus() != boxOf(widget)) {
            grammar_.Focus(boxOf(widget));
            syncFromGrammar();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);

    auto *key = static_cast<QKeyEvent *>(event);
    const bool isBox = std::find(boxes_.begin(), boxes_.end(), widget) != boxes_.end();
    if (event->type() == QEvent::KeyRelease) {
        if (isBox && boxOf(widget) == EntryBox::Init) {
            const bool digit = key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9;
            grammar_.KeyReleased(digit ? key->key() - Qt::Key_0 : -1);
            syncFromGrammar();
        }
        return false;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    // The legend leaves the focus in the console: Esc puts the legend away
    // before it may ask to close the match.
    if (key->key() == Qt::Key_Escape && legend_ && legend_->isVisible()) {
        legend_->hide();
        return true;
    }
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    if (formKey(key))
        return true;
    if (!isBox)
        return false;
    const EntryBox box = boxOf(widget);
    if (key->key() == Qt::Key_Escape && grammar_.Escape(box)) {
        syncFromGrammar();
        return true;
    }
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const QString typed = enter ? QStringLiteral("\n") : key->text();
    if ((enter || (!typed.isEmpty() && typed.at(0).isPrint())) && grammar_.RefusedAfterEnd(box, typed)) {
        syncFromGrammar();
        return true;
    }
    if (box == EntryBox::HomeCode || box == EntryBox::AwayCode)
        grammar_.CodeKeyPressed();
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        grammar_.Enter();
        break;
    case Qt::Key_Up:
        grammar_.Up();
        break;
    case Qt::Key_Down:
        grammar_.Down();
        break;
    case Qt::Key_Plus:
        if (!keypad)
            return false;
        grammar_.NumPlus();
        break;
    default:
        return false;
    }
    syncFromGrammar();
    return true;
}
