// The match export's speed: the example match (replayed through the console)
// exported again and again, then every match of a database holding 2,001
// copies of it exported as --export-all does. Prints the time per match
// (median and maximum) and the whole run's time. Target: under 50 ms a match.
#include "BenchSupport.h"
#include "console/widgets/Pickers.h"
#include "data/DataModule.h"
#include "data/EmbeddedEngine.h"
#include "matchscript/MatchScript.h"
#include "matchscript/widgets/MatchReplay.h"
#include "publish/MatchExport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFile file(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("no example match");
    const auto parsed = ParseMatchScript(QString::fromUtf8(file.readAll()));

    QTemporaryDir dir;
    EmbeddedEngine::prepare(dir.path());
    const QString database = QDir(dir.path()).filePath(QStringLiteral("QNDB.FDB"));
    TShootPosFrm zonePicker;
    TTurnoverTypesFrm turnoverPicker;
    TPFTypesFrm foulPicker;
    Pickers() = {&zonePicker, &turnoverPicker, &foulPicker};
    Tdm module(Tdm::Options{database, dir.path()});
    if (!module.Start() || !module.connected())
        throw std::runtime_error("the database did not open");
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    if (!outcome.succeeded())
        throw std::runtime_error("the example match was refused");
    auto &db = module.db();
    const QString out = QDir(dir.path()).filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    std::vector<double> times;
    QElapsedTimer whole, one;
    whole.start();
    for (int i = 0; i < 50; ++i) {
        one.start();
        ExportMatch(db, outcome.matchId, QDir(out).filePath(QStringLiteral("example.qnt")), dir.path());
        times.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    report("one full match, exported 50 times", times, double(whole.elapsed()) / 1000.0);

    StoreOtherMatches(db, outcome.matchId, 2000);
    module.RefreshIndexStatistics();
    times.clear();
    int failed = 0;
    whole.start();
    one.start();
    ExportAllMatches(db, out, dir.path(), [&](const ExportedFile &exported) {
        failed += exported.error.isEmpty() ? 0 : 1;
        times.push_back(double(one.nsecsElapsed()) / 1e6);
        one.start();
    });
    report("--export-all of 2,001 stored matches", times, double(whole.elapsed()) / 1000.0);
    std::printf("%d failed; %lld files; database %.0f MB\n", failed,
                qlonglong(QDir(out).entryList(QDir::Files).size()), double(QFileInfo(database).size()) / 1048576.0);
    Pickers() = {};
    return failed == 0 ? 0 : 1;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
