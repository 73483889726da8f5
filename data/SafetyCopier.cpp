#include "data/SafetyCopier.h"

#include <QFileInfo>
#include <QProcess>

#include <filesystem>

void ReplaceFileWithCopy(const QString &source, const QString &target,
                         const std::function<void(const QString &part)> &prepare)
{
    namespace fs = std::filesystem;
    const QString part = target + QStringLiteral(".part");
    fs::copy_file(fs::path(source.toStdString()), fs::path(part.toStdString()), fs::copy_options::overwrite_existing);
    if (prepare)
        prepare(part);
    fs::rename(fs::path(part.toStdString()), fs::path(target.toStdString()));
}

namespace {

// A file copied in the backup state opens only after its header is marked
// normal again.
void markHeaderNormal(const QString &file)
{
    if (QProcess::execute(QStringLiteral("nbackup"), {QStringLiteral("-F"), file}) != 0)
        throw std::runtime_error("nbackup -F failed");
}

} // namespace

SafetyCopier::SafetyCopier(std::function<void(const QString &)> execute, QString database, QString backup,
                           QString additionalBackup)
    : execute_(std::move(execute)), database_(std::move(database)), backup_(std::move(backup)),
      additional_(std::move(additionalBackup))
{
}

SafetyCopier::~SafetyCopier()
{
    try {
        pending_ = false;
        WaitForIdle();
    } catch (...) {
    }
}

void SafetyCopier::Request(bool additionalToo)
{
    Poll();
    pendingAdditional_ = pendingAdditional_ || additionalToo;
    if (Busy())
        pending_ = true;
    else
        start();
}

void SafetyCopier::Poll()
{
    if (Busy() && running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        complete();
}

void SafetyCopier::WaitForIdle()
{
    while (Busy()) {
        running_.wait();
        complete();
    }
}

void SafetyCopier::start()
{
    pending_ = false;
    if (!QFileInfo::exists(database_))
        return;
    try {
        execute_(QStringLiteral("alter database begin backup"));
    } catch (const std::exception &) {
        return; // tried again at the next change
    }
    runningAdditional_ = pendingAdditional_;
    pendingAdditional_ = false;
    running_ = std::async(std::launch::async,
                          [database = database_, backup = backup_, additional = additional_,
                           withAdditional = runningAdditional_] {
                              try {
                                  ReplaceFileWithCopy(database, backup, markHeaderNormal);
                                  if (withAdditional)
                                      ReplaceFileWithCopy(backup, additional);
                                  return true;
                              } catch (const std::exception &) {
                                  return false;
                              }
                          });
}

void SafetyCopier::complete()
{
    const bool copied = running_.get();
    if (!copied)
        pendingAdditional_ = pendingAdditional_ || runningAdditional_;
    try {
        execute_(QStringLiteral("alter database end backup"));
    } catch (const std::exception &) {
    }
    if (pending_)
        start();
}
