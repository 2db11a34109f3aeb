// The test databases themselves: every engine hands out separate fresh copies
// holding the demo rows the other tests rely on.
#include "support/TestDatabases.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <stdexcept>

#include "platform/client/Connection.h"

namespace {

using testdb::Engine;

class TestDatabasesTest : public ::testing::TestWithParam<Engine> {
 protected:
  static QString Uno(const testdb::Database& db, const QString& sql) {
    const QStringList filas = testdb::Query(db, sql);
    return filas.isEmpty() ? QString() : filas.first();
  }
  static int Contar(const testdb::Database& db, const QString& tabla, const QString& condicion = {}) {
    return Uno(db, "SELECT COUNT(*) FROM " + tabla + (condicion.isEmpty() ? "" : " WHERE " + condicion) + ";")
        .toInt();
  }
  static QString LogoSql(Engine e, const QString& codigo) {
    const QString donde = " FROM P_MA_Empresas WHERE IdEmpresa = '" + testdb::RightAligned(codigo, 15) + "';";
    return e == Engine::Sqlite
               ? "SELECT lower(hex(substr(Imagen, 1, 8))), length(Imagen)" + donde
               : "SELECT encode(substring(Imagen from 1 for 8), 'hex'), length(Imagen)" + donde;
  }
};

TEST_P(TestDatabasesTest, FreshCopiesAreSeparateDatabases) {
  const auto a = testdb::FreshDemo(GetParam());
  const auto b = testdb::FreshDemo(GetParam());
  EXPECT_NE(a.dbName, b.dbName);

  testdb::RunSql(a, "DELETE FROM P_MA_Empresas;");
  EXPECT_EQ(Contar(a, "P_MA_Empresas"), 0);
  EXPECT_EQ(Contar(b, "P_MA_Empresas"), 12);
  // A change in one copy never reaches the next one handed out.
  EXPECT_EQ(Contar(testdb::FreshDemo(GetParam()), "P_MA_Empresas"), 12);
}

TEST_P(TestDatabasesTest, DemoTablesHoldTheirRows) {
  const auto db = testdb::FreshDemo(GetParam());
  const struct {
    const char* tabla;
    const char* condicion;
    int filas;
  } casos[] = {
      {"P_MA_Empresas", "", 12},
      {"ta_estados", "", 24},
      {"ta_usuarios", "", 3},
      {"ta_configuracion", "Grupo = 'DATOS'", 9},
      {"V_TA_CPTE", "EMPRESA = ''", 8},
      {"TA_COMPROBANTES", "EMPRESA = ''", 5},
      {"MV_EJERCICIOS", "EMPRESA = ''", 3},
      {"V_TA_CPTE", "EMPRESA <> ''", 19},
      {"V_MV_FALTANTES", "", 2},
      {"V_MA_ARTICULOS", "", 14},
      {"VT_MA_ARTICULOS", "SUSPENDIDO = 0", 13},
      {"VT_CLIENTES", "Dada_De_Baja = 0", 7},
      {"VT_PROVEEDORES", "Dada_De_Baja = 0", 5},
      {"MA_CONTACTOS", "", 5},
      {"V_TA_VENDEDORES", "", 4},
      {"V_TA_TECNICOS", "", 3},
      {"V_MA_MANTENIMIENTOS", "", 4},
      {"VT_TA_CPTE", "", 8},
      {"V_TA_FAMILIAS", "", 20},
      {"SS_V_TA_FAMILIAS", "", 20},
      {"MA_POSICIONES", "", 12},
      {"TA_CCOSTO", "", 11},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.tabla) + " " + c.condicion);
    EXPECT_EQ(Contar(db, c.tabla, c.condicion), c.filas);
  }
}

TEST_P(TestDatabasesTest, CodesAreStoredRightAligned) {
  const auto db = testdb::FreshDemo(GetParam());
  EXPECT_EQ(Contar(db, "P_MA_Empresas", "LENGTH(IdEmpresa) <> 15"), 0);
  EXPECT_EQ(Uno(db, "SELECT NombreEmpresa FROM P_MA_Empresas WHERE IdEmpresa = '" + QString(14, ' ') + "1';"),
            "Distribuidora del Litoral S.A.");
  EXPECT_EQ(Uno(db, "SELECT MAX(IdEmpresa) FROM P_MA_Empresas;"), testdb::RightAligned("12", 15));
  for (const char* tabla : {"V_TA_CPTE", "TA_COMPROBANTES"}) {
    SCOPED_TRACE(tabla);
    EXPECT_EQ(Contar(db, tabla, "LENGTH(Codigo) <> 4"), 0);
    EXPECT_EQ(Contar(db, tabla, "EMPRESA <> '' AND LENGTH(EMPRESA) <> 15"), 0);
  }
  // Every company row copies a template voucher code.
  EXPECT_EQ(Contar(db, "V_TA_CPTE c",
                   "c.EMPRESA <> '' AND NOT EXISTS (SELECT 1 FROM V_TA_CPTE t WHERE t.EMPRESA = '' AND "
                   "t.Codigo = c.Codigo)"),
            0);
}

TEST_P(TestDatabasesTest, JurisdictionsUseTheTaxOfficeCodes) {
  const auto db = testdb::FreshDemo(GetParam());
  QSet<int> codigos;
  for (const auto& c : testdb::Query(db, "SELECT codigo FROM ta_estados;")) codigos.insert(c.toInt());
  for (int c = 0; c <= 24; ++c) EXPECT_EQ(codigos.contains(c), c != 15) << c;
  EXPECT_EQ(Uno(db, "SELECT Descripcion FROM ta_estados WHERE codigo = '3';"), "Córdoba");
}

TEST_P(TestDatabasesTest, OneCompanyCarriesTheDemoLogo) {
  const auto db = testdb::FreshDemo(GetParam());
  QFile logo(MA_SOURCE_DIR "/demo/logo.png");
  ASSERT_TRUE(logo.open(QIODevice::ReadOnly));
  EXPECT_EQ(Uno(db, LogoSql(GetParam(), "1")), "89504e470d0a1a0a|" + QString::number(logo.size()));
  EXPECT_EQ(Contar(db, "P_MA_Empresas", "Imagen IS NOT NULL"), 1);
}

TEST_P(TestDatabasesTest, UsersAndSettings) {
  const auto db = testdb::FreshDemo(GetParam());
  EXPECT_EQ(testdb::Query(db, "SELECT nombre, Administrador FROM ta_usuarios ORDER BY nombre;"),
            (QStringList{"admin|1", "ma_test|1", "operador|0"}));
  // The login of the connection strings handed out is a suite administrator.
  EXPECT_EQ(Uno(db, "SELECT Administrador FROM ta_usuarios WHERE nombre = '" + db.user + "';"), "1");

  for (const char* clave :
       {"MostrarStockenConsultas", "TituloClientes", "CantidadDecimales", "PERIODO", "CFondo", "CLetra",
        "ModuloOrdenDeTrabajo", "MAD_ML_M2", "CuentaCtroDist", "MaxDto", "PideClave_LimiteCredito",
        "SS_BloqueoActivo", "Top_Default", "NOMBRE", "CUIT"}) {
    EXPECT_EQ(Contar(db, "ta_configuracion", QString("CLAVE = '%1'").arg(clave)), 1) << clave;
  }
  // Keys compare without regard to letter case, as on the suite's own server.
  EXPECT_EQ(Uno(db, "SELECT VALOR FROM ta_configuracion WHERE CLAVE = 'usaconsultaLIKE';"), "SI");
  EXPECT_THROW(testdb::RunSql(db, "INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('PERIODO', 'x');"),
               std::runtime_error);
}

TEST_P(TestDatabasesTest, TreeCodesEachHaveTheirParent) {
  const auto db = testdb::FreshDemo(GetParam());
  for (const char* sql : {"SELECT IDFAMILIA FROM V_TA_FAMILIAS ORDER BY IDFAMILIA;",
                          "SELECT IDPOSICION FROM MA_POSICIONES ORDER BY IDPOSICION;",
                          "SELECT CODIGO FROM TA_CCOSTO ORDER BY CODIGO;"}) {
    SCOPED_TRACE(sql);
    const QStringList codigos = testdb::Query(db, sql);
    ASSERT_FALSE(codigos.isEmpty());
    int niveles = 1;
    QStringList camino;  // the codes from the top down to the previous row
    for (const auto& c : codigos) {
      while (!camino.isEmpty() && !(c.startsWith(camino.last()) && c.size() > camino.last().size()))
        camino.removeLast();
      EXPECT_TRUE(!camino.isEmpty() || c.size() == codigos.first().size())
          << c.toStdString() << " has no parent";
      camino.append(c);
      niveles = std::max(niveles, static_cast<int>(camino.size()));
    }
    EXPECT_GE(niveles, 3);
  }
}

TEST_P(TestDatabasesTest, EmptyDatabaseHasNoTables) {
  const auto db = testdb::FreshEmpty(GetParam());
  const QString sql = GetParam() == Engine::Sqlite
                          ? "SELECT COUNT(*) FROM sqlite_master;"
                          : "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = 'public';";
  EXPECT_EQ(Uno(db, sql), "0");
  testdb::RunSql(db, "CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1);");
  EXPECT_EQ(Contar(db, "T"), 1);
}

// What a test writes through the program's own connection string lands in
// the copy the helpers read, and in no other.
TEST_P(TestDatabasesTest, TheProgramsStringOpensTheSameCopy) {
  const auto db = testdb::FreshDemo(GetParam());
  auto cn = ado::Connection::Create();
  cn->Open(db.programString);
  cn->Execute("DELETE FROM ta_usuarios");
  cn->Close();
  EXPECT_EQ(Contar(db, "ta_usuarios"), 0);
  EXPECT_EQ(Contar(testdb::FreshDemo(GetParam()), "ta_usuarios"), 3);
}

TEST_P(TestDatabasesTest, FailingScriptsAreReported) {
  const auto db = testdb::FreshDemo(GetParam());
  EXPECT_THROW(testdb::RunSql(db, "SELECT * FROM NO_EXISTE;"), std::runtime_error);
  EXPECT_THROW(testdb::Query(db, "SELEC 1;"), std::runtime_error);
  // A failing statement stops the script: nothing after it runs.
  EXPECT_THROW(testdb::RunSql(db, "DELETE FROM NO_EXISTE; DELETE FROM ta_usuarios;"), std::runtime_error);
  EXPECT_EQ(Contar(db, "ta_usuarios"), 3);
}

TEST_P(TestDatabasesTest, GrowCompaniesContinuesTheCodes) {
  const auto db = testdb::FreshDemo(GetParam());
  testdb::GrowCompanies(db, 1200, 3, 5000);
  EXPECT_EQ(Contar(db, "P_MA_Empresas"), 1212);
  EXPECT_EQ(Contar(db, "P_MA_Empresas", "LENGTH(IdEmpresa) <> 15"), 0);
  EXPECT_EQ(Uno(db, "SELECT MAX(IdEmpresa) FROM P_MA_Empresas;"), testdb::RightAligned("1212", 15));
  EXPECT_EQ(Contar(db, "P_MA_Empresas", "Imagen IS NOT NULL"), 4);
  EXPECT_EQ(Uno(db, LogoSql(GetParam(), "13")).section('|', 1), "5000");
  EXPECT_EQ(Uno(db, LogoSql(GetParam(), "16")), "|");
  // A second round starts after the first.
  testdb::GrowCompanies(db, 2, 0, 0);
  EXPECT_EQ(Uno(db, "SELECT MAX(IdEmpresa) FROM P_MA_Empresas;"), testdb::RightAligned("1214", 15));
}

TEST_P(TestDatabasesTest, WideTableHasTheAskedShape) {
  const auto db = testdb::FreshEmpty(GetParam());
  testdb::CreateWideTable(db, "ANCHA", 1234, 11);
  EXPECT_EQ(Contar(db, "ANCHA"), 1234);
  const QString fila = Uno(db, "SELECT * FROM ANCHA WHERE ID = 7;");
  EXPECT_EQ(fila.split('|').size(), 11) << fila.toStdString();
  EXPECT_TRUE(fila.startsWith("7|C100007|Descripción del registro 7|")) << fila.toStdString();
  EXPECT_THROW(testdb::CreateWideTable(db, "ESTRECHA", 1, 2), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(Motores, TestDatabasesTest, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

TEST(TestDatabasesTemplate, TheSharedTemplateCannotBeChanged) {
  auto db = testdb::FreshDemo(Engine::Postgres);
  db.dbName = qEnvironmentVariable("MA_PG_TEMPLATE", "ma_demo_template");
  EXPECT_THROW(testdb::RunSql(db, "DELETE FROM ta_usuarios;"), std::runtime_error);
  EXPECT_EQ(testdb::Query(db, "SELECT COUNT(*) FROM ta_usuarios;"), QStringList{"3"});
}

}  // namespace
