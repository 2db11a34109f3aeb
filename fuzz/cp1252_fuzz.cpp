// The single-byte code page of the suite's files.
#include "fuzz/Entrada.h"
#include "platform/services/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray bytes = entrada::Bytes(datos, largo);
  // Every byte comes back: rewriting a file never changes what it did not touch.
  const QString texto = DesdeCp1252(bytes);
  EXIGIR(texto.size() == bytes.size(), texto);
  EXIGIR(HaciaCp1252(texto) == bytes, QString::fromLatin1(bytes.toPercentEncoding()));

  // Any text becomes one byte per character, and what the code page holds round-trips.
  const QString cualquiera = entrada::Texto(bytes);
  const QByteArray escrito = HaciaCp1252(cualquiera);
  EXIGIR(escrito.size() == cualquiera.toUcs4().size(), cualquiera);
  EXIGIR(HaciaCp1252(DesdeCp1252(escrito)) == escrito, cualquiera);
  return 0;
}
