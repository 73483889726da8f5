/*
 * New plus-minus rows take the highest key + 1; descending indexes keep
 * that look-up instant however many matches the database holds.
 */
create descending index INDEKSI_KEY_DESC on INDEKSI (IDINDEKS);
create descending index ISTORIJA_INDEKSI_PM_KEY_DESC on ISTORIJA_INDEKSI_PM (IDZAPISA);
