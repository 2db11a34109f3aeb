#include "platform/client/TableSelect.h"

#include "platform/client/rewrite/SqlTree.h"

namespace ado::sql {

std::optional<TableSelect> ParseTableSelect(const QString& sql) {
  Seq s;
  try {
    s = Tree(sql);
  } catch (const NestingTooDeep&) {
    return std::nullopt;  // no single-table SELECT; running it reports the nesting
  }
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
  long long top = -1;
  if (word(k, "top")) {
    const Node* n = at(k + 1);
    if (!n || (!n->group && n->tok.kind != TokenKind::Number)) return std::nullopt;
    if (!n->group) {
      bool ok = false;
      top = n->tok.text.toLongLong(&ok);
      if (!ok) top = -1;
    }
    k += 2;
    if (word(k, "percent")) return std::nullopt;
  }
  if (word(k, "distinct")) return std::nullopt;
  if (word(k, "all")) ++k;

  TableSelect ts;
  ts.mostRows = top;
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
  bool hinted = false;
  if (word(k, "with") && at(k + 1) && at(k + 1)->group) {
    k += 2;
    hinted = true;  // a lock asked for is something the statement does besides its rows
  }
  // A condition that no row meets, as statements that only want the columns write it.
  auto number = [&](size_t i, const char* v) {
    const Node* n = at(i);
    return n && !n->group && n->tok.kind == TokenKind::Number && n->tok.text == QLatin1String(v);
  };
  if (!hinted && word(k, "where") && number(k + 1, "1") && punct(k + 2, "=") && number(k + 3, "0") &&
      (k + 4 == sig.size() || word(k + 4, "order")))
    ts.mostRows = 0;
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
