#include "BenchSupport.h"

#include "data/FbClient.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>

void StoreOtherMatches(fb::Connection &db, int match, int count)
{
    db.execute(QStringLiteral(
                   "execute block (SOURCE integer = ?, N integer = ?) as "
                   "declare I integer = 0; declare M integer; "
                   "begin "
                   "  while (I < N) do begin "
                   "    insert into UTAKMICA (NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, REZULTAT) "
                   "      select NAZIV, ID_LIGA, ID_KLUB1, ID_KLUB2, REZULTAT from UTAKMICA where ID_UTAKMICA = :SOURCE "
                   "      returning ID_UTAKMICA into :M; "
                   "    insert into SASTAV (ID_IGRAC, ID_UTAKMICA, DRES, DOMGOST, SEKUNDA) "
                   "      select ID_IGRAC, :M, DRES, DOMGOST, SEKUNDA from SASTAV where ID_UTAKMICA = :SOURCE; "
                   "    insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO) "
                   "      select :M, A0, A1, SIFRA, A3, A4, UNDO from AKCIJE where ID_UTAKMICA = :SOURCE; "
                   "    insert into DTT (IDM, RBACTION, HG, NODR, P, M, RES, DTYPE, PAR4, PAR1, I1, I2, S1, ISBONUS, "
                   "        STARTER, PAR2, LGTYPE) "
                   "      select :M, RBACTION, HG, NODR, P, M, RES, DTYPE, PAR4, PAR1, I1, I2, S1, ISBONUS, STARTER, "
                   "        PAR2, LGTYPE from DTT where IDM = :SOURCE; "
                   "    I = I + 1; "
                   "  end "
                   "end"),
               {match, count});
    db.commitRetaining();
}

void ReportLatencies(const char *label, std::vector<double> v, const QString &database)
{
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::min(v.size() - 1, size_t(q * double(v.size())))]; };
    std::printf("%-34s events %4zu  median %6.2f ms  p99 %6.2f ms  max %7.2f ms  (database %.0f MB)\n", label,
                v.size(), at(0.5), at(0.99), v.back(), double(QFileInfo(database).size()) / 1048576.0);
}
