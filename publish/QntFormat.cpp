#include "publish/QntFormat.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cmath>
#include <stdexcept>

namespace {

constexpr const char *CodePage = "windows-1250";
constexpr double MillisecondsPerDay = 86400000.0;
const QDate DayZero(1899, 12, 30);

// Text as Windows-1250 bytes; `fits` tells whether every letter had a byte.
QByteArray encode(QStringView text, bool &fits)
{
    // A new converter each time: the error flag of one is not cleared by resetState().
    QStringEncoder converter(CodePage, QStringConverter::Flag::Stateless);
    if (!converter.isValid())
        throw std::runtime_error("this Qt has no Windows-1250 converter (it needs ICU)");
    QByteArray bytes = converter.encode(text);
    fits = !converter.hasError();
    return bytes;
}

// One letter that the code page lacks: its base letter when it has one.
QByteArray nearestLetter(char32_t letter)
{
    QString base;
    for (const QChar c : QString::fromUcs4(&letter, 1).normalized(QString::NormalizationForm_KD))
        if (!c.isMark())
            base += c;
    if (letter == U'ı') // the Turkish dotless i has no decomposition
        base = QStringLiteral("i");
    bool fits = false;
    const QByteArray bytes = encode(base, fits);
    return bytes.isEmpty() || !fits ? QByteArray("?") : bytes;
}

} // namespace

int QntTurnoverGroup(int type)
{
    if (type == 12)
        return QntTurnoverGroup(7);
    if (type == 13)
        return QntTurnoverGroup(5);
    return type >= 1 && type <= QntTurnoverGroupCount ? type - 1 : -1;
}

QByteArray EncodeQntText(const QString &text)
{
    bool fits = false;
    QByteArray bytes = encode(text, fits);
    if (fits)
        return bytes;
    bytes.clear();
    for (const char32_t letter : QStringView(text).toUcs4()) {
        const QByteArray encoded = encode(QString::fromUcs4(&letter, 1), fits);
        bytes += fits ? encoded : nearestLetter(letter);
    }
    return bytes;
}

QString DecodeQntText(const QByteArray &bytes)
{
    QStringDecoder decoder(CodePage);
    return decoder.decode(bytes);
}

double QntDateTime(const QDateTime &when)
{
    if (!when.isValid())
        return 0;
    const double days = double(DayZero.daysTo(when.date()));
    const double fraction = when.time().msecsSinceStartOfDay() / MillisecondsPerDay;
    // Before day zero the time of day still counts forward from midnight.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime QntDateTimeValue(double days)
{
    const double whole = std::trunc(days);
    const qint64 milliseconds = std::llround(std::fabs(days - whole) * MillisecondsPerDay);
    return QDateTime(DayZero.addDays(qint64(whole)), QTime(0, 0)).addMSecs(milliseconds);
}
