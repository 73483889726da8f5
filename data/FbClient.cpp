#include "data/FbClient.h"

#include <firebird/Interface.h>

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

using namespace Firebird;

namespace fb {

namespace {

constexpr unsigned Dialect = 1;

IMaster *master() { return fb_get_master_interface(); }
IUtil *util() { return master()->getUtilInterface(); }

// A status wrapper that throws and frees its status object when done.
struct Status : ThrowStatusWrapper
{
    Status() : ThrowStatusWrapper(master()->getStatus()) {}
    ~Status() { dispose(); }
};

Error toError(IStatus *status)
{
    char text[2048];
    util()->formatStatus(text, sizeof text, status);
    const intptr_t *errors = status->getErrors();
    const int code = errors && errors[0] == isc_arg_gds ? int(errors[1]) : 0;
    // Walk the whole vector: the code that names a conflict is often not the first.
    QList<int> codes;
    for (const intptr_t *arg = errors; arg && *arg != isc_arg_end;) {
        const intptr_t kind = *arg++;
        if (kind == isc_arg_gds)
            codes << int(*arg);
        arg += kind == isc_arg_cstring ? 2 : 1;
    }
    return Error(QString::fromUtf8(text).trimmed(), code, codes);
}

// Runs a piece of client-API work, turning the engine's exceptions into fb::Error.
template <class Work>
auto guarded(Work &&work) -> decltype(work(std::declval<Status &>()))
{
    Status status;
    try {
        return work(status);
    } catch (const FbException &e) {
        throw toError(e.getStatus());
    }
}

// Frees an interface without letting a failure escape (used on cleanup paths).
template <class Interface>
void quietlyRelease(Interface *&object)
{
    if (object) {
        object->release();
        object = nullptr;
    }
}

QByteArray buildParameterBlock(unsigned kind, const std::function<void(IXpbBuilder *, Status &)> &fill)
{
    return guarded([&](Status &st) {
        IXpbBuilder *builder = util()->getXpbBuilder(&st, kind, nullptr, 0);
        try {
            fill(builder, st);
            QByteArray block(reinterpret_cast<const char *>(builder->getBuffer(&st)),
                             int(builder->getBufferLength(&st)));
            builder->dispose();
            return block;
        } catch (...) {
            builder->dispose();
            throw;
        }
    });
}

QByteArray databaseParameters(const Credentials &credentials, bool creating)
{
    return buildParameterBlock(IXpbBuilder::DPB, [&](IXpbBuilder *dpb, Status &st) {
        dpb->insertString(&st, isc_dpb_user_name, credentials.user.toUtf8().constData());
        dpb->insertString(&st, isc_dpb_password, credentials.password.toUtf8().constData());
        dpb->insertString(&st, isc_dpb_lc_ctype, "UTF8");
        if (creating) {
            dpb->insertInt(&st, isc_dpb_sql_dialect, int(Dialect));
            dpb->insertString(&st, isc_dpb_set_db_charset, "WIN1250");
            dpb->insertInt(&st, isc_dpb_force_write, 1);
            dpb->insertInt(&st, isc_dpb_page_size, 8192);
        }
    });
}

QByteArray transactionParameters()
{
    return buildParameterBlock(IXpbBuilder::TPB, [](IXpbBuilder *tpb, Status &st) {
        tpb->insertTag(&st, isc_tpb_read_committed);
        tpb->insertTag(&st, isc_tpb_rec_version);
        tpb->insertTag(&st, isc_tpb_nowait);
        tpb->insertTag(&st, isc_tpb_write);
    });
}

ITransaction *startTransaction(IAttachment *attachment)
{
    static const QByteArray tpb = transactionParameters();
    return guarded([&](Status &st) {
        return attachment->startTransaction(&st, unsigned(tpb.size()),
                                            reinterpret_cast<const unsigned char *>(tpb.constData()));
    });
}

} // namespace

Error::Error(const QString &text, int gdsCode, QList<int> codes)
    : std::runtime_error(text.toStdString()), gdsCode_(gdsCode), codes_(std::move(codes))
{
}

bool Error::isConflict() const
{
    return has(isc_update_conflict) || has(isc_deadlock) || has(isc_lock_conflict);
}

Error Error::asConflict() const
{
    QList<int> codes = codes_;
    codes << isc_lock_conflict;
    return Error(text(), gdsCode_, codes);
}

bool Error::isPageLockOrder() const
{
    // The engine names it only in its text ("page 310, page type 7 lock conversion denied").
    return text().contains(QLatin1String("lock conversion denied"));
}

bool Error::isDuplicateKey() const { return has(isc_unique_key_violation) || has(isc_no_dup); }

// ---------------------------------------------------------------- Connection

Connection::Connection(QString location, Credentials credentials, IAttachment *attachment)
    : location_(std::move(location)), credentials_(std::move(credentials)), attachment_(attachment)
{
}

std::unique_ptr<Connection> Connection::attach(const QString &location, const Credentials &credentials)
{
    const QByteArray dpb = databaseParameters(credentials, false);
    IAttachment *attachment = guarded([&](Status &st) {
        IProvider *provider = master()->getDispatcher();
        try {
            IAttachment *a = provider->attachDatabase(&st, QFile::encodeName(location).constData(),
                                                      unsigned(dpb.size()),
                                                      reinterpret_cast<const unsigned char *>(dpb.constData()));
            provider->release();
            return a;
        } catch (...) {
            provider->release();
            throw;
        }
    });
    return std::unique_ptr<Connection>(new Connection(location, credentials, attachment));
}

std::unique_ptr<Connection> Connection::create(const QString &location, const Credentials &credentials)
{
    const QByteArray dpb = databaseParameters(credentials, true);
    IAttachment *attachment = guarded([&](Status &st) {
        IProvider *provider = master()->getDispatcher();
        try {
            IAttachment *a = provider->createDatabase(&st, QFile::encodeName(location).constData(),
                                                      unsigned(dpb.size()),
                                                      reinterpret_cast<const unsigned char *>(dpb.constData()));
            provider->release();
            return a;
        } catch (...) {
            provider->release();
            throw;
        }
    });
    return std::unique_ptr<Connection>(new Connection(location, credentials, attachment));
}

Connection::~Connection()
{
    forgetPrepared();
    try {
        rollback();
    } catch (const Error &) {
    }
    if (attachment_) {
        try {
            guarded([&](Status &st) { attachment_->detach(&st); });
            attachment_ = nullptr;
        } catch (const Error &) {
            quietlyRelease(attachment_);
        }
    }
}

ITransaction *Connection::transaction()
{
    if (!transaction_)
        transaction_ = startTransaction(attachment_);
    return transaction_;
}

void Connection::commitRetaining()
{
    if (transaction_)
        guarded([&](Status &st) { transaction_->commitRetaining(&st); });
}

void Connection::rollbackRetaining()
{
    if (transaction_)
        guarded([&](Status &st) { transaction_->rollbackRetaining(&st); });
}

void Connection::commit()
{
    if (!transaction_)
        return;
    guarded([&](Status &st) { transaction_->commit(&st); });
    transaction_ = nullptr; // a successful commit frees the interface
}

void Connection::rollback()
{
    if (!transaction_)
        return;
    try {
        guarded([&](Status &st) { transaction_->rollback(&st); });
        transaction_ = nullptr;
    } catch (const Error &) {
        quietlyRelease(transaction_);
        throw;
    }
}

int Connection::execute(const QString &sql, const QVariantList &params)
{
    Query query(*this, sql);
    query.exec(params);
    return query.rowsAffected();
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    Query query(*this, sql);
    query.exec(params);
    return query.next() ? query.value(0) : QVariant();
}

void Connection::runRetryingConflicts(const std::function<void()> &work)
{
    // The transaction waits for no lock, so a conflict means another desk is
    // in the middle of a change it commits within moments.
    constexpr int Attempts = 6;
    constexpr int PauseMs = 40;
    // Retried work may itself retry a part of it: each level has its own savepoint.
    const QString savepoint = QStringLiteral("RETRIED_WORK_%1").arg(retryDepth_);
    ++retryDepth_;
    const auto leave = qScopeGuard([&] { --retryDepth_; });
    auto undo = [&] {
        execute(QStringLiteral("rollback to savepoint ") + savepoint);
        execute(QStringLiteral("release savepoint %1 only").arg(savepoint));
    };
    for (int attempt = 1;; ++attempt) {
        execute(QStringLiteral("savepoint ") + savepoint);
        try {
            work();
            execute(QStringLiteral("release savepoint %1 only").arg(savepoint));
            return;
        } catch (const Error &e) {
            undo();
            if (!e.isConflict() || attempt == Attempts)
                throw;
        } catch (...) {
            undo();
            throw;
        }
        QThread::msleep(PauseMs * attempt);
    }
}

void Connection::executeDefinition(const QString &sql)
{
    // The database's own settings (its backup state, switched around every
    // safety copy) change no table or procedure a kept statement uses;
    // preparing them all again would cost the next entry several ms.
    if (!sql.trimmed().startsWith(QLatin1String("alter database"), Qt::CaseInsensitive))
        forgetPrepared();
    ITransaction *own = startTransaction(attachment_);
    try {
        guarded([&](Status &st) {
            attachment_->execute(&st, own, 0, sql.toUtf8().constData(), Dialect, nullptr, nullptr, nullptr,
                                 nullptr);
            own->commit(&st);
        });
    } catch (const Error &) {
        try {
            guarded([&](Status &st) { own->rollback(&st); });
        } catch (const Error &) {
            own->release();
        }
        throw;
    }
}

// --------------------------------------------------------------------- Query

struct Query::Layout
{
    struct Field
    {
        QString name;
        unsigned type = 0;
        unsigned subType = 0;
        int scale = 0;
        unsigned length = 0;
        unsigned offset = 0;
        unsigned nullOffset = 0;
    };

    explicit Layout(IMessageMetadata *metadata) : meta(metadata)
    {
        guarded([&](Status &st) {
            const unsigned count = meta->getCount(&st);
            fields.resize(count);
            for (unsigned i = 0; i < count; ++i) {
                Field &f = fields[i];
                const char *alias = meta->getAlias(&st, i);
                f.name = QString::fromUtf8(alias && *alias ? alias : meta->getField(&st, i));
                f.type = meta->getType(&st, i) & ~1u;
                f.subType = unsigned(meta->getSubType(&st, i));
                f.scale = meta->getScale(&st, i);
                f.length = meta->getLength(&st, i);
                f.offset = meta->getOffset(&st, i);
                f.nullOffset = meta->getNullOffset(&st, i);
            }
            buffer.assign(meta->getMessageLength(&st), 0);
        });
    }
    ~Layout() { meta->release(); }

    unsigned char *at(const Field &f) { return buffer.data() + f.offset; }
    const unsigned char *at(const Field &f) const { return buffer.data() + f.offset; }
    short &nullFlag(const Field &f) { return *reinterpret_cast<short *>(buffer.data() + f.nullOffset); }
    bool isNull(const Field &f) const { return *reinterpret_cast<const short *>(buffer.data() + f.nullOffset); }

    IMessageMetadata *meta;
    std::vector<Field> fields;
    std::vector<unsigned char> buffer;
};

namespace {

template <class T>
void store(unsigned char *at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

template <class T>
T load(const unsigned char *at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

qint64 toScaledInteger(const QVariant &value, int scale, const QString &what)
{
    bool ok = false;
    if (scale == 0 && value.typeId() != QMetaType::Double) {
        const qint64 n = value.toLongLong(&ok);
        if (ok)
            return n;
    }
    const double d = value.toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("%1: \"%2\" is not a number").arg(what, value.toString()));
    return std::llround(d * std::pow(10.0, -scale));
}

QVariant fromScaledInteger(qint64 n, int scale)
{
    if (scale == 0)
        return n >= INT_MIN && n <= INT_MAX ? QVariant(int(n)) : QVariant(qlonglong(n));
    return QVariant(double(n) / std::pow(10.0, -scale));
}

ISC_TIMESTAMP encodeTimestamp(const QDateTime &dt)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    ISC_TIMESTAMP ts;
    ts.timestamp_date = util()->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day()));
    ts.timestamp_time = util()->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()),
                                           unsigned(t.msec()) * 10);
    return ts;
}

QDate decodeDate(ISC_DATE date)
{
    unsigned y, m, d;
    util()->decodeDate(date, &y, &m, &d);
    return QDate(int(y), int(m), int(d));
}

QTime decodeTime(ISC_TIME time)
{
    unsigned h, m, s, fractions;
    util()->decodeTime(time, &h, &m, &s, &fractions);
    return QTime(int(h), int(m), int(s), int(fractions / 10));
}

} // namespace

struct Connection::Prepared
{
    IStatement *statement = nullptr;
    std::unique_ptr<Query::Layout> in, out;
    unsigned type = 0;

    ~Prepared()
    {
        if (!statement)
            return;
        try {
            guarded([&](Status &st) { statement->free(&st); });
        } catch (const Error &) {
            quietlyRelease(statement);
        }
    }
};

std::unique_ptr<Connection::Prepared> Connection::borrowPrepared(const QString &sql)
{
    if (const auto kept = prepared_.find(sql); kept != prepared_.end()) {
        std::unique_ptr<Prepared> found = std::move(kept->second);
        prepared_.erase(kept);
        return found;
    }
    auto fresh = std::make_unique<Prepared>();
    guarded([&](Status &st) {
        fresh->statement = attachment_->prepare(&st, transaction(), 0, sql.toUtf8().constData(), Dialect,
                                                IStatement::PREPARE_PREFETCH_METADATA);
        fresh->type = fresh->statement->getType(&st);
        fresh->in = std::make_unique<Query::Layout>(fresh->statement->getInputMetadata(&st));
        fresh->out = std::make_unique<Query::Layout>(fresh->statement->getOutputMetadata(&st));
    });
    return fresh;
}

void Connection::prepare(const QString &sql) { returnPrepared(sql, borrowPrepared(sql)); }

void Connection::returnPrepared(const QString &sql, std::unique_ptr<Prepared> prepared)
{
    // Statements the program builds with numbers written in would fill the
    // store without end; it keeps the first few hundred texts.
    constexpr size_t Kept = 300;
    const bool data = prepared->type == isc_info_sql_stmt_select || prepared->type == isc_info_sql_stmt_insert ||
                      prepared->type == isc_info_sql_stmt_update || prepared->type == isc_info_sql_stmt_delete ||
                      prepared->type == isc_info_sql_stmt_exec_procedure ||
                      prepared->type == isc_info_sql_stmt_select_for_upd;
    if (data && prepared_.size() < Kept)
        prepared_.try_emplace(sql, std::move(prepared)); // a text already kept frees this one
}

void Connection::forgetPrepared() { prepared_.clear(); }

Query::Layout &Query::in() const { return *prepared_->in; }
Query::Layout &Query::out() const { return *prepared_->out; }
IStatement *Query::statement() const { return prepared_->statement; }

Query::Query(Connection &connection, const QString &sql)
    : connection_(connection), sql_(sql), prepared_(connection.borrowPrepared(sql))
{
    for (const auto &f : in().fields)
        in().nullFlag(f) = -1;
}

Query::~Query()
{
    close();
    if (!failed_)
        connection_.returnPrepared(sql_, std::move(prepared_));
}

Query &Query::bind(int index, const QVariant &value)
{
    if (index < 0 || size_t(index) >= in().fields.size())
        throw Error(QStringLiteral("Parameter %1 out of range in: %2").arg(index).arg(sql_));
    write(index, value);
    return *this;
}

Query &Query::bindAll(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i, values[i]);
    return *this;
}

void Query::write(int index, const QVariant &value)
{
    const Layout::Field &f = in().fields[size_t(index)];
    if (!value.isValid() || value.isNull()) {
        in().nullFlag(f) = -1;
        return;
    }
    const QString what = QStringLiteral("Parameter %1").arg(index + 1);
    unsigned char *at = in().at(f);
    switch (f.type) {
    case SQL_SHORT:
        store<int16_t>(at, int16_t(toScaledInteger(value, f.scale, what)));
        break;
    case SQL_LONG:
        store<int32_t>(at, int32_t(toScaledInteger(value, f.scale, what)));
        break;
    case SQL_INT64:
        store<int64_t>(at, toScaledInteger(value, f.scale, what));
        break;
    case SQL_FLOAT:
        store<float>(at, float(value.toDouble()));
        break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        store<double>(at, value.toDouble());
        break;
    case SQL_BOOLEAN:
        store<FB_BOOLEAN>(at, value.toBool() ? FB_TRUE : FB_FALSE);
        break;
    case SQL_TEXT:
    case SQL_VARYING: {
        const QByteArray text = value.typeId() == QMetaType::QDateTime
                                    ? value.toDateTime().toString(Qt::ISODate).toUtf8()
                                    : value.toString().toUtf8();
        if (unsigned(text.size()) > f.length)
            throw Error(QStringLiteral("%1: the text \"%2\" is too long").arg(what, value.toString()));
        if (f.type == SQL_VARYING) {
            store<uint16_t>(at, uint16_t(text.size()));
            std::memcpy(at + 2, text.constData(), size_t(text.size()));
        } else {
            std::memset(at, ' ', f.length);
            std::memcpy(at, text.constData(), size_t(text.size()));
        }
        break;
    }
    case SQL_TIMESTAMP:
        store<ISC_TIMESTAMP>(at, encodeTimestamp(value.toDateTime()));
        break;
    case SQL_TYPE_DATE:
        store<ISC_DATE>(at, encodeTimestamp(value.toDate().startOfDay()).timestamp_date);
        break;
    case SQL_TYPE_TIME:
        store<ISC_TIME>(at, encodeTimestamp(QDateTime(QDate(2000, 1, 1), value.toTime())).timestamp_time);
        break;
    case SQL_BLOB: {
        const QByteArray bytes = value.typeId() == QMetaType::QString ? value.toString().toUtf8() : value.toByteArray();
        ISC_QUAD id;
        guarded([&](Status &st) {
            IBlob *blob = connection_.attachment()->createBlob(&st, connection_.transaction(), &id, 0, nullptr);
            constexpr int Segment = 32768;
            for (int pos = 0; pos < bytes.size(); pos += Segment)
                blob->putSegment(&st, unsigned(std::min<int>(Segment, int(bytes.size()) - pos)),
                                 bytes.constData() + pos);
            blob->close(&st);
        });
        store<ISC_QUAD>(at, id);
        break;
    }
    case SQL_NULL:
        break;
    default:
        throw Error(QStringLiteral("%1: unsupported parameter type %2").arg(what).arg(f.type));
    }
    in().nullFlag(f) = 0;
}

void Query::exec()
{
    close();
    rowsAffected_ = 0;
    const unsigned type = prepared_->type;
    if (type == isc_info_sql_stmt_ddl)
        connection_.forgetPrepared(); // what the kept statements use may change
    failed_ = true;
    const auto run = [&](Status &st) {
        ITransaction *tra = connection_.transaction();
        if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
            cursor_ = statement()->openCursor(&st, tra, in().meta, in().buffer.data(), out().meta, 0);
        } else if (!out().fields.empty()) {
            statement()->execute(&st, tra, in().meta, in().buffer.data(), out().meta, out().buffer.data());
            singleRowPending_ = true;
        } else {
            statement()->execute(&st, tra, in().meta, in().buffer.data(), nullptr, nullptr);
            rowsAffected_ = int(statement()->getAffectedRecords(&st));
        }
    };
    // A statement refused whole for the order of page locks left nothing
    // behind: it runs again.
    for (int attempt = 1;; ++attempt) {
        try {
            guarded(run);
            break;
        } catch (const Error &e) {
            if (!e.isPageLockOrder() || attempt == 3)
                throw;
        }
    }
    failed_ = false;
}

bool Query::next()
{
    if (cursor_) {
        hasRow_ = guarded([&](Status &st) {
                      return cursor_->fetchNext(&st, out().buffer.data());
                  }) == IStatus::RESULT_OK;
        if (!hasRow_)
            close();
        return hasRow_;
    }
    hasRow_ = singleRowPending_;
    singleRowPending_ = false;
    return hasRow_;
}

void Query::close()
{
    singleRowPending_ = false;
    hasRow_ = false;
    if (!cursor_)
        return;
    try {
        guarded([&](Status &st) { cursor_->close(&st); });
        cursor_ = nullptr;
    } catch (const Error &) {
        quietlyRelease(cursor_); // the transaction ended under the cursor
    }
}

int Query::columnCount() const { return int(out().fields.size()); }

QString Query::columnName(int column) const { return out().fields.at(size_t(column)).name; }

int Query::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < out().fields.size(); ++i)
        if (out().fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QVariant Query::value(int column) const
{
    if (!hasRow_ || column < 0 || size_t(column) >= out().fields.size())
        throw Error(QStringLiteral("No value %1 in the current row of: %2").arg(column).arg(sql_));
    return read(column);
}

QVariant Query::value(const QString &name) const
{
    const int column = columnIndex(name);
    if (column < 0)
        throw Error(QStringLiteral("No column %1 in: %2").arg(name, sql_));
    return value(column);
}

QVariant Query::read(int column) const
{
    const Layout::Field &f = out().fields[size_t(column)];
    if (out().isNull(f))
        return QVariant();
    const unsigned char *at = out().at(f);
    switch (f.type) {
    case SQL_SHORT:
        return fromScaledInteger(load<int16_t>(at), f.scale);
    case SQL_LONG:
        return fromScaledInteger(load<int32_t>(at), f.scale);
    case SQL_INT64:
        return fromScaledInteger(load<int64_t>(at), f.scale);
    case SQL_FLOAT:
        return double(load<float>(at));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(at);
    case SQL_BOOLEAN:
        return load<FB_BOOLEAN>(at) != FB_FALSE;
    case SQL_TEXT: {
        int n = int(f.length);
        while (n > 0 && at[n - 1] == ' ')
            --n;
        return QString::fromUtf8(reinterpret_cast<const char *>(at), n);
    }
    case SQL_VARYING:
        return QString::fromUtf8(reinterpret_cast<const char *>(at + 2), load<uint16_t>(at));
    case SQL_TIMESTAMP: {
        const auto ts = load<ISC_TIMESTAMP>(at);
        return QDateTime(decodeDate(ts.timestamp_date), decodeTime(ts.timestamp_time));
    }
    case SQL_TYPE_DATE:
        return decodeDate(load<ISC_DATE>(at));
    case SQL_TYPE_TIME:
        return decodeTime(load<ISC_TIME>(at));
    case SQL_BLOB: {
        ISC_QUAD id = load<ISC_QUAD>(at);
        QByteArray bytes;
        guarded([&](Status &st) {
            IBlob *blob = connection_.attachment()->openBlob(&st, connection_.transaction(), &id, 0, nullptr);
            char chunk[32768];
            for (;;) {
                unsigned got = 0;
                const int result = blob->getSegment(&st, sizeof chunk, chunk, &got);
                if (result != IStatus::RESULT_OK && result != IStatus::RESULT_SEGMENT)
                    break;
                bytes.append(chunk, int(got));
            }
            blob->close(&st);
        });
        return f.subType == 1 ? QVariant(QString::fromUtf8(bytes)) : QVariant(bytes);
    }
    default:
        throw Error(QStringLiteral("Column %1: unsupported type %2").arg(f.name).arg(f.type));
    }
}

// ------------------------------------------------------------------- Scripts

QStringList SplitScript(const QString &script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const int n = int(script.size());
    int i = 0;

    auto finishStatement = [&] {
        const QString text = current.trimmed();
        current.clear();
        if (text.isEmpty())
            return;
        static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const auto match = setTerm.match(text);
        if (match.hasMatch())
            terminator = match.captured(1);
        else
            statements << text;
    };

    while (i < n) {
        const QChar c = script[i];
        if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            while (i < n && script[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            const int end = script.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? n : end + 2;
        } else if (c == '\'' || c == '"') {
            // Quoted text runs to the matching quote; a doubled quote stays inside.
            int j = i + 1;
            while (j < n && !(script[j] == c && (j + 1 >= n || script[j + 1] != c)))
                j += script[j] == c ? 2 : 1;
            current += script.mid(i, j + 1 - i);
            i = j + 1;
        } else if (script.mid(i, terminator.size()) == terminator) {
            finishStatement();
            i += int(terminator.size());
        } else {
            current += c;
            ++i;
        }
    }
    finishStatement();
    return statements;
}

} // namespace fb
