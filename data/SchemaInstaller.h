#pragma once
#include <QString>
#include <QStringList>

namespace fb {
class Connection;
}

// Brings a database up to the schema this program expects. The SQL lives in
// versioned scripts (db/*.sql, built into the program). A script named
// "NNN_name.sql" runs once, in number order; a script named "R_name.sql"
// holds routines written with CREATE OR ALTER and runs again whenever its text
// changes, or after numbered scripts ran (the routines are dropped before
// them). Table SCHEMA_SCRIPTS remembers what ran.
class SchemaInstaller
{
public:
    explicit SchemaInstaller(fb::Connection &connection) : connection_(connection) {}

    // Runs every pending script of `scripts` (all built-in ones unless
    // told); throws fb::Error naming the script and statement that failed.
    void upgrade(const QStringList &scripts = scriptNames());

    // The built-in scripts in the order they run.
    static QStringList scriptNames();
    static QString scriptText(const QString &name);

private:
    void ensureLedger();
    void dropRoutines();
    bool isPending(const QString &name, const QString &checksum);
    void run(const QString &name, const QString &text, const QString &checksum);

    fb::Connection &connection_;
};
