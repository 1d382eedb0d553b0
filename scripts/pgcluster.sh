#!/usr/bin/env bash
# A throwaway PostgreSQL cluster of its own for the server tests: initdb into a temporary folder,
# a unix socket in that folder and 127.0.0.1 on a free port, one database with the ledger's
# extension. Postgres refuses to run as root, so under root the server runs as `nobody`.
#
#   pgcluster.sh run CMD...   starts it, runs CMD with the connection in the environment
#                             (SOLBITSEM_PG and the libpq variables), stops and removes it
#   pgcluster.sh start        starts it and prints the export lines for a shell (eval them)
#   pgcluster.sh stop DIR     stops and removes the cluster started in DIR
#   pgcluster.sh restart DIR  restarts the server of DIR (its clients lose their connections)
set -euo pipefail

bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bindir/initdb" ] || { echo "PostgreSQL이 설치되어 있지 않습니다 (postgresql)." >&2; exit 1; }

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' 2>/dev/null \
        || echo $((20000 + RANDOM % 20000))
}

start() {
    dir="$(mktemp -d /tmp/solbitsem-pg.XXXXXX)"
    chmod 755 "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    port="$(free_port)"
    # C locale: the case-blind text type folds ASCII letters only, as the file engine does.
    as_owner "$bindir/initdb" -D "$dir/data" -U solbitsem --auth=trust --encoding=UTF8 --locale=C >"$dir/initdb.log" 2>&1 \
        || { cat "$dir/initdb.log" >&2; exit 1; }
    # A test cluster: nothing here must survive a power cut, so no syncs; PGCLUSTER_DURABLE=1
    # keeps them, for timings that include a real server's commit.
    nosync="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    [ "${PGCLUSTER_DURABLE:-}" = 1 ] && nosync=""
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -s \
        -o "-p $port -k $dir -c listen_addresses=127.0.0.1 $nosync -c max_connections=200" \
        start >/dev/null || { cat "$dir/server.log" >&2; exit 1; }
    "$bindir/psql" -h "$dir" -p "$port" -U solbitsem -d postgres -qAt -v ON_ERROR_STOP=1 \
        -c "CREATE DATABASE solbitsem TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'" >/dev/null
    "$bindir/psql" -h "$dir" -p "$port" -U solbitsem -d solbitsem -qAt -v ON_ERROR_STOP=1 \
        -c "CREATE EXTENSION IF NOT EXISTS citext" >/dev/null
    PGCLUSTER_DIR="$dir"
    PGHOST="$dir" PGPORT="$port" PGUSER=solbitsem PGDATABASE=solbitsem
    SOLBITSEM_PG="host=$dir port=$port dbname=solbitsem user=solbitsem"
}

stop() {
    local dir="$1"
    [ -d "$dir/data" ] && as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -s stop >/dev/null 2>&1 || true
    case "$dir" in /tmp/solbitsem-pg.*) rm -rf "$dir" ;; esac
}

case "${1:-}" in
run)
    shift
    start
    trap 'stop "$PGCLUSTER_DIR"' EXIT
    export PGHOST PGPORT PGUSER PGDATABASE SOLBITSEM_PG
    "$@"
    ;;
start)
    start
    printf 'export PGCLUSTER_DIR=%q PGHOST=%q PGPORT=%q PGUSER=%q PGDATABASE=%q SOLBITSEM_PG=%q\n' \
        "$PGCLUSTER_DIR" "$PGHOST" "$PGPORT" "$PGUSER" "$PGDATABASE" "$SOLBITSEM_PG"
    ;;
stop)
    stop "${2:?folder of the cluster}"
    ;;
restart)
    as_owner "$bindir/pg_ctl" -D "${2:?folder of the cluster}/data" -m fast -w -s restart >/dev/null
    ;;
*)
    echo "usage: $0 run CMD... | start | stop DIR | restart DIR" >&2
    exit 2
    ;;
esac
