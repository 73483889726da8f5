#include "setup/widgets/MatchChooserDialog.h"

#include <QPushButton>

TOpenDlg::TOpenDlg(Tdm &module, QWidget *owner) : MatchListDialog(module, QStringLiteral("Match List"), owner)
{
    setObjectName(QStringLiteral("TOpenDlg"));
    Otvori = addButton(QStringLiteral("OK"), QStringLiteral("Otvori"));
    Izlaz = addButton(QStringLiteral("Cancel"), QStringLiteral("Izlaz"));
    connect(Otvori, &QPushButton::clicked, this, &TOpenDlg::OtvoriClick);
    connect(Izlaz, &QPushButton::clicked, this, &TOpenDlg::IzlazClick);
}

void TOpenDlg::OtvoriClick()
{
    if (const auto id = chooser().Confirm()) {
        matchId_ = *id;
        done(MatchChooser::Open);
    }
}

void TOpenDlg::IzlazClick() { done(MatchChooser::Cancelled); }
