// What the match on the web costs the statistician, and how soon viewers
// see an entry: the example match replayed through the console (which writes
// the live page within a second of every change) with the web server off,
// on without viewers, and on with 50 viewers on the push channel, read on a
// thread of their own as browsers elsewhere would. Prints the entry latency
// percentiles of each run (target: p99 within 2 ms of the run without the
// server) and, with viewers, the time from an entry's commit to the arrival
// of the first page pushed after it (median and maximum; target: median
// under 250 ms).
#include "BenchSupport.h"
#include "ReplayBench.h"
#include "common/AppPaths.h"
#include "data/DataModule.h"
#include "matchscript/widgets/MatchReplay.h"
#include "publish/LiveServer.h"

#include <QApplication>
#include <QDir>
#include <QMutex>
#include <QTcpSocket>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

qint64 Now()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Viewers on the push channel; each page's arrival time is noted once, when the first viewer has it.
class Viewers : public QObject
{
public:
    void open(quint16 port, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto *socket = new QTcpSocket(this);
            auto pages = std::make_shared<qsizetype>(0);
            connect(socket, &QTcpSocket::connected, socket,
                    [socket] { socket->write("GET /live HTTP/1.1\r\nHost: localhost\r\n\r\n"); });
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, pages] {
                const qsizetype now = (*pages += socket->readAll().count("\n\n"));
                QMutexLocker lock(&mutex_);
                while (qsizetype(arrivals_.size()) < now)
                    arrivals_.push_back(Now());
            });
            socket->connectToHost(QHostAddress::LocalHost, port);
        }
    }
    std::vector<qint64> arrivals()
    {
        QMutexLocker lock(&mutex_);
        return arrivals_;
    }

private:
    QMutex mutex_;
    std::vector<qint64> arrivals_;
};

LiveServer *ConsoleServer()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *server = w->findChild<LiveServer *>())
            return server;
    return nullptr;
}

void Replay(const ReplayBench &bench, const char *label, const char *listen, int viewerCount)
{
    qputenv("QUINTARA_LIVE_LISTEN", listen);
    const auto module = bench.startModule();
    QThread viewerThread;
    Viewers viewers;
    viewers.moveToThread(&viewerThread);
    viewerThread.start();
    bool connected = viewerCount == 0;
    std::vector<double> latencies;
    std::vector<qint64> commits;
    MatchReplay replay;
    replay.entryPlayed = [&](const ScriptEntry &, qint64 nanoseconds) {
        latencies.push_back(double(nanoseconds) / 1e6);
        commits.push_back(Now());
        if (connected)
            return;
        if (LiveServer *server = ConsoleServer()) {
            const quint16 port = server->port();
            QMetaObject::invokeMethod(&viewers, [&viewers, port, viewerCount] { viewers.open(port, viewerCount); });
            connected = true;
        }
    };
    const MatchReplay::Outcome outcome = replay.Run(bench.example());
    if (!outcome.succeeded())
        throw std::runtime_error("the example match was refused");
    ReportLatencies(label, latencies, bench.database());
    viewerThread.quit();
    viewerThread.wait();
    if (viewerCount == 0)
        return;
    // Each entry's commit to the first page that reached a viewer after it.
    const std::vector<qint64> arrivals = viewers.arrivals();
    std::vector<double> delays;
    for (const qint64 commit : commits) {
        const auto next = std::upper_bound(arrivals.begin(), arrivals.end(), commit);
        if (next != arrivals.end())
            delays.push_back(double(*next - commit) / 1000.0);
    }
    std::sort(delays.begin(), delays.end());
    if (delays.empty())
        throw std::runtime_error("no page reached the viewers");
    std::printf("%-34s pages %zu  entries seen %zu  median %6.1f ms  max %7.1f ms\n", "  commit to push arrival",
                arrivals.size(), delays.size(), delays[delays.size() / 2], delays.back());
}

} // namespace

int main(int argc, char **argv)
try {
    const ReplayBench bench(argc, argv);
    const QString live = QDir(bench.directory()).filePath(QStringLiteral("live"));
    QDir().mkpath(live);
    qputenv("QUINTARA_LIVE_DIR", live.toLocal8Bit());
    AppPaths::ExportDirectoryReady = true;
    Replay(bench, "server off", "off", 0);
    Replay(bench, "server on, no viewers", "127.0.0.1:0", 0);
    Replay(bench, "server on, 50 viewers", "127.0.0.1:0", 50);
    Replay(bench, "server off (again)", "off", 0);
    return 0;
} catch (const std::exception &e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
