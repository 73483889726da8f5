#include "data/MatchDesk.h"

#include "data/FbClient.h"

#include <QCoreApplication>
#include <QSysInfo>

MatchDesk::~MatchDesk()
{
    try {
        Release();
    } catch (const fb::Error &) {
        // The connection is gone: so is its claim.
    }
}

bool MatchDesk::Claim(int match)
{
    Release();
    holder_.clear();
    if (insertClaim(match) || (holderIsGone(match) && insertClaim(match))) {
        claimed_ = match;
        return true;
    }
    return false;
}

void MatchDesk::Release()
{
    if (claimed_ == 0)
        return;
    const int match = claimed_;
    claimed_ = 0;
    db_.execute(QStringLiteral("delete from MATCH_DESKS where ID_UTAKMICA = ? and ATTACHMENT = current_connection"),
                {match});
    db_.commitRetaining();
}

bool MatchDesk::insertClaim(int match)
{
    // This connection's own claim (a console opened again in one program)
    // stays as it is.
    if (db_.scalar(QStringLiteral("select count(*) from MATCH_DESKS "
                                  "where ID_UTAKMICA = ? and ATTACHMENT = current_connection"),
                   {match})
            .toInt() > 0)
        return true;
    try {
        db_.execute(QStringLiteral("insert into MATCH_DESKS (ID_UTAKMICA, ATTACHMENT, COMPUTER, PROCESS, SINCE) "
                                   "values (?, current_connection, ?, ?, current_timestamp)"),
                    {match, QSysInfo::machineHostName().left(100), int(QCoreApplication::applicationPid())});
        db_.commitRetaining();
        return true;
    } catch (const fb::Error &e) {
        db_.rollbackRetaining();
        // Held already, or being claimed this very moment by another desk;
        // any other failure is the caller's to say.
        if (!e.isDuplicateKey() && !e.isConflict())
            throw;
        return false;
    }
}

bool MatchDesk::holderIsGone(int match)
{
    fb::Query row(db_, QStringLiteral("select ATTACHMENT, COMPUTER, PROCESS from MATCH_DESKS where ID_UTAKMICA = ?"));
    row.exec({match});
    if (!row.next()) {
        holder_ = QStringLiteral("another desk");
        return false;
    }
    const QVariant attachment = row.value(0);
    const QString computer = row.value(1).toString();
    const int process = row.value(2).toInt();
    row.close();
    holder_ = computer.isEmpty() || computer == QSysInfo::machineHostName()
                  ? QStringLiteral("process %1 on this computer").arg(process)
                  : QStringLiteral("the computer %1, process %2").arg(computer).arg(process);
    // A monitoring snapshot lasts as long as its transaction: a fresh one
    // sees the connections alive now. Read only here, when a claim is in
    // the way, since monitoring grows the engine's shared memory.
    db_.commit();
    const bool alive = db_.scalar(QStringLiteral("select count(*) from MON$ATTACHMENTS where MON$ATTACHMENT_ID = ?"),
                                  {attachment})
                           .toInt() > 0;
    db_.commit();
    if (alive)
        return false;
    db_.execute(QStringLiteral("delete from MATCH_DESKS where ID_UTAKMICA = ? and ATTACHMENT = ?"), {match, attachment});
    db_.commitRetaining();
    return true;
}
