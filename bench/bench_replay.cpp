// Latency of the console as a statistician meets it: the example match is
// replayed key by key through the console window (offscreen), once into a
// database holding one other match and once into one holding 2,001; each
// entry is timed from its first key to the console fully updated. Prints
// the per-entry median, 99th percentile and maximum, the whole replay's
// time and the process's peak memory.
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "matchscript/widgets/MatchReplay.h"

#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

MatchReplay::Outcome replay(Tdm &, const MatchScript &script, const char *label, const QString &database)
{
    std::vector<double> latencies;
    std::vector<std::pair<double, QString>> slowest;
    MatchReplay replay;
    replay.entryPlayed = [&](const ScriptEntry &entry, qint64 nanoseconds) {
        latencies.push_back(double(nanoseconds) / 1e6);
        slowest.emplace_back(latencies.back(), QStringLiteral("line %1: %2").arg(entry.line).arg(ScriptLine(entry)));
    };
    QElapsedTimer whole;
    whole.start();
    const MatchReplay::Outcome outcome = replay.Run(script);
    const double seconds = double(whole.elapsed()) / 1000.0;
    if (!outcome.succeeded())
        throw std::runtime_error("the example match was refused");
    ReportLatencies(label, latencies, database);
    std::printf("%-34s %.1f s for %d entries\n", "  whole replay", seconds, outcome.entriesPlayed);
    std::partial_sort(slowest.begin(), slowest.begin() + 3, slowest.end(), std::greater<>());
    for (int i = 0; i < 3; ++i)
        std::printf("%-34s %7.2f ms  %s\n", i == 0 ? "  slowest entries" : "", slowest[size_t(i)].first,
                    qPrintable(slowest[size_t(i)].second));
    return outcome;
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const MatchScript &script = bench.example();
    const QString database = bench.database();
    // Every match is keyed in a fresh start of the program, so each replay
    // has a data module of its own.
    const auto started = [&] { return bench.startModule(); };

    const int first = replay(*started(), script, "(into the empty database)", database).matchId;
    replay(*started(), script, "1 other match in the database", database);
    QElapsedTimer t;
    t.start();
    {
        const auto module = started();
        StoreOtherMatches(module->db(), first, 2000);
        std::printf("(stored 2,000 other matches in %.1f s)\n", double(t.elapsed()) / 1000.0);
        // A season's database has its safety copies from the matches before:
        // a copy then writes only what changed since.
        t.restart();
        for (int copy = 0; copy < 6; ++copy) {
            module->BackupDatabaseFile();
            module->WaitForSafetyCopies();
        }
        std::printf("(its safety copies taken in %.1f s)\n", double(t.elapsed()) / 1000.0);
    }
    replay(*started(), script, "2,002 other matches in the database", database);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %.0f MB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
