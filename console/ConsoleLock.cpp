#include "console/ConsoleLock.h"

#include "common/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QLockFile>

#include <map>

namespace {

QString lockFileName(const QString &databaseLocation, const QString &dataDirectory)
{
    // A database on a server is locked for the consoles of this computer only.
    const QString database = AppPaths::isServerLocation(databaseLocation)
                                 ? QDir(dataDirectory).filePath(QString::fromLatin1(AppPaths::DatabaseFileName))
                                 : QFileInfo(databaseLocation).absoluteFilePath();
    return database + QStringLiteral(".console.lock");
}

} // namespace

std::shared_ptr<QLockFile> ConsoleLock::Take(const QString &databaseLocation, const QString &dataDirectory)
{
    static std::map<QString, std::weak_ptr<QLockFile>> held;
    const QString name = lockFileName(databaseLocation, dataDirectory);
    if (auto lock = held[name].lock())
        return lock;
    auto lock = std::make_shared<QLockFile>(name);
    lock->setStaleLockTime(0); // held for as long as the console is open
    if (!lock->tryLock(0))
        return nullptr;
    held[name] = lock;
    return lock;
}

QString ConsoleLock::InUseMessage(const QString &databaseLocation, const QString &dataDirectory)
{
    QLockFile lock(lockFileName(databaseLocation, dataDirectory));
    qint64 pid = 0;
    QString host, application;
    QString holder;
    if (lock.getLockInfo(&pid, &host, &application))
        holder = host.isEmpty() || host == QSysInfo::machineHostName()
                     ? QStringLiteral(" (process %1 on this computer)").arg(pid)
                     : QStringLiteral(" (on the computer %1, process %2)").arg(host).arg(pid);
    return QStringLiteral("The database %1 is in use by another console%2. One console records at a time: "
                          "close the other console first.")
        .arg(QDir::toNativeSeparators(databaseLocation), holder);
}
