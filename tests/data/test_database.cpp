// The match database as the program creates and opens it: schema, keys,
// text round trips, the connection's failure paths, the small operations of
// the data module and the event-code table.
#include "common/AppPaths.h"
#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "data/SchemaInstaller.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDatabaseModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    void schemaHasEveryTable();
    void workingTablesBelongToEachConnection();
    void databaseOfEarlierVersionIsBroughtUpToDate();
    void databaseIsDialectOneInWin1250();
    void emptyKeyGetsNewUniqueKey_data();
    void emptyKeyGetsNewUniqueKey();
    void serbianLettersSurviveEveryTextColumn();
    void textOutsideWin1250IsRefusedClearly();
    void picturesRoundTrip();
    void typedValuesAreBoundNotPasted();

    void firstStartCreatesDatabase();
    void secondStartKeepsExistingData();
    void passwordCandidatesAreTriedInOrder();
    void noCandidateWorksGivesOneMessageAndNoTable();
    void notADatabaseIsReportedAndLeftAlone();
    void unwritableDataDirectoryIsReported();
    void anotherProcessReadsWhileProgramHoldsDatabase();
    void unreadableTableStopsOpeningAtIt();

    void matchStarted_data();
    void matchStarted();
    void jumpBall();
    void lookupAndCalculatedFields();
    void fullName_data();
    void fullName();

    void actionCodesLoadedAtStart();
    void findCode_data();
    void findCode();
    void missingActionCodeStopsStart();

    void scriptSplitting();
};

void TestDatabaseModule::schemaHasEveryTable()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const QStringList tables = {
        u"LIGA"_s, u"KLUB"_s, u"IGRAC"_s, u"POZICIJA"_s, u"TRENER"_s, u"POLOZAJ"_s, u"SUDIJA"_s,
        u"DELEGAT"_s, u"STATISTICARI"_s, u"UTAKMICA"_s, u"SASTAV"_s, u"AKCIJA"_s, u"AKCIJE"_s, u"DTT"_s,
        u"DTT_DEL"_s, u"INDEKSI"_s, u"ISTORIJA_INDEKSI_PM"_s, u"TEMP"_s, u"STATDOMACI"_s, u"STATGOSTI"_s,
        u"MINUTID"_s, u"MINUTIG"_s, u"PETORKADOM"_s, u"PETORKAGOSTI"_s};
    for (const QString &t : tables)
        QVERIFY2(db.scalar(u"select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = ?"_s, {t}).toInt() == 1,
                 qPrintable(t));
    // Per-match tables are reached through an index that starts with the match.
    for (const auto &[table, column] : {std::pair{u"DTT"_s, u"IDM"_s}, {u"AKCIJE"_s, u"ID_UTAKMICA"_s},
                                        {u"SASTAV"_s, u"ID_UTAKMICA"_s}, {u"INDEKSI"_s, u"IDGAME"_s},
                                        {u"DTT_DEL"_s, u"IDM"_s}, {u"ISTORIJA_INDEKSI_PM"_s, u"IDUTAKMICE"_s}})
        QVERIFY2(db.scalar(u"select count(*) from RDB$INDICES I join RDB$INDEX_SEGMENTS S "
                           "on S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
                           "where I.RDB$RELATION_NAME = ? and S.RDB$FIELD_NAME = ? and S.RDB$FIELD_POSITION = 0"_s,
                           {table, column})
                         .toInt() >= 1,
                 qPrintable(table));
}

void TestDatabaseModule::workingTablesBelongToEachConnection()
{
    // Two desks on one database: each connection's working rows are its own,
    // keyed from 1 however many rows the other holds.
    Sandbox sb;
    auto &desk = sb.dm().db();
    auto other = fb::Connection::attach(sb.file(AppPaths::DatabaseFileName), desk.credentials());
    for (int shirt : {4, 5, 6})
        desk.execute(u"insert into STATDOMACI (DRES) values (?)"_s, {shirt});
    desk.execute(u"insert into TEMP (VREME, PERIOD, KRAJ) values (7, 2, 0)"_s);
    desk.commit();
    QCOMPARE(other->scalar(u"select count(*) from STATDOMACI"_s).toInt(), 0);
    QVERIFY(!other->scalar(u"select VREME from TEMP"_s).isValid());
    other->execute(u"insert into STATDOMACI (DRES) values (9)"_s);
    other->commit();
    QCOMPARE(other->scalar(u"select ID_STAT from STATDOMACI"_s).toInt(), 1);
    QCOMPARE(desk.scalar(u"select list(DRES) from STATDOMACI"_s).toString(), u"4,5,6"_s);
    QCOMPARE(desk.scalar(u"select max(ID_STAT) from STATDOMACI"_s).toInt(), 3);
}

void TestDatabaseModule::databaseOfEarlierVersionIsBroughtUpToDate()
{
    // Made before desks shared a database: the working tables were tables
    // of the whole database (with the routines that use them installed) and
    // plus-minus rows took the highest key plus one.
    Sandbox sb(false);
    auto db = fb::Connection::create(sb.file(u"earlier.fdb"_s), {});
    QStringList earlier = SchemaInstaller::scriptNames();
    earlier.removeIf([](const QString &name) { return name.startsWith(u"005_"_s); });
    SchemaInstaller(*db).upgrade(earlier);
    db->execute(u"insert into INDEKSI (IDINDEKS, IDGAME, HG, NODR, VAL) values (7, 1, 1, 4, 2)"_s);
    db->execute(u"insert into STATDOMACI (DRES) values (4)"_s);
    db->commit();

    SchemaInstaller(*db).upgrade();
    QCOMPARE(db->scalar(u"select count(*) from SCHEMA_SCRIPTS"_s).toInt(), SchemaInstaller::scriptNames().size());
    for (const QString &table : {u"TEMP"_s, u"STATDOMACI"_s, u"STATGOSTI"_s, u"MINUTID"_s, u"MINUTIG"_s,
                                 u"PETORKADOM"_s, u"PETORKAGOSTI"_s})
        QVERIFY2(db->scalar(u"select RDB$RELATION_TYPE from RDB$RELATIONS where RDB$RELATION_NAME = ?"_s, {table})
                         .toInt() == 4, // global temporary, rows kept over commits
                 qPrintable(table));
    // The routines are back, every one of them.
    const QString routines = u"select list(trim(RDB$PROCEDURE_NAME)) from "
                             "(select RDB$PROCEDURE_NAME from RDB$PROCEDURES where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
                             "order by 1)"_s;
    Sandbox fresh;
    QCOMPARE(db->scalar(routines).toString(), fresh.dm().db().scalar(routines).toString());
    db->execute(u"execute procedure RE_OPEN(1)"_s);
    // Plus-minus keys go on above the highest.
    db->execute(u"insert into INDEKSI (IDGAME, HG, NODR, VAL) values (1, 1, 5, 2)"_s);
    QCOMPARE(db->scalar(u"select max(IDINDEKS) from INDEKSI"_s).toInt(), 8);
}

void TestDatabaseModule::databaseIsDialectOneInWin1250()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    QCOMPARE(db.scalar(u"select MON$SQL_DIALECT from MON$DATABASE"_s).toInt(), 1);
    QCOMPARE(db.scalar(u"select trim(RDB$CHARACTER_SET_NAME) from RDB$DATABASE"_s).toString(), u"WIN1250"_s);
}

void TestDatabaseModule::emptyKeyGetsNewUniqueKey_data()
{
    QTest::addColumn<QString>("insert");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("table");
    QTest::newRow("league") << u"insert into LIGA (NAZIV, LIGTUR) values ('L' || ?, 1)"_s << u"ID_LIGA"_s << u"LIGA"_s;
    QTest::newRow("club") << u"insert into KLUB (NAZIV) values ('K' || ?)"_s << u"ID_KLUB"_s << u"KLUB"_s;
    QTest::newRow("player") << u"insert into IGRAC (PREZIME, IME) values ('P' || ?, 'I')"_s << u"ID_IGRAC"_s
                            << u"IGRAC"_s;
    QTest::newRow("referee") << u"insert into SUDIJA (PREZIME, IME) values ('S' || ?, 'I')"_s << u"ID_SUDIJA"_s
                             << u"SUDIJA"_s;
    QTest::newRow("match") << u"insert into UTAKMICA (ID_LIGA, ID_KLUB1, ID_KLUB2) values (1, 1, ?)"_s
                           << u"ID_UTAKMICA"_s << u"UTAKMICA"_s;
    QTest::newRow("roster") << u"insert into SASTAV (ID_IGRAC, DOMGOST, DRES) values (1, 1, ?)"_s << u"ID_SASTAV"_s
                            << u"SASTAV"_s;
    QTest::newRow("events") << u"insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO) values (1, 1, ?, 4, 0, 1, 0)"_s
                            << u"ID_AKCIJE"_s << u"AKCIJE"_s;
    QTest::newRow("home line") << u"insert into STATDOMACI (DRES) values (?)"_s << u"ID_STAT"_s << u"STATDOMACI"_s;
    QTest::newRow("away minute") << u"insert into MINUTIG (DRES, VREME) values (?, 1)"_s << u"ID_STAT"_s
                                 << u"MINUTIG"_s;
    QTest::newRow("on court") << u"insert into PETORKADOM (DRES, VREME) values (?, 0)"_s << u"ID_PETORKA"_s
                              << u"PETORKADOM"_s;
    QTest::newRow("plus-minus") << u"insert into INDEKSI (IDGAME, HG, NODR, VAL) values (1, 1, ?, 2)"_s
                                << u"IDINDEKS"_s << u"INDEKSI"_s;
    QTest::newRow("plus-minus history")
        << u"insert into ISTORIJA_INDEKSI_PM (IDUTAKMICE, RBAKCIJE, HG, VRBODA) values (1, ?, 1, 2)"_s
        << u"IDZAPISA"_s << u"ISTORIJA_INDEKSI_PM"_s;
}

void TestDatabaseModule::emptyKeyGetsNewUniqueKey()
{
    QFETCH(QString, insert);
    QFETCH(QString, key);
    QFETCH(QString, table);
    Sandbox sb;
    auto &db = sb.dm().db();
    for (int i = 1; i <= 3; ++i)
        db.execute(insert, {i});
    QCOMPARE(db.scalar(u"select count(distinct %1) from %2"_s.arg(key, table)).toInt(),
             db.scalar(u"select count(*) from %1"_s.arg(table)).toInt());
    QVERIFY(db.scalar(u"select count(*) from %1 where %2 is null"_s.arg(table, key)).toInt() == 0);
}

void TestDatabaseModule::serbianLettersSurviveEveryTextColumn()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const QString letters = u"ČĆĐŠŽčćđšž O'Neal"_s;

    // Every text column of every table of the program, read from the catalogue.
    fb::Query columns(db, u"select trim(RF.RDB$RELATION_NAME), trim(RF.RDB$FIELD_NAME), F.RDB$CHARACTER_LENGTH "
                          "from RDB$RELATION_FIELDS RF join RDB$FIELDS F on F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                          "join RDB$RELATIONS R on R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
                          "where coalesce(R.RDB$SYSTEM_FLAG, 0) = 0 and F.RDB$FIELD_TYPE in (14, 37) "
                          "and RF.RDB$RELATION_NAME <> 'SCHEMA_SCRIPTS'"_s);
    columns.exec();
    int checked = 0;
    while (columns.next()) {
        const QString table = columns.value(0).toString();
        const QString column = columns.value(1).toString();
        const QString text = letters.left(columns.value(2).toInt());
        // A scratch row with the required columns filled, then the text written and read back.
        fb::Query required(db, u"select trim(RF.RDB$FIELD_NAME), F.RDB$FIELD_TYPE from RDB$RELATION_FIELDS RF "
                               "join RDB$FIELDS F on F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
                               "where RF.RDB$RELATION_NAME = ? and RF.RDB$NULL_FLAG = 1"_s);
        required.exec({table});
        QStringList names{column};
        QVariantList values{text};
        while (required.next()) {
            if (required.value(0).toString() == column)
                continue;
            names << required.value(0).toString();
            // Distinct values, so keys and unique names never clash between rows.
            const bool isText = QList<int>{14, 37}.contains(required.value(1).toInt());
            values << (isText ? QVariant(u"x%1"_s.arg(checked)) : QVariant(5000 + checked));
        }
        db.execute(u"insert into %1 (%2) values (%3)"_s.arg(table, names.join(u','),
                                                            QStringList(names.size(), u"?"_s).join(u',')),
                   values);
        QCOMPARE(db.scalar(u"select %1 from %2 where %1 = ?"_s.arg(column, table), {text}).toString(), text);
        ++checked;
    }
    QVERIFY(checked > 30);
}

void TestDatabaseModule::textOutsideWin1250IsRefusedClearly()
{
    Sandbox sb;
    try {
        sb.dm().db().execute(u"insert into POZICIJA (ID_POZ, POZICIJA) values (99, ?)"_s, {u"日本"_s});
        QFAIL("a letter outside the code page was stored");
    } catch (const fb::Error &e) {
        QVERIFY2(e.text().contains(u"transliterate"_s, Qt::CaseInsensitive), qPrintable(e.text()));
    }
}

void TestDatabaseModule::picturesRoundTrip()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    QByteArray picture(100000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i * 7);
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR, LOGO) values (5, 'Liga', 1, ?)"_s, {picture});
    QCOMPARE(db.scalar(u"select LOGO from LIGA where ID_LIGA = 5"_s).toByteArray(), picture);
}

void TestDatabaseModule::typedValuesAreBoundNotPasted()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    const QString hostile = u"x'; delete from AKCIJA;--"_s;
    db.execute(u"insert into SUDIJA (PREZIME, IME) values (?, ?)"_s, {hostile, u"Đorđe"_s});
    QCOMPARE(db.scalar(u"select IME from SUDIJA where PREZIME = ?"_s, {hostile}).toString(), u"Đorđe"_s);
    QVERIFY(db.scalar(u"select count(*) from AKCIJA"_s).toInt() > 0);
}

void TestDatabaseModule::firstStartCreatesDatabase()
{
    RecordingMessenger messages;
    Sandbox sb(false);
    QVERIFY(!QFile::exists(sb.file(AppPaths::DatabaseFileName)));
    Tdm module(sb.options());
    QVERIFY(module.Start());
    QVERIFY(module.connected());
    QVERIFY2(messages.messages.isEmpty(), qPrintable(messages.texts().join(u'\n')));
    // The second or more it takes is not a blank wait: a note says what is made, then goes.
    QCOMPARE(messages.notes, (QStringList{u"Creating the database %1 ..."_s.arg(QDir::toNativeSeparators(
                                              sb.file(AppPaths::DatabaseFileName))),
                                          QString()}));
    QVERIFY(QFile::exists(sb.file(AppPaths::DatabaseFileName)));
    QCOMPARE(module.db().scalar(u"select count(*) from AKCIJA"_s).toInt(), 27);
    QCOMPARE(module.db().scalar(u"select count(*) from SCHEMA_SCRIPTS"_s).toInt(), SchemaInstaller::scriptNames().size());
}

void TestDatabaseModule::secondStartKeepsExistingData()
{
    Sandbox sb;
    sb.dm().db().execute(u"insert into SUDIJA (PREZIME, IME) values ('Šiškić', 'Ivan')"_s);
    sb.closeDm();
    RecordingMessenger messages;
    Tdm again(sb.options());
    QVERIFY(again.Start());
    QCOMPARE(again.db().scalar(u"select count(*) from SUDIJA where PREZIME = 'Šiškić'"_s).toInt(), 1);
    QVERIFY(messages.messages.isEmpty());
    QVERIFY(messages.notes.isEmpty()); // nothing to wait for
}

void TestDatabaseModule::passwordCandidatesAreTriedInOrder()
{
    QStringList tried;
    const auto found = Tdm::TryPasswordCandidates([&](const QString &password) {
        tried << password;
        return password == u"pakupa"_s;
    });
    QCOMPARE(found.value_or(QString()), u"pakupa"_s);
    QCOMPARE(tried, (QStringList{u"tolvaring"_s, u"ruvo"_s, u"pakupa"_s}));

    tried.clear();
    QVERIFY(!Tdm::TryPasswordCandidates([&](const QString &p) { tried << p; return false; }));
    QCOMPARE(tried, Tdm::PasswordCandidates);
}

void TestDatabaseModule::noCandidateWorksGivesOneMessageAndNoTable()
{
    RecordingMessenger messages;
    Sandbox sb(false);
    // A server location where no server listens refuses every candidate.
    Tdm module({u"127.0.0.1/1:/nowhere/QNDB.FDB"_s, sb.path()});
    QVERIFY(module.Start());
    QVERIFY(!module.connected());
    QVERIFY(module.connectionFailed());
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY(messages.texts().first().startsWith(u"Problems with connection to database!"_s));
    for (const auto &t : module.tables())
        QVERIFY2(!t.isOpen(), qPrintable(t.name()));
    QVERIFY(!module.MatchStarted());
    QCOMPARE(module.GetJumpBall(1), -1);
}

void TestDatabaseModule::notADatabaseIsReportedAndLeftAlone()
{
    RecordingMessenger messages;
    Sandbox sb(false);
    const QByteArray garbage = "this is not a database\n";
    QFile file(sb.file(AppPaths::DatabaseFileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();

    Tdm module(sb.options());
    QVERIFY(module.Start());
    QVERIFY(!module.connected());
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY(messages.texts().first().startsWith(u"Problems with connection to database!"_s));
    QVERIFY2(messages.texts().first().contains(sb.file(AppPaths::DatabaseFileName)), qPrintable(messages.texts().first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), garbage);
}

void TestDatabaseModule::unwritableDataDirectoryIsReported()
{
    RecordingMessenger messages;
    Sandbox sb(false);
    // A data directory below a plain file can never be written, not even by root.
    QFile blocker(sb.file(u"blocker"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString dataDir = sb.file(u"blocker/data"_s);
    Tdm module({dataDir + u"/QNDB.FDB"_s, dataDir});
    QVERIFY(module.Start());
    QVERIFY(!module.connected());
    QCOMPARE(messages.messages.size(), 1);
    QVERIFY2(messages.texts().first().contains(dataDir), qPrintable(messages.texts().first()));
}

void TestDatabaseModule::anotherProcessReadsWhileProgramHoldsDatabase()
{
    Sandbox sb;
    auto &db = sb.dm().db();
    db.execute(u"insert into SUDIJA (PREZIME, IME) values ('Held', 'Open')"_s);
    db.commitRetaining();

    // isql-fb inherits the engine settings of this process (shared mode, same lock directory).
    QProcess isql;
    isql.start(u"isql-fb"_s, {u"-user"_s, u"SYSDBA"_s, u"-password"_s, u"x"_s, u"-q"_s,
                              sb.file(AppPaths::DatabaseFileName)});
    QVERIFY(isql.waitForStarted());
    isql.write("select 'count=' || count(*) from SUDIJA where PREZIME = 'Held';\n");
    isql.closeWriteChannel();
    QVERIFY(isql.waitForFinished(30000));
    const QString output = QString::fromUtf8(isql.readAllStandardOutput() + isql.readAllStandardError());
    QVERIFY2(output.contains(u"count=1"_s), qPrintable(output));
    // The program's own connection still works afterwards.
    QCOMPARE(db.scalar(u"select count(*) from SUDIJA"_s).toInt(), 1);
}

void TestDatabaseModule::unreadableTableStopsOpeningAtIt()
{
    Sandbox sb;
    sb.dm().CloseAllDataSets(); // open table objects hold the table
    sb.dm().db().executeDefinition(u"drop table DELEGAT"_s);
    sb.closeDm();
    RecordingMessenger messages;
    Tdm module(sb.options());
    QVERIFY(module.Start());
    // tRef and tTra open; tDel (the third table object) fails and nothing after it opens.
    QCOMPARE(messages.texts(), QStringList{u"Problem with Open Table (table index 2)!"_s});
    QVERIFY(module.tables()[0].isOpen());
    QVERIFY(module.tables()[1].isOpen());
    for (size_t i = 2; i < module.tables().size(); ++i)
        QVERIFY2(!module.tables()[i].isOpen(), qPrintable(module.tables()[i].name()));
}

void TestDatabaseModule::matchStarted_data()
{
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("period");
    QTest::addColumn<bool>("started");
    QTest::newRow("first minute of the match") << 10 << 1 << false;
    QTest::newRow("clock running") << 9 << 1 << true;
    QTest::newRow("second quarter not yet running") << 10 << 2 << true;
    QTest::newRow("overtime") << 5 << 5 << true;
}

void TestDatabaseModule::matchStarted()
{
    QFETCH(int, minute);
    QFETCH(int, period);
    QFETCH(bool, started);
    Sandbox sb;
    auto &module = sb.dm();
    QVERIFY(!module.MatchStarted()); // no clock row yet
    module.db().execute(u"insert into TEMP (VREME, PERIOD, KRAJ, PERIOD_NO, PERIOD_TIME, EXTRA_TIME, A4) "
                        "values (?, ?, 0, 4, 10, 5, 0)"_s,
                        {minute, period});
    QCOMPARE(module.MatchStarted(), started);
}

void TestDatabaseModule::jumpBall()
{
    Sandbox sb;
    auto &module = sb.dm();
    QCOMPARE(module.GetJumpBall(77), -1); // no such match
    module.db().execute(u"insert into UTAKMICA (ID_UTAKMICA, ID_LIGA, ID_KLUB1, ID_KLUB2) values (77, 1, 1, 2)"_s);
    QCOMPARE(module.GetJumpBall(77), -1); // not set yet
    module.SetJumpBall(77, 2);
    QCOMPARE(module.GetJumpBall(77), 2);
    module.SetJumpBall(77, 1);
    QCOMPARE(module.GetJumpBall(77), 1);
}

void TestDatabaseModule::lookupAndCalculatedFields()
{
    Sandbox sb;
    auto &module = sb.dm();
    auto &db = module.db();
    db.execute(u"insert into LIGA (ID_LIGA, NAZIV, LIGTUR) values (3, 'Prva liga', 1)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (10, 'Crvena zvezda', 3)"_s);
    db.execute(u"insert into KLUB (ID_KLUB, NAZIV, ID_LIGA) values (11, 'Partizan', 3)"_s);
    db.execute(u"insert into IGRAC (ID_IGRAC, PREZIME, IME, ID_KLUB, ID_POZ) values (1, 'Đorđević', 'Aleksandar', 10, 1)"_s);
    db.execute(u"insert into TRENER (ID_TRENER, PREZIME, ID_KLUB, ID_POL) values (1, 'Obradović', 11, 1)"_s);
    db.execute(u"insert into UTAKMICA (ID_UTAKMICA, ID_LIGA, ID_KLUB1, ID_KLUB2) values (1, 3, 10, 11)"_s);

    const auto player = module.table(u"tPla"_s).rows(db).value(0);
    QCOMPARE(player.value(u"TEAMNAME"_s).toString(), u"Crvena zvezda"_s);
    QCOMPARE(player.value(u"POSNAME"_s).toString(),
             db.scalar(u"select POZICIJA from POZICIJA where ID_POZ = 1"_s).toString());
    const auto coach = module.table(u"tTra"_s).rows(db).value(0);
    QCOMPARE(coach.value(u"TEAMNAME"_s).toString(), u"Partizan"_s);
    QCOMPARE(coach.value(u"FullName"_s).toString(), u"Obradović"_s);
    QVERIFY(!coach.value(u"POSNAME"_s).toString().isEmpty());
    const auto clubs = module.table(u"tTea"_s).rows(db);
    QCOMPARE(clubs.size(), 2);
    QCOMPARE(clubs.value(0).value(u"LEANAME"_s).toString(), u"Prva liga"_s);
    const auto match = module.table(u"tMatch"_s).rows(db).value(0);
    QCOMPARE(match.value(u"KLUB1"_s).toString(), u"Crvena zvezda"_s);
    QCOMPARE(match.value(u"KLUB2"_s).toString(), u"Partizan"_s);
    QCOMPARE(match.value(u"LIGA"_s).toString(), u"Prva liga"_s);
}

void TestDatabaseModule::fullName_data()
{
    QTest::addColumn<QVariant>("first");
    QTest::addColumn<QVariant>("last");
    QTest::addColumn<QString>("full");
    QTest::newRow("both") << QVariant(u"Dušan"_s) << QVariant(u"Ivković"_s) << u"Dušan Ivković"_s;
    QTest::newRow("surname only") << QVariant() << QVariant(u"Ivković"_s) << u"Ivković"_s;
    QTest::newRow("first name only") << QVariant(u"Dušan"_s) << QVariant() << u"Dušan"_s;
    QTest::newRow("neither") << QVariant() << QVariant() << QString();
}

void TestDatabaseModule::fullName()
{
    QFETCH(QVariant, first);
    QFETCH(QVariant, last);
    QFETCH(QString, full);
    QCOMPARE(FullName(first, last), full);
}

void TestDatabaseModule::actionCodesLoadedAtStart()
{
    Sandbox sb;
    sb.dm();
    const TActions &codes = ActionCodes();
    for (int slot = 0; slot <= 22; ++slot)
        QCOMPARE(codes.CodeAt(slot), slot);
    for (int slot = 23; slot < TActions::SlotCount; ++slot)
        QCOMPARE(codes.CodeAt(slot), 0);
    QCOMPARE(codes.CodeAt(27), -1);
    for (int slot = 0; slot < TActions::SlotCount; ++slot)
        QCOMPARE(codes.NeedsParameter(slot), QList<int>({6, 7, 8, 9, 14, 15, 17, 18}).contains(slot));
}

void TestDatabaseModule::findCode_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<bool>("found");
    QTest::newRow("made two") << 6 << true;
    QTest::newRow("exit without changes") << 21 << true;
    QTest::newRow("match finish") << 22 << true;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("minute change is not a code-box code") << 3 << false;
    QTest::newRow("team offence") << 31 << false;
    QTest::newRow("unknown") << 99 << false;
}

void TestDatabaseModule::findCode()
{
    QFETCH(int, typed);
    QFETCH(bool, found);
    Sandbox sb;
    sb.dm();
    int slot = typed;
    QCOMPARE(ActionCodes().FindCode(slot), found);
    QCOMPARE(slot, typed); // codes sit in the slot of the same number
}

void TestDatabaseModule::missingActionCodeStopsStart()
{
    Sandbox sb;
    sb.dm().db().execute(u"delete from AKCIJA where SIFRA = 32"_s);
    sb.closeDm();
    RecordingMessenger messages;
    Tdm module(sb.options());
    QVERIFY(!module.Start());
    QCOMPARE(messages.texts(), QStringList{u"Error in Actions Data in DataBase!!!"_s});
}

void TestDatabaseModule::scriptSplitting()
{
    const QString script = u"-- a comment; with a terminator\n"
                           "create table A (X integer);\n"
                           "insert into A values (1); /* ; */ insert into B values ('x;y', \"q;\");\n"
                           "set term ^ ;\n"
                           "create trigger T for A before insert as begin new.X = 1; end^\n"
                           "SET TERM ; ^\n"
                           "commit_like_statement;"_s;
    const QStringList statements = fb::SplitScript(script);
    QCOMPARE(statements.size(), 5);
    QCOMPARE(statements[0], u"create table A (X integer)"_s);
    QCOMPARE(statements[2], u"insert into B values ('x;y', \"q;\")"_s);
    QCOMPARE(statements[3], u"create trigger T for A before insert as begin new.X = 1; end"_s);
    QCOMPARE(statements[4], u"commit_like_statement"_s);
}

QTEST_GUILESS_MAIN(TestDatabaseModule)
#include "test_database.moc"
