// The dialog "Cambios de otro usuario" by keyboard alone: the arrows move
// between the values a row can keep, Space picks (and switches), Enter saves
// only once every row has its pick, Escape cancels.
#include "company/form/ui/DlgCambiosDeOtroUsuario.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>

#include "support/VentanasDePrueba.h"

namespace {

CambiosDeOtroUsuario DosFilas() {
  CambiosDeOtroUsuario d;
  d.codigo = QStringLiteral("3");
  for (const char* t : {"Telefono", "Calle"})
    d.filas.push_back({0, QString::fromLatin1(t), ClaseDato::Texto, QStringLiteral("antes"),
                       QStringLiteral("del otro"), QStringLiteral("de este")});
  return d;
}

TEST(DlgCambiosDeOtroUsuario, SeManejaConElTeclado) {
  App();
  const struct {
    const char* nombre;
    std::vector<Qt::Key> teclas;
    Eleccion primera, segunda;
    bool grabar;
    const char* queda;  // after the keys: abierto, grabado or cancelado
  } casos[] = {
      {"nada elegido: Enter no graba",
       {Qt::Key_Return},
       Eleccion::Ninguna,
       Eleccion::Ninguna,
       false,
       "abierto"},
      {"una fila sola", {Qt::Key_Space, Qt::Key_Return}, Eleccion::Mia, Eleccion::Ninguna, false, "abierto"},
      {"cada fila la suya",
       {Qt::Key_Space, Qt::Key_Down, Qt::Key_Left, Qt::Key_Space, Qt::Key_Return},
       Eleccion::Mia,
       Eleccion::Guardada,
       true,
       "grabado"},
      {"Espacio otra vez cambia",
       {Qt::Key_Space, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space},
       Eleccion::Guardada,
       Eleccion::Mia,
       true,
       "abierto"},
      {"Escape cancela",
       {Qt::Key_Space, Qt::Key_Escape},
       Eleccion::Mia,
       Eleccion::Ninguna,
       false,
       "cancelado"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    CambiosDeOtroUsuario datos = DosFilas();
    DlgCambiosDeOtroUsuario dlg(datos);
    dlg.show();
    for (Qt::Key k : c.teclas) Tecla(dlg.Tabla(), k);
    EXPECT_EQ(datos.filas[0].eleccion, c.primera);
    EXPECT_EQ(datos.filas[1].eleccion, c.segunda);
    EXPECT_EQ(dlg.BotonGrabar()->isEnabled(), c.grabar);
    const char* queda = dlg.isVisible()                     ? "abierto"
                        : dlg.result() == QDialog::Accepted ? "grabado"
                                                            : "cancelado";
    EXPECT_STREQ(queda, c.queda);
  }
}

}  // namespace
