#include "data/SafetyCopier.h"

#include "common/Messenger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <unistd.h>

namespace {

std::runtime_error fileFailure(const QString &fileName, const QString &reason)
{
    return std::runtime_error(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fileName), reason).toStdString());
}

// Makes `target` hold what `source` holds, writing only the blocks that
// differ: a copy brought up to date after a few seconds of a match rewrites
// a few pages, not the season's database.
//
// Writes go in slices with short pauses, so that a large copy running beside
// the statistician's entries leaves the disk and the processor to them. Each
// slice goes to the disk before the next: left to the kernel, the copy's
// dirty pages pile up and an entry's commit (forced writes) waits behind
// their write-back.
void copyChangedBlocks(const QString &source, const QString &target)
{
    QFile from(source), to(target);
    if (!from.open(QIODevice::ReadOnly))
        throw fileFailure(source, from.errorString());
    if (!to.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw fileFailure(target, to.errorString());
    const auto synced = [&] {
        if (::fdatasync(to.handle()) != 0)
            throw fileFailure(target, qt_error_string(errno));
    };
    constexpr qint64 Chunk = 1 << 20, Block = 8 << 10, Slice = 4 << 20;
    QByteArray wanted(int(Chunk), Qt::Uninitialized), held(int(Chunk), Qt::Uninitialized);
    qint64 offset = 0, unsynced = 0;
    for (;;) {
        const qint64 got = from.read(wanted.data(), Chunk);
        if (got < 0)
            throw fileFailure(source, from.errorString());
        qint64 had = 0;
        if (to.size() > offset && (!to.seek(offset) || (had = to.read(held.data(), got)) < 0))
            throw fileFailure(target, to.errorString());
        const auto differs = [&](qint64 at) {
            const qint64 length = std::min(Block, got - at);
            return at + length > had || std::memcmp(wanted.constData() + at, held.constData() + at, size_t(length));
        };
        for (qint64 at = 0; at < got;) {
            if (!differs(at)) {
                at += Block;
                continue;
            }
            qint64 end = at + Block;
            while (end < got && differs(end))
                end += Block;
            end = std::min(end, got);
            if (!to.seek(offset + at))
                throw fileFailure(target, to.errorString());
            // Unbuffered: a short write is tried again, and then fails with
            // the system's reason (a full disk).
            for (qint64 done = at; done < end;) {
                const qint64 wrote = to.write(wanted.constData() + done, end - done);
                if (wrote <= 0)
                    throw fileFailure(target, to.errorString());
                done += wrote;
            }
            unsynced += end - at;
            at = end;
        }
        offset += got;
        if (unsynced >= Slice) {
            synced();
            unsynced = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
        if (got < Chunk)
            break;
    }
    if (to.size() != offset && !to.resize(offset))
        throw fileFailure(target, to.errorString());
    synced();
}

} // namespace

void ReplaceFileWithCopy(const QString &source, const QString &target,
                         const std::function<void(const QString &part)> &prepare)
{
    namespace fs = std::filesystem;
    const QString part = target + QStringLiteral(".part");
    try {
        QFile::remove(part);
        copyChangedBlocks(source, part);
        if (prepare)
            prepare(part);
        fs::rename(fs::path(part.toStdString()), fs::path(target.toStdString()));
    } catch (...) {
        // No partial file under a name that looks like a copy.
        QFile::remove(part);
        throw;
    }
}

void RefreshCopy(const QString &source, const QString &target, const std::function<void(const QString &part)> &prepare)
{
    namespace fs = std::filesystem;
    const QString spare = SpareCopyName(target);
    const QString previous = target + QStringLiteral(".previous");
    const auto path = [](const QString &name) { return fs::path(name.toStdString()); };
    QFile::remove(previous); // a swap that did not end
    try {
        copyChangedBlocks(source, spare);
        if (prepare)
            prepare(spare);
    } catch (...) {
        // Whatever it holds, the spare is made whole again next time; on a
        // full disk its room is better left free.
        QFile::remove(spare);
        throw;
    }
    // The new copy replaces the target in one step, and the old one stays
    // as the spare that the next copy brings up to date.
    std::error_code linked, kept;
    if (QFile::exists(target))
        fs::create_hard_link(path(target), path(previous), linked);
    fs::rename(path(spare), path(target));
    // The copy is written; a spare that could not be kept is made anew next time.
    if (!linked && QFile::exists(previous))
        fs::rename(path(previous), path(spare), kept);
}

QString SpareCopyName(const QString &copy) { return copy + QStringLiteral(".spare"); }

namespace {

// A file copied in the backup state opens only after its header is marked
// normal again.
void markHeaderNormal(const QString &file)
{
    QProcess nbackup;
    nbackup.setProcessChannelMode(QProcess::MergedChannels);
    nbackup.start(QStringLiteral("nbackup"), {QStringLiteral("-F"), file});
    if (nbackup.waitForFinished(-1) && nbackup.exitStatus() == QProcess::NormalExit && nbackup.exitCode() == 0)
        return;
    const QString said = QString::fromLocal8Bit(nbackup.readAll()).simplified().left(200);
    throw std::runtime_error(
        QStringLiteral("nbackup -F: %1").arg(said.isEmpty() ? nbackup.errorString() : said).toStdString());
}

} // namespace

int BackupStateSwitch::FromHeader(const QString &databaseFile)
{
    // Header page (ODS 12): page type 1 first, the flags as a 16-bit word at
    // byte 42; bits 0x0C00 hold the backup state (0x400 stalled, 0x800 merge).
    QFile file(databaseFile);
    QByteArray header;
    if (file.open(QIODevice::ReadOnly))
        header = file.read(44);
    if (header.size() < 44 || header[0] != 1)
        throw std::runtime_error(QStringLiteral("%1: no database header").arg(databaseFile).toStdString());
    const unsigned flags = uchar(header[42]) | unsigned(uchar(header[43])) << 8;
    return int((flags & 0x0C00) >> 10);
}

QString BackupStateSwitch::settle() const
{
    try {
        if (state() == 0)
            return QString();
        execute(QStringLiteral("alter database end backup"));
        return state() == 0 ? QString() : QStringLiteral("the database is still in its backup state");
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
}

QString CopyTurnFileName(const QString &databaseFile)
{
    return databaseFile + QStringLiteral(".copy.lock");
}

QString BackupStateSwitch::settleUnlessCopying(const QString &databaseFile) const
{
    QLockFile turn(CopyTurnFileName(databaseFile));
    turn.setStaleLockTime(0);
    return turn.tryLock(0) ? settle() : QString();
}

SafetyCopier::SafetyCopier(BackupStateSwitch database, QString databaseFile, QString backup, QString additionalBackup)
    : switch_(std::move(database)), database_(std::move(databaseFile)), backup_(std::move(backup)),
      additional_(std::move(additionalBackup)), turn_(CopyTurnFileName(database_))
{
    turn_.setStaleLockTime(0); // a copy of a large database may take long
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
    if (!pending_)
        askedSince_.start();
    pending_ = true;
}

void SafetyCopier::Poll(bool keyingPaused)
{
    if (running_.valid() && running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        complete();
    // While the database is in its backup state each entry costs more, so
    // copies start at most every few seconds, about once per entry at the
    // pace of a match.
    const bool rested = !sinceStart_.isValid() || sinceStart_.elapsed() >= MinimumIntervalMs;
    const bool mayStart = keyingPaused || (askedSince_.isValid() && askedSince_.elapsed() >= LongestDeferralMs);
    if (!running_.valid() && (pending_ || retry_) && rested && mayStart)
        start();
}

void SafetyCopier::WaitForIdle()
{
    while (running_.valid() || pending_) {
        if (running_.valid()) {
            running_.wait();
            complete();
        }
        if (pending_) {
            start();
            if (pending_ && !running_.valid()) // another desk's turn
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}

void SafetyCopier::start()
{
    sinceStart_.start();
    if (!QFileInfo::exists(database_)) {
        pending_ = retry_ = false;
        return;
    }
    // Another desk's copy runs: this one waits for the next turn.
    if (!turn_.tryLock(0))
        return;
    pending_ = false;
    retry_ = false;
    try {
        switch_.execute(QStringLiteral("alter database begin backup"));
    } catch (const std::exception &e) {
        // Left in the backup state by a copy that did not end: end it, and
        // the next try starts afresh.
        const QString stuck = switch_.settle();
        turn_.unlock();
        return failed(stuck.isEmpty() ? QString::fromUtf8(e.what()) : stuck);
    }
    runningAdditional_ = pendingAdditional_;
    pendingAdditional_ = false;
    running_ = std::async(std::launch::async,
                          [database = database_, backup = backup_, additional = additional_,
                           withAdditional = runningAdditional_] {
                              try {
                                  RefreshCopy(database, backup, markHeaderNormal);
                                  if (withAdditional)
                                      RefreshCopy(backup, additional);
                                  return QString();
                              } catch (const std::exception &e) {
                                  return QString::fromUtf8(e.what());
                              }
                          });
}

void SafetyCopier::complete()
{
    QString failure = running_.get();
    if (!failure.isEmpty())
        pendingAdditional_ = pendingAdditional_ || runningAdditional_;
    try {
        switch_.execute(QStringLiteral("alter database end backup"));
    } catch (const std::exception &e) {
        // A merge that failed (a full disk) leaves the backup state; it is
        // ended before the next copy.
        if (const QString stuck = switch_.settle(); !stuck.isEmpty() && failure.isEmpty())
            failure = stuck;
    }
    turn_.unlock();
    if (!failure.isEmpty())
        return failed(failure);
    if (failureShown_)
        ShowInformation(QStringLiteral("The safety copy %1 is written again.").arg(QDir::toNativeSeparators(backup_)));
    failureShown_ = false;
}

void SafetyCopier::failed(const QString &reason)
{
    retry_ = true;
    if (failureShown_)
        return;
    failureShown_ = true;
    ShowWarning(DiskFullNote(reason, QFileInfo(backup_).absolutePath()) +
                QStringLiteral("The safety copy %1 could not be written: %2\nIt is tried again every few seconds; "
                               "the last copy written stays as it was.")
                    .arg(QDir::toNativeSeparators(backup_), reason));
}
