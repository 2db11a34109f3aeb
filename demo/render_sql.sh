#!/usr/bin/env bash
# Prints the demo database's schema and data for one engine: sqlite or postgres.
set -euo pipefail
engine=${1:?usage: render_sql.sh sqlite|postgres}
here=$(cd "$(dirname "$0")" && pwd)
logo_hex=$(od -An -v -tx1 "$here/logo.png" | tr -d ' \n')
case "$engine" in
  sqlite)
    types='s/{BOOL}/BOOLEAN/g; s/{BLOB}/BLOB/g; s/{MONEY}/MONEY/g; s/{DATETIME}/DATETIME/g; s/{NOCASE}/COLLATE NOCASE/g'
    logo="X'$logo_hex'"
    echo "BEGIN;"
    ;;
  postgres)
    types='s/{BOOL}/BOOLEAN/g; s/{BLOB}/BYTEA/g; s/{MONEY}/NUMERIC(19,4)/g; s/{DATETIME}/TIMESTAMP/g; s/{NOCASE}/COLLATE ma_sin_mayusculas/g'
    logo="'\\\\x$logo_hex'::bytea"
    echo "SET client_encoding = 'UTF8';"
    echo "BEGIN;"
    # Keys of the settings table compare like the suite's server does: letter case ignored.
    echo "CREATE COLLATION ma_sin_mayusculas (provider = icu, locale = 'und-u-ks-level2', deterministic = false);"
    ;;
  *)
    echo "render_sql.sh: unknown engine '$engine' (sqlite or postgres)" >&2
    exit 2
    ;;
esac
sed -e "$types" "$here/schema.sql"
sed -e "s/{LOGO}/$logo/" "$here/data.sql"
echo "COMMIT;"
