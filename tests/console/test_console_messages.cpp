// The console's messages as the statistician meets them: short key
// sequences typed into the real entry boxes of the console window, the
// messages shown (word for word) and the box that has the focus afterwards.
#include "common/MatchState.h"
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
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Shirt numbers of the seeded rosters (rules::homeNumbers(), awayNumbers()):
// home 4..14 and 100, starters 4 5 6 7 8; away 9..20, starters 9..13.

struct ConsoleWindow : ConsoleDesk
{
    QLineEdit *box(const QString &name) const
    {
        const std::pair<const char *, QLineEdit *> boxes[] = {
            {"init", window->entryBox(EntryBox::Init)}, {"hp", window->entryBox(EntryBox::HomePlayer)}, {"hc", window->entryBox(EntryBox::HomeCode)},
            {"hpar", window->entryBox(EntryBox::HomeParameter)}, {"ap", window->entryBox(EntryBox::AwayPlayer)}, {"ac", window->entryBox(EntryBox::AwayCode)},
            {"apar", window->entryBox(EntryBox::AwayParameter)}};
        for (const auto &[n, b] : boxes)
            if (name == QLatin1String(n))
                return b;
        return nullptr;
    }

    QString focusName() const
    {
        if (!window->isVisible())
            return u"closed"_s;
        for (const QString &name : {u"init"_s, u"hp"_s, u"hc"_s, u"hpar"_s, u"ap"_s, u"ac"_s, u"apar"_s})
            if (window->focusWidget() == box(name)) // also while a dialog just closed keeps it inactive
                return name;
        return u"none"_s;
    }

    static QWidget *focused() { return QApplication::focusWidget(); }

    // A script of keys, separated by spaces:
    //   @box       click into a box (init, hp, hc, hpar, ap, ac, apar): focus, all selected
    //   <enter> <up> <down> <esc>   that key; <+> the numeric-pad plus
    //   {30}       the seconds dialog that comes next is answered with these digits and Enter
    //   text       typed key by key into the box that has the focus
    // A key token may end in *N for N presses.
    void play(const QString &script)
    {
        for (const QString &token : script.split(u' ', Qt::SkipEmptyParts)) {
            // The desktop gives the console its activation back once a dialog has closed.
            if (!window->isActiveWindow() && window->isVisible()) {
                window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(window.get()));
            }
            if (token.startsWith(u'@')) {
                QLineEdit *b = box(token.mid(1));
                QVERIFY2(b, qPrintable(token));
                b->setFocus();
                b->selectAll();
                continue;
            }
            if (token.startsWith(u'{')) {
                pendingSeconds = token.mid(1, token.size() - 2);
                continue;
            }
            if (token.startsWith(u'<')) {
                const qsizetype close = token.indexOf(u'>');
                const QString key = token.left(close + 1);
                const int times = close + 1 < token.size() ? token.mid(close + 2).toInt() : 1;
                for (int i = 0; i < times; ++i) {
                    QVERIFY2(focused(), "no box has the focus");
                    if (key == u"<enter>"_s)
                        QTest::keyClick(focused(), Qt::Key_Return);
                    else if (key == u"<up>"_s)
                        QTest::keyClick(focused(), Qt::Key_Up);
                    else if (key == u"<down>"_s)
                        QTest::keyClick(focused(), Qt::Key_Down);
                    else if (key == u"<esc>"_s)
                        QTest::keyClick(focused(), Qt::Key_Escape);
                    else if (key == u"<+>"_s)
                        QTest::keyClick(focused(), Qt::Key_Plus, Qt::KeypadModifier);
                    else
                        QFAIL(qPrintable(u"unknown key "_s + key));
                }
                continue;
            }
            for (QChar c : token) {
                QVERIFY2(focused(), "no box has the focus");
                QTest::keyClick(focused(), c.toLatin1());
            }
        }
    }
};

const QString NotInteger = u"Data value has to be integer!"_s;
const QString UnknownEvent = u"Error. Unknown event! Press F2 for legend."_s;
const QString PeriodStart =
    u"Before period start you can change lining players only. Type \"+\" or code 3 for minutes change!"_s;
const QString ExitQuestion = u"Are you sure to make Exit Without Change ? "_s;
const QString WrongZone = u"Incorrect zone! Available zones : 1 to 6 (for three points 1,2,3,4,6) !"_s;
const QString AfterEnd = u"Play has ended: nothing more can be keyed. For an over time type \"+\" or code 3 into "
                         "Init field; to finish, close the match (Esc)."_s;
const QString EndNeedsOvertime = u"For any action you must enter over time! Type \"+\" or code 3 into Init field."_s;
const QStringList FourQuartersEnd = {u"Finish of 1. quarter"_s, u"Finish of 2. quarter"_s, u"Finish of 3. quarter"_s,
                                     u"Finish. For over time type \"+\" or code 3 into Init box!"_s};

} // namespace

class TestConsoleMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void keyedMessages_data();
    void keyedMessages();
    void exitWithoutChangeLeavesAnEmptyPlace();
};

void TestConsoleMessages::keyedMessages_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("focus");
    // The newest line of the event log afterwards; empty: not looked at.
    QTest::addColumn<QString>("logLine");

    const QList<bool> none;
    // "<+> " starts the clock: only substitutions may be keyed before that.
    QTest::newRow("nothing wrong: a made free throw")
        << u"@init <+> 1 4 <enter> 4 <enter>"_s << none << QStringList() << u"init"_s << u"2. HOME MADE 1P  4"_s;
    QTest::newRow("code 3 and Enter changes the minute")
        << u"@init 3 <enter>"_s << none << QStringList() << u"init"_s << u"1. TIME CHANGE"_s;

    // Any text goes into the boxes; on Enter it has to be a number.
    QTest::newRow("letter in the init box") << u"@init x <enter>"_s << none << QStringList{NotInteger} << u"init"_s
                                            << QString();
    QTest::newRow("letter in the player box")
        << u"@init 1 x <enter>"_s << none << QStringList{NotInteger} << u"hp"_s << QString();
    QTest::newRow("letter in the code box")
        << u"@init <+> 1 4 <enter> x <enter>"_s << none << QStringList{NotInteger} << u"hc"_s << QString();
    QTest::newRow("letter in the parameter box")
        << u"@init <+> 1 4 <enter> 8 <enter> x <enter>"_s << none << QStringList{NotInteger} << u"hpar"_s
        << QString();

    // The player boxes.
    QTest::newRow("home number on no roster")
        << u"@init 1 77 <enter>"_s << none << QStringList{u"There is no player with No 77"_s} << u"hp"_s << QString();
    QTest::newRow("away number on no roster")
        << u"@init 2 77 <enter>"_s << none << QStringList{u"There is no player with No 77"_s} << u"ap"_s << QString();
    QTest::newRow("home player on the bench")
        << u"@init 1 9 <enter>"_s << none << QStringList{u"Player with No 9 is not playing at present!"_s} << u"hp"_s
        << QString();
    QTest::newRow("away player on the bench")
        << u"@init 2 14 <enter>"_s << none << QStringList{u"Player No 14 is not playing at present"_s} << u"ap"_s
        << QString();

    // The code boxes.
    QTest::newRow("21 alone is no code")
        << u"@init <+> 1 4 <enter> 21 <enter>"_s << none << QStringList{UnknownEvent} << u"hc"_s << QString();
    QTest::newRow("team offence is no code of the box")
        << u"@init <+> 2 9 <enter> 31 <enter>"_s << none << QStringList{UnknownEvent} << u"ac"_s << QString();
    QTest::newRow("zero is no code")
        << u"@init <+> 1 4 <enter> 0 <enter>"_s << none << QStringList{UnknownEvent} << u"hc"_s << QString();
    QTest::newRow("a shot before the clock runs")
        << u"@init 1 4 <enter> 6 <enter>"_s << none << QStringList{PeriodStart} << u"hc"_s << QString();
    QTest::newRow("a rebound before the clock runs, away")
        << u"@init 2 9 <enter> 10 <enter>"_s << none << QStringList{PeriodStart} << u"ac"_s << QString();
    QTest::newRow("parameter to a code without one")
        << u"@init <+> 1 4 <enter> 10 <down> 3 <enter>"_s << none
        << QStringList{u"Event or action is not created correctly!"_s} << u"hpar"_s << QString();

    // Exit without change: typed 210, asked twice for home and once for away.
    QTest::newRow("home exit, yes and yes")
        << u"@init <+> 1 4 <enter> 210 <enter>"_s << QList<bool>{true, true} << QStringList{ExitQuestion, ExitQuestion}
        << u"init"_s << u"2. HOME EXIT WITHOUT CHANGES  4"_s;
    QTest::newRow("home exit, yes and no")
        << u"@init <+> 1 4 <enter> 210 <enter>"_s << QList<bool>{true, false}
        << QStringList{ExitQuestion, ExitQuestion} << u"hc"_s << u"1. TIME CHANGE"_s;
    QTest::newRow("home exit, no")
        << u"@init <+> 1 4 <enter> 210 <enter>"_s << QList<bool>{false} << QStringList{ExitQuestion} << u"hc"_s
        << u"1. TIME CHANGE"_s;
    QTest::newRow("away exit, yes")
        << u"@init <+> 2 9 <enter> 210 <enter>"_s << QList<bool>{true} << QStringList{ExitQuestion} << u"init"_s
        << u"2. AWAY EXIT WITHOUT CHANGES  9"_s;

    // Refusals of the rules engine, keyed in the parameter box.
    QTest::newRow("three-pointer from zone 5")
        << u"@init <+> 1 4 <enter> 8 <enter> 5 <enter>"_s << none << QStringList{WrongZone} << u"hpar"_s
        << u"1. TIME CHANGE"_s;
    QTest::newRow("two-pointer from zone 7")
        << u"@init <+> 1 4 <enter> 6 <enter> 7 <enter>"_s << none << QStringList{WrongZone} << u"hpar"_s
        << u"1. TIME CHANGE"_s;
    QTest::newRow("missed two from zone 0")
        << u"@init <+> 1 4 <enter> 7 <enter> 0 <enter>"_s << none << QStringList{WrongZone} << u"hpar"_s
        << u"1. TIME CHANGE"_s;
    QTest::newRow("turnover of type 14")
        << u"@init <+> 1 4 <enter> 14 <enter> 14 <enter>"_s << none
        << QStringList{u"Incorrect data! Available values 1,2,3,4 to 13 !"_s} << u"hpar"_s << u"1. TIME CHANGE"_s;
    QTest::newRow("foul on an opponent on the bench")
        << u"@init <+> 1 4 <enter> 15 <enter> 14 <enter>"_s << none
        << QStringList{u"Player No 14 is not playing at present!"_s} << u"hpar"_s << u"1. TIME CHANGE"_s;
    QTest::newRow("foul on a number on no roster")
        << u"@init <+> 2 9 <enter> 15 <enter> 77 <enter>"_s << none
        << QStringList{u"There is no player with No 77!!!"_s} << u"apar"_s << u"1. TIME CHANGE"_s;
    QTest::newRow("foul on a team-mate only number")
        << u"@init <+> 1 4 <enter> 15 <enter> 5 <enter>"_s << none
        << QStringList{u"There is no player with No 5!!!"_s} << u"hpar"_s << u"1. TIME CHANGE"_s;
    QTest::newRow("a foul that is accepted")
        << u"@init <+> 1 4 <enter> 15 <enter> 9 <enter>"_s << none << QStringList() << u"init"_s
        << u"2. HOME PERSONAL FAULT  4  >>  9"_s;
    QTest::newRow("bringing in a player already on court")
        << u"@init 1 4 <enter> 18 <enter> {0} 5 <enter>"_s << none << QStringList{u"Player is playing allready!"_s}
        << u"hpar"_s << QString();

    // The clock.
    QTest::newRow("eleven minute changes end the first quarter")
        << u"@init <+>*11"_s << none << QStringList{u"Finish of 1. quarter"_s} << u"init"_s
        << u"11. TIME CHANGE"_s;
    QTest::newRow("44 minute changes end play")
        << u"@init <+>*44"_s << none << FourQuartersEnd << u"init"_s << u"44. TIME CHANGE"_s;
    QTest::newRow("a home entry after the end")
        << u"@init <+>*44 @init 1"_s << none << (FourQuartersEnd + QStringList{AfterEnd}) << u"init"_s << QString();
    QTest::newRow("a whole entry after the end is refused in one message")
        << u"@init <+>*44 @init 1 4 <enter> 6 <enter> 2 <enter> 2 7"_s << none
        << (FourQuartersEnd + QStringList{AfterEnd}) << u"init"_s << u"44. TIME CHANGE"_s;
    QTest::newRow("a box clicked, then keys typed after the end")
        << u"@init <+>*44 @hc 1 4"_s << none << (FourQuartersEnd + QStringList{EndNeedsOvertime}) << u"init"_s
        << QString();
    QTest::newRow("an over time keyed after the end")
        << u"@init <+>*44 @init 3 <enter>"_s << none << FourQuartersEnd << u"init"_s << u"45. TIME CHANGE"_s;
    QTest::newRow("an away box clicked after the end")
        << u"@init <+>*44 @ac"_s << none << (FourQuartersEnd + QStringList{EndNeedsOvertime}) << u"init"_s
        << QString();

    // Closing the console.
    QTest::newRow("Esc, and no to stopping")
        << u"@init <esc>"_s << QList<bool>{false} << QStringList{u"Stop working with match ?"_s} << u"init"_s
        << QString();
    QTest::newRow("Esc in a box with text clears it and asks nothing")
        << u"@init <+> 1 4 <esc>"_s << none << QStringList() << u"hp"_s << QString();
    QTest::newRow("a second Esc asks")
        << u"@init <+> 1 4 <esc> <esc>"_s << QList<bool>{false} << QStringList{u"Stop working with match ?"_s}
        << u"hp"_s << QString();
    QTest::newRow("Esc, and yes to stopping")
        << u"@hp <esc>"_s << QList<bool>{true} << QStringList{u"Stop working with match ?"_s} << u"closed"_s
        << QString();
}

void TestConsoleMessages::keyedMessages()
{
    QFETCH(QString, keys);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, messages);
    QFETCH(QString, focus);
    QFETCH(QString, logLine);

    ConsoleWindow console;
    QVERIFY(console.opened);
    RecordingMessenger recorded;
    for (bool yes : answers)
        recorded.answer(yes);
    console.play(keys);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(recorded.texts(), messages);
    QVERIFY2(recorded.answers.isEmpty(), "a prepared answer was not asked for");
    QVERIFY2(!console.pendingSeconds, "the seconds dialog did not come");
    QCOMPARE(console.focusName(), focus);
    QCOMPARE(console.unexpected, QStringList());
    if (!logLine.isEmpty())
        QCOMPARE(console.window->eventLog->item(0)->text(), logLine);
}

void TestConsoleMessages::exitWithoutChangeLeavesAnEmptyPlace()
{
    ConsoleWindow console;
    QVERIFY(console.opened);
    RecordingMessenger recorded;
    recorded.answer(true);
    recorded.answer(true);
    console.play(u"@init <+> 1 4 <enter> 210 <enter>"_s);
    QCOMPARE(recorded.texts(), (QStringList{ExitQuestion, ExitQuestion}));
    QCOMPARE(console.desk.court(1), (std::vector<int>{5, 6, 7, 8}));
    QStringList markers;
    for (auto *marker : console.window->homeCourt)
        markers << marker->text();
    QCOMPARE(markers, (QStringList{u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"?"_s}));

    // A basket afterwards is shared by the four on court only.
    console.play(u"@init 1 5 <enter> 6 <enter> 1 <enter>"_s);
    QCOMPARE(recorded.texts().size(), 2);
    QCOMPARE(console.window->homeScore->text(), u"2"_s);
    PlusMinus plusMinus(console.sb.dm().db());
    QCOMPARE(plusMinus.PlusMinusValue(console.match, 1, RosterPosition(1, 5), 5), 2);
    QCOMPARE(plusMinus.PlusMinusValue(console.match, 1, RosterPosition(1, 4), 4), 0);
    QCOMPARE(plusMinus.PlusMinusValue(console.match, 1, RosterPosition(1, 8), 8), 2); // counted once
}

QTEST_MAIN(TestConsoleMessages)
#include "test_console_messages.moc"
