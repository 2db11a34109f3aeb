// Types of CAST, CONVERT and column definitions, CONVERT's date styles, dateparts and date literals.
#include <QDate>
#include <QHash>
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

// CONVERT's date styles as TO_CHAR formats; the century-less ones (1-12) give two-digit years.
QString PostgresStyleFormat(int style) {
  static const QHash<int, QString> formats = {{1, "MM/DD/YY"},
                                              {2, "YY.MM.DD"},
                                              {3, "DD/MM/YY"},
                                              {4, "DD.MM.YY"},
                                              {5, "DD-MM-YY"},
                                              {8, "HH24:MI:SS"},
                                              {10, "MM-DD-YY"},
                                              {11, "YY/MM/DD"},
                                              {12, "YYMMDD"},
                                              {20, "YYYY-MM-DD HH24:MI:SS"},
                                              {21, "YYYY-MM-DD HH24:MI:SS.MS"},
                                              {23, "YYYY-MM-DD"},
                                              {24, "HH24:MI:SS"},
                                              {25, "YYYY-MM-DD HH24:MI:SS.MS"},
                                              {101, "MM/DD/YYYY"},
                                              {102, "YYYY.MM.DD"},
                                              {103, "DD/MM/YYYY"},
                                              {104, "DD.MM.YYYY"},
                                              {105, "DD-MM-YYYY"},
                                              {108, "HH24:MI:SS"},
                                              {110, "MM-DD-YYYY"},
                                              {111, "YYYY/MM/DD"},
                                              {112, "YYYYMMDD"},
                                              {120, "YYYY-MM-DD HH24:MI:SS"},
                                              {121, "YYYY-MM-DD HH24:MI:SS.MS"}};
  return formats.value(style);
}

bool IsDateStyle(int style) { return style == 0 || style == 100 || !PostgresStyleFormat(style).isEmpty(); }

QString DatePartName(const QString& word) {
  static const QHash<QString, QString> names = {{"year", "year"},       {"yy", "year"},
                                                {"yyyy", "year"},       {"quarter", "quarter"},
                                                {"qq", "quarter"},      {"q", "quarter"},
                                                {"month", "month"},     {"mm", "month"},
                                                {"m", "month"},         {"dayofyear", "dayofyear"},
                                                {"dy", "dayofyear"},    {"y", "dayofyear"},
                                                {"day", "day"},         {"dd", "day"},
                                                {"d", "day"},           {"week", "week"},
                                                {"wk", "week"},         {"ww", "week"},
                                                {"weekday", "weekday"}, {"dw", "weekday"},
                                                {"w", "weekday"},       {"hour", "hour"},
                                                {"hh", "hour"},         {"minute", "minute"},
                                                {"mi", "minute"},       {"n", "minute"},
                                                {"second", "second"},   {"ss", "second"},
                                                {"s", "second"},        {"millisecond", "millisecond"},
                                                {"ms", "millisecond"},  {"iso_week", "iso_week"},
                                                {"isowk", "iso_week"},  {"isoww", "iso_week"}};
  return names.value(word.toLower());
}

QString IsoDateTime(const QString& text) {
  static const QRegularExpression ymd(R"(^\s*(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:[ T]+(.*?))?\s*$)");
  static const QRegularExpression compact(R"(^\s*(\d{4})(\d{2})(\d{2})(?:\s+(.*?))?\s*$)");
  static const QRegularExpression dmy(R"(^\s*(\d{1,2})([-/.])(\d{1,2})\2(\d{4}|\d{2})(?:\s+(.*?))?\s*$)");
  static const QRegularExpression time(R"(^(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,9}))?)?$)");
  int y = 0, m = 0, d = 0;
  QString rest;
  if (const auto a = ymd.match(text); a.hasMatch()) {
    y = a.captured(1).toInt(), m = a.captured(3).toInt(), d = a.captured(4).toInt(), rest = a.captured(5);
  } else if (const auto b = compact.match(text); b.hasMatch()) {
    y = b.captured(1).toInt(), m = b.captured(2).toInt(), d = b.captured(3).toInt(), rest = b.captured(4);
  } else if (const auto c = dmy.match(text); c.hasMatch()) {
    d = c.captured(1).toInt(), m = c.captured(3).toInt(), y = c.captured(4).toInt(), rest = c.captured(5);
    if (c.captured(4).size() == 2) y += y < 50 ? 2000 : 1900;
  } else {
    return {};
  }
  const QDate date(y, m, d);
  if (!date.isValid() || y < 1 || y > 9999) return {};
  int h = 0, mi = 0, sec = 0, ms = 0;
  if (!rest.isEmpty()) {
    const auto t = time.match(rest);
    if (!t.hasMatch()) return {};
    h = t.captured(1).toInt(), mi = t.captured(2).toInt(), sec = t.captured(3).toInt();
    ms = (t.captured(4) + "00").left(3).toInt();
    if (h > 23 || mi > 59 || sec > 59) return {};
  }
  return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, h, mi, sec, ms);
}

}  // namespace ado::sql
