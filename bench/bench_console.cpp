// Event latency of the console, from a complete entry to the console fully
// updated: the rules engine's check, the event record, plus-minus, the
// box-score rebuild, the event log and the safety copy. A whole generated
// match is keyed in a database holding 1 match and holding 2,000 stored
// matches besides.
#include "BenchSupport.h"
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/EmbeddedEngine.h"
#include "data/FbClient.h"
#include "data/DataModule.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesDesk.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Played
{
    std::vector<double> latencies;   // ms per recorded event
    std::vector<double> housekeeping; // ms between events: the safety copy's state changes
    int match = 0;
};

Played playMatch(Tdm &module, quint32 seed)
{
    rules::Desk desk(module.db());
    Played played;
    played.match = desk.createMatch();
    MatchSession session(module);
    session.ResetWorkingTables();
    session.OpenExistingMatch(played.match);
    session.ResetShowingState();
    rules::Model model(rules::homeNumbers(), rules::awayNumbers());
    rules::MatchGenerator generator(seed, {});
    while (const auto e = generator.next(model)) {
        QElapsedTimer t;
        t.start();
        const int result = session.Record({e->a0, e->a1, e->code, e->a3, 30});
        if (!MatchSession::Recorded(e->code, result))
            continue;
        // What the console shows after every event.
        session.BoxScore();
        session.EventLogLines();
        session.Score();
        played.latencies.push_back(double(t.nsecsElapsed()) / 1e6);
        model.apply(*e);
        // Between two entries the safety copy finishes and the next one starts.
        t.restart();
        module.PollSafetyCopies();
        played.housekeeping.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    module.WaitForSafetyCopies();
    return played;
}

} // namespace

int main(int argc, char **argv)
try {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    EmbeddedEngine::prepare(dir.path());
    const QString database = QDir(dir.path()).filePath(QStringLiteral("QNDB.FDB"));
    Tdm module({database, dir.path()});
    if (!module.Start() || !module.connected())
        return 1;

    const Played first = playMatch(module, 1);
    ReportLatencies("1 match in the database", first.latencies, database);
    ReportLatencies("  between entries", first.housekeeping, database);

    QElapsedTimer t;
    t.start();
    StoreOtherMatches(module.db(), first.match, 2000);
    std::printf("(stored 2,000 other matches in %.1f s)\n", double(t.elapsed()) / 1000.0);
    CurrentMatch().reset();
    const Played second = playMatch(module, 1);
    ReportLatencies("2,001 matches in the database", second.latencies, database);
    ReportLatencies("  between entries", second.housekeeping, database);
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
