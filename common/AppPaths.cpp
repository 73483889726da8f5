#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace AppPaths {

namespace {

QString fromEnvironment(const char *name)
{
    return QString::fromLocal8Bit(qgetenv(name)).trimmed();
}

} // namespace

QString dataDirectory()
{
    const QString home = fromEnvironment("QUINTARA_HOME");
    return QDir::cleanPath(home.isEmpty() ? QCoreApplication::applicationDirPath() : QDir(home).absolutePath());
}

QString dataDirectoryProblem()
{
    const QString directory = QDir::toNativeSeparators(dataDirectory());
    const QString advice = QStringLiteral("\nName a directory you may write to with QUINTARA_HOME.");
    if (!QDir().mkpath(dataDirectory()))
        return QStringLiteral("The data directory %1 does not exist and cannot be made.").arg(directory) + advice;
    QTemporaryFile probe(dataFile(QStringLiteral("write-test-XXXXXX")));
    if (!probe.open())
        return QStringLiteral("The data directory %1 cannot be written: %2.").arg(directory, probe.errorString()) +
               advice;
    return QString();
}

QString exportDirectory()
{
    const QString live = fromEnvironment("QUINTARA_LIVE_DIR");
    return QDir::cleanPath(live.isEmpty() ? dataFile(QStringLiteral("live")) : QDir(live).absolutePath());
}

QString dataFile(const QString &name)
{
    return QDir(dataDirectory()).filePath(name);
}

QString databaseLocation()
{
    const QString location = fromEnvironment("QUINTARA_DATABASE");
    if (location.isEmpty())
        return dataFile(QString::fromLatin1(DatabaseFileName));
    return isServerLocation(location) ? location : QFileInfo(location).absoluteFilePath();
}

QString engineHome()
{
    const QString location = databaseLocation();
    return isServerLocation(location) ? dataDirectory() : QFileInfo(location).absolutePath();
}

bool isServerLocation(const QString &location)
{
    // "host:/path", "host/3050:/path" (a port or service after the host) or
    // "inet://host/path"; before a plain path's first colon there is a slash
    // that no host and port account for.
    static const QRegularExpression server(QStringLiteral("^(inet[46]?://|[^/:]+(/[^/:]+)?:)"));
    return server.match(location).hasMatch();
}

} // namespace AppPaths
