#include "app/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t terminationSignals()
{
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&blocked, signal);
    return blocked;
}

} // namespace

void BlockTerminationSignals()
{
    const sigset_t blocked = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
}

void QuitOnTerminationSignals()
{
    const sigset_t blocked = terminationSignals();
    const int fd = signalfd(-1, &blocked, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0)
        return;
    auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [fd] {
        signalfd_siginfo info;
        while (::read(fd, &info, sizeof info) == sizeof info) {
        }
        QCoreApplication::quit();
    });
}
