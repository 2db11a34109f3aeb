#include "app/OrdenImportar.h"

#include <cstdio>

#include "app/SesionSinVentana.h"
#include "company/rules/ImportarEmpresas.h"
#include "company/rules/InformeImportacion.h"
#include "platform/services/LectorPlanilla.h"

namespace {

const QString kPrograma = QStringLiteral("MA_Empresas: ");

}  // namespace

int EjecutarImportar(const OrdenesDeLinea& o) {
  const Planilla planilla = LeerPlanilla(o.archivo);
  if (!planilla.error.isEmpty()) {
    EscribirLinea(stderr, kPrograma + QStringLiteral("no se pudo leer la planilla ") + planilla.error +
                              QStringLiteral("; no se importó nada."));
    return 2;
  }
  if (!ConectarSinVentana(o.parametros)) {
    EscribirLinea(stderr, kPrograma + QStringLiteral("no se pudo conectar con la base de datos del texto de "
                                                     "parámetros; no se importó nada."));
    return 2;
  }
  ResumenImportacion resumen;
  try {
    resumen = ImportarEmpresas(planilla, o.aplicar, [&](const LineaImportacion& l) {
      EscribirLinea(stdout, LineaImportacionTexto(l, o.aplicar));
    });
  } catch (const ImportacionImposible& e) {
    EscribirLinea(stderr, kPrograma + o.archivo + QStringLiteral(": ") + e.motivo +
                              QStringLiteral("; no se importó nada."));
    return 2;
  } catch (const std::exception& e) {
    EscribirLinea(stderr, kPrograma + QStringLiteral("no se pudo leer la tabla de empresas: ") +
                              QString::fromStdString(e.what()));
    return 2;
  }
  EscribirLinea(stdout, ResumenImportacionTexto(resumen));
  return resumen.rechazadas > 0 ? 1 : 0;
}
