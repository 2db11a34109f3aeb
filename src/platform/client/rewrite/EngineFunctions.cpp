// SQL Server functions as SQLite and PostgreSQL spell them.
#include <QRegularExpression>

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

QString Rewriter::Call(const QString& name, const Node& group) {
  const QString f = name.toLower();
  const bool lite = d_ == Dialect::Sqlite;
  const auto args = SplitArgs(group.children);
  auto arg = [&](size_t i) { return Emit(args[i]).trimmed(); };
  if (f == "isnull") return (lite ? "IFNULL(" : "COALESCE(") + Emit(group.children) + ")";
  if (f == "len" && args.size() == 1)
    return lite ? "LENGTH(RTRIM(" + arg(0) + "))" : "LENGTH(RTRIM(CAST(" + arg(0) + " AS TEXT)))";
  if (f == "getdate" && args.empty())
    return lite ? "strftime('%Y-%m-%d %H:%M:%f','now','localtime')" : "LOCALTIMESTAMP(3)";
  if (f == "charindex" && args.size() == 2)
    return (lite ? "INSTR(" : "STRPOS(") + arg(1) + ", " + arg(0) + ")";
  if (f == "charindex" && args.size() == 3) {
    const QString sub = lite ? "INSTR(SUBSTR(" + arg(1) + ", " + arg(2) + "), " + arg(0) + ")"
                             : "STRPOS(SUBSTR(" + arg(1) + ", " + arg(2) + "), " + arg(0) + ")";
    return "(CASE WHEN " + sub + " > 0 THEN " + sub + " + (" + arg(2) + ") - 1 ELSE 0 END)";
  }
  if (f == "convert" && (args.size() == 2 || args.size() == 3)) {
    const QString type = Plain(args[0]).trimmed();
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
    return "CAST(" + arg(1) + " AS " + MapType(type, true) + ")";
  }
  if (f == "cast") {
    const auto sig = SigIndex(group.children);
    for (size_t k = 0; k < sig.size(); ++k) {
      if (IsWord(group.children[sig[k]].tok, "as")) {
        const Seq expr(group.children.begin(), group.children.begin() + sig[k]);
        const Seq type(group.children.begin() + sig[k] + 1, group.children.end());
        return "CAST(" + Emit(expr).trimmed() + " AS " + MapType(Plain(type), true) + ")";
      }
    }
    return {};
  }
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

QString Rewriter::Bracket(const QString& text) const {
  QString inner = text.mid(1, text.size() - 2).replace("]]", "]");
  static const QRegularExpression simple("^[A-Za-z_][A-Za-z0-9_]*$");
  if (simple.match(inner).hasMatch()) return inner;
  return '"' + inner.replace('"', "\"\"") + '"';
}

}  // namespace ado::sql
