// The action and navigation bars, the entry-control helpers and the file dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/widgets/ActBar.h"
#include "platform/widgets/CodigosTecla.h"
#include "platform/widgets/Controles.h"
#include "platform/widgets/DialogoArchivo.h"
#include "platform/widgets/NavBar.h"
#include "support/OperadorGuionado.h"
#include "support/VentanasDePrueba.h"

namespace {

// The keys a bar reported, in order.
struct Clics {
  explicit Clics(BarraBotones* b) {
    QObject::connect(b, &BarraBotones::Click, b, [this](const QString& k) { claves << k; });
  }
  QStringList claves;
};

class Barras : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
};

TEST_F(Barras, AccionEmpiezaConTodoDeshabilitadoYHabilitaPorClave) {
  ActBar bar;
  EXPECT_EQ(bar.Claves(), (QStringList{"NUEVO", "BORRAR", "GRABAR", "CONSULTAR", "REPORTE", "PLANILLA",
                                       "CERRAR", "CANCELAR"}));
  for (const QString& k : bar.Claves()) EXPECT_FALSE(bar.Habilitado(k)) << k.toStdString();
  bar.SetHabilitado(QStringLiteral("grabar"), true);  // keys ignore letter case
  EXPECT_TRUE(bar.Habilitado(QStringLiteral("GRABAR")));
  EXPECT_FALSE(bar.Habilitado(QStringLiteral("NO_EXISTE")));
  bar.SetHabilitado(QStringLiteral("NO_EXISTE"), true);  // an unknown key changes nothing
  for (const QString& k : bar.Claves()) EXPECT_EQ(bar.Habilitado(k), k == "GRABAR") << k.toStdString();
  EXPECT_FALSE(bar.Habilitado(QStringLiteral("NO_EXISTE")));
}

TEST_F(Barras, ClicEmiteLaClave) {
  NavBar bar;
  Clics clics(&bar);
  bar.BotonDe(QStringLiteral("SIGUIENTE"))->click();
  EXPECT_EQ(clics.claves, QStringList{QStringLiteral("SIGUIENTE")});
}

struct Atajo {
  const char* clave;
  int codigo, shift;
  const char* texto;
};

void ProbarAtajos(BarraBotones& barra, const std::vector<Atajo>& casos) {
  Clics clics(&barra);
  for (const Atajo& c : casos) {
    const QString clave = QString::fromLatin1(c.clave);
    barra.SetHabilitado(clave, false);
    EXPECT_FALSE(barra.TeclaAbajo(c.codigo, c.shift)) << c.clave;
    barra.SetHabilitado(clave, true);
    EXPECT_FALSE(barra.TeclaAbajo(c.codigo, c.shift ^ tecla::Mayusculas)) << c.clave << " with another shift";
    EXPECT_TRUE(barra.TeclaAbajo(c.codigo, c.shift)) << c.clave;
    ASSERT_FALSE(clics.claves.isEmpty());
    EXPECT_EQ(clics.claves.takeLast(), clave);
    EXPECT_TRUE(barra.BotonDe(clave)->toolTip().contains(QString::fromUtf8(c.texto))) << c.clave;
  }
  EXPECT_TRUE(clics.claves.isEmpty());
}

TEST_F(Barras, AtajosDeTecladoSoloConElBotonHabilitado) {
  using namespace tecla;
  ActBar act;
  NavBar nav;
  ProbarAtajos(act, {{"NUEVO", F2, 0, "F2"},
                     {"CONSULTAR", F3, 0, "F3"},
                     {"BORRAR", F8, 0, "F8"},
                     {"GRABAR", F10, 0, "F10"},
                     {"CANCELAR", Escape, 0, "Esc"},
                     {"CERRAR", 'Q', Control, "Ctrl+Q"},
                     {"REPORTE", 'R', Control, "Ctrl+R"},
                     {"PLANILLA", 'P', Control, "Ctrl+P"}});
  ProbarAtajos(nav, {{"PRIMERO", Inicio, Control, "Ctrl+Inicio"},
                     {"ANTERIOR", RePag, 0, "RePág"},
                     {"SIGUIENTE", AvPag, 0, "AvPág"},
                     {"ULTIMO", Fin, Control, "Ctrl+Fin"},
                     {"FILTRAR", 'F', Control, "Ctrl+F"}});
  // A hidden bar (the navigation bar in the edit state) takes no keys.
  nav.setVisible(false);
  EXPECT_FALSE(nav.TeclaAbajo(AvPag, 0));
  nav.setVisible(true);
  nav.setEnabled(false);
  EXPECT_FALSE(nav.TeclaAbajo(AvPag, 0));
  EXPECT_FALSE(act.TeclaAbajo('A', 0));
}

TEST_F(Barras, StyleBarDecideBotonesPlanos) {
  ActBar bar;
  bar.setProperty("StyleBar", 0.0);
  EXPECT_FALSE(bar.BotonDe(QStringLiteral("NUEVO"))->autoRaise());
  bar.setProperty("StyleBar", 1.0);
  EXPECT_TRUE(bar.BotonDe(QStringLiteral("NUEVO"))->autoRaise());
  // Buttons never take the focus from the record fields.
  EXPECT_EQ(bar.BotonDe(QStringLiteral("GRABAR"))->focusPolicy(), Qt::NoFocus);
}

TEST_F(Barras, TeclasDeQtComoCodigosDelPrograma) {
  const struct {
    int qt;
    Qt::KeyboardModifiers mods;
    QString texto;
    int codigo, shift, caracter;
  } casos[] = {
      {Qt::Key_Return, Qt::NoModifier, "\r", tecla::Enter, 0, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, "\r", tecla::Enter, 0, 13},
      {Qt::Key_Escape, Qt::NoModifier, "\x1b", tecla::Escape, 0, 27},
      {Qt::Key_F10, Qt::NoModifier, "", tecla::F10, 0, 0},
      {Qt::Key_Home, Qt::ControlModifier, "", tecla::Inicio, tecla::Control, 0},
      {Qt::Key_PageDown, Qt::NoModifier, "", tecla::AvPag, 0, 0},
      {Qt::Key_Up, Qt::NoModifier, "", tecla::Arriba, 0, 0},
      {Qt::Key_Q, Qt::ControlModifier, "\x11", 'Q', tecla::Control, 17},
      {Qt::Key_A, Qt::ShiftModifier, "A", 'A', tecla::Mayusculas, 'A'},
      {Qt::Key_Comma, Qt::NoModifier, ",", 0, 0, ','},
  };
  for (const auto& c : casos) {
    QKeyEvent e(QEvent::KeyPress, c.qt, c.mods, c.texto);
    EXPECT_EQ(Controles::CodigoTecla(&e), c.codigo) << c.qt;
    EXPECT_EQ(Controles::EstadoShift(&e), c.shift) << c.qt;
    EXPECT_EQ(Controles::CaracterTecla(&e), c.caracter) << c.qt;
  }
}

TEST_F(Barras, ControlesDeCampos) {
  QWidget form;
  auto* capa = new QVBoxLayout(&form);
  QVector<QWidget*> campos;
  for (const char* col : {"IdEmpresa", "NombreEmpresa", "CUIT"}) {
    auto* l = new QLineEdit(&form);
    l->setProperty("DataField", QString::fromLatin1(col));
    l->setText(QStringLiteral("algo"));
    capa->addWidget(l);
    campos << l;
  }
  auto* libre = new QLineEdit(QStringLiteral("sin columna"), &form);
  capa->addWidget(libre);
  Controles& c = Controles::Compartido();
  EXPECT_EQ(c.IndiceCampo(QStringLiteral("cuit"), campos), 2);
  EXPECT_EQ(c.IndiceCampo(QStringLiteral("NOMBREEMPRESA"), campos), 1);
  EXPECT_EQ(c.IndiceCampo(QStringLiteral("Calle"), campos), -1);
  EXPECT_TRUE(c.EsTeclaAvance(tecla::Enter));
  EXPECT_FALSE(c.EsTeclaAvance(tecla::Tab));
  int k = ',';
  c.FiltrarTecla(campos[0], k);
  EXPECT_EQ(k, ',');
  // The workstation's separator, as the operator types numbers.
  for (const auto& [idioma, separador] :
       {std::pair{QLocale(QLocale::Spanish, QLocale::Argentina), ","}, std::pair{QLocale::c(), "."}}) {
    QLocale::setDefault(idioma);
    EXPECT_EQ(c.SeparadorDecimal(), separador) << idioma.name().toStdString();
  }
  QLocale::setDefault(QLocale::system());
  c.LimpiarFormulario(&form);
  for (QWidget* w : campos) EXPECT_TRUE(Controles::Texto(w).isEmpty());
  EXPECT_EQ(libre->text(), QStringLiteral("sin columna"));
}

TEST_F(Barras, DialogoArchivoPorElOperador) {
  auto op = OperadorGuionado::Instalar();
  QTemporaryDir dir;
  const QString existe = dir.filePath(QStringLiteral("logo.gif"));
  QFile(existe).open(QIODevice::WriteOnly);
  DialogoArchivo d;
  d.Filter = QStringLiteral("Archivos de Imagenes|*.Bmp;*.Wmf;*.Jpg;*.Gif");
  d.DialogTitle = QStringLiteral("Buscar Archivos");
  op->ElegirArchivo(existe);
  d.ShowOpen();
  EXPECT_EQ(d.FileName, existe);
  op->ElegirArchivo(QString());  // cancelled
  d.ShowOpen();
  EXPECT_EQ(d.FileName, QString());
  op->ElegirArchivo(dir.filePath(QStringLiteral("no_esta.gif")));
  d.ShowOpen();
  EXPECT_EQ(d.FileName, QString());
  ASSERT_EQ(op->filtros.size(), 3);
  EXPECT_EQ(op->filtros[0], d.Filter);
  EXPECT_EQ(op->entradas[0].prompt, QStringLiteral("Buscar Archivos"));
}

}  // namespace
