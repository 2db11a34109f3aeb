// The text rules that turn a SQL Server statement into Oracle syntax.
#include <QRegularExpression>

#include "db/TextoSql.h"
#include "db/TraduccionOracle.h"
#include "fuzz/Entrada.h"
#include "platform/core/Error.h"
#include "platform/services/FechaTecleada.h"

namespace {

// Literals all closed and parentheses outside them balanced.
bool Equilibrada(const QString& s) {
  const QString m = MascaraLiterales(s);
  int nivel = 0;
  bool dentro = false;
  for (QChar c : m) {
    if (c == QLatin1Char('\'')) dentro = !dentro;
    if (dentro) continue;
    if (c == QLatin1Char('(')) ++nivel;
    if (c == QLatin1Char(')') && --nivel < 0) return false;
  }
  return nivel == 0 && !dentro;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString s = entrada::Texto(entrada::Bytes(datos, largo));
  QString r;
  bool rechazada = false;
  try {
    r = TraducirAOracle(s);
  } catch (const ado::Failure&) {
    rechazada = true;
  }
  if (!Equilibrada(s)) return 0;
  // A TOP followed (after blanks of any script) by anything but plain digits,
  // or by digits and then PERCENT or WITH; a parenthesised operand is read by the
  // translation, so it is only refused here when what follows it is. A word
  // "top" that is no TOP (the keyword is reserved) makes no statement either.
  static const QRegularExpression topRaro(
      QStringLiteral("(^|[^\\w])top(\\s|\\()(?!\\s*+[0-9]++(?![\\w.'])\\s*+(?!(percent|with)(\\W|$)))"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  static const QRegularExpression topNombre(
      QStringLiteral("(^|[^\\w])top(?![\\w\\s(])"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  static const QRegularExpression topParentesis(
      QStringLiteral("(^|[^\\w])top\\s*+\\([^()]*\\)\\s*+(percent|with)(\\W|$)"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
  const QString mascara = MascaraLiterales(s);
  const bool raro = topRaro.match(mascara).hasMatch() || topNombre.match(mascara).hasMatch() ||
                    topParentesis.match(mascara).hasMatch();
  if (rechazada) {
    EXIGIR(raro, QStringLiteral("refused: ") + s);
    return 0;
  }

  EXIGIR(Equilibrada(r), s + QStringLiteral("\n-> ") + r);
  // Literals are never rewritten; only a date becomes a TO_DATE call, and a
  // comparison with the empty text becomes IS NULL.
  LiteralSql lit;
  for (int desde = 0; SiguienteLiteral(s, desde, lit); desde = lit.fin) {
    QDate f;
    if (lit.contenido.isEmpty() || FechaDeTexto(lit.contenido, f)) continue;
    EXIGIR(r.contains(s.mid(lit.inicio, lit.fin - lit.inicio)), s + QStringLiteral("\n-> ") + r);
  }
  // When every word "top" is a TOP, none is left, and the text translated is its
  // own translation: a statement that passes twice (a caller's and the
  // connection's) is sent the same.
  const auto tops = [](const QString& t, const char* patron) {
    int n = 0;
    for (auto it = QRegularExpression(QString::fromLatin1(patron),
                                      QRegularExpression::CaseInsensitiveOption |
                                          QRegularExpression::UseUnicodePropertiesOption)
                       .globalMatch(MascaraLiterales(t));
         it.hasNext(); it.next())
      ++n;
    return n;
  };
  if (tops(s, "(^|[^\\w])top(?!\\w)") != tops(s, "(^|[^\\w])top(\\s|\\()")) return 0;
  EXIGIR(tops(r, "(^|[^\\w])top(\\s|\\()") == 0, s + QStringLiteral("\n-> ") + r);
  QString otra;
  try {
    otra = TraducirAOracle(r);
  } catch (const ado::Failure&) {
    otra = QStringLiteral("(rechazada)");
  }
  EXIGIR(otra == r, s + QStringLiteral("\n-> ") + r + QStringLiteral("\n-> ") + otra);
  return 0;
}
