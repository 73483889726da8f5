#include "data/TableObject.h"

#include "common/NameOrder.h"
#include "data/FbClient.h"

#include <algorithm>

namespace {

bool ordersNames(const QList<OrderColumn> &order)
{
    return std::any_of(order.begin(), order.end(), [](const OrderColumn &c) { return c.isName; });
}

// Whether row `a` comes before row `b` in `order`.
bool rowBefore(const QVariantMap &a, const QVariantMap &b, const QList<OrderColumn> &order)
{
    for (const OrderColumn &c : order) {
        const QVariant x = a.value(c.column), y = b.value(c.column);
        const int compared = c.isName ? CompareNames(x.toString(), y.toString())
                                      : QVariant::compare(x, y) == QPartialOrdering::Less      ? -1
                                      : QVariant::compare(x, y) == QPartialOrdering::Greater ? 1
                                                                                             : 0;
        if (compared != 0)
            return compared < 0;
    }
    return false;
}

} // namespace

TableObject::TableObject(QString name, QString table, QList<OrderColumn> order, QList<LookupField> lookups,
                         bool hasFullName)
    : name_(std::move(name)), table_(std::move(table)), order_(std::move(order)),
      lookups_(std::move(lookups)), hasFullName_(hasFullName)
{
}

TableObject::~TableObject() = default;
TableObject::TableObject(TableObject &&) noexcept = default;

QString TableObject::selectSql(const QString &where) const
{
    QString columns = QStringLiteral("T.*");
    QString joins;
    for (int i = 0; i < lookups_.size(); ++i) {
        const LookupField &l = lookups_[i];
        const QString alias = QStringLiteral("L%1").arg(i);
        columns += QStringLiteral(", %1.%2 as %3").arg(alias, l.resultColumn, l.name);
        joins += QStringLiteral(" left join %1 %2 on %2.%3 = T.%4").arg(l.table, alias, l.tableKey, l.keyColumn);
    }
    QString sql = QStringLiteral("select %1 from %2 T%3").arg(columns, table_, joins);
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    // An order with names is made once the rows are read.
    if (!order_.isEmpty() && !ordersNames(order_)) {
        QStringList columns;
        for (const OrderColumn &c : order_)
            columns << QStringLiteral("T.") + c.column;
        sql += QStringLiteral(" order by ") + columns.join(QStringLiteral(", "));
    }
    return sql;
}

void TableObject::open(fb::Connection &connection)
{
    prepared_ = std::make_unique<fb::Query>(connection, selectSql());
}

void TableObject::close() { prepared_.reset(); }

QList<QVariantMap> TableObject::rows(fb::Connection &connection, const QString &where,
                                     const QVariantList &params) const
{
    fb::Query query(connection, selectSql(where));
    query.exec(params);
    QList<QVariantMap> result;
    while (query.next()) {
        QVariantMap row;
        for (int c = 0; c < query.columnCount(); ++c)
            row.insert(query.columnName(c), query.value(c));
        if (hasFullName_)
            row.insert(QStringLiteral("FullName"), FullName(row.value("IME"), row.value("PREZIME")));
        result << row;
    }
    if (ordersNames(order_))
        std::stable_sort(result.begin(), result.end(),
                         [this](const QVariantMap &a, const QVariantMap &b) { return rowBefore(a, b, order_); });
    return result;
}

QString FullName(const QVariant &firstName, const QVariant &surname)
{
    const QString first = firstName.toString();
    const QString last = surname.toString();
    if (!firstName.isNull() && !surname.isNull())
        return first + QLatin1Char(' ') + last;
    return firstName.isNull() ? last : first;
}
