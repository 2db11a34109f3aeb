#include "company/rules/Cuit.h"

#include <array>

namespace Cuit {
namespace {

bool Ignorado(QChar c) { return c.isSpace() || c == QLatin1Char('.') || c == QLatin1Char('-'); }
// Only ASCII digits: other scripts' digits are not a CUIT's.
bool Digito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The prefix AFIP assigns instead when the body gives no check digit: 23 for
// persons, 33 for companies; none for the other groups.
QString PrefijoSustituto(QStringView prefijo) {
  static const QStringList personas{QStringLiteral("20"), QStringLiteral("24"), QStringLiteral("27")};
  static const QStringList empresas{QStringLiteral("30"), QStringLiteral("34")};
  if (personas.contains(prefijo)) return QStringLiteral("23");
  if (empresas.contains(prefijo)) return QStringLiteral("33");
  return {};
}

}  // namespace

const QStringList& Prefijos() {
  static const QStringList p{
      // persons
      QStringLiteral("20"), QStringLiteral("23"), QStringLiteral("24"), QStringLiteral("27"),
      // companies
      QStringLiteral("30"), QStringLiteral("33"), QStringLiteral("34"),
      // others AFIP assigns (foreign and international)
      QStringLiteral("50"), QStringLiteral("51"), QStringLiteral("55")};
  return p;
}

bool PrefijoConocido(QStringView dosDigitos) { return Prefijos().contains(dosDigitos); }

int DigitoVerificador(QStringView diezDigitos) {
  static constexpr std::array<int, 10> pesos{5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  int suma = 0;
  for (int i = 0; i < 10; ++i) suma += pesos[i] * (diezDigitos[i].unicode() - '0');
  const int r = 11 - suma % 11;
  return r == 11 ? 0 : r;
}

QString SoloDigitos(const QString& texto) {
  QString d;
  for (QChar c : texto)
    if (Digito(c)) d += c;
  return d;
}

Analisis Analizar(const QString& texto) {
  Analisis a;
  for (QChar c : texto)
    if (!Ignorado(c)) a.digitos += c;
  if (a.digitos.isEmpty()) return a;
  for (QChar c : a.digitos) {
    if (!Digito(c)) {
      a.problema = Problema::NoNumerico;
      return a;
    }
  }
  if (a.digitos.size() != 11) {
    a.problema = Problema::Largo;
    return a;
  }
  const QStringView prefijo = QStringView(a.digitos).left(2);
  if (!PrefijoConocido(prefijo)) {
    a.problema = Problema::Prefijo;
    return a;
  }
  const QStringView cuerpo = QStringView(a.digitos).mid(2, 8);
  a.digitoEsperado = DigitoVerificador(QStringView(a.digitos).left(10));
  if (a.digitoEsperado == 10) {
    a.problema = Problema::SinDigitoValido;
    const QString otro = PrefijoSustituto(prefijo);
    if (!otro.isEmpty()) {
      const QString diez = otro + cuerpo.toString();
      const int d = DigitoVerificador(diez);
      if (d != 10) a.corregido = Formatear(diez + QString::number(d));
    }
    return a;
  }
  if (a.digitos.back().unicode() - '0' != a.digitoEsperado) {
    a.problema = Problema::Digito;
    a.corregido = Formatear(a.digitos.left(10) + QString::number(a.digitoEsperado));
    return a;
  }
  a.problema = Problema::Ninguno;
  return a;
}

QString Formatear(const QString& onceDigitos) {
  return onceDigitos.left(2) + QLatin1Char('-') + onceDigitos.mid(2, 8) + QLatin1Char('-') +
         onceDigitos.mid(10, 1);
}

QString Mensaje(const Analisis& a) {
  const QString corregir = QStringLiteral("¿Corregirlo?");
  switch (a.problema) {
    case Problema::Ninguno:
    case Problema::Vacio:
      return {};
    case Problema::NoNumerico:
      return QStringLiteral("El CUIT sólo puede tener dígitos, blancos, puntos y guiones.");
    case Problema::Largo:
      return QStringLiteral("El CUIT debe tener 11 dígitos y tiene %1.").arg(a.digitos.size());
    case Problema::Prefijo: {
      QStringList p = Prefijos();
      const QString ultimo = p.takeLast();
      return QStringLiteral("El CUIT no puede empezar con %1: los prefijos válidos son %2 y %3.")
          .arg(a.digitos.left(2), p.join(QStringLiteral(", ")), ultimo);
    }
    case Problema::Digito:
      return QStringLiteral("El dígito verificador debería ser %1: %2. %3")
          .arg(QString::number(a.digitoEsperado), a.corregido, corregir);
    case Problema::SinDigitoValido: {
      const QString base =
          QStringLiteral("Con el prefijo %1 y ese número no existe un CUIT válido").arg(a.digitos.left(2));
      if (a.corregido.isEmpty()) return base + QLatin1Char('.');
      return base + QStringLiteral(": AFIP asigna %1. %2").arg(a.corregido, corregir);
    }
  }
  return {};
}

}  // namespace Cuit
