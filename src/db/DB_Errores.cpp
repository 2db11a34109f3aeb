#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "platform/services/Operador.h"

short DB_Dll::TratamientoErrores(const ado::ErrorInfo& CodErr, const ado::Value& Botones,
                                 const ado::Value& Rutina) {
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
  logerrores::Anotar(logerrores::Ruta(gLogErr),
                     logerrores::Linea(QDateTime::currentDateTime(), rutina, mensaje, respuesta));
  return static_cast<short>(respuesta);
}
