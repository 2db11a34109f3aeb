#include "app/OrdenExportar.h"

#include <cstdio>

#include "app/SesionSinVentana.h"
#include "company/rules/ExportarEmpresas.h"

namespace {

constexpr int kExportado = 0;
constexpr int kNoSePudo = 2;

int Fallo(const QString& motivo) {
  EscribirLinea(stderr, QStringLiteral("MA_Empresas: ") + motivo);
  return kNoSePudo;
}

}  // namespace

int EjecutarExportar(const QString& archivo, const QString& parametros) {
  // A name that says no format is refused before anything is opened.
  if (FormatoDeArchivo(archivo) == FormatoExportacion::Ninguno) return Fallo(ExportarEmpresas(archivo).error);
  if (!ConectarSinVentana(parametros))
    return Fallo(QStringLiteral(
        "no se pudo conectar con la base de datos del texto de parámetros; no se exportó nada."));
  const ResultadoExportacion r = ExportarEmpresas(archivo);
  if (!r.error.isEmpty()) return Fallo(r.error);
  QString linea =
      QStringLiteral("%1 %2 a %3.")
          .arg(r.filas)
          .arg(r.filas == 1 ? QStringLiteral("empresa exportada") : QStringLiteral("empresas exportadas"),
               archivo);
  if (r.numerosComoTexto > 0)
    linea += QStringLiteral(" %1 %2 de más de 15 cifras, que una planilla redondearía, van como texto.")
                 .arg(r.numerosComoTexto)
                 .arg(r.numerosComoTexto == 1 ? QStringLiteral("número") : QStringLiteral("números"));
  EscribirLinea(stdout, linea);
  return kExportado;
}
