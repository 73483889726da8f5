#pragma once
// The events review: one match's event records (DTT) filtered and ordered,
// with the current row's correction (update) and deletion. It works on DTT
// alone and calls no procedure: AKCIJE, the clock row, the players on court
// and the stat lines stay as they were. The window TAllActionsViewfrm only
// shows what this class decides.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fb {
class Connection;
}
class MatchJournal;

// The order of the result rows ("Order By").
enum class ActionsOrder { Events, Players, Periods, ActionTypes };

// The filter panel: each choice is the position of the item chosen in its
// list, 0 being the first item ("ALL ACTION TYPES", "ALL", "BOTH").
struct ActionsFilter
{
    QString playerNo; // empty: every player
    int actionType = 0;
    int period = 0;
    int minute = 0;
    int team = 0;
    ActionsOrder order = ActionsOrder::Events;
};

// One result row; a null column is an empty optional.
struct ActionRow
{
    std::optional<int> RBAction, HG, NODr, P, M, DTYPE, RES, PAR1, PAR4, I1, I2, LGType, ISBONUS, PAR2;
    std::optional<QString> S1;
};

// What the edit panel shows for the current row.
struct ActionEditValues
{
    QString init; // HG
    QString no;   // NODR
    QString ev;   // RES
    QString par;  // PAR1
    int attackType = 0;  // PAR4, 0 when empty
    int defenseType = 0; // DTYPE, 0 when empty
};

class ActionsReview
{
public:
    ActionsReview(fb::Connection &db, int match);

    int Match() const { return match_; }

    // The items of the filter lists and the order group, in list order.
    static QStringList ActionTypeItems();
    static QStringList PeriodItems();
    static QStringList MinuteItems();
    static QStringList TeamItems();
    static QStringList OrderItems();
    // The grid's column captions, in the order of ColumnText's columns.
    static QStringList ColumnCaptions();
    static QString ColumnText(const ActionRow &row, int column);

    // Reads the rows that pass the filter, in its order, and makes the last
    // one current. A player number that is not a number shows "Player No is
    // not correct!" and changes nothing (answers false).
    bool ApplyFilter(const ActionsFilter &filter);
    const ActionsFilter &Filter() const { return filter_; }

    const std::vector<ActionRow> &Rows() const { return rows_; }
    int Count() const { return int(rows_.size()); }
    QString CountText() const;
    // The current row's position, -1 when there are no rows.
    int Current() const { return current_; }
    void SetCurrent(int position);
    const ActionRow *CurrentRow() const;
    ActionEditValues CurrentEditValues() const;

    // "UPDATE ACTION" with the four boxes of the edit panel: asks, checks,
    // writes HG, RES, NODR, PAR1, I1 and I2 of the current row and commits;
    // then reads the rows again and keeps the same row position. Answers
    // whether the row was changed.
    bool Update(const QString &init, const QString &no, const QString &ev, const QString &par);
    // "DELETE ACTION !!!": asks, checks, copies the current row to DTT_DEL
    // and deletes it, takes back the plus-minus of a made shot and commits;
    // then reads the rows again and keeps the same row position. Answers
    // whether the row was deleted.
    bool Delete();

    // Whether any record was changed since the review was opened: the
    // console then rebuilds what it shows from DTT.
    bool RecordsChanged() const { return changed_; }
    // The open match's journal, which receives every correction made here.
    MatchJournal *Journal = nullptr;

    // Points made / missed that an event code carries (I1, I2).
    static int MadeOf(int code);
    static int MissedOf(int code);

private:
    bool readRows();
    void reapply(int position);

    fb::Connection &db_;
    int match_;
    ActionsFilter filter_;
    std::vector<ActionRow> rows_;
    int current_ = -1;
    bool changed_ = false;
};
