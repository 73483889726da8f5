#pragma once
// Keeps the live page file of the open match fresh: rebuilt and written every
// 15 seconds for as long as the writer lives (its timer also fires while a
// modal dialog runs its own event loop), at once when asked, and within a
// second when a period or the match has ended, so the final page does not
// wait for the next tick. A write that fails is reported once, with the path
// and the system's reason, and tried again at every tick; a directory that
// comes back makes the page appear without a restart.

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace fb {
class Connection;
}

class LivePageWriter final : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 15000;
    static constexpr int SoonMs = 500;

    // `match` answers the open match, or a number below 1 while none is open.
    LivePageWriter(fb::Connection &db, std::function<int()> match, const QString &directory,
                   QObject *parent = nullptr);

    QString fileName() const { return fileName_; }
    // The tick's interval; the benchmark shortens it.
    void setInterval(int ms) { tick_.setInterval(ms); }

    // Builds and writes the page now; answers whether it was written.
    bool writeNow();
    // Writes within SoonMs; requests until then are one write.
    void writeSoon()
    {
        if (!soon_.isActive())
            soon_.start();
    }

signals:
    // After every successful write, with the bytes written.
    void pageWritten(const QByteArray &page);

private:
    fb::Connection &db_;
    std::function<int()> match_;
    QString fileName_;
    QTimer tick_, soon_;
    bool failing_ = false;
};
