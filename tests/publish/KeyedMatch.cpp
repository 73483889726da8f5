#include "publish/KeyedMatch.h"

#include "data/ActionCodes.h"
#include "data/FbClient.h"

#include <iterator>

using namespace Qt::StringLiterals;

std::vector<EventEntry> parseEntries(const QString &text)
{
    std::vector<EventEntry> entries;
    for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QString entry = line.trimmed();
        if (entry.startsWith(u'+')) {
            const int count = entry.size() > 1 ? entry.mid(1).toInt() : 1;
            for (int i = 0; i < count; ++i)
                entries.push_back({3, 0, EvMinuteChange, 0, 0});
            continue;
        }
        QList<int> v;
        for (const QString &word : entry.split(u' ', Qt::SkipEmptyParts))
            v << word.toInt();
        v.resize(5);
        entries.push_back({v[0], v[1], v[2], v[3], v[4]});
    }
    return entries;
}

KeyedMatch::KeyedMatch() : desk(sb.dm().db()), match(desk.createMatch()), session(sb.dm())
{
    session.ResetWorkingTables();
    if (!session.OpenExistingMatch(match))
        qFatal("the match did not open");
    session.ResetShowingState();
}

int KeyedMatch::home(int i) const { return *std::next(rules::homeNumbers().begin(), i); }
int KeyedMatch::away(int i) const { return *std::next(rules::awayNumbers().begin(), i); }

void KeyedMatch::start()
{
    key({3, 0, EvMatchStart, 0, 0});
    for (int i = 0; i < 5; ++i)
        key({1, home(i), EvStarters, 0, 0});
    for (int i = 0; i < 5; ++i)
        key({2, away(i), EvStarters, 0, 0});
}

void KeyedMatch::key(const EventEntry &e)
{
    const int result = session.Record(e);
    if (!MatchSession::Recorded(e.code, result))
        qFatal("entry %d %d %d %d refused with %d", e.side, e.player, e.code, e.parameter, result);
}

void KeyedMatch::play(const QString &entries)
{
    for (const EventEntry &e : parseEntries(entries))
        key(e);
}

int KeyedMatch::records() { return db().scalar(u"select count(*) from DTT where IDM = ?"_s, {match}).toInt(); }

QString KeyedMatch::state()
{
    QStringList rows{desk.dump()};
    fb::Query matches(db(), u"select ID_UTAKMICA, REZULTAT from UTAKMICA order by 1"_s);
    matches.exec();
    while (matches.next())
        rows << matches.value(0).toString() + u' ' + matches.value(1).toString();
    return rows.join(u'\n');
}
