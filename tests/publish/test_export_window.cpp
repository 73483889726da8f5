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

// The export window on a sandbox (with the three matches unless told
// otherwise), its save dialog answered by the test, which sees what it was
// asked and the messages shown.
struct ExportWindow
{
    explicit ExportWindow(bool withMatches = true) : window(module(withMatches))
    {
        window.askFileName = [this](const QString &proposed) {
            proposals << proposed;
            return answer;
        };
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the export window did not show");
    }

    Tdm &module(bool withMatches)
    {
        if (withMatches)
            addMatches(sb.dm().db());
        return sb.dm();
    }

    Sandbox sb;
    TExportMatchFrm window;
    QStringList proposals;
    QString answer; // the file the save dialog answers; none at first
    RecordingMessenger messages;
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
    ExportWindow w;
    w.answer = w.sb.file(u"chosen.qnt"_s);
    QCOMPARE(w.window.windowTitle(), u"Match List for Export"_s);
    QCOMPARE(w.window.Transfer->text(), u"Export ..."_s);
    QCOMPARE(w.window.Odustani->text(), u"Cancel"_s);
    QCOMPARE(w.window.matches->currentIndex().row(), 0); // the newest match
    w.window.matches->setCurrentIndex(w.window.matches->model()->index(1, 0));
    QTest::mouseClick(w.window.Transfer, Qt::LeftButton);

    QCOMPARE(w.window.result(), TExportMatchFrm::Exported);
    QVERIFY(!w.window.isVisible());
    QCOMPARE(w.proposals, QStringList{QDir::current().filePath(u"ALPartizan 2.qnt"_s)});
    const QntMatch file = readBack(w.answer);
    QCOMPARE(file.round, 2);
    QCOMPARE(file.homeName, u"Partizan"_s);
    QVERIFY(QFile::exists(w.sb.file(EventLogFileName(2)))); // the log in the data directory
    QCOMPARE(w.sb.dm().db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = 2"_s).toString(),
             u"NOT FINISHED"_s);
    QVERIFY(w.messages.texts().isEmpty());
}

void TestExportWindow::choosingAPanelOnlySelectsIt()
{
    ExportWindow w;
    w.answer = w.sb.file(u"never.qnt"_s);
    const QRect panel = w.window.matches->visualRect(w.window.matches->model()->index(2, 0));
    QTest::mouseDClick(w.window.matches->viewport(), Qt::LeftButton, {}, panel.center());
    QTest::keyClick(w.window.matches, Qt::Key_Return);
    QTest::keyClick(w.window.matches, Qt::Key_Space);
    QVERIFY(w.window.isVisible());
    QVERIFY(w.proposals.isEmpty());
    QCOMPARE(w.window.chooser().currentRecord(), 2);
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
    ExportWindow w;
    if (how == u"button"_s)
        QTest::mouseClick(w.window.Odustani, Qt::LeftButton);
    else
        QTest::keyClick(how == u"list"_s ? static_cast<QWidget *>(w.window.matches) : w.window.edSearch,
                        Qt::Key_Escape);
    QVERIFY(!w.window.isVisible());
    QCOMPARE(w.window.result(), TExportMatchFrm::Cancelled);
    QVERIFY(w.proposals.isEmpty());
}

void TestExportWindow::cancelledSaveDialogKeepsTheWindow()
{
    ExportWindow w; // the save dialog answers no file
    QTest::mouseClick(w.window.Transfer, Qt::LeftButton);
    QCOMPARE(w.proposals.size(), 1);
    QVERIFY(w.window.isVisible());
    QVERIFY(w.messages.texts().isEmpty());
    QVERIFY(!QFile::exists(w.sb.file(EventLogFileName(3))));
}

void TestExportWindow::emptyListExportsNothing()
{
    ExportWindow w(false);
    w.answer = w.sb.file(u"nothing.qnt"_s);
    QTest::mouseClick(w.window.Transfer, Qt::LeftButton);
    QVERIFY(w.window.isVisible());
    QVERIFY(w.proposals.isEmpty());
    QVERIFY(w.messages.texts().isEmpty());
    QVERIFY(!QFile::exists(w.answer));
    QCOMPARE(w.sb.dm().db().scalar(u"select count(*) from UTAKMICA"_s).toInt(), 0);
    QCOMPARE(QDir(w.sb.path()).entryList({u"temp_exp_*"_s}), QStringList());
}

void TestExportWindow::failingExportShowsWhyAndStays()
{
    ExportWindow w;
    w.answer = w.sb.file(u"missing/m.qnt"_s);
    QTest::mouseClick(w.window.Transfer, Qt::LeftButton);
    QVERIFY(w.window.isVisible());
    QCOMPARE(w.messages.messages.size(), 1);
    QCOMPARE(w.messages.messages[0].first, Messenger::Kind::Error);
    QVERIFY2(w.messages.messages[0].second.startsWith(u"cannot write %1: "_s.arg(w.answer)),
             qPrintable(w.messages.messages[0].second));
    QVERIFY(!QFile::exists(w.answer));
}

void TestExportWindow::searchFindsAsTheChooserDoes()
{
    ExportWindow w;
    // A letter typed in the list starts the search; Enter there searches.
    QTest::keyClick(w.window.matches, Qt::Key_Z);
    QCOMPARE(w.window.edSearch->text(), u"Z"_s);
    QTest::keyClicks(w.window.edSearch, u"vez"_s);
    QTest::keyClick(w.window.edSearch, Qt::Key_Return);
    QCOMPARE(w.window.matches->currentIndex().row(), 1); // the next match naming Zvezda after the newest
    QTest::mouseClick(w.window.btnBrowse, Qt::LeftButton);
    QCOMPARE(w.window.matches->currentIndex().row(), 2);
    QVERIFY(w.window.isVisible());
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
