#pragma once
// The match chooser: every stored match as a panel, newest first, a search
// by teams or by league, and OK / Cancel. MatchChooser decides.

#include "setup/MatchChooser.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QListView;
class QPushButton;
class Tdm;

class TOpenDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit TOpenDlg(Tdm &module, QWidget *owner = nullptr);

    MatchChooser &chooser() { return chooser_; }
    // After OK: the match to open (the console's MatchId).
    int matchId() const { return matchId_; }

    QLineEdit *edSearch = nullptr;
    QPushButton *btnBrowse = nullptr;
    QButtonGroup *rgFind = nullptr;
    QListView *matches = nullptr;
    QPushButton *Otvori = nullptr; // OK
    QPushButton *Izlaz = nullptr;  // Cancel

    void OtvoriClick();
    void IzlazClick();

    // Panels visible at a time.
    static constexpr int VisiblePanels = 7;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Search();
    void selectCurrent();

    MatchChooser chooser_;
    int matchId_ = -1;
};
