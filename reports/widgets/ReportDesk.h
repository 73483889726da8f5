#pragma once
// Where the console's report entries lead: the choosers, the reports menu,
// the previews, "Fast Report" and the refusals, for one stored match.

#include "common/GameClock.h"
#include "reports/ReportChoice.h"
#include "reports/ReportContent.h"
#include "reports/ReportEntries.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace fb {
class Connection;
}

// What a report needs of the console: the match, its clock as it stands,
// and where the league picture and the export directory are.
struct ReportContext
{
    fb::Connection *db = nullptr;
    int match = 0;
    MatchClock clock;
    QString pictureDirectory, exportDirectory;
};

// The basic report of the context's match with a choice, in the colour mode
// of the moment; a failure is shown and answers nothing.
std::optional<report::Content> MakeBasicReport(const ReportContext &context, const ReportChoice &choice);

// The reports of a catalogue entry for the context's match; a failure is
// shown and answers none.
std::vector<report::Content> MakeEntryReports(const ReportContext &context, ReportEntry entry,
                                              bool parametersFromChooser = false);

// Opens what the entry opens, or says why not.
void OpenReportEntry(QWidget *parent, const ReportContext &context, ReportEntry entry);

// The basic report of the match so far, `copies` times, straight to the printer.
void FastReport(const ReportContext &context, int copies);
