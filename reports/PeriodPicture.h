#pragma once
// The picture of page 1 of the basic report saved when a period ends, for
// the saved quarters window and whoever reads the export directory.

#include <QString>

namespace fb {
class Connection;
}

// Writes the picture of the match's basic report (the match so far) to
// `fileName`, through a temporary name renamed into place, so a reader never
// sees half a picture. Answers why it failed (naming the path), empty when
// written.
QString SavePeriodPicture(fb::Connection &db, int match, const QString &fileName, bool colour,
                          const QString &pictureDirectory);
