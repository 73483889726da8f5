// The console's live page: written when the console is shown and within a
// second after every change, built beside the console rather than in it;
// served on the web while the console is open.
#include "common/AppPaths.h"
#include "data/ActionCodes.h"
#include "publish/LivePageWriter.h"
#include "publish/LiveServer.h"
#include "support/ConsoleDesk.h"
#include "support/RecordingMessenger.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestConsoleLivePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void cleanup()
    {
        qunsetenv("QUINTARA_LIVE_DIR");
        qputenv("QUINTARA_LIVE_LISTEN", "off");
        AppPaths::ExportDirectoryReady = false;
    }
    void writtenWhenShownAndAfterEveryEntry();
    void servedOnTheWebWhileOpen();
    void aPortInUseIsSaidOnce();
};

namespace {

// The number of events the page lists, from its br_akc line.
int pageEvents(const QString &file)
{
    QFile page(file);
    if (!page.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : page.readAll().split('\n'))
        if (line.startsWith("<DIV id=br_akc>"))
            return line.mid(15, line.indexOf('<', 15) - 15).toInt();
    return -1;
}

} // namespace

void TestConsoleLivePage::writtenWhenShownAndAfterEveryEntry()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    AppPaths::ExportDirectoryReady = true;
    ConsoleDesk c;
    QVERIFY(c.opened);
    const QString file = QDir(live.path()).filePath(u"data.htm"_s);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 1000);
    auto *writer = c.window->findChild<LivePageWriter *>();
    QVERIFY(writer);
    QSignalSpy written(writer, &LivePageWriter::pageWritten);

    MatchSession &session = c.window->session();
    const auto minuteChange = [&] {
        QVERIFY(MatchSession::Recorded(EvMinuteChange, session.Record({3, 0, EvMinuteChange, 0, 0})));
    };
    // Each entry is on the page within a second; the entry itself returns
    // before any page is built, even with a build asked for at once.
    for (int i = 0; i < 3; ++i) {
        QTest::qWait(LivePageWriter::SoonMs + 200); // no write pending
        const int before = pageEvents(file);
        const qsizetype writes = written.size();
        minuteChange();
        writer->write();
        QCOMPARE(written.size(), writes);
        QTRY_VERIFY_WITH_TIMEOUT(pageEvents(file) > before, 1000);
    }
    for (int i = 0; i < 8; ++i)
        minuteChange();
    QVERIFY(QFile::remove(file));
    minuteChange(); // the first quarter is over
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 1000);
    QFile page(file);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = page.readAll().split('\n');
    QVERIFY2(lines.value(2).startsWith("<DIV id=d>"), lines.value(2).constData());
    QCOMPARE(lines.value(2).split(';').value(1), QByteArray("0")); // the first quarter's points are written
    QCOMPARE(c.unexpected, QStringList());
}

namespace {

// The body of a GET, empty when there is no answer.
QByteArray Fetch(quint16 port, const QByteArray &path)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(3000))
        return {};
    socket.write("GET " + path + " HTTP/1.1\r\nHost: localhost\r\n\r\n");
    QByteArray all;
    while (socket.waitForReadyRead(3000))
        all += socket.readAll();
    return all.mid(all.indexOf("\r\n\r\n") + 4);
}

} // namespace

void TestConsoleLivePage::servedOnTheWebWhileOpen()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    qputenv("QUINTARA_LIVE_LISTEN", "127.0.0.1:0");
    AppPaths::ExportDirectoryReady = true;
    RecordingMessenger messages;
    ConsoleDesk c;
    QVERIFY(c.opened);
    auto *server = c.window->findChild<LiveServer *>();
    QVERIFY(server);
    QFile viewer(QDir(live.path()).filePath(QLatin1String(LiveViewerFileName)));
    QVERIFY(viewer.open(QIODevice::ReadOnly));
    QCOMPARE(viewer.readAll(), LiveViewerPage());

    QVERIFY(MatchSession::Recorded(EvMinuteChange, c.window->session().Record({3, 0, EvMinuteChange, 0, 0})));
    const auto written = [&] {
        QFile page(QDir(live.path()).filePath(u"data.htm"_s));
        return page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray();
    };
    // The page served is the page written, after the change.
    QTRY_VERIFY_WITH_TIMEOUT(written().contains("<DIV id=sifra>1;2;2;2;2;2;2;2;2;2;2;3;"), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(Fetch(server->port(), "/data.htm"), written(), 2000);
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(c.unexpected, QStringList());
}

void TestConsoleLivePage::aPortInUseIsSaidOnce()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    qputenv("QUINTARA_LIVE_LISTEN", "127.0.0.1:" + QByteArray::number(taken.serverPort()));
    AppPaths::ExportDirectoryReady = true;
    RecordingMessenger messages;
    ConsoleDesk c;
    QVERIFY(c.opened);
    QVERIFY(!c.window->findChild<LiveServer *>());
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.texts().constFirst().contains(u"127.0.0.1:%1"_s.arg(taken.serverPort())),
             qPrintable(messages.texts().constFirst()));
    // The console works on, and the page is still written.
    QVERIFY(MatchSession::Recorded(EvMinuteChange, c.window->session().Record({3, 0, EvMinuteChange, 0, 0})));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(live.path()).filePath(u"data.htm"_s)), 2000);
    QCOMPARE(messages.texts().size(), 1);
}

QTEST_MAIN(TestConsoleLivePage)
#include "test_console_live_page.moc"
