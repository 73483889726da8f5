#include "data/StatLines.h"

#include "common/MatchState.h"
#include "data/ActionCodes.h"
#include "data/Efficiency.h"
#include "data/EventStore.h"
#include "data/FbClient.h"

#include <QSet>

#include <span>

namespace {

constexpr std::array<int, 6> TwoPointZones{1, 2, 3, 4, 5, 6};
constexpr std::array<int, 5> ThreePointZones{1, 2, 3, 4, 6}; // zone 5 is inside the arc

// The counter of shots of one value from one zone, made ("OK") or attempted ("UK"): P23OK.
QString zoneColumn(int shotValue, int zone, const char *kind)
{
    return QStringLiteral("P%1%2%3").arg(shotValue).arg(zone).arg(QLatin1String(kind));
}

QStringList zoneColumns(int shotValue, std::span<const int> zones, const char *kind)
{
    QStringList columns;
    for (int zone : zones)
        columns << zoneColumn(shotValue, zone, kind);
    return columns;
}

int counterSum(const StatLine &line, const QStringList &columns)
{
    int total = 0;
    for (const QString &column : columns)
        total += line.counter(column);
    return total;
}

QString lineTable(int side)
{
    return side == 1 ? QStringLiteral("STATDOMACI") : QStringLiteral("STATGOSTI");
}

QString courtTable(int side)
{
    return side == 1 ? QStringLiteral("PETORKADOM") : QStringLiteral("PETORKAGOSTI");
}

size_t sideIndex(int side) { return side == 1 ? 0 : 1; }

StatLine readLine(const fb::Query &row, int firstCounter)
{
    StatLine line;
    const QStringList &columns = StatLine::CounterColumns();
    for (int i = 0; i < columns.size(); ++i)
        line.setCounter(columns[i], row.value(firstCounter + i).toInt());
    return line;
}

} // namespace

int TruncatedPercent(int made, int attempted)
{
    return attempted > 0 ? 100 * made / attempted : 0;
}

// ---------------------------------------------------------------- StatLine

const QStringList &StatLine::CounterColumns()
{
    static const QStringList columns = [] {
        QStringList c{QStringLiteral("P1OK"), QStringLiteral("P1UK")};
        c << zoneColumns(2, TwoPointZones, "OK") << zoneColumns(2, TwoPointZones, "UK")
          << zoneColumns(3, ThreePointZones, "OK") << zoneColumns(3, ThreePointZones, "UK");
        c << QStringLiteral("SKOKO") << QStringLiteral("SKOKN") << QStringLiteral("ASISTENCIJA")
          << QStringLiteral("UKRADENA");
        for (int type = 1; type <= 11; ++type)
            c << QStringLiteral("IZG%1").arg(type);
        c << QStringLiteral("BLOK") << QStringLiteral("BLOKNA") << QStringLiteral("LG") << QStringLiteral("TG")
          << QStringLiteral("LGNA") << QStringLiteral("MINUTA");
        return c;
    }();
    return columns;
}

int StatLine::P2OK() const
{
    static const QStringList columns = zoneColumns(2, TwoPointZones, "OK");
    return counterSum(*this, columns);
}
int StatLine::P2UK() const
{
    static const QStringList columns = zoneColumns(2, TwoPointZones, "UK");
    return counterSum(*this, columns);
}
int StatLine::P3OK() const
{
    static const QStringList columns = zoneColumns(3, ThreePointZones, "OK");
    return counterSum(*this, columns);
}
int StatLine::P3UK() const
{
    static const QStringList columns = zoneColumns(3, ThreePointZones, "UK");
    return counterSum(*this, columns);
}
int StatLine::P1PROC() const
{
    return TruncatedPercent(counter(QStringLiteral("P1OK")), counter(QStringLiteral("P1UK")));
}
int StatLine::P2PROC() const { return TruncatedPercent(P2OK(), P2UK()); }
int StatLine::P3PROC() const { return TruncatedPercent(P3OK(), P3UK()); }
int StatLine::PIZIGREOK() const { return P2OK() + P3OK(); }
int StatLine::PIZIGREUK() const { return P2UK() + P3UK(); }
int StatLine::P23PROC() const { return TruncatedPercent(PIZIGREOK(), PIZIGREUK()); }
int StatLine::POENI() const { return counter(QStringLiteral("P1OK")) + 2 * P2OK() + 3 * P3OK(); }
int StatLine::IZGUBLJENA() const
{
    static const QStringList columns = [] {
        QStringList c;
        for (int type = 1; type <= 11; ++type)
            c << QStringLiteral("IZG%1").arg(type);
        return c;
    }();
    return counterSum(*this, columns);
}
int StatLine::SKOKOVI() const { return counter(QStringLiteral("SKOKO")) + counter(QStringLiteral("SKOKN")); }

int StatLine::INDEKS() const
{
    auto c = [this](const char *name) { return counter(QLatin1String(name)); };
    return EfficiencyIndex({.p1Made = c("P1OK"), .p1Attempted = c("P1UK"), .p2Made = P2OK(), .p2Attempted = P2UK(),
                            .p3Made = P3OK(), .p3Attempted = P3UK(), .rebounds = SKOKOVI(),
                            .assists = c("ASISTENCIJA"), .steals = c("UKRADENA"), .turnovers = IZGUBLJENA(),
                            .blocks = c("BLOK"), .shotsBlocked = c("BLOKNA"), .fouls = c("LG"), .technicals = c("TG"),
                            .foulsDrawn = c("LGNA")});
}

int StatLine::field(const QString &name) const
{
    static const QHash<QString, int (StatLine::*)() const> derived = {
        {QStringLiteral("P2OK"), &StatLine::P2OK},           {QStringLiteral("P2UK"), &StatLine::P2UK},
        {QStringLiteral("P3OK"), &StatLine::P3OK},           {QStringLiteral("P3UK"), &StatLine::P3UK},
        {QStringLiteral("P1PROC"), &StatLine::P1PROC},       {QStringLiteral("P2PROC"), &StatLine::P2PROC},
        {QStringLiteral("P3PROC"), &StatLine::P3PROC},       {QStringLiteral("PIZIGREOK"), &StatLine::PIZIGREOK},
        {QStringLiteral("PIZIGREUK"), &StatLine::PIZIGREUK}, {QStringLiteral("P23PROC"), &StatLine::P23PROC},
        {QStringLiteral("POENI"), &StatLine::POENI},         {QStringLiteral("IZGUBLJENA"), &StatLine::IZGUBLJENA},
        {QStringLiteral("SKOKOVI"), &StatLine::SKOKOVI},     {QStringLiteral("INDEKS"), &StatLine::INDEKS},
    };
    if (name == QLatin1String("ID_STAT"))
        return ID_STAT;
    if (name == QLatin1String("DRES"))
        return DRES;
    if (const auto it = derived.constFind(name); it != derived.cend())
        return (this->*it.value())();
    return counter(name);
}

QList<StatLineField> StatLineFields()
{
    // Captions a basketball person reads without a legend; the stored
    // column's name is the field's name.
    QList<StatLineField> fields = {
        {QStringLiteral("ID_STAT"), QStringLiteral("ID_STAT")},
        {QStringLiteral("DRES"), QStringLiteral("No")},
        {QStringLiteral("POENI"), QStringLiteral("PTS")},
        {QStringLiteral("P1OK"), QStringLiteral("FTM")},
        {QStringLiteral("P1UK"), QStringLiteral("FTA")},
        {QStringLiteral("P1PROC"), QStringLiteral("FT%")},
        {QStringLiteral("P2OK"), QStringLiteral("2PM")},
        {QStringLiteral("P2UK"), QStringLiteral("2PA")},
        {QStringLiteral("P2PROC"), QStringLiteral("2P%")},
        {QStringLiteral("P3OK"), QStringLiteral("3PM")},
        {QStringLiteral("P3UK"), QStringLiteral("3PA")},
        {QStringLiteral("P3PROC"), QStringLiteral("3P%")},
        {QStringLiteral("PIZIGREOK"), QStringLiteral("FGM")},
        {QStringLiteral("PIZIGREUK"), QStringLiteral("FGA")},
        {QStringLiteral("P23PROC"), QStringLiteral("FG%")},
        {QStringLiteral("SKOKO"), QStringLiteral("DR")},
        {QStringLiteral("SKOKN"), QStringLiteral("OR")},
        {QStringLiteral("SKOKOVI"), QStringLiteral("REB")},
        {QStringLiteral("ASISTENCIJA"), QStringLiteral("AST")},
        {QStringLiteral("UKRADENA"), QStringLiteral("STL")},
        {QStringLiteral("IZGUBLJENA"), QStringLiteral("TO")},
    };
    for (int type = 1; type <= 11; ++type)
        fields.append({QStringLiteral("IZG%1").arg(type), QStringLiteral("TO t%1").arg(type)});
    fields.append({{QStringLiteral("BLOK"), QStringLiteral("BLK")},
                   {QStringLiteral("BLOKNA"), QStringLiteral("BLKA")},
                   {QStringLiteral("LG"), QStringLiteral("PF")},
                   {QStringLiteral("TG"), QStringLiteral("TF")},
                   {QStringLiteral("LGNA"), QStringLiteral("FD")},
                   {QStringLiteral("MINUTA"), QStringLiteral("MIN")},
                   {QStringLiteral("INDEKS"), QStringLiteral("EFF")}});
    // The zone columns, each made column followed by its attempted column.
    const auto appendZones = [&](int shotValue, std::span<const int> zones) {
        for (int zone : zones)
            for (const char *kind : {"OK", "UK"})
                fields.append({zoneColumn(shotValue, zone, kind),
                               QStringLiteral("%1P%2 z%3")
                                   .arg(shotValue)
                                   .arg(QLatin1String(kind[0] == 'O' ? "M" : "A"))
                                   .arg(zone)});
    };
    appendZones(2, TwoPointZones);
    appendZones(3, ThreePointZones);
    return fields;
}

// --------------------------------------------------------------- StatLines

StatLines::StatLines(fb::Connection &db) : db_(db) {}

std::vector<StatLine> StatLines::Lines(int side)
{
    std::vector<StatLine> lines;
    try {
        fb::Query rows(db_, QStringLiteral("SELECT ID_STAT, DRES, %1 FROM %2 ORDER BY DRES")
                                .arg(StatLine::CounterColumns().join(QStringLiteral(", ")), lineTable(side)));
        rows.exec();
        while (rows.next()) {
            StatLine line = readLine(rows, 2);
            line.ID_STAT = rows.value(0).toInt();
            line.DRES = rows.value(1).toInt();
            lines.push_back(std::move(line));
        }
    } catch (const fb::Error &) {
        lines.clear();
    }
    return lines;
}

std::optional<QList<int>> StatLines::onCourtNow(int side)
{
    try {
        fb::Query rows(db_, QStringLiteral("SELECT DRES FROM %1 WHERE VREME = 0").arg(courtTable(side)));
        rows.exec();
        QList<int> numbers;
        while (rows.next())
            numbers << rows.value(0).toInt();
        if (!numbers.isEmpty())
            return numbers;
    } catch (const fb::Error &) {
    }
    return std::nullopt;
}

std::vector<StatLine> StatLines::ActorLines(int side)
{
    std::optional<QList<int>> &actors = actors_[sideIndex(side)];
    if (std::optional<QList<int>> now = onCourtNow(side))
        actors = now;
    std::vector<StatLine> lines = Lines(side);
    if (actors)
        std::erase_if(lines, [&](const StatLine &line) { return !actors->contains(line.DRES); });
    return lines;
}

StatLine StatLines::Totals(int side)
{
    StatLine totals;
    try {
        QStringList sums;
        for (const QString &column : StatLine::CounterColumns())
            sums << QStringLiteral("SUM(%1)").arg(column);
        fb::Query row(db_, QStringLiteral("SELECT %1 FROM %2").arg(sums.join(QStringLiteral(", ")), lineTable(side)));
        row.exec();
        if (row.next())
            totals = readLine(row, 0);
    } catch (const fb::Error &) {
        totals = StatLine();
    }
    return totals;
}

TimeOnCourt StatLines::PlayingTime(int match, int side, int shirtNumber, int elapsedSecondsNow)
{
    return PlayingTimes(match, elapsedSecondsNow)[side == 2 ? 1 : 0].value(shirtNumber);
}

std::array<QHash<int, TimeOnCourt>, 2> StatLines::PlayingTimes(int match, int elapsedSecondsNow)
{
    // A change names the player who goes off (NODR), the one who comes on
    // (PAR1) and the elapsed seconds (PAR2).
    std::array<QHash<int, TimeOnCourt>, 2> times;
    try {
        const DttCondition condition = DttCondition(match).equals(DttColumn::RES, EvPlayerChange);
        fb::Query changes(db_, QStringLiteral("SELECT HG, NODR, PAR1, PAR2 FROM DTT ") + condition.sql() +
                                   QStringLiteral(" AND (HG IN (1, 2))"));
        changes.exec(condition.params());
        while (changes.next()) {
            QHash<int, TimeOnCourt> &side = times[changes.value(0).toInt() == 1 ? 0 : 1];
            const int at = changes.value(3).toInt();
            side[changes.value(1).toInt()].seconds += at;
            side[changes.value(2).toInt()].seconds -= at;
        }
    } catch (const fb::Error &) {
        return {};
    }
    for (int side : {1, 2}) {
        const CourtNumbers &onCourt = CurrentMatch().onCourt(side);
        for (const int shirt : QSet<int>(onCourt.begin(), onCourt.end()))
            if (IsOnCourt(side, shirt))
                times[size_t(side - 1)][shirt].seconds += elapsedSecondsNow;
    }
    return times;
}

bool StatLines::PlayerTookPart(int match, int side, int shirtNumber)
{
    if (IsStarter(side, shirtNumber))
        return true;
    EventStore store(db_);
    return store.CountWhere(DttCondition(match, side).equals(DttColumn::NODR, shirtNumber)) > 0 ||
           store.CountWhere(DttCondition(match, side)
                                .equals(DttColumn::RES, EvPlayerChange)
                                .equals(DttColumn::PAR1, shirtNumber)) > 0;
}
