#include "platform/client/SqlDialect.h"

#include <QRegularExpression>
#include <QSet>

namespace ado::sql {
namespace {

bool IsWordStart(QChar c) { return c.isLetter() || c == '_' || c == '@' || c == '#'; }
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '@' || c == '#' || c == '$'; }

bool Is(const Token& t, TokenKind k, const char* text) {
  return t.kind == k && t.text.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}
bool IsWord(const Token& t, const char* w) { return Is(t, TokenKind::Word, w); }
bool IsPunct(const Token& t, const char* p) { return Is(t, TokenKind::Punct, p); }

// ---- A token tree: parenthesised groups become one node with children. ----

struct Node {
  Token tok;  // for a group: "("
  bool group = false;
  bool closed = false;         // the group has its ")"
  std::vector<Node> children;  // for a group
};

using Seq = std::vector<Node>;

Seq Build(const std::vector<Token>& toks, size_t& i, bool inGroup) {
  Seq out;
  while (i < toks.size()) {
    const Token& t = toks[i];
    if (IsPunct(t, "(")) {
      ++i;
      Node g{t, true, false, {}};
      g.children = Build(toks, i, true);
      if (i < toks.size() && IsPunct(toks[i], ")")) {
        g.closed = true;
        ++i;
      }
      out.push_back(std::move(g));
      continue;
    }
    if (IsPunct(t, ")") && inGroup) return out;  // the caller takes it
    out.push_back(Node{t, false, false, {}});
    ++i;
  }
  return out;
}

Seq Tree(const QString& sql) {
  const auto toks = Tokenize(sql);
  size_t i = 0;
  Seq all;
  while (i < toks.size()) {
    Seq part = Build(toks, i, false);
    for (auto& n : part) all.push_back(std::move(n));
    if (i < toks.size()) {  // an unmatched ")" at the top: keep it as a plain token
      all.push_back(Node{toks[i], false, false, {}});
      ++i;
    }
  }
  return all;
}

bool Significant(const Node& n) {
  return n.group || (n.tok.kind != TokenKind::Space && n.tok.kind != TokenKind::Comment);
}

std::vector<int> SigIndex(const Seq& s) {
  std::vector<int> r;
  for (int i = 0; i < static_cast<int>(s.size()); ++i)
    if (Significant(s[i])) r.push_back(i);
  return r;
}

QString Plain(const Seq& s);
QString PlainNode(const Node& n) {
  if (!n.group) return n.tok.text;
  return "(" + Plain(n.children) + (n.closed ? ")" : "");
}
QString Plain(const Seq& s) {
  QString r;
  for (const auto& n : s) r += PlainNode(n);
  return r;
}

// The comma-separated arguments of a group, each a sequence.
std::vector<Seq> SplitArgs(const Seq& children) {
  std::vector<Seq> args(1);
  for (const auto& n : children) {
    if (!n.group && IsPunct(n.tok, ",")) {
      args.emplace_back();
      continue;
    }
    args.back().push_back(n);
  }
  if (args.size() == 1) {
    bool any = false;
    for (const auto& n : args[0]) any = any || Significant(n);
    if (!any) args.clear();
  }
  return args;
}

const QSet<QString>& Keywords() {
  static const QSet<QString> k = {
      "select",    "from",    "where",      "and",       "or",     "not",    "as",         "on",
      "in",        "is",      "like",       "between",   "case",   "when",   "then",       "else",
      "end",       "order",   "group",      "by",        "having", "union",  "all",        "distinct",
      "top",       "into",    "values",     "set",       "update", "insert", "delete",     "join",
      "inner",     "outer",   "cross",      "full",      "exists", "asc",    "desc",       "limit",
      "with",      "create",  "alter",      "drop",      "table",  "add",    "escape",     "except",
      "intersect", "percent", "over",       "partition", "null",   "column", "constraint", "default",
      "primary",   "key",     "references", "unique",    "check",  "index",  "view",       "collate"};
  return k;
}

const QSet<QString>& TextFunctions() {
  static const QSet<QString> f = {"ltrim",   "rtrim",     "trim",   "upper",    "lower", "ucase",
                                  "lcase",   "substring", "substr", "replace",  "left",  "right",
                                  "space",   "replicate", "char",   "nchar",    "str",   "concat",
                                  "reverse", "stuff",     "format", "quotename"};
  return f;
}

bool IsTextType(const QString& typeText) {
  const QString t = typeText.trimmed().toLower();
  return t.startsWith("varchar") || t.startsWith("nvarchar") || t.startsWith("char") ||
         t.startsWith("nchar") || t.startsWith("text") || t.startsWith("ntext") ||
         t.startsWith("character") || t.startsWith("string");
}

// ---- The rewriter. ----

class Rewriter {
 public:
  explicit Rewriter(Dialect d) : d_(d) {}

  QString Seq_(const Seq& s) { return Emit(s); }

  // Whether the whole sequence is one expression whose value is text.
  bool IsTextExpr(const Seq& s) {
    const auto sig = SigIndex(s);
    if (sig.empty()) return false;
    const auto chains = Chains(s, sig);
    return chains.size() == 1 && chains[0].firstSig == 0 &&
           chains[0].lastSig == static_cast<int>(sig.size()) - 1 && chains[0].text;
  }

 private:
  struct Operand {
    bool valid = false;
    int firstSig = 0, lastSig = 0;  // positions in the sig array
    bool text = false;
  };
  struct Chain {
    int firstSig = 0, lastSig = 0;
    bool text = false;
    std::vector<int> plusNodes;  // node indices of the binary "+" signs
  };

  bool IsIdentNode(const Node& n) const {
    if (n.group) return false;
    if (n.tok.kind == TokenKind::QuotedId || n.tok.kind == TokenKind::BracketId) return true;
    return n.tok.kind == TokenKind::Word;
  }

  bool CallIsText(const QString& name, const Node& group) {
    const QString f = name.toLower();
    if (TextFunctions().contains(f)) return true;
    const auto args = SplitArgs(group.children);
    if (f == "convert") return !args.empty() && IsTextType(Plain(args[0]));
    if (f == "cast") {
      const auto sig = SigIndex(group.children);
      for (size_t k = 0; k < sig.size(); ++k) {
        if (IsWord(group.children[sig[k]].tok, "as")) {
          Seq rest(group.children.begin() + sig[k] + 1, group.children.end());
          return IsTextType(Plain(rest));
        }
      }
      return false;
    }
    if (f == "isnull" || f == "coalesce" || f == "ifnull" || f == "nullif") {
      for (const auto& a : args)
        if (IsTextExpr(a)) return true;
    }
    return false;
  }

  Operand ParseOperand(const Seq& s, const std::vector<int>& sig, int p) {
    Operand op;
    if (p >= static_cast<int>(sig.size())) return op;
    const Node& n = s[sig[p]];
    op.firstSig = op.lastSig = p;
    if (n.group) {
      op.valid = true;
      op.text = IsTextExpr(n.children);
      return op;
    }
    switch (n.tok.kind) {
      case TokenKind::String:
      case TokenKind::NString:
        op.valid = true;
        op.text = true;
        return op;
      case TokenKind::Number:
        op.valid = true;
        return op;
      case TokenKind::Word:
      case TokenKind::QuotedId:
      case TokenKind::BracketId: {
        const bool word = n.tok.kind == TokenKind::Word;
        const bool callNext = p + 1 < static_cast<int>(sig.size()) && s[sig[p + 1]].group;
        if (word && callNext) {
          const QString name = n.tok.text.toLower();
          if (name == "in" || name == "exists" || name == "values" || name == "over" || name == "as")
            return op;
          op.valid = true;
          op.lastSig = p + 1;
          op.text = CallIsText(n.tok.text, s[sig[p + 1]]);
          return op;
        }
        if (word && Keywords().contains(n.tok.text.toLower())) {
          if (n.tok.text.compare("null", Qt::CaseInsensitive) == 0) op.valid = true;
          return op;
        }
        op.valid = true;
        int q = p;
        while (q + 2 < static_cast<int>(sig.size()) && !s[sig[q + 1]].group &&
               IsPunct(s[sig[q + 1]].tok, ".") && IsIdentNode(s[sig[q + 2]]))
          q += 2;
        op.lastSig = q;
        return op;
      }
      default:
        return op;
    }
  }

  std::vector<Chain> Chains(const Seq& s, const std::vector<int>& sig) {
    std::vector<Chain> out;
    int p = 0;
    const int n = static_cast<int>(sig.size());
    while (p < n) {
      Operand op = ParseOperand(s, sig, p);
      if (!op.valid) {
        ++p;
        continue;
      }
      Chain c;
      c.firstSig = op.firstSig;
      c.lastSig = op.lastSig;
      c.text = op.text;
      int q = op.lastSig + 1;
      while (q < n && !s[sig[q]].group && IsPunct(s[sig[q]].tok, "+")) {
        Operand next = ParseOperand(s, sig, q + 1);
        if (!next.valid) break;
        c.plusNodes.push_back(sig[q]);
        c.lastSig = next.lastSig;
        c.text = c.text || next.text;
        q = next.lastSig + 1;
      }
      out.push_back(c);
      p = c.lastSig + 1;
    }
    return out;
  }

  // ---- Types of CAST, CONVERT and column definitions. ----

  QString MapType(const QString& typeText, bool forCast) const {
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
  QString StyleFormat(int style) const {
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

  // A function call's replacement, or a null string to leave it as written.
  QString Call(const QString& name, const Node& group) {
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

  QString Bracket(const QString& text) const {
    QString inner = text.mid(1, text.size() - 2).replace("]]", "]");
    static const QRegularExpression simple("^[A-Za-z_][A-Za-z0-9_]*$");
    if (simple.match(inner).hasMatch()) return inner;
    return '"' + inner.replace('"', "\"\"") + '"';
  }

  static bool IsHintGroup(const Node& n) {
    if (!n.group) return false;
    static const QSet<QString> hints = {"nolock",         "readuncommitted", "rowlock",       "updlock",
                                        "holdlock",       "readpast",        "tablock",       "tablockx",
                                        "xlock",          "paglock",         "readcommitted", "serializable",
                                        "repeatableread", "nowait"};
    bool any = false;
    for (const auto& c : n.children) {
      if (!Significant(c)) continue;
      if (c.group) return false;
      if (IsPunct(c.tok, ",")) continue;
      if (c.tok.kind != TokenKind::Word || !hints.contains(c.tok.text.toLower())) return false;
      any = true;
    }
    return any;
  }

  // Column types of ALTER TABLE ... ADD and CREATE TABLE (PostgreSQL only).
  void MarkDefinitionTypes(const Seq& s, const std::vector<int>& sig, std::vector<QString>& replace,
                           std::vector<bool>& removed) {
    if (d_ != Dialect::Postgres || sig.size() < 4) return;
    auto typeAt = [&](size_t k) {
      // The type is a word, optionally followed by a "(n)" group.
      if (k >= sig.size()) return;
      const Node& t = s[sig[k]];
      if (t.group || t.tok.kind != TokenKind::Word) return;
      QString text = t.tok.text;
      bool withLen = k + 1 < sig.size() && s[sig[k + 1]].group && sig[k + 1] == sig[k] + 1;
      if (withLen) text += PlainNode(s[sig[k + 1]]);
      const QString mapped = MapType(text, false);
      if (mapped.compare(text, Qt::CaseInsensitive) == 0) return;
      replace[sig[k]] = mapped;
      if (withLen) removed[sig[k + 1]] = true;
    };
    if (IsWord(s[sig[0]].tok, "alter") && IsWord(s[sig[1]].tok, "table")) {
      for (size_t k = 2; k + 2 < sig.size(); ++k) {
        if (!s[sig[k]].group && IsWord(s[sig[k]].tok, "add")) {
          size_t c = k + 1;
          if (IsWord(s[sig[c]].tok, "column")) ++c;
          typeAt(c + 1);
          break;
        }
      }
    }
  }

  void MarkCreateTableColumns(const Seq& s, const std::vector<int>& sig, std::vector<QString>& groupText) {
    if (d_ != Dialect::Postgres || sig.size() < 3) return;
    if (!IsWord(s[sig[0]].tok, "create") || !IsWord(s[sig[1]].tok, "table")) return;
    for (size_t k = 2; k < sig.size(); ++k) {
      if (!s[sig[k]].group) continue;
      // Each comma-separated item is "name type ..." unless it is a table constraint.
      const auto items = SplitArgs(s[sig[k]].children);
      QString out;
      for (size_t i = 0; i < items.size(); ++i) {
        Seq item = items[i];
        const auto isig = SigIndex(item);
        QString text;
        if (isig.size() >= 2 && !item[isig[0]].group &&
            !Keywords().contains(item[isig[0]].tok.text.toLower()) && !item[isig[1]].group &&
            item[isig[1]].tok.kind == TokenKind::Word) {
          Seq head(item.begin(), item.begin() + isig[1]);
          QString type = item[isig[1]].tok.text;
          size_t restFrom = isig[1] + 1;
          if (isig.size() >= 3 && item[isig[2]].group && isig[2] == isig[1] + 1) {
            type += PlainNode(item[isig[2]]);
            restFrom = isig[2] + 1;
          }
          Seq rest(item.begin() + restFrom, item.end());
          text = Emit(head) + MapType(type, false) + Emit(rest);
        } else {
          text = Emit(item);
        }
        out += (i ? "," : "") + text;
      }
      groupText[sig[k]] = "(" + out + (s[sig[k]].closed ? ")" : "");
      return;
    }
  }

  QString Emit(const Seq& s) {
    const auto sig = SigIndex(s);
    const int n = static_cast<int>(s.size());
    std::vector<bool> removed(n, false);
    std::vector<QString> after(n);      // text emitted right after a node
    std::vector<QString> replace(n);    // a replacement for a plain token
    std::vector<QString> groupText(n);  // a replacement for a group

    // TOP n -> LIMIT n at the end of its SELECT.
    for (size_t k = 0; k < sig.size(); ++k) {
      const Node& sel = s[sig[k]];
      if (sel.group || !IsWord(sel.tok, "select")) continue;
      size_t t = k + 1;
      if (t < sig.size() && !s[sig[t]].group &&
          (IsWord(s[sig[t]].tok, "distinct") || IsWord(s[sig[t]].tok, "all")))
        ++t;
      if (t + 1 >= sig.size() || s[sig[t]].group || !IsWord(s[sig[t]].tok, "top")) continue;
      const Node& num = s[sig[t + 1]];
      QString count;
      if (!num.group && num.tok.kind == TokenKind::Number) {
        count = num.tok.text;
      } else if (num.group) {
        count = Emit(num.children).trimmed();
      } else {
        continue;
      }
      if (t + 2 < sig.size() && !s[sig[t + 2]].group &&
          (IsWord(s[sig[t + 2]].tok, "percent") || IsWord(s[sig[t + 2]].tok, "with")))
        continue;  // TOP n PERCENT / WITH TIES: no equivalent, left as written
      for (int i = sig[t]; i <= sig[t + 1]; ++i) removed[i] = true;
      if (sig[t + 1] + 1 < n && s[sig[t + 1] + 1].tok.kind == TokenKind::Space && !s[sig[t + 1] + 1].group)
        removed[sig[t + 1] + 1] = true;
      // The SELECT ends at ";" or a set operator at this level, or with the sequence.
      size_t e = t + 2;
      for (; e < sig.size(); ++e) {
        const Node& x = s[sig[e]];
        if (x.group) continue;
        if (IsPunct(x.tok, ";") || IsWord(x.tok, "union") || IsWord(x.tok, "except") ||
            IsWord(x.tok, "intersect"))
          break;
      }
      const int last = sig[e - 1];
      after[last] += " LIMIT " + count;
    }

    // Text concatenation.
    std::vector<bool> concat(n, false);
    for (const auto& c : Chains(s, sig))
      if (c.text)
        for (int idx : c.plusNodes) concat[idx] = true;

    MarkDefinitionTypes(s, sig, replace, removed);
    MarkCreateTableColumns(s, sig, groupText);

    QString out;
    for (int i = 0; i < n; ++i) {
      if (removed[i]) {
        out += after[i];
        continue;
      }
      const Node& node = s[i];
      if (node.group) {
        if (!groupText[i].isEmpty()) {
          out += groupText[i];
        } else if (IsHintGroup(node)) {
          // WITH (NOLOCK) and (NOLOCK): drop the hint, a WITH just before it and the blanks between.
          QString trimmed = out;
          while (trimmed.endsWith(' ')) trimmed.chop(1);
          if (trimmed.endsWith("with", Qt::CaseInsensitive) &&
              (trimmed.size() == 4 || !IsWordChar(trimmed[trimmed.size() - 5]))) {
            trimmed.chop(4);
            while (trimmed.endsWith(' ')) trimmed.chop(1);
          }
          out = trimmed;
        } else {
          out += "(" + Emit(node.children) + (node.closed ? ")" : "");
        }
        out += after[i];
        continue;
      }
      const Token& t = node.tok;
      if (!replace[i].isEmpty()) {
        out += replace[i] + after[i];
        continue;
      }
      switch (t.kind) {
        case TokenKind::Word: {
          // dbo.Name -> Name
          if (t.text.compare("dbo", Qt::CaseInsensitive) == 0 && i + 1 < n && !s[i + 1].group &&
              IsPunct(s[i + 1].tok, ".")) {
            removed[i + 1] = true;
            break;
          }
          // A function call: the word, optional blanks, a group.
          int g = i + 1;
          while (g < n && !s[g].group && s[g].tok.kind == TokenKind::Space) ++g;
          if (g < n && s[g].group) {
            const QString rep = Call(t.text, s[g]);
            if (!rep.isNull()) {
              out += rep + after[g];
              i = g;
              continue;
            }
          }
          out += t.text;
          break;
        }
        case TokenKind::BracketId:
          // [dbo].Name -> Name
          if (t.text.compare("[dbo]", Qt::CaseInsensitive) == 0 && i + 1 < n && !s[i + 1].group &&
              IsPunct(s[i + 1].tok, ".")) {
            removed[i + 1] = true;
            break;
          }
          out += Bracket(t.text);
          break;
        case TokenKind::NString:
          out += t.text.mid(1);
          break;
        case TokenKind::Punct:
          out += concat[i] ? QStringLiteral("||") : t.text;
          break;
        default:
          out += t.text;
          break;
      }
      out += after[i];
    }
    return out;
  }

  Dialect d_;
};

QString Unquote(const Token& t, bool* quoted = nullptr) {
  if (quoted) *quoted = false;
  if (t.kind == TokenKind::BracketId) {
    if (quoted) *quoted = true;
    return t.text.mid(1, t.text.size() - 2).replace("]]", "]");
  }
  if (t.kind == TokenKind::QuotedId) {
    if (quoted) *quoted = true;
    return t.text.mid(1, t.text.size() - 2).replace("\"\"", "\"");
  }
  return t.text;
}

}  // namespace

std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> out;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  auto push = [&](TokenKind k, qsizetype from, qsizetype to) {
    out.push_back({k, sql.mid(from, to - from)});
  };
  // Moves past the closing character; a doubled one stands for itself.
  auto skipQuoted = [&](QChar close) {
    while (i < n) {
      if (sql[i] == close) {
        if (i + 1 < n && sql[i + 1] == close) {
          i += 2;
          continue;
        }
        ++i;
        return;
      }
      ++i;
    }
  };
  while (i < n) {
    const QChar c = sql[i];
    const qsizetype start = i;
    if (c.isSpace()) {
      while (i < n && sql[i].isSpace()) ++i;
      push(TokenKind::Space, start, i);
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
      push(TokenKind::Comment, start, i);
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const qsizetype end = sql.indexOf("*/", i + 2);
      i = end < 0 ? n : end + 2;
      push(TokenKind::Comment, start, i);
    } else if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < n && sql[i + 1] == '\'')) {
      const bool national = c != '\'';
      i += national ? 2 : 1;
      skipQuoted('\'');
      push(national ? TokenKind::NString : TokenKind::String, start, i);
    } else if (c == '"') {
      ++i;
      skipQuoted('"');
      push(TokenKind::QuotedId, start, i);
    } else if (c == '[') {
      ++i;
      skipQuoted(']');
      push(TokenKind::BracketId, start, i);
    } else if (c.isDigit() || (c == '.' && i + 1 < n && sql[i + 1].isDigit())) {
      while (i < n && (sql[i].isDigit() || sql[i] == '.')) ++i;
      if (i < n && (sql[i] == 'e' || sql[i] == 'E') && i + 1 < n &&
          (sql[i + 1].isDigit() ||
           ((sql[i + 1] == '+' || sql[i + 1] == '-') && i + 2 < n && sql[i + 2].isDigit()))) {
        i += 2;
        while (i < n && sql[i].isDigit()) ++i;
      }
      push(TokenKind::Number, start, i);
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(sql[i])) ++i;
      push(TokenKind::Word, start, i);
    } else {
      static const char* two[] = {"<=", ">=", "<>", "!=", "||", "::", "!<", "!>"};
      bool done = false;
      for (const char* op : two) {
        if (i + 1 < n && sql[i] == QLatin1Char(op[0]) && sql[i + 1] == QLatin1Char(op[1])) {
          i += 2;
          done = true;
          break;
        }
      }
      if (!done) ++i;
      push(TokenKind::Punct, start, i);
    }
  }
  return out;
}

QString Rewrite(const QString& sql, Dialect dialect) {
  if (dialect != Dialect::Sqlite && dialect != Dialect::Postgres) return sql;
  Rewriter r(dialect);
  return r.Seq_(Tree(sql));
}

std::optional<TableSelect> ParseTableSelect(const QString& sql) {
  const Seq s = Tree(sql);
  std::vector<int> sig = SigIndex(s);
  // A trailing ";" is allowed.
  if (!sig.empty() && !s[sig.back()].group && IsPunct(s[sig.back()].tok, ";")) sig.pop_back();
  size_t k = 0;
  auto at = [&](size_t i) -> const Node* { return i < sig.size() ? &s[sig[i]] : nullptr; };
  auto word = [&](size_t i, const char* w) {
    const Node* n = at(i);
    return n && !n->group && IsWord(n->tok, w);
  };
  auto punct = [&](size_t i, const char* p) {
    const Node* n = at(i);
    return n && !n->group && IsPunct(n->tok, p);
  };
  auto ident = [&](size_t i) {
    const Node* n = at(i);
    if (!n || n->group) return false;
    if (n->tok.kind == TokenKind::QuotedId || n->tok.kind == TokenKind::BracketId) return true;
    return n->tok.kind == TokenKind::Word && !Keywords().contains(n->tok.text.toLower());
  };

  if (!word(k, "select")) return std::nullopt;
  ++k;
  if (word(k, "top")) {
    const Node* n = at(k + 1);
    if (!n || (!n->group && n->tok.kind != TokenKind::Number)) return std::nullopt;
    k += 2;
    if (word(k, "percent")) return std::nullopt;
  }
  if (word(k, "distinct")) return std::nullopt;
  if (word(k, "all")) ++k;

  TableSelect ts;
  // The select list.
  while (true) {
    if (punct(k, "*")) {
      ts.star = true;
      ++k;
    } else if (ident(k)) {
      // name(.name)* possibly ending in .*
      QString last = Unquote(at(k)->tok);
      ++k;
      bool qualifiedStar = false;
      while (punct(k, ".")) {
        if (punct(k + 1, "*")) {
          qualifiedStar = true;
          k += 2;
          break;
        }
        if (!ident(k + 1)) return std::nullopt;
        last = Unquote(at(k + 1)->tok);
        k += 2;
      }
      if (qualifiedStar) {
        ts.star = true;
      } else {
        TableSelect::Item item{last, last};
        if (word(k, "as")) {
          if (!ident(k + 1)) return std::nullopt;
          item.output = Unquote(at(k + 1)->tok);
          k += 2;
        } else if (ident(k)) {
          item.output = Unquote(at(k)->tok);
          ++k;
        }
        ts.items.push_back(item);
      }
    } else {
      return std::nullopt;
    }
    if (punct(k, ",")) {
      ++k;
      continue;
    }
    break;
  }
  if (!word(k, "from")) return std::nullopt;
  ++k;
  // The table: name(.name){0,2}
  if (!ident(k)) return std::nullopt;
  const int tableFirst = sig[k];
  QStringList parts;
  bool lastQuoted = false;
  parts << Unquote(at(k)->tok, &lastQuoted);
  ++k;
  while (punct(k, ".") && ident(k + 1)) {
    parts << Unquote(at(k + 1)->tok, &lastQuoted);
    k += 2;
  }
  const int tableLast = sig[k - 1];
  for (int i = tableFirst; i <= tableLast; ++i) ts.table += PlainNode(s[i]);
  ts.name = parts.last();
  ts.nameQuoted = lastQuoted;
  if (parts.size() >= 2) ts.schema = parts[parts.size() - 2];
  // An alias.
  if (word(k, "as")) {
    if (!ident(k + 1)) return std::nullopt;
    k += 2;
  } else if (ident(k)) {
    ++k;
  }
  // Hints.
  if (word(k, "with") && at(k + 1) && at(k + 1)->group) k += 2;
  // What may follow: WHERE ... and ORDER BY ..., nothing that joins or groups.
  for (size_t i = k; i < sig.size(); ++i) {
    const Node* n = at(i);
    if (n->group) continue;
    if (i == k && !(IsWord(n->tok, "where") || IsWord(n->tok, "order"))) return std::nullopt;
    if (IsPunct(n->tok, ",") || IsPunct(n->tok, ";")) {
      // Commas are fine inside ORDER BY; a second statement is not.
      if (IsPunct(n->tok, ";")) return std::nullopt;
      bool inOrder = false;
      for (size_t j = k; j < i; ++j)
        if (!at(j)->group && IsWord(at(j)->tok, "order")) inOrder = true;
      if (!inOrder) return std::nullopt;
    }
    static const char* stop[] = {"join", "group", "having", "union", "except", "intersect", "into", "for"};
    for (const char* w : stop)
      if (IsWord(n->tok, w)) return std::nullopt;
  }
  return ts;
}

QString Quote(const QString& name, Dialect dialect) {
  if (dialect == Dialect::SqlServer || dialect == Dialect::Unknown)
    return '[' + QString(name).replace("]", "]]") + ']';
  return '"' + QString(name).replace("\"", "\"\"") + '"';
}

QString CatalogName(const QString& name, Dialect dialect, bool quoted) {
  if (quoted) return name;
  if (dialect == Dialect::Postgres) return name.toLower();
  if (dialect == Dialect::Oracle) return name.toUpper();
  return name;
}

bool IsDefinition(const QString& sql) {
  for (const auto& t : Tokenize(sql)) {
    if (t.kind == TokenKind::Space || t.kind == TokenKind::Comment) continue;
    return IsWord(t, "create") || IsWord(t, "alter") || IsWord(t, "drop");
  }
  return false;
}

}  // namespace ado::sql
