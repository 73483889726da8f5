#include "publish/widgets/ExportMatchWindow.h"

#include "common/Messenger.h"
#include "data/DataModule.h"
#include "publish/MatchExport.h"
#include "setup/WindowDirectory.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>

TExportMatchFrm::TExportMatchFrm(Tdm &module, QWidget *owner)
    : MatchListDialog(module, QStringLiteral("Match List for Export"), owner), module_(module)
{
    setObjectName(QStringLiteral("TExportMatchFrm"));
    Transfer = addButton(QStringLiteral("Export ..."), QStringLiteral("Transfer"));
    Odustani = addButton(QStringLiteral("Cancel"), QStringLiteral("Odustani"));
    connect(Transfer, &QPushButton::clicked, this, &TExportMatchFrm::TransferClick);
    connect(Odustani, &QPushButton::clicked, this, &TExportMatchFrm::OdustaniClick);
    askFileName = [this](const QString &proposed) { return askWithSaveDialog(proposed); };
}

QString TExportMatchFrm::askWithSaveDialog(const QString &proposed)
{
    QFileDialog dialog(this, QStringLiteral("Export Match to File"), proposed, QStringLiteral("Quintara File (*.qnt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("qnt"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void TExportMatchFrm::TransferClick()
{
    // An empty list has no match to export, and nothing is written.
    if (chooser().currentRecord() < 0)
        return;
    const int match = chooser().fieldValue(chooser().currentRecord(), MatchChooser::ID_UTAKMICA).toInt();
    try {
        const QString fileName = askFileName(QDir::current().filePath(ProposedExportFileName(module_.db(), match)));
        if (fileName.isEmpty())
            return;
        BusyCursor busy;
        ExportMatch(module_.db(), match, fileName, module_.options().dataDirectory);
    } catch (const std::exception &e) { // an ExportError, or the database's own
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    done(Exported);
}

void RegisterExportWindow()
{
    SetExportWindow([](QWidget *owner) {
        TExportMatchFrm window(*dm(), owner);
        return window.exec() == TExportMatchFrm::Exported;
    });
}
