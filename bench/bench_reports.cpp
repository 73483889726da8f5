// The basic report's cost: the example match (replayed through the console)
// made and written as PDF 20 times with 1 and with 2,001 other matches
// stored (median and maximum; target under 150 ms), and the period picture
// the console saves at a quarter's end while the statistician waits
// (target under 100 ms).
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "publish/AtomicFile.h"
#include "reports/BasicReport.h"
#include "reports/PeriodPicture.h"
#include "reports/ReportRenderer.h"

#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void measure(const char *label, const std::function<void()> &run)
{
    std::vector<double> ms;
    QElapsedTimer one;
    for (int i = 0; i < 20; ++i) {
        one.start();
        run();
        ms.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-52s runs %zu  median %7.2f ms  max %7.2f ms\n", label, ms.size(), ms[ms.size() / 2], ms.back());
}

void measureAll(const char *stored, fb::Connection &db, int match, const QString &directory)
{
    const QString pdf = QDir(directory).filePath(QStringLiteral("basic.pdf"));
    const QString picture = QDir(directory).filePath(QStringLiteral("picture.jpeg"));
    const BasicReportRequest request{.match = match, .choice = {}, .colour = true, .pictureDirectory = {}};
    measure(qPrintable(QStringLiteral("content, %1").arg(QLatin1String(stored))),
            [&] { BuildBasicReport(db, request); });
    measure(qPrintable(QStringLiteral("content and PDF written, %1").arg(QLatin1String(stored))), [&] {
        const QString problem = SaveAtomically(pdf, report::Renderer(BuildBasicReport(db, request)).pdf());
        if (!problem.isEmpty())
            throw std::runtime_error(problem.toStdString());
    });
    measure(qPrintable(QStringLiteral("period picture, %1").arg(QLatin1String(stored))), [&] {
        const QString problem = SavePeriodPicture(db, match, picture, true, QString());
        if (!problem.isEmpty())
            throw std::runtime_error(problem.toStdString());
    });
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const auto module = bench.startModule();
    const int match = bench.replayExample();
    auto &db = module->db();
    measureAll("1 match stored", db, match, bench.directory());
    StoreOtherMatches(db, match, 2000);
    module->RefreshIndexStatistics();
    measureAll("2,001 matches stored", db, match, bench.directory());
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
