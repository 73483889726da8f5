#include "console/MatchSession.h"

#include "common/GameClock.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "common/Transliterate.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "data/MatchRoster.h"
#include "data/Side.h"
#include "data/PlusMinus.h"
#include "data/DataModule.h"

#include <QDir>
#include <QFileInfo>
#include <QTime>

#include <algorithm>
#include <array>

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

QString PeriodSnapshotFileName(const QString &directory, int matchId, const QString &homeName,
                               const QString &awayName, int period)
{
    const QString stem = QStringLiteral("%1_%2_VS_%3_Period_").arg(matchId).arg(Transliterate(homeName),
                                                                         Transliterate(awayName));
    const QDir dir(directory);
    // The period that has just ended; a name already taken moves on to the next free number.
    QString name = dir.filePath(QStringLiteral("%1%2.jpeg").arg(stem).arg(period - 1));
    for (int n = period; QFileInfo::exists(name); ++n)
        name = dir.filePath(QStringLiteral("%1%2.jpeg").arg(stem).arg(n));
    return name;
}

MatchSession::MatchSession(Tdm &module)
    : dm_(module),
      journal_(module.db(), MatchJournal::Directory(module.options().databaseLocation, module.options().dataDirectory))
{
}

void MatchSession::ResetWorkingTables()
{
    auto &db = dm_.db();
    const std::pair<const char *, const char *> tables[] = {
        {"STATDOMACI", "IDSTATDOMACI"}, {"STATGOSTI", "IDSTATGOSTI"}, {"MINUTID", "IDMINUTID"},
        {"MINUTIG", "IDMINUTIG"},       {"PETORKADOM", "IDPETORKAD"}, {"PETORKAGOSTI", "IDPETORKAG"}};
    for (const auto &[table, generator] : tables) {
        db.execute(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        db.execute(QStringLiteral("set generator %1 to 0").arg(QLatin1String(generator)));
    }
    db.commitRetaining();
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

void MatchSession::resetClockRow()
{
    auto &db = dm_.db();
    db.execute(QStringLiteral("delete from TEMP"));
    db.execute(QStringLiteral("insert into TEMP (VREME, PERIOD, KRAJ, PERIOD_NO, PERIOD_TIME, EXTRA_TIME, A4) "
                              "values (10, 1, 0, 4, 10, 5, 0)"));
}

void MatchSession::setResult(const QString &result)
{
    dm_.db().execute(QStringLiteral("update UTAKMICA set REZULTAT = ? where ID_UTAKMICA = ?"), {result, matchId_});
    dm_.db().commitRetaining();
}

bool MatchSession::OpenExistingMatch(int matchId)
{
    if (!loadMatchRow(matchId))
        return false;
    setResult(ClosedIncorrectly);
    // The rules engine rebuilds the clock row, one statistic line per roster
    // player, and the players on court from the match's events.
    resetClockRow();
    dm_.db().execute(QStringLiteral("execute procedure RE_OPEN(?)"), {matchId_});
    dm_.db().commitRetaining();
    journal_.Open(matchId_, false);
    return true;
}

bool MatchSession::OpenNewMatch(int matchId)
{
    if (!loadMatchRow(matchId))
        return false;
    resetClockRow();
    setResult(ClosedIncorrectly);
    journal_.Open(matchId_, true);
    return true;
}

void MatchSession::resetTeamFouls()
{
    foulsPeriod_ = 0;
    fouls_[0] = fouls_[1] = TeamFoulState{};
}

void MatchSession::ResetShowingState()
{
    eventLogCurrent_ = false;
    resetTeamFouls();
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
    BoxScoreSet box = BoxScoreBuilder(dm_.db()).build(matchId_);
    for (int side : {1, 2})
        box.markOnCourt(side, CurrentMatch().onCourt(side));
    return box;
}

void MatchSession::ReloadMatchRow()
{
    if (loadMatchRow(matchId_))
        emit matchChanged(MatchChange::Details);
}

void MatchSession::Changed(MatchChanges what)
{
    if (what & MatchChange::EventsWithdrawn) {
        recountAfterWithdrawal();
        eventLogCurrent_ = false;
    }
    emit matchChanged(what);
}

void MatchSession::recountAfterWithdrawal()
{
    // Team fouls are counted anew from the records that remain.
    resetTeamFouls();
    const int period = Clock().period;
    UpdateTeamFouls(1, period, 0);
    UpdateTeamFouls(2, period, 0);
}

void MatchSession::SetTeamColor(int side, int value)
{
    int &current = side == 1 ? homeColor_ : awayColor_;
    if (value < 0 || value == current)
        return;
    dm_.db().execute(QStringLiteral("update UTAKMICA set %1 = ? where ID_UTAKMICA = ?")
                         .arg(Side(side).colourColumn()),
                     {value, matchId_});
    dm_.db().commitRetaining();
    current = value;
    journal_.Append({.kind = ScriptKind::Color, .side = side, .value = value});
    emit matchChanged(MatchChange::Colours);
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
    auto &db = dm_.db();
    return std::ranges::all_of(std::array{Side::Home(), Side::Away()}, [&db](Side side) {
        return db.scalar(QStringLiteral("select count(*) from %1").arg(side.courtTable())).toInt() > 0;
    });
}

MatchClock MatchSession::Clock()
{
    fb::Query row(dm_.db(), QStringLiteral("select VREME, PERIOD, KRAJ from TEMP"));
    row.exec();
    if (!row.next())
        return {};
    return {row.value(0).toInt(), row.value(1).toInt(), row.value(2).toInt()};
}

bool MatchSession::MatchStarted() { return Clock().Started(); }

bool MatchSession::PeriodStart() { return Clock().AtPeriodStart(); }

QString MatchSession::PeriodText() { return Clock().PeriodText(); }

int MatchSession::IsTeam(int side, int shirtNumber)
{
    try {
        fb::Query team(dm_.db(), QStringLiteral("execute procedure ISTEAM(?, ?)"));
        team.exec({side, shirtNumber});
        return team.next() ? team.value(0).toInt() : 0;
    } catch (const fb::Error &) {
        return 0; // a number the column cannot hold is on no roster
    }
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
    int result = 0;
    try {
        fb::Query check(db, QStringLiteral("execute procedure CHECKACTION(?, ?, ?, ?, ?)"));
        check.exec({matchId_, entry.side, entry.player, entry.code, entry.parameter});
        result = check.next() ? check.value(0).toInt() : 0;
        if (!Recorded(entry.code, result))
            return result; // the engine wrote nothing
        insertEventRecord(entry, before);
        // A full commit: a transaction kept open by retaining commits holds
        // back the cleanup of old record versions over a whole match.
        db.commit();
    } catch (const fb::Error &e) {
        // Neither table keeps a half-recorded event.
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        ShowError(QStringLiteral("The event was not recorded: %1").arg(e.text()));
        return -1;
    }
    // The starters belong to the journal's header.
    if (entry.code != EvMatchStart && entry.code != EvStarters)
        journal_.Append(journalEntry(entry, lastFoulType_));
    if (entry.code == EvReboundOffence)
        AttackType = 1;
    if (entry.code == EvStarters || entry.code == EvPlayerChange || entry.code == EvExitWithoutChanges)
        RefreshCourtPanels(); // the shared on-court sets follow the court
    dm_.RequestSafetyCopy();
    emit matchChanged(entry.code == EvMinuteChange ? MatchChange::EventAdded | MatchChange::Clock
                                                   : MatchChanges(MatchChange::EventAdded));
    return result;
}

void MatchSession::insertEventRecord(const EventEntry &entry, const MatchScore &before)
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

    auto &db = dm_.db();
    db.execute(QStringLiteral("insert into DTT (IDM, HG, NODR, P, M, RES, DTYPE, PAR4, PAR1, I1, I2, "
                                    "RBACTION, S1, ISBONUS, STARTER, PAR2, LGTYPE) "
                                    "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                     {matchId_, entry.side, entry.player, clock.period, clock.minute, entry.code, defence, attack,
                      entry.parameter, isMadeShot(entry.code) ? shotValue(entry.code) : 0,
                      isMissedShot(entry.code) ? shotValue(entry.code - 1) : 0, number, stamp, bonus,
                      IsStarter(entry.side, entry.player), elapsed, foulType});
    lastEventCode_ = entry.code;
    lastEventNumber_ = number;
    if (isMadeShot(entry.code)) {
        // The ten players on court share the basket; a failure here keeps the event.
        try {
            PlusMinus(db).AddPlusMinus(matchId_, number, shotValue(entry.code), entry.side);
        } catch (const std::exception &) {
        }
    }
}

int MatchSession::NextEventNumber()
{
    if (eventCounter_ <= 0)
        eventCounter_ =
            dm_.db().scalar(QStringLiteral("select max(RBACTION) from DTT where IDM = ?"), {matchId_}).toInt();
    return ++eventCounter_;
}

void MatchSession::UpdateTeamFouls(int side, int period, int code)
{
    // The fourth quarter and every overtime are one foul period.
    auto countStored = [&](int s) {
        const QString periods = period >= RegularPeriods ? QStringLiteral("P >= 4") : QStringLiteral("P = ?");
        QVariantList params{matchId_, s};
        if (period < RegularPeriods)
            params << period;
        return dm_.db()
            .scalar(QStringLiteral("select count(*) from DTT where IDM = ? and HG = ? and %1 and RES in (15, 16)")
                        .arg(periods),
                    params)
            .toInt();
    };
    int stored = 0;
    if ((side == 1 || side == 2) && !fouls_[sideIndex(side)].loaded) {
        stored = countStored(side);
        foulsPeriod_ = period;
    }
    if (period != foulsPeriod_ && period <= RegularPeriods) {
        for (auto &f : fouls_)
            f = TeamFoulState{0, true, false};
    }
    if (side == 1 || side == 2) {
        TeamFoulState &f = fouls_[sideIndex(side)];
        if (!f.loaded)
            f.count = stored;
        if (code == EvPersonalFoul || code == EvTechnicalPlayer)
            ++f.count;
        f.inBonus = f.count >= 5;
        f.loaded = true;
    }
    foulsPeriod_ = period;
}

QString MatchSession::BonusText(int teamFouls) { return QStringLiteral(" bonus p.flts: %1").arg(teamFouls); }

bool MatchSession::UndoOffered() const
{
    return (lastEventCode_ >= 0 && lastEventCode_ < EvMade1) || lastEventCode_ == EvExitWithoutChanges
           || lastEventCode_ == EvMatchFinish;
}

MatchScore MatchSession::Score()
{
    const auto points = EventStatistics(dm_.db()).MatchPoints(matchId_);
    return {points[0], points[1]};
}

MatchSession::CourtPanels MatchSession::RefreshCourtPanels()
{
    CourtPanels panels;
    auto &db = dm_.db();
    for (int i = 0; i < 2; ++i) {
        const Side side(i + 1);
        fb::Query court(db, QStringLiteral("select DRES from %1 where VREME = 0 order by DRES").arg(side.courtTable()));
        court.exec();
        while (court.next() && panels.court[i].size() < CourtSize)
            panels.court[i] << court.value(0).toInt();
        fb::Query lines(db, QStringLiteral("select DRES from %1 order by DRES").arg(side.statTable()));
        lines.exec();
        while (lines.next() && panels.bench[i].size() < BenchMarkers) {
            const int number = lines.value(0).toInt();
            if (!panels.court[i].contains(number))
                panels.bench[i] << number;
        }
        // An empty place holds 0 (nobody), never the player who left it.
        auto &shared = CurrentMatch().onCourt(i + 1);
        for (int place = 0; place < CourtSize; ++place)
            shared[size_t(place)] = place < panels.court[i].size() ? panels.court[i][place] : 0;
    }
    return panels;
}

void MatchSession::MarkStarters(int side)
{
    auto &starters = CurrentMatch().starters(side);
    starters.fill(-1);
    auto &db = dm_.db();
    const int domgost = Side(side).rosterCode();
    if (!MatchStarted()) {
        db.execute(QStringLiteral("update SASTAV set SEKUNDA = 0 where ID_UTAKMICA = ? and DOMGOST = ?"),
                   {matchId_, domgost});
        db.execute(QStringLiteral("update SASTAV set SEKUNDA = 1 where ID_UTAKMICA = ? and DOMGOST = ? and DRES in "
                                  "(select DRES from %1 where VREME = 0)")
                       .arg(Side(side).courtTable()),
                   {matchId_, domgost});
        db.commitRetaining();
    }
    fb::Query marked(db, QStringLiteral("select DRES from SASTAV where ID_UTAKMICA = ? and DOMGOST = ? "
                                        "and SEKUNDA = 1 and DRES is not null"));
    marked.exec({matchId_, domgost});
    for (size_t place = 0; place < starters.size() && marked.next(); ++place)
        starters[place] = marked.value(0).toInt();
}

bool MatchSession::StartersDefined(int side)
{
    if (!MatchStarted())
        return true;
    return dm_.db()
               .scalar(QStringLiteral("select count(*) from SASTAV where ID_UTAKMICA = ? and DOMGOST = ? "
                                      "and SEKUNDA = 1"),
                       {matchId_, Side(side).rosterCode()})
               .toInt() > 4;
}

QString MatchSession::EventLogLine(int number, int side, int parameter, int code, int player)
{
    QString line = QStringLiteral("%1. ").arg(number);
    if (side == 1 || side == 2)
        line += side == 1 ? QStringLiteral("HOME ") : QStringLiteral("AWAY ");
    line += ::EventLogName(code);
    if (player > 0)
        line += QStringLiteral("  %1").arg(player);
    if (parameter > 0)
        line += QStringLiteral("  >>  %1").arg(parameter);
    return line;
}

QStringList MatchSession::RebuildEventLog()
{
    // After an entry only the rows past the newest one read are new; any
    // withdrawal or edit makes the whole log be read again.
    if (!eventLogCurrent_) {
        eventLog_.clear();
        eventLogNewest_ = 0;
        lastEventCode_ = NoEvent;
        lastEventNumber_ = -1;
    }
    fb::Query rows(dm_.db(), QStringLiteral("select RBACTION, HG, NODR, RES, PAR1 from DTT where IDM = ? "
                                            "and RBACTION > ? order by RBACTION"));
    rows.exec({matchId_, eventLogNewest_});
    QStringList added;
    while (rows.next()) {
        const QVariant side = rows.value(1), code = rows.value(3);
        const int number = rows.value(0).toInt();
        added.prepend(EventLogLine(number, side.toInt(), rows.value(4).toInt(), code.toInt(), rows.value(2).toInt()));
        eventLogNewest_ = number;
        if (side.isValid() && code.isValid()) {
            lastEventCode_ = code.toInt();
            lastEventNumber_ = number;
        }
    }
    eventLog_ = added + eventLog_;
    eventLogCurrent_ = true;
    return eventLog_;
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
    emit matchChanged(MatchChange::Details);
}

int MatchSession::Possession() { return dm_.GetJumpBall(matchId_); }

bool MatchSession::DeleteLoggedEvent(const QString &logLine)
{
    const bool sided = logLine.contains(QLatin1String("HOME")) || logLine.contains(QLatin1String("AWAY"));
    if (logLine.contains(QLatin1String("TIME CHANGE")) || logLine.contains(QLatin1String("PLAYER CHANGE")) || !sided) {
        ShowInformation(QStringLiteral("This type of action can not be deleted!"));
        return false;
    }
    const int dot = logLine.indexOf(QLatin1Char('.'));
    bool ok = false;
    const int number = dot > 0 ? logLine.left(dot).trimmed().toInt(&ok) : 0;
    if (!ok) {
        ShowError(QStringLiteral("Action serial No is not correct!"));
        return false;
    }
    if (!AskConfirmation(QStringLiteral("Are you sure to delete action %1 ?").arg(logLine)))
        return false;
    auto &db = dm_.db();
    if (!EventStore(db).DeleteEventRecord(matchId_, number)) {
        ShowError(QStringLiteral("Can not delete action! Try to do it in actions review."));
        return false;
    }
    try {
        PlusMinus(db).RevertPlusMinus(matchId_, number);
    } catch (const std::exception &) {
        // The record is gone either way; a shot without history has nothing to take back.
    }
    db.commit();
    journal_.Append({.kind = ScriptKind::Delete, .value = number});
    dm_.RequestSafetyCopy();
    ShowInformation(QStringLiteral("Action is deleted!"));
    eventCounter_ = 0; // the next number follows the highest that remains
    Changed(MatchChange::EventsWithdrawn);
    return true;
}

QList<MatchSession::UndoListRow> MatchSession::UndoList()
{
    // The names come from the code table in memory: a join per row would cost
    // five times the reading of the events themselves.
    fb::Query rows(dm_.db(), QStringLiteral("select ID_AKCIJE, A0, A1, A3, SIFRA from AKCIJE "
                                            "where ID_UTAKMICA = ? and UNDO = 0 and not (SIFRA in (1, 2, 22)) "
                                            "order by ID_AKCIJE desc"));
    rows.exec({matchId_});
    QList<UndoListRow> list;
    while (rows.next()) {
        const int side = rows.value(1).toInt(), player = rows.value(2).toInt(), parameter = rows.value(3).toInt();
        const QString name = ActionCodes().ShortName(rows.value(4).toInt());
        QString display = side == 1 ? QStringLiteral("HOME ") + name
                          : side == 2 ? QStringLiteral("AWAY ") + name
                                      : name;
        if (player > 0)
            display += QStringLiteral("  %1").arg(player);
        if (parameter > 0)
            display += QStringLiteral("  >>  %1").arg(parameter);
        list << UndoListRow{rows.value(0).toInt(), name, display};
    }
    return list;
}

bool MatchSession::DeleteFromUndoList(const QList<UndoListRow> &list, int position)
{
    const UndoListRow &row = list.at(position);
    if (position == 0 && Clock().Ended()) {
        ShowError(QStringLiteral("ACTION IS NOT ALLOWED! Use \"undo\" instead of double click control."));
        return false;
    }
    if (!AskConfirmation(QStringLiteral("Delete Event: %1; %2").arg(row.name, row.display)))
        return false;
    auto &db = dm_.db();
    try {
        db.execute(QStringLiteral("execute procedure DELETEACTION(?, ?)"), {row.eventId, matchId_});
        db.commit();
    } catch (const fb::Error &) {
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        ShowWarning(QStringLiteral("Warning! Some action is not allowed."));
        return false;
    }
    // The row's place in the list (1 the newest) names the event in any database.
    journal_.Append({.kind = ScriptKind::MarkDelete, .value = position + 1});
    RefreshCourtPanels();
    dm_.RequestSafetyCopy();
    Changed(MatchChange::EventsWithdrawn | MatchChange::Roster);
    return true;
}

int MatchSession::Undo()
{
    auto &db = dm_.db();
    int result = 0;
    try {
        fb::Query undo(db, QStringLiteral("execute procedure UNDO(?)"));
        undo.exec({matchId_});
        result = undo.next() ? undo.value(0).toInt() : 0;
        if (result == 1) {
            // The record goes to the deleted ones, in the same unit of work.
            EventStore(db).CopyEventToDeleted(matchId_, lastEventNumber_);
            db.execute(QStringLiteral("delete from DTT where IDM = ? and RBACTION = ? and RES = ?"),
                       {matchId_, lastEventNumber_, lastEventCode_});
        }
        db.commit();
    } catch (const fb::Error &e) {
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        ShowError(QStringLiteral("The event was not taken back: %1").arg(e.text()));
        return -1;
    }
    switch (result) {
    case 1:
        journal_.Append({.kind = ScriptKind::Undo});
        eventLogCurrent_ = false;
        RebuildEventLog(); // the newest event is the last one again
        RefreshCourtPanels();
        dm_.RequestSafetyCopy();
        Changed(MatchChange::EventsWithdrawn | MatchChange::Clock);
        break;
    case 0:
        ShowInformation(QStringLiteral("There is no previous event or action!"));
        break;
    case 3:
        ShowError(QStringLiteral("After match finish event, change minutes event is expected, but some other "
                                 "event is found!"));
        break;
    default:
        ShowInformation(QStringLiteral("FATAL UNDO EVENT ERROR! Unknown error type in undo action!"));
        break;
    }
    return result;
}

void MatchSession::Close(bool matchEnded)
{
    // Only the result is written, so a possession value set meanwhile stays.
    const MatchScore score = Score();
    setResult(matchEnded ? QStringLiteral("%1 : %2").arg(score.home).arg(score.away)
                         : QStringLiteral("NOT FINISHED"));
    journal_.Close();
}

MatchSession::Refusal MatchSession::CheckResultMessage(int result, const QString &playerText,
                                                      const QString &parameterText)
{
    switch (result) {
    case 0:
        return {Refusal::Player, QStringLiteral("There is no player with No %1!!!").arg(playerText)};
    case 1:
        return {};
    case 2:
        return {Refusal::Player, QStringLiteral("Player No %1 is not playing at present!").arg(playerText)};
    case 3:
        return {Refusal::Parameter, QStringLiteral("Incorrect data! Available values : 1,2,3,4 to 13 !")};
    case 4:
        return {Refusal::Parameter, QStringLiteral("Incorrect data! Available values 1,2,3,4 to 13 !")};
    case 5:
        return {Refusal::Parameter, QStringLiteral("Player is playing allready!")};
    case 6:
    case 7:
        return {Refusal::Parameter, QStringLiteral("There is no player with No %1!!!").arg(parameterText)};
    case 8:
        return {Refusal::Parameter, QStringLiteral("Player No %1 is not playing at present!").arg(parameterText)};
    case 9:
        return {Refusal::Parameter, QStringLiteral("Incorrect data!. Available values: 1,2,3,4 to 13)!")};
    case 33:
        return {Refusal::Init, QStringLiteral("ACTION is not allowed! Match time or over time not finished!")};
    default:
        return {Refusal::None, QStringLiteral("FATAL UNKNOWN ERROR! unit MatchU")};
    }
}
