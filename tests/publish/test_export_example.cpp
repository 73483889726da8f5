// The export of a whole match: the example match replayed through the
// console, exported, read back and compared with what the console shows for
// it; then the program's own --export, --export-all and --read-qnt, also
// onto a filesystem that is full or read-only.
#include "common/GameClock.h"
#include "common/MatchState.h"
#include "console/MatchSession.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "data/StatLines.h"
#include "matchscript/MatchScript.h"
#include "matchscript/widgets/MatchReplay.h"
#include "publish/MatchExport.h"
#include "publish/QntReader.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <unistd.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QntMatch readBack(const QString &fileName)
{
    const auto read = ReadMatchStream(fileBytes(fileName));
    if (const auto *error = std::get_if<QntReadError>(&read))
        qFatal("%s does not read back: %s", qPrintable(fileName), qPrintable(error->text()));
    return std::get<QntMatch>(read);
}

// The reading of a minute of regulation time, worked out apart from the
// clock arithmetic under test: period t div 10 (plus 1 unless t is a
// multiple of 10), clock minute 10 - t mod 10 (0 for a multiple of 10).
ClockReading regulationReading(int t)
{
    return {t / 10 + (t % 10 != 0 ? 1 : 0), t % 10 != 0 ? 10 - t % 10 : 0};
}

QString joined(const CourtNumbers &five)
{
    QStringList numbers;
    for (int shirt : five)
        numbers << QString::number(shirt);
    return numbers.join(u' ');
}

struct Run
{
    int exitCode = -1;
    QString out, errors;
};

// The program itself, on the data directory `home`.
Run program(const QString &home, const QStringList &arguments, const QString &shell = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QUINTARA_HOME"_s, home);
    process.setProcessEnvironment(environment);
    if (shell.isEmpty())
        process.start(QStringLiteral(QUINTARA_PROGRAM), arguments);
    else
        process.start(shell, arguments);
    if (!process.waitForFinished(120000))
        qFatal("the program did not end");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestExportExample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void headerAsTheMatchRowHoldsIt();
    void eventRecordsAreTheStoredRecordsInOrder();
    void playerRecordsAsTheConsoleShowsThem();
    void minuteRecordsAsTheConsoleShowsThem();
    void programExportsAndReads();
    void programOnAFullOrReadOnlyFilesystem_data();
    void programOnAFullOrReadOnlyFilesystem();

private:
    // The match opened as the console opens it, which rebuilds the rules
    // engine's working tables for it; closed as play ended.
    MatchSession &openInConsole();

    std::unique_ptr<Sandbox> sb_;
    std::unique_ptr<MatchSession> session_;
    int match_ = -1;
    QString file_;
    QntMatch exported_;
    QString resultBefore_;
};

void TestExportExample::initTestCase()
{
    sb_ = std::make_unique<Sandbox>();
    QFile script(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    QVERIFY(script.open(QIODevice::ReadOnly));
    const auto parsed = ParseMatchScript(QString::fromUtf8(script.readAll()));
    QVERIFY(std::holds_alternative<MatchScript>(parsed));
    sb_->dm();
    const MatchReplay::Outcome outcome = MatchReplay().Run(std::get<MatchScript>(parsed));
    QVERIFY(outcome.succeeded());
    match_ = outcome.matchId;
    auto &db = sb_->dm().db();
    resultBefore_ = db.scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {match_}).toString();

    // The export first, then the console opens the match to show its figures.
    file_ = sb_->file(u"example.qnt"_s);
    ExportMatch(db, match_, file_, sb_->path());
    exported_ = readBack(file_);
    QCOMPARE(db.scalar(u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {match_}).toString(), resultBefore_);
}

MatchSession &TestExportExample::openInConsole()
{
    if (session_)
        session_->Close(true);
    session_ = std::make_unique<MatchSession>(sb_->dm());
    session_->ResetWorkingTables();
    if (!session_->OpenExistingMatch(match_))
        qFatal("the console did not open the example");
    session_->ResetShowingState();
    return *session_;
}

void TestExportExample::headerAsTheMatchRowHoldsIt()
{
    auto &db = sb_->dm().db();
    fb::Query row(db, u"select L.MAINID, L.NAZIV, H.NAZIV, G.NAZIV, H.EBR, G.EBR, U.KOLO, U.GRAD, U.MESTO, "
                      "U.BR_GLEDALACA, U.BOJAD, U.BOJAG, U.PLAYOFF, U.ID_SUDIJA1, U.ID_SUDIJA2, U.ID_SUDIJA3, "
                      "U.ID_DELEGAT, U.ID_STAT1, U.ID_STAT2, U.ID_TRENER1, U.ID_TRENER2, U.DATUMVREME "
                      "from UTAKMICA U join LIGA L on L.ID_LIGA = U.ID_LIGA join KLUB H on H.ID_KLUB = U.ID_KLUB1 "
                      "join KLUB G on G.ID_KLUB = U.ID_KLUB2 where U.ID_UTAKMICA = ?"_s);
    row.exec({match_});
    QVERIFY(row.next());
    const QntMatch &f = exported_;
    QCOMPARE(f.marker, u"QNT"_s);
    QCOMPARE(f.leagueMainId, row.value(0).toInt());
    QCOMPARE(f.leagueName, u"Adriatic Probe League"_s);
    QCOMPARE(f.homeName, u"KK Dubrava Čakovec"_s);
    QCOMPARE(f.awayName, u"KK Posavina Brčko"_s);
    QCOMPARE(f.homeRegistration, row.value(4).toString());
    QCOMPARE(f.awayRegistration, row.value(5).toString());
    QCOMPARE(f.round, 7);
    QCOMPARE(f.city, u"Čakovec"_s);
    QCOMPARE(f.hall, u"Gradska dvorana Čakovec"_s);
    QCOMPARE(f.audience, 2350);
    QCOMPARE(QntDateTimeValue(f.dateTime), QDateTime(QDate(2026, 11, 14), QTime(19, 0)));
    QCOMPARE(f.result, resultBefore_);
    QCOMPARE(f.result, u"76 : 73"_s);
    QCOMPARE(f.homeColour, row.value(10).toInt());
    QCOMPARE(f.awayColour, row.value(11).toInt());
    QCOMPARE(f.playoff, row.value(12).toInt());
    QCOMPARE(f.homePoints, 76);
    QCOMPARE(f.awayPoints, 73);

    // Every official of the match row, with the names of his own table.
    const std::pair<const QntPerson *, QString> people[] = {
        {&f.referee1, u"SUDIJA"_s},      {&f.referee2, u"SUDIJA"_s},       {&f.referee3, u"SUDIJA"_s},
        {&f.delegate, u"DELEGAT"_s},     {&f.statistician1, u"STATISTICARI"_s}, {&f.statistician2, u"STATISTICARI"_s},
        {&f.homeCoach, u"TRENER"_s},     {&f.awayCoach, u"TRENER"_s}};
    const int keyColumn[] = {13, 14, 15, 16, 17, 18, 19, 20};
    const QString keyName[] = {u"ID_SUDIJA"_s, u"ID_SUDIJA"_s, u"ID_SUDIJA"_s, u"ID_DELEGAT"_s,
                               u"ID_STAT"_s,   u"ID_STAT"_s,   u"ID_TRENER"_s, u"ID_TRENER"_s};
    QStringList names;
    for (int i = 0; i < 8; ++i) {
        const int key = row.value(keyColumn[i]).toInt();
        QVERIFY2(key > 0, "the example names every official");
        fb::Query person(db, u"select IME, PREZIME from %1 where %2 = ?"_s.arg(people[i].second, keyName[i]));
        person.exec({key});
        QVERIFY(person.next());
        QCOMPARE(*people[i].first, (QntPerson{true, key, person.value(0).toString(), person.value(1).toString()}));
        names << people[i].first->surname;
    }
    QCOMPARE(names, (QStringList{u"Lukić"_s, u"Zupančič"_s, u"Hadžić"_s, u"Tomić"_s, u"Kralj"_s, u"Grgić"_s,
                                 u"Matijević"_s, u"Radončić"_s}));
}

void TestExportExample::eventRecordsAreTheStoredRecordsInOrder()
{
    auto &db = sb_->dm().db();
    fb::Query rows(db, u"select HG, NODR, RES, PAR1, P, M from DTT where IDM = ? order by RBACTION"_s);
    rows.exec({match_});
    std::vector<QntEvent> stored;
    while (rows.next()) {
        const int code = rows.value(2).toInt();
        stored.push_back({qint16(rows.value(0).toInt()), qint16(rows.value(1).toInt()), qint16(code),
                          qint16(rows.value(3).toInt()),
                          qint16(code == EvTimeOut ? GameMinute(rows.value(4).toInt(), rows.value(5).toInt()) : 0),
                          0});
    }
    QVERIFY(stored.size() > 400);
    const std::vector<QntEvent> &events = exported_.events;
    QCOMPARE(events.size(), stored.size() + 12); // start, ten starters, the records, the finish
    QCOMPARE(std::vector<QntEvent>(events.begin() + 11, events.end() - 1), stored);
    QCOMPARE(events.front(), (QntEvent{3, 0, EvMatchStart, 0, 0, 0}));
    QCOMPARE(events.back(), (QntEvent{3, 0, EvMatchFinish, 0, 0, 0}));
    const auto timeOuts = std::count_if(events.begin(), events.end(), [](const QntEvent &e) { return e.minute != 0; });
    QCOMPARE(timeOuts, std::count_if(stored.begin(), stored.end(), [](const QntEvent &e) { return e.code == EvTimeOut; }));

    // The starters are the console's starters set of each side, which the
    // console shows as "END" once play is over.
    MatchSession &session = openInConsole();
    QCOMPARE(session.PeriodText(), u"END"_s);
    for (int side : {1, 2}) {
        session.MarkStarters(side);
        QList<int> console(CurrentMatch().starters(side).begin(), CurrentMatch().starters(side).end());
        QList<int> file;
        for (int place = 0; place < 5; ++place) {
            const QntEvent &e = events[size_t(1 + 5 * (side - 1) + place)];
            QCOMPARE(e.side, side);
            QCOMPARE(e.code, EvStarters);
            file << e.player;
        }
        std::sort(console.begin(), console.end());
        std::sort(file.begin(), file.end());
        QCOMPARE(file, console);
    }
}

void TestExportExample::playerRecordsAsTheConsoleShowsThem()
{
    auto &db = sb_->dm().db();
    MatchSession &session = openInConsole();
    session.StoreOnCourtNumbers();
    const BoxScoreSet box = session.BoxScore();
    EventStatistics statistics(db);
    EventStore store(db);
    StatLines lines(db);
    PlusMinus plusMinus(db);
    for (int side : {1, 2}) {
        const std::vector<QntPlayer> &players = side == 1 ? exported_.homePlayers : exported_.awayPlayers;
        const BoxSide &console = box.side(side);
        QCOMPARE(players.size(), console.players.size());
        QCOMPARE(int(players.size()), 12);
        for (size_t i = 0; i < players.size(); ++i) {
            const QntPlayer &p = players[i];
            const BoxRow &row = console.players[i];
            const int shirt = row.count(BC_DRES);
            const QString who = u"side %1 No %2"_s.arg(side).arg(shirt);
            QCOMPARE(p.shirtNumber, shirt);
            QCOMPARE(p.surname, row.surname);
            QCOMPARE(p.firstName, row.firstName);
            QCOMPARE(p.registration, row.registration);
            QCOMPARE(p.freeThrows, (QntShots{qint16(row.count(BC_P1OK)), qint16(row.count(BC_P1UK))}));
            QCOMPARE(p.defensiveRebounds, row.count(BC_SKOKO));
            QCOMPARE(p.offensiveRebounds, row.count(BC_SKOKN));
            QCOMPARE(p.assists, row.count(BC_ASISTENCIJA));
            QCOMPARE(p.steals, row.count(BC_UKRADENA));
            QCOMPARE(p.blocks, row.count(BC_BLOK));
            QCOMPARE(p.shotsBlocked, row.count(BC_BLOKNA));
            QCOMPARE(p.fouls, row.count(BC_LG));
            QCOMPARE(p.technicalFouls, row.count(BC_TG));
            QCOMPARE(p.foulsDrawn, row.count(BC_LGNA));

            // The shot charts as the reports count them, and their sums as the box score does.
            const auto chart = statistics.FieldGoalChart(match_, side, shirt);
            QList<int> fileChart;
            int made2 = 0, attempted2 = 0, made3 = 0, attempted3 = 0;
            for (const QntShots &zone : p.twoPointZones) {
                fileChart << zone.made << zone.attempted;
                made2 += zone.made;
                attempted2 += zone.attempted;
            }
            for (const QntShots &zone : p.threePointZones) {
                fileChart << zone.made << zone.attempted;
                made3 += zone.made;
                attempted3 += zone.attempted;
            }
            QCOMPARE(fileChart, QList<int>(chart.begin(), chart.end()));
            QCOMPARE(made2, row.count(BC_P2OK));
            QCOMPARE(attempted2, row.count(BC_P2UK));
            QCOMPARE(made3, row.count(BC_P3OK));
            QCOMPARE(attempted3, row.count(BC_P3UK));

            // Turnovers by type, 5 with 13 and 7 with 12.
            const QList<QList<int>> groups{{1}, {2}, {3}, {4}, {5, 13}, {6}, {7, 12}, {8}, {9}, {10}, {11}};
            int turnovers = 0;
            for (int g = 0; g < groups.size(); ++g) {
                int count = 0;
                for (int type : groups[g])
                    count += store.CountWhere(DttCondition(match_, side)
                                                  .equals(DttColumn::NODR, shirt)
                                                  .equals(DttColumn::RES, EvTurnover)
                                                  .equals(DttColumn::PAR1, type));
                QCOMPARE(p.turnovers[size_t(g)], count);
                turnovers += count;
            }
            QCOMPARE(turnovers, row.count(BC_IZGUBLJENA));

            // Plus-minus as kept under the player's roster position, and the
            // playing time as the console counts it, rounded.
            QCOMPARE(p.plusMinus, plusMinus.PlusMinusValue(match_, side, RosterPosition(side, shirt), shirt));
            const int seconds = lines.PlayingTime(match_, side, shirt, CurrentMatch().elapsedSecondsMarker).seconds;
            QVERIFY2(p.minutes == seconds / 60 + (seconds % 60 >= 30 ? 1 : 0), qPrintable(who));
        }
    }
    // Somebody of each side played, scored, and was on court for a swing of the score.
    for (const auto *players : {&exported_.homePlayers, &exported_.awayPlayers}) {
        QVERIFY(std::any_of(players->begin(), players->end(), [](const QntPlayer &p) { return p.minutes > 20; }));
        QVERIFY(std::any_of(players->begin(), players->end(), [](const QntPlayer &p) { return p.plusMinus != 0; }));
    }
}

void TestExportExample::minuteRecordsAsTheConsoleShowsThem()
{
    auto &db = sb_->dm().db();
    openInConsole();
    // The minutes the rules engine keeps lines for, after it rebuilt the match.
    const int lastMinute = db.scalar(u"select max(VREME) from MINUTID where VREME > 0"_s).toInt();
    QCOMPARE(lastMinute, 40);
    QCOMPARE(int(exported_.minutes.size()), lastMinute);
    EventStatistics statistics(db);
    EventStore store(db);
    for (int t = 1; t <= lastMinute; ++t) {
        const QntMinute &m = exported_.minutes[size_t(t - 1)];
        const ClockReading reading = regulationReading(t);
        QCOMPARE(m.minute, t);
        store.LoadLineupAtMinute(reading.period, reading.minute);
        for (int side : {1, 2}) {
            const size_t s = size_t(side - 1);
            QCOMPARE(m.points[s], statistics.PointsUntil(match_, reading.period, reading.minute, side));
            QCOMPARE(m.timeOuts[s], store.CountWhere(DttCondition(match_, side)
                                                         .equals(DttColumn::RES, EvTimeOut)
                                                         .equals(DttColumn::P, reading.period)
                                                         .equals(DttColumn::M, reading.minute)));
            QCOMPARE(m.lineups[s], joined(CurrentMatch().lineupAtMinute(side)));
        }
    }
    QCOMPARE(exported_.minutes.back().points, (std::array<qint16, 2>{76, 73}));
    int timeOuts = 0;
    for (const QntMinute &m : exported_.minutes)
        timeOuts += m.timeOuts[0] + m.timeOuts[1];
    QVERIFY(timeOuts >= 4);
}

void TestExportExample::programExportsAndReads()
{
    session_->Close(true);
    session_.reset();
    sb_->closeDm(); // the program opens the database itself
    const QString home = sb_->path();
    const QString target = sb_->file(u"by the program.qnt"_s);
    Run run = program(home, {u"--export"_s, QString::number(match_), target});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"match %1: %2\n"_s.arg(match_).arg(target));
    QCOMPARE(fileBytes(target), fileBytes(file_));

    run = program(home, {u"--read-qnt"_s, target});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QntMatchText(exported_));
    QVERIFY(run.out.contains(u"27 event records: %1\n"_s.arg(exported_.events.size())));
    QVERIFY(run.out.contains(u"5 home club: \"KK Dubrava Čakovec\"\n"_s));

    // Failures: one line with the reason, a status other than 0, no file.
    run = program(home, {u"--export"_s, u"999"_s, sb_->file(u"none.qnt"_s)});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errors, u"export failed: there is no match 999\n"_s);
    QVERIFY(!QFile::exists(sb_->file(u"none.qnt"_s)));
    run = program(home, {u"--export"_s, u"seven"_s, sb_->file(u"none.qnt"_s)});
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.errors.count(u'\n'), 1);
    QFile cut(sb_->file(u"cut.qnt"_s));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(fileBytes(target).left(5000));
    cut.close();
    run = program(home, {u"--read-qnt"_s, cut.fileName()});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.startsWith(cut.fileName() + u": byte "_s), qPrintable(run.errors));
    QCOMPARE(run.errors.count(u'\n'), 1);
    QVERIFY(run.out.isEmpty());

    const QString all = sb_->file(u"all"_s);
    QVERIFY(QDir().mkpath(all));
    run = program(home, {u"--export-all"_s, all});
    QCOMPARE(run.exitCode, 0);
    const QString proposed = QDir(all).filePath(u"KK Dubrava Čakovec 7.qnt"_s);
    QCOMPARE(run.out, u"match %1: %2\n"_s.arg(match_).arg(proposed));
    QCOMPARE(fileBytes(proposed), fileBytes(file_));
    QVERIFY(QFile::exists(sb_->file(EventLogFileName(match_))));
}

void TestExportExample::programOnAFullOrReadOnlyFilesystem_data()
{
    QTest::addColumn<QString>("mount"); // what the small filesystem goes through before the export
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << u"true"_s << u"No space left on device"_s;
    QTest::newRow("read-only") << u"mount -o remount,ro \"$1\""_s << u"Existing file %1/m.qnt is not writable"_s;
}

void TestExportExample::programOnAFullOrReadOnlyFilesystem()
{
    QFETCH(QString, mount);
    QFETCH(QString, reason);
    sb_->closeDm();
    const QString tiny = sb_->file(u"tiny-%1"_s.arg(QTest::currentDataTag()).replace(u' ', u'-'));
    QVERIFY(QDir().mkpath(tiny));
    // A filesystem of two pages in a mount namespace of its own, which ends with the shell.
    const QString script = u"mount -t tmpfs -o size=8k tmpfs \"$1\" || exit 97; "
                           "printf 'an older file' > \"$1/m.qnt\"; %1 || exit 98; "
                           "\"$2\" --export \"$3\" \"$1/m.qnt\"; echo \"status $?\"; ls -A \"$1\"; cat \"$1/m.qnt\""_s
                               .arg(mount);
    const QStringList namespaceFlags = geteuid() == 0 ? QStringList{u"-m"_s} : QStringList{u"-r"_s, u"-m"_s};
    const Run run = program(sb_->path(), namespaceFlags + QStringList{u"sh"_s, u"-c"_s, script, u"sh"_s, tiny,
                                                                      QStringLiteral(QUINTARA_PROGRAM),
                                                                      QString::number(match_)},
                            u"unshare"_s);
    if (run.exitCode == 97 || run.exitCode == -1 || run.errors.contains(u"unshare:"_s))
        QSKIP("this machine lets no test mount a small filesystem");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, u"status 1\nm.qnt\nan older file"_s); // the old file alone, as it was
    QCOMPARE(run.errors, u"export failed: cannot write %1/m.qnt: %2\n"_s.arg(tiny, reason.arg(tiny)));
}

QTEST_MAIN(TestExportExample)
#include "test_export_example.moc"
