#pragma once
// Which ADO data-type code (Constants.h) a result column gets, from its ODBC
// SQL type, the engine's type name and its size. Pure: no database needed.
#include <QString>

namespace ado::types {

struct ColumnType {
  int adoType = 0;       // adVarChar, adCurrency, ...
  long definedSize = 0;  // characters for text, bytes for binary, the ODBC size otherwise
  bool isLong = false;   // long text or binary: read when first used, not at Open
};

// `sqlType` is the ODBC SQL data type (SQL_VARCHAR, SQL_WLONGVARCHAR, ...),
// `typeName` the engine's name for it ("varchar", "VARCHAR(15)", "money",
// "bytea", "timestamp without time zone", ...), `columnSize` the ODBC column
// size and `decimalDigits` its scale.
ColumnType Map(int sqlType, const QString& typeName, long long columnSize, int decimalDigits = 0);

// The type name lower-cased, without a length part and surrounding blanks:
// "VARCHAR(15)" gives "varchar", "character varying" stays as it is.
QString BaseTypeName(const QString& typeName);

bool IsText(int adoType);      // char, varchar, long varchar and their wide forms, BSTR
bool IsBinary(int adoType);    // binary, varbinary, long varbinary
bool IsInteger(int adoType);   // tinyint .. bigint, signed and unsigned
bool IsFloating(int adoType);  // single, double, currency, decimal, numeric
bool IsExact(int adoType);     // currency, decimal, numeric: the floating ones that are not a double
bool IsDateTime(int adoType);  // date, DBDate, DBTime, DBTimeStamp

}  // namespace ado::types
