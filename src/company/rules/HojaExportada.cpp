#include "company/rules/HojaExportada.h"

#include <cmath>

#include "platform/client/ValueConvert.h"

namespace {

// Excel, and the spreadsheets that read its files, keep 15 significant digits.
constexpr int kCifrasDePlanilla = 15;

int CifrasSignificativas(double d) {
  const QString e = QString::number(d, 'e', QLocale::FloatingPointShortest);
  int cifras = 0;
  for (const QChar c : e) {
    if (c == QLatin1Char('e')) break;
    if (c.isDigit()) ++cifras;
  }
  return cifras;
}

QString TextoDeFecha(const QDateTime& f, bool conHora) {
  return f.toString(conHora ? QStringLiteral("dd/MM/yyyy HH:mm:ss") : QStringLiteral("dd/MM/yyyy"));
}

Celda Fecha(const QDateTime& f) {
  Celda c;
  if (!f.isValid()) return c;
  c.conHora = f.time() != QTime(0, 0);
  c.texto = TextoDeFecha(f, c.conHora);
  // A spreadsheet's dates begin in 1900: an earlier one stays a text.
  c.clase = f.date().year() >= 1900 ? Celda::Clase::Fecha : Celda::Clase::Texto;
  c.fecha = f;
  return c;
}

Celda Numero(double d, const QString& texto) {
  Celda c;
  c.texto = texto;
  if (std::isfinite(d) && CifrasSignificativas(d) <= kCifrasDePlanilla) {
    c.clase = Celda::Clase::Numero;
    c.numero = d;
  } else {
    c.clase = Celda::Clase::Texto;
    c.numeroComoTexto = true;
  }
  return c;
}

// A whole number up to 15 digits is held exactly; a longer one would be
// shown, and kept, rounded.
template <class Entero>
Celda EnteroDe(Entero n) {
  constexpr double kLimite = 1e15;
  Celda c = Numero(static_cast<double>(n), QString::number(n));
  if (c.clase == Celda::Clase::Numero && std::fabs(c.numero) >= kLimite) {
    c.clase = Celda::Clase::Texto;
    c.numeroComoTexto = true;
  }
  return c;
}

}  // namespace

Celda CeldaDe(const ado::Value& v, bool columnaNumerica) {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {};
  switch (v.typeId()) {
    case QMetaType::Bool: {
      Celda c;
      c.clase = Celda::Clase::Logico;
      c.numero = v.toBool() ? 1 : 0;
      c.texto = v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
      return c;
    }
    case QMetaType::QDate:
      return Fecha(QDateTime(v.toDate(), QTime(0, 0)));
    case QMetaType::QDateTime:
      return Fecha(v.toDateTime());
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = v.toDouble();
      return Numero(d, QString::number(d, 'f', QLocale::FloatingPointShortest));
    }
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UInt: {
      return EnteroDe(v.toULongLong());
    }
    default:
      break;
  }
  if (ado::IsNumber(v)) return EnteroDe(v.toLongLong());
  Celda c;
  c.clase = Celda::Clase::Texto;
  c.texto = v.toString();
  // An exact number beyond a double's digits comes as its text; anything
  // else an engine without types let into a number column stays a text.
  if (columnaNumerica) {
    if (const auto digitos = ado::convert::ExactText(c.texto)) {
      c.texto = *digitos;
      c.numeroComoTexto = true;
    }
  }
  return c;
}
