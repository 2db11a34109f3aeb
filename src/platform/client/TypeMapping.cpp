#include "platform/client/TypeMapping.h"

#include <sql.h>
#include <sqlext.h>

#include <QHash>

#include "platform/client/Constants.h"

namespace ado::types {
namespace {

// Columns wider than this are long columns whatever their name says (SQL Server's
// VARCHAR(MAX) and the like report huge or zero sizes).
constexpr long long kLongThreshold = 8000;

enum class Family {
  None,
  VarText,
  VarWText,
  FixedText,
  FixedWText,
  LongText,
  LongWText,
  VarBinary,
  Binary,
  LongBinary,
  Fixed
};

struct NameRule {
  Family family;
  int adoType;  // for Family::Fixed
};

const QHash<QString, NameRule>& NameRules() {
  static const QHash<QString, NameRule> rules = {
      // Text.
      {"varchar", {Family::VarText, adVarChar}},
      {"character varying", {Family::VarText, adVarChar}},
      {"varchar2", {Family::VarText, adVarChar}},
      {"nvarchar", {Family::VarWText, adVarWChar}},
      {"nvarchar2", {Family::VarWText, adVarWChar}},
      {"national character varying", {Family::VarWText, adVarWChar}},
      {"sysname", {Family::VarWText, adVarWChar}},
      {"char", {Family::FixedText, adChar}},
      {"character", {Family::FixedText, adChar}},
      {"bpchar", {Family::FixedText, adChar}},
      {"nchar", {Family::FixedWText, adWChar}},
      {"national character", {Family::FixedWText, adWChar}},
      {"text", {Family::LongText, adLongVarChar}},
      {"clob", {Family::LongText, adLongVarChar}},
      {"long", {Family::LongText, adLongVarChar}},
      {"memo", {Family::LongText, adLongVarChar}},
      {"longtext", {Family::LongText, adLongVarChar}},
      {"mediumtext", {Family::LongText, adLongVarChar}},
      {"ntext", {Family::LongWText, adLongVarWChar}},
      {"nclob", {Family::LongWText, adLongVarWChar}},
      // Binary.
      {"varbinary", {Family::VarBinary, adVarBinary}},
      {"binary", {Family::Binary, adBinary}},
      {"raw", {Family::VarBinary, adVarBinary}},
      {"image", {Family::LongBinary, adLongVarBinary}},
      {"bytea", {Family::LongBinary, adLongVarBinary}},
      {"blob", {Family::LongBinary, adLongVarBinary}},
      {"longblob", {Family::LongBinary, adLongVarBinary}},
      {"mediumblob", {Family::LongBinary, adLongVarBinary}},
      {"long raw", {Family::LongBinary, adLongVarBinary}},
      {"varbinary(max)", {Family::LongBinary, adLongVarBinary}},
      // Fixed-size types whose ODBC type does not tell them apart.
      {"money", {Family::Fixed, adCurrency}},
      {"smallmoney", {Family::Fixed, adCurrency}},
      {"currency", {Family::Fixed, adCurrency}},
      {"bit", {Family::Fixed, adBoolean}},
      {"bool", {Family::Fixed, adBoolean}},
      {"boolean", {Family::Fixed, adBoolean}},
      {"logical", {Family::Fixed, adBoolean}},
      {"tinyint", {Family::Fixed, adUnsignedTinyInt}},
      {"smallint", {Family::Fixed, adSmallInt}},
      {"int2", {Family::Fixed, adSmallInt}},
      {"int", {Family::Fixed, adInteger}},
      {"integer", {Family::Fixed, adInteger}},
      {"int4", {Family::Fixed, adInteger}},
      {"mediumint", {Family::Fixed, adInteger}},
      {"bigint", {Family::Fixed, adBigInt}},
      {"int8", {Family::Fixed, adBigInt}},
      {"real", {Family::Fixed, adSingle}},
      {"float4", {Family::Fixed, adSingle}},
      {"float", {Family::Fixed, adDouble}},
      {"float8", {Family::Fixed, adDouble}},
      {"double", {Family::Fixed, adDouble}},
      {"double precision", {Family::Fixed, adDouble}},
      {"decimal", {Family::Fixed, adDecimal}},
      {"numeric", {Family::Fixed, adNumeric}},
      {"number", {Family::Fixed, adNumeric}},
      {"date", {Family::Fixed, adDBDate}},
      {"time", {Family::Fixed, adDBTime}},
      {"time without time zone", {Family::Fixed, adDBTime}},
      {"datetime", {Family::Fixed, adDBTimeStamp}},
      {"datetime2", {Family::Fixed, adDBTimeStamp}},
      {"smalldatetime", {Family::Fixed, adDBTimeStamp}},
      {"timestamp", {Family::Fixed, adDBTimeStamp}},
      {"timestamp without time zone", {Family::Fixed, adDBTimeStamp}},
      {"timestamp with time zone", {Family::Fixed, adDBTimeStamp}},
      {"timestamptz", {Family::Fixed, adDBTimeStamp}},
      {"uniqueidentifier", {Family::Fixed, adGUID}},
      {"uuid", {Family::Fixed, adGUID}},
  };
  return rules;
}

bool Huge(long long size) { return size <= 0 || size > kLongThreshold; }

ColumnType FromFamily(Family f, int fixedType, int sqlType, long long size) {
  const long sz = size > 0 && size < 0x7fffffff ? static_cast<long>(size) : 0x7fffffff;
  switch (f) {
    case Family::VarText:
      return Huge(size) ? ColumnType{adLongVarChar, sz, true} : ColumnType{adVarChar, sz, false};
    case Family::VarWText:
      return Huge(size) ? ColumnType{adLongVarWChar, sz, true} : ColumnType{adVarWChar, sz, false};
    case Family::FixedText:
      return {adChar, sz, false};
    case Family::FixedWText:
      return {adWChar, sz, false};
    case Family::LongText:
      return {adLongVarChar, sz, true};
    case Family::LongWText:
      return {adLongVarWChar, sz, true};
    case Family::VarBinary:
      return Huge(size) ? ColumnType{adLongVarBinary, sz, true} : ColumnType{adVarBinary, sz, false};
    case Family::Binary:
      return {adBinary, sz, false};
    case Family::LongBinary:
      return {adLongVarBinary, sz, true};
    case Family::Fixed:
      return {fixedType, sz, false};
    case Family::None:
      break;
  }
  (void)sqlType;
  return {};
}

ColumnType FromSqlType(int sqlType, long long size, int digits) {
  const long sz = size > 0 && size < 0x7fffffff ? static_cast<long>(size) : 0x7fffffff;
  switch (sqlType) {
    case SQL_CHAR:
      return {adChar, sz, false};
    case SQL_WCHAR:
      return {adWChar, sz, false};
    case SQL_VARCHAR:
      return FromFamily(Family::VarText, 0, sqlType, size);
    case SQL_WVARCHAR:
      return FromFamily(Family::VarWText, 0, sqlType, size);
    case SQL_LONGVARCHAR:
      return {adLongVarChar, sz, true};
    case SQL_WLONGVARCHAR:
      return {adLongVarWChar, sz, true};
    case SQL_BIT:
      return {adBoolean, 2, false};
    case SQL_TINYINT:
      return {adUnsignedTinyInt, 1, false};
    case SQL_SMALLINT:
      return {adSmallInt, 2, false};
    case SQL_INTEGER:
      return {adInteger, 4, false};
    case SQL_BIGINT:
      return {adBigInt, 8, false};
    case SQL_REAL:
      return {adSingle, 4, false};
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return {adDouble, 8, false};
    case SQL_DECIMAL:
      return {adDecimal, 19, false};
    case SQL_NUMERIC:
      return {adNumeric, 19, false};
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return {adDBDate, 6, false};
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return {adDBTime, 6, false};
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return {adDBTimeStamp, 16, false};
    case SQL_BINARY:
      return {adBinary, sz, false};
    case SQL_VARBINARY:
      return FromFamily(Family::VarBinary, 0, sqlType, size);
    case SQL_LONGVARBINARY:
      return {adLongVarBinary, sz, true};
    case SQL_GUID:
      return {adGUID, 16, false};
    default:
      break;
  }
  (void)digits;
  return {adVarWChar, sz, Huge(size)};
}

}  // namespace

QString BaseTypeName(const QString& typeName) {
  QString n = typeName.trimmed().toLower();
  const qsizetype paren = n.indexOf('(');
  if (paren >= 0) {
    // "varbinary(max)" and "varchar(max)" are long types; other lengths are dropped.
    if (n.mid(paren).remove(' ') == "(max)") return n.left(paren).trimmed() + "(max)";
    const qsizetype close = n.indexOf(')', paren);
    n = (n.left(paren) + (close >= 0 ? n.mid(close + 1) : QString())).simplified();
  }
  if (n.endsWith(" identity")) n.chop(9);  // SQL Server: "int identity"
  if (n.startsWith("unsigned ")) n = n.mid(9);
  return n.simplified();
}

ColumnType Map(int sqlType, const QString& typeName, long long columnSize, int decimalDigits) {
  const QString name = BaseTypeName(typeName);
  if (name == "varchar(max)") return {adLongVarChar, 0x7fffffff, true};
  if (name == "nvarchar(max)") return {adLongVarWChar, 0x7fffffff, true};
  const auto& rules = NameRules();
  const auto it = rules.constFind(name);
  ColumnType t;
  if (it != rules.constEnd()) {
    t = FromFamily(it->family, it->adoType, sqlType, columnSize);
    if (it->family == Family::Fixed) {
      // The fixed types keep the ODBC size (digits for numbers, characters for dates).
      t.definedSize = FromSqlType(sqlType, columnSize, decimalDigits).definedSize;
      if (t.adoType == adCurrency) t.definedSize = 8;
      if (t.adoType == adBoolean) t.definedSize = 2;
      if (t.adoType == adNumeric || t.adoType == adDecimal) t.definedSize = 19;
      // SQLite reports SQL_LONGVARCHAR with a 65536 size for TEXT and friends: a
      // name like "money" or "date" on such a column still decides the type.
    }
  } else {
    t = FromSqlType(sqlType, columnSize, decimalDigits);
  }
  return t;
}

bool IsText(int t) {
  switch (t) {
    case adBSTR:
    case adChar:
    case adWChar:
    case adVarChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar:
      return true;
    default:
      return false;
  }
}

bool IsBinary(int t) { return t == adBinary || t == adVarBinary || t == adLongVarBinary; }

bool IsInteger(int t) {
  switch (t) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
      return true;
    default:
      return false;
  }
}

bool IsFloating(int t) {
  return t == adSingle || t == adDouble || t == adCurrency || t == adDecimal || t == adNumeric || t == 139;
}

bool IsExact(int t) { return IsFloating(t) && t != adSingle && t != adDouble; }

bool IsDateTime(int t) { return t == adDate || t == adDBDate || t == adDBTime || t == adDBTimeStamp; }

}  // namespace ado::types
