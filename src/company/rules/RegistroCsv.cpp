#include "company/rules/RegistroCsv.h"

namespace {

// A spreadsheet takes a cell that begins with one of these for a formula and
// runs it: a company name must open as the text it is.
bool PareceFormula(const QString& texto) {
  static const QString inicios = QStringLiteral("=+-@\t\r");
  return !texto.isEmpty() && inicios.contains(texto.front());
}

}  // namespace

QString CampoCsv(const QString& valor) {
  static const QString especiales = QStringLiteral(",\"\r\n");
  const QString texto = PareceFormula(valor) ? QLatin1Char('\'') + valor : valor;
  bool citar = texto.trimmed() != texto;
  for (const QChar c : texto) citar = citar || especiales.contains(c);
  if (!citar) return texto;
  QString t = texto;
  t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + t + QLatin1Char('"');
}

QString RegistroCsv(const QStringList& campos) {
  QStringList c;
  c.reserve(campos.size());
  for (const QString& s : campos) c << CampoCsv(s);
  return c.join(QLatin1Char(','));
}
