// The roster and starters decisions against a real database with the
// rules engine.
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/FbClient.h"
#include "rules/RulesDesk.h"
#include "setup/RosterEditor.h"
#include "setup/StartersEditor.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Fixture
{
    Fixture() : desk(sb.dm().db()), match(desk.createMatch()), session(sb.dm())
    {
        session.ResetWorkingTables();
        QVERIFY(session.OpenExistingMatch(match));
    }

    fb::Connection &db() { return sb.dm().db(); }
    int home(int i) const { return *std::next(rules::homeNumbers().begin(), i); }
    int away(int i) const { return *std::next(rules::awayNumbers().begin(), i); }
    int rosterCount(int domgost)
    {
        return db().scalar(u"select count(*) from SASTAV where ID_UTAKMICA = ? and DOMGOST = ?"_s, {match, domgost})
            .toInt();
    }
    int homeLines() { return db().scalar(u"select count(*) from STATDOMACI"_s).toInt(); }
    static int rowWithNumber(const RosterEditor &e, int number)
    {
        for (int i = 0; i < e.rows.size(); ++i)
            if (e.rows[i].number == number)
                return i;
        return -1;
    }
    // Marks exactly the given shirt numbers.
    static void mark(StartersEditor &e, const QList<int> &numbers)
    {
        for (auto &r : e.rows)
            r.marked = numbers.contains(r.number);
    }
    void recordStarters()
    {
        for (int side : {1, 0}) {
            StartersEditor e(session, side);
            QList<int> five;
            for (int i = 0; i < 5; ++i)
                five << (side == 1 ? home(i) : away(i));
            mark(e, five);
            QVERIFY(e.Apply({}));
        }
    }

    Sandbox sb;
    rules::Desk desk;
    int match;
    MatchSession session;
};

} // namespace

class TestRosterStarters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void rosterListsClubPlayersWithTheirNumbers();
    void duplicateNumbersAreRefused();
    void beforeTheStartEverythingMayChange();
    void newNumberGetsRosterRowAndLine();
    void duringTheMatchNumbersWithPlayTimeStay_data();
    void duringTheMatchNumbersWithPlayTimeStay();
    void numberPassesToAnotherPlayer();
    void coachIsWrittenOrEmptied();

    void firstRecordingStartsTheMatchOnce();
    void fiveMustBeMarked_data();
    void fiveMustBeMarked();
    void reopeningShowsTheFiveOnCourt();
    void lineUpChangesAreSubstitutions();
};

void TestRosterStarters::rosterListsClubPlayersWithTheirNumbers()
{
    Fixture f;
    RosterEditor e(f.db(), f.match, 1);
    QCOMPARE(e.rows.size(), 12);
    QCOMPARE(e.Caption(), u"HOME TEAM Home Club"_s);
    for (int i = 0; i < 12; ++i)
        QVERIFY(Fixture::rowWithNumber(e, f.home(i)) >= 0);
    QCOMPARE(RosterEditor(f.db(), f.match, 0).Caption(), u"AWAY TEAM: Away Club"_s);
}

void TestRosterStarters::duplicateNumbersAreRefused()
{
    Fixture f;
    RosterEditor e(f.db(), f.match, 1);
    const int first = Fixture::rowWithNumber(e, f.home(0));
    const int second = Fixture::rowWithNumber(e, f.home(1));
    e.rows[second].number = f.home(0);
    RecordingMessenger messages;
    int focus = -2;
    QVERIFY(!e.Apply(&focus));
    QCOMPARE(messages.texts(), QStringList{u"Incorrect data! Players must have different numbers!"_s});
    QCOMPARE(focus, std::min(first, second));
    QVERIFY(f.db().scalar(u"select count(*) from SASTAV where ID_UTAKMICA = ? and DRES = ?"_s, {f.match, f.home(1)})
                .toInt() == 1);
}

void TestRosterStarters::beforeTheStartEverythingMayChange()
{
    Fixture f;
    RosterEditor e(f.db(), f.match, 1);
    e.ClearAllNumbers();
    QVERIFY(e.Apply());
    QCOMPARE(f.rosterCount(1), 0);
    QCOMPARE(f.homeLines(), 0);
    QCOMPARE(f.rosterCount(0), 12); // the other side is untouched
}

void TestRosterStarters::newNumberGetsRosterRowAndLine()
{
    Fixture f;
    f.db().execute(u"insert into IGRAC (PREZIME, IME, ID_KLUB) select 'O''Neal', 'Đorđe', ID_KLUB1 "
                   "from UTAKMICA where ID_UTAKMICA = ?"_s,
                   {f.match});
    RosterEditor e(f.db(), f.match, 1);
    QCOMPARE(e.rows.size(), 13);
    auto it = std::find_if(e.rows.begin(), e.rows.end(), [](const auto &r) { return r.surname == u"O'Neal"_s; });
    QVERIFY(it != e.rows.end());
    QVERIFY(!it->number);
    it->number = 55;
    QVERIFY(e.Apply());
    QCOMPARE(f.rosterCount(1), 13);
    QCOMPARE(f.db().scalar(u"select count(*) from STATDOMACI where DRES = 55"_s).toInt(), 1);
}

void TestRosterStarters::duringTheMatchNumbersWithPlayTimeStay_data()
{
    QTest::addColumn<int>("benchIndex");
    QTest::addColumn<bool>("namedByOpponent");
    QTest::addColumn<QString>("message");
    QTest::newRow("starter") << 0 << false << u"Player number %1 can not be changed becose this player is starter!"_s;
    QTest::newRow("named by the other side") << 9 << true
                                             << u"Action is not correct! Deleting of numbers with play time is not allowed!"_s;
    QTest::newRow("bench, never named") << 9 << false << QString();
}

void TestRosterStarters::duringTheMatchNumbersWithPlayTimeStay()
{
    QFETCH(int, benchIndex);
    QFETCH(bool, namedByOpponent);
    QFETCH(QString, message);
    Fixture f;
    f.recordStarters();
    QCOMPARE(f.session.Record({3, 0, 3, 0, 0}), 1);
    const int number = f.home(benchIndex);
    if (namedByOpponent) // an away event names the home bench player as its opponent
        f.db().execute(u"insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO) values (?, 2, ?, 15, ?, 1, 0)"_s,
                       {f.match, f.away(0), number});
    const int lines = f.homeLines();
    RosterEditor e(f.db(), f.match, 1);
    e.rows[Fixture::rowWithNumber(e, number)].number.reset();
    RecordingMessenger messages;
    const bool applied = e.Apply();
    QCOMPARE(applied, message.isEmpty());
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message.arg(number)});
    QCOMPARE(f.rosterCount(1), applied ? 11 : 12);
    QCOMPARE(f.homeLines(), applied ? lines - 1 : lines);
}

void TestRosterStarters::numberPassesToAnotherPlayer()
{
    Fixture f;
    f.recordStarters();
    QCOMPARE(f.session.Record({3, 0, 3, 0, 0}), 1);
    RosterEditor e(f.db(), f.match, 1);
    // The starter's number passes to a bench player, who gives up his own.
    const int starterRow = Fixture::rowWithNumber(e, f.home(0));
    const int benchRow = Fixture::rowWithNumber(e, f.home(11));
    const int benchPlayer = e.rows[benchRow].playerId;
    e.rows[starterRow].number.reset();
    e.rows[benchRow].number = f.home(0);
    const int lines = f.homeLines();
    QVERIFY(e.Apply());
    QCOMPARE(f.db().scalar(u"select ID_IGRAC from SASTAV where ID_UTAKMICA = ? and DOMGOST = 1 and DRES = ?"_s,
                           {f.match, f.home(0)}).toInt(),
             benchPlayer);
    QCOMPARE(f.homeLines(), lines - 1); // the bench number is gone, the starter's line stays
}

void TestRosterStarters::coachIsWrittenOrEmptied()
{
    Fixture f;
    f.db().execute(u"insert into TRENER (PREZIME, IME, ID_KLUB, ID_POL) select 'Obradović', 'Željko', ID_KLUB1, 1 "
                   "from UTAKMICA where ID_UTAKMICA = ?"_s,
                   {f.match});
    RosterEditor e(f.db(), f.match, 1);
    QCOMPARE(e.coaches.size(), 1);
    QCOMPARE(e.coaches[0].name, u"Obradović Željko"_s);
    e.coachId = e.coaches[0].id;
    QVERIFY(e.Apply());
    QCOMPARE(f.db().scalar(u"select ID_TRENER1 from UTAKMICA where ID_UTAKMICA = ?"_s, {f.match}).toInt(),
             e.coaches[0].id);
    RosterEditor again(f.db(), f.match, 1);
    QCOMPARE(again.coachId.value_or(0), e.coaches[0].id);
    again.coachId.reset();
    QVERIFY(again.Apply());
    QVERIFY(!f.db().scalar(u"select ID_TRENER1 from UTAKMICA where ID_UTAKMICA = ?"_s, {f.match}).isValid());
}

void TestRosterStarters::firstRecordingStartsTheMatchOnce()
{
    Fixture f;
    int enabled = 0;
    StartersEditor::Hooks hooks;
    hooks.enableEntry = [&] { ++enabled; };
    StartersEditor homeStarters(f.session, 1);
    QCOMPARE(homeStarters.Caption(), u"HOME STARTERS: Home Club"_s);
    Fixture::mark(homeStarters, {f.home(0), f.home(1), f.home(2), f.home(3), f.home(4)});
    QVERIFY(homeStarters.Apply(hooks));
    QCOMPARE(enabled, 0); // the away five are still missing
    StartersEditor awayStarters(f.session, 0);
    Fixture::mark(awayStarters, {f.away(0), f.away(1), f.away(2), f.away(3), f.away(4)});
    QVERIFY(awayStarters.Apply(hooks));
    QCOMPARE(enabled, 1);
    auto count = [&](int code) {
        return f.db().scalar(u"select count(*) from AKCIJE where ID_UTAKMICA = ? and SIFRA = ?"_s, {f.match, code})
            .toInt();
    };
    QCOMPARE(count(1), 1);
    QCOMPARE(count(2), 10);
    QVERIFY(f.session.BothSidesOnCourt());
}

void TestRosterStarters::fiveMustBeMarked_data()
{
    QTest::addColumn<int>("marked");
    QTest::newRow("four") << 4;
    QTest::newRow("six") << 6;
}

void TestRosterStarters::fiveMustBeMarked()
{
    QFETCH(int, marked);
    Fixture f;
    StartersEditor e(f.session, 1);
    for (int i = 0; i < marked; ++i)
        e.rows[i].marked = true;
    RecordingMessenger messages;
    QVERIFY(!e.Apply({}));
    QCOMPARE(messages.texts(), QStringList{u"You have to select 5. player!!!"_s});
    QCOMPARE(f.desk.eventCount(), 0);
}

void TestRosterStarters::reopeningShowsTheFiveOnCourt()
{
    Fixture f;
    f.recordStarters();
    StartersEditor e(f.session, 1);
    QList<int> marked;
    for (const auto &r : e.rows)
        if (r.marked)
            marked << r.number;
    QCOMPARE(marked, (QList<int>{f.home(0), f.home(1), f.home(2), f.home(3), f.home(4)}));
    const int events = f.desk.eventCount();
    QVERIFY(e.Apply({})); // the same five: nothing to record
    QCOMPARE(f.desk.eventCount(), events);
}

void TestRosterStarters::lineUpChangesAreSubstitutions()
{
    Fixture f;
    f.recordStarters();
    QCOMPARE(f.session.Record({3, 0, 3, 0, 0}), 1);
    StartersEditor e(f.session, 1);
    // 0 and 1 leave; 6 and 5 come in (paired in shirt-number order).
    Fixture::mark(e, {f.home(2), f.home(3), f.home(4), f.home(6), f.home(5)});
    int asked = 0;
    StartersEditor::Hooks hooks;
    hooks.askSeconds = [&] {
        ++asked;
        return std::optional<int>(15);
    };
    QVERIFY(e.Apply(hooks));
    QCOMPARE(asked, 1);
    fb::Query changes(f.db(), u"select NODR, PAR1, PAR2 from DTT where IDM = ? and RES = 18 order by RBACTION"_s);
    changes.exec({f.match});
    QVERIFY(changes.next());
    QCOMPARE(changes.value(0).toInt(), f.home(0));
    QCOMPARE(changes.value(1).toInt(), f.home(5));
    QCOMPARE(changes.value(2).toInt(), 45); // minute 9, 15 seconds shown
    QVERIFY(changes.next());
    QCOMPARE(changes.value(0).toInt(), f.home(1));
    QCOMPARE(changes.value(1).toInt(), f.home(6));
    QVERIFY(!changes.next());
    QCOMPARE(f.session.IsTeam(1, f.home(5)), 1);
    QCOMPARE(f.session.IsTeam(1, f.home(0)), 2);
}

QTEST_GUILESS_MAIN(TestRosterStarters)
#include "test_roster_starters.moc"
