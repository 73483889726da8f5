// The events review: filtering and ordering one match's event records, and
// correcting or deleting the current record, against a real database.
#include "console/ActionsReview.h"
#include "console/widgets/EventsReviewWindow.h"
#include "common/MatchState.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Match = 7;
constexpr int OtherMatch = 8;

struct Seed
{
    int number, side, player, period, minute, code, parameter;
};

// Match 7: a minute change, shots, fouls, an assist, a player change and an
// exit without changes over periods 1 to 6. Event 9 has no attack or
// defence type.
const Seed kSeed[] = {
    {1, 0, 0, 1, 9, 3, 0},  {2, 1, 7, 1, 8, 6, 3},  {3, 2, 9, 1, 8, 15, 7},
    {4, 2, 11, 2, 5, 15, 4}, {5, 1, 7, 2, 5, 12, 0}, {6, 2, 9, 5, 2, 8, 2},
    {7, 1, 5, 6, 0, 18, 8},  {8, 2, 11, 6, 0, 21, 0}, {9, 1, 4, 3, 4, 7, 1},
};

QString stamp(int number) { return u"20:%1:00;0:0"_s.arg(number, 2, 10, QChar(u'0')); }

void seed(fb::Connection &db)
{
    for (const Seed &e : kSeed) {
        const bool typed = e.number != 9;
        db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, PAR4, DTYPE, I1, I2, S1, "
                   "ISBONUS, STARTER, LGTYPE) values (?, ?, ?, ?, ?, ?, ?, ?, 12, ?, ?, ?, ?, ?, 0, 0, 0)"_s,
                   {Match, e.number, e.side, e.player, e.period, e.minute, e.code, e.parameter,
                    typed ? QVariant(2) : QVariant(), typed ? QVariant(1) : QVariant(),
                    ActionsReview::MadeOf(e.code), ActionsReview::MissedOf(e.code), stamp(e.number)});
    }
    db.execute(u"insert into DTT (IDM, RBACTION, HG, NODR, P, M, RES, PAR1, S1) "
               "values (?, 1, 1, 7, 1, 9, 15, 0, ?)"_s,
               {OtherMatch, stamp(1)});
    db.commitRetaining();
}

QList<int> numbers(const ActionsReview &review)
{
    QList<int> result;
    for (const ActionRow &row : review.Rows())
        result << row.RBAction.value_or(-1);
    return result;
}

// "HG NODR RES PAR1 I1 I2" of one record of the match, empty when gone.
QString record(fb::Connection &db, const QString &table, int number)
{
    fb::Query q(db, u"select HG, NODR, RES, PAR1, I1, I2 from %1 where IDM = ? and RBACTION = ?"_s.arg(table));
    q.exec({Match, number});
    QStringList values;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            values << q.value(i).toString();
    return values.join(u' ');
}

int count(fb::Connection &db, const QString &table)
{
    return db.scalar(u"select count(*) from %1 where IDM = ?"_s.arg(table), {Match}).toInt();
}

struct Fixture
{
    Fixture() : review(db(), Match)
    {
        seed(db());
        review.ApplyFilter({});
    }
    fb::Connection &db() { return sb.dm().db(); }
    Sandbox sb;
    ActionsReview review;
};

} // namespace

class TestActionsReview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void filterAndOrder_data();
    void filterAndOrder();
    void playerNumberMustBeANumber();
    void lastRowIsCurrentAndShownForEditing();
    void update_data();
    void update();
    void deletion_data();
    void deletion();
    void deletingAShotTakesBackItsPlusMinus();
    void staleRowIsNotDeleted();
    void windowListsEditsAndDeletes();
};

void TestActionsReview::filterAndOrder_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("team");
    QTest::addColumn<int>("order");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("everything by event") << u""_s << 0 << 0 << 0 << 0 << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("away personal fouls") << u""_s << 13 << 0 << 0 << 2 << 0 << QList<int>{3, 4};
    QTest::newRow("home side") << u""_s << 0 << 0 << 0 << 1 << 0 << QList<int>{2, 5, 7, 9};
    QTest::newRow("player 7") << u"7"_s << 0 << 0 << 0 << 0 << 0 << QList<int>{2, 5};
    QTest::newRow("player 9 with spaces") << u" 9 "_s << 0 << 0 << 0 << 0 << 0 << QList<int>{3, 6};
    QTest::newRow("nobody with 99") << u"99"_s << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("minute changes") << u""_s << 1 << 0 << 0 << 0 << 0 << QList<int>{1};
    QTest::newRow("period 2") << u""_s << 0 << 2 << 0 << 0 << 0 << QList<int>{4, 5};
    QTest::newRow(">=4 is period 5") << u""_s << 0 << 5 << 0 << 0 << 0 << QList<int>{6};
    QTest::newRow("ADD is period 6") << u""_s << 0 << 6 << 0 << 0 << 0 << QList<int>{7, 8};
    QTest::newRow("minute 8") << u""_s << 0 << 0 << 9 << 0 << 0 << QList<int>{2, 3};
    QTest::newRow("minute 0") << u""_s << 0 << 0 << 1 << 0 << 0 << QList<int>{7, 8};
    QTest::newRow("period 1 minute 8 away") << u""_s << 0 << 1 << 9 << 2 << 0 << QList<int>{3};
    QTest::newRow("by players") << u""_s << 0 << 0 << 0 << 0 << 1 << QList<int>{1, 9, 7, 2, 5, 3, 6, 4, 8};
    QTest::newRow("by periods") << u""_s << 0 << 0 << 0 << 0 << 2 << QList<int>{1, 2, 3, 4, 5, 9, 6, 7, 8};
    QTest::newRow("by action types") << u""_s << 0 << 0 << 0 << 0 << 3 << QList<int>{1, 2, 9, 6, 5, 3, 4, 7, 8};
    QTest::newRow("away by players") << u""_s << 0 << 0 << 0 << 2 << 1 << QList<int>{3, 6, 4, 8};
}

void TestActionsReview::filterAndOrder()
{
    QFETCH(QString, player);
    QFETCH(int, type);
    QFETCH(int, period);
    QFETCH(int, minute);
    QFETCH(int, team);
    QFETCH(int, order);
    QFETCH(QList<int>, expected);

    Fixture f;
    RecordingMessenger messages;
    QVERIFY(f.review.ApplyFilter({player, type, period, minute, team, ActionsOrder(order)}));
    QCOMPARE(numbers(f.review), expected);
    QCOMPARE(f.review.CountText(), QString::number(expected.size()));
    QCOMPARE(f.review.Current(), int(expected.size()) - 1);
    QVERIFY(messages.messages.isEmpty());
}

void TestActionsReview::playerNumberMustBeANumber()
{
    Fixture f;
    QVERIFY(f.review.ApplyFilter({u"7"_s}));
    RecordingMessenger messages;
    QVERIFY(!f.review.ApplyFilter({u"7a"_s}));
    QCOMPARE(messages.texts(), QStringList{u"Player No is not correct!"_s});
    QCOMPARE(numbers(f.review), (QList<int>{2, 5})); // the previous rows stay
}

void TestActionsReview::lastRowIsCurrentAndShownForEditing()
{
    Fixture f;
    QCOMPARE(f.review.Current(), 8);
    ActionEditValues v = f.review.CurrentEditValues();
    QCOMPARE((QStringList{v.init, v.no, v.ev, v.par}), (QStringList{u"1"_s, u"4"_s, u"7"_s, u"1"_s}));
    QCOMPARE(v.attackType, 0); // empty PAR4 and DTYPE show as 0
    QCOMPARE(v.defenseType, 0);

    f.review.SetCurrent(1);
    v = f.review.CurrentEditValues();
    QCOMPARE((QStringList{v.init, v.no, v.ev, v.par}), (QStringList{u"1"_s, u"7"_s, u"6"_s, u"3"_s}));
    QCOMPARE(v.attackType, 2);
    QCOMPARE(v.defenseType, 1);
    QCOMPARE(ActionsReview::ColumnText(*f.review.CurrentRow(), 0), u"2"_s);
    QCOMPARE(ActionsReview::ColumnText(*f.review.CurrentRow(), 13), u"12"_s);
}

void TestActionsReview::update_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("after"); // HG NODR RES PAR1 I1 I2

    const QString ask = u"Are you sure to update action?"_s;
    QTest::newRow("miss 2P becomes made 3P") << 9 << true << QStringList{u"1"_s, u"4"_s, u"8"_s, u"2"_s}
                                             << QStringList{ask} << u"1 4 8 2 3 0"_s;
    QTest::newRow("made 2P becomes miss 1P") << 2 << true << QStringList{u"1"_s, u"7"_s, u"5"_s, u"0"_s}
                                             << QStringList{ask} << u"1 7 5 0 0 1"_s;
    QTest::newRow("made 2P becomes made 1P") << 2 << true << QStringList{u"1"_s, u"7"_s, u"4"_s, u"0"_s}
                                             << QStringList{ask} << u"1 7 4 0 1 0"_s;
    QTest::newRow("made 2P becomes an assist") << 2 << true << QStringList{u"1"_s, u"7"_s, u"12"_s, u"0"_s}
                                               << QStringList{ask} << u"1 7 12 0 0 0"_s;
    QTest::newRow("assist moves to the away side") << 5 << true << QStringList{u"2"_s, u"9"_s, u"15"_s, u"4"_s}
                                                   << QStringList{ask} << u"2 9 15 4 0 0"_s;
    QTest::newRow("declined") << 2 << false << QStringList{u"1"_s, u"7"_s, u"12"_s, u"0"_s} << QStringList{ask}
                              << u"1 7 6 3 2 0"_s;
    QTest::newRow("not an actor") << 2 << true << QStringList{u"1"_s, u"55"_s, u"6"_s, u"3"_s}
                                  << QStringList{ask, u"This Player was not actor!"_s} << u"1 7 6 3 2 0"_s;
    QTest::newRow("away number on the home side") << 2 << true << QStringList{u"1"_s, u"9"_s, u"6"_s, u"3"_s}
                                                   << QStringList{ask, u"This Player was not actor!"_s}
                                                   << u"1 7 6 3 2 0"_s;
    QTest::newRow("to a minute change") << 2 << true << QStringList{u"1"_s, u"7"_s, u"3"_s, u"0"_s}
                                        << QStringList{ask, u"Time Change can not be updated!"_s} << u"1 7 6 3 2 0"_s;
    QTest::newRow("to a player change") << 2 << true << QStringList{u"1"_s, u"7"_s, u"18"_s, u"0"_s}
                                        << QStringList{ask, u"Player Change can not be updated!"_s}
                                        << u"1 7 6 3 2 0"_s;
    QTest::newRow("to an exit without changes") << 2 << true << QStringList{u"1"_s, u"7"_s, u"21"_s, u"0"_s}
                                                << QStringList{ask, u"Exit without change can not be updated!"_s}
                                                << u"1 7 6 3 2 0"_s;
    QTest::newRow("code not a number") << 2 << true << QStringList{u"1"_s, u"7"_s, u"x"_s, u"0"_s}
                                       << QStringList{ask, u"Action is not updated! Data incorrect!"_s}
                                       << u"1 7 6 3 2 0"_s;
    QTest::newRow("empty parameter") << 2 << true << QStringList{u"1"_s, u"7"_s, u"6"_s, u""_s}
                                     << QStringList{ask, u"Action is not updated! Data incorrect!"_s}
                                     << u"1 7 6 3 2 0"_s;
}

void TestActionsReview::update()
{
    QFETCH(int, number);
    QFETCH(bool, yes);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, messages);
    QFETCH(QString, after);

    Fixture f;
    f.review.SetCurrent(number - 1);
    RecordingMessenger shown;
    shown.answer(yes);
    const bool written = messages.size() == 1 && yes;
    QCOMPARE(f.review.Update(boxes[0], boxes[1], boxes[2], boxes[3]), written);
    QCOMPARE(shown.texts(), messages);
    QCOMPARE(record(f.db(), u"DTT"_s, number), after);
    QCOMPARE(f.review.RecordsChanged(), written);
    QCOMPARE(f.review.Count(), 9);
    QCOMPARE(f.review.Current(), number - 1); // the same row position
    QCOMPARE(f.review.CurrentEditValues().ev, after.split(u' ')[2]);
    QCOMPARE(record(f.db(), u"DTT_DEL"_s, number), QString());
}

void TestActionsReview::deletion_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("currentAfter");

    const QString ask = u"Are you sure to delete action?"_s;
    QTest::newRow("personal foul") << 3 << true << QStringList{ask} << 2;
    QTest::newRow("missed shot, the last row") << 9 << true << QStringList{ask} << 7;
    QTest::newRow("made 2P") << 2 << true << QStringList{ask} << 1;
    QTest::newRow("declined") << 3 << false << QStringList{ask} << 2;
    QTest::newRow("minute change") << 1 << true << QStringList{ask, u"Time Change can not be deleted!"_s} << 0;
    QTest::newRow("player change") << 7 << true << QStringList{ask, u"Player Change can not be deleted!"_s} << 6;
    QTest::newRow("exit without changes") << 8 << true
                                          << QStringList{ask, u"Exit without change can not be deleted!"_s} << 7;
}

void TestActionsReview::deletion()
{
    QFETCH(int, number);
    QFETCH(bool, yes);
    QFETCH(QStringList, messages);
    QFETCH(int, currentAfter);

    Fixture f;
    const QString before = record(f.db(), u"DTT"_s, number);
    f.review.SetCurrent(number - 1);
    RecordingMessenger shown;
    shown.answer(yes);
    const bool deleted = messages.size() == 1 && yes;
    QCOMPARE(f.review.Delete(), deleted);
    QCOMPARE(shown.texts(), messages);
    QCOMPARE(record(f.db(), u"DTT"_s, number), deleted ? QString() : before);
    QCOMPARE(record(f.db(), u"DTT_DEL"_s, number), deleted ? before : QString());
    QCOMPARE(f.review.Count(), deleted ? 8 : 9);
    QCOMPARE(numbers(f.review).contains(number), !deleted);
    QCOMPARE(f.review.Current(), currentAfter);
    QCOMPARE(f.review.RecordsChanged(), deleted);
    QCOMPARE(f.db().scalar(u"select count(*) from DTT where IDM = ?"_s, {OtherMatch}).toInt(), 1);
}

void TestActionsReview::deletingAShotTakesBackItsPlusMinus()
{
    Fixture f;
    PlusMinus pm(f.db());
    // Event 6: away number 9 made a three with home 7 and away 9 on court.
    pm.ChangePlusMinus(Match, 1, 2, -3, 7);
    pm.ChangePlusMinus(Match, 2, 4, 3, 9);
    pm.RecordPlusMinusHistory(Match, 6, 3, 2, {2}, {4});
    pm.ChangePlusMinus(Match, 1, 2, 2, 7); // event 2, a home two, stays
    pm.RecordPlusMinusHistory(Match, 2, 2, 1, {2}, {4});
    pm.ChangePlusMinus(Match, 2, 4, -2, 9);
    f.db().commitRetaining();

    f.review.SetCurrent(5);
    RecordingMessenger shown;
    shown.answer(true);
    QVERIFY(f.review.Delete());
    QCOMPARE(pm.PlusMinusValue(Match, 1, 2, 7), 2);
    QCOMPARE(pm.PlusMinusValue(Match, 2, 4, 9), -2);
    QCOMPARE(f.db().scalar(u"select count(*) from ISTORIJA_INDEKSI_PM where IDUTAKMICE = ? and RBAKCIJE = 6"_s,
                           {Match}).toInt(), 0);
    QCOMPARE(f.db().scalar(u"select count(*) from ISTORIJA_INDEKSI_PM where IDUTAKMICE = ? and RBAKCIJE = 2"_s,
                           {Match}).toInt(), 1);
    QCOMPARE(count(f.db(), u"DTT"_s), 8);
}

void TestActionsReview::staleRowIsNotDeleted()
{
    Fixture f;
    f.review.SetCurrent(2); // event 3, a foul by away 9
    f.db().execute(u"update DTT set NODR = 11 where IDM = ? and RBACTION = 3"_s, {Match});
    RecordingMessenger shown;
    shown.answer(true);
    QVERIFY(!f.review.Delete());
    QCOMPARE(shown.texts(), (QStringList{u"Are you sure to delete action?"_s,
                                         u"Action is not deleted! Data incorrect!"_s}));
    QCOMPARE(count(f.db(), u"DTT"_s), 9);
    QCOMPARE(count(f.db(), u"DTT_DEL"_s), 0);
    QVERIFY(!f.review.RecordsChanged());
}

void TestActionsReview::windowListsEditsAndDeletes()
{
    Sandbox sb;
    seed(sb.dm().db());
    TAllActionsViewfrm window(sb.dm().db(), Match);
    QCOMPARE(window.windowTitle(), u"Actions List"_s);
    window.ApplyFilter();
    QCOMPARE(window.grid->rowCount(), 9);
    QCOMPARE(window.lbCount->text(), u"9"_s);
    QCOMPARE(window.grid->currentRow(), 8);
    QCOMPARE(window.edRES->text(), u"7"_s);
    QCOMPARE(window.rgAttack->checkedId(), 0);

    window.cbHG->setCurrentIndex(2);
    window.cbRES->setCurrentIndex(13);
    window.btnApply->click();
    QCOMPARE(window.grid->rowCount(), 2);
    QCOMPARE(window.grid->item(0, 0)->text(), u"3"_s);
    QCOMPARE(window.grid->item(1, 3)->text(), u"15"_s);
    QCOMPARE(window.edNODR->text(), u"11"_s);

    window.navFirst->click();
    QCOMPARE(window.edNODR->text(), u"9"_s);
    QCOMPARE(window.rgAttack->checkedId(), 2);
    QCOMPARE(window.rgDefense->checkedId(), 1);
    window.grid->setCurrentCell(1, 2);
    QCOMPARE(window.review().Current(), 1);
    QCOMPARE(window.edNODR->text(), u"11"_s);

    QSignalSpy changed(&window, &TAllActionsViewfrm::recordsChanged);
    RecordingMessenger shown;
    shown.answer(true);
    window.edPAR1->setText(u"9"_s);
    window.btnUpdate->click();
    QCOMPARE(record(sb.dm().db(), u"DTT"_s, 4), u"2 11 15 9 0 0"_s);
    QCOMPARE(window.edPAR1->text(), u"9"_s);
    shown.answer(true);
    window.btnDelete->click();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(window.grid->rowCount(), 1);
    QCOMPARE(window.lbCount->text(), u"1"_s);
    QCOMPARE(window.edNODR->text(), u"9"_s);

    window.edDRES->setText(u"seven"_s);
    window.btnApply->click();
    QCOMPARE(shown.texts().last(), u"Player No is not correct!"_s);
    QCOMPARE(window.grid->rowCount(), 1);
}

QTEST_MAIN(TestActionsReview)
#include "test_actions_review.moc"
