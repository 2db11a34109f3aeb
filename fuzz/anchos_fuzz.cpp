// The column-widths file (CONSULTASLEN.VMT): reading, and rewriting one table's line.
#include <cmath>

#include "fuzz/Entrada.h"
#include "lookup/AnchosConsulta.h"
#include "platform/services/Cp1252.h"

namespace {

QStringList Tablas(const QByteArray& contenido) {
  QStringList t;
  for (QString linea : DesdeCp1252(contenido).split(QLatin1Char('\n'))) {
    if (linea.endsWith(QLatin1Char('\r'))) linea.chop(1);
    const QStringList c = anchos::CamposDeLinea(linea);
    if (c.size() >= 2) t << c[0];
  }
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  // The table's name, a NUL, then the file.
  const QByteArray bytes = entrada::Bytes(datos, largo);
  const int nul = bytes.indexOf('\0');
  const QString tabla = nul < 0 ? QString() : DesdeCp1252(bytes.left(nul));
  const QByteArray contenido = nul < 0 ? bytes : bytes.mid(nul + 1);

  for (const QVector<double>& linea : anchos::LeerDe(contenido, tabla))
    for (double a : linea) EXIGIR(std::isfinite(a) && a >= 0 && a <= anchos::kAnchoMaximo, tabla);

  // Rewriting the table's line: it reads back as written, and every other
  // table reads as it did.
  const QVector<double> nuevos{1440, 2000.5, 0, 1e20};
  const QByteArray nuevo = anchos::Reescribir(contenido, tabla, nuevos);
  const auto propias = anchos::LeerDe(nuevo, tabla);
  EXIGIR(!propias.isEmpty() && propias.back() == (QVector<double>{1440, 2000.5, 0}),
         tabla + QStringLiteral(" / ") + DesdeCp1252(nuevo));
  for (const QString& otra : Tablas(contenido)) {
    if (anchos::LeerDe(anchos::Reescribir(QByteArray(), otra, {}), tabla).size() == 1)
      continue;  // the same table
    EXIGIR(anchos::LeerDe(nuevo, otra) == anchos::LeerDe(contenido, otra),
           otra + QStringLiteral(" / ") + DesdeCp1252(nuevo));
  }
  return 0;
}
