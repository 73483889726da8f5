#pragma once
// The journal of an open match: every entry the console accepts and every
// correction, appended in the match-script format to a file beside the
// database and on disk before the console reports the entry. Replaying the
// journal into an empty database rebuilds the match.

#include "matchscript/MatchScript.h"

#include <QByteArray>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

namespace fb {
class Connection;
}

// The script header of a stored match: league, clubs, roster, coaches,
// officials, facts, colours and starters, as the database holds them.
ScriptHeader ReadScriptHeader(fb::Connection &db, int matchId);

class MatchJournal
{
public:
    // The journals live in `directory`.
    MatchJournal(fb::Connection &db, QString directory) : db_(db), directory_(std::move(directory)) {}

    // Beside a database file; in the data directory for a server's database.
    static QString Directory(const QString &databaseLocation, const QString &dataDirectory);
    // The journal file of a match.
    QString FileName(int matchId) const;

    // Starts journaling a match. The journal of a match just defined starts
    // afresh (an older file under its number is kept with an ".old" suffix);
    // a stored match's journal is continued, without a last line that a
    // crash cut short.
    void Open(int matchId, bool newMatch);
    void Close();

    // Appends one entry, and the header before the first one. A failure to
    // write is shown once; the entry itself is already stored.
    void Append(const ScriptEntry &entry);
    // The match's first recorded event (its start): the header is written
    // now, so that no recorded event is ever without a journal.
    void Begin();
    // A starter of `side` was recorded: once the side has its five, they
    // follow as a "starters" line.
    void StarterRecorded(int side);
    // Appends the players added to the roster since the header was written.
    void AppendRosterChanges();

private:
    bool write(const QString &text);
    bool failed(const QString &reason);
    void writeHeader();
    void rememberRoster(const ScriptHeader &header);

    fb::Connection &db_;
    QString directory_;
    int match_ = -1;
    QFile file_;
    bool headerWritten_ = false;
    bool failureShown_ = false;
    QByteArray unwritten_; // lines a full disk refused, written first next time
    bool unjournaled_ = false; // a stored match had events before its journal began
    QSet<QString> roster_; // "side number surname first name" of every player written
    QStringList waiting_;  // lines keyed before the header could be written
};
