#pragma once
// Takes the safety copies of the database beside the statistician's work.
// A plain copy of a file the engine writes to is not consistent, and a copy
// of a large database takes far longer than an event may. So, between the
// statistician's entries, the database is put into its backup state (its
// file stops changing; changes go to a side file), the file is copied on a
// worker thread while work goes on, the copy's header is put back to normal,
// and the backup state ends. Copies asked for meanwhile make one more copy.
// A copy that fails is said once, with its reason, and tried again; the old
// copy stays as it was. Desks that share the database file take turns: the
// backup state is the database's, so one desk ending it would spoil the
// copy another is taking ("<database>.copy.lock" beside the file).

#include <QElapsedTimer>
#include <QLockFile>
#include <QString>

#include <functional>
#include <future>

// Copies a file so that the target is always whole: the copy goes to a
// temporary name first and replaces the target in one step, so a crash or a
// full disk never leaves a half-written copy behind. Throws on failure.
void ReplaceFileWithCopy(const QString &source, const QString &target,
                         const std::function<void(const QString &part)> &prepare = {});

// The same for a copy taken again and again (the safety copies): the copy
// before the last is kept as the target's spare (SpareCopyName) and only the
// blocks that changed since are written into it before it replaces the
// target, so that a copy of a large database costs a few pages of writing,
// and the target is always a whole copy. Throws on failure; the target is
// then left as it was.
void RefreshCopy(const QString &source, const QString &target,
                 const std::function<void(const QString &part)> &prepare = {});
QString SpareCopyName(const QString &copy);

// The turn of the desks that share `databaseFile` to take a copy.
QString CopyTurnFileName(const QString &databaseFile);

// The database's backup state, switched on the program's own connection.
struct BackupStateSwitch
{
    // Runs a statement on the database in a transaction of its own.
    std::function<void(const QString &)> execute;
    // As MON$DATABASE.MON$BACKUP_STATE counts it: 0 normal, 1 stalled
    // (changes go to the delta file), 2 merging.
    std::function<int()> state;

    // The state as the database file's header page says it. Read from the
    // file rather than MON$DATABASE: a monitoring query grows the engine's
    // shared memory in the lock directory, which on a full disk kills the
    // process with SIGBUS. Throws when the header cannot be read.
    static int FromHeader(const QString &databaseFile);

    // Ends a backup state that a copy left behind (killed, or failed on a
    // full disk): while it lasts no copy can start and the delta file grows.
    // Answers the engine's reason when the state could not be ended.
    QString settle() const;
    // The same at start, unless a copy of another desk holds its turn.
    QString settleUnlessCopying(const QString &databaseFile) const;
};

class SafetyCopier
{
public:
    SafetyCopier(BackupStateSwitch database, QString databaseFile, QString backup, QString additionalBackup);
    ~SafetyCopier();
    SafetyCopier(const SafetyCopier &) = delete;
    SafetyCopier &operator=(const SafetyCopier &) = delete;

    // Asks for a fresh copy (and of the additional copy too).
    void Request(bool additionalToo);
    // Completes a copy that has finished and starts the one asked for;
    // called by a timer between the statistician's entries. While the
    // statistician keys (keyingPaused false) the start waits, at most
    // LongestDeferralMs after the copy was asked for.
    void Poll(bool keyingPaused);
    // Waits until no copy is running or asked for; a copy that fails is
    // left to Poll to try again.
    void WaitForIdle();
    bool Busy() const { return running_.valid() || pending_ || retry_; }

private:
    void start();
    void complete();
    void failed(const QString &reason);

    BackupStateSwitch switch_;
    QString database_, backup_, additional_;
    // Entering and leaving the backup state stalls the entry that meets it
    // (about 0.1 s on a database of 150 MB), so while entries come fast a
    // copy starts at most this often: a copy still follows the newest change
    // within this time, however fast entries come.
    static constexpr qint64 MinimumIntervalMs = 5000;
    QElapsedTimer sinceStart_;
    static constexpr qint64 LongestDeferralMs = 2 * MinimumIntervalMs;
    QElapsedTimer askedSince_; // since the copy waiting to start was asked for
    QLockFile turn_; // held from entering the backup state until it ends
    std::future<QString> running_; // the failure's reason, empty when written
    bool pending_ = false;
    bool retry_ = false;         // the last copy failed
    bool failureShown_ = false;  // said once for a run of failures
    bool pendingAdditional_ = false;
    bool runningAdditional_ = false;
};
