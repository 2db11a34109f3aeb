#include "app/OrdenImportar.h"

#include <cstdio>
#include <memory>

#include "company/rules/ImportarEmpresas.h"
#include "company/rules/InformeImportacion.h"
#include "db/DB_Dll.h"
#include "platform/services/LectorPlanilla.h"
#include "platform/services/OperadorDeConsola.h"
#include "session/IniciarSesion.h"

namespace {

const QString kPrograma = QStringLiteral("MA_Empresas: ");

void Escribir(std::FILE* f, const QString& texto) {
  const QByteArray b = (texto + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), f);
  std::fflush(f);
}

// The session of the parameter text, with nobody to answer a box.
bool Conectar(const QString& parametrosDeLinea) {
  EstablecerOperador(std::make_shared<OperadorDeConsola>());
  EstablecerLineaDeComandos(parametrosDeLinea);
  bool terminada = false;
  EstablecerFinDelPrograma([&terminada] { terminada = true; });
  auto& db = DB_Dll::Instancia();
  try {
    bool usarIni = false;
    QString parametros = parametrosDeLinea, conexion;
    IniciarSesion(usarIni, parametros, conexion);
  } catch (const std::exception& e) {
    terminada = true;
    Escribir(stderr, kPrograma + QString::fromLocal8Bit(e.what()));
  }
  EstablecerFinDelPrograma({});
  return !terminada && db.gOpenFlag && db.gCnn()->State() == ado::adStateOpen;
}

}  // namespace

int EjecutarImportar(const OrdenesDeLinea& o) {
  const Planilla planilla = LeerPlanilla(o.archivo);
  if (!planilla.error.isEmpty()) {
    Escribir(stderr, kPrograma + QStringLiteral("no se pudo leer la planilla ") + planilla.error +
                         QStringLiteral("; no se importó nada."));
    return 2;
  }
  if (!Conectar(o.parametros)) {
    Escribir(stderr, kPrograma + QStringLiteral("no se pudo conectar con la base de datos del texto de "
                                                "parámetros; no se importó nada."));
    return 2;
  }
  ResumenImportacion resumen;
  try {
    resumen = ImportarEmpresas(planilla, o.aplicar, [&](const LineaImportacion& l) {
      Escribir(stdout, LineaImportacionTexto(l, o.aplicar));
    });
  } catch (const ImportacionImposible& e) {
    Escribir(stderr, kPrograma + o.archivo + QStringLiteral(": ") + e.motivo +
                         QStringLiteral("; no se importó nada."));
    return 2;
  } catch (const std::exception& e) {
    Escribir(stderr, kPrograma + QStringLiteral("no se pudo leer la tabla de empresas: ") +
                         QString::fromStdString(e.what()));
    return 2;
  }
  Escribir(stdout, ResumenImportacionTexto(resumen));
  return resumen.rechazadas > 0 ? 1 : 0;
}
