#include "data/FbService.h"

#include "common/AppPaths.h"

#include <firebird/Interface.h>

#include <QFile>

#include <cerrno>
#include <chrono>
#include <thread>

#include <unistd.h>

#include <functional>
#include <vector>

using namespace Firebird;

namespace fb::Service {

namespace {

IMaster *master() { return fb_get_master_interface(); }

struct Status : ThrowStatusWrapper
{
    Status() : ThrowStatusWrapper(master()->getStatus()) {}
    ~Status() { dispose(); }
};

struct Target
{
    QByteArray serviceManager; // "service_mgr" or "host:service_mgr"
    QByteArray database;       // the path as the service sees it
};

// The services manager of the machine that holds the database.
Target targetOf(const QString &location)
{
    if (!AppPaths::isServerLocation(location))
        return {"service_mgr", QFile::encodeName(location)};
    const int colon = int(location.indexOf(QLatin1Char(':'), location.startsWith(QLatin1String("inet")) ? 5 : 0));
    return {location.left(colon).toUtf8() + ":service_mgr", location.mid(colon + 1).toUtf8()};
}

using Fill = std::function<void(IXpbBuilder *, Status &)>;
using Sink = std::function<void(const unsigned char *data, unsigned length)>;

// Reads the service's output until it ends; failures surface here. With a
// sink the output is the backup itself (streamed to the client), else lines.
void drainOutput(IService *service, Status &st, const Sink &sink)
{
    const unsigned char request[] = {static_cast<unsigned char>(sink ? isc_info_svc_to_eof : isc_info_svc_line)};
    static constexpr unsigned AnswerSize = 65000;
    std::vector<unsigned char> answer(AnswerSize);
    for (;;) {
        service->query(&st, 0, nullptr, sizeof request, request, AnswerSize, answer.data());
        if (answer[0] != request[0])
            break;
        const unsigned length = unsigned(answer[1]) | (unsigned(answer[2]) << 8);
        if (sink && length > 0)
            sink(answer.data() + 3, length);
        const bool more = sink && answer[3 + length] == isc_info_truncated;
        if (length == 0 && !more)
            break;
    }
}

void runService(const QByteArray &serviceManager, const Credentials &credentials, const Fill &fillStart,
                const Sink &sink = {})
{
    Status st;
    IUtil *util = master()->getUtilInterface();
    IXpbBuilder *attachBlock = nullptr;
    IXpbBuilder *startBlock = nullptr;
    IProvider *provider = master()->getDispatcher();
    IService *service = nullptr;
    try {
        attachBlock = util->getXpbBuilder(&st, IXpbBuilder::SPB_ATTACH, nullptr, 0);
        attachBlock->insertString(&st, isc_spb_user_name, credentials.user.toUtf8().constData());
        attachBlock->insertString(&st, isc_spb_password, credentials.password.toUtf8().constData());
        service = provider->attachServiceManager(&st, serviceManager.constData(),
                                                 attachBlock->getBufferLength(&st), attachBlock->getBuffer(&st));

        startBlock = util->getXpbBuilder(&st, IXpbBuilder::SPB_START, nullptr, 0);
        fillStart(startBlock, st);
        service->start(&st, startBlock->getBufferLength(&st), startBlock->getBuffer(&st));

        drainOutput(service, st, sink);
        service->detach(&st);
        service = nullptr;
        startBlock->dispose();
        attachBlock->dispose();
        provider->release();
    } catch (const FbException &e) {
        char text[2048];
        util->formatStatus(text, sizeof text, e.getStatus());
        if (service)
            service->release();
        if (startBlock)
            startBlock->dispose();
        if (attachBlock)
            attachBlock->dispose();
        provider->release();
        throw Error(QString::fromUtf8(text).trimmed());
    }
}

} // namespace

void backup(const QString &databaseLocation, const QString &backupFile, const Credentials &credentials,
            const std::function<void()> &beforeEachPiece)
{
    const Target target = targetOf(databaseLocation);
    // The backup is streamed to this process, which writes it: a server
    // writes files on its own machine as its own user, and an embedded
    // engine's backup left to the kernel piles up dirty pages that an
    // entry's commit (forced writes) then waits behind. So the file goes to
    // the disk slice by slice, with a short pause after each.
    QFile file(backupFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("cannot open backup file %1: %2").arg(backupFile, file.errorString()));
    constexpr qint64 Slice = 1 << 20;
    qint64 unsynced = 0;
    // A write that fails still reads the stream to its end, so the service ends normally.
    QString failure;
    const auto synced = [&] {
        if (!file.flush())
            failure = file.errorString();
        else if (::fdatasync(file.handle()) != 0)
            failure = qt_error_string(errno);
        return failure.isEmpty();
    };
    const Sink sink = [&](const unsigned char *data, unsigned length) {
        if (!failure.isEmpty())
            return;
        if (beforeEachPiece)
            beforeEachPiece();
        if (file.write(reinterpret_cast<const char *>(data), length) != qint64(length)) {
            failure = file.errorString();
            return;
        }
        unsynced += length;
        if (unsynced >= Slice && synced()) {
            unsynced = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(8));
        }
    };
    runService(
        target.serviceManager, credentials,
        [&](IXpbBuilder *spb, Status &st) {
            spb->insertTag(&st, isc_action_svc_backup);
            spb->insertString(&st, isc_spb_dbname, target.database.constData());
            spb->insertString(&st, isc_spb_bkp_file, "stdout");
        },
        sink);
    if (failure.isEmpty())
        synced();
    if (!failure.isEmpty())
        throw Error(QStringLiteral("cannot write backup file %1: %2").arg(backupFile, failure));
}

void restore(const QString &backupFile, const QString &targetLocation, const Credentials &credentials)
{
    const Target target = targetOf(targetLocation);
    runService(target.serviceManager, credentials, [&](IXpbBuilder *spb, Status &st) {
        spb->insertTag(&st, isc_action_svc_restore);
        spb->insertString(&st, isc_spb_bkp_file, QFile::encodeName(backupFile).constData());
        spb->insertString(&st, isc_spb_dbname, target.database.constData());
        spb->insertInt(&st, isc_spb_options, isc_spb_res_create);
    });
}

} // namespace fb::Service
