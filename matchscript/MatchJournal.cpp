#include "matchscript/MatchJournal.h"

#include "common/AppPaths.h"
#include "common/Messenger.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace {

// A person the match names by key; nothing for an empty key or a missing row.
std::optional<ScriptPerson> person(const QVariant &key, PersonName (NameLookups::*lookup)(int), NameLookups &names)
{
    if (key.isNull())
        return std::nullopt;
    const PersonName name = (names.*lookup)(key.toInt());
    if (name.surname.isEmpty())
        return std::nullopt;
    return ScriptPerson{name.surname, name.firstName, name.city};
}

QString rosterKey(int side, int number, const ScriptPerson &p)
{
    return QStringLiteral("%1 %2 %3 %4").arg(side).arg(number).arg(p.surname, p.firstName);
}

} // namespace

ScriptHeader ReadScriptHeader(fb::Connection &db, int matchId)
{
    ScriptHeader h;
    fb::Query match(db, QStringLiteral(
                            "select L.NAZIV, K1.NAZIV, K2.NAZIV, M.ID_TRENER1, M.ID_TRENER2, M.ID_SUDIJA1, M.ID_SUDIJA2, "
                            "M.ID_SUDIJA3, M.ID_DELEGAT, M.ID_STAT1, M.ID_STAT2, M.NAZIV, M.KOLO, M.DATUMVREME, M.GRAD, "
                            "M.MESTO, M.BR_GLEDALACA, M.EXTRA, M.PLAYOFF, M.BOJAD, M.BOJAG "
                            "from UTAKMICA M join LIGA L on L.ID_LIGA = M.ID_LIGA "
                            "join KLUB K1 on K1.ID_KLUB = M.ID_KLUB1 join KLUB K2 on K2.ID_KLUB = M.ID_KLUB2 "
                            "where M.ID_UTAKMICA = ?"));
    match.exec({matchId});
    if (!match.next())
        return h;
    h.league = match.value(0).toString().trimmed();
    h.home = match.value(1).toString().trimmed();
    h.away = match.value(2).toString().trimmed();
    NameLookups names(db);
    for (int side = 0; side < 2; ++side)
        h.coaches[size_t(side)] = person(match.value(3 + side), &NameLookups::CoachName, names);
    for (int i = 0; i < 3; ++i)
        if (const auto referee = person(match.value(5 + i), &NameLookups::RefereeName, names))
            h.referees << *referee;
    h.delegate = person(match.value(8), &NameLookups::DelegateName, names);
    for (int i = 0; i < 2; ++i)
        if (const auto statistician = person(match.value(9 + i), &NameLookups::StatisticianName, names))
            h.statisticians << *statistician;

    auto fact = [&](const char *name, const QVariant &value) {
        if (!value.isNull() && !value.toString().trimmed().isEmpty())
            h.facts.insert(QLatin1String(name), value.toString().trimmed());
    };
    fact("caption", match.value(11));
    fact("round", match.value(12));
    const QDateTime when = match.value(13).toDateTime();
    if (when.isValid()) {
        h.facts.insert(QStringLiteral("date"), when.date().toString(Qt::ISODate));
        h.facts.insert(QStringLiteral("time"), when.time().toString(QStringLiteral("HH:mm")));
    }
    fact("city", match.value(14));
    fact("hall", match.value(15));
    fact("spectators", match.value(16));
    fact("extra", match.value(17));
    fact("playoff", match.value(18));
    if (!match.value(19).isNull() && !match.value(20).isNull())
        h.colors = std::array<int, 2>{match.value(19).toInt(), match.value(20).toInt()};

    // DOMGOST is 1 home, 0 away.
    fb::Query roster(db, QStringLiteral("select S.DOMGOST, S.DRES, I.PREZIME, I.IME from SASTAV S "
                                        "join IGRAC I on I.ID_IGRAC = S.ID_IGRAC "
                                        "where S.ID_UTAKMICA = ? order by S.DOMGOST desc, S.DRES"));
    roster.exec({matchId});
    while (roster.next())
        h.players[roster.value(0).toInt() == 1 ? 0 : 1]
            << ScriptPlayer{roster.value(1).toInt(), {roster.value(2).toString(), roster.value(3).toString(), {}, 0}};
    // The starters are the rules engine's starter events in force.
    fb::Query starters(db, QStringLiteral("select A0, A1 from AKCIJE where ID_UTAKMICA = ? and SIFRA = 2 and UNDO = 0 "
                                          "order by ID_AKCIJE"));
    starters.exec({matchId});
    while (starters.next())
        if (const int side = starters.value(0).toInt(); side == 1 || side == 2)
            h.starters[size_t(side - 1)] << starters.value(1).toInt();
    return h;
}

QString MatchJournal::Directory(const QString &databaseLocation, const QString &dataDirectory)
{
    return AppPaths::isServerLocation(databaseLocation) ? dataDirectory : QFileInfo(databaseLocation).absolutePath();
}

QString MatchJournal::FileName(int matchId) const
{
    return QDir(directory_).filePath(QStringLiteral("journal-%1.qms").arg(matchId));
}

void MatchJournal::Open(int matchId, bool newMatch)
{
    Close();
    match_ = matchId;
    failureShown_ = false;
    headerWritten_ = false;
    unjournaled_ = false;
    roster_.clear();
    waiting_.clear();
    const QString name = FileName(matchId);
    if (newMatch && QFile::exists(name)) {
        // A number used again by a new database: the older journal is kept aside.
        QString aside = name + QStringLiteral(".old");
        for (int n = 2; QFile::exists(aside); ++n)
            aside = name + QStringLiteral(".old%1").arg(n);
        QFile::rename(name, aside);
    }
    file_.setFileName(name);
    if (file_.exists() && file_.size() > 0 && file_.open(QIODevice::ReadOnly)) {
        QByteArray written = file_.readAll();
        file_.close();
        // A line cut short by a crash was never reported as recorded: it goes.
        if (!written.endsWith('\n')) {
            written.truncate(written.lastIndexOf('\n') + 1);
            file_.resize(written.size());
        }
        headerWritten_ = true;
        const auto script = ParseMatchScript(QString::fromUtf8(written));
        if (const auto *read = std::get_if<MatchScript>(&script)) {
            rememberRoster(read->header);
            for (const ScriptEntry &e : read->entries)
                if (e.kind == ScriptEntry::Kind::RosterPlayer)
                    roster_ << rosterKey(e.side, e.number, e.person);
        }
    } else if (!newMatch) {
        unjournaled_ = db_.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ? "
                                                 "and SIFRA not in (1, 2)"),
                                  {matchId})
                           .toInt() > 0;
    }
}

void MatchJournal::Close()
{
    if (!unwritten_.isEmpty())
        write(QString()); // a last try for lines a full disk held back
    unwritten_.clear();
    if (file_.isOpen())
        file_.close();
    match_ = -1;
}

void MatchJournal::rememberRoster(const ScriptHeader &header)
{
    for (int side = 1; side <= 2; ++side)
        for (const ScriptPlayer &p : header.players[size_t(side - 1)])
            roster_ << rosterKey(side, p.number, p.person);
}

void MatchJournal::writeHeader()
{
    const ScriptHeader header = ReadScriptHeader(db_, match_);
    rememberRoster(header);
    QString text = QStringLiteral("# Quintara journal of match %1, begun %2\n")
                       .arg(match_)
                       .arg(QDateTime::currentDateTime().toString(Qt::ISODate)) +
                   ScriptHeaderText(header);
    if (unjournaled_)
        text += QStringLiteral("# the events before this line were recorded without a journal\n");
    headerWritten_ = true; // on the disk now, or with the next line that can be written
    write(text);
}

void MatchJournal::Begin()
{
    if (match_ < 0 || headerWritten_)
        return;
    writeHeader();
    for (const QString &line : std::exchange(waiting_, {}))
        write(line + QLatin1Char('\n'));
}

void MatchJournal::StarterRecorded(int side)
{
    if (match_ < 0)
        return;
    if (!headerWritten_)
        return Begin(); // the header names the starters recorded so far
    QList<int> five;
    fb::Query starters(db_, QStringLiteral("select A1 from AKCIJE where ID_UTAKMICA = ? and A0 = ? and SIFRA = 2 "
                                           "and UNDO = 0 order by ID_AKCIJE"));
    starters.exec({match_, side});
    while (starters.next())
        five << starters.value(0).toInt();
    if (five.size() == 5)
        Append({.kind = ScriptEntry::Kind::Starters, .side = side, .five = five});
}

void MatchJournal::Append(const ScriptEntry &entry)
{
    if (match_ < 0)
        return;
    if (!headerWritten_) {
        // Until the match's first event the colours are the header's, and
        // other choices wait for it.
        const bool begun = db_.scalar(QStringLiteral("select count(*) from AKCIJE where ID_UTAKMICA = ?"), {match_})
                               .toInt() > 0;
        if (!begun) {
            if (entry.kind != ScriptEntry::Kind::Color)
                waiting_ << ScriptLine(entry);
            return;
        }
        Begin();
    }
    if (entry.kind == ScriptEntry::Kind::RosterPlayer)
        roster_ << rosterKey(entry.side, entry.number, entry.person);
    write(ScriptLine(entry) + QLatin1Char('\n'));
}

void MatchJournal::AppendRosterChanges()
{
    if (match_ < 0 || !headerWritten_)
        return; // the header, when it is written, holds the roster
    const ScriptHeader now = ReadScriptHeader(db_, match_);
    for (int side = 1; side <= 2; ++side)
        for (const ScriptPlayer &p : now.players[size_t(side - 1)])
            if (!roster_.contains(rosterKey(side, p.number, p.person)))
                Append({.kind = ScriptEntry::Kind::RosterPlayer, .side = side, .number = p.number, .person = p.person});
}

bool MatchJournal::write(const QString &text)
{
    // Lines that could not be written (a full disk) wait here and go first
    // when the disk takes them again, so the journal has no gap.
    unwritten_ += text.toUtf8();
    if (!file_.isOpen() && !file_.open(QIODevice::Append | QIODevice::Unbuffered))
        return failed(file_.errorString());
    const qint64 whole = file_.size();
    // On the disk before the entry is reported: a crash right after loses nothing reported.
    if (file_.write(unwritten_) != unwritten_.size() || ::fsync(file_.handle()) != 0) {
        const QString reason = file_.errorString();
        file_.resize(whole); // no line cut short in the middle of the journal
        file_.close();
        return failed(reason);
    }
    unwritten_.clear();
    if (failureShown_)
        ShowInformation(QStringLiteral("The match journal %1 is written again.")
                            .arg(QDir::toNativeSeparators(file_.fileName())));
    failureShown_ = false;
    return true;
}

bool MatchJournal::failed(const QString &reason)
{
    if (!failureShown_) {
        ShowError(DiskFullNote(reason, directory_) +
                  QStringLiteral("The match journal %1 can not be written: %2\nIts lines are kept and written "
                                 "as soon as the disk takes them.")
                      .arg(QDir::toNativeSeparators(file_.fileName()), reason));
        failureShown_ = true;
    }
    return false;
}
