// Several desks key their matches into one database at once, each desk a
// process with a data directory of its own: on a Firebird server and on one
// embedded file. Every match must come out exactly as it does when keyed
// alone into an empty database.
#include "common/AppPaths.h"
#include "data/DataModule.h"
#include "data/FbClient.h"
#include "data/FbService.h"
#include "support/MatchFixtures.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int Desks = 4;

// What a desk's keying left: what the replay printed of the match and the
// match's rows.
struct Keyed
{
    QString summary;
    QStringList tables;
};

// One desk: `quintara --replay` in a data directory of its own, on the
// database `location` (its own when empty).
struct Desk
{
    QTemporaryDir home;
    QProcess program;

    void start(const QString &script, const QString &location)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUINTARA_HOME"_s, home.path());
        environment.remove(u"FIREBIRD"_s);
        environment.remove(u"FIREBIRD_LOCK"_s);
        environment.remove(u"FIREBIRD_TMP"_s);
        if (location.isEmpty())
            environment.remove(u"QUINTARA_DATABASE"_s);
        else
            environment.insert(u"QUINTARA_DATABASE"_s, location);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUINTARA_PROGRAM), {u"--lenient"_s, u"--replay"_s, script});
    }

    // What it printed of the match (the entries it refused, the closing
    // summary) and the number of the match it keyed (its journal is named
    // after it); empty when it did not key the match through.
    std::pair<QString, int> finish()
    {
        if (!program.waitForFinished(600000) || program.exitStatus() != QProcess::NormalExit) {
            qWarning("desk did not end: %s", program.readAllStandardError().constData());
            return {};
        }
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        const QStringList errors = QString::fromUtf8(program.readAllStandardError()).split(u'\n');
        const qsizetype from = out.indexOf(u"Final score"_s), to = out.indexOf(u"\nJournal: "_s);
        if (from < 0 || to < from) {
            qWarning("desk failed: %s", qPrintable(errors.join(u'\n')));
            return {};
        }
        // "Journal: .../journal-N.qms"
        const QString journal = QFileInfo(out.mid(to + 10).trimmed()).completeBaseName();
        const int match = journal.mid(8).toInt();
        return {errors.filter(u": refused: "_s).join(u'\n') + out.mid(from, to - from), match};
    }
};

} // namespace

class TestDesksAtOnce : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fourDesksOnOneServerDatabase();
    void fourDesksOnOneEmbeddedFile();

private:
    // Keys the four scripts at once into `location`, a database the desks
    // share, and checks every match against its keying alone.
    void keyAtOnce(const QString &location, const fb::Credentials &credentials);

    QTemporaryDir scripts_;
    QStringList scriptFiles_;
    std::array<Keyed, Desks> alone_;
};

void TestDesksAtOnce::initTestCase()
{
    TestDatabase::prepareEngine();
    QStringList texts;
    QFile example(QStringLiteral(QUINTARA_EXAMPLE_MATCH));
    QVERIFY(example.open(QIODevice::ReadOnly));
    texts << QString::fromUtf8(example.readAll());
    for (quint32 seed : {11u, 22u, 33u})
        texts << RandomMatchScript(seed);
    for (int i = 0; i < Desks; ++i) {
        scriptFiles_ << scripts_.filePath(u"match-%1.qms"_s.arg(i + 1));
        QFile file(scriptFiles_.last());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(texts[i].toUtf8()) > 0);
    }

    // Each match alone, in an empty database of its own.
    std::array<Desk, Desks> desks;
    for (int i = 0; i < Desks; ++i)
        desks[size_t(i)].start(scriptFiles_[i], QString());
    for (int i = 0; i < Desks; ++i) {
        auto &desk = desks[size_t(i)];
        const auto [summary, match] = desk.finish();
        QVERIFY2(!summary.isEmpty(), qPrintable(scriptFiles_[i]));
        const auto db = fb::Connection::attach(QDir(desk.home.path()).filePath(AppPaths::DatabaseFileName), {});
        alone_[size_t(i)] = {summary, MatchTables(*db, match, true, false)};
        db->commit();
        QVERIFY(alone_[size_t(i)].tables.filter(u"DTT:"_s).size() > 100);
    }
}

void TestDesksAtOnce::keyAtOnce(const QString &location, const fb::Credentials &credentials)
{
    std::array<Desk, Desks> desks;
    for (int i = 0; i < Desks; ++i)
        desks[size_t(i)].start(scriptFiles_[i], location);
    std::array<int, Desks> matches{};
    for (int i = 0; i < Desks; ++i) {
        const auto [summary, match] = desks[size_t(i)].finish();
        QVERIFY2(!summary.isEmpty(), qPrintable(scriptFiles_[i]));
        QCOMPARE(summary, alone_[size_t(i)].summary);
        matches[size_t(i)] = match;
    }
    const auto db = fb::Connection::attach(location, credentials);
    for (int i = 0; i < Desks; ++i)
        QCOMPARE(MatchTables(*db, matches[size_t(i)], true, false), alone_[size_t(i)].tables);
    // Every desk gave its match back.
    QCOMPARE(db->scalar(u"select count(*) from MATCH_DESKS"_s).toInt(), 0);
    db->commit();
}

void TestDesksAtOnce::fourDesksOnOneServerDatabase()
try {
    const QString server = qEnvironmentVariable("QUINTARA_TEST_SERVER"); // "localhost/PORT:DIR"
    QVERIFY2(!server.isEmpty(), "the test_server fixture names the server");
    // The league's first database: the template, restored onto the server.
    Sandbox sb;
    const fb::Credentials localCredentials = sb.dm().db().credentials();
    sb.closeDm();
    const QString backup = sb.file(u"first.gbk"_s);
    fb::Service::backup(sb.options().databaseLocation, backup, localCredentials);
    const QString onServer = server + u"/desks-%1.fdb"_s.arg(QCoreApplication::applicationPid());
    const fb::Credentials credentials{u"SYSDBA"_s, Tdm::PasswordCandidates.first()};
    fb::Service::restore(backup, onServer, credentials);
    keyAtOnce(onServer, credentials);
} catch (const fb::Error &e) {
    QFAIL(e.what());
}

void TestDesksAtOnce::fourDesksOnOneEmbeddedFile()
try {
    Sandbox sb;
    const fb::Credentials credentials = sb.dm().db().credentials();
    sb.closeDm();
    // The desks share the file and the engine's locks beside it.
    keyAtOnce(sb.options().databaseLocation, credentials);
} catch (const fb::Error &e) {
    QFAIL(e.what());
}

QTEST_GUILESS_MAIN(TestDesksAtOnce)
#include "test_desks_at_once.moc"
