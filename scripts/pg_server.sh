#!/usr/bin/env bash
# A private PostgreSQL server for the tests, kept entirely inside one folder.
#
#   pg_server.sh start <dir>   new cluster in <dir>/data, listening on 127.0.0.1 at a free port and
#                              on a Unix socket in <dir>; role ma_test (password ma_test_pw) and the
#                              database ma_demo_template holding the demo data; writes <dir>/odbc.ini
#                              (DSN MA_PG_TEST) and <dir>/env.sh to source.
#   pg_server.sh stop <dir>    stops that server.
#   pg_server.sh restart <dir> stops it (when running) and starts it again on the same port; its
#                              clients lose their connections, as when a real server is restarted.
#
# With MA_PG_OWNER_PID set, start also leaves a watcher that stops the server and removes <dir>
# once that process is gone, so a test program that crashes does not leave a server behind.
# Run as root, the server runs as the unprivileged user postgres.
set -euo pipefail
# runuser lives in sbin, which a plain user's PATH may lack.
export PATH=$PATH:/usr/sbin:/sbin

PGBIN=${MA_PG_BIN:-/usr/lib/postgresql/15/bin}
USER_NAME=ma_test
USER_PASSWORD=ma_test_pw
TEMPLATE_DB=ma_demo_template
DSN=MA_PG_TEST
MARKER=.ma_pg_server
self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
root=$(cd "$(dirname "$0")/.." && pwd)

die() {
  echo "pg_server.sh: $*" >&2
  exit 1
}

as_server_user() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

stop_server() {
  local dir=$1
  [ -f "$dir/data/postmaster.pid" ] || return 0
  as_server_user "$PGBIN/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null
}

restart_server() {
  local dir=$1 port
  [ -f "$dir/env.sh" ] || die "no server was set up in $dir"
  port=$(sed -n 's/^export MA_PG_PORT=//p' "$dir/env.sh")
  stop_server "$dir"
  as_server_user "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -o "-p $port" start >/dev/null
}

start_server() {
  local dir=$1
  [ -x "$PGBIN/initdb" ] || die "PostgreSQL 15 is not installed in $PGBIN (scripts/setup.sh installs it)"
  [ -x "$PGBIN/psql" ] || die "psql is not installed in $PGBIN (scripts/setup.sh installs it)"
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [ ! -e "$dir/data" ] || die "$dir/data already exists"
  case "$dir" in *"'"* | *" "*) die "the folder name must not hold blanks or apostrophes: $dir" ;; esac
  [ ${#dir} -le 80 ] || die "folder path too long for a Unix socket: $dir"

  if [ "$(id -u)" -eq 0 ]; then
    id postgres >/dev/null 2>&1 || die "user postgres is missing (the postgresql package creates it)"
    chown postgres: "$dir"
    chmod 700 "$dir"
    runuser -u postgres -- test -w "$dir" ||
      die "$dir is not reachable by the user postgres; use a folder under /tmp"
  fi
  touch "$dir/$MARKER"

  as_server_user "$PGBIN/initdb" -D "$dir/data" -U postgres -E UTF8 --locale=C.UTF-8 -N \
    --auth-local=trust --auth-host=trust >"$dir/initdb.log" 2>&1 ||
    die "initdb failed: $(tail -n 5 "$dir/initdb.log")"
  # Passwords over TCP, as the program connects; the socket is for the set-up tools only.
  as_server_user tee "$dir/data/pg_hba.conf" >/dev/null <<EOF
local all all trust
host all all 127.0.0.1/32 scram-sha-256
EOF
  # Durability is worthless for throw-away test data; speed is not.
  as_server_user tee -a "$dir/data/postgresql.conf" >/dev/null <<EOF
listen_addresses = '127.0.0.1'
unix_socket_directories = '$dir'
password_encryption = scram-sha-256
fsync = off
synchronous_commit = off
full_page_writes = off
datestyle = 'iso, dmy'
max_connections = 100
shared_buffers = 32MB
EOF

  local port="" attempt candidate
  for attempt in $(seq 1 25); do
    candidate=$((20000 + RANDOM % 30000))
    # Something already answers there: try another.
    if (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
      continue
    fi
    rm -f "$dir/server.log"
    if as_server_user "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-p $candidate" start >/dev/null 2>&1; then
      port=$candidate
      break
    fi
    # Lost a race for the port: try another; any other failure is final.
    grep -q -e 'could not bind' -e 'could not create any TCP/IP sockets' -e 'already in use' \
      "$dir/server.log" 2>/dev/null || die "the server did not start: $(tail -n 5 "$dir/server.log" 2>/dev/null)"
  done
  [ -n "$port" ] || die "no free loopback port found"
  # From here on a failure must not leave the server running.
  trap "stop_server '$dir' >/dev/null 2>&1 || true" EXIT

  local psql=("$PGBIN/psql" -X -q -v ON_ERROR_STOP=1 -h "$dir" -p "$port")
  "${psql[@]}" -U postgres -d postgres \
    -c "CREATE ROLE $USER_NAME LOGIN SUPERUSER PASSWORD '$USER_PASSWORD'" \
    -c "CREATE DATABASE $TEMPLATE_DB OWNER $USER_NAME" >/dev/null ||
    die "could not create the test role and database"
  bash "$root/demo/render_sql.sh" postgres | "${psql[@]}" -U "$USER_NAME" -d "$TEMPLATE_DB" >/dev/null ||
    die "could not load the demo database"
  # Every test copies the template; a test writing into it would spoil the copies of all the others.
  "${psql[@]}" -U postgres -d postgres \
    -c "ALTER DATABASE $TEMPLATE_DB SET default_transaction_read_only = on" >/dev/null ||
    die "could not protect the template database"
  # The way the program will log in: TCP and password.
  PGPASSWORD=$USER_PASSWORD "$PGBIN/psql" -X -q -w -h 127.0.0.1 -p "$port" -U "$USER_NAME" -d "$TEMPLATE_DB" \
    -c "SELECT 1" >/dev/null || die "password login over TCP failed"

  cat >"$dir/odbc.ini" <<EOF
[$DSN]
Description = Private test server in $dir
Driver = PostgreSQL Unicode
Servername = 127.0.0.1
Port = $port
Database = $TEMPLATE_DB
SSLmode = disable
BoolsAsChar = 0
ByteaAsLongVarBinary = 1
UseDeclareFetch = 0
UseServerSidePrepare = 1
TextAsLongVarchar = 0
UnknownsAsLongVarchar = 0
MaxVarcharSize = 255
LFConversion = 0
ReadOnly = 0
ShowSystemTables = 0
Debug = 0
CommLog = 0
EOF
  {
    printf 'export ODBCINI=%q\n' "$dir/odbc.ini"
    printf 'export MA_PG_DIR=%q\n' "$dir"
    printf 'export MA_PG_PORT=%q\n' "$port"
    printf 'export MA_PG_USER=%q\n' "$USER_NAME"
    printf 'export MA_PG_PASSWORD=%q\n' "$USER_PASSWORD"
    printf 'export MA_PG_DSN=%q\n' "$DSN"
    printf 'export MA_PG_TEMPLATE=%q\n' "$TEMPLATE_DB"
    printf 'export MA_PG_BIN=%q\n' "$PGBIN"
  } >"$dir/env.sh"
  chmod 755 "$dir"
  chmod 644 "$dir/odbc.ini" "$dir/env.sh"

  if [ -n "${MA_PG_OWNER_PID:-}" ]; then
    setsid bash "$self" watch "$dir" "$MA_PG_OWNER_PID" </dev/null >/dev/null 2>&1 &
  fi
  trap - EXIT
}

watch_owner() {
  local dir=$1 pid=$2
  while kill -0 "$pid" 2>/dev/null; do
    sleep 1
  done
  stop_server "$dir" || true
  # Only a folder this script set up is removed.
  if [ -f "$dir/$MARKER" ]; then
    rm -rf "$dir"
  fi
}

cmd=${1:-}
dir=${2:-}
[ -n "$dir" ] || die "usage: pg_server.sh start|stop|restart <dir>"
case "$cmd" in
  start) start_server "$dir" ;;
  stop) stop_server "$dir" ;;
  restart) restart_server "$dir" ;;
  watch) watch_owner "$dir" "${3:?owner pid}" ;;
  *) die "usage: pg_server.sh start|stop|restart <dir>" ;;
esac
