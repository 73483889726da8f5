// Two desks on one database: each is a data module with its own connection,
// as two processes would have. The second desk's work is held open by hand
// (an insert or update not yet committed) to stand for a desk caught in the
// middle of its post; a helper thread ends it while the first desk retries.
#include "data/FbClient.h"
#include "data/RosterStore.h"
#include "data/SchemaInstaller.h"
#include "setup/RefBrowserLogic.h"
#include "setup/RosterEditor.h"
#include "support/RecordingMessenger.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;
using Command = RefBrowserLogic::Command;

Q_DECLARE_METATYPE(BrowserKind)

namespace {

// What the holding desk does with its open work once the other desk is retrying.
enum class Ending { Commit, Rollback, Never };

// Ends `db`'s open work from another thread after a pause, while this thread retries.
class LateEnding
{
public:
    LateEnding(fb::Connection &db, Ending ending) : db_(db), ending_(ending)
    {
        if (ending_ != Ending::Never)
            thread_ = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(150));
                end();
            });
    }
    ~LateEnding()
    {
        if (thread_.joinable())
            thread_.join();
        else
            db_.rollback();
    }

private:
    void end() { ending_ == Ending::Commit ? db_.commit() : db_.rollback(); }

    fb::Connection &db_;
    Ending ending_;
    std::thread thread_;
};

struct TwoDesks
{
    TwoDesks() : other(sb.options())
    {
        ok = other.Start();
        league1 = addLeague(u"First League"_s);
        league2 = addLeague(u"Second League"_s);
        club1 = addClub(u"Partizan"_s, league1);
        club2 = addClub(u"Zvezda"_s, league1);
        sb.dm().db().commitRetaining();
    }
    fb::Connection &db() { return sb.dm().db(); }
    int addLeague(const QString &name)
    {
        return db().scalar(u"insert into LIGA (NAZIV, LIGTUR) values (?, 1) returning ID_LIGA"_s, {name}).toInt();
    }
    int addClub(const QString &name, int league)
    {
        return db().scalar(u"insert into KLUB (NAZIV, ID_LIGA) values (?, ?) returning ID_KLUB"_s, {name, league})
            .toInt();
    }
    int count(const QString &sql, const QVariantList &params)
    {
        db().commitRetaining(); // read what the other desk has committed since
        return db().scalar(sql, params).toInt();
    }

    Sandbox sb;
    Tdm other; // the second desk
    bool ok = false;
    int league1 = 0, league2 = 0, club1 = 0, club2 = 0;
};

// Types the given values into a new row of `logic` and posts it.
bool postNew(RefBrowserLogic &logic, const QVariantMap &values)
{
    if (!logic.Run(Command::Insert))
        return false;
    for (auto it = values.begin(); it != values.end(); ++it)
        logic.SetValue(it.key(), it.value());
    return logic.Run(Command::Post);
}

} // namespace

class TestSharedDesks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestDatabase::prepareEngine(); }

    // A name typed again (other case, outer spaces) is refused in plain words;
    // the same name elsewhere in its scope is fine.
    void typedDuplicateIsRefused_data()
    {
        QTest::addColumn<BrowserKind>("kind");
        QTest::addColumn<QVariantMap>("first");
        QTest::addColumn<QVariantMap>("second");
        QTest::addColumn<QString>("refusal"); // empty: the second row is stored
        const QVariantMap player{{u"PREZIME"_s, u"Jokić"_s}, {u"IME"_s, u"Nikola"_s}, {u"ID_KLUB"_s, -1}};
        QTest::newRow("league, other case") << BrowserKind::Leagues << QVariantMap{{u"NAZIV"_s, u"ABA Liga"_s}, {u"LIGTUR"_s, 1}}
                                            << QVariantMap{{u"NAZIV"_s, u" aba liga"_s}, {u"LIGTUR"_s, 2}}
                                            << u"The LEAGUE \"aba liga\" is already stored."_s;
        QTest::newRow("club, same league") << BrowserKind::Teams << QVariantMap{{u"NAZIV"_s, u"Borac"_s}, {u"ID_LIGA"_s, -1}}
                                           << QVariantMap{{u"NAZIV"_s, u"BORAC "_s}, {u"ID_LIGA"_s, -1}}
                                           << u"The TEAM \"BORAC\" is already stored in this league."_s;
        QTest::newRow("club, other league") << BrowserKind::Teams << QVariantMap{{u"NAZIV"_s, u"Borac"_s}, {u"ID_LIGA"_s, -1}}
                                            << QVariantMap{{u"NAZIV"_s, u"Borac"_s}, {u"ID_LIGA"_s, -2}} << QString();
        QTest::newRow("player, same club") << BrowserKind::Players << player
                                           << QVariantMap{{u"PREZIME"_s, u"JOKIĆ"_s}, {u"IME"_s, u"nikola"_s}, {u"ID_KLUB"_s, -1}}
                                           << u"The PLAYER \"JOKIĆ nikola\" is already stored in this team."_s;
        QTest::newRow("player, other club") << BrowserKind::Players << player
                                            << QVariantMap{{u"PREZIME"_s, u"Jokić"_s}, {u"IME"_s, u"Nikola"_s}, {u"ID_KLUB"_s, -2}}
                                            << QString();
    }
    void typedDuplicateIsRefused()
    {
        QFETCH(BrowserKind, kind);
        QFETCH(QVariantMap, first);
        QFETCH(QVariantMap, second);
        QFETCH(QString, refusal);
        TwoDesks desks;
        QVERIFY(desks.ok);
        // -1 and -2 stand for the first and second league or club of the fixture.
        auto resolve = [&](QVariantMap values) {
            for (auto it = values.begin(); it != values.end(); ++it) {
                if (it.key() == u"ID_LIGA"_s)
                    *it = it->toInt() == -1 ? desks.league1 : desks.league2;
                if (it.key() == u"ID_KLUB"_s)
                    *it = it->toInt() == -1 ? desks.club1 : desks.club2;
            }
            return values;
        };
        RecordingMessenger messages;
        RefBrowserLogic here(kind, desks.sb.dm()), there(kind, desks.other);
        here.Open();
        there.Open();
        QVERIFY(postNew(here, resolve(first)));
        QCOMPARE(postNew(there, resolve(second)), refusal.isEmpty());
        QCOMPARE(messages.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        if (!refusal.isEmpty())
            QCOMPARE(there.table().state(), DataSetState::Insert); // left for the user to correct
        const QString column = here.member().uniqueName->columns.first();
        QCOMPARE(desks.count(u"select count(*) from %1 where upper(trim(%2)) = upper(trim(cast(? as varchar(26))))"_s
                                 .arg(here.table().tableName(), column),
                             {first.value(column)}),
                 refusal.isEmpty() ? 2 : 1);
    }

    // Two desks post one name at the same moment: the other desk's post is
    // still open when this desk posts. This desk retries until that post
    // ends, then stores its row or refuses it plainly; never two rows. A
    // club's name has an index behind it, a player's only the turn the
    // desks take at his club.
    void simultaneousNameIsStoredOnce_data()
    {
        QTest::addColumn<BrowserKind>("kind");
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("club, other desk commits")
            << BrowserKind::Teams << Ending::Commit << u"The TEAM \"Borac\" is already stored in this league."_s;
        QTest::newRow("club, other desk cancels") << BrowserKind::Teams << Ending::Rollback << QString();
        QTest::newRow("player, other desk commits") << BrowserKind::Players << Ending::Commit
                                                    << u"The PLAYER \"Borac Ivo\" is already stored in this team."_s;
        QTest::newRow("player, other desk cancels") << BrowserKind::Players << Ending::Rollback << QString();
    }
    void simultaneousNameIsStoredOnce()
    {
        QFETCH(BrowserKind, kind);
        QFETCH(Ending, ending);
        QFETCH(QString, refusal);
        TwoDesks desks;
        QVERIFY(desks.ok);
        RecordingMessenger messages;
        RefBrowserLogic here(kind, desks.sb.dm());
        here.Open();
        QVERIFY(here.Run(Command::Insert));
        const bool club = kind == BrowserKind::Teams;
        auto &other = desks.other.db();
        QString count;
        if (club) {
            here.SetValue(u"NAZIV"_s, u"Borac"_s);
            here.SetValue(u"ID_LIGA"_s, desks.league1);
            other.execute(u"update LIGA set ID_LIGA = ID_LIGA where ID_LIGA = ?"_s, {desks.league1});
            other.execute(u"insert into KLUB (NAZIV, ID_LIGA) values ('BORAC', ?)"_s, {desks.league1});
            count = u"select count(*) from KLUB where upper(NAZIV) = 'BORAC'"_s;
        } else {
            here.SetValue(u"PREZIME"_s, u"Borac"_s);
            here.SetValue(u"IME"_s, u"Ivo"_s);
            here.SetValue(u"ID_KLUB"_s, desks.club1);
            // The other desk's post, halfway: its club held, its row written.
            other.execute(u"update KLUB set ID_KLUB = ID_KLUB where ID_KLUB = ?"_s, {desks.club1});
            other.execute(u"insert into IGRAC (PREZIME, IME, ID_KLUB) values ('Borac', 'Ivo', ?)"_s, {desks.club1});
            count = u"select count(*) from IGRAC where PREZIME = 'Borac'"_s;
        }
        {
            LateEnding late(other, ending);
            QCOMPARE(here.Run(Command::Post), refusal.isEmpty());
        }
        QCOMPARE(messages.texts(), refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(desks.count(count, {}), 1);
    }

    // An edit of a row another desk is changing waits for that change and
    // then wins; a change that never ends is refused plainly and the edit is
    // kept for a later post.
    void conflictingEditIsRetried_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::newRow("other desk commits") << Ending::Commit;
        QTest::newRow("other desk holds the row") << Ending::Never;
    }
    void conflictingEditIsRetried()
    {
        QFETCH(Ending, ending);
        TwoDesks desks;
        QVERIFY(desks.ok);
        RecordingMessenger messages;
        RefBrowserLogic here(BrowserKind::Teams, desks.sb.dm());
        here.Open();
        QVERIFY(here.MoveTo(here.table().rowOf(desks.club1)));
        here.SetValue(u"EBR"_s, u"here"_s);
        desks.other.db().execute(u"update KLUB set EBR = 'there' where ID_KLUB = ?"_s, {desks.club1});
        {
            LateEnding late(desks.other.db(), ending);
            QCOMPARE(here.Run(Command::Post), ending == Ending::Commit);
        }
        if (ending == Ending::Never) {
            QCOMPARE(messages.texts(),
                     QStringList{u"The TEAM can not be saved now: another desk is changing it. Please try again."_s});
            QCOMPARE(here.table().state(), DataSetState::Edit);
            QVERIFY(here.Run(Command::Post)); // the other desk has let go
        }
        QCOMPARE(desks.other.db().scalar(u"select EBR from KLUB where ID_KLUB = ?"_s, {desks.club1}).toString(),
                 u"here"_s);
    }

    // An edit of a row another desk has deleted meanwhile is refused, not lost in silence.
    void editOfADeletedRowIsRefused()
    {
        TwoDesks desks;
        QVERIFY(desks.ok);
        RecordingMessenger messages;
        RefBrowserLogic here(BrowserKind::Teams, desks.sb.dm());
        here.Open();
        QVERIFY(here.MoveTo(here.table().rowOf(desks.club2)));
        desks.other.db().execute(u"delete from KLUB where ID_KLUB = ?"_s, {desks.club2});
        desks.other.db().commit();
        here.SetValue(u"EBR"_s, u"here"_s);
        QVERIFY(!here.Run(Command::Post));
        QCOMPARE(messages.texts(), QStringList{u"The TEAM can not be saved:\nIt has been deleted at another desk."_s});
        QCOMPARE(here.table().state(), DataSetState::Edit);
    }

    // The name indexes reach a database made before them; a table that
    // already repeats a name keeps its rows and goes without its index.
    void nameIndexesSpareStoredRepeats_data()
    {
        QTest::addColumn<QString>("repeat"); // statement run twice before the upgrade
        QTest::addColumn<QStringList>("indexes");
        const QString league = u"LIGA_NAZIV_NOCASE"_s, club = u"KLUB_LIGA_NAZIV_NOCASE"_s;
        QTest::newRow("no repeats") << QString() << QStringList{club, league};
        QTest::newRow("club repeated in its league, other case")
            << u"insert into KLUB (NAZIV, ID_LIGA) select first 1 'Borac', ID_LIGA from LIGA"_s
            << QStringList{league};
        QTest::newRow("clubs without a league") << u"insert into KLUB (NAZIV) values ('Borac')"_s
                                                << QStringList{club, league};
    }
    void nameIndexesSpareStoredRepeats()
    {
        QFETCH(QString, repeat);
        QFETCH(QStringList, indexes);
        TwoDesks desks;
        QVERIFY(desks.ok);
        fb::Connection &db = desks.db();
        db.commit();
        db.forgetPrepared();
        const QString indexNames = u"select trim(RDB$INDEX_NAME) from RDB$INDICES where trim(RDB$INDEX_NAME) like '%NOCASE' "
                                   "order by RDB$INDEX_NAME"_s;
        for (const QString &name : {u"LIGA_NAZIV_NOCASE"_s, u"KLUB_LIGA_NAZIV_NOCASE"_s})
            db.executeDefinition(u"drop index "_s + name);
        db.execute(u"delete from SCHEMA_SCRIPTS where NAME = '006_unique_names.sql'"_s);
        if (!repeat.isEmpty()) {
            db.execute(repeat);
            db.execute(QString(repeat).replace(u"'Borac'"_s, u"' BORAC'"_s));
        }
        db.commit();
        SchemaInstaller(db).upgrade();
        QStringList made;
        fb::Query query(db, indexNames);
        query.exec();
        while (query.next())
            made << query.value(0).toString();
        QCOMPARE(made, indexes);
    }

    // One desk adds to a match roster while another reads it: the reader is
    // never held up, sees the row once it is committed, and rows two desks
    // add at once are all kept; the roster's save outlasts a moment's hold
    // on the match row.
    void rosterIsSharedWhileWritten()
    {
        TwoDesks desks;
        QVERIFY(desks.ok);
        fb::Connection &a = desks.db();
        fb::Connection &b = desks.other.db();
        const int match = a.scalar(u"insert into UTAKMICA (ID_LIGA, ID_KLUB1, ID_KLUB2) values (?, ?, ?) "
                                   "returning ID_UTAKMICA"_s,
                                   {desks.league1, desks.club1, desks.club2})
                              .toInt();
        QList<int> players;
        for (const QString &surname : {u"Alpha"_s, u"Beta"_s})
            players << a.scalar(u"insert into IGRAC (PREZIME, IME, ID_KLUB) values (?, 'X', ?) returning ID_IGRAC"_s,
                                {surname, desks.club1})
                           .toInt();
        a.commitRetaining();
        RosterStore writer(a, match, Side::Home()), reader(b, match, Side::Home());

        writer.Add(players[0], 4);
        QVERIFY(reader.Entries().isEmpty()); // not committed yet, and no wait
        reader.Add(players[1], 5);           // the reader adds too, at the same time
        a.commitRetaining();
        b.commitRetaining();
        for (RosterStore *store : {&writer, &reader}) {
            QList<int> numbers;
            for (const RosterStore::Entry &entry : store->Entries())
                numbers << entry.number;
            std::sort(numbers.begin(), numbers.end());
            QCOMPARE(numbers, (QList<int>{4, 5}));
        }

        // The roster dialog's save waits for a desk that is writing the match row.
        RosterEditor editor(a, match, 1);
        for (RosterEditor::Row &row : editor.rows)
            if (row.playerId == players[1])
                row.number = 7;
        b.execute(u"update UTAKMICA set JUMPBAL = 2 where ID_UTAKMICA = ?"_s, {match});
        {
            RecordingMessenger messages;
            LateEnding late(b, Ending::Commit);
            QVERIFY2(editor.Apply(), qPrintable(messages.texts().join(u'\n')));
        }
        QList<int> numbers;
        for (const RosterStore::Entry &entry : reader.Entries())
            numbers << entry.number;
        std::sort(numbers.begin(), numbers.end());
        QCOMPARE(numbers, (QList<int>{4, 7}));
    }
};

QTEST_MAIN(TestSharedDesks)
#include "test_shared_desks.moc"
