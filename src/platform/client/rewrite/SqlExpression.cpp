// Reading expressions: where an operand ends and whether its value is text.
#include <QRegularExpression>
#include <algorithm>

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

const QSet<QString>& TextFunctions() {
  static const QSet<QString> f = {"ltrim",   "rtrim",     "trim",   "upper",     "lower",   "ucase",
                                  "lcase",   "substring", "substr", "replace",   "left",    "right",
                                  "space",   "replicate", "char",   "nchar",     "str",     "concat",
                                  "reverse", "stuff",     "format", "quotename", "datename"};
  return f;
}

const QSet<QString>& NumberFunctions() {
  static const QSet<QString> f = {
      "len",   "datalength", "charindex", "patindex",  "count",     "sum",    "avg",   "abs", "round",
      "floor", "ceiling",    "power",     "sqrt",      "sign",      "year",   "month", "day", "datediff",
      "ascii", "unicode",    "datepart",  "isnumeric", "count_big", "isdate", "square"};
  return f;
}

ValueType TypeOfName(const QString& typeText) {
  if (IsTextType(typeText)) return ValueType::Text;
  static const QRegularExpression date(R"(^\s*(datetime|smalldatetime|datetime2|date)\b)",
                                       QRegularExpression::CaseInsensitiveOption);
  if (date.match(typeText).hasMatch()) return ValueType::Date;
  static const QRegularExpression number(
      R"(^\s*(int|integer|smallint|tinyint|bigint|bit|decimal|numeric|money|smallmoney|float|real)\b)",
      QRegularExpression::CaseInsensitiveOption);
  return number.match(typeText).hasMatch() ? ValueType::Number : ValueType::Unknown;
}

bool IsTextType(const QString& typeText) {
  const QString t = typeText.trimmed().toLower();
  return t.startsWith("varchar") || t.startsWith("nvarchar") || t.startsWith("char") ||
         t.startsWith("nchar") || t.startsWith("text") || t.startsWith("ntext") ||
         t.startsWith("character") || t.startsWith("string");
}

ValueType Rewriter::ExprType(const Seq& s) {
  const auto sig = SigIndex(s);
  if (sig.empty()) return ValueType::Unknown;
  const auto chains = Chains(s, sig);
  const bool whole =
      chains.size() == 1 && chains[0].firstSig == 0 && chains[0].lastSig == static_cast<int>(sig.size()) - 1;
  return whole ? chains[0].type : ValueType::Unknown;
}

bool Rewriter::IsIdentNode(const Node& n) const {
  if (n.group) return false;
  if (n.tok.kind == TokenKind::QuotedId || n.tok.kind == TokenKind::BracketId) return true;
  return n.tok.kind == TokenKind::Word;
}

ValueType Rewriter::CallType(const QString& name, const Node& group) {
  const QString f = name.toLower();
  if (TextFunctions().contains(f)) return ValueType::Text;
  if (NumberFunctions().contains(f)) return ValueType::Number;
  if (f == "getdate" || f == "dateadd") return ValueType::Date;
  const auto args = SplitArgs(group.children);
  if (f == "convert") return args.empty() ? ValueType::Unknown : TypeOfName(Plain(args[0]));
  if (f == "cast") {
    const auto sig = SigIndex(group.children);
    for (size_t k = 0; k < sig.size(); ++k) {
      if (IsWord(group.children[sig[k]].tok, "as")) {
        Seq rest(group.children.begin() + sig[k] + 1, group.children.end());
        return TypeOfName(Plain(rest));
      }
    }
    return ValueType::Unknown;
  }
  if (f == "isnull" || f == "coalesce" || f == "ifnull" || f == "nullif") {
    // The first argument's type decides, as in SQL Server; text anywhere makes the value text.
    ValueType first = ValueType::Unknown;
    for (size_t i = 0; i < args.size(); ++i) {
      const ValueType t = ExprType(args[i]);
      if (t == ValueType::Text) return t;
      if (i == 0) first = t;
    }
    return first;
  }
  return ValueType::Unknown;
}

Rewriter::Operand Rewriter::ParseOperand(const Seq& s, const std::vector<int>& sig, int p) {
  Operand op;
  if (p >= static_cast<int>(sig.size())) return op;
  const Node& n = s[sig[p]];
  op.firstSig = op.lastSig = p;
  if (n.group) {
    op.valid = true;
    op.type = ExprType(n.children);
    return op;
  }
  switch (n.tok.kind) {
    case TokenKind::String:
    case TokenKind::NString:
      op.valid = true;
      op.type = ValueType::Text;
      return op;
    case TokenKind::Number:
      op.valid = true;
      op.type = ValueType::Number;
      return op;
    case TokenKind::Punct: {
      // A sign: "-3.7" is a number.
      if (!IsPunct(n.tok, "-") && !IsPunct(n.tok, "+")) return op;
      Operand next = ParseOperand(s, sig, p + 1);
      if (!next.valid) return op;
      next.firstSig = p;
      if (next.type != ValueType::Number) next.type = ValueType::Unknown;
      return next;
    }
    case TokenKind::Word:
    case TokenKind::QuotedId:
    case TokenKind::BracketId: {
      const bool word = n.tok.kind == TokenKind::Word;
      const bool callNext = p + 1 < static_cast<int>(sig.size()) && s[sig[p + 1]].group;
      if (word && callNext) {
        const QString name = n.tok.text.toLower();
        if (Keywords().contains(name)) return op;  // WHEN (...), IN (...), AND (...): no call
        op.valid = true;
        op.lastSig = p + 1;
        op.type = CallType(n.tok.text, s[sig[p + 1]]);
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

std::vector<Rewriter::Chain> Rewriter::Chains(const Seq& s, const std::vector<int>& sig) {
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
    std::vector<ValueType> types{op.type};
    std::vector<int> plus;
    int q = op.lastSig + 1;
    while (q < n && !s[sig[q]].group && IsPunct(s[sig[q]].tok, "+")) {
      Operand next = ParseOperand(s, sig, q + 1);
      if (!next.valid) break;
      plus.push_back(sig[q]);
      types.push_back(next.type);
      c.lastSig = next.lastSig;
      q = next.lastSig + 1;
    }
    // SQL Server adds left to right: a number on either side of a "+" makes it an
    // addition (the text is converted), otherwise text on the chain makes it a
    // concatenation; operands of unknown type (columns) follow the text.
    const bool anyText = std::find(types.begin(), types.end(), ValueType::Text) != types.end();
    c.type = types[0];
    for (size_t k = 0; k < plus.size(); ++k) {
      const ValueType next = types[k + 1];
      if (c.type == ValueType::Date || next == ValueType::Date) {
        c.type = ValueType::Date;  // a date plus days
      } else if (c.type == ValueType::Number || next == ValueType::Number) {
        c.type = ValueType::Number;
      } else if (anyText) {
        c.concatNodes.push_back(plus[k]);
        if (next == ValueType::Text) c.type = ValueType::Text;
      }
    }
    if (!c.concatNodes.empty() && c.type == ValueType::Unknown) c.type = ValueType::Text;
    out.push_back(c);
    p = c.lastSig + 1;
  }
  return out;
}

}  // namespace ado::sql
