// The reference browsers: the record search, the commands with their
// refusals, the edit panel's special fields, and the keys and buttons of the
// window where the widget itself is the point.
#include "data/FbClient.h"
#include "data/RecordSearch.h"
#include "setup/widgets/RefBrowser.h"
#include "setup/RefBrowserLogic.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Command = RefBrowserLogic::Command;

Q_DECLARE_METATYPE(BrowserKind)

namespace {

// Rows in memory for the search alone.
class Rows final : public RecordList
{
public:
    Rows(QList<QVariantList> rows, int current) : rows_(std::move(rows)), current_(current) {}
    int fieldCount() const override { return 2; }
    int recordCount() const override { return int(rows_.size()); }
    int currentRecord() const override { return current_; }
    QVariant fieldValue(int record, int field) const override { return rows_[record].value(field); }
    bool moveTo(int record) override
    {
        current_ = record;
        return true;
    }

private:
    QList<QVariantList> rows_;
    int current_;
};

// Inserts a row and answers its new key.
int add(fb::Connection &db, const QString &sql, const QVariantList &params = {})
{
    return db.scalar(sql, params).toInt();
}

int addLeague(fb::Connection &db, const QString &name, const QString &symbol = u"L"_s)
{
    return add(db, u"insert into LIGA (NAZIV, OZNAKA, LIGTUR) values (?, ?, 1) returning ID_LIGA"_s, {name, symbol});
}

int addClub(fb::Connection &db, const QString &name, int league)
{
    return add(db, u"insert into KLUB (NAZIV, ID_LIGA) values (?, ?) returning ID_KLUB"_s, {name, league});
}

int addReferee(fb::Connection &db, const QString &surname, const QString &name, const QString &city = QString())
{
    return add(db, u"insert into SUDIJA (PREZIME, IME, GRAD) values (?, ?, ?) returning ID_SUDIJA"_s,
               {surname, name, city});
}

int addMatch(fb::Connection &db, int league, int home, int away, const QString &extraColumn = QString(),
             int extraValue = 0)
{
    const QString columns = extraColumn.isEmpty() ? QString() : u", "_s + extraColumn;
    const QString value = extraColumn.isEmpty() ? QString() : u", %1"_s.arg(extraValue);
    return add(db,
               u"insert into UTAKMICA (ID_LIGA, ID_KLUB1, ID_KLUB2%1) values (?, ?, ?%2) returning ID_UTAKMICA"_s.arg(
                   columns, value),
               {league, home, away});
}

// One row in every reference table, every lookup filled.
void addOneOfEach(fb::Connection &db)
{
    const int league = addLeague(db, u"Prva liga"_s);
    const int club = addClub(db, u"Partizan"_s, league);
    addReferee(db, u"Sudić"_s, u"Ana"_s, u"Niš"_s);
    db.execute(u"insert into DELEGAT (PREZIME, IME) values ('Delegić', 'Bora')"_s);
    db.execute(u"insert into STATISTICARI (PREZIME, IME) values ('Statić', 'Vera')"_s);
    db.execute(u"insert into TRENER (PREZIME, IME, ID_KLUB, ID_POL) values ('Obradović', 'Željko', ?, 1)"_s, {club});
    db.execute(u"insert into IGRAC (PREZIME, IME, ID_KLUB, ID_POZ, DAT_RODJ) values ('Đorđević', 'Saša', ?, 1, "
               "'1990-05-17')"_s,
               {club});
}

QString pictureFile(const QTemporaryDir &dir, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString file = dir.filePath(u"picture.png"_s);
    image.save(file);
    return file;
}

void typeText(QWidget *widget, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text, Qt::NoModifier);
}

} // namespace

class TestBrowsers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void findNextRecord_data();
    void findNextRecord();
    void typedKeyStartsSearch_data();
    void typedKeyStartsSearch();

    void everyMemberShowsFieldsOfItsTable_data();
    void everyMemberShowsFieldsOfItsTable();
    void withoutDatabaseTheBrowserIsInactive();
    void insertedNamesArriveAsTyped_data();
    void insertedNamesArriveAsTyped();
    void searchLooksAtTheChosenFields_data();
    void searchLooksAtTheChosenFields();
    void repeatedSearchWalksEveryMatchAndWraps();
    void refusedPostKeepsTheRowEditable_data();
    void refusedPostKeepsTheRowEditable();
    void leavingARefusedRowStaysOnIt();
    void closingPostsThePendingRow();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void rowsUsedByAMatchAreNotDeleted_data();
    void rowsUsedByAMatchAreNotDeleted();
    void picturesAreStoredAndShownAgain_data();
    void picturesAreStoredAndShownAgain();
    void notAPictureIsReported();

    // The window.
    void chosenTeamShowsChangeAtOnce();
    void typingInTheGridStartsTheSearch_data();
    void typingInTheGridStartsTheSearch();
    void clickingAnotherRowPostsTheEdit();
    void deleteButtonAsksAndRefusesAUsedClub();
    void birthDatePickerFollowsRowsAndEdits();
    void namesComeInTheirAlphabet();
    void headerClickOrdersTheRows();
    void namesGetTheWidthNotTheKey();
    void teamsByLeaguesListShowsLeaguesWithoutFiltering();
    void commandsReturnTheFocusToTheFirstField_data();
    void commandsReturnTheFocusToTheFirstField();
};

// ------------------------------------------------------------------ search

void TestBrowsers::findNextRecord_data()
{
    QTest::addColumn<QList<QVariantList>>("rows");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fieldA");
    QTest::addColumn<int>("fieldB");
    QTest::addColumn<int>("found"); // -1: not found, the list stays on start

    const QList<QVariantList> people{{u"Ana"_s, u"Kraljević"_s},
                                     {u"Bojan"_s, u"Đorđević"_s},
                                     {u"Ivana"_s, QVariant()},
                                     {QVariant(), u"Anić"_s}};
    QTest::newRow("the next row that matches") << people << 0 << u"ana"_s << 0 << -1 << 2;
    QTest::newRow("past the last row to the first") << people << 2 << u"ANA"_s << 0 << -1 << 0;
    QTest::newRow("the current row is never tested") << people << 1 << u"boj"_s << 0 << -1 << -1;
    QTest::newRow("an empty text never matches") << people << 0 << QString() << 0 << 1 << -1;
    QTest::newRow("Serbian letters in any case") << people << 0 << u"đORĐ"_s << 1 << -1 << 1;
    QTest::newRow("the second field when the first does not match") << people << 0 << u"anić"_s << 0 << 1 << 3;
    QTest::newRow("a null first field is passed over") << people << 2 << u"ani"_s << 0 << 1 << 3;
    QTest::newRow("no first field") << people << 0 << u"kralj"_s << -1 << 1 << -1;
    QTest::newRow("a field beyond the list") << people << 0 << u"bojan"_s << 2 << -1 << -1;
    QTest::newRow("no current row starts at the first") << people << -1 << u"ana"_s << 0 << -1 << 0;
    QTest::newRow("no rows") << QList<QVariantList>{} << -1 << u"ana"_s << 0 << -1 << -1;
    QTest::newRow("a value that is not text stops the search")
        << QList<QVariantList>{{u"x"_s}, {QVariant(QPoint(1, 2))}, {u"ana"_s}} << 0 << u"ana"_s << 0 << -1 << -1;
}

void TestBrowsers::findNextRecord()
{
    QFETCH(QList<QVariantList>, rows);
    QFETCH(int, start);
    QFETCH(QString, text);
    QFETCH(int, fieldA);
    QFETCH(int, fieldB);
    QFETCH(int, found);
    Rows list(rows, start);
    QCOMPARE(FindNextRecord(&list, text, fieldA, fieldB), found >= 0);
    QCOMPARE(list.currentRecord(), found >= 0 ? found : start);
}

void TestBrowsers::typedKeyStartsSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("search");
    QTest::newRow("letter as a capital") << u"p"_s << u"P"_s;
    QTest::newRow("Serbian letter") << u"š"_s << u"Š"_s;
    QTest::newRow("digit") << u"7"_s << u"7"_s;
    QTest::newRow("space") << u" "_s << QString();
    QTest::newRow("punctuation") << u"'"_s << QString();
    QTest::newRow("no text (arrow keys)") << QString() << QString();
}

void TestBrowsers::typedKeyStartsSearch()
{
    QFETCH(QString, typed);
    QFETCH(QString, search);
    QCOMPARE(SearchTextForKey(typed), search);
}

// ------------------------------------------------------------------ logic

void TestBrowsers::everyMemberShowsFieldsOfItsTable_data()
{
    QTest::addColumn<BrowserKind>("kind");
    for (const BrowserKind kind : AllBrowserKinds())
        QTest::newRow(qPrintable(Member(kind).caption)) << kind;
}

void TestBrowsers::everyMemberShowsFieldsOfItsTable()
{
    // A misspelt field would show an empty column or search nothing.
    QFETCH(BrowserKind, kind);
    Sandbox sb;
    addOneOfEach(sb.dm().db());
    RecordingMessenger messages;
    RefBrowserLogic logic(kind, sb.dm());
    logic.Open();
    const BrowserMember &member = logic.member();
    RefTable &table = logic.table();
    QVERIFY(table.rowCount() > 0);
    for (const GridColumn &column : member.columns)
        QVERIFY2(table.fieldIndex(column.field) >= 0, qPrintable(column.field));
    for (const SearchChoice &search : member.searches)
        for (const QString &field : search.fields)
            QVERIFY2(table.fieldIndex(field) >= 0, qPrintable(field));
    for (const EditField &field : member.editFields) {
        QVERIFY2(table.fieldIndex(field.column) >= 0, qPrintable(field.column));
        if (field.kind == EditField::Kind::Lookup) {
            QVERIFY2(table.fieldIndex(field.lookup.shownAs) >= 0, qPrintable(field.lookup.shownAs));
            QVERIFY2(!logic.choices(field.column).isEmpty(), qPrintable(field.column));
        }
    }
    // An edit of every column goes through.
    QVERIFY(logic.Run(Command::Edit));
    QVERIFY(logic.Run(Command::Post));
    QVERIFY(messages.messages.isEmpty());
}

void TestBrowsers::withoutDatabaseTheBrowserIsInactive()
{
    Sandbox sb;
    Tdm module(sb.options()); // never started: no connection
    RefBrowserLogic logic(BrowserKind::Referees, module);
    logic.Open();
    QCOMPARE(logic.stateText(), u"INACTIVE"_s);
    QCOMPARE(logic.countText(), u"0"_s);
    QVERIFY(!logic.Run(Command::Insert));
    QCOMPARE(StateText(std::nullopt, u"REFEREE"_s), u"UNKNOWN"_s);
}

void TestBrowsers::insertedNamesArriveAsTyped_data()
{
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << u"O'Neal"_s << u"Shaquille"_s;
    QTest::newRow("Serbian letters") << u"Đorđević"_s << u"Šiškić Žika"_s;
    QTest::newRow("statement text") << u"'); delete from SUDIJA;--"_s << u"\"quoted\""_s;
}

void TestBrowsers::insertedNamesArriveAsTyped()
{
    QFETCH(QString, surname);
    QFETCH(QString, name);
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferee(db, u"Postojeći"_s, u"Sudija"_s);
    RecordingMessenger messages;
    RefBrowserLogic logic(BrowserKind::Referees, sb.dm());
    logic.Open();
    QCOMPARE(logic.countText(), u"1"_s);

    QVERIFY(logic.Run(Command::Insert));
    QCOMPARE(logic.stateText(), u"ADDING NEW REFEREE"_s);
    logic.SetValue(u"PREZIME"_s, surname);
    logic.SetValue(u"IME"_s, name);
    logic.SetValue(u"GRAD"_s, u"Čačak"_s);
    QVERIFY(logic.Run(Command::Post));
    QCOMPARE(logic.stateText(), u"BROWSING"_s);
    QCOMPARE(logic.countText(), u"2"_s);
    QVERIFY(messages.messages.isEmpty());

    // The new row is the current one, and the database holds what was typed.
    QCOMPARE(logic.value(u"PREZIME"_s).toString(), surname);
    QCOMPARE(logic.value(u"FullName"_s).toString(), name + u" "_s + surname);
    const QVariant key = logic.value(u"ID_SUDIJA"_s);
    QCOMPARE(db.scalar(u"select PREZIME from SUDIJA where ID_SUDIJA = ?"_s, {key}).toString(), surname);
    QCOMPARE(db.scalar(u"select IME from SUDIJA where ID_SUDIJA = ?"_s, {key}).toString(), name);
    QCOMPARE(db.scalar(u"select GRAD from SUDIJA where ID_SUDIJA = ?"_s, {key}).toString(), u"Čačak"_s);
}

void TestBrowsers::searchLooksAtTheChosenFields_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found"); // the value of `shown` on the row found, empty: not found
    QTest::addColumn<QString>("shown");

    QTest::newRow("referee by first name") << BrowserKind::Referees << 0 << u"vesn"_s << u"Zorić"_s << u"PREZIME"_s;
    QTest::newRow("referee by surname") << BrowserKind::Referees << 0 << u"ZORI"_s << u"Zorić"_s << u"PREZIME"_s;
    QTest::newRow("referee by resident place") << BrowserKind::Referees << 1 << u"kragu"_s << u"Zorić"_s
                                               << u"PREZIME"_s;
    QTest::newRow("resident place ignores names") << BrowserKind::Referees << 1 << u"vesna"_s << QString()
                                                  << u"PREZIME"_s;
    QTest::newRow("club by name") << BrowserKind::Teams << 0 << u"zvez"_s << u"Crvena zvezda"_s << u"NAZIV"_s;
    QTest::newRow("clubs ignore the league name") << BrowserKind::Teams << 0 << u"kls"_s << QString() << u"NAZIV"_s;
    QTest::newRow("coach by team") << BrowserKind::Coaches << 1 << u"zvez"_s << u"Tomić"_s << u"PREZIME"_s;
    QTest::newRow("player by team") << BrowserKind::Players << 1 << u"zvez"_s << u"Šiškić"_s << u"PREZIME"_s;
    QTest::newRow("league by symbol") << BrowserKind::Leagues << 1 << u"kl"_s << u"Košarkaška liga Srbije"_s
                                      << u"NAZIV"_s;
}

void TestBrowsers::searchLooksAtTheChosenFields()
{
    QFETCH(BrowserKind, kind);
    QFETCH(int, choice);
    QFETCH(QString, text);
    QFETCH(QString, found);
    QFETCH(QString, shown);
    Sandbox sb;
    auto &db = sb.dm().db();
    const int first = addLeague(db, u"Prva liga"_s, u"PL"_s);
    const int second = addLeague(db, u"Košarkaška liga Srbije"_s, u"KL"_s);
    const int partizan = addClub(db, u"Partizan"_s, first);
    const int zvezda = addClub(db, u"Crvena zvezda"_s, second);
    addReferee(db, u"Albu"_s, u"Bora"_s, u"Beograd"_s);
    addReferee(db, u"Zorić"_s, u"Vesna"_s, u"Kragujevac"_s);
    for (const auto &[surname, club] : {std::pair{u"Albu"_s, partizan}, std::pair{u"Tomić"_s, zvezda}}) {
        db.execute(u"insert into TRENER (PREZIME, IME, ID_KLUB) values (?, 'T', ?)"_s, {surname, club});
        db.execute(u"insert into IGRAC (PREZIME, IME, ID_KLUB) values (?, 'I', ?)"_s,
                   {surname == u"Albu"_s ? surname : u"Šiškić"_s, club});
    }
    RefBrowserLogic logic(kind, sb.dm());
    logic.Open();
    QVERIFY(logic.table().moveTo(0));
    const QVariant before = logic.value(shown);
    QCOMPARE(logic.Search(text, choice), !found.isEmpty());
    QCOMPARE(logic.value(shown).toString(), found.isEmpty() ? before.toString() : found);
}

void TestBrowsers::repeatedSearchWalksEveryMatchAndWraps()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    for (const QString &surname : {u"Parić"_s, u"Babić"_s, u"Ostojić"_s, u"Spareni"_s})
        addReferee(db, surname, u"I"_s);
    RefBrowserLogic logic(BrowserKind::Referees, sb.dm());
    logic.Open(); // ordered by surname: Babić, Ostojić, Parić, Spareni
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(logic.Search(u"par"_s, 0));
        visited << logic.value(u"PREZIME"_s).toString();
    }
    QCOMPARE(visited, (QStringList{u"Parić"_s, u"Spareni"_s, u"Parić"_s}));
}

void TestBrowsers::refusedPostKeepsTheRowEditable_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QVariantMap>("typed");
    QTest::addColumn<QString>("message"); // the start of the refusal
    QTest::addColumn<QVariantMap>("fix");  // what mends the row

    QTest::newRow("referee without surname")
        << BrowserKind::Referees << QVariantMap{{u"IME"_s, u"Ana"_s}}
        << u"The REFEREE can not be saved: SURNAME must be given."_s << QVariantMap{{u"PREZIME"_s, u"Anić"_s}};
    QTest::newRow("league without type")
        << BrowserKind::Leagues << QVariantMap{{u"NAZIV"_s, u"Liga Ž"_s}}
        << u"The LEAGUE can not be saved: TYPE must be given."_s << QVariantMap{{u"LIGTUR"_s, 2}};
    QTest::newRow("position of spaces")
        << BrowserKind::PlayerPositions << QVariantMap{{u"POZICIJA"_s, u"   "_s}}
        << u"The POSITION can not be saved: POSITION must be given."_s << QVariantMap{{u"POZICIJA"_s, u"Krilo"_s}};
    QTest::newRow("league name taken")
        << BrowserKind::Leagues << QVariantMap{{u"NAZIV"_s, u"Prva liga"_s}, {u"LIGTUR"_s, 1}}
        << u"The LEAGUE \"Prva liga\" is already stored."_s << QVariantMap{{u"NAZIV"_s, u"Druga liga"_s}};
    QTest::newRow("letter outside the code page")
        << BrowserKind::Referees << QVariantMap{{u"PREZIME"_s, u"日本"_s}, {u"IME"_s, u"Ime"_s}}
        << u"The REFEREE can not be saved:\n"_s << QVariantMap{{u"PREZIME"_s, u"Nihon"_s}};
}

void TestBrowsers::refusedPostKeepsTheRowEditable()
{
    QFETCH(BrowserKind, kind);
    QFETCH(QVariantMap, typed);
    QFETCH(QString, message);
    QFETCH(QVariantMap, fix);
    Sandbox sb;
    addLeague(sb.dm().db(), u"Prva liga"_s);
    RecordingMessenger messages;
    RefBrowserLogic logic(kind, sb.dm());
    logic.Open();
    const int countBefore = logic.countText().toInt();

    QVERIFY(logic.Run(Command::Insert));
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        logic.SetValue(it.key(), it.value());
    QVERIFY(!logic.Run(Command::Post));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Error);
    QVERIFY2(messages.messages[0].second.startsWith(message), qPrintable(messages.messages[0].second));
    // Nothing is lost: the row is still being added with what was typed.
    QCOMPARE(logic.table().state(), DataSetState::Insert);
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        QCOMPARE(logic.value(it.key()), it.value());
    QCOMPARE(logic.countText().toInt(), countBefore);

    for (auto it = fix.cbegin(); it != fix.cend(); ++it)
        logic.SetValue(it.key(), it.value());
    QVERIFY(logic.Run(Command::Post));
    QCOMPARE(logic.stateText(), u"BROWSING"_s);
    QCOMPARE(logic.countText().toInt(), countBefore + 1);
    for (auto it = fix.cbegin(); it != fix.cend(); ++it)
        QCOMPARE(logic.value(it.key()), it.value());
}

void TestBrowsers::leavingARefusedRowStaysOnIt()
{
    Sandbox sb;
    addReferee(sb.dm().db(), u"Anić"_s, u"Ana"_s);
    addReferee(sb.dm().db(), u"Babić"_s, u"Bora"_s);
    RecordingMessenger messages;
    RefBrowserLogic logic(BrowserKind::Referees, sb.dm());
    logic.Open();
    QVERIFY(logic.MoveTo(1));
    logic.SetValue(u"PREZIME"_s, QString()); // an edit that cannot be posted
    QVERIFY(!logic.Navigate(RefBrowserLogic::Move::First));
    QVERIFY(!logic.Search(u"ana"_s, 0));
    QCOMPARE(logic.table().currentRecord(), 1);
    QCOMPARE(logic.stateText(), u"CHANGE SELECTED REFEREE"_s);
    QCOMPARE(messages.texts(), QStringList(2, u"The REFEREE can not be saved: SURNAME must be given."_s));

    QVERIFY(logic.Run(Command::Cancel));
    QCOMPARE(logic.value(u"PREZIME"_s).toString(), u"Babić"_s);
    QVERIFY(logic.Navigate(RefBrowserLogic::Move::First));
    QCOMPARE(logic.value(u"PREZIME"_s).toString(), u"Anić"_s);
}

void TestBrowsers::closingPostsThePendingRow()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    RecordingMessenger messages;
    RefBrowserLogic logic(BrowserKind::PlayerPositions, sb.dm());
    logic.Open();
    logic.Run(Command::Insert);
    QVERIFY(!logic.Close()); // empty name: the window stays
    logic.SetValue(u"POZICIJA"_s, u"Bek šuter"_s);
    QVERIFY(logic.Close());
    QCOMPARE(db.scalar(u"select count(*) from POZICIJA where POZICIJA = ?"_s, {u"Bek šuter"_s}).toInt(), 1);
}

void TestBrowsers::deleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No keeps the row") << false;
    QTest::newRow("Yes deletes it") << true;
}

void TestBrowsers::deleteAsksFirst()
{
    QFETCH(bool, yes);
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferee(db, u"Anić"_s, u"Ana"_s);
    const int babic = addReferee(db, u"Babić"_s, u"Bora"_s);
    RecordingMessenger messages;
    messages.answer(yes);
    RefBrowserLogic logic(BrowserKind::Referees, sb.dm());
    logic.Open();
    QVERIFY(logic.MoveTo(1));
    QCOMPARE(logic.Run(Command::Delete), yes);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Confirmation);
    QCOMPARE(messages.messages[0].second, u"Delete record?"_s);
    QCOMPARE(db.scalar(u"select count(*) from SUDIJA where ID_SUDIJA = ?"_s, {babic}).toInt(), yes ? 0 : 1);
    QCOMPARE(logic.countText(), yes ? u"1"_s : u"2"_s);
}

void TestBrowsers::rowsUsedByAMatchAreNotDeleted_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("club as guest") << BrowserKind::Teams << u"This TEAM can not be deleted: it is used by 2 matches."_s;
    QTest::newRow("third referee") << BrowserKind::Referees
                                   << u"This REFEREE can not be deleted: it is used by 1 match."_s;
    QTest::newRow("league") << BrowserKind::Leagues << u"This LEAGUE can not be deleted: it is used by 2 matches."_s;
    QTest::newRow("player in a roster") << BrowserKind::Players
                                        << u"This PLAYER can not be deleted: it is used by 1 match."_s;
}

void TestBrowsers::rowsUsedByAMatchAreNotDeleted()
{
    QFETCH(BrowserKind, kind);
    QFETCH(QString, message);
    Sandbox sb;
    auto &db = sb.dm().db();
    const int league = addLeague(db, u"Liga"_s);
    const int home = addClub(db, u"Domaćin"_s, league);
    const int guest = addClub(db, u"Gost"_s, league);
    const int referee = addReferee(db, u"Sudić"_s, u"Ana"_s);
    addMatch(db, league, home, guest, u"ID_SUDIJA3"_s, referee);
    const int second = addMatch(db, league, home, guest);
    const int player = add(db, u"insert into IGRAC (PREZIME, IME, ID_KLUB) values ('Igrač', 'I', ?) returning ID_IGRAC"_s,
                           {guest});
    db.execute(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST) values (?, ?, 5, 0)"_s, {player, second});

    RecordingMessenger messages;
    messages.answer(true);
    RefBrowserLogic logic(kind, sb.dm());
    logic.Open();
    const QString key = logic.member().keyColumn;
    const int used = kind == BrowserKind::Teams      ? guest
                     : kind == BrowserKind::Referees ? referee
                     : kind == BrowserKind::Leagues  ? league
                                                     : player;
    QVERIFY(logic.MoveTo(logic.table().rowOf(used)));
    const QString count = logic.countText();
    QVERIFY(!logic.Run(Command::Delete));
    QCOMPARE(messages.texts(), (QStringList{u"Delete record?"_s, message}));
    QCOMPARE(db.scalar(u"select count(*) from %1 where %2 = ?"_s.arg(logic.table().tableName(), key), {used}).toInt(),
             1);
    QCOMPARE(logic.countText(), count);
    QCOMPARE(logic.value(key).toInt(), used);
}

void TestBrowsers::picturesAreStoredAndShownAgain_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QString>("stored"); // the column read back
    QTest::newRow("league logo") << BrowserKind::Leagues << u"select LOGO from LIGA"_s;
    QTest::newRow("club emblem") << BrowserKind::Teams << u"select AMBLEM from KLUB"_s;
}

void TestBrowsers::picturesAreStoredAndShownAgain()
{
    QFETCH(BrowserKind, kind);
    QFETCH(QString, stored);
    Sandbox sb;
    auto &db = sb.dm().db();
    addClub(db, u"Partizan"_s, addLeague(db, u"Liga"_s));
    QTemporaryDir files;
    RecordingMessenger messages;
    {
        RefBrowserLogic logic(kind, sb.dm());
        logic.Open();
        QVERIFY(logic.LoadPicture(pictureFile(files, 800, 200)));
        QCOMPARE(logic.stateText(), u"CHANGE SELECTED "_s + logic.member().entityWord);
        QVERIFY(logic.Run(Command::Post));
    }
    QVERIFY(!db.scalar(stored).isNull());
    {
        // Shown again by a browser opened later, made small enough to keep.
        RefBrowserLogic logic(kind, sb.dm());
        logic.Open();
        const QImage shown = logic.picture();
        QCOMPARE(shown.size(), QSize(RefBrowserLogic::PictureSize, RefBrowserLogic::PictureSize / 4));
        QCOMPARE(QColor(shown.pixel(10, 10)), QColor(Qt::red));
        logic.ClearPicture();
        QVERIFY(logic.picture().isNull());
        QVERIFY(logic.Run(Command::Post));
    }
    QVERIFY(db.scalar(stored).isNull());
    QVERIFY(messages.messages.isEmpty());
}

void TestBrowsers::notAPictureIsReported()
{
    Sandbox sb;
    addLeague(sb.dm().db(), u"Liga"_s);
    QTemporaryDir files;
    QFile text(files.filePath(u"notes.png"_s));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    RecordingMessenger messages;
    RefBrowserLogic logic(BrowserKind::Leagues, sb.dm());
    logic.Open();
    QVERIFY(!logic.LoadPicture(text.fileName()));
    QCOMPARE(messages.texts(),
             QStringList{u"The file %1 is not a picture that can be loaded."_s.arg(text.fileName())});
    QCOMPARE(logic.stateText(), u"BROWSING"_s);
}

// ------------------------------------------------------------------ window

void TestBrowsers::chosenTeamShowsChangeAtOnce()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const int league = addLeague(db, u"Liga"_s);
    addClub(db, u"Partizan"_s, league);
    const int zvezda = addClub(db, u"Crvena zvezda"_s, league);
    db.execute(u"insert into TRENER (PREZIME, IME) values ('Tomić', 'Toma')"_s);
    TRefBrowser browser(BrowserKind::Coaches, sb.dm());
    browser.show();
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);

    auto *team = qobject_cast<QComboBox *>(browser.editor(u"ID_KLUB"_s));
    QVERIFY(team);
    const int entry = team->findText(u"Crvena zvezda"_s);
    QVERIFY(entry > 0);
    team->setCurrentIndex(entry);
    emit team->activated(entry); // the drop-down closes on a choice
    QCOMPARE(browser.lbCurrentAction->text(), u"CHANGE SELECTED TRAINER"_s);
    QCOMPARE(browser.dbg->model()->index(0, 2).data().toString(), u"Crvena zvezda"_s);

    QTest::mouseClick(browser.commandButton(Command::Post), Qt::LeftButton);
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
    QCOMPARE(db.scalar(u"select ID_KLUB from TRENER"_s).toInt(), zvezda);
}

void TestBrowsers::typingInTheGridStartsTheSearch_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("search"); // empty: the grid keeps the key
    QTest::newRow("letter") << BrowserKind::Referees << u"b"_s << u"B"_s;
    QTest::newRow("Serbian letter") << BrowserKind::Players << u"đ"_s << u"Đ"_s;
    QTest::newRow("digit") << BrowserKind::Teams << u"4"_s << u"4"_s;
    QTest::newRow("roles have no search") << BrowserKind::CoachRoles << u"h"_s << QString();
    QTest::newRow("positions have no search") << BrowserKind::PlayerPositions << u"p"_s << QString();
}

void TestBrowsers::typingInTheGridStartsTheSearch()
{
    QFETCH(BrowserKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, search);
    Sandbox sb;
    addOneOfEach(sb.dm().db());
    TRefBrowser browser(kind, sb.dm());
    browser.show();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    browser.edSearch->setText(u"old"_s);
    browser.dbg->setFocus();
    typeText(browser.dbg, typed);
    if (search.isEmpty()) {
        QVERIFY(!browser.edSearch->isVisible());
        QCOMPARE(QApplication::focusWidget(), browser.dbg);
        return;
    }
    QCOMPARE(browser.edSearch->text(), search);
    QCOMPARE(browser.edSearch->cursorPosition(), 1);
    QCOMPARE(QApplication::focusWidget(), browser.edSearch);
}

void TestBrowsers::clickingAnotherRowPostsTheEdit()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    for (const QString &surname : {u"Anić"_s, u"Babić"_s, u"Cvetić"_s})
        addReferee(db, surname, u"I"_s);
    TRefBrowser browser(BrowserKind::Referees, sb.dm());
    browser.show();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    auto *surname = qobject_cast<QLineEdit *>(browser.editor(u"PREZIME"_s));
    surname->selectAll();
    typeText(surname, u"Ž"_s);
    QCOMPARE(browser.lbCurrentAction->text(), u"CHANGE SELECTED REFEREE"_s);

    // Anić becomes Ž and moves to the end; the clicked row stays the chosen one.
    const QRect cvetic = browser.dbg->visualRect(browser.dbg->model()->index(2, 0));
    QTest::mouseClick(browser.dbg->viewport(), Qt::LeftButton, {}, cvetic.center());
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
    QCOMPARE(browser.logic().value(u"PREZIME"_s).toString(), u"Cvetić"_s);
    QCOMPARE(browser.dbg->currentIndex().row(), browser.logic().table().currentRecord());
    QCOMPARE(surname->text(), u"Cvetić"_s);
    QCOMPARE(browser.dbg->model()->index(2, 0).data().toString(), u"Ž"_s);
    QCOMPARE(db.scalar(u"select count(*) from SUDIJA where PREZIME = ?"_s, {u"Ž"_s}).toInt(), 1);
}

void TestBrowsers::deleteButtonAsksAndRefusesAUsedClub()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const int league = addLeague(db, u"Liga"_s);
    const int home = addClub(db, u"Borac"_s, league);
    addMatch(db, league, home, addClub(db, u"Igokea"_s, league));
    TRefBrowser browser(BrowserKind::Teams, sb.dm());
    browser.show();
    browser.dbg->selectRow(browser.logic().table().rowOf(home));
    QCOMPARE(browser.logic().value(u"NAZIV"_s).toString(), u"Borac"_s);

    RecordingMessenger messages;
    messages.answer(true);
    QTest::mouseClick(browser.commandButton(Command::Delete), Qt::LeftButton);
    QCOMPARE(messages.texts(),
             (QStringList{u"Delete record?"_s, u"This TEAM can not be deleted: it is used by 1 match."_s}));
    QCOMPARE(browser.lbCount->text(), u"2"_s);
    QCOMPARE(db.scalar(u"select count(*) from KLUB"_s).toInt(), 2);
}

void TestBrowsers::birthDatePickerFollowsRowsAndEdits()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into IGRAC (PREZIME, IME, DAT_RODJ) values ('Anić', 'A', '1990-05-17')"_s);
    db.execute(u"insert into IGRAC (PREZIME, IME) values ('Babić', 'B')"_s);
    TRefBrowser browser(BrowserKind::Players, sb.dm());
    browser.show();
    QCOMPARE(browser.birthDate->displayFormat(), u"dd.MM.yyyy."_s);
    QCOMPARE(browser.birthDate->date(), QDate(1990, 5, 17));
    QCOMPARE(browser.dbg->model()->index(0, 5).data().toString(), u"17.05.1990."_s);

    // A player without a birth date shows an empty date, not the one seen before.
    browser.dbg->selectRow(1);
    QCOMPARE(browser.logic().value(u"PREZIME"_s).toString(), u"Babić"_s);
    QCOMPARE(browser.birthDate->text().trimmed(), QString());
    QCOMPARE(browser.dbg->model()->index(1, 5).data().toString(), QString());

    // Edited and posted without a look at the date: it stays empty, even
    // with the focus passed through every field of the panel.
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    QTest::mouseClick(browser.commandButton(Command::Edit), Qt::LeftButton);
    bool passedTheDate = false;
    for (int field = 0; field < 12; ++field) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        passedTheDate |= browser.birthDate->isAncestorOf(focused) || focused == browser.birthDate;
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QVERIFY(passedTheDate);
    QTest::mouseClick(browser.commandButton(Command::Post), Qt::LeftButton);
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
    QVERIFY(db.scalar(u"select DAT_RODJ from IGRAC where PREZIME = 'Babić'"_s).isNull());
    QCOMPARE(browser.birthDate->text().trimmed(), QString());

    // Picked while browsing: nothing changes.
    browser.birthDate->setDate(QDate(2001, 2, 3));
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
    QVERIFY(browser.logic().value(u"DAT_RODJ"_s).isNull());

    // Picked while editing: written with the row.
    QTest::mouseClick(browser.commandButton(Command::Edit), Qt::LeftButton);
    browser.birthDate->setDate(QDate(2002, 3, 4));
    QTest::mouseClick(browser.commandButton(Command::Post), Qt::LeftButton);
    QCOMPARE(db.scalar(u"select DAT_RODJ from IGRAC where PREZIME = 'Babić'"_s).toDateTime().date(),
             QDate(2002, 3, 4));
    QCOMPARE(db.scalar(u"select DAT_RODJ from IGRAC where PREZIME = 'Anić'"_s).toDateTime().date(),
             QDate(1990, 5, 17));
}

void TestBrowsers::teamsByLeaguesListShowsLeaguesWithoutFiltering()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const int first = addLeague(db, u"Prva liga"_s, u"PL"_s);
    addClub(db, u"Partizan"_s, first);
    addClub(db, u"Mladost"_s, addLeague(db, u"Druga liga"_s, u"DL"_s));
    TRefBrowser browser(BrowserKind::Teams, sb.dm());
    browser.show();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    QVERIFY(!browser.leaguesList->isVisible());
    browser.chkShowLeagues->setChecked(true);
    QVERIFY(browser.leaguesList->isVisible());
    QCOMPARE(browser.leaguesList->model()->rowCount(), 2);
    QCOMPARE(browser.leaguesList->model()->index(1, 1).data().toString(), u"DL"_s);
    QCOMPARE(browser.dbg->model()->rowCount(), 2);
    QCOMPARE(browser.lbCount->text(), u"2"_s);

    browser.leaguesList->setFocus();
    typeText(browser.leaguesList, u"m"_s);
    QCOMPARE(browser.edSearch->text(), u"M"_s);
    QCOMPARE(QApplication::focusWidget(), browser.edSearch);

    browser.chkShowLeagues->setChecked(false);
    QVERIFY(!browser.leaguesList->isVisible());
}

void TestBrowsers::commandsReturnTheFocusToTheFirstField_data()
{
    QTest::addColumn<BrowserKind>("kind");
    QTest::addColumn<QString>("first");
    QTest::newRow("referees") << BrowserKind::Referees << u"PREZIME"_s;
    QTest::newRow("leagues") << BrowserKind::Leagues << u"OZNAKA"_s;
}

void TestBrowsers::commandsReturnTheFocusToTheFirstField()
{
    QFETCH(BrowserKind, kind);
    QFETCH(QString, first);
    Sandbox sb;
    TRefBrowser browser(kind, sb.dm());
    browser.show();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    QTest::mouseClick(browser.commandButton(Command::Insert), Qt::LeftButton);
    QCOMPARE(browser.lbCurrentAction->text(), u"ADDING NEW "_s + browser.logic().member().entityWord);
    QCOMPARE(QApplication::focusWidget(), browser.editor(first));
    QTest::mouseClick(browser.commandButton(Command::Cancel), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), browser.editor(first));
    QCOMPARE(browser.lbCurrentAction->text(), u"BROWSING"_s);
}

// The shown column with the title, as the grid shows it from the top.
QStringList shownColumn(const QTableView &grid, const QString &title)
{
    QStringList cells;
    const QAbstractItemModel &model = *grid.model();
    for (int c = 0; c < model.columnCount(); ++c)
        if (model.headerData(c, Qt::Horizontal).toString() == title)
            for (int r = 0; r < model.rowCount(); ++r)
                cells << model.index(r, c).data().toString();
    return cells;
}

void TestBrowsers::namesComeInTheirAlphabet()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    for (const QString &surname : {u"Vuković"_s, u"Šarić"_s, u"Đurić"_s, u"Čolić"_s, u"Cvetić"_s, u"Dukić"_s})
        db.execute(u"insert into SUDIJA (PREZIME, IME) values (?, ?)"_s, {surname, u"Ana"_s});
    TRefBrowser browser(BrowserKind::Referees, sb.dm());
    browser.show();
    QCOMPARE(shownColumn(*browser.dbg, u"Surname"_s),
             (QStringList{u"Cvetić"_s, u"Čolić"_s, u"Dukić"_s, u"Đurić"_s, u"Šarić"_s, u"Vuković"_s}));
}

void TestBrowsers::headerClickOrdersTheRows()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into IGRAC (PREZIME, IME, DAT_RODJ, VISINA) values ('Žižić', 'Ante', '1997-01-04', 211)"_s);
    db.execute(u"insert into IGRAC (PREZIME, IME, VISINA) values ('Šiškić', 'Marko', 198)"_s);
    db.execute(u"insert into IGRAC (PREZIME, IME, DAT_RODJ, VISINA) values ('Zec', 'Ivo', '1992-08-18', 91)"_s);
    db.execute(u"insert into IGRAC (PREZIME, IME, DAT_RODJ, VISINA) values ('Sava', 'Ivo', '1989-06-17', 204)"_s);
    TRefBrowser browser(BrowserKind::Players, sb.dm());
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    // The table's own order (by key) until a header is clicked.
    QCOMPARE(shownColumn(*browser.dbg, u"Surname"_s), (QStringList{u"Žižić"_s, u"Šiškić"_s, u"Zec"_s, u"Sava"_s}));
    auto click = [&](const QString &title) {
        QHeaderView *header = browser.dbg->horizontalHeader();
        for (int c = 0; c < header->count(); ++c)
            if (browser.dbg->model()->headerData(c, Qt::Horizontal).toString() == title)
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                  QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, 5));
    };
    click(u"Surname"_s);
    QCOMPARE(shownColumn(*browser.dbg, u"Surname"_s), (QStringList{u"Sava"_s, u"Šiškić"_s, u"Zec"_s, u"Žižić"_s}));
    click(u"Surname"_s);
    QCOMPARE(shownColumn(*browser.dbg, u"Surname"_s), (QStringList{u"Žižić"_s, u"Zec"_s, u"Šiškić"_s, u"Sava"_s}));
    // Heights by value, not as text; birth dates by date, the empty one last.
    click(u"Height"_s);
    QCOMPARE(shownColumn(*browser.dbg, u"Height"_s), (QStringList{u"91"_s, u"198"_s, u"204"_s, u"211"_s}));
    click(u"Birth Date"_s);
    QCOMPARE(shownColumn(*browser.dbg, u"Surname"_s), (QStringList{u"Sava"_s, u"Zec"_s, u"Žižić"_s, u"Šiškić"_s}));
    // The row clicked is the row edited, in any order.
    const QRect zec = browser.dbg->visualRect(browser.dbg->model()->index(1, 0));
    QTest::mouseClick(browser.dbg->viewport(), Qt::LeftButton, {}, zec.center());
    QCOMPARE(browser.logic().value(u"PREZIME"_s).toString(), u"Zec"_s);
    QCOMPARE(browser.birthDate->date(), QDate(1992, 8, 18));
}

void TestBrowsers::namesGetTheWidthNotTheKey()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into SUDIJA (PREZIME, IME, GRAD) values (?, ?, ?)"_s,
               {u"Radojković-Stanisavljević"_s, u"Aleksandar"_s, u"Novi Sad"_s});
    TRefBrowser browser(BrowserKind::Referees, sb.dm());
    browser.resize(900, 600);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    const QAbstractItemModel &model = *browser.dbg->model();
    int surname = -1, id = -1;
    for (int c = 0; c < model.columnCount(); ++c) {
        const QString title = model.headerData(c, Qt::Horizontal).toString();
        surname = title == u"Surname"_s ? c : surname;
        id = title == u"ID"_s ? c : id;
    }
    // The whole surname is in sight; the key takes no more than its figures need.
    const int needed = browser.dbg->fontMetrics().horizontalAdvance(u"Radojković-Stanisavljević"_s);
    QVERIFY2(browser.dbg->columnWidth(surname) > needed, qPrintable(QString::number(browser.dbg->columnWidth(surname))));
    QVERIFY2(browser.dbg->columnWidth(id) < browser.dbg->viewport()->width() / 6,
             qPrintable(QString::number(browser.dbg->columnWidth(id))));
}

QTEST_MAIN(TestBrowsers)
#include "test_browsers.moc"
