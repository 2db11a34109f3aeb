// The text rules that turn a SQL Server statement into Oracle syntax.
#include <QRegularExpression>

#include "db/TextoSql.h"
#include "db/TraduccionOracle.h"
#include "fuzz/Entrada.h"

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
  const QString r = TraducirAOracle(s);
  // A TOP with anything but a number after it is no statement to keep whole.
  static const QRegularExpression topRaro(QStringLiteral("(^|[^\\w])top\\s+(?!\\d+(\\s|$))"),
                                          QRegularExpression::CaseInsensitiveOption);
  if (!Equilibrada(s) || topRaro.match(MascaraLiterales(s)).hasMatch()) return 0;

  EXIGIR(Equilibrada(r), s + QStringLiteral("\n-> ") + r);
  // Literals are never rewritten; only a date becomes a TO_DATE call, and a
  // comparison with the empty text becomes IS NULL.
  LiteralSql lit;
  for (int desde = 0; SiguienteLiteral(s, desde, lit); desde = lit.fin) {
    QDate f;
    if (lit.contenido.isEmpty() || FechaDeTexto(lit.contenido, f)) continue;
    EXIGIR(r.contains(s.mid(lit.inicio, lit.fin - lit.inicio)), s + QStringLiteral("\n-> ") + r);
  }
  return 0;
}
