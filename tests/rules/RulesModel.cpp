#include "rules/RulesModel.h"

#include "common/GameClock.h"

#include <QStringList>

#include <algorithm>
#include <cstring>

namespace rules {

const std::array<const char *, ColumnCount> ColumnNames = {
    "P1OK",  "P1UK",  "P21OK", "P22OK", "P23OK", "P24OK",       "P25OK",    "P26OK", "P21UK", "P22UK", "P23UK",
    "P24UK", "P25UK", "P26UK", "P31OK", "P32OK", "P33OK",       "P34OK",    "P36OK", "P31UK", "P32UK", "P33UK",
    "P34UK", "P36UK", "SKOKO", "SKOKN", "ASISTENCIJA", "UKRADENA", "IZG1", "IZG2",  "IZG3",  "IZG4",  "IZG5",
    "IZG6",  "IZG7",  "IZG8",  "IZG9",  "IZG10", "IZG11",       "BLOK",     "BLOKNA", "LG",   "TG",    "LGNA",
    "MINUTA"};

int columnIndex(const char *name)
{
    for (int i = 0; i < ColumnCount; ++i)
        if (std::strcmp(ColumnNames[size_t(i)], name) == 0)
            return i;
    return -1;
}

namespace {

int column(const QString &name)
{
    const int i = columnIndex(name.toLatin1().constData());
    Q_ASSERT(i >= 0);
    return i;
}

bool contains(const std::vector<int> &v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); }

const std::vector<int> NoOne;
const Line ZeroLine{};

} // namespace

Model::Model(std::set<int> home, std::set<int> away)
{
    roster_[0] = std::move(home);
    roster_[1] = std::move(away);
    for (int s = 0; s < 2; ++s)
        for (int d : roster_[s])
            stat_[s][d] = Line{};
}

bool Model::periodStart() const
{
    return !ended_ && clock_ == PeriodStartMinute(period_);
}

int Model::minuteNow() const
{
    if (ended_)
        return GameMinute(period_, 0);
    return GameMinute(period_, clock_) + (periodStart() ? 1 : 0);
}

const std::vector<int> &Model::court(int side, int vreme) const
{
    const auto it = court_[side - 1].find(vreme);
    return it == court_[side - 1].end() ? NoOne : it->second;
}

const Line &Model::statLine(int side, int dres) const
{
    const auto it = stat_[side - 1].find(dres);
    return it == stat_[side - 1].end() ? ZeroLine : it->second;
}

int Model::fouls(int side, int dres) const
{
    const Line &l = statLine(side, dres);
    return l[size_t(column(QStringLiteral("LG")))] + l[size_t(column(QStringLiteral("TG")))];
}

int Model::timeOutsBetween(int side, int from, int to) const
{
    return int(std::count_if(timeOuts_.begin(), timeOuts_.end(), [&](const std::pair<int, int> &t) {
        return t.first == side && t.second >= from && t.second <= to;
    }));
}

int Model::validate(const Event &e) const
{
    const int code = e.code;
    const bool clockCode = code == 0 || code == 1 || code == 3 || code == 22;
    const bool teamCode = code == 20 || (code >= 31 && code <= 34);
    const bool playerCode = code == 2 || (code >= 4 && code <= 19) || code == 21;
    const bool sideOk = e.a0 == 1 || e.a0 == 2;

    // 1. The code and the shape of its parameters.
    if (clockCode && (e.a0 != 3 || e.a1 != 0 || e.a3 != 0))
        return 9;
    if (teamCode && (!sideOk || e.a1 != 0 || e.a3 != 0))
        return 9;
    if (playerCode && !sideOk)
        return 9;
    if (!clockCode && !teamCode && !playerCode)
        return 9;

    // 2. Phase of the match and clock.
    const bool ms = flags_ & 1;
    const bool mf = flags_ & 2;
    bool allowed;
    switch (code) {
    case 0: allowed = ended_ && !mf; break;
    case 1: allowed = !ms; break;
    case 2: allowed = ms && !started(); break;
    case 3: allowed = !mf; break;
    case 18:
    case 31:
    case 32:
    case 33:
    case 34: allowed = ms && !ended_; break;
    case 21: allowed = started() && !ended_; break;
    case 22: allowed = ended_ && !mf; break;
    default: allowed = running(); break;
    }
    if (!allowed)
        return 33;

    const int own = e.a0 - 1;
    const int other = 1 - own;
    // 3. The acting player.
    if (playerCode) {
        if (!roster_[own].count(e.a1))
            return 0;
        const bool onCourt = contains(court(e.a0), e.a1);
        if (code == 2 && onCourt)
            return 5;
        if (code != 2 && !onCourt)
            return 2;
    }

    // 4. The second parameter.
    switch (code) {
    case 2:
    case 4:
    case 5:
    case 10:
    case 11:
    case 12:
    case 13:
    case 16:
    case 19:
    case 21:
        if (e.a3 != 0)
            return 9;
        break;
    case 6:
    case 7:
        if (e.a3 < 1 || e.a3 > 6)
            return 3;
        break;
    case 8:
    case 9:
        if (e.a3 < 1 || e.a3 > 6 || e.a3 == 5)
            return 3;
        break;
    case 14:
        if (e.a3 < 1 || e.a3 > 13)
            return 4;
        break;
    case 15:
    case 17:
        if (!roster_[other].count(e.a3))
            return roster_[own].count(e.a3) ? 7 : 6;
        if (!contains(court(3 - e.a0), e.a3))
            return 8;
        break;
    case 18:
        if (!roster_[own].count(e.a3))
            return roster_[other].count(e.a3) ? 7 : 6;
        if (contains(court(e.a0), e.a3))
            return 5;
        if (fouls(e.a0, e.a3) >= 5)
            return 8;
        break;
    default: break;
    }

    // 5. Limits.
    if (code == 2 && court(e.a0).size() >= 5)
        return 33;
    if (code == 3 && !started()) {
        if (court(1).size() < 5)
            return 10;
        if (court(2).size() < 5)
            return 11;
    }
    if (code == 20) {
        const int p = period_;
        int from, to, allowance;
        if (p <= 2) {
            from = 1, to = 20, allowance = 2;
        } else if (p <= 4) {
            from = 21, to = 40, allowance = 3;
        } else {
            from = GameMinute(p, 4), to = GameMinute(p, 0), allowance = 1;
        }
        if (timeOutsBetween(e.a0, from, to) >= allowance)
            return 33;
        if (p == 4 && clock_ <= 1 && timeOutsBetween(e.a0, 39, 40) >= 2)
            return 33;
    }
    return 1;
}

void Model::add(int side, int dres, int minute, int period, int column1, int column2)
{
    const int s = side - 1;
    for (Line *l : {&stat_[s][dres], &lines_[s][{minute, dres}], &lines_[s][{-period, dres}]}) {
        ++(*l)[size_t(column1)];
        if (column2 >= 0)
            ++(*l)[size_t(column2)];
    }
}

void Model::present(int side, int dres, int minute, int period)
{
    lines_[side - 1][{minute, dres}];
    lines_[side - 1][{-period, dres}];
}

void Model::minuteStart(int minute)
{
    for (int side = 1; side <= 2; ++side) {
        const std::vector<int> five = court(side);
        for (int d : five)
            present(side, d, minute, period_);
        court_[side - 1][100 + minute] = five;
    }
}

void Model::minuteEnd(int minute)
{
    const int minuta = column(QStringLiteral("MINUTA"));
    for (int side = 1; side <= 2; ++side) {
        const std::vector<int> five = court(side);
        for (int d : five)
            add(side, d, minute, period_, minuta);
    }
}

void Model::replaceIn(std::vector<int> &five, int out, int in)
{
    for (int &d : five)
        if (d == out)
            d = in;
}

int Model::apply(const Event &e)
{
    int result = 1;
    const bool wasStarted = started();
    const bool atPeriodStart = periodStart();
    int minute = GameMinute(period_, clock_);
    const int s = e.a0 - 1;

    switch (e.code) {
    case 0:
    case 3:
        if (ended_) {
            ++period_;
            clock_ = PeriodStartMinute(period_);
            ended_ = 0;
        } else if (e.code == 3) {
            if (atPeriodStart) {
                if (!wasStarted)
                    for (int side = 1; side <= 2; ++side)
                        court_[side - 1][100] = court(side);
                --clock_;
                minuteStart(++minute);
            } else {
                minuteEnd(minute);
                if (clock_ > 0) {
                    --clock_;
                    minuteStart(++minute);
                } else if (period_ < RegularPeriods) {
                    ++period_;
                    clock_ = QuarterMinutes;
                    result = 60;
                } else {
                    ended_ = 1;
                    result = 66;
                }
            }
        }
        break;
    case 1: flags_ |= 1; break;
    case 22: flags_ |= 2; break;
    case 2:
        court_[s][0].push_back(e.a1);
        court_[s][1].push_back(e.a1);
        break;
    case 18:
        replaceIn(court_[s][0], e.a1, e.a3);
        if (!wasStarted) {
            replaceIn(court_[s][1], e.a1, e.a3);
        } else if (!atPeriodStart) {
            replaceIn(court_[s][100 + minute], e.a1, e.a3);
            present(e.a0, e.a3, minute, period_);
        }
        break;
    case 21: {
        auto drop = [&](std::vector<int> &v) { v.erase(std::remove(v.begin(), v.end(), e.a1), v.end()); };
        drop(court_[s][0]);
        if (!atPeriodStart) {
            drop(court_[s][100 + minute]);
            if (court_[s][100 + minute].empty())
                court_[s].erase(100 + minute);
        }
        if (court_[s][0].empty())
            court_[s].erase(0);
        break;
    }
    case 20: timeOuts_.push_back({e.a0, minute}); break;
    case 4: add(e.a0, e.a1, minute, period_, column("P1OK"), column("P1UK")); break;
    case 5: add(e.a0, e.a1, minute, period_, column("P1UK")); break;
    case 6:
        add(e.a0, e.a1, minute, period_, column(QStringLiteral("P2%1OK").arg(e.a3)),
            column(QStringLiteral("P2%1UK").arg(e.a3)));
        break;
    case 7: add(e.a0, e.a1, minute, period_, column(QStringLiteral("P2%1UK").arg(e.a3))); break;
    case 8:
        add(e.a0, e.a1, minute, period_, column(QStringLiteral("P3%1OK").arg(e.a3)),
            column(QStringLiteral("P3%1UK").arg(e.a3)));
        break;
    case 9: add(e.a0, e.a1, minute, period_, column(QStringLiteral("P3%1UK").arg(e.a3))); break;
    case 10: add(e.a0, e.a1, minute, period_, column("SKOKO")); break;
    case 11: add(e.a0, e.a1, minute, period_, column("SKOKN")); break;
    case 12: add(e.a0, e.a1, minute, period_, column("ASISTENCIJA")); break;
    case 13: add(e.a0, e.a1, minute, period_, column("UKRADENA")); break;
    case 14: {
        // Types 12 and 13 are kept with 7 and 5 (the export groups them so).
        const int type = e.a3 == 12 ? 7 : e.a3 == 13 ? 5 : e.a3;
        add(e.a0, e.a1, minute, period_, column(QStringLiteral("IZG%1").arg(type)));
        break;
    }
    case 15:
        add(e.a0, e.a1, minute, period_, column("LG"));
        add(3 - e.a0, e.a3, minute, period_, column("LGNA"));
        break;
    case 16: add(e.a0, e.a1, minute, period_, column("TG")); break;
    case 17:
        add(e.a0, e.a1, minute, period_, column("BLOK"));
        add(3 - e.a0, e.a3, minute, period_, column("BLOKNA"));
        break;
    default: break;
    }
    lastMinute_ = minuteNow();
    return result;
}

Model Model::replay(const std::set<int> &home, const std::set<int> &away, const std::vector<Event> &events,
                    int *firstRefused)
{
    Model m(home, away);
    if (firstRefused)
        *firstRefused = -1;
    for (size_t i = 0; i < events.size(); ++i) {
        if (firstRefused && m.validate(events[i]) != 1) {
            *firstRefused = int(i);
            return m;
        }
        m.apply(events[i]);
    }
    return m;
}

QString Model::dump() const
{
    QStringList out;
    out << QStringLiteral("TEMP %1 %2 %3 4 10 5 %4").arg(clock_).arg(period_).arg(ended_).arg(flags_);
    auto counters = [](const Line &l) {
        QStringList c;
        for (int v : l)
            c << QString::number(v);
        return c.join(QLatin1Char(' '));
    };
    for (int s = 0; s < 2; ++s)
        for (const auto &[dres, line] : stat_[s])
            out << QStringLiteral("STAT %1 %2 %3").arg(s + 1).arg(dres).arg(counters(line));
    for (int s = 0; s < 2; ++s)
        for (const auto &[key, line] : lines_[s])
            out << QStringLiteral("LINE %1 %2 %3 %4").arg(s + 1).arg(key.first).arg(key.second).arg(counters(line));
    for (int s = 0; s < 2; ++s)
        for (const auto &[vreme, five] : court_[s]) {
            if (five.empty())
                continue;
            QStringList d;
            for (int n : five)
                d << QString::number(n);
            out << QStringLiteral("COURT %1 %2 %3").arg(s + 1).arg(vreme).arg(d.join(QLatin1Char(' ')));
        }
    return out.join(QLatin1Char('\n'));
}

} // namespace rules
