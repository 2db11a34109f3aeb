#include "platform/services/Entorno.h"

#include <pwd.h>
#include <unistd.h>

#include <QObject>
#include <QSysInfo>
#include <QVariant>

Entorno& Entorno::Compartido() {
  static Entorno e;
  return e;
}

QString Entorno::PrimerIdentificador() const {
  if (primero_) return *primero_;
  return QSysInfo::machineHostName();
}

QString Entorno::SegundoIdentificador() const {
  if (segundo_) return *segundo_;
  // The account the program runs as, even when the environment was changed.
  if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
    return QString::fromLocal8Bit(pw->pw_name);
  QString u = qEnvironmentVariable("USER");
  if (u.isEmpty()) u = qEnvironmentVariable("LOGNAME");
  return u;
}

void Entorno::AjustarFormulario(QObject* formulario) {
  if (!formulario) return;
  formulario->setProperty("maAjustado", true);
}

void Entorno::FijarIdentificadores(std::optional<QString> primero, std::optional<QString> segundo) {
  primero_ = std::move(primero);
  segundo_ = std::move(segundo);
}
