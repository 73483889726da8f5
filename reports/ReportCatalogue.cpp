#include "reports/ReportCatalogue.h"

#include "reports/ReportFrame.h"

#include <algorithm>

using E = ReportEntry;

const std::vector<CatalogueReport> &CatalogueReports()
{
    static const std::vector<CatalogueReport> reports{
        {QStringLiteral("diagrams"), E::Diagrams},
        {QStringLiteral("score-by-minutes"), E::ScoreByMinutesNormal},
        {QStringLiteral("score-by-minutes-details"), E::ScoreByMinutesDetails},
        {QStringLiteral("play-by-play"), E::PlayByPlay},
        {QStringLiteral("graphical-view"), E::GraphicalView},
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
                                               const MatchReportRequest &request)
{
    switch (entry) {
    case E::Diagrams: return {BuildDiagrams(db, request)};
    case E::ScoreByMinutesNormal: return {BuildScoreByMinutes(db, request, false)};
    case E::ScoreByMinutesDetails: return {BuildScoreByMinutes(db, request, true)};
    case E::PlayByPlay: return {BuildPlayByPlay(db, request)};
    case E::GraphicalView: return {BuildTableSummary(db, request), BuildScoreGraph(db, request)};
    default: throw ReportError(QStringLiteral("this version cannot make that report yet"));
    }
}
