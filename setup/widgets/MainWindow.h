#pragma once
#include <QMainWindow>

#include "setup/WindowDirectory.h"

class QGroupBox;
class QLabel;
class QPushButton;
class Tdm;

// The main window: the hub between matches.
class TMainFrm final : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainFrm(QWidget *parent = nullptr);

    // Shown when the administrator marker file is present.
    QGroupBox *grpAdminActions = nullptr;
    QPushButton *bitBtnTeams = nullptr;
    QPushButton *bitBtnLeagues = nullptr;
    QLabel *Label3 = nullptr; // the version under the product name
    // Beneath the actions: what stands in the way, or what to do first.
    QLabel *lbAdvice = nullptr;

    // The actions, as the menus and buttons run them.
    void OpenBrowser(BrowserKind kind);
    void CreateNewMatch();
    void OpenExistingMatch();
    void ExportMatch();
    void RetrieveFromBackup(bool additional);
    void RestoreFromServerBackup();
    void ShowAbout();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showAdvice();
    void buildMenus();
    QWidget *buildBanner();
    QWidget *buildActionGroups();
    QPushButton *actionButton(const QString &caption, void (TMainFrm::*slot)());
    void afterConsole(bool consoleRan);

    // The actions that need a database: off while there is none.
    QList<QWidget *> databaseWidgets_;
    QList<QAction *> databaseActions_;
};
