#include "publish/LiveServer.h"

#include "common/Messenger.h"
#include "publish/AtomicFile.h"
#include "publish/SavedQuarters.h"

#include <QAbstractHttpServer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHttpServerRequest>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

std::optional<LiveListenAddress> ParseLiveListen(const QString &value)
{
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool portOk = false;
    const uint port = text.mid(colon + 1).toUInt(&portOk);
    LiveListenAddress where{QHostAddress(host), quint16(port)};
    if (colon < 0 || where.address.isNull() || !portOk || port > 65535)
        throw std::invalid_argument(
            QStringLiteral("QUINTARA_LIVE_LISTEN is \"%1\", not ADDRESS:PORT or off").arg(value).toStdString());
    return where;
}

std::optional<LiveListenAddress> LiveListenFromEnvironment()
{
    const QString value = qEnvironmentVariable("QUINTARA_LIVE_LISTEN");
    if (value.isEmpty())
        return LiveListenAddress{QHostAddress(QHostAddress::LocalHost), LiveDefaultPort};
    return ParseLiveListen(value);
}

QByteArray LiveViewerPage()
{
    QFile file(QStringLiteral(":/live/index.html"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QString WriteLiveViewer(const QString &directory)
{
    return SaveAtomically(QDir(directory).filePath(QLatin1String(LiveViewerFileName)), LiveViewerPage());
}

namespace {

// The first value of a page line ("<DIV id=d>NAME;..."), percent-decoded as the page's readers do.
QString FirstPageValue(const QByteArray &page, const QByteArray &id)
{
    const QByteArray start = "<DIV id=" + id + '>';
    const qsizetype at = page.indexOf(start);
    if (at < 0)
        return {};
    const qsizetype from = at + start.size();
    const qsizetype end = page.indexOf(';', from);
    return end < 0 ? QString() : QUrl::fromPercentEncoding(page.mid(from, end - from));
}

QByteArray Response(int status, const QByteArray &reason, const QByteArray &type, const QByteArray &body,
                    bool withBody, const QByteArray &extraHeaders = {})
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    head += "Content-Type: " + type + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n";
    // Every answer is fresh, and a browser takes it for what it says it is.
    head += "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n";
    head += extraHeaders + "\r\n";
    return withBody ? head + body : head;
}

QByteArray NotFound(bool withBody)
{
    return Response(404, "Not Found", "text/plain; charset=utf-8", "Not found\n", withBody);
}

// Accepts connections up to the cap and watches each until it is a viewer
// or has had its answer: a request larger than the limit gets 431, one that
// is not complete in time is dropped.
class BoundedTcpServer final : public QTcpServer
{
public:
    explicit BoundedTcpServer(QObject *parent) : QTcpServer(parent) {}

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(handle)) {
            delete socket;
            return;
        }
        if (open_ >= LiveServer::MaxConnections) {
            socket->write(Response(503, "Service Unavailable", "text/plain; charset=utf-8", "Too many viewers\n", true));
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromHost();
            QTimer::singleShot(LiveServer::RequestTimeoutMs, socket, &QObject::deleteLater);
            return;
        }
        ++open_;
        connect(socket, &QObject::destroyed, this, [this] { --open_; });
        auto received = std::make_shared<qint64>(0);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, received] {
            *received += socket->bytesAvailable();
            if (*received <= LiveServer::MaxRequestBytes)
                return;
            // No one else reads this request.
            QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);
            socket->write(Response(431, "Request Header Fields Too Large", "text/plain; charset=utf-8",
                                   "Request too large\n", true));
            socket->disconnectFromHost();
        });
        // A socket still ours then has neither become a viewer nor taken its
        // answer: a viewer's socket belongs to the web server.
        QTimer::singleShot(LiveServer::RequestTimeoutMs, socket, [this, socket] {
            if (socket->parent() == this)
                socket->abort();
        });
        addPendingConnection(socket);
    }

private:
    int open_ = 0;
};

} // namespace

// The server itself, living on the server's thread.
class LiveHttpServer final : public QAbstractHttpServer
{
public:
    explicit LiveHttpServer(const QString &directory) : directory_(directory) {}

    QString listen(const LiveListenAddress &where, quint16 *port)
    {
        auto *tcp = new BoundedTcpServer(this);
        if (!tcp->listen(where.address, where.port)) {
            const QString reason = tcp->errorString();
            delete tcp;
            return reason;
        }
        bind(tcp);
        *port = tcp->serverPort();
        return {};
    }

    void publish(const QByteArray &page)
    {
        page_ = page;
        home_ = FirstPageValue(page, "d");
        away_ = FirstPageValue(page, "g");
        const QByteArray event = Event(page);
        for (QTcpSocket *viewer : std::as_const(viewers_))
            send(viewer, event);
    }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override
    {
        const bool get = request.method() == QHttpServerRequest::Method::Get;
        if (get && request.url().path(QUrl::FullyDecoded) == QLatin1String("/live")) {
            watch(socket);
            return true;
        }
        socket->write(answer(request));
        socket->disconnectFromHost();
        return true;
    }

    void missingHandler(const QHttpServerRequest &, QTcpSocket *socket) override
    {
        socket->write(NotFound(true));
        socket->disconnectFromHost();
    }

private:
    // Server-sent events: every page goes out whole, one "data:" field per
    // line, and the browser joins them again with line feeds.
    static QByteArray Event(const QByteArray &page)
    {
        QByteArray event;
        for (const QByteArray &line : page.split('\n'))
            if (const QByteArray text = line.trimmed(); !text.isEmpty())
                event += "data: " + text + '\n';
        return event + '\n';
    }

    // The push channel: the answer's head, the page there is, and every new page as it comes.
    void watch(QTcpSocket *socket)
    {
        // Ours now: the request timer lets it be.
        socket->setParent(this);
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\n"
                      "X-Content-Type-Options: nosniff\r\n\r\n");
        viewers_.append(socket);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            viewers_.removeOne(socket);
            socket->deleteLater();
        });
        if (!page_.isEmpty())
            send(socket, Event(page_));
    }

    static void send(QTcpSocket *viewer, const QByteArray &event)
    {
        if (viewer->bytesToWrite() > LiveServer::MaxUnsentBytes) {
            viewer->abort();
            return;
        }
        viewer->write(event);
    }

    QByteArray answer(const QHttpServerRequest &request) const
    {
        const auto method = request.method();
        if (method != QHttpServerRequest::Method::Get && method != QHttpServerRequest::Method::Head)
            return Response(405, "Method Not Allowed", "text/plain; charset=utf-8", "Only GET and HEAD\n", true,
                            "Allow: GET, HEAD\r\n");
        const bool withBody = method == QHttpServerRequest::Method::Get;
        // Only names from a fixed list are served, compared fully decoded:
        // "..", "%2e%2e", backslashes and absolute paths match none of them.
        const QString path = request.url().path(QUrl::FullyDecoded);
        if (path == QLatin1String("/") || path == QLatin1Char('/') + QLatin1String(LiveViewerFileName))
            return Response(200, "OK", "text/html; charset=utf-8", LiveViewerPage(), withBody);
        if (path == QLatin1String("/data.htm"))
            return page_.isEmpty() ? Response(503, "Service Unavailable", "text/plain; charset=utf-8",
                                              "No page yet\n", withBody)
                                   : Response(200, "OK", "text/html; charset=utf-8", page_, withBody);
        if (path == QLatin1String("/live"))
            return Response(200, "OK", "text/event-stream", {}, false);
        const QString picture = picturePath(path);
        if (picture.isEmpty())
            return NotFound(withBody);
        QFile file(picture);
        if (!file.open(QIODevice::ReadOnly))
            return NotFound(withBody);
        return Response(200, "OK", "image/jpeg", file.readAll(), withBody);
    }

    // The file of a period picture of the match on the page, or nothing: a
    // link that leads out of the export directory is not followed.
    QString picturePath(const QString &path) const
    {
        const QString name = path.mid(1);
        if (!path.startsWith(QLatin1Char('/')) || home_.isEmpty() ||
            !SavedQuarterFiles(directory_, home_, away_).contains(name))
            return {};
        const QString directory = QFileInfo(directory_).canonicalFilePath();
        const QString file = QFileInfo(QDir(directory_).filePath(name)).canonicalFilePath();
        return !directory.isEmpty() && file.startsWith(directory + QLatin1Char('/')) ? file : QString();
    }

    QString directory_;
    QByteArray page_;
    QString home_, away_;
    QList<QTcpSocket *> viewers_;
};

LiveServer::LiveServer(const QString &directory, QObject *parent)
    : QObject(parent), thread_(new QThread(this)), server_(nullptr)
{
    thread_->setObjectName(QStringLiteral("live web server"));
    auto *anchor = new QObject;
    anchor->moveToThread(thread_);
    connect(thread_, &QThread::finished, anchor, &QObject::deleteLater);
    thread_->start();
    // The server and its sockets are made on its thread and live there.
    QMetaObject::invokeMethod(
        anchor, [this, anchor, directory] { server_ = new LiveHttpServer(directory); server_->setParent(anchor); },
        Qt::BlockingQueuedConnection);
}

LiveServer::~LiveServer()
{
    thread_->quit();
    thread_->wait();
}

QString LiveServer::listen(const LiveListenAddress &where)
{
    QString problem;
    QMetaObject::invokeMethod(
        server_, [&] { problem = server_->listen(where, &port_); }, Qt::BlockingQueuedConnection);
    return problem;
}

void LiveServer::publish(const QByteArray &page)
{
    QMetaObject::invokeMethod(server_, [server = server_, page] { server->publish(page); }, Qt::QueuedConnection);
}

LiveServer *StartLiveServer(const QString &directory, QObject *parent)
{
    std::optional<LiveListenAddress> where;
    try {
        where = LiveListenFromEnvironment();
    } catch (const std::invalid_argument &e) {
        ShowWarning(QStringLiteral("The match is not on the web: %1.").arg(QString::fromUtf8(e.what())));
        return nullptr;
    }
    if (!where)
        return nullptr;
    // Beside a live page only: a served match has none of its own.
    if (const QString problem = QDir(directory).exists() ? WriteLiveViewer(directory) : QString(); !problem.isEmpty())
        ShowWarning(QStringLiteral("The viewer page is not written beside the live page (%1).").arg(problem));
    auto *server = new LiveServer(directory, parent);
    const QString problem = server->listen(*where);
    if (problem.isEmpty())
        return server;
    delete server;
    ShowWarning(QStringLiteral("The match is not on the web: nothing can listen on %1:%2 (%3). Everything else "
                               "works as before; QUINTARA_LIVE_LISTEN=ADDRESS:PORT chooses another place, "
                               "QUINTARA_LIVE_LISTEN=off none.")
                    .arg(where->address.toString())
                    .arg(where->port)
                    .arg(problem));
    return nullptr;
}
