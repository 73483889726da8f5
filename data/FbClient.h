#pragma once
// A thin layer over the Firebird client API: one attachment with one
// read-committed transaction committed with retention, prepared statements
// with bound parameters, and values as QVariant. The match database is a
// dialect-1 database, and every statement runs in dialect 1 so that stored
// procedures, ad-hoc statements and scripts agree on its rules.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace Firebird {
class IAttachment;
class IStatement;
class IResultSet;
class ITransaction;
class IMessageMetadata;
} // namespace Firebird

namespace fb {

// A database error with the engine's own text.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &text, int gdsCode = 0, QList<int> codes = {});
    QString text() const { return QString::fromUtf8(what()); }
    // The engine's primary error code (isc_...), 0 for errors of this layer.
    int gdsCode() const { return gdsCode_; }
    // The work lost to another connection's change of the same rows or keys
    // (update conflict, lock conflict, deadlock); worth running again.
    bool isConflict() const;
    // A unique index refused the row. A no-wait transaction is refused alike
    // whether the other row is committed or still in another connection's
    // open work; the caller that can tell them apart calls the latter a
    // conflict with asConflict.
    bool isDuplicateKey() const;
    // Processes that share an embedded file lock its pages as they go; when
    // two meet in opposite order the engine refuses one statement whole
    // ("lock conversion denied"), which may run again at once.
    bool isPageLockOrder() const;
    Error asConflict() const;

private:
    bool has(int code) const { return gdsCode_ == code || codes_.contains(code); }

    int gdsCode_;
    QList<int> codes_; // every engine code of the error, the primary one first
};

struct Credentials
{
    QString user = QStringLiteral("SYSDBA");
    QString password;
};

class Connection
{
public:
    // Attaches to an existing database: a file path (embedded engine) or a
    // server connection string such as "host:/path/QNDB.FDB".
    static std::unique_ptr<Connection> attach(const QString &location, const Credentials &credentials);
    // Creates a new dialect-1 database whose text is stored in WIN1250,
    // with forced writes on, and attaches to it.
    static std::unique_ptr<Connection> create(const QString &location, const Credentials &credentials);

    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString location() const { return location_; }
    const Credentials &credentials() const { return credentials_; }

    // The one transaction: started on demand, kept open by the retaining forms.
    bool inTransaction() const { return transaction_ != nullptr; }
    void commitRetaining();
    void rollbackRetaining();
    // Ends the transaction; the next statement starts a new one.
    void commit();
    void rollback();

    // Runs a statement that returns no rows; answers the number of rows it changed.
    int execute(const QString &sql, const QVariantList &params = {});
    // The first column of the first row, or an invalid QVariant when there is none.
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // Runs `work` under a savepoint. Work that lost a conflict with another
    // connection (see Error::isConflict) is undone and run again after a
    // short pause, a few times; the last conflict is thrown.
    void runRetryingConflicts(const std::function<void()> &work);
    // Runs data-definition text in a transaction of its own and commits it.
    void executeDefinition(const QString &sql);

    Firebird::IAttachment *attachment() const { return attachment_; }
    Firebird::ITransaction *transaction();

    // A statement prepared once and kept for its text (see Query).
    struct Prepared;
    std::unique_ptr<Prepared> borrowPrepared(const QString &sql);
    void returnPrepared(const QString &sql, std::unique_ptr<Prepared> prepared);
    // Prepares a text and keeps it, ahead of its first run.
    void prepare(const QString &sql);
    // Frees the kept statements: data definition may have changed what they use.
    void forgetPrepared();

private:
    Connection(QString location, Credentials credentials, Firebird::IAttachment *attachment);

    QString location_;
    Credentials credentials_;
    Firebird::IAttachment *attachment_ = nullptr;
    Firebird::ITransaction *transaction_ = nullptr;
    std::unordered_map<QString, std::unique_ptr<Prepared>> prepared_;
    int retryDepth_ = 0;
};

// A prepared statement of the connection's transaction. Parameters are the
// question marks of the text, bound by position from 0. Text parameters are
// always bound, never pasted into the statement.
//
// The console runs the same few dozen statements after every entry, and
// preparing one costs about half as much as running it; so a query borrows
// its text's statement from the connection, which prepares each text once
// and keeps it.
class Query
{
public:
    struct Layout;

    Query(Connection &connection, const QString &sql);
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    Query &bind(int index, const QVariant &value);
    Query &bindAll(const QVariantList &values);

    // Runs the statement with the bound parameters. A select opens a cursor
    // read with next(); an EXECUTE PROCEDURE with outputs gives one row.
    void exec();
    void exec(const QVariantList &values) { bindAll(values).exec(); }
    bool next();
    void close();

    int columnCount() const;
    QString columnName(int column) const;
    int columnIndex(const QString &name) const; // -1 when absent
    QVariant value(int column) const;
    QVariant value(const QString &name) const;
    int rowsAffected() const { return rowsAffected_; }

private:
    // The borrowed statement and the layouts of its parameters and results.
    Layout &in() const;
    Layout &out() const;
    Firebird::IStatement *statement() const;
    QVariant read(int column) const;
    void write(int index, const QVariant &value);

    Connection &connection_;
    QString sql_;
    std::unique_ptr<Connection::Prepared> prepared_;
    Firebird::IResultSet *cursor_ = nullptr;
    bool failed_ = false; // a statement that failed is not kept
    bool singleRowPending_ = false;
    bool hasRow_ = false;
    int rowsAffected_ = 0;
};

// Splits a script the way isql does: statements end with the current
// terminator, which "SET TERM x ;" changes; comments are dropped.
QStringList SplitScript(const QString &script);

} // namespace fb
