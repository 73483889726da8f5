#include "publish/MatchExport.h"

#include "data/ActionCodes.h"
#include "data/BoxScore.h"
#include "data/FbClient.h"
#include "data/PlusMinus.h"
#include "publish/AtomicFile.h"
#include "publish/MatchTimeline.h"
#include "publish/QntWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <limits>

namespace {

// The match row with its league and clubs, in the order of the reads below.
const QString MatchRowSql = QStringLiteral(
    "SELECT L.MAINID, L.NAZIV, L.OZNAKA, H.EBR, H.NAZIV, G.EBR, G.NAZIV, U.KOLO, U.GRAD, U.MESTO, U.DATUMVREME, "
    "U.BR_GLEDALACA, U.REZULTAT, U.ID_DELEGAT, U.ID_SUDIJA1, U.ID_SUDIJA2, U.ID_SUDIJA3, U.ID_STAT1, U.ID_STAT2, "
    "U.ID_TRENER1, U.ID_TRENER2, U.BOJAD, U.BOJAG, U.PLAYOFF "
    "FROM UTAKMICA U LEFT JOIN LIGA L ON L.ID_LIGA = U.ID_LIGA "
    "LEFT JOIN KLUB H ON H.ID_KLUB = U.ID_KLUB1 LEFT JOIN KLUB G ON G.ID_KLUB = U.ID_KLUB2 "
    "WHERE U.ID_UTAKMICA = ?");
enum MatchRowColumn {
    LeagueMainId, LeagueName, LeagueSymbol, HomeRegistration, HomeName, AwayRegistration, AwayName, Round, City,
    Hall, DateTime, Audience, Result, Delegate, Referee1, Referee2, Referee3, Statistician1, Statistician2,
    HomeCoach, AwayCoach, HomeColour, AwayColour, Playoff
};

std::unique_ptr<fb::Query> readMatchRow(fb::Connection &db, int match)
{
    auto row = std::make_unique<fb::Query>(db, MatchRowSql);
    row->exec({match});
    if (!row->next())
        throw ExportError(QStringLiteral("there is no match %1").arg(match));
    return row;
}

// A number of a 16-bit field; a null one is 0, one that does not fit is
// refused rather than written wrong.
qint16 int16Field(int match, const char *field, int value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw ExportError(QStringLiteral("match %1: %2 %3 does not fit the file's 16-bit field (at most 32767)")
                              .arg(match)
                              .arg(QLatin1String(field))
                              .arg(value));
    return qint16(value);
}

class ExportComposer
{
public:
    ExportComposer(fb::Connection &db, int match, const fb::Query &row, const MatchTimeline &timeline)
        : db_(db), match_(match), row_(row), timeline_(timeline)
    {
    }

    QntMatch compose() const
    {
        QntMatch file;
        file.leagueMainId = row_.value(LeagueMainId).toInt();
        file.leagueName = row_.value(LeagueName).toString();
        file.homeRegistration = row_.value(HomeRegistration).toString();
        file.homeName = row_.value(HomeName).toString();
        file.awayRegistration = row_.value(AwayRegistration).toString();
        file.awayName = row_.value(AwayName).toString();
        file.round = int16(Round, "round");
        file.city = row_.value(City).toString();
        file.hall = row_.value(Hall).toString();
        file.dateTime = QntDateTime(row_.value(DateTime).toDateTime());
        file.audience = int16(Audience, "audience");
        file.result = row_.value(Result).toString();
        file.delegate = person(Delegate, &NameLookups::DelegateName);
        file.referee1 = person(Referee1, &NameLookups::RefereeName);
        file.referee2 = person(Referee2, &NameLookups::RefereeName);
        file.referee3 = person(Referee3, &NameLookups::RefereeName);
        file.statistician1 = person(Statistician1, &NameLookups::StatisticianName);
        file.statistician2 = person(Statistician2, &NameLookups::StatisticianName);
        file.homeCoach = person(HomeCoach, &NameLookups::CoachName);
        file.awayCoach = person(AwayCoach, &NameLookups::CoachName);
        file.homeColour = row_.value(HomeColour).toInt();
        file.awayColour = row_.value(AwayColour).toInt();
        file.playoff = int16(Playoff, "playoff");
        file.homePoints = int16("home points", timeline_.points(1));
        file.awayPoints = int16("away points", timeline_.points(2));
        file.events = events();
        const BoxScoreSet box = BoxScoreBuilder(db_).build(match_);
        const auto balances = PlusMinus(db_).Balances(match_);
        file.homePlayers = players(1, box.home, balances);
        file.awayPlayers = players(2, box.away, balances);
        for (int t = 1; t <= timeline_.lastMinute(); ++t)
            file.minutes.push_back(minute(t));
        return file;
    }

private:
    int key(MatchRowColumn column) const { return row_.value(column).toInt(); }
    qint16 int16(MatchRowColumn column, const char *field) const
    {
        return int16Field(match_, field, row_.value(column).toInt());
    }
    qint16 int16(const char *field, int value) const { return int16Field(match_, field, value); }

    // The person the match names in the role, looked up in his table.
    QntPerson person(MatchRowColumn column, PersonName (NameLookups::*lookup)(int)) const
    {
        const int id = key(column);
        if (id == 0)
            return {};
        const PersonName name = (NameLookups(db_).*lookup)(id);
        return {.named = true, .key = id, .firstName = name.firstName, .surname = name.surname};
    }

    // The match start, the starting fives (-1 in a place not filled), every
    // record, and the finish once play has ended.
    std::vector<QntEvent> events() const
    {
        std::vector<QntEvent> events{{3, 0, EvMatchStart, 0, 0, 0}};
        for (int side : {1, 2}) {
            const QList<int> starters = timeline_.fiveAt(side, 0);
            for (int place = 0; place < CourtSize; ++place)
                events.push_back({qint16(side), int16("starter", place < starters.size() ? starters[place] : -1),
                                  EvStarters, 0, 0, 0});
        }
        for (const RecordedEvent &e : timeline_.events()) {
            const int minute = e.code == EvTimeOut ? GameMinute(e.clock.period, e.clock.minute) : 0;
            events.push_back({int16("event side", e.side), int16("event player", e.player),
                              int16("event code", e.code), int16("event parameter", e.parameter),
                              int16("event minute", minute), 0});
        }
        if (timeline_.clock().Ended())
            events.push_back({3, 0, EvMatchFinish, 0, 0, 0});
        return events;
    }

    using Balances = std::map<std::pair<int, int>, int>;

    std::vector<QntPlayer> players(int side, const BoxSide &box, const Balances &balances) const
    {
        std::vector<QntPlayer> players;
        for (const BoxRow &row : box.players)
            players.push_back(player(side, row, balances));
        return players;
    }

    // The counts the box score holds, and what it does not break down: the
    // zones, the turnover types, the plus-minus and the time on court.
    QntPlayer player(int side, const BoxRow &row, const Balances &balances) const
    {
        const int shirt = row.count(BC_DRES);
        QntPlayer p;
        p.registration = row.registration;
        p.firstName = row.firstName;
        p.surname = row.surname;
        p.shirtNumber = int16("shirt number", shirt);
        p.freeThrows = {int16("free throws", row.count(BC_P1OK)), int16("free throws", row.count(BC_P1UK))};
        for (size_t z = 0; z < QntTwoPointZones.size(); ++z)
            p.twoPointZones[z] = shots(side, shirt, EvMade2, QntTwoPointZones[z]);
        for (size_t z = 0; z < QntThreePointZones.size(); ++z)
            p.threePointZones[z] = shots(side, shirt, EvMade3, QntThreePointZones[z]);
        p.defensiveRebounds = int16("rebounds", row.count(BC_SKOKO));
        p.offensiveRebounds = int16("rebounds", row.count(BC_SKOKN));
        p.assists = int16("assists", row.count(BC_ASISTENCIJA));
        p.steals = int16("steals", row.count(BC_UKRADENA));
        for (const RecordedEvent &e : timeline_.events())
            if (e.side == side && e.player == shirt && e.code == EvTurnover)
                if (const int group = QntTurnoverGroup(e.parameter); group >= 0)
                    ++p.turnovers[size_t(group)];
        p.blocks = int16("blocks", row.count(BC_BLOK));
        p.shotsBlocked = int16("blocks", row.count(BC_BLOKNA));
        p.fouls = int16("fouls", row.count(BC_LG));
        p.technicalFouls = int16("fouls", row.count(BC_TG));
        p.foulsDrawn = int16("fouls", row.count(BC_LGNA));
        const auto balance = balances.find({side, shirt});
        p.plusMinus = int16("plus-minus", balance == balances.end() ? 0 : balance->second);
        // Whole minutes; 30 seconds and more count as one.
        const int seconds = timeline_.secondsOnCourt(side, shirt);
        p.minutes = int16("minutes", seconds / 60 + (seconds % 60 > 29 ? 1 : 0));
        return p;
    }

    // Made and attempted shots of one zone: `made` and the miss code after it.
    QntShots shots(int side, int shirt, int made, int zone) const
    {
        QntShots zoneShots;
        for (const RecordedEvent &e : timeline_.events()) {
            if (e.side != side || e.player != shirt || e.parameter != zone)
                continue;
            if (e.code == made || e.code == made + 1)
                ++zoneShots.attempted;
            if (e.code == made)
                ++zoneShots.made;
        }
        return zoneShots;
    }

    QntMinute minute(int t) const
    {
        QntMinute record;
        record.minute = int16("minute", t);
        for (int side : {1, 2}) {
            record.points[size_t(side - 1)] = int16("points", timeline_.pointsUpTo(side, t));
            record.timeOuts[size_t(side - 1)] = int16("time-outs", timeline_.timeOutsIn(side, t));
            // Places without a player lead with 0, as the rules engine reads a five of four.
            QList<int> five = timeline_.fiveAt(side, t).mid(0, CourtSize);
            while (five.size() < CourtSize)
                five.prepend(0);
            QStringList numbers;
            for (int shirt : five)
                numbers << QString::number(shirt);
            record.lineups[size_t(side - 1)] = numbers.join(u' ');
        }
        return record;
    }

    fb::Connection &db_;
    int match_;
    const fb::Query &row_;
    const MatchTimeline &timeline_;
};

} // namespace

QntMatch MatchExportBuilder::build(int match) const
{
    const auto row = readMatchRow(db_, match);
    const MatchTimeline timeline(ReadRecordedEvents(db_, match));
    return ExportComposer(db_, match, *row, timeline).compose();
}

QString ProposedExportFileName(fb::Connection &db, int match)
{
    const auto row = readMatchRow(db, match);
    QString name = row->value(LeagueSymbol).toString() + row->value(HomeName).toString() + u' ' +
                   QString::number(row->value(Round).toInt());
    static const QString Forbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (Forbidden.contains(c) || c.unicode() < 0x20)
            c = u'_';
    return name + QStringLiteral(".qnt");
}

QString EventLogFileName(int match) { return QStringLiteral("temp_exp_%1.txt").arg(match); }

namespace {

void saveAtomically(const QString &fileName, const QByteArray &content)
{
    if (const QString error = SaveAtomically(fileName, content); !error.isEmpty())
        throw ExportError(error);
}

} // namespace

void ExportMatch(fb::Connection &db, int match, const QString &fileName, const QString &logDirectory)
{
    const QntMatch content = MatchExportBuilder(db).build(match);
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    WriteMatchStream(bytes, content);
    saveAtomically(QDir(logDirectory).filePath(EventLogFileName(match)), EventLogText(content));
    saveAtomically(fileName, bytes.data());
}

void ExportAllMatches(fb::Connection &db, const QString &directory, const QString &logDirectory,
                      const std::function<void(const ExportedFile &)> &exported)
{
    if (!QFileInfo(directory).isDir())
        throw ExportError(QStringLiteral("%1 is not a directory").arg(QDir::toNativeSeparators(directory)));
    std::vector<int> matches;
    {
        fb::Query rows(db, QStringLiteral("SELECT ID_UTAKMICA FROM UTAKMICA ORDER BY ID_UTAKMICA"));
        rows.exec();
        while (rows.next())
            matches.push_back(rows.value(0).toInt());
    }
    QSet<QString> taken;
    for (int match : matches) {
        ExportedFile file{.match = match, .fileName = {}, .error = {}};
        try {
            QString name = ProposedExportFileName(db, match);
            if (taken.contains(name.toCaseFolded()))
                name.insert(name.size() - int(qstrlen(".qnt")), QStringLiteral("_%1").arg(match));
            taken.insert(name.toCaseFolded());
            file.fileName = QDir(directory).filePath(name);
            ExportMatch(db, match, file.fileName, logDirectory);
        } catch (const ExportError &e) {
            file.error = e.reason();
        } catch (const std::exception &e) { // the database's errors among them
            file.error = QStringLiteral("match %1: %2").arg(match).arg(QString::fromUtf8(e.what()));
        }
        exported(file);
    }
}
