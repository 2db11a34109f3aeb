// The encoding of stored credentials.
#include "fuzz/Entrada.h"
#include "platform/services/Utilidades.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  Utilidades u;
  const QString x = entrada::Texto(entrada::Bytes(datos, largo));
  const QString e = u.Encriptar(x);
  // It can stand as an INI value: printable ASCII, no ";" and no line break.
  for (QChar c : e)
    EXIGIR(c.unicode() >= 0x21 && c.unicode() < 0x7F && c != QLatin1Char(';'),
           x + QStringLiteral(" -> ") + e);
  EXIGIR(u.Desencriptar(e) == x, x + QStringLiteral(" -> ") + e + QStringLiteral(" -> ") + u.Desencriptar(e));
  u.Desencriptar(x);
  return 0;
}
