// The family's reports in the cases that catch faults: the lead list and
// its pages, the minute count, a match without events, time-outs, overtime,
// shirt 100, fast breaks and the paint, and the turnovers chooser's filter.
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "publish/KeyedMatch.h"
#include "publish/MatchTimeline.h"
#include "reports/PlayerReports.h"
#include "reports/ReportCatalogue.h"
#include "reports/ReportPages.h"
#include "reports/ReportRenderer.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesModel.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records written as the tests write them: "h2" a home shot worth 2,
// "a3" an away three-pointer, "+" a minute change.
std::vector<RecordedEvent> records(const QString &text)
{
    std::vector<RecordedEvent> events;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"+"_s) {
            events.push_back({.side = 3, .code = EvMinuteChange});
            continue;
        }
        const int points = word.mid(1).toInt();
        events.push_back({.side = word.startsWith(u'h') ? 1 : 2,
                          .code = points == 1 ? EvMade1 : points == 2 ? EvMade2 : EvMade3,
                          .points = points});
    }
    return events;
}

QString text(const std::vector<TProm> &list)
{
    QStringList entries;
    for (const TProm &p : list)
        entries << u"%1 %2 %3:%4"_s.arg(p.minute).arg(p.text).arg(p.home).arg(p.away);
    return entries.join(u"; "_s);
}

QStringList cells(const report::Line &line)
{
    QStringList texts;
    for (const report::Cell &cell : line.cells)
        texts << cell.text;
    return texts;
}

const report::Band &band(const report::Content &content, const QString &name, size_t page = 0)
{
    for (const report::Band &b : content.pages.at(page).bands)
        if (b.name == name)
            return b;
    qFatal("no band %s", qPrintable(name));
}

// The line of a shirt number in a side's block.
QStringList playerLine(const report::Content &content, int side, int shirt)
{
    for (const report::Line &line : band(content, side == 1 ? u"home"_s : u"away"_s).blocks.at(0).lines)
        if (!line.cells.empty() && line.cells[0].text == report::ShirtText(shirt) && line.cells.size() > 3)
            return cells(line);
    return {};
}

report::Content build(KeyedMatch &m, ReportEntry entry, size_t which = 0)
{
    return BuildEntryReports(m.db(), entry, {.match = m.match, .colour = true, .pictureDirectory = {}}).at(which);
}

} // namespace

class TestFamilyReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void leadList_data();
    void leadList();
    void minuteCount_data();
    void minuteCount();
    void leadListPages();
    void matchWithoutEvents();
    void timeOutsOvertimeAndShirt100();
    void fastBreaksAndThePaint();
    void turnoversFollowTheChoosersLastView();
    void randomMatchAgreesWithTheBoxScore();
    void birthYearAndRoundedPercentages();
};

void TestFamilyReports::leadList_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lead, lead, drawn in the first minute")
        << u"h2 a3 h1"_s
        << u"1 Take the lead 2:0; 1 Maximum lead 2:0; 1 Take the lead 2:3; 1 Maximum lead 2:3; 1 Drawn 3:3"_s;
    QTest::newRow("a three-pointer at 2 : 4 takes the lead")
        << u"a2 a2 h2 h3"_s << u"1 Take the lead 0:2; 1 Maximum lead 0:4; 1 Take the lead 5:4; 1 Maximum lead 5:4"_s;
    QTest::newRow("a three-pointer at 1 : 4 levels")
        << u"a2 a2 h1 h3"_s << u"1 Take the lead 0:2; 1 Maximum lead 0:4; 1 Drawn 4:4"_s;
    // A home lead of 10 at 30 : 20 and again at 42 : 32.
    QTest::newRow("a largest lead reached twice")
        << u"a2 a2 a2 a2 a2 a2 a2 a2 a2 a2 + + h3 h3 h3 h3 h3 h3 h3 h3 h3 h3 + a3 a3 a3 a3 h3 h3 h3 h3"_s
        << u"1 Take the lead 0:2; 1 Maximum lead 0:20; 2 Take the lead 21:20; 2 Maximum lead 30:20; "
           "3 Take the lead 30:32; 3 Take the lead 33:32; 3 Maximum lead 42:32"_s;
    QTest::newRow("no points, no entries") << u"+ + +"_s << QString();
}

void TestFamilyReports::leadList()
{
    QFETCH(QString, records);
    QFETCH(QString, expected);
    QCOMPARE(text(LeadList(::records(records))), expected);
}

void TestFamilyReports::minuteCount_data()
{
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("elapsed");
    QTest::addColumn<bool>("periodClosed");

    QTest::newRow("before the first change") << 0 << 0 << false;
    QTest::newRow("the change that starts the clock") << 1 << 0 << false;
    QTest::newRow("the first minute closed") << 2 << 1 << false;
    QTest::newRow("the eleventh change closes period 1") << 11 << 10 << true;
    QTest::newRow("the next period's first change adds nothing") << 12 << 10 << true;
    QTest::newRow("regular time over") << 44 << 40 << true;
    QTest::newRow("an overtime waits for its clock") << 45 << 40 << true;
    QTest::newRow("an overtime takes six changes") << 51 << 45 << true;
}

void TestFamilyReports::minuteCount()
{
    QFETCH(int, changes);
    QFETCH(int, elapsed);
    QFETCH(bool, periodClosed);
    MinuteCount count;
    for (int i = 0; i < changes; ++i)
        count.step({.side = 3, .code = EvMinuteChange});
    QCOMPARE(count.elapsed(), elapsed);
    QCOMPARE(count.minute(), elapsed + 1);
    QCOMPARE(count.closedPeriod(), periodClosed);
}

void TestFamilyReports::leadListPages()
{
    std::vector<TProm> list;
    for (int i = 1; i <= 60; ++i)
        list.push_back({i, i, 0, u"Take the lead"_s});
    const std::vector<report::Page> pages = LeadListPages(list, {u"teams"_s, {}});
    QCOMPARE(pages.size(), size_t(2));
    const auto &first = pages[0].bands.at(1).blocks;
    QCOMPARE(first.size(), size_t(2));
    // A heading line, then the entries.
    QCOMPARE(first[0].lines.size(), size_t(29));
    QCOMPARE(first[0].lines.back().cells.at(0).text, u"28"_s);
    QCOMPARE(first[1].lines.at(1).cells.at(0).text, u"29"_s);
    QCOMPARE(first[1].lines.back().cells.at(0).text, u"56"_s);
    const auto &second = pages[1].bands.at(0).blocks;
    QCOMPARE(second.size(), size_t(1)); // no right column
    QCOMPARE(second[0].lines.size(), size_t(5));
    QCOMPARE(second[0].lines.at(1).cells.at(0).text, u"57"_s);
    QCOMPARE(second[0].lines.back().cells.at(0).text, u"60"_s);
    QCOMPARE(cells(second[0].lines.back()).mid(2), (QStringList{u"60 : 0"_s, u"60"_s}));
}

void TestFamilyReports::matchWithoutEvents()
{
    KeyedMatch m;
    const double printable = report::PageHeightMm - 2 * report::MarginTopMm;
    for (const CatalogueReport &r : CatalogueReports())
        for (const report::Content &content :
             BuildEntryReports(m.db(), r.entry, {.match = m.match, .colour = false, .pictureDirectory = {}})) {
            const report::Renderer renderer(content);
            for (int page = 0; page < renderer.pageCount(); ++page)
                QVERIFY2(renderer.usedHeightMm(page) <= printable, qPrintable(r.name));
            QVERIFY2(!renderer.pdf().isEmpty(), qPrintable(r.name));
        }
    // The lead list has its heading only, the graph its starting point.
    QCOMPARE(band(build(m, ReportEntry::GraphicalView, 0), u"lead list"_s).blocks.at(0).lines.size(), size_t(1));
    const report::Chart &graph = *band(build(m, ReportEntry::GraphicalView, 1), u"graph"_s).blocks.at(0).chart;
    for (const report::ChartSeries &series : graph.series)
        QCOMPARE(series.values.size(), size_t(1));
    const report::Content rebounds = build(m, ReportEntry::Rebounds);
    QCOMPARE(cells(band(rebounds, u"home"_s).blocks.at(0).lines.back()).last(), u"0 / 0 / 0"_s);
    // A side without points: nothing in the paint, all of it out of it.
    const report::Content paint = build(m, ReportEntry::Paint);
    QCOMPARE(cells(band(paint, u"rates"_s).blocks.at(0).lines.at(1)).mid(1),
             (QStringList{u"Paint In 0 ( 0% )"_s, u"Paint Out 0 ( 100% )"_s, u"Total Points 0"_s}));
    QStringList slices;
    for (const report::ChartValue &v : band(paint, u"pies"_s).blocks.at(0).chart->series.at(0).values)
        slices << QString::number(v.y);
    QCOMPARE(slices, (QStringList{u"0"_s, u"0"_s, u"100"_s}));
    QCOMPARE(cells(band(build(m, ReportEntry::SecondAttackFastBreak), u"home"_s).blocks.at(0).lines.back()).last(),
             QString()); // no points: no share of them
}

void TestFamilyReports::timeOutsOvertimeAndShirt100()
{
    KeyedMatch m;
    m.start();
    const int hundred = m.home(11);
    QCOMPARE(hundred, 100);
    // Two home time-outs in the third minute, 100 on court, then regular
    // time ends level and an offensive rebound falls in the first overtime.
    m.play(u"+3\n1 0 20\n1 0 20\n1 %1 18 %2 150\n+41\n+2\n2 %3 11\n+5"_s.arg(m.home(0)).arg(hundred).arg(m.away(0)));
    const report::Content minutes = build(m, ReportEntry::ScoreByMinutesNormal);
    bool twoTimeOuts = false;
    for (const report::Line &line : band(minutes, u"table"_s).blocks.at(0).lines)
        if (line.cells.at(0).text == u"3"_s && line.cells.at(5).text == u"2 Time Outs"_s)
            twoTimeOuts = true;
    QVERIFY(twoTimeOuts);
    // The fives print 100 as 00, numbers and names alike.
    QVERIFY(cells(band(minutes, u"table"_s).blocks.at(0).lines.back()).at(1).contains(u"00"_s));
    const report::Content details = build(m, ReportEntry::ScoreByMinutesDetails);
    bool named = false;
    for (const report::Page &page : details.pages)
        for (const report::Line &line : page.bands.back().blocks.at(0).lines)
            named = named || line.cells.at(1).text.startsWith(u"[ 00 ] "_s);
    QVERIFY(named);
    // The overtime's rebound counts under the fourth period.
    const QStringList rebounds = playerLine(build(m, ReportEntry::Rebounds), 2, m.away(0));
    QCOMPARE(rebounds.mid(3), (QStringList{u"0 / 0 / 0"_s, u"0 / 0 / 0"_s, u"0 / 0 / 0"_s, u"1 / 1 / 0"_s,
                                           u"1 / 1 / 0"_s}));
    // The diagrams close the overtime at 45 with its own counts.
    const report::Content diagrams = build(m, ReportEntry::Diagrams);
    const report::Chart &offensive = *band(diagrams, u"diagrams 1"_s).blocks.at(3).chart;
    QCOMPARE(offensive.series.at(1).values.back().x, 45.0);
    QCOMPARE(offensive.series.at(1).values.back().y, 1.0);
    QCOMPARE(offensive.series.at(1).values.size(), size_t(6)); // the start, four quarters, one overtime
}

void TestFamilyReports::fastBreaksAndThePaint()
{
    KeyedMatch m;
    m.start();
    const int shooter = m.home(0);
    // Two made and one missed two-pointers, the made ones in the paint,
    // then a three-pointer; the two-pointers were fast breaks.
    m.play(u"+\n1 %1 6 5\n1 %1 6 5\n1 %1 7 2\n1 %1 8 1\n+"_s.arg(shooter));
    m.db().execute(u"UPDATE DTT SET PAR4 = 2 WHERE IDM = ? AND RES IN (6, 7)"_s, {m.match});
    m.db().commit();
    const QStringList line = playerLine(build(m, ReportEntry::SecondAttackFastBreak), 1, shooter);
    // Second attack 2 and 3 points, fast break 2 and 3 points, total, related.
    QCOMPARE(line.mid(3), (QStringList{u"0/0 0%"_s, u"0/0 0%"_s, u"4/6 67%"_s, u"0/0 0%"_s, u"7"_s, u"4/7 57%"_s,
                                       u"0/7 0%"_s}));
    const report::Content playByPlay = build(m, ReportEntry::PlayByPlay);
    QCOMPARE(band(playByPlay, u"table"_s).blocks.at(0).lines.at(1).cells.at(3).text, u"MADE 2P/Fast Break"_s);
    const report::Content paint = build(m, ReportEntry::Paint);
    QCOMPARE(cells(band(paint, u"table"_s).blocks.at(0).lines.at(1)).mid(1),
             (QStringList{u"2/2 100%"_s, u"0/1 0%"_s, u"1/1 100%"_s}));
    // 4 of 7 points in the paint: 57 %, 2 out of it none, 3 43 %.
    QCOMPARE(cells(band(paint, u"rates"_s).blocks.at(0).lines.at(1)).mid(1),
             (QStringList{u"Paint In 4 ( 57% )"_s, u"Paint Out 3 ( 43% )"_s, u"Total Points 7"_s}));
}

void TestFamilyReports::turnoversFollowTheChoosersLastView()
{
    KeyedMatch m;
    m.start();
    const int player = m.home(2);
    // A travelling in period 1, an offensive foul with the ball in period 2.
    m.play(u"+\n1 %1 14 1\n+11\n1 %1 14 3\n+"_s.arg(player));
    const auto turnovers = [&] {
        const report::Content content = build(m, ReportEntry::Turnovers);
        return playerLine(content, 1, player).mid(3, 4) + cells(band(content, u"home"_s).blocks.at(0).lines.back()).mid(1, 4);
    };
    TurnoversFilter() = {};
    QCOMPARE(turnovers(), (QStringList{u"2"_s, u"1"_s, u"0"_s, u"1"_s, u"2"_s, u"1"_s, u"0"_s, u"1"_s}));
    // "View" with period 1 only, then the report printed from elsewhere.
    TurnoversFilter() = {.scope = ReportScope::PeriodOnly, .parameter = 1};
    QCOMPARE(turnovers(), (QStringList{u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s}));
    TurnoversFilter() = {};
}

void TestFamilyReports::randomMatchAgreesWithTheBoxScore()
{
    KeyedMatch m;
    rules::Model model(rules::homeNumbers(), rules::awayNumbers());
    rules::MatchGenerator generator(4127, {});
    while (const std::optional<rules::Event> e = generator.next(model)) {
        if (MatchSession::Recorded(e->code, m.session.Record({e->a0, e->a1, e->code, e->a3, 0})))
            model.apply(*e);
    }
    TurnoversFilter() = {};
    const BoxScoreSet box = BoxScoreBuilder(m.db()).build(m.match);
    const report::Content turnovers = build(m, ReportEntry::Turnovers), rebounds = build(m, ReportEntry::Rebounds),
                          fouls = build(m, ReportEntry::Fouls);
    for (int side : {1, 2}) {
        const QString name = side == 1 ? u"home"_s : u"away"_s;
        const BoxRow &totals = box.side(side).totals;
        for (const BoxRow &row : box.side(side).players) {
            const int shirt = row.count(BC_DRES);
            const QStringList foulLine = playerLine(fouls, side, shirt);
            int personal = 0;
            for (int k : {3, 4, 5, 6, 7, 9, 10, 11, 12})
                personal += foulLine.at(k).toInt();
            QCOMPARE(personal, row.count(BC_LG));
            QCOMPARE(foulLine.at(8).toInt(), row.count(BC_TG));
            // Players who never took part have no line in these two.
            if (const QStringList line = playerLine(rebounds, side, shirt); !line.isEmpty())
                QCOMPARE(line.last(), u"%1 / %2 / %3"_s.arg(row.count(BC_SKOKOVI)).arg(row.count(BC_SKOKN))
                                          .arg(row.count(BC_SKOKO)));
            else
                QCOMPARE(row.count(BC_SKOKOVI), 0);
            if (const QStringList line = playerLine(turnovers, side, shirt); !line.isEmpty())
                QCOMPARE(line.at(3).toInt(), row.count(BC_IZGUBLJENA));
            else
                QCOMPARE(row.count(BC_IZGUBLJENA), 0);
        }
        QCOMPARE(cells(band(rebounds, name).blocks.at(0).lines.back()).last(),
                 u"%1 / %2 / %3"_s.arg(totals.count(BC_SKOKOVI)).arg(totals.count(BC_SKOKN)).arg(totals.count(BC_SKOKO)));
        QCOMPARE(cells(band(turnovers, name).blocks.at(0).lines.back()).at(1).toInt(), totals.count(BC_IZGUBLJENA));
    }
}

void TestFamilyReports::birthYearAndRoundedPercentages()
{
    KeyedMatch m;
    m.db().execute(u"UPDATE IGRAC SET DAT_RODJ = '1985-03-07' WHERE ID_IGRAC = (SELECT ID_IGRAC FROM SASTAV "
                   "WHERE ID_UTAKMICA = ? AND DOMGOST = 1 AND DRES = ?)"_s,
                   {m.match, m.home(0)});
    m.db().commit();
    m.start();
    // One of eight free throws in the first quarter, three of eight in the second.
    const QString one = u"1 %1 4\n"_s.arg(m.home(1)), miss = u"1 %1 5\n"_s.arg(m.home(1));
    m.play(u"+\n"_s + one + miss.repeated(7) + u"+11\n"_s + one.repeated(3) + miss.repeated(5) + u"+"_s);
    const QStringList roster = playerLine(build(m, ReportEntry::Roster), 1, m.home(0));
    QCOMPARE(roster.last(), u"'85."_s);
    QCOMPARE(playerLine(build(m, ReportEntry::Roster), 1, m.home(1)).last(), QString()); // no date, nothing
    const report::Content comparison = build(m, ReportEntry::PointsComparison);
    const auto freeThrows = [&](size_t quarterBlock) {
        return cells(band(comparison, u"quarters 1-2"_s).blocks.at(quarterBlock).after.at(1));
    };
    QCOMPARE(freeThrows(0), (QStringList{u"1 P"_s, u"1"_s, u"8"_s, u"12"_s})); // 12.5 to the even neighbour
    QCOMPARE(freeThrows(2), (QStringList{u"1 P"_s, u"3"_s, u"8"_s, u"38"_s}));
}

QTEST_MAIN(TestFamilyReports)
#include "test_family_reports.moc"
