#include "data/SchemaInstaller.h"

#include "data/FbClient.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace {

const QString ScriptFolder = QStringLiteral(":/db");

bool isRepeatable(const QString &name) { return name.startsWith(QLatin1String("R_")); }

} // namespace

QStringList SchemaInstaller::scriptNames()
{
    QStringList once, repeatable;
    for (const QString &name : QDir(ScriptFolder).entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
        (isRepeatable(name) ? repeatable : once) << name;
    // Routines come after the tables they use.
    return once + repeatable;
}

QString SchemaInstaller::scriptText(const QString &name)
{
    QFile file(ScriptFolder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Missing database script %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

void SchemaInstaller::upgrade(const QStringList &scripts)
{
    ensureLedger();
    // A numbered script may drop or remake tables that routines use, which
    // the engine refuses while the routines exist: they go before the first
    // numbered script that runs and are installed again after the last.
    bool tablesChanged = false;
    for (const QString &name : scripts) {
        const QString text = scriptText(name);
        const QString checksum =
            QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
        const bool repeatable = isRepeatable(name);
        if (!isPending(name, checksum) && !(repeatable && tablesChanged))
            continue;
        if (!repeatable && !tablesChanged) {
            dropRoutines();
            tablesChanged = true;
        }
        run(name, text, checksum);
    }
}

void SchemaInstaller::dropRoutines()
{
    // Callers before the procedures they call: each round drops those that
    // no other procedure depends on.
    const QString free = QStringLiteral(
        "select trim(P.RDB$PROCEDURE_NAME) from RDB$PROCEDURES P "
        "where coalesce(P.RDB$SYSTEM_FLAG, 0) = 0 and P.RDB$PACKAGE_NAME is null and not exists ("
        "select 1 from RDB$DEPENDENCIES D where D.RDB$DEPENDED_ON_NAME = P.RDB$PROCEDURE_NAME "
        "and D.RDB$DEPENDED_ON_TYPE = 5 and D.RDB$DEPENDENT_NAME <> P.RDB$PROCEDURE_NAME)");
    for (;;) {
        QStringList names;
        {
            fb::Query rows(connection_, free);
            rows.exec();
            while (rows.next())
                names << rows.value(0).toString();
        }
        if (names.isEmpty())
            break;
        for (const QString &name : names)
            connection_.executeDefinition(QStringLiteral("drop procedure %1").arg(name));
    }
    const int left = connection_.scalar(QStringLiteral(
        "select count(*) from RDB$PROCEDURES where coalesce(RDB$SYSTEM_FLAG, 0) = 0")).toInt();
    if (left > 0)
        throw fb::Error(QStringLiteral("%1 database procedures could not be dropped before the tables change")
                            .arg(left));
}

void SchemaInstaller::ensureLedger()
{
    const bool exists = connection_.scalar(QStringLiteral(
        "select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'SCHEMA_SCRIPTS'")).toInt() > 0;
    if (!exists)
        connection_.executeDefinition(QStringLiteral(
            "create table SCHEMA_SCRIPTS (NAME varchar(60) not null primary key, "
            "CHECKSUM varchar(40) not null, APPLIED timestamp)"));
}

bool SchemaInstaller::isPending(const QString &name, const QString &checksum)
{
    const QVariant stored =
        connection_.scalar(QStringLiteral("select CHECKSUM from SCHEMA_SCRIPTS where NAME = ?"), {name});
    if (!stored.isValid())
        return true;
    return isRepeatable(name) && stored.toString() != checksum;
}

void SchemaInstaller::run(const QString &name, const QString &text, const QString &checksum)
{
    for (const QString &statement : fb::SplitScript(text)) {
        try {
            connection_.executeDefinition(statement);
        } catch (const fb::Error &e) {
            throw fb::Error(QStringLiteral("Database script %1 failed: %2\nin: %3")
                                .arg(name, e.text(), statement.left(300)),
                            e.gdsCode());
        }
    }
    connection_.execute(QStringLiteral("update or insert into SCHEMA_SCRIPTS (NAME, CHECKSUM, APPLIED) "
                                       "values (?, ?, current_timestamp) matching (NAME)"),
                        {name, checksum});
    connection_.commitRetaining();
}
