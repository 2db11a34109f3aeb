#include <QDateTime>
#include <QFile>

#include "db/DB_Dll.h"
#include "platform/services/Carpetas.h"
#include "platform/services/Cp1252.h"
#include "platform/services/Operador.h"

namespace {

QString PalabraRespuesta(int respuesta) {
  switch (respuesta) {
    case vb::Cancel:
      return QStringLiteral("Cancelar");
    case vb::Abort:
      return QStringLiteral("Abortar");
    case vb::Retry:
      return QStringLiteral("Reintentar");
    case vb::Ignore:
      return QStringLiteral("Ignorar");
    case vb::Yes:
      return QStringLiteral("Sí");
    case vb::No:
      return QStringLiteral("No");
    default:
      return QString();
  }
}

// One write of the whole line, so programs sharing the log interleave whole lines.
void Anotar(const QString& ruta, const QString& linea) {
  QFile f(ruta);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  f.write(HaciaCp1252(linea + QStringLiteral("\r\n")));
}

}  // namespace

short DB_Dll::TratamientoErrores(const ado::ErrorInfo& CodErr, const ado::Value& Botones,
                                 const ado::Value& Rutina) {
  QString ruta = gLogErr;
  if (ruta.isEmpty()) {
    ruta = CarpetaDelPrograma();
    if (!ruta.endsWith(QLatin1Char('/')) && !ruta.endsWith(QLatin1Char('\\'))) ruta += QLatin1Char('/');
    ruta += QStringLiteral("VMERR.LOG");
  }
  // A description that quotes a connection string must not put its password
  // on screen or in the log.
  const QString mensaje = QStringLiteral("Ha ocurrido el Siguiente Error (") +
                          QString::number(CodErr.Number) + QStringLiteral(") ") +
                          ado::MaskPasswords(CodErr.Description.trimmed());
  const QString rutina = ado::IsEmpty(Rutina) ? QString() : Rutina.toString() + QStringLiteral(" - ");
  const QString titulo = CodErr.Source + rutina + QStringLiteral(" Aviso al operador!!! ");
  const int estilo = ado::IsEmpty(Botones) ? vb::Critical + vb::AbortRetryIgnore : Botones.toInt();
  if (CodErr.Number == 0) return 0;

  int respuesta = 0;
  try {
    respuesta = ElOperador().MsgBox(mensaje, estilo, titulo);
  } catch (...) {
    // The treatment never fails towards its caller.
  }

  const QDateTime ahora = QDateTime::currentDateTime();
  const QString linea = ahora.toString(QStringLiteral("MM-dd-yyyy HH:mm:ss")) + QStringLiteral(" Rutina: ") +
                        rutina.trimmed() + QStringLiteral(" Mensaje ") + mensaje.trimmed() +
                        QStringLiteral(" Respondió : ") + PalabraRespuesta(respuesta);
  Anotar(ruta, linea);
  return static_cast<short>(respuesta);
}
