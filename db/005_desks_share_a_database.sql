/*
 * Several desks key their matches into one database at once.
 *
 * The working tables hold the match open in each console: as global
 * temporary tables every connection has rows of its own under the same
 * names, so the rules engine's procedures stay as they are. Their keys need
 * only be unique among one connection's rows: a key left empty becomes the
 * highest of the connection's rows plus one, so opening a match no longer
 * resets shared generators under the other desks.
 *
 * The program installs its routines again after this script; they are
 * dropped before it runs (a table that a routine uses cannot be dropped).
 */

drop table TEMP;
drop table STATDOMACI;
drop table STATGOSTI;
drop table MINUTID;
drop table MINUTIG;
drop table PETORKADOM;
drop table PETORKAGOSTI;

drop generator IDSTATDOMACI;
drop generator IDSTATGOSTI;
drop generator IDMINUTID;
drop generator IDMINUTIG;
drop generator IDPETORKAD;
drop generator IDPETORKAG;

create global temporary table TEMP (
    VREME        smallint,
    PERIOD       smallint,
    KRAJ         smallint,
    PERIOD_NO    smallint,
    PERIOD_TIME  smallint,
    EXTRA_TIME   smallint,
    A4           smallint
) on commit preserve rows;

-- Player statistic lines of the home and away side.
-- Counters default to 0 so that a line inserted with only DRES starts empty.
create global temporary table STATDOMACI (
    ID_STAT      integer not null,
    DRES         smallint,
    P1OK         smallint default 0,
    P1UK         smallint default 0,
    P21OK        smallint default 0,
    P22OK        smallint default 0,
    P23OK        smallint default 0,
    P24OK        smallint default 0,
    P25OK        smallint default 0,
    P26OK        smallint default 0,
    P21UK        smallint default 0,
    P22UK        smallint default 0,
    P23UK        smallint default 0,
    P24UK        smallint default 0,
    P25UK        smallint default 0,
    P26UK        smallint default 0,
    P31OK        smallint default 0,
    P32OK        smallint default 0,
    P33OK        smallint default 0,
    P34OK        smallint default 0,
    P36OK        smallint default 0,
    P31UK        smallint default 0,
    P32UK        smallint default 0,
    P33UK        smallint default 0,
    P34UK        smallint default 0,
    P36UK        smallint default 0,
    SKOKO        smallint default 0,
    SKOKN        smallint default 0,
    ASISTENCIJA  smallint default 0,
    UKRADENA     smallint default 0,
    IZG1         smallint default 0,
    IZG2         smallint default 0,
    IZG3         smallint default 0,
    IZG4         smallint default 0,
    IZG5         smallint default 0,
    IZG6         smallint default 0,
    IZG7         smallint default 0,
    IZG8         smallint default 0,
    IZG9         smallint default 0,
    IZG10        smallint default 0,
    IZG11        smallint default 0,
    BLOK         smallint default 0,
    BLOKNA       smallint default 0,
    LG           smallint default 0,
    TG           smallint default 0,
    LGNA         smallint default 0,
    MINUTA       smallint default 0,
    constraint PK_STATDOMACI primary key (ID_STAT)
) on commit preserve rows;

create global temporary table STATGOSTI (
    ID_STAT      integer not null,
    DRES         smallint,
    P1OK         smallint default 0,
    P1UK         smallint default 0,
    P21OK        smallint default 0,
    P22OK        smallint default 0,
    P23OK        smallint default 0,
    P24OK        smallint default 0,
    P25OK        smallint default 0,
    P26OK        smallint default 0,
    P21UK        smallint default 0,
    P22UK        smallint default 0,
    P23UK        smallint default 0,
    P24UK        smallint default 0,
    P25UK        smallint default 0,
    P26UK        smallint default 0,
    P31OK        smallint default 0,
    P32OK        smallint default 0,
    P33OK        smallint default 0,
    P34OK        smallint default 0,
    P36OK        smallint default 0,
    P31UK        smallint default 0,
    P32UK        smallint default 0,
    P33UK        smallint default 0,
    P34UK        smallint default 0,
    P36UK        smallint default 0,
    SKOKO        smallint default 0,
    SKOKN        smallint default 0,
    ASISTENCIJA  smallint default 0,
    UKRADENA     smallint default 0,
    IZG1         smallint default 0,
    IZG2         smallint default 0,
    IZG3         smallint default 0,
    IZG4         smallint default 0,
    IZG5         smallint default 0,
    IZG6         smallint default 0,
    IZG7         smallint default 0,
    IZG8         smallint default 0,
    IZG9         smallint default 0,
    IZG10        smallint default 0,
    IZG11        smallint default 0,
    BLOK         smallint default 0,
    BLOKNA       smallint default 0,
    LG           smallint default 0,
    TG           smallint default 0,
    LGNA         smallint default 0,
    MINUTA       smallint default 0,
    constraint PK_STATGOSTI primary key (ID_STAT)
) on commit preserve rows;

-- Statistic lines per period and per minute, home and away.
-- VREME = -k is the line of period k alone, a positive VREME is the
-- elapsed game minute.
create global temporary table MINUTID (
    ID_STAT      integer not null,
    DRES         smallint,
    VREME        smallint,
    P1OK         smallint default 0,
    P1UK         smallint default 0,
    P21OK        smallint default 0,
    P22OK        smallint default 0,
    P23OK        smallint default 0,
    P24OK        smallint default 0,
    P25OK        smallint default 0,
    P26OK        smallint default 0,
    P21UK        smallint default 0,
    P22UK        smallint default 0,
    P23UK        smallint default 0,
    P24UK        smallint default 0,
    P25UK        smallint default 0,
    P26UK        smallint default 0,
    P31OK        smallint default 0,
    P32OK        smallint default 0,
    P33OK        smallint default 0,
    P34OK        smallint default 0,
    P36OK        smallint default 0,
    P31UK        smallint default 0,
    P32UK        smallint default 0,
    P33UK        smallint default 0,
    P34UK        smallint default 0,
    P36UK        smallint default 0,
    SKOKO        smallint default 0,
    SKOKN        smallint default 0,
    ASISTENCIJA  smallint default 0,
    UKRADENA     smallint default 0,
    IZG1         smallint default 0,
    IZG2         smallint default 0,
    IZG3         smallint default 0,
    IZG4         smallint default 0,
    IZG5         smallint default 0,
    IZG6         smallint default 0,
    IZG7         smallint default 0,
    IZG8         smallint default 0,
    IZG9         smallint default 0,
    IZG10        smallint default 0,
    IZG11        smallint default 0,
    BLOK         smallint default 0,
    BLOKNA       smallint default 0,
    LG           smallint default 0,
    TG           smallint default 0,
    LGNA         smallint default 0,
    MINUTA       smallint default 0,
    constraint PK_MINUTID primary key (ID_STAT)
) on commit preserve rows;

create global temporary table MINUTIG (
    ID_STAT      integer not null,
    DRES         smallint,
    VREME        smallint,
    P1OK         smallint default 0,
    P1UK         smallint default 0,
    P21OK        smallint default 0,
    P22OK        smallint default 0,
    P23OK        smallint default 0,
    P24OK        smallint default 0,
    P25OK        smallint default 0,
    P26OK        smallint default 0,
    P21UK        smallint default 0,
    P22UK        smallint default 0,
    P23UK        smallint default 0,
    P24UK        smallint default 0,
    P25UK        smallint default 0,
    P26UK        smallint default 0,
    P31OK        smallint default 0,
    P32OK        smallint default 0,
    P33OK        smallint default 0,
    P34OK        smallint default 0,
    P36OK        smallint default 0,
    P31UK        smallint default 0,
    P32UK        smallint default 0,
    P33UK        smallint default 0,
    P34UK        smallint default 0,
    P36UK        smallint default 0,
    SKOKO        smallint default 0,
    SKOKN        smallint default 0,
    ASISTENCIJA  smallint default 0,
    UKRADENA     smallint default 0,
    IZG1         smallint default 0,
    IZG2         smallint default 0,
    IZG3         smallint default 0,
    IZG4         smallint default 0,
    IZG5         smallint default 0,
    IZG6         smallint default 0,
    IZG7         smallint default 0,
    IZG8         smallint default 0,
    IZG9         smallint default 0,
    IZG10        smallint default 0,
    IZG11        smallint default 0,
    BLOK         smallint default 0,
    BLOKNA       smallint default 0,
    LG           smallint default 0,
    TG           smallint default 0,
    LGNA         smallint default 0,
    MINUTA       smallint default 0,
    constraint PK_MINUTIG primary key (ID_STAT)
) on commit preserve rows;

-- Players on court, home and away. VREME = 0 are the five on court now,
-- VREME = 1 the starting five, other values snapshots by elapsed minute.
create global temporary table PETORKADOM (
    ID_PETORKA   integer not null,
    DRES         smallint,
    VREME        smallint,
    constraint PK_PETORKADOM primary key (ID_PETORKA)
) on commit preserve rows;

create global temporary table PETORKAGOSTI (
    ID_PETORKA   integer not null,
    DRES         smallint,
    VREME        smallint,
    constraint PK_PETORKAGOSTI primary key (ID_PETORKA)
) on commit preserve rows;

set term ^ ;

create trigger STATDOMACI_BI for STATDOMACI
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = coalesce((select max(ID_STAT) from STATDOMACI), 0) + 1;
end^

create trigger STATGOSTI_BI for STATGOSTI
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = coalesce((select max(ID_STAT) from STATGOSTI), 0) + 1;
end^

create trigger MINUTID_BI for MINUTID
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = coalesce((select max(ID_STAT) from MINUTID), 0) + 1;
end^

create trigger MINUTIG_BI for MINUTIG
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = coalesce((select max(ID_STAT) from MINUTIG), 0) + 1;
end^

create trigger PETORKADOM_BI for PETORKADOM
active before insert position 0
as
begin
    if (new.ID_PETORKA is null) then
        new.ID_PETORKA = coalesce((select max(ID_PETORKA) from PETORKADOM), 0) + 1;
end^

create trigger PETORKAGOSTI_BI for PETORKAGOSTI
active before insert position 0
as
begin
    if (new.ID_PETORKA is null) then
        new.ID_PETORKA = coalesce((select max(ID_PETORKA) from PETORKAGOSTI), 0) + 1;
end^

-- Plus-minus rows are keyed by the database: two desks taking the highest
-- key plus one at the same moment would both take the same. A typed key
-- higher than the generator moves it up, as for the reference tables.
create generator GEN_INDEKSI^
create generator GEN_ISTORIJA_INDEKSI_PM^

execute block
as
declare variable HIGHEST integer;
begin
    HIGHEST = gen_id(GEN_INDEKSI, coalesce((select max(IDINDEKS) from INDEKSI), 0));
    HIGHEST = gen_id(GEN_ISTORIJA_INDEKSI_PM, coalesce((select max(IDZAPISA) from ISTORIJA_INDEKSI_PM), 0));
end^

create trigger INDEKSI_BIU for INDEKSI
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.IDINDEKS is null) then
        new.IDINDEKS = gen_id(GEN_INDEKSI, 1);
    else
    begin
        HIGHEST = gen_id(GEN_INDEKSI, 0);
        if (new.IDINDEKS > HIGHEST) then
            HIGHEST = gen_id(GEN_INDEKSI, new.IDINDEKS - HIGHEST);
    end
end^

create trigger ISTORIJA_INDEKSI_PM_BIU for ISTORIJA_INDEKSI_PM
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.IDZAPISA is null) then
        new.IDZAPISA = gen_id(GEN_ISTORIJA_INDEKSI_PM, 1);
    else
    begin
        HIGHEST = gen_id(GEN_ISTORIJA_INDEKSI_PM, 0);
        if (new.IDZAPISA > HIGHEST) then
            HIGHEST = gen_id(GEN_ISTORIJA_INDEKSI_PM, new.IDZAPISA - HIGHEST);
    end
end^

set term ; ^

-- The procedures look lines up by minute and shirt number; a new key is the
-- highest plus one.
create unique index STATD_DRES on STATDOMACI (DRES);
create unique index STATG_DRES on STATGOSTI (DRES);
create index MIND_DRES on MINUTID (DRES);
create index MING_DRES on MINUTIG (DRES);
create index MINUTID_VREME_DRES on MINUTID (VREME, DRES);
create index MINUTIG_VREME_DRES on MINUTIG (VREME, DRES);
create index PETORKADOM_VREME_DRES on PETORKADOM (VREME, DRES);
create index PETORKAGOSTI_VREME_DRES on PETORKAGOSTI (VREME, DRES);
create descending index STATDOMACI_KEY_DESC on STATDOMACI (ID_STAT);
create descending index STATGOSTI_KEY_DESC on STATGOSTI (ID_STAT);
create descending index MINUTID_KEY_DESC on MINUTID (ID_STAT);
create descending index MINUTIG_KEY_DESC on MINUTIG (ID_STAT);
create descending index PETORKADOM_KEY_DESC on PETORKADOM (ID_PETORKA);
create descending index PETORKAGOSTI_KEY_DESC on PETORKAGOSTI (ID_PETORKA);

-- The match each console has open, and which connection keys it: one desk
-- records a match. A row whose connection has ended (its program was
-- killed) no longer holds the match.
create table MATCH_DESKS (
    ID_UTAKMICA  integer not null,
    ATTACHMENT   numeric(18, 0) not null,
    COMPUTER     varchar(100),
    PROCESS      integer,
    SINCE        timestamp,
    constraint PK_MATCH_DESKS primary key (ID_UTAKMICA)
);
