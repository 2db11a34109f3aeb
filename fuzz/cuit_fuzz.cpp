// A typed CUIT: whatever the text, the verdict holds together and any number
// offered as right is one.
#include "company/Cuit.h"
#include "fuzz/Entrada.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString x = entrada::Texto(entrada::Bytes(datos, largo));
  const Cuit::Analisis a = Cuit::Analizar(x);
  const QString mensaje = Cuit::Mensaje(a);
  const bool aceptado = a.problema == Cuit::Problema::Ninguno || a.problema == Cuit::Problema::Vacio;
  EXIGIR(mensaje.isEmpty() == aceptado, x);
  EXIGIR(a.digitos.size() <= x.size(), x);
  EXIGIR((a.problema == Cuit::Problema::Vacio) == a.digitos.isEmpty(), x);
  EXIGIR(mensaje.endsWith(QStringLiteral("¿Corregirlo?")) == !a.corregido.isEmpty(), x);
  if (a.problema == Cuit::Problema::Ninguno) {
    const QString forma = Cuit::Formatear(a.digitos);
    EXIGIR(forma.size() == 13 && Cuit::SoloDigitos(forma) == a.digitos, x);
    EXIGIR(Cuit::Analizar(forma).problema == Cuit::Problema::Ninguno, x);
  }
  if (!a.corregido.isEmpty()) {
    const Cuit::Analisis c = Cuit::Analizar(a.corregido);
    EXIGIR(c.problema == Cuit::Problema::Ninguno && Cuit::Formatear(c.digitos) == a.corregido, x);
    // Only the check digit, or the prefix when no digit could do, is changed.
    EXIGIR(c.digitos.mid(2, 8) == a.digitos.mid(2, 8), x);
  }
  return 0;
}
