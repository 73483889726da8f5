// The statistic lines of the open match: derived fields, totals, the
// on-court filter, playing time and whether a player took part.
#include "common/MatchState.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "data/StatLines.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

StatLine lineWith(const QVariantMap &counters)
{
    StatLine line;
    for (auto it = counters.cbegin(); it != counters.cend(); ++it)
        line.setCounter(it.key(), it.value().toInt());
    return line;
}

// A statistic line of the side with the given counters (the rest default to 0).
void insertLine(fb::Connection &db, int side, int shirt, const QVariantMap &counters = {})
{
    QStringList columns{u"DRES"_s};
    QVariantList values{shirt};
    for (auto it = counters.cbegin(); it != counters.cend(); ++it) {
        columns << it.key();
        values << it.value();
    }
    db.execute(u"insert into %1 (%2) values (%3)"_s.arg(side == 1 ? u"STATDOMACI"_s : u"STATGOSTI"_s,
                                                       columns.join(u", "_s),
                                                       QStringList(columns.size(), u"?"_s).join(u", "_s)),
               values);
}

void insertChange(fb::Connection &db, int number, int side, int goingOff, int comingOn, const QVariant &seconds)
{
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES, PAR1, PAR2) values (1, ?, ?, ?, 18, ?, ?)"_s,
               {number, side, goingOff, comingOn, seconds});
}

QList<int> shirts(const std::vector<StatLine> &lines)
{
    QList<int> numbers;
    for (const StatLine &line : lines)
        numbers << line.DRES;
    return numbers;
}

} // namespace

class TestStatLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void derivedFields_data();
    void derivedFields();
    void everyGridFieldIsKnown();
    void linesComeByShirtNumberWithNullsAsZero();
    void totalsSumEveryLineWhateverTheFilter();
    void onCourtFilterKeepsLastFiveWhileNobodyIsOnCourt();
    void playingTime_data();
    void playingTime();
    void playerTookPart_data();
    void playerTookPart();
};

void TestStatLines::derivedFields_data()
{
    QTest::addColumn<QVariantMap>("counters");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("1 of 3 free throws") << QVariantMap{{u"P1OK"_s, 1}, {u"P1UK"_s, 3}} << u"P1PROC"_s << 33;
    QTest::newRow("2 of 3 is cut, not rounded") << QVariantMap{{u"P1OK"_s, 2}, {u"P1UK"_s, 3}} << u"P1PROC"_s << 66;
    QTest::newRow("no attempts") << QVariantMap{{u"P1OK"_s, 0}} << u"P1PROC"_s << 0;
    QTest::newRow("29 of 50 is exactly 58") << QVariantMap{{u"P21OK"_s, 29}, {u"P21UK"_s, 50}} << u"P2PROC"_s << 58;
    QTest::newRow("57 of 100 field goals")
        << QVariantMap{{u"P24OK"_s, 40}, {u"P24UK"_s, 70}, {u"P36OK"_s, 17}, {u"P36UK"_s, 30}} << u"P23PROC"_s << 57;
    const QVariantMap zones{{u"P21OK"_s, 2}, {u"P25OK"_s, 1}, {u"P36OK"_s, 1}, {u"P1OK"_s, 3},
                            {u"P21UK"_s, 4}, {u"P26UK"_s, 1}, {u"P33UK"_s, 2}, {u"P36UK"_s, 1}};
    QTest::newRow("two-point zones add up") << zones << u"P2OK"_s << 3;
    QTest::newRow("three-point zones add up") << zones << u"P3OK"_s << 1;
    QTest::newRow("two-point attempts") << zones << u"P2UK"_s << 5;
    QTest::newRow("three-point attempts") << zones << u"P3UK"_s << 3;
    QTest::newRow("field goals made") << zones << u"PIZIGREOK"_s << 4;
    QTest::newRow("field goals attempted") << zones << u"PIZIGREUK"_s << 8;
    QTest::newRow("points") << zones << u"POENI"_s << 12;
    QTest::newRow("turnovers of every type")
        << QVariantMap{{u"IZG1"_s, 1}, {u"IZG7"_s, 2}, {u"IZG11"_s, 3}} << u"IZGUBLJENA"_s << 6;
    QTest::newRow("rebounds") << QVariantMap{{u"SKOKO"_s, 4}, {u"SKOKN"_s, 2}} << u"SKOKOVI"_s << 6;
    QTest::newRow("index of 10 points, 3 rebounds, 2 turnovers, 1 foul")
        << QVariantMap{{u"P22OK"_s, 4}, {u"P22UK"_s, 8}, {u"P1OK"_s, 2}, {u"P1UK"_s, 2}, {u"SKOKO"_s, 3},
                       {u"IZG2"_s, 2}, {u"LG"_s, 1}}
        << u"INDEKS"_s << 6;
    QTest::newRow("index counts every gain and loss")
        << QVariantMap{{u"ASISTENCIJA"_s, 5}, {u"UKRADENA"_s, 2}, {u"LGNA"_s, 3}, {u"BLOK"_s, 1}, {u"TG"_s, 1},
                       {u"BLOKNA"_s, 2}, {u"P31OK"_s, 1}, {u"P31UK"_s, 3}}
        << u"INDEKS"_s << (5 + 2 + 3 + 1) - (1 + 2 + 3 - 4);
}

void TestStatLines::derivedFields()
{
    QFETCH(QVariantMap, counters);
    QFETCH(QString, field);
    QFETCH(int, expected);
    QCOMPARE(lineWith(counters).field(field), expected);
}

void TestStatLines::everyGridFieldIsKnown()
{
    // A line with a distinct value in every counter: every field the grids
    // show reads a stored counter or a formula, never an unknown name.
    StatLine line;
    int value = 0;
    for (const QString &column : StatLine::CounterColumns())
        line.setCounter(column, ++value);
    line.ID_STAT = ++value;
    line.DRES = ++value;
    const QStringList derived = {u"POENI"_s,     u"P1PROC"_s,  u"P2OK"_s,       u"P2UK"_s,    u"P2PROC"_s,
                                 u"P3OK"_s,      u"P3UK"_s,    u"P3PROC"_s,     u"PIZIGREOK"_s, u"PIZIGREUK"_s,
                                 u"P23PROC"_s,   u"SKOKOVI"_s, u"IZGUBLJENA"_s, u"INDEKS"_s};
    const QList<StatLineField> fields = StatLineFields();
    QCOMPARE(fields.size(), 2 + StatLine::CounterColumns().size() + derived.size());
    for (const StatLineField &f : fields)
        QVERIFY2(derived.contains(f.name) || StatLine::CounterColumns().contains(f.name) ||
                     f.name == u"ID_STAT"_s || f.name == u"DRES"_s,
                 qPrintable(f.name));
    QCOMPARE(line.field(u"DRES"_s), value);
}

void TestStatLines::linesComeByShirtNumberWithNullsAsZero()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLine(db, 1, 12, {{u"P23OK"_s, 2}, {u"P23UK"_s, 3}});
    insertLine(db, 1, 4, {{u"P1OK"_s, 1}, {u"P1UK"_s, QVariant()}, {u"P21OK"_s, QVariant()}});
    insertLine(db, 2, 4, {{u"P1OK"_s, 9}});

    StatLines lines(db);
    const std::vector<StatLine> home = lines.Lines(1);
    QCOMPARE(shirts(home), (QList<int>{4, 12}));
    QCOMPARE(home[0].field(u"P1PROC"_s), 0);
    QCOMPARE(home[0].field(u"POENI"_s), 1);
    QCOMPARE(home[1].field(u"POENI"_s), 4);
    QVERIFY(home[0].ID_STAT > 0);
    QCOMPARE(lines.Lines(2)[0].field(u"POENI"_s), 9);
}

void TestStatLines::totalsSumEveryLineWhateverTheFilter()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLine(db, 1, 4, {{u"P21OK"_s, 2}, {u"P21UK"_s, 3}, {u"P1OK"_s, 1}, {u"P1UK"_s, 2}, {u"IZG3"_s, 1}});
    insertLine(db, 1, 5, {{u"P36OK"_s, 1}, {u"P36UK"_s, 4}, {u"P25UK"_s, QVariant()}, {u"SKOKN"_s, 2}});
    insertLine(db, 2, 4, {{u"P21OK"_s, 7}});
    db.execute(u"insert into PETORKADOM (DRES, VREME) values (5, 0)"_s);

    StatLines lines(db);
    QCOMPARE(shirts(lines.ActorLines(1)), QList<int>{5});
    const StatLine totals = lines.Totals(1);
    QCOMPARE(totals.field(u"POENI"_s), 2 * 2 + 1 + 3);
    QCOMPARE(totals.field(u"PIZIGREOK"_s), 3);
    QCOMPARE(totals.field(u"PIZIGREUK"_s), 7);
    QCOMPARE(totals.field(u"P23PROC"_s), 42);
    QCOMPARE(totals.field(u"P1PROC"_s), 50);
    QCOMPARE(totals.field(u"SKOKOVI"_s), 2);
    QCOMPARE(totals.field(u"IZGUBLJENA"_s), 1);
    QCOMPARE(lines.Totals(2).field(u"POENI"_s), 14);
}

void TestStatLines::onCourtFilterKeepsLastFiveWhileNobodyIsOnCourt()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    for (int shirt : {4, 5, 6, 7, 8, 9, 10})
        insertLine(db, 2, shirt);

    StatLines lines(db);
    QCOMPARE(shirts(lines.ActorLines(2)), (QList<int>{4, 5, 6, 7, 8, 9, 10})); // no five seen yet
    for (int shirt : {5, 6, 7, 8, 10})
        db.execute(u"insert into PETORKAGOSTI (DRES, VREME) values (?, 0)"_s, {shirt});
    db.execute(u"insert into PETORKAGOSTI (DRES, VREME) values (4, 1)"_s); // the starting five is not now
    QCOMPARE(shirts(lines.ActorLines(2)), (QList<int>{5, 6, 7, 8, 10}));
    db.execute(u"delete from PETORKAGOSTI where VREME = 0"_s);
    QCOMPARE(shirts(lines.ActorLines(2)), (QList<int>{5, 6, 7, 8, 10}));
    QCOMPARE(shirts(lines.ActorLines(1)), QList<int>{}); // the home side has no lines
    QCOMPARE(lines.Lines(2).size(), size_t(7));
}

void TestStatLines::playingTime_data()
{
    QTest::addColumn<int>("shirt");
    QTest::addColumn<bool>("onCourt");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("remaining");
    // Changes of the home side: 7 on for 4 at 600 s, 4 on for 7 at 900 s,
    // 5 off for 9 at 300 s; an away change names 7 too. Now: 1000 s.
    QTest::newRow("came on and went off") << 7 << false << 300 << 5 << 0;
    QTest::newRow("starter who went off") << 5 << false << 300 << 5 << 0;
    QTest::newRow("on court since he came on") << 9 << true << 700 << 11 << 40;
    QTest::newRow("starter back on court") << 4 << true << 600 - 900 + 1000 << 11 << 40;
    QTest::newRow("went off at no recorded time") << 11 << false << 0 << 0 << 0;
}

void TestStatLines::playingTime()
{
    QFETCH(int, shirt);
    QFETCH(bool, onCourt);
    QFETCH(int, seconds);
    QFETCH(int, minutes);
    QFETCH(int, remaining);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertChange(db, 1, 1, 5, 9, 300);
    insertChange(db, 2, 1, 4, 7, 600);
    insertChange(db, 3, 1, 7, 4, 900);
    insertChange(db, 4, 2, 7, 8, 450);
    insertChange(db, 5, 1, 11, 12, QVariant()); // no time: counts as 0
    CurrentMatch().onCourtHome = {4, 9, 6, 8, 10};
    const TimeOnCourt time = StatLines(db).PlayingTime(1, 1, shirt, 1000);
    QCOMPARE(IsOnCourt(1, shirt) == 1, onCourt);
    QCOMPARE(time.seconds, seconds);
    QCOMPARE(time.minutes(), minutes);
    QCOMPARE(time.remainingSeconds(), remaining);
}

void TestStatLines::playerTookPart_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("shirt");
    QTest::addColumn<bool>("tookPart");
    QTest::newRow("starter without events") << 1 << 4 << true;
    QTest::newRow("actor of an event") << 1 << 7 << true;
    QTest::newRow("came on in a change") << 1 << 9 << true;
    QTest::newRow("named only as the fouled opponent") << 2 << 12 << false;
    QTest::newRow("actor in another match only") << 2 << 7 << false;
    QTest::newRow("nowhere") << 1 << 15 << false;
}

void TestStatLines::playerTookPart()
{
    QFETCH(int, side);
    QFETCH(int, shirt);
    QFETCH(bool, tookPart);
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES, PAR1) values (1, 1, 1, 7, 15, 12)"_s);
    insertChange(db, 2, 1, 5, 9, 300);
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES) values (2, 1, 2, 7, 6)"_s);
    CurrentMatch().startersHome = {4, 5, 6, 8, 10};
    QCOMPARE(StatLines(db).PlayerTookPart(1, side, shirt), tookPart);
}

QTEST_GUILESS_MAIN(TestStatLines)
#include "test_stat_lines.moc"
