#pragma once
// The export window: the stored matches as the match chooser lists and
// searches them; "Export ..." asks where to save the selected match and
// exports it, "Cancel" (or Esc) closes. Choosing a panel only selects it.

#include "setup/widgets/MatchListDialog.h"

#include <functional>

class TExportMatchFrm final : public MatchListDialog
{
    Q_OBJECT

public:
    static constexpr int Exported = 1;
    static constexpr int Cancelled = 32;

    explicit TExportMatchFrm(Tdm &module, QWidget *owner = nullptr);

    QPushButton *Transfer = nullptr; // "Export ..."
    QPushButton *Odustani = nullptr; // "Cancel"

    // The file to write, asked with the proposed one; empty when the user
    // cancels. The save dialog unless a test answers instead.
    std::function<QString(const QString &proposed)> askFileName;

    void TransferClick();
    void OdustaniClick() { done(Cancelled); }

protected:
    void reject() override { OdustaniClick(); }

private:
    QString askWithSaveDialog(const QString &proposed);

    Tdm &module_;
};

// Lets the main window open the export window.
void RegisterExportWindow();
