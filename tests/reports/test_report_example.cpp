// The basic report of the example match, replayed through the console, as
// plain text against references whose figures were checked by hand against
// the console's box score: the whole match, the second period alone, and
// regular time's fast-break attacks.
#include "reports/ExampleReports.h"
#include "reports/BasicReport.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
    sb = std::make_unique<Sandbox>();
    sb->dm();
    match = ReplayExampleMatch();
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
    const QString text =
        report::PlainText(BuildBasicReport(sb->dm().db(), {.match = match, .choice = choice, .colour = true, .pictureDirectory = {}}));
    CompareWithReference(text, reference);
}

QTEST_MAIN(TestReportExample)
#include "test_report_example.moc"
