#pragma once
// SQL text handling that respects quoted literals: a search or rewrite of
// statement text must never reach inside 'text between apostrophes'.
#include <QString>

// The text as the body of a quoted literal: every "'" doubled.
QString DuplicarApostrofes(const QString& texto);

// A copy of the statement of the same length where every character inside a
// quoted literal (not the delimiting apostrophes) is replaced by U+0001, so
// that searches on the copy only find statement text. A doubled apostrophe
// inside a literal belongs to it; an unterminated literal runs to the end.
QString MascaraLiterales(const QString& sql);

// Case-insensitive position (0-based) of `buscar` outside literals, from `desde`; -1 when absent.
int BuscarFueraDeLiterales(const QString& sql, const QString& buscar, int desde = 0);

// Every case-insensitive occurrence of `buscar` outside literals, from `desde`, becomes `poner`.
QString ReemplazarFueraDeLiterales(const QString& sql, const QString& buscar, const QString& poner,
                                   int desde = 0);

// Position of the word or words `palabra` (case-insensitive) outside literals
// and outside parentheses opened after `desde`, where it starts and ends a
// word; -1 when absent.
int BuscarPalabraExterior(const QString& sql, const QString& palabra, int desde = 0);

// A quoted literal found in a statement: [inicio, fin) covers both apostrophes.
struct LiteralSql {
  int inicio = 0;
  int fin = 0;
  QString contenido;  // with doubled apostrophes made single
};

// The next closed literal at or after `desde`; false when there is none.
bool SiguienteLiteral(const QString& sql, int desde, LiteralSql& literal);
