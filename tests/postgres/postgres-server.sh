#!/usr/bin/env bash
# A throw-away PostgreSQL server on loopback for the tests that need a real database
# server behind ODBC:
#   postgres-server.sh setup <folder>     new cluster, started on a free port
#   postgres-server.sh start <folder>     start the cluster again (on a free port)
#   postgres-server.sh stop <folder>      stop it; its sessions end at once
#   postgres-server.sh teardown <folder>  stop it and remove the cluster and <folder>
# The port is written to <folder>/port. The server's own files (cluster, logs) lie in a
# temporary folder of their own, named in <folder>/server-folder: the server runs as
# another user when run as root, and that user may not be able to reach <folder> (a
# checkout in root's home folder). The server listens on 127.0.0.1 only and has no
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

# The server's folder, once setup has made it; empty before.
server=$(cat "$folder/server-folder" 2>/dev/null || true)

# Run in the server's folder, which its user can enter whatever the current folder is.
as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then (cd "$server" && runuser -u postgres -- "$@"); else "$@"; fi
}

running() { [ -f "$server/data/postmaster.pid" ] && as_server_user "$bindir/pg_ctl" -D "$server/data" status >/dev/null 2>&1; }

# Stops the server and removes its folder and <folder>.
remove_all() {
  if [ -n "$server" ] && [ -d "$server/data" ]; then stop; fi
  case "$server" in /tmp/veldar-postgres.*) rm -rf "$server" ;; esac
  rm -rf "$folder"
}

start() {
  local port
  for _ in $(seq 20); do
    port=$((20000 + RANDOM % 40000))
    # Something already answers there: try another.
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue
    if as_server_user "$bindir/pg_ctl" -D "$server/data" -l "$server/server.log" -w -t 30 start \
        -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories= -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
        >/dev/null; then
      echo "$port" > "$folder/port"
      return 0
    fi
  done
  echo "postgres-server: could not start a server, see $server/server.log" >&2
  return 1
}

stop() {
  if running; then as_server_user "$bindir/pg_ctl" -D "$server/data" -m fast -w stop >/dev/null; fi
  rm -f "$folder/port"
}

case "$command" in
  setup)
    remove_all
    mkdir -p "$folder"
    server=$(mktemp -d /tmp/veldar-postgres.XXXXXX)
    echo "$server" > "$folder/server-folder"
    echo "$SUPERUSER_PASSWORD" > "$server/superuser-password"
    if [ "$(id -u)" -eq 0 ]; then chown -R postgres "$server"; fi
    as_server_user "$bindir/initdb" -D "$server/data" -U postgres --pwfile="$server/superuser-password" \
      -A scram-sha-256 --no-sync --no-instructions >"$server/initdb.log"
    start
    PGPASSWORD="$SUPERUSER_PASSWORD" psql -q -X -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$(cat "$folder/port")" \
      -U postgres -d postgres \
      -c "CREATE ROLE veldar LOGIN PASSWORD '$ROLE_PASSWORD'" -c "CREATE DATABASE veldar OWNER veldar" >/dev/null
    ;;
  start) running || start ;;
  stop) stop ;;
  teardown) remove_all ;;
  *) echo "postgres-server: unknown command $command" >&2; exit 2 ;;
esac
