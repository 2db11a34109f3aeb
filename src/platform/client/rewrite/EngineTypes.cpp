// Types of CAST, CONVERT and column definitions, and CONVERT's date styles.
#include <QRegularExpression>

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

QString Rewriter::MapType(const QString& typeText, bool forCast) const {
  static const QRegularExpression re(R"(^\s*([A-Za-z_][A-Za-z0-9_ ]*?)\s*(\(.*\))?\s*$)");
  const auto m = re.match(typeText);
  if (!m.hasMatch()) return typeText;
  const QString base = m.captured(1).toLower();
  const QString len = m.captured(2);
  if (d_ == Dialect::Postgres) {
    if (base == "nvarchar") return "VARCHAR" + (len.contains("max", Qt::CaseInsensitive) ? QString() : len);
    if (base == "varchar" && len.contains("max", Qt::CaseInsensitive)) return "TEXT";
    if (base == "nchar") return "CHAR" + len;
    if (base == "ntext") return "TEXT";
    if (base == "datetime" || base == "smalldatetime" || base == "datetime2") return "TIMESTAMP(3)";
    if (base == "bit") return "BOOLEAN";
    if (base == "tinyint") return "SMALLINT";
    if (base == "image" || base == "varbinary" || base == "binary") return "BYTEA";
    if (base == "money" || base == "smallmoney") return "NUMERIC(19,4)";
    if (base == "uniqueidentifier") return "UUID";
    if (base == "float") return "DOUBLE PRECISION";
    return typeText.trimmed();
  }
  // SQLite: a CAST chooses an affinity from the name; dates must stay text.
  if (forCast) {
    if (IsTextType(typeText) || base == "datetime" || base == "smalldatetime" || base == "date" ||
        base == "time" || base == "datetime2")
      return "TEXT";
    if (base == "int" || base == "integer" || base == "smallint" || base == "tinyint" || base == "bigint" ||
        base == "bit")
      return "INTEGER";
    if (base == "money" || base == "smallmoney" || base == "float" || base == "real") return "REAL";
    if (base == "decimal" || base == "numeric") return "NUMERIC";
  }
  return typeText.trimmed();
}

// A CONVERT style as a format for strftime (SQLite) or TO_CHAR (PostgreSQL).
QString Rewriter::StyleFormat(int style) const {
  const bool lite = d_ == Dialect::Sqlite;
  switch (style) {
    case 101:
      return lite ? "%m/%d/%Y" : "MM/DD/YYYY";
    case 102:
      return lite ? "%Y.%m.%d" : "YYYY.MM.DD";
    case 103:
      return lite ? "%d/%m/%Y" : "DD/MM/YYYY";
    case 104:
      return lite ? "%d.%m.%Y" : "DD.MM.YYYY";
    case 105:
      return lite ? "%d-%m-%Y" : "DD-MM-YYYY";
    case 108:
      return lite ? "%H:%M:%S" : "HH24:MI:SS";
    case 111:
      return lite ? "%Y/%m/%d" : "YYYY/MM/DD";
    case 112:
      return lite ? "%Y%m%d" : "YYYYMMDD";
    case 120:
      return lite ? "%Y-%m-%d %H:%M:%S" : "YYYY-MM-DD HH24:MI:SS";
    default:
      return {};
  }
}

}  // namespace ado::sql
