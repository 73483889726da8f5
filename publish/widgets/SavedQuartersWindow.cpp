#include "publish/widgets/SavedQuartersWindow.h"

#include "publish/SavedQuarters.h"

#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QUrl>
#include <QVBoxLayout>

TfrmSavedQuarters::TfrmSavedQuarters(const QString &directory, QWidget *parent)
    : QDialog(parent), directory_(directory)
{
    setWindowTitle(QStringLiteral("Saved Quarters"));
    auto *group = new QGroupBox(QStringLiteral("Saved Quarters"));
    llistBoxFiles = new QListWidget;
    (new QVBoxLayout(group))->addWidget(llistBoxFiles);
    (new QVBoxLayout(this))->addWidget(group);
    connect(llistBoxFiles, &QListWidget::itemDoubleClicked, this, &TfrmSavedQuarters::llistBoxFilesDblClick);
}

void TfrmSavedQuarters::SetTeams(const QString &home, const QString &away)
{
    home_ = home;
    away_ = away;
}

void TfrmSavedQuarters::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    llistBoxFiles->clear();
    llistBoxFiles->addItems(SavedQuarterFiles(directory_, home_, away_));
}

void TfrmSavedQuarters::llistBoxFilesDblClick(QListWidgetItem *item)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(directory_).filePath(item->text())));
}
