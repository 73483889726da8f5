#include "data/BoxScoreText.h"

#include "common/Transliterate.h"

#include <QStringList>

namespace {

QString madeOf(const BoxRow &row, BoxColumn made, BoxColumn attempted)
{
    return QStringLiteral("%1-%2").arg(row.count(made)).arg(row.count(attempted));
}

QString line(const QString &number, const QString &name, const BoxRow &row)
{
    QString text = QStringLiteral("%1 %2").arg(number, 3).arg(name.left(24), -24);
    text += QStringLiteral(" %1").arg(row.count(BC_POENI), 3);
    for (const auto &[made, attempted] : {std::pair{BC_P1OK, BC_P1UK}, std::pair{BC_P2OK, BC_P2UK},
                                          std::pair{BC_P3OK, BC_P3UK}, std::pair{BC_PIZIGREOK, BC_PIZIGREUK}})
        text += QStringLiteral(" %1").arg(madeOf(row, made, attempted), 6);
    for (BoxColumn c : {BC_SKOKN, BC_SKOKO, BC_SKOKOVI, BC_ASISTENCIJA, BC_UKRADENA, BC_IZGUBLJENA, BC_BLOK, BC_LG,
                        BC_INDEKS})
        text += QStringLiteral(" %1").arg(row.count(c), 3);
    return text;
}

} // namespace

QString BoxScoreText(const QString &teamName, const BoxSide &box)
{
    QStringList lines;
    lines << teamName;
    lines << QStringLiteral(" No Player                   PTS     FT     2P     3P     FG  OR  DR REB AST STL  TO BLK  PF EFF");
    for (const BoxRow &row : box.players) {
        const int number = row.count(BC_DRES);
        const QString name = Transliterate(row.surname) + u' ' + Transliterate(row.firstName);
        lines << line(number == 100 ? QStringLiteral("00") : QString::number(number), name, row);
    }
    lines << line(QString(), QStringLiteral("Totals"), box.totals);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
