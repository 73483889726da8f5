#pragma once
// Reports from the command line, without windows:
//   quintara --report NAME [--match ID] --pdf FILE [--jpeg FILE] [chooser flags]
//   quintara --report list
// The chooser's options are flags; --match defaults to the newest match.
// What was written goes to `out`; a failure is one line on `errors`, with
// the exit status 1 (a report that failed) or 2 (a wrong argument). Nothing
// is written to the database.

#include "reports/ReportChoice.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

class QCommandLineParser;
class QTextStream;

namespace fb {
class Connection;
}

// The names --report takes, the basic report first.
QStringList ReportNames();

class ReportCommandLine
{
public:
    ReportCommandLine();

    // Adds --report, --pdf, --jpeg and the chooser's flags.
    void addTo(QCommandLineParser &parser) const;
    bool requested(const QCommandLineParser &parser) const;
    // A chooser flag given without --report, said in one line; empty when none.
    QString misplacedFlag(const QCommandLineParser &parser) const;

    // `match` is the value of --match, empty for the newest match.
    int run(fb::Connection &db, const QCommandLineParser &parser, const QString &match, QTextStream &out,
            QTextStream &errors) const;

private:
    // The choice the flags make, or the one-line reason they make none.
    std::variant<ReportChoice, QString> choice(const QCommandLineParser &parser) const;

    QCommandLineOption report_, pdf_, jpeg_;
    QCommandLineOption periodOnly_, untilPeriod_, untilOvertime_, overtimeOnly_, attack_, defence_, bonus_;
};
