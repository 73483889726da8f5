#pragma once
#include "common/Messenger.h"

#include <QList>
#include <QPair>
#include <QStringList>

// Keeps every message shown while it is installed and answers confirmations
// from a queue of prepared answers (No when the queue is empty).
class RecordingMessenger final : public Messenger
{
public:
    RecordingMessenger() { Messenger::install(this); }
    ~RecordingMessenger() override { Messenger::install(nullptr); }

    bool show(Kind kind, const QString &text) override;

    void answer(bool yes) { answers.append(yes); }
    void note(const QString &text) override { notes.append(text); }
    QStringList notes;

    QStringList texts() const;
    QList<QPair<Kind, QString>> messages;
    QList<bool> answers;
};
