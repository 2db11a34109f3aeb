#pragma once
// The tokens of a SQL Server statement, for the engine rewriter and for the
// statement inspection of the client. String literals and comments are one token each.
#include <QString>
#include <vector>

namespace ado::sql {

enum class TokenKind { Space, Comment, Word, Number, String, NString, QuotedId, BracketId, Punct };

struct Token {
  TokenKind kind;
  QString text;
};

std::vector<Token> Tokenize(const QString& sql);

bool IsWordStart(QChar c);
bool IsWordChar(QChar c);
bool Is(const Token& t, TokenKind k, const char* text);
inline bool IsWord(const Token& t, const char* w) { return Is(t, TokenKind::Word, w); }
inline bool IsPunct(const Token& t, const char* p) { return Is(t, TokenKind::Punct, p); }

// The name inside [brackets] or "quotes"; *quoted tells whether it was quoted.
QString Unquote(const Token& t, bool* quoted = nullptr);

}  // namespace ado::sql
