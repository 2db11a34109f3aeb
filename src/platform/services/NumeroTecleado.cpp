#include "platform/services/NumeroTecleado.h"

#include <cmath>

namespace numero {
namespace {

bool Cifra(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

}  // namespace

Convencion Convencion::De(const QLocale& idioma) {
  Convencion c;
  const QString d = idioma.decimalPoint();
  const QString g = idioma.groupSeparator();
  if (d.size() == 1) c.decimal = d.at(0);
  if (g.size() == 1 && g.at(0) != c.decimal) c.grupo = g.at(0);
  return c;
}

QString Decimal::Plano() const { return Escrito(Convencion{}); }

QString Decimal::Escrito(const Convencion& c) const {
  QString r = enteros.isEmpty() ? QStringLiteral("0") : enteros;
  if (!decimales.isEmpty()) r += c.decimal + decimales;
  if (negativo) r.prepend(QLatin1Char('-'));
  return r;
}

int Decimal::CifrasSignificativas() const {
  if (!enteros.isEmpty()) return static_cast<int>(enteros.size() + decimales.size());
  int ceros = 0;
  while (ceros < decimales.size() && decimales.at(ceros) == QLatin1Char('0')) ++ceros;
  return static_cast<int>(decimales.size() - ceros);
}

std::optional<Decimal> Leer(QStringView texto, const Convencion& c) {
  const QStringView t = texto.trimmed();
  qsizetype i = 0;
  const qsizetype n = t.size();
  Decimal d;
  if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
    d.negativo = t[i++] == QLatin1Char('-');
  // Integer part: plain digits, or groups of three after a first one of one to three.
  int enGrupo = 0;  // digits since the start or the last group separator
  bool agrupado = false;
  QString enteros;
  for (; i < n; ++i) {
    const QChar ch = t[i];
    if (Cifra(ch)) {
      enteros += ch;
      ++enGrupo;
      if (agrupado && enGrupo > 3) return std::nullopt;
    } else if (!c.grupo.isNull() && ch == c.grupo) {
      // "0,500" is no grouping of five hundred but a decimal typed with the wrong key.
      if (enGrupo == 0 || enGrupo > 3 || (agrupado && enGrupo != 3) || enteros.startsWith(QLatin1Char('0')))
        return std::nullopt;
      agrupado = true;
      enGrupo = 0;
    } else {
      break;
    }
  }
  if (agrupado && enGrupo != 3) return std::nullopt;
  QString decimales;
  if (i < n && t[i] == c.decimal) {
    for (++i; i < n && Cifra(t[i]); ++i) decimales += t[i];
  }
  if (i != n || (enteros.isEmpty() && decimales.isEmpty())) return std::nullopt;
  qsizetype ceros = 0;
  while (ceros < enteros.size() && enteros.at(ceros) == QLatin1Char('0')) ++ceros;
  d.enteros = enteros.mid(ceros);
  while (decimales.endsWith(QLatin1Char('0'))) decimales.chop(1);
  d.decimales = decimales;
  if (d.enteros.isEmpty() && d.decimales.isEmpty()) d.negativo = false;
  return d;
}

std::optional<Decimal> LeerPlano(QStringView texto) { return Leer(texto, Convencion{}); }

Decimal DeDouble(double valor) {
  if (!std::isfinite(valor)) return {};
  // Never an exponent: the shortest digits that read back as this double.
  return *LeerPlano(QString::number(valor, 'f', QLocale::FloatingPointShortest));
}

QString Ejemplo(const Convencion& c, int decimales) {
  QString r = QStringLiteral("1");
  if (!c.grupo.isNull()) r += c.grupo;
  r += QStringLiteral("234");
  if (decimales > 0)
    r += c.decimal + QStringLiteral("5678").left(decimales).leftJustified(decimales, QLatin1Char('0'));
  return r;
}

}  // namespace numero
