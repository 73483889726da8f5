// The reports of the family for the example match, replayed through the
// console: plain text against references whose figures were checked by hand
// against the console's box score and the match's events; every report on
// pages it fits, its charts and pictures as vector drawings in the PDF; the
// reports agree with one another on the score.
#include "reports/ExampleReports.h"
#include "publish/MatchTimeline.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportRenderer.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList cells(const report::Line &line)
{
    QStringList texts;
    for (const report::Cell &cell : line.cells)
        texts << cell.text;
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(ReportEntry)

class TestFamilyExample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportAsChecked_data();
    void reportAsChecked();
    void everyReportFitsItsPagesAsVectors();
    void reportsAgreeOnTheScore();

private:
    std::vector<report::Content> make(ReportEntry entry)
    {
        return BuildEntryReports(sb->dm().db(), entry, {.match = match, .colour = true, .pictureDirectory = {}});
    }

    std::unique_ptr<Sandbox> sb;
    int match = 0;
};

void TestFamilyExample::initTestCase()
{
    TestDatabase::prepareEngine();
    sb = std::make_unique<Sandbox>();
    sb->dm();
    match = ReplayExampleMatch();
}

void TestFamilyExample::reportAsChecked_data()
{
    QTest::addColumn<ReportEntry>("entry");
    QTest::addColumn<QString>("reference");

    QTest::newRow("score by minutes") << ReportEntry::ScoreByMinutesNormal << u"example-score-by-minutes.txt"_s;
    QTest::newRow("table summary and graph") << ReportEntry::GraphicalView << u"example-graphical-view.txt"_s;
    QTest::newRow("play by play") << ReportEntry::PlayByPlay << u"example-play-by-play.txt"_s;
    QTest::newRow("rebounds") << ReportEntry::Rebounds << u"example-rebounds.txt"_s;
    QTest::newRow("fouls") << ReportEntry::Fouls << u"example-fouls.txt"_s;
}

void TestFamilyExample::reportAsChecked()
{
    QFETCH(ReportEntry, entry);
    QFETCH(QString, reference);
    QString text;
    for (const report::Content &content : make(entry))
        text += report::PlainText(content);
    CompareWithReference(text, reference);
}

void TestFamilyExample::everyReportFitsItsPagesAsVectors()
{
    const double printable = report::PageHeightMm - 2 * report::MarginTopMm;
    for (const CatalogueReport &r : CatalogueReports()) {
        for (const report::Content &content : make(r.entry)) {
            const report::Renderer renderer(content);
            QVERIFY2(renderer.pageCount() >= 1, qPrintable(r.name));
            for (int page = 0; page < renderer.pageCount(); ++page)
                QVERIFY2(renderer.usedHeightMm(page) <= printable,
                         qPrintable(u"%1 page %2: %3 mm"_s.arg(r.name).arg(page + 1).arg(renderer.usedHeightMm(page))));
            for (const report::Page &page : content.pages)
                for (const report::Band &band : page.bands)
                    QVERIFY2(report::BandWidthMm(band) <= report::PrintableWidthMm,
                             qPrintable(u"%1 %2: %3 mm wide"_s.arg(r.name, band.name).arg(report::BandWidthMm(band))));
            // Charts and courts are drawn, not pasted in as pictures, and
            // the text is real text, the region's letters included.
            const QByteArray pdf = renderer.pdf();
            QVERIFY2(!pdf.contains("/Subtype /Image"), qPrintable(r.name));
            QProcess text;
            text.start(u"pdftotext"_s, {u"-"_s, u"-"_s});
            text.write(pdf);
            text.closeWriteChannel();
            QVERIFY(text.waitForFinished(30000));
            const QString printed = QString::fromUtf8(text.readAllStandardOutput());
            for (const QString &shown : {u"KK Dubrava Čakovec"_s, u"KK Posavina Brčko"_s})
                QVERIFY2(printed.contains(shown), qPrintable(r.name + u": "_s + shown));
        }
    }
}

void TestFamilyExample::reportsAgreeOnTheScore()
{
    const MatchTimeline timeline(ReadRecordedEvents(sb->dm().db(), match));
    const QString final = u"%1 : %2"_s.arg(timeline.points(1)).arg(timeline.points(2));
    const report::Content playByPlay = make(ReportEntry::PlayByPlay).front();
    QCOMPARE(cells(playByPlay.pages.back().bands.back().blocks.front().lines.back()).last(), final);
    const report::Content minutes = make(ReportEntry::ScoreByMinutesNormal).front();
    const QStringList last = cells(minutes.pages.back().bands.back().blocks.front().lines.back());
    const report::Content graph = make(ReportEntry::GraphicalView).back();
    const report::Chart &chart = *graph.pages.front().bands.back().blocks.front().chart;
    QCOMPARE(QString::number(chart.series[0].values.back().y), last.value(2));
    QCOMPARE(QString::number(chart.series[1].values.back().y), last.value(3));
    QCOMPARE(last.value(2), QString::number(timeline.points(1)));
}

QTEST_MAIN(TestFamilyExample)
#include "test_family_example.moc"
