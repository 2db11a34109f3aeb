// Two operators, one company: the other operator works through a second
// connection between this form's display and its GRABAR. What does not clash
// is merged, what does is asked field by field, a deleted company or a code
// taken meanwhile is asked about in the same dialog, and no conflict text
// carries an error number.
#include <QFileInfo>
#include <QImage>
#include <QLabel>

#include "company/form/FormularioEnBase.h"
#include "company/form/CambiosDeOtroUsuario.h"
#include "company/form/ui/GrillaFlex.h"

namespace {

using Dlg = CambiosDeOtroUsuario;

constexpr int kCalle = 2;
constexpr int kTelefono = 8;
constexpr int kZona = 2;  // row of P_Zona in the custom-fields grid

class OtroUsuario : public FormularioEnBase {
 public:
  QString Columna(const char* columna, const QString& codigo) {
    return Uno(QStringLiteral("SELECT %1 FROM P_MA_Empresas").arg(QString::fromLatin1(columna)) +
               Donde(codigo));
  }
  QString Logo(const QString& codigo) {
    return Columna("CASE WHEN Imagen IS NULL THEN 'sin logo' ELSE 'con logo' END", codigo);
  }
  // The other operator's statement, %1 = the stored code.
  void ElOtro(const QString& sql, const QString& codigo) { testdb::RunSql(base, sql.arg(Codigo15(codigo))); }
  void Zona(const QString& texto) { form->MSFlexPers()->SetTextMatrix(kZona, 1, texto); }
  QString Aviso() const { return form->LblAviso()->text(); }
  // A picture file of its own, as the operator would pick it.
  QString Dibujo(Qt::GlobalColor color) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(color);
    const QString ruta = logs.filePath(QStringLiteral("dibujo%1.png").arg(static_cast<int>(color)));
    img.save(ruta, "PNG");
    return ruta;
  }
  // The next dialog: `responder` picks and answers; what it showed is kept.
  void AlDialogo(std::function<void(Dlg&)> responder) {
    op->AlMostrar([this, responder](DialogoModal& d) {
      auto& c = dynamic_cast<Dlg&>(d);
      vistos.push_back(c);
      responder(c);
    });
  }
  static std::function<void(Dlg&)> Elegir(std::vector<Eleccion> elecciones,
                                          Dlg::Respuesta r = Dlg::Respuesta::Grabar) {
    return [=](Dlg& c) {
      for (std::size_t i = 0; i < c.filas.size() && i < elecciones.size(); ++i)
        c.filas[i].eleccion = elecciones[i];
      c.respuesta = r;
    };
  }
  std::vector<Dlg> vistos;
};

// Each operator changed other fields: both changes are stored, nothing is
// asked, and the form shows the merged company with one line saying so.
TEST_P(OtroUsuario, LoQueNoChocaSeFusionaSinPreguntar) {
  const struct {
    const char* nombre;
    const char* codigo;
    std::function<void(OtroUsuario&)> mio;
    const char* otro;
    const char* columnaMia;
    const char* valorMio;
    const char* columnaAjena;
    const char* valorAjeno;
  } casos[] = {
      {"dos datos", "3", [](OtroUsuario& t) { t.Escribir(kCalle, QStringLiteral("Tucumán")); },
       "UPDATE P_MA_Empresas SET Telefono = '(011) 0000-0000' WHERE IdEmpresa = '%1';", "Calle", "Tucumán",
       "Telefono", "(011) 0000-0000"},
      {"un logo nuevo y un campo personalizado", "3",
       [](OtroUsuario& t) { t.L().AsignarFoto(t.Dibujo(Qt::red)); },
       "UPDATE P_MA_Empresas SET P_Zona = 'Otra zona' WHERE IdEmpresa = '%1';",
       "CASE WHEN Imagen IS NULL THEN 'sin logo' ELSE 'con logo' END", "con logo", "P_Zona", "Otra zona"},
      {"un campo personalizado y el logo", "1", [](OtroUsuario& t) { t.Zona(QStringLiteral("Sur")); },
       "UPDATE P_MA_Empresas SET Imagen = NULL WHERE IdEmpresa = '%1';", "P_Zona", "Sur",
       "CASE WHEN Imagen IS NULL THEN 'sin logo' ELSE 'con logo' END", "sin logo"},
  };
  Cargar();
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString codigo = QString::fromLatin1(c.codigo);
    Mostrar(codigo);
    c.mio(*this);
    ElOtro(QString::fromUtf8(c.otro), codigo);
    Accion("GRABAR");
    EXPECT_EQ(Columna(c.columnaMia, codigo), QString::fromUtf8(c.valorMio));
    EXPECT_EQ(Columna(c.columnaAjena, codigo), QString::fromUtf8(c.valorAjeno));
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Texto(0), codigo);
    EXPECT_TRUE(Aviso().contains(QStringLiteral("otro usuario"))) << Aviso();
  }
  EXPECT_EQ(Texto(kTelefono), Columna("Telefono", "1"));  // the form shows the company as stored
  // The line speaks of company 1: shown again it stays, another company takes it away.
  Navegar("FILTRAR");
  EXPECT_TRUE(Aviso().contains(QStringLiteral("empresa 1 "))) << Aviso();
  Navegar("ULTIMO");
  EXPECT_EQ(Texto(0), QStringLiteral("12"));
  EXPECT_EQ(Aviso(), QString());
}

// Both changed the telephone: the dialog shows the three values with nothing
// chosen; each choice is stored with this screen's other change, Cancelar
// stores nothing and keeps the screen.
TEST_P(OtroUsuario, UnChoqueSeResuelveEnElDialogo) {
  const struct {
    Eleccion eleccion;
    Dlg::Respuesta respuesta;
    const char* telefono;
    const char* calle;
    bool enEdicion;
  } casos[] = {
      {Eleccion::Mia, Dlg::Respuesta::Grabar, "(011) de este", "Calle de este", false},
      {Eleccion::Guardada, Dlg::Respuesta::Grabar, "(011) del otro", "Calle de este", false},
      {Eleccion::Mia, Dlg::Respuesta::Cancelar, "(011) del otro", "Viamonte", true},
  };
  Cargar();
  for (const auto& c : casos) {
    SCOPED_TRACE(static_cast<int>(c.eleccion) * 10 + static_cast<int>(c.respuesta));
    testdb::RunSql(
        base, "UPDATE P_MA_Empresas SET Telefono = '(011) 4371-8890', Calle = 'Viamonte'" + Donde("3") + ";");
    vistos.clear();
    Mostrar("3");
    Escribir(kTelefono, QStringLiteral("(011) de este"));
    Escribir(kCalle, QStringLiteral("Calle de este"));
    ElOtro(QStringLiteral("UPDATE P_MA_Empresas SET Telefono = '(011) del otro' WHERE IdEmpresa = '%1';"),
           "3");
    AlDialogo(Elegir({c.eleccion}, c.respuesta));
    Accion("GRABAR");
    ASSERT_EQ(vistos.size(), 1u);
    const Dlg& d = vistos[0];
    EXPECT_EQ(d.Titulo(), QStringLiteral("Cambios de otro usuario"));
    EXPECT_EQ(d.motivo, Dlg::Motivo::Modificada);
    ASSERT_EQ(d.filas.size(), 1u);
    EXPECT_EQ(d.filas[0].titulo, QStringLiteral("Telefono"));
    EXPECT_EQ(d.filas[0].mostrado.toString(), QStringLiteral("(011) 4371-8890"));
    EXPECT_EQ(d.filas[0].guardado.toString(), QStringLiteral("(011) del otro"));
    EXPECT_EQ(d.filas[0].pantalla.toString(), QStringLiteral("(011) de este"));
    EXPECT_EQ(Columna("Telefono", "3"), QString::fromLatin1(c.telefono));
    EXPECT_EQ(Columna("Calle", "3"), QString::fromLatin1(c.calle));
    EXPECT_EQ(L().EnEdicion(), c.enEdicion);
    if (c.enEdicion) {
      EXPECT_EQ(Texto(kTelefono), QStringLiteral("(011) de este"));
      Accion("CANCELAR");
    }
  }
}

// Both changed a custom column and the logo: one row each, the logo's with
// the pictures' bytes; each row keeps its own choice.
TEST_P(OtroUsuario, UnChoqueEnUnCampoPersonalizadoYElLogo) {
  Cargar();
  const QString bytes = Columna("LENGTH(Imagen)", "1");
  Mostrar("1");
  Zona(QStringLiteral("Zona de este"));
  L().AsignarFoto(Dibujo(Qt::blue));
  ElOtro(QStringLiteral(
             "UPDATE P_MA_Empresas SET P_Zona = 'Zona del otro', Imagen = NULL WHERE IdEmpresa = '%1';"),
         "1");
  AlDialogo(Elegir({Eleccion::Guardada, Eleccion::Mia}));
  Accion("GRABAR");
  ASSERT_EQ(vistos.size(), 1u);
  ASSERT_EQ(vistos[0].filas.size(), 2u);
  const auto& logo = vistos[0].filas[0];
  const auto& zona = vistos[0].filas[1];
  EXPECT_EQ(logo.titulo, QStringLiteral("Logo"));
  EXPECT_EQ(logo.clase, ClaseDato::Imagen);
  EXPECT_EQ(Dlg::TextoDe(ClaseDato::Imagen, logo.mostrado), bytes + QStringLiteral(" bytes"));
  EXPECT_EQ(Dlg::TextoDe(ClaseDato::Imagen, logo.guardado), QStringLiteral("(sin logo)"));
  EXPECT_EQ(logo.pantalla.toByteArray().size(), QFileInfo(Dibujo(Qt::blue)).size());
  EXPECT_EQ(zona.titulo.toLower(), QStringLiteral("zona"));  // as the grid names it: PostgreSQL folds it
  EXPECT_EQ(zona.guardado.toString(), QStringLiteral("Zona del otro"));
  EXPECT_EQ(Columna("P_Zona", "1"), QStringLiteral("Zona de este"));
  EXPECT_EQ(Logo("1"), QStringLiteral("sin logo"));
}

// The other operator changes the telephone again while the dialog is up:
// Grabar checks again and the dialog comes back with the newest value.
TEST_P(OtroUsuario, UnTercerCambioDuranteElDialogoVuelveAPreguntar) {
  Cargar();
  Mostrar("3");
  Escribir(kTelefono, QStringLiteral("(011) de este"));
  ElOtro(QStringLiteral("UPDATE P_MA_Empresas SET Telefono = '(011) primero' WHERE IdEmpresa = '%1';"), "3");
  AlDialogo([&](Dlg& c) {
    ElOtro(QStringLiteral("UPDATE P_MA_Empresas SET Telefono = '(011) segundo' WHERE IdEmpresa = '%1';"),
           "3");
    Elegir({Eleccion::Mia})(c);
  });
  AlDialogo(Elegir({Eleccion::Mia}));
  Accion("GRABAR");
  ASSERT_EQ(vistos.size(), 2u);
  EXPECT_EQ(vistos[0].filas.at(0).guardado.toString(), QStringLiteral("(011) primero"));
  EXPECT_EQ(vistos[1].filas.at(0).guardado.toString(), QStringLiteral("(011) segundo"));
  EXPECT_EQ(Columna("Telefono", "3"), QStringLiteral("(011) de este"));
  EXPECT_FALSE(L().EnEdicion());
}

// The company shown was deleted meanwhile: "Dar de alta nuevamente" stores
// this screen as a new company (with its seeded rows), Cancelar nothing. A
// company deleted twice is simply gone, without an error box.
TEST_P(OtroUsuario, EliminadaMientrasSeEditaba) {
  const struct {
    const char* codigo;
    Dlg::Respuesta respuesta;
    int filas;
    bool enEdicion;
  } casos[] = {{"4", Dlg::Respuesta::Cancelar, 0, true}, {"6", Dlg::Respuesta::Grabar, 1, false}};
  Cargar();
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    const QString codigo = QString::fromLatin1(c.codigo);
    vistos.clear();
    Mostrar(codigo);
    Escribir(1, QStringLiteral("Nombre de este operador"));
    ElOtro(QStringLiteral("DELETE FROM P_MA_Empresas WHERE IdEmpresa = '%1';"), codigo);
    AlDialogo(Elegir({}, c.respuesta));
    Accion("GRABAR");
    ASSERT_EQ(vistos.size(), 1u);
    EXPECT_EQ(vistos[0].motivo, Dlg::Motivo::Eliminada);
    EXPECT_TRUE(vistos[0].filas.empty());
    EXPECT_EQ(vistos[0].TextoGrabar(), QStringLiteral("Dar de alta nuevamente"));
    EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde(codigo)), c.filas);
    EXPECT_EQ(L().EnEdicion(), c.enEdicion);
  }
  EXPECT_EQ(Columna("NombreEmpresa", "6"), QStringLiteral("Nombre de este operador"));
  EXPECT_EQ(Cuenta("V_TA_CPTE WHERE EMPRESA = '" + Codigo15("6") + "'"),
            Cuenta("V_TA_CPTE WHERE EMPRESA = ''"));

  Mostrar("5");
  ElOtro(QStringLiteral("DELETE FROM P_MA_Empresas WHERE IdEmpresa = '%1';"), "5");
  op->Responder(vb::Yes);
  Accion("BORRAR");
  ASSERT_EQ(op->mensajes.size(), 1u);  // the confirmation only
  EXPECT_TRUE(Aviso().contains(QStringLiteral("ya había sido eliminada"))) << Aviso();
  EXPECT_FALSE(L().EnEdicion());
  Mostrar("40");  // a new company: the line was about 5
  EXPECT_EQ(Aviso(), QString());
}

// A code stored without its blanks (by hand, or by an older program) is
// nobody else's doing: the company is saved and deleted as itself, under the
// key it has, with no dialog and no second row, however it was reached.
TEST_P(OtroUsuario, UnCodigoSinAlinearEsLaMismaEmpresa) {
  Cargar("UPDATE P_MA_Empresas SET IdEmpresa = '7' WHERE IdEmpresa = '" + Codigo15("7") + "';");
  const QString siete = QStringLiteral(" WHERE IdEmpresa = '7'");
  const struct {
    const char* como;
    std::function<void(OtroUsuario&)> llegar;
  } casos[] = {
      {"Enter", [](OtroUsuario& t) { t.Mostrar("7"); }},
      {"ULTIMO", [](OtroUsuario& t) { t.Navegar("ULTIMO"); }},
      {"codigo escrito sobre otra",
       [](OtroUsuario& t) {
         t.Mostrar("3");
         t.Escribir(0, "7");
         t.Escribir(10, "");  // company 3's CUIT would be named as a duplicate
       }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.como);
    c.llegar(*this);
    ASSERT_EQ(Texto(0), QStringLiteral("7"));
    Escribir(kTelefono, QString::fromLatin1(c.como));
    Accion("GRABAR");
    EXPECT_TRUE(op->dialogos.isEmpty()) << op->dialogos.join(", ");
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Uno("SELECT Telefono FROM P_MA_Empresas" + siete), QString::fromLatin1(c.como));
    EXPECT_EQ(Cuenta("P_MA_Empresas WHERE TRIM(IdEmpresa) = '7'"), 1);
  }
  Navegar("ULTIMO");
  op->Responder(vb::Yes);
  Accion("BORRAR");
  EXPECT_EQ(Titulos(), QStringList{QStringLiteral("Atención!")});
  EXPECT_EQ(Aviso(), QString());
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE TRIM(IdEmpresa) = '7'"), 0);
}

// BORRAR of a company the other operator changed since it was shown: the change is
// named before anything goes; No leaves it, shown as stored now.
TEST_P(OtroUsuario, BorrarLoQueOtroCambioSePreguntaAntes) {
  Cargar();
  const struct {
    const char* codigo;
    int respuesta;
    int filas;
  } casos[] = {{"5", vb::No, 1}, {"6", vb::Yes, 0}};
  for (const auto& c : casos) {
    const QString codigo = QString::fromLatin1(c.codigo);
    SCOPED_TRACE(c.codigo);
    Mostrar(codigo);
    ElOtro(QStringLiteral("UPDATE P_MA_Empresas SET Calle = 'Calle del otro' WHERE IdEmpresa = '%1';"),
           codigo);
    op->mensajes.clear();
    op->Responder(vb::Yes);  // the confirmation
    op->Responder(c.respuesta);
    Accion("BORRAR");
    ASSERT_EQ(op->mensajes.size(), 2u);
    EXPECT_TRUE(op->mensajes[1].prompt.contains(QStringLiteral("cambió la empresa ") + codigo + " ") &&
                op->mensajes[1].prompt.contains(QStringLiteral("(Calle)")))
        << op->mensajes[1].prompt;
    EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde(codigo)), c.filas);
    if (c.filas == 1) EXPECT_EQ(Texto(kCalle), QStringLiteral("Calle del otro"));
  }
  // Shown again as stored, it goes with the confirmation alone.
  op->mensajes.clear();
  op->Responder(vb::Yes);
  Mostrar("5");
  Accion("BORRAR");
  EXPECT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde("5")), 0);
}

// A code typed as new and stored meanwhile by the other operator: the stored
// company against this screen. A field left empty here takes the other's
// value; the name both typed is asked, and the choice stored over it.
TEST_P(OtroUsuario, ElCodigoNuevoLoTomoOtro) {
  Cargar();
  Mostrar("91");
  ASSERT_TRUE(L().EsNuevo);
  Escribir(1, QStringLiteral("La de este"));
  Escribir(kCalle, QStringLiteral("Calle de este"));
  ElOtro(
      QStringLiteral("INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Telefono) VALUES ('%1', 'La del "
                     "otro', '(011) 1');"),
      "91");
  AlDialogo(Elegir({Eleccion::Mia}));
  Accion("GRABAR");
  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].motivo, Dlg::Motivo::CodigoTomado);
  ASSERT_EQ(vistos[0].filas.size(), 1u);
  EXPECT_EQ(vistos[0].filas[0].titulo, QStringLiteral("Nombre"));
  EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde("91")), 1);
  EXPECT_EQ(Columna("NombreEmpresa", "91") + "|" + Columna("Calle", "91") + "|" + Columna("Telefono", "91"),
            QStringLiteral("La de este|Calle de este|(011) 1"));
  EXPECT_FALSE(L().EnEdicion());
}

INSTANTIATE_TEST_SUITE_P(Motores, OtroUsuario, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
