#pragma once
// The match definition dialog: a new match from the main window, or the
// match being played from the console. It shows and forwards; the checks
// and the writing are MatchDefinition's.

#include "setup/MatchDefinition.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QToolButton;
class Tdm;

class TDataGame final : public QDialog
{
    Q_OBJECT

public:
    using Control = MatchDefinition::Control;

    // matchId is MatchDefinition::NewMatch for a new match. When the match
    // or its league cannot be found the error has been shown and isReady()
    // is false: the dialog is not to be shown.
    TDataGame(Tdm &module, int matchId, QWidget *owner = nullptr);

    bool isReady() const { return ready_; }
    MatchDefinition &definition() { return definition_; }
    // After OK: the saved match and its caption (the console's title).
    int matchId() const { return definition_.matchId(); }
    QString matchCaption() const { return definition_.caption(); }

    // The control of the form with that name.
    QWidget *control(Control c) const { return controls_.value(c); }
    QToolButton *clearButton(Control person) const { return clearButtons_.value(person); }
    QPushButton *btnEditStatists = nullptr;
    QPushButton *Potvrdi = nullptr;  // OK
    QPushButton *Odustani = nullptr; // Cancel

    void PotvrdiClick();
    void OdustaniClick();
    // The "..." button: the statisticians browser, then the fresh lists.
    void EditStatists();

    // Esc is Cancel.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildMatchGroup();
    QWidget *buildTeamsGroup();
    QWidget *buildPeopleGroup();
    QLineEdit *textEdit(Control c, int maxLength);
    QComboBox *listBox(Control c);
    QWidget *withClearButton(Control person);
    void fillList(Control c);
    void loadValues();
    void setTabOrders();

    Tdm &module_;
    MatchDefinition definition_;
    bool ready_ = false;
    QHash<Control, QWidget *> controls_;
    QHash<Control, QToolButton *> clearButtons_;
    QCheckBox *PlayOff = nullptr;
    QDateEdit *Datum = nullptr;
    QTimeEdit *Vreme = nullptr;
};
