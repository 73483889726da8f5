/*
 * Names that must not repeat, compared without regard to letter case or
 * outer spaces: a league's name and a club's name within its league. The
 * program refuses a repeated name before it writes (a player's name within
 * his club too); these indexes settle two desks that post the same name at
 * the same moment.
 *
 * A database may already hold repeated names. Such a table keeps its rows
 * and gets no index: the program's own check still refuses new repeats,
 * but two desks posting one name at the very same moment are not caught.
 */
set term ^ ;

execute block as
begin
  if (not exists(select 1 from LIGA group by upper(trim(NAZIV)) having count(*) > 1)) then
    execute statement 'create unique index LIGA_NAZIV_NOCASE on LIGA computed by (upper(trim(NAZIV)))';

  if (not exists(select 1 from KLUB where ID_LIGA is not null
                 group by ID_LIGA, upper(trim(NAZIV)) having count(*) > 1)) then
    execute statement 'create unique index KLUB_LIGA_NAZIV_NOCASE on KLUB '
                   || 'computed by (ID_LIGA || ''|'' || upper(trim(NAZIV)))';
end^

set term ; ^
