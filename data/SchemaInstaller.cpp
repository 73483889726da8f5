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

void SchemaInstaller::upgrade()
{
    ensureLedger();
    for (const QString &name : scriptNames()) {
        const QString text = scriptText(name);
        const QString checksum =
            QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
        if (isPending(name, checksum))
            run(name, text, checksum);
    }
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
