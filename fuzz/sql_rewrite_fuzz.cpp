// The engine rewriter (SQL Server SQL for SQLite and PostgreSQL) on any text:
// it never crashes, refuses what is nested too deeply instead of reading it
// without bound, keeps its rewriting within its size bound, and never turns a
// well-formed statement into one with unbalanced parentheses, an unclosed quote,
// a comment that was not there (one that would swallow the text after it) or two
// literals merged into one. Statements are read by a small lexer of its own,
// not the rewriter's tokenizer, so that a fault the two shared would not pass.
#include <QSet>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/client/rewrite/EngineRewrite.h"
#include "platform/client/rewrite/SqlTree.h"

namespace {

struct Shape {
  bool wellFormed = true;  // quotes and block comments closed, parentheses balanced
  QSet<QString> comments;
  QSet<int> quotesInLiterals;  // how many quotes each literal holds ('' counts one)
};

// SQL Server's lexical rules, as far as the properties need them: '...' and "..."
// and [...] with their closing character doubled inside, -- to the line's end,
// /* to */, and parentheses outside all of those.
Shape ShapeOf(const QString& sql) {
  Shape r;
  r.quotesInLiterals.insert(0);
  int depth = 0;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  // Past the closing character from i (just after the opening one); false when there is none.
  auto closeAt = [&](QChar close, int* doubled) {
    while (i < n) {
      if (sql[i] != close) {
        ++i;
      } else if (i + 1 < n && sql[i + 1] == close) {
        i += 2;
        if (doubled) ++*doubled;
      } else {
        ++i;
        return true;
      }
    }
    return false;
  };
  while (i < n) {
    const QChar c = sql[i];
    const QChar next = i + 1 < n ? sql[i + 1] : QChar();
    if (c == '-' && next == '-') {
      const qsizetype from = i;
      while (i < n && sql[i] != '\n') ++i;
      r.comments.insert(sql.mid(from, i - from));
    } else if (c == '/' && next == '*') {
      const qsizetype end = sql.indexOf("*/", i + 2);
      if (end < 0) {
        r.wellFormed = false;
        r.comments.insert(sql.mid(i));
        break;
      }
      r.comments.insert(sql.mid(i, end + 2 - i));
      i = end + 2;
    } else if (c == '\'' || c == '"' || c == '[') {
      ++i;
      int doubled = 0;
      if (!closeAt(c == '[' ? QChar(']') : c, &doubled)) r.wellFormed = false;
      if (c == '\'') r.quotesInLiterals.insert(doubled);
    } else {
      if (c == '(') ++depth;
      if (c == ')' && --depth < 0) r.wellFormed = false;
      ++i;
    }
  }
  if (depth != 0) r.wellFormed = false;
  return r;
}

[[noreturn]] void Fail(const char* property, const QString& in, const QString& out) {
  std::fprintf(stderr, "Property does not hold: %s\n%s\n-> %s\n", property, in.toUtf8().constData(),
               out.toUtf8().constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString in = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Shape before = ShapeOf(in);
  for (const auto dialect : {ado::Dialect::Sqlite, ado::Dialect::Postgres}) {
    QString out;
    try {
      // As on a database that has the collation ma_es, so that the rules that add it run too.
      out = ado::sql::Rewrite(in, dialect, [] { return true; });
    } catch (const ado::sql::NestingTooDeep&) {
      continue;
    }
    // Rewritings repeat some arguments; they never grow past this, however nested.
    if (out.size() > 16 * in.size() + 65536) Fail("the rewriting stays within its size bound", in, out);
    if (!before.wellFormed) continue;
    const Shape after = ShapeOf(out);
    if (!after.wellFormed) Fail("the rewriting is as well formed as the statement", in, out);
    for (const QString& c : after.comments)
      if (!before.comments.contains(c)) Fail("no comment that was not in the statement", in, out);
    // Two literals glued into one hold a quote that neither held.
    for (int q : after.quotesInLiterals)
      if (!before.quotesInLiterals.contains(q)) Fail("no literals merged into one", in, out);
  }
  return 0;
}
