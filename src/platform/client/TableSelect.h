#pragma once
// What the client reads from a statement's text: the one table a SELECT reads
// (for writing rows back), identifiers quoted for the engine, catalog names.
#include <QString>
#include <QVector>
#include <optional>

#include "platform/client/Dialect.h"

namespace ado::sql {

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
  // The most rows it can return, when its text bounds them: 0 for "WHERE 1 = 0"
  // (without table hints), n for "TOP n"; -1 otherwise.
  long long mostRows = -1;
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
