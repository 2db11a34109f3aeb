// Qt's own texts in Spanish once the program has loaded Qt's translations.
#include "platform/widgets/TraduccionesQt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>

#include "support/VentanasDePrueba.h"

namespace {

QStringList Textos(QMenu* menu) {
  QStringList t;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) t << a->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
  return t;
}

TEST(TraduccionesQt, DialogosYMenusDeQtEnCastellano) {
  App();
  ASSERT_TRUE(CargarTraduccionesQt());
  QLineEdit campo;
  QPlainTextEdit caja;
  const std::unique_ptr<QMenu> menuCampo(campo.createStandardContextMenu());
  const std::unique_ptr<QMenu> menuCaja(caja.createStandardContextMenu());
  for (const QStringList& menu : {Textos(menuCampo.get()), Textos(menuCaja.get())})
    for (const char* t : {"Deshacer", "Cortar", "Copiar", "Pegar", "Seleccionar todo"})
      EXPECT_TRUE(menu.contains(QString::fromUtf8(t))) << t << " not in " << menu.join(", ").toStdString();

  // The file-open dialog as the logo's Buscar shows it.
  QFileDialog archivos;
  archivos.setOption(QFileDialog::DontUseNativeDialog);
  archivos.setFileMode(QFileDialog::ExistingFile);
  QStringList vistos;
  for (QLabel* l : archivos.findChildren<QLabel*>()) vistos << l->text().remove(QLatin1Char('&'));
  for (QAbstractButton* b : archivos.findChildren<QAbstractButton*>())
    vistos << b->text().remove(QLatin1Char('&')) << b->toolTip();
  for (const char* t : {"Ver en:", "Nombre de fichero:", "Abrir", "Cancelar", "Directorio superior"})
    EXPECT_TRUE(vistos.contains(QString::fromUtf8(t))) << t << " not in " << vistos.join(", ").toStdString();
}

}  // namespace
