#include "db/LogDeErrores.h"

#include <QFile>

#include "db/DB_Dll.h"
#include "platform/client/ConnectionString.h"
#include "platform/services/Carpetas.h"
#include "platform/services/Cp1252.h"
#include "platform/services/Operador.h"

namespace logerrores {
namespace {

QString UnaLinea(const QString& campo) {
  QString r = campo;
  for (QChar& c : r)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  return r.trimmed();
}

bool TerminaEnSalto(QFile& f) {
  const qint64 largo = f.size();
  if (largo == 0) return true;
  char ultimo = 0;
  return f.seek(largo - 1) && f.getChar(&ultimo) && ultimo == '\n';
}

}  // namespace

QString Ruta(const QString& archivoElegido) {
  if (!archivoElegido.isEmpty()) return archivoElegido;
  return RutaParaActualizar(UbicarArchivoPropio(QStringLiteral("VMERR.LOG")));
}

QString PalabraRespuesta(int respuesta) {
  switch (respuesta) {
    case vb::OK:
      return QStringLiteral("Aceptar");
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

QString Linea(const QDateTime& cuando, const QString& rutina, const QString& mensaje, int respuesta) {
  return cuando.toString(QStringLiteral("MM-dd-yyyy HH:mm:ss")) + QStringLiteral(" Rutina: ") +
         UnaLinea(rutina) + QStringLiteral(" Mensaje ") + UnaLinea(ado::MaskPasswords(mensaje)) +
         QStringLiteral(" Respondió : ") + PalabraRespuesta(respuesta);
}

void Anotar(const QString& ruta, const QString& linea) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) return;
  QByteArray entrada = HaciaCp1252(linea + QStringLiteral("\r\n"));
  if (!TerminaEnSalto(f)) entrada.prepend("\r\n");
  // One write of the whole entry, so programs sharing the log interleave whole lines.
  f.write(entrada);
}

void AnotarRespuesta(const QString& rutina, const QString& mensaje, int respuesta) {
  const QString parte = rutina.trimmed().isEmpty() ? QString() : rutina.trimmed() + QStringLiteral(" - ");
  Anotar(Ruta(DB_Dll::Instancia().gLogErr), Linea(QDateTime::currentDateTime(), parte, mensaje, respuesta));
}

int Avisar(const QString& rutina, const QString& mensaje, int estilo, const QString& titulo) {
  const int respuesta = ElOperador().MsgBox(mensaje, estilo, titulo);
  AnotarRespuesta(rutina, mensaje, respuesta);
  return respuesta;
}

}  // namespace logerrores
