#include "publish/widgets/SavedQuartersWindow.h"

#include "publish/SavedQuarters.h"

#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

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
    // Wide enough for the longest name, whose end tells the period.
    const int wanted = llistBoxFiles->sizeHintForColumn(0) + 2 * llistBoxFiles->frameWidth() +
                       llistBoxFiles->verticalScrollBar()->sizeHint().width();
    llistBoxFiles->setMinimumWidth(std::min(wanted, screen()->availableGeometry().width() * 3 / 4));
    adjustSize();
}

void TfrmSavedQuarters::llistBoxFilesDblClick(QListWidgetItem *item)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QDir(directory_).filePath(item->text())));
}
