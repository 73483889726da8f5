#pragma once
// What the tests of the example match's reports share: the example replayed
// through the console, and a report's plain text against its reference.

#include <QString>

// Replays the example match into the open sandbox; answers its match
// number, or 0 (with the test failed) when the replay was refused.
int ReplayExampleMatch();

// Compares `text` with the reference file; on a difference writes what was
// made beside the build for a look and fails at the first line that differs.
void CompareWithReference(const QString &text, const QString &reference);
