#pragma once
// The export of a stored match to its ".qnt" file: what the file says,
// computed from the match's own stored rows (the match row, its roster,
// event records and plus-minus), and the export itself with its event log.
// Nothing is written to the database: no working table is rebuilt and the
// match row keeps its result, so any match can be exported while a console
// has another one open, and a crash during an export harms no match.

#include "publish/QntFormat.h"

#include <QString>

#include <functional>
#include <stdexcept>

namespace fb {
class Connection;
}

// Why an export failed, in one line that names the match or the file.
class ExportError : public std::runtime_error
{
public:
    explicit ExportError(const QString &reason) : std::runtime_error(reason.toStdString()) {}
    QString reason() const { return QString::fromStdString(what()); }
};

class MatchExportBuilder
{
public:
    explicit MatchExportBuilder(fb::Connection &db) : db_(db) {}

    // The file's content for the match. Raises ExportError for an unknown
    // match and for a number its field cannot hold (an audience above
    // 32,767), fb::Error when the database fails.
    QntMatch build(int match) const;

private:
    fb::Connection &db_;
};

// The name proposed for a match's file: the league's symbol, the home club,
// " " and the round, with ".qnt"; characters that a file name may not hold
// on any desk's system become "_".
QString ProposedExportFileName(fb::Connection &db, int match);

// The event log of an export, "temp_exp_" + match + ".txt".
QString EventLogFileName(int match);

// Exports the match: writes its event log into logDirectory (replacing an
// older one) and its file under fileName. The file is written beside the
// target under a temporary name and renamed into place only when complete,
// so a failed export leaves no partial file and an older file of that name
// as it was. Raises ExportError with the file and the reason.
void ExportMatch(fb::Connection &db, int match, const QString &fileName, const QString &logDirectory);

// One file of ExportAllMatches: where the match went, or why it did not.
struct ExportedFile
{
    int match = 0;
    QString fileName;
    QString error; // empty when written
};

// Exports every stored match, oldest first, into `directory` under its
// proposed name; a name that an earlier match of the same run took gets the
// match number added ("... 7_12.qnt"), so no file replaces another. A match
// that fails is reported and the others go on; `exported` hears of each.
// Raises ExportError when the directory is not there.
void ExportAllMatches(fb::Connection &db, const QString &directory, const QString &logDirectory,
                      const std::function<void(const ExportedFile &)> &exported);
