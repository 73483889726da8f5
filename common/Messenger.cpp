#include "common/Messenger.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace {

// Used until a window or a test installs its own: says nothing, answers No.
class SilentMessenger final : public Messenger
{
public:
    bool show(Kind, const QString &) override { return false; }
};

SilentMessenger silentMessenger;
Messenger *installed = &silentMessenger;

} // namespace

Messenger &Messenger::current() { return *installed; }

void Messenger::install(Messenger *messenger)
{
    installed = messenger ? messenger : &silentMessenger;
}

QString DiskFullNote(const QString &reason, const QString &directory)
{
    // The engine reports the system's own words for the failed write.
    if (!reason.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        return QString();
    return QStringLiteral("The disk that holds %1 is full. ").arg(QDir::toNativeSeparators(directory));
}

void ShowError(const QString &text) { Messenger::current().show(Messenger::Kind::Error, text); }
void ShowWarning(const QString &text) { Messenger::current().show(Messenger::Kind::Warning, text); }
void ShowInformation(const QString &text) { Messenger::current().show(Messenger::Kind::Information, text); }
bool AskConfirmation(const QString &text)
{
    return Messenger::current().show(Messenger::Kind::Confirmation, text);
}
