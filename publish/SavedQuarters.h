#pragma once
// The period pictures of a match in the export directory, for the saved
// quarters window: the ".jpeg" files whose names hold both team names in
// plain letters, as the console names the pictures.

#include <QString>
#include <QStringList>

// File names (without directory) in name order; a missing directory gives
// none. Names are compared without regard to case, directories are skipped.
QStringList SavedQuarterFiles(const QString &directory, const QString &homeName, const QString &awayName);
