#!/usr/bin/env bash
# Runs every test of a build folder against one private PostgreSQL server started for the run
# (SQLite databases are made by the tests themselves). Exits with ctest's status.
#   test.sh [build folder] [further ctest arguments, e.g. -R Empresas]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen

# Under /tmp so that the server's unprivileged user can reach it whatever TMPDIR says.
pgdir=$(mktemp -d /tmp/ma_pg.XXXXXX)
cleanup() {
  bash "$root/scripts/pg_server.sh" stop "$pgdir" >/dev/null 2>&1 || true
  rm -rf "$pgdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

MA_PG_OWNER_PID=$$ bash "$root/scripts/pg_server.sh" start "$pgdir"
# shellcheck source=/dev/null
source "$pgdir/env.sh"
echo "PostgreSQL test server on 127.0.0.1:$MA_PG_PORT (DSN $MA_PG_DSN, $ODBCINI)"

cd "$build"
status=0
ctest --output-on-failure -j 2 --timeout 600 "$@" || status=$?
exit "$status"
