// Saving and deleting companies through the form: the row itself, the copies
// of the per-company template rows, the suite settings of the empty code,
// the failures the operator is told about, and a second connection saving
// at the same moment.
#include <QRadioButton>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>

#include "company/form/FormularioEnBase.h"
#include "company/rules/SiembraEmpresa.h"
#include "company/rules/UnidadGrabacion.h"
#include "company/form/ui/GrillaFlex.h"
#include "db/TraduccionOracle.h"
#include "support/OperadorQueActua.h"

namespace {

using testdb::Engine;

class GrabarEmpresa : public FormularioEnBase {
 public:
  QStringList Filas(const QString& sql) { return testdb::Query(base, sql); }
  // The stored code as an SQL literal's text.
  static QString Literal(const QString& codigo) { return Codigo15(codigo).replace("'", "''"); }
  static QString Donde(const QString& codigo) {
    return QStringLiteral(" WHERE IdEmpresa = '") + Literal(codigo) + QStringLiteral("'");
  }
  // What the three per-company tables hold for a company ("" = the templates).
  struct Tablas {
    QStringList cpte, comprobantes, ejercicios;
    bool operator==(const Tablas&) const = default;
    friend void PrintTo(const Tablas& t, std::ostream* os) {
      *os << ::testing::PrintToString(t.cpte) << "\n"
          << ::testing::PrintToString(t.comprobantes) << "\n"
          << ::testing::PrintToString(t.ejercicios);
    }
  };
  Tablas FilasDe(const QString& empresa) {
    const QString w = QStringLiteral(" WHERE EMPRESA = '") + empresa + QStringLiteral("' ORDER BY ");
    return {
        Filas("SELECT Codigo, Descripcion, Letra, Abreviatura, ProximoNumero FROM V_TA_CPTE" + w + "Codigo"),
        Filas("SELECT Codigo, Descripcion, Tipo, NumeroDesde, NumeroHasta FROM TA_COMPROBANTES" + w +
              "Codigo"),
        Filas("SELECT PERIODO, DESCRIPCION, FechaDesde, FechaHasta, Cerrado FROM MV_EJERCICIOS" + w +
              "PERIODO")};
  }
  int TotalPorEmpresa() { return Cuenta("V_TA_CPTE") + Cuenta("TA_COMPROBANTES") + Cuenta("MV_EJERCICIOS"); }
  QString Talonario(const char* tabla, const QString& empresa, const char* voucher) {
    return Uno(QStringLiteral("SELECT Talonario FROM %1 WHERE EMPRESA = '%2' AND Codigo = '%3'")
                   .arg(QString::fromLatin1(tabla), Literal(empresa), testdb::RightAligned(voucher, 4)));
  }
  // A voucher row of company "otra<n>" written by another connection that
  // waits for a lock at most `espera`; "" when it went in, else the failure.
  // (The sqlite3 shell waits for none.)
  QString OtraConexionEscribeUnComprobante(int n, const char* espera = "2s") {
    const QString fila =
        QStringLiteral("INSERT INTO V_TA_CPTE (EMPRESA, Codigo, Talonario) VALUES ('otra%1', '   Z', 1);")
            .arg(n);
    try {
      testdb::RunSql(base,
                     GetParam() == Engine::Postgres
                         ? QStringLiteral("SET lock_timeout = '%1'; ").arg(QString::fromLatin1(espera)) + fila
                         : fila);
      return {};
    } catch (const std::exception& e) {
      return QString::fromUtf8(e.what());
    }
  }
  void NuevaEmpresa(const QString& codigo, const QString& nombre) {
    Mostrar(codigo);
    Escribir(1, nombre);
    Accion("GRABAR");
  }
};

// New companies straight after start-up (no navigation before): the row, one
// copy of every template row, booklet numbers continuing per voucher code
// over all companies, and nothing more on a second save.
TEST_P(GrabarEmpresa, NuevaEmpresaRecibeSusFilasUnaSolaVez) {
  // Voucher "   7" already has booklet 12 in another company.
  Cargar(QStringLiteral("UPDATE V_TA_CPTE SET Talonario = 12 WHERE EMPRESA = '") + Codigo15("2") +
         QStringLiteral("' AND Codigo = '   7';"));
  const Tablas plantillas = FilasDe(QString());
  ASSERT_EQ(plantillas.cpte.size(), 8);
  const struct {
    const char* codigo;
    // Booklet numbers expected for V_TA_CPTE "   1", "   7", "  RM" and TA_COMPROBANTES "  FC", " PRE".
    const char* cpte1;
    const char* cpte7;
    const char* cpteRM;
    const char* compFC;
    const char* compPRE;
  } casos[] = {{"77", "4", "13", "3", "8", "8"},
               {"13", "5", "14", "4", "9", "9"},
               {"O'Neil", "6", "15", "5", "10", "10"}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    const QString codigo = QString::fromLatin1(c.codigo);
    NuevaEmpresa(codigo, "Empresa " + codigo);
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Filas("SELECT IdEmpresa, NombreEmpresa FROM P_MA_Empresas" + Donde(codigo)),
              QStringList{Codigo15(codigo) + "|Empresa " + codigo});
    EXPECT_EQ(FilasDe(Literal(codigo)), plantillas);
    EXPECT_EQ(Talonario("V_TA_CPTE", codigo, "1"), QString::fromLatin1(c.cpte1));
    EXPECT_EQ(Talonario("V_TA_CPTE", codigo, "7"), QString::fromLatin1(c.cpte7));
    EXPECT_EQ(Talonario("V_TA_CPTE", codigo, "RM"), QString::fromLatin1(c.cpteRM));
    EXPECT_EQ(Talonario("TA_COMPROBANTES", codigo, "FC"), QString::fromLatin1(c.compFC));
    EXPECT_EQ(Talonario("TA_COMPROBANTES", codigo, "PRE"), QString::fromLatin1(c.compPRE));

    // Shown and saved again: the company is updated, nothing is seeded again.
    const int antes = TotalPorEmpresa();
    Mostrar(codigo);
    EXPECT_EQ(Texto(1), "Empresa " + codigo);
    Escribir(11, QStringLiteral("Segunda grabación"));
    Accion("GRABAR");
    EXPECT_EQ(TotalPorEmpresa(), antes);
    EXPECT_EQ(Uno("SELECT Actividad FROM P_MA_Empresas" + Donde(codigo)),
              QStringLiteral("Segunda grabación"));
    EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde(codigo)), 1);
  }
  EXPECT_EQ(FilasDe(QString()), plantillas);  // the templates themselves stay as they were
}

// A company seeded only in part (company 3 has three of the eight voucher
// types, one of the three fiscal years and no vouchers): GRABAR seeds only the
// table where it has no row; Ctrl+T lists the rest and adds it after a Sí,
// keeping the rows it had and copying nothing twice.
TEST_P(GrabarEmpresa, GrabarSoloSiembraDondeNoHayFilasYCtrlTCompleta) {
  Cargar();
  const Tablas antes = FilasDe(Codigo15("3"));
  const Tablas plantillas = FilasDe(QString());
  ASSERT_EQ(antes.cpte.size(), 3);
  ASSERT_EQ(antes.ejercicios.size(), 1);
  ASSERT_TRUE(antes.comprobantes.isEmpty());
  Mostrar("3");
  Accion("GRABAR");
  const Tablas trasGrabar{antes.cpte, plantillas.comprobantes, antes.ejercicios};
  EXPECT_EQ(FilasDe(Codigo15("3")), trasGrabar);

  // Each template row, or the company's own row with the same code or period.
  const auto completas = [](const QStringList& propias, const QStringList& modelo) {
    QStringList r;
    for (const QString& m : modelo) {
      const QString clave = m.section('|', 0, 0);
      const auto it = std::find_if(propias.begin(), propias.end(),
                                   [&](const QString& p) { return p.section('|', 0, 0) == clave; });
      r << (it == propias.end() ? m : *it);
    }
    return r;
  };
  const Tablas completa{completas(antes.cpte, plantillas.cpte), plantillas.comprobantes,
                        completas(antes.ejercicios, plantillas.ejercicios)};
  const auto ctrlT = [&](int respuesta) {
    op->mensajes.clear();
    op->Responder(respuesta);
    EXPECT_TRUE(L().Form_KeyDown(tecla::Letra('T'), tecla::Control));
    return op->mensajes.empty() ? QString() : op->mensajes[0].prompt;
  };
  const struct {
    int respuesta;
    bool listadas;  // the box lists the missing rows
    bool completa;  // afterwards
  } pasos[] = {{vb::No, true, false}, {vb::Yes, true, true}, {vb::OK, false, true}};
  Mostrar("3");
  for (const auto& p : pasos) {
    SCOPED_TRACE(p.respuesta);
    const QString aviso = ctrlT(p.respuesta);
    EXPECT_EQ(aviso.contains(QStringLiteral("Comprobantes: ")), p.listadas) << aviso;
    EXPECT_EQ(aviso.contains(QStringLiteral("Ejercicios: ")), p.listadas) << aviso;
    EXPECT_FALSE(aviso.contains(QStringLiteral("Talonarios: "))) << aviso;
    EXPECT_EQ(FilasDe(Codigo15("3")), p.completa ? completa : trasGrabar);
  }
  EXPECT_EQ(form->LblEstadoTablas()->text(),
            QStringLiteral("Comprobantes 8/8 · Talonarios 5/5 · Ejercicios 3/3"));
  EXPECT_EQ(Talonario("V_TA_CPTE", "3", "1"), QStringLiteral("3"));  // its own, kept
  EXPECT_EQ(Talonario("V_TA_CPTE", "3", "2"), QStringLiteral("3"));  // the next after company 2's
}

// The empty code is the suite's own company: its data become the "DATOS"
// settings and nothing is seeded; any other code leaves the settings alone.
TEST_P(GrabarEmpresa, CodigoVacioGrabaLosDatosDeLaInstalacion) {
  Cargar();
  const QString datos = QStringLiteral(
      "SELECT CLAVE, VALOR, Grupo FROM ta_configuracion WHERE Grupo = 'DATOS' "
      "ORDER BY CLAVE");
  const int filas = TotalPorEmpresa();
  const QStringList instalacion = Filas(datos);
  ASSERT_EQ(instalacion.size(), 9);
  NuevaEmpresa("88", "Otra S.A.");
  EXPECT_EQ(Filas(datos), instalacion);

  Mostrar("");
  EXPECT_TRUE(L().EsNuevo);
  const struct {
    int campo;
    const char* texto;
  } campos[] = {{1, "Casa Matriz S.A."},
                {2, "Corrientes"},
                {3, "1234"},
                {4, "3"},
                {5, "B"},
                {6, "Rosario"},
                {7, "S2000"},
                {8, "(0341) 555-0000"},
                {10, "30-99999999-5"},
                {11, "Comercio"},
                {12, "no va a la configuración"}};
  for (const auto& c : campos) Escribir(c.campo, QString::fromUtf8(c.texto));
  Accion("GRABAR");
  EXPECT_FALSE(L().EnEdicion());
  EXPECT_EQ(Filas(datos),
            (QStringList{"CALLE|Corrientes|DATOS", "CPOSTAL|S2000|DATOS", "CUIT|30-99999999-5|DATOS",
                         "DEPARTAMENTO|B|DATOS", "LOCALIDAD|Rosario|DATOS", "NOMBRE|Casa Matriz S.A.|DATOS",
                         "NUMERO|1234|DATOS", "PISO|3|DATOS", "TELEFONO|(0341) 555-0000|DATOS"}));
  EXPECT_EQ(TotalPorEmpresa(), filas + 8 + 5 + 3);  // only company 88 was seeded
  EXPECT_EQ(Cuenta("V_TA_CPTE WHERE EMPRESA = '' OR EMPRESA IS NULL"), 8);
  // The empty code is found again and updated, not stored twice.
  Mostrar("");
  EXPECT_TRUE(L().EsModificacion);
  EXPECT_EQ(Texto(1), QStringLiteral("Casa Matriz S.A."));
  Escribir(8, QStringLiteral("(0341) 555-1111"));
  Accion("GRABAR");
  EXPECT_EQ(Uno("SELECT VALOR FROM ta_configuracion WHERE CLAVE = 'TELEFONO'"),
            QStringLiteral("(0341) 555-1111"));
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE TRIM(IdEmpresa) = '' OR IdEmpresa IS NULL"), 1);
}

// The settings of the empty code belong to the same unit: one key refused
// (told once, after the rollback, with its own failure) leaves neither the
// company nor any of the nine keys changed.
TEST_P(GrabarEmpresa, LosDatosDeLaInstalacionSeGrabanJuntos) {
  Cargar(Rechazo("localidad", "UPDATE", "ta_configuracion", "NEW.CLAVE = 'LOCALIDAD'", "clave rechazada"));
  const QString datos =
      QStringLiteral("SELECT CLAVE, VALOR FROM ta_configuracion WHERE Grupo = 'DATOS' ORDER BY CLAVE");
  const QStringList instalacion = Filas(datos);
  ASSERT_EQ(instalacion.size(), 9);
  Mostrar("");
  for (int campo : {1, 2, 3, 6}) Escribir(campo, QStringLiteral("V%1").arg(campo));
  op->Responder(vb::Abort);  // one box, after the rollback, with the setting's own failure
  Accion("GRABAR");
  ASSERT_EQ(Titulos().size(), 1) << op->mensajes[0].prompt;
  EXPECT_TRUE(op->mensajes[0].prompt.contains(QStringLiteral("clave rechazada"))) << op->mensajes[0].prompt;
  EXPECT_TRUE(L().EnEdicion());
  EXPECT_EQ(Filas(datos), instalacion);
  EXPECT_EQ(Cuenta("P_MA_Empresas WHERE TRIM(IdEmpresa) = '' OR IdEmpresa IS NULL"), 0);
}

// A shown company whose code is overwritten before GRABAR: the screen goes to
// the new code, a new company or the one that has it; the old one stays.
TEST_P(GrabarEmpresa, CambiarElCodigoGuardaOtraEmpresa) {
  Cargar();
  const QString cuatro = Filas("SELECT * FROM P_MA_Empresas" + Donde("4")).join("");
  const struct {
    const char* nuevo;
    int empresasDespues;
  } casos[] = {{"79", 13}, {"5", 13}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nuevo);
    const QString nuevo = QString::fromLatin1(c.nuevo);
    Mostrar("4");
    Escribir(0, nuevo);
    Escribir(12, "copiada de 4 a " + nuevo);
    op->Responder(vb::OK);  // the copy holds company 4's CUIT
    Accion("GRABAR");
    EXPECT_EQ(Titulos(), QStringList{"Aviso al operador..."});
    op->mensajes.clear();
    EXPECT_EQ(Cuenta("P_MA_Empresas"), c.empresasDespues);
    EXPECT_EQ(Uno("SELECT NombreEmpresa FROM P_MA_Empresas" + Donde(nuevo)),
              QStringLiteral("Bodegas Valle de Uco S.A."));
    EXPECT_EQ(Uno("SELECT Observaciones FROM P_MA_Empresas" + Donde(nuevo)), "copiada de 4 a " + nuevo);
    EXPECT_EQ(Filas("SELECT * FROM P_MA_Empresas" + Donde("4")).join(""), cuatro);
  }
  EXPECT_EQ(FilasDe(Codigo15("79")), FilasDe(QString()));
}

// Company 3 asks for fees; a new code typed after it, or NUEVO, starts from
// the designed "Pedir Sueldo Bruto" instead of carrying 3's choice over.
TEST_P(GrabarEmpresa, UnaEmpresaNuevaNoHeredaLosHonorariosDeLaAnterior) {
  Cargar();
  auto* honorarios = form->findChild<QRadioButton*>(QStringLiteral("OptHonorarios_0"));
  ASSERT_NE(honorarios, nullptr);
  Mostrar("3");
  ASSERT_TRUE(honorarios->isChecked());
  NuevaEmpresa("81", QStringLiteral("Nueva tras la 3"));
  EXPECT_FALSE(honorarios->isChecked());
  EXPECT_EQ(Uno("SELECT CASE WHEN PideHonorarios THEN 1 ELSE 0 END FROM P_MA_Empresas" + Donde("81")),
            QStringLiteral("0"));

  Mostrar("3");
  Accion("CANCELAR");
  Accion("NUEVO");
  EXPECT_FALSE(honorarios->isChecked());
}

TEST_P(GrabarEmpresa, BorrarSoloQuitaLaEmpresaConfirmada) {
  Cargar();
  const auto empresas = [&] { return Filas("SELECT * FROM P_MA_Empresas ORDER BY IdEmpresa"); };
  const QStringList todas = empresas();
  const int porEmpresa = TotalPorEmpresa();
  const Tablas dos = FilasDe(Codigo15("2"));

  Mostrar("2");
  op->Responder(vb::No);
  Accion("BORRAR");
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, QStringLiteral("Confirma la baja de este registro?"));
  EXPECT_EQ(op->mensajes[0].title, QStringLiteral("Atención!"));
  EXPECT_EQ(op->mensajes[0].style, vb::YesNo + vb::Exclamation + vb::DefaultButton2);
  EXPECT_EQ(empresas(), todas);
  EXPECT_TRUE(L().EnEdicion());
  EXPECT_EQ(Texto(1), QStringLiteral("Metalúrgica San Martín S.R.L."));

  op->mensajes.clear();
  op->Responder(vb::Yes);
  Accion("BORRAR");
  EXPECT_EQ(Titulos(), QStringList{QStringLiteral("Atención!")});
  EXPECT_EQ(Cuenta("P_MA_Empresas"), 11);
  EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde("2")), 0);
  EXPECT_EQ(TotalPorEmpresa(), porEmpresa);
  EXPECT_EQ(FilasDe(Codigo15("2")), dos);
  EXPECT_FALSE(L().EnEdicion());
}

// CANCELAR drops every edit on screen, in the grid and the logo too.
TEST_P(GrabarEmpresa, CancelarDescartaLaGrillaYElLogo) {
  Cargar();
  const QString fila =
      QStringLiteral("SELECT NombreEmpresa, P_Rubro, P_Zona, LENGTH(Imagen) FROM P_MA_Empresas") + Donde("1");
  const QString antes = Uno(fila);
  Mostrar("1");
  Escribir(1, QStringLiteral("Otro nombre"));
  form->MSFlexPers()->setCurrentCell(1, 1);
  L().MSFlexPers_KeyPress('X');
  L().TxtEdit_KeyDown(tecla::Enter, 0);
  ASSERT_EQ(form->MSFlexPers()->TextMatrix(1, 1), QStringLiteral("X"));
  L().MSFlexPers_KeyPress('Y');  // left open in the editor
  L().Toolbar1_ButtonClick(QStringLiteral("Eliminar"));
  Accion("CANCELAR");
  EXPECT_FALSE(L().EnEdicion());
  EXPECT_EQ(Uno(fila), antes);
  Mostrar("1");
  EXPECT_EQ(form->MSFlexPers()->TextMatrix(1, 1), QStringLiteral("Alimentos"));
  EXPECT_EQ(form->MSFlexPers()->TextMatrix(2, 1), QStringLiteral("Litoral"));
  EXPECT_FALSE(form->Logo().EsNula());
}

// A save the database refuses: the operator is told in plain words, nothing
// is stored or seeded, the form stays in the edit state, and once the cause
// is put right the same screen is saved.
TEST_P(GrabarEmpresa, UnaGrabacionRechazadaSeExplicaYNoGuardaNada) {
  const struct {
    const char* nombre;
    const char* antes;  // run on the database before load
    std::function<void(GrabarEmpresa&)> pantalla;
    std::function<void(GrabarEmpresa&)> corregir;
    const char* titulo;
    const char* texto;  // part of the message
  } casos[] = {
      {"CUIT repetido", "CREATE UNIQUE INDEX cuit_unico ON P_MA_Empresas (CUIT);",
       [](GrabarEmpresa& f) {
         f.Escribir(10, QStringLiteral("30-71234567-1"));  // company 1's: the form warns, the index refuses
         f.op->Responder(vb::OK);
       },
       [](GrabarEmpresa& f) { f.Escribir(10, QStringLiteral("30-11111111-8")); }, "Clave Duplicada",
       "Cambie el campo principal"},
      {"campo obligatorio vacío",
       "ALTER TABLE P_MA_Empresas ADD COLUMN P_Legajo VARCHAR(10) NOT NULL DEFAULT 'x';",
       [](GrabarEmpresa&) {},  // the custom field is left empty
       [](GrabarEmpresa& f) { f.form->MSFlexPers()->SetTextMatrix(3, 1, QStringLiteral("L-1")); },
       "Error en conversion de datos - NULOS NO PERMITIDO", "Descripcion del Error: 515 - "},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    base = testdb::FreshDemo(GetParam());
    Cargar(QString::fromUtf8(c.antes));
    const int porEmpresa = TotalPorEmpresa();
    Mostrar("90");
    Escribir(1, QStringLiteral("Rechazada S.A."));
    c.pantalla(*this);
    op->Responder(vb::OK);
    Accion("GRABAR");
    std::erase_if(op->mensajes,
                  [](const auto& m) { return m.prompt.startsWith("El CUIT ya está asignado"); });
    ASSERT_EQ(op->mensajes.size(), 1u) << Titulos().join(" / ").toStdString();
    EXPECT_EQ(op->mensajes[0].title, QString::fromUtf8(c.titulo));
    EXPECT_EQ(vb::Icon(op->mensajes[0].style), vb::Critical);
    EXPECT_TRUE(op->mensajes[0].prompt.contains(QString::fromUtf8(c.texto))) << op->mensajes[0].prompt;
    EXPECT_TRUE(L().EnEdicion());
    EXPECT_TRUE(L().HayError);
    EXPECT_EQ(Texto(1), QStringLiteral("Rechazada S.A."));
    EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde("90")), 0);
    EXPECT_EQ(TotalPorEmpresa(), porEmpresa);

    op->mensajes.clear();
    c.corregir(*this);
    Accion("GRABAR");
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Cuenta("P_MA_Empresas" + Donde("90")), 1);
    EXPECT_EQ(FilasDe(Codigo15("90")), FilasDe(QString()));
    TearDown();
  }
}

// The company row, its seeded rows and the settings are one unit. While the
// table "falla" has a row, the third voucher type seeded for a company is
// refused. The unit is rolled back before the box: another connection writes
// a voucher row while it is up. Anular leaves nothing of the save,
// Reintentar runs the whole unit again, Ignorar stores the rest without that
// table, which a later save seeds; a save that stored returns to browse.
TEST_P(GrabarEmpresa, LaEmpresaYSusFilasSeGrabanJuntas) {
  const QString falla =
      QStringLiteral("CREATE TABLE falla (x INTEGER); INSERT INTO falla VALUES (1);") + TerceraRechazada();
  enum class Queda { Nada, ComoEstaba, TodoMenosCpte, Todo };
  const struct {
    const char* nombre;
    const char* codigo;
    int respuesta;
    bool corregirAlAvisar;  // the row of "falla" goes while the box is shown
    Queda queda;
  } casos[] = {
      {"nueva, Anular", "92", vb::Abort, false, Queda::Nada},
      {"existente sin filas, Anular", "5", vb::Abort, false, Queda::ComoEstaba},
      {"Reintentar una vez corregida", "93", vb::Retry, true, Queda::Todo},
      {"Ignorar", "94", vb::Ignore, false, Queda::TodoMenosCpte},
  };
  Cargar(falla);
  auto operador = OperadorGuionado::Instalar<OperadorQueActua>();
  op = operador;
  const Tablas plantillas = FilasDe(QString());
  const QString nombre = QStringLiteral("SELECT NombreEmpresa FROM P_MA_Empresas");
  int otras = 0;
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    const QString codigo = QString::fromLatin1(c.codigo);
    const QString nombreAntes = Uno(nombre + Donde(codigo));
    testdb::RunSql(base, QStringLiteral("DELETE FROM falla; INSERT INTO falla VALUES (1);"));
    Mostrar(codigo);
    Escribir(1, QStringLiteral("En una sola vez S.A."));
    op->mensajes.clear();
    op->Responder(c.respuesta);
    QString otra = QStringLiteral("<sin caja>");
    operador->alAvisar = [&] {
      otra = OtraConexionEscribeUnComprobante(++otras);
      if (c.corregirAlAvisar) db.gCnn()->Execute(QStringLiteral("DELETE FROM falla"));
    };
    Accion("GRABAR");
    ASSERT_EQ(op->mensajes.size(), 1u) << Titulos().join(" / ");
    EXPECT_TRUE(op->mensajes[0].prompt.contains(QStringLiteral("tercera fila rechazada")))
        << op->mensajes[0].prompt;
    EXPECT_EQ(vb::Buttons(op->mensajes[0].style), vb::AbortRetryIgnore);
    EXPECT_EQ(otra, QString());
    EXPECT_EQ(L().EnEdicion(), c.queda == Queda::Nada || c.queda == Queda::ComoEstaba);
    Tablas esperado = plantillas;
    switch (c.queda) {
      case Queda::Nada:
      case Queda::ComoEstaba:
        EXPECT_EQ(Uno(nombre + Donde(codigo)), nombreAntes);
        esperado = {};
        break;
      case Queda::TodoMenosCpte:
        esperado.cpte.clear();
        [[fallthrough]];
      case Queda::Todo:
        EXPECT_EQ(Uno(nombre + Donde(codigo)), QStringLiteral("En una sola vez S.A."));
        break;
    }
    EXPECT_EQ(FilasDe(Codigo15(codigo)), esperado);

    // With the cause gone, the company saved again is whole, each row once.
    testdb::RunSql(base, QStringLiteral("DELETE FROM falla;"));
    op->mensajes.clear();
    Mostrar(codigo);
    Escribir(1, QStringLiteral("En una sola vez S.A."));
    Accion("GRABAR");
    EXPECT_FALSE(L().EnEdicion());
    EXPECT_EQ(Uno(nombre + Donde(codigo)), QStringLiteral("En una sola vez S.A."));
    EXPECT_EQ(FilasDe(Codigo15(codigo)), plantillas);
  }
}

// Two connections seeding at the same moment: the second waits for the
// first's booklet numbers and continues from them instead of taking the
// same ones.
TEST_P(GrabarEmpresa, DosConexionesNoTomanElMismoTalonario) {
  Cargar();
  auto otra = ado::Connection::Create();
  otra->Open(base.programString);
  const auto sembrar = [](ado::ConnectionPtr c, const char* codigo, std::vector<trampa::Paso> despues,
                          QString& error) {
    std::vector<trampa::Paso> pasos{[c, codigo] {
      SembrarTabla(TablaPorEmpresa::TiposComprobante, Codigo15(codigo), Siembra::SinFilas, c);
    }};
    pasos.insert(pasos.end(), despues.begin(), despues.end());
    EjecutarEnUnaTransaccion(*c, QStringLiteral("V_TA_CPTE"), pasos,
                             [&error](const ado::ErrorInfo& e, std::size_t) {
                               error = e.Description;
                               return 0;
                             });
  };
  QString error, errorOtra;
  std::thread segunda;
  std::atomic<bool> empezada{false};
  sembrar(
      cnn, "60", {[&] {
        // The other connection starts while this one holds its numbers,
        // not yet committed, and is given time to take the same ones.
        segunda = std::thread([&] {
          empezada = true;
          sembrar(otra, "61", {}, errorOtra);
        });
        while (!empezada) std::this_thread::yield();
        for (int i = 0; i < 40; ++i) {
          if (GetParam() == Engine::Postgres &&
              Uno(QStringLiteral("SELECT COUNT(*) FROM pg_locks l JOIN pg_database d ON d.oid = l.database "
                                 "WHERE NOT l.granted AND d.datname = current_database()")) != "0")
            break;
          std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
      }},
      error);
  segunda.join();
  EXPECT_EQ(error, QString());
  EXPECT_EQ(errorOtra, QString());
  EXPECT_EQ(
      Cuenta(QStringLiteral("V_TA_CPTE a JOIN V_TA_CPTE b ON a.Codigo = b.Codigo WHERE a.EMPRESA = '") +
             Codigo15("60") + "' AND b.EMPRESA = '" + Codigo15("61") + "' AND b.Talonario = a.Talonario + 1"),
      8);
}

// Template rows of one voucher code (written right-aligned or not) are numbered
// as if copied one after the other: each takes the next booklet number.
TEST_P(GrabarEmpresa, PlantillasDelMismoComprobanteTomanTalonariosSeguidos) {
  Cargar(QStringLiteral("UPDATE V_TA_CPTE SET Talonario = 12 WHERE EMPRESA = '") + Codigo15("2") +
         QStringLiteral("' AND Codigo = '   7';"
                        "INSERT INTO V_TA_CPTE (EMPRESA, Codigo, Descripcion, Talonario) VALUES "
                        "('', '7', 'Siete B', 1), ('', ' 7', 'Siete C', 1);"
                        "INSERT INTO TA_COMPROBANTES (EMPRESA, Codigo, Descripcion, Talonario) VALUES "
                        "('', 'FC', 'Factura B', 1);"));
  const struct {
    const char* codigo;
    QStringList cpte7, compFC;  // the booklet numbers of its copies
  } casos[] = {{"77", {"13", "14", "15"}, {"8", "9"}}, {"78", {"16", "17", "18"}, {"10", "11"}}};
  const auto numeros = [&](const char* tabla, const QString& empresa, const char* voucher) {
    return Filas(QStringLiteral("SELECT Talonario FROM %1 WHERE EMPRESA = '%2' AND TRIM(Codigo) = '%3' "
                                "ORDER BY Talonario")
                     .arg(QString::fromLatin1(tabla), Literal(empresa), QString::fromLatin1(voucher)));
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    NuevaEmpresa(QString::fromLatin1(c.codigo), QStringLiteral("Talonarios"));
    EXPECT_EQ(numeros("V_TA_CPTE", c.codigo, "7"), c.cpte7);
    EXPECT_EQ(numeros("TA_COMPROBANTES", c.codigo, "FC"), c.compFC);
  }
}

// The booklet numbers' lock is taken only by a seeding that draws one: while a
// seeding that copies nothing is in its transaction, another connection writes
// vouchers. (SQLite locks the whole database for any write.)
TEST_P(GrabarEmpresa, ElBloqueoDeTalonariosSoloSiSeNumera) {
  if (GetParam() == Engine::Sqlite) GTEST_SKIP() << "SQLite has only the database's lock";
  Cargar();
  const struct {
    const char* codigo;
    TablaPorEmpresa tabla;
    bool bloquea;
  } casos[] = {
      {"1", TablaPorEmpresa::TiposComprobante, false},  // it has its rows
      {"89", TablaPorEmpresa::TiposComprobante, true},  // it has none: numbered
      {"88", TablaPorEmpresa::Ejercicios, false},       // no booklet numbers
      {"", TablaPorEmpresa::TiposComprobante, false},   // the suite's own company has no copies
  };
  int n = 0;
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    cnn->BeginTrans();
    SembrarTabla(c.tabla, Codigo15(c.codigo), Siembra::SinFilas, cnn);
    const QString otra = OtraConexionEscribeUnComprobante(++n, "300ms");
    cnn->RollbackTrans();
    EXPECT_EQ(otra.isEmpty(), !c.bloquea) << otra;
  }
}

// Another session holds company 4's row past the wait: the box explains it,
// Reintentar after the release stores the change and the form returns to
// browse as after any save.
TEST_P(GrabarEmpresa, ReintentarTrasUnBloqueoGrabaYVuelveALaConsulta) {
  if (GetParam() == Engine::Sqlite) GTEST_SKIP() << "SQLite's wait for a lock is set as it connects";
  Cargar();
  cnn->SetLockTimeout(1);
  auto otra = ado::Connection::Create();
  otra->Open(base.programString);
  otra->BeginTrans();
  otra->Execute(QStringLiteral("UPDATE P_MA_Empresas SET Actividad = Actividad") + Donde("4"));
  auto operador = OperadorGuionado::Instalar<OperadorQueActua>();
  op = operador;
  operador->alAvisar = [&] { otra->RollbackTrans(); };
  Mostrar("4");
  Escribir(12, QStringLiteral("tras el bloqueo"));
  op->Responder(vb::Retry);
  Accion("GRABAR");
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].prompt.contains(QStringLiteral("bloqueados"))) << op->mensajes[0].prompt;
  EXPECT_EQ(Uno("SELECT Observaciones FROM P_MA_Empresas" + Donde("4")), QStringLiteral("tras el bloqueo"));
  EXPECT_FALSE(L().EnEdicion());
}

// The copy as Oracle gets it keeps no construct of the program's own dialect,
// an unaligned template code included.
TEST(SiembraEnOracle, LaCopiaTraducidaNoDejaNadaDelDialectoDelPrograma) {
  PlanSiembra plan;
  plan.columnas = QStringList{"EMPRESA", "Codigo", "Descripcion", "Talonario"};
  plan.claves = QStringList{"7"};
  plan.codigos = QStringList{"7"};
  plan.alineados = QStringList{"   7"};
  for (const TablaPorEmpresa t :
       {TablaPorEmpresa::TiposComprobante, TablaPorEmpresa::Comprobantes, TablaPorEmpresa::Ejercicios})
    for (const Siembra s : {Siembra::SinFilas, Siembra::Faltantes}) {
      const QString oracle = TraducirAOracle(SentenciaCopia(t, Codigo15("7"), s, plan));
      for (const char* ajeno : {"RIGHT(", "LEFT(", "' +", "+ '", "TOP ", "WITH (", "ISNULL(", "LEN(", "["})
        EXPECT_FALSE(oracle.contains(QString::fromLatin1(ajeno), Qt::CaseInsensitive))
            << ajeno << ": " << oracle;
    }
}

// Seeding a table is one statement whatever the number of templates: the
// table's columns, the lock on the booklet numbers and the copy itself.
TEST_P(GrabarEmpresa, SembrarUnaTablaNoLeeFilaPorFila) {
  Cargar();
  cnn->BeginTrans();
  for (const TablaPorEmpresa t :
       {TablaPorEmpresa::TiposComprobante, TablaPorEmpresa::Comprobantes, TablaPorEmpresa::Ejercicios}) {
    const long antes = cnn->StatementsSent();
    SembrarTabla(t, Codigo15("88"), Siembra::SinFilas);
    EXPECT_LE(cnn->StatementsSent() - antes, 3);
  }
  cnn->CommitTrans();
  EXPECT_EQ(FilasDe(Literal("88")), FilasDe(QString()));
}

// Without anybody else at work, showing and saving any company raises no
// conflict, whatever its values (Null, booleans, the logo, custom fields).
TEST_P(GrabarEmpresa, SinOtroOperadorNoHayConflicto) {
  Cargar();
  for (int i = 1; i <= 12; ++i) {
    const QString codigo = QString::number(i);
    SCOPED_TRACE(i);
    Mostrar(codigo);
    Accion("GRABAR");
    EXPECT_FALSE(L().EnEdicion());
    // Saved twice in a row, still nothing to report.
    Mostrar(codigo);
    Accion("GRABAR");
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, GrabarEmpresa, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
