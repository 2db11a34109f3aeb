#include "platform/services/Carpetas.h"

#include <QCoreApplication>
#include <QFileInfo>

QString CarpetaDelPrograma() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  // Before the application object exists (or in tools without one).
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}
