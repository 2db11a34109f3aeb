#!/usr/bin/env bash
# Creates the SQLite demo database at the given path, unless a file is already there.
# Its text columns use the collation of the program's SQLite extension, which the
# shell loads from the second argument (or $MA_SQLITE_TEXT).
# Given the program (third argument), the program's own repair then completes every company's
# per-company rows, so the database an operator gets is clean; without it (as the tests make
# it) company 3 stays seeded in part and the others unseeded, for the completion to work on.
set -euo pipefail
target=${1:?usage: create_sqlite.sh <database file> <ma_sqlite_text.so> [MA_Empresas]}
extension=${2:-${MA_SQLITE_TEXT:-}}
program=${3:-}
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
if [ -n "$program" ]; then
  # Status 1 only says that something was found (and completed); 2 is a failure.
  informe=$("$program" --verificar "@Server=SQLITE;@DbName=$partial;@Usuario=admin;@Password=;" --reparar 2>&1) ||
    [ $? -eq 1 ] || {
    echo "create_sqlite.sh: completing the per-company rows failed: $informe" >&2
    exit 2
  }
fi
chmod 644 "$partial"
mv "$partial" "$target"
trap - EXIT
echo "Demo database created: $target"
