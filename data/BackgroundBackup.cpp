#include "data/BackgroundBackup.h"

#include "data/FbService.h"

#include <QFile>

void BackgroundBackup::Start(const QString &databaseLocation, const QString &backupFile,
                             const fb::Credentials &credentials, std::function<void()> beforeEachPiece)
{
    Wait();
    outcome_.reset();
    running_ = std::async(std::launch::async, [=]() -> QString {
        const QString part = backupFile + QStringLiteral(".part");
        try {
            QFile::remove(part);
            fb::Service::backup(databaseLocation, part, credentials, beforeEachPiece);
        } catch (const fb::Error &e) {
            QFile::remove(part);
            return e.text();
        }
        QFile::remove(backupFile);
        if (!QFile::rename(part, backupFile))
            return QStringLiteral("cannot replace %1").arg(backupFile);
        return QString();
    });
}

std::optional<QString> BackgroundBackup::TakeOutcome()
{
    if (running_.valid() && running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        outcome_ = running_.get();
    return std::exchange(outcome_, std::nullopt);
}

void BackgroundBackup::Wait()
{
    if (running_.valid())
        running_.wait();
}
