#!/usr/bin/env bash
# Runs every test of a build folder twice, in the environment's locale and under es_AR.UTF-8,
# against one private PostgreSQL server started for the run (SQLite databases are made by
# the tests themselves). Exits non-zero when either run fails. The benchmarks' smoke run
# (bench.humo) runs once, like the end-to-end tests.
#   test.sh [build folder] [further ctest arguments, e.g. -R Empresas]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen
if ! locale -a 2>/dev/null | grep -qix 'es_AR\.utf-\?8'; then
  echo "The es_AR.UTF-8 locale is missing: run scripts/setup.sh (make setup)" >&2
  exit 2
fi

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
# Files the program keeps in a user's data folder must not steer the tests: an empty one.
export XDG_DATA_HOME="$pgdir/datos"

cd "$build"
# Once in the environment's locale, once in the Argentine one (decimal comma), where the
# operators work. The end-to-end tests run once per locale by themselves: not repeated.
status=0
ctest --output-on-failure -j 2 --timeout 600 "$@" || status=1
echo "== Again under es_AR.UTF-8"
LC_ALL=es_AR.UTF-8 LANG=es_AR.UTF-8 ctest --output-on-failure -j 2 --timeout 600 -LE e2e -E '^bench\.' "$@" || status=1
((status == 0)) || echo "Failed: see the failures above (first run: environment's locale; second: es_AR.UTF-8)"
exit "$status"
