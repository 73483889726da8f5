#include "setup/VersionInfo.h"

#include <QStringList>

std::optional<VersionTexts> ReadFileVersion(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    QStringList numbers;
    for (const QString &part : parts) {
        bool ok = false;
        const uint n = part.toUInt(&ok);
        if (!ok || n > 0xFFFF)
            return std::nullopt;
        numbers << QString::number(n);
    }
    const QString v = QStringLiteral("v.");
    return VersionTexts{v + numbers.join(QLatin1Char('.')), v + numbers.mid(0, 3).join(QLatin1Char('.')),
                        v + numbers.mid(0, 2).join(QLatin1Char('.'))};
}

QString ProgramVersion() { return QStringLiteral(QUINTARA_VERSION); }

QString ShownVersion()
{
    const auto texts = ReadFileVersion(ProgramVersion());
    return texts ? texts->mediumText : QString();
}
