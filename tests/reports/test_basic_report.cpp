// The basic report from the stored rows: the scope and filter a choice
// makes, the report's minute, the figures of the cases that catch faults,
// a random match against the console's box score, and long names on one page.
#include "common/GameClock.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "publish/KeyedMatch.h"
#include "reports/BasicReport.h"
#include "reports/ReportFrame.h"
#include "reports/ReportRenderer.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesModel.h"
#include "support/BoxScoreAgreement.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ReportChoice)
Q_DECLARE_METATYPE(EventFilter)

namespace {

const report::Band &band(const report::Content &content, const QString &name)
{
    for (const report::Band &b : content.pages.at(0).bands)
        if (b.name == name)
            return b;
    qFatal("no band %s", qPrintable(name));
}

QStringList cells(const report::Line &line)
{
    QStringList texts;
    for (const report::Cell &cell : line.cells)
        texts << cell.text;
    return texts;
}

// The player line of a shirt number in the home or away band.
report::Line playerLine(const report::Content &content, int side, int shirt)
{
    const QString number = shirt == 100 ? u"00"_s : QString::number(shirt);
    for (const report::Line &line : band(content, side == 1 ? u"home"_s : u"away"_s).blocks.at(0).lines)
        if (!line.cells.empty() && line.cells[0].text == number && line.cells.size() > 20)
            return line;
    qFatal("no line of %d", shirt);
}

report::Content basic(KeyedMatch &m, const ReportChoice &choice = {})
{
    return BuildBasicReport(m.db(), {.match = m.match, .choice = choice, .colour = true, .pictureDirectory = {}});
}

} // namespace

class TestBasicReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void choiceMakesFilterAndDescription_data();
    void choiceMakesFilterAndDescription();
    void reportMinute_data();
    void reportMinute();
    void figuresOfAShortMatch();
    void overtimeColumn();
    void matchWithoutEvents();
    void randomMatchAgreesWithTheConsolesBoxScore();
    void longNamesOnOnePage();
};

void TestBasicReport::choiceMakesFilterAndDescription_data()
{
    QTest::addColumn<ReportChoice>("choice");
    QTest::addColumn<EventFilter>("filter");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("title");

    QTest::newRow("at the moment") << ReportChoice{} << EventFilter{} << u"At the moment"_s << u"Basic Report"_s;
    QTest::newRow("until period 3") << ReportChoice{.scope = ReportScope::UntilPeriod, .parameter = 3}
                                    << EventFilter{.toPeriod = 3} << u"Until Period 3"_s << u"Basic Report"_s;
    QTest::newRow("period 2 only, zone")
        << ReportChoice{.scope = ReportScope::PeriodOnly, .parameter = 2, .defenceType = 1}
        << EventFilter{.fromPeriod = 2, .toPeriod = 2, .defenceType = 1} << u"Period 2 Only, Defense Type - ZONE"_s
        << u"Basic Report"_s;
    QTest::newRow("until overtime, fast break")
        << ReportChoice{.scope = ReportScope::UntilOvertime, .attackType = 2}
        << EventFilter{.toPeriod = 4, .attackType = 2} << u"Until Overtime, Attack Type 2"_s << u"Basic Report"_s;
    QTest::newRow("overtime only, before bonus")
        << ReportChoice{.scope = ReportScope::OvertimeOnly, .afterBonus = false}
        << EventFilter{.fromPeriod = 5, .inBonus = false} << u"OverTime Only, BEFORE BONUS"_s << u"Before Bonus"_s;
    QTest::newRow("after bonus, normal attack, man to man")
        << ReportChoice{.attackType = 0, .defenceType = 0, .afterBonus = true}
        << EventFilter{.attackType = 0, .defenceType = 0, .inBonus = true}
        << u"At the moment, Attack Type 0, Defense Type - MAN TO MAN, AFTER BONUS"_s << u"After Bonus"_s;
    QTest::newRow("until minute narrows nothing") << ReportChoice{.scope = ReportScope::UntilMinute, .parameter = 7}
                                                  << EventFilter{} << u"Until minute 7"_s << u"Basic Report"_s;
}

void TestBasicReport::choiceMakesFilterAndDescription()
{
    QFETCH(ReportChoice, choice);
    QFETCH(EventFilter, filter);
    QFETCH(QString, description);
    QFETCH(QString, title);
    QVERIFY(choice.filter() == filter);
    QCOMPARE(choice.description(), description);
    QCOMPARE(choice.basicTitle(), title);
}

void TestBasicReport::reportMinute_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("ended");
    QTest::addColumn<int>("expected");

    QTest::newRow("before the tip-off") << 1 << 10 << 0 << 0;
    QTest::newRow("second quarter, 7 on the clock") << 2 << 7 << 0 << 12;
    QTest::newRow("third quarter waiting at its start") << 3 << 10 << 0 << 20;
    QTest::newRow("end of regular time") << 4 << 0 << 1 << 40;
    QTest::newRow("first overtime at its start") << 5 << 5 << 0 << 40;
    QTest::newRow("first overtime, 3 on the clock") << 5 << 3 << 0 << 41;
    QTest::newRow("end of the first overtime") << 5 << 0 << 1 << 45;
}

void TestBasicReport::reportMinute()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, ended);
    QFETCH(int, expected);
    QCOMPARE(ReportMinute(MatchClock{.minute = minute, .period = period, .ended = ended}), expected);
}

void TestBasicReport::figuresOfAShortMatch()
{
    KeyedMatch m;
    m.start();
    const int shooter = m.home(0);
    // 1 of 3 free throws and 2 of 5 field goals, one of them from the paint;
    // a coach's technical foul and a time-out of the home side only.
    m.play(u"+\n1 %1 4\n1 %1 5\n1 %1 5\n1 %1 6 5\n1 %1 6 1\n1 %1 7 2\n1 %1 7 2\n1 %1 9 1\n"
           "1 %1 19\n1 0 20\n2 %2 8 1\n+13"_s.arg(shooter).arg(m.away(1)));
    const report::Content content = basic(m);

    const QStringList line = cells(playerLine(content, 1, shooter));
    QCOMPARE(line.value(4), u"5"_s);
    QCOMPARE(line.value(11), u"3/7 43%"_s); // attack: 2/5 field goals and half of 1/3 free throws, rounded up
    QCOMPARE(playerLine(content, 1, shooter).cells.back().fill, report::Fill::TookPart);
    const report::Line benchLine = playerLine(content, 1, m.home(11));
    QCOMPARE(benchLine.cells.back().fill, report::Fill::None); // never on court

    // The clock shows 7 in the second quarter: minute 12.
    const auto &parameters = band(content, u"parameters"_s).blocks.at(0).lines;
    QCOMPARE(parameters.at(0).cells.at(0).text, u"Statistic Parameters: At the moment; Minute: 12"_s);
    QCOMPARE(parameters.at(1).cells.at(0).text, u"5 / 3     0 / 0"_s);
    const auto &summary = band(content, u"summary"_s).blocks;
    const QStringList score = cells(summary.at(3).lines.at(1));
    QCOMPARE(score, (QStringList{u"Score"_s, u"5 : 3"_s, u"5 : 3"_s, u"5 : 3"_s, u"- : -"_s, u"- : -"_s,
                                 u"- : -"_s, u"- : -"_s, u"- : -"_s}));
    QCOMPARE(cells(summary.at(3).lines.at(0)).size(), 9); // no overtime column
    QCOMPARE(cells(band(content, u"home"_s).blocks.at(0).lines.at(0)).mid(2),
             (QStringList{u"TF: 1"_s, u"Time outs: 1"_s}));
    QCOMPARE(cells(band(content, u"away"_s).blocks.at(0).lines.at(0)).mid(2),
             (QStringList{u"TF: 0"_s, u"Time outs: 0"_s}));
    // Paint: 2 in, 3 - 2 - 1 out.
    const QStringList comparison = cells(band(content, u"comparison"_s).blocks.at(0).lines.at(2));
    QCOMPARE(comparison.mid(comparison.size() - 2), (QStringList{u"2"_s, u"2"_s}));
    // The starter's points are the line-up's, the bench has none.
    QCOMPARE(cells(summary.at(0).lines.at(1)).value(2), u"5"_s);
    QCOMPARE(cells(summary.at(0).lines.at(2)).value(2), u"0"_s);
}

void TestBasicReport::overtimeColumn()
{
    KeyedMatch m;
    m.start();
    // Regular time, then a first overtime with one basket, to its end.
    m.play(u"+\n1 %1 6 5\n+43\n+\n+\n1 %1 6 5\n+5"_s.arg(m.home(0)));
    const report::Content content = basic(m);
    const auto &table = band(content, u"summary"_s).blocks.at(3).lines;
    QCOMPARE(cells(table.at(0)).last(), u"45"_s);
    QCOMPARE(cells(table.at(1)).last(), u"2 : 0"_s);
    QCOMPARE(cells(table.at(1)).value(8), u"2 : 0"_s); // the 40th minute
    QCOMPARE(band(content, u"match"_s).blocks.at(1).lines.at(0).cells.at(0).text, u"Statistics until 45. minute"_s);
    QCOMPARE(band(content, u"parameters"_s).blocks.at(0).lines.at(1).cells.at(0).text,
             u"2 / 0     0 / 0     0 / 0     0 / 0     2 / 0"_s);
}

void TestBasicReport::matchWithoutEvents()
{
    KeyedMatch m;
    // Shirt number 100 is printed "00".
    m.db().execute(u"UPDATE SASTAV SET DRES = 100 WHERE ID_UTAKMICA = ? AND DOMGOST = 0 AND DRES = ?"_s,
                   {m.match, m.away(11)});
    m.db().commit();
    const report::Content content = basic(m);
    QCOMPARE(playerLine(content, 2, 100).cells.at(0).text, u"00"_s);
    QCOMPARE(band(content, u"match"_s).blocks.at(0).lines.at(1).cells.at(1).text, u"0-0"_s);
    const QStringList score = cells(band(content, u"summary"_s).blocks.at(3).lines.at(1));
    QCOMPARE(score.count(u"- : -"_s), 8);
    for (const QString &count : cells(playerLine(content, 2, m.away(0))).mid(7, 5))
        QCOMPARE(count, u"0/0 0%"_s);
    const auto &teamStatistics = band(content, u"summary"_s).blocks.at(2).lines;
    for (size_t k = 2; k < teamStatistics.size(); ++k)
        QCOMPARE(teamStatistics[k].cells.at(1).text, u"0"_s);
    QVERIFY_THROWS_EXCEPTION(ReportError, BuildBasicReport(m.db(), {.match = m.match + 100,
                                                                    .choice = {},
                                                                    .colour = true,
                                                                    .pictureDirectory = {}}));
}

void TestBasicReport::randomMatchAgreesWithTheConsolesBoxScore()
{
    KeyedMatch m;
    rules::Model model(rules::homeNumbers(), rules::awayNumbers());
    rules::MatchGenerator generator(8112, {});
    while (const std::optional<rules::Event> e = generator.next(model)) {
        if (MatchSession::Recorded(e->code, m.session.Record({e->a0, e->a1, e->code, e->a3, 0})))
            model.apply(*e);
    }
    // The box score agrees with the rules engine's statistic lines...
    CompareBoxScoreWithStatLines(m.db(), m.match, u"random match"_s);
    const BoxScoreSet box = BoxScoreBuilder(m.db()).build(m.match);
    const report::Content content = basic(m);
    // ...and the report with the box score and the console's times on court.
    for (int side : {1, 2}) {
        const QHash<int, TimeOnCourt> times = m.session.TimesOnCourt()[size_t(side - 1)];
        for (const BoxRow &row : box.side(side).players) {
            const int shirt = row.count(BC_DRES);
            const QStringList line = cells(playerLine(content, side, shirt));
            QCOMPARE(line.value(3), row.surname);
            QCOMPARE(line.value(4), QString::number(row.count(BC_POENI)));
            const TimeOnCourt time = times.value(shirt);
            QCOMPARE(line.value(5),
                     u"%1:%2"_s.arg(time.minutes()).arg(time.remainingSeconds(), 2, 10, QLatin1Char('0')));
            QCOMPARE(line.value(6), QString::number(RoundHalfEven(row[BC_INDEKS])));
            QCOMPARE(line.value(7), u"%1/%2 %3%"_s.arg(row.count(BC_P1OK)).arg(row.count(BC_P1UK))
                                         .arg(row.count(BC_P1PROC)));
            QCOMPARE(line.value(10), u"%1/%2 %3%"_s.arg(row.count(BC_PIZIGREOK)).arg(row.count(BC_PIZIGREUK))
                                          .arg(RoundHalfEven(row[BC_P23PROC])));
            int column = 12;
            for (BoxColumn c : {BC_ASISTENCIJA, BC_UKRADENA, BC_IZGUBLJENA, BC_SKOKO, BC_SKOKN, BC_SKOKOVI, BC_LG,
                                BC_LGNA, BC_TG, BC_BLOK, BC_BLOKNA})
                QCOMPARE(line.value(column++), QString::number(row.count(c)));
        }
        const QStringList totals = cells(band(content, side == 1 ? u"home"_s : u"away"_s).blocks.at(0).lines.back());
        QCOMPARE(totals.value(4), QString::number(box.side(side).totals.count(BC_POENI)));
        QCOMPARE(totals.value(14), QString::number(box.side(side).totals.count(BC_IZGUBLJENA)));
    }
}

void TestBasicReport::longNamesOnOnePage()
{
    KeyedMatch m;
    // Surnames and first names of the longest the register keeps, with
    // quotes and the letters of the region, and a club with quotes.
    const QString surname = u"Đorđević-Šćepanović Žarko"_s;
    fb::Query players(m.db(), u"SELECT ID_IGRAC, DRES FROM SASTAV WHERE ID_UTAKMICA = ?"_s);
    players.exec({m.match});
    QList<QPair<int, int>> ids;
    while (players.next())
        ids.append({players.value(0).toInt(), players.value(1).toInt()});
    players.close();
    QStringList surnames;
    for (const auto &[id, shirt] : ids) {
        const QString name = (surname + QString::number(shirt).rightJustified(2, u'0')).left(26);
        surnames << name;
        m.db().execute(u"UPDATE IGRAC SET PREZIME = ?, IME = ? WHERE ID_IGRAC = ?"_s,
                       {name, u"Aleksandar \"Čiča\" Milutinović"_s.left(26), id});
    }
    m.db().execute(u"UPDATE KLUB SET NAZIV = ? WHERE ID_KLUB = (SELECT ID_KLUB1 FROM UTAKMICA WHERE ID_UTAKMICA = ?)"_s,
                   {u"KK \"Crvena zvezda\" Čačak"_s, m.match});
    m.db().commit();
    m.start();
    m.play(u"+\n1 %1 6 5\n2 %2 8 1"_s.arg(m.home(0)).arg(m.away(0)));

    const report::Content content = basic(m);
    const report::Renderer renderer(content);
    QCOMPARE(renderer.pageCount(), 1);
    QVERIFY2(renderer.usedHeightMm(0) <= report::PageHeightMm - 2 * report::MarginTopMm,
             qPrintable(QString::number(renderer.usedHeightMm(0))));
    for (const report::Band &b : content.pages[0].bands) {
        double width = -3;
        for (const report::Block &block : b.blocks) {
            double widest = 0;
            for (const report::Line &line : block.lines)
                widest = std::max(widest, line.width());
            width += widest + 3;
        }
        QVERIFY2(width <= report::PrintableWidthMm, qPrintable(b.name));
    }
    // Every surname whole in the PDF's text, and the club with its quotes.
    QTemporaryDir dir;
    QFile pdf(dir.filePath(u"basic.pdf"_s));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(renderer.pdf());
    pdf.close();
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, pdf.fileName(), u"-"_s});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString &name : surnames)
        QVERIFY2(printed.contains(name), qPrintable(name));
    QVERIFY(printed.contains(u"KK \"Crvena zvezda\" Čačak"_s));
    QVERIFY(printed.contains(u"Aleksandar \"Čiča\" Milutinović"_s.left(26)));

    // The league picture is the data directory's LIGA.jpg, when there is one.
    QCOMPARE(content.frame.leaguePicture, QString());
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(dir.filePath(QLatin1String(LeaguePictureName)), "JPG"));
    const report::Content withPicture =
        BuildBasicReport(m.db(), {.match = m.match, .choice = {}, .colour = true, .pictureDirectory = dir.path()});
    QCOMPARE(withPicture.frame.leaguePicture, dir.filePath(QLatin1String(LeaguePictureName)));
    QVERIFY(!report::Renderer(withPicture).pdf().isEmpty());
}

QTEST_MAIN(TestBasicReport)
#include "test_basic_report.moc"
