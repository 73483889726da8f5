#!/usr/bin/env bash
# Runs a Firebird tool (isql-fb, gbak, gfix, ...) beside a running Quintara,
# with the engine settings the program uses for its data directory.
#   scripts/fbtool.sh isql-fb -user SYSDBA "$QUINTARA_HOME/QNDB.FDB"
# The data directory is QUINTARA_HOME, or build/ when it is not set.
set -euo pipefail
home="${QUINTARA_HOME:-$(cd "$(dirname "$0")/.." && pwd)/build}"
export FIREBIRD="$home/.firebird"
export FIREBIRD_LOCK="$home/.firebird/lock"
[ -f "$FIREBIRD/firebird.conf" ] || { echo "Start Quintara once with this data directory first: $home" >&2; exit 1; }
exec "$@"
