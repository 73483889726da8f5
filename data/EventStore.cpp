#include "data/EventStore.h"

#include "common/GameClock.h"
#include "common/MatchState.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"


int LineupSnapshotKey(int period, int clockMinute)
{
    return 100 + GameMinute(period, clockMinute);
}

QString DttColumnName(DttColumn column)
{
    switch (column) {
    case DttColumn::HG: return QStringLiteral("HG");
    case DttColumn::NODR: return QStringLiteral("NODR");
    case DttColumn::P: return QStringLiteral("P");
    case DttColumn::M: return QStringLiteral("M");
    case DttColumn::RES: return QStringLiteral("RES");
    case DttColumn::PAR1: return QStringLiteral("PAR1");
    case DttColumn::PAR2: return QStringLiteral("PAR2");
    case DttColumn::PAR4: return QStringLiteral("PAR4");
    case DttColumn::DTYPE: return QStringLiteral("DTYPE");
    case DttColumn::I1: return QStringLiteral("I1");
    case DttColumn::I2: return QStringLiteral("I2");
    case DttColumn::RBACTION: return QStringLiteral("RBACTION");
    case DttColumn::ISBONUS: return QStringLiteral("ISBONUS");
    case DttColumn::STARTER: return QStringLiteral("STARTER");
    case DttColumn::LGTYPE: return QStringLiteral("LGTYPE");
    }
    return {};
}

// ------------------------------------------------------------ DttCondition

DttCondition::DttCondition(int match)
{
    clauses_ << QStringLiteral("(IDM = ?)");
    params_ << match;
}

DttCondition::DttCondition(int match, int side) : DttCondition(match)
{
    equals(DttColumn::HG, side);
}

DttCondition &DttCondition::test(DttColumn column, const char *comparison, int value)
{
    clauses_ << QStringLiteral("(%1 %2 ?)").arg(DttColumnName(column), QLatin1String(comparison));
    params_ << value;
    return *this;
}

DttCondition &DttCondition::equals(DttColumn column, int value) { return test(column, "=", value); }
DttCondition &DttCondition::atLeast(DttColumn column, int value) { return test(column, ">=", value); }
DttCondition &DttCondition::atMost(DttColumn column, int value) { return test(column, "<=", value); }

DttCondition &DttCondition::oneOf(DttColumn column, std::initializer_list<int> values)
{
    QStringList markers;
    for (int value : values) {
        markers << QStringLiteral("?");
        params_ << value;
    }
    clauses_ << QStringLiteral("(%1 IN (%2))").arg(DttColumnName(column), markers.join(QStringLiteral(", ")));
    return *this;
}

DttCondition &DttCondition::upToClockMinute(int period, int clockMinute)
{
    clauses_ << QStringLiteral("((P < ?) OR ((P = ?) AND (M >= ?)))");
    params_ << period << period << clockMinute;
    return *this;
}

DttCondition &DttCondition::filter(const EventFilter &events)
{
    if (events.fromPeriod)
        atLeast(DttColumn::P, *events.fromPeriod);
    if (events.toPeriod)
        atMost(DttColumn::P, *events.toPeriod);
    if (events.attackType)
        equals(DttColumn::PAR4, *events.attackType);
    if (events.defenceType)
        equals(DttColumn::DTYPE, *events.defenceType);
    if (events.inBonus)
        equals(DttColumn::ISBONUS, *events.inBonus ? 1 : 0);
    if (events.starters)
        equals(DttColumn::STARTER, *events.starters ? 1 : 0);
    return *this;
}

QString DttCondition::sql() const
{
    return QStringLiteral("WHERE ") + clauses_.join(QStringLiteral(" AND "));
}

// -------------------------------------------------------------- EventStore

EventStore::EventStore(fb::Connection &db) : db_(db) {}

void EventStore::InsertEventRecord(const EventRecord &r)
{
    db_.execute(QStringLiteral("INSERT INTO DTT (IDM, RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, PAR4, DTYPE, I1, I2, "
                               "S1, ISBONUS, STARTER, LGTYPE) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {r.match, r.number, r.side, r.player, r.period, r.clockMinute, r.code, r.parameter, r.elapsedSeconds,
                 r.attackType, r.defenceType, r.pointsMade, r.pointsMissed, r.stamp, r.inBonus, r.starter,
                 r.foulType});
}

std::vector<EventRow> EventStore::EventRowsAfter(int match, int afterNumber)
{
    fb::Query rows(db_, QStringLiteral("SELECT RBACTION, HG, NODR, RES, PAR1 FROM DTT "
                                       "WHERE (IDM = ?) AND (RBACTION > ?) ORDER BY RBACTION"));
    rows.exec({match, afterNumber});
    auto optional = [](const QVariant &v) { return v.isValid() ? std::optional<int>(v.toInt()) : std::nullopt; };
    std::vector<EventRow> found;
    while (rows.next())
        found.push_back({rows.value(0).toInt(), optional(rows.value(1)), optional(rows.value(2)),
                         optional(rows.value(3)), optional(rows.value(4))});
    return found;
}

bool EventStore::CopyEventToDeleted(int match, int eventNumber) { return toDeleted(match, eventNumber, false); }

bool EventStore::DeleteEventRecord(int match, int eventNumber) { return toDeleted(match, eventNumber, true); }

bool EventStore::toDeleted(int match, int eventNumber, bool deleting)
{
    // One statement: the copy and the deletion happen together or not at
    // all, and on a server it is one round trip.
    const QString copy = QStringLiteral(
        "INSERT INTO DTT_DEL (IDM, RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, PAR3, "
        "PAR4, DTYPE, I1, I2, S1, ISBONUS, STARTER, LGTYPE) "
        "SELECT IDM, RBACTION, COALESCE(HG, 0), COALESCE(NODR, 0), COALESCE(P, 0), "
        "COALESCE(M, 0), COALESCE(RES, 0), COALESCE(PAR1, 0), COALESCE(PAR2, 0), 1, "
        "COALESCE(PAR4, 0), COALESCE(DTYPE, 0), COALESCE(I1, 0), COALESCE(I2, 0), "
        "COALESCE(S1, ''), COALESCE(ISBONUS, 0), COALESCE(STARTER, 0), "
        "COALESCE(LGTYPE, 0) "
        "FROM DTT WHERE (IDM = :M) AND (RBACTION = :N);");
    const QString deletion =
        deleting ? QStringLiteral("DELETE FROM DTT WHERE (IDM = :M) AND (RBACTION = :N);") : QString();
    try {
        return db_.scalar(QStringLiteral("EXECUTE BLOCK (M INTEGER = ?, N INTEGER = ?) RETURNS (DONE INTEGER) AS "
                                         "BEGIN DONE = 0; "
                                         "IF ((SELECT COUNT(*) FROM DTT WHERE (IDM = :M) AND (RBACTION = :N)) = 1) "
                                         "THEN BEGIN %1 %2 DONE = 1; END SUSPEND; END")
                              .arg(copy, deletion),
                          {match, eventNumber})
                   .toInt() == 1;
    } catch (const fb::Error &) {
        return false;
    }
}

int EventStore::MaxEventNumber(int match)
{
    try {
        return db_.scalar(QStringLiteral("SELECT MAX(RBACTION) FROM DTT WHERE (IDM = ?)"), {match}).toInt();
    } catch (const fb::Error &) {
        return 0;
    }
}

int EventStore::LastEventPeriod(int match)
{
    try {
        return db_.scalar(QStringLiteral("SELECT MAX(P) FROM DTT WHERE (IDM = ?)"), {match}).toInt();
    } catch (const fb::Error &) {
        return 0;
    }
}

void EventStore::LoadLineupAtMinute(int period, int clockMinute)
{
    const int key = LineupSnapshotKey(period, clockMinute);
    for (int side : {1, 2}) {
        CourtNumbers &lineup = CurrentMatch().lineupAtMinute(side);
        lineup.fill(0);
        try {
            fb::Query rows(db_, QStringLiteral("SELECT FIRST 5 DRES FROM %1 WHERE (VREME = ?) ORDER BY ID_PETORKA DESC")
                                    .arg(side == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI")));
            rows.exec({key});
            for (int place = CourtSize - 1; place >= 0 && rows.next(); --place)
                lineup[size_t(place)] = rows.value(0).toInt();
        } catch (const fb::Error &) {
        }
    }
}

int EventStore::CountWhere(const DttCondition &condition)
{
    try {
        return db_.scalar(QStringLiteral("SELECT COUNT(*) FROM DTT ") + condition.sql(), condition.params()).toInt();
    } catch (const fb::Error &) {
        return 0;
    }
}

std::array<int, 2> EventStore::CountBySide(const DttCondition &condition)
{
    std::array<int, 2> counts{};
    try {
        fb::Query rows(db_, QStringLiteral("SELECT HG, COUNT(*) FROM DTT ") + condition.sql() +
                                QStringLiteral(" AND (HG IN (1, 2)) GROUP BY HG"));
        rows.exec(condition.params());
        while (rows.next())
            counts[rows.value(0).toInt() == 1 ? 0 : 1] = rows.value(1).toInt();
    } catch (const fb::Error &) {
        return {};
    }
    return counts;
}

int EventStore::SumWhere(DttColumn summed, const DttCondition &condition)
{
    try {
        return db_.scalar(QStringLiteral("SELECT SUM(%1) FROM DTT ").arg(DttColumnName(summed)) + condition.sql(),
                          condition.params())
            .toInt();
    } catch (const fb::Error &) {
        return 0;
    }
}

std::vector<EventCount> EventStore::CountByPlayer(const DttCondition &condition)
{
    return countGrouped(DttColumn::NODR, condition);
}

std::vector<EventCount> EventStore::CountByParameter(const DttCondition &condition)
{
    return countGrouped(DttColumn::PAR1, condition);
}

std::vector<EventCount> EventStore::countGrouped(DttColumn key, const DttCondition &condition)
{
    std::vector<EventCount> groups;
    try {
        const QString column = DttColumnName(key);
        fb::Query rows(db_, QStringLiteral("SELECT HG, %1, RES, COUNT(*) FROM DTT %2 AND (%1 IS NOT NULL) "
                                           "GROUP BY HG, %1, RES ORDER BY HG, %1, RES")
                                .arg(column, condition.sql()));
        rows.exec(condition.params());
        while (rows.next())
            groups.push_back({rows.value(0).toInt(), rows.value(1).toInt(), rows.value(2).toInt(),
                              rows.value(3).toInt()});
    } catch (const fb::Error &) {
        groups.clear();
    }
    return groups;
}

// --------------------------------------------------------- EventStatistics

EventStatistics::EventStatistics(fb::Connection &db) : db_(db), store_(db) {}

EventStatistics::FieldGoalCounts EventStatistics::FieldGoalChart(int match, int side, int shirtNumber)
{
    return fieldGoals(DttCondition(match, side).equals(DttColumn::NODR, shirtNumber));
}

EventStatistics::FieldGoalCounts EventStatistics::SideFieldGoalChart(int match, int side)
{
    return fieldGoals(DttCondition(match, side));
}

EventStatistics::FieldGoalCounts EventStatistics::fieldGoals(DttCondition condition)
{
    // Three-point zones in chart order; zone 5 is inside the arc.
    static constexpr std::array<int, 5> ThreePointZones{1, 2, 3, 4, 6};
    std::array<int, 7> twoMade{}, twoMissed{}, threeMade{}, threeMissed{};
    const DttCondition shots = condition.oneOf(DttColumn::RES, {EvMade2, EvMiss2, EvMade3, EvMiss3});
    for (const EventCount &g : store_.CountByParameter(shots)) {
        if (g.key < 1 || g.key > 6)
            continue;
        switch (g.code) {
        case EvMade2: twoMade[size_t(g.key)] += g.count; break;
        case EvMiss2: twoMissed[size_t(g.key)] += g.count; break;
        case EvMade3: threeMade[size_t(g.key)] += g.count; break;
        case EvMiss3: threeMissed[size_t(g.key)] += g.count; break;
        }
    }
    FieldGoalCounts chart{};
    size_t at = 0;
    for (size_t zone = 1; zone <= 6; ++zone) {
        chart[at++] = twoMade[zone];
        chart[at++] = twoMade[zone] + twoMissed[zone];
    }
    for (int zone : ThreePointZones) {
        chart[at++] = threeMade[size_t(zone)];
        chart[at++] = threeMade[size_t(zone)] + threeMissed[size_t(zone)];
    }
    return chart;
}

int EventStatistics::CountByCode(int match, int side, int code)
{
    return store_.CountWhere(DttCondition(match, side).equals(DttColumn::RES, code));
}

int EventStatistics::TimeOuts(int match, int side)
{
    return CountByCode(match, side, EvTimeOut);
}

int EventStatistics::TimeOutsInHalf(int match, int side, int period)
{
    DttCondition timeOuts = DttCondition(match, side).equals(DttColumn::RES, EvTimeOut);
    if (period <= 2)
        timeOuts.oneOf(DttColumn::P, {1, 2});
    else if (period <= RegularPeriods)
        timeOuts.oneOf(DttColumn::P, {3, 4});
    else
        timeOuts.equals(DttColumn::P, period);
    return store_.CountWhere(timeOuts);
}

std::array<int, 2> EventStatistics::TeamFouls(int match, int period)
{
    DttCondition fouls = DttCondition(match).oneOf(DttColumn::RES, {EvPersonalFoul, EvTechnicalPlayer});
    if (period >= RegularPeriods)
        fouls.atLeast(DttColumn::P, RegularPeriods);
    else
        fouls.equals(DttColumn::P, period);
    return store_.CountBySide(fouls);
}

int EventStatistics::RosterSize(int match, int side)
{
    try {
        const QString sides = side == 2 ? QStringLiteral("DOMGOST IN (0, 2)") : QStringLiteral("DOMGOST = ?");
        QVariantList params{match};
        if (side != 2)
            params << side;
        return db_.scalar(QStringLiteral("SELECT COUNT(DRES) FROM SASTAV WHERE (ID_UTAKMICA = ?) AND (%1)").arg(sides),
                          params)
            .toInt();
    } catch (const fb::Error &) {
        return 0;
    }
}

int EventStatistics::FoulsOfType(int match, int side, int foulType, std::optional<int> shirtNumber)
{
    DttCondition fouls = DttCondition(match, side).equals(DttColumn::LGTYPE, foulType);
    if (shirtNumber)
        fouls.equals(DttColumn::NODR, *shirtNumber);
    return store_.CountWhere(fouls);
}

int EventStatistics::PointsByAttackType(int match, int side, int shirtNumber, std::optional<int> code,
                                        std::optional<int> attackType)
{
    return shotSum(DttColumn::I1, match, side, shirtNumber, code, attackType);
}

int EventStatistics::MissesByAttackType(int match, int side, int shirtNumber, std::optional<int> code,
                                        std::optional<int> attackType)
{
    return shotSum(DttColumn::I2, match, side, shirtNumber, code, attackType);
}

int EventStatistics::shotSum(DttColumn points, int match, int side, int shirtNumber, std::optional<int> code,
                             std::optional<int> attackType)
{
    DttCondition shots = DttCondition(match, side).equals(DttColumn::NODR, shirtNumber);
    if (code)
        shots.equals(DttColumn::RES, *code);
    if (attackType)
        shots.equals(DttColumn::PAR4, *attackType);
    return store_.SumWhere(points, shots);
}

std::array<int, 2> EventStatistics::MatchPoints(int match)
{
    std::array<int, 2> points{};
    try {
        fb::Query sums(db_, QStringLiteral("SELECT HG, SUM(I1) FROM DTT WHERE (IDM = ?) AND (HG IN (1, 2)) GROUP BY HG"));
        sums.exec({match});
        while (sums.next())
            points[size_t(sums.value(0).toInt() - 1)] = sums.value(1).toInt();
    } catch (const fb::Error &) {
    }
    return points;
}

int EventStatistics::PointsInPeriod(int match, int period, int side)
{
    return store_.SumWhere(DttColumn::I1, DttCondition(match, side).equals(DttColumn::P, period));
}

int EventStatistics::PointsUntil(int match, int period, int clockMinute, int side)
{
    return store_.SumWhere(DttColumn::I1, DttCondition(match, side).upToClockMinute(period, clockMinute));
}

int EventStatistics::PointsUntilMinute(int match, int gameMinute, int side)
{
    const int regularEnd = RegularPeriods * QuarterMinutes;
    if (gameMinute > regularEnd)
        return store_.SumWhere(DttColumn::I1, DttCondition(match, side).atLeast(DttColumn::P, RegularPeriods + 1));
    const ClockReading end = ClockOfGameMinute(gameMinute);
    return PointsUntil(match, end.period, end.minute, side);
}

int EventStatistics::PointsUntilEvent(int match, int side, int eventNumber)
{
    return store_.SumWhere(DttColumn::I1, DttCondition(match, side).atMost(DttColumn::RBACTION, eventNumber));
}

// ---------------------------------------------------------------- Savepoint

Savepoint::Savepoint(fb::Connection &db) : db_(db)
{
    // Unique names, so that units may nest.
    static int serial = 0;
    name_ = QStringLiteral("QNT_UNIT_%1").arg(++serial);
    db_.execute(QStringLiteral("SAVEPOINT ") + name_);
}

Savepoint::~Savepoint()
{
    if (released_)
        return;
    try {
        db_.execute(QStringLiteral("ROLLBACK TO SAVEPOINT ") + name_);
        db_.execute(QStringLiteral("RELEASE SAVEPOINT ") + name_ + QStringLiteral(" ONLY"));
    } catch (const fb::Error &) {
    }
}

void Savepoint::release()
{
    db_.execute(QStringLiteral("RELEASE SAVEPOINT ") + name_ + QStringLiteral(" ONLY"));
    released_ = true;
}
