#pragma once
#include "common/Messenger.h"

#include <memory>

class QLabel;
class QWidget;

// Shows the program's messages as modal message boxes.
class MessageBoxMessenger final : public Messenger
{
public:
    MessageBoxMessenger();
    ~MessageBoxMessenger() override;
    bool show(Kind kind, const QString &text) override;
    void setBusy(bool busy) override;
    // A small window in the middle of the screen.
    void note(const QString &text) override;

private:
    std::unique_ptr<QLabel> note_;
};

// Prints the program's messages on standard error, for a run without
// windows; questions are answered No, so nothing is decided unasked.
class TerminalMessenger final : public Messenger
{
public:
    bool show(Kind kind, const QString &text) override;
    void note(const QString &text) override;
};
