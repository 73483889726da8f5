// The export window: the match chooser's list and search, "Export ..." with
// the proposed file name, Cancel and Esc, an empty list, a failing export,
// and the main window's message after a successful one.
#include "data/FbClient.h"
#include "publish/MatchExport.h"
#include "publish/QntReader.h"
#include "publish/widgets/ExportMatchWindow.h"
#include "setup/widgets/MainWindow.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Three matches of "Partizan" against "Zvezda" in rounds 1 to 3 of the
// league "Jadranska liga" (symbol "AL"); match 3, the newest, is listed first.
void addMatches(fb::Connection &db)
{
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR, OZNAKA) values (1, 'Jadranska liga', 1, 'AL')"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV) values (1, 'Partizan')"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV) values (2, 'Zvezda')"_s);
    for (int round = 1; round <= 3; ++round)
        db.execute(u"insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, KOLO, REZULTAT) "
                   "values (?, 1, 1, 2, ?, 'NOT FINISHED')"_s,
                   {u"Kolo %1"_s.arg(round), round});
    db.commit();
}

// The answers a test gives to the save dialog, and what it was asked.
struct SaveDialog
{
    QStringList proposals;
    QString answer;
    void attach(TExportMatchFrm &window)
    {
        window.askFileName = [this](const QString &proposed) {
            proposals << proposed;
            return answer;
        };
    }
};

QntMatch readBack(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no file %s", qPrintable(fileName));
    return std::get<QntMatch>(ReadMatchStream(file.readAll()));
}

} // namespace

class TestExportWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void exportsTheSelectedMatch();
    void choosingAPanelOnlySelectsIt();
    void cancelAndEscape_data();
    void cancelAndEscape();
    void cancelledSaveDialogKeepsTheWindow();
    void emptyListExportsNothing();
    void failingExportShowsWhyAndStays();
    void searchFindsAsTheChooserDoes();
    void mainWindowReportsTheExport();
};

void TestExportWindow::exportsTheSelectedMatch()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    SaveDialog save;
    save.attach(window);
    save.answer = sb.file(u"chosen.qnt"_s);
    QCOMPARE(window.windowTitle(), u"Match List for Export"_s);
    QCOMPARE(window.Transfer->text(), u"Export ..."_s);
    QCOMPARE(window.Odustani->text(), u"Cancel"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.matches->currentIndex().row(), 0); // the newest match
    window.matches->setCurrentIndex(window.matches->model()->index(1, 0));
    QTest::mouseClick(window.Transfer, Qt::LeftButton);

    QCOMPARE(window.result(), TExportMatchFrm::Exported);
    QVERIFY(!window.isVisible());
    QCOMPARE(save.proposals, QStringList{QDir::current().filePath(u"ALPartizan 2.qnt"_s)});
    const QntMatch file = readBack(save.answer);
    QCOMPARE(file.round, 2);
    QCOMPARE(file.homeName, u"Partizan"_s);
    QVERIFY(QFile::exists(sb.file(EventLogFileName(2)))); // the log in the data directory
    QCOMPARE(sb.dm().db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = 2"_s).toString(),
             u"NOT FINISHED"_s);
}

void TestExportWindow::choosingAPanelOnlySelectsIt()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    SaveDialog save;
    save.attach(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QRect panel = window.matches->visualRect(window.matches->model()->index(2, 0));
    QTest::mouseDClick(window.matches->viewport(), Qt::LeftButton, {}, panel.center());
    QTest::keyClick(window.matches, Qt::Key_Return);
    QTest::keyClick(window.matches, Qt::Key_Space);
    QVERIFY(window.isVisible());
    QVERIFY(save.proposals.isEmpty());
    QCOMPARE(window.chooser().currentRecord(), 2);
}

void TestExportWindow::cancelAndEscape_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << u"button"_s;
    QTest::newRow("Esc in the list") << u"list"_s;
    QTest::newRow("Esc in the search box") << u"search"_s;
}

void TestExportWindow::cancelAndEscape()
{
    QFETCH(QString, how);
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    SaveDialog save;
    save.attach(window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (how == u"button"_s)
        QTest::mouseClick(window.Odustani, Qt::LeftButton);
    else
        QTest::keyClick(how == u"list"_s ? static_cast<QWidget *>(window.matches) : window.edSearch, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), TExportMatchFrm::Cancelled);
    QVERIFY(save.proposals.isEmpty());
}

void TestExportWindow::cancelledSaveDialogKeepsTheWindow()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    SaveDialog save; // answers no file
    save.attach(window);
    RecordingMessenger messages;
    window.show();
    QTest::mouseClick(window.Transfer, Qt::LeftButton);
    QCOMPARE(save.proposals.size(), 1);
    QVERIFY(window.isVisible());
    QVERIFY(messages.texts().isEmpty());
    QVERIFY(!QFile::exists(sb.file(EventLogFileName(3))));
}

void TestExportWindow::emptyListExportsNothing()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    TExportMatchFrm window(sb.dm());
    SaveDialog save;
    save.attach(window);
    save.answer = sb.file(u"nothing.qnt"_s);
    RecordingMessenger messages;
    window.show();
    QTest::mouseClick(window.Transfer, Qt::LeftButton);
    QVERIFY(window.isVisible());
    QVERIFY(save.proposals.isEmpty());
    QVERIFY(messages.texts().isEmpty());
    QVERIFY(!QFile::exists(save.answer));
    QCOMPARE(db.scalar(u"select count(*) from UTAKMICA"_s).toInt(), 0);
    QCOMPARE(QDir(sb.path()).entryList({u"temp_exp_*"_s}), QStringList());
}

void TestExportWindow::failingExportShowsWhyAndStays()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    SaveDialog save;
    save.attach(window);
    save.answer = sb.file(u"missing/m.qnt"_s);
    RecordingMessenger messages;
    window.show();
    QTest::mouseClick(window.Transfer, Qt::LeftButton);
    QVERIFY(window.isVisible());
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Error);
    QVERIFY2(messages.messages[0].second.startsWith(u"cannot write %1: "_s.arg(save.answer)),
             qPrintable(messages.messages[0].second));
    QVERIFY(!QFile::exists(save.answer));
}

void TestExportWindow::searchFindsAsTheChooserDoes()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TExportMatchFrm window(sb.dm());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // A letter typed in the list starts the search; Enter there searches.
    QTest::keyClick(window.matches, Qt::Key_Z);
    QCOMPARE(window.edSearch->text(), u"Z"_s);
    QTest::keyClicks(window.edSearch, u"vez"_s);
    QTest::keyClick(window.edSearch, Qt::Key_Return);
    QCOMPARE(window.matches->currentIndex().row(), 1); // the next match naming Zvezda after the newest
    QTest::mouseClick(window.btnBrowse, Qt::LeftButton);
    QCOMPARE(window.matches->currentIndex().row(), 2);
    QVERIFY(window.isVisible());
}

void TestExportWindow::mainWindowReportsTheExport()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    qputenv("QUINTARA_HOME", sb.path().toLocal8Bit());
    qputenv("QUINTARA_LIVE_DIR", sb.file(u"live"_s).toLocal8Bit());
    RegisterExportWindow();
    TMainFrm mainWindow;
    RecordingMessenger messages;
    const QString target = sb.file(u"from the main window.qnt"_s);
    bool cancel = false;
    QTimer drive;
    QObject::connect(&drive, &QTimer::timeout, [&] {
        auto *window = qobject_cast<TExportMatchFrm *>(QApplication::activeModalWidget());
        if (!window)
            return;
        if (cancel) {
            window->OdustaniClick();
            return;
        }
        window->askFileName = [&](const QString &) { return target; };
        window->TransferClick();
    });
    drive.start(10);
    mainWindow.ExportMatch();
    QCOMPARE(messages.texts(), QStringList{u"EXPORT FINISHED SUCCESSFULLY!"_s});
    QVERIFY(QFile::exists(target));

    cancel = true;
    mainWindow.ExportMatch();
    QCOMPARE(messages.texts().size(), 1); // nothing more after a cancel
    qunsetenv("QUINTARA_HOME");
    qunsetenv("QUINTARA_LIVE_DIR");
}

QTEST_MAIN(TestExportWindow)
#include "test_export_window.moc"
