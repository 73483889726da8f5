#include "matchscript/MatchScript.h"

#include "data/ActionCodes.h"

#include <utility>

namespace {

const QStringList FoulTypeWords = {QStringLiteral("P"),  QStringLiteral("P1"), QStringLiteral("P2"),
                                   QStringLiteral("P3"), QStringLiteral("U2"), QStringLiteral("D"),
                                   QStringLiteral("F"),  QStringLiteral("U1"), QStringLiteral("U3")};

// A line that cannot be read: thrown inside the parser, reported with its number.
struct Refused
{
    QString reason;
};

class LineReader
{
public:
    LineReader(QStringList words, int line) : words_(std::move(words)), line_(line) {}

    int line() const { return line_; }
    int size() const { return int(words_.size()); }
    QString word(int i) const { return i < size() ? words_[i] : QString(); }
    QString keyword(int i) const { return word(i).toUpper(); }

    void expectCount(int least, int most) const
    {
        if (size() < least)
            throw Refused{QStringLiteral("%1 needs more words").arg(words_.first())};
        if (size() > most)
            throw Refused{QStringLiteral("unexpected \"%1\"").arg(words_[most])};
    }
    int number(int i, int low, int high, const char *what) const
    {
        bool ok = false;
        const int n = word(i).toInt(&ok);
        if (!ok || n < low || n > high)
            throw Refused{QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                              .arg(QLatin1String(what)).arg(low).arg(high).arg(word(i))};
        return n;
    }
    int side(int i) const
    {
        const QString s = keyword(i);
        if (s == QLatin1String("H"))
            return 1;
        if (s == QLatin1String("A"))
            return 2;
        throw Refused{QStringLiteral("the side must be H or A, not \"%1\"").arg(word(i))};
    }
    int seconds(int i) const
    {
        const QString w = word(i);
        if (!w.startsWith(QLatin1Char('@')))
            throw Refused{QStringLiteral("the seconds must be written @SS, not \"%1\"").arg(w)};
        bool ok = false;
        const int s = w.mid(1).toInt(&ok);
        if (!ok || s < 0 || s > 59)
            throw Refused{QStringLiteral("the seconds must be 0 to 59, not \"%1\"").arg(w)};
        return s;
    }
    ScriptPerson person(int first) const
    {
        return {word(first), word(first + 1), word(first + 2), line_};
    }

private:
    QStringList words_;
    int line_;
};

constexpr int MaxShirt = 100;

// player H|A NUMBER "SURNAME" "FIRST NAME"
ScriptPlayer readPlayer(const LineReader &r)
{
    r.expectCount(5, 5);
    r.side(1);
    return {r.number(2, 0, MaxShirt, "a shirt number"), r.person(3)};
}

void readHeaderLine(const LineReader &r, ScriptHeader &h)
{
    const QString key = r.keyword(0);
    if (key == QLatin1String("LEAGUE") || key == QLatin1String("HOME") || key == QLatin1String("AWAY")) {
        r.expectCount(2, 2);
        const bool league = key == QLatin1String("LEAGUE"), home = key == QLatin1String("HOME");
        (league ? h.league : home ? h.home : h.away) = r.word(1);
        (league ? h.leagueLine : home ? h.homeLine : h.awayLine) = r.line();
    } else if (key == QLatin1String("PLAYER")) {
        const ScriptPlayer player = readPlayer(r);
        h.players[size_t(r.side(1) - 1)] << player;
    } else if (key == QLatin1String("COACH")) {
        r.expectCount(4, 4);
        h.coaches[size_t(r.side(1) - 1)] = r.person(2);
    } else if (key == QLatin1String("REFEREE")) {
        r.expectCount(3, 4);
        if (h.referees.size() == 3)
            throw Refused{QStringLiteral("a match has at most three referees")};
        h.referees << r.person(1);
    } else if (key == QLatin1String("DELEGATE")) {
        r.expectCount(3, 4);
        h.delegate = r.person(1);
    } else if (key == QLatin1String("STATISTICIAN")) {
        r.expectCount(3, 3);
        if (h.statisticians.size() == 2)
            throw Refused{QStringLiteral("a match has at most two statisticians")};
        h.statisticians << r.person(1);
    } else if (key == QLatin1String("MATCH")) {
        static const QStringList known = {QStringLiteral("caption"), QStringLiteral("round"),
                                          QStringLiteral("date"),    QStringLiteral("time"),
                                          QStringLiteral("city"),    QStringLiteral("hall"),
                                          QStringLiteral("spectators"), QStringLiteral("extra"),
                                          QStringLiteral("playoff")};
        for (int i = 1; i < r.size(); ++i) {
            const QString pair = r.word(i);
            const int eq = pair.indexOf(QLatin1Char('='));
            const QString name = pair.left(eq).toLower();
            if (eq <= 0 || !known.contains(name))
                throw Refused{QStringLiteral("unknown match fact \"%1\"").arg(pair)};
            h.facts.insert(name, pair.mid(eq + 1));
        }
        h.matchLine = r.line();
    } else if (key == QLatin1String("COLORS")) {
        r.expectCount(3, 3);
        h.colors = std::array<int, 2>{r.number(1, 0, 0xFFFFFF, "a colour"), r.number(2, 0, 0xFFFFFF, "a colour")};
    } else if (key == QLatin1String("STARTERS")) {
        r.expectCount(7, 7);
        const size_t side = size_t(r.side(1) - 1);
        QList<int> &five = h.starters[side];
        h.startersLines[side] = r.line();
        five.clear();
        for (int i = 2; i < 7; ++i)
            five << r.number(i, 0, MaxShirt, "a shirt number");
    } else {
        throw Refused{QStringLiteral("unknown header line \"%1\"").arg(r.word(0))};
    }
}

bool needsParameter(int code)
{
    switch (code) {
    case EvMade2: case EvMiss2: case EvMade3: case EvMiss3: case EvTurnover: case EvPersonalFoul: case EvBlock:
    case EvPlayerChange:
        return true;
    default:
        return false;
    }
}

bool takesNoParameter(int code)
{
    switch (code) {
    case EvMade1: case EvMiss1: case EvReboundDefence: case EvReboundOffence: case EvAssist: case EvSteal:
    case EvTechnicalPlayer: case EvTechnicalCoach: case EvMatchFinish:
        return true;
    default:
        return false;
    }
}

ScriptEntry readEventLine(const LineReader &r)
{
    ScriptEntry e;
    e.side = r.side(0);
    r.expectCount(3, 5);
    e.number = r.number(1, 0, MaxShirt, "a shirt number");
    const int typed = r.number(2, 0, 999, "an event code");
    if (typed == 210) {
        r.expectCount(3, 3);
        e.code = EvExitWithoutChanges;
        return e;
    }
    e.code = typed;
    if (takesNoParameter(e.code)) {
        r.expectCount(3, 3);
        return e;
    }
    if (!needsParameter(e.code))
        throw Refused{QStringLiteral("%1 is not an event code of the entry boxes").arg(typed)};
    if (r.size() < 4)
        throw Refused{QStringLiteral("event %1 needs its parameter").arg(e.code)};
    r.expectCount(4, e.code == EvPersonalFoul || e.code == EvPlayerChange ? 5 : 4);
    e.parameter = r.number(3, 0, MaxShirt, "the parameter");
    if (e.code == EvPlayerChange) {
        if (r.size() < 5)
            throw Refused{QStringLiteral("a player change needs the seconds, written @SS")};
        e.seconds = r.seconds(4);
    } else if (e.code == EvPersonalFoul) {
        e.foulType = 1;
        if (r.size() == 5) {
            const int named = int(FoulTypeWords.indexOf(r.keyword(4)));
            e.foulType = named >= 0 ? named + 1 : r.number(4, 1, 9, "the foul type");
        }
    }
    return e;
}

ScriptEntry readPlayLine(const LineReader &r)
{
    const QString key = r.keyword(0);
    ScriptEntry e;
    using K = ScriptEntry::Kind;
    if (key == QLatin1String("H") || key == QLatin1String("A"))
        return readEventLine(r);
    if (key == QLatin1String("+")) {
        r.expectCount(1, 1);
        e.kind = K::MinuteChange;
    } else if (key == QLatin1String("TIMEOUT") || key == QLatin1String("JUMP") || key == QLatin1String("POSSESSION")) {
        r.expectCount(2, 2);
        e.kind = key == QLatin1String("TIMEOUT") ? K::TimeOut : key == QLatin1String("JUMP") ? K::JumpBall
                                                                                           : K::Possession;
        e.side = r.side(1);
    } else if (key == QLatin1String("TEAM")) {
        r.expectCount(3, 3);
        e.kind = K::TeamEvent;
        const QString what = r.keyword(1);
        e.code = what == QLatin1String("OFFENCE")    ? EvTeamOffence
                 : what == QLatin1String("DEFENCE")  ? EvTeamDefence
                 : what == QLatin1String("TURNOVER") ? EvTeamTurnover
                                                     : 0;
        if (!e.code)
            throw Refused{QStringLiteral("a team event is OFFENCE, DEFENCE or TURNOVER, not \"%1\"").arg(r.word(1))};
        e.side = r.side(2);
    } else if (key == QLatin1String("ATTACK") || key == QLatin1String("DEFENCE")) {
        r.expectCount(2, 2);
        const bool attack = key == QLatin1String("ATTACK");
        e.kind = attack ? K::AttackType : K::DefenceType;
        e.value = int((attack ? QStringLiteral("NSF") : QStringLiteral("MZ")).indexOf(r.keyword(1)));
        if (r.keyword(1).size() != 1)
            e.value = -1;
        if (e.value < 0)
            throw Refused{attack ? QStringLiteral("the attack type is N, S or F") : QStringLiteral("the defence type is M or Z")};
    } else if (key == QLatin1String("LINEUP")) {
        r.expectCount(8, 8);
        e.kind = K::LineUp;
        e.side = r.side(1);
        for (int i = 2; i < 7; ++i)
            e.five << r.number(i, 0, MaxShirt, "a shirt number");
        e.seconds = r.seconds(7);
    } else if (key == QLatin1String("STARTERS")) {
        r.expectCount(7, 7);
        e.kind = K::Starters;
        e.side = r.side(1);
        for (int i = 2; i < 7; ++i)
            e.five << r.number(i, 0, MaxShirt, "a shirt number");
    } else if (key == QLatin1String("UNDO")) {
        r.expectCount(1, 1);
        e.kind = K::Undo;
    } else if (key == QLatin1String("DELETE")) {
        r.expectCount(2, 2);
        e.kind = K::Delete;
        e.value = r.number(1, 1, 1000000, "an event number");
    } else if (key == QLatin1String("REVIEW")) {
        if (r.keyword(1) == QLatin1String("DELETE")) {
            r.expectCount(3, 3);
            e.kind = K::ReviewDelete;
            e.value = r.number(2, 1, 1000000, "an event number");
        } else if (r.keyword(1) == QLatin1String("UPDATE")) {
            r.expectCount(7, 7);
            e.kind = K::ReviewUpdate;
            e.value = r.number(2, 1, 1000000, "an event number");
            e.side = r.side(3);
            e.number = r.number(4, 0, MaxShirt, "a shirt number");
            e.code = r.number(5, 0, 99, "an event code");
            e.parameter = r.number(6, 0, MaxShirt, "the parameter");
        } else {
            throw Refused{QStringLiteral("REVIEW is followed by DELETE or UPDATE")};
        }
    } else if (key == QLatin1String("COLOR")) {
        r.expectCount(3, 3);
        e.kind = K::Color;
        e.side = r.side(1);
        e.value = r.number(2, 0, 0xFFFFFF, "a colour");
    } else if (key == QLatin1String("PLAYER")) {
        const ScriptPlayer player = readPlayer(r);
        e.kind = K::RosterPlayer;
        e.side = r.side(1);
        e.number = player.number;
        e.person = player.person;
    } else if (key == QLatin1String("MARK")) {
        r.expectCount(3, 3);
        if (r.keyword(1) != QLatin1String("DELETE"))
            throw Refused{QStringLiteral("MARK is followed by DELETE")};
        e.kind = K::MarkDelete;
        e.value = r.number(2, 1, 1000000, "a row of the events in force");
    } else {
        throw Refused{QStringLiteral("unknown entry \"%1\"").arg(r.word(0))};
    }
    return e;
}

QString sideWord(int side) { return side == 1 ? QStringLiteral("H") : QStringLiteral("A"); }

QString fiveWords(const QList<int> &five)
{
    QStringList numbers;
    for (int n : five)
        numbers << QString::number(n);
    return numbers.join(QLatin1Char(' '));
}

// A name written as one word: always quoted, so spaces and "#" stay inside;
// a double quote inside is written twice.
QString quoted(QString word)
{
    word.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
}

QString personWords(const ScriptPerson &p, bool withCity)
{
    QString words = quoted(p.surname) + QLatin1Char(' ') + quoted(p.firstName);
    if (withCity && !p.city.isEmpty())
        words += QLatin1Char(' ') + quoted(p.city);
    return words;
}

QString playerLine(int side, int number, const ScriptPerson &p)
{
    return QStringLiteral("player %1 %2 %3").arg(sideWord(side)).arg(number).arg(personWords(p, false));
}

} // namespace

std::optional<QStringList> ScriptWords(const QString &line)
{
    QStringList words;
    QString current;
    bool quoted = false, inWord = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                current += c;
            else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                current += line[++i]; // "" inside quotes is one double quote
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = inWord = true;
        } else if (c == QLatin1Char('#')) {
            break;
        } else if (c.isSpace()) {
            if (inWord)
                words << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words << current;
    return words;
}

QString PrintableText(const QString &text, int maxLength)
{
    QString shown;
    for (const QChar c : text) {
        if (shown.size() >= maxLength) {
            shown += QStringLiteral("...");
            break;
        }
        // U+FFFD stands for bytes that were no UTF-8.
        if (c.isPrint() && c != QChar::ReplacementCharacter)
            shown += c;
        else if (c.unicode() < 0x100)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

std::variant<MatchScript, ScriptError> ParseMatchScript(const QString &text)
{
    MatchScript script;
    bool playing = false;
    int playLine = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        const auto words = ScriptWords(lines[i]);
        if (!words)
            return ScriptError{lineNumber, QStringLiteral("a quote is not closed")};
        if (words->isEmpty())
            continue;
        try {
            const LineReader reader(*words, lineNumber);
            if (!playing && reader.keyword(0) == QLatin1String("PLAY")) {
                reader.expectCount(1, 1);
                playing = true;
                playLine = lineNumber;
            } else if (playing) {
                ScriptEntry entry = readPlayLine(reader);
                entry.line = lineNumber;
                script.entries << entry;
            } else {
                readHeaderLine(reader, script.header);
            }
        } catch (const Refused &r) {
            // The reason quotes what was read: from a file that is no script,
            // any bytes at all.
            return ScriptError{lineNumber, PrintableText(r.reason, ReasonLength)};
        }
    }
    if (!playing)
        return ScriptError{int(lines.size()), QStringLiteral("the line \"play\" is missing")};
    // A match needs its league and both clubs; the "play" line ends the
    // header that lacks one.
    const ScriptHeader &h = script.header;
    for (const auto &[line, name] : {std::pair{h.leagueLine, "league"}, {h.homeLine, "home"}, {h.awayLine, "away"}})
        if (line == 0)
            return ScriptError{playLine, QStringLiteral("the line \"%1\" is missing before \"play\"")
                                             .arg(QLatin1String(name))};
    return script;
}

QString ScriptLine(const ScriptEntry &e)
{
    using K = ScriptEntry::Kind;
    switch (e.kind) {
    case K::Event: {
        if (e.code == EvExitWithoutChanges)
            return QStringLiteral("%1 %2 210").arg(sideWord(e.side)).arg(e.number);
        QString line = QStringLiteral("%1 %2 %3").arg(sideWord(e.side)).arg(e.number).arg(e.code);
        if (needsParameter(e.code))
            line += QStringLiteral(" %1").arg(e.parameter);
        if (e.code == EvPersonalFoul)
            line += QLatin1Char(' ') + FoulTypeWords.value(e.foulType - 1, QStringLiteral("P"));
        if (e.code == EvPlayerChange)
            line += QStringLiteral(" @%1").arg(e.seconds, 2, 10, QLatin1Char('0'));
        return line;
    }
    case K::MinuteChange: return QStringLiteral("+");
    case K::TimeOut: return QStringLiteral("TIMEOUT ") + sideWord(e.side);
    case K::TeamEvent:
        return QStringLiteral("TEAM %1 %2")
            .arg(e.code == EvTeamOffence   ? QStringLiteral("OFFENCE")
                 : e.code == EvTeamDefence ? QStringLiteral("DEFENCE")
                                           : QStringLiteral("TURNOVER"),
                 sideWord(e.side));
    case K::JumpBall: return QStringLiteral("JUMP ") + sideWord(e.side);
    case K::Possession: return QStringLiteral("POSSESSION ") + sideWord(e.side);
    case K::AttackType: return QStringLiteral("ATTACK ") + QStringLiteral("NSF").at(e.value);
    case K::DefenceType: return QStringLiteral("DEFENCE ") + QStringLiteral("MZ").at(e.value);
    case K::LineUp:
        return QStringLiteral("LINEUP %1 %2 @%3").arg(sideWord(e.side), fiveWords(e.five))
            .arg(e.seconds, 2, 10, QLatin1Char('0'));
    case K::Starters: return QStringLiteral("starters %1 %2").arg(sideWord(e.side), fiveWords(e.five));
    case K::Undo: return QStringLiteral("UNDO");
    case K::Delete: return QStringLiteral("DELETE %1").arg(e.value);
    case K::ReviewDelete: return QStringLiteral("REVIEW DELETE %1").arg(e.value);
    case K::ReviewUpdate:
        return QStringLiteral("REVIEW UPDATE %1 %2 %3 %4 %5")
            .arg(e.value).arg(sideWord(e.side)).arg(e.number).arg(e.code).arg(e.parameter);
    case K::Color: return QStringLiteral("COLOR %1 %2").arg(sideWord(e.side)).arg(e.value);
    case K::RosterPlayer: return playerLine(e.side, e.number, e.person);
    case K::MarkDelete: return QStringLiteral("MARK DELETE %1").arg(e.value);
    }
    return QString();
}

QString ScriptHeaderText(const ScriptHeader &h)
{
    QStringList lines;
    lines << QStringLiteral("league ") + quoted(h.league) << QStringLiteral("home ") + quoted(h.home)
          << QStringLiteral("away ") + quoted(h.away);
    for (int side = 1; side <= 2; ++side)
        for (const ScriptPlayer &p : h.players[size_t(side - 1)])
            lines << playerLine(side, p.number, p.person);
    for (int side = 1; side <= 2; ++side)
        if (const auto &coach = h.coaches[size_t(side - 1)])
            lines << QStringLiteral("coach %1 %2").arg(sideWord(side), personWords(*coach, false));
    for (const ScriptPerson &p : h.referees)
        lines << QStringLiteral("referee ") + personWords(p, true);
    if (h.delegate)
        lines << QStringLiteral("delegate ") + personWords(*h.delegate, true);
    for (const ScriptPerson &p : h.statisticians)
        lines << QStringLiteral("statistician ") + personWords(p, false);
    if (!h.facts.isEmpty()) {
        QStringList facts;
        for (auto it = h.facts.cbegin(); it != h.facts.cend(); ++it)
            facts << it.key() + QLatin1Char('=') + quoted(it.value());
        lines << QStringLiteral("match ") + facts.join(QLatin1Char(' '));
    }
    if (h.colors)
        lines << QStringLiteral("colors %1 %2").arg((*h.colors)[0]).arg((*h.colors)[1]);
    for (int side = 1; side <= 2; ++side) {
        const QList<int> &five = h.starters[size_t(side - 1)];
        if (!five.isEmpty())
            lines << QStringLiteral("starters %1 %2").arg(sideWord(side), fiveWords(five));
    }
    lines << QStringLiteral("play");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
