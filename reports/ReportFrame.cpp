#include "reports/ReportFrame.h"

#include "data/BoxScore.h"
#include "data/FbClient.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString FactsSql = QStringLiteral(
    "SELECT U.GRAD, U.MESTO, U.DATUMVREME, U.BR_GLEDALACA, U.KOLO, U.ID_DELEGAT, U.ID_SUDIJA1, U.ID_SUDIJA2, "
    "U.ID_SUDIJA3, L.NAZIV, U.EXTRA, H.NAZIV, G.NAZIV, U.ID_TRENER1, U.ID_TRENER2, U.JUMPBAL "
    "FROM UTAKMICA U LEFT JOIN LIGA L ON L.ID_LIGA = U.ID_LIGA "
    "LEFT JOIN KLUB H ON H.ID_KLUB = U.ID_KLUB1 LEFT JOIN KLUB G ON G.ID_KLUB = U.ID_KLUB2 "
    "WHERE U.ID_UTAKMICA = ?");

// Words joined by single spaces, the empty ones left out.
QString Joined(std::initializer_list<QString> words)
{
    QStringList kept;
    for (const QString &word : words)
        if (!word.trimmed().isEmpty())
            kept << word.trimmed();
    return kept.join(u' ');
}

QString WithCity(const PersonName &name) { return Joined({name.surname, name.firstName, name.city}); }
QString WithoutCity(const PersonName &name) { return Joined({name.surname, name.firstName}); }

} // namespace

MatchFacts MatchFacts::Read(fb::Connection &db, int match)
{
    fb::Query row(db, FactsSql);
    row.exec({match});
    if (!row.next())
        throw ReportError(QStringLiteral("there is no match %1").arg(match));
    const auto text = [&](int column) { return row.value(column).toString().trimmed(); };
    const auto key = [&](int column) { return row.value(column).toInt(); };
    MatchFacts facts;
    facts.match = match;
    facts.city = text(0);
    facts.venue = text(1);
    facts.start = row.value(2).toDateTime();
    facts.spectators = key(3);
    facts.round = key(4);
    facts.league = text(9);
    facts.extra = text(10);
    facts.teams = {QString(), text(11), text(12)};
    facts.possessionSide = key(15) == 1 ? 1 : 2;
    const int delegate = key(5);
    const std::array<int, 3> referees{key(6), key(7), key(8)};
    const std::array<int, 2> coaches{key(13), key(14)};
    row.close();
    NameLookups names(db);
    if (delegate != 0)
        facts.commissioner = WithCity(names.DelegateName(delegate));
    for (size_t i = 0; i < referees.size(); ++i)
        if (referees[i] != 0)
            facts.referees[i] = WithCity(names.RefereeName(referees[i]));
    for (size_t i = 0; i < coaches.size(); ++i)
        if (coaches[i] != 0)
            facts.coaches[i + 1] = WithoutCity(names.CoachName(coaches[i]));
    return facts;
}

report::Frame MatchFrame(const MatchFacts &facts, const QString &title, bool colour, const QString &pictureDirectory)
{
    report::Frame frame;
    frame.title = title;
    const QString place = facts.venue.isEmpty() ? facts.city : facts.city + QStringLiteral(", ") + facts.venue;
    frame.facts = {
        {{QStringLiteral("Place:"), place},
         {QStringLiteral("Time:"), facts.start.toString(QStringLiteral("HH:mm"))},
         {QStringLiteral("Date:"), facts.start.toString(QStringLiteral("dd/MM/yyyy"))}},
        {{QStringLiteral("Spectators:"), QString::number(facts.spectators)},
         {QStringLiteral("Round:"), QStringLiteral("%1.").arg(facts.round)},
         {QStringLiteral("Commissioner:"), facts.commissioner}},
        {{QStringLiteral("Referee:"), facts.referees[0]},
         {QStringLiteral("Referee:"), facts.referees[1]},
         {QStringLiteral("Referee:"), facts.referees[2]}},
    };
    frame.leagueLine = facts.extra.isEmpty() ? facts.league : facts.league + QStringLiteral(", ") + facts.extra;
    const QString picture = QDir(pictureDirectory).filePath(QString::fromLatin1(LeaguePictureName));
    if (!pictureDirectory.isEmpty() && QFileInfo::exists(picture))
        frame.leaguePicture = picture;
    frame.footer = {QStringLiteral("Quintara basketball statistics"),
                    QStringLiteral("Official statistics of match %1, made from the statisticians' records.")
                        .arg(facts.match)};
    frame.colour = colour;
    return frame;
}
