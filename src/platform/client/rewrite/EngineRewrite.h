#pragma once
// The engine rewriter. The program writes SQL Server SQL; this rewrites a statement for SQLite and
// PostgreSQL, token by token (string literals and comments are never touched):
//
//   SELECT TOP n ...            -> SELECT ... LIMIT n     (at the end of that SELECT)
//   [Name], [Two Words]         -> Name, "Two Words"
//   dbo.Table                   -> Table
//   N'text'                     -> 'text'
//   ISNULL(a, b)                -> IFNULL(a, b) / COALESCE(a, b)
//   LEN(x)                      -> LENGTH(RTRIM(x))       (LEN ignores trailing blanks)
//   GETDATE()                   -> the local date and time, to the millisecond
//   CHARINDEX(a, b)             -> INSTR(b, a) / STRPOS(b, a)
//   CONVERT(type, x[, style])   -> CAST(x AS type), or the date formatted by a date style
//   CAST(x AS NVARCHAR(10))     -> the engine's type, text cut to its length (30 without
//                                   one), char(n) padded, a decimal's scale kept as text
//   DATEADD(dd, n, x), DATEDIFF, DATEPART -> ma_dateadd('day', n, x) ... (the extension's
//                                   and the schema's functions)
//   ROUND(x, d, 1), CHAR, ASCII, NCHAR, UNICODE, SQUARE, NULLIF, REPLACE, SPACE, REPLICATE
//   codigo > 5                  -> ma_to_int(codigo) > 5 on SQLite (TextComparison.cpp)
//   LIKE, = and <> on text      -> as the server compares (TextComparison.cpp)
//   LEFT, RIGHT, SPACE, REPLICATE, YEAR, MONTH, DAY (SQLite lacks some of them)
//   'a' + x + LTRIM(y)          -> 'a' || x || LTRIM(y)   (a chain of + with a text operand:
//                                   a literal, a text function, a CAST/CONVERT to text)
//   WITH (NOLOCK)               -> removed
//   ALTER TABLE t ADD c NVARCHAR(10) / CREATE TABLE column types  -> PostgreSQL types
//
// Pure functions; no database needed. Not to be confused with the suite's
// table-name mapping (db/DB_MapeoTablas), which works on SQL Server SQL for every engine.
#include <QString>
#include <functional>

#include "platform/client/Dialect.h"

namespace ado::sql {

// Whether the PostgreSQL database has the collation ma_es; asked only when a statement
// adds a text column, so that the column compares as the schema's own.
using HasSpanishCollation = std::function<bool()>;

// The statement for `dialect`: rewritten for Sqlite and Postgres, unchanged
// otherwise. Throws NestingTooDeep (rewrite/SqlTree.h) for a statement nested
// too deeply to read.
QString Rewrite(const QString& sql, Dialect dialect, const HasSpanishCollation& collation = {});

}  // namespace ado::sql
