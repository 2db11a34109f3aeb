#include "session/ExplicarErrorGrabacion.h"

#include "db/DB_Dll.h"
#include "db/LogDeErrores.h"
#include "platform/services/Operador.h"

namespace {

const QString kSalto = QStringLiteral("\r\n");
const QString kRutina = QStringLiteral("Actualizar Datos");

QString TextoConversion(const ado::Value& Campo) {
  return QStringLiteral("Verifique las siguientes opciones: ") + kSalto + kSalto +
         QStringLiteral("1) Ha ingresado letras donde debe ingresar numeros") + kSalto + kSalto +
         QStringLiteral("2) Debe ingresar una fecha y el formato es incorrecto") + kSalto + kSalto +
         QStringLiteral("En el campo: ") + Campo.toString();
}

constexpr long kConversionProveedor = 1010;

}  // namespace

short ExplicarErrorGrabacion(const ado::ErrorInfo& Error, const ado::Value& Campo, trampa::Omision omision) {
  const int critico = vb::Critical + vb::OKOnly;
  if (Error.Number == ado::err::WrongType) {
    logerrores::Avisar(kRutina, TextoConversion(Campo), critico,
                       QStringLiteral("Error en conversion de datos"));
    return 0;
  }
  DB_Dll& db = DB_Dll::Instancia();
  ado::ErrorCollection& errores = db.gCnn()->Errors();
  if (errores.Count() > 0) {
    const ado::ProviderError primero = errores[0];
    const QString descripcion = QStringLiteral("Descripcion del Error: ") +
                                QString::number(primero.NativeError) + QStringLiteral(" - ") +
                                primero.Description;
    switch (primero.NativeError) {
      case kConversionProveedor:
        logerrores::Avisar(kRutina, TextoConversion(Campo), critico,
                           QStringLiteral("Error en conversion de datos "));
        errores.Clear();
        return 0;
      case ado::native::NullNotAllowed:
        logerrores::Avisar(kRutina, descripcion, critico,
                           QStringLiteral("Error en conversion de datos - NULOS NO PERMITIDO"));
        errores.Clear();
        return 0;
      case ado::native::DuplicateKey:
        logerrores::Avisar(kRutina,
                           descripcion + kSalto + kSalto +
                               QStringLiteral("La grabacion se ha cancelado... Cambie el campo principal e "
                                              "intente grabar nuevamente"),
                           critico, QStringLiteral("Clave Duplicada"));
        errores.Clear();
        return 0;
      default:
        break;
    }
  }
  const ado::Value botones =
      omision == trampa::Omision::Prohibida ? ado::Value(vb::RetryCancel + vb::Critical) : ado::Value();
  const short respuesta = db.TratamientoErrores(Error, botones, QStringLiteral("Actualizar Datos"));
  return respuesta == 3 || respuesta == 4 || respuesta == 5 ? respuesta : 0;
}
