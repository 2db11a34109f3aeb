#pragma once
// The program writes SQL Server SQL. This rewrites a statement for SQLite and
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
//   CONVERT(type, x[, style])   -> CAST(x AS type), or a date format for styles 101-120
//   CAST(x AS NVARCHAR(10))     -> the engine's type
//   LEFT, RIGHT, SPACE, REPLICATE, YEAR, MONTH, DAY (SQLite lacks some of them)
//   'a' + x + LTRIM(y)          -> 'a' || x || LTRIM(y)   (a chain of + with a text operand:
//                                   a literal, a text function, a CAST/CONVERT to text)
//   WITH (NOLOCK)               -> removed
//   ALTER TABLE t ADD c NVARCHAR(10) / CREATE TABLE column types  -> PostgreSQL types
//
// Pure functions; no database needed.
#include <QString>
#include <QVector>
#include <optional>
#include <vector>

#include "platform/client/Connection.h"

namespace ado::sql {

enum class TokenKind { Space, Comment, Word, Number, String, NString, QuotedId, BracketId, Punct };

struct Token {
  TokenKind kind;
  QString text;
};

std::vector<Token> Tokenize(const QString& sql);

// The statement for `dialect`: rewritten for Sqlite and Postgres, unchanged otherwise.
QString Rewrite(const QString& sql, Dialect dialect);

// A SELECT of plain columns from one table, the only kind of statement a
// recordset can write back through:
//   SELECT [TOP n] * | col [[AS] alias], ... FROM table [[AS] alias] [WHERE ...] [ORDER BY ...]
struct TableSelect {
  QString table;            // the table as written ("P_MA_Empresas", "dbo.X", "[My Table]")
  QString name;             // its bare name, without owner, brackets or quotes
  QString schema;           // the owner part when there is one ("dbo"), unquoted
  bool nameQuoted = false;  // written in brackets or double quotes (case kept)
  bool star = false;        // "*" among the items
  struct Item {
    QString column;  // base column
    QString output;  // the name of the result column (the alias, or the column)
  };
  QVector<Item> items;
};
std::optional<TableSelect> ParseTableSelect(const QString& sql);

// An identifier quoted for the engine: [name] on SQL Server, "name" elsewhere.
QString Quote(const QString& name, Dialect dialect);

// The name as the engine's catalog stores an unquoted identifier: lower case on
// PostgreSQL, upper case on Oracle, as written elsewhere.
QString CatalogName(const QString& name, Dialect dialect, bool quoted = false);

// Whether the statement changes the schema (CREATE, ALTER, DROP at its start).
bool IsDefinition(const QString& sql);

}  // namespace ado::sql
