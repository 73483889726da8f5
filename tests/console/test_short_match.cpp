// A few minutes of a match keyed into the console window's entry boxes the
// way a statistician keys them, and the window's displays checked against
// figures worked out by hand.
#include "common/MatchState.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/SecondsDialog.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "rules/RulesDesk.h"
#include "support/ConsoleDesk.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include "console/widgets/PlayerTableView.h"
#include "support/ShownCells.h"
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Shirt numbers of the seeded rosters: home 4..14 and 100 with starters
// 4 5 6 7 8; away 9..20 with starters 9 10 11 12 13.
struct Figure
{
    const char *header;
    int part = 0;
};

struct ConsoleWindow : ConsoleDesk
{
    // The numeric-pad plus in the Init box: the clock goes one minute on.
    void minute()
    {
        activate();
        window->entryBox(EntryBox::Init)->setFocus();
        press(Qt::Key_Plus, Qt::KeypadModifier);
    }

    // A figure of a side's totals row: a column's number, or one part of
    // "made/attempted" or of the rebounds' "offensive/defensive/total".
    int cell(int side, const Figure &figure) const
    {
        const QString text = ShownTotal(*window->boxScores[size_t(side - 1)]->view, QLatin1String(figure.header));
        return text.split(u'/').value(figure.part).toInt();
    }
    int plusMinus(int side, int shirt)
    {
        return PlusMinus(sb.dm().db()).PlusMinusValue(match, side, RosterPosition(side, shirt), shirt);
    }
};

// Figures of the box-score grid.
constexpr Figure Points{"PTS"}, PersonalFouls{"PF"}, Made2{"2P"}, Shot2{"2P", 1}, Made3{"3P"}, Shot3{"3P", 1},
    Made1{"FT"}, Shot1{"FT", 1}, DefRebounds{"REB O/D/T", 1}, OffRebounds{"REB O/D/T"}, Rebounds{"REB O/D/T", 2},
    Assists{"AST"}, Steals{"STL"}, Turnovers{"TO"};

} // namespace

class TestShortMatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void threeMinutesKeyedInTheBoxes();
};

void TestShortMatch::threeMinutesKeyedInTheBoxes()
{
    ConsoleWindow f;
    QVERIFY(f.opened);
    RecordingMessenger messages;
    enum { Home = 1, Away = 2 };

    f.minute();                          // 10 -> 9: the clock runs
    f.entry(Home, 4, 6, 3);              // 4 makes a two from zone 3        2:0
    f.entry(Home, 5, 12);                // assisted by 5
    f.entry(Away, 9, 9, 1);              // 9 misses a three from zone 1
    f.entry(Home, 6, 10);                // defensive rebound 6
    f.entry(Home, 6, 8, 2);              // 6 makes a three from zone 2      5:0
    f.entry(Away, 10, 6, 4);             // 10 makes a two from zone 4       5:2
    f.entry(Away, 10, 15, 4);            // away foul 1: 10 on 4
    f.entry(Home, 7, 7, 5);              // 7 misses a two from zone 5
    f.entry(Away, 11, 10);               // defensive rebound 11
    f.minute();                          // 9 -> 8
    f.entry(Home, 8, 15, 11);            // home foul 1: 8 on 11
    f.entry(Away, 11, 4);                // free throw made                  5:3
    f.entry(Away, 11, 5);                // free throw missed
    f.entry(Home, 4, 10);                // defensive rebound 4
    f.entry(Home, 8, 18, 9, u"30"_s);    // 9 comes in for 8 at 8:30
    f.entry(Home, 4, 14, 3);             // turnover of type 3 by 4
    f.entry(Away, 12, 13);               // steal by 12
    f.entry(Away, 12, 6, 6);             // 12 makes a two from zone 6       5:5
    f.entry(Home, 5, 15, 12);            // home foul 2
    f.entry(Home, 6, 15, 13);            // home foul 3
    f.minute();                          // 8 -> 7
    f.entry(Home, 9, 15, 10);            // home foul 4
    f.entry(Home, 4, 8, 6);              // 4 makes a three from zone 6      8:5
    f.entry(Away, 13, 7, 1);             // 13 misses a two from zone 1
    f.entry(Away, 13, 11);               // offensive rebound 13
    f.entry(Home, 7, 15, 13);            // home foul 5: the bonus
    f.entry(Away, 13, 4);                // free throw made                  8:6
    f.entry(Away, 13, 4);                // free throw made                  8:7

    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(f.unexpected, QStringList());
    QVERIFY(!f.pendingSeconds); // the seconds dialog came and was answered
    QCOMPARE(f.window->eventLog->count(), 29); // 26 entries and 3 minute changes
    QCOMPARE(f.window->clockMinute->text(), u"Q1 \u00B7 7'"_s);
    QCOMPARE(f.window->lbQuarter->text(), u"1. Quarter"_s);

    // Score: home 2 + 3 + 3, away 2 + 1 + 2 + 1 + 1.
    QCOMPARE(f.window->homeScore->text(), u"8"_s);
    QCOMPARE(f.window->awayScore->text(), u"7"_s);

    // Team fouls: home 5 (8, 5, 6, 9, 7) and in the bonus, away 1 (10).
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 5"_s);
    QCOMPARE(f.window->panBonusA->text(), u" bonus p.flts: 1"_s);
    QVERIFY2(f.window->panBonusH->styleSheet().contains(QColor(255, 164, 164).name()),
             qPrintable(f.window->panBonusH->styleSheet()));
    QVERIFY2(f.window->panBonusA->styleSheet().contains(QColor(201, 250, 126).name()),
             qPrintable(f.window->panBonusA->styleSheet()));

    // The substitution: 9 on court in the place of 8; 8:30 on the clock of
    // the first quarter is 1:30 played.
    QStringList homeOnCourt;
    for (auto *marker : f.window->homeCourt)
        homeOnCourt << marker->text();
    QCOMPARE(homeOnCourt, (QStringList{u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"9"_s}));
    QCOMPARE(f.sb.dm().db().scalar(u"select PAR2 from DTT where IDM = ? and RES = 18"_s, {f.match}).toInt(), 90);

    // Home totals.
    QCOMPARE(f.cell(Home, Points), 8);
    QCOMPARE(f.cell(Home, PersonalFouls), 5);
    QCOMPARE(f.cell(Home, Made1), 0);
    QCOMPARE(f.cell(Home, Made2), 1);       // 4
    QCOMPARE(f.cell(Home, Shot2), 2);       // 4 made, 7 missed
    QCOMPARE(f.cell(Home, Made3), 2);       // 6 and 4
    QCOMPARE(f.cell(Home, Shot3), 2);
    QCOMPARE(f.cell(Home, DefRebounds), 2); // 6 and 4
    QCOMPARE(f.cell(Home, OffRebounds), 0);
    QCOMPARE(f.cell(Home, Rebounds), 2);
    QCOMPARE(f.cell(Home, Assists), 1);
    QCOMPARE(f.cell(Home, Steals), 0);
    QCOMPARE(f.cell(Home, Turnovers), 1);
    // Away totals.
    QCOMPARE(f.cell(Away, Points), 7);
    QCOMPARE(f.cell(Away, PersonalFouls), 1);
    QCOMPARE(f.cell(Away, Made1), 3);       // 11 once, 13 twice
    QCOMPARE(f.cell(Away, Shot1), 4);       // and 11's miss
    QCOMPARE(f.cell(Away, Made2), 2);       // 10 and 12
    QCOMPARE(f.cell(Away, Shot2), 3);       // and 13's miss
    QCOMPARE(f.cell(Away, Made3), 0);
    QCOMPARE(f.cell(Away, Shot3), 1);       // 9's miss
    QCOMPARE(f.cell(Away, DefRebounds), 1); // 11
    QCOMPARE(f.cell(Away, OffRebounds), 1); // 13
    QCOMPARE(f.cell(Away, Rebounds), 2);
    QCOMPARE(f.cell(Away, Assists), 0);
    QCOMPARE(f.cell(Away, Steals), 1);
    QCOMPARE(f.cell(Away, Turnovers), 0);

    // Plus-minus from the baskets made while each was on court.
    QCOMPARE(f.plusMinus(Home, 4), 1);   // on court throughout: +8 -7
    QCOMPARE(f.plusMinus(Home, 9), -1);  // from 5:3 on: -2 +3 -1 -1
    QCOMPARE(f.plusMinus(Home, 8), 2);   // until 5:3: +2 +3 -2 -1
    QCOMPARE(f.plusMinus(Away, 13), -1); // on court throughout: +7 -8
}

QTEST_MAIN(TestShortMatch)
#include "test_short_match.moc"
