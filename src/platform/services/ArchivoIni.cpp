#include "platform/services/ArchivoIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/services/Carpetas.h"
#include "platform/services/Cp1252.h"

namespace {

QString Texto(const QByteArray& contenido) {
  // A file saved by a modern editor may carry a UTF-8 signature.
  if (contenido.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(contenido.mid(3));
  return DesdeCp1252(contenido);
}

// Surrounding double or single quotes are not part of the value.
QString SinComillas(const QString& v) {
  if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
      v.back() == v.front())
    return v.mid(1, v.size() - 2);
  return v;
}

}  // namespace

std::optional<QString> ValorIni(const QByteArray& contenido, const QString& seccion, const QString& clave) {
  const QString buscada = seccion.trimmed();
  const QString nombreClave = clave.trimmed();
  if (nombreClave.isEmpty()) return std::nullopt;
  bool dentro = false;
  const QStringList lineas = Texto(contenido).split(QLatin1Char('\n'));
  for (QString linea : lineas) {
    linea = linea.trimmed();  // also drops the CR of CRLF
    if (linea.isEmpty() || linea.startsWith(QLatin1Char(';'))) continue;
    if (linea.startsWith(QLatin1Char('['))) {
      const int cierre = linea.indexOf(QLatin1Char(']'));
      const QString nombre = (cierre < 0 ? linea.mid(1) : linea.mid(1, cierre - 1)).trimmed();
      dentro = nombre.compare(buscada, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!dentro) continue;
    const int igual = linea.indexOf(QLatin1Char('='));
    if (igual < 0) continue;
    if (linea.left(igual).trimmed().compare(nombreClave, Qt::CaseInsensitive) != 0) continue;
    return SinComillas(linea.mid(igual + 1).trimmed());
  }
  return std::nullopt;
}

ArchivoIni& ArchivoIni::Compartido() {
  static ArchivoIni a;
  return a;
}

QStringList ArchivoIni::Carpetas() const {
  if (!carpetas_.isEmpty()) return carpetas_;
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
  return {CarpetaDelPrograma(), config + QStringLiteral("/MA_Empresas")};
}

void ArchivoIni::FijarCarpetas(const QStringList& carpetas) { carpetas_ = carpetas; }

QString ArchivoIni::Ubicar(const QString& archivo) const {
  if (archivo.trimmed().isEmpty()) return QString();
  const QFileInfo dado(archivo);
  if (dado.isAbsolute() || archivo.contains(QLatin1Char('/'))) return dado.isFile() ? archivo : QString();
  for (const QString& carpeta : Carpetas()) {
    const QDir dir(carpeta);
    if (QFileInfo(dir.filePath(archivo)).isFile()) return dir.filePath(archivo);
    // The suite names its files without regard to letter case.
    const QStringList todos = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& nombre : todos)
      if (nombre.compare(archivo, Qt::CaseInsensitive) == 0) return dir.filePath(nombre);
  }
  return QString();
}

QString ArchivoIni::LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                            const QString& defecto) const {
  const QString ruta = Ubicar(archivo);
  if (ruta.isEmpty()) return defecto;
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return defecto;
  return ValorIni(f.readAll(), seccion, clave).value_or(defecto);
}
