#include "publish/LivePage.h"

#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "publish/AtomicFile.h"
#include "publish/MatchTimeline.h"

#include <algorithm>

namespace {

const QString MatchRowSql = QStringLiteral(
    "SELECT L.NAZIV, U.KOLO, U.GRAD, U.DATUMVREME, U.MESTO, U.BR_GLEDALACA, U.ID_SUDIJA1, U.ID_SUDIJA2, "
    "U.ID_SUDIJA3, U.ID_DELEGAT, U.ID_STAT1, U.ID_STAT2, U.PLAYOFF, U.EXTRA, H.NAZIV, H.EBR, G.NAZIV, G.EBR, "
    "U.ID_TRENER1, U.ID_TRENER2, U.BOJAD, U.BOJAG, U.JUMPBAL "
    "FROM UTAKMICA U LEFT JOIN LIGA L ON L.ID_LIGA = U.ID_LIGA "
    "LEFT JOIN KLUB H ON H.ID_KLUB = U.ID_KLUB1 LEFT JOIN KLUB G ON G.ID_KLUB = U.ID_KLUB2 "
    "WHERE U.ID_UTAKMICA = ?");
enum MatchRowColumn {
    League, Round, City, DateTime, Hall, Audience, Referee1, Referee2, Referee3, Delegate, Statistician1,
    Statistician2, Playoff, Extra, HomeName, HomeRegistration, AwayName, AwayRegistration, HomeCoach, AwayCoach,
    HomeColour, AwayColour, JumpBall
};

constexpr int PlayerLines = 12;
// Periods with a value of their own in a team line: four quarters, four overtimes.
constexpr int PagePeriods = 8;
// Minute changes of a regulation match, and those of each overtime.
constexpr int RegulationMinuteChanges = 44;
constexpr int OvertimeMinuteChanges = 7;

// One value list; every value is followed by ";".
class Values
{
public:
    Values &number(int value)
    {
        text_ += QString::number(value) + u';';
        return *this;
    }
    Values &text(const QString &value)
    {
        text_ += LivePageText(value) + u';';
        return *this;
    }
    Values &empty()
    {
        text_ += u';';
        return *this;
    }
    Values &numbers(const EventStatistics::FieldGoalCounts &counts)
    {
        for (int count : counts)
            number(count);
        return *this;
    }
    QString div(const QString &id) const { return QStringLiteral("<DIV id=%1>%2</DIV>").arg(id, text_); }

private:
    QString text_;
};

class PageComposer
{
public:
    PageComposer(fb::Connection &db, int match, const fb::Query &row, const MatchTimeline &timeline)
        : db_(db), statistics_(db), names_(db), match_(match), row_(row), timeline_(timeline),
          clock_(timeline.clock())
    {
    }

    QStringList compose()
    {
        QStringList page{QStringLiteral("<DIV id=ver>6.1</DIV>"), matchFacts()};
        std::array<int, 3> overtime{};
        for (int side : {1, 2})
            for (int period = RegularPeriods + 1; period <= PagePeriods; ++period)
                overtime[size_t(side)] += timeline_.pointsInPeriod(side, period);
        const bool overtimePlayed = overtime[1] > 0 || overtime[2] > 0;
        const std::array<int, 2> fouls = statistics_.TeamFouls(match_, clock_.period);
        page << teamLine(1, fouls[0], overtimePlayed ? &overtime[1] : nullptr)
             << teamLine(2, fouls[1], overtimePlayed ? &overtime[2] : nullptr);
        BoxScoreSet box = BoxScoreBuilder(db_).build(match_);
        const auto balances = PlusMinus(db_).Balances(match_);
        for (int side : {1, 2}) {
            box.markOnCourt(side, five(timeline_.fiveNow(side)));
            page << playerLines(side, box.side(side), balances);
        }
        page << eventLists();
        page << QStringLiteral("<script language=\"JavaScript\" type=\"text/JavaScript\">parent.pageOK = true;</script>");
        return page;
    }

private:
    using Balances = std::map<std::pair<int, int>, int>;

    int key(MatchRowColumn column) const { return row_.value(column).toInt(); }
    QString text(MatchRowColumn column) const { return row_.value(column).toString(); }

    static CourtNumbers five(const QList<int> &players)
    {
        CourtNumbers places{};
        std::copy_n(players.begin(), std::min<qsizetype>(players.size(), CourtSize), places.begin());
        return places;
    }

    void person(Values &values, MatchRowColumn column, PersonName (NameLookups::*lookup)(int), bool withCity)
    {
        const int id = key(column);
        const PersonName name = id != 0 ? (names_.*lookup)(id) : PersonName{};
        values.text(name.surname).text(name.firstName);
        if (withCity)
            values.text(name.city);
    }

    QString matchFacts()
    {
        Values ut;
        ut.text(text(League)).number(key(Round)).text(text(City));
        const QDateTime when = row_.value(DateTime).toDateTime();
        ut.text(when.toString(QStringLiteral("dd.MM.yyyy."))).text(when.toString(QStringLiteral("HH:mm")));
        ut.text(text(Hall)).number(key(Audience));
        for (MatchRowColumn referee : {Referee1, Referee2, Referee3})
            person(ut, referee, &NameLookups::RefereeName, true);
        person(ut, Delegate, &NameLookups::DelegateName, true);
        for (MatchRowColumn statistician : {Statistician1, Statistician2})
            person(ut, statistician, &NameLookups::StatisticianName, true);
        ut.number(key(Playoff)).text(text(Extra)).number(clock_.period);
        ut.number(GameMinute(clock_.period, clock_.minute));
        return ut.div(QStringLiteral("ut"));
    }

    // A period's points are shown once it is over: an earlier period, or
    // the current one when play has ended.
    bool periodOver(int period) const { return period < clock_.period || (period == clock_.period && clock_.Ended()); }

    QString teamLine(int side, int teamFouls, const int *overtimePoints)
    {
        Values line;
        line.text(text(side == 1 ? HomeName : AwayName));
        for (int period = 1; period <= PagePeriods; ++period) {
            if (periodOver(period))
                line.number(timeline_.pointsInPeriod(side, period));
            else
                line.empty();
        }
        if (overtimePoints)
            line.number(*overtimePoints);
        else
            line.empty();
        line.number(timeline_.points(side)).text(text(side == 1 ? HomeRegistration : AwayRegistration));
        line.number(statistics_.RosterSize(match_, side));
        line.number(teamFouls);
        const int timeOuts = statistics_.TimeOutsInHalf(match_, side, clock_.period);
        line.number(clock_.period > RegularPeriods ? std::min(timeOuts, 1) : timeOuts);
        line.number(key(side == 1 ? HomeColour : AwayColour));
        return line.div(side == 1 ? QStringLiteral("d") : QStringLiteral("g"));
    }

    QStringList playerLines(int side, BoxSide &box, const Balances &balances)
    {
        const QString prefix = side == 1 ? QStringLiteral("d") : QStringLiteral("g");
        QStringList lines;
        int minutes = 0, seconds = 0;
        for (int k = 1; k <= PlayerLines; ++k) {
            if (size_t(k) > box.players.size()) {
                lines << QStringLiteral("<DIV id=%1%2>%3</DIV>").arg(prefix).arg(k).arg(QString(30, u';'));
                continue;
            }
            BoxRow &row = box.players[size_t(k - 1)];
            const int shirt = row.count(BC_DRES);
            const int onCourt = timeline_.secondsOnCourt(side, shirt);
            // Half a minute and more counts as a whole one.
            row[BC_MINUTA] = onCourt / 60 + (onCourt % 60 >= 30 ? 1 : 0);
            minutes += onCourt / 60;
            seconds += onCourt % 60;
            Values line;
            if (shirt == 100)
                line.text(QStringLiteral("00"));
            else
                line.number(shirt);
            line.text(row.surname).text(row.firstName);
            for (int column = BC_POENI; column <= BC_AKTER; ++column)
                line.number(RoundHalfEven(row.columns[size_t(column)]));
            line.number(onCourt / 60).number(onCourt % 60).text(row.registration);
            line.numbers(statistics_.FieldGoalChart(match_, side, shirt));
            const auto balance = balances.find({side, shirt});
            line.number(balance == balances.end() ? 0 : balance->second);
            lines << line.div(prefix + QString::number(k));
        }
        lines << totalsLine(side, box.totals, minutes + seconds / 60);
        return lines;
    }

    QString totalsLine(int side, const BoxRow &totals, int minutes)
    {
        Values line;
        line.number(statistics_.CountByCode(match_, side, EvTechnicalCoach));
        person(line, side == 1 ? HomeCoach : AwayCoach, &NameLookups::CoachName, false);
        for (int column = BC_POENI; column <= BC_LGNA; ++column)
            line.number(RoundHalfEven(totals.columns[size_t(column)]));
        line.number(minutes).number(RoundHalfEven(totals[BC_INDEKS]));
        const int offence = statistics_.CountByCode(match_, side, EvTeamOffence);
        const int defence = statistics_.CountByCode(match_, side, EvTeamDefence);
        line.number(offence).number(defence).number(offence + defence);
        line.number(statistics_.CountByCode(match_, side, EvTeamTurnover));
        line.number(statistics_.CountByCode(match_, side, EvJumpBall));
        line.numbers(statistics_.SideFieldGoalChart(match_, side));
        line.number(statistics_.TimeOuts(match_, side)).number(key(JumpBall) == side ? 1 : 0);
        return line.div(side == 1 ? QStringLiteral("du") : QStringLiteral("gu"));
    }

    // The fifth value of an event's entry.
    static int lastParameter(const RecordedEvent &e)
    {
        switch (e.code) {
        case EvMade2:
        case EvMade3:
            return e.attackType;
        case EvPersonalFoul: // the page counts foul types from 0; a type not recorded gives 0
            return e.foulType > 0 ? e.foulType - 1 : 0;
        case EvPlayerChange:
            return e.seconds;
        default:
            return 0;
        }
    }

    QStringList eventLists() const
    {
        std::array<Values, 5> lists;
        int entries = 0;
        const auto add = [&](int side, int player, int code, int parameter, int last) {
            lists[0].number(side);
            lists[1].number(player);
            lists[2].number(code);
            lists[3].number(parameter);
            lists[4].number(last);
            ++entries;
        };
        add(3, 0, EvMatchStart, 0, 0);
        for (int side : {1, 2})
            for (int shirt : five(timeline_.fiveAt(side, 0)))
                add(side, shirt, EvStarters, 0, 0);
        for (const RecordedEvent &e : timeline_.events())
            add(e.side, e.player, e.code, e.parameter, lastParameter(e));
        const auto &events = timeline_.events();
        if (!events.empty() && events.back().code == EvMinuteChange) {
            // After a minute change that ends play the page closes with the
            // match finish; any other closing entry keeps its code empty, so
            // the five lists stay of one length.
            const auto changes = std::count_if(events.begin(), events.end(),
                                               [](const RecordedEvent &e) { return e.code == EvMinuteChange; });
            const int overtimes = std::max(clock_.period - RegularPeriods, 0);
            const bool finish = changes == RegulationMinuteChanges ||
                                (changes > RegulationMinuteChanges &&
                                 changes == RegulationMinuteChanges + OvertimeMinuteChanges * overtimes);
            lists[0].number(3);
            lists[1].number(0);
            if (finish)
                lists[2].number(EvMatchFinish);
            else
                lists[2].empty();
            lists[3].number(0);
            lists[4].number(0);
            ++entries;
        }
        QStringList lines{QStringLiteral("<DIV id=br_akc>%1</DIV>").arg(entries)};
        const std::array<const char *, 5> ids{"a0", "a1", "sifra", "a3", "a4"};
        for (size_t i = 0; i < ids.size(); ++i)
            lines << lists[i].div(QLatin1String(ids[i]));
        return lines;
    }

    fb::Connection &db_;
    EventStatistics statistics_;
    NameLookups names_;
    int match_;
    const fb::Query &row_;
    const MatchTimeline &timeline_;
    MatchClock clock_;
};

} // namespace

QStringList LivePageBuilder::build(int match) const
{
    fb::Query row(db_, MatchRowSql);
    row.exec({match});
    if (!row.next())
        throw LivePageError(QStringLiteral("there is no match %1").arg(match));
    const MatchTimeline timeline(ReadRecordedEvents(db_, match));
    return PageComposer(db_, match, row, timeline).compose();
}

QString LivePageText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'%': escaped += QStringLiteral("%25"); break;
        case u';': escaped += QStringLiteral("%3B"); break;
        case u'<': escaped += QStringLiteral("%3C"); break;
        case u'>': escaped += QStringLiteral("%3E"); break;
        case u'&': escaped += QStringLiteral("%26"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

QByteArray LivePageBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

void WriteLivePage(const QString &fileName, const QByteArray &bytes)
{
    if (const QString error = SaveAtomically(fileName, bytes); !error.isEmpty())
        throw LivePageError(error);
}
