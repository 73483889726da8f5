// The console window driven through its real widgets, offscreen.
#include "common/MatchState.h"
#include "console/SideStatsModel.h"
#include "console/widgets/BoxScoreGrid.h"
#include "console/widgets/EventsReviewWindow.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/Pickers.h"
#include "console/widgets/StatLineGrid.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "rules/RulesDesk.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include "console/widgets/PlayerTableView.h"
#include "support/ShownCells.h"
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct WindowFixture
{
    WindowFixture() : desk(sb.dm().db()), match(desk.createMatch())
    {
        // Starters are in place before the console opens the match.
        desk.openMatch(match);
        desk.startMatch(false);
        sb.dm().db().commitRetaining();
        window = std::make_unique<TMatchFrm>();
        QVERIFY(window->OpenExistingMatch(match));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    int home(int i) const { return *std::next(rules::homeNumbers().begin(), i); }
    QString dttText(const QString &column)
    {
        return sb.dm().db().scalar(u"select %1 from DTT where IDM = ? order by RBACTION desc rows 1"_s.arg(column),
                                   {match}).toString();
    }
    void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    Sandbox sb;
    rules::Desk desk;
    int match;
    std::unique_ptr<TMatchFrm> window;
};

void showTab(TMatchFrm &window, const QString &name)
{
    auto *views = window.findChild<QTabWidget *>();
    for (int tab = 0; tab < views->count(); ++tab)
        if (views->tabText(tab) == name)
            views->setCurrentIndex(tab);
}

} // namespace

class TestMatchWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void entryIsEnabledForAMatchWithStarters();
    void keyedEventIsRecordedAndShown();
    void keypadPlusChangesTheMinute();
    void courtShowsPlayersOnCourtAndBench();
    void closingAsksFirst();
    void referenceListsOpenWithTablesAndASafetyCopy();
    void timeOutsAndTeamEventsByKey();
    void coachTechnicalByClick();
    void eventsReviewDeletesARecord();
    void attackAndDefenceTypes();
    void everyCorrectionReachesEveryView();
    void columnsNarrowAgainAfterACorrection();
    void newMatchShowsTeamNamesOverItsBoxScores();
    void fitsALaptopScreen();
    void escPutsTheLegendAwayBeforeItAsks();
    void boxScoreMarksPlayersAndShowsTheirFigures();
};

void TestMatchWindow::entryIsEnabledForAMatchWithStarters()
{
    WindowFixture f;
    QVERIFY(f.window->entryBox(EntryBox::Init)->isEnabled());
    QVERIFY(f.window->entryBox(EntryBox::AwayParameter)->isEnabled());
    QCOMPARE(f.window->windowTitle(), u"Rules match"_s);
    QCOMPARE(f.window->lbQuarter->text(), u"1. Quarter"_s);
    QCOMPARE(f.window->clockMinute->text(), u"Q1 \u00B7 10'"_s);
}

void TestMatchWindow::keyedEventIsRecordedAndShown()
{
    WindowFixture f;
    RecordingMessenger messages;
    f.type(f.window->entryBox(EntryBox::Init), u"3"_s);
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Return);
    QCOMPARE(f.window->clockMinute->text(), u"Q1 \u00B7 9'"_s);

    // "1" jumps to the home player box as soon as the key is released.
    f.type(f.window->entryBox(EntryBox::Init), u"1"_s);
    QVERIFY(f.window->entryBox(EntryBox::HomePlayer)->hasFocus());
    QTest::keyClicks(f.window->entryBox(EntryBox::HomePlayer), QString::number(f.home(2)));
    QTest::keyClick(f.window->entryBox(EntryBox::HomePlayer), Qt::Key_Return);
    QVERIFY(f.window->entryBox(EntryBox::HomeCode)->hasFocus());
    QTest::keyClicks(f.window->entryBox(EntryBox::HomeCode), u"6"_s);
    QTest::keyClick(f.window->entryBox(EntryBox::HomeCode), Qt::Key_Return);
    QVERIFY(f.window->entryBox(EntryBox::HomeParameter)->hasFocus());
    QTest::keyClicks(f.window->entryBox(EntryBox::HomeParameter), u"2"_s);
    QTest::keyClick(f.window->entryBox(EntryBox::HomeParameter), Qt::Key_Return);

    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QVERIFY(f.window->entryBox(EntryBox::Init)->hasFocus());
    QCOMPARE(f.dttText(u"RES"_s), u"6"_s);
    QCOMPARE(f.dttText(u"PAR1"_s), u"2"_s);
    QCOMPARE(f.window->homeScore->text(), u"2"_s);
    QCOMPARE(f.window->eventLog->item(0)->text(), u"2. HOME MADE 2P  %1  >>  2"_s.arg(f.home(2)));
    QCOMPARE(f.window->eventLog->count(), 2);
    // The home box score follows at once.
    QCOMPARE(ShownTotal(*f.window->boxScores[0]->view, u"PTS"_s), u"2"_s);
}

void TestMatchWindow::keypadPlusChangesTheMinute()
{
    WindowFixture f;
    f.window->entryBox(EntryBox::Init)->setFocus();
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(f.window->clockMinute->text(), u"Q1 \u00B7 9'"_s);
    QCOMPARE(f.window->entryBox(EntryBox::Init)->text(), QString());
    QCOMPARE(f.window->eventLog->item(0)->text(), u"1. TIME CHANGE"_s);
    // A minute change can be taken back with U.
    QVERIFY(f.window->btnUndo->isVisible());
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_U);
    QCOMPARE(f.window->clockMinute->text(), u"Q1 \u00B7 10'"_s);
    QCOMPARE(f.window->eventLog->count(), 0);
    QVERIFY(!f.window->btnUndo->isVisible());
}

void TestMatchWindow::courtShowsPlayersOnCourtAndBench()
{
    WindowFixture f;
    for (int i = 0; i < 5; ++i)
        QCOMPARE(f.window->homeCourt[size_t(i)]->text(), QString::number(f.home(i)));
    // Twelve players: five on court, the first seven of the others on the bench.
    int shown = 0;
    for (auto *m : f.window->homeBench)
        shown += m->isVisible() ? 1 : 0;
    QCOMPARE(shown, 7);
    QCOMPARE(f.window->homeBench[0]->text(), QString::number(f.home(5)));
    QCOMPARE(IsOnCourt(1, f.home(4)), 1);
    // The statistic lines, once their tab is chosen: every roster player, or
    // with "Actors Only" the five on court.
    StatLineGrid *lines = f.window->statLineGrids[0];
    QVERIFY(!f.window->sideStats[0]->statLinesRead()); // out of sight, not read yet
    auto *views = f.window->findChild<QTabWidget *>();
    for (int tab = 0; tab < views->count(); ++tab)
        if (views->tabText(tab) == u"Statistic lines"_s)
            views->setCurrentIndex(tab);
    QVERIFY(f.window->sideStats[0]->statLinesRead());
    QCOMPARE(lines->view->model()->rowCount(), 12 + 1); // and the totals
    lines->actorsOnly->setChecked(true);
    QCOMPARE(lines->view->model()->rowCount(), 5 + 1);
}

void TestMatchWindow::closingAsksFirst()
{
    WindowFixture f;
    RecordingMessenger messages;
    messages.answer(false);
    f.window->close();
    QVERIFY(f.window->isVisible());
    QCOMPARE(messages.texts(), QStringList{u"Stop working with match ?"_s});
    messages.answer(true);
    f.window->close();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.sb.dm().db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {f.match}).toString(),
             u"NOT FINISHED"_s);
}

void TestMatchWindow::referenceListsOpenWithTablesAndASafetyCopy()
{
    WindowFixture f;
    QList<ReferenceList> opened;
    TheConsoleDialogs().browser = [&](TMatchFrm &, ReferenceList list) {
        QVERIFY(f.sb.dm().table(u"tPla"_s).isOpen());
        f.sb.dm().db().execute(u"insert into SUDIJA (PREZIME, IME) values ('Novi', 'Sudija')"_s);
        opened << list;
    };
    f.window->OpenReferenceList(ReferenceList::Referees);
    TheConsoleDialogs().browser = nullptr;
    QCOMPARE(opened, QList<ReferenceList>{ReferenceList::Referees});
    f.sb.dm().WaitForSafetyCopies();
    auto copy = fb::Connection::attach(f.sb.file(u"BACKUP_QNDB.FDB"_s), {u"SYSDBA"_s, u"x"_s});
    QCOMPARE(copy->scalar(u"select count(*) from SUDIJA where PREZIME = 'Novi'"_s).toInt(), 1);
}

void TestMatchWindow::timeOutsAndTeamEventsByKey()
{
    WindowFixture f;
    RecordingMessenger messages;
    // A jump ball starts the play; a time-out waits for the clock to run.
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_F6);
    QCOMPARE(f.dttText(u"RES"_s), u"34"_s);
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Slash);
    QCOMPARE(messages.texts(), QStringList{u"Before period start you can change lining players only. "
                                            "Type \"+\" or code 3 for minutes change!"_s});
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    messages.messages.clear();
    QCOMPARE(f.window->timeOutsLeft[1]->text(), u"T.O. left: 2"_s);
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Asterisk);
    QCOMPARE(messages.texts(), QStringList{u"AWAY Time Out!"_s});
    // Beside the team's name: one left in the first half, the other side's two untouched.
    QCOMPARE(f.window->timeOutsLeft[1]->text(), u"T.O. left: 1"_s);
    QCOMPARE(f.window->timeOutsLeft[0]->text(), u"T.O. left: 2"_s);
    QCOMPARE(f.dttText(u"RES"_s), u"20"_s);
    QCOMPARE(f.dttText(u"HG"_s), u"2"_s);
    QCOMPARE(f.window->entryBox(EntryBox::Init)->text(), QString()); // the character is taken by the console
    QVERIFY(f.window->entryBox(EntryBox::Init)->hasFocus());
    // Possession by key; a jump ball does not move it.
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_A);
    QCOMPARE(f.sb.dm().GetJumpBall(f.match), 2);
    QVERIFY(f.window->possessionLabels[1]->text().startsWith(u"\u25CF"_s));
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_F6);
    QCOMPARE(f.sb.dm().GetJumpBall(f.match), 2);
}

void TestMatchWindow::coachTechnicalByClick()
{
    WindowFixture f;
    RecordingMessenger messages;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    f.window->CoachTechnicalClicked(2);
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(f.dttText(u"RES"_s), u"19"_s);
    QCOMPARE(f.dttText(u"HG"_s), u"2"_s);
}

void TestMatchWindow::eventsReviewDeletesARecord()
{
    WindowFixture f;
    RecordingMessenger messages;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    f.window->CoachTechnicalClicked(1);
    QCOMPARE(f.window->eventLog->count(), 2);
    // The review opens on the newest record; it is deleted there and the console follows.
    messages.answer(true);
    QTimer::singleShot(0, [] {
        auto *review = qobject_cast<TAllActionsViewfrm *>(QApplication::activeModalWidget());
        QVERIFY(review);
        review->DeleteAction();
        review->close();
    });
    auto *button = f.window->findChild<QPushButton *>(u"btnEditDelete"_s);
    QVERIFY(button);
    button->click();
    QCOMPARE(messages.texts(), QStringList{u"Are you sure to delete action?"_s});
    QCOMPARE(f.window->eventLog->count(), 1);
    QCOMPARE(f.window->eventLog->item(0)->text(), u"1. TIME CHANGE"_s);
}

void TestMatchWindow::attackAndDefenceTypes()
{
    WindowFixture f;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_F);
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Z);
    QCOMPARE(f.window->lbAtype->text(), u"FAST BREAK"_s);
    QCOMPARE(f.window->lbDtype->text(), u"ZONE DEFENSE"_s);
    QCOMPARE(f.window->rgAType->checkedId(), 2);
    QCOMPARE(f.window->rgDType->checkedId(), 1);
    f.window->rgAType->button(1)->click();
    QCOMPARE(f.window->lbAtype->text(), u"SECOND ATTACK"_s);
    QCOMPARE(f.window->session().AttackType, 1);
}

void TestMatchWindow::everyCorrectionReachesEveryView()
{
    WindowFixture f;
    RecordingMessenger messages;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    QVERIFY(f.window->session().Record({1, f.home(0), EvMade2, 2, 0}) == 1);
    showTab(*f.window, u"Statistic lines"_s);
    StatLineGrid *lines = f.window->statLineGrids[0];
    QCOMPARE(ShownCell(*lines->view, 0, u"PTS"_s), u"2"_s);
    QCOMPARE(f.window->homeScore->text(), u"2"_s);

    // The made shot removed from the events in force: the rules engine's
    // statistic lines in sight drop it at once.
    messages.answer(true);
    QCOMPARE(f.window->eventsInForce->item(0)->text().left(4), u"HOME"_s);
    emit f.window->eventsInForce->itemDoubleClicked(f.window->eventsInForce->item(0));
    QCOMPARE(ShownCell(*lines->view, 0, u"PTS"_s), u"0"_s);
    QCOMPARE(f.window->eventsInForce->count(), 1);

    // The record deleted from the event log: score and box score follow.
    QCOMPARE(f.window->eventLog->item(0)->text().left(2), u"2."_s);
    messages.messages.clear();
    messages.answer(true);
    emit f.window->eventLog->itemDoubleClicked(f.window->eventLog->item(0));
    QCOMPARE(messages.texts().last(), u"Action is deleted!"_s);
    QCOMPARE(f.window->homeScore->text(), u"0"_s);
    QCOMPARE(ShownTotal(*f.window->boxScores[0]->view, u"PTS"_s), u"0"_s);
    QCOMPARE(f.window->eventLog->count(), 1);
}

void TestMatchWindow::columnsNarrowAgainAfterACorrection()
{
    WindowFixture f;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    const PlayerTableView &view = *f.window->boxScores[0]->view;
    int twos = 0;
    while (view.model()->headerData(twos, Qt::Horizontal).toString() != u"2P"_s)
        ++twos;
    for (int shot = 0; shot < 9; ++shot)
        QVERIFY(f.window->session().Record({1, f.home(0), EvMade2, 2, 0}) == 1);
    const int nineOfNine = view.columnWidth(twos);
    QVERIFY(f.window->session().Record({1, f.home(0), EvMade2, 2, 0}) == 1);
    QCOMPARE(ShownTotal(view, u"2P"_s), u"10/10"_s);
    QVERIFY(view.columnWidth(twos) > nineOfNine);

    f.window->session().Undo();
    QCOMPARE(ShownTotal(view, u"2P"_s), u"9/9"_s);
    QCOMPARE(view.columnWidth(twos), nineOfNine);
}

void TestMatchWindow::newMatchShowsTeamNamesOverItsBoxScores()
{
    Sandbox sb;
    rules::Desk desk(sb.dm().db());
    const int match = desk.createMatch();
    TMatchFrm window;
    QVERIFY(window.OpenNewMatch(match));
    const QString home = window.session().HomeName(), away = window.session().AwayName();
    QVERIFY(!home.isEmpty() && !away.isEmpty());
    QCOMPARE(window.boxScores[0]->caption->text(), u"HOME STATISTICS "_s + home);
    QCOMPARE(window.boxScores[1]->caption->text(), u"AWAY STATISTICS "_s + away);
}

// Where a widget lies in the window, and whether it is there to be seen.
QString outside(const QWidget &window, const QWidget *w)
{
    const QRect where(w->mapTo(&window, QPoint(0, 0)), w->size());
    if (!w->isVisible())
        return u"%1 is hidden"_s.arg(w->objectName());
    if (!window.rect().contains(where))
        return u"%1 at %2,%3 %4x%5 is not inside %6x%7"_s.arg(w->objectName())
            .arg(where.x()).arg(where.y()).arg(where.width()).arg(where.height())
            .arg(window.width()).arg(window.height());
    return QString();
}

void TestMatchWindow::fitsALaptopScreen()
{
    // A 1366x768 screen less its task bar.
    WindowFixture f;
    f.window->resize(1366, 728);
    QTest::qWait(50);
    QCOMPARE(f.window->size(), QSize(1366, 728));
    QList<QWidget *> parts;
    for (EntryBox box : {EntryBox::Init, EntryBox::HomePlayer, EntryBox::HomeCode, EntryBox::HomeParameter,
                         EntryBox::AwayPlayer, EntryBox::AwayCode, EntryBox::AwayParameter})
        parts << f.window->entryBox(box);
    parts << f.window->eventLog << f.window->findChild<QWidget *>(u"TimePanel"_s);
    for (BoxScoreGrid *grid : f.window->boxScores)
        parts << grid->view;
    for (QWidget *part : parts) {
        QVERIFY(part);
        const QString problem = outside(*f.window, part);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    // Every player of both sides and the totals, every column, without scrolling.
    for (BoxScoreGrid *grid : f.window->boxScores) {
        PlayerTableView *view = grid->view;
        QCOMPARE(view->model()->rowCount(), 12 + 1);
        const QRect seen = view->viewport()->rect();
        for (int row = 0; row < view->model()->rowCount(); ++row)
            for (int column = 0; column < view->model()->columnCount(); ++column) {
                if (view->isColumnHidden(column))
                    continue;
                const QRect cell = view->visualRect(view->model()->index(row, column));
                const QString header = view->model()->headerData(column, Qt::Horizontal).toString();
                QVERIFY2(seen.contains(cell), qPrintable(u"row %1, column %2 is cut"_s.arg(row).arg(header)));
            }
    }
}

void TestMatchWindow::escPutsTheLegendAwayBeforeItAsks()
{
    WindowFixture f;
    RecordingMessenger messages;
    QLineEdit *init = f.window->entryBox(EntryBox::Init);
    QTest::keyClick(init, Qt::Key_F2);
    auto *legend = f.window->findChild<TEventLegendFrm *>();
    QVERIFY(legend && legend->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!legend->isVisible());
    QVERIFY(f.window->isVisible());
    QCOMPARE(messages.texts(), QStringList());
    // The next Esc asks, and No keeps the match open.
    messages.answer(false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(messages.texts(), QStringList{u"Stop working with match ?"_s});
    QVERIFY(f.window->isVisible());
}

void TestMatchWindow::boxScoreMarksPlayersAndShowsTheirFigures()
{
    WindowFixture f;
    RecordingMessenger messages;
    QTest::keyClick(f.window->entryBox(EntryBox::Init), Qt::Key_Plus, Qt::KeypadModifier);
    const int shooter = f.home(0), fouler = f.home(1);
    QCOMPARE(f.window->session().Record({1, shooter, EvMade2, 2, 0}), 1);
    for (int foul = 0; foul < 5; ++foul) {
        messages.answer(true);
        QCOMPARE(f.window->session().Record({1, fouler, EvPersonalFoul, *rules::awayNumbers().begin(), 0}), 1);
    }
    PlayerTableView &view = *f.window->boxScores[0]->view;
    const QAbstractItemModel &model = *view.model();
    // Every player is in sight, in shirt-number order, with his name.
    QCOMPARE(model.rowCount(), 12 + 1);
    int previous = -1;
    for (int row = 0; row < 12; ++row) {
        const QString number = ShownCell(view, row, u"No"_s);
        const int shirt = number == u"00"_s ? 100 : number.toInt(); // 00 is stored as 100
        QVERIFY2(shirt > previous, qPrintable(u"%1 after %2"_s.arg(shirt).arg(previous)));
        previous = shirt;
        QVERIFY(!ShownCell(view, row, u"Player"_s).isEmpty());
    }
    auto rowOf = [&](int shirt) {
        for (int row = 0; row < 12; ++row)
            if (ShownCell(view, row, u"No"_s) == QString::number(shirt))
                return row;
        return -1;
    };
    const int shooterRow = rowOf(shooter), foulerRow = rowOf(fouler), benchRow = rowOf(f.home(6));
    QCOMPARE(ShownCell(view, shooterRow, u"PTS"_s), u"2"_s);
    QCOMPARE(ShownCell(view, shooterRow, u"2P"_s), u"1/1"_s);
    QCOMPARE(ShownCell(view, shooterRow, u"+/-"_s), u"+2"_s);
    QCOMPARE(ShownCell(view, foulerRow, u"PF"_s), u"5"_s);
    // One minute played: the five on court have it, the bench nothing.
    QCOMPARE(ShownCell(view, shooterRow, u"MIN"_s), u"1"_s);
    QCOMPARE(ShownCell(view, benchRow, u"MIN"_s), u"0"_s);
    QCOMPARE(ShownTotal(view, u"MIN"_s), u"5"_s);
    // Starters with "*", the players on court, the fouled-out player.
    QVERIFY(ShownCell(view, shooterRow, u"Player"_s).startsWith(u'*'));
    QVERIFY(!ShownCell(view, benchRow, u"Player"_s).startsWith(u'*'));
    QVERIFY(model.index(shooterRow, 0).data(SideStatsModel::OnCourtRole).toBool());
    QVERIFY(!model.index(benchRow, 0).data(SideStatsModel::OnCourtRole).toBool());
    QVERIFY(model.index(foulerRow, 0).data(SideStatsModel::FouledOutRole).toBool());
    QVERIFY(!model.index(shooterRow, 0).data(SideStatsModel::FouledOutRole).toBool());
    QCOMPARE(ShownTotal(view, u"PTS"_s), u"2"_s);
    QCOMPARE(ShownTotal(view, u"PF"_s), u"5"_s);
    // The court marker of the fouler shows his fouls and turns red.
    for (size_t i = 0; i < 5; ++i) {
        const bool isFouler = f.window->homeCourt[i]->text() == QString::number(fouler);
        QCOMPARE(f.window->homeCourtFouls[i]->text(), isFouler ? u"5"_s : u"0"_s);
        QCOMPARE(f.window->homeCourt[i]->property("fouledOut").toBool(), isFouler);
    }
    // "Actors Only" keeps the five on court and the totals.
    f.window->boxScores[0]->actorsOnly->setChecked(true);
    QCOMPARE(model.rowCount(), 5 + 1);
}

QTEST_MAIN(TestMatchWindow)
#include "test_match_window.moc"
