#pragma once
// The console's event log: a line per event record, newest first. After an
// entry only the records past the newest one read are read; a withdrawal or
// an edit makes the whole log be read again.

#include "data/EventStore.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The records past a number, read once for everyone who asks after the same
// entry: the event log and the box score. Forgotten whenever records are
// written or may have changed.
class NewRecords
{
public:
    NewRecords(EventStore &store, const int &match) : store_(store), match_(match) {}

    const std::vector<EventRow> &After(int number);
    void Forget() { rows_.reset(); }

private:
    EventStore &store_;
    const int &match_;
    int after_ = 0;
    std::optional<std::vector<EventRow>> rows_;
};

class EventLog
{
public:
    static constexpr int NoEvent = 10000;

    explicit EventLog(NewRecords &records) : records_(records) {}

    // "12. HOME MADE 2P  7  >>  3": number, side, name, player, parameter.
    static QString Line(int number, int side, int parameter, int code, int player);

    // The log as it stands in the records.
    const QStringList &Lines();
    // The records changed other than by a new entry.
    void Invalidate() { current_ = false; }

    // The newest record with a side and a code (NoEvent and -1 when none).
    int LastCode() const { return lastCode_; }
    int LastNumber() const { return lastNumber_; }
    // A record just written, before the log is read again.
    void Recorded(int number, int code) { lastNumber_ = number, lastCode_ = code; }

private:
    NewRecords &records_;
    QStringList lines_;
    int newest_ = 0;
    bool current_ = false;
    int lastCode_ = NoEvent;
    int lastNumber_ = -1;
};
