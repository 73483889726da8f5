#pragma once
// What the main window decides, kept apart from its widgets so that tests
// drive it without a screen.

#include <QDateTime>
#include <QString>

#include <functional>

class Tdm;

namespace MainActions {

// Resets the process-wide state of the match console and the export switch;
// done when the main window is created.
void ResetProcessState();

// True when the administrator marker file sits in the data directory.
bool AdminMode(const QString &dataDirectory);

// Makes sure the export directory exists (one attempt) and sets
// ExportDirectoryReady; a failure is reported naming the directory.
bool PrepareExportDirectory(const QString &exportDirectory);

// "08.12.2026.  at  21:35:16": how a safety copy's time is shown.
QString FormatBackupTime(const QDateTime &time);

// The retrieval of the database from one of its safety copies, with the
// confirmation. Answers true when the database was replaced and the program
// must end.
bool RetrieveFromBackup(Tdm &module, bool additional);

// Restores the database from a server backup file ("Finished!" or the error).
void RestoreFromServerBackup(Tdm &module, const QString &backupFile);

// What the main window says beneath its actions: why there is no database,
// or, while there is no league, how a newcomer gets one; empty when leagues
// are there.
QString StartingAdvice(Tdm &module, const QString &dataDirectory);

// "Open Existing Match" may go on only when there is a match to choose.
bool HasMatches(Tdm &module);

// A reference browser opened from the main window: fresh tables before it,
// its changes saved and a safety copy taken after it.
void RunReferenceBrowser(Tdm &module, const std::function<void()> &showBrowser);

// Starts a new instance of the program; the caller then ends this one.
// Tests replace the launcher.
using Launcher = std::function<bool(const QString &program)>;
void SetLauncher(Launcher launcher);
bool RestartApplication();

} // namespace MainActions
