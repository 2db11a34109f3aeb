#!/usr/bin/env bash
# Runs every benchmark program of a build folder (<build>/bench/*_bench), one after
# another, offscreen, on SQLite and on one private PostgreSQL server started for the
# run (or the one the environment names, as under scripts/test.sh). A target missed
# is reported by the benchmark itself and listed at the end; this script fails when
# a benchmark program fails to run or cannot measure.
#   bench.sh [build folder] [further arguments for every benchmark]
# MA_BENCH_ENGINES=sqlite (or postgres) for one engine; MA_BENCH_SMOKE=1 for the
# short run of the tests: small data, each figure measured briefly, targets not judged.
set -uo pipefail
build=$(cd "${1:-build}" && pwd) || exit 2
shift || true
root=$(cd "$(dirname "$0")/.." && pwd)
export QT_QPA_PLATFORM=offscreen
extra=()
[ "${MA_BENCH_SMOKE:-}" = 1 ] && extra=(--benchmark_min_time=0.01)

scratch=$(mktemp -d /tmp/ma_bench.XXXXXX)
pgdir=
cleanup() {
  if [ -n "$pgdir" ]; then
    bash "$root/scripts/pg_server.sh" stop "$pgdir" >/dev/null 2>&1
    rm -rf "$pgdir"
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# One server for every benchmark, its settings in the environment before any of them
# starts: each program and each process it starts then reach the same one.
if [ -z "${ODBCINI:-}" ] || [ -z "${MA_PG_DIR:-}" ] || [ -z "${MA_PG_PORT:-}" ]; then
  # Under /tmp on its own, so that the server's unprivileged user can reach it.
  pgdir=$(mktemp -d /tmp/ma_pg.XXXXXX)
  MA_PG_OWNER_PID=$$ bash "$root/scripts/pg_server.sh" start "$pgdir" || exit 2
  # shellcheck source=/dev/null
  source "$pgdir/env.sh"
fi
# Files the program keeps in a user's data folder must not steer the figures: an empty one.
export XDG_DATA_HOME="$scratch/datos"

found=0
failed=()
for b in "$build"/bench/*_bench; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  n=$(basename "$b")
  echo "=== $n ==="
  if ! "$b" "${extra[@]}" "$@" | tee "$scratch/$n.out"; then
    echo "*** $n failed" >&2
    failed+=("$n")
  fi
  echo
done
if [ "$found" = 0 ]; then
  echo "No benchmark programs in $build/bench (is Google Benchmark installed?)" >&2
  exit 1
fi
if [ "${MA_BENCH_SMOKE:-}" != 1 ] && grep -qE '\bMISS\b|ABOVE TARGET' "$scratch"/*.out 2>/dev/null; then
  echo "Targets missed:"
  grep -hE '\bMISS\b|ABOVE TARGET' "$scratch"/*.out
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
