// Every window as a screen reader meets it: each control that takes the focus
// has a name, each label is tied to its field, the Alt+letter keys of one
// window do not clash, and the lines under the tabs read as they show.
#include <QAbstractButton>
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>

#include "company/form/FormularioEnBase.h"
#include "company/form/HojaEmpresa.h"
#include "company/form/ui/DlgCambiosDeOtroUsuario.h"
#include "company/form/ui/frmHistoriaEmpresa.h"
#include "company/form/ui/frmReporteEmpresa.h"
#include "company/form/ui/frmPlanillaEmpresas.h"
#include "company/rules/HistoriaEmpresa.h"
#include "lookup/ui/Lib_FrmCons3.h"
#include "lookup/ui/Lib_FrmCons3Tree.h"
#include "platform/services/DialogosPorNombre.h"
#include "platform/widgets/QtOperador.h"
#include "session/ui/frmAcceso.h"

namespace {

bool EsElemento(QAccessible::Role r) {
  // A cell, row or item is read with its column's header and its own text, empty or not.
  return r == QAccessible::Cell || r == QAccessible::Row || r == QAccessible::ListItem ||
         r == QAccessible::TreeItem || r == QAccessible::ColumnHeader || r == QAccessible::RowHeader;
}

// The focusable, showing controls of `ventana` that a screen reader would read without a name.
QStringList SinNombre(QWidget* ventana) {
  QStringList faltan;
  std::function<void(QAccessibleInterface*, int)> recorrer = [&](QAccessibleInterface* i, int nivel) {
    if (!i || nivel > 30 || i->state().invisible || EsElemento(i->role())) return;
    if (i->state().focusable && i->text(QAccessible::Name).trimmed().isEmpty()) {
      QObject* o = i->object();
      faltan << QStringLiteral("%1 (%2, rol %3)")
                    .arg(o ? o->objectName() : QString(), o ? o->metaObject()->className() : "")
                    .arg(static_cast<int>(i->role()));
    }
    for (int k = 0; k < i->childCount(); ++k) recorrer(i->child(k), nivel + 1);
  };
  recorrer(QAccessible::queryAccessibleInterface(ventana), 0);
  return faltan;
}

QChar Letra(const QString& texto) {
  for (int i = 0; i + 1 < texto.size(); ++i) {
    if (texto[i] != QLatin1Char('&')) continue;
    if (texto[i + 1] != QLatin1Char('&')) return texto[i + 1].toUpper();
    ++i;
  }
  return {};
}

// Letters used more than once by the window's Alt+letter keys, with their owners.
QStringList LetrasRepetidas(QWidget* ventana) {
  std::map<QChar, QStringList> duenos;
  for (auto* l : ventana->findChildren<QLabel*>())
    if (l->buddy()) duenos[Letra(l->text())] << l->text();
  for (auto* b : ventana->findChildren<QAbstractButton*>()) duenos[Letra(b->text())] << b->text();
  for (auto* t : ventana->findChildren<QTabBar*>())
    for (int i = 0; i < t->count(); ++i) duenos[Letra(t->tabText(i))] << t->tabText(i);
  QStringList repetidas;
  for (const auto& [letra, quienes] : duenos)
    if (!letra.isNull() && quienes.size() > 1) repetidas << quienes.join(QStringLiteral(" / "));
  return repetidas;
}

// Pairs of controls that Tab visits against the reading order (top to bottom, then left
// to right, a row being the controls whose middles share a line): "a -> b". Tab goes
// round, so the round is read from the control at the top left.
QStringList TabAlReves(QWidget* ventana) {
  QList<QWidget*> orden;
  for (QWidget* w = ventana->nextInFocusChain(); w && w != ventana; w = w->nextInFocusChain())
    if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == ventana &&
        !orden.contains(w))
      orden << w;
  // Tab goes round: the round starts where reading starts, at the top left.
  const auto arriba = [ventana](QWidget* w) {
    const QPoint p = w->mapTo(ventana, QPoint());
    return std::make_pair(p.y(), p.x());
  };
  const auto primero = std::min_element(orden.begin(), orden.end(),
                                        [&](QWidget* a, QWidget* b) { return arriba(a) < arriba(b); });
  if (primero != orden.end()) std::rotate(orden.begin(), primero, orden.end());
  QStringList reves;
  for (int i = 1; i < orden.size(); ++i) {
    const QRect a(orden[i - 1]->mapTo(ventana, QPoint()), orden[i - 1]->size());
    const QRect b(orden[i]->mapTo(ventana, QPoint()), orden[i]->size());
    const bool mismaFila = b.center().y() >= a.top() && b.center().y() <= a.bottom();
    const bool antes = mismaFila ? b.left() < a.left() : b.bottom() < a.top();
    if (antes) reves << orden[i - 1]->objectName() + " -> " + orden[i]->objectName();
  }
  return reves;
}

void Revisar(QWidget* ventana, const char* que) {
  SCOPED_TRACE(que);
  ventana->show();
  QApplication::processEvents();
  EXPECT_EQ(SinNombre(ventana), QStringList());
  EXPECT_EQ(LetrasRepetidas(ventana), QStringList());
  EXPECT_EQ(TabAlReves(ventana), QStringList());
}

class Accesibilidad : public FormularioEnBase {};

TEST_P(Accesibilidad, ElFormularioEnCadaPestanaYEstado) {
  Cargar();
  auto* pestanas = form->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  ASSERT_NE(pestanas, nullptr);
  const auto revisarPestanas = [&](const char* estado) {
    for (int p = 0; p < pestanas->count(); ++p) {
      SCOPED_TRACE(pestanas->tabText(p).toStdString());
      pestanas->setCurrentIndex(p);
      Revisar(form.get(), estado);
    }
  };
  revisarPestanas("en consulta");
  Mostrar(QStringLiteral("1"));
  revisarPestanas("editando");
  // Each field is read by its label, which reaches it with Alt and its letter.
  for (auto* l : form->findChildren<QLabel*>()) {
    if (!l->buddy()) continue;
    SCOPED_TRACE(l->text().toStdString());
    EXPECT_FALSE(Letra(l->text()).isNull());
    QString sinMarca = l->text();
    sinMarca.remove(QLatin1Char('&')).remove(QLatin1Char(':'));
    EXPECT_EQ(l->buddy()->accessibleName(), sinMarca);
  }
  const auto etiquetas = form->findChildren<QLabel*>();
  EXPECT_EQ(
      std::count_if(etiquetas.begin(), etiquetas.end(), [](QLabel* l) { return l->buddy() != nullptr; }),
      kCamposEmpresa);
}

TEST_P(Accesibilidad, LasLineasBajoLasPestanasSeLeenConSuTexto) {
  Cargar();
  for (const char* nombre : {"LblEstadoTablas", "LblAviso"}) {
    SCOPED_TRACE(nombre);
    auto* l = form->findChild<QLabel*>(QString::fromLatin1(nombre));
    ASSERT_NE(l, nullptr);
    const QString texto = QStringLiteral("Se grabó la empresa 1");
    if (QString::fromLatin1(nombre) == "LblAviso")
      form->PonerAviso(texto);
    else
      form->PonerEstadoTablas(texto, true);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name), texto);
    EXPECT_FALSE(l->accessibleDescription().isEmpty());
  }
}

TEST_P(Accesibilidad, LasConsultasYLosMensajes) {
  Cargar();
  {
    SolicitudLista s;
    s.SQL = QStringLiteral("SELECT codigo, Descripcion FROM ta_estados ");
    s.CampoDevuelto = QStringLiteral("codigo");
    Lib_FrmCons3 f(s);
    f.Cargar();
    Revisar(&f, "consulta en lista");
  }
  {
    SolicitudArbol s;
    s.SQL = QStringLiteral("SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA");
    s.CampoDevuelto = QStringLiteral("IdFamilia");
    Lib_FrmCons3Tree f(s);
    f.Cargar();
    Revisar(&f, "consulta en árbol");
  }
  {
    PlanillaEmpresas p(cnn, QStringLiteral("P_MA_Empresas"));
    ASSERT_TRUE(p.Abrir());
    frmPlanillaEmpresas f(p, QStringLiteral("Planilla de Empresas"));
    Revisar(&f, "planilla");
  }
  for (int estilo : {vb::OKOnly, vb::YesNo | vb::Question, vb::AbortRetryIgnore | vb::Critical}) {
    SCOPED_TRACE(estilo);
    QString nombre, descripcion;
    AlAbrir<QMessageBox>([&](QMessageBox* b) {
      Revisar(b, "mensaje");
      nombre = QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name);
      descripcion = QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description);
      b->buttons().front()->click();
    });
    QtOperador().MsgBox(QStringLiteral("No se pudo grabar la empresa."), estilo,
                        QStringLiteral("Aviso al operador..."));
    EXPECT_EQ(nombre, QStringLiteral("Aviso al operador..."));
    EXPECT_EQ(descripcion, QStringLiteral("No se pudo grabar la empresa."));
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Accesibilidad, ::testing::Values(testdb::Engine::Sqlite),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

TEST(AccesibilidadDialogos, CadaVentanaTieneNombres) {
  App();
  {
    frmAcceso f;
    Revisar(&f, "frmAcceso");
  }
  {
    CambiosDeOtroUsuario d;
    d.codigo = QStringLiteral("3");
    d.filas.push_back({0, QStringLiteral("Calle"), ClaseDato::Texto, QStringLiteral("antes"),
                       QStringLiteral("del otro"), QStringLiteral("de este")});
    DlgCambiosDeOtroUsuario v(d);
    Revisar(&v, "Cambios de otro usuario");
  }
  for (int filas : {0, 1}) {
    DialogoHistoria d;
    d.titulo = QStringLiteral("Historial de cambios de la empresa 4");
    if (filas) d.filas.push_back({"01/02/2026 10:00", "admin", "PC1", "Modificación", "Calle", "a", "b"});
    QDialog v;
    ArmarFrmHistoriaEmpresa(v, d);
    Revisar(&v, filas ? "historial" : "historial vacío");
  }
  {
    // The print preview, as the program opens it.
    RegistrarFrmReporteEmpresa();
    DialogoReporte d;
    d.titulo = QStringLiteral("Reporte de la empresa 3");
    d.hoja.secciones.push_back({QStringLiteral("Datos Generales"), {{QStringLiteral("Empresa:"), "3"}}});
    AlAbrir<QDialog>([](QDialog* v) {
      Revisar(v, "vista previa del reporte");
      v->reject();
    });
    (*BuscarDialogo(d.Nombre()))(d);
  }
}

}  // namespace
