// The match chooser: newest match first, the search by teams or by league,
// OK on an empty list, and the keys and clicks of the list.
#include "data/FbClient.h"
#include "console/widgets/MatchConsole.h"
#include "setup/widgets/MatchChooserDialog.h"
#include "setup/WindowDirectory.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using SearchBy = MatchChooser::SearchBy;

Q_DECLARE_METATYPE(MatchChooser::SearchBy)

namespace {

// Five matches, identifiers 1 to 5 in the order written:
//   1 Zvezda - Partizan (Jadranska liga)     2 Zvezda - Budućnost (Paraćinska liga)
//   3 Spartak - Zvezda (Jadranska liga)      4 Budućnost - Zvezda (Jadranska liga)
//   5 Budućnost - Zvezda (Paraćinska liga)
void addMatches(fb::Connection &db)
{
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (1, 'Jadranska liga', 1)"_s);
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (2, 'Paraćinska liga', 1)"_s);
    const QStringList clubs{u"Zvezda"_s, u"Partizan"_s, u"Budućnost"_s, u"Spartak"_s};
    for (int i = 0; i < clubs.size(); ++i)
        db.execute(u"insert into KLUB (ID_KLUB, NAZIV) values (?, ?)"_s, {i + 1, clubs[i]});
    const int matches[][3] = {{1, 1, 2}, {2, 1, 3}, {1, 4, 1}, {1, 3, 1}, {2, 3, 1}};
    int round = 0;
    for (const auto &m : matches)
        db.execute(u"insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, KOLO, REZULTAT, DATUMVREME) "
                   "values (?, ?, ?, ?, ?, 'NOT FINISHED', '2025-01-10 18:00')"_s,
                   {u"Kolo %1"_s.arg(++round), m[0], m[1], m[2], round});
}

int currentId(MatchChooser &chooser)
{
    return chooser.fieldValue(chooser.currentRecord(), MatchChooser::ID_UTAKMICA).toInt();
}

} // namespace

class TestMatchChooser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void newestMatchIsSelectedFirst();
    void searchWalksTheMatchingMatches_data();
    void searchWalksTheMatchingMatches();
    void okWithoutMatchesWarnsAndStays();

    // The window.
    void keysOfTheList_data();
    void keysOfTheList();
    void doubleClickOpensThatPanel();
    void findNextMovesTheSelection();
    void openExistingMatchChoosesThenHandsOver();
};

void TestMatchChooser::newestMatchIsSelectedFirst()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    MatchChooser chooser(sb.dm());
    QVERIFY(chooser.Load());
    QCOMPARE(chooser.recordCount(), 5);
    QCOMPARE(currentId(chooser), 5);
    QCOMPARE(chooser.fieldValue(0, MatchChooser::DOMACIN).toString(), u"Budućnost"_s);
    QCOMPARE(chooser.fieldValue(0, MatchChooser::LIGA).toString(), u"Paraćinska liga"_s);
    QCOMPARE(chooser.fieldValue(4, MatchChooser::ID_UTAKMICA).toInt(), 1);
    // The field order the search relies on.
    const QStringList names{u"ID_UTAKMICA"_s, u"NAZIV"_s, u"REZULTAT"_s, u"DATUMVREME"_s,
                            u"DOMACIN"_s,     u"GOST"_s,  u"LIGA"_s};
    for (int f = 0; f < names.size(); ++f)
        QCOMPARE(chooser.fieldName(f), names[f]);
}

void TestMatchChooser::searchWalksTheMatchingMatches_data()
{
    QTest::addColumn<SearchBy>("by");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("visited"); // the selected match after each of three searches
    QTest::newRow("teams, home or away, wrapping") << SearchBy::Teams << u"par"_s << QList<int>{3, 1, 3};
    QTest::newRow("teams ignore the league") << SearchBy::Teams << u"ĆIN"_s << QList<int>{5, 5, 5};
    QTest::newRow("Serbian letters") << SearchBy::Teams << u"BUDUĆ"_s << QList<int>{4, 2, 5};
    QTest::newRow("one matching match stays") << SearchBy::Teams << u"SpArT"_s << QList<int>{3, 3, 3};
    QTest::newRow("league ignores the clubs") << SearchBy::League << u"par"_s << QList<int>{2, 5, 2};
    QTest::newRow("empty text") << SearchBy::Teams << QString() << QList<int>{5, 5, 5};
}

void TestMatchChooser::searchWalksTheMatchingMatches()
{
    QFETCH(SearchBy, by);
    QFETCH(QString, text);
    QFETCH(QList<int>, visited);
    Sandbox sb;
    addMatches(sb.dm().db());
    RecordingMessenger messages;
    MatchChooser chooser(sb.dm());
    QVERIFY(chooser.Load());
    QList<int> seen;
    for (int i = 0; i < 3; ++i) {
        chooser.Search(text, by);
        seen << currentId(chooser);
    }
    QCOMPARE(seen, visited);
    QVERIFY(messages.messages.isEmpty()); // a search that finds nothing says nothing
}

void TestMatchChooser::okWithoutMatchesWarnsAndStays()
{
    Sandbox sb;
    RecordingMessenger messages;
    TOpenDlg dialog(sb.dm());
    dialog.show();
    QTest::mouseClick(dialog.Otvori, Qt::LeftButton);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Warning);
    QCOMPARE(messages.messages[0].second, u"There is no match to open!"_s);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.matchId(), -1);
}

void TestMatchChooser::keysOfTheList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result"); // 0: the chooser stays open
    QTest::addColumn<QString>("search");
    QTest::newRow("Enter opens") << int(Qt::Key_Return) << QString() << 33 << QString();
    QTest::newRow("Space opens") << int(Qt::Key_Space) << u" "_s << 33 << QString();
    QTest::newRow("Esc cancels") << int(Qt::Key_Escape) << QString() << 32 << QString();
    QTest::newRow("a letter starts a search") << int(Qt::Key_unknown) << u"ž"_s << 0 << u"Ž"_s;
    QTest::newRow("a digit starts a search") << int(Qt::Key_3) << u"3"_s << 0 << u"3"_s;
}

void TestMatchChooser::keysOfTheList()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, search);
    Sandbox sb;
    addMatches(sb.dm().db());
    TOpenDlg dialog(sb.dm());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.matches);
    dialog.matches->setCurrentIndex(dialog.matches->model()->index(1, 0));
    QTest::sendKeyEvent(QTest::Click, dialog.matches, Qt::Key(key), text, Qt::NoModifier);
    if (result) {
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(dialog.matchId(), result == 33 ? 4 : -1);
        return;
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.edSearch->text(), search);
    QCOMPARE(dialog.edSearch->cursorPosition(), 1);
    QCOMPARE(QApplication::focusWidget(), dialog.edSearch);
}

void TestMatchChooser::doubleClickOpensThatPanel()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TOpenDlg dialog(sb.dm());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect panel = dialog.matches->visualRect(dialog.matches->model()->index(2, 0));
    // Anywhere on the panel: here near its lower right corner, on the round.
    const QPoint where = panel.bottomRight() - QPoint(15, 10);
    QTest::mouseClick(dialog.matches->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(dialog.matches->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(dialog.result(), 33);
    QCOMPARE(dialog.matchId(), 3);
}

void TestMatchChooser::findNextMovesTheSelection()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    TOpenDlg dialog(sb.dm());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.rgFind->button(int(SearchBy::League))->click();
    QCOMPARE(QApplication::focusWidget(), dialog.edSearch);
    QTest::keyClicks(dialog.edSearch, u"par"_s);
    QTest::keyClick(dialog.edSearch, Qt::Key_Return);
    QVERIFY(dialog.isVisible()); // Enter in the search box searches, it does not open
    QCOMPARE(dialog.matches->currentIndex().row(), 3);
    QTest::mouseClick(dialog.btnBrowse, Qt::LeftButton);
    QCOMPARE(dialog.matches->currentIndex().row(), 0);
    QTest::mouseClick(dialog.Otvori, Qt::LeftButton);
    QCOMPARE(dialog.result(), 33);
    QCOMPARE(dialog.matchId(), 5);
}

void TestMatchChooser::openExistingMatchChoosesThenHandsOver()
{
    Sandbox sb;
    addMatches(sb.dm().db());
    QStringList opened;
    int chosen = -1;
    RecordingMessenger messages;
    messages.answer(true); // "Stop working with match ?"
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || (!opened.isEmpty() && opened.last() == modal->windowTitle()))
            return;
        opened << modal->windowTitle();
        if (auto *chooser = qobject_cast<TOpenDlg *>(modal)) {
            chooser->chooser().moveTo(2);
            chooser->OtvoriClick();
            chosen = chooser->matchId();
        } else if (qobject_cast<TMatchFrm *>(modal)) {
            modal->close();
        }
    });
    answer.start(10);
    QVERIFY(RunExistingMatch(nullptr)); // the console ran: the program starts anew next
    QCOMPARE(opened, (QStringList{u"Match List"_s, u"Kolo 3"_s}));
    QCOMPARE(chosen, 3);
    QCOMPARE(sb.dm().db().scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = 3"_s).toString(),
             u"NOT FINISHED"_s);
}

QTEST_MAIN(TestMatchChooser)
#include "test_match_chooser.moc"
