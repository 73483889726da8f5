#pragma once
// The saved quarters window: the period pictures of the open match in the
// export directory, listed afresh each time it is shown; a double-click
// opens a picture with the desktop's default program for it.

#include <QDialog>

class QListWidget;
class QListWidgetItem;

class TfrmSavedQuarters final : public QDialog
{
    Q_OBJECT

public:
    TfrmSavedQuarters(const QString &directory, QWidget *parent = nullptr);

    // The team names of the open match (as the console shows them).
    void SetTeams(const QString &home, const QString &away);

    QListWidget *llistBoxFiles = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void llistBoxFilesDblClick(QListWidgetItem *item);

    QString directory_, home_, away_;
};
