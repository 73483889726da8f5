#!/usr/bin/env bash
# Runs a Firebird tool (isql-fb, gbak, gfix, ...) beside a running Quintara,
# with the engine settings the program keeps beside its database file.
#   scripts/fbtool.sh isql-fb -user SYSDBA "$QUINTARA_HOME/QNDB.FDB"
# The database is QUINTARA_DATABASE when it names a file, else QNDB.FDB in
# the data directory: QUINTARA_HOME, or build/ when it is not set.
set -euo pipefail
home="${QUINTARA_HOME:-$(cd "$(dirname "$0")/.." && pwd)/build}"
database="${QUINTARA_DATABASE:-}"
# A server's database ("host:/path") leaves the engine settings in the data directory.
if [ -n "$database" ] && [[ "$database" != *:* ]]; then
  home="$(cd "$(dirname "$database")" && pwd)"
fi
export FIREBIRD="$home/.firebird"
export FIREBIRD_LOCK="$home/.firebird/lock"
[ -f "$FIREBIRD/firebird.conf" ] || { echo "Start Quintara once with this database first: $home" >&2; exit 1; }
exec "$@"
