#pragma once
// The rows of one reference table as a browser edits them: read through the
// data module's table object (with its looked-up and calculated fields), one
// current row, and the browse / edit / insert states of a data-aware list.
// Edits go straight to the table inside the data module's transaction; the
// caller's save step commits them. Typed values are always bound as
// parameters.

#include "data/RecordSearch.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <optional>
#include <stdexcept>

class Tdm;
class TableObject;

// Names a table keeps unique, compared without regard to letter case or
// outer spaces; within one scope (a club's players) when a scope column is
// given, and then a row without a scope is not checked. A unique index over
// the same expression (db/006) settles two desks posting at the same moment.
struct UniqueName
{
    QStringList columns;   // e.g. PREZIME, IME
    QString scopeColumn;   // e.g. ID_KLUB; empty for the whole table
    QString scopeWords;    // how a refusal names the scope, e.g. " in this team"
    QString scopeTable;    // the table the scope column keys, e.g. KLUB
};

class RefTable final : public QObject, public RecordList
{
    Q_OBJECT

public:
    // `writable` are the columns an edit writes; the key column is left to
    // the database on insert.
    RefTable(Tdm &module, QString tableObject, QString keyColumn, QStringList writable, QObject *parent = nullptr);

    void setUniqueName(std::optional<UniqueName> rule) { uniqueName_ = std::move(rule); }

    const QString &keyColumn() const { return keyColumn_; }
    // The database table behind the table object ("SUDIJA").
    QString tableName() const;

    // Opens the data module's table object when needed and reads the rows;
    // answers false (the list stays inactive) when that fails.
    bool open();
    bool isOpen() const { return open_; }
    DataSetState state() const;

    // RecordList. Fields are the table's columns, then its looked-up and
    // calculated fields; the count leaves out a row being added.
    int fieldCount() const override { return int(fields_.size()); }
    int recordCount() const override;
    int currentRecord() const override { return current_; }
    QVariant fieldValue(int record, int field) const override;
    // Refused while a row is being edited or added: post or cancel first.
    bool moveTo(int record) override;

    int fieldIndex(const QString &name) const { return int(fields_.indexOf(name)); }
    // The row whose key is `key`, -1 when there is none.
    int rowOf(const QVariant &key) const;
    // Rows as shown, a row being added included.
    int rowCount() const { return int(rows_.size()); }
    QVariant value(int row, const QString &field) const;
    QVariant currentValue(const QString &field) const { return value(current_, field); }

    // Column facts from the database catalogue.
    bool isRequired(const QString &column) const { return required_.contains(column); }
    // Characters a text column holds, 0 for other columns.
    int maxLength(const QString &column) const { return maxLength_.value(column, 0); }
    bool isSmallInt(const QString &column) const { return smallInts_.contains(column); }

    // A post refused before it reaches the database: a required column is empty.
    struct MissingValue : std::runtime_error
    {
        explicit MissingValue(const QString &column);
        QString column;
    };
    // A post refused because another row already has the name.
    struct DuplicateName : std::runtime_error
    {
        explicit DuplicateName(const QString &name);
        QString name; // the names typed, separated by a space
    };

    // Editing. insert adds an empty row before the current one; edit on an
    // empty list adds one too. setValue starts an edit of the current row
    // when the list is browsing (an empty text is stored as no value).
    // post throws MissingValue, DuplicateName or fb::Error, remove throws
    // fb::Error; after a failure the row stays as it was, still being edited.
    // Both commit at once, so other desks see the change and are not held
    // up by it, and both retry work that lost a conflict with another desk.
    void insert();
    void edit();
    void setValue(const QString &field, const QVariant &value);
    void post();
    void cancel();
    void remove();
    // Reads the rows again and stays on the same row (a browsing list only).
    void refresh();

signals:
    // The rows were read again (or a row came or went).
    void rowsReset();
    void currentChanged(int row);
    void stateChanged();
    void valueChanged(int row, const QString &field);

private:
    TableObject &tableObject() const;
    void load(const QVariant &keepKey, int fallbackRow);
    void readCatalogue();
    // Throws DuplicateName when another row has the names of `row`.
    void holdNameScope(const QVariantMap &row) const;
    void refuseDuplicateName(const QVariantMap &row) const;
    QVariant write(const QVariantMap &row);
    void setState(DataSetState state);

    Tdm &module_;
    QString tableObject_;
    QString keyColumn_;
    QStringList writable_;
    QStringList fields_;
    QList<QVariantMap> rows_;
    QVariantMap original_; // the row as it was before the edit began
    int current_ = -1;
    bool open_ = false;
    DataSetState state_ = DataSetState::Inactive;
    QStringList required_;
    QStringList smallInts_;
    QHash<QString, int> maxLength_;
    std::optional<UniqueName> uniqueName_;
};

// A column of a grid: its title and the field it shows.
struct GridColumn
{
    QString title;
    QString field;
};

// The rows of a RefTable as a read-only grid.
class RefTableModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The stored value of a cell, which a grid sorts by.
    static constexpr int SortRole = Qt::UserRole;

    RefTableModel(RefTable &table, QList<GridColumn> columns, QObject *parent = nullptr);

    // A column of names or places: the one a grid gives its spare width.
    bool isNameColumn(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // How a value is written in a grid cell (dates as dd.MM.yyyy.).
    static QString displayText(const QVariant &value);

private:
    RefTable &table_;
    QList<GridColumn> columns_;
};

// A grid's rows in the order of a column chosen by its header: names as the
// people who use them order them, dates and numbers by value.
class RefSortModel final : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RefSortModel(RefTableModel &source, QObject *parent = nullptr);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};
