/*
 * The match rules engine: the procedures that check and record every event
 * of the open match and keep its working tables in step with AKCIJE.
 * docs/rules-engine.md gives the rule of every event code, the clock walk,
 * the lines, the on-court snapshot keys and the correction procedures.
 *
 * Public procedures (called by the program): CHECKACTION, ISTEAM, UNDO,
 * DELETEACTION, RE_OPEN, TGTRENER. Helpers are named RULES_*.
 *
 * The working tables (TEMP, STATDOMACI/STATGOSTI, MINUTID/MINUTIG,
 * PETORKADOM/PETORKAGOSTI) hold the one open match and carry no match
 * column. TEMP.A4 holds the phase flags of the match: 1 = match start
 * (code 1) recorded, 2 = match finish (code 22) recorded.
 *
 * Column codes name one counter of a statistic line (see RULES_LINE_ADD):
 *   1 P1OK, 2 P1UK, 10+z P2zOK, 20+z P2zUK, 30+z P3zOK, 40+z P3zUK,
 *   51 SKOKO, 52 SKOKN, 53 ASISTENCIJA, 54 UKRADENA, 60+n IZGn,
 *   81 BLOK, 82 BLOKNA, 83 LG, 84 TG, 85 LGNA, 90 MINUTA.
 *
 * Game minute of the clock (P period, V clock minute):
 *   GM = 10*P - V in a quarter, 5*P + 20 - V in an overtime.
 * Minute of an event (stored in AKCIJE.A4): GM while the clock runs,
 * GM + 1 at a period start (the first minute of the coming period),
 * GM(P, 0) after the end of play. On-court snapshot of minute t: VREME 100 + t.
 *
 * Procedures are created in dependency order; every statement of this
 * script runs in its own transaction.
 */

create or alter exception QNT_EVENT_NOT_IN_FORCE
    'The event does not exist in this match or has already been taken back';

create or alter exception QNT_EVENT_NOT_REMOVABLE
    'The event cannot be removed: a later event of the match would no longer be valid';

set term ^ ;

/*
 * Adds 1 to the counters with column codes C1 and C2 (0 = none) of one
 * player's statistic line, his line of minute T and his line of period K;
 * a missing line is created first.
 */
create or alter procedure RULES_LINE_ADD (
    SIDE smallint, DRES smallint, T smallint, K smallint, C1 smallint, C2 smallint)
as
begin
    if (SIDE = 1) then
    begin
        if (not exists (select 1 from STATDOMACI where DRES = :DRES)) then
            insert into STATDOMACI (DRES) values (:DRES);
        if (not exists (select 1 from MINUTID where VREME = :T and DRES = :DRES)) then
            insert into MINUTID (DRES, VREME) values (:DRES, :T);
        if (not exists (select 1 from MINUTID where VREME = -:K and DRES = :DRES)) then
            insert into MINUTID (DRES, VREME) values (:DRES, -:K);

        update STATDOMACI set
            P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, 1, 0),
            P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, 1, 0),
            P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, 1, 0),
            P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, 1, 0),
            P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, 1, 0),
            P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, 1, 0),
            P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, 1, 0),
            P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, 1, 0),
            P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, 1, 0),
            P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, 1, 0),
            P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, 1, 0),
            P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, 1, 0),
            P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, 1, 0),
            P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, 1, 0),
            P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, 1, 0),
            P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, 1, 0),
            P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, 1, 0),
            P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, 1, 0),
            P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, 1, 0),
            P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, 1, 0),
            P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, 1, 0),
            P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, 1, 0),
            P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, 1, 0),
            P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, 1, 0),
            SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, 1, 0),
            SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, 1, 0),
            ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, 1, 0),
            UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, 1, 0),
            IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, 1, 0),
            IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, 1, 0),
            IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, 1, 0),
            IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, 1, 0),
            IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, 1, 0),
            IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, 1, 0),
            IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, 1, 0),
            IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, 1, 0),
            IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, 1, 0),
            IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, 1, 0),
            IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, 1, 0),
            BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, 1, 0),
            BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, 1, 0),
            LG = LG + iif(:C1 = 83 or :C2 = 83, 1, 0),
            TG = TG + iif(:C1 = 84 or :C2 = 84, 1, 0),
            LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, 1, 0),
            MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, 1, 0)
        where DRES = :DRES;
        update MINUTID set
            P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, 1, 0),
            P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, 1, 0),
            P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, 1, 0),
            P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, 1, 0),
            P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, 1, 0),
            P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, 1, 0),
            P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, 1, 0),
            P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, 1, 0),
            P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, 1, 0),
            P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, 1, 0),
            P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, 1, 0),
            P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, 1, 0),
            P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, 1, 0),
            P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, 1, 0),
            P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, 1, 0),
            P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, 1, 0),
            P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, 1, 0),
            P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, 1, 0),
            P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, 1, 0),
            P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, 1, 0),
            P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, 1, 0),
            P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, 1, 0),
            P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, 1, 0),
            P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, 1, 0),
            SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, 1, 0),
            SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, 1, 0),
            ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, 1, 0),
            UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, 1, 0),
            IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, 1, 0),
            IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, 1, 0),
            IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, 1, 0),
            IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, 1, 0),
            IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, 1, 0),
            IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, 1, 0),
            IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, 1, 0),
            IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, 1, 0),
            IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, 1, 0),
            IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, 1, 0),
            IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, 1, 0),
            BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, 1, 0),
            BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, 1, 0),
            LG = LG + iif(:C1 = 83 or :C2 = 83, 1, 0),
            TG = TG + iif(:C1 = 84 or :C2 = 84, 1, 0),
            LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, 1, 0),
            MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, 1, 0)
        where VREME in (:T, -:K) and DRES = :DRES;
    end
    else
    begin
        if (not exists (select 1 from STATGOSTI where DRES = :DRES)) then
            insert into STATGOSTI (DRES) values (:DRES);
        if (not exists (select 1 from MINUTIG where VREME = :T and DRES = :DRES)) then
            insert into MINUTIG (DRES, VREME) values (:DRES, :T);
        if (not exists (select 1 from MINUTIG where VREME = -:K and DRES = :DRES)) then
            insert into MINUTIG (DRES, VREME) values (:DRES, -:K);

        update STATGOSTI set
            P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, 1, 0),
            P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, 1, 0),
            P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, 1, 0),
            P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, 1, 0),
            P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, 1, 0),
            P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, 1, 0),
            P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, 1, 0),
            P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, 1, 0),
            P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, 1, 0),
            P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, 1, 0),
            P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, 1, 0),
            P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, 1, 0),
            P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, 1, 0),
            P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, 1, 0),
            P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, 1, 0),
            P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, 1, 0),
            P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, 1, 0),
            P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, 1, 0),
            P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, 1, 0),
            P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, 1, 0),
            P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, 1, 0),
            P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, 1, 0),
            P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, 1, 0),
            P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, 1, 0),
            SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, 1, 0),
            SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, 1, 0),
            ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, 1, 0),
            UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, 1, 0),
            IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, 1, 0),
            IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, 1, 0),
            IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, 1, 0),
            IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, 1, 0),
            IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, 1, 0),
            IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, 1, 0),
            IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, 1, 0),
            IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, 1, 0),
            IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, 1, 0),
            IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, 1, 0),
            IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, 1, 0),
            BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, 1, 0),
            BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, 1, 0),
            LG = LG + iif(:C1 = 83 or :C2 = 83, 1, 0),
            TG = TG + iif(:C1 = 84 or :C2 = 84, 1, 0),
            LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, 1, 0),
            MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, 1, 0)
        where DRES = :DRES;
        update MINUTIG set
            P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, 1, 0),
            P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, 1, 0),
            P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, 1, 0),
            P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, 1, 0),
            P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, 1, 0),
            P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, 1, 0),
            P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, 1, 0),
            P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, 1, 0),
            P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, 1, 0),
            P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, 1, 0),
            P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, 1, 0),
            P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, 1, 0),
            P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, 1, 0),
            P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, 1, 0),
            P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, 1, 0),
            P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, 1, 0),
            P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, 1, 0),
            P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, 1, 0),
            P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, 1, 0),
            P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, 1, 0),
            P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, 1, 0),
            P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, 1, 0),
            P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, 1, 0),
            P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, 1, 0),
            SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, 1, 0),
            SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, 1, 0),
            ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, 1, 0),
            UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, 1, 0),
            IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, 1, 0),
            IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, 1, 0),
            IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, 1, 0),
            IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, 1, 0),
            IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, 1, 0),
            IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, 1, 0),
            IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, 1, 0),
            IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, 1, 0),
            IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, 1, 0),
            IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, 1, 0),
            IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, 1, 0),
            BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, 1, 0),
            BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, 1, 0),
            LG = LG + iif(:C1 = 83 or :C2 = 83, 1, 0),
            TG = TG + iif(:C1 = 84 or :C2 = 84, 1, 0),
            LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, 1, 0),
            MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, 1, 0)
        where VREME in (:T, -:K) and DRES = :DRES;
    end
end^

/*
 * Makes sure a player on court in minute T of period K has his lines for
 * that minute and that period, even when he records nothing in them.
 */
create or alter procedure RULES_PRESENT (SIDE smallint, DRES smallint, T smallint, K smallint)
as
begin
    if (SIDE = 1) then
    begin
        if (not exists (select 1 from MINUTID where VREME = :T and DRES = :DRES)) then
            insert into MINUTID (DRES, VREME) values (:DRES, :T);
        if (not exists (select 1 from MINUTID where VREME = -:K and DRES = :DRES)) then
            insert into MINUTID (DRES, VREME) values (:DRES, -:K);
    end
    else
    begin
        if (not exists (select 1 from MINUTIG where VREME = :T and DRES = :DRES)) then
            insert into MINUTIG (DRES, VREME) values (:DRES, :T);
        if (not exists (select 1 from MINUTIG where VREME = -:K and DRES = :DRES)) then
            insert into MINUTIG (DRES, VREME) values (:DRES, -:K);
    end
end^

/*
 * One change of a side's on-court rows with the given VREME: OLD_DRES null
 * adds NEW_DRES, NEW_DRES null removes OLD_DRES, both replace OLD_DRES by
 * NEW_DRES in its place (the row keeps its key, so the order of the five
 * stays the order in which they came on).
 */
create or alter procedure RULES_COURT (
    SIDE smallint, VREME smallint, OLD_DRES smallint, NEW_DRES smallint)
as
begin
    if (SIDE = 1) then
    begin
        if (OLD_DRES is null) then
            insert into PETORKADOM (DRES, VREME) values (:NEW_DRES, :VREME);
        else if (NEW_DRES is null) then
            delete from PETORKADOM where VREME = :VREME and DRES = :OLD_DRES;
        else
            update PETORKADOM set DRES = :NEW_DRES where VREME = :VREME and DRES = :OLD_DRES;
    end
    else
    begin
        if (OLD_DRES is null) then
            insert into PETORKAGOSTI (DRES, VREME) values (:NEW_DRES, :VREME);
        else if (NEW_DRES is null) then
            delete from PETORKAGOSTI where VREME = :VREME and DRES = :OLD_DRES;
        else
            update PETORKAGOSTI set DRES = :NEW_DRES where VREME = :VREME and DRES = :OLD_DRES;
    end
end^

/*
 * Minute T of period K begins: the ten players on court get their lines of
 * the minute and of the period, and the snapshot 100 + T starts as a copy
 * of the five now (substitutions during the minute keep it up to date, so
 * when the minute has ended it holds the five who ended it).
 */
create or alter procedure RULES_MINUTE_START (T smallint, K smallint)
as
declare variable D smallint;
begin
    for select DRES from PETORKADOM where VREME = 0 order by ID_PETORKA into :D do
    begin
        execute procedure RULES_PRESENT(1, :D, :T, :K);
        insert into PETORKADOM (DRES, VREME) values (:D, 100 + :T);
    end
    for select DRES from PETORKAGOSTI where VREME = 0 order by ID_PETORKA into :D do
    begin
        execute procedure RULES_PRESENT(2, :D, :T, :K);
        insert into PETORKAGOSTI (DRES, VREME) values (:D, 100 + :T);
    end
end^

/* Minute T of period K has ended: every player on court now has played it. */
create or alter procedure RULES_MINUTE_END (T smallint, K smallint)
as
declare variable D smallint;
begin
    for select DRES from PETORKADOM where VREME = 0 into :D do
        execute procedure RULES_LINE_ADD(1, :D, :T, :K, 90, 0);
    for select DRES from PETORKAGOSTI where VREME = 0 into :D do
        execute procedure RULES_LINE_ADD(2, :D, :T, :K, 90, 0);
end^

/*
 * Empties the working tables and sets them to the state of match ID before
 * its first event: the clock row at 10, 1, 0, 4, 10, 5, 0 and an empty
 * statistic line per roster row (SASTAV: DOMGOST 1 home, 0 away).
 */
create or alter procedure RULES_RESET (ID integer)
as
declare variable D smallint;
begin
    delete from MINUTID;
    delete from MINUTIG;
    delete from PETORKADOM;
    delete from PETORKAGOSTI;
    delete from STATDOMACI;
    delete from STATGOSTI;
    delete from TEMP;
    insert into TEMP (VREME, PERIOD, KRAJ, PERIOD_NO, PERIOD_TIME, EXTRA_TIME, A4)
        values (10, 1, 0, 4, 10, 5, 0);
    for select distinct DRES from SASTAV
        where ID_UTAKMICA = :ID and DOMGOST = 1 and DRES is not null
        order by DRES into :D do
        insert into STATDOMACI (DRES) values (:D);
    for select distinct DRES from SASTAV
        where ID_UTAKMICA = :ID and DOMGOST <> 1 and DRES is not null
        order by DRES into :D do
        insert into STATGOSTI (DRES) values (:D);
end^

/*
 * Where a shirt number of match ID stands: ROSTER 1 when it is on the
 * roster of SIDE (1 home, 2 away), COURT 1 when it is on that side's court.
 */
create or alter procedure RULES_PLAYER (ID integer, SIDE smallint, DRES smallint)
returns (ROSTER smallint, COURT smallint)
as
begin
    ROSTER = 0;
    COURT = 0;
    if (SIDE = 1) then
    begin
        if (exists (select 1 from SASTAV
                    where ID_UTAKMICA = :ID and DOMGOST = 1 and DRES = :DRES)) then
            ROSTER = 1;
        if (exists (select 1 from PETORKADOM where VREME = 0 and DRES = :DRES)) then
            COURT = 1;
    end
    else if (SIDE = 2) then
    begin
        if (exists (select 1 from SASTAV
                    where ID_UTAKMICA = :ID and DOMGOST in (0, 2) and DRES = :DRES)) then
            ROSTER = 1;
        if (exists (select 1 from PETORKAGOSTI where VREME = 0 and DRES = :DRES)) then
            COURT = 1;
    end
end^

/*
 * Decides whether an event is legal in the current state of the working
 * tables; OK 1 when it is, else the refusal code. UPTO limits the earlier
 * events looked at (the time-out count) to those recorded before it; null
 * means all events in force. Checks run in this order:
 *   1. the code and the shape of its parameters (9);
 *   2. the phase of the match and the clock (33);
 *   3. the acting player (0 not on the roster, 2 not on court; for a
 *      starter 5 when he is already on court);
 *   4. the second parameter (3 zone, 4 turnover type, 9 any other value
 *      that must be 0; 5, 6, 7, 8 for the player it names);
 *   5. limits (33: a sixth starter, a time-out over the allowance;
 *      10 / 11: the first minute change without five starters).
 */
create or alter procedure RULES_VALIDATE (
    ID integer, A0 smallint, A1 smallint, SIFRA smallint, A3 smallint, UPTO integer)
returns (OK smallint)
as
declare variable V smallint;
declare variable P smallint;
declare variable KR smallint;
declare variable FL smallint;
declare variable STARTED smallint;
declare variable PSTART smallint;
declare variable RUNNING smallint;
declare variable MS smallint;
declare variable MF smallint;
declare variable ROSTER smallint;
declare variable COURT smallint;
declare variable N integer;
declare variable LO smallint;
declare variable HI smallint;
begin
    OK = 1;
    if (UPTO is null) then
        UPTO = 2147483647;

    /* 1. The code and the shape of its parameters. */
    if (SIFRA is null or A0 is null or A1 is null or A3 is null) then
    begin
        OK = 9;
        exit;
    end
    if (SIFRA in (0, 1, 3, 22)) then
    begin
        if (A0 <> 3 or A1 <> 0 or A3 <> 0) then
            OK = 9;
    end
    else if (SIFRA in (20, 31, 32, 33, 34)) then
    begin
        if (A0 not in (1, 2) or A1 <> 0 or A3 <> 0) then
            OK = 9;
    end
    else if (SIFRA = 2 or (SIFRA >= 4 and SIFRA <= 19) or SIFRA = 21) then
    begin
        if (A0 not in (1, 2)) then
            OK = 9;
    end
    else
        OK = 9;
    if (OK <> 1) then
        exit;

    /* 2. The phase of the match and the clock. */
    select first 1 VREME, PERIOD, KRAJ, coalesce(A4, 0) from TEMP into :V, :P, :KR, :FL;
    if (row_count = 0 or V is null or P is null or KR is null) then
    begin
        OK = 33;
        exit;
    end
    MS = bin_and(FL, 1);
    MF = bin_and(FL, 2);
    STARTED = iif(P > 1 or V < 10 or KR = 1, 1, 0);
    PSTART = iif(KR = 0 and ((P <= 4 and V = 10) or (P >= 5 and V = 5)), 1, 0);
    RUNNING = iif(KR = 0 and PSTART = 0, 1, 0);

    if (SIFRA = 0) then
        OK = iif(KR = 1 and MF = 0, 1, 33);
    else if (SIFRA = 1) then
        OK = iif(MS = 0, 1, 33);
    else if (SIFRA = 2) then
        OK = iif(MS > 0 and STARTED = 0, 1, 33);
    else if (SIFRA = 3) then
        OK = iif(MF = 0, 1, 33);
    else if (SIFRA = 18 or (SIFRA >= 31 and SIFRA <= 34)) then
        OK = iif(MS > 0 and KR = 0, 1, 33);
    else if (SIFRA = 21) then
        OK = iif(STARTED = 1 and KR = 0, 1, 33);
    else if (SIFRA = 22) then
        OK = iif(KR = 1 and MF = 0, 1, 33);
    else
        OK = iif(RUNNING = 1, 1, 33);
    if (OK <> 1) then
        exit;

    /* 3. The acting player. */
    if (SIFRA = 2 or (SIFRA >= 4 and SIFRA <= 19) or SIFRA = 21) then
    begin
        execute procedure RULES_PLAYER(:ID, :A0, :A1) returning_values :ROSTER, :COURT;
        if (ROSTER = 0) then
            OK = 0;
        else if (SIFRA = 2) then
            OK = iif(COURT = 1, 5, 1);
        else if (COURT = 0) then
            OK = 2;
        if (OK <> 1) then
            exit;
    end

    /* 4. The second parameter. */
    if (SIFRA in (2, 4, 5, 10, 11, 12, 13, 16, 19, 21)) then
    begin
        if (A3 <> 0) then
            OK = 9;
    end
    else if (SIFRA in (6, 7)) then
    begin
        if (A3 < 1 or A3 > 6) then
            OK = 3;
    end
    else if (SIFRA in (8, 9)) then
    begin
        if (A3 < 1 or A3 > 6 or A3 = 5) then
            OK = 3;
    end
    else if (SIFRA = 14) then
    begin
        if (A3 < 1 or A3 > 13) then
            OK = 4;
    end
    else if (SIFRA in (15, 17)) then
    begin
        /* the fouled or blocked player: an opponent on court */
        execute procedure RULES_PLAYER(:ID, 3 - :A0, :A3) returning_values :ROSTER, :COURT;
        if (ROSTER = 0) then
        begin
            execute procedure RULES_PLAYER(:ID, :A0, :A3) returning_values :ROSTER, :COURT;
            OK = iif(ROSTER = 1, 7, 6);
        end
        else if (COURT = 0) then
            OK = 8;
    end
    else if (SIFRA = 18) then
    begin
        /* the entering player: a team-mate on the bench, not fouled out */
        execute procedure RULES_PLAYER(:ID, :A0, :A3) returning_values :ROSTER, :COURT;
        if (ROSTER = 0) then
        begin
            execute procedure RULES_PLAYER(:ID, 3 - :A0, :A3) returning_values :ROSTER, :COURT;
            OK = iif(ROSTER = 1, 7, 6);
        end
        else if (COURT = 1) then
            OK = 5;
        else
        begin
            if (A0 = 1) then
                select coalesce(LG, 0) + coalesce(TG, 0) from STATDOMACI where DRES = :A3 into :N;
            else
                select coalesce(LG, 0) + coalesce(TG, 0) from STATGOSTI where DRES = :A3 into :N;
            if (coalesce(N, 0) >= 5) then
                OK = 8;
        end
    end
    if (OK <> 1) then
        exit;

    /* 5. Limits. */
    if (SIFRA = 2) then
    begin
        if (A0 = 1) then
            select count(*) from PETORKADOM where VREME = 0 into :N;
        else
            select count(*) from PETORKAGOSTI where VREME = 0 into :N;
        if (N >= 5) then
            OK = 33;
    end
    else if (SIFRA = 3 and STARTED = 0) then
    begin
        select count(*) from PETORKADOM where VREME = 0 into :N;
        if (N < 5) then
            OK = 10;
        else
        begin
            select count(*) from PETORKAGOSTI where VREME = 0 into :N;
            if (N < 5) then
                OK = 11;
        end
    end
    else if (SIFRA = 20) then
    begin
        /* two time-outs in the first half, three in the second (at most two
           of them in the last two minutes of the fourth quarter), one in
           each overtime */
        if (P <= 2) then
        begin
            LO = 1;
            HI = 20;
            N = 2;
        end
        else if (P <= 4) then
        begin
            LO = 21;
            HI = 40;
            N = 3;
        end
        else
        begin
            LO = 5 * P + 16;
            HI = 5 * P + 20;
            N = 1;
        end
        if ((select count(*) from AKCIJE
             where ID_UTAKMICA = :ID and ID_AKCIJE < :UPTO and UNDO = 0 and SIFRA = 20
               and A0 = :A0 and A4 between :LO and :HI) >= N) then
            OK = 33;
        else if (P = 4 and V <= 1) then
        begin
            if ((select count(*) from AKCIJE
                 where ID_UTAKMICA = :ID and ID_AKCIJE < :UPTO and UNDO = 0 and SIFRA = 20
                   and A0 = :A0 and A4 between 39 and 40) >= 2) then
                OK = 33;
        end
    end
end^

/*
 * Applies one legal event to the working tables. OK is 1, or for the
 * minute change 60 (a quarter ended) or 66 (play ended); T is the minute
 * of the event, which CHECKACTION stores in AKCIJE.A4.
 */
create or alter procedure RULES_APPLY (
    ID integer, A0 smallint, A1 smallint, SIFRA smallint, A3 smallint)
returns (OK smallint, T smallint)
as
declare variable V smallint;
declare variable P smallint;
declare variable KR smallint;
declare variable FL smallint;
declare variable STARTED smallint;
declare variable PSTART smallint;
declare variable C1 smallint;
declare variable C2 smallint;
begin
    OK = 1;
    select first 1 VREME, PERIOD, KRAJ, coalesce(A4, 0) from TEMP into :V, :P, :KR, :FL;
    STARTED = iif(P > 1 or V < 10 or KR = 1, 1, 0);
    PSTART = iif(KR = 0 and ((P <= 4 and V = 10) or (P >= 5 and V = 5)), 1, 0);
    /* the game minute now (while the clock runs, the minute being played) */
    T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);

    if (SIFRA in (0, 3)) then
    begin
        if (KR = 1) then
        begin
            /* after the end of play: the next overtime, not yet started */
            P = P + 1;
            V = 5;
            KR = 0;
        end
        else if (SIFRA = 3) then
        begin
            if (PSTART = 1) then
            begin
                /* the first minute change of a period starts its clock */
                if (STARTED = 0) then
                begin
                    /* tip-off: snapshot 100 holds the five who start the match */
                    insert into PETORKADOM (DRES, VREME)
                        select DRES, 100 from PETORKADOM where VREME = 0 order by ID_PETORKA;
                    insert into PETORKAGOSTI (DRES, VREME)
                        select DRES, 100 from PETORKAGOSTI where VREME = 0 order by ID_PETORKA;
                end
                V = V - 1;
                T = T + 1;
                execute procedure RULES_MINUTE_START(:T, :P);
            end
            else
            begin
                execute procedure RULES_MINUTE_END(:T, :P);
                if (V > 0) then
                begin
                    V = V - 1;
                    T = T + 1;
                    execute procedure RULES_MINUTE_START(:T, :P);
                end
                else if (P < 4) then
                begin
                    P = P + 1;
                    V = 10;
                    OK = 60;
                end
                else
                begin
                    KR = 1;
                    OK = 66;
                end
            end
        end
        update TEMP set VREME = :V, PERIOD = :P, KRAJ = :KR;
    end
    else if (SIFRA = 1) then
        update TEMP set A4 = bin_or(:FL, 1);
    else if (SIFRA = 22) then
        update TEMP set A4 = bin_or(:FL, 2);
    else if (SIFRA = 2) then
    begin
        execute procedure RULES_COURT(:A0, 0, null, :A1);
        execute procedure RULES_COURT(:A0, 1, null, :A1);
    end
    else if (SIFRA = 18) then
    begin
        execute procedure RULES_COURT(:A0, 0, :A1, :A3);
        if (STARTED = 0) then
            /* before the match a change of the five changes the starters */
            execute procedure RULES_COURT(:A0, 1, :A1, :A3);
        else if (PSTART = 0) then
        begin
            execute procedure RULES_COURT(:A0, 100 + :T, :A1, :A3);
            execute procedure RULES_PRESENT(:A0, :A3, :T, :P);
        end
    end
    else if (SIFRA = 21) then
    begin
        execute procedure RULES_COURT(:A0, 0, :A1, null);
        if (PSTART = 0) then
            execute procedure RULES_COURT(:A0, 100 + :T, :A1, null);
    end
    else if (SIFRA >= 4 and SIFRA <= 17) then
    begin
        C2 = 0;
        if (SIFRA = 4) then
        begin
            C1 = 1;
            C2 = 2;
        end
        else if (SIFRA = 5) then
            C1 = 2;
        else if (SIFRA = 6) then
        begin
            C1 = 10 + A3;
            C2 = 20 + A3;
        end
        else if (SIFRA = 7) then
            C1 = 20 + A3;
        else if (SIFRA = 8) then
        begin
            C1 = 30 + A3;
            C2 = 40 + A3;
        end
        else if (SIFRA = 9) then
            C1 = 40 + A3;
        else if (SIFRA = 10) then
            C1 = 51;
        else if (SIFRA = 11) then
            C1 = 52;
        else if (SIFRA = 12) then
            C1 = 53;
        else if (SIFRA = 13) then
            C1 = 54;
        else if (SIFRA = 14) then
            /* types 12 and 13 are kept with 7 and 5, as the export groups them */
            C1 = 60 + decode(A3, 12, 7, 13, 5, A3);
        else if (SIFRA = 15) then
            C1 = 83;
        else if (SIFRA = 16) then
            C1 = 84;
        else
            C1 = 81;
        execute procedure RULES_LINE_ADD(:A0, :A1, :T, :P, :C1, :C2);
        if (SIFRA = 15) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 85, 0);
        else if (SIFRA = 17) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 82, 0);
    end

    /* the minute of the event, from the clock after it */
    if (KR = 1) then
        T = iif(P <= 4, 10 * P, 5 * P + 20);
    else if ((P <= 4 and V = 10) or (P >= 5 and V = 5)) then
        T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V) + 1;
    else
        T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);
end^

/*
 * Rebuilds the working tables of match ID from its events in force, in the
 * order of recording, and brings each event's A4 up to date. With CHECKED
 * 1 every event is checked first as CHECKACTION would check it at that
 * point; the first one refused stops the rebuild and is answered in BAD_ID
 * with its refusal code in BAD_OK (BAD_ID null: all events are valid).
 */
create or alter procedure RULES_REBUILD (ID integer, CHECKED smallint)
returns (BAD_ID integer, BAD_OK smallint)
as
declare variable EID integer;
declare variable A0 smallint;
declare variable A1 smallint;
declare variable SIFRA smallint;
declare variable A3 smallint;
declare variable A4 smallint;
declare variable R smallint;
declare variable T smallint;
begin
    BAD_ID = null;
    BAD_OK = 1;
    execute procedure RULES_RESET(:ID);
    for select ID_AKCIJE, coalesce(A0, 0), coalesce(A1, 0), coalesce(SIFRA, -1),
               coalesce(A3, 0), A4
        from AKCIJE
        where ID_UTAKMICA = :ID and UNDO = 0
        order by ID_AKCIJE
        into :EID, :A0, :A1, :SIFRA, :A3, :A4 do
    begin
        if (CHECKED = 1) then
        begin
            execute procedure RULES_VALIDATE(:ID, :A0, :A1, :SIFRA, :A3, :EID) returning_values :R;
            if (R <> 1) then
            begin
                BAD_ID = EID;
                BAD_OK = R;
                exit;
            end
        end
        execute procedure RULES_APPLY(:ID, :A0, :A1, :SIFRA, :A3) returning_values :R, :T;
        if (A4 is distinct from T) then
            update AKCIJE set A4 = :T where ID_AKCIJE = :EID;
    end
end^

/* ------------------------------------------------------------------ */
/* The procedures the program calls                                    */
/* ------------------------------------------------------------------ */

/*
 * Checks one event of match ID and, when it is legal, records it in AKCIJE
 * (UNDO 0, A4 its minute) and applies it to the working tables.
 * OK: 1 recorded; 60 / 66 recorded minute change that ended a quarter /
 * play; any other value is a refusal and nothing is recorded.
 */
create or alter procedure CHECKACTION (
    ID smallint, A0 smallint, A1 smallint, SIFRA smallint, A3 smallint)
returns (OK smallint)
as
declare variable T smallint;
begin
    execute procedure RULES_VALIDATE(:ID, :A0, :A1, :SIFRA, :A3, null) returning_values :OK;
    if (OK <> 1) then
        exit;
    execute procedure RULES_APPLY(:ID, :A0, :A1, :SIFRA, :A3) returning_values :OK, :T;
    insert into AKCIJE (ID_UTAKMICA, A0, A1, SIFRA, A3, A4, UNDO)
        values (:ID, :A0, :A1, :SIFRA, :A3, :T, 0);
end^

/*
 * Where a player of the open match stands: 1 on the side's roster (its
 * statistic lines) and on court, 2 on the roster and not on court, 0 not on
 * the roster (also for a side other than 1 or 2).
 */
create or alter procedure ISTEAM (A0 smallint, A1 smallint)
returns (TEAM smallint)
as
begin
    TEAM = 0;
    if (A0 = 1) then
    begin
        if (exists (select 1 from STATDOMACI where DRES = :A1)) then
        begin
            TEAM = 2;
            if (exists (select 1 from PETORKADOM where VREME = 0 and DRES = :A1)) then
                TEAM = 1;
        end
    end
    else if (A0 = 2) then
    begin
        if (exists (select 1 from STATGOSTI where DRES = :A1)) then
        begin
            TEAM = 2;
            if (exists (select 1 from PETORKAGOSTI where VREME = 0 and DRES = :A1)) then
                TEAM = 1;
        end
    end
end^

/* Rebuilds the working tables of match ID from its events in force. */
create or alter procedure RE_OPEN (ID integer)
as
declare variable BAD_ID integer;
declare variable BAD_OK smallint;
begin
    execute procedure RULES_REBUILD(:ID, 0) returning_values :BAD_ID, :BAD_OK;
end^

/*
 * Takes back the newest event in force of match ID1 (it gets UNDO 1) and
 * rebuilds the working tables without it. OK: 1 done; 0 no event in force;
 * 3 play has ended and the newest event is not the minute change that
 * ended it (or a match finish that follows such a minute change).
 */
create or alter procedure UNDO (ID1 integer)
returns (OK smallint)
as
declare variable EID integer;
declare variable SIFRA smallint;
declare variable PREV smallint;
declare variable KR smallint;
declare variable BAD_ID integer;
declare variable BAD_OK smallint;
begin
    select first 1 ID_AKCIJE, SIFRA from AKCIJE
        where ID_UTAKMICA = :ID1 and UNDO = 0
        order by ID_AKCIJE desc
        into :EID, :SIFRA;
    if (EID is null) then
    begin
        OK = 0;
        exit;
    end
    select first 1 KRAJ from TEMP into :KR;
    if (KR = 1) then
    begin
        if (SIFRA = 22) then
        begin
            select first 1 SIFRA from AKCIJE
                where ID_UTAKMICA = :ID1 and UNDO = 0 and ID_AKCIJE < :EID
                order by ID_AKCIJE desc
                into :PREV;
            if (PREV is distinct from 3) then
            begin
                OK = 3;
                exit;
            end
        end
        else if (SIFRA is distinct from 3) then
        begin
            OK = 3;
            exit;
        end
    end
    update AKCIJE set UNDO = 1 where ID_AKCIJE = :EID;
    execute procedure RULES_REBUILD(:ID1, 0) returning_values :BAD_ID, :BAD_OK;
    OK = 1;
end^

/*
 * Removes event IDA of match IDUT and its effects: the event gets UNDO 1
 * and the working tables are rebuilt, checking every remaining event as
 * CHECKACTION would. When the event is not in force, or when a remaining
 * event would be refused, an exception is raised and nothing changes.
 */
create or alter procedure DELETEACTION (IDA integer, IDUT integer)
as
declare variable BAD_ID integer;
declare variable BAD_OK smallint;
begin
    if (not exists (select 1 from AKCIJE
                    where ID_AKCIJE = :IDA and ID_UTAKMICA = :IDUT and UNDO = 0)) then
        exception QNT_EVENT_NOT_IN_FORCE;
    update AKCIJE set UNDO = 1 where ID_AKCIJE = :IDA;
    execute procedure RULES_REBUILD(:IDUT, 1) returning_values :BAD_ID, :BAD_OK;
    if (BAD_ID is not null) then
        exception QNT_EVENT_NOT_REMOVABLE
            'Event ' || IDA || ' cannot be removed: event ' || BAD_ID
            || ' after it would no longer be valid (result ' || BAD_OK || ')';
end^

/*
 * Technical fouls of the coaches (code 19) of match ID in force, home TG1
 * and away TG2, in the periods up to and including PERIOD; PERIOD 0 or
 * less counts the whole match.
 */
create or alter procedure TGTRENER (ID integer, PERIOD smallint)
returns (TG1 smallint, TG2 smallint)
as
declare variable HI smallint;
begin
    if (PERIOD is null or PERIOD <= 0) then
        HI = 32767;
    else if (PERIOD <= 4) then
        HI = 10 * PERIOD;
    else
        HI = 5 * PERIOD + 20;
    select count(iif(A0 = 1, 1, null)), count(iif(A0 = 2, 1, null))
        from AKCIJE
        where ID_UTAKMICA = :ID and UNDO = 0 and SIFRA = 19 and A4 <= :HI
        into :TG1, :TG2;
end^

set term ; ^
