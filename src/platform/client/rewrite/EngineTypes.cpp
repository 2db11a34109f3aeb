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
  struct Formato {
    int style;
    const char* sqlite;
    const char* postgres;
  };
  static constexpr Formato kFormatos[] = {
      {101, "%m/%d/%Y", "MM/DD/YYYY"},
      {102, "%Y.%m.%d", "YYYY.MM.DD"},
      {103, "%d/%m/%Y", "DD/MM/YYYY"},
      {104, "%d.%m.%Y", "DD.MM.YYYY"},
      {105, "%d-%m-%Y", "DD-MM-YYYY"},
      {108, "%H:%M:%S", "HH24:MI:SS"},
      {111, "%Y/%m/%d", "YYYY/MM/DD"},
      {112, "%Y%m%d", "YYYYMMDD"},
      {120, "%Y-%m-%d %H:%M:%S", "YYYY-MM-DD HH24:MI:SS"},
  };
  for (const Formato& f : kFormatos)
    if (f.style == style) return QString::fromLatin1(d_ == Dialect::Sqlite ? f.sqlite : f.postgres);
  return {};
}

}  // namespace ado::sql
