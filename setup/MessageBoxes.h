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
