// The window's icon from the INI setting "IconoDelSistema": the built-in
// name, or a picture file given by its path or by a name beside the INI file.
#include "session/ui/ConfigurarFormulario.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/services/ArchivoIni.h"
#include "support/VentanasDePrueba.h"

namespace {

TEST(ConfigurarFormulario, IconoDesdeUnArchivo) {
  App();
  QTemporaryDir dir;
  QImage dibujo(16, 16, QImage::Format_RGB32);
  dibujo.fill(Qt::darkBlue);
  ASSERT_TRUE(dibujo.save(dir.filePath(QStringLiteral("empresa.png"))));
  QFile nota(dir.filePath(QStringLiteral("nota.png")));
  ASSERT_TRUE(nota.open(QIODevice::WriteOnly));
  nota.write("no es un dibujo");
  nota.close();
  ArchivoIni::Compartido().FijarCarpetas({dir.path()});
  const struct {
    QString valor;
    bool icono;
  } casos[] = {
      {dir.filePath(QStringLiteral("empresa.png")), true},
      {QStringLiteral("empresa.png"), true},
      {QStringLiteral("nota.png"), false},
      {QStringLiteral("falta.png"), false},
  };
  for (const auto& c : casos) {
    QFile ini(dir.filePath(QStringLiteral("CN000pr.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Iconos]\r\nIconoDelSistema=" + c.valor.toLatin1() + "\r\n");
    ini.close();
    QWidget ventana;
    ConfigurarFormulario(&ventana);
    EXPECT_EQ(!ventana.windowIcon().isNull(), c.icono) << c.valor.toStdString();
  }
  ArchivoIni::Compartido().FijarCarpetas({});
}

}  // namespace
