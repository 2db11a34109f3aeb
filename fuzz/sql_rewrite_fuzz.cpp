// The engine rewriter (SQL Server SQL for SQLite and PostgreSQL) on any text:
// it never crashes, refuses what is nested too deeply instead of reading it
// without bound, and never turns a well-formed statement into one with
// unbalanced parentheses, an unclosed quote, a comment that was not there
// (one that would swallow the text after it) or two literals merged into one.
#include <QSet>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/client/rewrite/EngineRewrite.h"
#include "platform/client/rewrite/SqlTree.h"

namespace {

using ado::sql::Token;
using ado::sql::TokenKind;

struct Shape {
  bool wellFormed = true;  // quotes and block comments closed, parentheses balanced
  QSet<QString> comments;
  QSet<QString> literals;  // N'x' as 'x', as the rewriting writes it
};

bool Closed(const Token& t) {
  const QString& s = t.text;
  if (t.kind == TokenKind::Comment) return !s.startsWith("/*") || (s.size() >= 4 && s.endsWith("*/"));
  QChar close;
  qsizetype i = 1;
  switch (t.kind) {
    case TokenKind::NString:
      i = 2;
      [[fallthrough]];
    case TokenKind::String:
      close = '\'';
      break;
    case TokenKind::QuotedId:
      close = '"';
      break;
    case TokenKind::BracketId:
      close = ']';
      break;
    default:
      return true;
  }
  // A doubled closing character stands for itself; the first single one closes.
  while (i < s.size()) {
    if (s[i] != close) {
      ++i;
    } else if (i + 1 < s.size() && s[i + 1] == close) {
      i += 2;
    } else {
      return i == s.size() - 1;
    }
  }
  return false;
}

Shape ShapeOf(const QString& sql) {
  Shape r;
  int depth = 0;
  for (const Token& t : ado::sql::Tokenize(sql)) {
    if (!Closed(t)) r.wellFormed = false;
    if (t.kind == TokenKind::Comment) r.comments.insert(t.text);
    if (t.kind == TokenKind::String) r.literals.insert(t.text);
    if (t.kind == TokenKind::NString) r.literals.insert(t.text.mid(1));
    if (t.kind == TokenKind::Punct && t.text == "(") ++depth;
    if (t.kind == TokenKind::Punct && t.text == ")" && --depth < 0) r.wellFormed = false;
  }
  return r.wellFormed && depth == 0 ? r : Shape{false, r.comments, r.literals};
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
      out = ado::sql::Rewrite(in, dialect);
    } catch (const ado::sql::NestingTooDeep&) {
      continue;
    }
    if (!before.wellFormed) continue;
    const Shape after = ShapeOf(out);
    if (!after.wellFormed) Fail("the rewriting is as well formed as the statement", in, out);
    for (const QString& c : after.comments)
      if (!before.comments.contains(c)) Fail("no comment that was not in the statement", in, out);
    for (const QString& l : after.literals)
      if (!before.literals.contains(l) && l.mid(1, l.size() - 2).contains('\''))
        Fail("no literals merged into one", in, out);
  }
  return 0;
}
