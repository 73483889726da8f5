#pragma once
#include "common/Messenger.h"

class QWidget;

// Shows the program's messages as modal message boxes.
class MessageBoxMessenger final : public Messenger
{
public:
    bool show(Kind kind, const QString &text) override;
    void setBusy(bool busy) override;
};

// Prints the program's messages on standard error, for a run without
// windows; questions are answered No, so nothing is decided unasked.
class TerminalMessenger final : public Messenger
{
public:
    bool show(Kind kind, const QString &text) override;
};
