#include "data/BoxScore.h"

#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/Efficiency.h"
#include "data/FbClient.h"
#include "data/MatchRoster.h"

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

// The columns that events count; the others follow from them.
const std::vector<BoxColumn> &countedColumns()
{
    static const std::vector<BoxColumn> columns = {
        BC_P1OK, BC_P1UK, BC_P2OK, BC_P2UK, BC_P3OK, BC_P3UK, BC_SKOKO, BC_SKOKN, BC_ASISTENCIJA,
        BC_UKRADENA, BC_IZGUBLJENA, BC_BLOK, BC_BLOKNA, BC_LG, BC_TG, BC_LGNA};
    return columns;
}

// The figures that follow from the counts: field goals, points, all
// rebounds, the efficiency index and the percentages.
void completeRow(BoxRow &row)
{
    auto c = [&row](BoxColumn column) { return row.count(column); };
    row[BC_PIZIGREOK] = c(BC_P2OK) + c(BC_P3OK);
    row[BC_PIZIGREUK] = c(BC_P2UK) + c(BC_P3UK);
    row[BC_POENI] = c(BC_P1OK) + 2 * c(BC_P2OK) + 3 * c(BC_P3OK);
    row[BC_SKOKOVI] = c(BC_SKOKO) + c(BC_SKOKN);
    row[BC_INDEKS] = EfficiencyIndex({.p1Made = c(BC_P1OK), .p1Attempted = c(BC_P1UK), .p2Made = c(BC_P2OK),
                                      .p2Attempted = c(BC_P2UK), .p3Made = c(BC_P3OK), .p3Attempted = c(BC_P3UK),
                                      .rebounds = c(BC_SKOKOVI), .assists = c(BC_ASISTENCIJA),
                                      .steals = c(BC_UKRADENA), .turnovers = c(BC_IZGUBLJENA), .blocks = c(BC_BLOK),
                                      .shotsBlocked = c(BC_BLOKNA), .fouls = c(BC_LG), .technicals = c(BC_TG),
                                      .foulsDrawn = c(BC_LGNA)});
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

const BoxRow *BoxSide::player(int shirtNumber) const
{
    const auto row = std::find_if(players.begin(), players.end(),
                                  [&](const BoxRow &r) { return r.count(BC_DRES) == shirtNumber; });
    return row == players.end() ? nullptr : &*row;
}

BoxSide BoxSide::view(bool onCourtOnly, bool totalsOfShownOnly) const
{
    BoxSide shown;
    std::copy_if(players.begin(), players.end(), std::back_inserter(shown.players),
                 [&](const BoxRow &row) { return !onCourtOnly || row.count(BC_AKTER) == 1; });
    if (!totalsOfShownOnly) {
        shown.totals = totals;
        return shown;
    }
    for (const BoxRow &row : shown.players)
        for (BoxColumn column : countedColumns())
            shown.totals[column] += row[column];
    completeRow(shown.totals);
    return shown;
}

void BoxScoreSet::markOnCourt(int s, const CourtNumbers &onCourt)
{
    for (BoxRow &row : side(s).players)
        row[BC_AKTER] = std::find(onCourt.begin(), onCourt.end(), row.count(BC_DRES)) != onCourt.end() ? 1 : 0;
}

void BoxScoreSet::count(int s, int shirtNumber, BoxColumn column, int times)
{
    if (s != 1 && s != 2)
        return;
    BoxSide &table = side(s);
    const auto row = std::find_if(table.players.begin(), table.players.end(),
                                  [&](const BoxRow &r) { return r.count(BC_DRES) == shirtNumber; });
    if (row != table.players.end())
        (*row)[column] += times;
    table.totals[column] += times;
}

void BoxScoreSet::countActed(int s, int player, int code, int times)
{
    for (BoxColumn column : columnsOfActor(code))
        count(s, player, column, times);
}

void BoxScoreSet::countReceived(int s, int namedPlayer, int code, int times)
{
    // A foul or a block names the other side's player it was on.
    if (code == EvPersonalFoul || code == EvBlock)
        count(3 - s, namedPlayer, code == EvPersonalFoul ? BC_LGNA : BC_BLOKNA, times);
}

void BoxScoreSet::completeRows()
{
    // The totals row derives its figures from its own counts, so that its
    // field goals, percentages, points and index agree with the counts it
    // shows, whichever players those counts cover.
    for (BoxSide *table : {&home, &away}) {
        for (BoxRow &row : table->players)
            completeRow(row);
        completeRow(table->totals);
    }
}

void BoxScoreSet::addEvents(const std::vector<EventRow> &rows)
{
    // The same records as the build's two grouped counts: a side and a
    // code, and the player or the named player the count is keyed by.
    for (const EventRow &row : rows) {
        if (!row.side || !row.code)
            continue;
        if (row.player)
            countActed(*row.side, *row.player, *row.code, 1);
        if (row.parameter)
            countReceived(*row.side, *row.parameter, *row.code, 1);
    }
    completeRows();
}

// ---------------------------------------------------------- BoxScoreBuilder

BoxScoreSet BoxScoreBuilder::build(int match, const EventFilter &filter) const
{
    BoxScoreSet set = rosterRows(match);
    // Two grouped counts give every column: what each player did, and the
    // fouls drawn and shots blocked, which the other side's events name in
    // their parameter.
    EventStore store(db_);
    const DttCondition acted = DttCondition(match).atLeast(DttColumn::RES, EvMade1).atMost(DttColumn::RES, EvBlock);
    for (const EventCount &group : store.CountByPlayer(DttCondition(acted).filter(filter)))
        set.countActed(group.side, group.key, group.code, group.count);
    const DttCondition received = DttCondition(match).oneOf(DttColumn::RES, {EvPersonalFoul, EvBlock});
    for (const EventCount &group : store.CountByParameter(DttCondition(received).filter(filter)))
        set.countReceived(group.side, group.key, group.code, group.count);
    set.completeRows();
    return set;
}

BoxScoreSet BoxScoreBuilder::rosterRows(int match) const
{
    BoxScoreSet set;
    for (const RosterPlayer &p : ReadMatchRoster(db_, match)) {
        BoxRow row;
        row[BC_DRES] = p.shirtNumber;
        row[BC_STARTER] = p.starter ? 1 : 0;
        row.playerId = p.playerId;
        row.surname = p.surname;
        row.firstName = p.firstName;
        row.registration = p.registration;
        set.side(p.side).players.push_back(row);
    }
    for (BoxSide *table : {&set.home, &set.away})
        std::stable_sort(table->players.begin(), table->players.end(),
                         [](const BoxRow &a, const BoxRow &b) { return a.count(BC_DRES) < b.count(BC_DRES); });
    return set;
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
