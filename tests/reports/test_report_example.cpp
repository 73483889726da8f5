// The basic report of the example match, replayed through the console, as
// plain text against references whose figures were checked by hand against
// the console's box score: the whole match, the second period alone, and
// regular time's fast-break attacks.
#include "matchscript/MatchScript.h"
#include "matchscript/widgets/MatchReplay.h"
#include "reports/BasicReport.h"
#include "support/TestDatabase.h"

#include <QDir>
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

Q_DECLARE_METATYPE(ReportChoice)

class TestReportExample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportAsChecked_data();
    void reportAsChecked();

private:
    std::unique_ptr<Sandbox> sb;
    int match = 0;
};

void TestReportExample::initTestCase()
{
    TestDatabase::prepareEngine();
    const auto parsed = ParseMatchScript(QString::fromUtf8(fileBytes(QStringLiteral(QUINTARA_EXAMPLE_MATCH))));
    QVERIFY(std::holds_alternative<MatchScript>(parsed));
    sb = std::make_unique<Sandbox>();
    sb->dm();
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    QVERIFY(outcome.succeeded());
    match = outcome.matchId;
}

void TestReportExample::reportAsChecked_data()
{
    QTest::addColumn<ReportChoice>("choice");
    QTest::addColumn<QString>("reference");

    QTest::newRow("whole match") << ReportChoice{} << u"example-basic.txt"_s;
    QTest::newRow("period 2 only") << ReportChoice{.scope = ReportScope::PeriodOnly, .parameter = 2}
                                   << u"example-basic-period-2.txt"_s;
    QTest::newRow("until overtime, fast break")
        << ReportChoice{.scope = ReportScope::UntilOvertime, .attackType = 2} << u"example-basic-fast-break.txt"_s;
}

void TestReportExample::reportAsChecked()
{
    QFETCH(ReportChoice, choice);
    QFETCH(QString, reference);
    const QString text = report::PlainText(
        BuildBasicReport(sb->dm().db(), {.match = match, .choice = choice, .colour = true, .pictureDirectory = {}}));
    const QString expected = QString::fromUtf8(fileBytes(QStringLiteral(QUINTARA_REPORT_REFERENCES "/") + reference));
    if (text != expected) {
        // What was made, beside the build, for a look at the difference.
        QFile made(QDir::current().filePath(reference));
        if (made.open(QIODevice::WriteOnly))
            made.write(text.toUtf8());
        const QStringList got = text.split(u'\n'), want = expected.split(u'\n');
        for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
            QCOMPARE(got[i], want[i]);
    }
    QCOMPARE(text, expected);
}

QTEST_MAIN(TestReportExample)
#include "test_report_example.moc"
