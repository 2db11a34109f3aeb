#include "session/ui/ConfigurarFormulario.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QWidget>

#include "platform/services/ArchivoIni.h"
#include "platform/services/Carpetas.h"
#include "platform/services/Entorno.h"
#include "platform/services/Trampa.h"
#include "settings/Globales.h"

namespace {

// The resource of that name, matched without regard to letter case.
QString RecursoIcono(const QString& nombre) {
  const QDir carpeta(QStringLiteral(":/iconos"));
  for (const QString& f : carpeta.entryList(QDir::Files))
    if (f.compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) return carpeta.filePath(f);
  return QString();
}

// A picture file named by the setting: as given when it has a folder,
// otherwise beside the INI file, then in the program's folder.
QString ArchivoIcono(const QString& nombre) {
  const QString n = nombre.trimmed();
  if (n.isEmpty()) return QString();
  QStringList candidatos;
  if (QDir::isAbsolutePath(n)) {
    candidatos << n;
  } else {
    const QString ini = ArchivoIni::Compartido().Ubicar(QStringLiteral("CN000pr.INI"));
    if (!ini.isEmpty()) candidatos << QFileInfo(ini).dir().filePath(n);
    candidatos << QDir(CarpetaDelPrograma()).filePath(n) << n;
  }
  for (const QString& c : candidatos)
    if (QFileInfo(c).isFile() && QImageReader(c).canRead()) return c;
  return QString();
}

}  // namespace

void ConfigurarFormulario(QWidget* Formulario) {
  if (!Formulario) return;
  QString nombre = QStringLiteral("ICONVELMORA");
  bool termina = false;
  // Each step on its own: a failure only skips that step.
  trampa::IgnorarErrores({
      [&] {
        nombre = ArchivoIni::Compartido().LeerIni(QStringLiteral("CN000pr.INI"), QStringLiteral("Iconos"),
                                                  QStringLiteral("IconoDelSistema"),
                                                  QStringLiteral("ICONVELMORA"));
      },
      [&] {
        QString icono = RecursoIcono(nombre);
        if (icono.isEmpty()) icono = ArchivoIcono(nombre);
        if (!icono.isEmpty()) Formulario->setWindowIcon(QIcon(icono));
      },
      [&] {
        if (Formulario->windowIcon().isNull() && QFile::exists(QStringLiteral("velmora.ico")))
          Formulario->setWindowIcon(QIcon(QStringLiteral("velmora.ico")));
      },
      [&] {
        termina = QString::fromLatin1(Formulario->metaObject()->className())
                          .compare(QStringLiteral("FRMMDI"), Qt::CaseInsensitive) == 0 ||
                  Formulario->objectName().compare(QStringLiteral("FRMMDI"), Qt::CaseInsensitive) == 0;
      },
      [&] {
        if (!termina) Entorno::Compartido().AjustarFormulario(Formulario);
      },
      [&] {
        if (termina) return;
        for (const char* control : {"ActBar1", "TBarRep1", "NavBar1"})
          if (QObject* c = Formulario->findChild<QObject*>(QString::fromLatin1(control)))
            c->setProperty("StyleBar", gFlatToolbars.isValid() ? gFlatToolbars : QVariant(0.0));
      },
      [&] {
        if (!termina) QCoreApplication::processEvents();
      },
  });
}
