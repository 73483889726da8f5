// The viewer page in a real browser (headless Chromium, driven through its
// DevTools protocol): the example match's checked pages are published as
// the match goes on, and the page shows what they hold; a new page appears
// without a reload. From a plain web server the page reads data.htm itself.
#include "publish/LiveServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebSocket>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QByteArray Reference(const char *name)
{
    QFile file(QDir(QStringLiteral(QUINTARA_LIVE_PAGE_REFERENCES)).filePath(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One value of a page line (1-based, as docs/live-page.md counts), decoded.
QString Value(const QByteArray &page, const QString &id, int n)
{
    const QRegularExpression line(u"<DIV id=%1>([^\r\n]*)</DIV>"_s.arg(id));
    const QString values = line.match(QString::fromUtf8(page)).captured(1);
    return QUrl::fromPercentEncoding(values.split(u';').value(n - 1).toUtf8());
}

// What a person reads on the page: names, score, period line, the points of the home team's first player.
const char *const ShownFacts =
    "JSON.stringify([document.getElementById('homeName').textContent, document.getElementById('awayName').textContent,"
    " document.getElementById('homePts').textContent, document.getElementById('awayPts').textContent,"
    " document.getElementById('clock').textContent,"
    " (document.querySelector('#boxHome tr[data-shirt] td:nth-child(3)') || {}).textContent || ''])";

QStringList Expected(const QByteArray &page, const QString &clock)
{
    return {Value(page, u"d"_s, 1), Value(page, u"g"_s, 1), Value(page, u"d"_s, 11), Value(page, u"g"_s, 11), clock,
            Value(page, u"d1"_s, 4)};
}

// Headless Chromium with its DevTools channel on one page.
class Browser
{
public:
    Browser()
    {
        browser_.setProgram(QStandardPaths::findExecutable(u"chromium"_s));
        browser_.setArguments({u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--no-first-run"_s,
                               u"--remote-debugging-port=0"_s, u"--user-data-dir="_s + profile_.path(),
                               u"--window-size=1920,1080"_s, u"about:blank"_s});
    }
    ~Browser()
    {
        browser_.kill();
        browser_.waitForFinished();
    }

    bool available() const { return !browser_.program().isEmpty(); }

    // Starts the browser and attaches to its page; answers why not, empty when done.
    QString start()
    {
        browser_.start();
        QByteArray said;
        QElapsedTimer t;
        t.start();
        const QRegularExpression listening(u"DevTools listening on ws://[^:]+:(\\d+)/"_s);
        QRegularExpressionMatch m;
        while (!(m = listening.match(QString::fromUtf8(said))).hasMatch() && t.elapsed() < 30000) {
            browser_.waitForReadyRead(200);
            said += browser_.readAllStandardError();
        }
        if (!m.hasMatch())
            return u"the browser did not open its DevTools port: "_s + QString::fromUtf8(said.right(500));
        QNetworkAccessManager net;
        std::unique_ptr<QNetworkReply> reply(net.get(QNetworkRequest(QUrl(u"http://127.0.0.1:%1/json/list"_s.arg(m.captured(1))))));
        for (t.restart(); !reply->isFinished() && t.elapsed() < 10000;)
            QTest::qWait(20);
        for (const QJsonValue &target : QJsonDocument::fromJson(reply->readAll()).array())
            if (target[u"type"_s].toString() == u"page"_s) {
                page_.open(QUrl(target[u"webSocketDebuggerUrl"_s].toString()));
                for (t.restart(); page_.state() != QAbstractSocket::ConnectedState && t.elapsed() < 10000;)
                    QTest::qWait(20);
                QObject::connect(&page_, &QWebSocket::textMessageReceived, [this](const QString &text) {
                    const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
                    if (message[u"id"_s].toInt() == asked_)
                        answer_ = message[u"result"_s].toObject()[u"result"_s].toObject()[u"value"_s].toString();
                });
                return {};
            }
        return u"the browser has no page"_s;
    }

    void open(const QUrl &url) { call(u"Page.navigate"_s, {{u"url"_s, url.toString()}}); }

    // The value of a JavaScript expression that gives a text.
    QString evaluate(const QString &expression)
    {
        answer_.reset();
        call(u"Runtime.evaluate"_s, {{u"expression"_s, expression}, {u"returnByValue"_s, true}});
        QElapsedTimer t;
        t.start();
        while (!answer_ && t.elapsed() < 5000)
            QTest::qWait(5);
        return answer_.value_or(QString());
    }

    QStringList facts() { return QJsonDocument::fromJson(evaluate(QLatin1String(ShownFacts)).toUtf8()).toVariant().toStringList(); }

private:
    void call(const QString &method, const QJsonObject &params)
    {
        page_.sendTextMessage(QString::fromUtf8(
            QJsonDocument(QJsonObject{{u"id"_s, ++asked_}, {u"method"_s, method}, {u"params"_s, params}})
                .toJson(QJsonDocument::Compact)));
    }

    QTemporaryDir profile_;
    QProcess browser_;
    QWebSocket page_;
    int asked_ = 0;
    std::optional<QString> answer_;
};

} // namespace

class TestLiveViewer : public QObject
{
    Q_OBJECT

    const QByteArray secondQuarter_ = Reference("example-second-quarter.htm");
    const QByteArray end_ = Reference("example-end.htm");

private slots:
    void initTestCase()
    {
        QVERIFY(!secondQuarter_.isEmpty() && !end_.isEmpty());
        QVERIFY2(Browser().available(), "chromium is not installed (scripts/install-deps.sh)");
    }

    void pushedPages()
    {
        QTemporaryDir live;
        LiveServer server(live.path());
        QCOMPARE(server.listen({QHostAddress(QHostAddress::LocalHost), 0}), QString());
        server.publish(secondQuarter_);

        Browser browser;
        const QString problem = browser.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        browser.open(QUrl(u"http://127.0.0.1:%1/"_s.arg(server.port())));
        const QString clock = u"Quarter %1 \u00b7 minute %2"_s.arg(Value(secondQuarter_, u"ut"_s, 28),
                                                                   Value(secondQuarter_, u"ut"_s, 29));
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), Expected(secondQuarter_, clock), 15000);
        // Pushed, not read again: the page shows the change without a reload.
        QTRY_COMPARE(browser.evaluate(u"document.getElementById('status').textContent.slice(0, 4)"_s), u"live"_s);

        QElapsedTimer t;
        t.start();
        server.publish(end_);
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), Expected(end_, u"Final"_s), 5000);
        qInfo("the final page was shown %lld ms after it was published", t.elapsed());
        QVERIFY(t.elapsed() < 3000);
    }

    // Opened from a web server that only serves files, the page reads data.htm.
    void polledPage()
    {
        QTemporaryDir live;
        QCOMPARE(WriteLiveViewer(live.path()), QString());
        QFile page(QDir(live.path()).filePath(u"data.htm"_s));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(end_);
        page.close();
        QHttpServer files;
        files.route(u"/<arg>"_s, [dir = live.path()](const QString &name) {
            return QHttpServerResponse::fromFile(QDir(dir).filePath(name.isEmpty() ? u"index.html"_s : name));
        });
        const quint16 port = files.listen(QHostAddress::LocalHost, 0);
        QVERIFY(port > 0);

        Browser browser;
        const QString problem = browser.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        browser.open(QUrl(u"http://127.0.0.1:%1/index.html"_s.arg(port)));
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), Expected(end_, u"Final"_s), 15000);
        QTRY_VERIFY(browser.evaluate(u"document.getElementById('status').textContent"_s).endsWith(u"every 15 s"_s));
    }
};

QTEST_GUILESS_MAIN(TestLiveViewer)
#include "test_live_viewer.moc"
