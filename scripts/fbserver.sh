#!/usr/bin/env bash
# Starts or stops a private Firebird server for the tests: its own root,
# port, settings, security database and lock files under DIR, no systemd.
#   fbserver.sh start DIR PORT [PASSWORD]   stop: fbserver.sh stop DIR
set -euo pipefail
action=${1:?start|stop}; dir=${2:?DIR}
system_root=/usr/lib/x86_64-linux-gnu/firebird/3.0

case "$action" in
start)
  port=${3:?PORT}; password=${4:-tolvaring}
  [ -x /usr/sbin/firebird ] || { echo "firebird3.0-server is not installed" >&2; exit 1; }
  mkdir -p "$dir/lock" "$dir/tmp"
  # The engine finds its messages, character sets and plugins under its root;
  # the character-set library must be a real copy, not a link.
  cp -f "$system_root/firebird.msg" "$dir/"
  rm -rf "$dir/intl" "$dir/plugins"; cp -r "$system_root/intl" "$system_root/plugins" "$dir/"
  cp -f /etc/firebird/3.0/plugins.conf "$dir/"
  : > "$dir/databases.conf"
  cat > "$dir/firebird.conf" <<CONF
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $dir/security3.fdb
ServerMode = Super
AuthServer = Srp
UserManager = Srp
WireCrypt = Enabled
CONF
  export FIREBIRD="$dir" FIREBIRD_LOCK="$dir/lock" FIREBIRD_TMP="$dir/tmp"
  if [ ! -f "$dir/security3.fdb" ]; then
    # Built through the embedded engine so no server is needed yet.
    printf "create database '%s';\ncreate user SYSDBA password '%s' using plugin Srp;\ncommit;\n" \
      "$dir/security3.fdb" "$password" | isql-fb -q -user SYSDBA >/dev/null
  fi
  /usr/sbin/firebird > "$dir/server.log" 2>&1 &
  echo $! > "$dir/server.pid"
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && exit 0
    sleep 0.1
  done
  echo "the server did not listen on port $port; see $dir/server.log" >&2; exit 1
  ;;
stop)
  [ -f "$dir/server.pid" ] || exit 0
  pid=$(cat "$dir/server.pid")
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  # A server still waiting for an attachment after five seconds would go on
  # holding the port for the next start.
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/server.pid"
  ;;
*) echo "usage: $0 start DIR PORT [PASSWORD] | stop DIR" >&2; exit 2 ;;
esac
