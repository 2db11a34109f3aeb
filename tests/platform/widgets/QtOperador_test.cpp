#include "platform/widgets/QtOperador.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/core/Error.h"
#include "platform/services/DialogosPorNombre.h"
#include "support/VentanasDePrueba.h"

namespace {

QPushButton* BotonConTexto(QWidget* w, const QString& texto) {
  for (QPushButton* b : w->findChildren<QPushButton*>())
    if (b->text() == texto) return b;
  return nullptr;
}

TEST(QtOperador, BotonesTextosYRespuestasDeCadaEstilo) {
  struct {
    int style;
    QStringList textos;
    std::vector<int> respuestas;
    int porDefecto;
    int escape;
  } casos[] = {
      {vb::OKOnly, {"Aceptar"}, {1}, 0, vb::OK},
      {vb::OKCancel + vb::DefaultButton2, {"Aceptar", "Cancelar"}, {1, 2}, 1, vb::Cancel},
      {vb::AbortRetryIgnore + vb::Critical, {"Anular", "Reintentar", "Omitir"}, {3, 4, 5}, 0, 0},
      {vb::YesNoCancel + vb::DefaultButton3, {"Sí", "No", "Cancelar"}, {6, 7, 2}, 2, vb::Cancel},
      {vb::YesNo + vb::DefaultButton2, {"Sí", "No"}, {6, 7}, 1, vb::No},
      {vb::RetryCancel, {"Reintentar", "Cancelar"}, {4, 2}, 0, vb::Cancel},
      {vb::YesNo + vb::DefaultButton3, {"Sí", "No"}, {6, 7}, 0, vb::No},  // no third button
  };
  for (const auto& c : casos) {
    const auto botones = BotonesDeEstilo(c.style);
    QStringList textos;
    std::vector<int> respuestas;
    for (const auto& b : botones) {
      textos << b.texto;
      respuestas.push_back(b.respuesta);
    }
    EXPECT_EQ(textos, c.textos) << c.style;
    EXPECT_EQ(respuestas, c.respuestas) << c.style;
    EXPECT_EQ(BotonPorDefecto(c.style), c.porDefecto) << c.style;
    EXPECT_EQ(RespuestaDeEscape(c.style), c.escape) << c.style;
  }
  EXPECT_EQ(IconoDeEstilo(vb::YesNo + vb::Critical), QMessageBox::Critical);
  EXPECT_EQ(IconoDeEstilo(vb::Question), QMessageBox::Question);
  EXPECT_EQ(IconoDeEstilo(vb::Exclamation), QMessageBox::Warning);
  EXPECT_EQ(IconoDeEstilo(vb::Information + vb::DefaultButton2), QMessageBox::Information);
  EXPECT_EQ(IconoDeEstilo(vb::OKOnly), QMessageBox::NoIcon);
}

TEST(QtOperador, FiltroDeArchivos) {
  EXPECT_EQ(FiltroQt("Archivos de Imagenes|*.Bmp;*.Wmf;*.Jpg;*.Gif"),
            "Archivos de Imagenes (*.Bmp *.bmp *.BMP *.Wmf *.wmf *.WMF *.Jpg *.jpg *.JPG *.Gif *.gif *.GIF)");
  EXPECT_EQ(FiltroQt("Texto|*.txt|Todos|*.*"), "Texto (*.txt *.TXT);;Todos (*.*)");
  EXPECT_EQ(FiltroQt(""), "");
}

TEST(QtOperador, MensajeDevuelveElBotonPulsado) {
  App();
  QtOperador op;
  QString titulo, texto;
  AlAbrir([&](QWidget* w) {
    titulo = w->windowTitle();
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_TRUE(box);
    texto = box->text();
    BotonConTexto(w, "Reintentar")->click();
  });
  EXPECT_EQ(op.MsgBox("uno\rdos", vb::AbortRetryIgnore + vb::Critical, "Aviso"), vb::Retry);
  EXPECT_EQ(titulo, "Aviso");
  EXPECT_EQ(texto, "uno\ndos");
}

TEST(QtOperador, EnterYEscape) {
  App();
  QtOperador op;
  struct {
    int style;
    int tecla;
    int esperada;
  } casos[] = {
      {vb::YesNo + vb::DefaultButton2, Qt::Key_Return, vb::No},
      {vb::YesNo, Qt::Key_Return, vb::Yes},
      {vb::OKCancel, Qt::Key_Escape, vb::Cancel},
      {vb::YesNo, Qt::Key_Escape, vb::No},
      {vb::OKOnly, Qt::Key_Escape, vb::OK},
  };
  for (const auto& c : casos) {
    AlAbrir([&](QWidget* w) { Tecla(w, static_cast<Qt::Key>(c.tecla)); });
    EXPECT_EQ(op.MsgBox("?", c.style, "t"), c.esperada) << c.style << " " << c.tecla;
  }
}

TEST(QtOperador, EntradaDeTexto) {
  App();
  QtOperador op;
  AlAbrir([](QWidget* w) {
    auto* dlg = qobject_cast<QInputDialog*>(w);
    ASSERT_TRUE(dlg);
    EXPECT_EQ(dlg->textValue(), "3");
    dlg->setTextValue("12");
    BotonConTexto(w, "Aceptar")->click();
  });
  EXPECT_EQ(op.InputBox("Ingrese la Cantidad del Articulo...", "Carga de Datos", "3"), "12");
  AlAbrir([](QWidget* w) { BotonConTexto(w, "Cancelar")->click(); });
  EXPECT_EQ(op.InputBox("?", "t", "x"), "");
}

struct DialogoDePrueba : DialogoModal {
  QString Nombre() const override { return "dlgPruebaOperador"; }
  int veces = 0;
};

TEST(QtOperador, ModalUsaElRegistroOFalla) {
  QtOperador op;
  DialogoDePrueba d;
  EXPECT_THROW(op.MostrarModal(d), ado::Failure);
  RegistrarDialogo("DLGPRUEBAOPERADOR", [](DialogoModal& x) { ++dynamic_cast<DialogoDePrueba&>(x).veces; });
  op.MostrarModal(d);
  EXPECT_EQ(d.veces, 1);
}

}  // namespace
