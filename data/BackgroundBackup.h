#pragma once
// A server backup written on a worker thread, so that the window that asks
// for it opens at once. The backup goes to a temporary name and replaces the
// file only when it is complete: a failed backup never leaves a broken file
// where a good one was.

#include "data/FbClient.h"

#include <QString>

#include <functional>
#include <future>

class BackgroundBackup
{
public:
    BackgroundBackup() = default;
    ~BackgroundBackup() { Wait(); }
    BackgroundBackup(const BackgroundBackup &) = delete;
    BackgroundBackup &operator=(const BackgroundBackup &) = delete;

    // beforeEachPiece, when given, may hold the backup back between the
    // pieces it writes (see fb::Service::backup).
    void Start(const QString &databaseLocation, const QString &backupFile, const fb::Credentials &credentials,
               std::function<void()> beforeEachPiece = {});
    bool Running() const { return running_.valid(); }
    // When the backup has finished: its failure's text (empty when it was
    // written), given once; nothing while it runs or after it was given.
    std::optional<QString> TakeOutcome();
    // Waits for the backup to finish.
    void Wait();

private:
    std::future<QString> running_;
    std::optional<QString> outcome_;
};
