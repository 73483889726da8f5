#pragma once
// The match console's own logic, without widgets: opening and closing a
// match, the clock row, and the recording of every event (the rules engine's
// check, the event record, team fouls and bonus). The console window shows
// what this class holds and passes the statistician's entries to it.

#include "common/GameClock.h"
#include "console/EventLog.h"
#include "console/Refusals.h"
#include "console/TeamFoulTally.h"
#include "data/BoxScore.h"
#include "data/EventStore.h"
#include "data/MatchDesk.h"
#include "data/RulesEngine.h"
#include "data/StatLines.h"
#include "data/WorkingTables.h"
#include "matchscript/MatchJournal.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <functional>
#include <optional>

class Tdm;

// One complete entry of the statistician.
struct EventEntry
{
    int side = 0;      // 1 home, 2 away, 3 clock
    int player = 0;    // shirt number, 0 for none
    int code = 0;      // event code
    int parameter = 0; // zone, type, opponent or entering player; 0 for none
    int seconds = 0;   // player change: the seconds shown with the clock minute
};

struct MatchScore
{
    int home = 0;
    int away = 0;
};

// What a change of the open match touched.
enum class MatchChange {
    EventAdded = 0x1,
    EventsWithdrawn = 0x2, // undo, deletion, removal from the events in force, review edits
    Clock = 0x4,           // the clock row moved (minute, period, end)
    Roster = 0x8,          // the roster or the players on court outside an event
    Colours = 0x10,
    Details = 0x20, // names of the match and its teams, possession
};
Q_DECLARE_FLAGS(MatchChanges, MatchChange)
Q_DECLARE_OPERATORS_FOR_FLAGS(MatchChanges)

class MatchSession final : public QObject
{
    Q_OBJECT

public:
    explicit MatchSession(Tdm &module);

    // Empties the working tables of the previous match and resets their keys.
    void ResetWorkingTables();
    // Opens a stored match: its working tables are rebuilt from its events.
    // Answers false (after "Error! Can not find match!") for an unknown match.
    bool OpenExistingMatch(int matchId);
    // Opens a match just defined; entry waits for both starting fives.
    bool OpenNewMatch(int matchId);
    // The state that is rebuilt each time the console is shown.
    void ResetShowingState();
    // The roster tables, after the roster changed.
    void ReloadRoster();
    // The open match's box score over all its events, with the players on court marked.
    BoxScoreSet BoxScore();
    // What the box score shows beside it, by shirt number: each player's
    // plus-minus, and his time on court up to the start of the clock minute.
    // (plus-minus of both sides in one read, index 0 home, 1 away)
    std::array<QHash<int, int>, 2> PlusMinusBalances();
    // (both sides in one read each, index 0 home, 1 away)
    std::array<QHash<int, TimeOnCourt>, 2> TimesOnCourt();
    // The time-outs each side may still take in this half or overtime.
    std::array<int, 2> TimeOutsLeft();

    // Reads the match's names and colours again (after the definition changed).
    void ReloadMatchRow();
    // The match was changed by a window of its own (the events review, the
    // roster and line-up dialogs): everyone who follows the match hears it.
    void Changed(MatchChanges what);
    // While one lives, the match-changed signal waits: events recorded as
    // one step (the five starters, a line-up's substitutions) are announced
    // once, after the last, so that every view refreshes once.
    class OneStep
    {
    public:
        explicit OneStep(MatchSession &session) : session_(session) { ++session_.stepDepth_; }
        ~OneStep();
        OneStep(const OneStep &) = delete;
        OneStep &operator=(const OneStep &) = delete;

    private:
        MatchSession &session_;
    };
    int MatchId() const { return matchId_; }
    QString MatchName() const { return matchName_; }
    QString HomeName() const { return homeName_; }
    QString AwayName() const { return awayName_; }
    int HomeColor() const { return homeColor_; }
    int AwayColor() const { return awayColor_; }
    // Stores a team colour (0x00BBGGRR) in the match row; a negative value is no colour.
    void SetTeamColor(int side, int value);
    // Entry is possible once both sides have players on court.
    bool BothSidesOnCourt();

    MatchClock Clock();
    bool MatchStarted();
    // The clock has not run yet in this period: only substitutions may be keyed.
    bool PeriodStart();
    QString PeriodText();

    // The rules engine's view of a shirt number (its ISTEAM): 1 on court,
    // 2 on the bench, 0 not on the side's roster.
    int IsTeam(int side, int shirtNumber);

    // Records an entry: the rules engine checks it and, when it accepts,
    // the event record is written in the same transaction, so the two event
    // tables never disagree. Answers the engine's result.
    int Record(const EventEntry &entry);
    // True when the engine's result means the event was recorded.
    static bool Recorded(int code, int result);

    // Asked after a personal foul is accepted, for its type 1..9.
    std::function<int()> AskFoulType = [] { return 1; };

    int NextEventNumber();
    void UpdateTeamFouls(int side, int period, int code) { fouls_.Update(side, period, code); }
    int TeamFouls(int side) const { return fouls_.Count(side); }
    bool InBonus(int side) const { return fouls_.InBonus(side); }

    int LastEventCode() const { return log_.LastCode(); }
    int LastEventNumber() const { return log_.LastNumber(); }
    // The newest event is one the undo button takes back.
    bool UndoOffered() const;

    // Attack type 0 normal, 1 second chance, 2 fast break; defence 0 man to man, 1 zone.
    int AttackType = 0;
    int DefenceType = 0;
    // The statistician's choice of a type (keys or buttons), journaled.
    void SetAttackType(int type);
    void SetDefenceType(int type);

    MatchScore Score();

    // Who is on court and on the bench of each side (index 0 home, 1 away),
    // in shirt-number order; the shared on-court sets follow.
    struct CourtPanels
    {
        QList<int> court[2];
        QList<int> bench[2];
    };
    static constexpr int BenchMarkers = 7;
    CourtPanels RefreshCourtPanels();

    // Before the match starts the players on court are the side's starters:
    // the roster marks follow them. Always fills the side's starters set.
    void MarkStarters(int side);
    // A side has its five starters (always true before the match starts).
    bool StartersDefined(int side);

    // The event log, newest first; the newest event becomes the last one.
    const QStringList &EventLogLines() { return log_.Lines(); }

    // Before a report: the shared on-court sets and the elapsed time at the
    // start of the current clock minute.
    void StoreOnCourtNumbers();
    // Possession: 1 home, 2 away, -1 none.
    void SetPossession(int side);
    int Possession();

    // Deletes an event record chosen in the event log (its line), with the
    // questions and messages of that route; the rules engine keeps its event.
    // Answers whether the record was deleted.
    bool DeleteLoggedEvent(const QString &logLine);

    // The rules engine's events in force, newest first, as the undo list shows them.
    // Corrections are in MatchCorrections.cpp.
    struct UndoListRow
    {
        int eventId = 0;
        QString name;    // the code's short name
        QString display; // side, name, player and parameter
    };
    QList<UndoListRow> UndoList();
    // Removes the event at `position` of the undo list (0 the newest) through
    // the rules engine. Answers whether it was removed.
    bool DeleteFromUndoList(const QList<UndoListRow> &list, int position);

    // Takes back the newest event (the undo button): the rules engine's
    // UNDO and the event record go together. Answers the engine's result
    // after showing its message; 1 when undone.
    int Undo();

    // The final words on the match row when the console closes.
    void Close(bool matchEnded);

    // The journal of the open match; the console's other windows add their corrections.
    MatchJournal &Journal() { return journal_; }

signals:
    // After every change of the open match, once its data are stored.
    void matchChanged(MatchChanges what);

private:
    bool loadMatchRow(int matchId);
    void setResult(const QString &result);
    // Answers the points the record stores.
    int insertEventRecord(const EventEntry &entry, const MatchScore &before);

    // The rules engine's calls prepared while the match opens, not at the
    // statistician's first entry or correction.
    void prepareCalls();
    // Refuses (saying where) when another desk keys the match.
    bool claimMatch();
    // Emits matchChanged, or keeps it for the end of a OneStep.
    void announce(MatchChanges what);
    // After anything that may have changed the clock row or the event
    // records (the rules engine's calls, a rollback, a correction).
    void forgetReadings();
    // Whether recording the entry may change who is on court or who has a
    // statistic line.
    bool changesNumbers(const EventEntry &entry);

    Tdm &dm_;
    MatchDesk desk_;
    EventStore store_;
    EventStatistics statistics_;
    RulesEngine rules_;
    WorkingTables tables_;
    MatchJournal journal_;
    int matchId_ = -1;
    QString matchName_, homeName_, awayName_;
    int homeColor_ = 0xFFFFFF, awayColor_ = 0xFFFFFF;
    int eventCounter_ = 0;
    int lastFoulType_ = 0;
    TeamFoulTally fouls_{statistics_, matchId_};
    NewRecords records_{store_, matchId_};
    EventLog log_{records_};
    int stepDepth_ = 0;
    MatchChanges heldChanges_;
    // The undo list as last read, and the newest event it has seen: an added
    // event only puts rows on top, which is all that is read then.
    std::optional<QList<UndoListRow>> undoList_;
    int undoListSeen_ = 0;
    // The box score as last counted, and the newest record it counts: the
    // records of an added event are counted on top of it.
    std::optional<BoxScoreSet> box_;
    int boxSeen_ = 0;
    // The box score's rows of the match roster, before any record is counted.
    std::optional<BoxScoreSet> rosterRows_;
    // The plus-minus balances as last read: only a basket or a correction
    // changes them.
    std::optional<std::array<QHash<int, int>, 2>> plusMinus_;
    // Forgets what a correction or another window may have changed below
    // the newest event: the undo list, the box score, the plus-minus.
    void forgetCounts();
    // After an event record was deleted outside the rules engine: forgets
    // what the records give, and says so.
    void recordDeleted();
    // After an event was removed from the rules engine's events in force:
    // forgets what the engine's tables give, and says so.
    void eventRemoved();
    // Team fouls and the event log from the records that remain.
    void recountRecords();
    // The clock and the score as last read: an entry asks for them a dozen
    // times, and on a server every reading is a round trip.
    std::optional<MatchClock> clock_;
    std::optional<MatchScore> score_;
    // Who is on court and who has a statistic line, per side.
    std::optional<std::array<WorkingTables::SideNumbers, 2>> numbers_;
    const WorkingTables::SideNumbers &numbers(Side side);
};
