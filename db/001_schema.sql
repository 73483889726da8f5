/*
 * Quintara database schema.
 *
 * Written for a dialect 1 database whose default character set is WIN1250.
 * Run by the program statement by statement, the way isql splits a script
 * (SET TERM changes the terminator around trigger bodies).
 *
 * Layout of this file:
 *   1. reference tables, shared by all matches
 *   2. match tables and the event code list
 *   3. working tables of the match open in the console
 *   4. generators and key triggers
 *   5. indexes
 *
 * No foreign key constraints are declared: rows are checked and removed
 * by the program and the stored procedures in their own order.
 */


/* ------------------------------------------------------------------ */
/* 1. Reference tables                                                 */
/* ------------------------------------------------------------------ */

create table LIGA (
    ID_LIGA      integer not null,
    MAINID       integer,
    NAZIV        varchar(26) not null,
    LIGTUR       smallint not null,
    OZNAKA       varchar(2),
    LOGO         blob sub_type 0,
    CHECKID      varchar(12),
    constraint PK_LIGA primary key (ID_LIGA)
);

create table KLUB (
    ID_KLUB      integer not null,
    MAINID       integer,
    NAZIV        varchar(26) not null,
    ID_LIGA      integer,
    AMBLEM       blob sub_type 0,
    CHECKID      varchar(12),
    REAL_KLUB_ID varchar(5),
    EBR          varchar(100),
    constraint PK_KLUB primary key (ID_KLUB)
);

create table IGRAC (
    ID_IGRAC     integer not null,
    MAINID       integer,
    PREZIME      varchar(26) not null,
    IME          varchar(26) not null,
    DAT_RODJ     timestamp,
    ID_KLUB      integer,
    ID_POZ       integer,
    VISINA       smallint,
    TEZINA       smallint,
    EBR          varchar(100),
    constraint PK_IGRAC primary key (ID_IGRAC)
);

create table POZICIJA (
    ID_POZ       integer not null,
    POZICIJA     varchar(16) not null,
    OPIS         varchar(30),
    constraint PK_POZICIJA primary key (ID_POZ)
);

create table POLOZAJ (
    ID_POL       integer not null,
    POLOZAJ      varchar(21),
    constraint PK_POLOZAJ primary key (ID_POL)
);

create table TRENER (
    ID_TRENER    integer not null,
    MAINID       integer,
    PREZIME      varchar(26) not null,
    IME          varchar(26),
    ID_KLUB      integer,
    ID_POL       integer,
    constraint PK_TRENER primary key (ID_TRENER)
);

create table SUDIJA (
    ID_SUDIJA    integer not null,
    MAINID       integer,
    PREZIME      varchar(26) not null,
    IME          varchar(26) not null,
    GRAD         varchar(26),
    constraint PK_SUDIJA primary key (ID_SUDIJA)
);

create table DELEGAT (
    ID_DELEGAT   integer not null,
    MAINID       integer,
    PREZIME      varchar(26) not null,
    IME          varchar(26) not null,
    GRAD         varchar(26),
    constraint PK_DELEGAT primary key (ID_DELEGAT)
);

create table STATISTICARI (
    ID_STAT      integer not null,
    MAINID       integer,
    PREZIME      varchar(26) not null,
    IME          varchar(26) not null,
    GRAD         varchar(26),
    constraint PK_STATISTICARI primary key (ID_STAT)
);


/* ------------------------------------------------------------------ */
/* 2. Match tables                                                     */
/* ------------------------------------------------------------------ */

-- REZULTAT holds NOT FINISHED, CLOSED INCORRECTLY or the final score.
-- BOJAD and BOJAG are RGB colour values. JUMPBAL is the possession
-- arrow side, 1 home and 2 away.
create table UTAKMICA (
    ID_UTAKMICA  integer not null,
    NAZIV        varchar(26),
    ID_LIGA      integer not null,
    ID_KLUB1     integer not null,
    ID_KLUB2     integer not null,
    ID_SUDIJA1   integer,
    ID_SUDIJA2   integer,
    ID_SUDIJA3   integer,
    ID_DELEGAT   integer,
    ID_STAT1     integer,
    ID_STAT2     integer,
    ID_TRENER1   integer,
    ID_TRENER2   integer,
    KOLO         smallint,
    EXTRA        varchar(26),
    GRAD         varchar(26),
    MESTO        varchar(26),
    DATUMVREME   timestamp,
    BR_GLEDALACA integer,
    BOJAD        integer,
    BOJAG        integer,
    PLAYOFF      smallint,
    REZULTAT     varchar(21),
    JUMPBAL      smallint,
    constraint PK_UTAKMICA primary key (ID_UTAKMICA)
);

-- Match roster. DOMGOST is 1 for the home side and 0 for the away side,
-- unlike the event tables, which use 1 and 2. SEKUNDA is 1 for a starter.
create table SASTAV (
    ID_SASTAV    integer not null,
    ID_IGRAC     integer not null,
    ID_UTAKMICA  integer,
    DRES         smallint,
    DOMGOST      smallint not null,
    SEKUNDA      integer,
    constraint PK_SASTAV primary key (ID_SASTAV)
);

-- Event code list.
create table AKCIJA (
    SIFRA        smallint not null,
    OZNAKA       varchar(21) not null,
    OPIS         varchar(30),
    constraint PK_AKCIJA primary key (SIFRA)
);

-- Event log kept by the stored procedures. A0 is the side (1 home,
-- 2 away, 3 clock), A1 the shirt number, A3 the second parameter.
-- The key follows the order of recording.
create table AKCIJE (
    ID_AKCIJE    integer not null,
    ID_UTAKMICA  integer,
    A0           smallint,
    A1           smallint,
    SIFRA        smallint,
    A3           smallint,
    A4           smallint not null,
    UNDO         smallint not null,
    constraint PK_AKCIJE primary key (ID_AKCIJE)
);

-- Event records written by the program. No key: (IDM, RBACTION)
-- identifies a row, RBACTION counting 1, 2, 3 ... within the match.
-- S1 holds HH:NN:SS followed by a semicolon and the score, home:away.
create table DTT (
    IDM          integer,
    RBACTION     integer,
    HG           integer,
    NODR         integer,
    P            integer,
    M            integer,
    RES          integer,
    PAR1         integer,
    PAR2         integer,
    PAR3         integer,
    PAR4         integer,
    DTYPE        integer,
    I1           integer,
    I2           integer,
    S1           varchar(30),
    ISBONUS      integer,
    STARTER      integer,
    LGTYPE       integer
);

-- Deleted and undone event records, same columns as DTT (PAR3 is 1).
create table DTT_DEL (
    IDM          integer,
    RBACTION     integer,
    HG           integer,
    NODR         integer,
    P            integer,
    M            integer,
    RES          integer,
    PAR1         integer,
    PAR2         integer,
    PAR3         integer,
    PAR4         integer,
    DTYPE        integer,
    I1           integer,
    I2           integer,
    S1           varchar(30),
    ISBONUS      integer,
    STARTER      integer,
    LGTYPE       integer
);

-- Plus-minus per player and match. The program assigns IDINDEKS as
-- the highest existing value plus one, so there is no generator.
create table INDEKSI (
    IDINDEKS     integer not null,
    IDGAME       integer,
    HG           integer,
    NODR         integer,
    VAL          integer,
    IDPLAYER     integer,
    constraint PK_INDEKSI primary key (IDINDEKS)
);

-- Plus-minus history, one row per made shot. IDHOME and IDAWAY list the
-- roster positions on court, each followed by x, as in 0x3x4x7x9x.
-- IDZAPISA is assigned by the program like IDINDEKS.
create table ISTORIJA_INDEKSI_PM (
    IDZAPISA     integer not null,
    IDUTAKMICE   integer,
    RBAKCIJE     integer,
    HG           integer,
    VRBODA       integer,
    IDHOME       varchar(20),
    IDAWAY       varchar(20),
    constraint PK_ISTORIJA_INDEKSI_PM primary key (IDZAPISA)
);


/* ------------------------------------------------------------------ */
/* 3. Working tables of the match open in the console                  */
/* ------------------------------------------------------------------ */

-- The clock row. The table holds a single row, identified by all seven
-- columns, so it has no key. The program inserts the row.
create table TEMP (
    VREME        smallint,
    PERIOD       smallint,
    KRAJ         smallint,
    PERIOD_NO    smallint,
    PERIOD_TIME  smallint,
    EXTRA_TIME   smallint,
    A4           smallint
);

-- Player statistic lines of the home and away side.
-- Counters default to 0 so that a line inserted with only DRES starts empty.
create table STATDOMACI (
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
);

create table STATGOSTI (
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
);

-- Statistic lines per period and per minute, home and away.
-- VREME = -k is the line of period k alone, a positive VREME is the
-- elapsed game minute.
create table MINUTID (
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
);

create table MINUTIG (
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
);

-- Players on court, home and away. VREME = 0 are the five on court now,
-- VREME = 1 the starting five, other values snapshots by elapsed minute.
create table PETORKADOM (
    ID_PETORKA   integer not null,
    DRES         smallint,
    VREME        smallint,
    constraint PK_PETORKADOM primary key (ID_PETORKA)
);

create table PETORKAGOSTI (
    ID_PETORKA   integer not null,
    DRES         smallint,
    VREME        smallint,
    constraint PK_PETORKAGOSTI primary key (ID_PETORKA)
);


/* ------------------------------------------------------------------ */
/* 4. Generators and key triggers                                      */
/* ------------------------------------------------------------------ */

-- Working tables. These are emptied and their generators set back to 0
-- whenever a match is opened in the console.
create generator IDSTATDOMACI;
create generator IDSTATGOSTI;
create generator IDMINUTID;
create generator IDMINUTIG;
create generator IDPETORKAD;
create generator IDPETORKAG;

-- Reference and match tables.
create generator GEN_LIGA;
create generator GEN_KLUB;
create generator GEN_IGRAC;
create generator GEN_POZICIJA;
create generator GEN_POLOZAJ;
create generator GEN_TRENER;
create generator GEN_SUDIJA;
create generator GEN_DELEGAT;
create generator GEN_STATISTICARI;
create generator GEN_UTAKMICA;
create generator GEN_SASTAV;
create generator GEN_AKCIJE;

/*
 * Keys come from the generator when left empty.
 *
 * Reference rows may also arrive with a key typed by the user, and any
 * key may be edited. For those tables the trigger moves the generator up
 * to a typed key that is higher than its current value, so the generator
 * never falls behind the highest key in the table and a later generated
 * key cannot collide with a typed one.
 *
 * Working tables only ever get generated keys.
 */

set term ^ ;

create trigger LIGA_BIU for LIGA
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_LIGA is null) then
        new.ID_LIGA = gen_id(GEN_LIGA, 1);
    else
    begin
        HIGHEST = gen_id(GEN_LIGA, 0);
        if (new.ID_LIGA > HIGHEST) then
            HIGHEST = gen_id(GEN_LIGA, new.ID_LIGA - HIGHEST);
    end
end^

create trigger KLUB_BIU for KLUB
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_KLUB is null) then
        new.ID_KLUB = gen_id(GEN_KLUB, 1);
    else
    begin
        HIGHEST = gen_id(GEN_KLUB, 0);
        if (new.ID_KLUB > HIGHEST) then
            HIGHEST = gen_id(GEN_KLUB, new.ID_KLUB - HIGHEST);
    end
end^

create trigger IGRAC_BIU for IGRAC
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_IGRAC is null) then
        new.ID_IGRAC = gen_id(GEN_IGRAC, 1);
    else
    begin
        HIGHEST = gen_id(GEN_IGRAC, 0);
        if (new.ID_IGRAC > HIGHEST) then
            HIGHEST = gen_id(GEN_IGRAC, new.ID_IGRAC - HIGHEST);
    end
end^

create trigger POZICIJA_BIU for POZICIJA
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_POZ is null) then
        new.ID_POZ = gen_id(GEN_POZICIJA, 1);
    else
    begin
        HIGHEST = gen_id(GEN_POZICIJA, 0);
        if (new.ID_POZ > HIGHEST) then
            HIGHEST = gen_id(GEN_POZICIJA, new.ID_POZ - HIGHEST);
    end
end^

create trigger POLOZAJ_BIU for POLOZAJ
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_POL is null) then
        new.ID_POL = gen_id(GEN_POLOZAJ, 1);
    else
    begin
        HIGHEST = gen_id(GEN_POLOZAJ, 0);
        if (new.ID_POL > HIGHEST) then
            HIGHEST = gen_id(GEN_POLOZAJ, new.ID_POL - HIGHEST);
    end
end^

create trigger TRENER_BIU for TRENER
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_TRENER is null) then
        new.ID_TRENER = gen_id(GEN_TRENER, 1);
    else
    begin
        HIGHEST = gen_id(GEN_TRENER, 0);
        if (new.ID_TRENER > HIGHEST) then
            HIGHEST = gen_id(GEN_TRENER, new.ID_TRENER - HIGHEST);
    end
end^

create trigger SUDIJA_BIU for SUDIJA
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_SUDIJA is null) then
        new.ID_SUDIJA = gen_id(GEN_SUDIJA, 1);
    else
    begin
        HIGHEST = gen_id(GEN_SUDIJA, 0);
        if (new.ID_SUDIJA > HIGHEST) then
            HIGHEST = gen_id(GEN_SUDIJA, new.ID_SUDIJA - HIGHEST);
    end
end^

create trigger DELEGAT_BIU for DELEGAT
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_DELEGAT is null) then
        new.ID_DELEGAT = gen_id(GEN_DELEGAT, 1);
    else
    begin
        HIGHEST = gen_id(GEN_DELEGAT, 0);
        if (new.ID_DELEGAT > HIGHEST) then
            HIGHEST = gen_id(GEN_DELEGAT, new.ID_DELEGAT - HIGHEST);
    end
end^

create trigger STATISTICARI_BIU for STATISTICARI
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_STAT is null) then
        new.ID_STAT = gen_id(GEN_STATISTICARI, 1);
    else
    begin
        HIGHEST = gen_id(GEN_STATISTICARI, 0);
        if (new.ID_STAT > HIGHEST) then
            HIGHEST = gen_id(GEN_STATISTICARI, new.ID_STAT - HIGHEST);
    end
end^

create trigger UTAKMICA_BIU for UTAKMICA
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_UTAKMICA is null) then
        new.ID_UTAKMICA = gen_id(GEN_UTAKMICA, 1);
    else
    begin
        HIGHEST = gen_id(GEN_UTAKMICA, 0);
        if (new.ID_UTAKMICA > HIGHEST) then
            HIGHEST = gen_id(GEN_UTAKMICA, new.ID_UTAKMICA - HIGHEST);
    end
end^

create trigger SASTAV_BIU for SASTAV
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_SASTAV is null) then
        new.ID_SASTAV = gen_id(GEN_SASTAV, 1);
    else
    begin
        HIGHEST = gen_id(GEN_SASTAV, 0);
        if (new.ID_SASTAV > HIGHEST) then
            HIGHEST = gen_id(GEN_SASTAV, new.ID_SASTAV - HIGHEST);
    end
end^

create trigger AKCIJE_BIU for AKCIJE
active before insert or update position 0
as
declare variable HIGHEST integer;
begin
    if (inserting and new.ID_AKCIJE is null) then
        new.ID_AKCIJE = gen_id(GEN_AKCIJE, 1);
    else
    begin
        HIGHEST = gen_id(GEN_AKCIJE, 0);
        if (new.ID_AKCIJE > HIGHEST) then
            HIGHEST = gen_id(GEN_AKCIJE, new.ID_AKCIJE - HIGHEST);
    end
end^

create trigger STATDOMACI_BI for STATDOMACI
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = gen_id(IDSTATDOMACI, 1);
end^

create trigger STATGOSTI_BI for STATGOSTI
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = gen_id(IDSTATGOSTI, 1);
end^

create trigger MINUTID_BI for MINUTID
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = gen_id(IDMINUTID, 1);
end^

create trigger MINUTIG_BI for MINUTIG
active before insert position 0
as
begin
    if (new.ID_STAT is null) then
        new.ID_STAT = gen_id(IDMINUTIG, 1);
end^

create trigger PETORKADOM_BI for PETORKADOM
active before insert position 0
as
begin
    if (new.ID_PETORKA is null) then
        new.ID_PETORKA = gen_id(IDPETORKAD, 1);
end^

create trigger PETORKAGOSTI_BI for PETORKAGOSTI
active before insert position 0
as
begin
    if (new.ID_PETORKA is null) then
        new.ID_PETORKA = gen_id(IDPETORKAG, 1);
end^

set term ; ^


/* ------------------------------------------------------------------ */
/* 5. Indexes                                                          */
/* ------------------------------------------------------------------ */

-- Reference tables: the browsers order and search by these.
create unique index LIGA_NAZIV on LIGA (NAZIV);

create index KLUB_LIGA_KLUB on KLUB (ID_LIGA, ID_KLUB);
create index KLUB_LIGA_NAZIV on KLUB (ID_LIGA, NAZIV);
create index KLUB_NAZIV on KLUB (NAZIV);

create index IGRAC_IME on IGRAC (PREZIME, IME);
create index IGRAC_KLUB_IME on IGRAC (ID_KLUB, PREZIME, IME);
create index IGRAC_KLUB_IGRAC on IGRAC (ID_KLUB, ID_IGRAC);

create index TRENER_KLUB on TRENER (ID_KLUB, ID_TRENER);
create index TRENER_POLOZAJ on TRENER (ID_POL, PREZIME, IME);

create index SUDIJA_IME on SUDIJA (PREZIME, IME);
create index DELEGAT_IME on DELEGAT (PREZIME, IME);
create index STATISTICAR_IME on STATISTICARI (PREZIME, IME);

-- Match tables. Every query on the event and roster tables names one
-- match, so each of them leads with the match column: the database keeps
-- every match ever recorded and these queries must not scan the others.
create index UTAKMICA_NAZIV on UTAKMICA (NAZIV);

create index SASTAV_DRES on SASTAV (DRES, DOMGOST);
create index SASTAV_UTAKMICA on SASTAV (ID_UTAKMICA, DOMGOST, DRES);

create unique index AKCIJA_OZNAKA on AKCIJA (OZNAKA);

create index AKCIJE_UTAKMICA on AKCIJE (ID_UTAKMICA, ID_AKCIJE);

create index DTT_IDM_RBACTION on DTT (IDM, RBACTION);
create index DTT_DEL_IDM_RBACTION on DTT_DEL (IDM, RBACTION);

create index INDEKSI_GAME on INDEKSI (IDGAME, HG, NODR);
create index ISTORIJA_INDEKSI_PM_UTAKMICA on ISTORIJA_INDEKSI_PM (IDUTAKMICE, RBAKCIJE);

-- Working tables. The procedures look lines up by minute and shirt number.
create unique index STATD_DRES on STATDOMACI (DRES);
create unique index STATG_DRES on STATGOSTI (DRES);

create index MIND_DRES on MINUTID (DRES);
create index MING_DRES on MINUTIG (DRES);
create index MINUTID_VREME_DRES on MINUTID (VREME, DRES);
create index MINUTIG_VREME_DRES on MINUTIG (VREME, DRES);

create index PETORKADOM_VREME_DRES on PETORKADOM (VREME, DRES);
create index PETORKAGOSTI_VREME_DRES on PETORKAGOSTI (VREME, DRES);
