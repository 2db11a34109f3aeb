#include "platform/services/LectorPlanilla.h"

#include <QFile>
#include <QFileInfo>

#include "platform/services/LectorCsv.h"
#include "platform/services/LectorXlsx.h"

Planilla LeerPlanilla(const QString& archivo) {
  Planilla p;
  const QString extension = QFileInfo(archivo).suffix().toLower();
  if (extension != QLatin1String("csv") && extension != QLatin1String("xlsx")) {
    p.error = QStringLiteral("%1: se leen planillas .xlsx y .csv").arg(archivo);
    return p;
  }
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly)) {
    p.error = QStringLiteral("%1: %2").arg(archivo, f.errorString());
    return p;
  }
  const QByteArray bytes = f.readAll();
  p = extension == QLatin1String("csv") ? LeerCsv(bytes) : LeerXlsx(bytes);
  if (!p.error.isEmpty()) p.error = QStringLiteral("%1: %2").arg(archivo, p.error);
  return p;
}
