// The match export on small matches keyed through the console's session:
// the course of a match read from its records, the records and minutes of
// the file in the cases that catch real faults, the text of names, the file
// against a reference checked byte by byte, the event log, failures that
// must leave no partial file, and the reader on damaged files.
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "publish/MatchExport.h"
#include "publish/MatchTimeline.h"
#include "publish/QntReader.h"
#include "publish/QntWriter.h"
#include "publish/KeyedMatch.h"
#include "rules/RulesDesk.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QntMatch readBack(const QByteArray &bytes)
{
    const auto read = ReadMatchStream(bytes);
    if (const auto *error = std::get_if<QntReadError>(&read))
        qFatal("the file does not read back: %s", qPrintable(error->text()));
    return std::get<QntMatch>(read);
}

QByteArray written(const QntMatch &match)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteMatchStream(buffer, match);
    return buffer.data();
}

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

RecordedEvent rec(int side, int player, int code, int parameter, int period, int minute, int seconds = 0,
                  int points = 0)
{
    return {.side = side, .player = player, .clock = {period, minute}, .code = code, .parameter = parameter,
            .seconds = seconds, .points = points};
}

// The clock readings of n minute changes from the tip-off.
std::vector<RecordedEvent> minuteChanges(int n)
{
    std::vector<RecordedEvent> changes;
    MatchClock clock;
    for (int i = 0; i < n; ++i) {
        clock = clock.AfterMinuteChange();
        changes.push_back(rec(3, 0, EvMinuteChange, 0, clock.period, clock.minute));
    }
    return changes;
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void timelineFivesFollowTheEngine();
    void timelineMinutesAndScore();
    void timeOnCourtRoundsToWholeMinutes_data();
    void timeOnCourtRoundsToWholeMinutes();
    void recordsAndMinutes_data();
    void recordsAndMinutes();
    void namesInTheFile_data();
    void namesInTheFile();
    void letterOutsideTheCodePageDoesNotFailTheExport();
    void officialsAndClubsAsTheMatchNamesThem();
    void referenceFile();
    void eventLogIsReplacedLineByLine();
    void exportTouchesNoMatchNorWorkingTable();
    void numberTooLargeForItsFieldIsRefused();
    void unwritableTargetLeavesNothing_data();
    void unwritableTargetLeavesNothing();
    void exportAllGivesEveryMatchItsOwnFile();
    void readerStopsAtEveryTruncationAndDamage();
    void readerNamesTheDamage_data();
    void readerNamesTheDamage();
};

// ------------------------------------------------------------ the timeline

void TestExport::timelineFivesFollowTheEngine()
{
    std::vector<RecordedEvent> events{rec(1, 4, EvStarters, 0, 1, 10), rec(1, 5, EvStarters, 0, 1, 10),
                                      rec(1, 6, EvStarters, 0, 1, 10), rec(1, 7, EvStarters, 0, 1, 10),
                                      rec(1, 8, EvStarters, 0, 1, 10),
                                      // changed before the tip-off: a starter after all
                                      rec(1, 5, EvPlayerChange, 9, 1, 10)};
    for (const RecordedEvent &e : minuteChanges(2)) // minute 1, then minute 2
        events.push_back(e);
    events.push_back(rec(1, 6, EvPlayerChange, 10, 1, 8, 95)); // in minute 2, into 6's place
    for (const RecordedEvent &e : minuteChanges(11))           // to the start of quarter 2
        if (e.clock.minute < 8 || e.clock.period > 1)
            events.push_back(e);
    events.push_back(rec(1, 7, EvExitWithoutChanges, 0, 2, 10)); // at the start of quarter 2
    events.push_back(rec(3, 0, EvMinuteChange, 0, 2, 9));        // minute 11
    const MatchTimeline timeline(events);

    QCOMPARE(timeline.fiveAt(1, 0), (QList<int>{4, 9, 6, 7, 8}));
    QCOMPARE(timeline.fiveAt(1, 1), (QList<int>{4, 9, 6, 7, 8}));
    QCOMPARE(timeline.fiveAt(1, 2), (QList<int>{4, 9, 10, 7, 8}));
    QCOMPARE(timeline.fiveAt(1, 10), (QList<int>{4, 9, 10, 7, 8})); // the change at the period start is later
    QCOMPARE(timeline.fiveAt(1, 11), (QList<int>{4, 9, 10, 8}));
    QCOMPARE(timeline.fiveNow(1), (QList<int>{4, 9, 10, 8}));
    QVERIFY(timeline.fiveAt(2, 5).isEmpty());
    QCOMPARE(timeline.lastMinute(), 11);
}

void TestExport::timelineMinutesAndScore()
{
    std::vector<RecordedEvent> events;
    auto add = [&](const std::vector<RecordedEvent> &more) { events.insert(events.end(), more.begin(), more.end()); };
    add(minuteChanges(1));                                    // minute 1
    events.push_back(rec(1, 4, EvMade2, 3, 1, 9, 0, 2));      // 2 in minute 1
    const std::vector<RecordedEvent> regulation = minuteChanges(44);
    add({regulation.begin() + 1, regulation.end()});          // regulation ends
    events.push_back(rec(2, 5, EvMade3, 1, 4, 0, 0, 3));      // (an event after the end counts in minute 40)
    add(std::vector<RecordedEvent>{rec(3, 0, EvOverTime, 0, 5, 5), rec(3, 0, EvMinuteChange, 0, 5, 4)});
    events.push_back(rec(2, 0, EvTimeOut, 0, 5, 4));
    events.push_back(rec(1, 4, EvMade1, 0, 5, 4, 0, 1));
    events.push_back(rec(3, 0, EvMinuteChange, 0, 5, 3)); // minute 42
    const MatchTimeline timeline(events);

    QCOMPARE(timeline.lastMinute(), 42);
    QVERIFY(!timeline.clock().Ended());
    QCOMPARE(timeline.pointsUpTo(1, 1), 2);
    QCOMPARE(timeline.pointsUpTo(2, 39), 0);
    QCOMPARE(timeline.pointsUpTo(2, 40), 3);
    QCOMPARE(timeline.pointsUpTo(1, 41), 3); // from the tip-off, not the overtime alone
    QCOMPARE(timeline.pointsUpTo(2, 41), 3);
    QCOMPARE(timeline.points(1), 3);
    QCOMPARE(timeline.timeOutsIn(2, 41), 1);
    QCOMPARE(timeline.timeOutsIn(2, 42), 0);
    QCOMPARE(timeline.timeOutsIn(1, 41), 0);

    const MatchTimeline ended(minuteChanges(44));
    QVERIFY(ended.clock().Ended());
    QCOMPARE(ended.lastMinute(), 40);
    QVERIFY(!MatchTimeline(minuteChanges(43)).clock().Ended());
}

void TestExport::timeOnCourtRoundsToWholeMinutes_data()
{
    // Starter 4 leaves for 9 after `before` minute changes with `seconds`
    // on the clock, then `after` more changes are keyed.
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("starter");  // minutes of 4
    QTest::addColumn<int>("entering"); // minutes of 9, on court to the end
    QTest::addColumn<int>("stayed");   // minutes of a starter who never left

    QTest::newRow("90 seconds make 2") << 2 << 30 << 1 << 2 << 2 << 3;  // 90 s on, 90 s off: 180 s in all
    QTest::newRow("89 seconds make 1") << 2 << 31 << 1 << 1 << 2 << 3;  // 89 s and 91 s
    QTest::newRow("replaced before the tip-off") << 0 << 0 << 44 << 0 << 40 << 40;
    QTest::newRow("at the start of the third quarter") << 22 << 0 << 22 << 20 << 20 << 40;
}

void TestExport::timeOnCourtRoundsToWholeMinutes()
{
    QFETCH(int, before);
    QFETCH(int, seconds);
    QFETCH(int, after);
    QFETCH(int, starter);
    QFETCH(int, entering);
    QFETCH(int, stayed);
    KeyedMatch m;
    m.start();
    m.play(u"+%1"_s.arg(before));
    m.key({1, m.home(0), EvPlayerChange, m.home(5), seconds});
    m.play(u"+%1"_s.arg(after));
    const QntMatch file = MatchExportBuilder(m.db()).build(m.match);
    QCOMPARE(file.homePlayers[0].shirtNumber, m.home(0));
    QCOMPARE(file.homePlayers[0].minutes, starter);
    QCOMPARE(file.homePlayers[5].shirtNumber, m.home(5));
    QCOMPARE(file.homePlayers[5].minutes, entering);
    QCOMPARE(file.homePlayers[1].minutes, stayed);
    QCOMPARE(file.homePlayers[6].minutes, 0); // never on court
}

// ------------------------------------------------- records of small matches

void TestExport::recordsAndMinutes_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("summary");

    // E counts the match start, ten starters, every record and the finish.
    QTest::newRow("no events, not ended") << false << QString() << u"E=11 finish=0 minutes=0 starters=-1x10"_s;
    QTest::newRow("starters only") << true << QString() << u"E=22 finish=0 minutes=0 starters=5+5"_s;
    QTest::newRow("ended after regulation") << true << u"+44"_s << u"E=67 finish=1 minutes=40 starters=5+5"_s;
    QTest::newRow("ended after an overtime") << true << u"+44\n+7"_s << u"E=74 finish=1 minutes=45 starters=5+5"_s;
    QTest::newRow("overtime under way") << true << u"+44\n+2"_s << u"E=68 finish=0 minutes=41 starters=5+5"_s;
    QTest::newRow("time-out in period 2 at clock minute 7")
        << true << u"+14\n1 0 20\n+1"_s << u"E=38 finish=0 minutes=14 starters=5+5 time-outs=1:13"_s;
    QTest::newRow("time-outs in the first overtime")
        << true << u"+46\n2 0 20\n+4\n1 0 20"_s << u"E=74 finish=0 minutes=45 starters=5+5 time-outs=2:41,1:45"_s;
}

void TestExport::recordsAndMinutes()
{
    QFETCH(bool, started);
    QFETCH(QString, entries);
    QFETCH(QString, summary);
    KeyedMatch m;
    if (started)
        m.start();
    m.play(entries);
    const QntMatch file = readBack(written(MatchExportBuilder(m.db()).build(m.match)));

    QStringList facts{u"E=%1"_s.arg(file.events.size()),
                      u"finish=%1"_s.arg(file.events.back() == QntEvent{3, 0, EvMatchFinish, 0, 0, 0} ? 1 : 0),
                      u"minutes=%1"_s.arg(file.minutes.size())};
    QStringList starters;
    for (size_t i = 1; i <= 10; ++i)
        starters << QString::number(file.events[i].player);
    facts << (starters == QStringList(10, u"-1"_s) ? u"starters=-1x10"_s : u"starters=5+5"_s);
    QStringList timeOuts;
    for (const QntEvent &e : file.events) {
        if (e.code == EvTimeOut)
            timeOuts << u"%1:%2"_s.arg(e.side).arg(e.minute);
        else
            QCOMPARE(e.minute, 0); // only a time-out carries its minute
    }
    if (!timeOuts.isEmpty())
        facts << u"time-outs="_s + timeOuts.join(u',');
    QCOMPARE(facts.join(u' '), summary);

    // The frame of the records and its relation to the stored ones.
    QCOMPARE(file.events.front(), (QntEvent{3, 0, EvMatchStart, 0, 0, 0}));
    for (size_t i = 1; i <= 10; ++i) {
        QCOMPARE(file.events[i].side, i <= 5 ? 1 : 2);
        QCOMPARE(file.events[i].code, EvStarters);
        if (started)
            QCOMPARE(file.events[i].player, i <= 5 ? m.home(int(i - 1)) : m.away(int(i - 6)));
    }
    QCOMPARE(int(file.events.size()), m.records() + 11 + (summary.contains(u"finish=1"_s) ? 1 : 0));
    // Minutes 1..N in order, each with its fives.
    for (size_t t = 0; t < file.minutes.size(); ++t) {
        QCOMPARE(file.minutes[t].minute, int(t + 1));
        QCOMPARE(file.minutes[t].lineups[0].split(u' ').size(), 5);
    }
    QCOMPARE(file.result, u"CLOSED INCORRECTLY"_s); // open in the session: the stored result as it is
}

// ---------------------------------------------------------------- names

void TestExport::namesInTheFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain") << u"Horvat"_s << QByteArray("Horvat");
    QTest::newRow("Serbian letters as Windows-1250")
        << u"Đorđević Čačak Šiškić Žužić"_s
        << QByteArray::fromHex("d0 6f 72 f0 65 76 69 e6 20 c8 61 e8 61 6b 20 8a 69 9a 6b 69 e6 20 8e 75 9e 69 e6");
    QTest::newRow("other Central European letters")
        << u"Zupančič Łódź Ölçer"_s
        << QByteArray::fromHex("5a 75 70 61 6e e8 69 e8 20 a3 f3 64 9f 20 d6 6c e7 65 72");
    QTest::newRow("Turkish G with breve becomes G") << u"Ğökhan"_s << QByteArray::fromHex("47 f6 6b 68 61 6e");
    QTest::newRow("dotless i becomes i") << u"Yıldız"_s << QByteArray("Yildiz");
    QTest::newRow("a letter without a base becomes ?") << u"Æsir"_s << QByteArray("?sir");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestExport::namesInTheFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeQntText(name).toHex(' '), bytes.toHex(' '));
    // What the code page holds comes back as it was.
    if (!name.contains(u'Ğ') && !name.contains(u'ı') && !name.contains(u'Æ'))
        QCOMPARE(DecodeQntText(bytes), name);
}

void TestExport::letterOutsideTheCodePageDoesNotFailTheExport()
{
    // The database keeps Windows-1250 and refuses such a letter...
    KeyedMatch m;
    QVERIFY_THROWS_EXCEPTION(fb::Error, m.db().execute(u"update IGRAC set IME = ?"_s, {u"Ğökhan"_s}));
    // ...but a name that reaches the writer with one is written as near as the code page allows.
    QntPlayer player;
    player.firstName = u"Ğökhan"_s;
    player.surname = u"Yılmaz"_s;
    QntMatch match;
    match.homePlayers.push_back(player);
    const QntMatch back = readBack(written(match));
    QCOMPARE(back.homePlayers.at(0).firstName, u"Gökhan"_s);
    QCOMPARE(back.homePlayers.at(0).surname, u"Yilmaz"_s);
}

void TestExport::officialsAndClubsAsTheMatchNamesThem()
{
    KeyedMatch m;
    auto &db = m.db();
    db.execute(u"insert into SUDIJA (ID_SUDIJA, PREZIME, IME) values (31, ?, ?)"_s, {u"Lukić"_s, u"Goran"_s});
    db.execute(u"insert into SUDIJA (ID_SUDIJA, PREZIME, IME) values (32, ?, ?)"_s, {u"Zupančič"_s, u"Matjaž"_s});
    db.execute(u"insert into DELEGAT (ID_DELEGAT, PREZIME, IME) values (41, ?, ?)"_s, {u"Tomić"_s, u"Dražen"_s});
    db.execute(u"insert into TRENER (ID_TRENER, PREZIME, IME) values (62, ?, ?)"_s, {u"Radončić"_s, u"Senad"_s});
    db.execute(u"update KLUB set EBR = ? where NAZIV = 'Home Club'"_s, {u"K-001"_s});
    db.execute(u"update LIGA set MAINID = 77"_s);
    db.execute(u"update UTAKMICA set ID_SUDIJA1 = 31, ID_SUDIJA2 = 32, ID_SUDIJA3 = null, ID_DELEGAT = 41, "
               "ID_TRENER2 = 62, KOLO = 12, GRAD = ?, MESTO = ?, DATUMVREME = ?, BR_GLEDALACA = 4500, "
               "BOJAD = 255, BOJAG = null, PLAYOFF = 1 where ID_UTAKMICA = ?"_s,
               {u"Čačak"_s, u"Hala Borac"_s, QDateTime(QDate(2026, 3, 14), QTime(18, 30)), m.match});
    db.commit();
    const QntMatch file = readBack(written(MatchExportBuilder(m.db()).build(m.match)));

    QCOMPARE(file.referee1, (QntPerson{true, 31, u"Goran"_s, u"Lukić"_s}));
    QCOMPARE(file.referee2, (QntPerson{true, 32, u"Matjaž"_s, u"Zupančič"_s}));
    QCOMPARE(file.referee3, QntPerson{}); // no third referee: flag 0, key 0, no names
    QCOMPARE(file.delegate, (QntPerson{true, 41, u"Dražen"_s, u"Tomić"_s}));
    QCOMPARE(file.homeCoach, QntPerson{});
    QCOMPARE(file.awayCoach, (QntPerson{true, 62, u"Senad"_s, u"Radončić"_s}));
    QCOMPARE(file.statistician1, QntPerson{});
    QCOMPARE(file.homeRegistration, u"K-001"_s);
    QCOMPARE(file.awayRegistration, QString()); // a club without EBR
    QCOMPARE(file.homeName, u"Home Club"_s);
    QCOMPARE(file.leagueMainId, 77);
    QCOMPARE(file.round, 12);
    QCOMPARE(file.city, u"Čačak"_s);
    QCOMPARE(file.hall, u"Hala Borac"_s);
    QCOMPARE(QntDateTimeValue(file.dateTime), QDateTime(QDate(2026, 3, 14), QTime(18, 30)));
    QCOMPARE(file.dateTime, 46095.0 + 18.5 / 24);
    QCOMPARE(file.audience, 4500);
    QCOMPARE(file.homeColour, 255);
    QCOMPARE(file.awayColour, 0); // no colour stored
    QCOMPARE(file.playoff, 1);
}

namespace {

// The match of the reference file: every kind of field, small enough to
// read byte by byte (tests/publish/data/README.md walks through it).
struct SmallMatch
{
    static constexpr int Match = 9;

    SmallMatch() : session(sb.dm())
    {
        auto &db = sb.dm().db();
        const auto insert = [&](const QString &sql, const QVariantList &values) { db.execute(sql, values); };
        insert(u"insert into LIGA (ID_LIGA, MAINID, NAZIV, LIGTUR, OZNAKA) values (5, 77, ?, 1, ?)"_s,
               {u"Liga Šampiona"_s, u"LŠ"_s});
        insert(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA, EBR) values (11, ?, 5, ?)"_s, {u"Čelik"_s, u"K1"_s});
        insert(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (12, ?, 5)"_s, {u"Željo"_s});
        const QStringList home{u"Đurić"_s, u"Ban"_s, u"Kos"_s, u"Lin"_s, u"Mur"_s, u"Nož"_s};
        for (int i = 0; i < home.size(); ++i)
            insert(u"insert into IGRAC (ID_IGRAC, PREZIME, IME, ID_KLUB, EBR) values (?, ?, ?, 11, ?)"_s,
                   {101 + i, home[i], i == 0 ? u"Nikola"_s : u"A"_s, i == 0 ? u"P7"_s : QVariant()});
        for (int i = 0; i < 5; ++i)
            insert(u"insert into IGRAC (ID_IGRAC, PREZIME, IME, ID_KLUB) values (?, ?, 'B', 12)"_s,
                   {201 + i, u"Gost%1"_s.arg(i + 1)});
        insert(u"insert into SUDIJA (ID_SUDIJA, PREZIME, IME) values (31, ?, ?)"_s, {u"Lukić"_s, u"Goran"_s});
        insert(u"insert into SUDIJA (ID_SUDIJA, PREZIME, IME) values (32, 'Ris', 'Ivo')"_s, {});
        insert(u"insert into DELEGAT (ID_DELEGAT, PREZIME, IME) values (41, 'Tot', 'Ana')"_s, {});
        insert(u"insert into STATISTICARI (ID_STAT, PREZIME, IME) values (51, 'Kralj', 'Maja')"_s, {});
        insert(u"insert into TRENER (ID_TRENER, PREZIME, IME) values (61, 'Pap', 'Zoran')"_s, {});
        insert(u"insert into TRENER (ID_TRENER, PREZIME, IME) values (62, 'Rac', 'Senad')"_s, {});
        insert(u"insert into UTAKMICA (ID_UTAKMICA, NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, ID_SUDIJA1, ID_SUDIJA2, "
               "ID_DELEGAT, ID_STAT1, ID_TRENER1, ID_TRENER2, KOLO, GRAD, MESTO, DATUMVREME, BR_GLEDALACA, BOJAD, "
               "PLAYOFF, REZULTAT) values (?, 'Derbi', 5, 11, 12, 31, 32, 41, 51, 61, 62, 3, 'Zenica', 'Hala', ?, "
               "1200, 255, 1, 'NOT FINISHED')"_s,
               {Match, QDateTime(QDate(2026, 3, 14), QTime(18, 30))});
        for (int i = 0; i < 6; ++i)
            insert(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) values (?, ?, ?, 1, 0)"_s,
                   {101 + i, Match, 4 + i});
        for (int i = 0; i < 5; ++i)
            insert(u"insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) values (?, ?, ?, 0, 0)"_s,
                   {201 + i, Match, 10 + i});
        db.commit();

        session.ResetWorkingTables();
        if (!session.OpenExistingMatch(Match))
            qFatal("the small match did not open");
        session.ResetShowingState();
        for (const EventEntry &e : parseEntries(u"3 0 1\n1 4 2\n1 5 2\n1 6 2\n1 7 2\n1 8 2\n"
                                                "2 10 2\n2 11 2\n2 12 2\n2 13 2\n2 14 2\n+\n"
                                                "1 4 6 3\n2 10 9 6\n1 5 14 13\n2 11 15 6\n1 0 20\n+\n"
                                                "1 4 18 9 30\n2 14 21\n1 9 4\n2 12 17 7"_s)) {
            if (!MatchSession::Recorded(e.code, session.Record(e)))
                qFatal("the small match refused an entry");
        }
        session.Close(false);
    }

    Sandbox sb;
    MatchSession session;
};

} // namespace

void TestExport::referenceFile()
{
    SmallMatch small;
    const QString target = small.sb.file(u"small-match.qnt"_s);
    ExportMatch(small.sb.dm().db(), SmallMatch::Match, target, small.sb.path());
    const QByteArray actual = fileBytes(target);
    const QByteArray expected = fileBytes(QStringLiteral(QUINTARA_EXPORT_REFERENCE));
    if (actual != expected) {
        const QString kept = QDir::temp().filePath(u"small-match-actual.qnt"_s);
        writeFile(kept, actual);
        QFAIL(qPrintable(u"the file differs from the reference (%1 bytes, %2 expected); kept as %3"_s.arg(actual.size())
                             .arg(expected.size())
                             .arg(kept)));
    }
    // The reader gives back exactly what was built.
    QCOMPARE(readBack(actual), MatchExportBuilder(small.sb.dm().db()).build(SmallMatch::Match));
}

void TestExport::eventLogIsReplacedLineByLine()
{
    SmallMatch small;
    const QString log = small.sb.file(EventLogFileName(SmallMatch::Match));
    QCOMPARE(EventLogFileName(SmallMatch::Match), u"temp_exp_9.txt"_s);
    QVERIFY(writeFile(log, QByteArray(5000, 'x'))); // an older, longer log
    ExportMatch(small.sb.dm().db(), SmallMatch::Match, small.sb.file(u"m.qnt"_s), small.sb.path());
    const QByteArray text = fileBytes(log);
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), 33 + 1); // 33 records, each ended by CR LF
    QCOMPARE(lines.first(), QByteArray("A0 3 ; A1 0 ; RES 1 ; A3 0 ; A4 0 ; \r"));
    QCOMPARE(lines[1], QByteArray("A0 1 ; A1 4 ; RES 2 ; A3 0 ; A4 0 ; \r"));
    QVERIFY(lines.contains("A0 1 ; A1 0 ; RES 20 ; A3 0 ; A4 1 ; \r"));
    QVERIFY(lines.contains("A0 1 ; A1 4 ; RES 18 ; A3 9 ; A4 0 ; \r"));
    QCOMPARE(lines.last(), QByteArray());
    QVERIFY(!text.contains('x'));
}

void TestExport::exportTouchesNoMatchNorWorkingTable()
{
    KeyedMatch open; // a console has this match open...
    open.start();
    open.play(u"+3\n1 %1 6 2"_s.arg(open.home(0)));
    const int other = open.desk.createMatch(); // ...and another one is exported beside it
    auto &db = open.db();
    const QString before = open.state();
    QTemporaryDir out;
    ExportMatch(db, other, out.filePath(u"other.qnt"_s), out.path());
    ExportMatch(db, open.match, out.filePath(u"open.qnt"_s), out.path());
    QCOMPARE(open.state(), before);
    QCOMPARE(readBack(fileBytes(out.filePath(u"open.qnt"_s))).result, u"CLOSED INCORRECTLY"_s);
}

void TestExport::numberTooLargeForItsFieldIsRefused()
{
    KeyedMatch m;
    m.db().execute(u"update UTAKMICA set BR_GLEDALACA = 40000 where ID_UTAKMICA = ?"_s, {m.match});
    QTemporaryDir out;
    const QString target = out.filePath(u"m.qnt"_s);
    QVERIFY(writeFile(target, "an older file"));
    try {
        ExportMatch(m.db(), m.match, target, out.path());
        QFAIL("an audience of 40000 was written into a 16-bit field");
    } catch (const ExportError &e) {
        QCOMPARE(e.reason(), u"match %1: audience 40000 does not fit the file's 16-bit field (at most 32767)"_s
                                 .arg(m.match));
    }
    QCOMPARE(fileBytes(target), QByteArray("an older file"));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{u"m.qnt"_s});
}

void TestExport::unwritableTargetLeavesNothing_data()
{
    QTest::addColumn<QString>("target"); // within the output directory
    QTest::addColumn<QString>("prepare");
    QTest::newRow("a directory in its place") << u"m.qnt"_s << u"directory"_s;
    QTest::newRow("no such directory") << u"missing/m.qnt"_s << QString();
    QTest::newRow("a file where its directory should be") << u"plain/m.qnt"_s << u"file"_s;
}

void TestExport::unwritableTargetLeavesNothing()
{
    QFETCH(QString, target);
    QFETCH(QString, prepare);
    KeyedMatch m;
    m.start();
    QTemporaryDir out;
    if (prepare == u"directory"_s)
        QVERIFY(QDir(out.path()).mkdir(target));
    if (prepare == u"file"_s)
        QVERIFY(writeFile(out.filePath(u"plain"_s), "a file"));
    const QStringList before = QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QString path = out.filePath(target);
    try {
        ExportMatch(m.db(), m.match, path, m.sb.path());
        QFAIL("the export reported success");
    } catch (const ExportError &e) {
        QVERIFY2(e.reason().startsWith(u"cannot write %1: "_s.arg(path)), qPrintable(e.reason()));
        QVERIFY2(e.reason().size() > u"cannot write %1: "_s.arg(path).size(), "the reason is given");
        QVERIFY(!e.reason().contains(u'\n'));
    }
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    if (prepare == u"directory"_s)
        QVERIFY(QFileInfo(path).isDir());
}

void TestExport::exportAllGivesEveryMatchItsOwnFile()
{
    KeyedMatch m; // two matches of the same clubs in the same round
    const int second = m.desk.createMatch();
    const int third = m.desk.createMatch();
    m.db().execute(u"update KLUB set NAZIV = 'Home/Away?' where NAZIV = 'Away Club'"_s);
    m.db().execute(u"update UTAKMICA set ID_KLUB1 = ID_KLUB2, KOLO = 4 where ID_UTAKMICA = ?"_s, {third});
    m.db().execute(u"update LIGA set OZNAKA = 'RL'"_s);
    m.db().commit();
    QTemporaryDir out;
    QStringList reported;
    ExportAllMatches(m.db(), out.path(), m.sb.path(), [&](const ExportedFile &file) {
        QVERIFY2(file.error.isEmpty(), qPrintable(file.error));
        reported << u"%1 %2"_s.arg(file.match).arg(QFileInfo(file.fileName).fileName());
    });
    QCOMPARE(reported, (QStringList{u"%1 RLHome Club 0.qnt"_s.arg(m.match),
                                    u"%1 RLHome Club 0_%1.qnt"_s.arg(second),
                                    u"%1 RLHome_Away_ 4.qnt"_s.arg(third)}));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 3);
    QCOMPARE(readBack(fileBytes(out.filePath(u"RLHome Club 0_%1.qnt"_s.arg(second)))).events.size(), size_t(11));
    QVERIFY_THROWS_EXCEPTION(ExportError, ExportAllMatches(m.db(), out.filePath(u"none"_s), m.sb.path(),
                                                           [](const ExportedFile &) {}));
}

// ---------------------------------------------------------------- the reader

void TestExport::readerStopsAtEveryTruncationAndDamage()
{
    KeyedMatch m;
    m.start();
    m.play(u"+2\n1 %1 8 2\n1 0 20"_s.arg(m.home(1)));
    const QByteArray whole = written(MatchExportBuilder(m.db()).build(m.match));
    for (qsizetype n = 0; n < whole.size(); ++n) {
        const auto read = ReadMatchStream(whole.left(n));
        const auto *error = std::get_if<QntReadError>(&read);
        QVERIFY2(error, qPrintable(u"a file cut to %1 bytes was read"_s.arg(n)));
        QVERIFY2(error->offset <= n, qPrintable(error->text()));
    }
    QVERIFY(std::holds_alternative<QntMatch>(ReadMatchStream(whole)));
    // Any single byte damaged: the reader answers, a value or a place and a reason.
    for (qsizetype i = 0; i < whole.size(); ++i) {
        QByteArray damaged = whole;
        damaged[i] = char(~damaged[i]);
        const auto read = ReadMatchStream(damaged);
        if (const auto *error = std::get_if<QntReadError>(&read))
            QVERIFY2(error->offset <= whole.size() && !error->reason.isEmpty(), qPrintable(error->text()));
    }
}

void TestExport::readerNamesTheDamage_data()
{
    // Offsets in a file of a match with no texts, events, players or
    // minutes: marker 0-6, MAINID 7, texts 3 to 7 at 11, 15, 19, 23, 27,
    // round 31, city 33, hall 37, date 41, audience 49, result 51, the
    // persons of 13 bytes from 55 (the third referee at 94), colours 159 and
    // 163, playoff 167, points 169 and 171, E 173, rosters 177 and 181,
    // minutes 185; 189 bytes in all.
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes"); // written at `at`; empty: the file is cut there
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("words");

    QTest::newRow("not a match file") << 4 << QByteArray("X") << 0 << u"marker"_s;
    QTest::newRow("text longer than the file") << 11 << QByteArray::fromHex("e8030000") << 11 << u"3 league"_s;
    QTest::newRow("negative text count") << 15 << QByteArray::fromHex("fbffffff") << 15 << u"4 home club EBR"_s;
    QTest::newRow("flag neither 0 nor 1") << 94 << QByteArray::fromHex("02") << 94 << u"17 third referee: named"_s;
    QTest::newRow("more event records than bytes") << 173 << QByteArray::fromHex("05000000") << 173
                                                   << u"27 event records"_s;
    QTest::newRow("negative roster") << 177 << QByteArray::fromHex("ffffffff") << 177 << u"home players"_s;
    QTest::newRow("cut inside a number") << 50 << QByteArray() << 49 << u"12 audience"_s;
    QTest::newRow("bytes after the end") << 189 << QByteArray::fromHex("00") << 189 << u"follow"_s;
}

void TestExport::readerNamesTheDamage()
{
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    QFETCH(QString, words);
    QByteArray file = written(QntMatch{});
    QCOMPARE(file.size(), 189);
    if (bytes.isEmpty())
        file.truncate(at);
    else if (at == file.size())
        file.append(bytes);
    else
        file.replace(at, bytes.size(), bytes);
    const auto read = ReadMatchStream(file);
    const auto *error = std::get_if<QntReadError>(&read);
    QVERIFY(error);
    QCOMPARE(error->offset, offset);
    QVERIFY2(error->reason.contains(words), qPrintable(error->text()));
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
