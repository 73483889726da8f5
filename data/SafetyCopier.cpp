#include "data/SafetyCopier.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <thread>

namespace {

// Copies in slices with short pauses, so that a large copy running beside
// the statistician's entries leaves the disk and the processor to them.
void copyGently(const QString &source, const QString &target)
{
    QFile from(source), to(target);
    if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot open the files of a safety copy");
    constexpr qint64 Slice = 4 << 20;
    QByteArray buffer(int(Slice), Qt::Uninitialized);
    for (;;) {
        const qint64 got = from.read(buffer.data(), Slice);
        if (got < 0 || (got > 0 && to.write(buffer.constData(), got) != got))
            throw std::runtime_error("a safety copy could not be written");
        if (got < Slice)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(8));
    }
    if (!to.flush())
        throw std::runtime_error("a safety copy could not be written");
}

} // namespace

void ReplaceFileWithCopy(const QString &source, const QString &target,
                         const std::function<void(const QString &part)> &prepare)
{
    namespace fs = std::filesystem;
    const QString part = target + QStringLiteral(".part");
    copyGently(source, part);
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
    // The copy asked for after the last change is still taken.
    try {
        WaitForIdle();
    } catch (...) {
    }
}

void SafetyCopier::Request(bool additionalToo)
{
    // Only noted here: the copy starts from Poll, between the statistician's
    // entries, so an entry never waits for the database to change state.
    pendingAdditional_ = pendingAdditional_ || additionalToo;
    pending_ = true;
}

void SafetyCopier::Poll()
{
    if (running_.valid() && running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        complete();
    // While the database is in its backup state each entry costs more, so
    // copies start at most every few seconds, about once per entry at the
    // pace of a match.
    const bool rested = !sinceStart_.isValid() || sinceStart_.elapsed() >= MinimumIntervalMs;
    if (!running_.valid() && pending_ && rested)
        start();
}

void SafetyCopier::WaitForIdle()
{
    while (Busy()) {
        if (running_.valid()) {
            running_.wait();
            complete();
        }
        if (pending_)
            start();
    }
}

void SafetyCopier::start()
{
    pending_ = false;
    sinceStart_.start();
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
}
