// The company form's start-up, layout, browse / edit states, navigation,
// field validation and keyboard.
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <climits>
#include <functional>

#include "company/form/FormularioEnBase.h"
#include "company/form/ui/GrillaFlex.h"
#include "platform/services/ArchivoIni.h"
#include "platform/services/Entorno.h"
#include "platform/widgets/ActBar.h"
#include "platform/widgets/Controles.h"
#include "platform/widgets/NavBar.h"
#include "support/OperadorQueMiraElCursor.h"

namespace {

using testdb::Engine;

class Formulario : public FormularioEnBase {
 public:
  struct Estado {
    bool edicion;
    QString codigo;  // field 0
    bool esNuevo;
    bool esModificacion;
  };
  Estado Actual() { return {L().EnEdicion(), Texto(0), L().EsNuevo, L().EsModificacion}; }

  // The controls follow the state.
  void ControlesDe(bool edicion, bool reporte) {
    for (int i = 1; i < kCamposEmpresa; ++i) EXPECT_EQ(form->txtFields(i)->isEnabled(), edicion) << i;
    EXPECT_TRUE(form->txtFields(0)->isEnabled());
    EXPECT_EQ(form->NavegacionVisible(), !edicion);
    const struct {
      const char* clave;
      bool enEdicion;
    } botones[] = {
        {"NUEVO", false}, {"CERRAR", false}, {"GRABAR", true}, {"CANCELAR", true}, {"BORRAR", true}};
    for (const auto& b : botones)
      EXPECT_EQ(form->ActBar1()->Habilitado(QString::fromLatin1(b.clave)), b.enEdicion == edicion) << b.clave;
    EXPECT_EQ(form->ActBar1()->Habilitado(QStringLiteral("REPORTE")), reporte);
    EXPECT_EQ(form->ActBar1()->Habilitado(QStringLiteral("PLANILLA")), !edicion);
    EXPECT_FALSE(form->SSTab1()->isTabEnabled(1));  // switched off for good
    EXPECT_EQ(form->SSTab1()->isTabEnabled(2), edicion);
  }
};

TEST_P(Formulario, DisenoDelFormulario) {
  // The workstation asks for raised buttons, against the bars' own flat default.
  ArchivoIni::Compartido().FijarCarpetas({logs.path()});
  Entorno::Compartido().FijarIdentificadores(QStringLiteral("pc1"), QStringLiteral("juan"));
  QFile ini(logs.filePath(QStringLiteral("CN000pr.INI")));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[PC1|JUAN]\r\nFlatToolbars=0\r\n");
  ini.close();
  Cargar();
  ArchivoIni::Compartido().FijarCarpetas({});
  Entorno::Compartido().FijarIdentificadores(std::nullopt, std::nullopt);
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Empresas"));
  ASSERT_EQ(form->SSTab1()->count(), 3);
  EXPECT_EQ(form->SSTab1()->tabText(0), QStringLiteral(" &Datos Generales"));
  EXPECT_EQ(form->SSTab1()->tabText(1), QStringLiteral("&Usuarios"));
  EXPECT_EQ(form->SSTab1()->tabText(2), QStringLiteral("Campos &Personalizados"));
  EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(form->txtFields(12)));  // two lines high
  // Tab order: 0 1 2 3 4 5 6 7 13 10 8 9 11 12.
  const int orden[] = {0, 1, 2, 3, 4, 5, 6, 7, 13, 10, 8, 9, 11, 12};
  for (int k = 1; k < kCamposEmpresa; ++k) {
    QWidget* w = form->txtFields(orden[k - 1])->nextInFocusChain();
    while (w && !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
    EXPECT_EQ(w, form->txtFields(orden[k])) << "after field " << orden[k - 1];
  }
  EXPECT_EQ(form->OptHonorarios(0)->text(), QStringLiteral("Pedir Honorarios"));
  EXPECT_EQ(form->OptHonorarios(1)->text(), QStringLiteral("Pedir Sueldo Bruto"));
  QStringList herramientas;
  for (QAction* a : form->Toolbar1()->actions()) herramientas << a->objectName() + "/" + a->toolTip();
  EXPECT_EQ(herramientas, (QStringList{"Buscar/Buscar (Ctrl+L)", "Eliminar/Eliminar (Ctrl+Mayús+L)"}));
  EXPECT_FALSE(form->windowIcon().isNull());
  EXPECT_FALSE(form->ActBar1()->BotonDe(QStringLiteral("NUEVO"))->autoRaise());
  EXPECT_FALSE(form->NavBar1()->BotonDe(QStringLiteral("PRIMERO"))->autoRaise());
  EXPECT_EQ(form->MSFlexPers()->Rows(), 1);
  EXPECT_TRUE(form->TxtEdit()->isHidden());
}

// The label the operator reads just left of each field, found on the laid-out
// window; the expected texts are written out, not taken from the field table.
TEST_P(Formulario, CadaCampoConSuEtiquetaColumnaYConsulta) {
  Cargar();
  form->resize(820, 600);
  form->show();
  QApplication::processEvents();
  const struct {
    const char *etiqueta, *columna, *tabla;
  } esperados[kCamposEmpresa] = {
      {"Empresa:", "IdEmpresa", "P_MA_Empresas"},
      {"Nombre:", "NombreEmpresa", ""},
      {"Calle:", "Calle", ""},
      {"Numero:", "Numero", ""},
      {"Piso:", "Piso", ""},
      {"Dpto:", "Dpto", ""},
      {"Localidad:", "Localidad", ""},
      {"Codigo Postal:", "CodigoPostal", ""},
      {"Telefono:", "Telefono", ""},
      {"E-m@il:", "eMail", ""},
      {"CUIT:", "CUIT", ""},
      {"Actividad:", "Actividad", ""},
      {"Observaciones:", "Observaciones", ""},
      {"Provincia", "IdProvincia", "ta_estados"},
  };
  for (int i = 0; i < kCamposEmpresa; ++i) {
    QWidget* campo = form->txtFields(i);
    const QRect r(campo->mapTo(form.get(), QPoint()), campo->size());
    QLabel* cercana = nullptr;
    int distancia = INT_MAX;
    for (QLabel* l : form->findChildren<QLabel*>()) {
      const QRect g(l->mapTo(form.get(), QPoint()), l->size());
      if (!l->isVisible() || g.right() > r.left() || g.bottom() < r.top() || g.top() > r.bottom()) continue;
      if (r.left() - g.right() < distancia) {
        distancia = r.left() - g.right();
        cercana = l;
      }
    }
    ASSERT_TRUE(cercana) << "field " << i;
    EXPECT_EQ(QString(cercana->text()).remove(QLatin1Char('&')), esperados[i].etiqueta) << "field " << i;
    EXPECT_EQ(cercana->buddy(), campo) << "field " << i;
    EXPECT_EQ(campo->property("DataField").toString(), esperados[i].columna) << "field " << i;
    EXPECT_EQ(campo->property("Tag").toString(), esperados[i].tabla) << "field " << i;
  }
}

// Each row: from a state, an event, to a state.
TEST_P(Formulario, TablaDeEstados) {
  Cargar();
  const struct Fila {
    const char* nombre;
    std::function<void(Formulario&)> desde;
    std::function<void(Formulario&)> evento;
    Estado hasta;
    QString nombreEmpresa;  // field 1 afterwards
    bool reporte = false;   // a stored company is shown
  } filas[] = {
      {"carga", [](Formulario&) {}, [](Formulario&) {}, {false, "12", false, false}, ""},
      {"NUEVO tras mostrar",
       [](Formulario& f) { f.Mostrar("2"); },
       [](Formulario& f) { f.Accion("NUEVO"); },
       {false, "12", true, false},
       ""},
      {"Enter en codigo existente",
       [](Formulario&) {},
       [](Formulario& f) { f.Mostrar("4"); },
       {true, "4", false, true},
       "Bodegas Valle de Uco S.A.",
       true},
      {"Enter en codigo nuevo",
       [](Formulario& f) { f.Mostrar("4"); },
       [](Formulario& f) { f.Mostrar("40"); },
       {true, "40", true, false},
       ""},
      {"NUEVO", [](Formulario&) {}, [](Formulario& f) { f.Accion("NUEVO"); }, {false, "12", true, false}, ""},
      {"navegacion",
       [](Formulario&) {},
       [](Formulario& f) { f.Navegar("PRIMERO"); },
       {false, "1", false, true},
       "Distribuidora del Litoral S.A.",
       true},
      {"GRABAR valido",
       [](Formulario& f) {
         f.Mostrar("15");
         f.Escribir(1, "Nueva S.A.");
       },
       [](Formulario& f) { f.Accion("GRABAR"); },
       {false, "15", false, false},
       ""},
      {"GRABAR sin nombre: el aviso heredado de la suite nombra el codigo",
       [](Formulario& f) {
         f.Mostrar("3");
         f.Escribir(1, "");
         f.op->Responder(vb::OK);  // the name is missing
       },
       [](Formulario& f) { f.Accion("GRABAR"); },
       {true, "3", false, true},
       "",
       true},
      {"CANCELAR",
       [](Formulario& f) { f.Mostrar("5"); },
       [](Formulario& f) { f.Accion("CANCELAR"); },
       {false, "1", false, true},
       "Distribuidora del Litoral S.A.",
       true},
      {"BORRAR confirmado",
       [](Formulario& f) {
         f.Mostrar("6");
         f.op->Responder(vb::Yes);
       },
       [](Formulario& f) { f.Accion("BORRAR"); },
       {false, "15", false, true},
       ""},
  };
  for (const Fila& fila : filas) {
    SCOPED_TRACE(fila.nombre);
    L().Inicializa();
    fila.desde(*this);
    op->mensajes.clear();
    fila.evento(*this);
    const Estado e = Actual();
    EXPECT_EQ(e.edicion, fila.hasta.edicion);
    EXPECT_EQ(e.codigo, fila.hasta.codigo);
    EXPECT_EQ(e.esNuevo, fila.hasta.esNuevo);
    EXPECT_EQ(e.esModificacion, fila.hasta.esModificacion);
    EXPECT_EQ(Texto(1), QString::fromUtf8(fila.hasta.edicion || !fila.nombreEmpresa.isEmpty()
                                              ? fila.nombreEmpresa.toUtf8()
                                              : QByteArray()));
    ControlesDe(fila.hasta.edicion, fila.reporte);
    if (QString::fromLatin1(fila.nombre) ==
        QLatin1String("GRABAR sin nombre: el aviso heredado de la suite nombra el codigo")) {
      ASSERT_EQ(op->mensajes.size(), 1u);
      EXPECT_EQ(op->mensajes[0].prompt, QStringLiteral(" Debe informar el Codigo!"));
      EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Aviso al operador..."));
      EXPECT_EQ(op->mensajes[0].style, vb::Information);
    } else if (QString::fromLatin1(fila.nombre) != QLatin1String("BORRAR confirmado")) {
    }
  }
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("6") + "'"), 0);
  // CERRAR unloads the form.
  form->show();
  L().ActBar1_Click(QStringLiteral("CERRAR"));
  EXPECT_TRUE(form->isHidden());
  EXPECT_EQ(L().rsEmpresas().State(), ado::adStateClosed);
}

TEST_P(Formulario, NavegacionSinDialogosNiCambiosMasAllaDelFinal) {
  Cargar();
  Navegar("ULTIMO");
  EXPECT_EQ(Texto(0), QStringLiteral("12"));
  Navegar("SIGUIENTE");
  EXPECT_EQ(Texto(0), QStringLiteral("12"));
  EXPECT_EQ(Texto(1), QStringLiteral("Textil Entre Ríos S.A."));
  Navegar("ANTERIOR");
  EXPECT_EQ(Texto(0), QStringLiteral("12"));
  Navegar("ANTERIOR");
  EXPECT_EQ(Texto(0), QStringLiteral("11"));
  Navegar("FILTRAR");  // redisplays
  EXPECT_EQ(Texto(0), QStringLiteral("11"));
  Navegar("PRIMERO");
  Navegar("ANTERIOR");
  Navegar("ANTERIOR");
  Navegar("SIGUIENTE");
  EXPECT_EQ(Texto(0), QStringLiteral("1"));
  // A company with PideHonorarios Null shows the second option; a logo shows.
  EXPECT_TRUE(form->OptHonorarios(1)->isChecked());
  EXPECT_FALSE(form->Logo().EsNula());
}

// Load leaves the read of the table for its first use: the first move still
// starts from the first company, and a confirmed code still narrows the
// recordset to that company.
TEST_P(Formulario, LaPrimeraNavegacionParteDeLaPrimeraEmpresa) {
  const struct {
    const char* clave;
    const char* codigo;                                                    // field 0 afterwards
  } casos[] = {{"SIGUIENTE", "2"}, {"FILTRAR", "1"}, {"ANTERIOR", "12"}};  // before the first: as loaded
  for (const auto& c : casos) {
    Cargar();
    Navegar(c.clave);
    EXPECT_EQ(Texto(0), QString::fromLatin1(c.codigo)) << c.clave;
  }
  Cargar();
  Mostrar(QStringLiteral("5"));
  const QString nombre = Texto(1);
  EXPECT_FALSE(nombre.isEmpty());
  Navegar("SIGUIENTE");  // past the one company: nothing changes
  EXPECT_EQ(Texto(0), QStringLiteral("5"));
  EXPECT_EQ(Texto(1), nombre);
}

// First, last, next and previous follow the code whatever order the engine
// reads the table in: SQLite in the order the rows were stored, PostgreSQL,
// on a table over a quarter of its buffers (32 MB here), from where another
// scan of it stopped. 3,000 companies on pages a tenth full make some 12 MB.
TEST_P(Formulario, LaNavegacionSigueElOrdenDelCodigo) {
  const bool pg = GetParam() == Engine::Postgres;
  Cargar(
      pg ? QStringLiteral("ALTER TABLE P_MA_Empresas SET (fillfactor = 10);"
                          "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Observaciones) "
                          "SELECT lpad(g::text, 15), 'Empresa ' || g, repeat('x', 200) "
                          "FROM generate_series(13, 3000) g;")
         : QStringLiteral("WITH RECURSIVE g(n) AS (SELECT 3000 UNION ALL SELECT n - 1 FROM g WHERE n > 13) "
                          "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) "
                          "SELECT substr('               ' || n, -15), 'Empresa ' || n FROM g;"));
  // A scan left half-way leaves the next one to start there.
  if (pg) testdb::Query(base, QStringLiteral("SELECT IdEmpresa FROM P_MA_Empresas OFFSET 1500 LIMIT 1"));
  const struct {
    const char* clave;
    const char* codigo;
  } pasos[] = {{"PRIMERO", "1"}, {"SIGUIENTE", "2"}, {"ULTIMO", "3000"}, {"ANTERIOR", "2999"}};
  for (const auto& p : pasos) {
    Navegar(p.clave);
    EXPECT_EQ(Texto(0), QString::fromLatin1(p.codigo)) << p.clave;
  }
}

TEST_P(Formulario, TablaVaciaMuestraCeroYNavegaEnSilencio) {
  Cargar(QStringLiteral("DELETE FROM P_MA_Empresas;"));
  EXPECT_EQ(Texto(0), QStringLiteral("0"));
  for (const char* k : {"PRIMERO", "SIGUIENTE", "ANTERIOR", "ULTIMO"}) Navegar(k);
  EXPECT_EQ(Texto(0), QStringLiteral("0"));
  Accion("CANCELAR");  // not usable in browse, but harmless when called
}

// The code field proposes the greatest code: a number as the number it is,
// any other code as stored, trimmed (never "0" for a code of letters). The
// rows add up: each one's code is greater than the last.
TEST_P(Formulario, ElUltimoCodigoSeProponeComoEsta) {
  const struct {
    const char* antes;
    std::function<void(Formulario&)> accion;
    const char* codigo;
  } casos[] = {
      {"INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) VALUES ('            007', 'Siete');", {}, "7"},
      {"",
       [](Formulario& f) {
         f.Mostrar("ABC");
         f.Escribir(1, "Letras S.A.");
         f.Accion("GRABAR");
       },
       "ABC"},
      {"INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa) VALUES ('Z-1', 'Zeta');", {}, "Z-1"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    Cargar(QString::fromLatin1(c.antes));
    if (c.accion) c.accion(*this);
    EXPECT_EQ(Texto(0), QString::fromLatin1(c.codigo));
  }
}

TEST_P(Formulario, ProvinciaAlConfirmarConEnter) {
  Cargar();
  Mostrar("2");
  const struct {
    const char* codigo;
    const char* descripcion;
  } casos[] = {{"2", "Catamarca"}, {" 1 ", "Buenos Aires"}, {"99", ""}, {"", ""}};
  for (const auto& c : casos) {
    Escribir(13, QString::fromLatin1(c.codigo));
    Enter(13);
    EXPECT_EQ(form->LblIdProvincia()->text(), QString::fromUtf8(c.descripcion)) << c.codigo;
    EXPECT_FALSE(L().HayError);
  }
}

// The description beside the province code is always that of the company on
// screen: empty for none, for a new code and for a code not in ta_estados.
TEST_P(Formulario, LaProvinciaEsLaDeLaEmpresaMostrada) {
  Cargar(QStringLiteral("UPDATE P_MA_Empresas SET IdProvincia = '99' WHERE IdEmpresa = '") + Codigo15("11") +
         QStringLiteral("';"));
  const struct {
    const char* paso;
    std::function<void(Formulario&)> hacer;
    const char* descripcion;
  } pasos[] = {
      {"carga", [](Formulario&) {}, ""},
      {"PRIMERO", [](Formulario& f) { f.Navegar("PRIMERO"); }, "Santa Fe"},
      {"código nuevo", [](Formulario& f) { f.Mostrar("93"); }, ""},
      {"código 12", [](Formulario& f) { f.Mostrar("12"); }, "Entre Ríos"},
      {"NUEVO", [](Formulario& f) { f.Accion("NUEVO"); }, ""},
      {"provincia desconocida", [](Formulario& f) { f.Mostrar("11"); }, ""},
      {"CANCELAR", [](Formulario& f) { f.Accion("CANCELAR"); }, "Santa Fe"},
  };
  for (const auto& p : pasos) {
    p.hacer(*this);
    EXPECT_EQ(form->LblIdProvincia()->text(), QString::fromUtf8(p.descripcion)) << p.paso;
  }
}

// The server gone in the middle of a move: what the form shows afterwards
// never mixes two companies (company 1 has the only logo and rubro Alimentos).
TEST_P(Formulario, UnaNavegacionQueFallaNoMezclaEmpresas) {
  const std::vector<int> respuestas[] = {{vb::Abort}, {vb::Ignore}, {vb::Retry, vb::Abort}};
  for (const auto& r : respuestas) {
    SCOPED_TRACE(r.size());
    Cargar();
    Navegar("PRIMERO");
    ASSERT_FALSE(form->Logo().EsNula());
    cnn->Close();
    for (int x : r) op->Responder(x);
    Navegar("SIGUIENTE");  // its logo is read from the server, which is gone
    EXPECT_EQ(Titulos(), QStringList(static_cast<int>(r.size()), QStringLiteral("Aviso al operador...")));
    EXPECT_EQ(Texto(1), QString());
    EXPECT_TRUE(form->Logo().EsNula());
    EXPECT_EQ(form->MSFlexPers()->Rows(), 1);
    EXPECT_EQ(form->LblIdProvincia()->text(), QString());
    EXPECT_FALSE(L().EsModificacion);
  }
}

// Typed or pasted, a field keeps at most its column's characters (an "ñ" is
// one character, two bytes), so that a save never ends in the server's
// "would be truncated"; each column's full length is stored.
TEST_P(Formulario, CadaCampoTomaElLargoDeSuColumna) {
  Cargar();
  const int largos[kCamposEmpresa] = {15, 60, 60, 10, 5, 5, 50, 10, 40, 80, 13, 60, 255, 3};
  Mostrar(QStringLiteral("3"));
  const QChar enie(0xF1);
  for (int i = 0; i < kCamposEmpresa; ++i) {
    const QString pegado(largos[i] + 4, enie);
    Escribir(i, QString());
    if (auto* l = qobject_cast<QLineEdit*>(form->txtFields(i))) l->insert(pegado);
    if (auto* p = qobject_cast<QPlainTextEdit*>(form->txtFields(i))) p->insertPlainText(pegado);
    EXPECT_EQ(Texto(i).size(), largos[i]) << kTablaCampos[i].columna;
  }
  Escribir(0, QStringLiteral("3"));
  op->Responder(vb::OK);  // a CUIT of "ñ" is told wrong, and kept
  Accion("GRABAR");
  EXPECT_EQ(op->mensajes.size(), 1u);
  const QString donde = QStringLiteral(" FROM P_MA_Empresas WHERE IdEmpresa = '") + Codigo15("3") + "'";
  EXPECT_EQ(Uno("SELECT NombreEmpresa" + donde), QString(60, enie));
  EXPECT_EQ(Uno("SELECT Observaciones" + donde), QString(255, enie));
}

// PRIMERO's fresh read of the table and the save show the wait cursor: a box
// that comes up in the middle of them finds it, and it is gone afterwards.
TEST_P(Formulario, LecturasLargasConElCursorDeEspera) {
  Cargar();
  auto mira = std::make_shared<OperadorQueMiraElCursor>();
  EstablecerOperador(mira);
  op = mira;
  // Saving a company deleted meanwhile asks first (and is cancelled).
  Mostrar(QStringLiteral("2"));
  testdb::RunSql(base, "DELETE FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("2") + "'");
  int cursorDelDialogo = -1;
  op->AlMostrar([&](DialogoModal&) {
    const QCursor* c = QGuiApplication::overrideCursor();
    cursorDelDialogo = c ? c->shape() : -1;
  });
  form->ActBar1()->BotonDe(QStringLiteral("GRABAR"))->click();
  EXPECT_EQ(cursorDelDialogo, Qt::WaitCursor);
  // The table gone: the fresh read fails.
  L().Inicializa();
  testdb::RunSql(base, "DROP TABLE P_MA_Empresas");
  op->Responder(vb::Abort);
  form->NavBar1()->BotonDe(QStringLiteral("PRIMERO"))->click();
  EXPECT_EQ(op->mensajes.size(), 1u) << Titulos().join(" / ");
  EXPECT_EQ(mira->cursores, std::vector<int>(op->mensajes.size(), Qt::WaitCursor));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_P(Formulario, LaConsultaSigueAlCampoConTabla) {
  Cargar();
  Mostrar("2");
  for (int i = 0; i < kCamposEmpresa; ++i) {
    L().txtFields_GotFocus(i);
    EXPECT_EQ(form->ActBar1()->Habilitado(QStringLiteral("CONSULTAR")), i == 0 || i == 13) << i;
  }
  // Right click on a field without a lookup does nothing.
  L().txtFields_GotFocus(4);
  L().txtFields_MouseDown(4, tecla::BotonDerecho, 0);
  EXPECT_TRUE(op->dialogos.isEmpty());
}

TEST_P(Formulario, AbreConElCodigoListoParaTeclear) {
  Cargar();
  form->show();
  form->activateWindow();
  QApplication::processEvents();
  auto* codigo = qobject_cast<QLineEdit*>(form->txtFields(0));
  ASSERT_NE(codigo, nullptr);
  EXPECT_EQ(QApplication::focusWidget(), codigo);
  EXPECT_EQ(codigo->selectedText(), QStringLiteral("12"));
}

TEST_P(Formulario, AtajosConElFocoEnCualquierCampo) {
  Cargar();
  form->show();
  form->activateWindow();
  QApplication::processEvents();
  auto tecla = [&](QWidget* w, int qt, Qt::KeyboardModifiers m = Qt::NoModifier, const QString& t = {}) {
    w->setFocus();
    QApplication::processEvents();
    QKeyEvent e(QEvent::KeyPress, qt, m, t);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
  };
  // Browse state: Page Down on the code field moves on; F10 (disabled) does nothing.
  Navegar("PRIMERO");
  tecla(form->txtFields(0), Qt::Key_PageDown);
  EXPECT_EQ(Texto(0), QStringLiteral("2"));
  tecla(form->txtFields(0), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Texto(0), QStringLiteral("12"));
  tecla(form->txtFields(0), Qt::Key_F10);
  EXPECT_FALSE(L().EnEdicion());
  // Enter on the code field confirms it; Escape on a field cancels.
  Escribir(0, QStringLiteral("3"));
  tecla(form->txtFields(0), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  EXPECT_TRUE(L().EnEdicion());
  EXPECT_EQ(Texto(1), QStringLiteral("Estudio Contable Pereyra & Asociados"));
  tecla(form->txtFields(9), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
  EXPECT_FALSE(L().EnEdicion());
  // F10 from the remarks box saves.
  Mostrar("3");
  Escribir(12, QString());
  tecla(form->txtFields(12), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  EXPECT_EQ(Texto(12), QStringLiteral("a"));
  Escribir(12, QStringLiteral("cambiado con F10"));
  tecla(form->txtFields(12), Qt::Key_F10);
  EXPECT_FALSE(L().EnEdicion());
  EXPECT_EQ(Uno("SELECT Observaciones FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("3") + "'"),
            QStringLiteral("cambiado con F10"));
  // The grid editor keeps its own Escape: the edit is dropped, the form stays.
  Mostrar("3");
  form->SSTab1()->setCurrentIndex(2);
  form->MSFlexPers()->setCurrentCell(1, 1);
  L().MSFlexPers_KeyPress('x');
  ASSERT_TRUE(form->TxtEdit()->isVisible());
  tecla(form->TxtEdit(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
  EXPECT_TRUE(L().EnEdicion());
  EXPECT_TRUE(form->TxtEdit()->isHidden());
  EXPECT_EQ(form->MSFlexPers()->TextMatrix(1, 1), QStringLiteral("Servicios"));
  // The logo's buttons: Ctrl+L looks for a file (cancelled here), Ctrl+Shift+L removes the logo.
  Accion("CANCELAR");
  ASSERT_FALSE(form->Logo().EsNula());
  op->ElegirArchivo(QString());
  tecla(form->txtFields(0), Qt::Key_L, Qt::ControlModifier);
  ASSERT_EQ(op->entradas.size(), 1u);
  EXPECT_EQ(op->entradas[0].prompt, QStringLiteral("Buscar Archivos"));
  EXPECT_FALSE(form->Logo().EsNula());
  tecla(form->txtFields(0), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(form->Logo().EsNula());
}

TEST_P(Formulario, UnFalloEnUnEventoLlegaAMostrarErrorYSigue) {
  Cargar();
  Mostrar("2");
  cnn->Close();  // every database call fails from here on
  op->mensajes.clear();
  op->Responder(vb::Abort);
  Accion("NUEVO");
  ASSERT_FALSE(op->mensajes.empty());
  EXPECT_TRUE(op->mensajes.back().prompt.contains("ActBar1_Click") ||
              op->mensajes.back().title.contains("ActBar1_Click"))
      << op->mensajes.back().prompt.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, Formulario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
