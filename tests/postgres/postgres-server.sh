#!/usr/bin/env bash
# A throw-away PostgreSQL server on loopback for the tests that need a real database
# server behind ODBC:
#   postgres-server.sh setup <folder>     new cluster in <folder>, started on a free port
#   postgres-server.sh start <folder>     start the cluster again (on a free port)
#   postgres-server.sh stop <folder>      stop it; its sessions end at once
#   postgres-server.sh teardown <folder>  stop it and remove the folder
# The port is written to <folder>/port. The server listens on 127.0.0.1 only and has no
# Unix socket. It has the role "veldar" with the password in ROLE_PASSWORD below (it
# holds ";", braces and a leading blank, which a connection string must quote) and a database
# of the same name, the one psqlODBC chooses for that login.
# PostgreSQL refuses to run as root: as root the server runs as the user postgres.
set -euo pipefail

ROLE_PASSWORD=' Se;cr{e}t pw'
SUPERUSER_PASSWORD='postgres-test'

command="${1:-}"
folder="${2:-}"
[ -n "$command" ] && [ -n "$folder" ] || { echo "usage: $0 setup|start|stop|teardown <folder>" >&2; exit 2; }

bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bindir/pg_ctl" ] || { echo "postgres-server: no PostgreSQL server found" >&2; exit 1; }

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

running() { [ -f "$folder/data/postmaster.pid" ] && as_server_user "$bindir/pg_ctl" -D "$folder/data" status >/dev/null 2>&1; }

start() {
  local port
  for _ in $(seq 20); do
    port=$((20000 + RANDOM % 40000))
    # Something already answers there: try another.
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue
    if as_server_user "$bindir/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 30 start \
        -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories= -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        >/dev/null; then
      echo "$port" > "$folder/port"
      return 0
    fi
  done
  echo "postgres-server: could not start a server, see $folder/server.log" >&2
  return 1
}

stop() {
  if running; then as_server_user "$bindir/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null; fi
  rm -f "$folder/port"
}

case "$command" in
  setup)
    [ -d "$folder/data" ] && stop
    rm -rf "$folder"
    mkdir -p "$folder"
    echo "$SUPERUSER_PASSWORD" > "$folder/superuser-password"
    [ "$(id -u)" -eq 0 ] && chown -R postgres "$folder"
    as_server_user "$bindir/initdb" -D "$folder/data" -U postgres --pwfile="$folder/superuser-password" \
      -A scram-sha-256 --no-sync --no-instructions >"$folder/initdb.log"
    start
    PGPASSWORD="$SUPERUSER_PASSWORD" psql -q -X -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$(cat "$folder/port")" \
      -U postgres -d postgres \
      -c "CREATE ROLE veldar LOGIN PASSWORD '$ROLE_PASSWORD'" -c "CREATE DATABASE veldar OWNER veldar" >/dev/null
    ;;
  start) running || start ;;
  stop) stop ;;
  teardown)
    [ -d "$folder/data" ] && stop
    rm -rf "$folder"
    ;;
  *) echo "postgres-server: unknown command $command" >&2; exit 2 ;;
esac
