// The match on the web: what the server answers to good and bad requests,
// its limits, and the push of every new page to the viewers.
#include "publish/LiveServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Two teams with the letters the picture names carry.
const QByteArray Page = "<DIV id=ver>6.1</DIV>\r\n<DIV id=d>Home Town;;</DIV>\r\n<DIV id=g>Away%3BSide;;</DIV>\r\n";

struct Answer
{
    int status = 0; // 0: the connection closed without an answer
    QByteArray head, body;
};

// Sends raw bytes and reads until the server closes the connection.
Answer Ask(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000))
        return {};
    socket.write(request);
    QByteArray all;
    QElapsedTimer t;
    t.start();
    while (socket.state() == QAbstractSocket::ConnectedState && t.elapsed() < 5000) {
        socket.waitForReadyRead(200);
        all += socket.readAll();
    }
    all += socket.readAll();
    Answer answer;
    const qsizetype split = all.indexOf("\r\n\r\n");
    if (!all.startsWith("HTTP/1.1 ") || split < 0)
        return answer;
    answer.status = all.mid(9, 3).toInt();
    answer.head = all.left(split);
    answer.body = all.mid(split + 4);
    return answer;
}

QByteArray Get(const QByteArray &target, const QByteArray &method = "GET", const QByteArray &headers = {})
{
    return method + ' ' + target + " HTTP/1.1\r\nHost: localhost\r\n" + headers + "\r\n";
}

} // namespace

class TestLiveServer : public QObject
{
    Q_OBJECT

    QTemporaryDir outside_;
    QTemporaryDir live_;
    std::unique_ptr<LiveServer> server_;
    quint16 port_ = 0;
    QByteArray picture_ = "\xFF\xD8 period picture";

private slots:
    void initTestCase()
    {
        const QDir dir(live_.path());
        QFile picture(dir.filePath(u"4_Home Town_VS_Away;Side_Period_1.jpeg"_s));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write(picture_);
        picture.close();
        QFile secret(QDir(outside_.path()).filePath(u"secret.jpeg"_s));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("secret");
        secret.close();
        // A picture name that leads out of the export directory.
        QVERIFY(QFile::link(secret.fileName(), dir.filePath(u"4_Home Town_VS_Away;Side_Period_2.jpeg"_s)));

        server_ = std::make_unique<LiveServer>(live_.path());
        QCOMPARE(server_->listen({QHostAddress(QHostAddress::LocalHost), 0}), QString());
        port_ = server_->port();
        QVERIFY(port_ > 0);
    }

    void beforeAnyPage()
    {
        QCOMPARE(Ask(port_, Get("/data.htm")).status, 503);
        server_->publish(Page);
        QTRY_COMPARE(Ask(port_, Get("/data.htm")).status, 200);
    }

    void requests_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body"); // what the body is, or empty for no body

        const QByteArray viewer = LiveViewerPage();
        QVERIFY(viewer.contains("<html"));
        QTest::newRow("viewer") << Get("/") << 200 << viewer;
        QTest::newRow("viewer by name") << Get("/index.html") << 200 << viewer;
        QTest::newRow("page, the bytes written") << Get("/data.htm") << 200 << Page;
        QTest::newRow("page, head only") << Get("/data.htm", "HEAD") << 200 << QByteArray();
        QTest::newRow("picture") << Get("/4_Home%20Town_VS_Away;Side_Period_1.jpeg") << 200 << picture_;
        QTest::newRow("push channel, head only") << Get("/live", "HEAD") << 200 << QByteArray();
        QTest::newRow("POST") << Get("/data.htm", "POST", "Content-Length: 0\r\n") << 405 << "Only GET and HEAD\n"_ba;
        QTest::newRow("PUT") << Get("/data.htm", "PUT", "Content-Length: 2\r\n") + "xx" << 405 << "Only GET and HEAD\n"_ba;
        QTest::newRow("DELETE") << Get("/data.htm", "DELETE") << 405 << "Only GET and HEAD\n"_ba;
        QTest::newRow("OPTIONS") << Get("/", "OPTIONS") << 405 << "Only GET and HEAD\n"_ba;
        const QByteArray notFound = "Not found\n";
        QTest::newRow("dot dot") << Get("/../data.htm") << 404 << notFound;
        QTest::newRow("dot dot to the system") << Get("/../../../../etc/passwd") << 404 << notFound;
        QTest::newRow("encoded dot dot") << Get("/%2e%2e/%2e%2e/etc/passwd") << 404 << notFound;
        QTest::newRow("encoded slash") << Get("/..%2f..%2fetc%2fpasswd") << 404 << notFound;
        QTest::newRow("absolute path") << Get("/etc/passwd") << 404 << notFound;
        QTest::newRow("absolute form") << Get("http://localhost/etc/passwd") << 404 << notFound;
        QTest::newRow("drive path") << Get("/C:/Windows/win.ini") << 404 << notFound;
        QTest::newRow("backslashes") << Get("/..\\..\\etc\\passwd") << 404 << notFound;
        QTest::newRow("encoded backslash") << Get("/%5c..%5cdata.htm") << 404 << notFound;
        QTest::newRow("symbolic link out") << Get("/4_Home%20Town_VS_Away;Side_Period_2.jpeg") << 404 << notFound;
        QTest::newRow("picture of another match") << Get("/4_Other_VS_Away;Side_Period_1.jpeg") << 404 << notFound;
        QTest::newRow("other file") << Get("/data.htm.tmp") << 404 << notFound;
        const QByteArray tooLarge = "Request too large\n";
        QTest::newRow("long request line") << Get("/" + QByteArray(LiveServer::MaxRequestBytes, 'a')) << 431 << tooLarge;
        QTest::newRow("long header") << Get("/", "GET", "X-Big: " + QByteArray(LiveServer::MaxRequestBytes, 'b') + "\r\n")
                                     << 431 << tooLarge;
    }

    void requests()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        const Answer answer = Ask(port_, request);
        QCOMPARE(answer.status, status);
        QCOMPARE(answer.body, body);
        if (request.startsWith("HEAD /data.htm"))
            QVERIFY(answer.head.contains("Content-Length: " + QByteArray::number(Page.size())));
    }

    // Sockets that never finish a request, or never read their answer, hold
    // nobody up and are let go.
    void stalledClients()
    {
        QTcpSocket half, deaf;
        half.connectToHost(QHostAddress::LocalHost, port_);
        deaf.connectToHost(QHostAddress::LocalHost, port_);
        QVERIFY(half.waitForConnected() && deaf.waitForConnected());
        half.write("GET /data.htm HTTP/1.1\r\nHost: x\r\n");
        deaf.setReadBufferSize(1);
        deaf.write(Get("/"));
        QElapsedTimer t;
        t.start();
        QCOMPARE(Ask(port_, Get("/data.htm")).status, 200);
        QVERIFY2(t.elapsed() < 1000, qPrintable(u"answered after %1 ms"_s.arg(t.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(half.state(), QAbstractSocket::UnconnectedState, LiveServer::RequestTimeoutMs + 3000);
    }

    void connectionCap()
    {
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < LiveServer::MaxConnections; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, port_);
            QVERIFY(idle.back()->waitForConnected());
        }
        // The server may still be taking the last ones in; the next is refused with a word.
        QTRY_COMPARE(Ask(port_, Get("/data.htm")).status, 503);
        idle.clear();
        QTRY_COMPARE(Ask(port_, Get("/data.htm")).status, 200);
    }

    void push()
    {
        QTcpSocket viewer;
        viewer.connectToHost(QHostAddress::LocalHost, port_);
        QVERIFY(viewer.waitForConnected());
        viewer.write(Get("/live"));
        QByteArray stream;
        const auto events = [&] {
            stream += viewer.readAll();
            return stream.count("\n\n");
        };
        // The head and the page there is come at once, every new page as it is published.
        QTRY_COMPARE(events(), 1);
        QVERIFY(stream.startsWith("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\n"));
        const QByteArray asEvent = "data: <DIV id=ver>6.1</DIV>\ndata: <DIV id=d>Home Town;;</DIV>\n"
                                   "data: <DIV id=g>Away%3BSide;;</DIV>\n\n";
        QVERIFY(stream.endsWith(asEvent));
        server_->publish(Page + "<DIV id=br_akc>11</DIV>\r\n");
        QTRY_COMPARE(events(), 2);
        QVERIFY(stream.endsWith(asEvent.chopped(1) + "data: <DIV id=br_akc>11</DIV>\n\n"));
        // A viewer is not let go by the request timer.
        QTest::qWait(LiveServer::RequestTimeoutMs + 500);
        QCOMPARE(viewer.state(), QAbstractSocket::ConnectedState);
        server_->publish(Page);
        QTRY_COMPARE(events(), 3);
    }

    void listenSettings_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("address"); // "off", "bad", or the address and port
        QTest::newRow("off") << u"off"_s << u"off"_s;
        QTest::newRow("OFF") << u"OFF"_s << u"off"_s;
        QTest::newRow("all addresses") << u"0.0.0.0:8080"_s << u"0.0.0.0 8080"_s;
        QTest::newRow("IPv6") << u"[::1]:9000"_s << u"::1 9000"_s;
        QTest::newRow("no port") << u"127.0.0.1"_s << u"bad"_s;
        QTest::newRow("port too big") << u"127.0.0.1:70000"_s << u"bad"_s;
        QTest::newRow("host name") << u"example:80"_s << u"bad"_s;
    }

    void listenSettings()
    {
        QFETCH(QString, value);
        QFETCH(QString, address);
        try {
            const auto where = ParseLiveListen(value);
            QCOMPARE(where ? where->address.toString() + ' ' + QString::number(where->port) : u"off"_s, address);
        } catch (const std::invalid_argument &e) {
            QCOMPARE(u"bad"_s, address);
            QVERIFY(QString::fromUtf8(e.what()).contains(value));
        }
    }

    void portInUse()
    {
        LiveServer second(live_.path());
        const QString problem = second.listen({QHostAddress(QHostAddress::LocalHost), port_});
        QVERIFY2(problem.contains(u"in use"_s), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestLiveServer)
#include "test_live_server.moc"
