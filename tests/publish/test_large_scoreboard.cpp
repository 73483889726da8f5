// The large scoreboard: names cut to fit, three-digit displays, the points
// per period from a keyed match, and the window opened from the console's
// View menu following the score, keeping its place and growing with its size.
#include "app/ConsoleDialogs.h"
#include "data/ActionCodes.h"
#include "data/DataModule.h"
#include "publish/LargeScoreboard.h"
#include "publish/widgets/LargeScoreboardWindow.h"
#include "support/ConsoleDesk.h"

#include <QLCDNumber>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestLargeScoreboard : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void namesAndDigits_data();
    void namesAndDigits();
    void pointsPerPeriod();
    void openedFromTheConsoleFollowsTheScore();
};

void TestLargeScoreboard::namesAndDigits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("12 letters stay") << u"Cibona Zagre"_s << u"Cibona Zagre"_s;
    QTest::newRow("13 letters gain the dot") << u"Dubrava Čakov"_s << u"Dubrava Čakov."_s;
    QTest::newRow("14 letters lose one") << u"Dubrava Čakove"_s << u"Dubrava Čakov."_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestLargeScoreboard::namesAndDigits()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QCOMPARE(ScoreboardName(name), shown);
    // The digits: hundreds, tens, units, with leading zeros.
    QCOMPARE(ThreeDigits(7), u"007"_s);
    QCOMPARE(ThreeDigits(105), u"105"_s);
    QCOMPARE(ThreeDigits(0), u"000"_s);
}

namespace {

int shirt(int side, int i)
{
    return *std::next((side == 1 ? rules::homeNumbers() : rules::awayNumbers()).begin(), i);
}

void minutes(MatchSession &session, int count)
{
    for (int i = 0; i < count; ++i)
        QVERIFY(MatchSession::Recorded(EvMinuteChange, session.Record({3, 0, EvMinuteChange, 0, 0})));
}

void basket(MatchSession &session, int side, int code)
{
    QVERIFY(MatchSession::Recorded(code, session.Record({side, shirt(side, 0), code, 4, 0})));
}

} // namespace

void TestLargeScoreboard::pointsPerPeriod()
{
    ConsoleDesk c;
    QVERIFY(c.opened);
    MatchSession &session = c.window->session();
    QCOMPARE(PeriodPointsLine(ReadPeriodPoints(dm()->db(), session.MatchId())), QString());
    // First quarter 2:3, second quarter 5:0 so far.
    minutes(session, 1);
    basket(session, 1, EvMade2);
    basket(session, 2, EvMade3);
    minutes(session, 11); // the first quarter ends, the second starts
    basket(session, 1, EvMade3);
    basket(session, 1, EvMade2);
    QCOMPARE(PeriodPointsLine(ReadPeriodPoints(dm()->db(), session.MatchId())), u"2 / 3     5 / 0     "_s);
    QCOMPARE(c.unexpected, QStringList());
}

void TestLargeScoreboard::openedFromTheConsoleFollowsTheScore()
{
    RegisterConsoleDialogs();
    ConsoleDesk c;
    QVERIFY(c.opened);
    MatchSession &session = c.window->session();
    minutes(session, 1);

    QAction *open = nullptr;
    for (QAction *action : c.window->findChildren<QAction *>())
        if (action->text() == u"Large Scoreboard"_s)
            open = action;
    QVERIFY(open);
    open->trigger();
    auto *board = c.window->findChild<TLargeScoreboardFrm *>();
    QVERIFY(board && board->isVisible());
    QVERIFY(board->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(board->lblHOME->text(), ScoreboardName(session.HomeName()));
    QCOMPARE(board->lbQuarter->text(), u"1. Quarter"_s);
    QCOMPARE(board->minute->intValue(), 9);
    QCOMPARE(board->homeScore->intValue(), 0);

    basket(session, 1, EvMade3); // shown within the next second
    QTRY_COMPARE_WITH_TIMEOUT(board->homeScore->intValue(), 3, TLargeScoreboardFrm::RefreshMs + 500);
    QCOMPARE(board->lblQuarters->text(), u"3 / 0     "_s);

    // Dragged anywhere, hidden and shown again: where it was left.
    const QPoint start = board->pos();
    const QPoint grab = board->lblAWAY->mapTo(board, board->lblAWAY->rect().center());
    QTest::mousePress(board, Qt::LeftButton, {}, grab);
    QTest::mouseMove(board, grab + QPoint(40, 25));
    QTest::mouseRelease(board, Qt::LeftButton, {}, grab + QPoint(40, 25));
    const QPoint moved = board->pos();
    QCOMPARE(moved, start + QPoint(40, 25));
    board->hide();
    basket(session, 2, EvMade2);
    QTest::qWait(TLargeScoreboardFrm::RefreshMs + 200);
    QCOMPARE(board->awayScore->intValue(), 0); // no refresh while hidden
    open->trigger();
    QCOMPARE(board->pos(), moved);
    QCOMPARE(board->awayScore->intValue(), 2);

    // A larger window shows larger names.
    const qreal before = board->lblHOME->font().pointSizeF();
    board->resize(board->size() * 2);
    QVERIFY(board->lblHOME->font().pointSizeF() > 1.5 * before);
    QCOMPARE(c.unexpected, QStringList());
}

QTEST_MAIN(TestLargeScoreboard)
#include "test_large_scoreboard.moc"
