// quintara --serve beside another program recording the example match: the
// viewers get every change pushed, the last page is the match's final page
// and a browser shows it, and the server ends cleanly when asked to.
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "publish/LivePage.h"
#include "support/TestDatabase.h"
#include "ViewerBrowser.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>

#include <csignal>

using namespace Qt::StringLiterals;

class TestLiveServe : public QObject
{
    Q_OBJECT

private slots:
    void followsAReplay()
    {
        Sandbox sb;
        sb.closeDm(); // the programs open the database themselves
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUINTARA_HOME"_s, sb.path());
        environment.insert(u"QUINTARA_LIVE_LISTEN"_s, u"127.0.0.1:0"_s);

        // No match yet: the newest one is served as soon as there is one.
        QProcess serve;
        serve.setProcessEnvironment(environment);
        serve.start(QStringLiteral(QUINTARA_PROGRAM), {u"--serve"_s});
        QVERIFY(serve.waitForStarted());
        QByteArray said;
        const QRegularExpression listening(u"Serving the newest match on port (\\d+)"_s);
        QTRY_VERIFY_WITH_TIMEOUT(listening.match(QString::fromUtf8(said += serve.readAllStandardOutput())).hasMatch(),
                                 30000);
        const quint16 port = quint16(listening.match(QString::fromUtf8(said)).captured(1).toUInt());

        QTcpSocket viewer;
        viewer.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(viewer.waitForConnected());
        viewer.write("GET /live HTTP/1.1\r\nHost: localhost\r\n\r\n");
        QByteArray stream;
        QList<qint64> arrivals;
        QElapsedTimer clock;
        clock.start();
        connect(&viewer, &QTcpSocket::readyRead, this, [&] {
            stream += viewer.readAll();
            while (arrivals.size() < stream.count("\n\n"))
                arrivals << clock.elapsed();
        });

        ViewerBrowser browser;
        const QString problem = browser.start();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        browser.open(QUrl(u"http://127.0.0.1:%1/"_s.arg(port)));

        QProcess replay;
        replay.setProcessEnvironment(environment);
        const qint64 replayStarted = clock.elapsed();
        replay.start(QStringLiteral(QUINTARA_PROGRAM), {u"--replay"_s, QStringLiteral(QUINTARA_EXAMPLE_MATCH)});
        QTRY_COMPARE_WITH_TIMEOUT(replay.state(), QProcess::NotRunning, 300000);
        QCOMPARE(replay.exitCode(), 0);
        const qint64 replayEnded = clock.elapsed();

        // The final page reaches the viewer soon after the last entry was committed.
        Tdm &dm = sb.dm();
        const QByteArray final = LivePageBytes(LivePageBuilder(dm.db()).build(dm.db().scalar(u"SELECT MAX(ID_UTAKMICA) FROM UTAKMICA"_s).toInt()));
        QByteArray asEvent;
        for (const QByteArray &line : final.split('\n'))
            if (!line.trimmed().isEmpty())
                asEvent += "data: " + line.trimmed() + '\n';
        QTRY_VERIFY_WITH_TIMEOUT(stream.endsWith(asEvent + '\n'), 5000);
        qInfo("%lld pages pushed during the replay; the final page arrived %lld ms after the replay ended",
              qint64(arrivals.size()), arrivals.last() - replayEnded);
        // The page follows the match while it is keyed, not only at its end.
        QVERIFY(std::count_if(arrivals.begin(), arrivals.end(),
                              [&](qint64 at) { return at > replayStarted && at < replayEnded; }) >= 1);
        QVERIFY(arrivals.last() - replayEnded < 3000);
        // What a person sees: names, final score, the end, a player's points.
        QTRY_COMPARE_WITH_TIMEOUT(browser.facts(), ExpectedFacts(final, u"Final"_s), 3000);
        qInfo("the browser showed the final page %lld ms after the replay ended", clock.elapsed() - replayEnded);

        // Asked to end, it ends normally and says so.
        ::kill(pid_t(serve.processId()), SIGTERM);
        QVERIFY(serve.waitForFinished(30000));
        QCOMPARE(serve.exitStatus(), QProcess::NormalExit);
        QCOMPARE(serve.exitCode(), 0);
        QVERIFY(serve.readAllStandardOutput().endsWith("Stopped serving.\n"));
    }
};

QTEST_GUILESS_MAIN(TestLiveServe)
#include "test_live_serve.moc"
