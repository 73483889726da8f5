#pragma once
#include "data/FbClient.h"

#include <functional>

// Backup and restore through the engine's services manager. Works with the
// embedded engine too, also while this process holds its own connection to
// the database being backed up.
namespace fb::Service {

// Writes a backup of the database at databaseLocation (a file or a server
// connection string) to backupFile, and waits until it is complete. The
// backup is read piece by piece; beforeEachPiece, when given, may hold it
// back (the engine waits for it too).
void backup(const QString &databaseLocation, const QString &backupFile, const Credentials &credentials,
            const std::function<void()> &beforeEachPiece = {});

// Restores backupFile into a new database targetLocation, which must not
// exist yet, and waits until it is complete.
void restore(const QString &backupFile, const QString &targetLocation, const Credentials &credentials);

} // namespace fb::Service
