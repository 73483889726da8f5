#include "reports/widgets/ReportDesk.h"

#include "common/Messenger.h"
#include "reports/BasicReport.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportFrame.h"
#include "reports/widgets/ReportChoosers.h"
#include "reports/widgets/ReportPrinting.h"
#include "reports/widgets/ReportsMenu.h"

#include <algorithm>

std::optional<report::Content> MakeBasicReport(const ReportContext &context, const ReportChoice &choice)
{
    try {
        BusyCursor busy;
        return BuildBasicReport(*context.db, {.match = context.match,
                                              .choice = choice,
                                              .colour = ReportsInColour(),
                                              .pictureDirectory = context.pictureDirectory});
    } catch (const ReportError &e) {
        ShowError(QStringLiteral("The report could not be made: %1").arg(e.reason()));
    } catch (const std::exception &e) { // the database's errors among them
        ShowError(QStringLiteral("The report could not be made: %1").arg(QString::fromUtf8(e.what())));
    }
    return std::nullopt;
}

std::vector<report::Content> MakeEntryReports(const ReportContext &context, ReportEntry entry,
                                              bool parametersFromChooser)
{
    try {
        BusyCursor busy;
        return BuildEntryReports(*context.db, entry,
                                 {.match = context.match,
                                  .colour = ReportsInColour(),
                                  .pictureDirectory = context.pictureDirectory},
                                 parametersFromChooser);
    } catch (const ReportError &e) {
        ShowError(QStringLiteral("The report could not be made: %1").arg(e.reason()));
    } catch (const std::exception &e) { // the database's errors among them
        ShowError(QStringLiteral("The report could not be made: %1").arg(QString::fromUtf8(e.what())));
    }
    return {};
}

void OpenReportEntry(QWidget *parent, const ReportContext &context, ReportEntry entry)
{
    if (const QString refusal = RegularTimeRefusal(entry, context.clock); !refusal.isEmpty()) {
        ShowWarning(refusal);
        return;
    }
    switch (entry) {
    case ReportEntry::Basic:
        TBasicRepChooseFrm(context, parent).exec();
        return;
    case ReportEntry::BeforeBonus:
    case ReportEntry::AfterBonus:
        TBasicRepChooseFrm(context, parent, entry == ReportEntry::AfterBonus).exec();
        return;
    case ReportEntry::Turnovers:
        TRep3Dlg(context, parent).exec();
        return;
    case ReportEntry::Select:
        TReportsMenuFrm(context, parent).exec();
        return;
    default:
        // "Graphical View" shows its two reports one preview after the other.
        for (const report::Content &content : MakeEntryReports(context, entry))
            PreviewReport(parent, content);
    }
}

void FastReport(const ReportContext &context, int copies)
{
    if (copies < 1) {
        ShowError(QStringLiteral("Number of copies must be a number greater or equal to 1."));
        return;
    }
    if (std::optional<report::Content> content = MakeBasicReport(context, {}))
        PrintReports({*content}, copies, context.exportDirectory);
}
