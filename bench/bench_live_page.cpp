// The live page's cost: the example match (replayed through the console)
// built and written 50 times with 1 and with 2,001 other matches stored
// (median and maximum; target under 20 ms), and what a writer ticking every
// second beside the console adds to the entries: the example replayed with
// the writer off and with it on, entry latency percentiles side by side
// (target: p99 within 2 ms).
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "matchscript/widgets/MatchReplay.h"
#include "publish/LivePage.h"
#include "publish/LivePageWriter.h"

#include <QDir>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

void reportBuilds(const char *label, fb::Connection &db, int match, const QString &fileName)
{
    std::vector<double> ms;
    QElapsedTimer one;
    for (int i = 0; i < 50; ++i) {
        one.start();
        WriteLivePage(fileName, LivePageBytes(LivePageBuilder(db).build(match)));
        ms.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s builds %zu  median %6.2f ms  max %7.2f ms\n", label, ms.size(), ms[ms.size() / 2], ms.back());
}

// Replays the example; with `writer`, a page writer ticking every second
// beside the console writes the newest match's page meanwhile.
int replay(Tdm &module, const ReplayBench &bench, const char *label, const QString &directory, bool writer)
{
    std::unique_ptr<LivePageWriter> pages;
    int writes = 0;
    if (writer) {
        pages = std::make_unique<LivePageWriter>(
            module.db(),
            [&] {
                ++writes;
                return module.db().scalar(QStringLiteral("SELECT MAX(ID_UTAKMICA) FROM UTAKMICA")).toInt();
            },
            directory);
        pages->setInterval(1000);
    }
    std::vector<double> latencies;
    MatchReplay replay;
    replay.entryPlayed = [&](const ScriptEntry &, qint64 nanoseconds) { latencies.push_back(double(nanoseconds) / 1e6); };
    QElapsedTimer whole;
    whole.start();
    const MatchReplay::Outcome outcome = replay.Run(bench.example());
    if (!outcome.succeeded())
        throw std::runtime_error("the example match was refused");
    ReportLatencies(label, latencies, bench.database());
    std::printf("%-34s %.1f s, %d pages written\n", "  whole replay", double(whole.elapsed()) / 1000.0, writes);
    return outcome.matchId;
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const QString directory = QDir(bench.directory()).filePath(QStringLiteral("live"));
    QDir().mkpath(directory);
    const QString fileName = QDir(directory).filePath(QLatin1String(LivePageFileName));
    const auto module = bench.startModule();
    replay(*module, bench, "entries, no page writer", directory, false);
    const int match = replay(*module, bench, "entries, page writer every 1 s", directory, true);
    replay(*module, bench, "entries, no page writer (again)", directory, false);

    auto &db = module->db();
    reportBuilds("full match, 3 matches stored", db, match, fileName);
    StoreOtherMatches(db, match, 2000);
    module->RefreshIndexStatistics();
    reportBuilds("full match, 2,003 matches stored", db, match, fileName);
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
