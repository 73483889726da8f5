#pragma once
#include "setup/StartersEditor.h"

#include <QDialog>

class QTableWidget;

// The five players of one side on court: the starters, later the line-up.
class TStartersDlg final : public QDialog
{
    Q_OBJECT
public:
    // Side as in the roster: 1 home, 0 away.
    TStartersDlg(MatchSession &session, int side, const StartersEditor::Hooks &hooks, QWidget *parent = nullptr);

    StartersEditor &editor() { return editor_; }
    QTableWidget *grid;

    void PotvrdiClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMarks();
    StartersEditor editor_;
    StartersEditor::Hooks hooks_;
};
