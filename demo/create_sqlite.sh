#!/usr/bin/env bash
# Creates the SQLite demo database at the given path, unless a file is already there.
# Its text columns use the collation of the program's SQLite extension, which the
# shell loads from the second argument (or $MA_SQLITE_TEXT).
set -euo pipefail
target=${1:?usage: create_sqlite.sh <database file> <ma_sqlite_text.so>}
extension=${2:-${MA_SQLITE_TEXT:-}}
[ -n "$extension" ] && [ -f "$extension" ] || {
  echo "create_sqlite.sh: the SQLite extension ma_sqlite_text.so is needed (built beside the program)" >&2
  exit 2
}
here=$(cd "$(dirname "$0")" && pwd)
if [ -e "$target" ]; then
  exit 0
fi
mkdir -p "$(dirname "$target")"
# Built beside the target and renamed, so an interrupted run leaves no half-made database.
partial=$(mktemp "$target.XXXXXX")
trap 'rm -f "$partial"' EXIT
{
  printf '.load "%s"\n' "$extension"
  bash "$here/render_sql.sh" sqlite
} | sqlite3 -bail "$partial"
chmod 644 "$partial"
mv "$partial" "$target"
trap - EXIT
echo "Demo database created: $target"
