#include "app/ReporteDeLinea.h"

#include <cstdio>
#include <memory>

#include "company/form/HojaEmpresa.h"
#include "company/form/ui/frmReporteEmpresa.h"
#include "db/DB_Dll.h"
#include "platform/services/OperadorDeConsola.h"
#include "session/IniciarSesion.h"

namespace {

int Fallo(const QString& motivo) {
  const QByteArray b = (QStringLiteral("MA_Empresas: ") + motivo + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), stderr);
  std::fflush(stderr);
  return 2;
}

}  // namespace

int EjecutarReporte(const QString& codigo, const QString& archivo, const QString& parametros) {
  EstablecerOperador(std::make_shared<OperadorDeConsola>());
  EstablecerLineaDeComandos(parametros);
  bool terminada = false;
  EstablecerFinDelPrograma([&terminada] { terminada = true; });
  auto& db = DB_Dll::Instancia();
  try {
    bool usarIni = false;
    QString texto = parametros, conexion;
    IniciarSesion(usarIni, texto, conexion);
  } catch (const std::exception&) {
    terminada = true;
  }
  EstablecerFinDelPrograma({});
  if (terminada || !db.gOpenFlag || db.gCnn()->State() != ado::adStateOpen)
    return Fallo(
        QStringLiteral("no se pudo conectar con la base de datos del texto de parámetros; no se "
                       "escribió ningún reporte."));

  std::optional<HojaEmpresa> hoja;
  try {
    HistoriaEmpresa historia;
    hoja = LeerHojaEmpresa(codigo, historia);
  } catch (const std::exception& e) {
    return Fallo(
        QStringLiteral("no se pudo leer la empresa %1: %2").arg(codigo, QString::fromLocal8Bit(e.what())));
  }
  if (!hoja) return Fallo(QStringLiteral("no existe la empresa %1.").arg(codigo.trimmed()));
  if (!GuardarHojaEnPdf(*hoja, archivo))
    return Fallo(QStringLiteral("no se pudo escribir el archivo %1.").arg(archivo));
  return 0;
}
