#include "setup/MainActions.h"

#include "common/AppPaths.h"
#include "common/MatchState.h"
#include "common/Messenger.h"
#include "data/FbClient.h"
#include "data/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace MainActions {

namespace {

bool startDetached(const QString &program) { return QProcess::startDetached(program, {}); }

Launcher &launcher()
{
    static Launcher current = startDetached;
    return current;
}

} // namespace

void ResetProcessState()
{
    CurrentMatch().reset();
    AppPaths::ExportDirectoryReady = false;
}

bool AdminMode(const QString &dataDirectory)
{
    return QFileInfo::exists(QDir(dataDirectory).filePath(QString::fromLatin1(AppPaths::AdminMarkerFileName)));
}

bool PrepareExportDirectory(const QString &exportDirectory)
{
    AppPaths::ExportDirectoryReady = true;
    if (!QFileInfo(exportDirectory).isDir() && !QDir().mkdir(exportDirectory)) {
        ShowError(QStringLiteral("Can not create directory %1 for xml export!")
                      .arg(QDir::toNativeSeparators(exportDirectory)));
        AppPaths::ExportDirectoryReady = false;
    }
    return AppPaths::ExportDirectoryReady;
}

QString FormatBackupTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("dd.MM.yyyy.  'at'  HH:mm:ss"));
}

bool RetrieveFromBackup(Tdm &module, bool additional)
{
    module.WaitForSafetyCopies(); // the copies asked for so far are the ones offered
    const QString backup = module.dataFile(QString::fromLatin1(additional ? AppPaths::AdditionalBackupFileName
                                                                          : AppPaths::BackupFileName));
    if (!QFileInfo::exists(backup)) {
        ShowError(additional ? QStringLiteral("Data Base AdditionalBackup does not exists! Retrieve can not be done!")
                             : QStringLiteral("Data Base Backup does not exists! Retrieve can not be done!"));
        return false;
    }
    const QString time = FormatBackupTime(QFileInfo(backup).lastModified());
    const QString question =
        additional ? QStringLiteral("Last Additional Backup is created on %1 . Are you sure to Retrieive Data Base "
                                    "from Additional Backup?")
                   : QStringLiteral("Last Backup is created on %1 . Are you sure to Retrieive Data Base from Backup?");
    if (!AskConfirmation(question.arg(time)))
        return false;
    return module.RetrieveDatabase(
        backup, additional ? QStringLiteral("Data Base Additional Backup does not exists! Retrieve can not be done!")
                           : QStringLiteral("Data Base Backup does not exists! Retrieve can not be done!"));
}

void RestoreFromServerBackup(Tdm &module, const QString &backupFile)
{
    try {
        module.RestoreFromServerBackup(backupFile);
        ShowInformation(QStringLiteral("Finished!"));
    } catch (const std::exception &e) {
        ShowError(QString::fromUtf8(e.what()));
    }
}

namespace {

QString LeagueAdvice(Tdm &module, const QString &dataDirectory)
{
    if (!module.connected()) {
        const QString why = module.connectionProblem().section(QLatin1Char('\n'), 0, 0);
        return QStringLiteral("No database%1: reference lists and matches wait for one.")
            .arg(why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why));
    }
    try {
        if (module.db().scalar(QStringLiteral("select first 1 ID_LIGA from LIGA")).isValid())
            return QString();
    } catch (const fb::Error &) {
        return QString();
    }
    if (AdminMode(dataDirectory))
        return QStringLiteral("No league yet: enter one with \"Leagues\", then its clubs with \"Teams\".");
    return QStringLiteral("No league yet: put an empty file %1 in %2 to enter leagues and clubs here, or replay the "
                          "example match (quintara --replay examples/example-match.qms), which brings a league, "
                          "clubs and players.")
        .arg(QString::fromLatin1(AppPaths::AdminMarkerFileName), QDir::toNativeSeparators(dataDirectory));
}

} // namespace

QString StartingAdvice(Tdm &module, const QString &dataDirectory)
{
    const QString league = LeagueAdvice(module, dataDirectory);
    if (!module.connected() || module.isLocalDatabase())
        return league;
    // The desk cannot copy a file that lives on another machine.
    const QString server = QStringLiteral("The database is on a server: its safety copies are the server's "
                                          "business (its own backups), this desk makes none.");
    return league.isEmpty() ? server : server + QLatin1Char(' ') + league;
}

bool HasMatches(Tdm &module)
{
    bool any = false;
    try {
        any = module.db().scalar(QStringLiteral("select first 1 ID_UTAKMICA from UTAKMICA")).isValid();
    } catch (const fb::Error &) {
    }
    if (!any)
        ShowInformation(QStringLiteral("There is no selected match!"));
    return any;
}

void RunReferenceBrowser(Tdm &module, const std::function<void()> &showBrowser)
{
    module.CloseAllDataSets();
    if (module.connected())
        module.OpenAllTables();
    showBrowser();
    module.SaveAllDataSets();
    module.RequestSafetyCopy();
}

void SetLauncher(Launcher replacement) { launcher() = replacement ? std::move(replacement) : startDetached; }

bool RestartApplication()
{
    return launcher()(QCoreApplication::applicationFilePath());
}

} // namespace MainActions
