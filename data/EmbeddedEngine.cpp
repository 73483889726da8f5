#include "data/EmbeddedEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cstdio>
#include <functional>

namespace EmbeddedEngine {

namespace {

const char *SystemRoot = "/usr/lib/x86_64-linux-gnu/firebird/3.0";

QString systemRoot()
{
    // The client library knows where it was installed; fb_config says so too,
    // but the Debian layout is fixed and avoids running a program at start.
    for (const QString &candidate : {QString::fromLatin1(SystemRoot), QStringLiteral("/usr/lib/firebird/3.0"),
                                     QStringLiteral("/opt/firebird")})
        if (QFileInfo::exists(candidate + QStringLiteral("/intl/libfbintl.so")))
            return candidate;
    return QString();
}

// Puts a file in place whole: written under a temporary name, then renamed.
bool replaceWhole(const QString &target, const std::function<bool(const QString &part)> &write)
{
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (write(part) && ::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    QFile::remove(part);
    return false;
}

// The character-set library must be a real copy: through a symbolic link
// the engine reports WIN1250 as not installed.
bool copyIfDifferent(const QString &from, const QString &to)
{
    const QFileInfo source(from), target(to);
    if (target.exists() && target.size() == source.size() && target.lastModified() >= source.lastModified())
        return true;
    return replaceWhole(to, [&](const QString &part) { return QFile::copy(from, part); });
}

// Classic gives every connection its own page cache, 256 pages unless told:
// too few for a season's database, which the console reads after every entry.
const QByteArray Settings = "# Written by Quintara: several processes may open one database.\n"
                            "ServerMode = Classic\n"
                            "DefaultDbCachePages = 4096\n";

// Makes or mends the engine directory `root`; answers what went wrong.
QString fill(const QString &root, const QString &system)
{
    QDir dir;
    if (!dir.mkpath(root + QStringLiteral("/intl")) || !dir.mkpath(root + QStringLiteral("/lock")) ||
        !dir.mkpath(root + QStringLiteral("/tmp")))
        return QStringLiteral("Can not create directory %1 for the database engine!").arg(root);

    QFile conf(root + QStringLiteral("/firebird.conf"));
    const bool current = conf.open(QIODevice::ReadOnly) && conf.readAll() == Settings;
    conf.close();
    if (!current && !replaceWhole(conf.fileName(), [](const QString &part) {
            QFile file(part);
            return file.open(QIODevice::WriteOnly) && file.write(Settings) == Settings.size() && file.flush();
        }))
        return QStringLiteral("Can not write %1!").arg(conf.fileName());

    for (const char *file : {"intl/libfbintl.so", "intl/fbintl.conf", "firebird.msg"}) {
        const QString from = system + QLatin1Char('/') + QLatin1String(file);
        if (QFileInfo::exists(from) && !copyIfDifferent(from, root + QLatin1Char('/') + QLatin1String(file)))
            return QStringLiteral("Can not copy %1 to %2!").arg(from, root);
    }
    return QString();
}

} // namespace

QString rootDirectory(const QString &home)
{
    return QDir(home).filePath(QStringLiteral(".firebird"));
}

QString prepare(const QString &home)
{
    if (!qEnvironmentVariableIsEmpty("FIREBIRD"))
        return QString();

    const QString root = rootDirectory(home);
    const QString system = systemRoot();
    if (system.isEmpty())
        return QStringLiteral("The Firebird engine is not installed (no %1/intl/libfbintl.so).")
            .arg(QString::fromLatin1(SystemRoot));

    {
        // Two programs started at once on one directory: one sets the engine
        // up, the other waits for it.
        QLockFile setup(root + QStringLiteral(".lock"));
        setup.setStaleLockTime(0);
        setup.lock();
        // A new directory is made whole under a name of its own and then
        // renamed: a start killed midway leaves it complete or absent.
        const QString building = root + QStringLiteral(".new");
        QDir(building).removeRecursively();
        if (!QFileInfo::exists(root)) {
            if (const QString problem = fill(building, system); !problem.isEmpty()) {
                QDir(building).removeRecursively();
                return problem;
            }
            if (::rename(QFile::encodeName(building).constData(), QFile::encodeName(root).constData()) != 0)
                return QStringLiteral("Can not create directory %1 for the database engine!").arg(root);
        } else if (const QString problem = fill(root, system); !problem.isEmpty()) {
            return problem;
        }
    }

    qputenv("FIREBIRD", QFile::encodeName(root));
    // Locks and sort files beside the database too, not in /tmp/firebird
    // and /tmp where the user never looks.
    if (qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
        qputenv("FIREBIRD_LOCK", QFile::encodeName(root + QStringLiteral("/lock")));
    if (qEnvironmentVariableIsEmpty("FIREBIRD_TMP"))
        qputenv("FIREBIRD_TMP", QFile::encodeName(root + QStringLiteral("/tmp")));
    return QString();
}

} // namespace EmbeddedEngine
