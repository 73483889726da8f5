// The live page of the example match, replayed through the console, at the
// end of the second quarter and at the end of the match, against reference
// pages whose figures were checked against the console's box score (score
// by period, shooting, rebounds, assists, steals, turnovers, blocks, fouls,
// efficiency, minutes and the field-goal charts of both teams).
#include "matchscript/MatchScript.h"
#include "matchscript/widgets/MatchReplay.h"
#include "publish/LivePage.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLivePageExample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void pageAsChecked_data();
    void pageAsChecked();
};

void TestLivePageExample::pageAsChecked_data()
{
    QTest::addColumn<int>("scriptLines"); // of the example's script, 0 for all
    QTest::addColumn<QString>("reference");

    QTest::newRow("end of the second quarter") << 260 << u"example-second-quarter.htm"_s;
    QTest::newRow("end of the match") << 0 << u"example-end.htm"_s;
}

void TestLivePageExample::pageAsChecked()
{
    QFETCH(int, scriptLines);
    QFETCH(QString, reference);
    QStringList lines = QString::fromUtf8(fileBytes(QStringLiteral(QUINTARA_EXAMPLE_MATCH))).split(u'\n');
    if (scriptLines > 0)
        lines = lines.mid(0, scriptLines);
    const auto parsed = ParseMatchScript(lines.join(u'\n'));
    QVERIFY(std::holds_alternative<MatchScript>(parsed));
    Sandbox sb;
    sb.dm();
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    QVERIFY(outcome.succeeded());
    const QByteArray page = LivePageBytes(LivePageBuilder(sb.dm().db()).build(outcome.matchId));
    const QByteArray expected = fileBytes(QStringLiteral(QUINTARA_LIVE_PAGE_REFERENCES "/") + reference);
    QVERIFY(!expected.isEmpty());
    if (page != expected) {
        const QList<QByteArray> got = page.split('\n'), want = expected.split('\n');
        for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
            QCOMPARE(got[i], want[i]);
    }
    QCOMPARE(page, expected);
}

QTEST_MAIN(TestLivePageExample)
#include "test_live_page_example.moc"
