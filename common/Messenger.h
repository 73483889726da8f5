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
    // A note that stays in sight while long work runs, before any window
    // may be there to show the busy cursor; an empty text takes it away.
    virtual void note(const QString &) {}

    static Messenger &current();
    // Installs a messenger (not owned); nullptr restores the silent default.
    static void install(Messenger *messenger);
};

// Short forms used throughout the program.
void ShowError(const QString &text);
void ShowWarning(const QString &text);
void ShowInformation(const QString &text);
bool AskConfirmation(const QString &text);

// "The disk that holds <directory> is full. " when `reason` (a system's or
// the database engine's text) tells of a full disk, else nothing: said first,
// in plain words, before the technical reason.
QString DiskFullNote(const QString &reason, const QString &directory);

// A note in sight for the life of a scope.
class LongWorkNote
{
public:
    explicit LongWorkNote(const QString &text) { Messenger::current().note(text); }
    ~LongWorkNote() { Messenger::current().note(QString()); }
    LongWorkNote(const LongWorkNote &) = delete;
    LongWorkNote &operator=(const LongWorkNote &) = delete;
};

// The busy cursor for the life of a scope.
class BusyCursor
{
public:
    BusyCursor() { Messenger::current().setBusy(true); }
    ~BusyCursor() { Messenger::current().setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
