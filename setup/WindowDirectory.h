#pragma once
// The windows the main window opens. Each opener shows its window modally
// and returns when it is closed.

#include <functional>

class QWidget;

enum class BrowserKind { Players, PlayerPositions, Coaches, Referees, Delegates, Statists, CoachRoles, Teams, Leagues };

// A reference browser.
void ShowReferenceBrowser(BrowserKind kind, QWidget *owner);
// The match definition and then the console; answers whether a console ran
// (after which the program restarts).
bool RunNewMatch(QWidget *owner);
// The match chooser and then the console; answers whether a console ran.
bool RunExistingMatch(QWidget *owner);
// The export window; answers whether a match was exported. It belongs to the
// publishing windows, above this layer: the program registers how it opens,
// and without one nothing opens.
bool RunExportMatch(QWidget *owner);
void SetExportWindow(std::function<bool(QWidget *owner)> open);
