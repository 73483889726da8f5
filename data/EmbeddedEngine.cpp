#include "data/EmbeddedEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// The character-set library must be a real copy: through a symbolic link
// the engine reports WIN1250 as not installed.
bool copyIfDifferent(const QString &from, const QString &to)
{
    const QFileInfo source(from), target(to);
    if (target.exists() && target.size() == source.size() && target.lastModified() >= source.lastModified())
        return true;
    QFile::remove(to);
    return QFile::copy(from, to);
}

} // namespace

QString rootDirectory(const QString &dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral(".firebird"));
}

QString prepare(const QString &dataDirectory)
{
    if (!qEnvironmentVariableIsEmpty("FIREBIRD"))
        return QString();

    const QString root = rootDirectory(dataDirectory);
    const QString system = systemRoot();
    if (system.isEmpty())
        return QStringLiteral("The Firebird engine is not installed (no %1/intl/libfbintl.so).")
            .arg(QString::fromLatin1(SystemRoot));

    QDir dir;
    if (!dir.mkpath(root + QStringLiteral("/intl")) || !dir.mkpath(root + QStringLiteral("/lock")) ||
        !dir.mkpath(root + QStringLiteral("/tmp")))
        return QStringLiteral("Can not create directory %1 for the database engine!").arg(root);

    QFile conf(root + QStringLiteral("/firebird.conf"));
    // Classic gives every connection its own page cache, 256 pages unless
    // told: too few for a season's database, which the console reads after
    // every entry.
    const QByteArray settings = "# Written by Quintara: several processes may open one database.\n"
                                "ServerMode = Classic\n"
                                "DefaultDbCachePages = 4096\n";
    if (!conf.exists() || (conf.open(QIODevice::ReadOnly) && conf.readAll() != settings)) {
        conf.close();
        if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate) || conf.write(settings) != settings.size())
            return QStringLiteral("Can not write %1!").arg(conf.fileName());
    }
    conf.close();

    for (const char *file : {"intl/libfbintl.so", "intl/fbintl.conf", "firebird.msg"}) {
        const QString from = system + QLatin1Char('/') + QLatin1String(file);
        if (QFileInfo::exists(from) && !copyIfDifferent(from, root + QLatin1Char('/') + QLatin1String(file)))
            return QStringLiteral("Can not copy %1 to %2!").arg(from, root);
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
