// Text compared as the suite's server compares it: letter case ignored,
// accents kept, Spanish order, trailing blanks ignored by = and <>; text compared
// with a number converted to the number. Columns get the collation from their
// declaration (the demo schema's, and ALTER TABLE ... ADD's here); what the
// rewriter adds covers the rest:
//
//   SQLite      a literal compared with anything but a plain column takes the
//               collation ma_es of the client's SQLite extension, which also
//               provides LIKE (with its [classes]), UPPER and LOWER
//               LTRIM(IdEmpresa) = 'ab'        -> LTRIM(IdEmpresa) = 'ab' COLLATE ma_es
//               text against a number is converted by the extension (or fails)
//               Codigo > 5                     -> ma_to_int(Codigo) > 5
//   PostgreSQL  LIKE cannot use a nondeterministic collation: a literal pattern
//               becomes a regular expression under the server's Spanish ICU
//               collation, another pattern one by the schema's ma_like_regex;
//               two literals are compared in lower case; = and <> drop the
//               trailing blanks of literals and of function results
//               NombreEmpresa LIKE 'ferr%'     -> NombreEmpresa COLLATE "es-x-icu" ~* '^ferr.* *$'
//               'a' = 'A  '                    -> LOWER('a') COLLATE "es-x-icu" = LOWER('A')
//               (text against a number: the operators of the schema's functions)
//   Both        a date literal compared with a date is read as the server reads it
//               GETDATE() > '31/12/2024'       -> ... > '2024-12-31 00:00:00.000'
//
// A plain column compared with a literal is left as written, so its index serves.
#include <QRegularExpression>
#include <algorithm>

#include "platform/client/rewrite/Rewriter.h"

namespace ado::sql {

const QString& SpanishCollation() {
  static const QString c = QStringLiteral("COLLATE \"es-x-icu\"");
  return c;
}

namespace {

// Where a letter stands in the server's Spanish order, case ignored: an accented letter
// right after its base letter, ñ after n and its accented forms.
std::pair<char16_t, int> SpanishPlace(QChar c) {
  const QChar lower = c.toLower();
  if (lower == QChar(0x00F1)) return {u'n', 2};
  const QString d = QString(lower).normalized(QString::NormalizationForm_D);
  if (d.size() > 1 && d[0].unicode() < 128 && d[0].isLetter()) return {d[0].unicode(), 1};
  return {lower.unicode(), 0};
}

// The accented letters a range of a class holds in that order, though not by code point:
// [a-c] holds á, [m-o] holds ñ. (The regular expression ignores case.)
QString AccentedInRange(QChar lo, QChar hi) {
  static const QString letters = QStringLiteral("áàâäãåéèêëíìîïóòôöõúùûüýÿñç");
  QString in;
  for (const QChar x : letters) {
    const bool byCode = lo.toLower() <= x && x <= hi.toLower();
    if (!byCode && SpanishPlace(lo) <= SpanishPlace(x) && SpanishPlace(x) <= SpanishPlace(hi)) in += x;
  }
  return in;
}

}  // namespace

QString LikeRegex(const QString& pattern, QChar escape) {
  auto plain = [](QChar c) {
    static const QString special = QStringLiteral(".^$*+?()[]{}|\\-");
    return special.contains(c) ? QString('\\') + c : QString(c);
  };
  const qsizetype n = pattern.size();
  QString r = "^";
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = pattern[i];
    if (!escape.isNull() && c == escape && i + 1 < n) {
      r += plain(pattern[++i]);
    } else if (c == '%') {
      r += ".*";
    } else if (c == '_') {
      r += '.';
    } else if (c == '[') {
      // A class runs to the next ']'; one right after '[' or '[^' is a member.
      qsizetype j = i + 1;
      const bool negated = j < n && pattern[j] == '^';
      if (negated) ++j;
      const qsizetype from = j;
      if (j < n && pattern[j] == ']') ++j;
      while (j < n && pattern[j] != ']') ++j;
      if (j >= n) {
        r += plain(c);
        continue;
      }
      r += negated ? "[^" : "[";
      QString accented;
      for (qsizetype k = from; k < j; ++k) {
        const bool range = pattern[k] == '-' && k > from && k + 1 < j;
        if (range) accented += AccentedInRange(pattern[k - 1], pattern[k + 1]);
        r += range ? QString('-') : plain(pattern[k]);
      }
      r += accented + ']';
      i = j;
    } else {
      r += plain(c);
    }
  }
  return r + " *$";  // blanks at the end of the text matched do not count
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
                                   std::vector<QString>& after, std::vector<QString>& replace,
                                   std::vector<bool>& removed) {
  const bool lite = d_ == Dialect::Sqlite;
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
  // One quoted literal, nothing else.
  auto quoted = [&](const Chain* c) -> const Token* {
    if (!c || c->firstSig != c->lastSig || s[sig[c->firstSig]].group) return nullptr;
    const Token& t = s[sig[c->firstSig]].tok;
    return t.kind == TokenKind::String || t.kind == TokenKind::NString ? &t : nullptr;
  };
  auto unquoted = [](const Token& t) {
    const QString body = t.text.mid(t.kind == TokenKind::NString ? 2 : 1);
    return body.left(body.size() - 1).replace("''", "'");
  };
  auto quote = [](QString text) { return "'" + text.replace('\'', "''") + "'"; };
  auto plainColumn = [&](const Chain* c) {
    if (!c || !c->concatNodes.empty()) return false;
    const Node& first = s[sig[c->firstSig]];
    if (first.group) return false;
    const bool ident = first.tok.kind == TokenKind::QuotedId || first.tok.kind == TokenKind::BracketId ||
                       (first.tok.kind == TokenKind::Word && !Keywords().contains(first.tok.text.toLower()));
    return ident && !(c->lastSig > c->firstSig && s[sig[c->lastSig]].group);  // a call is no column
  };
  auto isNull = [&](const Chain* c) {
    return c && c->firstSig == c->lastSig && !s[sig[c->firstSig]].group &&
           IsWord(s[sig[c->firstSig]].tok, "null");
  };
  // A call's name, lower case, when the chain is one call.
  auto callName = [&](const Chain* c) -> QString {
    if (!c || c->lastSig != c->firstSig + 1 || !c->concatNodes.empty() || !s[sig[c->lastSig]].group)
      return {};
    return s[sig[c->firstSig]].tok.text.toLower();
  };
  // Whether a call's value has no blanks at its end: RTRIM(x), TRIM(x), LTRIM(RTRIM(x)).
  auto trimmedAtEnd = [&](const Chain* c) {
    const QString f = callName(c);
    if (f == "rtrim" || f == "trim") return true;
    if (f != "ltrim") return false;
    const Seq& inner = s[sig[c->lastSig]].children;
    const auto isig = SigIndex(inner);
    return isig.size() == 2 && !inner[isig[0]].group && IsWord(inner[isig[0]].tok, "rtrim") &&
           inner[isig[1]].group;
  };
  // Text against a number: the text is converted to the number's type.
  auto integerValued = [&](const Chain* c) {
    const Node& last = s[sig[c->lastSig]];
    if (!last.group && last.tok.kind == TokenKind::Number)
      return c->lastSig - c->firstSig <= 1 && last.tok.text.size() <= 9 && !last.tok.text.contains('.') &&
             !last.tok.text.contains('e', Qt::CaseInsensitive);
    static const QSet<QString> integers = {"len",   "datalength", "charindex", "patindex", "count",
                                           "year",  "month",      "day",       "datediff", "datepart",
                                           "ascii", "unicode",    "isnumeric", "isdate"};
    return integers.contains(callName(c));
  };
  // Only against a number known here: columns compared with columns are as the schema made them.
  // A number other than 0 is nonzero text too.
  auto nonzeroLiteral = [&](const Chain* c) {
    const Node& last = s[sig[c->lastSig]];
    if (last.group || last.tok.kind != TokenKind::Number || c->lastSig - c->firstSig > 1) return false;
    bool ok = false;
    return last.tok.text.toDouble(&ok) != 0 && ok;
  };
  auto convert = [&](const Chain* text, const Chain* number, bool equality = false) {
    if (!lite || !text || !number || isNull(text) || text->type == ValueType::Number ||
        text->type == ValueType::Date || !ColumnFree(s, sig[number->firstSig], sig[number->lastSig]))
      return;
    const bool whole = integerValued(number);
    if (equality && plainColumn(text) && nonzeroLiteral(number)) {
      // Codigo = 7 keeps the column's index: an INTEGER column compares as it is, a text one
      // takes the number's affinity, and text that is no number fails first as the server fails.
      // (Blank text is 0 to the server, never equal to 7: 0 itself goes the other way.)
      const Seq column(s.begin() + sig[text->firstSig], s.begin() + sig[text->lastSig] + 1);
      const int from = std::min(text->firstSig, number->firstSig),
                to = std::max(text->lastSig, number->lastSig);
      before[sig[from]] += (whole ? "(ma_is_int(" : "(ma_is_decimal(") + Trimmed(Emit(column)) + ") AND ";
      before[sig[number->firstSig]] += "CAST(";
      after[sig[number->lastSig]] += whole ? " AS INTEGER)" : " AS REAL)";
      after[sig[to]] += ")";
      return;
    }
    before[sig[text->firstSig]] += whole ? "ma_to_int(" : "ma_to_decimal(";
    after[sig[text->lastSig]] += ")";
  };
  static const char* comparisons[] = {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};

  // ORDER BY and GROUP BY of a text expression: SQLite would order it by code points.
  for (int k = 1; lite && k < count; ++k) {
    const Node& by = s[sig[k]];
    const Node& what = s[sig[k - 1]];
    if (by.group || what.group || !IsWord(by.tok, "by") ||
        !(IsWord(what.tok, "order") || IsWord(what.tok, "group")))
      continue;
    for (int item = k + 1; item < count;) {
      const Chain* c = startingAt(item);
      if (!c) break;
      if (c->type == ValueType::Text && !plainColumn(c)) after[sig[c->lastSig]] += " COLLATE ma_es";
      int next = c->lastSig + 1;
      while (next < count && !s[sig[next]].group &&
             (IsWord(s[sig[next]].tok, "asc") || IsWord(s[sig[next]].tok, "desc")))
        ++next;
      if (next >= count || s[sig[next]].group || !IsPunct(s[sig[next]].tok, ",")) break;
      item = next + 1;
    }
  }
  // A text expression named with AS keeps the collation as a column of a derived table.
  for (const auto& c : chains) {
    const int a = c.lastSig + 1;
    if (lite && a < count && !s[sig[a]].group && IsWord(s[sig[a]].tok, "as") && c.type == ValueType::Text &&
        !plainColumn(&c))
      after[sig[c.lastSig]] += " COLLATE ma_es";
  }
  int setFrom = -1;  // where an UPDATE's SET list begins, until its WHERE
  for (int k = 0; k < count; ++k) {
    const Node& op = s[sig[k]];
    if (op.group) continue;
    if (IsWord(op.tok, "set")) setFrom = k;
    if (IsWord(op.tok, "where") || IsWord(op.tok, "from") || IsPunct(op.tok, ";")) setFrom = -1;
    const bool negated = k > 0 && !s[sig[k - 1]].group && IsWord(s[sig[k - 1]].tok, "not");
    if (IsWord(op.tok, "like")) {
      if (lite) continue;  // the extension's like() reads the server's patterns
      const int left = negated ? k - 2 : k - 1;
      const Chain* pattern = startingAt(k + 1);
      if (left < 0 || !pattern) continue;
      QChar escape;
      const int e = pattern->lastSig + 1;
      const bool escapeClause = e + 1 < count && !s[sig[e]].group && IsWord(s[sig[e]].tok, "escape");
      if (escapeClause && quoted(startingAt(e + 1))) {
        const QString c = unquoted(*quoted(startingAt(e + 1)));
        if (c.size() == 1) escape = c[0];
      }
      after[sig[left]] += " " + SpanishCollation();
      if (const Token* p = quoted(pattern); p && (!escapeClause || !escape.isNull())) {
        // A pattern known here becomes a regular expression: classes and no backslash escape.
        replace[sig[k]] = negated ? QStringLiteral("!~*") : QStringLiteral("~*");
        if (negated) removed[sig[k - 1]] = true;
        replace[sig[pattern->firstSig]] = quote(LikeRegex(unquoted(*p), escape));
        if (escapeClause) removed[sig[e]] = removed[sig[e + 1]] = true;
      } else if (!escapeClause || !escape.isNull()) {
        // A pattern known only when it runs (a parameter, an expression): the schema's
        // function reads it as the server does.
        replace[sig[k]] = negated ? QStringLiteral("!~*") : QStringLiteral("~*");
        if (negated) removed[sig[k - 1]] = true;
        before[sig[pattern->firstSig]] += "('^' || ma_like_regex(";
        after[sig[pattern->lastSig]] += (escape.isNull() ? QString() : ", " + quote(escape)) + ") || ' *$')";
        if (escapeClause) removed[sig[e]] = removed[sig[e + 1]] = true;
      } else {
        replace[sig[k]] = op.tok.text == "like" ? QStringLiteral("ilike") : QStringLiteral("ILIKE");
      }
      continue;
    }
    if (IsWord(op.tok, "in") && k + 1 < count && s[sig[k + 1]].group) {
      const Chain* left = endingAt(negated ? k - 2 : k - 1);
      if (!left) continue;
      const auto items = SplitArgs(s[sig[k + 1]].children);
      bool numbers = !items.empty(), texts = !items.empty(), integers = true;
      for (const auto& item : items) {
        const ValueType t = ExprType(item);
        numbers = numbers && t == ValueType::Number && ColumnFree(item, 0, static_cast<int>(item.size()) - 1);
        texts = texts && t == ValueType::Text && ColumnFree(item, 0, static_cast<int>(item.size()) - 1);
        const auto isig = SigIndex(item);
        integers = integers && !isig.empty() && !item[isig.back()].group &&
                   item[isig.back()].tok.kind == TokenKind::Number &&
                   !item[isig.back()].tok.text.contains('.');
      }
      if (numbers && lite && left->type != ValueType::Number && !isNull(left)) {
        before[sig[left->firstSig]] += integers ? "ma_to_int(" : "ma_to_decimal(";
        after[sig[left->lastSig]] += ")";
      } else if (texts && lite && !plainColumn(left)) {
        after[sig[left->lastSig]] += " COLLATE ma_es";
      } else if (texts && !lite && ColumnFree(s, sig[left->firstSig], sig[left->lastSig])) {
        // No column lends its collation: 'A' IN ('a  ') compared in lower case, blanks at the end dropped.
        QString list;
        for (const auto& item : items) {
          const auto isig = SigIndex(item);
          if (isig.size() != 1 || item[isig[0]].group ||
              (item[isig[0]].tok.kind != TokenKind::String && item[isig[0]].tok.kind != TokenKind::NString)) {
            list.clear();
            break;
          }
          QString text = unquoted(item[isig[0]].tok);
          while (text.endsWith(' ')) text.chop(1);
          list += (list.isEmpty() ? "(LOWER(" : ", LOWER(") + quote(text) + ")";
        }
        if (list.isEmpty()) continue;
        before[sig[left->firstSig]] += "LOWER(RTRIM(";
        after[sig[left->lastSig]] += ")) " + SpanishCollation();
        removed[sig[k + 1]] = true;
        after[sig[k + 1]] += list + ")";
      }
      continue;
    }
    if (IsWord(op.tok, "between")) {
      const Chain* left = endingAt(negated ? k - 2 : k - 1);
      const Chain* low = startingAt(k + 1);
      if (!left || !low) continue;
      const Chain* high = low->lastSig + 2 < count && IsWord(s[sig[low->lastSig + 1]].tok, "and")
                              ? startingAt(low->lastSig + 2)
                              : nullptr;
      if (low->type == ValueType::Number)
        convert(left, low);
      else if (high && high->type == ValueType::Number)
        convert(left, high);
      continue;
    }
    bool comparison = false;
    for (const char* c : comparisons) comparison = comparison || IsPunct(op.tok, c);
    if (!comparison) continue;
    const Chain* l = endingAt(k - 1);
    const Chain* r = startingAt(k + 1);
    if (!l || !r) continue;
    // UPDATE ... SET a = 'x  ', b = 1: assignments, stored exactly as written.
    if (IsPunct(op.tok, "=") && setFrom >= 0 && l->firstSig > setFrom && !s[sig[l->firstSig - 1]].group &&
        (IsWord(s[sig[l->firstSig - 1]].tok, "set") || IsPunct(s[sig[l->firstSig - 1]].tok, ",")))
      continue;
    if ((l->type == ValueType::Number) != (r->type == ValueType::Number)) {
      const bool equal = IsPunct(op.tok, "=");
      if (l->type == ValueType::Number)
        convert(r, l, equal);
      else
        convert(l, r, equal);
      continue;
    }
    if (l->type == ValueType::Date || r->type == ValueType::Date) {
      // A date literal in the server's reading: dd/mm/yyyy, yyyymmdd, yyyy-mm-dd.
      // SQLite keeps a date alone as its first ten characters.
      auto dateAlone = [&](const Chain* c) {
        const QString f = callName(c);
        if (f != "convert" && f != "cast") return false;
        static const QRegularExpression date(R"(^\s*date\s*,|\bas\s+date\s*$)",
                                             QRegularExpression::CaseInsensitiveOption);
        return date.match(Plain(s[sig[c->lastSig]].children)).hasMatch();
      };
      for (const Chain* c : {l, r}) {
        const Token* t = quoted(c);
        const QString iso = t ? IsoDateTime(unquoted(*t)) : QString();
        const bool alone = lite && dateAlone(c == l ? r : l);
        if (!iso.isEmpty()) replace[sig[c->firstSig]] = quote(alone ? iso.left(10) : iso);
      }
      continue;
    }
    const bool equality = IsPunct(op.tok, "=") || IsPunct(op.tok, "<>") || IsPunct(op.tok, "!=");
    if (lite) {
      if (literal(l) && !plainColumn(r))
        after[sig[l->lastSig]] += " COLLATE ma_es";
      else if (literal(r) && !plainColumn(l))
        after[sig[r->lastSig]] += " COLLATE ma_es";
      else if (l->type == ValueType::Text && r->type == ValueType::Text && !plainColumn(l) && !plainColumn(r))
        after[sig[r->lastSig]] += " COLLATE ma_es";
      continue;
    }
    if (equality) {
      // 'x' = 'x   ': the blanks at the end do not count.
      for (const Chain* c : {l, r}) {
        if (const Token* t = quoted(c)) {
          QString text = unquoted(*t);
          const qsizetype escrito = text.size();
          while (text.endsWith(' ')) text.chop(1);
          replace[sig[c->firstSig]] = quote(text);
          // A column compared with text that ended in blanks may hold those blanks
          // too (the suite's own company is all blanks): it loses them as well.
          const Chain* otro = c == l ? r : l;
          if (text.size() != escrito && plainColumn(otro)) {
            before[sig[otro->firstSig]] += "RTRIM(";
            after[sig[otro->lastSig]] += ")";
          }
        } else if (c->type == ValueType::Text && !plainColumn(c) && !literal(c) && !trimmedAtEnd(c)) {
          before[sig[c->firstSig]] += "RTRIM(";
          after[sig[c->lastSig]] += ")";
        }
      }
    }
    const bool columnFree =
        ColumnFree(s, sig[l->firstSig], sig[l->lastSig]) && ColumnFree(s, sig[r->firstSig], sig[r->lastSig]);
    if (columnFree && (quoted(l) || quoted(r))) {
      before[sig[l->firstSig]] += "LOWER(";
      after[sig[l->lastSig]] += ") " + SpanishCollation();
      before[sig[r->firstSig]] += "LOWER(";
      after[sig[r->lastSig]] += ")";
    }
  }
}

}  // namespace ado::sql
