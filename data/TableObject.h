#pragma once
// A table object of the data module: one database table read in a fixed
// order, with the looked-up and calculated fields its windows show. Opening
// it prepares its statement (so a missing or unreadable table shows at once);
// rows are fetched only when asked for.

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

namespace fb {
class Connection;
class Query;
} // namespace fb

// A field taken from another table through a key column of this one.
struct LookupField
{
    QString name;         // name of the field in the rows, e.g. TEAMNAME
    QString keyColumn;    // column of this table, e.g. ID_KLUB
    QString table;        // looked-up table, e.g. KLUB
    QString tableKey;     // its key, e.g. ID_KLUB
    QString resultColumn; // its column shown, e.g. NAZIV
};

// One column of a table object's order; names are ordered as NameOrder.h
// says, which the database's WIN1250 order does not know.
struct OrderColumn
{
    QString column;
    bool isName = false;
};

class TableObject
{
public:
    TableObject(QString name, QString table, QList<OrderColumn> order, QList<LookupField> lookups = {},
                bool hasFullName = false);
    ~TableObject();
    TableObject(TableObject &&) noexcept;

    const QString &name() const { return name_; }
    const QString &table() const { return table_; }
    QString selectSql(const QString &where = QString()) const;

    void open(fb::Connection &connection); // throws fb::Error
    void close();
    bool isOpen() const { return prepared_ != nullptr; }

    // Rows with every column, lookup and calculated field, keyed by name.
    // `where` is a condition on this table's columns (alias T) with ? markers.
    QList<QVariantMap> rows(fb::Connection &connection, const QString &where = QString(),
                            const QVariantList &params = {}) const;

private:
    QString name_;
    QString table_;
    QList<OrderColumn> order_;
    QList<LookupField> lookups_;
    bool hasFullName_;
    std::unique_ptr<fb::Query> prepared_;
};

// "IME PREZIME", or the one present when the other is missing.
QString FullName(const QVariant &firstName, const QVariant &surname);
