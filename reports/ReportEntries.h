#pragma once
// The report entries of the console (its "Reports" menu and the buttons of
// its "Reports and Settings" page), what each opens and when it refuses to,
// and the chooser's fixed texts and rules. No widgets: the windows in
// widgets/ show these, the tests drive them directly.

#include "common/GameClock.h"
#include "reports/ReportChoice.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

enum class ReportEntry {
    Roster, Basic, Diagrams, PointsComparison, PointsByPlayers, ScoreByMinutesNormal, ScoreByMinutesDetails,
    PlayByPlay, GraphicalView, Turnovers, Rebounds, Fouls, SecondAttackFastBreak, Paint, StartersBench, BeforeBonus,
    AfterBonus, Select
};

struct ReportEntryText
{
    ReportEntry entry;
    QStringList menuPath; // the submenus, then the entry's own text
    QString button;       // on the "Reports and Settings" page, empty when it has none
};

// Every entry in the order of the menu.
const std::vector<ReportEntryText> &ReportEntryTexts();

// The warning of an entry that compares the whole regular time, while
// regular time is still being played; empty when the entry may open.
QString RegularTimeRefusal(ReportEntry entry, const MatchClock &clock);

// The console's "Color Print": reports print headings and players who took
// part on yellow (ticked at start).
bool &ReportsInColour();

// The reports menu's check boxes, in the window's order, and the fixed
// order in which "Print" prints the ticked ones.
struct MenuReport
{
    QString caption;
    ReportEntry entry;
};
const std::vector<MenuReport> &ReportsMenuBoxes();
const std::vector<ReportEntry> &ReportsMenuPrintOrder();
inline constexpr char NoSelectedReport[] = "There is no selected report!";

// The two choosers: the basic report's and the turnovers report's.
enum class ChooserKind { Basic, Turnovers };

struct ChooserTexts
{
    QString caption;
    std::array<QString, 6> options;      // in ReportScope order
    std::array<QString, 6> explanations; // in ReportScope order
    QStringList attackTypes, defenceTypes, bonusOptions;
    QString show;
};
const ChooserTexts &TextsOf(ChooserKind kind);
// The caption of the parameter of a scope: "Period", "Overtime", ...
QString ParameterCaption(ReportScope scope);

// Which options may be chosen with the clock as it stands.
std::array<bool, 6> EnabledScopes(const MatchClock &clock);

// The choice the chooser's controls make: a combo's first item (or none)
// adds nothing, a bonus entry's fixed choice included.
ReportChoice ChoiceOf(ReportScope scope, int parameter, int attackItem, int defenceItem, int bonusItem);
