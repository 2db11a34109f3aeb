// A typed CUIT: whatever the text, the verdict holds together, any number offered
// as right is one, and both agree with a check of this target's own: the check
// digit found the plain way, as the digit that makes the weighted sum of all
// eleven digits a multiple of 11.
#include <optional>

#include "company/rules/Cuit.h"
#include "fuzz/Entrada.h"

namespace {

// The weights of the eleven digits: 5 4 3 2 7 6 5 4 3 2, and 1 for the check digit.
int Peso(int i) { return i < 4 ? 5 - i : i < 10 ? 11 - i : 1; }

// The digit 0-9 that makes "ten digits + it" valid; none when no digit does.
std::optional<int> DigitoQueCierra(const QString& diez) {
  for (int d = 0; d <= 9; ++d) {
    const QString once = diez + QChar(u'0' + d);
    int suma = 0;
    for (int i = 0; i < 11; ++i) suma += Peso(i) * (once.at(i).unicode() - u'0');
    if (suma % 11 == 0) return d;
  }
  return std::nullopt;
}

bool Prefijo(const QString& p) {
  for (const char* v : {"20", "23", "24", "27", "30", "33", "34", "50", "51", "55"})
    if (p == QLatin1String(v)) return true;
  return false;
}

// What AFIP assigns instead when a prefix and body have no check digit.
QString Sustituto(const QString& p) {
  if (p == QLatin1String("20") || p == QLatin1String("24") || p == QLatin1String("27")) return "23";
  if (p == QLatin1String("30") || p == QLatin1String("34")) return "33";
  return {};
}

QString Guiones(const QString& once) { return once.left(2) + '-' + once.mid(2, 8) + '-' + once.mid(10); }

// The verdict of the plain check on a typed text.
Cuit::Analisis Referencia(const QString& x) {
  Cuit::Analisis a;
  for (QChar c : x)
    if (!c.isSpace() && c != u'.' && c != u'-') a.digitos += c;
  if (a.digitos.isEmpty()) return a;
  for (QChar c : a.digitos)
    if (c.unicode() < u'0' || c.unicode() > u'9') {
      a.problema = Cuit::Problema::NoNumerico;
      return a;
    }
  if (a.digitos.size() != 11) {
    a.problema = Cuit::Problema::Largo;
    return a;
  }
  if (!Prefijo(a.digitos.left(2))) {
    a.problema = Cuit::Problema::Prefijo;
    return a;
  }
  const auto d = DigitoQueCierra(a.digitos.left(10));
  a.digitoEsperado = d.value_or(10);
  if (!d) {
    a.problema = Cuit::Problema::SinDigitoValido;
    const QString otro = Sustituto(a.digitos.left(2));
    if (!otro.isEmpty())
      if (const auto e = DigitoQueCierra(otro + a.digitos.mid(2, 8)))
        a.corregido = Guiones(otro + a.digitos.mid(2, 8) + QChar(u'0' + *e));
    return a;
  }
  if (a.digitos.at(10).unicode() - u'0' != *d) {
    a.problema = Cuit::Problema::Digito;
    a.corregido = Guiones(a.digitos.left(10) + QChar(u'0' + *d));
    return a;
  }
  a.problema = Cuit::Problema::Ninguno;
  return a;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString x = entrada::Texto(entrada::Bytes(datos, largo));
  const Cuit::Analisis a = Cuit::Analizar(x);
  const Cuit::Analisis r = Referencia(x);
  EXIGIR(a.problema == r.problema && a.digitos == r.digitos && a.corregido == r.corregido, x);
  if (r.digitoEsperado >= 0) {
    EXIGIR(a.digitoEsperado == r.digitoEsperado, x);
    EXIGIR(Cuit::DigitoVerificador(QStringView(r.digitos).left(10)) == r.digitoEsperado, x);
  }
  const QString mensaje = Cuit::Mensaje(a);
  const bool aceptado = a.problema == Cuit::Problema::Ninguno || a.problema == Cuit::Problema::Vacio;
  EXIGIR(mensaje.isEmpty() == aceptado, x);
  EXIGIR(mensaje.endsWith(QStringLiteral("¿Corregirlo?")) == !a.corregido.isEmpty(), x);
  if (!a.corregido.isEmpty()) EXIGIR(mensaje.contains(a.corregido), x);
  if (a.problema == Cuit::Problema::Ninguno) {
    const QString forma = Cuit::Formatear(a.digitos);
    EXIGIR(forma == Guiones(r.digitos) && Cuit::SoloDigitos(forma) == a.digitos, x);
  }
  return 0;
}
