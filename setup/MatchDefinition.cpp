#include "setup/MatchDefinition.h"

#include "common/Messenger.h"
#include "common/NameOrder.h"
#include "data/FbClient.h"
#include "data/DataModule.h"

#include <QDateTime>

namespace {

using Control = MatchDefinition::Control;

// The columns of UTAKMICA behind the controls.
struct Binding
{
    Control control;
    const char *column;
};

const Binding TextColumns[] = {{Control::Naziv, "NAZIV"}, {Control::Kolo, "KOLO"},   {Control::Extra, "EXTRA"},
                               {Control::Grad, "GRAD"},   {Control::Hala, "MESTO"}, {Control::Gledalaca, "BR_GLEDALACA"}};

const Binding KeyColumns[] = {{Control::Liga, "ID_LIGA"},          {Control::Domacin, "ID_KLUB1"},
                              {Control::Gost, "ID_KLUB2"},         {Control::Sudija1, "ID_SUDIJA1"},
                              {Control::Sudija2, "ID_SUDIJA2"},    {Control::Sudija3, "ID_SUDIJA3"},
                              {Control::Delegat, "ID_DELEGAT"},    {Control::Statisticar1, "ID_STAT1"},
                              {Control::Statisticar2, "ID_STAT2"}};

const Control People[] = {Control::Sudija1, Control::Sudija2,      Control::Sudija3,
                          Control::Delegat, Control::Statisticar1, Control::Statisticar2};

const QString NotFinished = QStringLiteral("NOT FINISHED");

bool chosen(const QVariant &key) { return key.isValid() && !key.isNull(); }

// A whole number typed into a control, or nothing.
std::optional<int> wholeNumber(const QString &text, int highest)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > highest)
        return std::nullopt;
    return n;
}

} // namespace

MatchDefinition::MatchDefinition(Tdm &module) : module_(module) {}

QList<ListChoice> MatchDefinition::readList(const QString &tableObject, const QString &keyColumn,
                                            const QString &textColumn, const QString &where,
                                            const QVariantList &params) const
{
    QList<ListChoice> list;
    for (const QVariantMap &row : module_.table(tableObject).rows(module_.db(), where, params))
        list.append({row.value(keyColumn), row.value(textColumn).toString()});
    return list;
}

bool MatchDefinition::Open(int matchId)
{
    try {
        lists_.insert(Control::Liga, readList(QStringLiteral("tLea"), QStringLiteral("ID_LIGA"), QStringLiteral("NAZIV")));
        // Every club at first, so that the stored clubs show their names.
        QList<ListChoice> clubs =
            readList(QStringLiteral("tTea"), QStringLiteral("ID_KLUB"), QStringLiteral("NAZIV"));
        std::stable_sort(clubs.begin(), clubs.end(),
                         [](const ListChoice &a, const ListChoice &b) { return NameBefore(a.text, b.text); });
        lists_.insert(Control::Domacin, clubs);
        lists_.insert(Control::Gost, clubs);
        const QList<ListChoice> referees =
            readList(QStringLiteral("tRef"), QStringLiteral("ID_SUDIJA"), QStringLiteral("FullName"));
        for (const Control c : {Control::Sudija1, Control::Sudija2, Control::Sudija3})
            lists_.insert(c, referees);
        lists_.insert(Control::Delegat,
                      readList(QStringLiteral("tDel"), QStringLiteral("ID_DELEGAT"), QStringLiteral("FullName")));
        ReloadStatists();

        if (matchId == NewMatch) {
            const QTime now = QTime::currentTime();
            date_ = QDate::currentDate();
            time_ = QTime(now.hour(), now.minute());
            homeColour_ = awayColour_ = White;
            result_ = NotFinished;
            playOff_ = false;
            matchId_ = NewMatch;
            return true;
        }

        const QList<QVariantMap> rows =
            module_.table(QStringLiteral("tMatch")).rows(module_.db(), QStringLiteral("T.ID_UTAKMICA = ?"), {matchId});
        if (rows.isEmpty()) {
            ShowError(QStringLiteral("Match can not be found! MatchRefU"));
            return false;
        }
        const QVariantMap &row = rows.first();
        if (module_.db()
                .scalar(QStringLiteral("select count(*) from LIGA where ID_LIGA = ?"), {row.value("ID_LIGA")})
                .toInt() == 0) {
            ShowError(QStringLiteral("League of this match can not be found! MatchRefU"));
            return false;
        }
        for (const Binding &b : TextColumns)
            texts_.insert(b.control, row.value(QString::fromLatin1(b.column)).toString());
        for (const Binding &b : KeyColumns)
            keys_.insert(b.control, row.value(QString::fromLatin1(b.column)));
        // A match stored without a date shows today, as a new one does.
        const QDateTime when = row.value("DATUMVREME").isNull() ? QDateTime(QDate::currentDate(), QTime(0, 0))
                                                                 : row.value("DATUMVREME").toDateTime();
        date_ = when.date();
        time_ = when.time();
        playOff_ = row.value("PLAYOFF").toInt() != 0;
        homeColour_ = row.value("BOJAD").toInt();
        awayColour_ = row.value("BOJAG").toInt();
        result_ = row.value("REZULTAT").toString();
        matchId_ = matchId;
        return true;
    } catch (const fb::Error &e) {
        ShowError(e.text());
        return false;
    }
}

QList<ListChoice> MatchDefinition::choices(Control control) const { return lists_.value(control); }

void MatchDefinition::RefreshClubList(Control side)
{
    const QVariant league = key(Control::Liga);
    try {
        lists_.insert(side, chosen(league) ? readList(QStringLiteral("tTea"), QStringLiteral("ID_KLUB"),
                                                      QStringLiteral("NAZIV"), QStringLiteral("T.ID_LIGA = ?"),
                                                      {league})
                                           : QList<ListChoice>());
    } catch (const fb::Error &e) {
        ShowError(e.text());
    }
}

void MatchDefinition::ReloadStatists()
{
    const QList<ListChoice> statists =
        readList(QStringLiteral("tSta"), QStringLiteral("ID_STAT"), QStringLiteral("FullName"));
    lists_.insert(Control::Statisticar1, statists);
    lists_.insert(Control::Statisticar2, statists);
}

QString MatchDefinition::shownText(Control control) const
{
    const QVariant k = key(control);
    if (!chosen(k))
        return QString();
    for (const ListChoice &choice : lists_.value(control))
        if (choice.key == k)
            return choice.text;
    return QString();
}

void MatchDefinition::Clear(Control person)
{
    if (std::find(std::begin(People), std::end(People), person) != std::end(People))
        keys_.insert(person, QVariant());
}

std::optional<MatchDefinition::Refusal> MatchDefinition::Check() const
{
    auto empty = [this](Control c) { return text(c).trimmed().isEmpty(); };
    auto sameChosen = [this](Control a, Control b) {
        return chosen(key(a)) && chosen(key(b)) && key(a) == key(b);
    };
    if (shownText(Control::Liga).isEmpty())
        return Refusal{QStringLiteral("League is not defined!"), Control::Liga};
    if (empty(Control::Naziv))
        return Refusal{QStringLiteral("Match name is not defined!"), Control::Naziv};
    if (empty(Control::Kolo))
        return Refusal{QStringLiteral("Round is not defined!"), Control::Kolo};
    if (shownText(Control::Domacin).isEmpty())
        return Refusal{QStringLiteral("Home Team is not defined!"), Control::Domacin};
    if (shownText(Control::Gost).isEmpty())
        return Refusal{QStringLiteral("Away team is not defined!"), Control::Gost};
    if (key(Control::Domacin) == key(Control::Gost))
        return Refusal{QStringLiteral("Home and Away team have to be different!"), Control::Gost};
    if (sameChosen(Control::Sudija1, Control::Sudija2))
        return Refusal{QStringLiteral("Referees definitions have to be different!"), Control::Sudija2};
    if (sameChosen(Control::Statisticar1, Control::Statisticar2))
        return Refusal{QStringLiteral("Statists definitions have to be different!"), Control::Statisticar1};
    if (empty(Control::Hala))
        return Refusal{QStringLiteral("HALL is not defined!"), Control::Hala};
    if (empty(Control::Grad))
        return Refusal{QStringLiteral("City is not defined!"), Control::Grad};
    if (empty(Control::Gledalaca))
        return Refusal{QStringLiteral("Auditory is not defined!"), Control::Gledalaca};
    return std::nullopt;
}

MatchDefinition::Outcome MatchDefinition::Confirm()
{
    if (const auto refusal = Check()) {
        ShowError(refusal->message);
        return {false, refusal->focus};
    }
    // The round and the audience are numbers of the row.
    for (const auto &[control, highest] : {std::pair{Control::Kolo, 32767}, std::pair{Control::Gledalaca, 9999999}}) {
        if (!wholeNumber(text(control), highest)) {
            ShowError(QStringLiteral("'%1' is not a valid integer value").arg(text(control).trimmed()));
            return {false, control};
        }
    }
    try {
        write();
        module_.db().commitRetaining();
    } catch (const fb::Error &e) {
        ShowError(QStringLiteral("The match can not be saved:\n%1").arg(e.text()));
        return {false, std::nullopt};
    }
    return {true, std::nullopt};
}

void MatchDefinition::write()
{
    QStringList columns;
    QVariantList values;
    for (const Binding &b : TextColumns) {
        columns << QString::fromLatin1(b.column);
        const QString t = text(b.control).trimmed();
        if (b.control == Control::Kolo || b.control == Control::Gledalaca)
            values << QVariant(t.toInt());
        else
            values << (t.isEmpty() ? QVariant() : QVariant(text(b.control)));
    }
    for (const Binding &b : KeyColumns) {
        columns << QString::fromLatin1(b.column);
        values << (chosen(key(b.control)) ? key(b.control) : QVariant());
    }
    columns << QStringLiteral("DATUMVREME") << QStringLiteral("PLAYOFF");
    values << QDateTime(date_, time_) << (playOff_ ? 1 : 0);

    fb::Connection &db = module_.db();
    if (isNew()) {
        columns << QStringLiteral("BOJAD") << QStringLiteral("BOJAG") << QStringLiteral("REZULTAT");
        values << homeColour_ << awayColour_ << result_;
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        matchId_ = db.scalar(QStringLiteral("insert into UTAKMICA (%1) values (%2) returning ID_UTAKMICA")
                                 .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                             values)
                       .toInt();
        return;
    }
    // Only the columns of this dialog: the possession arrow and the result
    // written by the console stay as they are.
    QStringList assignments;
    for (const QString &c : columns)
        assignments << c + QStringLiteral(" = ?");
    values << matchId_;
    db.execute(QStringLiteral("update UTAKMICA set %1 where ID_UTAKMICA = ?").arg(assignments.join(QStringLiteral(", "))),
               values);
}
