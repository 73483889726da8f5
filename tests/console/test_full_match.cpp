// A whole match played through the console window: four quarters and one
// overtime keyed into its entry boxes, with substitutions, time-outs, fouls
// into the bonus, an undone minute change, a deletion from the event log and
// an edit in the events review; then the console is closed and what it left
// in the database is checked.
#include "common/MatchState.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/SecondsDialog.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "data/StatLines.h"
#include "rules/RulesDesk.h"
#include "support/BoxScoreAgreement.h"
#include "support/ConsoleDesk.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

enum { Home = 1, Away = 2 };

const QString PeriodStartOnly =
    u"Before period start you can change lining players only. Type \"+\" or code 3 for minutes change!"_s;
const QString PlayEnded = u"Finish. For over time type \"+\" or code 3 into Init box!"_s;

// Shirt numbers of the seeded rosters: home 4..14 and 100 with starters
// 4 5 6 7 8; away 9..20 with starters 9 10 11 12 13.
struct FullMatch : ConsoleDesk
{
    FullMatch()
    {
        // The events review is handled by the step prepared for it.
        answerOther = [this](QWidget *modal) {
            auto *review = qobject_cast<TAllActionsViewfrm *>(modal);
            if (!review || !reviewStep)
                return false;
            auto step = std::move(reviewStep);
            reviewStep = nullptr;
            step(*review);
            review->btnBack->click();
            return true;
        };
    }

    // A key pressed in the Init box ("/", "*", "U", numeric-pad "+").
    void initKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        activate();
        window->entryBox(EntryBox::Init)->setFocus();
        QTest::keyClick(window->entryBox(EntryBox::Init), Qt::Key(key), modifiers);
    }

    void minute()
    {
        initKey(Qt::Key_Plus, Qt::KeypadModifier);
        ++minuteChanges;
        if (minuteChanges == 11 || minuteChanges == 22 || minuteChanges == 33)
            expected << u"Finish of %1. quarter"_s.arg(minuteChanges / 11);
        if (minuteChanges == 44 || minuteChanges == 51)
            expected << PlayEnded;
    }
    void minutes(int count)
    {
        for (int i = 0; i < count; ++i)
            minute();
    }

    // One entry keyed box by box: side, shirt number, code, parameter.
    void entry(int side, int player, int code, int parameter = 0, const QString &seconds = QString())
    {
        ConsoleDesk::entry(side, player, code, parameter, seconds);
        ++entries;
        if (code == 4)
            points[side - 1] += 1;
        else if (code == 6)
            points[side - 1] += 2;
        else if (code == 8)
            points[side - 1] += 3;
    }

    void substitution(int side, int leaving, int entering, const QString &seconds)
    {
        entry(side, leaving, 18, entering, seconds);
    }

    void timeOut(int side)
    {
        initKey(side == Home ? Qt::Key_Slash : Qt::Key_Asterisk);
        expected << (side == Home ? u"Home Time Out!"_s : u"AWAY Time Out!"_s);
        ++entries;
    }
    void refusedTimeOut(int side)
    {
        initKey(side == Home ? Qt::Key_Slash : Qt::Key_Asterisk);
        expected << PeriodStartOnly;
    }

    int logCount() const { return window->eventLog->count(); }
    QString score() const { return window->homeScore->text() + u" : "_s + window->awayScore->text(); }
    int dttPoints(int side)
    {
        return sb.dm().db().scalar(u"select coalesce(sum(I1), 0) from DTT where IDM = ? and HG = ?"_s, {match, side})
            .toInt();
    }

    std::function<void(TAllActionsViewfrm &)> reviewStep;
    QStringList expected; // the messages the script should show, in order
    int minuteChanges = 0;
    int entries = 0;      // accepted entries other than minute changes
    int points[2] = {0, 0};
};

} // namespace

class TestFullMatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void fourQuartersAndAnOvertime();
};

void TestFullMatch::fourQuartersAndAnOvertime()
{
    FullMatch f;
    QVERIFY(f.opened);
    RecordingMessenger messages;
    auto &db = f.sb.dm().db();

    // Before the tip-off a time-out is refused and nothing is written.
    f.refusedTimeOut(Home);
    QCOMPARE(f.logCount(), 0);

    // First quarter.
    f.minute();                           // 10 -> 9: the clock runs
    f.entry(Home, 4, 6, 3);               // made two, zone 3
    f.entry(Home, 5, 12);                 // assist
    f.entry(Away, 9, 9, 1);               // missed three, zone 1
    f.entry(Home, 6, 10);                 // defensive rebound
    f.entry(Away, 10, 8, 2);              // made three, zone 2
    f.entry(Home, 7, 7, 5);               // missed two, zone 5
    f.entry(Away, 11, 10);                // defensive rebound
    f.timeOut(Home);
    f.minute();                           // 9 -> 8
    f.substitution(Home, 8, 9, u"30"_s);  // 9 for 8
    f.entry(Home, 5, 15, 12);             // home foul on 12
    f.entry(Away, 12, 4);                 // free throw made
    f.entry(Away, 12, 5);                 // free throw missed
    f.entry(Home, 4, 10);
    f.minutes(9);                         // end of the first quarter
    QCOMPARE(f.window->lbQuarter->text(), u"2. Quarter"_s);
    QCOMPARE(f.window->clockMinute->text(), u"Q2 \u00B7 10'"_s);

    // Second quarter, with a minute change taken back and keyed again.
    f.minute();
    f.entry(Away, 13, 6, 6);              // made two, zone 6
    f.entry(Home, 9, 8, 4);               // made three, zone 4
    f.timeOut(Away);
    f.minute();                           // 9 -> 8
    const int logBeforeUndo = f.logCount();
    QCOMPARE(f.window->clockMinute->text(), u"Q2 \u00B7 8'"_s);
    QVERIFY(f.window->btnUndo->isVisible());
    f.initKey(Qt::Key_U);                 // the minute change is taken back
    QCOMPARE(f.window->clockMinute->text(), u"Q2 \u00B7 9'"_s);
    QCOMPARE(f.logCount(), logBeforeUndo - 1);
    f.minuteChanges -= 1;
    f.minute();                           // and keyed again
    QCOMPARE(f.window->clockMinute->text(), u"Q2 \u00B7 8'"_s);
    f.substitution(Away, 13, 14, u"15"_s); // 14 for 13
    f.entry(Away, 14, 7, 2);              // missed two, zone 2
    f.entry(Away, 14, 11);                // offensive rebound
    f.entry(Away, 14, 6, 1);              // made two, zone 1
    f.entry(Home, 6, 14, 3);              // turnover
    f.entry(Away, 9, 13);                 // steal
    f.minutes(9);
    QCOMPARE(f.window->lbQuarter->text(), u"3. Quarter"_s);

    // Third quarter: a time-out before the clock runs is refused; the home
    // side fouls into the bonus.
    const int logAtPeriodStart = f.logCount();
    f.refusedTimeOut(Away);
    QCOMPARE(f.logCount(), logAtPeriodStart);
    f.minute();
    f.entry(Home, 4, 15, 9);
    f.entry(Home, 5, 15, 10);
    f.entry(Home, 6, 15, 11);
    f.entry(Home, 7, 15, 12);
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 4"_s);
    QVERIFY(f.window->panBonusH->styleSheet().contains(QColor(201, 250, 126).name()));
    f.entry(Home, 9, 15, 14);             // the fifth: the bonus
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 5"_s);
    QVERIFY2(f.window->panBonusH->styleSheet().contains(QColor(255, 164, 164).name()),
             qPrintable(f.window->panBonusH->styleSheet()));
    f.entry(Away, 9, 4);
    f.entry(Away, 9, 4);
    f.entry(Home, 6, 6, 2);
    f.entry(Away, 11, 17, 6);             // block on 6
    f.minutes(10);
    QCOMPARE(f.window->lbQuarter->text(), u"4. Quarter"_s);
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 0"_s); // a new period

    // Fourth quarter.
    f.minute();
    f.entry(Home, 7, 8, 6);
    f.entry(Away, 10, 7, 3);
    f.entry(Home, 9, 10);
    f.substitution(Home, 6, 10, u"45"_s); // 10 for 6
    f.entry(Home, 10, 6, 4);
    f.entry(Away, 12, 16);                // technical to 12
    f.entry(Home, 10, 4);
    f.minutes(10);
    QCOMPARE(f.minuteChanges, 44);
    QCOMPARE(f.window->lbQuarter->text(), u"END"_s);

    // The overtime: opened by the 45th minute change at clock 5.
    f.minute();
    QCOMPARE(f.window->lbQuarter->text(), u"Overtime 1"_s);
    QCOMPARE(f.window->clockMinute->text(), u"OT1 \u00B7 5'"_s);
    f.minute();                           // 5 -> 4: its clock runs
    f.substitution(Home, 7, 100, u"10"_s); // 100 for 7
    f.entry(Home, 100, 8, 1);             // made three, zone 1
    f.entry(Away, 9, 15, 4);
    f.entry(Away, 10, 15, 5);
    f.entry(Away, 11, 15, 9);
    f.entry(Away, 12, 15, 100);
    f.entry(Away, 14, 15, 10);
    f.entry(Home, 4, 4);
    f.entry(Home, 4, 5);
    f.entry(Home, 5, 15, 11);
    f.timeOut(Home);
    f.entry(Away, 11, 6, 5);
    f.minutes(5);                         // the end of the overtime
    QCOMPARE(f.minuteChanges, 51);
    QCOMPARE(f.window->lbQuarter->text(), u"END"_s);
    QCOMPARE(messages.texts(), f.expected);
    QCOMPARE(f.unexpected, QStringList());
    QVERIFY(!f.pendingSeconds); // every seconds dialog came and was answered

    // Before any correction: the views agree with each other and with the script.
    QCOMPARE(f.logCount(), f.entries + f.minuteChanges);
    QCOMPARE(f.window->homeScore->text(), QString::number(f.points[0]));
    QCOMPARE(f.window->awayScore->text(), QString::number(f.points[1]));
    QCOMPARE(f.dttPoints(Home), f.points[0]);
    QCOMPARE(f.dttPoints(Away), f.points[1]);
    // The fourth quarter and the overtime are one foul period: away has its
    // five overtime fouls and 12's technical, home its one overtime foul.
    QCOMPARE(f.window->panBonusA->text(), u" bonus p.flts: 6"_s);
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 1"_s);
    CompareBoxScoreWithStatLines(db, f.match);
    if (QTest::currentTestFailed())
        return;

    // A deletion from the event log: away 12's made free throw of the first quarter.
    QListWidgetItem *freeThrow = nullptr;
    for (int i = 0; i < f.window->eventLog->count(); ++i)
        if (f.window->eventLog->item(i)->text().endsWith(u"AWAY MADE 1P  12"_s))
            freeThrow = f.window->eventLog->item(i);
    QVERIFY(freeThrow);
    const QString deletedLine = freeThrow->text();
    const int deletedNumber = deletedLine.left(deletedLine.indexOf(u'.')).toInt();
    messages.answer(true);
    f.window->eventLog->scrollToItem(freeThrow);
    // A double-click: the first click of it, then the second (which QTest sends as press and double-click).
    const QPoint onLine = f.window->eventLog->visualItemRect(freeThrow).center();
    QTest::mouseClick(f.window->eventLog->viewport(), Qt::LeftButton, {}, onLine);
    QTest::mouseDClick(f.window->eventLog->viewport(), Qt::LeftButton, {}, onLine);
    f.expected << u"Are you sure to delete action %1 ?"_s.arg(deletedLine) << u"Action is deleted!"_s;
    QCOMPARE(messages.texts(), f.expected);
    QVERIFY(messages.answers.isEmpty());
    QCOMPARE(db.scalar(u"select count(*) from DTT where IDM = ? and RBACTION = ?"_s, {f.match, deletedNumber}).toInt(),
             0);
    f.points[1] -= 1;
    QCOMPARE(f.logCount(), f.entries + f.minuteChanges - 1);
    QCOMPARE(f.window->awayScore->text(), QString::number(f.points[1]));

    // An edit in the events review: home 7's missed two of the first quarter
    // becomes a made two from the same zone.
    const int missedTwo =
        db.scalar(u"select RBACTION from DTT where IDM = ? and HG = 1 and NODR = 7 and RES = 7"_s, {f.match}).toInt();
    QVERIFY(missedTwo > 0);
    bool edited = false;
    f.reviewStep = [&](TAllActionsViewfrm &review) {
        const auto &rows = review.review().Rows();
        int row = -1;
        for (int r = 0; r < int(rows.size()); ++r)
            if (rows[size_t(r)].RBAction.value_or(-1) == missedTwo)
                row = r;
        if (row < 0)
            return;
        review.grid->setCurrentCell(row, 2);
        if (review.edNODR->text() != u"7"_s || review.edRES->text() != u"7"_s)
            return;
        review.edHG->setText(u"1"_s);
        review.edNODR->setText(u"7"_s);
        review.edRES->setText(u"6"_s);
        review.edPAR1->setText(u"5"_s);
        messages.answer(true);
        review.UpdateAction();
        edited = true;
    };
    auto *reviewButton = f.window->findChild<QPushButton *>(u"btnEditDelete"_s);
    QVERIFY(reviewButton);
    f.activate();
    QTest::mouseClick(reviewButton, Qt::LeftButton);
    QVERIFY(edited);
    QVERIFY(!f.reviewStep);
    f.expected << u"Are you sure to update action?"_s;
    QCOMPARE(messages.texts(), f.expected);
    QVERIFY(messages.answers.isEmpty());
    QCOMPARE(db.scalar(u"select RES || ' ' || PAR1 || ' ' || I1 from DTT where IDM = ? and RBACTION = ?"_s,
                       {f.match, missedTwo})
                 .toString(),
             u"6 5 2"_s);
    f.points[0] += 2;

    // After the corrections the console shows what the event records hold.
    QCOMPARE(f.logCount(), f.entries + f.minuteChanges - 1);
    QCOMPARE(f.window->homeScore->text(), QString::number(f.points[0]));
    QCOMPARE(f.window->awayScore->text(), QString::number(f.points[1]));
    QCOMPARE(f.dttPoints(Home), f.points[0]);
    QCOMPARE(f.dttPoints(Away), f.points[1]);
    QCOMPARE(f.window->panBonusA->text(), u" bonus p.flts: 6"_s);
    QVERIFY(f.window->panBonusA->styleSheet().contains(QColor(255, 164, 164).name()));
    QCOMPARE(f.window->panBonusH->text(), u" bonus p.flts: 1"_s);
    QCOMPARE(f.window->lbQuarter->text(), u"END"_s);
    QVERIFY(f.points[0] != f.points[1]);

    // Closing the console.
    const QString shownScore = f.score();
    messages.answer(true);
    f.activate();
    f.window->entryBox(EntryBox::Init)->setFocus();
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Escape);
    f.expected << u"Stop working with match ?"_s;
    QCOMPARE(messages.texts(), f.expected);
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.unexpected, QStringList());

    QCOMPARE(db.scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {f.match}).toString(), shownScore);
    QCOMPARE(shownScore, u"%1 : %2"_s.arg(f.dttPoints(Home)).arg(f.dttPoints(Away)));
    QCOMPARE(db.scalar(u"select KRAJ from TEMP"_s).toInt(), 1);
    QCOMPARE(db.scalar(u"select PERIOD from TEMP"_s).toInt(), 5);
}

QTEST_MAIN(TestFullMatch)
#include "test_full_match.moc"
