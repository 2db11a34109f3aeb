#pragma once
// What the client knows of one column of a result: as the driver described it,
// its ADO type, and how it maps to the base table.
#include <sql.h>

#include <QString>

namespace ado::odbc {

struct ColumnInfo {
  QString name;
  SQLSMALLINT sqlType = 0;   // ODBC SQL type
  QString typeName;          // the engine's type name
  long long columnSize = 0;  // ODBC column size
  int digits = 0;            // ODBC decimal digits
  bool nullable = true;
  bool nullableKnown = true;  // else asked of the catalog when wanted
  int adoType = 0;
  long definedSize = 0;
  bool isLong = false;  // read on first use
  QString baseColumn;   // the base table's column; empty when it is not one
};

}  // namespace ado::odbc
