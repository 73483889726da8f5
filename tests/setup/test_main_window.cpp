// The main window as a statistician meets it, driven offscreen.
#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "data/FbClient.h"
#include "app/MessageBoxes.h"
#include "setup/widgets/AboutDialog.h"
#include "setup/MainActions.h"
#include "setup/widgets/MainWindow.h"
#include "setup/VersionInfo.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Runs the data directory and export directory of one test from the sandbox.
struct Environment
{
    explicit Environment(const Sandbox &sb, const QString &liveDir = QString())
    {
        qputenv("QUINTARA_HOME", sb.path().toLocal8Bit());
        if (liveDir.isEmpty())
            qunsetenv("QUINTARA_LIVE_DIR");
        else
            qputenv("QUINTARA_LIVE_DIR", liveDir.toLocal8Bit());
    }
    ~Environment()
    {
        qunsetenv("QUINTARA_HOME");
        qunsetenv("QUINTARA_LIVE_DIR");
    }
};

QAction *findAction(QMenuBar *bar, const QString &text)
{
    for (QAction *menu : bar->actions())
        if (menu->menu())
            for (QAction *item : menu->menu()->actions())
                if (item->text() == text)
                    return item;
    return nullptr;
}

// Records the title of every modal window that opens and closes it.
struct ModalWatcher
{
    ModalWatcher()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                titles << modal->windowTitle();
                modal->close();
            }
        });
        timer.start(20);
    }
    QTimer timer;
    QStringList titles;
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void cleanup() { MainActions::SetLauncher(nullptr); }

    void versionTexts_data();
    void versionTexts();
    void captionShowsProgramVersion();
    void adminActionsFollowMarkerFile_data();
    void adminActionsFollowMarkerFile();
    void exportDirectoryIsCreated();
    void exportDirectoryFailureIsReported();
    void menusCarryTheirShortcuts_data();
    void menusCarryTheirShortcuts();
    void openExistingMatchWithoutMatches();
    void referenceBrowserSavesAndCopies();
    void creationResetsConsoleState();
    void restartStartsTheProgramAgain();
    void aboutShowsTheCaptionsVersion();
    void questionsAnswerNoToAStrayEnter();
    void adviceLeadsANewcomer_data();
    void adviceLeadsANewcomer();
    void withoutDatabaseSaysWhyAndOffersNoLists();
    void escapeClosesWindow();
};

void TestMainWindow::versionTexts_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("longText");
    QTest::addColumn<QString>("medium");
    QTest::addColumn<QString>("shortText");
    QTest::newRow("6.2.0.0") << u"6.2.0.0"_s << u"v.6.2.0.0"_s << u"v.6.2.0"_s << u"v.6.2"_s;
    QTest::newRow("leading zeros dropped") << u"1.05.3.17"_s << u"v.1.5.3.17"_s << u"v.1.5.3"_s << u"v.1.5"_s;
    QTest::newRow("three parts") << u"1.0.0"_s << QString() << QString() << QString();
    QTest::newRow("not numbers") << u"a.b.c.d"_s << QString() << QString() << QString();
}

void TestMainWindow::versionTexts()
{
    QFETCH(QString, version);
    QFETCH(QString, longText);
    QFETCH(QString, medium);
    QFETCH(QString, shortText);
    const auto texts = ReadFileVersion(version);
    QCOMPARE(texts.has_value(), !longText.isEmpty());
    if (texts) {
        QCOMPARE(texts->longText, longText);
        QCOMPARE(texts->mediumText, medium);
        QCOMPARE(texts->shortText, shortText);
    }
}

void TestMainWindow::captionShowsProgramVersion()
{
    Sandbox sb(false);
    Environment env(sb);
    RecordingMessenger messages;
    TMainFrm window;
    const auto version = ReadFileVersion(ProgramVersion());
    QVERIFY(version);
    QCOMPARE(window.windowTitle(), u"Quintara (QNT %1)"_s.arg(version->mediumText));
    QCOMPARE(window.Label3->text(), version->mediumText);
    QVERIFY(messages.messages.isEmpty());
}

void TestMainWindow::adminActionsFollowMarkerFile_data()
{
    QTest::addColumn<bool>("marker");
    QTest::newRow("with marker") << true;
    QTest::newRow("without marker") << false;
}

void TestMainWindow::adminActionsFollowMarkerFile()
{
    QFETCH(bool, marker);
    Sandbox sb(false);
    Environment env(sb);
    if (marker) {
        QFile empty(sb.file(AppPaths::AdminMarkerFileName));
        QVERIFY(empty.open(QIODevice::WriteOnly)); // an empty file is enough
    }
    TMainFrm window;
    window.show();
    QCOMPARE(window.grpAdminActions->isVisible(), marker);
    QCOMPARE(window.bitBtnTeams->isVisible(), marker);
    QCOMPARE(window.bitBtnLeagues->isVisible(), marker);
    QCOMPARE(window.grpAdminActions->title(), u"Admin Actions"_s);
}

void TestMainWindow::exportDirectoryIsCreated()
{
    Sandbox sb(false);
    Environment env(sb);
    RecordingMessenger messages;
    TMainFrm window;
    QVERIFY(AppPaths::ExportDirectoryReady);
    QVERIFY(QFileInfo(sb.file(u"live"_s)).isDir());
    QVERIFY(messages.messages.isEmpty());
}

void TestMainWindow::exportDirectoryFailureIsReported()
{
    Sandbox sb(false);
    QFile blocker(sb.file(u"blocker"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString live = sb.file(u"blocker/live"_s);
    Environment env(sb, live);
    RecordingMessenger messages;
    TMainFrm window;
    QVERIFY(!AppPaths::ExportDirectoryReady);
    QCOMPARE(messages.texts(), QStringList{u"Can not create directory %1 for xml export!"_s.arg(live)});
}

void TestMainWindow::menusCarryTheirShortcuts_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("new match") << u"Create New Match"_s << QKeySequence(u"Ctrl+N"_s);
    QTest::newRow("open match") << u"Open Existing Match"_s << QKeySequence(u"Ctrl+O"_s);
    QTest::newRow("players") << u"Players"_s << QKeySequence(u"Ctrl+P"_s);
    QTest::newRow("coaches") << u"Coaches"_s << QKeySequence(u"Ctrl+S"_s);
    QTest::newRow("referees") << u"Referees"_s << QKeySequence(u"Ctrl+R"_s);
    QTest::newRow("delegates") << u"Delegates"_s << QKeySequence(u"Ctrl+D"_s);
    QTest::newRow("statists") << u"Statists"_s << QKeySequence(u"Ctrl+I"_s);
    QTest::newRow("positions") << u"Player Positions"_s << QKeySequence();
    QTest::newRow("roles") << u"Coach Roles"_s << QKeySequence();
    QTest::newRow("exit") << u"Exit"_s << QKeySequence(Qt::Key_Escape);
    QTest::newRow("export") << u"Export Match ..."_s << QKeySequence();
    QTest::newRow("retrieve") << u"RETRIEVE Data Base from BACKUP"_s << QKeySequence();
    QTest::newRow("retrieve additional") << u"RETRIEVE Data Base from Additional BACKUP"_s << QKeySequence();
    QTest::newRow("restore") << u"Backup RESTORE!"_s << QKeySequence();
    QTest::newRow("about") << u"About ..."_s << QKeySequence();
}

void TestMainWindow::menusCarryTheirShortcuts()
{
    QFETCH(QString, item);
    QFETCH(QKeySequence, keys);
    Sandbox sb(false);
    Environment env(sb);
    TMainFrm window;
    QAction *action = findAction(window.menuBar(), item);
    QVERIFY2(action, qPrintable(item));
    QCOMPARE(action->shortcut(), keys);
}

void TestMainWindow::openExistingMatchWithoutMatches()
{
    Sandbox sb;
    Environment env(sb);
    sb.dm();
    TMainFrm window;
    bool restarted = false;
    MainActions::SetLauncher([&](const QString &) { return restarted = true; });
    RecordingMessenger messages;
    ModalWatcher watcher;
    window.OpenExistingMatch();
    QCOMPARE(messages.texts(), QStringList{u"There is no selected match!"_s});
    QVERIFY(watcher.titles.isEmpty()); // no chooser, no console
    QVERIFY(!restarted);
}

void TestMainWindow::referenceBrowserSavesAndCopies()
{
    Sandbox sb;
    Environment env(sb);
    auto &module = sb.dm();
    bool shown = false;
    MainActions::RunReferenceBrowser(module, [&] {
        shown = true;
        QVERIFY(module.table(u"tPla"_s).isOpen());
        module.db().execute(u"insert into SUDIJA (PREZIME, IME) values ('Novi', 'Sudija')"_s);
    });
    QVERIFY(shown);
    module.WaitForSafetyCopies();
    // Saved and copied: the safety copy already holds the new row.
    auto copy = fb::Connection::attach(sb.file(AppPaths::BackupFileName), {u"SYSDBA"_s, u"x"_s});
    QCOMPARE(copy->scalar(u"select count(*) from SUDIJA"_s).toInt(), 1);
}

void TestMainWindow::creationResetsConsoleState()
{
    Sandbox sb(false);
    Environment env(sb);
    CurrentMatch().onCourt(1)[0] = 7;
    CurrentMatch().starters(2)[0] = 9;
    CurrentMatch().elapsedSecondsMarker = 1234;
    TMainFrm window;
    QCOMPARE(IsOnCourt(1, 7), 0);
    QCOMPARE(IsStarter(2, 9), 0);
    QCOMPARE(CurrentMatch().elapsedSecondsMarker, 0);
}

void TestMainWindow::restartStartsTheProgramAgain()
{
    QString started;
    MainActions::SetLauncher([&](const QString &program) {
        started = program;
        return true;
    });
    QVERIFY(MainActions::RestartApplication());
    QCOMPARE(started, QCoreApplication::applicationFilePath());
}

void TestMainWindow::aboutShowsTheCaptionsVersion()
{
    Sandbox sb(false);
    Environment env(sb);
    RecordingMessenger messages;
    TMainFrm window;
    TAboutFrm about(&window);
    about.show();
    // One form of the version everywhere.
    QCOMPARE(about.Version->text(), ReadFileVersion(ProgramVersion())->mediumText);
    QCOMPARE(window.Label3->text(), about.Version->text());
    QVERIFY(window.windowTitle().endsWith(about.Version->text() + u")"_s));
}

void TestMainWindow::questionsAnswerNoToAStrayEnter()
{
    // The real question box: Enter takes its default button.
    MessageBoxMessenger boxes;
    Messenger::install(&boxes);
    QPushButton *defaultButton = nullptr;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        defaultButton = box->defaultButton();
        QCOMPARE(defaultButton, box->button(QMessageBox::No));
        QTest::keyClick(box, Qt::Key_Return);
    });
    const bool yes = AskConfirmation(u"Stop working with match ?"_s);
    Messenger::install(nullptr);
    QVERIFY(defaultButton);
    QVERIFY(!yes);
}

void TestMainWindow::escapeClosesWindow()
{
    Sandbox sb(false);
    Environment env(sb);
    TMainFrm window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QTRY_VERIFY(!window.isVisible());
}

void TestMainWindow::adviceLeadsANewcomer_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("league");
    QTest::addColumn<QStringList>("saying");
    QTest::newRow("fresh database") << false << false
                                    << QStringList{u"No league yet"_s, u"qntlea.txt"_s, u"--replay"_s};
    QTest::newRow("marker, no league") << true << false << QStringList{u"\"Leagues\""_s, u"\"Teams\""_s};
    QTest::newRow("a league") << false << true << QStringList();
}

void TestMainWindow::adviceLeadsANewcomer()
{
    QFETCH(bool, marker);
    QFETCH(bool, league);
    QFETCH(QStringList, saying);
    Sandbox sb;
    Environment env(sb);
    if (marker) {
        QFile file(sb.file(u"qntlea.txt"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    Tdm &module = sb.dm();
    if (league)
        module.db().execute(u"insert into LIGA (NAZIV, OZNAKA, LIGTUR) values (?, ?, ?)"_s, {u"Liga"_s, u"L"_s, 1});
    TMainFrm window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.lbAdvice->isVisible(), !saying.isEmpty());
    for (const QString &words : saying)
        QVERIFY2(window.lbAdvice->text().contains(words), qPrintable(window.lbAdvice->text()));
    if (!marker && !league)
        QVERIFY(window.lbAdvice->text().contains(QDir::toNativeSeparators(sb.path())));
}

void TestMainWindow::withoutDatabaseSaysWhyAndOffersNoLists()
{
    Sandbox sb(false);
    Environment env(sb);
    RecordingMessenger messages;
    // A database on a server that is not there.
    Tdm module({u"127.0.0.1/1:/nowhere/QNDB.FDB"_s, sb.path()});
    QVERIFY(module.Start());
    QVERIFY(!module.connected());
    TMainFrm window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.lbAdvice->isVisible());
    QVERIFY2(window.lbAdvice->text().startsWith(u"No database ("_s), qPrintable(window.lbAdvice->text()));
    QVERIFY(window.lbAdvice->text().contains(u"/nowhere/QNDB.FDB"_s));
    for (const char *name : {"grpQNTActions", "grpAdminActions", "grpMatchActions"})
        QVERIFY(!window.findChild<QGroupBox *>(QLatin1String(name))->isEnabled());
    QVERIFY(!findAction(window.menuBar(), u"Players"_s)->isEnabled());
    QVERIFY(findAction(window.menuBar(), u"About ..."_s)->isEnabled());
    QVERIFY(findAction(window.menuBar(), u"Backup RESTORE!"_s)->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
