#pragma once
// Keeps the live page file of the open match fresh: rebuilt and written every
// 15 seconds for as long as the writer lives (its timer also fires while a
// modal dialog runs its own event loop), at once when asked, and within a
// second after a change of the match. The page is built and written on a
// worker thread over a database connection of its own, so keying never
// waits for it; requests while a build runs become one more build after it.
// A write that fails is reported once, with the path and the system's
// reason, and tried again at every tick; a directory that comes back makes
// the page appear without a restart.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QThread>
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
    static constexpr int SoonMs = 200;

    // `match` answers the open match, or a number below 1 while none is open.
    // The worker attaches to the database `db` is attached to.
    LivePageWriter(fb::Connection &db, std::function<int()> match, const QString &directory,
                   QObject *parent = nullptr);
    // Waits for a build that runs, then closes the worker's connection.
    ~LivePageWriter() override;

    QString fileName() const { return fileName_; }
    // The tick's interval; the benchmark shortens it.
    void setInterval(int ms) { tick_.setInterval(ms); }

    // Starts a build now, or one more after the build that runs.
    void write();
    // Writes within SoonMs; requests until then are one write.
    void writeSoon()
    {
        if (!soon_.isActive())
            soon_.start();
    }

signals:
    // After every successful write, with the bytes written.
    void pageWritten(const QByteArray &page);
    // To the worker: build the page of `match` and write it to `fileName`.
    void buildRequested(int match, const QString &fileName);

private:
    void built(const QByteArray &page, const QString &failure);

    std::function<int()> match_;
    QString fileName_;
    QTimer tick_, soon_;
    QThread thread_;
    bool building_ = false;
    bool again_ = false;
    bool failing_ = false;
};
