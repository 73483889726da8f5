#include "publish/ServeCommand.h"

#include "data/FbClient.h"
#include "publish/LivePage.h"
#include "publish/LiveServer.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

namespace {

// What changes whenever an event is recorded, withdrawn or corrected: one
// cheap read of the match's event records.
QList<QVariant> EventsState(fb::Connection &db, int match)
{
    fb::Query q(db, QStringLiteral("SELECT COUNT(*), MAX(RBACTION), SUM(RES), SUM(PAR1), SUM(NODR), SUM(PAR2) "
                                   "FROM DTT WHERE IDM = ?"));
    q.exec({match});
    QList<QVariant> state;
    if (q.next())
        for (int i = 0; i < q.columnCount(); ++i)
            state << q.value(i);
    // Each look is a fresh view of what others have committed.
    db.commit();
    return state;
}

} // namespace

int ServeCommand(fb::Connection &db, const QString &matchId, const QString &directory, QTextStream &out,
                 QTextStream &errors)
{
    int match = 0;
    try {
        bool isNumber = true;
        match = matchId.isEmpty() ? db.scalar(QStringLiteral("SELECT MAX(ID_UTAKMICA) FROM UTAKMICA")).toInt()
                                  : matchId.toInt(&isNumber);
        if (!isNumber || match < 1) {
            errors << (matchId.isEmpty() ? QStringLiteral("--serve: no match is stored yet\n")
                                         : QStringLiteral("--serve: the match number is \"%1\"\n").arg(matchId));
            return 2;
        }
        LivePageBuilder(db).build(match); // an unknown match ends here
    } catch (const std::exception &e) {
        errors << "--serve: match " << match << ": " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    LiveServer *server = StartLiveServer(directory, nullptr);
    if (!server) {
        errors << "--serve: the web server is not listening (QUINTARA_LIVE_LISTEN)\n";
        return 1;
    }
    const std::unique_ptr<LiveServer> owned(server);
    out << "Serving match " << match << " on port " << server->port() << "; Ctrl+C ends.\n";
    out.flush();

    QList<QVariant> seen;
    bool failing = false;
    const auto follow = [&] {
        try {
            const QList<QVariant> now = EventsState(db, match);
            if (now == seen)
                return;
            server->publish(LivePageBytes(LivePageBuilder(db).build(match)));
            seen = now;
            failing = false;
        } catch (const std::exception &e) {
            // Said once; the next look tries again.
            if (!failing)
                errors << "--serve: match " << match << ": " << QString::fromUtf8(e.what()) << '\n';
            errors.flush();
            failing = true;
        }
    };
    follow();
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, follow);
    look.start(1000);
    QCoreApplication::exec();
    out << "Stopped serving match " << match << ".\n";
    return 0;
}
