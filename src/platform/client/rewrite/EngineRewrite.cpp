#include "platform/client/rewrite/EngineRewrite.h"

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

bool Rewriter::IsHintGroup(const Node& n) {
  if (!n.group) return false;
  static const QSet<QString> hints = {
      "nolock",   "readuncommitted", "rowlock", "updlock",       "holdlock",     "readpast",       "tablock",
      "tablockx", "xlock",           "paglock", "readcommitted", "serializable", "repeatableread", "nowait"};
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

void Rewriter::MarkDefinitionTypes(const Seq& s, const std::vector<int>& sig, std::vector<QString>& replace,
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

void Rewriter::MarkCreateTableColumns(const Seq& s, const std::vector<int>& sig,
                                      std::vector<QString>& groupText) {
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

QString Rewriter::Emit(const Seq& s) {
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

QString Rewrite(const QString& sql, Dialect dialect) {
  if (dialect != Dialect::Sqlite && dialect != Dialect::Postgres) return sql;
  Rewriter r(dialect);
  return r.Seq_(Tree(sql));
}

}  // namespace ado::sql
