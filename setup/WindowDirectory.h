#pragma once
// The windows the main window opens. Each opener shows its window modally
// and returns when it is closed.

class QWidget;

enum class BrowserKind { Players, PlayerPositions, Coaches, Referees, Delegates, Statists, CoachRoles, Teams, Leagues };

// A reference browser.
void ShowReferenceBrowser(BrowserKind kind, QWidget *owner);
// The match definition and then the console; answers whether a console ran
// (after which the program restarts).
bool RunNewMatch(QWidget *owner);
// The match chooser and then the console; answers whether a console ran.
bool RunExistingMatch(QWidget *owner);
// The export window; answers whether a match was exported.
bool RunExportMatch(QWidget *owner);
