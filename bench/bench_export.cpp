// The match export's speed: the example match (replayed through the console)
// exported again and again, then every match of a database holding 2,001
// copies of it exported as --export-all does. Prints the time per match
// (median and maximum) and the whole run's time. Target: under 50 ms a match.
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "publish/MatchExport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void report(const char *label, std::vector<double> ms, double totalSeconds)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-36s matches %5zu  median %6.2f ms  max %7.2f ms  total %7.2f s\n", label, ms.size(),
                ms[ms.size() / 2], ms.back(), totalSeconds);
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const auto module = bench.startModule();
    const int match = bench.replayExample();
    auto &db = module->db();
    const QString out = QDir(bench.directory()).filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    std::vector<double> times;
    QElapsedTimer whole, one;
    whole.start();
    for (int i = 0; i < 50; ++i) {
        one.start();
        ExportMatch(db, match, QDir(out).filePath(QStringLiteral("example.qnt")), bench.directory());
        times.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    report("one full match, exported 50 times", times, double(whole.elapsed()) / 1000.0);

    StoreOtherMatches(db, match, 2000);
    module->RefreshIndexStatistics();
    times.clear();
    int failed = 0;
    whole.start();
    one.start();
    ExportAllMatches(db, out, bench.directory(), [&](const ExportedFile &exported) {
        failed += exported.error.isEmpty() ? 0 : 1;
        times.push_back(double(one.nsecsElapsed()) / 1e6);
        one.start();
    });
    report("--export-all of 2,001 stored matches", times, double(whole.elapsed()) / 1000.0);
    std::printf("%d failed; %lld files; database %.0f MB\n", failed, qlonglong(QDir(out).entryList(QDir::Files).size()),
                double(QFileInfo(bench.database()).size()) / 1048576.0);
    return failed == 0 ? 0 : 1;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
