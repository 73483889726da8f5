// The console's live page: written when the console is shown and within a
// second after every entry, built beside the console rather than in it.
#include "common/AppPaths.h"
#include "data/ActionCodes.h"
#include "publish/LivePageWriter.h"
#include "support/ConsoleDesk.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
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
    void writtenWhenShownAndAfterEveryEntry();
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

QTEST_MAIN(TestConsoleLivePage)
#include "test_console_live_page.moc"
