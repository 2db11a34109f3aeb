#include "platform/client/DriverSetup.h"

#include <odbcinst.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace ado::odbc {

bool DataSourceSets(const QString& name, const QString& key) {
  char buf[256] = {0};
  const QByteArray section = name.toLocal8Bit(), entry = key.toLatin1();
  return SQLGetPrivateProfileString(section.constData(), entry.constData(), "", buf, sizeof buf, "odbc.ini") >
             0 &&
         buf[0] != '\0';
}

void RemoveFarewellLog(const QString& folder) {
  const passwd* pw = getpwuid(getuid());
  const QString tail = QString::fromLocal8Bit(pw ? pw->pw_name : "") + QString::number(getpid()) + ".log";
  const QDir dir(folder);
  for (const QString& name : dir.entryList({"psqlodbc_*" + tail}, QDir::Files)) {
    // The program's name stands between the prefix and the user's: "psqlodbc_<program>_<user><pid>.log".
    if (!name.endsWith('_' + tail)) continue;
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::ReadOnly) || f.size() > 64 * 1024) continue;
    bool onlyFarewells = true;
    for (const QByteArray& line : f.readAll().split('\n'))
      if (!line.trimmed().isEmpty() && !line.startsWith("PQfinish:")) onlyFarewells = false;
    f.close();
    if (onlyFarewells) QFile::remove(dir.filePath(name));
  }
}

QString DriverLogFolder(const QString& driver) {
  char buf[1024] = {0};
  const QByteArray section = driver.toLocal8Bit();
  SQLGetPrivateProfileString(section.constData(), "Logdir", "", buf, sizeof buf, "odbcinst.ini");
  return buf[0] ? QString::fromLocal8Bit(buf) : QStringLiteral("/tmp");
}

}  // namespace ado::odbc
