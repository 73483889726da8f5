// The console's live page: written when the console is shown, and within a
// second of a period's end rather than at the next 15-second tick.
#include "common/AppPaths.h"
#include "data/ActionCodes.h"
#include "publish/LivePageWriter.h"
#include "support/ConsoleDesk.h"

#include <QDir>
#include <QFile>
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
        AppPaths::ExportDirectoryReady = false;
    }
    void writtenWhenShownAndAtAPeriodsEnd();
};

void TestConsoleLivePage::writtenWhenShownAndAtAPeriodsEnd()
{
    QTemporaryDir live;
    qputenv("QUINTARA_LIVE_DIR", live.path().toLocal8Bit());
    AppPaths::ExportDirectoryReady = true;
    ConsoleDesk c;
    QVERIFY(c.opened);
    const QString file = QDir(live.path()).filePath(u"data.htm"_s);
    QVERIFY(QFile::exists(file));

    MatchSession &session = c.window->session();
    const auto minuteChange = [&] {
        QVERIFY(MatchSession::Recorded(EvMinuteChange, session.Record({3, 0, EvMinuteChange, 0, 0})));
    };
    for (int i = 0; i < 10; ++i) // the first quarter's minutes: nothing has ended
        minuteChange();
    QVERIFY(QFile::remove(file));
    QTest::qWait(LivePageWriter::SoonMs + 300);
    QVERIFY(!QFile::exists(file));

    minuteChange(); // the first quarter is over
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 1000);
    QFile page(file);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = page.readAll().split('\n');
    QVERIFY2(lines.value(2).startsWith("<DIV id=d>"), lines.value(2).constData());
    QCOMPARE(lines.value(2).split(';').value(1), QByteArray("0")); // the first quarter's points are written
    QCOMPARE(c.unexpected, QStringList());
}

QTEST_MAIN(TestConsoleLivePage)
#include "test_console_live_page.moc"
