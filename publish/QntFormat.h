#pragma once
// The match file (".qnt") that leagues collect from every desk: its records
// as values, and the one description of their layout in file order, which
// the writer, the reader and the printer all follow. docs/match-export.md is
// the same layout as a table, for the author of a reader.
//
// Numbers are little-endian; text is an int32 byte count and that many
// Windows-1250 bytes; a date-time is a double counting days since
// 30 December 1899; a person is a flag, an int32 key and two texts.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

// Someone the match names in a role: delegate, referee, statistician, coach.
struct QntPerson
{
    bool named = false; // the match names someone in this role
    qint32 key = 0;     // his key in the desk's database, 0 when none
    QString firstName;
    QString surname;

    bool operator==(const QntPerson &) const = default;
};

// One event record: side (1 home, 2 away, 3 the match), shirt number, event
// code, parameter, the game minute of a time-out (0 for every other event)
// and a reserved 0.
struct QntEvent
{
    qint16 side = 0;
    qint16 player = 0;
    qint16 code = 0;
    qint16 parameter = 0;
    qint16 minute = 0;
    qint16 reserved = 0;

    bool operator==(const QntEvent &) const = default;
};

struct QntShots
{
    qint16 made = 0;
    qint16 attempted = 0;

    bool operator==(const QntShots &) const = default;
};

// Zones of the shot charts in file order; there is no three-point zone 5.
inline constexpr std::array<int, 6> QntTwoPointZones{1, 2, 3, 4, 5, 6};
inline constexpr std::array<int, 5> QntThreePointZones{1, 2, 3, 4, 6};
// Turnovers are written in 11 groups: types 1, 2, 3, 4, 5 with 13, 6, 7 with
// 12, 8, 9, 10, 11. The group of a type, or -1 for a type outside 1..13.
inline constexpr int QntTurnoverGroupCount = 11;
int QntTurnoverGroup(int type);

// One player of a roster with his figures in the match.
struct QntPlayer
{
    QString registration; // EBR
    QString firstName;
    QString surname;
    qint16 shirtNumber = 0;
    QntShots freeThrows;
    std::array<QntShots, 6> twoPointZones;   // QntTwoPointZones
    std::array<QntShots, 5> threePointZones; // QntThreePointZones
    qint16 defensiveRebounds = 0;
    qint16 offensiveRebounds = 0;
    qint16 assists = 0;
    qint16 steals = 0;
    std::array<qint16, QntTurnoverGroupCount> turnovers{};
    qint16 blocks = 0;
    qint16 shotsBlocked = 0; // his own shots the other side blocked
    qint16 fouls = 0;
    qint16 technicalFouls = 0;
    qint16 foulsDrawn = 0;
    qint16 plusMinus = 0;
    qint16 minutes = 0; // time on court, whole minutes, 30 seconds round up

    bool operator==(const QntPlayer &) const = default;
};

// One game minute t (1 to 40, then 41 to 45 for the first overtime...):
// the score at its end, the time-outs taken in it and the fives on court at
// its end, each side as index 0 home, 1 away.
struct QntMinute
{
    qint16 minute = 0;
    std::array<qint16, 2> points{};
    std::array<qint16, 2> timeOuts{};
    std::array<QString, 2> lineups; // five shirt numbers, "4 7 12 13 14"; 0 for an empty place

    bool operator==(const QntMinute &) const = default;
};

struct QntMatch
{
    QString marker = QStringLiteral("QNT");
    qint32 leagueMainId = 0;
    QString leagueName;
    QString homeRegistration;
    QString homeName;
    QString awayRegistration;
    QString awayName;
    qint16 round = 0;
    QString city;
    QString hall;
    double dateTime = 0; // QntDateTime
    qint16 audience = 0;
    QString result; // as stored: "NOT FINISHED", "CLOSED INCORRECTLY" or the final score
    QntPerson delegate, referee1, referee2, referee3, statistician1, statistician2, homeCoach, awayCoach;
    qint32 homeColour = 0;
    qint32 awayColour = 0;
    qint16 playoff = 0;
    qint16 homePoints = 0;
    qint16 awayPoints = 0;
    std::vector<QntEvent> events;
    std::vector<QntPlayer> homePlayers;
    std::vector<QntPlayer> awayPlayers;
    std::vector<QntMinute> minutes; // minutes 1 to N in order

    bool operator==(const QntMatch &) const = default;
};

// Text as the file holds it. Letters that Windows-1250 lacks are written as
// their base letter when they have one (Ğ as G, ı as i) and as "?" otherwise,
// so a name always fits and the export never fails on a letter.
QByteArray EncodeQntText(const QString &text);
QString DecodeQntText(const QByteArray &bytes);

// A date-time as days since 30 December 1899 00:00 with the time of day as
// the fraction; a missing date-time is 0.
double QntDateTime(const QDateTime &when);
QDateTime QntDateTimeValue(double days);

// ------------------------------------------------------------- the layout
//
// A visitor meets every field in file order, named as docs/match-export.md
// names it. It offers flag, int16, int32, dateTime and text (name, value);
// record (name, index, describe) for a group of fields (index -1 for a group
// that is not one of a list); and list (count name, record name, items,
// describe), an int32 count followed by the records. `describe` is called as
// describe(visitor, item), so a visitor may describe items of its own.

template <class Visitor, class Person>
void DescribeQntPerson(Visitor &v, Person &p)
{
    v.flag("named", p.named);
    v.int32("key", p.key);
    v.text("first name", p.firstName);
    v.text("surname", p.surname);
}

template <class Visitor, class Event>
void DescribeQntEvent(Visitor &v, Event &e)
{
    v.int16("side", e.side);
    v.int16("player", e.player);
    v.int16("code", e.code);
    v.int16("parameter", e.parameter);
    v.int16("minute", e.minute);
    v.int16("reserved", e.reserved);
}

template <class Visitor, class Player>
void DescribeQntPlayer(Visitor &v, Player &p)
{
    static constexpr const char *TwoPointNames[6][2] = {
        {"2P zone 1 made", "2P zone 1 attempted"}, {"2P zone 2 made", "2P zone 2 attempted"},
        {"2P zone 3 made", "2P zone 3 attempted"}, {"2P zone 4 made", "2P zone 4 attempted"},
        {"2P zone 5 made", "2P zone 5 attempted"}, {"2P zone 6 made", "2P zone 6 attempted"}};
    static constexpr const char *ThreePointNames[5][2] = {
        {"3P zone 1 made", "3P zone 1 attempted"}, {"3P zone 2 made", "3P zone 2 attempted"},
        {"3P zone 3 made", "3P zone 3 attempted"}, {"3P zone 4 made", "3P zone 4 attempted"},
        {"3P zone 6 made", "3P zone 6 attempted"}};
    static constexpr const char *TurnoverNames[QntTurnoverGroupCount] = {
        "TO 1", "TO 2", "TO 3", "TO 4", "TO 5+13", "TO 6", "TO 7+12", "TO 8", "TO 9", "TO 10", "TO 11"};

    v.text("EBR", p.registration);
    v.text("first name", p.firstName);
    v.text("surname", p.surname);
    v.int16("No", p.shirtNumber);
    v.int16("FT made", p.freeThrows.made);
    v.int16("FT attempted", p.freeThrows.attempted);
    for (size_t z = 0; z < p.twoPointZones.size(); ++z) {
        v.int16(TwoPointNames[z][0], p.twoPointZones[z].made);
        v.int16(TwoPointNames[z][1], p.twoPointZones[z].attempted);
    }
    for (size_t z = 0; z < p.threePointZones.size(); ++z) {
        v.int16(ThreePointNames[z][0], p.threePointZones[z].made);
        v.int16(ThreePointNames[z][1], p.threePointZones[z].attempted);
    }
    v.int16("DR", p.defensiveRebounds);
    v.int16("OR", p.offensiveRebounds);
    v.int16("AST", p.assists);
    v.int16("STL", p.steals);
    for (size_t g = 0; g < p.turnovers.size(); ++g)
        v.int16(TurnoverNames[g], p.turnovers[g]);
    v.int16("BLK", p.blocks);
    v.int16("BLK received", p.shotsBlocked);
    v.int16("PF", p.fouls);
    v.int16("TF", p.technicalFouls);
    v.int16("PF drawn", p.foulsDrawn);
    v.int16("+/-", p.plusMinus);
    v.int16("MIN", p.minutes);
}

template <class Visitor, class Minute>
void DescribeQntMinute(Visitor &v, Minute &m)
{
    v.int16("minute", m.minute);
    v.int16("home points", m.points[0]);
    v.int16("away points", m.points[1]);
    v.int16("home time-outs", m.timeOuts[0]);
    v.int16("away time-outs", m.timeOuts[1]);
    v.text("home five", m.lineups[0]);
    v.text("away five", m.lineups[1]);
}

template <class Visitor, class Match>
void DescribeQntMatch(Visitor &v, Match &m)
{
    const auto person = [](auto &visitor, auto &p) { DescribeQntPerson(visitor, p); };
    v.text("1 marker", m.marker);
    v.int32("2 league MAINID", m.leagueMainId);
    v.text("3 league", m.leagueName);
    v.text("4 home club EBR", m.homeRegistration);
    v.text("5 home club", m.homeName);
    v.text("6 away club EBR", m.awayRegistration);
    v.text("7 away club", m.awayName);
    v.int16("8 round", m.round);
    v.text("9 city", m.city);
    v.text("10 hall", m.hall);
    v.dateTime("11 date and time", m.dateTime);
    v.int16("12 audience", m.audience);
    v.text("13 result", m.result);
    v.record("14 delegate", -1, m.delegate, person);
    v.record("15 first referee", -1, m.referee1, person);
    v.record("16 second referee", -1, m.referee2, person);
    v.record("17 third referee", -1, m.referee3, person);
    v.record("18 first statistician", -1, m.statistician1, person);
    v.record("19 second statistician", -1, m.statistician2, person);
    v.record("20 home coach", -1, m.homeCoach, person);
    v.record("21 away coach", -1, m.awayCoach, person);
    v.int32("22 home colour", m.homeColour);
    v.int32("23 away colour", m.awayColour);
    v.int16("24 playoff", m.playoff);
    v.int16("25 home points", m.homePoints);
    v.int16("26 away points", m.awayPoints);
    v.list("27 event records", "event", m.events, [](auto &visitor, auto &e) { DescribeQntEvent(visitor, e); });
    const auto player = [](auto &visitor, auto &p) { DescribeQntPlayer(visitor, p); };
    v.list("home players", "home player", m.homePlayers, player);
    v.list("away players", "away player", m.awayPlayers, player);
    v.list("minutes", "minute", m.minutes, [](auto &visitor, auto &t) { DescribeQntMinute(visitor, t); });
}
