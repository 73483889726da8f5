#include "reports/PlayerReports.h"

#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "publish/MatchTimeline.h"
#include "reports/BasicReport.h"
#include "reports/ReportFrame.h"
#include "reports/ReportPages.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <set>

using report::Block;
using report::Chart;
using report::ChartSeries;
using report::Court;
using report::Fill;
using report::Line;

ReportChoice &TurnoversFilter()
{
    static ReportChoice choice;
    return choice;
}

int Percent(int part, int whole) { return whole == 0 ? 0 : RoundHalfEven(100.0 * part / whole); }

namespace {

// Column widths (mm) of the player columns every table of the family starts with.
constexpr double NumberW = 12, FirstNameW = 30, LastNameW = 40;

struct Player
{
    int shirt = 0;
    QString surname, firstName;
};

// Made / attempted and the percentage, as the family prints a shooting cell.
QString Shots(int made, int attempted, int percent)
{
    return QStringLiteral("%1/%2 %3%").arg(made).arg(attempted).arg(percent);
}

// The band of a side's block: "home" or "away".
QString SideBand(int side) { return side == 1 ? QStringLiteral("home") : QStringLiteral("away"); }

// The match, its records and its roster: what every report of the family reads.
class MatchReport
{
public:
    MatchReport(fb::Connection &db, const MatchReportRequest &request)
        : db_(db), request_(request), facts_(MatchFacts::Read(db, request.match)),
          timeline_(ReadRecordedEvents(db, request.match)), box_(BoxScoreBuilder(db).build(request.match))
    {
    }

protected:
    report::Content content(const QString &title) const
    {
        report::Content c;
        c.frame = MatchFrame(facts_, title, request_.colour, request_.pictureDirectory);
        return c;
    }

    const QString &team(int side) const { return facts_.teams[size_t(side)]; }

    // Every rostered player of the side, in shirt order.
    std::vector<Player> roster(int side) const
    {
        std::vector<Player> players;
        for (const BoxRow &row : box_.side(side).players)
            players.push_back({row.count(BC_DRES), row.surname, row.firstName});
        return players;
    }

    // The rostered players who took part: starters, players named in the
    // side's records and players brought on, in shirt order.
    std::vector<Player> tookPart(int side) const
    {
        std::set<int> shirts;
        for (int shirt : timeline_.fiveAt(side, 0))
            shirts.insert(shirt);
        for (const RecordedEvent &e : timeline_.events()) {
            if (e.side != side)
                continue;
            if (e.player > 0)
                shirts.insert(e.player);
            if (e.code == EvPlayerChange && e.parameter > 0)
                shirts.insert(e.parameter);
        }
        std::vector<Player> players = roster(side);
        std::erase_if(players, [&](const Player &p) { return !shirts.contains(p.shirt); });
        return players;
    }

    // Records of the side that pass `test`, of one player when `shirt` is given.
    int count(int side, std::optional<int> shirt, const std::function<bool(const RecordedEvent &)> &test) const
    {
        return int(std::ranges::count_if(timeline_.events(), [&](const RecordedEvent &e) {
            return e.side == side && (!shirt || e.player == *shirt) && test(e);
        }));
    }

    static Line playerCells(const Player &p, bool lastNameFirst = false)
    {
        Line line;
        line.add(report::ShirtText(p.shirt), NumberW);
        if (lastNameFirst)
            line.add(p.surname, LastNameW, Qt::AlignLeft).add(p.firstName, FirstNameW, Qt::AlignLeft);
        else
            line.add(p.firstName, FirstNameW, Qt::AlignLeft).add(p.surname, LastNameW, Qt::AlignLeft);
        return line;
    }

    static Line headingCells(bool lastNameFirst = false)
    {
        Line line;
        line.add(QStringLiteral("Number"), NumberW);
        if (lastNameFirst)
            line.add(QStringLiteral("Last name"), LastNameW).add(QStringLiteral("First name"), FirstNameW);
        else
            line.add(QStringLiteral("First name"), FirstNameW).add(QStringLiteral("Last name"), LastNameW);
        return line;
    }

    // "Coach: " and the side's coach.
    QString coachText(int side) const { return QStringLiteral("Coach: ") + facts_.coaches[size_t(side)]; }

    // A side's block: the team line, the heading, the players, the totals.
    static Block sideBlock(const Line &teamLine, const std::vector<Line> &heading, const std::vector<Line> &players,
                           const Line &totals)
    {
        Block block;
        block.lines.push_back(teamLine);
        block.lines.insert(block.lines.end(), heading.begin(), heading.end());
        block.lines.insert(block.lines.end(), players.begin(), players.end());
        block.lines.push_back(totals);
        return block;
    }

    Line teamLine(int side, double width, const QString &right = {}) const
    {
        Line line;
        line.caption(team(side), width * 0.6, true);
        line.caption(right, width * 0.4, true, Qt::AlignRight);
        return line;
    }

    fb::Connection &db_;
    const MatchReportRequest &request_;
    MatchFacts facts_;
    MatchTimeline timeline_;
    BoxScoreSet box_;
};

// ---- Rebounds --------------------------------------------------------------

class Rebounds : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Rebounds"));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Rebounds"))}};
        for (int side : {1, 2})
            page.bands.push_back({SideBand(side), {block(side)}});
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr double PeriodW = 24;

    // "T / O / D" of the periods 1, 2, 3, 4 and after (all overtimes count
    // with the fourth), and the total.
    QStringList cells(int side, std::optional<int> shirt) const
    {
        QStringList out;
        int allO = 0, allD = 0;
        for (int period = 1; period <= 4; ++period) {
            const auto in = [period](const RecordedEvent &e) {
                return period < 4 ? e.clock.period == period : e.clock.period >= 4;
            };
            const int o = count(side, shirt, [&](const RecordedEvent &e) { return e.code == EvReboundOffence && in(e); });
            const int d = count(side, shirt, [&](const RecordedEvent &e) { return e.code == EvReboundDefence && in(e); });
            out << QStringLiteral("%1 / %2 / %3").arg(o + d).arg(o).arg(d);
            allO += o;
            allD += d;
        }
        out << QStringLiteral("%1 / %2 / %3").arg(allO + allD).arg(allO).arg(allD);
        return out;
    }

    Block block(int side) const
    {
        Line heading = headingCells();
        for (const char *caption : {"1. period", "2. period", "3. period", "4. period", "Total"})
            heading.add(QString::fromLatin1(caption), PeriodW);
        std::vector<Line> players;
        for (const Player &p : tookPart(side)) {
            Line line = playerCells(p);
            for (const QString &cell : cells(side, p.shirt))
                line.add(cell, PeriodW);
            players.push_back(line);
        }
        Line totals;
        totals.add(QStringLiteral("Total"), NumberW + FirstNameW + LastNameW, Qt::AlignLeft);
        for (const QString &cell : cells(side, std::nullopt))
            totals.add(cell, PeriodW);
        return sideBlock(teamLine(side, heading.width()), {heading.styled(Fill::Heading, true)}, players,
                         totals.styled(Fill::Heading, true));
    }
};

// ---- Fouls -----------------------------------------------------------------

class Fouls : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Fouls"));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Fouls"))}};
        for (int side : {1, 2})
            page.bands.push_back({SideBand(side), {block(side)}});
        Block legend;
        for (const char *text :
             {"P - [Personal Fault]", "P1 / P2 / P3 - [Personal Fault with one / two / three free throws]",
              "U1 / U2 / U3 - [Unsportsmanlike foul with one / two / three free throws]", "D - [Disqualification]",
              "F - [Fight]", "T - [Tehnical]"})
            legend.lines.push_back(Line().caption(QString::fromLatin1(text), 150));
        page.bands.push_back({QStringLiteral("legend"), {legend}});
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr double FoulW = 12;

    // The columns: the foul types in the order printed, T (technical fouls,
    // a code of its own) standing sixth.
    static constexpr std::array<int, 10> Columns{1, 2, 3, 4, 5, 0, 6, 7, 8, 9};

    std::array<int, 10> counts(int side, int shirt) const
    {
        std::array<int, 10> out{};
        for (size_t k = 0; k < Columns.size(); ++k)
            out[k] = Columns[k] == 0
                         ? count(side, shirt, [](const RecordedEvent &e) { return e.code == EvTechnicalPlayer; })
                         : count(side, shirt, [&](const RecordedEvent &e) { return e.foulType == Columns[k]; });
        return out;
    }

    Block block(int side) const
    {
        Line heading = headingCells();
        for (const char *caption : {"P", "P1", "P2", "P3", "U2", "T", "D", "F", "U1", "U3"})
            heading.add(QString::fromLatin1(caption), FoulW);
        std::array<int, 10> sums{};
        std::vector<Line> players;
        for (const Player &p : roster(side)) {
            Line line = playerCells(p);
            const std::array<int, 10> c = counts(side, p.shirt);
            for (size_t k = 0; k < c.size(); ++k) {
                line.add(QString::number(c[k]), FoulW);
                sums[k] += c[k];
            }
            players.push_back(line);
        }
        Line totals;
        totals.add(QStringLiteral("Total"), NumberW + FirstNameW + LastNameW, Qt::AlignLeft);
        for (int sum : sums)
            totals.add(QString::number(sum), FoulW);
        const int coachTechnicals =
            count(side, std::nullopt, [](const RecordedEvent &e) { return e.code == EvTechnicalCoach; });
        return sideBlock(teamLine(side, heading.width(),
                                  coachText(side) + QStringLiteral("   TF: %1").arg(coachTechnicals)),
                         {heading.styled(Fill::Heading, true)}, players, totals.styled(Fill::Heading, true));
    }
};

// ---- Turnovers -------------------------------------------------------------

class Turnovers : public MatchReport
{
public:
    Turnovers(fb::Connection &db, const MatchReportRequest &request, const ReportChoice &choice, bool fromChooser)
        : MatchReport(db, request), choice_(choice), fromChooser_(fromChooser)
    {
    }

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Turnovers"));
        Block parameters;
        parameters.lines.push_back(
            Line()
                .caption(fromChooser_ ? QStringLiteral("Parameters: ") + choice_.description()
                                      : QStringLiteral("Parameters:"),
                         150)
                .caption(QStringLiteral("Statistics until %1. minute").arg(ReportMinute(timeline_.clock())), 60,
                         true, Qt::AlignRight));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Turnovers")),
                           {QStringLiteral("parameters"), {parameters}}}};
        EventStore store(db_);
        for (int side : {1, 2})
            page.bands.push_back(
                {SideBand(side), {block(store, side)}});
        c.pages.push_back(std::move(page));
        c.frame.footer << QStringLiteral("Legend: 1) TRAVELLING, 2) BAD PASS, 3) OFFENSIVE FOUL WITH BALL, "
                                         "4) OFFENSIVE FOUL WITHOUT BALL, 5) TECHNICAL FOUL, 6) 3 SECONDS IN THE PAINT,")
                       << QStringLiteral("7) 5 SECONDS, 8) OUT OF BOUNDS, 9) BACKCOURT VIOLATION, 10) BAD LEADING, "
                                         "11) BAD BALL RECEIVING, 12) RULE 5 SECONDS (FT), 13) 8 SECONDS.");
        return c;
    }

private:
    static constexpr double TotalW = 14, TypeW = 10;
    static constexpr int Types = 13;

    // The turnovers of the side (of one player), of one type when given,
    // that the chooser's filter lets through.
    int turnovers(EventStore &store, int side, std::optional<int> shirt, std::optional<int> type) const
    {
        DttCondition condition = DttCondition(request_.match, side).equals(DttColumn::RES, EvTurnover);
        if (shirt)
            condition.equals(DttColumn::NODR, *shirt);
        if (type)
            condition.equals(DttColumn::PAR1, *type);
        return store.CountWhere(condition.filter(choice_.filter()));
    }

    Line counts(EventStore &store, int side, std::optional<int> shirt, Line line) const
    {
        line.add(QString::number(turnovers(store, side, shirt, std::nullopt)), TotalW);
        for (int type = 1; type <= Types; ++type)
            line.add(QString::number(turnovers(store, side, shirt, type)), TypeW);
        return line;
    }

    Block block(EventStore &store, int side) const
    {
        Line heading = headingCells(true);
        heading.add(QStringLiteral("Total"), TotalW);
        for (int type = 1; type <= Types; ++type)
            heading.add(QString::number(type), TypeW);
        std::vector<Line> players;
        for (const Player &p : tookPart(side))
            players.push_back(counts(store, side, p.shirt, playerCells(p, true)));
        Line totals = counts(store, side, std::nullopt,
                             Line().add(QStringLiteral("Total"), NumberW + FirstNameW + LastNameW, Qt::AlignLeft));
        return sideBlock(teamLine(side, heading.width()), {heading.styled(Fill::Heading, true)}, players,
                         totals.styled(Fill::Heading, true));
    }

    ReportChoice choice_;
    bool fromChooser_;
};

// ---- Roster ----------------------------------------------------------------

class RosterReport : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Roster"));
        Block title;
        title.large = true;
        title.lines.push_back(Line().caption(QStringLiteral("Roster"), 60, true));
        for (int side : {1, 2})
            title.lines.push_back(Line()
                                      .caption(side == 1 ? QStringLiteral("Home:") : QStringLiteral("Away:"), 20, true)
                                      .caption(team(side), 110)
                                      .caption(QStringLiteral("Coach :"), 20, true)
                                      .caption(facts_.coaches[size_t(side)], 80));
        report::Page page{{{QStringLiteral("title"), {title}}}};
        for (int side : {1, 2})
            page.bands.push_back({SideBand(side), {block(side)}});
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr double PositionW = 30, HeightW = 16, WeightW = 16, BirthW = 22;

    Block block(int side) const
    {
        Line heading = headingCells(true);
        heading.add(QStringLiteral("Position"), PositionW).add(QStringLiteral("Height"), HeightW)
            .add(QStringLiteral("Weight"), WeightW).add(QStringLiteral("Year of birth"), BirthW);
        // Away rows of the roster carry DOMGOST 0, or 2.
        fb::Query rows(db_, QStringLiteral(
                                "SELECT S.DRES, I.PREZIME, I.IME, P.POZICIJA, I.VISINA, I.TEZINA, I.DAT_RODJ "
                                "FROM SASTAV S JOIN IGRAC I ON I.ID_IGRAC = S.ID_IGRAC "
                                "LEFT JOIN POZICIJA P ON P.ID_POZ = I.ID_POZ "
                                "WHERE (S.ID_UTAKMICA = ?) AND (S.DOMGOST = ? OR S.DOMGOST = ?) ORDER BY S.DRES"));
        rows.exec({request_.match, side == 1 ? 1 : 0, side == 1 ? 1 : 2});
        Block block;
        block.lines.push_back(teamLine(side, heading.width()));
        block.lines.push_back(heading.styled(Fill::Heading, true));
        while (rows.next()) {
            const QDate born = rows.value(6).toDate();
            const auto number = [&](int column) {
                return rows.value(column).isNull() ? QString() : QString::number(rows.value(column).toInt());
            };
            Line line = playerCells({rows.value(0).toInt(), rows.value(1).toString().trimmed(),
                                     rows.value(2).toString().trimmed()},
                                    true);
            line.add(rows.value(3).toString().trimmed(), PositionW).add(number(4), HeightW).add(number(5), WeightW)
                .add(born.isValid() ? QStringLiteral("'%1.").arg(born.year() % 100, 2, 10, QLatin1Char('0'))
                                    : QString(),
                     BirthW);
            block.lines.push_back(line);
        }
        return block;
    }
};

// ---- Second attack and fast break -----------------------------------------

class SecondAttackFastBreak : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Second Attack / Fast Break"));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Second Attack / Fast Break"))}};
        EventStatistics statistics(db_);
        std::array<Sums, 3> sides{};
        for (int side : {1, 2})
            page.bands.push_back({SideBand(side),
                                  {block(statistics, side, sides[size_t(side)])}});
        Block pointsFrom;
        pointsFrom.lines.push_back(Line().caption(QStringLiteral("Points from:"), 40, true));
        for (int side : {1, 2}) {
            const Sums &s = sides[size_t(side)];
            const int fast = s.madeOf(FastBreak), second = s.madeOf(SecondAttack);
            pointsFrom.lines.push_back(
                Line()
                    .caption(team(side), 70, true)
                    .caption(QStringLiteral("Fast Break %1 (%2%)").arg(fast).arg(Percent(fast, s.total)), 50)
                    .caption(QStringLiteral("Second Attack %1 (%2%)").arg(second).arg(Percent(second, s.total)), 50)
                    .caption(QStringLiteral("Total Points %1").arg(s.total), 40));
        }
        page.bands.push_back({QStringLiteral("points from"), {pointsFrom}});
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr int SecondAttack = 1, FastBreak = 2;
    static constexpr double ShotW = 22, TotalW = 18, RelatedW = 24;

    // Made and missed points of the cells, [attack type - 1][value - 2], and the total.
    struct Sums
    {
        std::array<std::array<int, 2>, 2> made{}, missed{};
        int total = 0;

        int madeOf(int attack) const { return made[size_t(attack - 1)][0] + made[size_t(attack - 1)][1]; }
        void add(const Sums &o)
        {
            for (size_t a = 0; a < 2; ++a)
                for (size_t v = 0; v < 2; ++v) {
                    made[a][v] += o.made[a][v];
                    missed[a][v] += o.missed[a][v];
                }
            total += o.total;
        }
    };

    Sums sums(EventStatistics &statistics, int side, int shirt) const
    {
        Sums s;
        const int match = request_.match;
        for (int attack : {SecondAttack, FastBreak})
            for (int value : {2, 3}) {
                const int madeCode = value == 2 ? EvMade2 : EvMade3, missedCode = value == 2 ? EvMiss2 : EvMiss3;
                s.made[size_t(attack - 1)][size_t(value - 2)] =
                    statistics.PointsByAttackType(match, side, shirt, madeCode, attack);
                s.missed[size_t(attack - 1)][size_t(value - 2)] =
                    statistics.MissesByAttackType(match, side, shirt, missedCode, attack);
            }
        s.total = statistics.PointsByAttackType(match, side, shirt, std::nullopt, std::nullopt);
        return s;
    }

    static Line cells(const Sums &s, Line line)
    {
        for (int attack : {SecondAttack, FastBreak})
            for (size_t v = 0; v < 2; ++v) {
                const int made = s.made[size_t(attack - 1)][v], tried = made + s.missed[size_t(attack - 1)][v];
                line.add(Shots(made, tried, Percent(made, tried)), ShotW);
            }
        line.add(QString::number(s.total), TotalW);
        for (int attack : {FastBreak, SecondAttack}) {
            const int part = s.madeOf(attack);
            line.add(s.total < 1 ? QString() : QStringLiteral("%1/%2 %3%").arg(part).arg(s.total).arg(Percent(part, s.total)),
                     RelatedW);
        }
        return line;
    }

    Block block(EventStatistics &statistics, int side, Sums &sideSums) const
    {
        Line top = headingCells(), bottom;
        bottom.add(QString(), NumberW + FirstNameW + LastNameW);
        top.add(QStringLiteral("Second Attack"), 2 * ShotW).add(QStringLiteral("Fast Break"), 2 * ShotW)
            .add(QStringLiteral("Total Points"), TotalW)
            .add(QStringLiteral("Related to total Points (%)"), 2 * RelatedW);
        for (const char *caption : {"2 points", "3 points", "2 points", "3 points"})
            bottom.add(QString::fromLatin1(caption), ShotW);
        bottom.add(QString(), TotalW).add(QStringLiteral("Fast Break"), RelatedW)
            .add(QStringLiteral("Second Attack"), RelatedW);
        std::vector<Line> players;
        for (const Player &p : roster(side)) {
            const Sums s = sums(statistics, side, p.shirt);
            sideSums.add(s);
            players.push_back(cells(s, playerCells(p)));
        }
        const Line totals =
            cells(sideSums, Line().add(QStringLiteral("Total"), NumberW + FirstNameW + LastNameW, Qt::AlignLeft));
        return sideBlock(teamLine(side, top.width(), coachText(side)),
                         {top.styled(Fill::Heading, true), bottom.styled(Fill::Heading, true)}, players,
                         Line(totals).styled(Fill::Heading, true));
    }
};

// ---- Points from the paint --------------------------------------------------

class Paint : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Points from Paint"));
        // Shots of each side: [side][in the paint][value - 2] made and missed.
        std::array<std::array<std::array<std::array<int, 2>, 2>, 2>, 3> shots{};
        fb::Query rows(db_, QStringLiteral("SELECT HG, I1, I2, PAR1 FROM DTT WHERE (IDM = ?) AND (PAR1 IS NOT NULL)"));
        rows.exec({request_.match});
        while (rows.next()) {
            const int side = rows.value(0).toInt();
            if (side != 1 && side != 2)
                continue;
            auto &area = shots[size_t(side)][rows.value(3).toInt() == 5 ? 1 : 0];
            for (int value : {2, 3}) {
                area[size_t(value - 2)][0] += rows.value(1).toInt() == value;
                area[size_t(value - 2)][1] += rows.value(2).toInt() == value;
            }
        }
        Line heading;
        heading.add(QStringLiteral("Team"), 70).add(QStringLiteral("Paint In 2 points"), 34)
            .add(QStringLiteral("Paint Out 2 points"), 34).add(QStringLiteral("Paint Out 3 points"), 34);
        Block table;
        table.lines.push_back(heading.styled(Fill::Heading, true));
        Block rates;
        rates.lines.push_back(Line().caption(QStringLiteral("Total points (Rate %):"), 60, true));
        report::Band pies{QStringLiteral("pies"), {}};
        for (int side : {1, 2}) {
            const auto &s = shots[size_t(side)];
            const auto cell = [](const std::array<int, 2> &madeMissed) {
                const int tried = madeMissed[0] + madeMissed[1];
                return Shots(madeMissed[0], tried, Percent(madeMissed[0], tried));
            };
            table.lines.push_back(Line()
                                      .add(team(side), 70, Qt::AlignLeft)
                                      .add(cell(s[1][0]), 34)
                                      .add(cell(s[0][0]), 34)
                                      .add(cell(s[0][1]), 34));
            const int in = 2 * s[1][0][0], outTwo = 2 * s[0][0][0], outThree = 3 * s[0][1][0];
            const int total = in + outTwo + outThree;
            const int i = Percent(in, total), o = Percent(outTwo, total);
            rates.lines.push_back(Line()
                                      .caption(team(side), 70, true)
                                      .caption(QStringLiteral("Paint In %1 ( %2% )").arg(in).arg(i), 50)
                                      .caption(QStringLiteral("Paint Out %1 ( %2% )").arg(outTwo + outThree).arg(100 - i), 50)
                                      .caption(QStringLiteral("Total Points %1").arg(total), 40));
            Block pie;
            pie.chart = Chart{.kind = Chart::Kind::Pie, .title = team(side), .series = {}, .width = 110, .height = 70};
            pie.chart->series.push_back(
                {team(side), Qt::yellow,
                 {{0, double(i), QStringLiteral("%1% 2p from  Paint").arg(i), Qt::yellow},
                  {0, double(o), QStringLiteral("%1% 2p out of Paint").arg(o), Qt::red},
                  {0, double(100 - i - o), QStringLiteral("%1% 3p out of Paint").arg(100 - i - o), Qt::blue}}});
            pies.blocks.push_back(std::move(pie));
        }
        c.pages.push_back({{report::TeamsBand(facts_, QStringLiteral("Points from Paint")),
                            {QStringLiteral("table"), {table}},
                            {QStringLiteral("rates"), {rates}},
                            std::move(pies)}});
        return c;
    }
};

} // namespace

report::Content BuildRoster(fb::Connection &db, const MatchReportRequest &request)
{
    return RosterReport(db, request).build();
}

report::Content BuildSecondAttackFastBreak(fb::Connection &db, const MatchReportRequest &request)
{
    return SecondAttackFastBreak(db, request).build();
}

report::Content BuildPaint(fb::Connection &db, const MatchReportRequest &request)
{
    return Paint(db, request).build();
}

namespace {

} // namespace

report::Content BuildRebounds(fb::Connection &db, const MatchReportRequest &request)
{
    return Rebounds(db, request).build();
}

report::Content BuildFouls(fb::Connection &db, const MatchReportRequest &request)
{
    return Fouls(db, request).build();
}

report::Content BuildTurnovers(fb::Connection &db, const MatchReportRequest &request, const ReportChoice &choice,
                               bool parametersFromChooser)
{
    return Turnovers(db, request, choice, parametersFromChooser).build();
}

namespace {

// ---- Shots by zone ------------------------------------------------------------

// Made and attempted shots of some records: free throws, two-pointers of
// zones 1 to 6, three-pointers of zones 1, 2, 3, 4 and 6 (a three-pointer
// recorded in zone 5 counts nowhere).
struct ZoneShots
{
    std::array<int, 2> free{};
    std::array<std::array<int, 2>, 7> two{}, three{}; // [zone]: made, attempted

    void add(const RecordedEvent &e)
    {
        const bool made = e.code == EvMade1 || e.code == EvMade2 || e.code == EvMade3;
        const size_t zone = size_t(e.parameter);
        std::array<int, 2> *cell = nullptr;
        if (e.code == EvMade1 || e.code == EvMiss1)
            cell = &free;
        else if ((e.code == EvMade2 || e.code == EvMiss2) && zone >= 1 && zone <= 6)
            cell = &two[zone];
        else if ((e.code == EvMade3 || e.code == EvMiss3) && zone >= 1 && zone <= 6 && zone != 5)
            cell = &three[zone];
        if (!cell)
            return;
        (*cell)[0] += made;
        (*cell)[1] += 1;
    }
    static std::array<int, 2> sum(const std::array<std::array<int, 2>, 7> &zones)
    {
        std::array<int, 2> s{};
        for (const auto &z : zones) {
            s[0] += z[0];
            s[1] += z[1];
        }
        return s;
    }
    std::array<int, 2> twos() const { return sum(two); }
    std::array<int, 2> threes() const { return sum(three); }
    int points() const { return free[0] + 2 * twos()[0] + 3 * threes()[0]; }

    // Each zone's "2: made/attempted", and "3: made/attempted" where a
    // three-pointer can be taken.
    Court court(double width, double height) const
    {
        Court c{.zones = {}, .width = width, .height = height};
        for (size_t zone = 1; zone <= 6; ++zone) {
            QString text = QStringLiteral("2: %1/%2").arg(two[zone][0]).arg(two[zone][1]);
            if (zone != 5)
                text += QStringLiteral(" 3: %1/%2").arg(three[zone][0]).arg(three[zone][1]);
            c.zones[zone - 1] = text;
        }
        return c;
    }
};

// Truncated toward zero, 0 without attempts: the points-by-players panels.
int TruncatedPercent(int made, int attempted) { return attempted == 0 ? 0 : 100 * made / attempted; }

class PointsByPlayers : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Player shoots"));
        std::vector<std::vector<report::Band>> players;
        for (int side : {1, 2})
            for (const Player &p : tookPart(side))
                players.push_back({band(side, p)});
        // Three players a page under the frame's header, four on later pages.
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Player shoots"))}};
        size_t room = 3;
        for (auto &bands : players) {
            if (room == 0) {
                c.pages.push_back(std::move(page));
                page = {};
                room = 4;
            }
            page.bands.insert(page.bands.end(), bands.begin(), bands.end());
            --room;
        }
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr double PanelW = 54, CourtW = 52, CourtH = 30, InfoW = 36;

    ZoneShots shots(int side, int shirt, std::optional<int> period) const
    {
        ZoneShots z;
        for (const RecordedEvent &e : timeline_.events())
            if (e.side == side && e.player == shirt && (!period || e.clock.period == *period))
                z.add(e);
        return z;
    }

    static Line summary(const QString &caption, const std::array<int, 2> &s)
    {
        return Line()
            .caption(caption, 10, true)
            .caption(QStringLiteral("%1 / %2  %3%").arg(s[0]).arg(s[1]).arg(TruncatedPercent(s[0], s[1])), 30);
    }

    report::Band band(int side, const Player &p) const
    {
        const ZoneShots whole = shots(side, p.shirt, std::nullopt);
        Block info;
        info.lines.push_back(Line().caption(team(side), InfoW, true));
        info.lines.push_back(Line().caption(QStringLiteral("Number"), 14).caption(report::ShirtText(p.shirt), 22, true));
        info.lines.push_back(Line().caption(QStringLiteral("First name"), 14).caption(p.firstName, 22, true));
        info.lines.push_back(Line().caption(QStringLiteral("Last name"), 14).caption(p.surname, 22, true));
        const BoxRow *row = box_.side(side).player(p.shirt);
        for (const auto &[caption, s] : {std::pair{QStringLiteral("1 P"), whole.free},
                                         {QStringLiteral("2 P"), whole.twos()},
                                         {QStringLiteral("3 P"), whole.threes()}})
            info.lines.push_back(summary(caption, s));
        info.lines.push_back(Line().caption(QStringLiteral("Points"), 14).caption(
            QString::number(row ? row->count(BC_POENI) : 0), 22, true));
        report::Band band{QStringLiteral("player %1 %2").arg(side).arg(report::ShirtText(p.shirt)), {info}};
        static const char *const quarters[] = {"1st Quarter", "2nd Quarter", "3rd Quarter", "4th Quarter"};
        for (int q = 1; q <= 4; ++q) {
            const ZoneShots z = shots(side, p.shirt, q);
            Block panel;
            panel.lines.push_back(Line().caption(QString::fromLatin1(quarters[q - 1]), PanelW, true,
                                                 Qt::AlignHCenter));
            panel.court = z.court(CourtW, CourtH);
            panel.after = {summary(QStringLiteral("1P:"), z.free), summary(QStringLiteral("2P:"), z.twos()),
                           summary(QStringLiteral("3P:"), z.threes()),
                           Line().caption(QStringLiteral("Total:"), 10, true).caption(QString::number(z.points()), 30)};
            band.blocks.push_back(std::move(panel));
        }
        return band;
    }
};

class PointsComparison : public MatchReport
{
public:
    using MatchReport::MatchReport;

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Comparative points statistics"));
        Block points;
        points.large = true;
        points.lines.push_back(Line()
                                   .caption(QStringLiteral("%1 %2").arg(team(1)).arg(timeline_.points(1)), 130, true)
                                   .caption(QStringLiteral("%1 %2").arg(team(2)).arg(timeline_.points(2)), 130, true));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Comparative points statistics")),
                           {QStringLiteral("points"), {points}}}};
        static const char *const quarters[] = {"1st Quarter", "2nd Quarter", "3rd Quarter", "4th Quarter"};
        for (int half = 0; half < 2; ++half) {
            report::Band band{QStringLiteral("quarters %1-%2").arg(2 * half + 1).arg(2 * half + 2), {}};
            for (int q = 2 * half + 1; q <= 2 * half + 2; ++q)
                for (int side : {1, 2})
                    band.blocks.push_back(panel(side, q, QString::fromLatin1(quarters[q - 1])));
            page.bands.push_back(std::move(band));
        }
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static constexpr double PanelW = 64, CourtH = 40;

    // The fourth quarter takes every overtime.
    Block panel(int side, int quarter, const QString &caption) const
    {
        ZoneShots z;
        for (const RecordedEvent &e : timeline_.events())
            if (e.side == side && (quarter < 4 ? e.clock.period == quarter : e.clock.period >= 4))
                z.add(e);
        Block block;
        block.lines.push_back(Line().caption(caption + QStringLiteral(" - ") + team(side), PanelW, true));
        block.court = z.court(PanelW, CourtH);
        block.after.push_back(Line()
                                  .add(QString(), 16)
                                  .add(QStringLiteral("Made"), 16)
                                  .add(QStringLiteral("Attempted"), 16)
                                  .add(QStringLiteral("%"), 16)
                                  .styled(Fill::Heading, true));
        for (const auto &[caption, s] : {std::pair{QStringLiteral("1 P"), z.free},
                                         {QStringLiteral("2 P"), z.twos()},
                                         {QStringLiteral("3 P"), z.threes()}})
            block.after.push_back(Line()
                                      .add(caption, 16)
                                      .add(QString::number(s[0]), 16)
                                      .add(QString::number(s[1]), 16)
                                      .add(QString::number(Percent(s[0], s[1])), 16));
        return block;
    }
};

class StartersBench : public MatchReport
{
public:
    StartersBench(fb::Connection &db, const MatchReportRequest &request)
        : MatchReport(db, request), starters_(BoxScoreBuilder(db).build(request.match, {.starters = true})),
          bench_(BoxScoreBuilder(db).build(request.match, {.starters = false}))
    {
    }

    report::Content build() const
    {
        report::Content c = content(QStringLiteral("Starters / Banch Comparation"));
        Line top, bottom;
        top.add(QStringLiteral("Team"), 50).add(QStringLiteral("Pts"), 10);
        bottom.add(QString(), 50).add(QString(), 10);
        for (const char *caption : {"1 P", "2 P", "3 P", "Field goals"}) {
            top.add(QString::fromLatin1(caption), 18);
            bottom.add(QString(), 18);
        }
        top.add(QStringLiteral("Rebounds"), 24).add(QStringLiteral("As"), 8).add(QStringLiteral("Steal"), 8)
            .add(QStringLiteral("TO"), 8).add(QStringLiteral("Blocks"), 16).add(QStringLiteral("Fouls"), 24)
            .add(QStringLiteral("Min"), 10).add(QStringLiteral("Ind"), 10);
        for (const char *caption : {"D", "O", "T"})
            bottom.add(QString::fromLatin1(caption), 8);
        bottom.add(QString(), 8).add(QString(), 8).add(QString(), 8);
        for (const char *caption : {"", "ON", "PF", "ON", "TF"})
            bottom.add(QString::fromLatin1(caption), 8);
        bottom.add(QString(), 10).add(QString(), 10);
        Block table;
        table.lines = {top.styled(Fill::Heading, true), bottom.styled(Fill::Heading, true)};
        for (int side : {1, 2})
            for (bool starter : {true, false})
                table.lines.push_back(line(side, starter));
        report::Page page{{report::TeamsBand(facts_, QStringLiteral("Starters / Banch Comparation")),
                           {QStringLiteral("table"), {table}}}};
        // Two pies a figure, one a side.
        static const std::pair<BoxColumn, const char *> figures[] = {
            {BC_POENI, "Points"}, {BC_INDEKS, "Index"}, {BC_SKOKOVI, "Rebounds"}, {BC_LG, "Fouls"}, {BC_BLOK, "Blocks"}};
        for (int side : {1, 2}) {
            report::Band pies{QStringLiteral("pies %1").arg(side), {}};
            const std::array<QColor, 2> colours = side == 1 ? std::array<QColor, 2>{Qt::yellow, Qt::blue}
                                                            : std::array<QColor, 2>{QColor(0x90, 0xEE, 0x90), Qt::red};
            for (const auto &[column, name] : figures) {
                const int s = value(starters_.side(side).totals, column),
                          b = value(bench_.side(side).totals, column);
                Block block;
                block.chart = Chart{.kind = Chart::Kind::Pie,
                                    .title = team(side) + QStringLiteral(": ") + QString::fromLatin1(name),
                                    .series = {{team(side), colours[0],
                                                {{0, double(std::max(s, 0)), QStringLiteral("Starters %1").arg(s), colours[0]},
                                                 {0, double(std::max(b, 0)), QStringLiteral("Banch %1").arg(b), colours[1]}}}},
                                    .width = 51,
                                    .height = 40};
                pies.blocks.push_back(std::move(block));
            }
            page.bands.push_back(std::move(pies));
        }
        c.pages.push_back(std::move(page));
        return c;
    }

private:
    static int value(const BoxRow &row, BoxColumn column)
    {
        return column == BC_INDEKS ? RoundHalfEven(row[BC_INDEKS]) : row.count(column);
    }

    // The minutes the group's players were on court.
    int minutes(int side, bool starter) const
    {
        int seconds = 0;
        for (const BoxRow &row : box_.side(side).players)
            if ((row.count(BC_STARTER) == 1) == starter)
                seconds += timeline_.secondsOnCourt(side, row.count(BC_DRES));
        return seconds / 60;
    }

    Line line(int side, bool starter) const
    {
        const BoxRow &t = (starter ? starters_ : bench_).side(side).totals;
        Line line;
        line.add(team(side) + (starter ? QStringLiteral(" Starters") : QStringLiteral(" Banch")), 50, Qt::AlignLeft)
            .add(QString::number(t.count(BC_POENI)), 10)
            .add(Shots(t.count(BC_P1OK), t.count(BC_P1UK), t.count(BC_P1PROC)), 18)
            .add(Shots(t.count(BC_P2OK), t.count(BC_P2UK), t.count(BC_P2PROC)), 18)
            .add(Shots(t.count(BC_P3OK), t.count(BC_P3UK), t.count(BC_P3PROC)), 18)
            .add(Shots(t.count(BC_PIZIGREOK), t.count(BC_PIZIGREUK), RoundHalfEven(t[BC_P23PROC])), 18);
        for (BoxColumn c : {BC_SKOKO, BC_SKOKN, BC_SKOKOVI, BC_ASISTENCIJA, BC_UKRADENA, BC_IZGUBLJENA, BC_BLOK,
                            BC_BLOKNA, BC_LG, BC_LGNA, BC_TG})
            line.add(QString::number(t.count(c)), 8);
        line.add(QString::number(minutes(side, starter)), 10).add(QString::number(value(t, BC_INDEKS)), 10);
        return line;
    }

    BoxScoreSet starters_, bench_;
};

} // namespace

report::Content BuildPointsByPlayers(fb::Connection &db, const MatchReportRequest &request)
{
    return PointsByPlayers(db, request).build();
}

report::Content BuildPointsComparison(fb::Connection &db, const MatchReportRequest &request)
{
    return PointsComparison(db, request).build();
}

report::Content BuildStartersBench(fb::Connection &db, const MatchReportRequest &request)
{
    return StartersBench(db, request).build();
}
