// Start-up and safety-copy figures: cold start to the main window shown,
// creation of the database on first start, and one safety copy of a small
// and of a large database.
#include "common/Messenger.h"
#include "data/EmbeddedEngine.h"
#include "data/FbClient.h"
#include "data/DataModule.h"
#include "setup/widgets/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double fileMegabytes(const QString &path) { return double(QFileInfo(path).size()) / (1024.0 * 1024.0); }

// Grows the database with club emblems until it holds about `megabytes`.
void growDatabase(Tdm &module, int megabytes)
{
    const QByteArray emblem(1024 * 1024, 'x');
    auto &db = module.db();
    fb::Query insert(db, QStringLiteral("insert into KLUB (NAZIV, AMBLEM) values (?, ?)"));
    for (int i = 0; fileMegabytes(module.options().databaseLocation) < megabytes; ++i) {
        insert.exec({QStringLiteral("Club %1").arg(i), emblem});
        if (i % 20 == 19)
            db.commitRetaining();
    }
    db.commitRetaining();
}

void measureBackup(Tdm &module, const char *label)
{
    std::vector<double> calls, copies;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        module.BackupDatabaseFile();
        calls.push_back(double(t.nsecsElapsed()) / 1e6);
        module.WaitForSafetyCopies();
        copies.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("%-44s %8.1f ms to return, %.1f ms until the copy is written (median of 5, database %.1f MB)\n",
                label, median(calls), median(copies), fileMegabytes(module.options().databaseLocation));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    EmbeddedEngine::prepare(dir.path());
    const Tdm::Options options{QDir(dir.path()).filePath(QStringLiteral("QNDB.FDB")), dir.path()};
    qputenv("QUINTARA_HOME", dir.path().toLocal8Bit());

    // First start: the database is created with its whole schema.
    {
        QElapsedTimer t;
        t.start();
        Tdm module(options);
        module.Start();
        std::printf("%-44s %8.1f ms\n", "first start, database creation", double(t.nsecsElapsed()) / 1e6);
    }

    // Start with an existing database, up to the main window on screen.
    {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            TMainFrm window;
            Tdm module(options);
            module.Start();
            window.show();
            if (!QTest::qWaitForWindowExposed(&window))
                return 1;
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("%-44s %8.1f ms (median of 5, in process)\n", "start to main window shown", median(times));
    }

    // The same from a cold process, as a statistician starts it.
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("quintara"));
    if (QFileInfo::exists(program)) {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            QProcess process;
            process.start(program, {QStringLiteral("--startup-time")});
            process.waitForFinished(60000);
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::printf("%-44s %8.1f ms (median of 5, new process)\n", "cold start to main window shown", median(times));
    }

    {
        Tdm module(options);
        module.Start();
        measureBackup(module, "safety copy, small database");
        growDatabase(module, 200);
        measureBackup(module, "safety copy, large database");
    }
    return 0;
}
