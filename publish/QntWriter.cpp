#include "publish/QntWriter.h"

#include <QDataStream>
#include <QIODevice>

namespace {

class StreamWriter
{
public:
    explicit StreamWriter(QIODevice &device) : stream_(&device)
    {
        stream_.setByteOrder(QDataStream::LittleEndian);
        stream_.setFloatingPointPrecision(QDataStream::DoublePrecision);
    }

    void flag(const char *, bool value) { stream_ << quint8(value ? 1 : 0); }
    void int16(const char *, qint16 value) { stream_ << value; }
    void int32(const char *, qint32 value) { stream_ << value; }
    void dateTime(const char *, double value) { stream_ << value; }
    void text(const char *, const QString &value)
    {
        const QByteArray bytes = EncodeQntText(value);
        stream_ << qint32(bytes.size());
        stream_.writeRawData(bytes.constData(), int(bytes.size()));
    }
    template <class Item, class Describe>
    void record(const char *, int, const Item &item, Describe describe)
    {
        describe(*this, item);
    }
    template <class Items, class Describe>
    void list(const char *, const char *, const Items &items, Describe describe)
    {
        stream_ << qint32(items.size());
        for (const auto &item : items)
            describe(*this, item);
    }

private:
    QDataStream stream_;
};

} // namespace

void WriteMatchStream(QIODevice &device, const QntMatch &match)
{
    StreamWriter writer(device);
    DescribeQntMatch(writer, match);
}

QByteArray EventLogText(const QntMatch &match)
{
    QByteArray log;
    for (const QntEvent &e : match.events)
        log += QStringLiteral("A0 %1 ; A1 %2 ; RES %3 ; A3 %4 ; A4 %5 ; \r\n")
                   .arg(e.side)
                   .arg(e.player)
                   .arg(e.code)
                   .arg(e.parameter)
                   .arg(e.minute)
                   .toLatin1();
    return log;
}
