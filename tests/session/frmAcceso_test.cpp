#include "session/ui/frmAcceso.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "db/SolicitudAcceso.h"
#include "platform/services/DialogosPorNombre.h"
#include "support/VentanasDePrueba.h"

namespace {

SolicitudAcceso Solicitud() {
  SolicitudAcceso s;
  s.TxtServidor = "SRV1";
  s.TxtDbName = "GESTION";
  s.TxtUserId = "sa";
  s.TxtUserPassword = "clave";
  return s;
}

TEST(frmAcceso, ControlesEtiquetasYTeclasDeAcceso) {
  App();
  frmAcceso f;
  EXPECT_EQ(f.windowTitle(), "Control de Acceso");
  EXPECT_FALSE(f.Aceptar);
  const std::tuple<QLabel*, QString, QLineEdit*, int> filas[] = {
      {f.lbUsuario, "&Usuario", f.TxtUserId, 240},
      {f.lbcontrasena, "&Contraseña", f.TxtUserPassword, 600},
      {f.Label1, "&Base de Datos", f.TxtDbName, 1080},
      {f.Label2, "&Servidor", f.TxtServidor, 1440},
  };
  for (const auto& [etiqueta, texto, caja, top] : filas) {
    EXPECT_EQ(etiqueta->text(), texto);
    EXPECT_EQ(etiqueta->buddy(), caja) << texto.toStdString();
    EXPECT_EQ(caja->parentWidget(), f.framAcceso);
    EXPECT_EQ(caja->geometry(), QRect(1920 / 15, top / 15, 3735 / 15, 345 / 15));
  }
  EXPECT_EQ(f.TxtUserPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(f.TxtUserId->echoMode(), QLineEdit::Normal);
  ASSERT_EQ(f.CboPlataformaDB->count(), 2);
  EXPECT_EQ(f.CboPlataformaDB->itemText(0), "SQL Server");
  EXPECT_EQ(f.CboPlataformaDB->itemText(1), "ORACLE");
  EXPECT_EQ(f.bcAceptar->text(), "Aceptar");
  EXPECT_EQ(f.bcCancelar->text(), "Cancelar");
  EXPECT_TRUE(f.bcAceptar->isDefault());
}

TEST(frmAcceso, Centrado) {
  const std::tuple<QSize, QSize, QPoint> casos[] = {{{1920, 1080}, {412, 232}, {754, 424}},
                                                    {{800, 600}, {412, 232}, {194, 184}},
                                                    {{300, 200}, {412, 232}, {-56, -16}}};
  for (const auto& [pantalla, ventana, esperada] : casos)
    EXPECT_EQ(PosicionCentrada(pantalla, ventana), esperada);

  App();
  frmAcceso f;
  QPoint en;
  AlAbrir<frmAcceso>([&](frmAcceso* w) {
    en = w->pos();
    w->bcCancelar->click();
  });
  SolicitudAcceso s = Solicitud();
  f.Atender(s);
  const QRect pantalla = f.screen()->geometry();
  EXPECT_EQ(en, pantalla.topLeft() + PosicionCentrada(pantalla.size(), f.size()));
}

TEST(frmAcceso, AceptarDevuelveLosValores) {
  App();
  RegistrarFrmAcceso();
  SolicitudAcceso s = Solicitud();
  QString vistoServidor, vistaClave;
  AlAbrir<frmAcceso>([&](frmAcceso* w) {
    vistoServidor = w->TxtServidor->text();
    vistaClave = w->TxtUserPassword->text();
    EXPECT_EQ(w->CboPlataformaDB->currentIndex(), 0);
    w->TxtServidor->setText("ORA1");
    w->TxtUserPassword->setText("nueva");
    w->CboPlataformaDB->setCurrentIndex(1);
    w->bcAceptar->click();
  });
  (*BuscarDialogo("frmAcceso"))(s);
  EXPECT_EQ(vistoServidor, "SRV1");
  EXPECT_EQ(vistaClave, "clave");
  EXPECT_TRUE(s.Aceptar);
  EXPECT_EQ(s.TxtServidor, "ORA1");
  EXPECT_EQ(s.TxtUserPassword, "nueva");
  EXPECT_EQ(s.TxtDbName, "GESTION");
  EXPECT_EQ(s.CboPlataformaDB, SolicitudAcceso::Oracle);
}

TEST(frmAcceso, CancelarEscapeYCierreNoTocanNada) {
  App();
  RegistrarFrmAcceso();
  const std::function<void(frmAcceso*)> formas[] = {
      [](frmAcceso* w) { w->bcCancelar->click(); },
      [](frmAcceso* w) { Tecla(w->TxtServidor, Qt::Key_Escape); },
      [](frmAcceso* w) { w->close(); },
  };
  for (const auto& forma : formas) {
    SolicitudAcceso s = Solicitud();
    AlAbrir<frmAcceso>([&](frmAcceso* w) {
      w->TxtServidor->setText("OTRO");
      forma(w);
    });
    (*BuscarDialogo("frmAcceso"))(s);
    EXPECT_FALSE(s.Aceptar);
    EXPECT_EQ(s.TxtServidor, "SRV1");
  }
}

TEST(frmAcceso, EnterAcepta) {
  App();
  frmAcceso f;
  SolicitudAcceso s = Solicitud();
  AlAbrir<frmAcceso>([](frmAcceso* w) {
    w->TxtUserId->setText("operador");
    Tecla(w->TxtUserId, Qt::Key_Return);
  });
  f.Atender(s);
  EXPECT_TRUE(s.Aceptar);
  EXPECT_EQ(s.TxtUserId, "operador");
}

}  // namespace
