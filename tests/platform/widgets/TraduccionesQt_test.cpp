// Qt's own texts in Spanish once the program has loaded Qt's translations.
#include "platform/widgets/TraduccionesQt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <memory>

#include "support/VentanasDePrueba.h"

TEST(TraduccionesQt, DialogosYMenusDeQtEnCastellano) {
  App();
  ASSERT_TRUE(CargarTraduccionesQt());
  QLineEdit campo;
  const std::unique_ptr<QMenu> menu(campo.createStandardContextMenu());
  QFileDialog archivos;  // as the logo's Buscar shows it
  archivos.setOption(QFileDialog::DontUseNativeDialog);
  QStringList vistos;
  for (QAction* a : menu->actions()) vistos << a->text().section(QLatin1Char('\t'), 0, 0);
  for (QLabel* l : archivos.findChildren<QLabel*>()) vistos << l->text();
  for (QAbstractButton* b : archivos.findChildren<QAbstractButton*>()) vistos << b->text() << b->toolTip();
  vistos.replaceInStrings(QStringLiteral("&"), QString());
  for (const char* t : {"Deshacer", "Copiar", "Pegar", "Ver en:", "Nombre de fichero:", "Abrir", "Cancelar",
                        "Directorio superior"})
    EXPECT_TRUE(vistos.contains(QString::fromUtf8(t))) << t << " not in " << vistos.join(", ").toStdString();
}
