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
  // PostgreSQL's REPLACE tells letter case apart under any collation; a text to find
  // known here becomes a regular expression that does not.
  if (!lite && f == "replace" && args.size() == 3) {
    const auto isig = SigIndex(args[1]);
    const bool known =
        isig.size() == 1 && !args[1][isig[0]].group &&
        (args[1][isig[0]].tok.kind == TokenKind::String || args[1][isig[0]].tok.kind == TokenKind::NString);
    if (!known) return "REPLACE((" + arg(0) + ") " + SpanishCollation() + ", " + arg(1) + ", " + arg(2) + ")";
    QString find = Unquote(args[1][isig[0]].tok);
    static const QRegularExpression special(R"(([.^$*+?()\[\]{}|\\]))");
    find = find.mid(find.startsWith('N') ? 2 : 1).chopped(1).replace("''", "'").replace(special, R"(\\1)");
    return "REGEXP_REPLACE((" + arg(0) + ") " + SpanishCollation() + ", '" + find.replace('\'', "''") +
           "', REPLACE(" + arg(2) + ", '\\', '\\\\'), 'gi')";
  }
  // NULLIF of two texts without columns compares them as the server does.
  if (!lite && f == "nullif" && args.size() == 2 &&
      ColumnFree(args[0], 0, static_cast<int>(args[0].size()) - 1) &&
      ColumnFree(args[1], 0, static_cast<int>(args[1].size()) - 1) &&
      (ExprType(args[0]) == ValueType::Text || ExprType(args[1]) == ValueType::Text))
    return "(CASE WHEN LOWER(" + arg(0) + ") " + SpanishCollation() + " = LOWER(" + arg(1) +
           ") THEN NULL ELSE " + arg(0) + " END)";
  // MIN and MAX of a text expression in Spanish order (a column has its own collation).
  if (lite && (f == "min" || f == "max") && args.size() == 1 && ExprType(args[0]) == ValueType::Text &&
      SigIndex(args[0]).size() > 1)
    return f.toUpper() + "(" + arg(0) + " COLLATE ma_es)";
  // NULLIF compares under the server's collation.
  if (lite && f == "nullif" && args.size() == 2 &&
      (ExprType(args[0]) == ValueType::Text || ExprType(args[1]) == ValueType::Text))
    return "NULLIF(" + arg(0) + ", (" + arg(1) + ") COLLATE ma_es)";
  if (f == "charindex" && args.size() == 3) {
    const QString sub = find("SUBSTR(" + arg(1) + ", " + arg(2) + ")", arg(0));
    return "(CASE WHEN " + sub + " > 0 THEN " + sub + " + (" + arg(2) + ") - 1 ELSE 0 END)";
  }
  if (f == "convert" && (args.size() == 2 || args.size() == 3)) {
    const QString type = Trimmed(Plain(args[0]));
    if (args.size() == 3 && IsTextType(type)) {
      // A style formats a date; text and numbers are given as they are.
      bool ok = false;
      const int style = Plain(args[2]).trimmed().toInt(&ok);
      const ValueType from = ExprType(args[1]);
      if (ok && IsDateStyle(style) && from != ValueType::Text && from != ValueType::Number)
        return TextOfLength(lite ? "ma_format_date(" + arg(1) + ", " + QString::number(style) + ")"
                            : style == 0 || style == 100
                                ? "ma_date_text(" + arg(1) + ")"
                                : "TO_CHAR(" + arg(1) + ", '" + PostgresStyleFormat(style) + "')",
                            type);
    }
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
  // The datepart is a word of its own: DATEADD(dd, 1, x) -> ma_dateadd('day', 1, x).
  const bool dateFunction = ((f == "dateadd" || f == "datediff") && args.size() == 3) ||
                            ((f == "datepart" || f == "datename") && args.size() == 2);
  if (dateFunction) {
    const QString word = Trimmed(Plain(args[0]));
    QString part = DatePartName(word);
    // A word that is no datepart reaches the functions, which refuse it as the server does (155).
    static const QRegularExpression bare(QStringLiteral("^[A-Za-z_][A-Za-z_0-9]*$"));
    if (part.isEmpty() && bare.match(word).hasMatch()) part = word.toLower();
    if (part.isEmpty()) return {};
    auto date = [&](size_t i) { return lite ? arg(i) : "ma_datetime(" + arg(i) + ")"; };
    if (f == "dateadd") return "ma_dateadd('" + part + "', " + arg(1) + ", " + date(2) + ")";
    if (f == "datediff") return "ma_datediff('" + part + "', " + date(1) + ", " + date(2) + ")";
    const QString value = "ma_datepart('" + part + "', " + date(1) + ")";
    if (f == "datepart") return value;
    // DATENAME in the suite's language: names of months and weekdays (Monday first), numbers otherwise.
    static const QStringList months = {"Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
                                       "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    static const QStringList days = {"Lunes",   "Martes", "Miércoles", "Jueves",
                                     "Viernes", "Sábado", "Domingo"};
    if (part == "month" || part == "weekday") {
      QString out = "(CASE " + value;
      const QStringList& names = part == "month" ? months : days;
      for (qsizetype i = 0; i < names.size(); ++i)
        out += " WHEN " + QString::number(i + 1) + " THEN '" + names[i] + "'";
      return out + " END)";
    }
    return lite ? "CAST(" + value + " AS TEXT)" : "CAST(CAST(" + value + " AS INTEGER) AS VARCHAR)";
  }
  // ROUND's third argument truncates; negative places round to tens, hundreds...
  if (f == "round" && (args.size() == 2 || args.size() == 3)) {
    const QString rest = args.size() == 3 ? arg(1) + ", " + arg(2) : arg(1);
    if (lite)
      return args.size() == 3 || arg(1).startsWith('-') ? "ma_round(" + arg(0) + ", " + rest + ")"
                                                        : QString();
    const QString r =
        (args.size() == 3 ? "ma_round(" : "ROUND(") + ("CAST(" + arg(0) + " AS NUMERIC), ") + rest + ")";
    // The result keeps the decimals of the number rounded: ROUND(2.567, 2) is 2.570.
    const int scale = LiteralScale(args[0]);
    return scale > 0 ? "ROUND(" + r + ", " + QString::number(scale) + ")" : r;
  }
  if (!lite && f == "square" && args.size() == 1) return "POWER(CAST(" + arg(0) + " AS DOUBLE PRECISION), 2)";
  if ((f == "char" || f == "nchar") && args.size() == 1) return (lite ? "char(" : "CHR(") + arg(0) + ")";
  // The code of the first character; NULL for empty text.
  if ((f == "ascii" || f == "unicode") && args.size() == 1)
    return lite ? "unicode(" + arg(0) + ")" : "ASCII(NULLIF(" + arg(0) + ", ''))";
  // Bytes of a binary value; characters of text, one byte each in the suite's code page.
  if (f == "datalength" && args.size() == 1) return "LENGTH(" + arg(0) + ")";
  if (f == "str" && !args.empty() && args.size() <= 3)
    return Str(arg(0), args.size() > 1 ? arg(1) : "10", args.size() > 2 ? arg(2) : "0");
  if (lite && f == "left" && args.size() == 2) return "SUBSTR(" + arg(0) + ", 1, " + arg(1) + ")";
  if (lite && f == "right" && args.size() == 2)
    return "(CASE WHEN (" + arg(1) + ") > 0 THEN SUBSTR(" + arg(0) + ", -(" + arg(1) + ")) ELSE '' END)";
  // A negative count gives NULL.
  if (f == "space" && args.size() == 1)
    return lite ? QString() : "REPEAT(' ', NULLIF(GREATEST(" + arg(0) + ", -1), -1))";
  if (f == "replicate" && args.size() == 2)
    return lite ? QString() : "REPEAT(" + arg(0) + ", NULLIF(GREATEST(" + arg(1) + ", -1), -1))";
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
  const bool lite = d_ == Dialect::Sqlite;
  const ValueType target = TypeOfName(type);
  const ValueType from = ExprType(expr);
  if (target == ValueType::Text) {
    // A decimal(p,s) keeps its s decimals as text; money its two.
    const int scale = ScaleOf(expr);
    if (scale >= 0)
      value = lite ? "printf('%." + QString::number(scale) + "f', " + value + ")" : "ROUND(" + value + ", 2)";
    // A datetime without a style is style 0's text; date, datetime2 and time give theirs as they are.
    static const QRegularExpression iso(
        R"(^\s*(convert\s*\(\s*(date|datetime2|time)\s*[,(]|cast\s*\(.*\bas\s+(date|datetime2|time)\s*)"
        R"((\(\s*\d+\s*\))?\s*\)\s*$))",
        QRegularExpression::CaseInsensitiveOption);
    if (from == ValueType::Date && !iso.match(Plain(expr)).hasMatch())
      value = lite ? "ma_format_date(" + value + ", 0)" : "ma_date_text(" + value + ")";
    // An integer too long for the text is "*".
    static const QRegularExpression length(R"(^\s*n?(var)?char\s*\(\s*(\d+)\s*\)\s*$)",
                                           QRegularExpression::CaseInsensitiveOption);
    if (const auto m = length.match(type); m.hasMatch() && IsIntegerValued(expr))
      value = "(CASE WHEN LENGTH(CAST(" + value + " AS " + (lite ? "TEXT" : "VARCHAR") + ")) > " +
              m.captured(2) + " THEN '*' ELSE CAST(" + value + " AS " + (lite ? "TEXT" : "VARCHAR") +
              ") END)";
    return TextOfLength(value, type);
  }
  static const QRegularExpression integer(R"(^\s*(int|integer|smallint|tinyint|bigint)\s*$)",
                                          QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression decimal(R"(^\s*(decimal|numeric)\s*\(\s*\d+\s*,\s*(\d+)\s*\)\s*$)",
                                          QRegularExpression::CaseInsensitiveOption);
  if (lite) {
    // Text becomes a number as the server converts it, or fails as it fails.
    if (integer.match(type).hasMatch() && from != ValueType::Number) value = "ma_to_int(" + value + ")";
    if (const auto m = decimal.match(type); m.hasMatch())
      return "ROUND(CAST(" + (from != ValueType::Number ? "ma_to_decimal(" + value + ")" : value) +
             " AS REAL), " + m.captured(2) + ")";
    if (target == ValueType::Date) {
      const QString moment = "ma_datetime(" + value + ")";
      return type.trimmed().compare("date", Qt::CaseInsensitive) == 0 ? "SUBSTR(" + moment + ", 1, 10)"
                                                                      : moment;
    }
  }
  // SQL Server truncates a number cast to an integer type; PostgreSQL would round it.
  static const QRegularExpression whole(R"(^\s*[0-9]+\s*$)");
  if (!lite && integer.match(type).hasMatch() && from == ValueType::Number && !whole.match(value).hasMatch())
    value = "TRUNC(" + value + ")";
  return "CAST(" + value + " AS " + MapType(type, true) + ")";
}

QString Rewriter::TextOfLength(const QString& value, const QString& type) const {
  static const QRegularExpression re(
      R"(^\s*(n?char|n?varchar|character varying|character)\s*(?:\(\s*(\d+|max)\s*\))?\s*$)",
      QRegularExpression::CaseInsensitiveOption);
  const auto m = re.match(type);
  const bool lite = d_ == Dialect::Sqlite;
  if (!m.hasMatch() || m.captured(2).compare("max", Qt::CaseInsensitive) == 0)
    return "CAST(" + value + " AS " + MapType(type, true) + ")";
  const bool fixed = !m.captured(1).contains("var", Qt::CaseInsensitive);
  // Without a length, CAST and CONVERT give 30 characters.
  const QString n = m.captured(2).isEmpty() ? QStringLiteral("30") : m.captured(2);
  if (fixed)
    return lite ? "ma_char(CAST(" + value + " AS TEXT), " + n + ")"
                : "RPAD(CAST(" + value + " AS TEXT), " + n + ")";
  return lite ? "SUBSTR(CAST(" + value + " AS TEXT), 1, " + n + ")"
              : "CAST(" + value + " AS VARCHAR(" + n + "))";
}

int LiteralScale(const Seq& expr) {
  const auto sig = SigIndex(expr);
  if (sig.empty() || expr[sig.back()].group || expr[sig.back()].tok.kind != TokenKind::Number) return -1;
  if (sig.size() == 2 &&
      (expr[sig[0]].group || !(IsPunct(expr[sig[0]].tok, "-") || IsPunct(expr[sig[0]].tok, "+"))))
    return -1;
  if (sig.size() > 2) return -1;
  const QString t = expr[sig.back()].tok.text;
  if (t.contains('e', Qt::CaseInsensitive)) return -1;
  const qsizetype point = t.indexOf('.');
  return point < 0 ? -1 : static_cast<int>(t.size() - point - 1);
}

bool IsIntegerValued(const Seq& expr) {
  const auto sig = SigIndex(expr);
  if (sig.empty()) return false;
  const Node& last = expr[sig.back()];
  if (!last.group && last.tok.kind == TokenKind::Number)
    return sig.size() <= 2 && LiteralScale(expr) < 0 && !last.tok.text.contains('e', Qt::CaseInsensitive) &&
           (sig.size() == 1 || (!expr[sig[0]].group && IsPunct(expr[sig[0]].tok, "-")));
  static const QSet<QString> integers = {"len",   "datalength", "charindex", "patindex", "count",
                                         "year",  "month",      "day",       "datediff", "datepart",
                                         "ascii", "unicode",    "isnumeric", "isdate"};
  return sig.size() == 2 && !expr[sig[0]].group && last.group &&
         integers.contains(expr[sig[0]].tok.text.toLower());
}

int Rewriter::ScaleOf(const Seq& expr) {
  const auto sig = SigIndex(expr);
  if (sig.size() != 2 || expr[sig[0]].group || !expr[sig[1]].group) return -1;
  const QString f = expr[sig[0]].tok.text.toLower();
  const Seq& inner = expr[sig[1]].children;
  QString type;
  if (f == "convert") {
    const auto args = SplitArgs(inner);
    if (args.empty()) return -1;
    type = Plain(args[0]);
  } else if (f == "cast") {
    const auto isig = SigIndex(inner);
    for (size_t k = 0; k < isig.size(); ++k)
      if (!inner[isig[k]].group && IsWord(inner[isig[k]].tok, "as"))
        type = Plain(Seq(inner.begin() + isig[k] + 1, inner.end()));
  } else if (f == "round") {
    const auto args = SplitArgs(inner);
    return d_ == Dialect::Sqlite && !args.empty() ? LiteralScale(args[0]) : -1;
  } else {
    return -1;
  }
  static const QRegularExpression decimal(R"(^\s*(decimal|numeric)\s*\(\s*\d+\s*,\s*(\d+)\s*\)\s*$)",
                                          QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression money(R"(^\s*(small)?money\s*$)",
                                        QRegularExpression::CaseInsensitiveOption);
  if (const auto m = decimal.match(type); m.hasMatch())
    return d_ == Dialect::Sqlite ? m.captured(2).toInt() : -1;
  return money.match(type).hasMatch() ? 2 : -1;
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
