#include "company/form/CambiosDeOtroUsuario.h"

#include <QByteArray>

QString CambiosDeOtroUsuario::Explicacion() const {
  switch (motivo) {
    case Motivo::Modificada:
      return QStringLiteral(
                 "Otro usuario modificó la empresa %1 mientras usted la editaba. Elija, para cada "
                 "dato que ambos cambiaron, qué valor se graba; el resto de los cambios de ambos "
                 "se conserva.")
          .arg(codigo);
    case Motivo::CodigoTomado:
      return QStringLiteral(
                 "Otro usuario dio de alta la empresa %1 mientras usted la cargaba como nueva. "
                 "Elija, para cada dato, si graba el suyo sobre el de la empresa ya grabada o "
                 "conserva el grabado.")
          .arg(codigo);
    case Motivo::Eliminada:
      return QStringLiteral(
                 "Otro usuario eliminó la empresa %1 mientras usted la editaba. Puede darla de "
                 "alta nuevamente con los datos de esta pantalla.")
          .arg(codigo);
  }
  return {};
}

QString CambiosDeOtroUsuario::TextoGrabar() const {
  return motivo == Motivo::Eliminada ? QStringLiteral("Dar de alta nuevamente") : QStringLiteral("Grabar");
}

bool CambiosDeOtroUsuario::Completo() const {
  for (const Fila& f : filas)
    if (f.eleccion == Eleccion::Ninguna) return false;
  return true;
}

QString CambiosDeOtroUsuario::TextoDe(ClaseDato clase, const ado::Value& v) {
  switch (clase) {
    case ClaseDato::Opcion:
      return v.toBool() ? QStringLiteral("Pedir Honorarios") : QStringLiteral("Pedir Sueldo Bruto");
    case ClaseDato::Imagen: {
      const qsizetype n = v.toByteArray().size();
      return n == 0 ? QStringLiteral("(sin logo)") : QStringLiteral("%1 bytes").arg(n);
    }
    case ClaseDato::Texto:
      break;
  }
  const QString t = ado::IsNull(v) || ado::IsEmpty(v) ? QString() : v.toString();
  return t.isEmpty() ? QStringLiteral("(vacío)") : t;
}
