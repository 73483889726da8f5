#pragma once
#include "setup/RosterEditor.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QTableWidget;

// The roster of one side for the match: shirt numbers and the coach.
class TTeamDlg final : public QDialog
{
    Q_OBJECT
public:
    // Side as in the roster: 1 home, 0 away.
    TTeamDlg(int matchId, int side, QWidget *parent = nullptr);

    RosterEditor &editor() { return *editor_; }
    QTableWidget *grid;
    QComboBox *coach;

    void PotvrdiClick();
    void OdustaniClick();

private:
    void showRows();
    std::unique_ptr<RosterEditor> editor_;
};
