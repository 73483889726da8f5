// From an empty data directory to the first event of a match, through the
// windows a statistician uses, driven offscreen: the program creates its
// database on first start; the leagues, teams, coaches, referees and players
// browsers fill the reference lists; "Create New Match" defines the match and
// opens the console; the rosters (F10 / F11) and the starting fives (F8 / F9)
// open entry; a free throw is keyed through the entry boxes; closing the
// console leads to the program's restart.
#include "common/AppPaths.h"
#include "console/widgets/MatchConsole.h"
#include "console/widgets/Pickers.h"
#include "data/FbClient.h"
#include "data/DataModule.h"
#include "app/ConsoleDialogs.h"
#include "setup/MainActions.h"
#include "setup/widgets/MainWindow.h"
#include "setup/widgets/MatchDefinitionDialog.h"
#include "setup/widgets/RefBrowser.h"
#include "setup/widgets/StartersDialog.h"
#include "setup/widgets/RosterDialog.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScopeGuard>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace Qt::StringLiterals;
using Command = RefBrowserLogic::Command;
using Control = MatchDefinition::Control;

namespace {

// ------------------------------------------------------------------ the match keyed in

struct Player
{
    QString surname;
    QString name;
    int number;
    bool starter;
};

struct Club
{
    QString name;
    QList<Player> players; // in shirt-number order

    int numberOf(const QString &surname) const
    {
        for (const Player &p : players)
            if (p.surname == surname)
                return p.number;
        return -1;
    }
    bool starts(int number) const
    {
        for (const Player &p : players)
            if (p.number == number)
                return p.starter;
        return false;
    }
};

const QString League = u"Košarkaška liga Srbije"_s;
const QString Referee = u"Šternić"_s;
const QString RefereeName = u"Goran"_s;
const QString Coach = u"Obradović"_s;
const QString CoachName = u"Željko"_s;
const QString Caption = u"Borac - Crvena zvezda"_s;

const Club Home{u"Borac Čačak"_s,
                {{u"Đorđević"_s, u"Saša"_s, 4, true},
                 {u"O'Neal"_s, u"Jermaine"_s, 7, true},
                 {u"Šiškić"_s, u"Marko"_s, 9, true},
                 {u"Žižić"_s, u"Ante"_s, 12, true},
                 {u"Čančar"_s, u"Vlatko"_s, 15, true},
                 {u"Lučić"_s, u"Vladimir"_s, 21, false}}};

const Club Away{u"Crvena zvezda"_s,
                {{u"Micić"_s, u"Vasilije"_s, 5, true},
                 {u"Teodosić"_s, u"Miloš"_s, 6, true},
                 {u"Nedović"_s, u"Nemanja"_s, 8, true},
                 {u"Jović"_s, u"Stefan"_s, 10, true},
                 {u"Kalinić"_s, u"Nikola"_s, 11, true},
                 {u"Davidovac"_s, u"Dejan"_s, 14, false}}};

// The home starter who makes the free throw.
constexpr int Shooter = 7;

const Club &clubOf(const QString &windowTitle) { return windowTitle.startsWith(u"HOME"_s) ? Home : Away; }

// ------------------------------------------------------------------ keyboard and mouse

// The sandbox is the program's data directory while the test runs.
struct Environment
{
    explicit Environment(const Sandbox &sb)
    {
        qputenv("QUINTARA_HOME", sb.path().toLocal8Bit());
        qunsetenv("QUINTARA_LIVE_DIR");
    }
    ~Environment() { qunsetenv("QUINTARA_HOME"); }
};

// Types as on a keyboard: ASCII through its keys, other letters as their text.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Clicks into a line edit and types at its end.
void typeInto(QLineEdit *edit, const QString &text)
{
    QVERIFY(edit);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_End);
    typeText(edit, text);
}

// Enters a drop-down (as Tab does) and walks it with the arrow keys until it
// shows `text`.
void choose(QComboBox *combo, const QString &text)
{
    QVERIFY(combo);
    combo->setFocus(Qt::TabFocusReason);
    const int target = combo->findText(text);
    QStringList offered;
    for (int i = 0; i < combo->count(); ++i)
        offered << combo->itemText(i);
    QVERIFY2(target >= 0, qPrintable(u"'%1' is not among '%2'"_s.arg(text, offered.join(u"', '"_s))));
    if (combo->currentIndex() > target)
        QTest::keyClick(combo, Qt::Key_Home);
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), text);
}

QPushButton *buttonCalled(QWidget *window, const QString &caption)
{
    for (QPushButton *b : window->findChildren<QPushButton *>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

void clickButton(QWidget *window, const QString &caption)
{
    QPushButton *b = buttonCalled(window, caption);
    QVERIFY2(b, qPrintable(u"no button '%1'"_s.arg(caption)));
    QTest::mouseClick(b, Qt::LeftButton);
}

void clickCell(QTableWidget *grid, int row, int column, bool twice = false)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (twice) { // the second press of a double click arrives as the double click
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }
}

// A key that opens a dialog blocks until the dialog closes: it is pressed
// once the step that decided it has returned.
void pressLater(QWidget *target, Qt::Key key)
{
    QTimer::singleShot(0, target, [target, key] { QTest::keyClick(target, key); });
}

// ------------------------------------------------------------------ the modal windows

// Acts on the modal windows as they come up. Whenever another window becomes
// the active modal one, the step given for its type runs once. A window
// without a step, and every window after a failure, is closed as cancelled,
// so that no exec() is left waiting.
class ModalDriver
{
public:
    ModalDriver()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start(20);
    }

    template <class Window>
    void on(std::function<void(Window &)> step)
    {
        steps_.append([step](QWidget *w) {
            auto *window = qobject_cast<Window *>(w);
            if (window)
                step(*window);
            return window != nullptr;
        });
    }

    // The title of every window met, in order.
    QStringList titles;

private:
    void look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (QTest::currentTestFailed()) {
            giveUp(modal);
            return;
        }
        if (!modal || modal == last_)
            return;
        // Keys go to the active window: a step waits until its window has the focus.
        if (!modal->isActiveWindow()) {
            modal->activateWindow();
            return;
        }
        last_ = modal;
        titles << modal->windowTitle();
        bool known = false;
        for (const auto &step : steps_)
            known = known || step(modal);
        if (!known)
            QTest::qFail(qPrintable(u"unexpected window '%1'"_s.arg(modal->windowTitle())), __FILE__, __LINE__);
        if (QTest::currentTestFailed())
            giveUp(modal);
    }

    static void giveUp(QWidget *modal)
    {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->done(QDialog::Rejected);
        else if (modal)
            modal->close();
    }

    QTimer timer_;
    QPointer<QWidget> last_;
    QList<std::function<bool(QWidget *)>> steps_;
};

// ------------------------------------------------------------------ the browsers

// Adds one row: Insert, the values typed or chosen, Post.
void addRow(TRefBrowser &browser, const QList<std::pair<QString, QString>> &values)
{
    const QString word = browser.logic().member().entityWord;
    QTest::mouseClick(browser.commandButton(Command::Insert), Qt::LeftButton);
    QCOMPARE(browser.lbCurrentAction->text(), u"ADDING NEW "_s + word);
    for (const auto &[column, value] : values) {
        QWidget *editor = browser.editor(column);
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            choose(combo, value);
        else
            typeInto(qobject_cast<QLineEdit *>(editor), value);
        if (QTest::currentTestFailed())
            return;
    }
    QTest::mouseClick(browser.commandButton(Command::Post), Qt::LeftButton);
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
}

void addPlayers(TRefBrowser &browser, const Club &club)
{
    for (const Player &p : club.players) {
        addRow(browser, {{u"PREZIME"_s, p.surname}, {u"IME"_s, p.name}, {u"ID_KLUB"_s, club.name}});
        if (QTest::currentTestFailed())
            return;
    }
}

// Every reference browser: its rows, then "Back >>".
void fillBrowser(TRefBrowser &browser)
{
    QCOMPARE(browser.lbCount->text(), u"0"_s);
    int rows = 1;
    switch (browser.logic().member().kind) {
    case BrowserKind::Leagues:
        addRow(browser, {{u"NAZIV"_s, League}, {u"OZNAKA"_s, u"KL"_s}, {u"LIGTUR"_s, u"1"_s}});
        break;
    case BrowserKind::Teams:
        for (const Club *club : {&Home, &Away})
            addRow(browser, {{u"NAZIV"_s, club->name}, {u"ID_LIGA"_s, League}});
        rows = 2;
        break;
    case BrowserKind::Coaches:
        addRow(browser, {{u"PREZIME"_s, Coach}, {u"IME"_s, CoachName}, {u"ID_KLUB"_s, Home.name}});
        break;
    case BrowserKind::Referees:
        addRow(browser, {{u"PREZIME"_s, Referee}, {u"IME"_s, RefereeName}, {u"GRAD"_s, u"Novi Sad"_s}});
        break;
    case BrowserKind::Players:
        addPlayers(browser, Home);
        addPlayers(browser, Away);
        rows = int(Home.players.size() + Away.players.size());
        break;
    default:
        QFAIL(qPrintable(u"no rows for %1"_s.arg(browser.windowTitle())));
    }
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(browser.lbCount->text(), QString::number(rows));
    QTest::mouseClick(browser.backButton, Qt::LeftButton);
    QVERIFY(!browser.isVisible());
}

// ------------------------------------------------------------------ the match definition

template <class W>
W *control(TDataGame &dialog, Control c)
{
    return qobject_cast<W *>(dialog.control(c));
}

void defineMatch(TDataGame &dialog)
{
    QVERIFY(dialog.isReady());
    choose(control<QComboBox>(dialog, Control::Liga), League);
    typeInto(control<QLineEdit>(dialog, Control::Kolo), u"1"_s);
    typeInto(control<QLineEdit>(dialog, Control::Grad), u"Čačak"_s);
    typeInto(control<QLineEdit>(dialog, Control::Hala), u"Hala 'Mladost'"_s);
    typeInto(control<QLineEdit>(dialog, Control::Gledalaca), u"3500"_s);
    typeInto(control<QLineEdit>(dialog, Control::Naziv), Caption);
    // Entering a club list offers the clubs of the league chosen.
    for (const auto &[side, club] : {std::pair{Control::Domacin, &Home}, std::pair{Control::Gost, &Away}}) {
        auto *clubs = control<QComboBox>(dialog, side);
        choose(clubs, club->name);
        QCOMPARE(clubs->count(), 3); // none, and the league's two clubs
    }
    choose(control<QComboBox>(dialog, Control::Sudija1), RefereeName + u" "_s + Referee);
    if (QTest::currentTestFailed())
        return;
    QTest::mouseClick(dialog.Potvrdi, Qt::LeftButton);
    QCOMPARE(dialog.result(), MatchDefinition::Confirmed);
}

// ------------------------------------------------------------------ roster and starters

// The shirt numbers typed into the grid (click the cell, F2, the number,
// Enter), the home coach chosen, OK.
void fillRoster(TTeamDlg &dialog)
{
    const Club &club = clubOf(dialog.windowTitle());
    QVERIFY(dialog.windowTitle().endsWith(club.name));
    QTableWidget *grid = dialog.grid;
    QCOMPARE(grid->rowCount(), club.players.size());
    for (int row = 0; row < grid->rowCount(); ++row) {
        const int number = club.numberOf(grid->item(row, 0)->text());
        QVERIFY(number > 0);
        QCOMPARE(grid->item(row, 2)->text(), QString());
        clickCell(grid, row, 2);
        QTest::keyClick(grid, Qt::Key_F2);
        auto *cell = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(cell, "F2 opens the cell for typing");
        typeText(cell, QString::number(number));
        QTest::keyClick(cell, Qt::Key_Return);
        QCoreApplication::processEvents(); // the cell takes its number as the editor closes
        QCOMPARE(grid->item(row, 2)->text(), QString::number(number));
    }
    if (&club == &Home)
        choose(dialog.coach, Coach + u" "_s + CoachName);
    else
        QCOMPARE(dialog.coach->count(), 1); // the away club has no coach: only the empty entry
    if (QTest::currentTestFailed())
        return;
    clickButton(&dialog, u"OK"_s);
    QCOMPARE(dialog.result(), 33);
}

// The five starters marked, the home ones by double clicks, the away ones
// with Space; OK.
void markStarters(TStartersDlg &dialog)
{
    const Club &club = clubOf(dialog.windowTitle());
    const bool home = &club == &Home;
    QTableWidget *grid = dialog.grid;
    QCOMPARE(grid->rowCount(), club.players.size());
    for (int row = 0; row < grid->rowCount(); ++row) {
        const int number = grid->item(row, 1)->text().toInt();
        QCOMPARE(number, club.players[row].number); // in shirt-number order
        QCOMPARE(grid->item(row, 0)->text(), QString());
        if (!club.starts(number))
            continue;
        if (home) {
            clickCell(grid, row, 2, true);
        } else {
            clickCell(grid, row, 2);
            QTest::keyClick(grid, Qt::Key_Space);
        }
        QCOMPARE(grid->item(row, 0)->text(), u"*"_s);
    }
    clickButton(&dialog, u"OK"_s);
    QCOMPARE(dialog.result(), 33);
}

// ------------------------------------------------------------------ the console

// Keys into the entry box that has the focus, which must be `box`.
void keyInto(QLineEdit *box, const QString &keys, bool enter = true)
{
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClicks(box, keys);
    if (enter)
        QTest::keyClick(box, Qt::Key_Return);
}

// The event log of the match keyed in, newest first.
QStringList expectedLog()
{
    QStringList lines{u"1. MATCH START"_s};
    for (const auto &[side, club] : {std::pair{u"HOME"_s, &Home}, std::pair{u"AWAY"_s, &Away}})
        for (const Player &p : club->players)
            if (p.starter)
                lines << u"%1. %2 STARTERS  %3"_s.arg(lines.size() + 1).arg(side).arg(p.number);
    lines << u"%1. TIME CHANGE"_s.arg(lines.size() + 1);
    lines << u"%1. HOME MADE 1P  %2"_s.arg(lines.size() + 1).arg(Shooter);
    std::reverse(lines.begin(), lines.end());
    return lines;
}

// What the console is asked to do each time it is the active window again.
struct ConsoleScript
{
    fb::Connection &db;
    RecordingMessenger &messages;
    int visits = 0;

    int count(const QString &sql) { return db.scalar(sql).toInt(); }

    void step(TMatchFrm &console)
    {
        switch (visits++) {
        case 0: // just opened: the rosters first
            QCOMPARE(console.lbHome->text(), Home.name);
            QCOMPARE(console.lbAway->text(), Away.name);
            QVERIFY(!console.entryBox(EntryBox::Init)->isEnabled());
            QCOMPARE(console.startersButtons[0]->text(), u"[F8] Starters ..."_s);
            QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
            pressLater(&console, Qt::Key_F10);
            break;
        case 1:
            QCOMPARE(count(u"select count(*) from SASTAV where DOMGOST = 1"_s), Home.players.size());
            pressLater(&console, Qt::Key_F11);
            break;
        case 2:
            QCOMPARE(count(u"select count(*) from SASTAV where DOMGOST = 0"_s), Away.players.size());
            pressLater(&console, Qt::Key_F8);
            break;
        case 3:
            QVERIFY(!console.entryBox(EntryBox::Init)->isEnabled()); // the away five are still missing
            pressLater(&console, Qt::Key_F9);
            break;
        case 4:
            showsTheFives(console);
            keyFreeThrow(console);
            if (QTest::currentTestFailed())
                return;
            // The first Esc empties the Init box, the second asks.
            QVERIFY(!console.entryBox(EntryBox::Init)->text().isEmpty());
            QTest::keyClick(console.entryBox(EntryBox::Init), Qt::Key_Escape);
            QVERIFY(console.isVisible());
            QCOMPARE(console.entryBox(EntryBox::Init)->text(), QString());
            messages.answer(true); // "Stop working with match ?"
            QTest::keyClick(console.entryBox(EntryBox::Init), Qt::Key_Escape);
            QVERIFY(!console.isVisible());
            break;
        default:
            QFAIL("the console came back once too often");
        }
    }

    // The starters on court, the others on the bench.
    static void showsTheFives(TMatchFrm &console)
    {
        for (const auto &[club, court, bench] : {std::tuple{&Home, console.homeCourt, console.homeBench},
                                                 std::tuple{&Away, console.awayCourt, console.awayBench}}) {
            QStringList onCourt, onBench;
            for (const Player &p : club->players)
                (p.starter ? onCourt : onBench) << QString::number(p.number);
            QStringList courtShown, benchShown;
            for (const ClickLabel *marker : court)
                courtShown << marker->text();
            for (const ClickLabel *marker : bench)
                if (marker->isVisible())
                    benchShown << marker->text();
            QCOMPARE(courtShown, onCourt);
            QCOMPARE(benchShown, onBench);
        }
    }

    void keyFreeThrow(TMatchFrm &console)
    {
        QVERIFY(console.entryBox(EntryBox::Init)->isEnabled());
        QVERIFY(console.entryBox(EntryBox::AwayParameter)->isEnabled());
        QCOMPARE(console.clockMinute->text(), u"Q1 \u00B7 10'"_s);
        QCOMPARE(console.startersButtons[0]->text(), u"[F8] Starters ..."_s);

        // Before the clock runs only player changes are taken.
        keyInto(console.entryBox(EntryBox::Init), u"1"_s, false); // moves on by itself
        keyInto(console.entryBox(EntryBox::HomePlayer), QString::number(Shooter));
        keyInto(console.entryBox(EntryBox::HomeCode), u"4"_s);
        QCOMPARE(messages.texts(),
                 QStringList{u"Before period start you can change lining players only. Type \"+\" or code 3 for "
                             "minutes change!"_s});
        QCOMPARE(QApplication::focusWidget(), console.entryBox(EntryBox::HomeCode));
        messages.messages.clear();

        // Back up to Init, where 3 and Enter change the minute.
        QTest::keyClick(console.entryBox(EntryBox::HomeCode), Qt::Key_Up);
        QTest::keyClick(console.entryBox(EntryBox::HomePlayer), Qt::Key_Up);
        keyInto(console.entryBox(EntryBox::Init), u"3"_s);
        QCOMPARE(console.clockMinute->text(), u"Q1 \u00B7 9'"_s);

        // Init 1, the shooter, code 4: a made free throw.
        keyInto(console.entryBox(EntryBox::Init), u"1"_s, false);
        keyInto(console.entryBox(EntryBox::HomePlayer), QString::number(Shooter));
        keyInto(console.entryBox(EntryBox::HomeCode), u"4"_s);
        QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
        QCOMPARE(QApplication::focusWidget(), console.entryBox(EntryBox::Init));

        fb::Query row(db, u"select RBACTION, HG, NODR from DTT where RES = 4"_s);
        row.exec();
        QVERIFY(row.next());
        const int number = row.value(0).toInt();
        QCOMPARE(row.value(1).toInt(), 1);
        QCOMPARE(row.value(2).toInt(), Shooter);
        QVERIFY(!row.next());
        QCOMPARE(console.homeScore->text(), u"1"_s);
        QCOMPARE(console.awayScore->text(), u"0"_s);
        QCOMPARE(console.eventLog->item(0)->text(), u"%1. HOME MADE 1P  %2"_s.arg(number).arg(Shooter));
        QStringList log;
        for (int i = 0; i < console.eventLog->count(); ++i)
            log << console.eventLog->item(i)->text();
        QCOMPARE(log, expectedLog());
    }
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void cleanup() { MainActions::SetLauncher(nullptr); }

    void fromAnEmptyDataDirectoryToTheFirstEvent();
};

void TestEndToEnd::fromAnEmptyDataDirectoryToTheFirstEvent()
{
    Sandbox sb(false);
    Environment env(sb);
    QFile marker(sb.file(AppPaths::AdminMarkerFileName));
    QVERIFY(marker.open(QIODevice::WriteOnly)); // Teams and Leagues
    marker.close();
    RecordingMessenger messages;
    QString restarted;
    MainActions::SetLauncher([&](const QString &program) {
        restarted = program;
        return true;
    });

    // The start of the program: the main window, then the data module,
    // which creates the database.
    TMainFrm window;
    Tdm module(sb.options());
    QVERIFY(module.Start());
    QVERIFY(module.connected());
    QVERIFY(QFile::exists(sb.file(AppPaths::DatabaseFileName)));
    TShootPosFrm zonePicker;
    TTurnoverTypesFrm turnoverPicker;
    TPFTypesFrm foulPicker;
    Pickers() = {&zonePicker, &turnoverPicker, &foulPicker};
    const auto pickersGone = qScopeGuard([] { Pickers() = {}; });
    RegisterConsoleDialogs();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.bitBtnLeagues->isVisible());
    QVERIFY(messages.messages.isEmpty());
    fb::Connection &db = module.db();

    ModalDriver driver;
    driver.on<TRefBrowser>(fillBrowser);
    driver.on<TDataGame>(defineMatch);
    driver.on<TTeamDlg>(fillRoster);
    driver.on<TStartersDlg>(markStarters);
    ConsoleScript console{db, messages};
    driver.on<TMatchFrm>([&console](TMatchFrm &w) { console.step(w); });

    // The reference lists, each browser opened by its button.
    for (const QString &list : {u"Leagues"_s, u"Teams"_s, u"Coaches"_s, u"Referees"_s, u"Players"_s}) {
        clickButton(&window, list);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(driver.titles, (QStringList{u"LEAGUES"_s, u"TEAMS"_s, u"COACHES"_s, u"REFEREES"_s, u"PLAYERS"_s}));
    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(db.scalar(u"select NAZIV from LIGA"_s).toString(), League);
    QCOMPARE(db.scalar(u"select count(*) from KLUB K join LIGA L on L.ID_LIGA = K.ID_LIGA"_s).toInt(), 2);
    for (const Club *club : {&Home, &Away})
        QCOMPARE(db.scalar(u"select count(*) from IGRAC I join KLUB K on K.ID_KLUB = I.ID_KLUB where K.NAZIV = ?"_s,
                           {club->name})
                     .toInt(),
                 club->players.size());
    QCOMPARE(db.scalar(u"select IME from IGRAC where PREZIME = 'O''Neal'"_s).toString(), u"Jermaine"_s);
    driver.titles.clear();

    // The match: definition, console, rosters, starters, one event.
    clickButton(&window, u"Create New Match"_s);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(driver.titles,
             (QStringList{u"Match Definition"_s, Caption, u"HOME TEAM "_s + Home.name, Caption,
                          u"AWAY TEAM: "_s + Away.name, Caption, u"HOME STARTERS: "_s + Home.name, Caption,
                          u"AWAY STARTERS: "_s + Away.name, Caption}));
    QCOMPARE(console.visits, 5);
    QCOMPARE(messages.texts(), QStringList{u"Stop working with match ?"_s});

    // The console ran: the program starts anew.
    QCOMPARE(restarted, QCoreApplication::applicationFilePath());
    fb::Query match(db, u"select U.NAZIV, U.REZULTAT, K1.NAZIV, K2.NAZIV, S.PREZIME, T.PREZIME, U.MESTO "
                        "from UTAKMICA U join KLUB K1 on K1.ID_KLUB = U.ID_KLUB1 "
                        "join KLUB K2 on K2.ID_KLUB = U.ID_KLUB2 join SUDIJA S on S.ID_SUDIJA = U.ID_SUDIJA1 "
                        "join TRENER T on T.ID_TRENER = U.ID_TRENER1"_s);
    match.exec();
    QVERIFY(match.next());
    QCOMPARE(match.value(0).toString(), Caption);
    QCOMPARE(match.value(1).toString(), u"NOT FINISHED"_s);
    QCOMPARE(match.value(2).toString(), Home.name);
    QCOMPARE(match.value(3).toString(), Away.name);
    QCOMPARE(match.value(4).toString(), Referee);
    QCOMPARE(match.value(5).toString(), Coach);
    QCOMPARE(match.value(6).toString(), u"Hala 'Mladost'"_s);
    QVERIFY(!match.next());
    QCOMPARE(db.scalar(u"select count(*) from SASTAV S join IGRAC I on I.ID_IGRAC = S.ID_IGRAC "
                       "where I.PREZIME = 'O''Neal' and S.DRES = ? and S.DOMGOST = 1"_s,
                       {Shooter})
                 .toInt(),
             1);
}

QTEST_MAIN(TestEndToEnd)
#include "test_end_to_end.moc"
