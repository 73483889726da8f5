#include "reports/ScoreFlow.h"

#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "publish/MatchTimeline.h"
#include "reports/ReportFrame.h"
#include "reports/ReportPages.h"
#include "reports/ReportRenderer.h"

#include <algorithm>
#include <array>
#include <map>

using report::Block;
using report::Chart;
using report::ChartSeries;
using report::Fill;
using report::Line;

bool MinuteCount::step(const RecordedEvent &event)
{
    if (event.code != EvMinuteChange && event.code != EvOverTime)
        return false;
    const MatchClock before = clock_;
    clock_ = clock_.AfterMinuteChange();
    // A change that lets a waiting clock run closes no minute.
    if (before.Ended() || before.AtPeriodStart())
        return false;
    elapsed_ = GameMinute(before.period, before.minute);
    closedPeriod_ = before.minute == 0;
    return true;
}

namespace {

// The points of a made shot, 0 for any other record.
int ShotPoints(const RecordedEvent &e)
{
    switch (e.code) {
    case EvMade1: return 1;
    case EvMade2: return 2;
    case EvMade3: return 3;
    default: return 0;
    }
}

// Both running scores along the records, with the game minute of each.
struct ScoreWalk
{
    MinuteCount minutes;
    std::array<int, 3> score{}; // [1] home, [2] away

    // Takes a record; answers the points it scored (its side's).
    int step(const RecordedEvent &e)
    {
        minutes.step(e);
        const int points = ShotPoints(e);
        if (points > 0 && (e.side == 1 || e.side == 2))
            score[size_t(e.side)] += points;
        return points;
    }
    // The lead of a side: its points less the other's.
    int lead(int side) const { return score[size_t(side)] - score[size_t(3 - side)]; }
};

const QString TakeTheLead = QStringLiteral("Take the lead"), Drawn = QStringLiteral("Drawn"),
              MaximumLead = QStringLiteral("Maximum lead");

// The chart colours: home black, away silver.
const QColor HomeColour(Qt::black), AwayColour(0xC0, 0xC0, 0xC0);

} // namespace

std::vector<TProm> LeadList(const std::vector<RecordedEvent> &events)
{
    std::vector<TProm> list;
    std::array<int, 3> largest{}; // the largest lead of each side
    {
        ScoreWalk walk;
        for (const RecordedEvent &e : events) {
            const int before = walk.lead(e.side == 2 ? 2 : 1);
            const int points = walk.step(e);
            if (points == 0 || (e.side != 1 && e.side != 2))
                continue;
            const TProm entry{walk.minutes.minute(), walk.score[1], walk.score[2], {}};
            if (before <= 0 && before + points > 0)
                list.push_back({entry.minute, entry.home, entry.away, TakeTheLead});
            else if (before + points == 0)
                list.push_back({entry.minute, entry.home, entry.away, Drawn});
            if (walk.lead(1) > 0)
                largest[1] = std::max(largest[1], walk.lead(1));
            else
                largest[2] = std::max(largest[2], walk.lead(2));
        }
    }
    ScoreWalk walk;
    for (const RecordedEvent &e : events) {
        // A side that never led has no largest lead to list.
        if (walk.step(e) == 0 || (e.side != 1 && e.side != 2) || largest[size_t(e.side)] == 0 ||
            walk.lead(e.side) != largest[size_t(e.side)])
            continue;
        const TProm entry{walk.minutes.minute(), walk.score[1], walk.score[2], MaximumLead};
        // Before the first entry that lies later: a later minute, or the
        // same minute with a score further on.
        const auto later = std::ranges::find_if(list, [&](const TProm &p) {
            return p.minute > entry.minute ||
                   (p.minute == entry.minute && ((p.home > entry.home && p.away == entry.away) ||
                                                 (p.home == entry.home && p.away > entry.away)));
        });
        list.insert(later, entry);
    }
    return list;
}

namespace {

// The frame and the facts of a report of the match.
struct ReportBase
{
    MatchFacts facts;
    MatchTimeline timeline;

    ReportBase(fb::Connection &db, int match)
        : facts(MatchFacts::Read(db, match)), timeline(ReadRecordedEvents(db, match))
    {
    }

    report::Content content(const MatchReportRequest &request, const QString &title) const
    {
        report::Content c;
        c.frame = MatchFrame(facts, title, request.colour, request.pictureDirectory);
        return c;
    }
};

// Score by minutes: column widths (mm).
constexpr double MinuteW = 14, LineupW = 66, ScoreW = 20, TimeOutW = 22;

QString TimeOutText(int count)
{
    if (count == 0)
        return {};
    return count == 1 ? QStringLiteral("1 Time Out") : QStringLiteral("%1 Time Outs").arg(count);
}

class ScoreByMinutes
{
public:
    ScoreByMinutes(fb::Connection &db, const MatchReportRequest &request, bool details)
        : request_(request), base_(db, request.match), details_(details)
    {
        const BoxScoreSet box = BoxScoreBuilder(db).build(request.match);
        for (int side : {1, 2})
            for (const BoxRow &row : box.side(side).players)
                names_[size_t(side)][row.count(BC_DRES)] = row.surname + u' ' + row.firstName;
    }

    report::Content build() const
    {
        report::Content content = base_.content(request_, QStringLiteral("Score by minutes"));
        std::vector<report::Band> first{report::TeamsBand(base_.facts, QStringLiteral("Score by minutes")),
                                        startBand()};
        Line heading;
        heading.add(QStringLiteral("Minute"), MinuteW).add(QStringLiteral("Lineup home"), LineupW)
            .add(QStringLiteral("Home score"), ScoreW).add(QStringLiteral("Away score"), ScoreW)
            .add(QStringLiteral("Lineup away"), LineupW).add(QStringLiteral("Time-outs home"), TimeOutW)
            .add(QStringLiteral("Time-outs away"), TimeOutW);
        heading.styled(Fill::Heading, true);
        std::vector<std::vector<Line>> rows;
        for (const ClockReading &reading : minutesWithRecords())
            rows.push_back(row(reading));
        content.pages = report::TablePages(std::move(first), {heading}, rows, details_ ? 38 : 44, 58);
        return content;
    }

private:
    // Periods in order and, within one, the clock minutes counting down:
    // every minute that holds a record.
    std::vector<ClockReading> minutesWithRecords() const
    {
        std::vector<ClockReading> readings;
        for (const RecordedEvent &e : base_.timeline.events())
            if (std::ranges::find(readings, e.clock) == readings.end())
                readings.push_back(e.clock);
        std::ranges::sort(readings, [](const ClockReading &a, const ClockReading &b) {
            return a.period != b.period ? a.period < b.period : a.minute > b.minute;
        });
        return readings;
    }

    // A five as the report prints it: numbers apart, or one name a line.
    QStringList five(int side, QList<int> shirts) const
    {
        std::ranges::sort(shirts);
        QStringList out;
        for (int shirt : shirts) {
            if (shirt == 0)
                continue;
            const auto name = names_[size_t(side)].find(shirt);
            out << (details_ ? QStringLiteral("[ %1 ] %2")
                                   .arg(report::ShirtText(shirt),
                                        name == names_[size_t(side)].end() ? QString() : name->second)
                             : report::ShirtText(shirt));
        }
        return details_ ? out : QStringList{out.join(QStringLiteral("    "))};
    }

    // The lines of a minute: one, or one a player in details.
    static std::vector<Line> lines(const QStringList &home, const QStringList &away,
                                   const std::array<QString, 5> &others)
    {
        std::vector<Line> lines;
        const qsizetype count = std::max<qsizetype>({home.size(), away.size(), 1});
        for (qsizetype i = 0; i < count; ++i) {
            const auto other = [&](size_t k) { return i == 0 ? others[k] : QString(); };
            Line line;
            line.add(other(0), MinuteW).add(home.value(i), LineupW, Qt::AlignLeft).add(other(1), ScoreW)
                .add(other(2), ScoreW).add(away.value(i), LineupW, Qt::AlignLeft).add(other(3), TimeOutW)
                .add(other(4), TimeOutW);
            lines.push_back(line);
        }
        return lines;
    }

    report::Band startBand() const
    {
        Block block;
        block.lines = lines(five(1, base_.timeline.fiveAt(1, 0)), five(2, base_.timeline.fiveAt(2, 0)),
                            {QStringLiteral("Game Start"), {}, {}, {}, {}});
        return {QStringLiteral("game start"), {block}};
    }

    std::vector<Line> row(const ClockReading &reading) const
    {
        const MatchTimeline &t = base_.timeline;
        const int minute = GameMinute(reading.period, reading.minute);
        std::array<int, 3> points{}, timeOuts{};
        for (const RecordedEvent &e : t.events()) {
            if (e.side != 1 && e.side != 2)
                continue;
            if (e.clock.NotAfter(reading))
                points[size_t(e.side)] += ShotPoints(e);
            if (e.clock == reading && e.code == EvTimeOut)
                ++timeOuts[size_t(e.side)];
        }
        return lines(five(1, t.fiveAt(1, minute)), five(2, t.fiveAt(2, minute)),
                     {QString::number(minute), QString::number(points[1]), QString::number(points[2]),
                      TimeOutText(timeOuts[1]), TimeOutText(timeOuts[2])});
    }

    const MatchReportRequest &request_;
    ReportBase base_;
    bool details_;
    std::array<std::map<int, QString>, 3> names_; // [side][shirt]: "Surname First name"
};

// Table summary: a column of the lead list, and how many entries a column
// takes on page 1 and on every later page.
constexpr int FirstColumnEntries = 28, LaterColumnEntries = 59;
constexpr double LeadMinuteW = 16, LeadEventW = 34, LeadScoreW = 22, LeadDifferenceW = 22;

Block LeadColumn(const std::vector<TProm> &list, size_t from, size_t count)
{
    Block column;
    column.lines.push_back(Line()
                               .add(QStringLiteral("Minute"), LeadMinuteW)
                               .add(QStringLiteral("Event"), LeadEventW)
                               .add(QStringLiteral("Score"), LeadScoreW)
                               .add(QStringLiteral("Difference"), LeadDifferenceW)
                               .styled(Fill::Heading, true));
    for (size_t i = from; i < std::min(list.size(), from + count); ++i) {
        const TProm &p = list[i];
        column.lines.push_back(Line()
                                   .add(QString::number(p.minute), LeadMinuteW)
                                   .add(p.text, LeadEventW, Qt::AlignLeft)
                                   .add(QStringLiteral("%1 : %2").arg(p.home).arg(p.away), LeadScoreW)
                                   .add(QString::number(p.home - p.away), LeadDifferenceW));
    }
    return column;
}

// A line chart over the game minutes with a home and an away series.
Chart SidesChart(const QString &title, const MatchFacts &facts, double width, double height)
{
    Chart chart{.kind = Chart::Kind::Line, .title = title, .series = {}, .width = width, .height = height};
    chart.series = {ChartSeries{facts.teams[1], HomeColour, {{0, 0, {}, {}}}},
                    ChartSeries{facts.teams[2], AwayColour, {{0, 0, {}, {}}}}};
    return chart;
}

// A point of each side at `x`, the away point labelled with its value.
void AddPoints(Chart &chart, double x, int home, int away)
{
    chart.series[0].values.push_back({x, double(home), {}, {}});
    chart.series[1].values.push_back({x, double(away), QString::number(away), {}});
}

} // namespace

report::Content BuildScoreByMinutes(fb::Connection &db, const MatchReportRequest &request, bool details)
{
    return ScoreByMinutes(db, request, details).build();
}

std::vector<report::Page> LeadListPages(const std::vector<TProm> &list, const report::Band &firstBand)
{
    std::vector<report::Page> pages;
    size_t from = 0;
    do {
        const size_t perColumn = pages.empty() ? FirstColumnEntries : LaterColumnEntries;
        report::Page page;
        if (pages.empty())
            page.bands.push_back(firstBand);
        report::Band columns{QStringLiteral("lead list"), {LeadColumn(list, from, perColumn)}};
        // A right column past the end of the list is left out, frame and all.
        if (from + perColumn < list.size())
            columns.blocks.push_back(LeadColumn(list, from + perColumn, perColumn));
        page.bands.push_back(std::move(columns));
        pages.push_back(std::move(page));
        from += 2 * perColumn;
    } while (from < list.size());
    return pages;
}

report::Content BuildTableSummary(fb::Connection &db, const MatchReportRequest &request)
{
    const ReportBase base(db, request.match);
    report::Content content = base.content(request, QStringLiteral("Score by minutes - table summary"));
    content.pages = LeadListPages(LeadList(base.timeline.events()),
                                  report::TeamsBand(base.facts, QStringLiteral("Score by minutes - table summary")));
    return content;
}

report::Content BuildScoreGraph(fb::Connection &db, const MatchReportRequest &request)
{
    const ReportBase base(db, request.match);
    report::Content content = base.content(request, QStringLiteral("Score by minutes - graphic summary"));
    Chart chart = SidesChart(base.facts.teams[1] + QStringLiteral(" - ") + base.facts.teams[2], base.facts,
                             report::PrintableWidthMm, 150);
    ScoreWalk walk;
    for (const RecordedEvent &e : base.timeline.events()) {
        const int closedBefore = walk.minutes.elapsed();
        walk.step(e);
        if (walk.minutes.elapsed() != closedBefore)
            AddPoints(chart, walk.minutes.elapsed(), walk.score[1], walk.score[2]);
    }
    Block graph;
    graph.chart = std::move(chart);
    content.pages.push_back({{report::TeamsBand(base.facts, QStringLiteral("Score by minutes - graphic summary")),
                              {QStringLiteral("graph"), {graph}}}});
    return content;
}

report::Content BuildDiagrams(fb::Connection &db, const MatchReportRequest &request)
{
    const ReportBase base(db, request.match);
    report::Content content = base.content(request, QStringLiteral("Diagrams"));
    // The eight figures: their titles and the codes each counts (a made
    // shot counts its points).
    struct Figure
    {
        const char *title;
        std::initializer_list<int> codes;
    };
    static const Figure figures[] = {
        {"       Points by periods", {EvMade1, EvMade2, EvMade3}},
        {"       Rebounds by periods", {EvReboundDefence, EvReboundOffence}},
        {"       Defensive rebounds by periods", {EvReboundDefence}},
        {"       Offensive rebounds by periods", {EvReboundOffence}},
        {"Turnovers by periods", {EvTurnover}},
        {"       Steals by periods", {EvSteal}},
        {"       Assistens by periods", {EvAssist}},
        {"       Personal fouls by periods", {EvPersonalFoul, EvTechnicalPlayer}},
    };
    constexpr size_t FigureCount = std::size(figures);
    constexpr double ChartW = 65, ChartH = 76;
    std::vector<Chart> charts;
    for (const Figure &f : figures)
        charts.push_back(SidesChart(QString::fromLatin1(f.title), base.facts, ChartW, ChartH));
    std::array<std::array<int, 3>, FigureCount> counters{};
    MinuteCount minutes;
    for (const RecordedEvent &e : base.timeline.events()) {
        if (minutes.step(e) && minutes.closedPeriod()) {
            for (size_t f = 0; f < FigureCount; ++f)
                AddPoints(charts[f], minutes.elapsed(), counters[f][1], counters[f][2]);
            counters = {};
        }
        if (e.side != 1 && e.side != 2)
            continue;
        for (size_t f = 0; f < FigureCount; ++f)
            if (std::ranges::find(figures[f].codes, e.code) != figures[f].codes.end())
                counters[f][size_t(e.side)] += f == 0 ? ShotPoints(e) : 1;
    }
    report::Page page{{report::TeamsBand(base.facts, QStringLiteral("Diagrams"))}};
    for (size_t row = 0; row < 2; ++row) {
        report::Band band{QStringLiteral("diagrams %1").arg(row + 1), {}};
        for (size_t f = 4 * row; f < 4 * row + 4; ++f) {
            Block block;
            block.chart = std::move(charts[f]);
            band.blocks.push_back(std::move(block));
        }
        page.bands.push_back(std::move(band));
    }
    content.pages.push_back(std::move(page));
    return content;
}

report::Content BuildPlayByPlay(fb::Connection &db, const MatchReportRequest &request)
{
    const ReportBase base(db, request.match);
    report::Content content = base.content(request, QStringLiteral("Play by play"));
    constexpr double MinuteCol = 14, PlayerW = 60, ActionW = 52, DefenceW = 26, ScoreCol = 20;
    Line heading;
    heading.add(QStringLiteral("Minute"), MinuteCol).add(QStringLiteral("Home team"), PlayerW)
        .add(QStringLiteral("Away team"), PlayerW).add(QStringLiteral("Action"), ActionW)
        .add(QStringLiteral("Defense"), DefenceW).add(QStringLiteral("Score"), ScoreCol);
    heading.styled(Fill::Heading, true);
    // Player events whose shirt number is on the side's roster (away rows
    // carry DOMGOST 0, or 2).
    fb::Query rows(db, QStringLiteral(
                           "SELECT D.M, D.HG, I.IME, I.PREZIME, A.OZNAKA, D.PAR4, D.DTYPE, D.I1 "
                           "FROM DTT D, SASTAV S, IGRAC I, AKCIJA A "
                           "WHERE (D.RES BETWEEN 3 AND 21) AND (S.ID_IGRAC = I.ID_IGRAC) "
                           "AND (S.ID_UTAKMICA = D.IDM) AND (D.NODR = S.DRES) "
                           "AND ((D.HG = S.DOMGOST) OR ((D.HG - 2) = S.DOMGOST)) AND (A.SIFRA = D.RES) "
                           "AND (D.IDM = ?) ORDER BY D.RBACTION"));
    rows.exec({request.match});
    std::array<int, 3> score{};
    std::vector<std::vector<Line>> lines;
    while (rows.next()) {
        const int side = rows.value(1).toInt() == 1 ? 1 : 2;
        const QString player = rows.value(2).toString().trimmed() + u' ' + rows.value(3).toString().trimmed();
        QString action = rows.value(4).toString().trimmed();
        if (const int attack = rows.value(5).toInt(); attack == 1)
            action += QStringLiteral("/Second Attack");
        else if (attack == 2)
            action += QStringLiteral("/Fast Break");
        score[size_t(side)] += rows.value(7).toInt();
        Line line;
        line.add(rows.value(0).toString(), MinuteCol)
            .add(side == 1 ? player : QString(), PlayerW, Qt::AlignLeft)
            .add(side == 2 ? player : QString(), PlayerW, Qt::AlignLeft)
            .add(action, ActionW, Qt::AlignLeft)
            .add(rows.value(6).toInt() != 0 ? QStringLiteral("Zone") : QStringLiteral("Man To Man"), DefenceW)
            .add(QStringLiteral("%1 : %2").arg(score[1]).arg(score[2]), ScoreCol);
        lines.push_back({line});
    }
    content.pages = report::TablePages(
        {report::TeamsBand(base.facts, QStringLiteral("Play by play (actions per minutes)"))}, {heading}, lines, 48,
        58);
    return content;
}
