#include "publish/ServeCommand.h"

#include "data/FbClient.h"
#include "publish/LivePage.h"
#include "publish/LiveServer.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace {

int NewestMatch(fb::Connection &db)
{
    return db.scalar(QStringLiteral("SELECT MAX(ID_UTAKMICA) FROM UTAKMICA")).toInt();
}

// What changes whenever an event is recorded, withdrawn or corrected: one
// cheap read of the match's event records.
QList<QVariant> EventsState(fb::Connection &db, int match)
{
    fb::Query q(db, QStringLiteral("SELECT COUNT(*), MAX(RBACTION), SUM(RES), SUM(PAR1), SUM(NODR), SUM(PAR2) "
                                   "FROM DTT WHERE IDM = ?"));
    q.exec({match});
    QList<QVariant> state{match};
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            state << q.value(i);
    return state;
}

} // namespace

int ServeCommand(fb::Connection &db, const QString &matchId, const QString &directory, QTextStream &out,
                 QTextStream &errors)
{
    // Without a number the newest match is served, and a match begun later takes its place.
    const bool newest = matchId.isEmpty();
    bool isNumber = true;
    const int chosen = newest ? 0 : matchId.toInt(&isNumber);
    if (!isNumber || (!newest && chosen < 1)) {
        errors << QStringLiteral("--serve: the match number is \"%1\"\n").arg(matchId);
        return 2;
    }
    if (!newest) {
        try {
            LivePageBuilder(db).build(chosen); // an unknown match ends here
        } catch (const std::exception &e) {
            errors << "--serve: match " << chosen << ": " << QString::fromUtf8(e.what()) << '\n';
            return 1;
        }
    }
    const std::unique_ptr<LiveServer> server(StartLiveServer(directory, nullptr));
    if (!server) {
        errors << "--serve: the web server is not listening (QUINTARA_LIVE_LISTEN)\n";
        return 1;
    }
    out << "Serving " << (newest ? QStringLiteral("the newest match") : QStringLiteral("match %1").arg(chosen))
        << " on port " << server->port() << "; Ctrl+C ends.\n";
    out.flush();

    QList<QVariant> seen;
    bool failing = false;
    const auto follow = [&] {
        try {
            const int match = newest ? NewestMatch(db) : chosen;
            const QList<QVariant> now = match > 0 ? EventsState(db, match) : QList<QVariant>();
            if (now != seen && match > 0)
                server->publish(LivePageBytes(LivePageBuilder(db).build(match)));
            seen = now;
            failing = false;
            // Each look is a fresh view of what the statisticians have committed.
            db.commit();
        } catch (const std::exception &e) {
            // Said once; the next look tries again.
            if (!failing)
                errors << "--serve: " << QString::fromUtf8(e.what()) << '\n';
            errors.flush();
            failing = true;
        }
    };
    follow();
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, follow);
    look.start(1000);
    QCoreApplication::exec();
    out << "Stopped serving.\n";
    return 0;
}
