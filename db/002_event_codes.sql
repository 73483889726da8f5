/*
 * Quintara seed data: event codes, playing positions and coach roles.
 *
 * OZNAKA of an event code is the short name shown in the undo list.
 * The console needs codes 4 to 21 and 31 to 33 at start-up.
 */

/* Event codes */

insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (0, 'OVER TIME', 'Start of an overtime');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (1, 'MATCH START', 'Match started');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (2, 'STARTERS', 'Starting five entered');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (3, 'TIME CHANGE', 'Clock minute changed');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (4, 'MADE 1P', 'Free throw made');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (5, 'MISS 1P', 'Free throw missed');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (6, 'MADE 2P', 'Two-point shot made');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (7, 'MISS 2P', 'Two-point shot missed');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (8, 'MADE 3P', 'Three-point shot made');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (9, 'MISS 3P', 'Three-point shot missed');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (10, 'REBOUND DEFENCE', 'Defensive rebound');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (11, 'REBOUND OFFENCE', 'Offensive rebound');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (12, 'ASSIST', 'Assist');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (13, 'STEAL BALL', 'Steal');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (14, 'TURNOVER', 'Turnover');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (15, 'PERSONAL FAULT', 'Personal foul');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (16, 'TECHNICAL TO PLAYER', 'Technical foul on a player');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (17, 'BLOCK', 'Blocked shot');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (18, 'PLAYER CHANGE', 'Substitution');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (19, 'TECHNICAL TO COACH', 'Technical foul on the coach');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (20, 'TIME OUT', 'Time-out');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (21, 'EXIT WITHOUT CHANGES', 'Player leaves, no substitute');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (22, 'MATCH FINISH', 'Match finished');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (31, 'TEAM OFFENCE', 'Team offensive event');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (32, 'TEAM DEFENCE', 'Team defensive event');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (33, 'TEAM TURNOVER', 'Team turnover');
insert into AKCIJA (SIFRA, OZNAKA, OPIS) values (34, 'JUMP BALL', 'Jump ball');

/* Playing positions */

insert into POZICIJA (ID_POZ, POZICIJA, OPIS) values (1, 'PG', 'Point guard');
insert into POZICIJA (ID_POZ, POZICIJA, OPIS) values (2, 'SG', 'Shooting guard');
insert into POZICIJA (ID_POZ, POZICIJA, OPIS) values (3, 'SF', 'Small forward');
insert into POZICIJA (ID_POZ, POZICIJA, OPIS) values (4, 'PF', 'Power forward');
insert into POZICIJA (ID_POZ, POZICIJA, OPIS) values (5, 'C', 'Center');

/* Coach roles */

insert into POLOZAJ (ID_POL, POLOZAJ) values (1, 'Head coach');
insert into POLOZAJ (ID_POL, POLOZAJ) values (2, 'Assistant coach');
insert into POLOZAJ (ID_POL, POLOZAJ) values (3, 'Second assistant');
