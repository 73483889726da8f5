// The match definition: defaults of a new match, the eleven checks of OK in
// their order, the league's club lists, the clear buttons, the writing of a
// new and of an existing match, and the dialog's buttons, focus and keys.
#include "data/FbClient.h"
#include "console/widgets/MatchConsole.h"
#include "setup/widgets/MatchDefinitionDialog.h"
#include "setup/widgets/RefBrowser.h"
#include "setup/WindowDirectory.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;
using Control = MatchDefinition::Control;

namespace {

// Reference rows with fixed keys: leagues 1 and 2; clubs 1 and 2 of league 1
// and 3 of league 2; referees, delegates and statisticians 1 to 3.
void addReferenceRows(fb::Connection &db)
{
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (1, 'Košarkaška liga Srbije', 1)"_s);
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (2, 'Druga liga', 1)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (1, 'Partizan', 1)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (2, 'Crvena zvezda', 1)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (3, 'Mladost', 2)"_s);
    const QStringList surnames{u"Šiškić"_s, u"O'Neal"_s, u"Đorđević"_s};
    for (int i = 0; i < surnames.size(); ++i) {
        for (const QString &table : {u"SUDIJA (ID_SUDIJA"_s, u"DELEGAT (ID_DELEGAT"_s, u"STATISTICARI (ID_STAT"_s})
            db.execute(u"insert into %1, PREZIME, IME) values (?, ?, 'Ime')"_s.arg(table), {i + 1, surnames[i]});
    }
}

bool isText(Control c)
{
    return c == Control::Kolo || c == Control::Grad || c == Control::Hala || c == Control::Gledalaca ||
           c == Control::Naziv || c == Control::Extra;
}

const QHash<QString, Control> &controlsByName()
{
    static const QHash<QString, Control> names{
        {u"Liga"_s, Control::Liga},       {u"Kolo"_s, Control::Kolo},       {u"Grad"_s, Control::Grad},
        {u"Hala"_s, Control::Hala},       {u"Gledalaca"_s, Control::Gledalaca}, {u"Naziv"_s, Control::Naziv},
        {u"Extra"_s, Control::Extra},     {u"Domacin"_s, Control::Domacin}, {u"Gost"_s, Control::Gost},
        {u"Sudija1"_s, Control::Sudija1}, {u"Sudija2"_s, Control::Sudija2}, {u"Sudija3"_s, Control::Sudija3},
        {u"Delegat"_s, Control::Delegat}, {u"Statisticar1"_s, Control::Statisticar1},
        {u"Statisticar2"_s, Control::Statisticar2}};
    return names;
}

// Values by control name: texts for the text controls, keys (null for
// none) for the drop-downs.
void apply(MatchDefinition &definition, const QVariantMap &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const Control c = controlsByName().value(it.key());
        if (isText(c))
            definition.setText(c, it.value().toString());
        else
            definition.setKey(c, it.value());
    }
}

// A match that passes every check.
QVariantMap completeMatch()
{
    return {{u"Liga"_s, 1},           {u"Naziv"_s, u"Zvezda : Partizan"_s}, {u"Kolo"_s, u"12"_s},
            {u"Domacin"_s, 2},        {u"Gost"_s, 1},                        {u"Sudija1"_s, 1},
            {u"Sudija2"_s, 2},        {u"Sudija3"_s, 3},                     {u"Delegat"_s, 1},
            {u"Statisticar1"_s, 1},   {u"Statisticar2"_s, 2},                {u"Hala"_s, u"Hala 'Pionir'"_s},
            {u"Grad"_s, u"Čačak"_s},  {u"Gledalaca"_s, u"7500"_s},           {u"Extra"_s, u"Đački dan"_s}};
}

QVariantMap with(QVariantMap values, const QVariantMap &changes)
{
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        values.insert(it.key(), it.value());
    return values;
}

int matchCount(fb::Connection &db) { return db.scalar(u"select count(*) from UTAKMICA"_s).toInt(); }

} // namespace

class TestMatchDefinition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void newMatchStartsWhiteAndNotFinished();
    void checksRunInTheirOrder_data();
    void checksRunInTheirOrder();
    void confirmedMatchIsWrittenAndCommitted();
    void existingMatchIsShownAndUpdated();
    void missingMatchOrLeagueStopsTheDialog_data();
    void missingMatchOrLeagueStopsTheDialog();
    void clubListsFollowTheLeague();
    void clearButtonsEmptyTheirPerson_data();
    void clearButtonsEmptyTheirPerson();

    // The dialog.
    void refusalPutsTheFocusOnTheControlAtFault();
    void cancelEndsWith32AndWritesNothing();
    void enteringAClubListOffersTheLeaguesClubs();
    void statistsButtonOffersANewStatistAtOnce();
    void tabOrderFollowsTheForm();
    void createNewMatchDefinesItThenHandsOver();
};

void TestMatchDefinition::newMatchStartsWhiteAndNotFinished()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    MatchDefinition definition(sb.dm());
    QVERIFY(definition.Open(MatchDefinition::NewMatch));
    QCOMPARE(definition.homeColour(), 16777215);
    QCOMPARE(definition.awayColour(), 16777215);
    QCOMPARE(definition.result(), u"NOT FINISHED"_s);
    QCOMPARE(definition.date(), QDate::currentDate());
    QVERIFY(!definition.playOff());

    RecordingMessenger messages;
    apply(definition, completeMatch());
    QVERIFY(definition.Confirm().saved);
    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(db.scalar(u"select BOJAD from UTAKMICA"_s).toInt(), 16777215);
    QCOMPARE(db.scalar(u"select BOJAG from UTAKMICA"_s).toInt(), 16777215);
    QCOMPARE(db.scalar(u"select REZULTAT from UTAKMICA"_s).toString(), u"NOT FINISHED"_s);
}

void TestMatchDefinition::checksRunInTheirOrder_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("focus");

    const QVariantMap full = completeMatch();
    const QVariant none;
    QTest::newRow("complete") << full << QString() << QString();
    QTest::newRow("no league") << with(full, {{u"Liga"_s, none}}) << u"League is not defined!"_s << u"Liga"_s;
    QTest::newRow("a league that is gone") << with(full, {{u"Liga"_s, 9}}) << u"League is not defined!"_s
                                           << u"Liga"_s;
    QTest::newRow("no caption") << with(full, {{u"Naziv"_s, u""_s}}) << u"Match name is not defined!"_s
                                << u"Naziv"_s;
    QTest::newRow("only the first failure") << with(full, {{u"Naziv"_s, u" "_s}, {u"Grad"_s, u""_s}})
                                            << u"Match name is not defined!"_s << u"Naziv"_s;
    QTest::newRow("no round") << with(full, {{u"Kolo"_s, u""_s}}) << u"Round is not defined!"_s << u"Kolo"_s;
    QTest::newRow("no home club") << with(full, {{u"Domacin"_s, none}}) << u"Home Team is not defined!"_s
                                  << u"Domacin"_s;
    QTest::newRow("no away club") << with(full, {{u"Gost"_s, none}}) << u"Away team is not defined!"_s << u"Gost"_s;
    QTest::newRow("same club twice") << with(full, {{u"Gost"_s, 2}}) << u"Home and Away team have to be different!"_s
                                     << u"Gost"_s;
    QTest::newRow("same referee twice") << with(full, {{u"Sudija2"_s, 1}})
                                        << u"Referees definitions have to be different!"_s << u"Sudija2"_s;
    QTest::newRow("no second referee") << with(full, {{u"Sudija2"_s, none}}) << QString() << QString();
    QTest::newRow("no referees at all") << with(full, {{u"Sudija1"_s, none}, {u"Sudija2"_s, none}}) << QString()
                                        << QString();
    QTest::newRow("third referee as the first") << with(full, {{u"Sudija3"_s, 1}}) << QString() << QString();
    QTest::newRow("same statist twice") << with(full, {{u"Statisticar2"_s, 1}})
                                        << u"Statists definitions have to be different!"_s << u"Statisticar1"_s;
    QTest::newRow("no second statist") << with(full, {{u"Statisticar2"_s, none}}) << QString() << QString();
    QTest::newRow("no hall") << with(full, {{u"Hala"_s, u""_s}}) << u"HALL is not defined!"_s << u"Hala"_s;
    QTest::newRow("no city") << with(full, {{u"Grad"_s, u""_s}}) << u"City is not defined!"_s << u"Grad"_s;
    QTest::newRow("no audience") << with(full, {{u"Gledalaca"_s, u""_s}}) << u"Auditory is not defined!"_s
                                 << u"Gledalaca"_s;
    QTest::newRow("audience not a number") << with(full, {{u"Gledalaca"_s, u"12a"_s}})
                                           << u"'12a' is not a valid integer value"_s << u"Gledalaca"_s;
    QTest::newRow("round not a number") << with(full, {{u"Kolo"_s, u"III"_s}})
                                        << u"'III' is not a valid integer value"_s << u"Kolo"_s;
    QTest::newRow("optional delegate and note") << with(full, {{u"Delegat"_s, none}, {u"Extra"_s, u""_s}})
                                                << QString() << QString();
}

void TestMatchDefinition::checksRunInTheirOrder()
{
    QFETCH(QVariantMap, values);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    MatchDefinition definition(sb.dm());
    QVERIFY(definition.Open(MatchDefinition::NewMatch));
    apply(definition, values);
    RecordingMessenger messages;
    const MatchDefinition::Outcome outcome = definition.Confirm();
    QCOMPARE(outcome.saved, message.isEmpty());
    QCOMPARE(messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(messages.messages[0].first, Messenger::Kind::Error);
        QVERIFY(outcome.focus);
        QCOMPARE(*outcome.focus, controlsByName().value(focus));
    }
    QCOMPARE(matchCount(db), message.isEmpty() ? 1 : 0);
}

void TestMatchDefinition::confirmedMatchIsWrittenAndCommitted()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    MatchDefinition definition(sb.dm());
    QVERIFY(definition.Open(MatchDefinition::NewMatch));
    apply(definition, with(completeMatch(), {{u"Sudija3"_s, QVariant()}}));
    definition.setDate(QDate(2025, 10, 4));
    definition.setTime(QTime(19, 45, 30, 500));
    definition.setPlayOff(true);
    RecordingMessenger messages;
    QVERIFY(definition.Confirm().saved);
    const int id = definition.matchId();
    QVERIFY(id > 0);
    QCOMPARE(definition.caption(), u"Zvezda : Partizan"_s);

    db.rollbackRetaining(); // what was committed stays
    fb::Query row(db, u"select * from UTAKMICA where ID_UTAKMICA = ?"_s);
    row.exec({id});
    QVERIFY(row.next());
    QCOMPARE(row.value("NAZIV").toString(), u"Zvezda : Partizan"_s);
    QCOMPARE(row.value("KOLO").toInt(), 12);
    QCOMPARE(row.value("MESTO").toString(), u"Hala 'Pionir'"_s);
    QCOMPARE(row.value("GRAD").toString(), u"Čačak"_s);
    QCOMPARE(row.value("EXTRA").toString(), u"Đački dan"_s);
    QCOMPARE(row.value("BR_GLEDALACA").toInt(), 7500);
    QCOMPARE(row.value("ID_LIGA").toInt(), 1);
    QCOMPARE(row.value("ID_KLUB1").toInt(), 2);
    QCOMPARE(row.value("ID_KLUB2").toInt(), 1);
    QCOMPARE(row.value("ID_SUDIJA2").toInt(), 2);
    QVERIFY(row.value("ID_SUDIJA3").isNull());
    QCOMPARE(row.value("ID_STAT2").toInt(), 2);
    QCOMPARE(row.value("PLAYOFF").toInt(), 1);
    QCOMPARE(row.value("DATUMVREME").toDateTime(), QDateTime(QDate(2025, 10, 4), QTime(19, 45, 30, 500)));
}

void TestMatchDefinition::existingMatchIsShownAndUpdated()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    const int id = db.scalar(u"insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, ID_SUDIJA1, KOLO, GRAD, "
                             "MESTO, DATUMVREME, BR_GLEDALACA, BOJAD, BOJAG, PLAYOFF, REZULTAT, JUMPBAL) values "
                             "('Finale', 1, 1, 2, 3, 4, 'Beograd', 'Arena', '2024-03-15 18:30:00', 18000, 255, "
                             "65280, 1, 'CLOSED INCORRECTLY', 2) returning ID_UTAKMICA"_s)
                     .toInt();
    MatchDefinition definition(sb.dm());
    QVERIFY(definition.Open(id));
    QVERIFY(!definition.isNew());
    QCOMPARE(definition.date(), QDate(2024, 3, 15));
    QCOMPARE(definition.time(), QTime(18, 30));
    QVERIFY(definition.playOff());
    QCOMPARE(definition.text(Control::Kolo), u"4"_s);
    QCOMPARE(definition.text(Control::Gledalaca), u"18000"_s);
    QCOMPARE(definition.shownText(Control::Domacin), u"Partizan"_s);
    QCOMPARE(definition.shownText(Control::Sudija1), u"Ime Đorđević"_s);

    definition.setText(Control::Hala, u"Štark arena"_s);
    definition.setPlayOff(false);
    RecordingMessenger messages;
    QVERIFY(definition.Confirm().saved);
    QCOMPARE(definition.matchId(), id);
    QCOMPARE(matchCount(db), 1);
    QCOMPARE(db.scalar(u"select MESTO from UTAKMICA"_s).toString(), u"Štark arena"_s);
    QCOMPARE(db.scalar(u"select PLAYOFF from UTAKMICA"_s).toInt(), 0);
    // What the console keeps in the row is left alone.
    QCOMPARE(db.scalar(u"select JUMPBAL from UTAKMICA"_s).toInt(), 2);
    QCOMPARE(db.scalar(u"select REZULTAT from UTAKMICA"_s).toString(), u"CLOSED INCORRECTLY"_s);
    QCOMPARE(db.scalar(u"select BOJAD from UTAKMICA"_s).toInt(), 255);
}

void TestMatchDefinition::missingMatchOrLeagueStopsTheDialog_data()
{
    QTest::addColumn<int>("league"); // of the stored match; 0: no match at all
    QTest::addColumn<QString>("message");
    QTest::newRow("no such match") << 0 << u"Match can not be found! MatchRefU"_s;
    QTest::newRow("league gone") << 42 << u"League of this match can not be found! MatchRefU"_s;
}

void TestMatchDefinition::missingMatchOrLeagueStopsTheDialog()
{
    QFETCH(int, league);
    QFETCH(QString, message);
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    int id = 77;
    if (league)
        id = db.scalar(u"insert into UTAKMICA (ID_LIGA, ID_KLUB1, ID_KLUB2) values (?, 1, 2) returning ID_UTAKMICA"_s,
                       {league})
                 .toInt();
    RecordingMessenger messages;
    TDataGame dialog(sb.dm(), id);
    QVERIFY(!dialog.isReady());
    QCOMPARE(messages.texts(), QStringList{message});
}

void TestMatchDefinition::clubListsFollowTheLeague()
{
    Sandbox sb;
    addReferenceRows(sb.dm().db());
    MatchDefinition definition(sb.dm());
    QVERIFY(definition.Open(MatchDefinition::NewMatch));
    auto names = [&](Control c) {
        QStringList list;
        for (const ListChoice &choice : definition.choices(c))
            list << choice.text;
        return list;
    };
    // Every club at first, by name, so that a stored club shows its name.
    QCOMPARE(names(Control::Domacin), (QStringList{u"Crvena zvezda"_s, u"Mladost"_s, u"Partizan"_s}));
    apply(definition, with(completeMatch(), {{u"Domacin"_s, 3}}));
    QCOMPARE(definition.shownText(Control::Domacin), u"Mladost"_s);

    definition.RefreshClubList(Control::Domacin);
    QCOMPARE(names(Control::Domacin), (QStringList{u"Crvena zvezda"_s, u"Partizan"_s}));
    QCOMPARE(definition.shownText(Control::Domacin), QString());
    RecordingMessenger messages;
    QVERIFY(!definition.Confirm().saved);
    QCOMPARE(messages.texts(), QStringList{u"Home Team is not defined!"_s});

    definition.setKey(Control::Liga, 2);
    definition.RefreshClubList(Control::Gost);
    QCOMPARE(names(Control::Gost), QStringList{u"Mladost"_s});
}

void TestMatchDefinition::clearButtonsEmptyTheirPerson_data()
{
    QTest::addColumn<QString>("person");
    QTest::addColumn<QString>("column");
    QTest::newRow("first referee") << u"Sudija1"_s << u"ID_SUDIJA1"_s;
    QTest::newRow("second referee") << u"Sudija2"_s << u"ID_SUDIJA2"_s;
    QTest::newRow("third referee") << u"Sudija3"_s << u"ID_SUDIJA3"_s;
    QTest::newRow("delegate") << u"Delegat"_s << u"ID_DELEGAT"_s;
    QTest::newRow("first statist") << u"Statisticar1"_s << u"ID_STAT1"_s;
    QTest::newRow("second statist") << u"Statisticar2"_s << u"ID_STAT2"_s;
}

void TestMatchDefinition::clearButtonsEmptyTheirPerson()
{
    QFETCH(QString, person);
    QFETCH(QString, column);
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
    apply(dialog.definition(), completeMatch());
    const Control c = controlsByName().value(person);
    QTest::mouseClick(dialog.clearButton(c), Qt::LeftButton);
    QCOMPARE(static_cast<QComboBox *>(dialog.control(c))->currentText(), QString());
    RecordingMessenger messages;
    QVERIFY(dialog.definition().Confirm().saved);
    QVERIFY(db.scalar(u"select %1 from UTAKMICA"_s.arg(column)).isNull());
    // The other people stay.
    QCOMPARE(db.scalar(u"select count(*) from UTAKMICA where ID_STAT1 is null or ID_SUDIJA1 is null"_s).toInt(),
             person == u"Statisticar1"_s || person == u"Sudija1"_s ? 1 : 0);
}

// ------------------------------------------------------------------ dialog

void TestMatchDefinition::refusalPutsTheFocusOnTheControlAtFault()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
    QVERIFY(dialog.isReady());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    apply(dialog.definition(), with(completeMatch(), {{u"Gost"_s, 2}, {u"Gledalaca"_s, u""_s}}));

    RecordingMessenger messages;
    QTest::mouseClick(dialog.Potvrdi, Qt::LeftButton);
    QCOMPARE(messages.texts(), QStringList{u"Home and Away team have to be different!"_s});
    auto *guest = static_cast<QComboBox *>(dialog.control(Control::Gost));
    QCOMPARE(QApplication::focusWidget(), guest);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.Potvrdi->isEnabled());

    const int partizan = guest->findText(u"Partizan"_s);
    guest->setCurrentIndex(partizan);
    emit guest->activated(partizan);
    QTest::mouseClick(dialog.Potvrdi, Qt::LeftButton);
    QCOMPARE(messages.texts().last(), u"Auditory is not defined!"_s);
    auto *audience = static_cast<QLineEdit *>(dialog.control(Control::Gledalaca));
    QCOMPARE(QApplication::focusWidget(), audience);

    QTest::keyClicks(audience, u"9x00"_s); // the box takes digits only
    QTest::mouseClick(dialog.Potvrdi, Qt::LeftButton);
    QCOMPARE(dialog.result(), 33);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(db.scalar(u"select BR_GLEDALACA from UTAKMICA"_s).toInt(), 900);
    QCOMPARE(db.scalar(u"select ID_KLUB2 from UTAKMICA"_s).toInt(), 1);
    QCOMPARE(dialog.matchId(), db.scalar(u"select ID_UTAKMICA from UTAKMICA"_s).toInt());
    QCOMPARE(dialog.matchCaption(), u"Zvezda : Partizan"_s);
}

void TestMatchDefinition::cancelEndsWith32AndWritesNothing()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    addReferenceRows(db);
    for (const bool escape : {false, true}) {
        TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
        apply(dialog.definition(), completeMatch());
        dialog.show();
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog.Odustani, Qt::LeftButton);
        QCOMPARE(dialog.result(), 32);
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(matchCount(db), 0);
}

void TestMatchDefinition::enteringAClubListOffersTheLeaguesClubs()
{
    Sandbox sb;
    addReferenceRows(sb.dm().db());
    TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *league = static_cast<QComboBox *>(dialog.control(Control::Liga));
    auto *home = static_cast<QComboBox *>(dialog.control(Control::Domacin));
    QCOMPARE(home->count(), 4); // no club and all three
    const int second = league->findText(u"Druga liga"_s);
    league->setCurrentIndex(second);
    emit league->activated(second);
    home->setFocus();
    QCOMPARE(home->count(), 2);
    QCOMPARE(home->itemText(1), u"Mladost"_s);
}

void TestMatchDefinition::statistsButtonOffersANewStatistAtOnce()
{
    Sandbox sb;
    addReferenceRows(sb.dm().db());
    TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
    dialog.show();
    QString browserTitle;
    // Adds a statistician in the browser the button opens, then closes it.
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *browser = qobject_cast<TRefBrowser *>(modal);
        if (!browser) {
            if (modal)
                modal->close();
            return;
        }
        browserTitle = browser->windowTitle();
        browser->logic().Run(RefBrowserLogic::Command::Insert);
        browser->logic().SetValue(u"PREZIME"_s, u"Novaković"_s);
        browser->logic().SetValue(u"IME"_s, u"Nada"_s);
        browser->reject(); // closing posts the new row
    });
    QTest::mouseClick(dialog.btnEditStatists, Qt::LeftButton);
    QCOMPARE(browserTitle, u"STATISTS"_s);
    auto *statist = static_cast<QComboBox *>(dialog.control(Control::Statisticar2));
    QVERIFY(statist->findText(u"Nada Novaković"_s) > 0);
}

void TestMatchDefinition::tabOrderFollowsTheForm()
{
    Sandbox sb;
    addReferenceRows(sb.dm().db());
    TDataGame dialog(sb.dm(), MatchDefinition::NewMatch);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.control(Control::Liga)->setFocus();
    // Tab walks the sections of the date and time pickers before it leaves them.
    QStringList visited;
    for (int presses = 0; presses < 40 && visited.size() < 21; ++presses) {
        QWidget *focus = QApplication::focusWidget();
        if (visited.isEmpty() || visited.last() != focus->objectName())
            visited << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{u"Liga"_s, u"Kolo"_s, u"PlayOff"_s, u"Datum"_s, u"Vreme"_s, u"Grad"_s,
                                   u"Hala"_s, u"Gledalaca"_s, u"Naziv"_s, u"Extra"_s, u"Domacin"_s, u"Gost"_s,
                                   u"Sudija1"_s, u"Sudija2"_s, u"tMatchID_SUDIJA3"_s, u"Delegat"_s,
                                   u"Statisticar1"_s, u"Statisticar2"_s, u"btnEditStatists"_s, u"Potvrdi"_s,
                                   u"Odustani"_s}));
}

void TestMatchDefinition::createNewMatchDefinesItThenHandsOver()
{
    Sandbox sb;
    addReferenceRows(sb.dm().db());
    // Answers the windows that open: the definition is filled and confirmed,
    // then the console is closed.
    RecordingMessenger messages;
    messages.answer(true); // "Stop working with match ?"
    QStringList opened;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || (!opened.isEmpty() && opened.last() == modal->windowTitle()))
            return;
        opened << modal->windowTitle();
        if (auto *definition = qobject_cast<TDataGame *>(modal)) {
            apply(definition->definition(), completeMatch());
            definition->PotvrdiClick();
        } else if (qobject_cast<TMatchFrm *>(modal)) {
            modal->close();
        }
    });
    answer.start(10);
    QVERIFY(RunNewMatch(nullptr)); // the console ran: the program starts anew next
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0], u"Match Definition"_s);
    QCOMPARE(matchCount(sb.dm().db()), 1);
    sb.dm().WaitForSafetyCopies();
    QVERIFY(QFile::exists(sb.file(u"BACKUP_QNDB.FDB"_s)));
}

QTEST_MAIN(TestMatchDefinition)
#include "test_match_definition.moc"
