// The INI file reader.
#include "fuzz/Entrada.h"
#include "platform/services/ArchivoIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray contenido = entrada::Bytes(datos, largo);
  for (const char* seccion : {"Iconos", "", "[", "HOST|USERBaseDeDatos"})
    for (const char* clave : {"IconoDelSistema", "Servidor", "", "="})
      ValorIni(contenido, QString::fromLatin1(seccion), QString::fromLatin1(clave));

  // Whatever comes before it, a section added at the end is read.
  const QByteArray con = contenido + "\r\n[ZZ_FUZZ_FINAL]\r\nClave = valor \r\n";
  const auto v = ValorIni(con, QStringLiteral("zz_fuzz_final"), QStringLiteral("CLAVE"));
  EXIGIR(v && *v == QLatin1String("valor"), QString::fromLatin1(con.toPercentEncoding()));
  return 0;
}
