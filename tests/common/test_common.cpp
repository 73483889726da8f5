#include "common/AppPaths.h"
#include "common/GameClock.h"
#include "common/NameOrder.h"
#include "common/MatchState.h"
#include "common/Transliterate.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCommon : public QObject
{
    Q_OBJECT

private slots:
    void init() { CurrentMatch().reset(); }
    void cleanupTestCase() { CurrentMatch().reset(); }

    void transliterate_data();
    void transliterate();

    void periodStartMinute_data();
    void periodStartMinute();
    void elapsedSeconds_data();
    void elapsedSeconds();
    void gameMinute_data();
    void gameMinute();
    void clockRunsWithoutGapsThroughMatch();
    void clockOfGameMinute_data();
    void clockOfGameMinute();
    void everyRunningMinuteMapsBackToItsReading();
    void minuteChangesWalkAMatchWithOvertimes();
    void namesInTheirAlphabet();
    void clockCaption_data();
    void clockCaption();
    void timeOutsLeft_data();
    void timeOutsLeft();

    void shortPlayerName_data();
    void shortPlayerName();
    void clearedPlayerIsEmpty();
    void emptyMatchState_data();
    void emptyMatchState();
    void sideAccessorsPickTheSide();

    void noStarterBeforeStartersAreMarked();
    void setMembership_data();
    void setMembership();
    void rosterPosition_data();
    void rosterPosition();
    void serverLocation_data();
    void serverLocation();
};

void TestCommon::transliterate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Đ and đ become DJ and dj") << u"Đorđević"_s << u"DJordjevic"_s;
    QTest::newRow("Š, š and ć") << u"Šiškić"_s << u"Siskic"_s;
    QTest::newRow("all ten letters") << u"ČĆĐŠŽčćšđž"_s << u"CCDJSZccsdjz"_s;
    QTest::newRow("letters inside other text") << u"Čačak, Niš - Žabalj"_s << u"Cacak, Nis - Zabalj"_s;
    QTest::newRow("plain text unchanged") << u"Petrovic Marko 23. (C)"_s << u"Petrovic Marko 23. (C)"_s;
    QTest::newRow("other accents unchanged") << u"Müller Ñoño éà ß Ђорђе"_s << u"Müller Ñoño éà ß Ђорђе"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestCommon::transliterate()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Transliterate(text), expected);
}

void TestCommon::periodStartMinute_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minutes");

    QTest::newRow("first quarter") << 1 << 10;
    QTest::newRow("fourth quarter") << 4 << 10;
    QTest::newRow("first overtime") << 5 << 5;
    QTest::newRow("fourth overtime") << 8 << 5;
}

void TestCommon::periodStartMinute()
{
    QFETCH(int, period);
    QFETCH(int, minutes);
    QCOMPARE(PeriodStartMinute(period), minutes);
}

void TestCommon::elapsedSeconds_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("elapsed");

    QTest::newRow("start of the game") << 1 << 10 << 0 << 0;
    QTest::newRow("30 s into the game") << 1 << 9 << 30 << 30;
    QTest::newRow("start of the second quarter") << 2 << 10 << 0 << 600;
    QTest::newRow("inside the third quarter") << 3 << 4 << 15 << 1545;
    QTest::newRow("end of regulation") << 4 << 0 << 0 << 2400;
    QTest::newRow("start of the first overtime") << 5 << 5 << 0 << 2400;
    QTest::newRow("inside the first overtime") << 5 << 2 << 10 << 2570;
    QTest::newRow("end of the second overtime") << 6 << 0 << 0 << 3000;
    QTest::newRow("before the game") << 0 << 7 << 20 << 0;
    QTest::newRow("negative period") << -1 << 10 << 0 << 0;
}

void TestCommon::elapsedSeconds()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, seconds);
    QFETCH(int, elapsed);
    QCOMPARE(ElapsedSeconds(period, minute, seconds), elapsed);
}

void TestCommon::gameMinute_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("gameMinute");

    QTest::newRow("start of the game") << 1 << 10 << 0;
    QTest::newRow("end of the first quarter") << 1 << 0 << 10;
    QTest::newRow("start of the second quarter") << 2 << 10 << 10;
    QTest::newRow("end of regulation") << 4 << 0 << 40;
    QTest::newRow("start of the first overtime") << 5 << 5 << 40;
    QTest::newRow("start of the second overtime") << 6 << 5 << 45;
    QTest::newRow("inside the third overtime") << 7 << 2 << 53;
    QTest::newRow("before the game") << 0 << 3 << 0;
}

void TestCommon::gameMinute()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, gameMinute);
    QCOMPARE(GameMinute(period, minute), gameMinute);
}

// Every second shown on the clock through four quarters and two overtimes
// must be exactly one second after the one before, across period changes too.
void TestCommon::clockRunsWithoutGapsThroughMatch()
{
    int previous = 0;
    for (int period = 1; period <= RegularPeriods + 2; ++period) {
        const int start = PeriodStartMinute(period);
        QCOMPARE(ElapsedSeconds(period, start, 0), previous);
        for (int minute = start - 1; minute >= 0; --minute) {
            for (int seconds = 59; seconds >= 0; --seconds) {
                const int elapsed = ElapsedSeconds(period, minute, seconds);
                if (elapsed != previous + 1)
                    QFAIL(qPrintable(QStringLiteral("period %1 at %2:%3 gives %4 after %5")
                                         .arg(period).arg(minute).arg(seconds).arg(elapsed).arg(previous)));
                previous = elapsed;
            }
            QCOMPARE(GameMinute(period, minute) * 60, previous);
        }
    }
    QCOMPARE(previous, 4 * 600 + 2 * 300);
}

void TestCommon::clockOfGameMinute_data()
{
    QTest::addColumn<int>("gameMinute");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");

    QTest::newRow("tip-off") << 0 << 1 << 10;
    QTest::newRow("first minute") << 1 << 1 << 9;
    QTest::newRow("last minute of the first quarter") << 10 << 1 << 0;
    QTest::newRow("first minute of the second quarter") << 11 << 2 << 9;
    QTest::newRow("minute 13") << 13 << 2 << 7;
    QTest::newRow("last minute of regulation") << 40 << 4 << 0;
    QTest::newRow("first minute of the first overtime") << 41 << 5 << 4;
    QTest::newRow("last minute of the first overtime") << 45 << 5 << 0;
    QTest::newRow("first minute of the second overtime") << 46 << 6 << 4;
    QTest::newRow("last minute of the second overtime") << 50 << 6 << 0;
}

void TestCommon::clockOfGameMinute()
{
    QFETCH(int, gameMinute);
    QFETCH(int, period);
    QFETCH(int, minute);
    QCOMPARE(ClockOfGameMinute(gameMinute), (ClockReading{period, minute}));
}

void TestCommon::everyRunningMinuteMapsBackToItsReading()
{
    int expected = 0;
    for (int period = 1; period <= RegularPeriods + 3; ++period) {
        for (int minute = PeriodStartMinute(period) - 1; minute >= 0; --minute) {
            const int t = GameMinute(period, minute);
            QCOMPARE(t, ++expected);
            QCOMPARE(ClockOfGameMinute(t), (ClockReading{period, minute}));
            // Minute t ends after every reading of minute t - 1 and before the next period starts.
            QVERIFY(ClockOfGameMinute(t - 1).NotAfter(ClockOfGameMinute(t)));
            QVERIFY(!(ClockReading{period + 1, PeriodStartMinute(period + 1)}.NotAfter(ClockOfGameMinute(t))));
        }
    }
}

void TestCommon::minuteChangesWalkAMatchWithOvertimes()
{
    MatchClock clock;
    QStringList walk;
    for (int change = 0; change < 4 * 11 + 2 * 7; ++change) {
        clock = clock.AfterMinuteChange();
        if (clock.Ended() || clock.AtPeriodStart())
            walk << u"%1:%2%3"_s.arg(clock.period).arg(clock.minute).arg(clock.Ended() ? u" END"_s : QString());
    }
    QCOMPARE(walk, (QStringList{u"2:10"_s, u"3:10"_s, u"4:10"_s, u"4:0 END"_s, u"5:5"_s, u"5:0 END"_s, u"6:5"_s,
                                u"6:0 END"_s}));
    QCOMPARE(clock.PeriodText(), u"END"_s);
    QCOMPARE(ElapsedSeconds(clock.period, clock.minute, 0), 3000);
}

void TestCommon::shortPlayerName_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("initial of the first name") << u"Petrović"_s << u"Marko"_s << u"Petrović M."_s;
    QTest::newRow("letters kept as written") << u"Đurić"_s << u"Đorđe"_s << u"Đurić Đ."_s;
    QTest::newRow("no first name") << u"Jović"_s << QString() << u"Jović"_s;
}

void TestCommon::shortPlayerName()
{
    QFETCH(QString, surname);
    QFETCH(QString, firstName);
    QFETCH(QString, expected);
    QCOMPARE(ShortPlayerName(surname, firstName), expected);
}

static void verifyEmptyPlayer(const TIgracRec &player)
{
    QCOMPARE(player.ID_IGRAC, 0);
    QCOMPARE(player.shirtNumber, -1);
    QVERIFY(player.shortName.isEmpty());
    QVERIFY(player.surname.isEmpty());
    QVERIFY(player.firstName.isEmpty());
    QVERIFY(player.registration.isEmpty());
}

static TIgracRec somePlayer(int shirtNumber)
{
    TIgracRec player;
    player.ID_IGRAC = 100 + shirtNumber;
    player.shirtNumber = shirtNumber;
    player.shortName = u"Petrović M."_s;
    player.surname = u"Petrovic"_s;
    player.firstName = u"Marko"_s;
    player.registration = u"12345"_s;
    return player;
}

void TestCommon::clearedPlayerIsEmpty()
{
    verifyEmptyPlayer(TIgracRec());
    TIgracRec player = somePlayer(7);
    player.clear();
    verifyEmptyPlayer(player);
}

void TestCommon::emptyMatchState_data()
{
    QTest::addColumn<bool>("used");

    QTest::newRow("new state") << false;
    QTest::newRow("reset after use") << true;
}

void TestCommon::emptyMatchState()
{
    QFETCH(bool, used);

    MatchState state;
    if (used) {
        for (int side = 1; side <= 2; ++side) {
            state.onCourt(side).fill(8);
            state.starters(side).fill(9);
            state.lineupAtMinute(side).fill(10);
            state.roster(side).fill(somePlayer(11));
        }
        state.elapsedSecondsMarker = 1234;
        state.reset();
    }

    QCOMPARE(state.elapsedSecondsMarker, 0);
    for (int side = 1; side <= 2; ++side) {
        for (int i = 0; i < CourtSize; ++i) {
            QCOMPARE(state.onCourt(side)[i], 0);
            QCOMPARE(state.starters(side)[i], -1);
            QCOMPARE(state.lineupAtMinute(side)[i], 0);
        }
        for (const TIgracRec &player : state.roster(side)) {
            verifyEmptyPlayer(player);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

void TestCommon::sideAccessorsPickTheSide()
{
    MatchState state;
    const MatchState &constState = state;

    QCOMPARE(&state.onCourt(1), &state.onCourtHome);
    QCOMPARE(&state.onCourt(2), &state.onCourtAway);
    QCOMPARE(&state.starters(1), &state.startersHome);
    QCOMPARE(&state.starters(2), &state.startersAway);
    QCOMPARE(&state.lineupAtMinute(1), &state.lineupAtMinuteHome);
    QCOMPARE(&state.lineupAtMinute(2), &state.lineupAtMinuteAway);
    QCOMPARE(&state.roster(1), &state.rosterHome);
    QCOMPARE(&state.roster(2), &state.rosterAway);

    QCOMPARE(&constState.onCourt(1), &state.onCourtHome);
    QCOMPARE(&constState.onCourt(2), &state.onCourtAway);
    QCOMPARE(&constState.starters(1), &state.startersHome);
    QCOMPARE(&constState.starters(2), &state.startersAway);
    QCOMPARE(&constState.lineupAtMinute(1), &state.lineupAtMinuteHome);
    QCOMPARE(&constState.lineupAtMinute(2), &state.lineupAtMinuteAway);
    QCOMPARE(&constState.roster(1), &state.rosterHome);
    QCOMPARE(&constState.roster(2), &state.rosterAway);
}

void TestCommon::noStarterBeforeStartersAreMarked()
{
    for (int side = 0; side <= 3; ++side) {
        for (int shirt = -2; shirt <= 100; ++shirt) {
            if (IsStarter(side, shirt) != 0)
                QFAIL(qPrintable(QStringLiteral("side %1 shirt %2 is a starter").arg(side).arg(shirt)));
        }
    }
}

// IsStarter and IsOnCourt answer the same question about different sets, so
// one table serves both.
void TestCommon::setMembership_data()
{
    QTest::addColumn<bool>("starters");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("shirt");
    QTest::addColumn<int>("expected");

    for (bool starters : {true, false}) {
        const char *set = starters ? "starters" : "on court";
        auto row = [&](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", set, name) << starters;
        };
        // Home set 4 7 0 15 23, away set 5 9 and three places not filled.
        row("home, first place") << 1 << 4 << 1;
        row("home, last place") << 1 << 23 << 1;
        row("home, shirt 0") << 1 << 0 << 1;
        row("home, not in the set") << 1 << 8 << 0;
        row("home ignores the away set") << 1 << 5 << 0;
        row("away, first place") << 2 << 5 << 1;
        row("away, second place") << 2 << 9 << 1;
        row("away ignores the home set") << 2 << 4 << 0;
        row("away, unfilled places are no player") << 2 << -1 << 0;
        row("side 0") << 0 << 4 << 0;
        row("side 3") << 3 << 5 << 0;
    }
}

void TestCommon::setMembership()
{
    QFETCH(bool, starters);
    QFETCH(int, side);
    QFETCH(int, shirt);
    QFETCH(int, expected);

    MatchState &match = CurrentMatch();
    const CourtNumbers home{4, 7, 0, 15, 23};
    const CourtNumbers away{5, 9, -1, -1, -1};
    (starters ? match.startersHome : match.onCourtHome) = home;
    (starters ? match.startersAway : match.onCourtAway) = away;

    QCOMPARE(starters ? IsStarter(side, shirt) : IsOnCourt(side, shirt), expected);
}

void TestCommon::rosterPosition_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("shirt");
    QTest::addColumn<int>("position");

    // Home roster 4 7 0 7 12 ... with the last two entries empty; the away
    // roster holds 5 first and 4 in the last entry.
    QTest::newRow("home, first entry") << 1 << 4 << 0;
    QTest::newRow("home, first of two equal numbers") << 1 << 7 << 1;
    QTest::newRow("home, shirt 0") << 1 << 0 << 2;
    QTest::newRow("home, not on the roster") << 1 << 99 << -1;
    QTest::newRow("home ignores the away roster") << 1 << 5 << -1;
    QTest::newRow("home, empty entries are no player") << 1 << -1 << -1;
    QTest::newRow("away, first entry") << 2 << 5 << 0;
    QTest::newRow("away, last entry") << 2 << 4 << 11;
    QTest::newRow("away ignores the home roster") << 2 << 7 << -1;
    QTest::newRow("side 0") << 0 << 4 << -1;
    QTest::newRow("side 3") << 3 << 5 << -1;
}

void TestCommon::rosterPosition()
{
    QFETCH(int, side);
    QFETCH(int, shirt);
    QFETCH(int, position);

    MatchState &match = CurrentMatch();
    const int homeShirts[] = {4, 7, 0, 7, 12, 13, 14, 15, 20, 21};
    const int awayShirts[] = {5, 6, 8, 9, 10, 11, 16, 17, 18, 19, 22, 4};
    static_assert(std::size(awayShirts) == RosterSize);
    for (int i = 0; i < int(std::size(homeShirts)); ++i)
        match.rosterHome[i] = somePlayer(homeShirts[i]);
    for (int i = 0; i < RosterSize; ++i)
        match.rosterAway[i] = somePlayer(awayShirts[i]);

    QCOMPARE(RosterPosition(side, shirt), position);
}

void TestCommon::namesInTheirAlphabet()
{
    QStringList names{u"Vuković"_s, u"Šarić"_s, u"Đurić"_s, u"Žižić"_s, u"Zec"_s, u"Ćosić"_s, u"Čolić"_s,
                      u"Cvetković"_s, u"Dukić"_s, u"sava"_s, u"Tomić"_s, u"Šantić"_s, u"Horvat"_s};
    std::sort(names.begin(), names.end(), NameBefore);
    QCOMPARE(names, (QStringList{u"Cvetković"_s, u"Čolić"_s, u"Ćosić"_s, u"Dukić"_s, u"Đurić"_s, u"Horvat"_s,
                                 u"sava"_s, u"Šantić"_s, u"Šarić"_s, u"Tomić"_s, u"Vuković"_s, u"Zec"_s,
                                 u"Žižić"_s}));
    QCOMPARE(CompareNames(u"ŠARIĆ"_s, u"šarić"_s), 0);
}

void TestCommon::clockCaption_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("ended");
    QTest::addColumn<QString>("caption");
    QTest::newRow("before the tip-off") << 1 << 10 << 0 << u"Q1 \u00B7 10'"_s;
    QTest::newRow("second quarter") << 2 << 7 << 0 << u"Q2 \u00B7 7'"_s;
    QTest::newRow("last minute") << 4 << 0 << 0 << u"Q4 \u00B7 0'"_s;
    QTest::newRow("first overtime") << 5 << 3 << 0 << u"OT1 \u00B7 3'"_s;
    QTest::newRow("second overtime") << 6 << 5 << 0 << u"OT2 \u00B7 5'"_s;
    QTest::newRow("after the final") << 4 << 0 << 1 << u"END"_s;
}

void TestCommon::clockCaption()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, ended);
    QFETCH(QString, caption);
    QCOMPARE((MatchClock{minute, period, ended}.Caption()), caption);
}

void TestCommon::timeOutsLeft_data()
{
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("taken");
    QTest::addColumn<int>("takenInLastTwoMinutes");
    QTest::addColumn<int>("left");
    QTest::newRow("first half, none taken") << 1 << 8 << 0 << 0 << 2;
    QTest::newRow("first half, one taken") << 2 << 4 << 1 << 0 << 1;
    QTest::newRow("first half, both taken") << 2 << 1 << 2 << 0 << 0;
    QTest::newRow("second half, none taken") << 3 << 10 << 0 << 0 << 3;
    QTest::newRow("fourth quarter, one taken") << 4 << 5 << 1 << 0 << 2;
    QTest::newRow("last two minutes, none taken") << 4 << 1 << 0 << 0 << 2;
    QTest::newRow("last two minutes, one of them then") << 4 << 0 << 1 << 1 << 1;
    QTest::newRow("last two minutes, one taken earlier") << 4 << 1 << 1 << 0 << 2;
    QTest::newRow("last two minutes, two taken earlier") << 4 << 1 << 2 << 0 << 1;
    QTest::newRow("overtime") << 5 << 4 << 0 << 0 << 1;
    QTest::newRow("overtime, taken") << 6 << 2 << 1 << 0 << 0;
    QTest::newRow("more than allowed never goes below none") << 1 << 2 << 3 << 0 << 0;
}

void TestCommon::timeOutsLeft()
{
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, taken);
    QFETCH(int, takenInLastTwoMinutes);
    QFETCH(int, left);
    QCOMPARE(TimeOutsLeft(MatchClock{minute, period, 0}, taken, takenInLastTwoMinutes), left);
}

void TestCommon::serverLocation_data()
{
    QTest::addColumn<QString>("location");
    QTest::addColumn<bool>("server");

    QTest::newRow("host and path") << u"league:/var/lib/firebird/3.0/data/QNDB.FDB"_s << true;
    QTest::newRow("host with port") << u"localhost/3099:/srv/QNDB.FDB"_s << true;
    QTest::newRow("host with service") << u"10.0.0.5/gds_db:/srv/QNDB.FDB"_s << true;
    QTest::newRow("inet form") << u"inet://league/srv/QNDB.FDB"_s << true;
    QTest::newRow("absolute path") << u"/home/desk/QNDB.FDB"_s << false;
    QTest::newRow("absolute path with a colon") << u"/home/desk/a:b/QNDB.FDB"_s << false;
    QTest::newRow("relative path with a colon") << u"data/sub/x:y.fdb"_s << false;
    QTest::newRow("file name") << u"QNDB.FDB"_s << false;
}

void TestCommon::serverLocation()
{
    QFETCH(QString, location);
    QFETCH(bool, server);
    QCOMPARE(AppPaths::isServerLocation(location), server);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "test_common.moc"
