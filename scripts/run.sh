#!/usr/bin/env bash
# Starts the program; without a display it runs under a virtual one.
set -euo pipefail
prog=$1; shift
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" = "" ]; then
  echo "No display found: starting under a virtual display (Xvfb)." >&2
  exec xvfb-run -a "$prog" "$@"
fi
exec "$prog" "$@"
