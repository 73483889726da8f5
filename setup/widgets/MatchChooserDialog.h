#pragma once
// The match chooser: every stored match as a panel, newest first, a search
// by teams or by league, and OK / Cancel. MatchChooser decides.

#include "setup/widgets/MatchListDialog.h"

class TOpenDlg final : public MatchListDialog
{
    Q_OBJECT

public:
    explicit TOpenDlg(Tdm &module, QWidget *owner = nullptr);

    // After OK: the match to open (the console's MatchId).
    int matchId() const { return matchId_; }

    QPushButton *Otvori = nullptr; // OK
    QPushButton *Izlaz = nullptr;  // Cancel

    void OtvoriClick();
    void IzlazClick();

protected:
    void panelChosen() override { OtvoriClick(); }
    // Esc, in the list or anywhere else.
    void reject() override { IzlazClick(); }

private:
    int matchId_ = -1;
};
