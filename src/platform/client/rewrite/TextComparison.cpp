// Text compared as the suite's server compares it: letter case ignored,
// accents kept, Spanish order. Columns get that from their collation (the
// demo schema declares it); what the rewriter adds covers the rest:
//
//   SQLite      a literal compared with anything but a plain column takes the
//               collation ma_es of the client's SQLite extension, which also
//               provides LIKE, UPPER and LOWER
//               LTRIM(IdEmpresa) = 'ab'        -> LTRIM(IdEmpresa) = 'ab' COLLATE ma_es
//   PostgreSQL  LIKE cannot use a nondeterministic collation: ILIKE under
//               the server's Spanish ICU collation instead; two literals are
//               compared in lower case
//               NombreEmpresa LIKE 'ferr%'     -> NombreEmpresa COLLATE "es-x-icu" ILIKE 'ferr%'
//               'a' = 'A'                      -> LOWER('a') COLLATE "es-x-icu" = LOWER('A')
//
// A plain column compared with a literal is left as written, so its index serves.
#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

const QString& SpanishCollation() {
  static const QString c = QStringLiteral("COLLATE \"es-x-icu\"");
  return c;
}

bool Rewriter::ColumnFree(const Seq& s, int from, int to) const {
  for (int i = from; i <= to; ++i) {
    const Node& n = s[i];
    if (n.group) {
      if (!ColumnFree(n.children, 0, static_cast<int>(n.children.size()) - 1)) return false;
      continue;
    }
    if (n.tok.kind == TokenKind::QuotedId || n.tok.kind == TokenKind::BracketId) return false;
    if (n.tok.kind != TokenKind::Word || Keywords().contains(n.tok.text.toLower())) continue;
    int g = i + 1;
    while (g < static_cast<int>(s.size()) && !Significant(s[g])) ++g;
    if (g >= static_cast<int>(s.size()) || !s[g].group) return false;  // not a function's name
  }
  return true;
}

void Rewriter::MarkTextComparisons(const Seq& s, const std::vector<int>& sig,
                                   const std::vector<Chain>& chains, std::vector<QString>& before,
                                   std::vector<QString>& after, std::vector<QString>& replace) {
  const int count = static_cast<int>(sig.size());
  auto endingAt = [&](int k) -> const Chain* {
    for (const auto& c : chains)
      if (c.lastSig == k) return &c;
    return nullptr;
  };
  auto startingAt = [&](int k) -> const Chain* {
    for (const auto& c : chains)
      if (c.firstSig == k) return &c;
    return nullptr;
  };
  auto literal = [&](const Chain* c) {
    return c && c->type == ValueType::Text && ColumnFree(s, sig[c->firstSig], sig[c->lastSig]);
  };
  auto plainColumn = [&](const Chain* c) {
    if (!c || !c->concatNodes.empty()) return false;
    const Node& first = s[sig[c->firstSig]];
    if (first.group) return false;
    const bool ident = first.tok.kind == TokenKind::QuotedId || first.tok.kind == TokenKind::BracketId ||
                       (first.tok.kind == TokenKind::Word && !Keywords().contains(first.tok.text.toLower()));
    return ident && !(c->lastSig > c->firstSig && s[sig[c->lastSig]].group);  // a call is no column
  };
  static const char* comparisons[] = {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};

  for (int k = 0; k < count; ++k) {
    const Node& op = s[sig[k]];
    if (op.group) continue;
    if (d_ == Dialect::Postgres && IsWord(op.tok, "like")) {
      const int left = k > 0 && !s[sig[k - 1]].group && IsWord(s[sig[k - 1]].tok, "not") ? k - 2 : k - 1;
      if (left < 0) continue;
      after[sig[left]] += " " + SpanishCollation();
      replace[sig[k]] = op.tok.text == "like" ? QStringLiteral("ilike") : QStringLiteral("ILIKE");
      continue;
    }
    bool comparison = false;
    for (const char* c : comparisons) comparison = comparison || IsPunct(op.tok, c);
    if (!comparison) continue;
    const Chain* l = endingAt(k - 1);
    const Chain* r = startingAt(k + 1);
    if (d_ == Dialect::Sqlite) {
      if (literal(l) && !plainColumn(r))
        after[sig[l->lastSig]] += " COLLATE ma_es";
      else if (literal(r) && !plainColumn(l))
        after[sig[r->lastSig]] += " COLLATE ma_es";
    } else if (literal(l) && literal(r)) {
      before[sig[l->firstSig]] += "LOWER(";
      after[sig[l->lastSig]] += ") " + SpanishCollation();
      before[sig[r->firstSig]] += "LOWER(";
      after[sig[r->lastSig]] += ")";
    }
  }
}

}  // namespace ado::sql
