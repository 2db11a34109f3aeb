#include "platform/client/rewrite/EngineRewrite.h"

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {
namespace {

// Whether two pieces written one after the other would read as one token, or
// start a comment: "a" "b", "'a'" "'b'", "-" "-1", "<" ">", "1" ".5".
bool Glue(QChar a, QChar b) {
  if (IsWordChar(a) && (IsWordChar(b) || b == '\'')) return true;
  if ((a.isDigit() && b == '.') || (a == '.' && b.isDigit())) return true;
  static const char* pairs[] = {"''", "\"\"", "--", "/*", "<=", ">=", "<>", "!=", "||", "::", "!<", "!>"};
  for (const char* p : pairs)
    if (a == QLatin1Char(p[0]) && b == QLatin1Char(p[1])) return true;
  return false;
}

// The rewritten text. A piece that does not follow the previous one in the
// input is kept apart from it by a blank where the two would glue.
class Output {
 public:
  void Verbatim(const QString& piece) { Put(piece, true); }
  void Rewritten(const QString& piece) { Put(piece, false); }
  // Input text was dropped here.
  void Skip() { adjacent_ = false; }
  QString& Text() { return text_; }

 private:
  void Put(const QString& piece, bool verbatim) {
    if (piece.isEmpty()) return;
    if (!(verbatim && adjacent_) && !text_.isEmpty() && Glue(text_.back(), piece.front())) text_ += ' ';
    text_ += piece;
    adjacent_ = verbatim;
  }
  QString text_;
  bool adjacent_ = false;
};

}  // namespace

QString Trimmed(const QString& text) {
  const auto toks = Tokenize(text);
  auto last = toks.rbegin();
  while (last != toks.rend() && last->kind == TokenKind::Space) ++last;
  if (last == toks.rend() || last->kind != TokenKind::Comment || !last->text.startsWith("--"))
    return text.trimmed();
  // The comment stays as written, and its line ends.
  qsizetype end = 0;
  for (auto it = toks.begin(); it != last.base(); ++it) end += it->text.size();
  qsizetype from = 0;
  while (from < end && text[from].isSpace()) ++from;
  return text.mid(from, end - from) + '\n';
}

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
  if (sig.size() < 4) return;
  auto typeAt = [&](size_t k) {
    // The type is a word, optionally followed by a "(n)" group.
    if (k >= sig.size()) return;
    const Node& t = s[sig[k]];
    if (t.group || t.tok.kind != TokenKind::Word) return;
    QString text = t.tok.text;
    bool withLen = k + 1 < sig.size() && s[sig[k + 1]].group && sig[k + 1] == sig[k] + 1;
    if (withLen) text += PlainNode(s[sig[k + 1]]);
    const size_t next = k + (withLen ? 2 : 1);
    const bool collated = next < sig.size() && !s[sig[next]].group && IsWord(s[sig[next]].tok, "collate");
    QString mapped = d_ == Dialect::Postgres ? MapType(text, false) : text;
    // A text column added at run time compares as the schema's own do. (On PostgreSQL the
    // collation is the schema's, which a database made without it lacks: asked once.)
    if (IsTextType(text) && !collated &&
        (d_ == Dialect::Sqlite || (d_ == Dialect::Postgres && collation_ && collation_())))
      mapped += " COLLATE ma_es";
    replace[sig[k]] = mapped;  // a type such as CHAR(5) is no function call
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
  std::vector<bool> removed(n, false);  // nodes left out
  std::vector<QString> before(n);       // text emitted right before a node
  std::vector<QString> after(n);        // text emitted right after a node
  std::vector<QString> replace(n);      // a replacement for a plain token
  std::vector<QString> groupText(n);    // a replacement for a group

  // Text concatenation.
  std::vector<bool> concat(n, false);
  const auto chains = Chains(s, sig);
  for (const auto& c : chains)
    for (int idx : c.concatNodes) concat[idx] = true;
  MarkTextComparisons(s, sig, chains, before, after, replace, removed);
  MarkSetItems(s, sig, chains, after);

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
      count = Trimmed(Emit(num.children));
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

  MarkDefinitionTypes(s, sig, replace, removed);
  MarkCreateTableColumns(s, sig, groupText);

  Output out;
  for (int i = 0; i < n; ++i) {
    // Arguments repeated by several rewritings side by side grow past any one call's bound.
    if (out.Text().size() > maxText_) throw NestingTooDeep();
    if (removed[i]) {
      out.Skip();
      out.Rewritten(after[i]);
      continue;
    }
    const Node& node = s[i];
    out.Rewritten(before[i]);
    if (node.group) {
      if (!groupText[i].isEmpty()) {
        out.Rewritten(groupText[i]);
      } else if (IsHintGroup(node)) {
        // WITH (NOLOCK) and (NOLOCK): drop the hint, a WITH just before it and the blanks between.
        QString& text = out.Text();
        while (text.endsWith(' ')) text.chop(1);
        if (text.endsWith("with", Qt::CaseInsensitive) &&
            (text.size() == 4 || !IsWordChar(text[text.size() - 5]))) {
          text.chop(4);
          while (text.endsWith(' ')) text.chop(1);
        }
        out.Skip();
        // What followed the hint stays apart from what preceded it.
        if (i + 1 < n && (s[i + 1].group || s[i + 1].tok.kind != TokenKind::Space) && !text.isEmpty())
          text += ' ';
      } else {
        out.Verbatim("(");
        out.Rewritten(Emit(node.children));
        out.Verbatim(node.closed ? ")" : "");
      }
      out.Rewritten(after[i]);
      continue;
    }
    const Token& t = node.tok;
    if (!replace[i].isEmpty()) {
      out.Rewritten(replace[i] + after[i]);
      continue;
    }
    switch (t.kind) {
      case TokenKind::Word: {
        // dbo.Name -> Name
        if (t.text.compare("dbo", Qt::CaseInsensitive) == 0 && i + 1 < n && !s[i + 1].group &&
            IsPunct(s[i + 1].tok, ".")) {
          removed[i + 1] = true;
          out.Skip();
          break;
        }
        // A function call: the word, optional blanks, a group.
        int g = i + 1;
        while (g < n && !s[g].group && s[g].tok.kind == TokenKind::Space) ++g;
        if (g < n && s[g].group) {
          const QString rep = Call(t.text, s[g]);
          if (!rep.isNull()) {
            out.Rewritten(rep + after[g]);
            i = g;
            continue;
          }
        }
        out.Verbatim(t.text);
        break;
      }
      case TokenKind::BracketId:
        // [dbo].Name -> Name
        if (t.text.compare("[dbo]", Qt::CaseInsensitive) == 0 && i + 1 < n && !s[i + 1].group &&
            IsPunct(s[i + 1].tok, ".")) {
          removed[i + 1] = true;
          out.Skip();
          break;
        }
        out.Rewritten(Bracket(t.text));
        break;
      case TokenKind::NString:
        out.Rewritten(t.text.mid(1));
        break;
      case TokenKind::Punct:
        if (concat[i])
          out.Rewritten(QStringLiteral("||"));
        else
          out.Verbatim(t.text);
        break;
      default:
        out.Verbatim(t.text);
        break;
    }
    out.Rewritten(after[i]);
  }
  if (out.Text().size() > maxText_) throw NestingTooDeep();
  return out.Text();
}

QString Rewrite(const QString& sql, Dialect dialect, const HasSpanishCollation& collation) {
  if (dialect != Dialect::Sqlite && dialect != Dialect::Postgres) return sql;
  Rewriter r(dialect, sql.size(), collation);
  return r.Seq_(Tree(sql));
}

}  // namespace ado::sql
