// ODBC connection strings: parsing, translation and password masking.
#include "fuzz/Entrada.h"
#include "platform/client/ConnectionString.h"

using namespace ado::cs;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QString texto = entrada::Texto(entrada::Bytes(datos, largo));
  Environment env;
  env.dataSource = [](const QString& nombre, QString* driver) {
    if (nombre.compare(QLatin1String("MA_PG_TEST"), Qt::CaseInsensitive) != 0) return false;
    if (driver) *driver = QStringLiteral("PostgreSQL Unicode");
    return true;
  };
  Translate(texto, QString(), QString(), env);
  MaskPasswords(texto);

  // Any value, quoted as the client quotes it, is read back as it was and is
  // never shown by the masking.
  const QString v = entrada::Partes(texto, 2)[0];
  const QString cadena = QStringLiteral("UID=u;PWD=") + QuoteValue(v) + QStringLiteral(";Server=s;");
  const Pairs pares = Parse(cadena);
  EXIGIR(pares.size() == 3 && pares[1].second == v && pares[2].second == QLatin1String("s"), cadena);
  if (!v.trimmed().isEmpty()) {
    const QString oculta = MaskPasswords(cadena);
    EXIGIR(oculta == QLatin1String("UID=u;PWD=****;Server=s;"), cadena + QStringLiteral(" -> ") + oculta);
  }
  // The translated string of a login keeps the password for the driver, quoted.
  const Target t = Translate(QStringLiteral("PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =ma;UId=u;Pwd=;"),
                             QStringLiteral("u"), v, env);
  bool hay = false;
  const QString dada = Find(Parse(t.odbc), {QStringLiteral("pwd")}, &hay);
  EXIGIR(v.isEmpty() || (hay && dada == v), t.odbc);
  return 0;
}
