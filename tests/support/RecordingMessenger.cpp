#include "support/RecordingMessenger.h"

bool RecordingMessenger::show(Kind kind, const QString &text)
{
    messages.append({kind, text});
    return kind == Kind::Confirmation && !answers.isEmpty() ? answers.takeFirst() : false;
}

QStringList RecordingMessenger::texts() const
{
    QStringList result;
    for (const auto &m : messages)
        result << m.second;
    return result;
}
