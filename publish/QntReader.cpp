#include "publish/QntReader.h"

#include <QBuffer>
#include <QDataStream>
#include <QStringList>

namespace {

// The fewest bytes a record can take: every text empty, every list empty.
class MinimumSize
{
public:
    qint64 bytes = 0;

    void flag(const char *, bool) { bytes += 1; }
    void int16(const char *, qint16) { bytes += 2; }
    void int32(const char *, qint32) { bytes += 4; }
    void dateTime(const char *, double) { bytes += 8; }
    void text(const char *, const QString &) { bytes += 4; }
    template <class Item, class Describe>
    void record(const char *, int, const Item &item, Describe describe)
    {
        describe(*this, item);
    }
    template <class Items, class Describe>
    void list(const char *, const char *, const Items &, Describe)
    {
        bytes += 4;
    }
};

class StreamReader
{
public:
    explicit StreamReader(const QByteArray &bytes) : bytes_(bytes), buffer_(&bytes_)
    {
        buffer_.open(QIODevice::ReadOnly);
        stream_.setDevice(&buffer_);
        stream_.setByteOrder(QDataStream::LittleEndian);
        stream_.setFloatingPointPrecision(QDataStream::DoublePrecision);
    }

    qint64 offset() const { return buffer_.pos(); }
    qint64 left() const { return bytes_.size() - buffer_.pos(); }
    [[noreturn]] void fail(qint64 offset, const QString &reason) const { throw QntReadError{offset, where() + reason}; }

    void flag(const char *name, bool &value)
    {
        const qint64 at = offset();
        const auto byte = number<quint8>(name);
        if (byte > 1)
            fail(at, QStringLiteral("%1 is %2, not 0 or 1").arg(QLatin1String(name)).arg(byte));
        value = byte == 1;
    }
    void int16(const char *name, qint16 &value) { value = number<qint16>(name); }
    void int32(const char *name, qint32 &value) { value = number<qint32>(name); }
    void dateTime(const char *name, double &value) { value = number<double>(name); }
    void text(const char *name, QString &value)
    {
        const qint64 at = offset();
        const auto count = number<qint32>(name);
        if (count < 0 || count > left())
            fail(at, QStringLiteral("%1 claims %2 bytes of text, %3 are left").arg(QLatin1String(name)).arg(count).arg(left()));
        QByteArray raw(count, Qt::Uninitialized);
        stream_.readRawData(raw.data(), count);
        value = DecodeQntText(raw);
    }
    template <class Item, class Describe>
    void record(const char *name, int index, Item &item, Describe describe)
    {
        context_ << (index >= 0 ? QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(index) : QLatin1String(name));
        describe(*this, item);
        context_.removeLast();
    }
    template <class Items, class Describe>
    void list(const char *countName, const char *recordName, Items &items, Describe describe)
    {
        const qint64 at = offset();
        const auto count = number<qint32>(countName);
        MinimumSize least;
        typename Items::value_type sample;
        describe(least, sample);
        if (count < 0 || count > left() / least.bytes)
            fail(at, QStringLiteral("%1 is %2, but the %3 bytes left have room for %4 at most")
                         .arg(QLatin1String(countName))
                         .arg(count)
                         .arg(left())
                         .arg(left() / least.bytes));
        items.resize(size_t(count));
        for (qsizetype i = 0; i < count; ++i)
            record(recordName, int(i + 1), items[size_t(i)], describe);
    }

private:
    QString where() const { return context_.isEmpty() ? QString() : context_.join(u", ") + QStringLiteral(": "); }

    template <class Number>
    Number number(const char *name)
    {
        if (left() < qint64(sizeof(Number)))
            fail(offset(), QStringLiteral("the file ends within %1 (%2 of its %3 bytes are there)")
                               .arg(QLatin1String(name))
                               .arg(left())
                               .arg(sizeof(Number)));
        Number value{};
        stream_ >> value;
        return value;
    }

    QByteArray bytes_;
    QBuffer buffer_;
    QDataStream stream_;
    QStringList context_;
};

// Fields at the top on lines of their own, a record's fields on its line.
class TextPrinter
{
public:
    QStringList lines;

    void flag(const char *name, bool value) { put(name, value ? QStringLiteral("1") : QStringLiteral("0")); }
    void int16(const char *name, qint16 value) { put(name, QString::number(value)); }
    void int32(const char *name, qint32 value) { put(name, QString::number(value)); }
    void dateTime(const char *name, double value)
    {
        put(name, QStringLiteral("%1 (%2)")
                      .arg(value, 0, 'f', 6)
                      .arg(QntDateTimeValue(value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    }
    void text(const char *name, const QString &value) { put(name, u'"' + value + u'"'); }
    template <class Item, class Describe>
    void record(const char *name, int index, const Item &item, Describe describe)
    {
        fields_.clear();
        inRecord_ = true;
        describe(*this, item);
        inRecord_ = false;
        const QString title = index >= 0 ? QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(index) : QLatin1String(name);
        lines << title + QStringLiteral(": ") + fields_.join(QStringLiteral(", "));
    }
    template <class Items, class Describe>
    void list(const char *countName, const char *recordName, const Items &items, Describe describe)
    {
        put(countName, QString::number(items.size()));
        int index = 0;
        for (const auto &item : items)
            record(recordName, ++index, item, describe);
    }

private:
    void put(const char *name, const QString &value)
    {
        if (inRecord_)
            fields_ << QLatin1String(name) + u'=' + value;
        else
            lines << QLatin1String(name) + QStringLiteral(": ") + value;
    }

    QStringList fields_;
    bool inRecord_ = false;
};

} // namespace

std::variant<QntMatch, QntReadError> ReadMatchStream(const QByteArray &bytes)
{
    static const QByteArray Marker = EncodeQntText(QStringLiteral("QNT"));
    StreamReader reader(bytes);
    try {
        const QByteArray expected = QByteArray::fromHex("03000000") + Marker;
        if (!bytes.startsWith(expected))
            reader.fail(0, QStringLiteral("not a match file: it does not begin with the marker \"QNT\" (%1)")
                               .arg(QString::fromLatin1(expected.toHex(' '))));
        QntMatch match;
        DescribeQntMatch(reader, match);
        if (reader.left() > 0)
            reader.fail(reader.offset(), QStringLiteral("%1 bytes follow the last minute record").arg(reader.left()));
        return match;
    } catch (const QntReadError &error) {
        return error;
    }
}

QString QntMatchText(const QntMatch &match)
{
    TextPrinter printer;
    DescribeQntMatch(printer, match);
    return printer.lines.join(u'\n') + u'\n';
}
