#!/usr/bin/env bash
# Prints the demo database's schema and data for one engine: sqlite or postgres.
set -euo pipefail
engine=${1:?usage: render_sql.sh sqlite|postgres}
here=$(cd "$(dirname "$0")" && pwd)
logo_hex=$(od -An -v -tx1 "$here/logo.png" | tr -d ' \n')
case "$engine" in
  sqlite)
    types='s/{BOOL}/BOOLEAN/g; s/{BLOB}/BLOB/g; s/{MONEY}/MONEY/g; s/{DATETIME}/DATETIME/g'
    logo="X'$logo_hex'"
    echo "BEGIN;"
    ;;
  postgres)
    types='s/{BOOL}/BOOLEAN/g; s/{BLOB}/BYTEA/g; s/{MONEY}/NUMERIC(19,4)/g; s/{DATETIME}/TIMESTAMP/g'
    logo="'\\\\x$logo_hex'::bytea"
    echo "SET client_encoding = 'UTF8';"
    echo "BEGIN;"
    # Text compares as the suite's server compares it: Spanish, letter case ignored, accents kept.
    echo "CREATE COLLATION ma_es (provider = icu, locale = 'es-u-ks-level2', deterministic = false);"
    ;;
  *)
    echo "render_sql.sh: unknown engine '$engine' (sqlite or postgres)" >&2
    exit 2
    ;;
esac
# Every text column compares with ma_es: on SQLite the collation of the client's
# extension (ma_sqlite_text.so), on PostgreSQL the ICU collation made above.
sed -e "$types" -e 's/VARCHAR(\([0-9]*\))/VARCHAR(\1) COLLATE ma_es/g' "$here/schema.sql"
sed -e "s/{LOGO}/$logo/" "$here/data.sql"
echo "COMMIT;"
