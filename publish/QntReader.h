#pragma once
// Reading a match file back, for a league checking a desk's file by eye and
// for the tests: the decoded values, or where and why the bytes are wrong.

#include "publish/QntFormat.h"

#include <variant>

struct QntReadError
{
    qint64 offset = 0; // the byte at which the file went wrong
    QString reason;

    QString text() const { return QStringLiteral("byte %1: %2").arg(offset).arg(reason); }
};

// Decodes a whole file. A short file, a wrong marker, a count that the rest
// of the file cannot hold, a flag other than 0 or 1 and bytes after the last
// minute record answer the offset and the reason; nothing else is assumed.
std::variant<QntMatch, QntReadError> ReadMatchStream(const QByteArray &bytes);

// The decoded file as text: the header one field a line, then every event,
// player and minute record on a line of its own, each field named as
// docs/match-export.md names it.
QString QntMatchText(const QntMatch &match);
