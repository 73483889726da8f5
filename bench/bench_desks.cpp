// Several desks keying at once into one database: 1, 2 and 4 desks, each a
// process of its own replaying the example match key by key through the
// console window, into one embedded file and into one database on a private
// Firebird server (scripts/fbserver.sh, port 3098). Prints each desk's
// per-entry median, 99th percentile and maximum.
//
//   bench_desks                      all of it
//   bench_desks --desk LOCATION DIR  one desk (run by the above)
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "data/DataModule.h"
#include "data/EmbeddedEngine.h"
#include "data/FbService.h"
#include "matchscript/widgets/MatchReplay.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

const int ServerPort = 3098;

// One desk: the example match keyed into the database at `location`; the
// figures go to standard output.
int keyOneMatch(int argc, char **argv)
{
    const QString location = QString::fromLocal8Bit(argv[2]), home = QString::fromLocal8Bit(argv[3]);
    // A shared file's engine locks live beside it, as the program keeps them.
    if (!location.contains(QLatin1Char(':')))
        EmbeddedEngine::prepare(QFileInfo(location).absolutePath());
    const ReplayBench bench(argc, argv);
    Tdm module({location, home});
    if (!module.Start() || !module.connected())
        throw std::runtime_error("the database did not open");
    std::vector<double> latencies;
    MatchReplay replay;
    replay.entryPlayed = [&](const ScriptEntry &, qint64 nanoseconds) { latencies.push_back(double(nanoseconds) / 1e6); };
    if (!replay.Run(bench.example()).succeeded())
        throw std::runtime_error("the example match was refused");
    // The private server's file is on this machine too.
    ReportLatencies("  desk", latencies, location.section(QLatin1Char(':'), -1));
    return 0;
}

QString runScript(const QStringList &arguments)
{
    QProcess script;
    script.start(QStringLiteral(QUINTARA_SOURCE_DIR "/scripts/fbserver.sh"), arguments);
    if (!script.waitForFinished(60000) || script.exitCode() != 0)
        throw std::runtime_error("fbserver.sh " + arguments.join(QLatin1Char(' ')).toStdString() + " failed: " +
                                 script.readAllStandardError().toStdString());
    return QString::fromUtf8(script.readAllStandardOutput());
}

// `desks` desks at once into `location`; their figures printed as they come.
void keyAtOnce(const QString &location, int desks, const QString &program)
{
    std::vector<std::unique_ptr<QProcess>> running;
    std::vector<std::unique_ptr<QTemporaryDir>> homes;
    for (int i = 0; i < desks; ++i) {
        homes.push_back(std::make_unique<QTemporaryDir>());
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"FIREBIRD", "FIREBIRD_LOCK", "FIREBIRD_TMP"})
            environment.remove(QString::fromLatin1(name));
        process->setProcessEnvironment(environment);
        process->start(program, {QStringLiteral("--desk"), location, homes.back()->path()});
        running.push_back(std::move(process));
    }
    for (int i = 0; i < desks; ++i) {
        QProcess &desk = *running[size_t(i)];
        if (!desk.waitForFinished(600000) || desk.exitCode() != 0)
            throw std::runtime_error("a desk failed: " + desk.readAllStandardError().toStdString());
        const QString figures = QString::fromUtf8(desk.readAllStandardOutput()).trimmed();
        std::printf("  %d desk%s, desk %d: %s\n", desks, desks == 1 ? "" : "s", i + 1,
                    qPrintable(figures.section(QLatin1Char('\n'), 0, 0).simplified()));
    }
}

int all(int argc, char **argv)
{
    const QString program = QString::fromLocal8Bit(argv[0]);
    QTemporaryDir work;
    // The league's database before the round: its clubs and players, from
    // one replay of the example match.
    const QString seed = QDir(work.path()).filePath(QStringLiteral("seed/QNDB.FDB"));
    QDir().mkpath(QFileInfo(seed).absolutePath());
    {
        EmbeddedEngine::prepare(QFileInfo(seed).absolutePath());
        const ReplayBench bench(argc, argv);
        Tdm module({seed, QFileInfo(seed).absolutePath()});
        if (!module.Start() || !module.connected())
            throw std::runtime_error("the seed database did not open");
        bench.replayExample();
    }
    const QString backup = QDir(work.path()).filePath(QStringLiteral("seed.gbk"));
    const fb::Credentials local{QStringLiteral("SYSDBA"), Tdm::PasswordCandidates.first()};
    fb::Service::backup(seed, backup, local);

    const QString serverDir = QDir(work.path()).filePath(QStringLiteral("server"));
    runScript({QStringLiteral("start"), serverDir, QString::number(ServerPort), Tdm::PasswordCandidates.first()});
    try {
        for (int desks : {1, 2, 4}) {
            const QString file = QDir(work.path()).filePath(QStringLiteral("embedded-%1/QNDB.FDB").arg(desks));
            QDir().mkpath(QFileInfo(file).absolutePath());
            fb::Service::restore(backup, file, local);
            std::printf("one embedded file:\n");
            keyAtOnce(file, desks, program);
            const QString onServer =
                QStringLiteral("localhost/%1:%2/desks-%3.fdb").arg(ServerPort).arg(serverDir).arg(desks);
            fb::Service::restore(backup, onServer, local);
            std::printf("one server database:\n");
            keyAtOnce(onServer, desks, program);
        }
    } catch (...) {
        runScript({QStringLiteral("stop"), serverDir});
        throw;
    }
    runScript({QStringLiteral("stop"), serverDir});
    return 0;
}

} // namespace

int main(int argc, char **argv)
try {
    if (argc == 4 && qstrcmp(argv[1], "--desk") == 0)
        return keyOneMatch(argc, argv);
    return all(argc, argv);
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
