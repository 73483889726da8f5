/*
 * The match rules engine: the procedures that check and record every event
 * of the open match and keep its working tables in step with AKCIJE.
 * docs/rules-engine.md gives the rule of every event code, the clock walk,
 * the lines, the on-court snapshot keys and the correction procedures.
 *
 * Procedures the program calls: CHECKACTION, ISTEAM, UNDO, DELETEACTION,
 * RE_OPEN, TGTRENER. Helpers are named RULES_*.
 *
 * The working tables (TEMP, STATDOMACI/STATGOSTI, MINUTID/MINUTIG,
 * PETORKADOM/PETORKAGOSTI) hold the one open match and carry no match
 * column. TEMP.A4 holds the phase flags of the match: 1 = match start
 * (code 1) recorded, 2 = match finish (code 22) recorded.
 *
 * Two ways keep the tables: CHECKACTION applies one event to them in place
 * (RULES_APPLY); RE_OPEN rebuilds them in one pass over the events in force
 * (RULES_BUILD). Both give the same tables for the same events.
 *
 * Column codes name one counter of a statistic line:
 *   1 P1OK, 2 P1UK, 10+z P2zOK, 20+z P2zUK, 30+z P3zOK, 40+z P3zUK,
 *   51 SKOKO, 52 SKOKN, 53 ASISTENCIJA, 54 UKRADENA, 60+n IZGn,
 *   81 BLOK, 82 BLOKNA, 83 LG, 84 TG, 85 LGNA, 90 MINUTA.
 *
 * Game minute of the clock (P period, V clock minute):
 *   GM = 10*P - V in a quarter, 5*P + 20 - V in an overtime.
 * Minute of an event (stored in AKCIJE.A4): GM while the clock runs, GM + 1
 * at a period start (the first minute of the coming period), GM(P, 0) after
 * the end of play. On-court snapshot of minute t: VREME 100 + t.
 *
 * Dialect 1: "/" divides in floating point, so no division is used.
 * Procedures are created in the order they are used; every statement of this
 * script runs in its own transaction.
 */

create or alter exception QNT_EVENT_NOT_IN_FORCE
    'The event does not exist in this match or has already been taken back';

create or alter exception QNT_EVENT_NOT_REMOVABLE
    'The event cannot be removed: a later event of the match would no longer be valid';

set term ^ ;

/*
 * Adds N to the counters with column codes C1 and C2 (0 = none) of one
 * player's statistic line, his line of minute T and his line of period K;
 * a missing line is created first.
 */
create or alter procedure RULES_LINE_ADD (
    SIDE smallint, DRES smallint, T smallint, K smallint, C1 smallint, C2 smallint, N smallint)
as
declare variable I smallint;
begin
    if (SIDE = 1) then
    begin
        I = 0;
        while (I < 2) do
        begin
            update STATDOMACI set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into STATDOMACI (DRES) values (:DRES);
            I = I + 1;
        end
        I = 0;
        while (I < 2) do
        begin
            update MINUTID set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where VREME = :T and DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into MINUTID (DRES, VREME) values (:DRES, :T);
            I = I + 1;
        end
        I = 0;
        while (I < 2) do
        begin
            update MINUTID set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where VREME = -:K and DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into MINUTID (DRES, VREME) values (:DRES, -:K);
            I = I + 1;
        end
    end
    else
    begin
        I = 0;
        while (I < 2) do
        begin
            update STATGOSTI set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into STATGOSTI (DRES) values (:DRES);
            I = I + 1;
        end
        I = 0;
        while (I < 2) do
        begin
            update MINUTIG set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where VREME = :T and DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into MINUTIG (DRES, VREME) values (:DRES, :T);
            I = I + 1;
        end
        I = 0;
        while (I < 2) do
        begin
            update MINUTIG set
                P1OK = P1OK + iif(:C1 = 1 or :C2 = 1, :N, 0),
                P1UK = P1UK + iif(:C1 = 2 or :C2 = 2, :N, 0),
                P21OK = P21OK + iif(:C1 = 11 or :C2 = 11, :N, 0),
                P22OK = P22OK + iif(:C1 = 12 or :C2 = 12, :N, 0),
                P23OK = P23OK + iif(:C1 = 13 or :C2 = 13, :N, 0),
                P24OK = P24OK + iif(:C1 = 14 or :C2 = 14, :N, 0),
                P25OK = P25OK + iif(:C1 = 15 or :C2 = 15, :N, 0),
                P26OK = P26OK + iif(:C1 = 16 or :C2 = 16, :N, 0),
                P21UK = P21UK + iif(:C1 = 21 or :C2 = 21, :N, 0),
                P22UK = P22UK + iif(:C1 = 22 or :C2 = 22, :N, 0),
                P23UK = P23UK + iif(:C1 = 23 or :C2 = 23, :N, 0),
                P24UK = P24UK + iif(:C1 = 24 or :C2 = 24, :N, 0),
                P25UK = P25UK + iif(:C1 = 25 or :C2 = 25, :N, 0),
                P26UK = P26UK + iif(:C1 = 26 or :C2 = 26, :N, 0),
                P31OK = P31OK + iif(:C1 = 31 or :C2 = 31, :N, 0),
                P32OK = P32OK + iif(:C1 = 32 or :C2 = 32, :N, 0),
                P33OK = P33OK + iif(:C1 = 33 or :C2 = 33, :N, 0),
                P34OK = P34OK + iif(:C1 = 34 or :C2 = 34, :N, 0),
                P36OK = P36OK + iif(:C1 = 36 or :C2 = 36, :N, 0),
                P31UK = P31UK + iif(:C1 = 41 or :C2 = 41, :N, 0),
                P32UK = P32UK + iif(:C1 = 42 or :C2 = 42, :N, 0),
                P33UK = P33UK + iif(:C1 = 43 or :C2 = 43, :N, 0),
                P34UK = P34UK + iif(:C1 = 44 or :C2 = 44, :N, 0),
                P36UK = P36UK + iif(:C1 = 46 or :C2 = 46, :N, 0),
                SKOKO = SKOKO + iif(:C1 = 51 or :C2 = 51, :N, 0),
                SKOKN = SKOKN + iif(:C1 = 52 or :C2 = 52, :N, 0),
                ASISTENCIJA = ASISTENCIJA + iif(:C1 = 53 or :C2 = 53, :N, 0),
                UKRADENA = UKRADENA + iif(:C1 = 54 or :C2 = 54, :N, 0),
                IZG1 = IZG1 + iif(:C1 = 61 or :C2 = 61, :N, 0),
                IZG2 = IZG2 + iif(:C1 = 62 or :C2 = 62, :N, 0),
                IZG3 = IZG3 + iif(:C1 = 63 or :C2 = 63, :N, 0),
                IZG4 = IZG4 + iif(:C1 = 64 or :C2 = 64, :N, 0),
                IZG5 = IZG5 + iif(:C1 = 65 or :C2 = 65, :N, 0),
                IZG6 = IZG6 + iif(:C1 = 66 or :C2 = 66, :N, 0),
                IZG7 = IZG7 + iif(:C1 = 67 or :C2 = 67, :N, 0),
                IZG8 = IZG8 + iif(:C1 = 68 or :C2 = 68, :N, 0),
                IZG9 = IZG9 + iif(:C1 = 69 or :C2 = 69, :N, 0),
                IZG10 = IZG10 + iif(:C1 = 70 or :C2 = 70, :N, 0),
                IZG11 = IZG11 + iif(:C1 = 71 or :C2 = 71, :N, 0),
                BLOK = BLOK + iif(:C1 = 81 or :C2 = 81, :N, 0),
                BLOKNA = BLOKNA + iif(:C1 = 82 or :C2 = 82, :N, 0),
                LG = LG + iif(:C1 = 83 or :C2 = 83, :N, 0),
                TG = TG + iif(:C1 = 84 or :C2 = 84, :N, 0),
                LGNA = LGNA + iif(:C1 = 85 or :C2 = 85, :N, 0),
                MINUTA = MINUTA + iif(:C1 = 90 or :C2 = 90, :N, 0)
            where VREME = -:K and DRES = :DRES;
            if (row_count > 0) then
                leave;
            insert into MINUTIG (DRES, VREME) values (:DRES, -:K);
            I = I + 1;
        end
    end
end^

/*
 * A player on court in minute T of period K has his lines of that minute
 * and that period, even when he records nothing in them.
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
 * NEW_DRES in its place (the row keeps its key, so the rows stay in the
 * order of the places on court).
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
 * Minute T of period K begins: the players on court get their lines of the
 * minute and of the period, and the snapshot 100 + T starts as a copy of the
 * five now (changes during the minute keep it up to date, so once the
 * minute has ended it holds the five who ended it).
 */
create or alter procedure RULES_MINUTE_START (T smallint, K smallint)
as
begin
    insert into MINUTID (DRES, VREME)
        select C.DRES, :T from PETORKADOM C
        where C.VREME = 0
          and not exists (select 1 from MINUTID M where M.VREME = :T and M.DRES = C.DRES);
    insert into MINUTID (DRES, VREME)
        select C.DRES, 0 - :K from PETORKADOM C
        where C.VREME = 0
          and not exists (select 1 from MINUTID M where M.VREME = 0 - :K and M.DRES = C.DRES);
    insert into PETORKADOM (DRES, VREME)
        select DRES, 100 + :T from PETORKADOM where VREME = 0 order by ID_PETORKA;
    insert into MINUTIG (DRES, VREME)
        select C.DRES, :T from PETORKAGOSTI C
        where C.VREME = 0
          and not exists (select 1 from MINUTIG M where M.VREME = :T and M.DRES = C.DRES);
    insert into MINUTIG (DRES, VREME)
        select C.DRES, 0 - :K from PETORKAGOSTI C
        where C.VREME = 0
          and not exists (select 1 from MINUTIG M where M.VREME = 0 - :K and M.DRES = C.DRES);
    insert into PETORKAGOSTI (DRES, VREME)
        select DRES, 100 + :T from PETORKAGOSTI where VREME = 0 order by ID_PETORKA;
end^

/*
 * Minute T of period K has ended: every player on court now has played it
 * (N minutes are added to his statistic, minute and period lines).
 */
create or alter procedure RULES_MINUTE_END (T smallint, K smallint, N smallint)
as
begin
    update STATDOMACI set MINUTA = MINUTA + :N
        where DRES in (select DRES from PETORKADOM where VREME = 0);
    update MINUTID set MINUTA = MINUTA + :N
        where VREME in (:T, 0 - :K) and DRES in (select DRES from PETORKADOM where VREME = 0);
    update STATGOSTI set MINUTA = MINUTA + :N
        where DRES in (select DRES from PETORKAGOSTI where VREME = 0);
    update MINUTIG set MINUTA = MINUTA + :N
        where VREME in (:T, 0 - :K) and DRES in (select DRES from PETORKAGOSTI where VREME = 0);
end^

/*
 * The shirt numbers of a five held as text, '|4|5|6|7|8|' (an empty five is
 * '|'), in their order.
 */
create or alter procedure RULES_SPLIT (S varchar(1000))
returns (DRES smallint)
as
declare variable I integer;
declare variable J integer;
begin
    I = 2;
    J = position('|', S, I);
    while (J > 0) do
    begin
        DRES = cast(substring(S from I for J - I) as smallint);
        suspend;
        I = J + 1;
        J = position('|', S, I);
    end
end^

/*
 * The counters (column codes C1 and C2, 0 = none) that a player event of
 * code SIFRA with second parameter A3 adds to for the acting player. The
 * player named by a foul (15) gets LGNA (85), by a block (17) BLOKNA (82).
 */
create or alter procedure RULES_COLUMNS (SIFRA smallint, A3 smallint)
returns (C1 smallint, C2 smallint)
as
begin
    C1 = 0;
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
        /* types 12 and 13 are kept with 7 and 5, as the match export groups them */
        C1 = 60 + decode(A3, 12, 7, 13, 5, A3);
    else if (SIFRA = 15) then
        C1 = 83;
    else if (SIFRA = 16) then
        C1 = 84;
    else if (SIFRA = 17) then
        C1 = 81;
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
 * Applies one legal event to the working tables in place. OK is 1, or for
 * the minute change 60 (a quarter ended) or 66 (play ended); T is the
 * minute of the event, which CHECKACTION stores in AKCIJE.A4.
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
                execute procedure RULES_MINUTE_END(:T, :P, 1);
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
        execute procedure RULES_COLUMNS(:SIFRA, :A3) returning_values :C1, :C2;
        execute procedure RULES_LINE_ADD(:A0, :A1, :T, :P, :C1, :C2, 1);
        if (SIFRA = 15) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 85, 0, 1);
        else if (SIFRA = 17) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 82, 0, 1);
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
 * Rebuilds the working tables of match ID in one pass over its events in
 * force recorded before event UPTO (null: all of them), and brings each
 * event's A4 up to date. The clock and the fives are kept in variables, the
 * fives as text in the order of their places ('|4|5|6|7|8|'); every counter
 * increment and every presence of a player in a minute becomes a row of
 * RULES_FACT, and the lines are then made from those rows with one grouped
 * insert per table. The result is the state that RULES_APPLY leaves after
 * the same events.
 */
create or alter procedure RULES_BUILD (ID integer, UPTO integer)
as
declare variable EID integer;
declare variable A0 smallint;
declare variable A1 smallint;
declare variable SIFRA smallint;
declare variable A3 smallint;
declare variable A4 smallint;
declare variable V smallint;
declare variable P smallint;
declare variable KR smallint;
declare variable FL smallint;
declare variable T smallint;
declare variable STARTED smallint;
declare variable PSTART smallint;
declare variable C1 smallint;
declare variable C2 smallint;
declare variable H varchar(1000);
declare variable G varchar(1000);
declare variable HS varchar(1000);
declare variable GS varchar(1000);
begin
    if (UPTO is null) then
        UPTO = 2147483647;
    delete from MINUTID;
    delete from MINUTIG;
    delete from PETORKADOM;
    delete from PETORKAGOSTI;
    delete from STATDOMACI;
    delete from STATGOSTI;
    delete from TEMP;
    delete from RULES_FACT;
    V = 10;
    P = 1;
    KR = 0;
    FL = 0;
    H = '|';
    G = '|';
    HS = '|';
    GS = '|';

    for select ID_AKCIJE, coalesce(A0, 0), coalesce(A1, 0), coalesce(SIFRA, -1), coalesce(A3, 0), A4
        from AKCIJE
        where ID_UTAKMICA = :ID and UNDO = 0 and ID_AKCIJE < :UPTO
        order by ID_AKCIJE
        into :EID, :A0, :A1, :SIFRA, :A3, :A4 do
    begin
        STARTED = iif(P > 1 or V < 10 or KR = 1, 1, 0);
        PSTART = iif(KR = 0 and ((P <= 4 and V = 10) or (P >= 5 and V = 5)), 1, 0);
        T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);

        if (SIFRA in (0, 3)) then
        begin
            if (KR = 1) then
            begin
                P = P + 1;
                V = 5;
                KR = 0;
            end
            else if (SIFRA = 3) then
            begin
                if (PSTART = 1) then
                begin
                    if (STARTED = 0) then
                    begin
                        insert into PETORKADOM (DRES, VREME) select DRES, 100 from RULES_SPLIT(:H);
                        insert into PETORKAGOSTI (DRES, VREME) select DRES, 100 from RULES_SPLIT(:G);
                    end
                    V = V - 1;
                    T = T + 1;
                    insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                        select 1, DRES, :T, :P, 0, 0 from RULES_SPLIT(:H);
                    insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                        select 2, DRES, :T, :P, 0, 0 from RULES_SPLIT(:G);
                end
                else
                begin
                    /* minute T ends: played by the five now, who also fill its snapshot */
                    insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                        select 1, DRES, :T, :P, 90, 0 from RULES_SPLIT(:H);
                    insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                        select 2, DRES, :T, :P, 90, 0 from RULES_SPLIT(:G);
                    insert into PETORKADOM (DRES, VREME) select DRES, 100 + :T from RULES_SPLIT(:H);
                    insert into PETORKAGOSTI (DRES, VREME) select DRES, 100 + :T from RULES_SPLIT(:G);
                    if (V > 0) then
                    begin
                        V = V - 1;
                        T = T + 1;
                        insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                            select 1, DRES, :T, :P, 0, 0 from RULES_SPLIT(:H);
                        insert into RULES_FACT (SIDE, DRES, T, K, C1, C2)
                            select 2, DRES, :T, :P, 0, 0 from RULES_SPLIT(:G);
                    end
                    else if (P < 4) then
                    begin
                        P = P + 1;
                        V = 10;
                    end
                    else
                        KR = 1;
                end
            end
        end
        else if (SIFRA = 1) then
            FL = bin_or(FL, 1);
        else if (SIFRA = 22) then
            FL = bin_or(FL, 2);
        else if (SIFRA = 2) then
        begin
            if (A0 = 1) then
            begin
                H = H || A1 || '|';
                HS = HS || A1 || '|';
            end
            else if (A0 = 2) then
            begin
                G = G || A1 || '|';
                GS = GS || A1 || '|';
            end
        end
        else if (SIFRA = 18) then
        begin
            if (A0 = 1) then
            begin
                H = replace(H, '|' || A1 || '|', '|' || A3 || '|');
                if (STARTED = 0) then
                    HS = replace(HS, '|' || A1 || '|', '|' || A3 || '|');
            end
            else if (A0 = 2) then
            begin
                G = replace(G, '|' || A1 || '|', '|' || A3 || '|');
                if (STARTED = 0) then
                    GS = replace(GS, '|' || A1 || '|', '|' || A3 || '|');
            end
            if (STARTED = 1 and PSTART = 0) then
                insert into RULES_FACT (SIDE, DRES, T, K, C1, C2) values (:A0, :A3, :T, :P, 0, 0);
        end
        else if (SIFRA = 21) then
        begin
            if (A0 = 1) then
                H = replace(H, '|' || A1 || '|', '|');
            else if (A0 = 2) then
                G = replace(G, '|' || A1 || '|', '|');
        end
        else if (SIFRA >= 4 and SIFRA <= 17) then
        begin
            execute procedure RULES_COLUMNS(:SIFRA, :A3) returning_values :C1, :C2;
            insert into RULES_FACT (SIDE, DRES, T, K, C1, C2) values (:A0, :A1, :T, :P, :C1, :C2);
            if (SIFRA = 15) then
                insert into RULES_FACT (SIDE, DRES, T, K, C1, C2) values (3 - :A0, :A3, :T, :P, 85, 0);
            else if (SIFRA = 17) then
                insert into RULES_FACT (SIDE, DRES, T, K, C1, C2) values (3 - :A0, :A3, :T, :P, 82, 0);
        end

        /* the minute of the event, from the clock after it */
        if (KR = 1) then
            T = iif(P <= 4, 10 * P, 5 * P + 20);
        else if ((P <= 4 and V = 10) or (P >= 5 and V = 5)) then
            T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V) + 1;
        else
            T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);
        if (A4 is distinct from T) then
            update AKCIJE set A4 = :T where ID_AKCIJE = :EID;
    end

    /* the minute being played: its snapshot holds the five now */
    if (KR = 0 and not ((P <= 4 and V = 10) or (P >= 5 and V = 5))) then
    begin
        T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);
        insert into PETORKADOM (DRES, VREME) select DRES, 100 + :T from RULES_SPLIT(:H);
        insert into PETORKAGOSTI (DRES, VREME) select DRES, 100 + :T from RULES_SPLIT(:G);
    end
    insert into PETORKADOM (DRES, VREME) select DRES, 0 from RULES_SPLIT(:H);
    insert into PETORKAGOSTI (DRES, VREME) select DRES, 0 from RULES_SPLIT(:G);
    insert into PETORKADOM (DRES, VREME) select DRES, 1 from RULES_SPLIT(:HS);
    insert into PETORKAGOSTI (DRES, VREME) select DRES, 1 from RULES_SPLIT(:GS);
    insert into TEMP (VREME, PERIOD, KRAJ, PERIOD_NO, PERIOD_TIME, EXTRA_TIME, A4)
        values (:V, :P, :KR, 4, 10, 5, :FL);

    /* statistic lines: one per player with counters, and an empty one for
       every other roster row (SASTAV: DOMGOST 1 home, 0 away) */
    insert into STATDOMACI (DRES,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 1 and C1 <> 0
    group by DRES;
    insert into STATDOMACI (DRES)
    select distinct S.DRES from SASTAV S
    where S.ID_UTAKMICA = :ID and S.DOMGOST = 1 and S.DRES is not null
      and not exists (select 1 from STATDOMACI X where X.DRES = S.DRES);
    insert into MINUTID (DRES, VREME,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES, T,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 1
    group by DRES, T;
    insert into MINUTID (DRES, VREME,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES, 0 - K,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 1
    group by DRES, K;
    insert into STATGOSTI (DRES,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 2 and C1 <> 0
    group by DRES;
    insert into STATGOSTI (DRES)
    select distinct S.DRES from SASTAV S
    where S.ID_UTAKMICA = :ID and S.DOMGOST <> 1 and S.DRES is not null
      and not exists (select 1 from STATGOSTI X where X.DRES = S.DRES);
    insert into MINUTIG (DRES, VREME,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES, T,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 2
    group by DRES, T;
    insert into MINUTIG (DRES, VREME,
        P1OK, P1UK, P21OK, P22OK, P23OK, P24OK, P25OK, P26OK, P21UK, P22UK,
        P23UK, P24UK, P25UK, P26UK, P31OK, P32OK, P33OK, P34OK, P36OK, P31UK,
        P32UK, P33UK, P34UK, P36UK, SKOKO, SKOKN, ASISTENCIJA, UKRADENA,
        IZG1, IZG2, IZG3, IZG4, IZG5, IZG6, IZG7, IZG8, IZG9, IZG10, IZG11,
        BLOK, BLOKNA, LG, TG, LGNA, MINUTA)
    select DRES, 0 - K,
        sum(iif(C1 = 1 or C2 = 1, 1, 0)),
        sum(iif(C1 = 2 or C2 = 2, 1, 0)),
        sum(iif(C1 = 11 or C2 = 11, 1, 0)),
        sum(iif(C1 = 12 or C2 = 12, 1, 0)),
        sum(iif(C1 = 13 or C2 = 13, 1, 0)),
        sum(iif(C1 = 14 or C2 = 14, 1, 0)),
        sum(iif(C1 = 15 or C2 = 15, 1, 0)),
        sum(iif(C1 = 16 or C2 = 16, 1, 0)),
        sum(iif(C1 = 21 or C2 = 21, 1, 0)),
        sum(iif(C1 = 22 or C2 = 22, 1, 0)),
        sum(iif(C1 = 23 or C2 = 23, 1, 0)),
        sum(iif(C1 = 24 or C2 = 24, 1, 0)),
        sum(iif(C1 = 25 or C2 = 25, 1, 0)),
        sum(iif(C1 = 26 or C2 = 26, 1, 0)),
        sum(iif(C1 = 31 or C2 = 31, 1, 0)),
        sum(iif(C1 = 32 or C2 = 32, 1, 0)),
        sum(iif(C1 = 33 or C2 = 33, 1, 0)),
        sum(iif(C1 = 34 or C2 = 34, 1, 0)),
        sum(iif(C1 = 36 or C2 = 36, 1, 0)),
        sum(iif(C1 = 41 or C2 = 41, 1, 0)),
        sum(iif(C1 = 42 or C2 = 42, 1, 0)),
        sum(iif(C1 = 43 or C2 = 43, 1, 0)),
        sum(iif(C1 = 44 or C2 = 44, 1, 0)),
        sum(iif(C1 = 46 or C2 = 46, 1, 0)),
        sum(iif(C1 = 51 or C2 = 51, 1, 0)),
        sum(iif(C1 = 52 or C2 = 52, 1, 0)),
        sum(iif(C1 = 53 or C2 = 53, 1, 0)),
        sum(iif(C1 = 54 or C2 = 54, 1, 0)),
        sum(iif(C1 = 61 or C2 = 61, 1, 0)),
        sum(iif(C1 = 62 or C2 = 62, 1, 0)),
        sum(iif(C1 = 63 or C2 = 63, 1, 0)),
        sum(iif(C1 = 64 or C2 = 64, 1, 0)),
        sum(iif(C1 = 65 or C2 = 65, 1, 0)),
        sum(iif(C1 = 66 or C2 = 66, 1, 0)),
        sum(iif(C1 = 67 or C2 = 67, 1, 0)),
        sum(iif(C1 = 68 or C2 = 68, 1, 0)),
        sum(iif(C1 = 69 or C2 = 69, 1, 0)),
        sum(iif(C1 = 70 or C2 = 70, 1, 0)),
        sum(iif(C1 = 71 or C2 = 71, 1, 0)),
        sum(iif(C1 = 81 or C2 = 81, 1, 0)),
        sum(iif(C1 = 82 or C2 = 82, 1, 0)),
        sum(iif(C1 = 83 or C2 = 83, 1, 0)),
        sum(iif(C1 = 84 or C2 = 84, 1, 0)),
        sum(iif(C1 = 85 or C2 = 85, 1, 0)),
        sum(iif(C1 = 90 or C2 = 90, 1, 0))
    from RULES_FACT
    where SIDE = 2
    group by DRES, K;
    delete from RULES_FACT;
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
begin
    execute procedure RULES_BUILD(:ID, null);
end^

/*
 * Takes back the newest event in force of match ID1: it gets UNDO 1 and its
 * effects are withdrawn. OK: 1 done; 0 no event in force; 3 play has ended
 * and the newest event is not the minute change that ended it (or a match
 * finish that follows such a minute change).
 *
 * As the event is the newest, the tables hold exactly what it added, so a
 * minute change, a player event, a starter and the events without effect on
 * the lines are withdrawn in place (RULES_UNAPPLY); a substitution or an
 * exit without change (whose player must get his place on court back) and
 * anything unexpected lead to a rebuild. Both give what RE_OPEN builds.
 */
create or alter procedure RULES_UNAPPLY (
    A0 smallint, A1 smallint, SIFRA smallint, A3 smallint)
returns (DONE smallint)
as
declare variable V smallint;
declare variable P smallint;
declare variable KR smallint;
declare variable T smallint;
declare variable C1 smallint;
declare variable C2 smallint;
begin
    DONE = 1;
    select first 1 VREME, PERIOD, KRAJ from TEMP into :V, :P, :KR;
    T = iif(P <= 4, 10 * P - V, 5 * P + 20 - V);
    if (SIFRA in (19, 20, 31, 32, 33, 34)) then
        exit;
    else if (SIFRA = 1) then
        update TEMP set A4 = bin_and(coalesce(A4, 0), 2);
    else if (SIFRA = 22) then
        update TEMP set A4 = bin_and(coalesce(A4, 0), 1);
    else if (SIFRA = 2) then
    begin
        execute procedure RULES_COURT(:A0, 0, :A1, null);
        execute procedure RULES_COURT(:A0, 1, :A1, null);
    end
    else if (SIFRA >= 4 and SIFRA <= 17) then
    begin
        execute procedure RULES_COLUMNS(:SIFRA, :A3) returning_values :C1, :C2;
        execute procedure RULES_LINE_ADD(:A0, :A1, :T, :P, :C1, :C2, -1);
        if (SIFRA = 15) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 85, 0, -1);
        else if (SIFRA = 17) then
            execute procedure RULES_LINE_ADD(3 - :A0, :A3, :T, :P, 82, 0, -1);
    end
    else if (SIFRA in (0, 3)) then
    begin
        if (KR = 1) then
        begin
            /* it ended play (66): the last minute was credited */
            execute procedure RULES_MINUTE_END(:T, :P, -1);
            KR = 0;
        end
        else if (P >= 5 and V = 5) then
        begin
            /* it opened this overtime after the end of play */
            P = P - 1;
            V = 0;
            KR = 1;
        end
        else if (SIFRA = 0) then
            DONE = 0;
        else if (P <= 4 and V = 10) then
        begin
            /* it ended the quarter before (60) */
            P = P - 1;
            V = 0;
            T = 10 * P;
            execute procedure RULES_MINUTE_END(:T, :P, -1);
        end
        else
        begin
            /* it began minute T: its lines and snapshot go */
            delete from MINUTID where VREME = :T;
            delete from MINUTIG where VREME = :T;
            delete from PETORKADOM where VREME = 100 + :T;
            delete from PETORKAGOSTI where VREME = 100 + :T;
            if ((P <= 4 and V = 9) or (P >= 5 and V = 4)) then
            begin
                /* it started the clock of the period */
                delete from MINUTID where VREME = -:P;
                delete from MINUTIG where VREME = -:P;
                if (P = 1) then
                begin
                    delete from PETORKADOM where VREME = 100;
                    delete from PETORKAGOSTI where VREME = 100;
                end
            end
            else
                /* and ended minute T - 1 */
                execute procedure RULES_MINUTE_END(:T - 1, :P, -1);
            V = V + 1;
        end
        update TEMP set VREME = :V, PERIOD = :P, KRAJ = :KR;
    end
    else
        DONE = 0;
end^

create or alter procedure UNDO (ID1 integer)
returns (OK smallint)
as
declare variable EID integer;
declare variable A0 smallint;
declare variable A1 smallint;
declare variable SIFRA smallint;
declare variable A3 smallint;
declare variable PREV smallint;
declare variable KR smallint;
declare variable DONE smallint;
begin
    select first 1 ID_AKCIJE, A0, A1, SIFRA, A3 from AKCIJE
        where ID_UTAKMICA = :ID1 and UNDO = 0
        order by ID_AKCIJE desc
        into :EID, :A0, :A1, :SIFRA, :A3;
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
    execute procedure RULES_UNAPPLY(coalesce(:A0, 0), coalesce(:A1, 0), coalesce(:SIFRA, -1), coalesce(:A3, 0))
        returning_values :DONE;
    if (DONE = 0) then
        execute procedure RULES_BUILD(:ID1, null);
    OK = 1;
end^

/*
 * Removes event IDA of match IDUT and its effects: the event gets UNDO 1,
 * the working tables are rebuilt up to it, and every later event in force is
 * checked as CHECKACTION would check it at that point and applied. When the
 * event is not in force, or when a later event would be refused, an
 * exception is raised and nothing changes.
 */
create or alter procedure DELETEACTION (IDA integer, IDUT integer)
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
    if (not exists (select 1 from AKCIJE
                    where ID_AKCIJE = :IDA and ID_UTAKMICA = :IDUT and UNDO = 0)) then
        exception QNT_EVENT_NOT_IN_FORCE;
    update AKCIJE set UNDO = 1 where ID_AKCIJE = :IDA;
    execute procedure RULES_BUILD(:IDUT, :IDA);
    for select ID_AKCIJE, coalesce(A0, 0), coalesce(A1, 0), coalesce(SIFRA, -1), coalesce(A3, 0), A4
        from AKCIJE
        where ID_UTAKMICA = :IDUT and UNDO = 0 and ID_AKCIJE > :IDA
        order by ID_AKCIJE
        into :EID, :A0, :A1, :SIFRA, :A3, :A4 do
    begin
        execute procedure RULES_VALIDATE(:IDUT, :A0, :A1, :SIFRA, :A3, :EID) returning_values :R;
        if (R <> 1) then
            exception QNT_EVENT_NOT_REMOVABLE
                'Event ' || IDA || ' cannot be removed: event ' || EID
                || ' after it would no longer be valid (result ' || R || ')';
        execute procedure RULES_APPLY(:IDUT, :A0, :A1, :SIFRA, :A3) returning_values :R, :T;
        if (A4 is distinct from T) then
            update AKCIJE set A4 = :T where ID_AKCIJE = :EID;
    end
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

/* Helpers of an earlier version of this script, no longer used. */
execute block
as
begin
    if (exists (select 1 from RDB$PROCEDURES where RDB$PROCEDURE_NAME = 'RULES_REBUILD')) then
        execute statement 'drop procedure RULES_REBUILD';
    if (exists (select 1 from RDB$PROCEDURES where RDB$PROCEDURE_NAME = 'RULES_RESET')) then
        execute statement 'drop procedure RULES_RESET';
end^

set term ; ^
