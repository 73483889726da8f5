#pragma once
// The match on the web: a small read-only web server for viewers in the hall
// or at home. It serves the viewer page at "/", the live page at "/data.htm"
// (the very bytes last written), the period pictures of the match, and
// pushes every new page as a server-sent event at "/live"; nothing else.
//
// It runs on a thread of its own, so fifty viewers cost the statistician's
// keys nothing, and it never builds a page: whoever writes the page hands
// the bytes to publish(). Every connection is bounded (request size, time to
// send a request, unsent bytes of a slow reader, the number of connections),
// so a stalled or hostile client cannot hold up the others.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <optional>

class QThread;
class LiveHttpServer;

// Where the server listens: QUINTARA_LIVE_LISTEN as "ADDRESS:PORT" (an IPv6
// address in brackets; port 0 takes any free port) or "off"; 127.0.0.1:8077
// when it is not set.
struct LiveListenAddress
{
    QHostAddress address;
    quint16 port = 0;
};
inline constexpr quint16 LiveDefaultPort = 8077;
// Nothing for "off"; raises std::invalid_argument with the reason for a value that is no address.
std::optional<LiveListenAddress> ParseLiveListen(const QString &value);
std::optional<LiveListenAddress> LiveListenFromEnvironment();

// The viewer page's file name, beside data.htm in the export directory, so
// that any static web server of that directory shows the match as well.
inline constexpr char LiveViewerFileName[] = "index.html";
// The viewer page as the program carries it.
QByteArray LiveViewerPage();

class LiveServer final : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxConnections = 256;
    static constexpr int MaxRequestBytes = 8 * 1024;
    static constexpr int RequestTimeoutMs = 10000;
    // A viewer that reads slower than the pages come is let go.
    static constexpr qint64 MaxUnsentBytes = 2 * 1024 * 1024;

    // `directory` is the export directory: the period pictures are served from it.
    explicit LiveServer(const QString &directory, QObject *parent = nullptr);
    ~LiveServer() override;

    // Starts listening; answers an empty text, or why the server is not
    // listening, in one line naming the address.
    QString listen(const LiveListenAddress &where);
    quint16 port() const { return port_; }

    // The newest live page: served from now on and pushed to every viewer.
    void publish(const QByteArray &page);

private:
    QThread *thread_;
    LiveHttpServer *server_; // lives on thread_
    quint16 port_ = 0;
};

// Writes the viewer page beside the live page; answers why it failed, empty when written.
QString WriteLiveViewer(const QString &directory);

// A server for the export directory, listening where QUINTARA_LIVE_LISTEN
// says, with the viewer page written beside the live page. Nothing when the
// server is off or cannot listen; the reason is said once through the
// messenger, and the program goes on without it.
LiveServer *StartLiveServer(const QString &directory, QObject *parent);
