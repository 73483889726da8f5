// Random legal matches, seeded: every answer of CHECKACTION, UNDO and
// DELETEACTION is predicted by the C++ model of the rules, and the working
// tables (every counter of every statistic, period and minute line, the
// clock row and the on-court rows) must equal what the model computes from
// the events in force. After corrections and at the end, the tables must also
// equal what RE_OPEN rebuilds.

#include "data/FbClient.h"
#include "rules/MatchGenerator.h"
#include "rules/RulesDesk.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace rules;

namespace {

std::vector<int> minutesOf(const std::vector<Event> &events)
{
    Model m(homeNumbers(), awayNumbers());
    std::vector<int> minutes;
    for (const Event &e : events) {
        m.apply(e);
        minutes.push_back(m.minuteOfLastEvent());
    }
    return minutes;
}

QString describe(const Event &e)
{
    return QStringLiteral("(A0 %1, A1 %2, code %3, A3 %4)").arg(e.a0).arg(e.a1).arg(e.code).arg(e.a3);
}

struct Tally
{
    int matches = 0, events = 0, refusals = 0, undos = 0, deletions = 0, deletionsRefused = 0, overtimes = 0;
};

} // namespace

class TestRulesRandom : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomMatches_data();
    void randomMatches();

private:
    // Plays one match; answers false (after a QFAIL-style message) on a mismatch.
    bool playMatch(quint32 seed, const MatchGenerator::Options &options, bool corrections);
    bool sameAsModel(const Model &model, const QString &when);

    std::unique_ptr<Sandbox> sandbox_;
    std::unique_ptr<Desk> desk_;
    Tally tally_;
};

void TestRulesRandom::initTestCase()
{
    sandbox_ = std::make_unique<Sandbox>();
    desk_ = std::make_unique<Desk>(sandbox_->dm().db());
}

void TestRulesRandom::cleanupTestCase()
{
    qInfo("%d matches, %d events, %d refusals, %d undos, %d deletions (%d refused), %d overtime starts",
          tally_.matches, tally_.events, tally_.refusals, tally_.undos, tally_.deletions, tally_.deletionsRefused,
          tally_.overtimes);
    desk_.reset();
    sandbox_.reset();
}

void TestRulesRandom::randomMatches_data()
{
    QTest::addColumn<quint32>("firstSeed");
    QTest::addColumn<int>("matches");
    QTest::addColumn<double>("wildShare");
    QTest::addColumn<bool>("corrections");

    QTest::newRow("legal matches") << quint32(1000) << 50 << 0.0 << false;
    QTest::newRow("legal matches with undo and deletion") << quint32(2000) << 35 << 0.0 << true;
    QTest::newRow("entries the rules refuse mixed in") << quint32(3000) << 35 << 0.06 << true;
}

void TestRulesRandom::randomMatches()
{
    QFETCH(quint32, firstSeed);
    QFETCH(int, matches);
    QFETCH(double, wildShare);
    QFETCH(bool, corrections);

    MatchGenerator::Options options;
    options.wildShare = wildShare;
    options.exitShare = 0.2;
    for (int i = 0; i < matches; ++i)
        if (!playMatch(firstSeed + quint32(i), options, corrections))
            return;
}

bool TestRulesRandom::sameAsModel(const Model &model, const QString &when)
{
    const QString expected = model.dump();
    const QString actual = desk_->dump();
    if (expected == actual)
        return true;
    QTest::qFail(qPrintable(QStringLiteral("working tables differ from the model %1: %2")
                                .arg(when, firstDifference(expected, actual))),
                 __FILE__, __LINE__);
    return false;
}

bool TestRulesRandom::playMatch(quint32 seed, const MatchGenerator::Options &options, bool corrections)
{
    const QString where = QStringLiteral("seed %1").arg(seed);
    desk_->newMatch();
    MatchGenerator generator(seed, options);
    QRandomGenerator &random = generator.random();
    Model model(homeNumbers(), awayNumbers());
    std::vector<Event> events; // in force, as recorded
    int step = 0;

    auto fail = [&](const QString &text) {
        QTest::qFail(qPrintable(QStringLiteral("%1, step %2: %3").arg(where).arg(step).arg(text)), __FILE__,
                     __LINE__);
        return false;
    };

    while (step++ < 5000) {
        if (corrections && events.size() > 12 && random.generateDouble() < 0.012) {
            // UNDO: the newest event in force, unless play has ended and it is
            // not the minute change that ended it.
            const Event newest = events.back();
            int expected = 1;
            if (model.ended()) {
                if (newest.code == 22)
                    expected = events[events.size() - 2].code == 3 ? 1 : 3;
                else if (newest.code != 3)
                    expected = 3;
            }
            const int got = desk_->undo();
            if (got != expected)
                return fail(QStringLiteral("UNDO of %1 answered %2, expected %3").arg(describe(newest)).arg(got).arg(expected));
            if (got == 1) {
                events.pop_back();
                model = Model::replay(homeNumbers(), awayNumbers(), events);
                ++tally_.undos;
            }
            if (!sameAsModel(model, where + QStringLiteral(" after UNDO")))
                return false;
        }
        if (corrections && events.size() > 12 && random.generateDouble() < 0.008) {
            // The stored events in force are the ones recorded; they give the key.
            const std::vector<Event> stored = desk_->eventsInForce();
            if (stored.size() != events.size())
                return fail(QStringLiteral("%1 events in force, expected %2").arg(stored.size()).arg(events.size()));
            const size_t index = size_t(random.bounded(int(events.size())));
            std::vector<Event> remaining = events;
            remaining.erase(remaining.begin() + long(index));
            int refused = -1;
            Model after = Model::replay(homeNumbers(), awayNumbers(), remaining, &refused);
            bool removed = true;
            QString error;
            try {
                desk_->deleteAction(stored[index].id);
            } catch (const fb::Error &e) {
                removed = false;
                error = e.text();
            }
            if (removed != (refused < 0))
                return fail(QStringLiteral("DELETEACTION of %1 %2, expected %3 (%4)")
                                .arg(describe(events[index]), removed ? "succeeded" : "was refused",
                                     refused < 0 ? "success" : "refusal at " + describe(remaining[size_t(refused)]),
                                     error));
            if (!removed && !error.contains(QLatin1String("QNT_EVENT_NOT_REMOVABLE")))
                return fail(QStringLiteral("DELETEACTION refused without its exception: %1").arg(error));
            if (removed) {
                events = remaining;
                model = after;
                ++tally_.deletions;
            } else {
                ++tally_.deletionsRefused;
            }
            if (!sameAsModel(model, where + QStringLiteral(" after DELETEACTION")))
                return false;
        }

        const std::optional<Event> next = generator.next(model);
        if (!next)
            break;
        Event e = *next;
        const int verdict = model.validate(e);
        const bool overtimeStart = model.ended();
        const int expected = verdict == 1 ? model.apply(e) : verdict;
        const int got = desk_->check(e);
        if (got != expected)
            return fail(QStringLiteral("CHECKACTION %1 answered %2, expected %3 (clock %4 period %5 end %6)")
                            .arg(describe(e))
                            .arg(got)
                            .arg(expected)
                            .arg(model.clock())
                            .arg(model.period())
                            .arg(model.ended()));
        if (verdict == 1) {
            e.a4 = model.minuteOfLastEvent();
            events.push_back(e);
            ++tally_.events;
            if (overtimeStart)
                ++tally_.overtimes;
        } else {
            ++tally_.refusals;
        }
    }

    if (!sameAsModel(model, where + QStringLiteral(" at the end")))
        return false;
    // The events in force, with the minutes in A4, as the model has them.
    const std::vector<Event> stored = desk_->eventsInForce();
    const std::vector<int> minutes = minutesOf(events);
    if (stored.size() != events.size())
        return fail(QStringLiteral("%1 events in force, expected %2").arg(stored.size()).arg(events.size()));
    for (size_t i = 0; i < stored.size(); ++i)
        if (stored[i].a0 != events[i].a0 || stored[i].a1 != events[i].a1 || stored[i].code != events[i].code ||
            stored[i].a3 != events[i].a3 || stored[i].a4 != minutes[i])
            return fail(QStringLiteral("event %1 stored as %2 with A4 %3, expected %4 with A4 %5")
                            .arg(i)
                            .arg(describe(stored[i]))
                            .arg(stored[i].a4)
                            .arg(describe(events[i]))
                            .arg(minutes[i]));
    // RE_OPEN builds the same tables from the events in force.
    const QString before = desk_->dump();
    desk_->reOpen();
    const QString rebuilt = desk_->dump();
    if (before != rebuilt)
        return fail(QStringLiteral("RE_OPEN differs: %1").arg(firstDifference(before, rebuilt)));
    desk_->db().commit();
    ++tally_.matches;
    return true;
}

QTEST_GUILESS_MAIN(TestRulesRandom)
#include "test_rules_random.moc"
