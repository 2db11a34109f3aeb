// Reading expressions: where an operand ends and whether its value is text.
#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

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

bool Rewriter::IsTextExpr(const Seq& s) {
  const auto sig = SigIndex(s);
  if (sig.empty()) return false;
  const auto chains = Chains(s, sig);
  return chains.size() == 1 && chains[0].firstSig == 0 &&
         chains[0].lastSig == static_cast<int>(sig.size()) - 1 && chains[0].text;
}

bool Rewriter::IsIdentNode(const Node& n) const {
  if (n.group) return false;
  if (n.tok.kind == TokenKind::QuotedId || n.tok.kind == TokenKind::BracketId) return true;
  return n.tok.kind == TokenKind::Word;
}

bool Rewriter::CallIsText(const QString& name, const Node& group) {
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

Rewriter::Operand Rewriter::ParseOperand(const Seq& s, const std::vector<int>& sig, int p) {
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
        if (name == "in" || name == "exists" || name == "values" || name == "over" || name == "as") return op;
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

}  // namespace ado::sql
