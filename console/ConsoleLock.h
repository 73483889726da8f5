#pragma once
// One console records into a database at a time: the working tables hold one
// match for the whole database, so two consoles keying at once corrupt each
// other's statistic lines. A lock file beside the database says which
// process (and computer) has a console open; the program's consoles in one
// process share it. A lock left by a process that ended is taken over.

#include <QString>

#include <memory>

class QLockFile;

class ConsoleLock
{
public:
    // The lock of the database at `databaseLocation` (its data directory for
    // a database on a server); empty when another process holds it.
    static std::shared_ptr<QLockFile> Take(const QString &databaseLocation, const QString &dataDirectory);
    // Why the lock could not be taken: the user's message, naming the holder.
    static QString InUseMessage(const QString &databaseLocation, const QString &dataDirectory);
};
