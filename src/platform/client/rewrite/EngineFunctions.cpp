// SQL Server functions as SQLite and PostgreSQL spell them.
#include <QRegularExpression>

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

QString Rewriter::CallText(const QString& name, const Node& group) {
  const QString f = name.toLower();
  const bool lite = d_ == Dialect::Sqlite;
  const auto args = SplitArgs(group.children);
  auto arg = [&](size_t i) { return Trimmed(Emit(args[i])); };
  if (f == "isnull") return (lite ? "IFNULL(" : "COALESCE(") + Emit(group.children) + ")";
  if (f == "len" && args.size() == 1)
    return lite ? "LENGTH(RTRIM(" + arg(0) + "))" : "LENGTH(RTRIM(CAST(" + arg(0) + " AS TEXT)))";
  if (f == "getdate" && args.empty())
    return lite ? "strftime('%Y-%m-%d %H:%M:%f','now','localtime')" : "LOCALTIMESTAMP(3)";
  // CHARINDEX and REPLACE ignore letter case as the server's comparison does; PostgreSQL
  // searches no text under a nondeterministic collation.
  auto find = [&](const QString& in, const QString& what) {
    return lite ? "INSTR(LOWER(" + in + "), LOWER(" + what + "))"
                : "STRPOS(LOWER(" + in + ") " + SpanishCollation() + ", LOWER(" + what + "))";
  };
  if (f == "charindex" && args.size() == 2) return find(arg(1), arg(0));
  if (!lite && f == "replace" && args.size() == 3)
    return "REPLACE((" + arg(0) + ") " + SpanishCollation() + ", " + arg(1) + ", " + arg(2) + ")";
  if (f == "charindex" && args.size() == 3) {
    const QString sub = find("SUBSTR(" + arg(1) + ", " + arg(2) + ")", arg(0));
    return "(CASE WHEN " + sub + " > 0 THEN " + sub + " + (" + arg(2) + ") - 1 ELSE 0 END)";
  }
  if (f == "convert" && (args.size() == 2 || args.size() == 3)) {
    const QString type = Trimmed(Plain(args[0]));
    if (args.size() == 3) {
      bool ok = false;
      const int style = Plain(args[2]).trimmed().toInt(&ok);
      const QString fmt = ok ? StyleFormat(style) : QString();
      if (!fmt.isEmpty() && IsTextType(type))
        return lite ? "strftime('" + fmt + "', " + arg(1) + ")" : "TO_CHAR(" + arg(1) + ", '" + fmt + "')";
    }
    const QString base = type.toLower();
    if (lite && (base.startsWith("datetime") || base.startsWith("smalldatetime")))
      return "datetime(" + arg(1) + ")";
    if (lite && base == "date") return "date(" + arg(1) + ")";
    return CastTo(args[1], type);
  }
  if (f == "cast") {
    const auto sig = SigIndex(group.children);
    for (size_t k = 0; k < sig.size(); ++k) {
      if (IsWord(group.children[sig[k]].tok, "as")) {
        const Seq expr(group.children.begin(), group.children.begin() + sig[k]);
        const Seq type(group.children.begin() + sig[k] + 1, group.children.end());
        return CastTo(expr, Plain(type));
      }
    }
    return {};
  }
  // Bytes of a binary value; characters of text, one byte each in the suite's code page.
  if (f == "datalength" && args.size() == 1) return "LENGTH(" + arg(0) + ")";
  if (f == "str" && !args.empty() && args.size() <= 3)
    return Str(arg(0), args.size() > 1 ? arg(1) : "10", args.size() > 2 ? arg(2) : "0");
  if (lite && f == "left" && args.size() == 2) return "SUBSTR(" + arg(0) + ", 1, " + arg(1) + ")";
  if (lite && f == "right" && args.size() == 2)
    return "(CASE WHEN (" + arg(1) + ") > 0 THEN SUBSTR(" + arg(0) + ", -(" + arg(1) + ")) ELSE '' END)";
  if (f == "space" && args.size() == 1)
    return lite ? "REPLACE(HEX(ZEROBLOB(" + arg(0) + ")), '00', ' ')" : "REPEAT(' ', " + arg(0) + ")";
  if (f == "replicate" && args.size() == 2)
    return lite ? "REPLACE(HEX(ZEROBLOB(" + arg(1) + ")), '00', " + arg(0) + ")"
                : "REPEAT(" + arg(0) + ", " + arg(1) + ")";
  if ((f == "year" || f == "month" || f == "day") && args.size() == 1) {
    if (lite) {
      const char* fmt = f == "year" ? "%Y" : f == "month" ? "%m" : "%d";
      return QString("CAST(strftime('%1', %2) AS INTEGER)").arg(fmt, arg(0));
    }
    return "CAST(EXTRACT(" + f.toUpper() + " FROM " + arg(0) + ") AS INTEGER)";
  }
  return {};
}

QString Rewriter::Call(const QString& name, const Node& group) {
  QString rep = CallText(name, group);
  // Some replacements repeat an argument (STR, RIGHT, CHARINDEX): nested in each
  // other they would grow without bound.
  if (rep.size() > maxText_) throw NestingTooDeep();
  return rep;
}

QString Rewriter::CastTo(const Seq& expr, const QString& type) {
  QString value = Trimmed(Emit(expr));
  // SQL Server truncates a number cast to an integer type; PostgreSQL would round it.
  static const QRegularExpression integer(R"(^\s*(int|integer|smallint|tinyint|bigint)\s*$)",
                                          QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression whole(R"(^\s*[0-9]+\s*$)");
  if (d_ == Dialect::Postgres && integer.match(type).hasMatch() && ExprType(expr) == ValueType::Number &&
      !whole.match(value).hasMatch())
    value = "TRUNC(" + value + ")";
  return "CAST(" + value + " AS " + MapType(type, true) + ")";
}

// STR(x, n, d): x rounded to d decimals and right-aligned in n characters; fewer
// decimals when the whole part needs the room, n asterisks when even that does not fit.
QString Rewriter::Str(const QString& x, const QString& n, const QString& d) const {
  const QString len = "(" + n + ")";
  if (d_ == Dialect::Sqlite) {
    const QString whole = "LENGTH(printf('%.0f', " + x + "))";
    const QString decimals = "MAX(0, MIN(" + d + ", " + len + " - " + whole + " - 1))";
    const QString r = "printf('%.*f', " + decimals + ", " + x + ")";
    return "(CASE WHEN LENGTH(" + r + ") > " + len + " THEN REPLACE(HEX(ZEROBLOB(" + len + ")), '00', '*') " +
           "ELSE printf('%*s', " + len + ", " + r + ") END)";
  }
  const QString number = "CAST(" + x + " AS NUMERIC)";
  const QString whole = "LENGTH(CAST(ROUND(" + number + ") AS TEXT))";
  const QString decimals = "GREATEST(0, LEAST(" + d + ", " + len + " - " + whole + " - 1))";
  const QString r = "CAST(ROUND(" + number + ", " + decimals + ") AS TEXT)";
  return "(CASE WHEN LENGTH(" + r + ") > " + len + " THEN REPEAT('*', " + len + ") ELSE LPAD(" + r + ", " +
         len + ") END)";
}

QString Rewriter::Bracket(const QString& text) const {
  QString inner = text.mid(1, text.size() - 2).replace("]]", "]");
  static const QRegularExpression simple("^[A-Za-z_][A-Za-z0-9_]*$");
  if (simple.match(inner).hasMatch()) return inner;
  return '"' + inner.replace('"', "\"\"") + '"';
}

}  // namespace ado::sql
