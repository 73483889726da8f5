#include "setup/RefBrowserMembers.h"

#include <QMap>

namespace {

using Kind = EditField::Kind;

const LookupList Clubs{QStringLiteral("tTea"), QStringLiteral("ID_KLUB"), QStringLiteral("NAZIV"),
                       QStringLiteral("TEAMNAME")};

BrowserMember member(BrowserKind kind, QString form, QString caption, QString tableObject, QString key, QString word)
{
    BrowserMember m;
    m.kind = kind;
    m.formName = std::move(form);
    m.caption = std::move(caption);
    m.tableObject = std::move(tableObject);
    m.keyColumn = std::move(key);
    m.entityWord = std::move(word);
    return m;
}

// Referees, delegates and statisticians differ only in their table.
BrowserMember person(BrowserKind kind, const char *form, const char *caption, const char *tableObject,
                     const char *key, const char *word, QStringList usedAs, std::optional<QColor> strip)
{
    BrowserMember m = member(kind, QString::fromLatin1(form), QString::fromLatin1(caption),
                             QString::fromLatin1(tableObject), QString::fromLatin1(key), QString::fromLatin1(word));
    m.columns = {{QStringLiteral("Surname"), QStringLiteral("PREZIME")},
                 {QStringLiteral("Name"), QStringLiteral("IME")},
                 {QStringLiteral("Resident Place"), QStringLiteral("GRAD")},
                 {QStringLiteral("Mark"), QStringLiteral("MAINID")},
                 {QStringLiteral("ID"), m.keyColumn}};
    m.searches = {{QStringLiteral("By Name/Surname"), {QStringLiteral("PREZIME"), QStringLiteral("IME")}},
                  {QStringLiteral("By Resident Place"), {QStringLiteral("GRAD")}}};
    m.editFields = {{QStringLiteral("SURNAME:"), QStringLiteral("PREZIME")},
                    {QStringLiteral("NAME:"), QStringLiteral("IME")},
                    {QStringLiteral("Resident Place:"), QStringLiteral("GRAD")},
                    {QStringLiteral("Mark:"), QStringLiteral("MAINID"), Kind::Integer}};
    m.stripColour = strip;
    m.usage = RowUsage{QStringLiteral("UTAKMICA"), std::move(usedAs), QStringLiteral("ID_UTAKMICA")};
    return m;
}

BrowserMember coaches()
{
    BrowserMember m = member(BrowserKind::Coaches, QStringLiteral("TTraFrm"), QStringLiteral("COACHES"),
                    QStringLiteral("tTra"), QStringLiteral("ID_TRENER"), QStringLiteral("TRAINER"));
    m.columns = {{QStringLiteral("Surname"), QStringLiteral("PREZIME")},
                 {QStringLiteral("Name"), QStringLiteral("IME")},
                 {QStringLiteral("Team"), QStringLiteral("TEAMNAME")},
                 {QStringLiteral("Role"), QStringLiteral("POSNAME")},
                 {QStringLiteral("ID"), QStringLiteral("ID_TRENER")}};
    m.searches = {{QStringLiteral("By Name/Surname"), {QStringLiteral("PREZIME"), QStringLiteral("IME")}},
                  {QStringLiteral("By Team"), {QStringLiteral("TEAMNAME")}}};
    m.editFields = {{QStringLiteral("SURNAME:"), QStringLiteral("PREZIME")},
                    {QStringLiteral("NAME:"), QStringLiteral("IME")},
                    {QStringLiteral("TEAM:"), QStringLiteral("ID_KLUB"), Kind::Lookup, Clubs},
                    {QStringLiteral("Role:"), QStringLiteral("ID_POL"), Kind::Lookup,
                     {QStringLiteral("tRol"), QStringLiteral("ID_POL"), QStringLiteral("POLOZAJ"),
                      QStringLiteral("POSNAME")}}};
    m.stripColour = QColor(180, 220, 220);
    m.usage = RowUsage{QStringLiteral("UTAKMICA"), {QStringLiteral("ID_TRENER1"), QStringLiteral("ID_TRENER2")},
                       QStringLiteral("ID_UTAKMICA")};
    return m;
}

BrowserMember leagues()
{
    BrowserMember m = member(BrowserKind::Leagues, QStringLiteral("TLeaFrm"), QStringLiteral("LEAGUES"), QStringLiteral("tLea"),
                    QStringLiteral("ID_LIGA"), QStringLiteral("LEAGUE"));
    m.columns = {{QStringLiteral("Name"), QStringLiteral("NAZIV")},
                 {QStringLiteral("Symbol"), QStringLiteral("OZNAKA")},
                 {QStringLiteral("TYPE"), QStringLiteral("LIGTUR")},
                 {QStringLiteral("Mark"), QStringLiteral("MAINID")},
                 {QStringLiteral("ID"), QStringLiteral("ID_LIGA")}};
    m.searches = {{QStringLiteral("By Name"), {QStringLiteral("NAZIV")}},
                  {QStringLiteral("By Symbol"), {QStringLiteral("OZNAKA")}}};
    m.editFields = {{QStringLiteral("NAME:"), QStringLiteral("NAZIV")},
                    {QStringLiteral("Symbol:"), QStringLiteral("OZNAKA")},
                    {QStringLiteral("TYPE:"), QStringLiteral("LIGTUR"), Kind::Integer},
                    {QStringLiteral("Mark:"), QStringLiteral("MAINID"), Kind::Integer},
                    {QStringLiteral("Image:"), QStringLiteral("LOGO"), Kind::Picture}};
    m.firstEditField = 1;
    m.stripColour = QColor(220, 180, 220);
    m.picture = PictureExtra{QStringLiteral("LOGO"), QStringLiteral("Load Image ..."), QStringLiteral("Clear Image")};
    m.usage = RowUsage{QStringLiteral("UTAKMICA"), {QStringLiteral("ID_LIGA")}, QStringLiteral("ID_UTAKMICA")};
    m.uniqueName = UniqueName{{QStringLiteral("NAZIV")}, QString(), QString()};
    return m;
}

BrowserMember roles()
{
    BrowserMember m = member(BrowserKind::CoachRoles, QStringLiteral("TRolFrm"), QStringLiteral("COACH ROLES"),
                    QStringLiteral("tRol"), QStringLiteral("ID_POL"), QStringLiteral("ROLE"));
    m.columns = {{QStringLiteral("Role"), QStringLiteral("POLOZAJ")}, {QStringLiteral("ID"), QStringLiteral("ID_POL")}};
    m.editFields = {{QStringLiteral("ROLE:"), QStringLiteral("POLOZAJ")}};
    return m;
}

BrowserMember teams()
{
    BrowserMember m = member(BrowserKind::Teams, QStringLiteral("TTeaFrm"), QStringLiteral("TEAMS"), QStringLiteral("tTea"),
                    QStringLiteral("ID_KLUB"), QStringLiteral("TEAM"));
    m.columns = {{QStringLiteral("Name"), QStringLiteral("NAZIV")},
                 {QStringLiteral("Mark"), QStringLiteral("MAINID")},
                 {QStringLiteral("LEAGUE"), QStringLiteral("LEANAME")},
                 {QStringLiteral("ID"), QStringLiteral("ID_KLUB")},
                 {QStringLiteral("IDENTIFICATION"), QStringLiteral("EBR")}};
    m.searches = {{QStringLiteral("By Name"), {QStringLiteral("NAZIV")}}};
    m.editFields = {{QStringLiteral("NAME:"), QStringLiteral("NAZIV")},
                    {QStringLiteral("Mark:"), QStringLiteral("MAINID"), Kind::Integer},
                    {QStringLiteral("League:"), QStringLiteral("ID_LIGA"), Kind::Lookup,
                     {QStringLiteral("tLea"), QStringLiteral("ID_LIGA"), QStringLiteral("NAZIV"),
                      QStringLiteral("LEANAME")}},
                    {QStringLiteral("Team Identification:"), QStringLiteral("EBR")},
                    {QStringLiteral("Emblem:"), QStringLiteral("AMBLEM"), Kind::Picture}};
    m.stripColour = QColor(160, 180, 220);
    m.picture = PictureExtra{QStringLiteral("AMBLEM"), QStringLiteral("Load Emblem ..."), QStringLiteral("Clear Emblem")};
    m.leaguesList = true;
    // One club may play in several leagues, one row in each.
    m.uniqueName = UniqueName{{QStringLiteral("NAZIV")}, QStringLiteral("ID_LIGA"), QStringLiteral(" in this league"),
                              QStringLiteral("LIGA")};
    m.usage = RowUsage{QStringLiteral("UTAKMICA"), {QStringLiteral("ID_KLUB1"), QStringLiteral("ID_KLUB2")},
                       QStringLiteral("ID_UTAKMICA")};
    return m;
}

BrowserMember players()
{
    BrowserMember m = member(BrowserKind::Players, QStringLiteral("TPlaFrm"), QStringLiteral("PLAYERS"), QStringLiteral("tPla"),
                    QStringLiteral("ID_IGRAC"), QStringLiteral("PLAYER"));
    m.columns = {{QStringLiteral("Surname"), QStringLiteral("PREZIME")},
                 {QStringLiteral("Name"), QStringLiteral("IME")},
                 {QStringLiteral("Team"), QStringLiteral("TEAMNAME")},
                 {QStringLiteral("IDENTIFICATION"), QStringLiteral("EBR")},
                 {QStringLiteral("Position"), QStringLiteral("POSNAME")},
                 {QStringLiteral("Birth Date"), QStringLiteral("DAT_RODJ")},
                 {QStringLiteral("Weight"), QStringLiteral("TEZINA")},
                 {QStringLiteral("Height"), QStringLiteral("VISINA")},
                 {QStringLiteral("Mark"), QStringLiteral("MAINID")},
                 {QStringLiteral("ID"), QStringLiteral("ID_IGRAC")}};
    m.searches = {{QStringLiteral("By Name/Surname"), {QStringLiteral("PREZIME"), QStringLiteral("IME")}},
                  {QStringLiteral("By Team"), {QStringLiteral("TEAMNAME")}}};
    m.editFields = {{QStringLiteral("SURNAME:"), QStringLiteral("PREZIME")},
                    {QStringLiteral("NAME:"), QStringLiteral("IME")},
                    {QStringLiteral("TEAM:"), QStringLiteral("ID_KLUB"), Kind::Lookup, Clubs},
                    {QStringLiteral("Position:"), QStringLiteral("ID_POZ"), Kind::Lookup,
                     {QStringLiteral("tPos"), QStringLiteral("ID_POZ"), QStringLiteral("POZICIJA"),
                      QStringLiteral("POSNAME")}},
                    {QStringLiteral("Birth Date:"), QStringLiteral("DAT_RODJ"), Kind::BirthDate},
                    {QStringLiteral("Height:"), QStringLiteral("VISINA"), Kind::Integer},
                    {QStringLiteral("Weight:"), QStringLiteral("TEZINA"), Kind::Integer},
                    {QStringLiteral("Player Identification:"), QStringLiteral("EBR")},
                    {QStringLiteral("Mark:"), QStringLiteral("MAINID"), Kind::Integer}};
    m.stripColour = QColor(180, 220, 220);
    // A player named in a match roster keeps his row.
    m.usage = RowUsage{QStringLiteral("SASTAV"), {QStringLiteral("ID_IGRAC")}, QStringLiteral("ID_UTAKMICA")};
    // A second player of the same name in one club is a player keyed twice.
    m.uniqueName = UniqueName{{QStringLiteral("PREZIME"), QStringLiteral("IME")}, QStringLiteral("ID_KLUB"),
                              QStringLiteral(" in this team"), QStringLiteral("KLUB")};
    return m;
}

BrowserMember positions()
{
    BrowserMember m = member(BrowserKind::PlayerPositions, QStringLiteral("TPosFrm"), QStringLiteral("PLAYER POSITIONS"),
                    QStringLiteral("tPos"), QStringLiteral("ID_POZ"), QStringLiteral("POSITION"));
    m.columns = {{QStringLiteral("Position"), QStringLiteral("POZICIJA")},
                 {QStringLiteral("ID"), QStringLiteral("ID_POZ")}};
    m.editFields = {{QStringLiteral("POSITION:"), QStringLiteral("POZICIJA")}};
    return m;
}

QMap<BrowserKind, BrowserMember> makeMembers()
{
    QMap<BrowserKind, BrowserMember> all;
    auto add = [&all](BrowserMember m) { all.insert(m.kind, std::move(m)); };
    add(person(BrowserKind::Referees, "TRefFrm", "REFEREES", "tRef", "ID_SUDIJA", "REFEREE",
               {QStringLiteral("ID_SUDIJA1"), QStringLiteral("ID_SUDIJA2"), QStringLiteral("ID_SUDIJA3")},
               std::nullopt));
    add(person(BrowserKind::Delegates, "TDelFrm", "DELEGATES", "tDel", "ID_DELEGAT", "DELEGATE",
               {QStringLiteral("ID_DELEGAT")}, std::nullopt));
    add(person(BrowserKind::Statists, "TStaFrm", "STATISTS", "tSta", "ID_STAT", "STATIST",
               {QStringLiteral("ID_STAT1"), QStringLiteral("ID_STAT2")}, QColor(240, 220, 180)));
    add(coaches());
    add(leagues());
    add(roles());
    add(teams());
    add(players());
    add(positions());
    return all;
}

} // namespace

QStringList BrowserMember::writableColumns() const
{
    QStringList columns;
    for (const EditField &f : editFields)
        columns << f.column;
    return columns;
}

const EditField *BrowserMember::editField(const QString &column) const
{
    for (const EditField &f : editFields)
        if (f.column == column)
            return &f;
    return nullptr;
}

const BrowserMember &Member(BrowserKind kind)
{
    static const QMap<BrowserKind, BrowserMember> members = makeMembers();
    return *members.find(kind);
}

const QList<BrowserKind> &AllBrowserKinds()
{
    static const QList<BrowserKind> kinds{BrowserKind::Referees, BrowserKind::Delegates,  BrowserKind::Statists,
                                          BrowserKind::Coaches,  BrowserKind::Leagues,    BrowserKind::CoachRoles,
                                          BrowserKind::Teams,    BrowserKind::Players,    BrowserKind::PlayerPositions};
    return kinds;
}
