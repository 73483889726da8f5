#include "console/ActionsReview.h"

#include "common/Messenger.h"
#include "matchscript/MatchJournal.h"
#include "data/ActionCodes.h"
#include "data/EventStore.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "data/StatLines.h"

#include <QVariant>

#include <algorithm>
#include <exception>

namespace {

std::optional<int> intOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toInt();
}

QString textOf(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QString();
}

bool readNumber(const QString &text, int &number)
{
    bool ok = false;
    number = text.trimmed().toInt(&ok);
    return ok;
}

// A null value of the row is matched by a null column.
QVariant param(const std::optional<int> &value)
{
    return value ? QVariant(*value) : QVariant();
}

const QString kNotDeleted = QStringLiteral("Action is not deleted! Data incorrect!");
const QString kNotUpdated = QStringLiteral("Action is not updated! Data incorrect!");

} // namespace

ActionsReview::ActionsReview(fb::Connection &db, int match) : db_(db), match_(match) {}

QStringList ActionsReview::ActionTypeItems()
{
    // "3  MINUTES CHANGE" .. "21 EXIT WITHOUT CHANGES": the codes a record can carry, with their legend names.
    QStringList items{QStringLiteral("ALL ACTION TYPES")};
    for (int code = EvMinuteChange; code <= EvExitWithoutChanges; ++code)
        items << QStringLiteral("%1 %2").arg(code, -2).arg(EventLegendName(code));
    return items;
}

QStringList ActionsReview::PeriodItems()
{
    return {QStringLiteral("ALL"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
            QStringLiteral("4"),   QStringLiteral(">=4"), QStringLiteral("ADD")};
}

QStringList ActionsReview::MinuteItems()
{
    QStringList items{QStringLiteral("ALL")};
    for (int m = 0; m <= 9; ++m)
        items << QString::number(m);
    return items;
}

QStringList ActionsReview::TeamItems()
{
    return {QStringLiteral("BOTH"), QStringLiteral("HOME"), QStringLiteral("AWAY")};
}

QStringList ActionsReview::OrderItems()
{
    return {QStringLiteral("Events"), QStringLiteral("Players"), QStringLiteral("Periods"),
            QStringLiteral("Action Types")};
}

QStringList ActionsReview::ColumnCaptions()
{
    return {QStringLiteral("Event No."), QStringLiteral("Home/Guest"), QStringLiteral("Player"),
            QStringLiteral("Action Type"), QStringLiteral("Par."), QStringLiteral("Period"),
            QStringLiteral("Minute"), QStringLiteral("Attack T."), QStringLiteral("Made"),
            QStringLiteral("Miss"), QStringLiteral("PF Type"), QStringLiteral("IS BONUS"),
            QStringLiteral("Deffense T."), QStringLiteral("Sec")};
}

QString ActionsReview::ColumnText(const ActionRow &row, int column)
{
    const std::optional<int> columns[] = {row.RBAction, row.HG, row.NODr, row.RES,     row.PAR1,
                                          row.P,        row.M,  row.PAR4, row.I1,      row.I2,
                                          row.LGType,   row.ISBONUS, row.DTYPE, row.PAR2};
    if (column < 0 || column >= int(std::size(columns)))
        return {};
    return textOf(columns[column]);
}

int ActionsReview::MadeOf(int code)
{
    return code == EvMade1 ? 1 : code == EvMade2 ? 2 : code == EvMade3 ? 3 : 0;
}

int ActionsReview::MissedOf(int code)
{
    return code == EvMiss1 ? 1 : code == EvMiss2 ? 2 : code == EvMiss3 ? 3 : 0;
}

bool ActionsReview::ApplyFilter(const ActionsFilter &filter)
{
    const QString player = filter.playerNo.trimmed();
    if (!player.isEmpty()) {
        int number = 0;
        if (!readNumber(player, number)) {
            ShowError(QStringLiteral("Player No is not correct!"));
            return false;
        }
    }
    filter_ = filter;
    readRows();
    SetCurrent(Count() - 1);
    return true;
}

bool ActionsReview::readRows()
{
    QString sql = QStringLiteral("SELECT RBAction, HG, NODr, P, M, DTYPE, RES, PAR1, PAR4, I1, I2, LGType, "
                                 "ISBONUS, S1, PAR2 FROM DTT WHERE ( IDM = ? )");
    QVariantList params{match_};
    int number = 0;
    if (readNumber(filter_.playerNo, number)) {
        sql += QStringLiteral(" AND (NODR = ?)");
        params << number;
    }
    if (filter_.team > 0) {
        sql += QStringLiteral(" AND (HG = ?)");
        params << filter_.team;
    }
    if (filter_.actionType > 0) {
        sql += QStringLiteral(" AND (RES = ?)");
        params << filter_.actionType + 2;
    }
    if (filter_.period > 0) {
        sql += QStringLiteral(" AND (P = ?)");
        params << filter_.period;
    }
    if (filter_.minute > 0) {
        sql += QStringLiteral(" AND (M = ?)");
        params << filter_.minute - 1;
    }
    switch (filter_.order) {
    case ActionsOrder::Events: sql += QStringLiteral(" ORDER BY RBACTION"); break;
    case ActionsOrder::Players: sql += QStringLiteral(" ORDER BY HG, NODR, RBACTION"); break;
    case ActionsOrder::Periods: sql += QStringLiteral(" ORDER BY P, RBACTION"); break;
    case ActionsOrder::ActionTypes: sql += QStringLiteral(" ORDER BY RES, RBACTION"); break;
    }

    rows_.clear();
    try {
        fb::Query q(db_, sql);
        q.exec(params);
        while (q.next()) {
            ActionRow row;
            row.RBAction = intOf(q.value(0));
            row.HG = intOf(q.value(1));
            row.NODr = intOf(q.value(2));
            row.P = intOf(q.value(3));
            row.M = intOf(q.value(4));
            row.DTYPE = intOf(q.value(5));
            row.RES = intOf(q.value(6));
            row.PAR1 = intOf(q.value(7));
            row.PAR4 = intOf(q.value(8));
            row.I1 = intOf(q.value(9));
            row.I2 = intOf(q.value(10));
            row.LGType = intOf(q.value(11));
            row.ISBONUS = intOf(q.value(12));
            if (!q.value(13).isNull())
                row.S1 = q.value(13).toString();
            row.PAR2 = intOf(q.value(14));
            rows_.push_back(row);
        }
        q.close();
        return true;
    } catch (const std::exception &) {
        rows_.clear();
        return false;
    }
}

void ActionsReview::reapply(int position)
{
    readRows();
    SetCurrent(std::min(position, Count() - 1));
}

QString ActionsReview::CountText() const
{
    return QString::number(Count());
}

void ActionsReview::SetCurrent(int position)
{
    current_ = rows_.empty() ? -1 : std::clamp(position, 0, Count() - 1);
}

const ActionRow *ActionsReview::CurrentRow() const
{
    return current_ >= 0 && current_ < Count() ? &rows_[size_t(current_)] : nullptr;
}

ActionEditValues ActionsReview::CurrentEditValues() const
{
    ActionEditValues values;
    if (const ActionRow *row = CurrentRow()) {
        values.init = textOf(row->HG);
        values.no = textOf(row->NODr);
        values.ev = textOf(row->RES);
        values.par = textOf(row->PAR1);
        values.attackType = row->PAR4.value_or(0);
        values.defenseType = row->DTYPE.value_or(0);
    }
    return values;
}

bool ActionsReview::Update(const QString &init, const QString &no, const QString &ev, const QString &par)
{
    const ActionRow *row = CurrentRow();
    if (!row || !AskConfirmation(QStringLiteral("Are you sure to update action?")))
        return false;
    int side = 0, player = 0, code = 0, parameter = 0;
    if (!row->RBAction || !readNumber(init, side) || !readNumber(no, player) || !readNumber(ev, code) ||
        !readNumber(par, parameter)) {
        ShowError(kNotUpdated);
        return false;
    }
    const int number = *row->RBAction;
    if ((side == 1 || side == 2) && !StatLines(db_).PlayerTookPart(match_, side, player)) {
        ShowError(QStringLiteral("This Player was not actor!"));
        return false;
    }
    if (code == EvMinuteChange) {
        ShowError(QStringLiteral("Time Change can not be updated!"));
        return false;
    }
    if (code == EvPlayerChange) {
        ShowError(QStringLiteral("Player Change can not be updated!"));
        return false;
    }
    if (code == EvExitWithoutChanges) {
        ShowError(QStringLiteral("Exit without change can not be updated!"));
        return false;
    }
    try {
        Savepoint unit(db_);
        const int changed = db_.execute(
            QStringLiteral("UPDATE DTT SET HG = ?, RES = ?, NODR = ?, PAR1 = ?, I1 = ?, I2 = ? "
                           "WHERE ( IDM = ? ) AND ( RBAction = ? ) AND ( S1 IS NOT DISTINCT FROM ? )"),
            {side, code, player, parameter, MadeOf(code), MissedOf(code), match_, number,
             row->S1 ? QVariant(*row->S1) : QVariant()});
        if (changed != 1)
            throw fb::Error(QStringLiteral("the event record is not one row"));
        unit.release();
        db_.commit();
    } catch (const std::exception &) {
        ShowError(kNotUpdated);
        return false;
    }
    changed_ = true;
    if (Journal)
        Journal->Append({.kind = ScriptEntry::Kind::ReviewUpdate, .side = side, .number = player, .code = code,
                         .parameter = parameter, .value = number});
    reapply(current_);
    return true;
}

bool ActionsReview::Delete()
{
    const ActionRow *row = CurrentRow();
    if (!row || !AskConfirmation(QStringLiteral("Are you sure to delete action?")))
        return false;
    const int code = row->RES.value_or(-1);
    if (code == EvMinuteChange) {
        ShowError(QStringLiteral("Time Change can not be deleted!"));
        return false;
    }
    if (code == EvPlayerChange) {
        ShowError(QStringLiteral("Player Change can not be deleted!"));
        return false;
    }
    if (code == EvExitWithoutChanges) {
        ShowError(QStringLiteral("Exit without change can not be deleted!"));
        return false;
    }
    if (!row->RBAction) {
        ShowError(kNotDeleted);
        return false;
    }
    const int number = *row->RBAction;
    try {
        Savepoint unit(db_);
        // The row as shown must still be the record of that number.
        const int same =
            db_.scalar(QStringLiteral("SELECT COUNT(*) FROM DTT WHERE ( IDM = ? ) AND ( RBAction = ? ) "
                                      "AND ( RES IS NOT DISTINCT FROM ? ) AND ( HG IS NOT DISTINCT FROM ? ) "
                                      "AND ( P IS NOT DISTINCT FROM ? ) AND ( M IS NOT DISTINCT FROM ? ) "
                                      "AND ( NODR IS NOT DISTINCT FROM ? )"),
                       {match_, number, param(row->RES), param(row->HG), param(row->P), param(row->M),
                        param(row->NODr)})
                .toInt();
        if (same != 1 || !EventStore(db_).DeleteEventRecord(match_, number))
            throw fb::Error(QStringLiteral("the event record is not one row"));
        if (MadeOf(code) > 0)
            PlusMinus(db_).RevertPlusMinus(match_, number);
        unit.release();
        db_.commit();
    } catch (const std::exception &) {
        ShowError(kNotDeleted);
        return false;
    }
    changed_ = true;
    if (Journal)
        Journal->Append({.kind = ScriptEntry::Kind::ReviewDelete, .value = number});
    reapply(current_);
    return true;
}
