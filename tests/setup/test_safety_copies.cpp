// Safety copies of the database, their retrieval, and the restore from a
// server backup file.
#include "common/AppPaths.h"
#include "data/FbClient.h"
#include "data/BackgroundBackup.h"
#include "data/FbService.h"
#include "data/SafetyCopier.h"
#include "setup/MainActions.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

int refereesIn(const QString &databaseFile)
{
    auto copy = fb::Connection::attach(databaseFile, {u"SYSDBA"_s, u"x"_s});
    return copy->scalar(u"select count(*) from SUDIJA"_s).toInt();
}

void addReferee(Tdm &module, const QString &surname)
{
    module.db().execute(u"insert into SUDIJA (PREZIME, IME) values (?, 'Test')"_s, {surname});
}

} // namespace

class TestSafetyCopies : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void everyThirdCopyRefreshesTheAdditionalCopy();
    void copyIsAConsistentDatabaseWithTheLatestWork();
    void refreshedCopyHoldsItsSource_data();
    void refreshedCopyHoldsItsSource();
    void retrieveWithoutCopyChangesNothing_data();
    void retrieveWithoutCopyChangesNothing();
    void retrieveAskedNoChangesNothing();
    void retrieveReplacesDatabaseAndKeepsDiscarded();
    void retrieveWithDatabaseMissingStillInstallsCopy();
    void workGoesOnWhileACopyIsTaken();
    void backupTimeFormat();
    void serverBackupRestores();
    void failedBackupKeepsTheEarlierOne();
    void failedRestoreLeavesDatabaseAlone();
    void backupStateLeftByAKilledCopyEndsAtStart();
    void failedCopyIsSaidOnceAndTriedAgain_data();
    void failedCopyIsSaidOnceAndTriedAgain();
    void copiesFollowEntriesThatComeFast();
    void backgroundWorkGivesWayToKeying();
};

void TestSafetyCopies::everyThirdCopyRefreshesTheAdditionalCopy()
{
    Sandbox sb;
    auto &module = sb.dm();
    const QString backup = sb.file(AppPaths::BackupFileName);
    const QString additional = sb.file(AppPaths::AdditionalBackupFileName);

    for (int call = 1; call <= 6; ++call) {
        addReferee(module, u"R%1"_s.arg(call));
        module.BackupDatabaseFile();
        module.WaitForSafetyCopies();
        QCOMPARE(refereesIn(backup), call);
        if (call < 3) {
            QVERIFY(!QFile::exists(additional));
        } else {
            // Refreshed on the third and the sixth call only.
            QCOMPARE(refereesIn(additional), call < 6 ? 3 : 6);
        }
        QCOMPARE(module.backupCopyCounter(), call % 3);
    }
}

void TestSafetyCopies::copyIsAConsistentDatabaseWithTheLatestWork()
{
    Sandbox sb;
    auto &module = sb.dm();
    // Uncommitted work of the program's own transaction goes into the copy.
    for (int i = 0; i < 200; ++i)
        addReferee(module, u"Šiškić %1"_s.arg(i));
    module.BackupDatabaseFile();
    module.WaitForSafetyCopies();
    auto copy = fb::Connection::attach(sb.file(AppPaths::BackupFileName), {u"SYSDBA"_s, u"x"_s});
    QCOMPARE(copy->scalar(u"select count(*) from SUDIJA where PREZIME starting with 'Šiškić'"_s).toInt(), 200);
    // The copy is a whole database: every table reads and the engine's own
    // validation of the header and pages passes.
    QCOMPARE(copy->scalar(u"select count(*) from AKCIJA"_s).toInt(), 27);
    QVERIFY(!QFile::exists(sb.file(AppPaths::BackupFileName) + u".part"_s));
}

void TestSafetyCopies::refreshedCopyHoldsItsSource_data()
{
    QTest::addColumn<QByteArray>("copy");  // the target before, "-" for none
    QTest::addColumn<QByteArray>("spare"); // "-" for none
    QTest::addColumn<bool>("swapLeftOver");
    const QByteArray older = QByteArray(3 << 20, 'a') + QByteArray(5000, 'b');
    const QByteArray old = QByteArray(1 << 20, 'a') + QByteArray(8192, 'c') + QByteArray(2 << 20, 'a') + "tail";
    QTest::newRow("first copy") << QByteArray("-") << QByteArray("-") << false;
    QTest::newRow("copies before") << old << older << false;
    QTest::newRow("no spare") << old << QByteArray("-") << false;
    // A spare spoilt by a copy that failed, or longer than the file.
    QTest::newRow("spare of other bytes") << old << QByteArray(5 << 20, 'z') << false;
    QTest::newRow("swap that did not end") << old << older << true;
}

void TestSafetyCopies::refreshedCopyHoldsItsSource()
{
    QFETCH(QByteArray, copy);
    QFETCH(QByteArray, spare);
    QFETCH(bool, swapLeftOver);
    QTemporaryDir dir;
    const auto write = [](const QString &name, const QByteArray &bytes) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    };
    const auto read = [](const QString &name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("-");
    };
    const QString source = dir.filePath(u"source"_s), target = dir.filePath(u"copy"_s);
    // Blocks changed at the start, in the middle and across the end of a slice.
    QByteArray now = QByteArray(3 << 20, 'a') + "new tail";
    now[10] = 'x';
    now[(1 << 20) + 100] = 'y';
    now[(2 << 20) - 1] = 'w';
    write(source, now);
    if (copy != "-")
        write(target, copy);
    if (spare != "-")
        write(SpareCopyName(target), spare);
    if (swapLeftOver)
        QVERIFY(QFile::link(target, target + u".previous"_s));

    int prepared = 0;
    RefreshCopy(source, target, [&](const QString &part) {
        ++prepared;
        QCOMPARE(read(part), now);
    });
    QCOMPARE(prepared, 1);
    QCOMPARE(read(target), now);
    // The copy it replaced is the spare for the next one.
    QCOMPARE(read(SpareCopyName(target)), copy);
    QVERIFY(!QFile::exists(target + u".previous"_s));

    // A copy failing on the way leaves the target as it was.
    write(source, QByteArray(1 << 20, 'q'));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             RefreshCopy(source, target, [](const QString &) { throw std::runtime_error("no"); }));
    QCOMPARE(read(target), now);
}

void TestSafetyCopies::retrieveWithoutCopyChangesNothing_data()
{
    QTest::addColumn<bool>("additional");
    QTest::addColumn<QString>("message");
    QTest::newRow("backup") << false << u"Data Base Backup does not exists! Retrieve can not be done!"_s;
    QTest::newRow("additional") << true << u"Data Base AdditionalBackup does not exists! Retrieve can not be done!"_s;
}

void TestSafetyCopies::retrieveWithoutCopyChangesNothing()
{
    QFETCH(bool, additional);
    QFETCH(QString, message);
    Sandbox sb;
    auto &module = sb.dm();
    RecordingMessenger messages;
    QVERIFY(!MainActions::RetrieveFromBackup(module, additional));
    QCOMPARE(messages.texts(), QStringList{message});
    QVERIFY(module.connected());
    QVERIFY(!QFile::exists(sb.file(AppPaths::DiscardedFileName)));
}

void TestSafetyCopies::retrieveAskedNoChangesNothing()
{
    Sandbox sb;
    auto &module = sb.dm();
    module.BackupDatabaseFile();
    module.WaitForSafetyCopies();
    RecordingMessenger messages;
    messages.answer(false);
    QVERIFY(!MainActions::RetrieveFromBackup(module, false));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Confirmation);
    const QString time = MainActions::FormatBackupTime(QFileInfo(sb.file(AppPaths::BackupFileName)).lastModified());
    QCOMPARE(messages.texts()[0],
             u"Last Backup is created on %1 . Are you sure to Retrieive Data Base from Backup?"_s.arg(time));
    QVERIFY(module.connected());
    QVERIFY(!QFile::exists(sb.file(AppPaths::DiscardedFileName)));
}

void TestSafetyCopies::retrieveReplacesDatabaseAndKeepsDiscarded()
{
    Sandbox sb;
    auto &module = sb.dm();
    addReferee(module, u"Before"_s);
    for (int i = 0; i < 3; ++i)
        module.BackupDatabaseFile(); // the additional copy now holds one referee
    module.WaitForSafetyCopies();
    addReferee(module, u"After"_s);
    module.db().commitRetaining();

    RecordingMessenger messages;
    messages.answer(true);
    QVERIFY(MainActions::RetrieveFromBackup(module, true));
    QVERIFY(messages.texts()[0].startsWith(u"Last Additional Backup is created on "_s));
    QCOMPARE(messages.texts()[1], u"Data Base is Retrieved SUCCESSFULLY. Application will shut down. "
                                  "Please start application again and continue."_s);
    QVERIFY(module.connected());
    QCOMPARE(module.db().scalar(u"select count(*) from SUDIJA"_s).toInt(), 1);
    sb.closeDm();
    QCOMPARE(refereesIn(sb.file(AppPaths::DiscardedFileName)), 2);
}

void TestSafetyCopies::retrieveWithDatabaseMissingStillInstallsCopy()
{
    Sandbox sb;
    addReferee(sb.dm(), u"Saved"_s);
    sb.dm().BackupDatabaseFile();
    sb.closeDm(); // closing waits for the copy
    QVERIFY(QFile::remove(sb.file(AppPaths::DatabaseFileName)));

    RecordingMessenger messages;
    Tdm module(sb.options());
    // Without the database the program would make a new one; retrieval must
    // install the copy instead, so nothing is created first here.
    QVERIFY(module.RetrieveDatabase(sb.file(AppPaths::BackupFileName), u"missing"_s));
    QVERIFY(!QFile::exists(sb.file(AppPaths::DiscardedFileName)));
    QCOMPARE(module.db().scalar(u"select count(*) from SUDIJA where PREZIME = 'Saved'"_s).toInt(), 1);
}

void TestSafetyCopies::workGoesOnWhileACopyIsTaken()
{
    Sandbox sb;
    auto &module = sb.dm();
    // A database large enough that its copy takes a while.
    module.db().execute(u"insert into KLUB (NAZIV, AMBLEM) values ('Big', ?)"_s, {QByteArray(40 << 20, 'x')});
    addReferee(module, u"First"_s);
    module.BackupDatabaseFile();
    // Changes during the copy go on, and reach the database but not this copy...
    for (int i = 0; i < 20; ++i)
        addReferee(module, u"During %1"_s.arg(i));
    module.BackupDatabaseFile();
    module.WaitForSafetyCopies();
    // ...while the copy asked for after them holds them all.
    QCOMPARE(refereesIn(sb.file(AppPaths::BackupFileName)), 21);
    QCOMPARE(module.db().scalar(u"select MON$BACKUP_STATE from MON$DATABASE"_s).toInt(), 0);
    QCOMPARE(module.db().scalar(u"select count(*) from SUDIJA"_s).toInt(), 21);
}

void TestSafetyCopies::backupTimeFormat()
{
    QCOMPARE(MainActions::FormatBackupTime(QDateTime(QDate(2026, 12, 8), QTime(21, 35, 16))),
             u"08.12.2026.  at  21:35:16"_s);
    QCOMPARE(MainActions::FormatBackupTime(QDateTime(QDate(2027, 1, 2), QTime(8, 5, 6))),
             u"02.01.2027.  at  08:05:06"_s);
}

void TestSafetyCopies::serverBackupRestores()
{
    Sandbox sb;
    auto &module = sb.dm();
    addReferee(module, u"Đorđević"_s);
    module.db().commitRetaining();
    const QString backupFile = sb.file(u"bkp_proba.gbk"_s);
    // Taken in the background while the program holds its own connection.
    BackgroundBackup backup;
    backup.Start(module.options().databaseLocation, backupFile, module.db().credentials());
    backup.Wait();
    QCOMPARE(backup.TakeOutcome(), std::optional<QString>(QString()));
    QCOMPARE(backup.TakeOutcome(), std::nullopt); // told once
    QVERIFY(QFileInfo(backupFile).size() > 0);
    QVERIFY(!QFile::exists(backupFile + u".part"_s));
    addReferee(module, u"Later"_s);
    module.db().commitRetaining();

    RecordingMessenger messages;
    MainActions::RestoreFromServerBackup(module, backupFile);
    QCOMPARE(messages.texts(), QStringList{u"Finished!"_s});
    QVERIFY(module.connected());
    QCOMPARE(module.db().scalar(u"select list(PREZIME) from SUDIJA"_s).toString(), u"Đorđević"_s);
    QCOMPARE(module.db().scalar(u"select MON$SQL_DIALECT from MON$DATABASE"_s).toInt(), 1);
    QVERIFY(QFile::exists(sb.file(AppPaths::DiscardedFileName)));
}

void TestSafetyCopies::failedBackupKeepsTheEarlierOne()
{
    Sandbox sb;
    auto &module = sb.dm();
    const QString backupFile = sb.file(u"bkp_proba.gbk"_s);
    QFile earlier(backupFile);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("the earlier backup");
    earlier.close();
    // A database the engine cannot open: the backup fails on its thread.
    BackgroundBackup backup;
    backup.Start(sb.file(u"no-such.fdb"_s), backupFile, module.db().credentials());
    backup.Wait();
    const std::optional<QString> outcome = backup.TakeOutcome();
    QVERIFY(outcome && !outcome->isEmpty());
    QFile kept(backupFile);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the earlier backup"));
    QVERIFY(!QFile::exists(backupFile + u".part"_s));
}

void TestSafetyCopies::failedRestoreLeavesDatabaseAlone()
{
    Sandbox sb;
    auto &module = sb.dm();
    addReferee(module, u"Kept"_s);
    module.db().commitRetaining();
    const QString notABackup = sb.file(u"broken.gbk"_s);
    QFile f(notABackup);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a backup");
    f.close();

    RecordingMessenger messages;
    MainActions::RestoreFromServerBackup(module, notABackup);
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Error);
    QVERIFY(module.connected());
    QCOMPARE(module.db().scalar(u"select count(*) from SUDIJA where PREZIME = 'Kept'"_s).toInt(), 1);
    QVERIFY(!QFile::exists(sb.file(AppPaths::DiscardedFileName)));
}

namespace {

// As a connection of its own sees it.
int backupState(Tdm &module)
{
    auto other = fb::Connection::attach(module.options().databaseLocation, module.db().credentials());
    return other->scalar(u"select MON$BACKUP_STATE from MON$DATABASE"_s).toInt();
}

} // namespace

void TestSafetyCopies::backupStateLeftByAKilledCopyEndsAtStart()
{
    Sandbox sb;
    // What a copy killed between its start and its end leaves: the database
    // in its backup state, changes going to the delta file.
    sb.dm().db().executeDefinition(u"alter database begin backup"_s);
    addReferee(sb.dm(), u"In the delta"_s);
    sb.closeDm();
    const QString delta = sb.file(AppPaths::DatabaseFileName) + u".delta"_s;
    QVERIFY(QFile::exists(delta));

    RecordingMessenger messages;
    Tdm &module = sb.dm();
    QCOMPARE(backupState(module), 0);
    QVERIFY(!QFile::exists(delta));
    QCOMPARE(messages.texts(), QStringList());
    module.BackupDatabaseFile();
    module.WaitForSafetyCopies();
    QCOMPARE(refereesIn(sb.file(AppPaths::BackupFileName)), 1);
}

void TestSafetyCopies::failedCopyIsSaidOnceAndTriedAgain_data()
{
    QTest::addColumn<bool>("stuckInBackupState");
    QTest::addColumn<QString>("reason");
    // The copy's spare taken by a directory: the copy cannot be written.
    QTest::newRow("copy cannot be written") << false << u"BACKUP_QNDB.FDB.spare"_s;
    // Switched into the backup state behind the copier's back, as a merge
    // that failed on a full disk leaves it.
    QTest::newRow("left in the backup state") << true << u"backup"_s;
}

void TestSafetyCopies::failedCopyIsSaidOnceAndTriedAgain()
{
    QFETCH(bool, stuckInBackupState);
    QFETCH(QString, reason);
    Sandbox sb;
    auto &module = sb.dm();
    const QString backup = sb.file(AppPaths::BackupFileName);
    const QString blocker = SpareCopyName(backup);
    QVERIFY(QDir().mkpath(blocker));
    if (stuckInBackupState)
        module.db().executeDefinition(u"alter database begin backup"_s);

    RecordingMessenger messages;
    addReferee(module, u"First"_s);
    module.BackupDatabaseFile();
    module.WaitForSafetyCopies();
    QVERIFY(!QFile::exists(backup));
    QCOMPARE(messages.messages.size(), 1);
    QCOMPARE(messages.messages[0].first, Messenger::Kind::Warning);
    QVERIFY2(messages.texts()[0].contains(reason, Qt::CaseInsensitive), qPrintable(messages.texts()[0]));
    QCOMPARE(backupState(module), 0);

    // Tried again by itself; the failure is not said again.
    QTest::qWait(2500);
    QVERIFY(!QFile::exists(backup) || !stuckInBackupState);
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY(QDir(blocker).removeRecursively());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(backup), 6000);
    module.WaitForSafetyCopies();
    QCOMPARE(refereesIn(backup), 1);
    QCOMPARE(backupState(module), 0);
}

void TestSafetyCopies::copiesFollowEntriesThatComeFast()
{
    Sandbox sb;
    auto &module = sb.dm();
    const QString backup = sb.file(AppPaths::BackupFileName);
    // Entries every 20 ms, faster than the copies are looked after: within
    // 5 s of an entry a copy holds it, however many follow.
    QElapsedTimer keying;
    keying.start();
    int entries = 0;
    while (keying.elapsed() < 7000) {
        addReferee(module, u"R%1"_s.arg(++entries));
        module.BackupDatabaseFile();
        QTest::qWait(20);
    }
    QVERIFY2(QFile::exists(backup), "no copy while entries came");
    module.WaitForSafetyCopies(); // the copy under way would write the file read next
    QVERIFY(refereesIn(backup) >= entries * 2 / 7);
}

void TestSafetyCopies::backgroundWorkGivesWayToKeying()
{
    Sandbox sb;
    auto &module = sb.dm();
    addReferee(module, u"First"_s);
    QTimer keys; // a statistician who keys without a pause
    connect(&keys, &QTimer::timeout, [&] { module.activity().Touch(); });
    keys.start(50);
    module.activity().Touch();

    const QString backupFile = sb.file(u"bkp_proba.gbk"_s);
    BackgroundBackup openingBackup;
    openingBackup.Start(module.options().databaseLocation, backupFile, module.db().credentials(),
                        [&activity = module.activity()] { activity.WaitForQuiet(); });
    module.BackupDatabaseFile();
    QTest::qWait(1000);
    QVERIFY(openingBackup.Running());
    QCOMPARE(openingBackup.TakeOutcome(), std::nullopt);
    QVERIFY(!QFile::exists(backupFile));
    QVERIFY(!QFile::exists(sb.file(AppPaths::BackupFileName)));

    keys.stop(); // a pause: both are written
    openingBackup.Wait();
    QCOMPARE(openingBackup.TakeOutcome(), std::optional<QString>(QString()));
    QVERIFY(QFileInfo(backupFile).size() > 0);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(sb.file(AppPaths::BackupFileName)), 5000);
    module.WaitForSafetyCopies();
    QCOMPARE(refereesIn(sb.file(AppPaths::BackupFileName)), 1);

    // Keying that never pauses holds a safety copy back for a while only.
    // The copy is read between copies: the next one writes its file again.
    keys.start();
    addReferee(module, u"Second"_s);
    module.BackupDatabaseFile();
    QTRY_COMPARE_WITH_TIMEOUT((module.WaitForSafetyCopies(), refereesIn(sb.file(AppPaths::BackupFileName))), 2,
                              20000);
}

QTEST_GUILESS_MAIN(TestSafetyCopies)
#include "test_safety_copies.moc"
