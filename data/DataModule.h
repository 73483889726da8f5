#pragma once
// The data module: the one connection to the match database and its one
// transaction, the table objects every window uses, the event-code table,
// and the database-wide operations (safety copies, retrieval, restore).

#include "common/UserActivity.h"
#include "data/SafetyCopier.h"
#include "data/TableObject.h"

#include <QTimer>

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace fb {
class Connection;
}

class Tdm
{
public:
    struct Options
    {
        QString databaseLocation; // a file path or a server connection string
        QString dataDirectory;    // where the safety copies live
    };

    // Options from the environment (AppPaths).
    static Options defaultOptions();

    explicit Tdm(Options options = defaultOptions());
    ~Tdm();
    Tdm(const Tdm &) = delete;
    Tdm &operator=(const Tdm &) = delete;

    // The module's creation: connects (creating the database on first start)
    // and loads the event-code table. Answers false when the start-up must
    // stop ("Error in Actions Data in DataBase!!!"); a failed connection is
    // reported and the program goes on without a database.
    bool Start();

    // Tries the password candidates; answers whether the connection is up.
    bool ConnectDatabase();
    bool connected() const { return connection_ != nullptr; }
    bool connectionFailed() const { return connectionFailed_; }
    // What the last failed connection reported; empty once connected.
    const QString &connectionProblem() const { return connectionProblem_; }
    // Brings the optimizer's figures of every index up to date (done at the start).
    void RefreshIndexStatistics();
    fb::Connection &db();

    const Options &options() const { return options_; }
    QString dataFile(const QString &name) const;
    bool isLocalDatabase() const;

    // Table objects, in the module's order.
    bool OpenAllTables();
    void CloseAllDataSets();
    TableObject &table(const QString &name);
    const std::vector<TableObject> &tables() const { return tables_; }

    void SaveAllDataSets();
    // Commits and refreshes the safety copy (every third call the additional
    // copy too). The file is copied in the background; see SafetyCopier.
    void BackupDatabaseFile();
    // The same for a caller that has just committed its work itself.
    void RequestSafetyCopy();
    // Waits until the safety copies asked for are written.
    void WaitForSafetyCopies();
    // Finishes a written copy and starts the next one asked for once the
    // statistician has stopped keying (a timer does this between entries).
    void PollSafetyCopies();
    // The statistician's keys and clicks, which background work gives way to.
    UserActivity &activity() { return activity_; }
    int backupCopyCounter() const { return backupCopyCounter_; }
    // Replaces the database with a safety copy; answers whether the
    // connection is up again afterwards.
    bool RetrieveDatabase(const QString &backupFile, const QString &missingMessage);
    // Replaces the database with one restored from a server backup file.
    void RestoreFromServerBackup(const QString &backupFile);

    bool MatchStarted();
    void SetJumpBall(int matchId, int side);
    int GetJumpBall(int matchId);

    // The password candidates in the order they are tried.
    static const QStringList PasswordCandidates;
    // Tries each candidate until `attempt` succeeds; answers the one that did.
    static std::optional<QString> TryPasswordCandidates(const std::function<bool(const QString &)> &attempt);

private:
    void createTables();
    BackupStateSwitch backupStateSwitch();
    // A safety copy killed or failed midway leaves the database in its
    // backup state; the start ends it.
    void endBackupState();
    bool attachOrCreate();
    bool createDatabase(const QString &location);
    void reportConnectionProblem(const QString &why);
    void disconnect();

    Options options_;
    std::unique_ptr<fb::Connection> connection_;
    std::vector<TableObject> tables_;
    bool connectionFailed_ = false;
    QString connectionProblem_;
    int backupCopyCounter_ = 0;
    std::unique_ptr<SafetyCopier> copier_;
    QTimer copyPoll_;
    UserActivity activity_;
};

// The one data module of the program, set while it exists.
Tdm *dm();
