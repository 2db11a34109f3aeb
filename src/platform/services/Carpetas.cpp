#include "platform/services/Carpetas.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool SePuedeEscribir(const QString& ruta) { return ::access(QFile::encodeName(ruta).constData(), W_OK) == 0; }

// The folders the package manager owns: even root must not leave files there that removing the
// package would leave behind.
bool EsCarpetaDelSistema(const QString& carpeta) {
  const QString c = QDir::cleanPath(carpeta) + QLatin1Char('/');
  for (const char* p : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/"})
    if (c.startsWith(QLatin1String(p))) return true;
  return false;
}

}  // namespace

QString CarpetaDelPrograma() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  // Before the application object exists (or in tools without one).
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString CarpetaDeDatos() {
  // A relative $XDG_DATA_HOME is to be ignored.
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/share");
  return QDir::cleanPath(base + QStringLiteral("/MA_Empresas"));
}

ArchivoPropio UbicarArchivoPropio(const QString& nombre) {
  return UbicarArchivoPropio(nombre, CarpetaDelPrograma(), CarpetaDeDatos());
}

ArchivoPropio UbicarArchivoPropio(const QString& nombre, const QString& carpetaPrograma,
                                  const QString& carpetaDatos) {
  const QString enDatos = QDir(carpetaDatos).filePath(nombre);
  if (QFileInfo::exists(enDatos)) return {enDatos, enDatos};
  const QString alLado = QDir(carpetaPrograma).filePath(nombre);
  // The writers replace files through a companion file, so the folder itself must take new files.
  const bool alLadoEscribible = !EsCarpetaDelSistema(carpetaPrograma) && SePuedeEscribir(carpetaPrograma) &&
                                (!QFileInfo::exists(alLado) || SePuedeEscribir(alLado));
  return {alLado, alLadoEscribible ? alLado : enDatos};
}

bool PrepararEscritura(const ArchivoPropio& archivo) {
  if (archivo.escribir == archivo.leer) return true;
  if (!QDir().mkpath(QFileInfo(archivo.escribir).absolutePath())) return false;
  if (!QFileInfo::exists(archivo.leer) || QFileInfo::exists(archivo.escribir)) return true;
  // The copy is the user's own, whatever the permissions of the file it came from.
  return QFile::copy(archivo.leer, archivo.escribir) &&
         QFile::setPermissions(archivo.escribir,
                               QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

QString RutaParaActualizar(const ArchivoPropio& archivo) {
  return PrepararEscritura(archivo) ? archivo.escribir : archivo.leer;
}
