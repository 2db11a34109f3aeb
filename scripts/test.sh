#!/usr/bin/env bash
# Runs every test. Tests that need PostgreSQL start their own private server.
set -euo pipefail
build=${1:-build}
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
