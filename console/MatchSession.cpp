#include "console/MatchSession.h"

#include "common/MatchState.h"
#include "common/Messenger.h"
#include "data/ActionCodes.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "data/MatchRecord.h"
#include "data/MatchRoster.h"
#include "data/PlusMinus.h"

#include <QFileInfo>
#include <QTime>

#include <algorithm>

namespace {

const QString ClosedIncorrectly = QStringLiteral("CLOSED INCORRECTLY");

using ScriptKind = ScriptEntry::Kind;

// The journal's line of a recorded entry.
ScriptEntry journalEntry(const EventEntry &e, int foulType)
{
    ScriptEntry s{.kind = ScriptKind::Event, .side = e.side, .number = e.player, .code = e.code,
                  .parameter = e.parameter, .foulType = foulType, .seconds = e.seconds};
    switch (e.code) {
    case EvMinuteChange: s.kind = ScriptKind::MinuteChange; break;
    case EvTimeOut: s.kind = ScriptKind::TimeOut; break;
    case EvTeamOffence: case EvTeamDefence: case EvTeamTurnover: s.kind = ScriptKind::TeamEvent; break;
    case EvJumpBall: s.kind = ScriptKind::JumpBall; break;
    default: break;
    }
    return s;
}

bool isMadeShot(int code) { return code == EvMade1 || code == EvMade2 || code == EvMade3; }
bool isMissedShot(int code) { return code == EvMiss1 || code == EvMiss2 || code == EvMiss3; }
int shotValue(int code) { return (code - EvMade1) / 2 + 1; }
// The rules engine moves the clock row on these entries only.
bool movesClock(int code) { return code == EvMinuteChange || code == EvOverTime; }

// Events after which play goes on as a normal attack.
bool endsAttack(int code)
{
    switch (code) {
    case EvMade1: case EvMade2: case EvMade3: case EvReboundDefence: case EvSteal: case EvTurnover:
    case EvPersonalFoul: case EvTechnicalPlayer: case EvTimeOut:
        return true;
    default:
        return false;
    }
}

} // namespace

MatchSession::MatchSession(Tdm &module)
    : dm_(module), desk_(module.db()), store_(module.db()), statistics_(module.db()), rules_(module.db()), tables_(module.db()),
      journal_(module.db(), MatchJournal::Directory(module.options().databaseLocation, module.options().dataDirectory))
{
}

bool MatchSession::claimMatch()
{
    try {
        if (desk_.Claim(matchId_))
            return true;
    } catch (const fb::Error &e) {
        ShowError(QStringLiteral("The match %1 could not be opened: %2").arg(matchName_, e.text()));
        return false;
    }
    ShowError(QStringLiteral("The match %1 is being recorded at another desk (%2). One desk records a match: "
                             "close its console there first.")
                  .arg(matchName_, desk_.holder()));
    return false;
}

void MatchSession::ResetWorkingTables()
{
    forgetReadings();
    tables_.Empty();
    dm_.db().commitRetaining();
}

bool MatchSession::loadMatchRow(int matchId)
{
    fb::Query row(dm_.db(), dm_.table(QStringLiteral("tMatch")).selectSql(QStringLiteral("T.ID_UTAKMICA = ?")));
    row.exec({matchId});
    if (!row.next()) {
        ShowError(QStringLiteral("Error! Can not find match!"));
        return false;
    }
    matchId_ = matchId;
    matchName_ = row.value(QStringLiteral("NAZIV")).toString();
    homeName_ = row.value(QStringLiteral("KLUB1")).toString();
    awayName_ = row.value(QStringLiteral("KLUB2")).toString();
    const QVariant home = row.value(QStringLiteral("BOJAD")), away = row.value(QStringLiteral("BOJAG"));
    homeColor_ = home.isValid() ? home.toInt() : 0xFFFFFF;
    awayColor_ = away.isValid() ? away.toInt() : 0xFFFFFF;
    return true;
}

void MatchSession::setResult(const QString &result)
{
    // Called while the console opens and closes: a database that cannot
    // write (a full disk) is said, and the console still opens or closes.
    try {
        SetMatchResult(dm_.db(), matchId_, result);
        dm_.db().commitRetaining();
    } catch (const fb::Error &e) {
        try {
            dm_.db().rollbackRetaining();
        } catch (const fb::Error &) {
        }
        ShowError(QStringLiteral("The result of the match could not be stored: %1").arg(e.text()));
    }
}

bool MatchSession::OpenExistingMatch(int matchId)
{
    if (!loadMatchRow(matchId) || !claimMatch())
        return false;
    setResult(ClosedIncorrectly);
    // The rules engine rebuilds the clock row, one statistic line per roster
    // player, and the players on court from the match's events.
    forgetReadings();
    tables_.ResetClock();
    rules_.RebuildWorkingTables(matchId_);
    dm_.db().commitRetaining();
    journal_.Open(matchId_, false);
    prepareCalls();
    return true;
}

bool MatchSession::OpenNewMatch(int matchId)
{
    if (!loadMatchRow(matchId) || !claimMatch())
        return false;
    forgetReadings();
    tables_.ResetClock();
    setResult(ClosedIncorrectly);
    journal_.Open(matchId_, true);
    prepareCalls();
    return true;
}

void MatchSession::prepareCalls()
{
    try {
        rules_.Prepare();
    } catch (const fb::Error &) {
        // Each is prepared at its first run then, which says what fails.
    }
}

void MatchSession::ResetShowingState()
{
    log_.Invalidate();
    forgetCounts();
    forgetReadings();
    fouls_.Reset();
    eventCounter_ = 0;
    ReloadRoster();
    RefreshCourtPanels();
}

void MatchSession::ReloadRoster()
{
    FillRosterTables(CurrentMatch(), ReadMatchRoster(dm_.db(), matchId_));
}

BoxScoreSet MatchSession::BoxScore()
{
    // The roster's rows, then every record the session reads, counted on top.
    BoxScoreSet box;
    try {
        if (!box_) {
            if (!rosterRows_)
                rosterRows_ = BoxScoreBuilder(dm_.db()).rosterRows(matchId_);
            box_ = *rosterRows_;
            boxSeen_ = 0;
        }
        const std::vector<EventRow> &added = records_.After(boxSeen_);
        box_->addEvents(added);
        if (!added.empty())
            boxSeen_ = added.back().number;
        box = *box_;
    } catch (const fb::Error &) {
        box_.reset();
        box = BoxScoreBuilder(dm_.db()).build(matchId_); // counts as far as the database answers
    }
    for (int side : {1, 2})
        box.markOnCourt(side, CurrentMatch().onCourt(side));
    return box;
}

std::array<QHash<int, int>, 2> MatchSession::PlusMinusBalances()
{
    if (plusMinus_)
        return *plusMinus_;
    std::array<QHash<int, int>, 2> bySide;
    try {
        for (const auto &[key, balance] : PlusMinus(dm_.db()).Balances(matchId_))
            if (key.first == 1 || key.first == 2)
                bySide[size_t(key.first - 1)].insert(key.second, balance);
        plusMinus_ = bySide;
    } catch (const fb::Error &) {
    }
    return bySide;
}

std::array<QHash<int, TimeOnCourt>, 2> MatchSession::TimesOnCourt()
{
    const MatchClock clock = Clock();
    return StatLines(dm_.db()).PlayingTimes(matchId_, ElapsedSeconds(clock.period, clock.minute, 0));
}

std::array<int, 2> MatchSession::TimeOutsLeft()
{
    const MatchClock clock = Clock();
    const DttCondition all = DttCondition(matchId_).equals(DttColumn::RES, EvTimeOut);
    DttCondition timeOuts = all;
    if (clock.period > RegularPeriods)
        timeOuts.equals(DttColumn::P, clock.period);
    else if (clock.period <= 2)
        timeOuts.atMost(DttColumn::P, 2);
    else
        timeOuts.atLeast(DttColumn::P, 3).atMost(DttColumn::P, RegularPeriods);
    const std::array<int, 2> taken = store_.CountBySide(timeOuts);
    const std::array<int, 2> lastTwoMinutes =
        store_.CountBySide(DttCondition(all).equals(DttColumn::P, RegularPeriods).atMost(DttColumn::M, 1));
    return {::TimeOutsLeft(clock, taken[0], lastTwoMinutes[0]), ::TimeOutsLeft(clock, taken[1], lastTwoMinutes[1])};
}

void MatchSession::ReloadMatchRow()
{
    if (loadMatchRow(matchId_))
        announce(MatchChange::Details);
}

void MatchSession::Changed(MatchChanges what)
{
    forgetReadings();
    // Only an added event leaves the events in force and the counts as they
    // were below it.
    if (what & ~MatchChanges(MatchChange::EventAdded | MatchChange::Clock | MatchChange::Details | MatchChange::Colours))
        forgetCounts();
    if (what & MatchChange::EventsWithdrawn)
        recountRecords();
    announce(what);
}

void MatchSession::recordDeleted()
{
    // The rules engine's tables are as they were: the clock, the court, the
    // events in force and the roster stay as read.
    records_.Forget();
    score_.reset();
    box_.reset();
    plusMinus_.reset();
    recountRecords();
    announce(MatchChange::EventsWithdrawn);
}

void MatchSession::eventRemoved()
{
    // The event records are as they were: the log, the box score, the score
    // and the plus-minus stay as read. The clock may have gone back into an
    // earlier foul period.
    clock_.reset();
    numbers_.reset();
    undoList_.reset();
    fouls_.Recount(Clock().period);
    RefreshCourtPanels(); // the shared on-court sets follow the court
    announce(MatchChange::EventsWithdrawn | MatchChange::Roster);
}

void MatchSession::recountRecords()
{
    // Team fouls and the log are read anew from the records that remain.
    fouls_.Recount(Clock().period);
    log_.Invalidate();
}

bool MatchSession::changesNumbers(const EventEntry &entry)
{
    // The engine puts players on court or takes them off with the starters,
    // a substitution and an exit; and it gives a line to a player an entry
    // names who has none (the one who acts, and the one fouled or blocked).
    if (entry.code == EvStarters || entry.code == EvPlayerChange || entry.code == EvExitWithoutChanges)
        return true;
    if (entry.code < EvMade1 || entry.code > EvBlock)
        return false;
    const auto hasLine = [this](int side, int shirtNumber) {
        return (side == 1 || side == 2) && numbers(Side(side)).withLines.contains(shirtNumber);
    };
    if (!hasLine(entry.side, entry.player))
        return true;
    return (entry.code == EvPersonalFoul || entry.code == EvBlock) && !hasLine(3 - entry.side, entry.parameter);
}

void MatchSession::forgetReadings()
{
    records_.Forget();
    clock_.reset();
    score_.reset();
    numbers_.reset();
}

void MatchSession::forgetCounts()
{
    undoList_.reset();
    rosterRows_.reset();
    box_.reset();
    plusMinus_.reset();
}

void MatchSession::announce(MatchChanges what)
{
    if (stepDepth_ > 0)
        heldChanges_ |= what;
    else
        emit matchChanged(what);
}

MatchSession::OneStep::~OneStep()
{
    if (--session_.stepDepth_ == 0 && session_.heldChanges_)
        session_.announce(std::exchange(session_.heldChanges_, {}));
}

void MatchSession::SetTeamColor(int side, int value)
{
    int &current = side == 1 ? homeColor_ : awayColor_;
    if (value < 0 || value == current)
        return;
    SetTeamColour(dm_.db(), matchId_, Side(side), value);
    dm_.db().commitRetaining();
    current = value;
    journal_.Append({.kind = ScriptKind::Color, .side = side, .value = value});
    announce(MatchChange::Colours);
}

void MatchSession::SetAttackType(int type)
{
    AttackType = type;
    journal_.Append({.kind = ScriptKind::AttackType, .value = type});
}

void MatchSession::SetDefenceType(int type)
{
    DefenceType = type;
    journal_.Append({.kind = ScriptKind::DefenceType, .value = type});
}

bool MatchSession::BothSidesOnCourt()
{
    return tables_.HasPlayersOnCourt(Side::Home()) && tables_.HasPlayersOnCourt(Side::Away());
}

MatchClock MatchSession::Clock()
{
    if (!clock_)
        clock_ = tables_.Clock();
    return *clock_;
}

bool MatchSession::MatchStarted() { return Clock().Started(); }

bool MatchSession::PeriodStart() { return Clock().AtPeriodStart(); }

QString MatchSession::PeriodText() { return Clock().PeriodText(); }

int MatchSession::IsTeam(int side, int shirtNumber)
{
    // As the rules engine's ISTEAM answers, from the numbers read once.
    const WorkingTables::SideNumbers &players = numbers(Side(side));
    if (!players.withLines.contains(shirtNumber))
        return 0;
    return players.onCourt.contains(shirtNumber) ? 1 : 2;
}

const WorkingTables::SideNumbers &MatchSession::numbers(Side side)
{
    if (!numbers_)
        numbers_ = tables_.Numbers();
    return (*numbers_)[side.isHome() ? 0 : 1];
}

bool MatchSession::Recorded(int code, int result)
{
    if (code == EvMinuteChange)
        return result == 1 || result == 60 || result == 66;
    return result == 1;
}

int MatchSession::Record(const EventEntry &entry)
{
    auto &db = dm_.db();
    const MatchScore before = Score();
    const int attackBefore = AttackType, newestNumber = log_.LastNumber(), newestCode = log_.LastCode();
    int result = 0;
    try {
        // What the entry cannot change is kept: the engine moves the clock
        // on a minute change only, and who is on court and who has a line
        // only as changesNumbers says.
        const auto clock = movesClock(entry.code) ? std::nullopt : clock_;
        const auto numbers = changesNumbers(entry) ? std::nullopt : numbers_;
        result = rules_.Check(matchId_, entry.side, entry.player, entry.code, entry.parameter);
        forgetReadings();
        clock_ = clock;
        numbers_ = numbers;
        if (!Recorded(entry.code, result))
            return result; // the engine wrote nothing
        const int points = insertEventRecord(entry, before);
        // The score is the sum of the records' points: this record moves it.
        MatchScore after = before;
        if (entry.side == 1 || entry.side == 2)
            (entry.side == 1 ? after.home : after.away) += points;
        score_ = after;
        // A full commit: a transaction kept open by retaining commits holds
        // back the cleanup of old record versions over a whole match.
        db.commit();
    } catch (const fb::Error &e) {
        // Neither table keeps a half-recorded event.
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        forgetReadings();
        // Nor does the session: the attack type, the newest event, the
        // number to give and the team fouls are as before the entry.
        AttackType = attackBefore;
        log_.Recorded(newestNumber, newestCode);
        eventCounter_ = 0;
        try {
            fouls_.Recount(Clock().period);
        } catch (const fb::Error &) {
            fouls_.Reset(); // read when the database answers again
        }
        ShowError(DiskFullNote(e.text(), QFileInfo(dm_.options().databaseLocation).absolutePath()) +
                  QStringLiteral("The event was not recorded: %1").arg(e.text()));
        return -1;
    }
    if (entry.code == EvMatchStart)
        journal_.Begin();
    else if (entry.code == EvStarters)
        journal_.StarterRecorded(entry.side);
    else
        journal_.Append(journalEntry(entry, lastFoulType_));
    if (entry.code == EvReboundOffence)
        AttackType = 1;
    if (entry.code == EvStarters || entry.code == EvPlayerChange || entry.code == EvExitWithoutChanges)
        RefreshCourtPanels(); // the shared on-court sets follow the court
    dm_.RequestSafetyCopy();
    announce(movesClock(entry.code) ? MatchChange::EventAdded | MatchChange::Clock
                                    : MatchChanges(MatchChange::EventAdded));
    return result;
}

int MatchSession::insertEventRecord(const EventEntry &entry, const MatchScore &before)
{
    const MatchClock clock = Clock();
    const int defence = DefenceType;
    const int attack = AttackType;
    if (endsAttack(entry.code))
        AttackType = 0;
    const int foulType = entry.code == EvPersonalFoul ? AskFoulType() : 0;
    lastFoulType_ = foulType;
    const int number = NextEventNumber();
    UpdateTeamFouls(entry.side, clock.period, entry.code);
    const int bonus = (entry.side == 1 || entry.side == 2) && InBonus(entry.side) ? 1 : 0;
    const QString stamp = QStringLiteral("%1;%2:%3")
                              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")))
                              .arg(before.home)
                              .arg(before.away);
    // Before the clock runs in a period the change happens at its very start.
    const int elapsed = entry.code == EvPlayerChange
                            ? std::max(ElapsedSeconds(clock.period, clock.minute, entry.seconds),
                                       ElapsedSeconds(clock.period, PeriodStartMinute(clock.period), 0))
                            : 0;

    const int pointsMade = isMadeShot(entry.code) ? shotValue(entry.code) : 0;
    store_.InsertEventRecord({.match = matchId_,
                              .number = number,
                              .side = entry.side,
                              .player = entry.player,
                              .period = clock.period,
                              .clockMinute = clock.minute,
                              .code = entry.code,
                              .parameter = entry.parameter,
                              .elapsedSeconds = elapsed,
                              .attackType = attack,
                              .defenceType = defence,
                              .pointsMade = pointsMade,
                              .pointsMissed = isMissedShot(entry.code) ? shotValue(entry.code - 1) : 0,
                              .stamp = stamp,
                              .inBonus = bonus,
                              .starter = IsStarter(entry.side, entry.player),
                              .foulType = foulType});
    records_.Forget();
    log_.Recorded(number, entry.code);
    if (isMadeShot(entry.code)) {
        plusMinus_.reset();
        // The ten players on court share the basket; a failure here keeps the event.
        try {
            PlusMinus(dm_.db()).AddPlusMinus(matchId_, number, shotValue(entry.code), entry.side);
        } catch (const std::exception &) {
        }
    }
    return pointsMade;
}

int MatchSession::NextEventNumber()
{
    if (eventCounter_ <= 0)
        eventCounter_ = store_.MaxEventNumber(matchId_);
    return ++eventCounter_;
}

bool MatchSession::UndoOffered() const
{
    const int last = log_.LastCode();
    return (last >= 0 && last < EvMade1) || last == EvExitWithoutChanges || last == EvMatchFinish;
}

MatchScore MatchSession::Score()
{
    if (!score_) {
        const auto points = EventStatistics(dm_.db()).MatchPoints(matchId_);
        score_ = MatchScore{points[0], points[1]};
    }
    return *score_;
}

MatchSession::CourtPanels MatchSession::RefreshCourtPanels()
{
    CourtPanels panels;
    for (int i = 0; i < 2; ++i) {
        const Side side(i + 1);
        panels.court[i] = numbers(side).onCourt.mid(0, CourtSize);
        for (int number : numbers(side).withLines)
            if (!panels.court[i].contains(number) && panels.bench[i].size() < BenchMarkers)
                panels.bench[i] << number;
        // An empty place holds 0 (nobody), never the player who left it.
        auto &shared = CurrentMatch().onCourt(side.number());
        for (int place = 0; place < CourtSize; ++place)
            shared[size_t(place)] = place < panels.court[i].size() ? panels.court[i][place] : 0;
    }
    return panels;
}

void MatchSession::MarkStarters(int side)
{
    if (!MatchStarted()) {
        MarkStartersFromCourt(dm_.db(), matchId_, Side(side));
        dm_.db().commitRetaining();
    }
    auto &starters = CurrentMatch().starters(side);
    starters.fill(-1);
    const QList<int> marked = StarterNumbers(dm_.db(), matchId_, Side(side));
    for (size_t place = 0; place < starters.size() && place < size_t(marked.size()); ++place)
        starters[place] = marked[qsizetype(place)];
}

bool MatchSession::StartersDefined(int side)
{
    return !MatchStarted() || StarterNumbers(dm_.db(), matchId_, Side(side)).size() > 4;
}

void MatchSession::StoreOnCourtNumbers()
{
    RefreshCourtPanels();
    const MatchClock c = Clock();
    CurrentMatch().elapsedSecondsMarker = ElapsedSeconds(c.period, c.minute, 0);
}

void MatchSession::SetPossession(int side)
{
    dm_.SetJumpBall(matchId_, side);
    journal_.Append({.kind = ScriptKind::Possession, .side = side});
    announce(MatchChange::Details);
}

int MatchSession::Possession() { return dm_.GetJumpBall(matchId_); }

void MatchSession::Close(bool matchEnded)
{
    // Only the result is written, so a possession value set meanwhile stays.
    const MatchScore score = Score();
    setResult(matchEnded ? QStringLiteral("%1 : %2").arg(score.home).arg(score.away)
                         : QStringLiteral("NOT FINISHED"));
    journal_.Close();
    try {
        desk_.Release();
    } catch (const fb::Error &) {
        // Left to the next desk, which takes over a claim whose connection ended.
    }
}
