// The box score built from the event records: where each event counts, the
// totals under the on-court view, rounding, event filters, builds as
// independent values of any stored match, the roster tables and the name
// lookups; and, through a whole random match recorded as the console records
// it, agreement with the statistic lines that the rules engine keeps.
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/MatchRoster.h"
#include "data/FbClient.h"
#include "data/StatLines.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesDesk.h"
#include "support/BoxScoreAgreement.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <algorithm>

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

// Roster rows of the side (DOMGOST 1 home, 0 away); `starters` carry the starter mark.
void insertRoster(fb::Connection &db, int side, std::initializer_list<int> shirts,
                  std::initializer_list<int> starters = {}, int match = Match)
{
    for (int shirt : shirts)
        db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DOMGOST, DRES, SEKUNDA) values (1, ?, ?, ?, ?)"_s,
                   {match, side == 1 ? 1 : 0, shirt, std::find(starters.begin(), starters.end(), shirt) != starters.end()});
}

const BoxRow *rowOf(const BoxSide &side, int shirt) { return side.player(shirt); }

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

Q_DECLARE_METATYPE(EventFilter)

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
    void buildsAreIndependentValuesOfAnyMatch();
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
    insertRoster(db, 1, {5, 9});
    insertRoster(db, 2, {5, 9});
    insert(db, {.side = event[0], .player = event[1], .code = event[2], .parameter = event[3]});
    const BoxScoreSet set = BoxScoreBuilder(db).build(Match);
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
    insertRoster(db, 1, {4, 5, 6});
    for (int shirt : {4, 6, 99})
        insert(db, {.player = shirt, .code = EvMade2});
    insert(db, {.player = 6, .code = EvMiss3});

    BoxScoreSet box = BoxScoreBuilder(db).build(Match);
    box.markOnCourt(1, {4, 5, 7, 8, 10});
    const BoxSide home = box.home.view(actorsOnly, visibleOnlyTotals);
    QList<int> shown;
    for (const BoxRow &row : home.players)
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
    QCOMPARE(rowOf(box.home, 6)->count(BC_POENI), 2); // hidden rows still hold their figures
    QCOMPARE(box.home.totals.count(BC_P2OK), 3);      // the view leaves the built value alone
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
    insertRoster(db, 2, {11});
    for (int i = 0; i < made; ++i) {
        insert(db, {.side = 2, .player = 11, .code = EvMade1});
        insert(db, {.side = 2, .player = 11, .code = EvMade2});
    }
    for (int i = 0; i < missed; ++i) {
        insert(db, {.side = 2, .player = 11, .code = EvMiss1});
        insert(db, {.side = 2, .player = 11, .code = EvMiss2});
    }
    const BoxSide away = BoxScoreBuilder(db).build(Match).away;
    for (const BoxRow *row : {rowOf(away, 11), &away.totals}) {
        QCOMPARE(row->count(BC_P1PROC), percent);
        QCOMPARE(row->count(BC_P2PROC), percent);
        QCOMPARE(RoundHalfEven((*row)[BC_P23PROC]), fieldGoalsShown);
    }
}

void TestBoxScore::eventFilter_data()
{
    QTest::addColumn<EventFilter>("filter");
    QTest::addColumn<int>("homePoints");
    QTest::addColumn<int>("awayFoulsDrawn");
    QTest::newRow("whole match") << EventFilter() << 2 + 3 + 1 << 2;
    QTest::newRow("starters") << EventFilter{.starters = true} << 2 + 1 << 1;
    QTest::newRow("bench") << EventFilter{.starters = false} << 3 << 1;
    QTest::newRow("first overtime") << EventFilter::Period(5) << 1 << 1;
    QTest::newRow("until period 2") << EventFilter::UntilPeriod(2) << 2 << 1;
    QTest::newRow("overtimes only") << EventFilter::FromPeriod(5) << 1 << 1;
    QTest::newRow("after bonus") << EventFilter{.inBonus = true} << 3 << 0;
    QTest::newRow("before bonus, starters") << EventFilter{.inBonus = false, .starters = true} << 3 << 1;
}

void TestBoxScore::eventFilter()
{
    QFETCH(EventFilter, filter);
    QFETCH(int, homePoints);
    QFETCH(int, awayFoulsDrawn);
    Sandbox sb;
    auto &db = sb.dm().db();
    insertRoster(db, 1, {4, 9});
    insertRoster(db, 2, {7});
    insert(db, {.player = 4, .code = EvMade2, .period = 1, .starter = 1});
    insert(db, {.player = 9, .code = EvMade3, .period = 4, .bonus = 1});
    insert(db, {.player = 4, .code = EvMade1, .period = 5, .starter = 1});
    insert(db, {.player = 4, .code = EvPersonalFoul, .parameter = 7, .period = 5, .starter = 1});
    insert(db, {.player = 9, .code = EvPersonalFoul, .parameter = 7, .period = 2});
    const BoxScoreSet set = BoxScoreBuilder(db).build(Match, filter);
    QCOMPARE(set.home.totals.count(BC_POENI), homePoints);
    QCOMPARE(rowOf(set.away, 7)->count(BC_LGNA), awayFoulsDrawn);
}

void TestBoxScore::buildsAreIndependentValuesOfAnyMatch()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    insertRoster(db, 1, {4, 9}, {4});
    insertRoster(db, 1, {21}, {}, Match + 1);
    insert(db, {.player = 4, .code = EvMade2, .starter = 1});
    insert(db, {.player = 9, .code = EvMade3});
    // The console's roster tables hold the open match, another one.
    FillRosterTables(CurrentMatch(), ReadMatchRoster(db, Match + 1));

    const BoxScoreBuilder builder(db);
    const BoxScoreSet starters = builder.build(Match, {.starters = true});
    const BoxScoreSet bench = builder.build(Match, {.starters = false});
    const BoxScoreSet whole = builder.build(Match);
    QCOMPARE(starters.home.totals.count(BC_POENI), 2);
    QCOMPARE(bench.home.totals.count(BC_POENI), 3);
    QCOMPARE(whole.home.totals.count(BC_POENI), 5);
    QCOMPARE(rowOf(whole.home, 4)->count(BC_STARTER), 1);
    QCOMPARE(rowOf(whole.home, 9)->count(BC_STARTER), 0);
    QCOMPARE(rowOf(whole.home, 9)->count(BC_AKTER), 0);
    QCOMPARE(whole.home.players.size(), size_t(2));
    // Building left the open match's roster tables as they were.
    QCOMPARE(CurrentMatch().rosterHome[0].shirtNumber, 21);
    QCOMPARE(CurrentMatch().rosterHome[1].shirtNumber, -1);
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
    insert(db, {.player = 16, .code = EvMade2});

    FillRosterTables(CurrentMatch(), ReadMatchRoster(db, Match));
    const Roster &home = CurrentMatch().rosterHome;
    QCOMPARE(home[0].shirtNumber, 4);
    QCOMPARE(home[11].shirtNumber, 15);
    QCOMPARE(RosterPosition(1, 16), -1);
    QCOMPARE(home[0].shortName, u"Đorđević M."_s);
    QCOMPARE(home[0].surname, u"DJordjevic"_s);
    QCOMPARE(home[0].firstName, u"Milos"_s);
    QCOMPARE(home[0].registration, u"R-1"_s);
    QCOMPARE(CurrentMatch().rosterAway[0].shirtNumber, 8); // DOMGOST 0 and 2 are both away
    QCOMPARE(CurrentMatch().rosterAway[1].shirtNumber, 6);
    QCOMPARE(CurrentMatch().rosterAway[2].shirtNumber, -1);

    // The box score lists the thirteenth player too, with his names.
    BoxScoreSet box = BoxScoreBuilder(db).build(Match);
    box.markOnCourt(1, {4, 5, 6, 7, 16});
    QCOMPARE(box.home.players.size(), size_t(13));
    QCOMPARE(rowOf(box.home, 16)->count(BC_POENI), 2);
    QCOMPARE(rowOf(box.home, 16)->count(BC_AKTER), 1);
    QCOMPARE(rowOf(box.home, 15)->count(BC_AKTER), 0);
    QCOMPARE(rowOf(box.home, 16)->surname, u"Đorđević"_s);
    QCOMPARE(rowOf(box.home, 16)->registration, u"R-1"_s);
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
