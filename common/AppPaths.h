#pragma once
#include <QString>

// Where the program keeps its files. The data directory (database, safety
// copies, administrator marker, export logs) is the executable's own
// directory unless QUINTARA_HOME names another; the export directory for the
// live page and period pictures is "live" inside it unless QUINTARA_LIVE_DIR
// names another. QUINTARA_DATABASE may name the database instead of
// "QNDB.FDB" in the data directory, also as a server connection string
// ("host:/path/QNDB.FDB").
namespace AppPaths {

QString dataDirectory();
// Why the data directory cannot hold the program's files (it cannot be
// made, or written), naming it; empty when it can.
QString dataDirectoryProblem();
QString exportDirectory();
// A file of the data directory.
QString dataFile(const QString &name);
QString databaseLocation();
// True for a server connection string, false for a file of this machine.
bool isServerLocation(const QString &location);
// Where the embedded engine keeps its settings and locks: beside the
// database file, since every program that opens one file must share its
// locks (desks with data directories of their own may share a database);
// the data directory for a database on a server.
QString engineHome();

// True when the export directory exists or was created at start; the
// console writes its live files only then.
inline bool ExportDirectoryReady = false;

inline const char *DatabaseFileName = "QNDB.FDB";
inline const char *BackupFileName = "BACKUP_QNDB.FDB";
inline const char *AdditionalBackupFileName = "BACKUP_ADDITIONAL_QNDB.FDB";
inline const char *DiscardedFileName = "DISCARDED_QNDB.FDB";
inline const char *AdminMarkerFileName = "qntlea.txt";

} // namespace AppPaths
