#pragma once
// quintara --serve: the match on the web without a console. It follows the
// database as statisticians record the match in another program and pushes
// every change to the viewers.

#include <QString>

class QTextStream;
namespace fb {
class Connection;
}

// Serves the match `matchId` (the newest stored match when empty) until the
// program is asked to end; answers the exit code.
int ServeCommand(fb::Connection &db, const QString &matchId, const QString &directory, QTextStream &out,
                 QTextStream &errors);
