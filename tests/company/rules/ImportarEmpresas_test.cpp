// Companies from a sheet: every refusal reason, a dry run that changes
// nothing, the accepted rows stored through the form's save (their row, their
// seeding, their history) and nothing else, and a table read back as a sheet
// that imports as unchanged.
#include "company/rules/ImportarEmpresas.h"

#include <QRegularExpression>

#include "company/rules/EncabezadosImportacion.h"
#include "company/rules/InformeImportacion.h"
#include "company/rules/ValorImportado.h"
#include "platform/client/Recordset.h"
#include "platform/services/LectorCsv.h"
#include "support/ConexionDePrueba.h"
#include "support/Idioma.h"

namespace {

using testdb::Engine;

std::string J(const QStringList& l) { return l.join('\n').toStdString(); }
// Column names as PostgreSQL folds them.
std::string Minusculas(const QStringList& l) { return l.join('\n').toLower().toStdString(); }

QString C15(const char* codigo) { return testdb::RightAligned(QString::fromUtf8(codigo), 15); }

TEST(EncabezadosImportacion, ColumnsByNameOrCaptionWithoutCaseAccentsOrColon) {
  const QStringList tabla{"IdEmpresa", "NombreEmpresa", "CodigoPostal", "eMail", "PideHonorarios",
                          "Imagen",    "P_Rubro",       "P_Calle",      "Calle", "P_Zona"};
  const struct {
    QStringList encabezado;
    QStringList columnas;  // what each header names, in order
    QString error;
  } casos[] = {
      {{"empresa:", " NOMBRE ", "Código  Postal", "E-M@IL", "honorarios", "Rubro", "p_zona"},
       {"IdEmpresa", "NombreEmpresa", "CodigoPostal", "eMail", "PideHonorarios", "P_Rubro", "P_Zona"},
       ""},
      // A column's own name wins over a custom column's caption.
      {{"IdEmpresa", "Calle", "P_Calle", "Logo"}, {"IdEmpresa", "Calle", "P_Calle"}, ""},
      {{"IdEmpresa", "Fax", "Teléfono móvil"},
       {"IdEmpresa"},
       "\"Fax\", \"Teléfono móvil\" no nombran ninguna columna de P_MA_Empresas"},
      {{"IdEmpresa", "Nombre", "NombreEmpresa"},
       {"IdEmpresa", "NombreEmpresa"},
       "\"Nombre\" y \"NombreEmpresa\" nombran la misma columna"},
      {{"Nombre"},
       {"NombreEmpresa"},
       "ningún encabezado nombra el código de la empresa (IdEmpresa o Empresa)"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.encabezado.join(',').toStdString());
    FilaPlanilla f;
    for (const QString& t : c.encabezado) f.celdas << CeldaPlanilla::DeTexto(t);
    const Encabezados e = LeerEncabezados(f, tabla);
    QStringList columnas;
    for (const ColumnaImportada& i : e.columnas) columnas << i.columna;
    EXPECT_EQ(columnas.join(',').toStdString(), c.columnas.join(',').toStdString());
    EXPECT_EQ(e.error.toStdString(), c.error.toStdString());
  }
}

// A cell as its column takes it, by the cell's kind and the column's, in the Argentine convention.
TEST(ValorImportado, EachCellKindIntoEachColumnKind) {
  EnIdioma idioma("es_AR");
  using Clase = CeldaPlanilla::Clase;
  auto celda = [](Clase clase, double n = 0, const char* t = "") {
    CeldaPlanilla c;
    c.clase = clase;
    c.numero = n;
    c.logico = n != 0;
    c.texto = QString::fromUtf8(t);
    c.fecha = QDateTime(QDate(2024, 2, 29), n == 0 ? QTime(0, 0) : QTime(13, 5));
    return c;
  };
  ColumnaDestino texto{"P_Sector", "Sector", ClaseColumna::Texto, {}, 10};
  ColumnaDestino logico{"PideHonorarios", "Honorarios", ClaseColumna::Logico};
  ColumnaDestino entero{"P_N", "N", ClaseColumna::Tecleada, {ClaseTecleada::Entero, ado::adInteger}};
  ColumnaDestino fecha{"P_Alta", "Alta", ClaseColumna::Tecleada, {ClaseTecleada::Fecha, ado::adDBDate}};
  const struct {
    CeldaPlanilla celda;
    const ColumnaDestino& columna;
    const char* valor;  // as the form shows it; "!" + the refusal's start
  } casos[] = {
      {CeldaPlanilla::DeTexto("  abc  "), texto, "abc"},
      {CeldaPlanilla::DeTexto("abcdefghijk"), texto, "!El campo Sector admite hasta 10 caracteres"},
      {celda(Clase::Numero, 1144), texto, "1144"},
      {celda(Clase::Fecha), texto, "29/02/2024"},
      {celda(Clase::Error, 0, "#N/A"), texto, "!La celda de Sector tiene un error (#N/A)"},
      {celda(Clase::Vacia), texto, ""},
      {celda(Clase::Logico, 1), logico, "Sí"},
      {celda(Clase::Numero, -1), logico, "Sí"},
      {celda(Clase::Numero, 2), logico, "!El campo Honorarios no acepta \"2\""},
      {CeldaPlanilla::DeTexto("Pedir Sueldo Bruto"), logico, "No"},
      {CeldaPlanilla::DeTexto("F"), logico, "No"},
      {celda(Clase::Numero, 1234), entero, "1234"},
      {celda(Clase::Numero, 12.5), entero, "!El campo N no acepta \"12.5\""},
      {CeldaPlanilla::DeTexto("1.234"), entero, "!El campo N no acepta \"1.234\": no se sabe"},
      {CeldaPlanilla::DeTexto("1.234.567"), entero, "1234567"},
      {CeldaPlanilla::DeTexto("-7"), entero, "-7"},
      {celda(Clase::Fecha), entero, "!El campo N no acepta \"29/02/2024\""},
      {celda(Clase::Fecha), fecha, "29/02/2024"},
      {celda(Clase::Fecha, 1), fecha, "29/02/2024 13:05:00"},
      {CeldaPlanilla::DeTexto("2024-02-29"), fecha, "29/02/2024"},
      {celda(Clase::Numero, 45351), fecha, "!El campo Alta no acepta \"45351\""},
      {CeldaPlanilla::DeTexto("30/02/2024"), fecha, "!El campo Alta no acepta \"30/02/2024\""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.valor);
    const ValorImportado v = LeerCelda(c.celda, c.columna);
    EXPECT_EQ(
        (v.Rechazado() ? ("!" + v.motivo).left(QString::fromUtf8(c.valor).size()) : v.texto).toStdString(),
        c.valor)
        << v.motivo.toStdString();
  }
}

class Importar : public ConexionDePrueba {
 protected:
  void SetUp() override {
    base = testdb::FreshDemo(GetParam());
    testdb::RunSql(base,
                   QStringLiteral("ALTER TABLE P_MA_Empresas ADD COLUMN P_Empleados INTEGER;"
                                  "ALTER TABLE P_MA_Empresas ADD COLUMN P_Alta DATE;"
                                  "ALTER TABLE P_MA_Empresas ADD COLUMN P_Capital NUMERIC(12,2);"
                                  "UPDATE P_MA_Empresas SET CUIT = '30-70111222-5' WHERE IdEmpresa = '") +
                       C15("9") + "';");
    Conectar();
  }
  // The report's lines, the summary last.
  QStringList Correr(const Planilla& p, Aplicacion a) {
    QStringList lineas;
    const ResumenImportacion r =
        ImportarEmpresas(p, a, [&](const LineaImportacion& l) { lineas << LineaImportacionTexto(l, a); });
    lineas << ResumenImportacionTexto(r);
    return lineas;
  }
  // Everything an import may touch.
  QStringList Todo() {
    QStringList r;
    for (const char* t :
         {"P_MA_Empresas ORDER BY IdEmpresa", "V_TA_CPTE ORDER BY EMPRESA, Codigo",
          "TA_COMPROBANTES ORDER BY EMPRESA, Codigo", "MV_EJERCICIOS ORDER BY EMPRESA, PERIODO",
          "MA_EMPRESAS_HISTORIA ORDER BY Id", "ta_configuracion ORDER BY CLAVE"})
      r << testdb::Query(base, QStringLiteral("SELECT * FROM ") + QString::fromLatin1(t));
    return r;
  }
  QStringList Q(const QString& sql) { return testdb::Query(base, sql); }
};

const char* const kEncabezado =
    "Empresa;Nombre;Calle;CUIT;Provincia;Honorarios;Rubro;P_Empleados;Alta;Capital;";

// One row per case: the row (its cells after the code's), and what the dry run says of it.
const struct {
  const char* fila;
  const char* informe;
} kFilas[] = {
    {"20;Nueva Empresa S.A.;Mitre 10;20-12345678-6;3;Sí;Servicios;12;31/12/2024;1.234,50;",
     "Fila 2, empresa 20 - Nueva Empresa S.A.: nueva"},
    // Digits alone are the stored CUIT; an empty cell empties its field.
    {"1;Distribuidora del Litoral S.A.;Bv. Oroño 1250;30712345671;12;no;;;;;",
     "Fila 3, empresa 1 - Distribuidora del Litoral S.A.: cambia Calle (\"Bv. Oroño\" → \"Bv. Oroño 1250\"), "
     "Rubro (\"Alimentos\" → \"\")"},
    {"2;Metalúrgica San Martín S.R.L.;Av. Rodríguez Peña;30-70987654-2;1;No;Metalurgia;;;;",
     "Fila 4, empresa 2 - Metalúrgica San Martín S.R.L.: sin cambios"},
    {"21;Cuit Mal S.A.;;30-71234567-2;;;;;;;",
     "Fila 5, empresa 21 - Cuit Mal S.A.: rechazada: CUIT 30-71234567-2: El dígito verificador debería ser "
     "1: "
     "30-71234567-1."},
    {"22;Cuit Ajeno S.A.;;30 70987654 2;;;;;;;",
     "Fila 6, empresa 22 - Cuit Ajeno S.A.: rechazada: El CUIT 30-70987654-2 ya está asignado a la empresa 2 "
     "- "
     "Metalúrgica San Martín S.R.L."},
    {"1234567890123456;Larga;;;;;;;;;",
     "Fila 7, empresa 1234567890123456: rechazada: El código \"1234567890123456\" tiene 16 caracteres y "
     "admite "
     "hasta 15"},
    {"23;Larga S.A.;;;;;Un rubro de cuarenta y un caracteres: uno;;;;",
     "Fila 8, empresa 23 - Larga S.A.: rechazada: El campo Rubro admite hasta 40 caracteres y \"Un rubro "
     "de cuarenta y un caracteres: uno\" tiene 41"},
    {"24;Letras S.A.;;;;;;doce;;;",
     "Fila 9, empresa 24 - Letras S.A.: rechazada: El campo P_Empleados no acepta \"doce\". Escriba un "
     "número entero"},
    {"25;Fecha S.A.;;;;;;;31/02/2024;;",
     "Fila 10, empresa 25 - Fecha S.A.: rechazada: El campo Alta no acepta \"31/02/2024\". Escriba una fecha "
     "que "
     "exista, como 31/12/2024."},
    {"26;Puntos S.A.;;;;;;;;1.234;",
     "Fila 11, empresa 26 - Puntos S.A.: rechazada: El campo Capital no acepta \"1.234\": no se sabe si el "
     "punto "
     "separa miles o decimales; escríbalo sin separador de miles"},
    {"27;Decimales S.A.;;;;;;1,5;;;",
     "Fila 12, empresa 27 - Decimales S.A.: rechazada: El campo P_Empleados no acepta \"1,5\". Escriba un "
     "número entero"},
    {"28;Sin Provincia S.A.;;;99;;;;;;",
     "Fila 13, empresa 28 - Sin Provincia S.A.: rechazada: La provincia \"99\" no existe"},
    {"29;Dudosa S.A.;;;;quizás;;;;;",
     "Fila 14, empresa 29 - Dudosa S.A.: rechazada: El campo Honorarios no acepta \"quizás\": escriba Sí o "
     "No"},
    {"30;;Calle;;;;;;;;", "Fila 15, empresa 30: rechazada: El campo Nombre no puede quedar vacío"},
    {"2;Otra vez;;;;;;;;;",
     "Fila 16, empresa 2: rechazada: La empresa 2 ya está en la fila 4 de la planilla"},
    {";Sin Código;;;;;;;;;", "Fila 17, sin código: rechazada: Falta el código de la empresa"},
    {"31;Desordenada S.A.;;;;;;;;;sobra",
     "Fila 18, empresa 31 - Desordenada S.A.: rechazada: La columna K tiene \"sobra\" y no tiene encabezado"},
    // What one of its cells cannot hold does not hide the others' reasons.
    {"32;Varias S.A.;;30-50000000-4;77;;;;;;",
     "Fila 19, empresa 32 - Varias S.A.: rechazada: CUIT 30-50000000-4: El dígito verificador debería ser 3: "
     "30-50000000-3.; La provincia \"77\" no existe"},
    // Its stored CUIT written without hyphens is its stored CUIT, whoever else holds it (company 9).
    {"8;Ferretería Industrial Córdoba S.R.L.;Av. Colón;30701112225;3;No;Comercio;;;;",
     "Fila 20, empresa 8 - Ferretería Industrial Córdoba S.R.L.: sin cambios"},
    // A company without its per-company rows gets them with its save, as on the form.
    {"4;Bodegas Valle de Uco S.A.;Ruta 89;30-50112233-1;7;No;Vitivinicultura;;;;",
     "Fila 21, empresa 4 - Bodegas Valle de Uco S.A.: cambia Calle (\"Ruta Provincial 89\" → \"Ruta 89\")"},
};

Planilla Hoja() {
  QByteArray csv = QByteArray(kEncabezado) + "\n";
  for (const auto& f : kFilas) csv += QByteArray(f.fila) + "\n";
  return LeerCsv(csv);
}

TEST_P(Importar, EachRowReportedTheDryRunChangesNothingAndApplyingStoresTheAcceptedRows) {
  EnIdioma idioma("es_AR");
  const QStringList antes = Todo();
  const QString resumen = QStringLiteral("20 filas: 1 nueva, 2 con cambios, 2 sin cambios, 15 rechazadas");
  QStringList lineas = Correr(Hoja(), Aplicacion::Revisar);
  ASSERT_EQ(lineas.size(), std::size(kFilas) + 1) << lineas.join('\n').toStdString();
  for (std::size_t i = 0; i < std::size(kFilas); ++i)
    EXPECT_TRUE(lineas[i].startsWith(QString::fromUtf8(kFilas[i].informe))) << lineas[i].toStdString();
  EXPECT_EQ(lineas.last(), resumen + "; no se grabó nada (--aplicar graba las filas aceptadas).");
  EXPECT_EQ(J(Todo()), J(antes));

  // Company 1 before, in the columns the sheet does not name.
  const QString otras = QStringLiteral(
                            "SELECT NombreEmpresa, Numero, Localidad, Telefono, eMail, CUIT, Imagen, "
                            "P_Zona, PideHonorarios FROM P_MA_Empresas WHERE IdEmpresa = '%1'")
                            .arg(C15("1"));
  const QStringList otrasAntes = Q(otras);
  lineas = Correr(Hoja(), Aplicacion::Grabar);
  EXPECT_EQ(
      lineas[0],
      QStringLiteral("Fila 2, empresa 20 - Nueva Empresa S.A.: nueva, grabada; filas por empresa copiadas: "
                     "Comprobantes 8 · Talonarios 5 · Ejercicios 3"));
  EXPECT_EQ(lineas[1], QStringLiteral("Fila 3, empresa 1 - Distribuidora del Litoral S.A.: grabada: Calle "
                                      "(\"Bv. Oroño\" → \"Bv. Oroño 1250\"), Rubro (\"Alimentos\" → \"\")"));
  EXPECT_EQ(lineas[19],
            QStringLiteral("Fila 21, empresa 4 - Bodegas Valle de Uco S.A.: grabada: Calle (\"Ruta "
                           "Provincial 89\" → \"Ruta 89\"); filas por empresa copiadas: Comprobantes "
                           "8 · Talonarios 5 · Ejercicios 3"));
  EXPECT_EQ(lineas.last(), resumen + "; 3 empresas grabadas.");

  const bool pg = GetParam() == Engine::Postgres;
  EXPECT_EQ(
      Q("SELECT IdEmpresa, NombreEmpresa, Calle, CUIT, IdProvincia, PideHonorarios, P_Rubro, P_Empleados, "
        "P_Alta, P_Capital FROM P_MA_Empresas WHERE IdEmpresa = '" +
        C15("20") + "'"),
      QStringList{C15("20") + "|Nueva Empresa S.A.|Mitre 10|20-12345678-6|  3|" + (pg ? "t" : "1") +
                  "|Servicios|12|2024-12-31|1234.5" + (pg ? "0" : "")});
  EXPECT_EQ(Q("SELECT Calle, P_Rubro FROM P_MA_Empresas WHERE IdEmpresa = '" + C15("1") + "'"),
            QStringList{"Bv. Oroño 1250|"});
  EXPECT_EQ(J(Q(otras)), J(otrasAntes));
  for (const char* t : {"V_TA_CPTE", "TA_COMPROBANTES", "MV_EJERCICIOS"})
    EXPECT_EQ(Q(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE EMPRESA = '%2'").arg(t, C15("20"))),
              Q(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE EMPRESA = ''").arg(t)))
        << t;
  EXPECT_EQ(
      Minusculas(
          Q("SELECT IdEmpresa, Operacion, Columna, ValorAnterior, ValorNuevo FROM MA_EMPRESAS_HISTORIA ORDER "
            "BY Id")),
      Minusculas(
          QStringList{C15("20") + "|A|IdEmpresa||" + C15("20"),
                      C15("20") + "|A|NombreEmpresa||Nueva Empresa S.A.", C15("20") + "|A|Calle||Mitre 10",
                      C15("20") + "|A|CUIT||20-12345678-6", C15("20") + "|A|IdProvincia||  3",
                      C15("20") + "|A|PideHonorarios||Sí", C15("20") + "|A|P_Rubro||Servicios",
                      C15("20") + "|A|P_Empleados||12", C15("20") + "|A|P_Alta||2024-12-31",
                      C15("20") + "|A|P_Capital||1234.5", C15("1") + "|M|Calle|Bv. Oroño|Bv. Oroño 1250",
                      C15("1") + "|M|P_Rubro|Alimentos|", C15("4") + "|M|Calle|Ruta Provincial 89|Ruta 89"}));
  // Stored: the same sheet again finds nothing more to do.
  lineas = Correr(Hoja(), Aplicacion::Revisar);
  EXPECT_EQ(lineas[0], QStringLiteral("Fila 2, empresa 20 - Nueva Empresa S.A.: sin cambios"));
  EXPECT_EQ(lineas[1], QStringLiteral("Fila 3, empresa 1 - Distribuidora del Litoral S.A.: sin cambios"));
}

TEST_P(Importar, AHeaderThatNamesNoColumnImportsNothing) {
  const QStringList antes = Todo();
  try {
    Correr(LeerCsv("Empresa,Nombre,Fax\n40,Nueva,123\n"), Aplicacion::Grabar);
    ADD_FAILURE() << "imported";
  } catch (const ImportacionImposible& e) {
    EXPECT_EQ(e.motivo, QStringLiteral("\"Fax\" no nombra ninguna columna de P_MA_Empresas"));
  }
  EXPECT_EQ(J(Todo()), J(antes));
}

// The table read back as a sheet (numbers as numbers, dates as dates, yes/no
// as booleans, the logo's column as whatever an export puts there) imports as unchanged.
TEST_P(Importar, TheTableReadBackAsASheetIsUnchanged) {
  testdb::RunSql(base,
                 "UPDATE P_MA_Empresas SET P_Empleados = 12, P_Alta = '2024-02-29', P_Capital = 1234.5 "
                 "WHERE IdEmpresa = '" +
                     C15("3") + "'");
  for (const char* idioma : {"C", "es_AR"}) {
    SCOPED_TRACE(idioma);
    EnIdioma enIdioma(idioma);
    ado::Recordset rs;
    rs.Open("SELECT * FROM P_MA_Empresas ORDER BY IdEmpresa", cnn, ado::adOpenForwardOnly,
            ado::adLockReadOnly);
    Planilla p;
    FilaPlanilla encabezado;
    for (int i = 0; i < rs.FieldCount(); ++i)
      encabezado.celdas << CeldaPlanilla::DeTexto(rs.Fields(i).Name());
    p.filas << encabezado;
    for (; !rs.Eof(); rs.MoveNext()) {
      FilaPlanilla f;
      for (int i = 0; i < rs.FieldCount(); ++i) {
        const ado::Value v = rs.Fields(i).GetValue();
        CeldaPlanilla c;
        if (ado::IsNull(v)) {
        } else if (v.typeId() == QMetaType::Bool) {
          c.clase = CeldaPlanilla::Clase::Logico;
          c.logico = v.toBool();
        } else if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) {
          c.clase = CeldaPlanilla::Clase::Fecha;
          c.fecha = v.toDateTime();
        } else if (ado::IsNumber(v)) {
          c.clase = CeldaPlanilla::Clase::Numero;
          c.numero = v.toDouble();
        } else if (v.typeId() == QMetaType::QByteArray) {
          c = CeldaPlanilla::DeTexto(QStringLiteral("(imagen)"));
        } else {
          c = CeldaPlanilla::DeTexto(v.toString());
        }
        f.celdas << c;
      }
      p.filas << f;
    }
    const QStringList lineas = Correr(p, Aplicacion::Revisar);
    EXPECT_EQ(lineas.filter(QRegularExpression(": sin cambios$")).size(), 12)
        << lineas.join('\n').toStdString();
    EXPECT_EQ(lineas.last(),
              QStringLiteral("12 filas: 0 nuevas, 0 con cambios, 12 sin cambios, 0 rechazadas; no "
                             "se grabó nada (--aplicar graba las filas aceptadas)."));
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Importar, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
