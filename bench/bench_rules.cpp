// Figures of the match rules engine (db/R_rules_engine.sql.in), on an embedded
// database made the way the tests make theirs:
//   - CHECKACTION calls per second over a whole generated match;
//   - RE_OPEN of a match of about 600 events while the database holds 2,000
//     other matches;
//   - UNDO late in that match, and DELETEACTION of an event early, in the
//     middle and late in it.
// Every step ends with a full commit, as the console's entries do: under
// commit retaining old record versions pile up and every figure grows.
// Usage: bench_rules [other matches, default 2000]. It starts from the test
// template database (ctest -R make_test_template makes it).

#include "data/FbClient.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace rules;

namespace {

struct Figures
{
    double median = 0, p99 = 0, max = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double share) { return ms[size_t(share * double(ms.size() - 1))]; };
    return {at(0.5), at(0.99), ms.back()};
}

void print(const char *what, int samples, const Figures &f)
{
    std::printf("%-52s %3d runs: median %7.2f ms   p99 %7.2f ms   max %7.2f ms\n", what, samples, f.median, f.p99,
                f.max);
}

// Records a generated match through CHECKACTION; answers the calls made and
// the milliseconds they took.
std::pair<int, double> recordMatch(Desk &desk, quint32 seed, int minimumEvents)
{
    for (;; ++seed) {
        desk.newMatch();
        MatchGenerator::Options options;
        options.overtimeShare = 0.0;
        MatchGenerator generator(seed, options);
        Model model(homeNumbers(), awayNumbers());
        int calls = 0;
        QElapsedTimer timer;
        timer.start();
        while (const auto e = generator.next(model)) {
            const int verdict = model.validate(*e);
            if (verdict == 1)
                model.apply(*e);
            desk.check(*e);
            ++calls;
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        desk.db().commit();
        if (int(desk.eventsInForce().size()) >= minimumEvents)
            return {calls, ms};
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QUINTARA_TEST_TEMPLATE_DIR"))
        qputenv("QUINTARA_TEST_TEMPLATE_DIR", QUINTARA_BUILD_TEMPLATE_DIR);
    const int otherMatches = argc > 1 ? std::max(0, atoi(argv[1])) : 2000;

    Sandbox sandbox;
    fb::Connection &db = sandbox.dm().db();
    Desk desk(db);

    // 1. CHECKACTION over whole matches.
    int calls = 0;
    double ms = 0;
    for (quint32 seed = 1; seed <= 5; ++seed) {
        const auto [c, t] = recordMatch(desk, seed * 100, 0);
        calls += c;
        ms += t;
    }
    std::printf("CHECKACTION: %d calls over 5 matches in %.0f ms: %.0f calls/s (%.3f ms per call)\n", calls, ms,
                calls / (ms / 1000.0), ms / calls);

    // 2. The measured match, then 2,000 other matches beside it.
    recordMatch(desk, 4242, 600);
    const int match = desk.match();
    const int events = int(desk.eventsInForce().size());
    QElapsedTimer timer;
    timer.start();
    db.execute(QStringLiteral(
                   "insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) "
                   "with recursive N (I) as (select 1 from RDB$DATABASE union all select I + 1 from N where I < 50) "
                   "select S.ID_IGRAC, ? + A.I * 50 + B.I, S.DRES, S.DOMGOST, S.SEKUNDA "
                   "from N A cross join N B cross join SASTAV S "
                   "where S.ID_UTAKMICA = ? and A.I * 50 + B.I <= ? + 50"),
               {match, match, otherMatches});
    db.execute(QStringLiteral(
                   "insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO) "
                   "with recursive N (I) as (select 1 from RDB$DATABASE union all select I + 1 from N where I < 50) "
                   "select ? + A.I * 50 + B.I, K.A0, K.A1, K.SIFRA, K.A3, K.A4, K.UNDO "
                   "from N A cross join N B cross join AKCIJE K "
                   "where K.ID_UTAKMICA = ? and A.I * 50 + B.I <= ? + 50"),
               {match, match, otherMatches});
    db.commit();
    const int allEvents = db.scalar(QStringLiteral("select count(*) from AKCIJE")).toInt();
    std::printf("Database: %d other matches copied in %.1f s; AKCIJE holds %d rows\n", otherMatches,
                double(timer.elapsed()) / 1000.0, allEvents);
    db.execute(QStringLiteral("set statistics index AKCIJE_UTAKMICA"));
    db.commit();

    // 3. RE_OPEN of the measured match.
    std::vector<double> times;
    for (int i = 0; i < 15; ++i) {
        timer.restart();
        desk.reOpen();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        db.commit();
    }
    std::printf("Match %d: %d events in force\n", match, events);
    print(qPrintable(QStringLiteral("RE_OPEN (%1 others beside)").arg(otherMatches)), int(times.size()),
          summarise(times));

    // 4. UNDO late in the match, in its last minute: of a minute change, of a
    //    shot (both withdrawn in place) and of a substitution (rebuilt).
    if (desk.eventsInForce().back().code == 22)
        desk.undo();
    if (desk.clock().kraj == 1)
        desk.undo(); // the minute change that ended play: the clock now runs in minute 40
    db.commit();
    auto measureUndo = [&](const char *what, const Event &e) {
        std::vector<double> undoTimes;
        for (int i = 0; i < 15; ++i) {
            const int recorded = desk.check(e);
            db.commit();
            timer.restart();
            const int ok = desk.undo();
            undoTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
            db.commit();
            if (recorded < 1 || recorded > 66 || ok != 1)
                std::printf("%s: CHECKACTION %d, UNDO %d\n", what, recorded, ok);
        }
        print(what, int(undoTimes.size()), summarise(undoTimes));
    };
    const int shooter = desk.court(1).front();
    int bench = 0;
    for (int d : homeNumbers())
        if (desk.isTeam(1, d) == 2 && desk.counter(1, d, "LG") + desk.counter(1, d, "TG") < 5)
            bench = d;
    measureUndo("UNDO of the minute change that ends play", {3, 0, 3, 0});
    measureUndo("UNDO of a made two in the last minute", {1, shooter, 6, 2});
    measureUndo("UNDO of a substitution in the last minute", {1, shooter, 18, bench});

    // 5. DELETEACTION of a missed shot early, in the middle and late in the
    //    match (each rolled back): the events after it are checked again.
    const std::vector<Event> inForce = desk.eventsInForce();
    std::vector<int> shots;
    for (const Event &e : inForce)
        if (e.code == 7 || e.code == 9)
            shots.push_back(e.id);
    auto measureDelete = [&](const char *what, double from, double to) {
        const size_t first = size_t(from * double(shots.size()));
        const size_t count = std::max<size_t>(1, size_t(to * double(shots.size())) - first);
        std::vector<double> deleteTimes;
        for (size_t i = 0; i < 100; ++i) {
            timer.restart();
            desk.deleteAction(shots[first + i % count]);
            deleteTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
            db.rollback();
        }
        print(what, int(deleteTimes.size()), summarise(deleteTimes));
    };
    if (shots.empty())
        return 0;
    measureDelete("DELETEACTION of a missed shot in the first quarter", 0.0, 0.25);
    measureDelete("DELETEACTION of a missed shot mid-match", 0.4, 0.6);
    measureDelete("DELETEACTION of a missed shot in the last tenth", 0.9, 1.0);
    return 0;
}
