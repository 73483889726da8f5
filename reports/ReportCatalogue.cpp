#include "reports/ReportCatalogue.h"

#include "reports/PlayerReports.h"
#include "reports/ReportFrame.h"

#include <algorithm>

using E = ReportEntry;

const std::vector<CatalogueReport> &CatalogueReports()
{
    static const std::vector<CatalogueReport> reports{
        {QStringLiteral("roster"), E::Roster},
        {QStringLiteral("diagrams"), E::Diagrams},
        {QStringLiteral("points-comparison"), E::PointsComparison},
        {QStringLiteral("points-by-players"), E::PointsByPlayers},
        {QStringLiteral("score-by-minutes"), E::ScoreByMinutesNormal},
        {QStringLiteral("score-by-minutes-details"), E::ScoreByMinutesDetails},
        {QStringLiteral("play-by-play"), E::PlayByPlay},
        {QStringLiteral("graphical-view"), E::GraphicalView},
        {QStringLiteral("turnovers"), E::Turnovers},
        {QStringLiteral("rebounds"), E::Rebounds},
        {QStringLiteral("fouls"), E::Fouls},
        {QStringLiteral("second-attack-fast-break"), E::SecondAttackFastBreak},
        {QStringLiteral("paint"), E::Paint},
        {QStringLiteral("starters-bench"), E::StartersBench},
    };
    return reports;
}

bool InCatalogue(ReportEntry entry)
{
    return std::ranges::find(CatalogueReports(), entry, &CatalogueReport::entry) != CatalogueReports().end();
}

bool CatalogueEntry(const QString &name, ReportEntry &entry)
{
    const auto found = std::ranges::find(CatalogueReports(), name, &CatalogueReport::name);
    if (found == CatalogueReports().end())
        return false;
    entry = found->entry;
    return true;
}

std::vector<report::Content> BuildEntryReports(fb::Connection &db, ReportEntry entry,
                                               const MatchReportRequest &request, bool parametersFromChooser)
{
    switch (entry) {
    case E::Roster: return {BuildRoster(db, request)};
    case E::PointsComparison: return {BuildPointsComparison(db, request)};
    case E::PointsByPlayers: return {BuildPointsByPlayers(db, request)};
    case E::Turnovers: return {BuildTurnovers(db, request, TurnoversFilter(), parametersFromChooser)};
    case E::Rebounds: return {BuildRebounds(db, request)};
    case E::Fouls: return {BuildFouls(db, request)};
    case E::SecondAttackFastBreak: return {BuildSecondAttackFastBreak(db, request)};
    case E::Paint: return {BuildPaint(db, request)};
    case E::StartersBench: return {BuildStartersBench(db, request)};
    case E::Diagrams: return {BuildDiagrams(db, request)};
    case E::ScoreByMinutesNormal: return {BuildScoreByMinutes(db, request, false)};
    case E::ScoreByMinutesDetails: return {BuildScoreByMinutes(db, request, true)};
    case E::PlayByPlay: return {BuildPlayByPlay(db, request)};
    case E::GraphicalView: return {BuildTableSummary(db, request), BuildScoreGraph(db, request)};
    default: throw ReportError(QStringLiteral("this version cannot make that report yet"));
    }
}
