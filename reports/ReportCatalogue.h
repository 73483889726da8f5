#pragma once
// The reports of the family besides the basic report, by console entry and
// by the name --report takes: one place that says which content class an
// entry, the reports menu and the command line make.

#include "reports/ReportContent.h"
#include "reports/ReportEntries.h"
#include "reports/ScoreFlow.h"

#include <QString>

#include <vector>

namespace fb {
class Connection;
}

struct CatalogueReport
{
    QString name; // as --report takes it
    ReportEntry entry;
};

// In the order of the console's menu.
const std::vector<CatalogueReport> &CatalogueReports();
bool InCatalogue(ReportEntry entry);
// The name's entry; false when the catalogue has no such name.
bool CatalogueEntry(const QString &name, ReportEntry &entry);

// What the entry prints: one report, or the table summary and the score
// graph for "Graphical View". The turnovers report counts what the last
// "View" of its chooser chose (TurnoversFilter), and prints that choice
// when `parametersFromChooser`. Raises ReportError for a match that does
// not exist and for an entry outside the catalogue.
std::vector<report::Content> BuildEntryReports(fb::Connection &db, ReportEntry entry,
                                               const MatchReportRequest &request,
                                               bool parametersFromChooser = false);
