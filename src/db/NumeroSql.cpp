#include "db/NumeroSql.h"

#include <cmath>

#include "platform/services/Utilidades.h"

double NumeroInicial(const QString& texto) {
  // Blanks, tabs and line breaks anywhere are skipped, as the suite's own
  // leading-number parse does ("1 234" reads 1234).
  QString s;
  s.reserve(texto.size());
  for (QChar c : texto)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
      s += c;

  int i = 0;
  const int n = s.size();
  auto digito = [&](int k) { return k < n && s[k] >= QLatin1Char('0') && s[k] <= QLatin1Char('9'); };
  if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) ++i;
  const int inicioDigitos = i;
  while (digito(i)) ++i;
  bool hayDigitos = i > inicioDigitos;
  if (i < n && s[i] == QLatin1Char('.')) {
    int j = i + 1;
    while (digito(j)) ++j;
    hayDigitos = hayDigitos || j > i + 1;
    i = j;
  }
  if (!hayDigitos) return 0;
  int fin = i;
  if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
    int j = i + 1;
    if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) ++j;
    const int k = j;
    while (digito(j)) ++j;
    if (j > k) fin = j;
  }
  bool ok = false;
  const double v = s.left(fin).toDouble(&ok);
  return ok && std::isfinite(v) ? v : 0;
}

QString NumeroSql(double valor) { return Utilidades::TextoDecimal(valor, QStringLiteral(".")); }
