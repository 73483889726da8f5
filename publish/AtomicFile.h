#pragma once

#include <QByteArray>
#include <QString>

// Writes through a temporary file beside the target, renamed into place only
// when complete: a reader sees the old content or the new, never a missing
// or partial file, and a failed write leaves the old file as it was.
// Answers why it failed ("cannot write PATH: reason"), empty when written.
QString SaveAtomically(const QString &fileName, const QByteArray &content);
