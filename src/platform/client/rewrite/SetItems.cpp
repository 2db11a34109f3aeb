// DISTINCT and UNION, EXCEPT, INTERSECT compare the text they return as the server does:
// SELECT 'a' UNION SELECT 'A' is one row. A column lends its collation to what is made
// of it; what no column made takes ma_es (on PostgreSQL when the database has it).
#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

void Rewriter::MarkSetItems(const Seq& s, const std::vector<int>& sig, const std::vector<Chain>& chains,
                            std::vector<QString>& after) {
  const int count = static_cast<int>(sig.size());
  auto word = [&](int k, const char* w) { return k < count && !s[sig[k]].group && IsWord(s[sig[k]].tok, w); };
  bool compound = false;
  for (int k = 0; k < count && !compound; ++k)
    compound = word(k, "union") || word(k, "except") || word(k, "intersect");
  auto startingAt = [&](int k) -> const Chain* {
    for (const auto& c : chains)
      if (c.firstSig == k) return &c;
    return nullptr;
  };
  auto identifier = [&](int k) {
    if (k >= count || s[sig[k]].group) return false;
    const Token& t = s[sig[k]].tok;
    return t.kind == TokenKind::QuotedId || t.kind == TokenKind::BracketId ||
           (t.kind == TokenKind::Word && !Keywords().contains(t.text.toLower()));
  };
  bool asked = false, has = false;
  for (int k = 0; k < count; ++k) {
    if (!word(k, "select")) continue;
    int item = k + 1;
    const bool distinct = word(item, "distinct");
    if (distinct || word(item, "all")) ++item;
    if (!distinct && !compound) continue;
    if (word(item, "top")) {
      item += 2;
      if (word(item, "percent")) ++item;
    }
    while (const Chain* c = startingAt(item)) {
      int next = c->lastSig + 1;
      const bool named = word(next, "as");
      const bool plain = c->firstSig == c->lastSig && identifier(c->firstSig);
      const bool columnFree = ColumnFree(s, sig[c->firstSig], sig[c->lastSig]);
      if (c->type == ValueType::Text && !plain) {
        if (d_ == Dialect::Sqlite && !named) {
          after[sig[c->lastSig]] += " COLLATE ma_es";  // one named with AS already has it
        } else if (d_ == Dialect::Postgres && columnFree) {
          if (!asked) has = collation_ && collation_();
          asked = true;
          if (has) after[sig[c->lastSig]] += " COLLATE ma_es";
        }
      }
      if (named) ++next;
      if (identifier(next)) ++next;
      if (next >= count || s[sig[next]].group || !IsPunct(s[sig[next]].tok, ",")) break;
      item = next + 1;
    }
  }
}

}  // namespace ado::sql
