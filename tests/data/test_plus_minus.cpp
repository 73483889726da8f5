// Plus-minus: the ten players on court gain or lose a made shot's points,
// the history row lists them by roster position, and deleting the shot takes
// the points back.
#include "common/MatchState.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Match = 3;

// Rosters home 4..15 and away 20..31 (positions 0..11), with fives on court.
void setUpCourt(const CourtNumbers &home, const CourtNumbers &away)
{
    MatchState &state = CurrentMatch();
    for (int i = 0; i < RosterSize; ++i) {
        state.rosterHome[size_t(i)].shirtNumber = 4 + i;
        state.rosterAway[size_t(i)].shirtNumber = 20 + i;
    }
    state.onCourtHome = home;
    state.onCourtAway = away;
}

// "side/shirt/position:balance" of every INDEKSI row of the match.
QStringList balances(fb::Connection &db)
{
    fb::Query q(db, u"select HG, NODR, IDPLAYER, VAL from INDEKSI where IDGAME = ? order by HG, NODR"_s);
    q.exec({Match});
    QStringList rows;
    while (q.next())
        rows << u"%1/%2/%3:%4"_s.arg(q.value(0).toInt()).arg(q.value(1).toInt()).arg(q.value(2).toInt())
                    .arg(q.value(3).toInt());
    return rows;
}

int historyRows(fb::Connection &db)
{
    return db.scalar(u"select count(*) from ISTORIJA_INDEKSI_PM where IDUTAKMICE = ?"_s, {Match}).toInt();
}

} // namespace

class TestPlusMinus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void firstMadeShotCreatesTenBalancesAndOneHistoryRow();
    void awayShotMovesBalancesTheOtherWay();
    void playersComingOnGetRowsBesideTheOthers();
    void deletingTheShotRestoresEveryBalance();
    void historyListNamesThePositionsToRevert();
    void revertTakesTheNewestShotOfANumber();
    void valueOfAPlayerWithoutRowIsZero();
    void changes_data();
    void changes();
    void emptyPlacesOnCourtAreNoPlayers();
    void failurePartWayUndoesTheWholeShot();
};

void TestPlusMinus::firstMadeShotCreatesTenBalancesAndOneHistoryRow()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 7, 8, 11, 13}, {20, 21, 22, 23, 24});
    db.execute(u"insert into INDEKSI (IDINDEKS, IDGAME, HG, NODR, VAL, IDPLAYER) values (41, 1, 1, 4, 9, 0)"_s);

    PlusMinus(db).AddPlusMinus(Match, 17, 2, 1);
    QCOMPARE(balances(db), (QStringList{u"1/4/0:2"_s, u"1/7/3:2"_s, u"1/8/4:2"_s, u"1/11/7:2"_s, u"1/13/9:2"_s,
                                        u"2/20/0:-2"_s, u"2/21/1:-2"_s, u"2/22/2:-2"_s, u"2/23/3:-2"_s,
                                        u"2/24/4:-2"_s}));
    fb::Query history(
        db, u"select RBAKCIJE, HG, VRBODA, IDHOME, IDAWAY from ISTORIJA_INDEKSI_PM where IDUTAKMICE = ?"_s);
    history.exec({Match});
    QVERIFY(history.next());
    QCOMPARE(history.value(0).toInt(), 17);
    QCOMPARE(history.value(1).toInt(), 1);
    QCOMPARE(history.value(2).toInt(), 2);
    QCOMPARE(history.value(3).toString(), u"0x3x4x7x9x"_s);
    QCOMPARE(history.value(4).toString(), u"0x1x2x3x4x"_s);
    QVERIFY(!history.next());
    // New keys follow the highest existing one.
    QCOMPARE(db.scalar(u"select min(IDINDEKS) from INDEKSI where IDGAME = ?"_s, {Match}).toInt(), 42);
}

void TestPlusMinus::awayShotMovesBalancesTheOtherWay()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 5, 6, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    pm.AddPlusMinus(Match, 1, 2, 1);
    pm.AddPlusMinus(Match, 2, 3, 2);
    QCOMPARE(pm.PlusMinusValue(Match, 1, 2, 6), -1);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 0, 20), 1);
    QCOMPARE(historyRows(db), 2);
    // The whole match at once, by side and shirt number: ten players, no one else.
    const auto balances = pm.Balances(Match);
    QCOMPARE(balances.size(), size_t(10));
    QCOMPARE(balances.at({1, 6}), -1);
    QCOMPARE(balances.at({2, 20}), 1);
    QVERIFY(pm.Balances(Match + 1).empty());
}

void TestPlusMinus::playersComingOnGetRowsBesideTheOthers()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 5, 6, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    pm.AddPlusMinus(Match, 1, 3, 2);
    // 8 and 24 go off, 9 and 31 come on: a basket gives the two new rows
    // and moves the eight that stayed; the two off the court keep theirs.
    setUpCourt({4, 5, 6, 7, 9}, {20, 21, 22, 23, 31});
    pm.AddPlusMinus(Match, 2, 2, 1);
    QCOMPARE(balances(db), (QStringList{u"1/4/0:-1"_s, u"1/5/1:-1"_s, u"1/6/2:-1"_s, u"1/7/3:-1"_s, u"1/8/4:-3"_s,
                                        u"1/9/5:2"_s, u"2/20/0:1"_s, u"2/21/1:1"_s, u"2/22/2:1"_s, u"2/23/3:1"_s,
                                        u"2/24/4:3"_s, u"2/31/11:-2"_s}));
}

void TestPlusMinus::deletingTheShotRestoresEveryBalance()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 5, 6, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    pm.AddPlusMinus(Match, 1, 2, 1);
    const QStringList before = balances(db);
    // A substitution between the shots: the revert goes by the shot's own list.
    CurrentMatch().onCourtHome = {4, 5, 6, 7, 12};
    pm.AddPlusMinus(Match, 2, 3, 1);
    pm.RevertPlusMinus(Match, 2);
    QStringList after = balances(db);
    after.removeAll(u"1/12/8:0"_s);
    QCOMPARE(after, before);
    QCOMPARE(historyRows(db), 1);
    pm.RevertPlusMinus(Match, 2); // nothing left to take back
    QCOMPARE(historyRows(db), 1);
}

void TestPlusMinus::historyListNamesThePositionsToRevert()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    PlusMinus pm(db);
    for (int position = 0; position < 12; ++position) {
        pm.ChangePlusMinus(Match, 1, position, 0, 4 + position);
        pm.ChangePlusMinus(Match, 2, position, 0, 20 + position);
    }
    db.execute(u"insert into ISTORIJA_INDEKSI_PM (IDZAPISA, IDUTAKMICE, RBAKCIJE, HG, VRBODA, IDHOME, IDAWAY) "
               "values (1, ?, 8, 2, 3, '0x3x4x7x9x', '1x2x')"_s,
               {Match});
    pm.RevertPlusMinus(Match, 8);
    QStringList changed;
    for (const QString &row : balances(db))
        if (!row.endsWith(u":0"_s))
            changed << row;
    QCOMPARE(changed, (QStringList{u"1/4/0:3"_s, u"1/7/3:3"_s, u"1/8/4:3"_s, u"1/11/7:3"_s, u"1/13/9:3"_s,
                                   u"2/21/1:-3"_s, u"2/22/2:-3"_s}));
}

void TestPlusMinus::revertTakesTheNewestShotOfANumber()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 5, 6, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    // Shot 5 was deleted elsewhere without a revert; its number came again.
    pm.AddPlusMinus(Match, 5, 2, 1);
    CurrentMatch().onCourtHome = {9, 10, 11, 12, 13};
    pm.AddPlusMinus(Match, 5, 3, 1);
    pm.RevertPlusMinus(Match, 5);
    QCOMPARE(pm.PlusMinusValue(Match, 1, 0, 4), 2);
    QCOMPARE(pm.PlusMinusValue(Match, 1, 5, 9), 0);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 0, 20), -2);
    QCOMPARE(historyRows(db), 1);
}

void TestPlusMinus::valueOfAPlayerWithoutRowIsZero()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    PlusMinus pm(db);
    pm.ChangePlusMinus(Match, 1, 3, -2, 7);
    QCOMPARE(pm.PlusMinusValue(Match, 1, 3, 7), -2);
    QCOMPARE(pm.PlusMinusValue(Match, 1, 4, 8), 0);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 3, 7), 0);
    QCOMPARE(pm.PlusMinusValue(Match + 1, 1, 3, 7), 0);
}

void TestPlusMinus::changes_data()
{
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("balance");
    QTest::newRow("a loss") << QList<int>{-2} << -2;
    QTest::newRow("a gain then a loss") << QList<int>{2, -3} << -1;
    QTest::newRow("a change of nothing") << QList<int>{3, 0} << 3;
}

void TestPlusMinus::changes()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, balance);
    Sandbox sb;
    auto &db = sb.dm().db();
    PlusMinus pm(db);
    for (int step : steps)
        pm.ChangePlusMinus(Match, 2, 6, step, 26);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 6, 26), balance);
    QCOMPARE(balances(db).size(), 1);
    QCOMPARE(balances(db), QStringList{u"2/26/6:%1"_s.arg(balance)});
}

void TestPlusMinus::emptyPlacesOnCourtAreNoPlayers()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    setUpCourt({4, 5, 0, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    pm.AddPlusMinus(Match, 1, 1, 2);
    QCOMPARE(balances(db).size(), 9);
    QCOMPARE(db.scalar(u"select IDHOME from ISTORIJA_INDEKSI_PM"_s).toString(), u"0x1x3x4x"_s);
    pm.RevertPlusMinus(Match, 1);
    for (const QString &row : balances(db))
        QVERIFY2(row.endsWith(u":0"_s), qPrintable(row));
}

void TestPlusMinus::failurePartWayUndoesTheWholeShot()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.executeDefinition(u"alter table ISTORIJA_INDEKSI_PM add constraint NO_THREES check (VRBODA < 3)"_s);
    setUpCourt({4, 5, 6, 7, 8}, {20, 21, 22, 23, 24});
    PlusMinus pm(db);
    pm.AddPlusMinus(Match, 1, 2, 1);
    QVERIFY_THROWS_EXCEPTION(fb::Error, pm.AddPlusMinus(Match, 2, 3, 1));
    QCOMPARE(pm.PlusMinusValue(Match, 1, 0, 4), 2);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 0, 20), -2);
    QCOMPARE(historyRows(db), 1);
}

QTEST_GUILESS_MAIN(TestPlusMinus)
#include "test_plus_minus.moc"
