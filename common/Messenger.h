#pragma once
#include <QString>

// Every message the program shows to the user goes through the current
// Messenger. The windows install one that shows modal boxes; tests install
// a RecordingMessenger that keeps the texts and answers confirmations.
class Messenger
{
public:
    enum class Kind { Error, Warning, Information, Confirmation };

    virtual ~Messenger() = default;

    // Shows a message; for Confirmation answers true on Yes.
    virtual bool show(Kind kind, const QString &text) = 0;
    // Shows or hides the busy (hourglass) cursor during long work.
    virtual void setBusy(bool) {}

    static Messenger &current();
    // Installs a messenger (not owned); nullptr restores the silent default.
    static void install(Messenger *messenger);
};

// Short forms used throughout the program.
void ShowError(const QString &text);
void ShowWarning(const QString &text);
void ShowInformation(const QString &text);
bool AskConfirmation(const QString &text);

// The busy cursor for the life of a scope.
class BusyCursor
{
public:
    BusyCursor() { Messenger::current().setBusy(true); }
    ~BusyCursor() { Messenger::current().setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
