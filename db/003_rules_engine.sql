/*
 * Working storage of the match rules engine (db/R_rules_engine.sql).
 *
 * RULES_FACT holds, while RE_OPEN rebuilds the open match, one row per
 * increment of a statistic line (or per presence of a player on court in a
 * minute): side (1 home, 2 away), shirt number, game minute T, period K and
 * up to two column codes C1, C2 (0 = presence only). Its rows live for one
 * transaction and are visible to this connection only.
 */

create global temporary table RULES_FACT (
    SIDE   smallint not null,
    DRES   smallint not null,
    T      smallint not null,
    K      smallint not null,
    C1     smallint not null,
    C2     smallint not null
) on commit delete rows;

create index RULES_FACT_SIDE_DRES on RULES_FACT (SIDE, DRES);
