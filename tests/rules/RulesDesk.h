#pragma once
// The statistics desk as the rules engine sees it: seeds a league, two clubs
// with twelve players each, matches with their rosters, opens a match the
// way the console does, and calls the procedures of db/R_rules_engine.sql.in.

#include "rules/RulesModel.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace fb {
class Connection;
class Query;
} // namespace fb

namespace rules {

// Shirt numbers of the seeded rosters. The sides share 9 to 14, so a rule
// that mixes up the sides shows; 100 is the "00" of the program.
const std::set<int> &homeNumbers();
const std::set<int> &awayNumbers();

class Desk
{
public:
    explicit Desk(fb::Connection &db);
    ~Desk();

    fb::Connection &db() { return db_; }

    // Seeds the league, clubs and players once per database, then a match
    // with both rosters; answers its ID_UTAKMICA.
    int createMatch();
    // Opens a match as the console does: empties the working tables and
    // resets their generators, writes the clock row 10, 1, 0, 4, 10, 5, 0,
    // a statistic line per roster row, then RE_OPEN.
    void openMatch(int match);
    // createMatch + openMatch.
    int newMatch();
    int match() const { return match_; }

    // The procedures, on the open match.
    int check(int a0, int a1, int code, int a3 = 0);
    int check(const Event &e) { return check(e.a0, e.a1, e.code, e.a3); }
    int undo();
    void deleteAction(int eventId); // throws fb::Error when refused
    void reOpen();
    int isTeam(int a0, int a1);
    std::pair<int, int> tgTrener(int period);

    // Convenience: code 1, then the first five numbers of each roster as
    // starters; with `clock` also the minute change that starts the match.
    void startMatch(bool clock = true);
    // Minute changes; answers the result of the last one.
    int minuteChanges(int count);

    // State readers.
    struct Clock
    {
        int vreme, period, kraj, a4;
    };
    Clock clock();
    std::vector<int> court(int side, int vreme = 0); // in key order
    int counter(int side, int dres, const char *column, std::optional<int> vreme = {});
    bool hasLine(int side, int dres, int vreme);
    std::vector<Event> eventsInForce();
    int eventCount(); // all AKCIJE rows of the match, undone included
    int lastEventId();

    // Canonical text of all working tables: the clock row, the statistic
    // lines by side and shirt number, the period and minute lines by side,
    // VREME and shirt number, and the on-court rows by side and VREME in key
    // order; keys (ID_STAT, ID_PETORKA) are left out.
    QString dump();

private:
    void seedReference();

    fb::Connection &db_;
    int match_ = 0;
    int league_ = 0, homeClub_ = 0, awayClub_ = 0;
    std::vector<int> homePlayers_, awayPlayers_;
    std::unique_ptr<fb::Query> checkAction_;
};

// The first line where two dumps differ, with the line of each, for messages.
QString firstDifference(const QString &expected, const QString &actual);

} // namespace rules
