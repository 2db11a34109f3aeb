#include "platform/client/rewrite/SqlTree.h"

namespace ado::sql {

NestingTooDeep::NestingTooDeep()
    : std::runtime_error("more than " + std::to_string(kMaxNesting) + " nested parentheses") {}

namespace {

Seq Build(const std::vector<Token>& toks, size_t& i, int depth) {
  Seq out;
  while (i < toks.size()) {
    const Token& t = toks[i];
    if (IsPunct(t, "(")) {
      if (depth == kMaxNesting) throw NestingTooDeep();
      ++i;
      Node g{t, true, false, {}};
      g.children = Build(toks, i, depth + 1);
      if (i < toks.size() && IsPunct(toks[i], ")")) {
        g.closed = true;
        ++i;
      }
      out.push_back(std::move(g));
      continue;
    }
    if (IsPunct(t, ")") && depth > 0) return out;  // the caller takes it
    out.push_back(Node{t, false, false, {}});
    ++i;
  }
  return out;
}

}  // namespace

Seq Tree(const QString& sql) {
  const auto toks = Tokenize(sql);
  size_t i = 0;
  Seq all;
  while (i < toks.size()) {
    Seq part = Build(toks, i, 0);
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

QString PlainNode(const Node& n) {
  if (!n.group) return n.tok.text;
  return "(" + Plain(n.children) + (n.closed ? ")" : "");
}
QString Plain(const Seq& s) {
  QString r;
  for (const auto& n : s) r += PlainNode(n);
  return r;
}

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

}  // namespace ado::sql
