#include "reports/BasicReport.h"

#include "common/GameClock.h"
#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/EventStore.h"
#include "data/PlusMinus.h"
#include "publish/MatchTimeline.h"
#include "reports/ReportFrame.h"

#include <algorithm>
#include <map>

using report::Block;
using report::Fill;
using report::Line;

int ReportMinute(const MatchClock &clock)
{
    const int p = clock.period, m = clock.minute;
    if (clock.Ended())
        return 5 * p + 20;
    if (p <= RegularPeriods)
        return m < QuarterMinutes ? 10 * p - m - 1 : 10 * p - m;
    return m < OvertimeMinutes ? 5 * p - m + 19 : 5 * p - m + 20;
}

namespace {

// Column widths (mm) of the player tables; the comparison shares the
// shooting and counting columns.
constexpr double NumberW = 9, StarterW = 9, FirstNameW = 27, LastNameW = 38, PointsW = 9, TimeW = 11, IndexW = 8,
                 ShotW = 16, AsW = 7, StealW = 8, ToW = 7, SubW = 6, PlusMinusW = 8;
constexpr double TeamW = 34, PossessionW = 10, MinW = 9, PairW = 8;
// The line-up and bench table and the score table under the sides.
constexpr double GroupTeamW = 30, GroupW = 12, GroupValueW = 8, ScoreW = 10;

// Made / attempted and the percentage, as the report prints a shooting cell.
QString Shots(int made, int attempted, int percent)
{
    return QStringLiteral("%1/%2 %3%").arg(made).arg(attempted).arg(percent);
}

struct Attack
{
    int made = 0, attempted = 0;

    // A trip to the line counts as one attack for each two free throws.
    explicit Attack(const BoxRow &row)
        : made(row.count(BC_PIZIGREOK) + (row.count(BC_P1OK) + 1) / 2),
          attempted(row.count(BC_PIZIGREUK) + (row.count(BC_P1UK) + 1) / 2)
    {
    }
    int percent() const { return attempted == 0 ? 0 : (100 * made + attempted - 1) / attempted; }
    QString text() const { return Shots(made, attempted, percent()); }
};

// Seconds with two digits, so 32:02 is never read as 32:20.
QString Time(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The shooting cells: one, two, three points, field goals and attack.
void AddShooting(Line &line, const BoxRow &row)
{
    line.add(Shots(row.count(BC_P1OK), row.count(BC_P1UK), row.count(BC_P1PROC)), ShotW)
        .add(Shots(row.count(BC_P2OK), row.count(BC_P2UK), row.count(BC_P2PROC)), ShotW)
        .add(Shots(row.count(BC_P3OK), row.count(BC_P3UK), row.count(BC_P3PROC)), ShotW)
        .add(Shots(row.count(BC_PIZIGREOK), row.count(BC_PIZIGREUK), RoundHalfEven(row[BC_P23PROC])), ShotW)
        .add(Attack(row).text(), ShotW);
}

void AddCounts(Line &line, const BoxRow &row)
{
    for (BoxColumn c : {BC_ASISTENCIJA, BC_UKRADENA, BC_IZGUBLJENA})
        line.add(QString::number(row.count(c)), c == BC_UKRADENA ? StealW : c == BC_ASISTENCIJA ? AsW : ToW);
    for (BoxColumn c : {BC_SKOKO, BC_SKOKN, BC_SKOKOVI, BC_LG, BC_LGNA, BC_TG, BC_BLOK, BC_BLOKNA})
        line.add(QString::number(row.count(c)), SubW);
}

// The two heading lines over the shooting and counting columns.
void AddCountHeadings(Line &top, Line &bottom)
{
    for (const char *caption : {"1 point", "2 points", "3 points", "Field goals", "Attack"}) {
        top.add(QString::fromLatin1(caption), ShotW);
        bottom.add(QString(), ShotW);
    }
    top.add(QStringLiteral("As"), AsW).add(QStringLiteral("Steal"), StealW).add(QStringLiteral("TO"), ToW);
    bottom.add(QString(), AsW).add(QString(), StealW).add(QString(), ToW);
    top.add(QStringLiteral("Rebounds"), 3 * SubW).add(QStringLiteral("Fouls"), 3 * SubW).add(QStringLiteral("Blocks"),
                                                                                               2 * SubW);
    for (const char *caption : {"D", "O", "T", "PF", "ON", "TF", "", "ON"})
        bottom.add(QString::fromLatin1(caption), SubW);
}

// Sums of the starters' or the bench's lines.
struct GroupSums
{
    int points = 0, seconds = 0, index = 0, assists = 0, steals = 0, turnovers = 0;

    void add(const BoxRow &row, int secondsOnCourt)
    {
        points += row.count(BC_POENI);
        seconds += secondsOnCourt;
        index += RoundHalfEven(row[BC_INDEKS]);
        assists += row.count(BC_ASISTENCIJA);
        steals += row.count(BC_UKRADENA);
        turnovers += row.count(BC_IZGUBLJENA);
    }
};

// Whole-match figures of a side from its event records.
struct SideEvents
{
    int secondAttack2 = 0, secondAttack3 = 0, fastBreak2 = 0, fastBreak3 = 0;
    int paintIn = 0, freeThrowsMade = 0, points = 0;
    std::map<int, int> byCode;
    std::vector<int> tookPart; // shirt numbers named in the side's records or brought on

    bool took(int shirt) const { return std::ranges::find(tookPart, shirt) != tookPart.end(); }
};

SideEvents ReadSideEvents(const MatchTimeline &timeline, int side)
{
    SideEvents s;
    for (const RecordedEvent &e : timeline.events()) {
        if (e.side != side)
            continue;
        s.points += e.points;
        ++s.byCode[e.code];
        if (e.code == EvMade1)
            ++s.freeThrowsMade;
        if (e.attackType == 1 && e.points == 2) ++s.secondAttack2;
        if (e.attackType == 1 && e.points == 3) ++s.secondAttack3;
        if (e.attackType == 2 && e.points == 2) ++s.fastBreak2;
        if (e.attackType == 2 && e.points == 3) ++s.fastBreak3;
        if (e.parameter == 5 && e.points == 2)
            s.paintIn += e.points;
        if (e.player > 0)
            s.tookPart.push_back(e.player);
        if (e.code == EvPlayerChange && e.parameter > 0)
            s.tookPart.push_back(e.parameter);
    }
    return s;
}

class BasicReportBuilder
{
public:
    BasicReportBuilder(fb::Connection &db, const BasicReportRequest &request)
        : request_(request), facts_(MatchFacts::Read(db, request.match)),
          timeline_(ReadRecordedEvents(db, request.match)),
          box_(BoxScoreBuilder(db).build(request.match, request.choice.filter())),
          balances_(PlusMinus(db).Balances(request.match)), minute_(ReportMinute(timeline_.clock()))
    {
        EventStatistics statistics(db);
        for (int side : {1, 2}) {
            events_[size_t(side)] = ReadSideEvents(timeline_, side);
            timeOuts_[size_t(side)] = statistics.TimeOuts(request.match, side);
            starters_[size_t(side)] = timeline_.fiveAt(side, 0);
        }
    }

    report::Content build()
    {
        report::Content content;
        content.frame = MatchFrame(facts_, request_.choice.basicTitle(), request_.colour, request_.pictureDirectory);
        report::Page page;
        page.bands.push_back(matchBand());
        page.bands.push_back(parametersBand());
        page.bands.push_back(comparisonBand());
        for (int side : {1, 2})
            page.bands.push_back(sideBand(side));
        page.bands.push_back(summaryBand());
        content.pages.push_back(std::move(page));
        return content;
    }

private:
    const QString &team(int side) const { return facts_.teams[size_t(side)]; }
    const SideEvents &events(int side) const { return events_[size_t(side)]; }

    int secondsOnCourt(int side, int shirt) const { return timeline_.secondsOnCourt(side, shirt); }

    int sideSeconds(int side) const
    {
        int seconds = 0;
        for (const BoxRow &row : box_.side(side).players)
            seconds += secondsOnCourt(side, row.count(BC_DRES));
        return seconds;
    }

    report::Band matchBand() const
    {
        Block teams;
        teams.large = true;
        teams.lines.push_back(Line().caption(QStringLiteral("Home team - Away team"), 200).caption(
            QStringLiteral("Score"), 30));
        const QString score = QStringLiteral("%1-%2").arg(box_.home.totals.count(BC_POENI))
                                  .arg(box_.away.totals.count(BC_POENI));
        teams.lines.push_back(Line().caption(team(1) + QStringLiteral(" - ") + team(2), 200, true)
                                  .caption(score, 30, true));
        Block scope;
        scope.lines.push_back(Line().caption(QStringLiteral("Statistics until %1. minute").arg(minute_), 38, true,
                                             Qt::AlignRight));
        return {QStringLiteral("match"), {teams, scope}};
    }

    report::Band parametersBand() const
    {
        Block parameters;
        QString parametersLine = QStringLiteral("Statistic Parameters: ") + request_.choice.description();
        if (minute_ % 5 != 0)
            parametersLine += QStringLiteral("; Minute: %1").arg(minute_);
        parameters.lines.push_back(Line().caption(parametersLine, 200));
        QString quarters;
        int lastPeriod = 0;
        for (const RecordedEvent &e : timeline_.events())
            lastPeriod = std::max(lastPeriod, e.clock.period);
        for (int period = 1; period <= lastPeriod; ++period)
            quarters += QStringLiteral("%1 / %2     ").arg(timeline_.pointsInPeriod(1, period))
                            .arg(timeline_.pointsInPeriod(2, period));
        parameters.lines.push_back(Line().caption(quarters.trimmed(), 200));
        return {QStringLiteral("parameters"), {parameters}};
    }

    report::Band comparisonBand() const
    {
        Line top, bottom;
        top.add(QStringLiteral("Comparison"), TeamW).add(QStringLiteral("Posse"), PossessionW)
            .add(QStringLiteral("Points"), PointsW).add(QStringLiteral("Min"), MinW).add(QStringLiteral("Ind"), IndexW);
        bottom.add(QString(), TeamW).add(QStringLiteral("ssion"), PossessionW).add(QString(), PointsW)
            .add(QString(), MinW).add(QString(), IndexW);
        AddCountHeadings(top, bottom);
        // The figures of the whole match from the records: second attack,
        // fast break, paint.
        top.add(QStringLiteral("Second Attack"), 2 * PairW).add(QStringLiteral("Fast Break"), 2 * PairW)
            .add(QStringLiteral("Paint"), 2 * PairW);
        for (const char *caption : {"2 points", "3 points", "2 points", "3 points", "in", "out"})
            bottom.add(QString::fromLatin1(caption), PairW);
        Block table;
        table.lines = {top.styled(Fill::Heading, true), bottom.styled(Fill::Heading, true)};
        for (int side : {1, 2}) {
            const BoxRow &t = box_.side(side).totals;
            const SideEvents &e = events(side);
            Line line;
            line.add(team(side), TeamW, Qt::AlignLeft)
                .add(QString::number(facts_.possessionSide == side ? 1 : 0), PossessionW)
                .add(QString::number(t.count(BC_POENI)), PointsW)
                .add(QString::number(sideSeconds(side) / 60), MinW)
                .add(QString::number(RoundHalfEven(t[BC_INDEKS])), IndexW);
            AddShooting(line, t);
            AddCounts(line, t);
            for (int value : {e.secondAttack2, e.secondAttack3, e.fastBreak2, e.fastBreak3, e.paintIn,
                              e.points - e.paintIn - e.freeThrowsMade})
                line.add(QString::number(value), PairW);
            table.lines.push_back(line.styled(Fill::Heading));
        }
        return {QStringLiteral("comparison"), {table}};
    }

    Line teamHeading(int side) const
    {
        Line line;
        line.caption(team(side), 80, true)
            .caption(QStringLiteral("Coach: ") + facts_.coaches[size_t(side)], 80)
            .caption(QStringLiteral("TF: %1").arg(events(side).byCode.contains(EvTechnicalCoach)
                                                      ? events(side).byCode.at(EvTechnicalCoach)
                                                      : 0),
                     20)
            .caption(QStringLiteral("Time outs: %1").arg(timeOuts_[size_t(side)]), 30);
        return line;
    }

    static void AddPlayerHeadings(Block &table)
    {
        Line top, bottom;
        for (const auto &[caption, width] : {std::pair{"Number", NumberW}, {"Starter", StarterW},
                                             {"First name", FirstNameW}, {"Last name", LastNameW},
                                             {"Points", PointsW}, {"Min:Sec", TimeW}, {"Ind", IndexW}}) {
            top.add(QString::fromLatin1(caption), width);
            bottom.add(QString(), width);
        }
        AddCountHeadings(top, bottom);
        top.add(QStringLiteral("+/-"), PlusMinusW);
        bottom.add(QString(), PlusMinusW);
        table.lines.push_back(top.styled(Fill::Heading, true));
        table.lines.push_back(bottom.styled(Fill::Heading, true));
    }

    Line playerLine(int side, const BoxRow &row)
    {
        const int shirt = row.count(BC_DRES);
        const bool starter = starters_[size_t(side)].contains(shirt);
        const int seconds = secondsOnCourt(side, shirt);
        (starter ? lineUp_ : bench_)[size_t(side)].add(row, seconds);
        const auto balance = balances_.find({side, shirt});
        Line line;
        line.add(shirt == 100 ? QStringLiteral("00") : QString::number(shirt), NumberW)
            .add(starter ? QStringLiteral("S") : QString(), StarterW)
            .add(row.firstName, FirstNameW, Qt::AlignLeft)
            .add(row.surname, LastNameW, Qt::AlignLeft)
            .add(QString::number(row.count(BC_POENI)), PointsW)
            .add(Time(seconds), TimeW)
            .add(QString::number(RoundHalfEven(row[BC_INDEKS])), IndexW);
        AddShooting(line, row);
        AddCounts(line, row);
        line.add(QString::number(balance == balances_.end() ? 0 : balance->second), PlusMinusW);
        if (starter || events(side).took(shirt))
            line.styled(Fill::TookPart);
        return line;
    }

    Line totalsLine(int side) const
    {
        const BoxRow &t = box_.side(side).totals;
        Line line;
        line.add(QString(), NumberW).add(QString(), StarterW).add(QStringLiteral("Total"), FirstNameW, Qt::AlignLeft)
            .add(QString(), LastNameW).add(QString::number(t.count(BC_POENI)), PointsW)
            .add(Time(sideSeconds(side)), TimeW).add(QString::number(RoundHalfEven(t[BC_INDEKS])), IndexW);
        AddShooting(line, t);
        AddCounts(line, t);
        line.add(QString(), PlusMinusW);
        for (report::Cell &cell : line.cells)
            cell.bold = true;
        return line;
    }

    report::Band sideBand(int side)
    {
        Block table;
        table.lines.push_back(teamHeading(side));
        AddPlayerHeadings(table);
        for (const BoxRow &row : box_.side(side).players)
            table.lines.push_back(playerLine(side, row));
        table.lines.push_back(totalsLine(side));
        return {side == 1 ? QStringLiteral("home") : QStringLiteral("away"), {table}};
    }

    Block lineUpTable() const
    {
        Block table;
        Line heading;
        heading.add(QString(), GroupTeamW).add(QString(), GroupW);
        for (const char *caption : {"Points", "Min", "Sec", "Ind", "As", "Steal", "TO"})
            heading.add(QString::fromLatin1(caption), GroupValueW);
        table.lines.push_back(heading.styled(Fill::Heading, true));
        for (int side : {1, 2}) {
            for (bool starters : {true, false}) {
                const GroupSums &sums = (starters ? lineUp_ : bench_)[size_t(side)];
                Line line;
                line.add(starters ? team(side) : QString(), GroupTeamW, Qt::AlignLeft)
                    .add(starters ? QStringLiteral("Line Up") : QStringLiteral("Bench"), GroupW, Qt::AlignLeft);
                for (int value : {sums.points, sums.seconds / 60, sums.seconds % 60, sums.index, sums.assists,
                                  sums.steals, sums.turnovers})
                    line.add(QString::number(value), GroupValueW);
                table.lines.push_back(line);
            }
        }
        return table;
    }

    Block teamStatistics(int side) const
    {
        const auto count = [&](int code) {
            const auto &byCode = events(side).byCode;
            return QString::number(byCode.contains(code) ? byCode.at(code) : 0);
        };
        Block box;
        box.lines.push_back(Line().caption(team(side), 30, true));
        box.lines.push_back(Line().caption(QStringLiteral("(Team Statistics)"), 30));
        const QString jumpBall = side == 1 ? QStringLiteral("Jumb ball :") : QStringLiteral("Jump ball :");
        for (const auto &[caption, code] : {std::pair{QStringLiteral("Offence :"), int(EvTeamOffence)},
                                            {QStringLiteral("Defence :"), int(EvTeamDefence)},
                                            {QStringLiteral("Turnover :"), int(EvTeamTurnover)},
                                            {jumpBall, int(EvJumpBall)}})
            box.lines.push_back(Line().add(caption, 20, Qt::AlignLeft).add(count(code), 10));
        return box;
    }

    // The score at every fifth minute played so far, and the overtimes'
    // points in an extra column once play went beyond the fortieth minute.
    Block scoreTable() const
    {
        Line minutes, score;
        minutes.add(QStringLiteral("Min"), 10);
        score.add(QStringLiteral("Score"), 10);
        constexpr int Regular = RegularPeriods * QuarterMinutes;
        for (int t = 5; t <= Regular; t += 5) {
            minutes.add(QString::number(t), ScoreW);
            score.add(t - 4 <= minute_ ? QStringLiteral("%1 : %2").arg(timeline_.pointsUpTo(1, t))
                                             .arg(timeline_.pointsUpTo(2, t))
                                       : QStringLiteral("- : -"),
                      ScoreW);
        }
        if (minute_ > Regular) {
            std::array<int, 3> overtime{};
            for (int side : {1, 2})
                for (int period = RegularPeriods + 1; period <= timeline_.clock().period; ++period)
                    overtime[size_t(side)] += timeline_.pointsInPeriod(side, period);
            minutes.add(QString::number(minute_), ScoreW);
            score.add(QStringLiteral("%1 : %2").arg(overtime[1]).arg(overtime[2]), ScoreW);
        }
        Block table;
        table.lines = {minutes.styled(Fill::Heading, true), score.styled(Fill::Heading)};
        return table;
    }

    report::Band summaryBand() const
    {
        return {QStringLiteral("summary"), {lineUpTable(), teamStatistics(1), teamStatistics(2), scoreTable()}};
    }

    const BasicReportRequest &request_;
    MatchFacts facts_;
    MatchTimeline timeline_;
    BoxScoreSet box_;
    std::map<std::pair<int, int>, int> balances_;
    int minute_;
    std::array<SideEvents, 3> events_;
    std::array<int, 3> timeOuts_{};
    std::array<QList<int>, 3> starters_; // the five of each side who started the match
    std::array<GroupSums, 3> lineUp_{}, bench_{};
};

} // namespace

report::Content BuildBasicReport(fb::Connection &db, const BasicReportRequest &request)
{
    return BasicReportBuilder(db, request).build();
}
