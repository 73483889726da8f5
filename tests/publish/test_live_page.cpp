// The live page of small matches keyed through the console's session: the
// cases that catch real faults as a table of values read back by line and
// position, the text of names, the file's bytes, a random match against its
// box score, that a build touches no row, and the program's --live-page.
#include "common/GameClock.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "publish/KeyedMatch.h"
#include "publish/LivePage.h"
#include "publish/LivePageWriter.h"
#include "publish/SavedQuarters.h"
#include "support/ProgramRun.h"
#include "support/RecordingMessenger.h"
#include "rules/MatchGenerator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The values of the page's DIV `id`, each without the ";" that follows it.
QStringList values(const QStringList &page, const QString &id)
{
    const QString open = u"<DIV id=%1>"_s.arg(id);
    const QString close = u"</DIV>"_s;
    for (const QString &line : page) {
        if (!line.startsWith(open) || !line.endsWith(close))
            continue;
        QStringList list = line.mid(open.size(), line.size() - open.size() - close.size()).split(u';');
        if (list.size() > 1 && list.last().isEmpty())
            list.removeLast();
        return list;
    }
    return {u"<no line %1>"_s.arg(id)};
}

// Checks written as "id:n=value" (the n-th value, from 1) and "id#=count"
// (how many values), separated by spaces. Answers the first that fails.
QString firstFailedCheck(const QStringList &page, const QString &checks)
{
    for (const QString &check : checks.split(u' ', Qt::SkipEmptyParts)) {
        const qsizetype equals = check.indexOf(u'=');
        const QString where = check.left(equals), expected = check.mid(equals + 1);
        QString actual;
        if (where.endsWith(u'#')) {
            actual = QString::number(values(page, where.chopped(1)).size());
        } else {
            const qsizetype colon = where.indexOf(u':');
            actual = values(page, where.left(colon)).value(where.mid(colon + 1).toInt() - 1, u"<none>"_s);
        }
        if (actual != expected)
            return u"%1 is \"%2\""_s.arg(check, actual);
    }
    return {};
}

ProgramRun program(const QString &home, const QStringList &arguments)
{
    return RunProgram(QStringLiteral(QUINTARA_PROGRAM), home, arguments);
}

} // namespace

class TestLivePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void init() { CurrentMatch().reset(); }

    void pageValues_data();
    void pageValues();
    void textsAreWrittenSoAReaderCanUndoThem_data();
    void textsAreWrittenSoAReaderCanUndoThem();
    void fileBytes();
    void randomMatchAgreesWithItsBoxScore();
    void buildTouchesNoRow();
    void programWritesThePage();
    void writerSaysOnceAndWritesWhenTheDirectoryComesBack();
    void readerNeverSeesAHalfWrittenPage();
    void savedQuartersOfTheMatch();
};

void TestLivePage::pageValues_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("change"); // a statement on the match after keying, its one marker the match
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("checks");

    // Value positions: ut 28 period, 29 game minute; d/g 2..9 periods, 10
    // overtime, 11 total, 13 roster, 14 team fouls, 15 time-outs of the half;
    // player lines 1 shirt, 2 surname, 4 points, 28 MINUTA, 30 STARTER, 31
    // AKTER, 32/33 minutes and seconds, 35..56 the chart; du/gu 28 minutes,
    // 57 time-outs of the match. Home shirts are 4..14 and 100, away 9..20.
    QTest::newRow("no events yet")
        << false << QString() << QString()
        << u"ver#=1 ut#=29 ut:8= ut:25= ut:28=1 ut:29=0 d#=16 g#=16 d:2= d:9= d:10= g:10= d:11=0 d:13=12 "
           "d:14=0 d:15=0 d1#=57 d1:1=4 d12:1=00 g12:1=20 du#=58 gu#=58 br_akc#=1 br_akc:1=11 a0#=11 a1#=11 "
           "sifra#=11 a3#=11 a4#=11 a0:1=3 a1:1=0 sifra:1=1 a0:2=1 a1:2=0 sifra:2=2 a0:11=2 sifra:11=2"_s;
    QTest::newRow("starters keyed")
        << true << QString() << QString()
        << u"br_akc:1=22 a1:2=4 a1:6=8 a1:7=9 a1:11=13 sifra:12=1 sifra:13=2 sifra#=22 d1:31=1 d6:31=0 "
           "g5:31=1 g6:31=0"_s;
    QTest::newRow("95 seconds on court")
        << true << QString() << u"+2\n1 4 18 9 25"_s
        << u"d1:28=2 d1:32=1 d1:33=35 d1:31=0 d6:28=0 d6:32=0 d6:33=25 d6:31=1 d2:28=2 du:28=10 "
           "br_akc:1=25 a0:25=1 a1:25=4 sifra:25=18 a3:25=9 a4:25=95 sifra:24=3"_s;
    QTest::newRow("89 seconds on court")
        << true << QString() << u"+2\n1 4 18 9 31"_s
        << u"d1:28=1 d1:32=1 d1:33=29 d6:28=1 d6:32=0 d6:33=31 a4:25=89"_s;
    QTest::newRow("periods over at the end of the second quarter")
        << true << QString() << u"+1\n1 4 6 3\n+11\n2 9 8 1\n+10"_s
        << u"ut:28=3 ut:29=20 d:2=2 d:3=0 d:4= d:10= d:11=2 g:2=0 g:3=3 g:4= g:11=3 d1:4=2 g1:4=3 "
           "d1:39=1 d1:40=1 d1:41=0 du:39=1 du:40=1 g1:47=1 g1:48=1 gu:47=1 gu:48=1 g1:39=0"_s;
    QTest::newRow("a minute change that ends regulation closes with 22")
        << true << QString() << u"+44"_s
        << u"ut:28=4 ut:29=40 d:5=0 d:6= d:10= br_akc:1=67 sifra#=67 a4#=67 a0:67=3 a1:67=0 sifra:67=22 "
           "a3:67=0 sifra:66=3"_s;
    QTest::newRow("a minute change that ends an overtime closes with 22")
        << true << QString() << u"+44\n+7"_s << u"ut:28=5 d:6=0 d:7= br_akc:1=74 sifra:74=22 sifra#=74"_s;
    QTest::newRow("a minute change that ends nothing closes without a code")
        << true << QString() << u"+3"_s << u"br_akc:1=26 a0:26=3 sifra:26= sifra#=26 a1#=26 a4#=26"_s;
    QTest::newRow("time-outs of the first half count together")
        << true << QString() << u"+5\n1 0 20\n+13\n1 0 20"_s << u"ut:28=2 d:15=2 du:57=2 g:15=0"_s;
    QTest::newRow("the second half starts without time-outs")
        << true << QString() << u"+5\n1 0 20\n+22"_s << u"ut:28=3 d:15=0 du:57=1"_s;
    // The rules refuse a second time-out in an overtime; a record of one
    // written beside them still shows as 1.
    QTest::newRow("two time-outs in an overtime are written as 1")
        << true
        << u"INSERT INTO DTT (IDM, RBACTION, HG, NODR, P, M, RES, PAR1, I1) SELECT IDM, RBACTION + 100, HG, NODR, "
           "P, M, RES, PAR1, I1 FROM DTT WHERE IDM = ? AND RES = 20"_s
        << u"+46\n2 0 20"_s << u"ut:28=5 g:15=1 gu:57=2 d:15=0"_s;
    QTest::newRow("overtime points are a pair")
        << true << QString() << u"+46\n1 4 6 1"_s << u"d:5=0 d:6= d:10=2 g:10=0 d:11=2 g:11=0"_s;
    QTest::newRow("a side of eight players")
        << false << u"DELETE FROM SASTAV WHERE ID_UTAKMICA = ? AND DOMGOST = 0 AND DRES > 16"_s << QString()
        << u"g:13=8 g8:1=16 g8#=57 g9#=30 g9:1= g12#=30 d12#=57"_s;
    QTest::newRow("names with ; < > & and %")
        << false
        << u"UPDATE IGRAC SET PREZIME = 'A;B<C>D&E%F' WHERE ID_IGRAC IN "
           "(SELECT ID_IGRAC FROM SASTAV WHERE ID_UTAKMICA = ? AND DOMGOST = 1 AND DRES = 4)"_s
        << QString() << u"d1#=57 d1:2=A%3BB%3CC%3ED%26E%25F d1:4=0"_s;
}

void TestLivePage::pageValues()
{
    QFETCH(bool, started);
    QFETCH(QString, change);
    QFETCH(QString, entries);
    QFETCH(QString, checks);
    KeyedMatch m;
    if (started)
        m.start();
    m.play(entries);
    if (!change.isEmpty())
        m.db().execute(change, {m.match});
    const QStringList page = LivePageBuilder(m.db()).build(m.match);
    const QString failed = firstFailedCheck(page, checks);
    QVERIFY2(failed.isEmpty(), qPrintable(failed));
    // Every page: 37 lines in their order, an empty player line is exactly
    // 30 ";", and the five event lists are as long as br_akc says.
    QCOMPARE(page.size(), 37);
    QCOMPARE(page.first(), u"<DIV id=ver>6.1</DIV>"_s);
    QCOMPARE(page.last(), u"<script language=\"JavaScript\" type=\"text/JavaScript\">parent.pageOK = true;</script>"_s);
    QStringList ids{u"ut"_s, u"d"_s, u"g"_s};
    for (const QString &side : {u"d"_s, u"g"_s}) {
        for (int k = 1; k <= 12; ++k)
            ids << side + QString::number(k);
        ids << side + u'u';
    }
    ids << u"br_akc"_s << u"a0"_s << u"a1"_s << u"sifra"_s << u"a3"_s << u"a4"_s;
    static const QRegularExpression playerLine(u"^<DIV id=[dg]\\d+>"_s);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const QString &line = page[i + 1];
        QVERIFY2(line.startsWith(u"<DIV id=%1>"_s.arg(ids[i])), qPrintable(line));
        if (line.contains(playerLine) && values(page, ids[i]).value(0).isEmpty())
            QCOMPARE(line, u"<DIV id=%1>%2</DIV>"_s.arg(ids[i], QString(30, u';')));
    }
    const QString count = values(page, u"br_akc"_s).value(0);
    for (const QString &list : {u"a0"_s, u"a1"_s, u"sifra"_s, u"a3"_s, u"a4"_s})
        QCOMPARE(QString::number(values(page, list).size()), count);
}

void TestLivePage::textsAreWrittenSoAReaderCanUndoThem_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << u"Petrović"_s << u"Petrović"_s;
    QTest::newRow("a value separator") << u"A;B"_s << u"A%3BB"_s;
    QTest::newRow("markup") << u"<b>&"_s << u"%3Cb%3E%26"_s;
    QTest::newRow("the escape itself") << u"100%3B"_s << u"100%253B"_s;
    QTest::newRow("empty") << QString() << QString();
}

void TestLivePage::textsAreWrittenSoAReaderCanUndoThem()
{
    QFETCH(QString, stored);
    QFETCH(QString, written);
    QCOMPARE(LivePageText(stored), written);
    QCOMPARE(QUrl::fromPercentEncoding(LivePageText(stored).toUtf8()), stored);
}

void TestLivePage::fileBytes()
{
    const QByteArray bytes = LivePageBytes({u"<DIV id=ver>6.1</DIV>"_s, u"<DIV id=d>Čačak;</DIV>"_s});
    QCOMPARE(bytes, QByteArray("<DIV id=ver>6.1</DIV>\r\n<DIV id=d>\xC4\x8C" "a\xC4\x8D" "ak;</DIV>\r\n"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QLatin1String(LivePageFileName));
    WriteLivePage(file, bytes);
    WriteLivePage(file, "second\r\n"); // replaces the page
    QFile read(file);
    QVERIFY(read.open(QIODevice::ReadOnly));
    QCOMPARE(read.readAll(), QByteArray("second\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"data.htm"_s}); // no temporary file left

    const QString missing = dir.filePath(u"gone/data.htm"_s);
    try {
        WriteLivePage(missing, bytes);
        QFAIL("a page was written into a missing directory");
    } catch (const LivePageError &e) {
        QVERIFY2(e.reason().startsWith(u"cannot write %1: "_s.arg(QDir::toNativeSeparators(missing))),
                 qPrintable(e.reason()));
    }
}

void TestLivePage::randomMatchAgreesWithItsBoxScore()
{
    KeyedMatch m;
    rules::Model model(rules::homeNumbers(), rules::awayNumbers());
    rules::MatchGenerator generator(15121, {});
    while (const std::optional<rules::Event> e = generator.next(model)) {
        if (MatchSession::Recorded(e->code, m.session.Record({e->a0, e->a1, e->code, e->a3, 0})))
            model.apply(*e);
    }
    const QStringList page = LivePageBuilder(m.db()).build(m.match);
    const BoxScoreSet box = BoxScoreBuilder(m.db()).build(m.match);
    const auto clock = m.desk.clock();
    const auto sum = [&](const QString &summed, const QString &player, int side, int shirt) {
        return m.db()
            .scalar(u"SELECT SUM(%1) FROM DTT WHERE IDM = ? AND HG = ? AND RES = 18 AND %2 = ?"_s.arg(summed, player),
                    {m.match, side, shirt})
            .toInt();
    };
    for (int side : {1, 2}) {
        const QString prefix = side == 1 ? u"d"_s : u"g"_s;
        const BoxSide &rows = box.side(side);
        QCOMPARE(rows.players.size(), size_t(12));
        for (size_t k = 0; k < rows.players.size(); ++k) {
            const QStringList line = values(page, prefix + QString::number(k + 1));
            const BoxRow &row = rows.players[k];
            const int shirt = row.count(BC_DRES);
            QCOMPARE(line.value(0), shirt == 100 ? u"00"_s : QString::number(shirt));
            QCOMPARE(line.value(1), row.surname);
            for (BoxColumn column : {BC_POENI, BC_SKOKOVI, BC_ASISTENCIJA, BC_LG})
                QCOMPARE(line.value(column + 2), QString::number(row.count(column)));
            // Time on court worked out apart: the game seconds of the
            // changes that took him off less those that brought him on,
            // and the time played when the rules engine has him on court.
            int seconds = sum(u"PAR2"_s, u"NODR"_s, side, shirt) - sum(u"PAR2"_s, u"PAR1"_s, side, shirt);
            if (std::ranges::count(m.desk.court(side), shirt) > 0)
                seconds += ElapsedSeconds(clock.period, clock.vreme, 0);
            QCOMPARE(line.value(31), QString::number(seconds / 60));
            QCOMPARE(line.value(32), QString::number(seconds % 60));
            QCOMPARE(line.value(27), QString::number((seconds + 30) / 60));
        }
        const QStringList totals = values(page, prefix + u'u');
        QCOMPARE(totals.value(3), QString::number(rows.totals.count(BC_POENI)));
    }
    const QString count = values(page, u"br_akc"_s).value(0);
    QVERIFY(count.toInt() > 400);
    for (const QString &list : {u"a0"_s, u"a1"_s, u"sifra"_s, u"a3"_s, u"a4"_s})
        QCOMPARE(QString::number(values(page, list).size()), count);
}

void TestLivePage::buildTouchesNoRow()
{
    KeyedMatch open; // a console has this match open...
    open.start();
    open.play(u"+3\n1 4 6 2\n+1\n1 4 18 9 30"_s);
    const int other = open.desk.createMatch(); // ...and another one's page is built beside it
    auto &db = open.db();
    const QString before = open.state();
    LivePageBuilder(db).build(other);
    const QStringList page = LivePageBuilder(db).build(open.match);
    QCOMPARE(open.state(), before);
    QCOMPARE(values(page, u"d1"_s).value(27), u"4"_s); // MINUTA of the page alone: 3 min 30 s
}

void TestLivePage::programWritesThePage()
{
    auto m = std::make_unique<KeyedMatch>();
    m->start();
    m->play(u"+2\n1 5 6 4\n+1\n2 0 20"_s);
    const QByteArray expected = LivePageBytes(LivePageBuilder(m->db()).build(m->match));
    const int match = m->match;
    m->session.Close(true);
    m->sb.closeDm(); // the program opens the database itself
    const QString home = m->sb.path();
    const QString target = m->sb.file(u"page.htm"_s);

    ProgramRun run = program(home, {u"--live-page"_s, u"--match"_s, QString::number(match), u"--out"_s, target});
    QCOMPARE(run.exitCode, 0);
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), expected);

    run = program(home, {u"--live-page"_s, u"--match"_s, QString::number(match)});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);

    run = program(home, {u"--live-page"_s, u"--match"_s, u"999"_s, u"--out"_s, m->sb.file(u"none.htm"_s)});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errors, u"live page failed: match 999: there is no match 999\n"_s);
    QVERIFY(!QFile::exists(m->sb.file(u"none.htm"_s)));
    run = program(home, {u"--live-page"_s});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errors.count(u'\n'), 1);
}

void TestLivePage::writerSaysOnceAndWritesWhenTheDirectoryComesBack()
{
    KeyedMatch m;
    m.start();
    RecordingMessenger messages;
    const QString directory = m.sb.file(u"live"_s);
    LivePageWriter writer(m.db(), [&] { return m.match; }, directory);
    writer.setInterval(20);
    QCOMPARE(writer.fileName(), QDir(directory).filePath(u"data.htm"_s));
    writer.write();
    QTRY_COMPARE_WITH_TIMEOUT(messages.texts().size(), 1, 2000);
    QTest::qWait(200); // ticks that fail again, silently
    QCOMPARE(messages.texts().size(), 1);
    QVERIFY2(messages.texts()[0].contains(QDir::toNativeSeparators(writer.fileName()) + u": "_s),
             qPrintable(messages.texts()[0]));

    m.play(u"+1"_s);
    const QByteArray page = LivePageBytes(LivePageBuilder(m.db()).build(m.match));
    QVERIFY(QDir().mkpath(directory)); // the directory comes back: a tick writes the match as it is now
    const auto written = [&] {
        QFile file(writer.fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE_WITH_TIMEOUT(written(), page, 2000);
    QCOMPARE(messages.texts().size(), 1);

    QVERIFY(QDir(directory).removeRecursively()); // a new failure is said again, once
    QTRY_COMPARE_WITH_TIMEOUT(messages.texts().size(), 2, 2000);
    QTest::qWait(100);
    QCOMPARE(messages.texts().size(), 2);
}

void TestLivePage::readerNeverSeesAHalfWrittenPage()
{
    KeyedMatch m;
    m.start();
    QTemporaryDir directory;
    LivePageWriter writer(m.db(), [&] { return m.match; }, directory.path());
    QSignalSpy written(&writer, &LivePageWriter::pageWritten);
    const auto writeOne = [&] {
        const qsizetype before = written.size();
        writer.write();
        return QTest::qWaitFor([&] { return written.size() > before; }, 2000);
    };
    QVERIFY(writeOne());
    // Another process reads the page's last line over and over while pages
    // are written; a missing or cut page would show another line.
    QProcess reader;
    reader.start(u"sh"_s, {u"-c"_s, u"while :; do tail -n 1 \"$0\" || echo MISSING; done"_s, writer.fileName()});
    QVERIFY(reader.waitForStarted());
    for (int minute = 0; minute < 40; ++minute) {
        m.play(u"+1"_s);
        for (int i = 0; i < 4; ++i)
            QVERIFY(writeOne());
    }
    QTest::qWait(50);
    reader.kill();
    reader.waitForFinished();
    const QList<QByteArray> lines = reader.readAllStandardOutput().split('\n');
    QVERIFY(lines.size() > 100);
    const QByteArray script = "<script language=\"JavaScript\" type=\"text/JavaScript\">parent.pageOK = true;</script>\r";
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) // the last may be cut by the kill
        QCOMPARE(lines[i], script);
    QCOMPARE(reader.readAllStandardError(), QByteArray());
}

void TestLivePage::savedQuartersOfTheMatch()
{
    QTemporaryDir directory;
    QCOMPARE(SavedQuarterFiles(directory.filePath(u"missing"_s), u"KK Čakovec"_s, u"Brčko"_s), QStringList());
    const QStringList names{
        u"7_KK Cakovec_VS_Brcko_Period_2.jpeg"_s, u"7_KK CAKOVEC_VS_BRCKO_Period_1.jpeg"_s, // case aside
        u"7_KK Cakovec_VS_Brcko_Period_3.jpg"_s,                                        // not ".jpeg"
        u"8_KK Cakovec_VS_Zadar_Period_1.jpeg"_s,                                       // another match
        u"7_KK Cakovec_VS_Brcko_Period_4.jpeg.txt"_s};
    for (const QString &name : names) {
        QFile file(directory.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(directory.path()).mkdir(u"9_KK Cakovec_VS_Brcko_Period_1.jpeg"_s)); // a directory
    QCOMPARE(SavedQuarterFiles(directory.path(), u"KK Čakovec"_s, u"Brčko"_s),
             QStringList({u"7_KK CAKOVEC_VS_BRCKO_Period_1.jpeg"_s, u"7_KK Cakovec_VS_Brcko_Period_2.jpeg"_s}));
}

QTEST_GUILESS_MAIN(TestLivePage)
#include "test_live_page.moc"
