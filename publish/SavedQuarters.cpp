#include "publish/SavedQuarters.h"

#include "common/Transliterate.h"

#include <QDir>

QStringList SavedQuarterFiles(const QString &directory, const QString &homeName, const QString &awayName)
{
    const QString home = Transliterate(homeName), away = Transliterate(awayName);
    QStringList files;
    // Hidden and system files are listed too; only directories are left out.
    const QStringList names = QDir(directory).entryList({QStringLiteral("*.jpeg")},
                                                        QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &name : names)
        if (name.contains(home, Qt::CaseInsensitive) && name.contains(away, Qt::CaseInsensitive))
            files << name;
    return files;
}
