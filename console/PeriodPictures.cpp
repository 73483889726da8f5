#include "console/PeriodPictures.h"

#include "common/Transliterate.h"

#include <QDir>
#include <QFileInfo>

QString PeriodSnapshotFileName(const QString &directory, int matchId, const QString &homeName,
                               const QString &awayName, int period)
{
    const QString stem = QStringLiteral("%1_%2_VS_%3_Period_").arg(matchId).arg(Transliterate(homeName),
                                                                         Transliterate(awayName));
    const QDir dir(directory);
    // The period that has just ended; a name already taken moves on to the next free number.
    QString name = dir.filePath(QStringLiteral("%1%2.jpeg").arg(stem).arg(period - 1));
    for (int n = period; QFileInfo::exists(name); ++n)
        name = dir.filePath(QStringLiteral("%1%2.jpeg").arg(stem).arg(n));
    return name;
}
