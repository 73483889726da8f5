#include "publish/AtomicFile.h"

#include <QDir>
#include <QSaveFile>

QString SaveAtomically(const QString &fileName, const QByteArray &content)
{
    // Unbuffered, so that a write the disk refuses fails here rather than in
    // a flush that the commit would not notice; a short write is followed by
    // another, which fails with the system's reason.
    QSaveFile file(fileName);
    const auto failed = [&] {
        return QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed();
    for (qint64 written = 0; written < content.size();) {
        const qint64 count = file.write(content.constData() + written, content.size() - written);
        if (count <= 0)
            return failed();
        written += count;
    }
    return file.commit() ? QString() : failed();
}
