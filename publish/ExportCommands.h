#pragma once
// The export and the live page from the command line, without windows:
// quintara --export, --export-all, --read-qnt and --live-page. Each prints what it wrote on `out` and, on a
// failure, one line with the reason on `errors`, and answers the process's
// exit status: 0 done, 1 failed, 2 a wrong argument.

#include <QString>

class QTextStream;

namespace fb {
class Connection;
}

int ExportMatchCommand(fb::Connection &db, const QString &matchId, const QString &fileName,
                       const QString &logDirectory, QTextStream &out, QTextStream &errors);
// Every stored match into `directory`, each under its proposed name; a name
// that two matches share gets the match number added, so no file replaces
// another one of the same run.
int ExportAllCommand(fb::Connection &db, const QString &directory, const QString &logDirectory, QTextStream &out,
                     QTextStream &errors);
int ReadQntCommand(const QString &fileName, QTextStream &out, QTextStream &errors);
// The live page of a stored match, from its stored rows alone, into
// `fileName` (written as the console writes data.htm), or on `out` when no
// file is given.
int LivePageCommand(fb::Connection &db, const QString &matchId, const QString &fileName, QTextStream &out,
                    QTextStream &errors);
