#include "app/ReporteDeLinea.h"

#include <cstdio>

#include "app/SesionSinVentana.h"
#include "company/form/HojaEmpresa.h"
#include "company/form/ui/frmReporteEmpresa.h"

namespace {

int Fallo(const QString& motivo) {
  const QByteArray b = (QStringLiteral("MA_Empresas: ") + motivo + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), stderr);
  std::fflush(stderr);
  return 2;
}

}  // namespace

int EjecutarReporte(const QString& codigo, const QString& archivo, const QString& parametros) {
  if (!ConectarSinVentana(parametros))
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
