// The box score built from the event records: where each event counts, the
// totals under the on-court filter, rounding, event filters, the three sets
// and report mode, the roster tables and the name lookups; and, through a
// whole random match recorded as the console records it, agreement with the
// statistic lines that the rules engine keeps.
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "data/StatLines.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesDesk.h"
#include "support/BoxScoreAgreement.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Match = 1;


struct Dtt
{
    int side = 1;
    int player = 0;
    int code = EvAssist;
    int parameter = 0;
    int period = 1;
    int starter = 0;
    int bonus = 0;
};

void insert(fb::Connection &db, const Dtt &e)
{
    static int number = 0;
    const bool made = e.code == EvMade1 || e.code == EvMade2 || e.code == EvMade3;
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, RES, PAR1, P, M, STARTER, ISBONUS, I1) "
               "values (?, ?, ?, ?, ?, ?, ?, 5, ?, ?, ?)"_s,
               {Match, ++number, e.side, e.player, e.code, e.parameter, e.period, e.starter, e.bonus,
                made ? (e.code - EvMade1) / 2 + 1 : 0});
}

void insertLines(fb::Connection &db, int side, std::initializer_list<int> shirts)
{
    for (int shirt : shirts)
        db.execute(u"insert into %1 (DRES) values (?)"_s.arg(side == 1 ? u"STATDOMACI"_s : u"STATGOSTI"_s), {shirt});
}

const BoxRow *rowOf(const BoxSide &side, int shirt)
{
    for (const BoxRow &row : side.players)
        if (row.count(BC_DRES) == shirt)
            return &row;
    return nullptr;
}

// "column=value" of every non-zero column of a row, in column order.
QString nonZero(const BoxRow &row)
{
    QStringList values;
    for (int c = BC_POENI; c < BoxColumnCount; ++c)
        if (row.columns[size_t(c)] != 0)
            values << u"%1=%2"_s.arg(BoxColumnNames()[c]).arg(row.columns[size_t(c)]);
    return values.join(u' ');
}

} // namespace

class TestBoxScore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void eventCountsInItsColumns_data();
    void eventCountsInItsColumns();
    void totalsUnderTheOnCourtFilter_data();
    void totalsUnderTheOnCourtFilter();
    void percentagesRoundHalvesToEven_data();
    void percentagesRoundHalvesToEven();
    void eventFilter_data();
    void eventFilter();
    void reportModeFillsItsOwnSet();
    void rosterTablesHoldTwelvePlayersWithNames();
    void nameLookups();
    void agreesWithStatLinesThroughARandomMatch();
};

void TestBoxScore::eventCountsInItsColumns_data()
{
    QTest::addColumn<QList<int>>("event"); // side, player, code, parameter
    QTest::addColumn<QString>("home9");
    QTest::addColumn<QString>("away5");
    QTest::newRow("made two") << QList<int>{1, 9, EvMade2, 3}
                              << u"POENI=2 P2OK=1 P2UK=1 P2PROC=100 PIZIGREOK=1 PIZIGREUK=1 P23PROC=100 INDEKS=2"_s
                              << QString();
    QTest::newRow("missed free throw") << QList<int>{1, 9, EvMiss1, 0} << u"P1UK=1 INDEKS=-1"_s << QString();
    QTest::newRow("made three") << QList<int>{2, 5, EvMade3, 6} << QString()
                                << u"POENI=3 P3OK=1 P3UK=1 P3PROC=100 PIZIGREOK=1 PIZIGREUK=1 P23PROC=100 INDEKS=3"_s;
    QTest::newRow("foul on an opponent") << QList<int>{2, 5, EvPersonalFoul, 9} << u"LGNA=1 INDEKS=1"_s
                                         << u"LG=1 INDEKS=-1"_s;
    QTest::newRow("blocked shot") << QList<int>{1, 9, EvBlock, 5} << u"BLOK=1 INDEKS=1"_s << u"BLOKNA=1 INDEKS=-1"_s;
    QTest::newRow("rebounds") << QList<int>{1, 9, EvReboundOffence, 0} << u"SKOKN=1 SKOKOVI=1 INDEKS=1"_s
                              << QString();
    QTest::newRow("turnover") << QList<int>{2, 5, EvTurnover, 4} << QString() << u"IZGUBLJENA=1 INDEKS=-1"_s;
    QTest::newRow("technical to a player") << QList<int>{2, 5, EvTechnicalPlayer, 0} << QString()
                                           << u"TG=1 INDEKS=-1"_s;
    QTest::newRow("time-out") << QList<int>{1, 0, EvTimeOut, 0} << QString() << QString();
}

void TestBoxScore::eventCountsInItsColumns()
{
    QFETCH(QList<int>, event);
    QFETCH(QString, home9);
    QFETCH(QString, away5);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLines(db, 1, {5, 9});
    insertLines(db, 2, {5, 9});
    insert(db, {.side = event[0], .player = event[1], .code = event[2], .parameter = event[3]});
    BoxScore box;
    box.BuildBoxScore(db, Match);
    const BoxScoreSet &set = box.tables(BoxScore::Set::Console);
    QCOMPARE(nonZero(*rowOf(set.home, 9)), home9);
    QCOMPARE(nonZero(*rowOf(set.away, 5)), away5);
    QCOMPARE(nonZero(set.home.totals), home9);
    QCOMPARE(nonZero(set.away.totals), away5);
    QCOMPARE(nonZero(*rowOf(set.home, 5)), QString());
}

void TestBoxScore::totalsUnderTheOnCourtFilter_data()
{
    QTest::addColumn<bool>("actorsOnly");
    QTest::addColumn<bool>("visibleOnlyTotals");
    QTest::addColumn<QList<int>>("visible");
    QTest::addColumn<int>("madeTwos");
    // Made twos by 4 (on court), 6 (on the bench) and 99 (no statistic line).
    QTest::newRow("every event") << false << false << QList<int>{4, 5, 6} << 3;
    QTest::newRow("filtered rows, every event") << true << false << QList<int>{4, 5} << 3;
    QTest::newRow("filtered rows, their events") << true << true << QList<int>{4, 5} << 1;
    QTest::newRow("every row, their events") << false << true << QList<int>{4, 5, 6} << 2;
}

void TestBoxScore::totalsUnderTheOnCourtFilter()
{
    QFETCH(bool, actorsOnly);
    QFETCH(bool, visibleOnlyTotals);
    QFETCH(QList<int>, visible);
    QFETCH(int, madeTwos);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLines(db, 1, {4, 5, 6});
    for (int shirt : {4, 6, 99})
        insert(db, {.player = shirt, .code = EvMade2});
    insert(db, {.player = 6, .code = EvMiss3});
    CurrentMatch().onCourtHome = {4, 5, 7, 8, 10};

    BoxScore box;
    box.SetOnCourtFilter(BoxScore::Set::Console, 1, actorsOnly);
    box.SetVisibleOnlyTotals(1, visibleOnlyTotals);
    box.BuildBoxScore(db, Match);
    const BoxSide &home = box.tables(BoxScore::Set::Console).home;
    QList<int> shown;
    for (const BoxRow &row : home.visiblePlayers())
        shown << row.count(BC_DRES);
    QCOMPARE(shown, visible);
    QCOMPARE(home.totals.count(BC_P2OK), madeTwos);
    // The totals' own figures follow from the counts they show.
    const BoxRow &t = home.totals;
    QCOMPARE(t.count(BC_PIZIGREOK), t.count(BC_P2OK) + t.count(BC_P3OK));
    QCOMPARE(t.count(BC_PIZIGREUK), t.count(BC_P2UK) + t.count(BC_P3UK));
    QCOMPARE(t.count(BC_POENI), 2 * t.count(BC_P2OK));
    QCOMPARE(t[BC_P23PROC], 100.0 * t.count(BC_PIZIGREOK) / t.count(BC_PIZIGREUK));
    QCOMPARE(t.count(BC_INDEKS), 2 * t.count(BC_P2OK) - t.count(BC_P3UK));
    QCOMPARE(rowOf(home, 6)->count(BC_POENI), 2); // hidden rows still hold their figures
}

void TestBoxScore::percentagesRoundHalvesToEven_data()
{
    QTest::addColumn<int>("made");
    QTest::addColumn<int>("missed");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("fieldGoalsShown");
    QTest::newRow("1 of 3") << 1 << 2 << 33 << 33;
    QTest::newRow("2 of 3") << 2 << 1 << 67 << 67;
    QTest::newRow("1 of 8 is 12.5") << 1 << 7 << 12 << 12;
    QTest::newRow("3 of 8 is 37.5") << 3 << 5 << 38 << 38;
    QTest::newRow("5 of 8 is 62.5") << 5 << 3 << 62 << 62;
    QTest::newRow("29 of 50") << 29 << 21 << 58 << 58;
    QTest::newRow("none made") << 0 << 4 << 0 << 0;
}

void TestBoxScore::percentagesRoundHalvesToEven()
{
    QFETCH(int, made);
    QFETCH(int, missed);
    QFETCH(int, percent);
    QFETCH(int, fieldGoalsShown);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLines(db, 2, {11});
    for (int i = 0; i < made; ++i) {
        insert(db, {.side = 2, .player = 11, .code = EvMade1});
        insert(db, {.side = 2, .player = 11, .code = EvMade2});
    }
    for (int i = 0; i < missed; ++i) {
        insert(db, {.side = 2, .player = 11, .code = EvMiss1});
        insert(db, {.side = 2, .player = 11, .code = EvMiss2});
    }
    BoxScore box;
    box.BuildBoxScore(db, Match);
    const BoxSide &away = box.tables(BoxScore::Set::Console).away;
    for (const BoxRow *row : {rowOf(away, 11), &away.totals}) {
        QCOMPARE(row->count(BC_P1PROC), percent);
        QCOMPARE(row->count(BC_P2PROC), percent);
        QCOMPARE(RoundHalfEven((*row)[BC_P23PROC]), fieldGoalsShown);
    }
}

void TestBoxScore::eventFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("homePoints");
    QTest::addColumn<int>("awayFoulsDrawn");
    QTest::newRow("whole match") << QString() << 2 + 3 + 1 << 2;
    QTest::newRow("starters") << u" AND (STARTER = 1)"_s << 2 + 1 << 1;
    QTest::newRow("bench") << u" AND (STARTER = 0)"_s << 3 << 1;
    QTest::newRow("first overtime") << u" AND (P = 5)"_s << 1 << 1;
    QTest::newRow("after bonus, as the reports menu writes it") << u"AND (ISBONUS = 1)"_s << 3 << 0;
}

void TestBoxScore::eventFilter()
{
    QFETCH(QString, filter);
    QFETCH(int, homePoints);
    QFETCH(int, awayFoulsDrawn);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLines(db, 1, {4, 9});
    insertLines(db, 2, {7});
    insert(db, {.player = 4, .code = EvMade2, .period = 1, .starter = 1});
    insert(db, {.player = 9, .code = EvMade3, .period = 4, .bonus = 1});
    insert(db, {.player = 4, .code = EvMade1, .period = 5, .starter = 1});
    insert(db, {.player = 4, .code = EvPersonalFoul, .parameter = 7, .period = 5, .starter = 1});
    insert(db, {.player = 9, .code = EvPersonalFoul, .parameter = 7, .period = 2});
    BoxScore box;
    box.BuildBoxScore(db, Match, filter);
    const BoxScoreSet &set = box.tables(BoxScore::Set::Console);
    QCOMPARE(set.home.totals.count(BC_POENI), homePoints);
    QCOMPARE(rowOf(set.away, 7)->count(BC_LGNA), awayFoulsDrawn);
}

void TestBoxScore::reportModeFillsItsOwnSet()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    insertLines(db, 1, {4, 9});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, ?, 1, 4)"_s, {Match});
    insert(db, {.player = 4, .code = EvMade2, .starter = 1});
    insert(db, {.player = 9, .code = EvMade3});
    CurrentMatch().startersHome = {4, -1, -1, -1, -1};

    BoxScore box;
    box.BuildBoxScore(db, Match);
    QCOMPARE(box.SelectedSet(), BoxScore::Set::Console);
    QCOMPARE(CurrentMatch().rosterHome[0].counters[BC_POENI], 2);
    QCOMPARE(CurrentMatch().rosterHome[0].counters[BC_STARTER], 1);

    box.SetReportMode(true);
    box.BuildBoxScore(db, Match, u" AND (STARTER = 1)"_s);
    box.SetSecondSet(true);
    QCOMPARE(box.SelectedSet(), BoxScore::Set::SecondReport);
    box.BuildBoxScore(db, Match, u" AND (STARTER = 0)"_s);
    box.SetSecondSet(false);
    box.SetReportMode(false);

    QCOMPARE(box.tables(BoxScore::Set::Console).home.totals.count(BC_POENI), 5);
    QCOMPARE(box.tables(BoxScore::Set::Report).home.totals.count(BC_POENI), 2);
    QCOMPARE(box.tables(BoxScore::Set::SecondReport).home.totals.count(BC_POENI), 3);
    // Report builds refill the roster tables without counters.
    QCOMPARE(CurrentMatch().rosterHome[0].shirtNumber, 4);
    QCOMPARE(CurrentMatch().rosterHome[0].counters[BC_POENI], 0);
}

void TestBoxScore::rosterTablesHoldTwelvePlayersWithNames()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into IGRAC (ID_IGRAC, PREZIME, IME, EBR) values (1, 'Đorđević', 'Miloš', 'R-1')"_s);
    for (int shirt = 4; shirt <= 16; ++shirt) // thirteen home players
        db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, ?, 1, ?)"_s, {Match, shirt});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, ?, 0, 8)"_s, {Match});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, ?, 2, 6)"_s, {Match});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (1, ?, 1, 17)"_s, {Match + 1});
    insertLines(db, 1, {4, 16});
    insert(db, {.player = 16, .code = EvMade2});
    CurrentMatch().onCourtHome = {4, 5, 6, 7, 16};

    BoxScore box;
    box.BuildBoxScore(db, Match);
    const Roster &home = CurrentMatch().rosterHome;
    QCOMPARE(home[0].shirtNumber, 4);
    QCOMPARE(home[11].shirtNumber, 15);
    QCOMPARE(RosterPosition(1, 16), -1);
    QCOMPARE(rowOf(box.tables(BoxScore::Set::Console).home, 16)->count(BC_POENI), 2);
    QCOMPARE(rowOf(box.tables(BoxScore::Set::Console).home, 16)->count(BC_AKTER), 1);
    QCOMPARE(home[0].shortName, u"Đorđević M."_s);
    QCOMPARE(home[0].registration, u"R-1"_s);
    QCOMPARE(home[0].counters[BC_AKTER], 1);
    QCOMPARE(RosterNames(1, 4), u"DJordjevic;Milos"_s);
    QCOMPARE(RosterNames(1, 16), QString());
    QCOMPARE(CurrentMatch().rosterAway[0].shirtNumber, 8); // DOMGOST 0 and 2 are both away
    QCOMPARE(CurrentMatch().rosterAway[1].shirtNumber, 6);
    QCOMPARE(CurrentMatch().rosterAway[2].shirtNumber, -1);
}

void TestBoxScore::nameLookups()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into SUDIJA (ID_SUDIJA, PREZIME, IME, GRAD) values (3, 'Šiškić', 'Ivan', null)"_s);
    db.execute(u"insert into TRENER (ID_TRENER, PREZIME, IME) values (4, 'Obradović', null)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, EBR) values (5, 'Klub', 'K-5')"_s);
    db.execute(u"insert into IGRAC (ID_IGRAC, PREZIME, IME, EBR) values (6, 'Petrović', 'Ana', 'P-6')"_s);
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES) values (6, ?, 0, 100)"_s, {Match});

    NameLookups names(db);
    const PersonName referee = names.RefereeName(3);
    QCOMPARE(QStringList({referee.surname, referee.firstName, referee.city}),
             QStringList({u"Šiškić"_s, u"Ivan"_s, QString()}));
    QCOMPARE(names.RefereeName(4).surname, QString());
    QCOMPARE(names.DelegateName(3).surname, QString());
    QCOMPARE(names.CoachName(4).surname, u"Obradović"_s);
    QCOMPARE(names.CoachName(4).firstName, QString());
    QCOMPARE(names.ClubRegistrationNumber(5), u"K-5"_s);
    QCOMPARE(names.ClubRegistrationNumber(6), QString());
    QCOMPARE(names.PlayerRegistrationNumber(6), u"P-6"_s);
    QCOMPARE(names.NameByShirt(Match, 0, 100), u"Petrović Ana"_s);
    QCOMPARE(names.NameByShirt(Match, 1, 100), QString());
}

void TestBoxScore::agreesWithStatLinesThroughARandomMatch()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    rules::Desk desk(db);
    const int match = desk.createMatch();
    MatchSession session(sb.dm());
    QVERIFY(session.OpenExistingMatch(match));
    rules::Model model(rules::homeNumbers(), rules::awayNumbers());
    rules::MatchGenerator generator(20261210, {});
    int recorded = 0;
    while (const std::optional<rules::Event> e = generator.next(model)) {
        const int result = session.Record({e->a0, e->a1, e->code, e->a3, 0});
        if (!MatchSession::Recorded(e->code, result))
            continue;
        model.apply(*e);
        ++recorded;
        CompareBoxScoreWithStatLines(db, match, u"event %1"_s.arg(recorded));
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(recorded > 400);
}

QTEST_GUILESS_MAIN(TestBoxScore)
#include "test_box_score.moc"
