#include "platform/widgets/TraduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool CargarTraduccionesQt() {
  static QTranslator* traductor = nullptr;
  if (traductor) return true;
  auto* t = new QTranslator(QCoreApplication::instance());
  // Spanish whatever the workstation's language: the program speaks nothing else.
  if (!t->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return false;
  }
  QCoreApplication::installTranslator(t);
  traductor = t;
  return true;
}
