// The family's reports of the example match (replayed through the console):
// content built and painted to PDF, 20 runs a report (median and maximum;
// target under 300 ms), and every report of the reports menu together into
// one PDF (target under 2 s), with 1 and with 2,001 other matches stored.
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "reports/BasicReport.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRenderer.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void reportTimes(fb::Connection &db, int match, const char *stored)
{
    std::printf("%s\n", stored);
    const MatchReportRequest request{.match = match, .colour = true, .pictureDirectory = {}};
    for (const CatalogueReport &r : CatalogueReports()) {
        std::vector<double> content, pdf;
        QElapsedTimer timer;
        for (int run = 0; run < 20; ++run) {
            timer.start();
            const std::vector<report::Content> reports = BuildEntryReports(db, r.entry, request);
            content.push_back(double(timer.nsecsElapsed()) / 1e6);
            report::PdfOf(reports);
            pdf.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::ranges::sort(content);
        std::ranges::sort(pdf);
        std::printf("  %-26s content median %7.1f ms   with PDF median %7.1f ms  max %7.1f ms\n",
                    qPrintable(r.name), content[content.size() / 2], pdf[pdf.size() / 2], pdf.back());
    }
    // "Select all" of the reports menu: every report once, the basic report
    // three times (at the moment, before and after the bonus), one PDF.
    std::vector<double> menu;
    QElapsedTimer timer;
    for (int run = 0; run < 5; ++run) {
        timer.start();
        std::vector<report::Content> reports;
        for (const CatalogueReport &r : CatalogueReports())
            if (r.entry != ReportEntry::ScoreByMinutesDetails)
                for (report::Content &c : BuildEntryReports(db, r.entry, request))
                    reports.push_back(std::move(c));
        for (std::optional<bool> bonus : {std::optional<bool>(), std::optional<bool>(false), std::optional<bool>(true)})
            reports.push_back(BuildBasicReport(db, {.match = match, .choice = {.afterBonus = bonus}}));
        report::PdfOf(reports);
        menu.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::ranges::sort(menu);
    std::printf("  %-26s median %7.1f ms  max %7.1f ms\n", "whole menu to one PDF", menu[menu.size() / 2],
                menu.back());
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const auto module = bench.startModule();
    const int match = bench.replayExample();
    auto &db = module->db();
    reportTimes(db, match, "full match, 1 match stored");
    StoreOtherMatches(db, match, 2000);
    module->RefreshIndexStatistics();
    reportTimes(db, match, "full match, 2,001 matches stored");
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
