#!/usr/bin/env bash
# Runs the fuzzing programs of a fuzzing build (make fuzz-build) over their corpus.
#   fuzz.sh all <fuzzing build> <seconds>           every program, one after the other
#   fuzz.sh run <program> <corpus folder> <seconds>  one program; 77 when it was not built
# The corpus in the source tree is only read: new inputs go to a scratch folder,
# and an input that makes a program fail is kept in <fuzzing build>/fuzz/hallazgos/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

run() {
  local bin=$1 corpus=$2 secs=$3
  [ -x "$bin" ] || { echo "$bin was not built (make fuzz-build)"; return 77; }
  local hallazgos scratch log status=0
  hallazgos="$(dirname "$bin")/hallazgos"
  mkdir -p "$hallazgos"
  scratch=$(mktemp -d)
  local semillas=()
  [ -d "$corpus" ] && semillas=("$corpus")
  log="$scratch.log"
  # Leaks are reported by the leak checker only at exit, where Qt's caches look like leaks.
  ASAN_OPTIONS=detect_leaks=0:${ASAN_OPTIONS:-} "$bin" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$hallazgos/$(basename "$bin")-" "$scratch" "${semillas[@]}" >"$log" 2>&1 ||
    status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
  else
    local execs
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$(basename "$bin"): ${execs:-?} executions in ${secs}s, no failure"
  fi
  rm -rf "$scratch" "$log"
  return "$status"
}

case "${1:-}" in
  run) run "$2" "$3" "$4" ;;
  all)
    build=$2 secs=$3 status=0
    for src in "$root"/fuzz/*_fuzz.cpp; do
      n=$(basename "$src" .cpp)
      run "$build/fuzz/$n" "$root/fuzz/corpus/$n" "$secs" || status=1
    done
    exit "$status"
    ;;
  *)
    sed -n '2,6p' "$0"
    exit 2
    ;;
esac
