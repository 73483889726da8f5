// The match database on a Firebird server started for the test run (the
// test_server fixture): the desk keeps the backup the server streams to it.
#include "data/FbClient.h"
#include "data/FbService.h"
#include "common/AppPaths.h"
#include "data/DataModule.h"
#include "setup/MainActions.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class TestServerDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }
    void backupOfServerDatabaseIsWrittenByTheDesk();
};

void TestServerDatabase::backupOfServerDatabaseIsWrittenByTheDesk()
try {
    const QString server = qEnvironmentVariable("QUINTARA_TEST_SERVER"); // "localhost/PORT:DIR"
    QVERIFY2(!server.isEmpty(), "the test_server fixture names the server");
    const fb::Credentials credentials{u"SYSDBA"_s, Tdm::PasswordCandidates.first()};

    // The template database, put on the server through a local backup.
    Sandbox sb;
    const QString local = sb.options().databaseLocation;
    const fb::Credentials localCredentials = sb.dm().db().credentials();
    const int tables = sb.dm().db().scalar(u"SELECT COUNT(*) FROM RDB$RELATIONS"_s).toInt();
    sb.closeDm();
    const QString firstBackup = sb.file(u"first.gbk"_s);
    fb::Service::backup(local, firstBackup, localCredentials);
    const QString onServer = server + u"/backup-test-"_s + QString::number(QCoreApplication::applicationPid()) + u".fdb"_s;
    fb::Service::restore(firstBackup, onServer, credentials);

    // A desk on it says once that safety copies are the server's, and makes none.
    {
        Tdm desk({onServer, sb.path()});
        QVERIFY(desk.Start() && desk.connected());
        QVERIFY(MainActions::StartingAdvice(desk, sb.path()).startsWith(u"The database is on a server"_s));
        desk.RequestSafetyCopy();
        QVERIFY(!QFile::exists(sb.file(QString::fromLatin1(AppPaths::BackupFileName))));
    }

    // A path relative to the desk's working directory means nothing to the
    // server, which runs elsewhere: only bytes that come to the desk land there.
    QVERIFY(QDir::setCurrent(sb.path()));
    fb::Service::backup(onServer, u"bkp_proba.gbk"_s, credentials);
    const QString streamed = sb.file(u"bkp_proba.gbk"_s);
    QVERIFY(QFileInfo(streamed).size() > 0);

    // The streamed backup is whole: it restores into an embedded database with the same tables.
    const QString restored = sb.file(u"restored.fdb"_s);
    fb::Service::restore(streamed, restored, localCredentials);
    const auto again = fb::Connection::attach(restored, localCredentials);
    QCOMPARE(again->scalar(u"SELECT COUNT(*) FROM RDB$RELATIONS"_s).toInt(), tables);
    again->commit();
} catch (const fb::Error &e) {
    QFAIL(e.what());
}

QTEST_GUILESS_MAIN(TestServerDatabase)
#include "test_server_database.moc"
