#include "reports/ReportEntries.h"


using E = ReportEntry;

const std::vector<ReportEntryText> &ReportEntryTexts()
{
    static const std::vector<ReportEntryText> entries{
        {E::Roster, {QStringLiteral("Roster")}, QStringLiteral("Roster")},
        {E::Basic, {QStringLiteral("Basic Report ...")}, QStringLiteral("Basic ...")},
        {E::Diagrams, {QStringLiteral("Diagrams")}, QStringLiteral("Diagrams")},
        {E::PointsComparison, {QStringLiteral("Points"), QStringLiteral("Comparation")},
         QStringLiteral("Pts. Comparation")},
        {E::PointsByPlayers, {QStringLiteral("Points"), QStringLiteral("By Players")},
         QStringLiteral("Pts. By Players")},
        {E::ScoreByMinutesNormal,
         {QStringLiteral("Points"), QStringLiteral("Result"), QStringLiteral("Score By Minutes (Normal)")},
         QStringLiteral("Res. Table View")},
        {E::ScoreByMinutesDetails,
         {QStringLiteral("Points"), QStringLiteral("Result"), QStringLiteral("Score By Minutes (Details)")},
         QString()},
        {E::PlayByPlay, {QStringLiteral("Points"), QStringLiteral("Result"), QStringLiteral("Play By Play")},
         QString()},
        {E::GraphicalView, {QStringLiteral("Points"), QStringLiteral("Result"), QStringLiteral("Graphical View")},
         QStringLiteral("Res. Graph. View")},
        {E::Turnovers, {QStringLiteral("Turnovers")}, QStringLiteral("Turnovers")},
        {E::Rebounds, {QStringLiteral("Rebounds")}, QStringLiteral("Rebounds")},
        {E::Fouls, {QStringLiteral("Fouls")}, QStringLiteral("Fouls")},
        {E::SecondAttackFastBreak, {QStringLiteral("Second Attack / Fast Break")},
         QStringLiteral("Sec. Att./FastBreak")},
        {E::Paint, {QStringLiteral("Points from Paint / Out of Paint")}, QStringLiteral("Points from Paint")},
        {E::StartersBench, {QStringLiteral("Starters/Banch Comparation")}, QStringLiteral("Starters/Banch")},
        {E::BeforeBonus, {QStringLiteral("BEFORE BONUS Report")}, QStringLiteral("BEFORE BONUS")},
        {E::AfterBonus, {QStringLiteral("AFTER BONUS Report")}, QStringLiteral("AFTER BONUS")},
        {E::Select, {QStringLiteral("Select ...")}, QStringLiteral("Select ...")},
    };
    return entries;
}

QString RegularTimeRefusal(ReportEntry entry, const MatchClock &clock)
{
    if (clock.period > RegularPeriods || clock.Ended())
        return {};
    switch (entry) {
    case E::PointsComparison:
        return QStringLiteral("Comparative report is not available! Last period in regular time is not finished!");
    case E::PointsByPlayers:
        return QStringLiteral("Report by players is not available! Last period in regular time is not finished!");
    case E::Select:
        return QStringLiteral("Action is not available! Last period in regular time is not finished!");
    default:
        return {};
    }
}

bool &ReportsInColour()
{
    static bool colour = true;
    return colour;
}

const std::vector<MenuReport> &ReportsMenuBoxes()
{
    static const std::vector<MenuReport> boxes{
        {QStringLiteral("Roster"), E::Roster},
        {QStringLiteral("Basics At the moment"), E::Basic},
        {QStringLiteral("Pts. Comparation"), E::PointsComparison},
        {QStringLiteral("Pts. By players"), E::PointsByPlayers},
        {QStringLiteral("Diagram reports"), E::Diagrams},
        {QStringLiteral("Rebounds"), E::Rebounds},
        {QStringLiteral("Turnovers At the moment"), E::Turnovers},
        {QStringLiteral("Score by Minutes"), E::ScoreByMinutesNormal},
        {QStringLiteral("Result Graphical view"), E::GraphicalView},
        {QStringLiteral("Fouls"), E::Fouls},
        {QStringLiteral("Second Attack / Fast Break"), E::SecondAttackFastBreak},
        {QStringLiteral("Points from Paint"), E::Paint},
        {QStringLiteral("Play By Play"), E::PlayByPlay},
        {QStringLiteral("Starters / Banch Compare"), E::StartersBench},
        {QStringLiteral("BEFORE BONUS"), E::BeforeBonus},
        {QStringLiteral("AFTER BONUS"), E::AfterBonus},
    };
    return boxes;
}

const std::vector<ReportEntry> &ReportsMenuPrintOrder()
{
    static const std::vector<ReportEntry> order{
        E::Roster, E::Rebounds, E::Basic, E::Turnovers, E::PointsComparison, E::PointsByPlayers, E::PlayByPlay,
        E::ScoreByMinutesNormal, E::GraphicalView, E::Diagrams, E::Fouls, E::SecondAttackFastBreak, E::Paint,
        E::StartersBench, E::BeforeBonus, E::AfterBonus};
    return order;
}

const ChooserTexts &TextsOf(ChooserKind kind)
{
    static const auto texts = [](bool turnovers) {
        ChooserTexts t;
        t.caption = turnovers ? QStringLiteral("Turnovers") : QStringLiteral("Basic Report");
        t.options = turnovers ? std::array<QString, 6>{QStringLiteral("At the moment"), QStringLiteral("Until period"),
                                                       QStringLiteral("period only"), QStringLiteral("until overtime"),
                                                       QStringLiteral("overtime only"), QStringLiteral("until minute")}
                              : std::array<QString, 6>{QStringLiteral("At the moment"), QStringLiteral("Until period"),
                                                       QStringLiteral("Period Only"), QStringLiteral("Until overtime"),
                                                       QStringLiteral("Overtime only"), QStringLiteral("Until minute")};
        t.explanations = {
            turnovers ? QStringLiteral("Copmplete report of all players.")
                      : QStringLiteral("Complete report of all players."),
            QStringLiteral("Complete report of all players until defined period, including this period."),
            QStringLiteral("Complete report of all players in defined period."),
            QStringLiteral("Complete report of all players in defined overtime period, including overtime period."),
            QStringLiteral("Complete report of all players in defined overtime period."),
            QStringLiteral("Complete report of all players until defined minute, including this minute.")};
        t.attackTypes = {QStringLiteral("ALL TYPES"), QStringLiteral("NORMAL"), QStringLiteral("SECOND"),
                         QStringLiteral("FAST BREAK")};
        t.defenceTypes = {QStringLiteral("ALL TYPES"), QStringLiteral("MAN TO MAN"), QStringLiteral("ZONE")};
        t.bonusOptions = {turnovers ? QStringLiteral("WHOLE GAME") : QStringLiteral("WHOLE MATCH"),
                          QStringLiteral("BEFORE BONUS"), QStringLiteral("AFTER BONUS")};
        t.show = turnovers ? QStringLiteral("View") : QStringLiteral("Show");
        return t;
    };
    static const ChooserTexts basic = texts(false), turnovers = texts(true);
    return kind == ChooserKind::Basic ? basic : turnovers;
}

QString ParameterCaption(ReportScope scope)
{
    switch (scope) {
    case ReportScope::UntilPeriod:
    case ReportScope::PeriodOnly: return QStringLiteral("Period");
    case ReportScope::UntilOvertime: return QStringLiteral("Overtime");
    case ReportScope::OvertimeOnly: return QStringLiteral("Overtime period");
    case ReportScope::UntilMinute: return QStringLiteral("Minute");
    case ReportScope::AtTheMoment: break;
    }
    return {};
}

std::array<bool, 6> EnabledScopes(const MatchClock &clock)
{
    if (clock.period <= 1)
        return {true, false, false, false, false, clock.minute <= 8};
    // The overtime scopes once an overtime has been played.
    const bool overtime = clock.period >= 6 || (clock.period == 5 && clock.Ended());
    return {true, true, true, overtime, overtime, true};
}

ReportChoice ChoiceOf(ReportScope scope, int parameter, int attackItem, int defenceItem, int bonusItem)
{
    ReportChoice choice{.scope = scope, .parameter = parameter};
    if (attackItem > 0)
        choice.attackType = attackItem - 1;
    if (defenceItem > 0)
        choice.defenceType = defenceItem - 1;
    if (bonusItem > 0)
        choice.afterBonus = bonusItem == 2;
    return choice;
}
