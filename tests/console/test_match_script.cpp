// Reading match scripts: the header, every kind of entry, the refusals with
// their line numbers, and the lines the journal writes back.
#include "matchscript/MatchScript.h"
#include "data/ActionCodes.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Header = u"league \"Probe League\"  # the league\n"
                       "home \"Home Club\"\n"
                       "away \"Away Club\"\n"
                       "player H 4 \"Jović\" \"Marko\"\n"
                       "player A 100 \"O'Neal\" \"Šaćir\"\n"
                       "coach H \"Obradović\" \"Željko\"\n"
                       "referee \"Ref\" \"One\" \"Beograd\"\n"
                       "statistician \"Stat\" \"Two\"\n"
                       "match caption=\"Final match\" round=3 date=2026-12-10 time=19:30\n"
                       "colors 255 16777215\n"
                       "starters H 4 5 6 7 8\n"
                       "play\n"_s;

MatchScript parsed(const QString &text)
{
    const auto result = ParseMatchScript(text);
    if (const auto *error = std::get_if<ScriptError>(&result))
        qFatal("line %d: %s", error->line, qPrintable(error->reason));
    return std::get<MatchScript>(result);
}

} // namespace

class TestMatchScript : public QObject
{
    Q_OBJECT

private slots:
    void headerIsRead();
    void entries_data();
    void entries();
    void refusals_data();
    void refusals();
    void words();
    void headerIsWrittenBack();
};

void TestMatchScript::headerIsRead()
{
    const ScriptHeader h = parsed(Header).header;
    QCOMPARE(h.league, u"Probe League"_s);
    QCOMPARE(h.home, u"Home Club"_s);
    QCOMPARE(h.players[0].size(), 1);
    QCOMPARE(h.players[1][0].number, 100);
    QCOMPARE(h.players[1][0].person.surname, u"O'Neal"_s);
    QCOMPARE(h.players[1][0].person.firstName, u"Šaćir"_s);
    QCOMPARE(h.coaches[0]->surname, u"Obradović"_s);
    QVERIFY(!h.coaches[1]);
    QCOMPARE(h.referees.size(), 1);
    QCOMPARE(h.referees[0].city, u"Beograd"_s);
    QCOMPARE(h.facts.value(u"caption"_s), u"Final match"_s);
    QCOMPARE(h.facts.value(u"date"_s), u"2026-12-10"_s);
    QCOMPARE((*h.colors)[1], 16777215);
    QCOMPARE(h.starters[0], (QList<int>{4, 5, 6, 7, 8}));
}

void TestMatchScript::entries_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("values"); // side, number, code, parameter, foul type, seconds, value
    QTest::addColumn<QString>("written");   // the journal's line; empty when the same as typed
    using K = ScriptEntry::Kind;
    QTest::newRow("made two") << u"H 4 6 3   # from zone 3"_s << int(K::Event) << QList<int>{1, 4, 6, 3, 0, -1, 0}
                              << u"H 4 6 3"_s;
    QTest::newRow("free throw") << u"A 5 4"_s << int(K::Event) << QList<int>{2, 5, 4, 0, 0, -1, 0} << QString();
    QTest::newRow("foul with type") << u"A 7 15 6 P2"_s << int(K::Event) << QList<int>{2, 7, 15, 6, 3, -1, 0}
                                    << QString();
    QTest::newRow("foul type by number") << u"a 7 15 6 9"_s << int(K::Event) << QList<int>{2, 7, 15, 6, 9, -1, 0}
                                         << u"A 7 15 6 U3"_s;
    QTest::newRow("foul without type") << u"H 7 15 6"_s << int(K::Event) << QList<int>{1, 7, 15, 6, 1, -1, 0}
                                       << u"H 7 15 6 P"_s;
    QTest::newRow("substitution") << u"A 8 18 9 @41"_s << int(K::Event) << QList<int>{2, 8, 18, 9, 0, 41, 0}
                                  << QString();
    QTest::newRow("exit without changes") << u"H 4 210"_s << int(K::Event) << QList<int>{1, 4, 21, 0, 0, -1, 0}
                                          << QString();
    QTest::newRow("minute change") << u"+"_s << int(K::MinuteChange) << QList<int>{0, 0, 0, 0, 0, -1, 0}
                                   << QString();
    QTest::newRow("time-out") << u"TIMEOUT A"_s << int(K::TimeOut) << QList<int>{2, 0, 0, 0, 0, -1, 0} << QString();
    QTest::newRow("team turnover") << u"TEAM TURNOVER H"_s << int(K::TeamEvent)
                                   << QList<int>{1, 0, EvTeamTurnover, 0, 0, -1, 0} << QString();
    QTest::newRow("jump ball") << u"jump h"_s << int(K::JumpBall) << QList<int>{1, 0, 0, 0, 0, -1, 0}
                               << u"JUMP H"_s;
    QTest::newRow("fast break") << u"ATTACK F"_s << int(K::AttackType) << QList<int>{0, 0, 0, 0, 0, -1, 2}
                                << QString();
    QTest::newRow("zone") << u"DEFENCE Z"_s << int(K::DefenceType) << QList<int>{0, 0, 0, 0, 0, -1, 1} << QString();
    QTest::newRow("line-up") << u"LINEUP H 4 5 6 7 9 @05"_s << int(K::LineUp) << QList<int>{1, 0, 0, 0, 0, 5, 0}
                             << QString();
    QTest::newRow("undo") << u"UNDO"_s << int(K::Undo) << QList<int>{0, 0, 0, 0, 0, -1, 0} << QString();
    QTest::newRow("log deletion") << u"DELETE 57"_s << int(K::Delete) << QList<int>{0, 0, 0, 0, 0, -1, 57}
                                  << QString();
    QTest::newRow("review update") << u"REVIEW UPDATE 12 A 5 7 3"_s << int(K::ReviewUpdate)
                                   << QList<int>{2, 5, 7, 3, 0, -1, 12} << QString();
    QTest::newRow("colour") << u"COLOR H 255"_s << int(K::Color) << QList<int>{1, 0, 0, 0, 0, -1, 255} << QString();
    QTest::newRow("player added during the match")
        << u"player A 12 \"Van Gogh\" \"Vincent\""_s << int(K::RosterPlayer) << QList<int>{2, 12, 0, 0, 0, -1, 0}
        << QString();
    QTest::newRow("event in force deleted") << u"MARK DELETE 2"_s << int(K::MarkDelete)
                                            << QList<int>{0, 0, 0, 0, 0, -1, 2} << QString();
}

void TestMatchScript::entries()
{
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QList<int>, values);
    QFETCH(QString, written);
    const MatchScript script = parsed(Header + line + u"\n"_s);
    QCOMPARE(script.entries.size(), 1);
    const ScriptEntry &e = script.entries[0];
    QCOMPARE(e.line, 13);
    QCOMPARE(int(e.kind), kind);
    QCOMPARE((QList<int>{e.side, e.number, e.code, e.parameter, e.foulType, e.seconds, e.value}), values);
    const QString journal = ScriptLine(e);
    QCOMPARE(journal, written.isEmpty() ? line : written);
    // What the journal writes reads back as the same entry.
    const ScriptEntry again = parsed(Header + journal).entries.value(0);
    QCOMPARE(ScriptLine(again), journal);
}

void TestMatchScript::refusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no play line") << u"league \"L\"\n"_s << 2 << u"the line \"play\" is missing"_s;
    QTest::newRow("open quote") << u"league \"L\nplay\n"_s << 1 << u"a quote is not closed"_s;
    QTest::newRow("unknown header") << u"stadium \"X\"\nplay\n"_s << 1 << u"unknown header line \"stadium\""_s;
    QTest::newRow("bad side") << u"play\nX 4 4\n"_s << 2 << u"unknown entry \"X\""_s;
    QTest::newRow("shirt out of range") << u"play\nH 101 4\n"_s << 2
                                        << u"a shirt number must be a number from 0 to 100, not \"101\""_s;
    QTest::newRow("zone missing") << u"play\nH 4 6\n"_s << 2 << u"event 6 needs its parameter"_s;
    QTest::newRow("parameter not taken") << u"play\nH 4 4 2\n"_s << 2 << u"unexpected \"2\""_s;
    QTest::newRow("seconds missing") << u"play\n\nH 4 18 9\n"_s << 3 << u"a player change needs the seconds, written @SS"_s;
    QTest::newRow("seconds written wrongly") << u"play\nH 4 18 9 41\n"_s << 2
                                             << u"the seconds must be written @SS, not \"41\""_s;
    QTest::newRow("seconds out of range") << u"play\nH 4 18 9 @60\n"_s << 2
                                          << u"the seconds must be 0 to 59, not \"@60\""_s;
    QTest::newRow("team code") << u"play\nH 4 31\n"_s << 2 << u"31 is not an event code of the entry boxes"_s;
    QTest::newRow("bad foul type") << u"play\nH 4 15 5 X9\n"_s << 2
                                   << u"the foul type must be a number from 1 to 9, not \"X9\""_s;
    QTest::newRow("fourth referee") << u"referee a b\nreferee c d\nreferee e f\nreferee g h\nplay\n"_s << 4
                                    << u"a match has at most three referees"_s;
    QTest::newRow("no away club") << u"league \"L\"\nhome \"H\"\n\nplay\nH 4 4\n"_s << 4
                                  << u"the line \"away\" is missing before \"play\""_s;
    QTest::newRow("header after play") << u"play\nleague \"L\"\n"_s << 2 << u"unknown entry \"league\""_s;
    QTest::newRow("mark without delete") << u"play\nMARK 2\n"_s << 2 << u"MARK needs more words"_s;
    QTest::newRow("mark with another word") << u"play\nMARK UNDO 2\n"_s << 2 << u"MARK is followed by DELETE"_s;
    // A file that is no script: its bytes escaped, the reason cut short.
    QTest::newRow("control bytes") << QString::fromUtf8("\x01\x1b[2J\x7f\nplay\n") << 1
                                   << u"unknown header line \"\\x01\\x1b[2J\\x7f\""_s;
    QTest::newRow("bytes that are no UTF-8") << QString::fromUtf8("\xff\xfe\nplay\n") << 1
                                             << u"unknown header line \"\\ufffd\\ufffd\""_s;
    QTest::newRow("a long word") << (QString(200, u'x') + u"\nplay\n"_s) << 1
                                 << (u"unknown header line \""_s + QString(59, u'x') + u"..."_s);
}

void TestMatchScript::refusals()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QString, reason);
    const auto result = ParseMatchScript(text);
    const auto *error = std::get_if<ScriptError>(&result);
    QVERIFY(error);
    QCOMPARE(error->line, line);
    QCOMPARE(error->reason, reason);
}

void TestMatchScript::words()
{
    QCOMPARE(*ScriptWords(u"  player H 4 \"Van  Gogh\" \"#1\"  # comment"_s),
             (QStringList{u"player"_s, u"H"_s, u"4"_s, u"Van  Gogh"_s, u"#1"_s}));
    QCOMPARE(*ScriptWords(u"coach A \"\" \"Ime\""_s), (QStringList{u"coach"_s, u"A"_s, QString(), u"Ime"_s}));
    QVERIFY(!ScriptWords(u"league \"open"_s));
    // A double quote inside a quoted word is written twice.
    QCOMPARE(*ScriptWords(u"player H 4 \"The \"\"Rock\"\" Johnson\" \"\"\"\"\"\"\"\""_s),
             (QStringList{u"player"_s, u"H"_s, u"4"_s, u"The \"Rock\" Johnson"_s, u"\"\"\""_s}));
    QVERIFY(!ScriptWords(u"league \"a\"\""_s));
    const ScriptEntry player{.kind = ScriptEntry::Kind::RosterPlayer, .side = 1, .number = 4,
                             .person = {u"The \"Rock\" Johnson"_s, u"\"\""_s}};
    QCOMPARE(ScriptLine(player), u"player H 4 \"The \"\"Rock\"\" Johnson\" \"\"\"\"\"\""_s);
    QCOMPARE(ScriptWords(ScriptLine(player))->mid(3), (QStringList{player.person.surname, player.person.firstName}));
}

void TestMatchScript::headerIsWrittenBack()
{
    ScriptHeader h = parsed(Header).header;
    h.delegate = ScriptPerson{u"Tomić"_s, u"Dražen \"Žuti\""_s, u"Osijek"_s};
    const ScriptHeader again = parsed(ScriptHeaderText(h)).header;
    QCOMPARE(again.league, h.league);
    QCOMPARE(again.home, h.home);
    QCOMPARE(again.players[1][0].number, 100);
    QCOMPARE(again.players[1][0].person.firstName, u"Šaćir"_s);
    QCOMPARE(again.coaches[0]->surname, u"Obradović"_s);
    QCOMPARE(again.referees[0].city, u"Beograd"_s);
    QCOMPARE(again.delegate->firstName, u"Dražen \"Žuti\""_s);
    QCOMPARE(again.statisticians.size(), 1);
    QCOMPARE(again.facts, h.facts);
    QCOMPARE(*again.colors, *h.colors);
    QCOMPARE(again.starters, h.starters);
}

QTEST_GUILESS_MAIN(TestMatchScript)
#include "test_match_script.moc"
