#include "support/MatchFixtures.h"

#include "data/ActionCodes.h"
#include "data/FbClient.h"
#include "matchscript/MatchScript.h"
#include "rules/MatchGenerator.h"

#include <array>
#include <set>

using namespace Qt::StringLiterals;

QString RandomMatchScript(quint32 seed)
{
    std::set<int> numbers;
    QString text = u"league \"Random League\"\nhome \"Random Home\"\naway \"Random Away\"\n"_s;
    for (int n = 4; n <= 15; ++n) {
        numbers.insert(n);
        text += u"player H %1 \"Home\" \"No %1\"\nplayer A %1 \"Away\" \"No %1\"\n"_s.arg(n);
    }
    rules::Model model(numbers, numbers);
    rules::MatchGenerator generator(seed, {.wildShare = 0.04, .maxOvertimes = 1});
    QRandomGenerator &random = generator.random();
    std::array<QStringList, 2> starters;
    QStringList play;
    while (const auto e = generator.next(model)) {
        const bool legal = model.validate(*e) == 1;
        if (legal)
            model.apply(*e);
        ScriptEntry s{.side = e->a0, .number = e->a1, .code = e->code, .parameter = e->a3};
        switch (e->code) {
        case EvMatchStart: continue;
        case EvStarters:
            if (legal)
                starters[size_t(e->a0 - 1)] << QString::number(e->a1);
            continue;
        case EvMinuteChange: s.kind = ScriptEntry::Kind::MinuteChange; break;
        case EvTimeOut: s.kind = ScriptEntry::Kind::TimeOut; break;
        case EvTeamOffence: case EvTeamDefence: case EvTeamTurnover: s.kind = ScriptEntry::Kind::TeamEvent; break;
        case EvJumpBall: s.kind = ScriptEntry::Kind::JumpBall; break;
        case EvPersonalFoul: s.foulType = random.bounded(1, 10); break;
        case EvPlayerChange: s.seconds = random.bounded(60); break;
        default:
            if (e->code < EvMade1 || e->code > EvMatchFinish)
                continue; // not a code of the entry boxes
        }
        const bool fits = s.number >= 0 && s.number <= 100 && s.parameter >= 0 && s.parameter <= 100;
        if (!fits || (s.kind != ScriptEntry::Kind::MinuteChange && s.side != 1 && s.side != 2))
            continue; // nothing the boxes take
        play << ScriptLine(s);
        if (random.bounded(40) == 0)
            play << (random.bounded(2) ? u"ATTACK F"_s : u"DEFENCE Z"_s);
    }
    text += u"starters H %1\nstarters A %2\nplay\n"_s.arg(starters[0].join(u' '), starters[1].join(u' '));
    return text + play.join(u'\n') + u'\n';
}

QStringList MatchTables(fb::Connection &db, int match, bool withResult, bool workingTables)
{
    QStringList rows;
    auto dump = [&](const QString &caption, const QString &sql, const QVariantList &params = {}) {
        fb::Query q(db, sql);
        q.exec(params);
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.columnCount(); ++c)
                if (!q.columnName(c).startsWith(u"ID_"_s))
                    values << q.value(c).toString();
            rows << caption + u": "_s + values.join(u' ');
        }
    };
    dump(u"DTT"_s, u"select RBACTION, HG, NODR, P, M, RES, PAR1, PAR2, PAR3, PAR4, DTYPE, I1, I2, ISBONUS, STARTER, "
                   "LGTYPE, substring(S1 from 10) from DTT where IDM = ? order by RBACTION"_s,
         {match});
    dump(u"AKCIJE"_s, u"select A0, A1, SIFRA, A3, A4 from AKCIJE where ID_UTAKMICA = ? and UNDO = 0 "
                      "order by ID_AKCIJE"_s,
         {match});
    if (workingTables) {
        dump(u"home line"_s, u"select * from STATDOMACI order by DRES"_s);
        dump(u"away line"_s, u"select * from STATGOSTI order by DRES"_s);
    }
    dump(u"plus-minus"_s, u"select RBAKCIJE, HG, VRBODA, IDHOME, IDAWAY from ISTORIJA_INDEKSI_PM "
                          "where IDUTAKMICE = ? order by RBAKCIJE"_s,
         {match});
    dump(u"index"_s, u"select HG, NODR, VAL from INDEKSI where IDGAME = ? order by HG, NODR"_s, {match});
    if (withResult)
        dump(u"result"_s, u"select REZULTAT from UTAKMICA where ID_UTAKMICA = ?"_s, {match});
    return rows;
}
