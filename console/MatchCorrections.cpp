// The match session's corrections: deleting a record from the event log,
// removing an event from the rules engine's events in force, and undoing the
// newest event.
#include "console/MatchSession.h"

#include "common/Messenger.h"
#include "data/ActionCodes.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"

using ScriptKind = ScriptEntry::Kind;

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
    if (!store_.DeleteEventRecord(matchId_, number)) {
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
    recordDeleted();
    return true;
}

QList<MatchSession::UndoListRow> MatchSession::UndoList()
{
    // The names come from the code table in memory: a join per row would cost
    // five times the reading of the events themselves.
    QList<UndoListRow> added;
    for (const EventInForce &e : rules_.RemovableEvents(matchId_, undoList_ ? undoListSeen_ : 0)) {
        const QString name = ActionCodes().ShortName(e.code);
        QString display = e.side == 1 ? QStringLiteral("HOME ") + name
                          : e.side == 2 ? QStringLiteral("AWAY ") + name
                                        : name;
        if (e.player > 0)
            display += QStringLiteral("  %1").arg(e.player);
        if (e.parameter > 0)
            display += QStringLiteral("  >>  %1").arg(e.parameter);
        added << UndoListRow{e.eventId, name, display};
    }
    if (!added.isEmpty())
        undoListSeen_ = added.first().eventId;
    undoList_ = added + undoList_.value_or(QList<UndoListRow>());
    return *undoList_;
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
        rules_.Remove(matchId_, row.eventId);
        db.commit();
    } catch (const fb::Error &) {
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        forgetReadings();
        ShowWarning(QStringLiteral("Warning! Some action is not allowed."));
        return false;
    }
    // The row's place in the list (1 the newest) names the event in any database.
    journal_.Append({.kind = ScriptKind::MarkDelete, .value = position + 1});
    dm_.RequestSafetyCopy();
    eventRemoved();
    return true;
}

int MatchSession::Undo()
{
    auto &db = dm_.db();
    int result = 0;
    try {
        result = rules_.UndoNewest(matchId_);
        forgetReadings();
        // The record goes to the deleted ones, in the same unit of work.
        if (result == 1)
            store_.DeleteEventRecord(matchId_, log_.LastNumber());
        db.commit();
    } catch (const fb::Error &e) {
        try {
            db.rollbackRetaining();
        } catch (const fb::Error &) {
        }
        forgetReadings();
        ShowError(QStringLiteral("The event was not taken back: %1").arg(e.text()));
        return -1;
    }
    switch (result) {
    case 1:
        journal_.Append({.kind = ScriptKind::Undo});
        dm_.RequestSafetyCopy();
        Changed(MatchChange::EventsWithdrawn | MatchChange::Clock);
        // Read by the console as it heard the change, else here.
        log_.Lines(); // the newest event is the last one again
        RefreshCourtPanels();
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
