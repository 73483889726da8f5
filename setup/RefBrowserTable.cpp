#include "setup/RefBrowserTable.h"

#include "data/FbClient.h"
#include "data/TableObject.h"
#include "data/DataModule.h"

#include "common/NameOrder.h"

#include <QDateTime>

#include <algorithm>

namespace {

// Field types of the catalogue (RDB$FIELDS.RDB$FIELD_TYPE).
constexpr int CatalogueSmallInt = 7;

bool isEmptyValue(const QVariant &value)
{
    return value.isNull() || !value.isValid() ||
           (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty());
}

QString typedName(const QVariantMap &row, const UniqueName &rule)
{
    QStringList names;
    for (const QString &column : rule.columns)
        names << row.value(column).toString().trimmed();
    return names.join(QLatin1Char(' '));
}

} // namespace

RefTable::MissingValue::MissingValue(const QString &column)
    : std::runtime_error(column.toStdString()), column(column)
{
}

RefTable::DuplicateName::DuplicateName(const QString &name) : std::runtime_error(name.toStdString()), name(name) {}

RefTable::RefTable(Tdm &module, QString tableObject, QString keyColumn, QStringList writable, QObject *parent)
    : QObject(parent), module_(module), tableObject_(std::move(tableObject)), keyColumn_(std::move(keyColumn)),
      writable_(std::move(writable))
{
}

TableObject &RefTable::tableObject() const { return module_.table(tableObject_); }

QString RefTable::tableName() const { return tableObject().table(); }

DataSetState RefTable::state() const { return open_ ? state_ : DataSetState::Inactive; }

bool RefTable::open()
{
    try {
        TableObject &table = tableObject();
        if (!table.isOpen())
            table.open(module_.db());
        readCatalogue();
        open_ = true;
        state_ = DataSetState::Browse;
        load(QVariant(), 0);
    } catch (const fb::Error &) {
        open_ = false;
        rows_.clear();
        current_ = -1;
        emit rowsReset();
        emit currentChanged(current_);
    }
    emit stateChanged();
    return open_;
}

void RefTable::readCatalogue()
{
    fb::Query columns(module_.db(),
                      QStringLiteral("select trim(RF.RDB$FIELD_NAME), coalesce(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0), "
                                     "F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_TYPE "
                                     "from RDB$RELATION_FIELDS RF "
                                     "join RDB$FIELDS F on F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                                     "where RF.RDB$RELATION_NAME = ?"));
    columns.exec({tableName()});
    required_.clear();
    smallInts_.clear();
    maxLength_.clear();
    while (columns.next()) {
        const QString name = columns.value(0).toString();
        if (columns.value(1).toInt() != 0 && name != keyColumn_)
            required_ << name;
        if (!columns.value(2).isNull())
            maxLength_.insert(name, columns.value(2).toInt());
        if (columns.value(3).toInt() == CatalogueSmallInt)
            smallInts_ << name;
    }
}

void RefTable::load(const QVariant &keepKey, int fallbackRow)
{
    fb::Connection &db = module_.db();
    TableObject &table = tableObject();
    rows_ = table.rows(db);
    fields_.clear();
    fb::Query shape(db, table.selectSql());
    for (int c = 0; c < shape.columnCount(); ++c)
        fields_ << shape.columnName(c);
    if (!rows_.isEmpty())
        for (auto it = rows_.first().cbegin(); it != rows_.first().cend(); ++it)
            if (!fields_.contains(it.key()))
                fields_ << it.key(); // calculated fields such as FullName

    const int found = rowOf(keepKey);
    current_ = found >= 0 ? found : std::min(std::max(fallbackRow, 0), int(rows_.size()) - 1);
    emit rowsReset();
    emit currentChanged(current_);
}

int RefTable::rowOf(const QVariant &key) const
{
    if (key.isNull() || !key.isValid())
        return -1;
    for (int r = 0; r < rows_.size(); ++r)
        if (rows_[r].value(keyColumn_) == key)
            return r;
    return -1;
}

int RefTable::recordCount() const
{
    return int(rows_.size()) - (state() == DataSetState::Insert ? 1 : 0);
}

QVariant RefTable::fieldValue(int record, int field) const
{
    if (field < 0 || field >= fields_.size())
        return QVariant();
    return value(record, fields_[field]);
}

QVariant RefTable::value(int row, const QString &field) const
{
    if (row < 0 || row >= rows_.size())
        return QVariant();
    return rows_[row].value(field);
}

bool RefTable::moveTo(int record)
{
    if (record < 0 || record >= rows_.size() || state() != DataSetState::Browse)
        return record == current_;
    if (record != current_) {
        current_ = record;
        emit currentChanged(current_);
    }
    return true;
}

void RefTable::setState(DataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void RefTable::insert()
{
    if (!open_)
        return;
    if (state_ != DataSetState::Browse)
        post();
    const int at = std::max(current_, 0);
    rows_.insert(at, QVariantMap());
    original_.clear();
    current_ = at;
    state_ = DataSetState::Insert;
    emit rowsReset();
    emit currentChanged(current_);
    emit stateChanged();
}

void RefTable::edit()
{
    if (!open_ || state_ != DataSetState::Browse)
        return;
    if (rows_.isEmpty()) {
        insert();
        return;
    }
    original_ = rows_[current_];
    setState(DataSetState::Edit);
}

void RefTable::setValue(const QString &field, const QVariant &value)
{
    if (!open_)
        return;
    if (state_ == DataSetState::Browse)
        edit();
    QVariant stored = value;
    if (stored.typeId() == QMetaType::QString && stored.toString().isEmpty())
        stored = QVariant();
    rows_[current_].insert(field, stored);
    emit valueChanged(current_, field);
}

void RefTable::post()
{
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    const QVariantMap &row = rows_[current_];
    for (const QString &column : writable_)
        if (required_.contains(column) && isEmptyValue(row.value(column)))
            throw MissingValue(column);

    fb::Connection &db = module_.db();
    QVariant key;
    db.runRetryingConflicts([&] {
        holdNameScope(row);
        refuseDuplicateName(row);
        try {
            key = write(row);
        } catch (const fb::Error &e) {
            if (!uniqueName_ || !e.isDuplicateKey())
                throw;
            // Another desk posted the name since our check: refused when it
            // is committed, waited for while that desk's post is still open.
            refuseDuplicateName(row);
            throw e.asConflict();
        }
    });
    db.commitRetaining();
    original_.clear();
    state_ = DataSetState::Browse;
    load(key, current_);
    emit stateChanged();
}

QVariant RefTable::write(const QVariantMap &row)
{
    QVariantList values;
    for (const QString &column : writable_)
        values << row.value(column);
    fb::Connection &db = module_.db();
    if (state_ == DataSetState::Insert) {
        QStringList marks;
        for (int i = 0; i < writable_.size(); ++i)
            marks << QStringLiteral("?");
        return db.scalar(QStringLiteral("insert into %1 (%2) values (%3) returning %4")
                             .arg(tableName(), writable_.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")),
                                  keyColumn_),
                         values);
    }
    QStringList assignments;
    for (const QString &column : writable_)
        assignments << column + QStringLiteral(" = ?");
    const QVariant key = original_.value(keyColumn_);
    values << key;
    // The edit would vanish without a word on a row another desk has deleted.
    if (db.execute(QStringLiteral("update %1 set %2 where %3 = ?")
                       .arg(tableName(), assignments.join(QStringLiteral(", ")), keyColumn_),
                   values) == 0)
        throw fb::Error(QStringLiteral("It has been deleted at another desk."));
    return key;
}

void RefTable::holdNameScope(const QVariantMap &row) const
{
    // Two desks posting one name in one scope at the same moment take turns:
    // each holds the scope's row (a player's club) until its post commits,
    // so the second one's check sees the first one's row. The names of a
    // scope need no index for that (players' names have none).
    if (!uniqueName_ || uniqueName_->scopeTable.isEmpty() || isEmptyValue(row.value(uniqueName_->scopeColumn)))
        return;
    module_.db().execute(QStringLiteral("update %1 set %2 = %2 where %2 = ?")
                             .arg(uniqueName_->scopeTable, uniqueName_->scopeColumn),
                         {row.value(uniqueName_->scopeColumn)});
}

void RefTable::refuseDuplicateName(const QVariantMap &row) const
{
    if (!uniqueName_)
        return;
    QStringList conditions;
    QVariantList params;
    for (const QString &column : uniqueName_->columns) {
        if (isEmptyValue(row.value(column)))
            return;
        conditions << QStringLiteral("upper(trim(T.%1)) = upper(trim(cast(? as varchar(%2))))")
                          .arg(column)
                          .arg(std::max(maxLength(column), 1));
        params << row.value(column);
    }
    if (!uniqueName_->scopeColumn.isEmpty()) {
        if (isEmptyValue(row.value(uniqueName_->scopeColumn)))
            return;
        conditions << QStringLiteral("T.%1 = ?").arg(uniqueName_->scopeColumn);
        params << row.value(uniqueName_->scopeColumn);
    }
    // The row being edited keeps its own name.
    conditions << QStringLiteral("T.%1 is distinct from ?").arg(keyColumn_);
    params << (state_ == DataSetState::Edit ? original_.value(keyColumn_) : QVariant());
    const QVariant found = module_.db().scalar(
        QStringLiteral("select first 1 1 from %1 T where %2").arg(tableName(), conditions.join(QStringLiteral(" and "))),
        params);
    if (found.isValid())
        throw DuplicateName(typedName(row, *uniqueName_));
}

void RefTable::cancel()
{
    if (state_ == DataSetState::Insert) {
        rows_.removeAt(current_);
        current_ = std::min(current_, int(rows_.size()) - 1);
    } else if (state_ == DataSetState::Edit) {
        rows_[current_] = original_;
    } else {
        return;
    }
    original_.clear();
    state_ = DataSetState::Browse;
    emit rowsReset();
    emit currentChanged(current_);
    emit stateChanged();
}

void RefTable::remove()
{
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    if (state_ != DataSetState::Browse || current_ < 0)
        return;
    fb::Connection &db = module_.db();
    const QVariant key = rows_[current_].value(keyColumn_);
    db.runRetryingConflicts(
        [&] { db.execute(QStringLiteral("delete from %1 where %2 = ?").arg(tableName(), keyColumn_), {key}); });
    db.commitRetaining();
    load(QVariant(), current_);
}

void RefTable::refresh()
{
    if (state() != DataSetState::Browse)
        return;
    load(currentValue(keyColumn_), current_);
}

// ------------------------------------------------------------------ model

RefTableModel::RefTableModel(RefTable &table, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns))
{
    connect(&table_, &RefTable::rowsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&table_, &RefTable::valueChanged, this, [this](int row, const QString &) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

int RefTableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : table_.rowCount(); }

int RefTableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant RefTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole))
        return QVariant();
    const QVariant value = table_.value(index.row(), columns_[index.column()].field);
    return role == SortRole ? value : QVariant(displayText(value));
}

bool RefTableModel::isNameColumn(int column) const
{
    static const QStringList names{QStringLiteral("PREZIME"), QStringLiteral("IME"),      QStringLiteral("NAZIV"),
                                   QStringLiteral("TEAMNAME"), QStringLiteral("LEANAME"), QStringLiteral("GRAD"),
                                   QStringLiteral("POLOZAJ"),  QStringLiteral("POZICIJA")};
    return column >= 0 && column < columns_.size() && names.contains(columns_[column].field);
}

RefSortModel::RefSortModel(RefTableModel &source, QObject *parent) : QSortFilterProxyModel(parent)
{
    setSourceModel(&source);
    setSortRole(RefTableModel::SortRole);
}

bool RefSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(RefTableModel::SortRole), b = right.data(RefTableModel::SortRole);
    // Empty cells after every value, in an ascending order.
    if (a.isNull() || b.isNull())
        return !a.isNull() && b.isNull();
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return NameBefore(a.toString(), b.toString());
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

QVariant RefTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QVariant();
    return columns_[section].title;
}

QString RefTableModel::displayText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date().toString(QStringLiteral("dd.MM.yyyy."));
    if (value.typeId() == QMetaType::QByteArray)
        return QString(); // pictures are shown in the edit panel only
    return value.toString();
}
