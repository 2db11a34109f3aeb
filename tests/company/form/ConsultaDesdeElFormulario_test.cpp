// The field lookups as the operator uses them: the real list dialog, as the
// program registers it, opened from the form and driven by keys.
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "company/form/FormularioEnBase.h"
#include "company/form/ui/EnlaceDialogos.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/services/DialogosPorNombre.h"
#include "session/CrearMascarasConsultas.h"

namespace {

using testdb::Engine;

class ConsultaDesdeElFormulario : public FormularioEnBase {
 public:
  void SetUp() override {
    FormularioEnBase::SetUp();
    EnlazarDialogos();
    Cargar();
    // What the start-up does for the lookups.
    Lib_ClsCons3& c = Lib_ClsCons3::Instancia();
    c.gConnString = base.programString;
    c.gUsarMascarasConsultas = true;
    c.gRutaMascaraConsultas = logs.filePath(QStringLiteral("consultas.vmt"));
    CrearMascarasConsultas();
  }

  static void Tecla(QWidget* w, int qt, const QString& texto = {}) {
    QKeyEvent e(QEvent::KeyPress, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &e);
    QKeyEvent s(QEvent::KeyRelease, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &s);
  }

  // Runs `operador` on the lookup dialog once it is up; gives up after a while
  // so that a dialog that never opens fails the test instead of hanging it.
  void AlAbrirse(std::function<void(QWidget*)> operador) {
    op->MostrarComoElPrograma();
    auto intentos = std::make_shared<int>(0);
    auto* t = new QTimer(form.get());
    t->setInterval(20);
    QObject::connect(t, &QTimer::timeout, t, [t, intentos, operador, this] {
      if (QWidget* d = QApplication::activeModalWidget()) {
        t->stop();
        t->deleteLater();
        visto = d->windowTitle();
        operador(d);
      } else if (++*intentos > 250) {
        t->stop();
        t->deleteLater();
      }
    });
    t->start();
  }

  // Types `texto` into the search box over the column titled `titulo` (as the
  // lookup's statement spells it, whatever case the server reports) and confirms with Enter.
  void BuscarYAceptar(const QString& titulo, const QString& texto) {
    AlAbrirse([titulo, texto](QWidget* d) {
      auto* lista = d->findChild<QTreeView*>(QStringLiteral("ListView1"));
      ASSERT_NE(lista, nullptr);
      int columna = -1;
      for (int c = 0; c < lista->model()->columnCount(); ++c)
        if (lista->model()->headerData(c, Qt::Horizontal).toString() == titulo) columna = c;
      if (columna < 0) {  // the test fails, and the dialog is closed rather than left waiting
        ADD_FAILURE() << "no column titled " << qPrintable(titulo);
        return Tecla(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape, QStringLiteral("\x1b"));
      }
      auto* caja = d->findChild<QLineEdit*>(QStringLiteral("CmbSearch%1").arg(columna));
      ASSERT_NE(caja, nullptr);
      caja->setFocus();
      for (QChar c : texto) Tecla(caja, c.toUpper().unicode(), QString(c));
      Tecla(caja, Qt::Key_Return, QStringLiteral("\r"));
    });
  }

  QString visto;
};

TEST_P(ConsultaDesdeElFormulario, ClicDerechoEnElCodigoEligeLaEmpresaPorSuNombre) {
  form->show();
  BuscarYAceptar(QStringLiteral("NombreEmpresa"), QStringLiteral("Lác"));
  L().txtFields_GotFocus(0);
  L().txtFields_MouseDown(0, tecla::BotonDerecho, 0);
  EXPECT_EQ(visto, QStringLiteral("Consulta..."));
  EXPECT_EQ(Texto(0), QStringLiteral("10"));
  EXPECT_EQ(Texto(1), QStringLiteral("Lácteos La Pampa Cooperativa Ltda."));
  EXPECT_TRUE(L().EsModificacion);
}

TEST_P(ConsultaDesdeElFormulario, ConsultarEnLaProvinciaTraeCodigoYDescripcion) {
  form->show();
  Mostrar(QStringLiteral("1"));
  BuscarYAceptar(QStringLiteral("DESCRIPCION"), QStringLiteral("Córd"));
  L().txtFields_GotFocus(13);
  Accion("CONSULTAR");
  EXPECT_EQ(visto, QStringLiteral("Consulta..."));
  EXPECT_EQ(Texto(13).trimmed(),
            Uno(QStringLiteral("SELECT codigo FROM ta_estados WHERE Descripcion = 'Córdoba'")).trimmed());
  EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("LblIdProvincia"))->text(), QStringLiteral("Córdoba"));
}

TEST_P(ConsultaDesdeElFormulario, CancelarNoCambiaNada) {
  form->show();
  Mostrar(QStringLiteral("2"));
  const QString nombre = Texto(1);
  AlAbrirse([](QWidget* d) {
    Tecla(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape, QStringLiteral("\x1b"));
  });
  L().txtFields_GotFocus(0);
  Accion("CONSULTAR");
  EXPECT_EQ(visto, QStringLiteral("Consulta..."));
  EXPECT_EQ(Texto(0), QStringLiteral("2"));
  EXPECT_EQ(Texto(1), nombre);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsultaDesdeElFormulario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
