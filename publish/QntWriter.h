#pragma once
// Writing a match file and its event log in the layout of QntFormat.h.

#include "publish/QntFormat.h"

class QIODevice;

// The whole file, little-endian, onto the device; the device reports a
// failed write.
void WriteMatchStream(QIODevice &device, const QntMatch &match);

// The event log: one line per event record, "A0 1 ; A1 4 ; RES 6 ; A3 3 ;
// A4 0 ; " (the reserved value is left out), each ended with CR LF.
QByteArray EventLogText(const QntMatch &match);
