#!/usr/bin/env bash
# Creates the SQLite demo database at the given path, unless a file is already there.
set -euo pipefail
target=${1:?usage: create_sqlite.sh <database file>}
here=$(cd "$(dirname "$0")" && pwd)
if [ -e "$target" ]; then
  exit 0
fi
mkdir -p "$(dirname "$target")"
# Built beside the target and renamed, so an interrupted run leaves no half-made database.
partial=$(mktemp "$target.XXXXXX")
trap 'rm -f "$partial"' EXIT
bash "$here/render_sql.sh" sqlite | sqlite3 -bail "$partial"
chmod 644 "$partial"
mv "$partial" "$target"
trap - EXIT
echo "Demo database created: $target"
