#include "platform/client/rewrite/SqlTokenizer.h"

namespace ado::sql {

bool IsWordStart(QChar c) { return c.isLetter() || c == '_' || c == '@' || c == '#'; }
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '@' || c == '#' || c == '$'; }

bool Is(const Token& t, TokenKind k, const char* text) {
  return t.kind == k && t.text.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}

QString Unquote(const Token& t, bool* quoted) {
  if (quoted) *quoted = false;
  if (t.kind == TokenKind::BracketId) {
    if (quoted) *quoted = true;
    return t.text.mid(1, t.text.size() - 2).replace("]]", "]");
  }
  if (t.kind == TokenKind::QuotedId) {
    if (quoted) *quoted = true;
    return t.text.mid(1, t.text.size() - 2).replace("\"\"", "\"");
  }
  return t.text;
}

std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> out;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  auto push = [&](TokenKind k, qsizetype from, qsizetype to) {
    out.push_back({k, sql.mid(from, to - from)});
  };
  // Moves past the closing character; a doubled one stands for itself.
  auto skipQuoted = [&](QChar close) {
    while (i < n) {
      if (sql[i] == close) {
        if (i + 1 < n && sql[i + 1] == close) {
          i += 2;
          continue;
        }
        ++i;
        return;
      }
      ++i;
    }
  };
  while (i < n) {
    const QChar c = sql[i];
    const qsizetype start = i;
    if (c.isSpace()) {
      while (i < n && sql[i].isSpace()) ++i;
      push(TokenKind::Space, start, i);
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
      push(TokenKind::Comment, start, i);
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const qsizetype end = sql.indexOf("*/", i + 2);
      i = end < 0 ? n : end + 2;
      push(TokenKind::Comment, start, i);
    } else if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < n && sql[i + 1] == '\'')) {
      const bool national = c != '\'';
      i += national ? 2 : 1;
      skipQuoted('\'');
      push(national ? TokenKind::NString : TokenKind::String, start, i);
    } else if (c == '"') {
      ++i;
      skipQuoted('"');
      push(TokenKind::QuotedId, start, i);
    } else if (c == '[') {
      ++i;
      skipQuoted(']');
      push(TokenKind::BracketId, start, i);
    } else if (c.isDigit() || (c == '.' && i + 1 < n && sql[i + 1].isDigit())) {
      while (i < n && (sql[i].isDigit() || sql[i] == '.')) ++i;
      if (i < n && (sql[i] == 'e' || sql[i] == 'E') && i + 1 < n &&
          (sql[i + 1].isDigit() ||
           ((sql[i + 1] == '+' || sql[i + 1] == '-') && i + 2 < n && sql[i + 2].isDigit()))) {
        i += 2;
        while (i < n && sql[i].isDigit()) ++i;
      }
      push(TokenKind::Number, start, i);
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(sql[i])) ++i;
      push(TokenKind::Word, start, i);
    } else {
      static const char* two[] = {"<=", ">=", "<>", "!=", "||", "::", "!<", "!>"};
      bool done = false;
      for (const char* op : two) {
        if (i + 1 < n && sql[i] == QLatin1Char(op[0]) && sql[i + 1] == QLatin1Char(op[1])) {
          i += 2;
          done = true;
          break;
        }
      }
      if (!done) ++i;
      push(TokenKind::Punct, start, i);
    }
  }
  return out;
}

}  // namespace ado::sql
