// The viewer page in a real browser (headless Chromium, driven through its
// DevTools protocol): the example match's checked pages are published as
// the match goes on, and the page shows what they hold; a new page appears
// without a reload. From a plain web server the page reads data.htm itself.
#include "publish/LiveServer.h"

#include "ViewerBrowser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHttpServer>
#include <QHttpServerResponse>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray Reference(const char *name)
{
    QFile file(QDir(QStringLiteral(QUINTARA_LIVE_PAGE_REFERENCES)).filePath(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
        QVERIFY2(ViewerBrowser().available(), "chromium is not installed (scripts/install-deps.sh)");
    }

    void pushedPages()
    {
        QTemporaryDir live;
        LiveServer server(live.path());
        QCOMPARE(server.listen({QHostAddress(QHostAddress::LocalHost), 0}), QString());
        server.publish(secondQuarter_);

        ViewerBrowser browser;
        const QString problem = browser.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        browser.open(QUrl(u"http://127.0.0.1:%1/"_s.arg(server.port())));
        const QString clock = u"Quarter %1 \u00b7 minute %2"_s.arg(PageValue(secondQuarter_, u"ut"_s, 28),
                                                                   PageValue(secondQuarter_, u"ut"_s, 29));
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), ExpectedFacts(secondQuarter_, clock), 15000);
        // Pushed, not read again: the page shows the change without a reload.
        QTRY_COMPARE(browser.evaluate(u"document.getElementById('status').textContent.slice(0, 4)"_s), u"live"_s);

        QElapsedTimer t;
        t.start();
        server.publish(end_);
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), ExpectedFacts(end_, u"Final"_s), 5000);
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

        ViewerBrowser browser;
        const QString problem = browser.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        browser.open(QUrl(u"http://127.0.0.1:%1/index.html"_s.arg(port)));
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), ExpectedFacts(end_, u"Final"_s), 15000);
        QTRY_VERIFY(browser.evaluate(u"document.getElementById('status').textContent"_s).endsWith(u"every 15 s"_s));
    }
};

QTEST_GUILESS_MAIN(TestLiveViewer)
#include "test_live_viewer.moc"
