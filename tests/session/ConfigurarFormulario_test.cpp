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

TEST(ConfigurarFormulario, IconoDesdeUnArchivo) {
  App();
  QTemporaryDir dir;
  QImage(16, 16, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("empresa.png")));
  QFile nota(dir.filePath(QStringLiteral("nota.png")));
  ASSERT_TRUE(nota.open(QIODevice::WriteOnly) && nota.write("no es un dibujo") > 0);
  nota.close();
  ArchivoIni::Compartido().FijarCarpetas({dir.path()});
  const std::pair<QString, bool> casos[] = {{dir.filePath(QStringLiteral("empresa.png")), true},
                                            {QStringLiteral("empresa.png"), true},
                                            {QStringLiteral("nota.png"), false}};
  for (const auto& [valor, icono] : casos) {
    QFile ini(dir.filePath(QStringLiteral("CN000pr.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write("[Iconos]\r\nIconoDelSistema=" + valor.toLatin1() + "\r\n");
    ini.close();
    QWidget ventana;
    ConfigurarFormulario(&ventana);
    EXPECT_EQ(!ventana.windowIcon().isNull(), icono) << valor.toStdString();
  }
  ArchivoIni::Compartido().FijarCarpetas({});
}
