#include "data/DataModule.h"

#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "data/FbService.h"
#include "data/SchemaInstaller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <optional>

#include <filesystem>

namespace {

Tdm *theModule = nullptr;

const QString ConnectionProblem = QStringLiteral("Problems with connection to database!");

// The database while it is made, before its schema is whole.
QString creatingName(const QString &location) { return location + QStringLiteral(".creating"); }

} // namespace

const QStringList Tdm::PasswordCandidates = {QStringLiteral("tolvaring"), QStringLiteral("ruvo"),
                                             QStringLiteral("pakupa"), QStringLiteral("qimtolvasre")};

Tdm *dm() { return theModule; }

Tdm::Options Tdm::defaultOptions()
{
    return {AppPaths::databaseLocation(), AppPaths::dataDirectory()};
}

Tdm::Tdm(Options options) : options_(std::move(options))
{
    createTables();
    theModule = this;
}

Tdm::~Tdm()
{
    // The end of the program: keep what was done, ignore every error.
    if (connection_) {
        try {
            connection_->commit();
        } catch (const fb::Error &) {
        }
    }
    disconnect();
    if (theModule == this)
        theModule = nullptr;
}

void Tdm::createTables()
{
    const LookupField clubName{QStringLiteral("TEAMNAME"), QStringLiteral("ID_KLUB"), QStringLiteral("KLUB"),
                               QStringLiteral("ID_KLUB"), QStringLiteral("NAZIV")};
    const QList<OrderColumn> byName{{QStringLiteral("PREZIME"), true}, {QStringLiteral("IME"), true}};
    const auto byKey = [](const char *column) { return QList<OrderColumn>{{QString::fromLatin1(column)}}; };
    tables_.emplace_back(QStringLiteral("tRef"), QStringLiteral("SUDIJA"), byName, QList<LookupField>{}, true);
    tables_.emplace_back(QStringLiteral("tTra"), QStringLiteral("TRENER"), byKey("ID_TRENER"),
                         QList<LookupField>{clubName,
                                            {QStringLiteral("POSNAME"), QStringLiteral("ID_POL"),
                                             QStringLiteral("POLOZAJ"), QStringLiteral("ID_POL"),
                                             QStringLiteral("POLOZAJ")}},
                         true);
    tables_.emplace_back(QStringLiteral("tDel"), QStringLiteral("DELEGAT"), byName, QList<LookupField>{}, true);
    tables_.emplace_back(QStringLiteral("tTea"), QStringLiteral("KLUB"),
                         QList<OrderColumn>{{QStringLiteral("ID_LIGA")}, {QStringLiteral("NAZIV"), true}},
                         QList<LookupField>{{QStringLiteral("LEANAME"), QStringLiteral("ID_LIGA"),
                                             QStringLiteral("LIGA"), QStringLiteral("ID_LIGA"),
                                             QStringLiteral("NAZIV")}});
    tables_.emplace_back(QStringLiteral("tLea"), QStringLiteral("LIGA"), byKey("ID_LIGA"));
    tables_.emplace_back(QStringLiteral("tSta"), QStringLiteral("STATISTICARI"), byName, QList<LookupField>{},
                         true);
    tables_.emplace_back(QStringLiteral("tRol"), QStringLiteral("POLOZAJ"), byKey("ID_POL"));
    tables_.emplace_back(QStringLiteral("tPla"), QStringLiteral("IGRAC"),
                         QList<OrderColumn>{{QStringLiteral("ID_KLUB")}, {QStringLiteral("ID_IGRAC")}},
                         QList<LookupField>{clubName,
                                            {QStringLiteral("POSNAME"), QStringLiteral("ID_POZ"),
                                             QStringLiteral("POZICIJA"), QStringLiteral("ID_POZ"),
                                             QStringLiteral("POZICIJA")}});
    tables_.emplace_back(QStringLiteral("tPos"), QStringLiteral("POZICIJA"), byKey("ID_POZ"));
    auto matchLookup = [](const char *name, const char *key, const char *table, const char *tableKey) {
        return LookupField{QString::fromLatin1(name), QString::fromLatin1(key), QString::fromLatin1(table),
                           QString::fromLatin1(tableKey), QStringLiteral("NAZIV")};
    };
    tables_.emplace_back(QStringLiteral("tMatch"), QStringLiteral("UTAKMICA"), byKey("ID_UTAKMICA"),
                         QList<LookupField>{matchLookup("KLUB1", "ID_KLUB1", "KLUB", "ID_KLUB"),
                                            matchLookup("KLUB2", "ID_KLUB2", "KLUB", "ID_KLUB"),
                                            matchLookup("LIGA", "ID_LIGA", "LIGA", "ID_LIGA")});
    tables_.emplace_back(QStringLiteral("StatDom"), QStringLiteral("STATDOMACI"), byKey("DRES"));
    tables_.emplace_back(QStringLiteral("StatGost"), QStringLiteral("STATGOSTI"), byKey("DRES"));
    tables_.emplace_back(QStringLiteral("PetorkaDom"), QStringLiteral("PETORKADOM"), QList<OrderColumn>{});
    tables_.emplace_back(QStringLiteral("PetorkaGosti"), QStringLiteral("PETORKAGOSTI"), QList<OrderColumn>{});
    tables_.emplace_back(QStringLiteral("MinutiD"), QStringLiteral("MINUTID"), QList<OrderColumn>{});
    tables_.emplace_back(QStringLiteral("MinutiG"), QStringLiteral("MINUTIG"), QList<OrderColumn>{});
    tables_.emplace_back(QStringLiteral("Sastav"), QStringLiteral("SASTAV"), byKey("ID_UTAKMICA"));
    tables_.emplace_back(QStringLiteral("Akcije"), QStringLiteral("AKCIJE"), byKey("ID_UTAKMICA"));
    tables_.emplace_back(QStringLiteral("Akcija"), QStringLiteral("AKCIJA"), byKey("SIFRA"));
    tables_.emplace_back(QStringLiteral("IBLigaPreview"), QStringLiteral("LIGA"), QList<OrderColumn>{});
    tables_.emplace_back(QStringLiteral("IBKlubpreview"), QStringLiteral("KLUB"), QList<OrderColumn>{});
}

bool Tdm::Start()
{
    connectionFailed_ = false;
    QCoreApplication::processEvents();
    if (!ConnectDatabase())
        return true; // the program goes on without a database
    if (!ActionCodes().Load(*connection_)) {
        ShowError(QStringLiteral("Error in Actions Data in DataBase!!!"));
        return false;
    }
    RefreshIndexStatistics();
    endBackupState();
    return true;
}

void Tdm::endBackupState()
{
    if (!isLocalDatabase())
        return;
    if (const QString problem = backupStateSwitch().settleUnlessCopying(options_.databaseLocation);
        !problem.isEmpty())
        ShowWarning(QStringLiteral("The database %1 is left in its backup state by a safety copy that did not end, "
                                   "and the state could not be ended: %2")
                        .arg(QDir::toNativeSeparators(options_.databaseLocation), problem));
}

void Tdm::RefreshIndexStatistics()
{
    // Firebird keeps the selectivity an index had when it was built, on an
    // empty table. The database grows by thousands of rows a match; with the
    // old figures the optimizer reads a shirt number's rows of every match
    // instead of the one match's, and the console slows down season by season.
    try {
        connection_->execute(QStringLiteral(
            "execute block as declare variable N varchar(63); begin "
            "for select trim(RDB$INDEX_NAME) from RDB$INDICES where coalesce(RDB$SYSTEM_FLAG, 0) = 0 into :N do "
            "execute statement 'set statistics index ' || :N; end"));
        connection_->commitRetaining();
    } catch (const fb::Error &) {
        // A user who may not touch the indices keeps the old figures; nothing else depends on them.
    }
}

fb::Connection &Tdm::db()
{
    if (!connection_)
        throw fb::Error(ConnectionProblem);
    return *connection_;
}

QString Tdm::dataFile(const QString &name) const { return QDir(options_.dataDirectory).filePath(name); }

bool Tdm::isLocalDatabase() const { return !AppPaths::isServerLocation(options_.databaseLocation); }

std::optional<QString> Tdm::TryPasswordCandidates(const std::function<bool(const QString &)> &attempt)
{
    for (const QString &candidate : PasswordCandidates)
        if (attempt(candidate))
            return candidate;
    return std::nullopt;
}

bool Tdm::ConnectDatabase()
{
    if (!connection_ && !attachOrCreate()) {
        connectionFailed_ = true;
        return false;
    }
    connectionFailed_ = false;
    return OpenAllTables();
}

bool Tdm::attachOrCreate()
{
    const QString location = options_.databaseLocation;
    // Two first starts on one directory: one makes the database, the other
    // waits for it and then attaches.
    std::optional<QLockFile> setup;
    if (isLocalDatabase()) {
        setup.emplace(location + QStringLiteral(".setup.lock"));
        setup->setStaleLockTime(0); // a holder is alive until its process ends
        setup->lock();
        // What a first start killed midway left.
        QFile::remove(creatingName(location));
    }
    if (isLocalDatabase() && !QFileInfo::exists(location) && !createDatabase(location))
        return false;

    QString failure;
    TryPasswordCandidates([&](const QString &password) {
        try {
            connection_ = fb::Connection::attach(location, {QStringLiteral("SYSDBA"), password});
            return true;
        } catch (const fb::Error &e) {
            failure = e.text();
            return false;
        }
    });
    if (!connection_) {
        reportConnectionProblem(QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(location), failure));
        return false;
    }
    try {
        SchemaInstaller(*connection_).upgrade();
    } catch (const fb::Error &e) {
        reportConnectionProblem(QStringLiteral("The database %1 could not be brought up to date:\n%2")
                                    .arg(QDir::toNativeSeparators(location), e.text()));
        disconnect();
        return false;
    }
    connectionProblem_.clear();
    return true;
}

bool Tdm::createDatabase(const QString &location)
{
    // First start: the database is made here, with its whole schema, which
    // takes a second or more; the note says what the wait is for.
    LongWorkNote creating(QStringLiteral("Creating the database %1 ...").arg(QDir::toNativeSeparators(location)));
    // Made under a name of its own and put in place only when whole: a
    // start killed meanwhile leaves no half-made database behind, and the
    // next start begins again from nothing.
    const QString building = creatingName(location);
    try {
        // The connection that created the file is closed before work goes
        // on: beside a second connection, rows committed through it were
        // seen to get lost.
        auto made = fb::Connection::create(building, {QStringLiteral("SYSDBA"), PasswordCandidates.first()});
        SchemaInstaller(*made).upgrade();
    } catch (const fb::Error &e) {
        QFile::remove(building);
        reportConnectionProblem(QStringLiteral("The database %1 could not be created:\n%2")
                                    .arg(QDir::toNativeSeparators(location), e.text()));
        return false;
    }
    std::error_code failed;
    std::filesystem::rename(QFile::encodeName(building).toStdString(), QFile::encodeName(location).toStdString(),
                            failed);
    if (failed) {
        QFile::remove(building);
        reportConnectionProblem(QStringLiteral("The database %1 could not be created:\n%2")
                                    .arg(QDir::toNativeSeparators(location), QString::fromStdString(failed.message())));
        return false;
    }
    return true;
}

void Tdm::reportConnectionProblem(const QString &why)
{
    connectionProblem_ = why;
    ShowError(ConnectionProblem + QLatin1Char('\n') + why);
}

void Tdm::disconnect()
{
    copyPoll_.stop();
    copier_.reset(); // finishes a running copy while the connection is still there
    CloseAllDataSets();
    connection_.reset();
}

bool Tdm::OpenAllTables()
{
    for (size_t i = 0; i < tables_.size(); ++i) {
        try {
            tables_[i].open(db());
        } catch (const fb::Error &) {
            ShowError(QStringLiteral("Problem with Open Table (table index %1)!").arg(i));
            return false;
        }
    }
    return true;
}

void Tdm::CloseAllDataSets()
{
    for (auto &t : tables_)
        t.close();
}

TableObject &Tdm::table(const QString &name)
{
    for (auto &t : tables_)
        if (t.name() == name)
            return t;
    throw fb::Error(QStringLiteral("No table object %1").arg(name));
}

void Tdm::SaveAllDataSets()
{
    if (!connection_)
        return;
    try {
        connection_->commitRetaining();
    } catch (const fb::Error &) {
        try {
            connection_->rollbackRetaining();
        } catch (const fb::Error &) {
        }
    }
}

void Tdm::BackupDatabaseFile()
{
    try {
        // Everything done so far is in the database before it is copied.
        if (connection_)
            connection_->commitRetaining();
    } catch (const fb::Error &) {
        return; // tried again after the next change
    }
    RequestSafetyCopy();
}

void Tdm::RequestSafetyCopy()
{
    const bool additional = ++backupCopyCounter_ >= 3;
    if (additional)
        backupCopyCounter_ = 0;
    if (!connection_ || !isLocalDatabase())
        return;
    if (!copier_) {
        copier_ = std::make_unique<SafetyCopier>(
            backupStateSwitch(), options_.databaseLocation, dataFile(QString::fromLatin1(AppPaths::BackupFileName)),
            dataFile(QString::fromLatin1(AppPaths::AdditionalBackupFileName)));
        copyPoll_.setInterval(100);
        QObject::connect(&copyPoll_, &QTimer::timeout, [this] {
            PollSafetyCopies();
            if (!copier_->Busy())
                copyPoll_.stop();
        });
    }
    copier_->Request(additional);
    // Started only when idle: restarted at every entry, a timer would never
    // fire while entries come faster than it.
    if (!copyPoll_.isActive())
        copyPoll_.start();
}

BackupStateSwitch Tdm::backupStateSwitch()
{
    return {[this](const QString &statement) { db().executeDefinition(statement); },
            [database = options_.databaseLocation] { return BackupStateSwitch::FromHeader(database); }};
}

void Tdm::PollSafetyCopies()
{
    if (copier_)
        copier_->Poll(activity_.Quiet());
}

void Tdm::WaitForSafetyCopies()
{
    if (copier_)
        copier_->WaitForIdle();
}

bool Tdm::RetrieveDatabase(const QString &backupFile, const QString &missingMessage)
{
    if (!QFileInfo::exists(backupFile)) {
        ShowError(missingMessage);
        return false;
    }
    {
        BusyCursor busy;
        disconnect();
        const QString database = options_.databaseLocation;
        try {
            if (QFileInfo::exists(database))
                ReplaceFileWithCopy(database, dataFile(QString::fromLatin1(AppPaths::DiscardedFileName)));
            ReplaceFileWithCopy(backupFile, database);
        } catch (const std::exception &) {
            // The old file stays in place; the connection below shows whether it is usable.
        }
    }
    if (ConnectDatabase()) {
        ShowInformation(QStringLiteral("Data Base is Retrieved SUCCESSFULLY. Application will shut down. "
                                       "Please start application again and continue."));
        return true;
    }
    ShowError(QStringLiteral("Data Base is Not Retrieved!"));
    return false;
}

void Tdm::RestoreFromServerBackup(const QString &backupFile)
{
    const fb::Credentials credentials = connection_ ? connection_->credentials()
                                                    : fb::Credentials{QStringLiteral("SYSDBA"),
                                                                      PasswordCandidates.first()};
    const QString database = options_.databaseLocation;
    if (!isLocalDatabase()) {
        // The server's own tools restore a database that lives on the server.
        fb::Service::restore(backupFile, database, credentials);
        return;
    }
    // Restore beside the database first, so that a failed restore leaves the
    // database as it was; then swap the files, keeping the old one.
    const QString restored = dataFile(QStringLiteral("RESTORED_QNDB.FDB"));
    QFile::remove(restored);
    BusyCursor busy;
    try {
        fb::Service::restore(backupFile, restored, credentials);
    } catch (const fb::Error &) {
        QFile::remove(restored);
        throw;
    }
    disconnect();
    namespace fs = std::filesystem;
    if (QFileInfo::exists(database))
        fs::rename(database.toStdString(), dataFile(QString::fromLatin1(AppPaths::DiscardedFileName)).toStdString());
    fs::rename(restored.toStdString(), database.toStdString());
    ConnectDatabase();
}

bool Tdm::MatchStarted()
{
    try {
        fb::Query clock(db(), QStringLiteral("select VREME, PERIOD from TEMP"));
        clock.exec();
        if (!clock.next())
            return false;
        bool minuteOk = false, periodOk = false;
        const int minute = clock.value(0).toInt(&minuteOk);
        const int period = clock.value(1).toInt(&periodOk);
        return minuteOk && periodOk && (period > 1 || minute < 10);
    } catch (const fb::Error &) {
        return false;
    }
}

void Tdm::SetJumpBall(int matchId, int side)
{
    try {
        db().execute(QStringLiteral("UPDATE UTAKMICA SET JUMPBAL = ? WHERE ID_UTAKMICA = ?"), {side, matchId});
        db().commitRetaining();
    } catch (const fb::Error &) {
    }
}

int Tdm::GetJumpBall(int matchId)
{
    try {
        const QVariant side =
            db().scalar(QStringLiteral("SELECT JUMPBAL FROM UTAKMICA WHERE ID_UTAKMICA = ?"), {matchId});
        return side.isValid() ? side.toInt() : -1;
    } catch (const fb::Error &) {
        return -1;
    }
}
