#include "setup/WindowDirectory.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Stands in for a window of a later version of the program.
void ShowPlaceholder(QWidget *owner, const QString &title)
{
    QDialog dialog(owner);
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("%1 is not available in this version.").arg(title)));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

QString browserTitle(BrowserKind kind)
{
    switch (kind) {
    case BrowserKind::Players: return QStringLiteral("Players");
    case BrowserKind::PlayerPositions: return QStringLiteral("Player Positions");
    case BrowserKind::Coaches: return QStringLiteral("Coaches");
    case BrowserKind::Referees: return QStringLiteral("Referees");
    case BrowserKind::Delegates: return QStringLiteral("Delegates");
    case BrowserKind::Statists: return QStringLiteral("Statists");
    case BrowserKind::CoachRoles: return QStringLiteral("Coach Roles");
    case BrowserKind::Teams: return QStringLiteral("Teams");
    case BrowserKind::Leagues: return QStringLiteral("Leagues");
    }
    return QString();
}

} // namespace

void ShowReferenceBrowser(BrowserKind kind, QWidget *owner) { ShowPlaceholder(owner, browserTitle(kind)); }

bool RunNewMatch(QWidget *owner)
{
    ShowPlaceholder(owner, QStringLiteral("Match Definition"));
    return false;
}

bool RunExistingMatch(QWidget *owner)
{
    ShowPlaceholder(owner, QStringLiteral("Open Existing Match"));
    return false;
}

bool RunExportMatch(QWidget *owner)
{
    ShowPlaceholder(owner, QStringLiteral("Export Match"));
    return false;
}
