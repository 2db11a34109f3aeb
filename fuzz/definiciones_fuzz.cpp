// The lookup-definition file (consultas.vmt) and the statement built from a record.
#include "fuzz/Entrada.h"
#include "lookup/ArchivoDefiniciones.h"
#include "lookup/ArmadoConsulta.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray contenido = entrada::Bytes(datos, largo);
  const QVector<RegistroMascara> registros = mascaras::Registros(contenido);
  EXIGIR(registros.size() == contenido.size() / mascaras::LargoRegistro, QString());
  for (int i = 0; i < registros.size(); ++i) {
    // A record read and written again is the same record: appending to the
    // file never changes the records already in it.
    const QByteArray crudo = contenido.mid(qsizetype(i) * mascaras::LargoRegistro, mascaras::LargoRegistro);
    const QByteArray otra = mascaras::Codificar(registros[i]);
    EXIGIR(otra.size() == mascaras::LargoRegistro && otra.left(1200) == crudo.left(1200),
           QString::fromLatin1(crudo.toPercentEncoding()));

    const RegistroMascara& r = registros[i];
    const RegistroMascara limpio{r.Titulo.trimmed(), r.Tabla.trimmed(), r.Columnas.trimmed(),
                                 r.Condicion.trimmed()};
    QString campo, sentencia;
    if (armado::SentenciaDeMascara(limpio, 1000, campo, QString(), sentencia) ==
        armado::ResultadoMascara::Sentencia)
      EXIGIR(sentencia.startsWith(QLatin1String("SELECT TOP 1000 ")), sentencia);
  }
  return 0;
}
