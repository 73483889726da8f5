#include "support/BoxScoreAgreement.h"

#include "data/BoxScore.h"
#include "data/StatLines.h"

#include <QTest>

const QStringList &BoxColumnNames()
{
    static const QStringList names = {
        QStringLiteral("DRES"),      QStringLiteral("POENI"),     QStringLiteral("P1OK"),
        QStringLiteral("P1UK"),      QStringLiteral("P1PROC"),    QStringLiteral("P2OK"),
        QStringLiteral("P2UK"),      QStringLiteral("P2PROC"),    QStringLiteral("P3OK"),
        QStringLiteral("P3UK"),      QStringLiteral("P3PROC"),    QStringLiteral("PIZIGREOK"),
        QStringLiteral("PIZIGREUK"), QStringLiteral("P23PROC"),   QStringLiteral("SKOKO"),
        QStringLiteral("SKOKN"),     QStringLiteral("SKOKOVI"),   QStringLiteral("ASISTENCIJA"),
        QStringLiteral("UKRADENA"),  QStringLiteral("IZGUBLJENA"), QStringLiteral("BLOK"),
        QStringLiteral("BLOKNA"),    QStringLiteral("LG"),        QStringLiteral("TG"),
        QStringLiteral("LGNA"),      QStringLiteral("MINUTA"),    QStringLiteral("INDEKS"),
        QStringLiteral("STARTER"),   QStringLiteral("AKTER")};
    return names;
}

void CompareBoxScoreWithStatLines(fb::Connection &db, int match, const QString &context)
{
    StatLines lines(db);
    const BoxScoreSet box = BoxScoreBuilder(db).build(match);
    const QStringList &names = BoxColumnNames();
    for (int side : {1, 2}) {
        const BoxSide &built = box.side(side);
        const std::vector<StatLine> kept = lines.Lines(side);
        QCOMPARE(built.players.size(), kept.size());
        for (size_t i = 0; i < kept.size(); ++i) {
            const BoxRow &row = built.players[i];
            QCOMPARE(row.count(BC_DRES), kept[i].DRES);
            for (int c = BC_POENI; c <= BC_INDEKS; ++c) {
                if (c == BC_MINUTA || c == BC_P1PROC || c == BC_P2PROC || c == BC_P3PROC || c == BC_P23PROC)
                    continue; // minutes come from elsewhere; the two views round differently
                QVERIFY2(row.count(BoxColumn(c)) == kept[i].field(names[c]),
                         qPrintable(QStringLiteral("%1side %2, shirt %3, %4: %5 against %6")
                                        .arg(context.isEmpty() ? QString() : context + QStringLiteral(", "))
                                        .arg(side).arg(kept[i].DRES).arg(names[c])
                                        .arg(row.count(BoxColumn(c))).arg(kept[i].field(names[c]))));
            }
        }
    }
}
