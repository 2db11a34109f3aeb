#!/usr/bin/env bash
# Runs every benchmark program of a build folder (<build>/bench/*_bench), one after
# another, offscreen. A target missed is reported by the benchmark itself; this
# script fails only when a benchmark program fails to run.
#   bench.sh [build folder] [further arguments for every benchmark]
set -uo pipefail
build=$(cd "${1:-build}" && pwd) || exit 2
shift || true
export QT_QPA_PLATFORM=offscreen
export MA_BENCH_ENGINES=${MA_BENCH_ENGINES:-sqlite}

found=0
failed=()
for b in "$build"/bench/*_bench; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=1
  echo "=== $(basename "$b") ==="
  if ! "$b" "$@"; then
    echo "*** $(basename "$b") failed" >&2
    failed+=("$(basename "$b")")
  fi
  echo
done
if [ "$found" = 0 ]; then
  echo "No benchmark programs in $build/bench (is Google Benchmark installed?)" >&2
  exit 1
fi
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]}" >&2
  exit 1
fi
