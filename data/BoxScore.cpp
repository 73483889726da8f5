#include "data/BoxScore.h"

#include "common/Transliterate.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/FbClient.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// The columns an event counts in for the player who made it.
const std::vector<BoxColumn> &columnsOfActor(int code)
{
    static const std::map<int, std::vector<BoxColumn>> columns = {
        {EvMade1, {BC_P1OK, BC_P1UK}},
        {EvMiss1, {BC_P1UK}},
        {EvMade2, {BC_P2OK, BC_P2UK}},
        {EvMiss2, {BC_P2UK}},
        {EvMade3, {BC_P3OK, BC_P3UK}},
        {EvMiss3, {BC_P3UK}},
        {EvReboundDefence, {BC_SKOKO}},
        {EvReboundOffence, {BC_SKOKN}},
        {EvAssist, {BC_ASISTENCIJA}},
        {EvSteal, {BC_UKRADENA}},
        {EvTurnover, {BC_IZGUBLJENA}},
        {EvPersonalFoul, {BC_LG}},
        {EvTechnicalPlayer, {BC_TG}},
        {EvBlock, {BC_BLOK}},
    };
    static const std::vector<BoxColumn> none;
    const auto it = columns.find(code);
    return it == columns.end() ? none : it->second;
}

// The counts that follow from the others: field goals, points, all
// rebounds and the efficiency index (the formula of the statistic lines).
template <typename Counters>
void deriveCounts(Counters &c)
{
    c[BC_PIZIGREOK] = c[BC_P2OK] + c[BC_P3OK];
    c[BC_PIZIGREUK] = c[BC_P2UK] + c[BC_P3UK];
    c[BC_POENI] = c[BC_P1OK] + 2 * c[BC_P2OK] + 3 * c[BC_P3OK];
    c[BC_SKOKOVI] = c[BC_SKOKO] + c[BC_SKOKN];
    const auto gains = c[BC_SKOKOVI] + c[BC_ASISTENCIJA] + c[BC_UKRADENA] + c[BC_LGNA] + c[BC_BLOK];
    const auto losses = c[BC_P1UK] - 2 * c[BC_P1OK] + c[BC_P2UK] - 3 * c[BC_P2OK] + c[BC_P3UK] - 4 * c[BC_P3OK] +
                        c[BC_IZGUBLJENA] + c[BC_LG] + c[BC_TG] + c[BC_BLOKNA];
    c[BC_INDEKS] = gains - losses;
}

void completeRow(BoxRow &row)
{
    deriveCounts(row);
    row[BC_P1PROC] = PercentHalfEven(row.count(BC_P1OK), row.count(BC_P1UK));
    row[BC_P2PROC] = PercentHalfEven(row.count(BC_P2OK), row.count(BC_P2UK));
    row[BC_P3PROC] = PercentHalfEven(row.count(BC_P3OK), row.count(BC_P3UK));
    if (row.count(BC_PIZIGREUK) > 0)
        row[BC_P23PROC] = 100.0 * row[BC_PIZIGREOK] / row[BC_PIZIGREUK];
}

} // namespace

int PercentHalfEven(int made, int attempted)
{
    if (attempted <= 0)
        return 0;
    const int scaled = 100 * made;
    const int whole = scaled / attempted;
    const int twiceRest = 2 * (scaled % attempted);
    if (twiceRest > attempted || (twiceRest == attempted && whole % 2 != 0))
        return whole + 1;
    return whole;
}

int RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        return int(below) + 1;
    return int(below);
}

std::vector<BoxRow> BoxSide::visiblePlayers() const
{
    std::vector<BoxRow> rows;
    std::copy_if(players.begin(), players.end(), std::back_inserter(rows),
                 [this](const BoxRow &row) { return isVisible(row); });
    return rows;
}

// ---------------------------------------------------------------- BoxScore

BoxScore::Set BoxScore::SelectedSet() const
{
    if (!reportMode_)
        return Set::Console;
    return secondSet_ ? Set::SecondReport : Set::Report;
}

void BoxScore::SetOnCourtFilter(Set set, int side, bool on)
{
    sets_[size_t(set)].side(side).actorsOnly = on;
}

void BoxScore::SetVisibleOnlyTotals(int side, bool on)
{
    visibleOnlyTotals_[side == 1 ? 0 : 1] = on;
}

void BoxScore::ResetBoxScoreTables(fb::Connection &db)
{
    for (int side : {1, 2}) {
        BoxSide &table = selected().side(side);
        table.players.clear();
        table.totals = BoxRow();
        try {
            fb::Query lines(db, QStringLiteral("SELECT DRES FROM %1 WHERE DRES IS NOT NULL ORDER BY DRES")
                                    .arg(side == 1 ? QStringLiteral("STATDOMACI") : QStringLiteral("STATGOSTI")));
            lines.exec();
            while (lines.next()) {
                BoxRow row;
                const int shirtNumber = lines.value(0).toInt();
                row[BC_DRES] = shirtNumber;
                row[BC_STARTER] = IsStarter(side, shirtNumber);
                row[BC_AKTER] = IsOnCourt(side, shirtNumber);
                table.players.push_back(row);
            }
        } catch (const fb::Error &) {
        }
    }
}

void BoxScore::LoadRosterRecords(fb::Connection &db, int match)
{
    MatchState &state = CurrentMatch();
    for (int side : {1, 2})
        for (TIgracRec &entry : state.roster(side))
            entry.clear();
    try {
        // Names come with the roster rows, in one statement per build.
        fb::Query rows(db, QStringLiteral("SELECT S.DOMGOST, S.ID_IGRAC, S.DRES, I.PREZIME, I.IME, I.EBR "
                                          "FROM SASTAV S LEFT JOIN IGRAC I ON I.ID_IGRAC = S.ID_IGRAC "
                                          "WHERE S.ID_UTAKMICA = ? ORDER BY S.DOMGOST, S.DRES"));
        rows.exec({match});
        std::array<int, 2> filled{};
        while (rows.next()) {
            const int side = rows.value(0).toInt() == 1 ? 1 : 2;
            int &next = filled[size_t(side - 1)];
            if (next >= RosterSize)
                continue;
            TIgracRec &entry = state.roster(side)[size_t(next++)];
            const QString surname = rows.value(3).toString();
            const QString firstName = rows.value(4).toString();
            entry.ID_IGRAC = rows.value(1).toInt();
            entry.shirtNumber = rows.value(2).toInt();
            entry.shortName = ShortPlayerName(surname, firstName);
            entry.surname = Transliterate(surname);
            entry.firstName = Transliterate(firstName);
            entry.registration = rows.value(5).toString();
        }
    } catch (const fb::Error &) {
    }
}

void BoxScore::BuildBoxScore(fb::Connection &db, int match, const QString &eventFilter)
{
    ResetBoxScoreTables(db);
    LoadRosterRecords(db, match);

    // Two grouped counts give every column: what each player did, and the
    // fouls drawn and shots blocked, which the other side's events name in
    // their parameter.
    EventStore store(db);
    const DttCondition acted = DttCondition(match).atLeast(DttColumn::RES, EvMade1).atMost(DttColumn::RES, EvBlock);
    for (const EventCount &group : store.CountByPlayer(DttCondition(acted).filter(eventFilter)))
        for (BoxColumn column : columnsOfActor(group.code))
            addCount(group.side, group.key, column, group.count);
    const DttCondition received = DttCondition(match).oneOf(DttColumn::RES, {EvPersonalFoul, EvBlock});
    for (const EventCount &group : store.CountByParameter(DttCondition(received).filter(eventFilter)))
        addCount(3 - group.side, group.key, group.code == EvPersonalFoul ? BC_LGNA : BC_BLOKNA, group.count);

    for (int side : {1, 2}) {
        completeSide(side);
        if (!reportMode_)
            completeRoster(side);
    }
}

void BoxScore::addCount(int side, int shirtNumber, BoxColumn column, int count)
{
    if (side != 1 && side != 2)
        return;
    if (!reportMode_) {
        if (const int position = RosterPosition(side, shirtNumber); position >= 0)
            CurrentMatch().roster(side)[size_t(position)].counters[column] += count;
    }
    BoxSide &table = selected().side(side);
    const auto row = std::find_if(table.players.begin(), table.players.end(),
                                  [&](const BoxRow &r) { return r.count(BC_DRES) == shirtNumber; });
    const bool hasRow = row != table.players.end();
    if (hasRow)
        (*row)[column] += count;
    if ((hasRow && table.isVisible(*row)) || !VisibleOnlyTotals(side))
        table.totals[column] += count;
}

void BoxScore::completeSide(int side)
{
    // The totals row derives its figures from its own counts, so that its
    // field goals, percentages, points and index agree with the counts it
    // shows, whichever players those counts cover.
    BoxSide &table = selected().side(side);
    for (BoxRow &row : table.players)
        completeRow(row);
    completeRow(table.totals);
}

void BoxScore::completeRoster(int side)
{
    for (TIgracRec &entry : CurrentMatch().roster(side)) {
        if (entry.shirtNumber < 0)
            continue;
        deriveCounts(entry.counters);
        entry.counters[BC_STARTER] = IsStarter(side, entry.shirtNumber);
        entry.counters[BC_AKTER] = IsOnCourt(side, entry.shirtNumber);
    }
}

BoxScore &BoxScores()
{
    static BoxScore tables;
    return tables;
}

QString RosterNames(int side, int shirtNumber)
{
    const int position = RosterPosition(side, shirtNumber);
    if (position < 0)
        return {};
    const TIgracRec &entry = CurrentMatch().roster(side)[size_t(position)];
    return entry.surname + u';' + entry.firstName;
}

// ------------------------------------------------------------- NameLookups

NameLookups::NameLookups(fb::Connection &db) : db_(db) {}

QString NameLookups::text(const QString &sql, int key)
{
    try {
        return db_.scalar(sql, {key}).toString();
    } catch (const fb::Error &) {
        return {};
    }
}

PersonName NameLookups::person(const QString &table, const QString &keyColumn, bool hasCity, int key)
{
    PersonName name;
    try {
        fb::Query row(db_, QStringLiteral("SELECT PREZIME, IME%1 FROM %2 WHERE (%3 = ?)")
                               .arg(hasCity ? QStringLiteral(", GRAD") : QString(), table, keyColumn));
        row.exec({key});
        if (row.next()) {
            name.surname = row.value(0).toString();
            name.firstName = row.value(1).toString();
            if (hasCity)
                name.city = row.value(2).toString();
        }
    } catch (const fb::Error &) {
        name = PersonName();
    }
    return name;
}

QString NameLookups::ClubRegistrationNumber(int clubId)
{
    return text(QStringLiteral("SELECT EBR FROM KLUB WHERE (ID_KLUB = ?)"), clubId);
}

QString NameLookups::PlayerRegistrationNumber(int playerId)
{
    return text(QStringLiteral("SELECT EBR FROM IGRAC WHERE (ID_IGRAC = ?)"), playerId);
}

PersonName NameLookups::RefereeName(int refereeId)
{
    return person(QStringLiteral("SUDIJA"), QStringLiteral("ID_SUDIJA"), true, refereeId);
}

PersonName NameLookups::DelegateName(int delegateId)
{
    return person(QStringLiteral("DELEGAT"), QStringLiteral("ID_DELEGAT"), true, delegateId);
}

PersonName NameLookups::StatisticianName(int statisticianId)
{
    return person(QStringLiteral("STATISTICARI"), QStringLiteral("ID_STAT"), true, statisticianId);
}

PersonName NameLookups::CoachName(int coachId)
{
    return person(QStringLiteral("TRENER"), QStringLiteral("ID_TRENER"), false, coachId);
}

QString NameLookups::NameByShirt(int match, int domgost, int shirtNumber)
{
    try {
        fb::Query row(db_, QStringLiteral("SELECT IGRAC.PREZIME, IGRAC.IME "
                                          "FROM IGRAC INNER JOIN SASTAV ON IGRAC.ID_IGRAC = SASTAV.ID_IGRAC "
                                          "WHERE (SASTAV.ID_UTAKMICA = ?) AND (SASTAV.DOMGOST = ?) "
                                          "AND (SASTAV.DRES = ?)"));
        row.exec({match, domgost, shirtNumber});
        if (row.next())
            return row.value(0).toString() + u' ' + row.value(1).toString();
    } catch (const fb::Error &) {
    }
    return {};
}
