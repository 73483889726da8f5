#pragma once
#include <QString>

// The picture of the basic report saved when a period ends: the match, the
// two team names in plain letters and the period, never over an existing
// file (the next free period number is taken instead).
QString PeriodSnapshotFileName(const QString &directory, int matchId, const QString &homeName,
                               const QString &awayName, int period);
