#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "db/DB_Dll.h"
#include "db/SolicitudAcceso.h"
#include "platform/client/Recordset.h"
#include "support/OperadorGuionado.h"

#if __has_include("support/TestDatabases.h")
#include "support/TestDatabases.h"
#define MA_CON_BASES 1
#endif

// Reaches the private build step of the class.
class DB_DllPrueba {
 public:
  static void Armar(DB_Dll& db) { db.PasoArmado(); }
};

namespace {

const QString kOracle = QStringLiteral("OraOLEDB.Oracle.1");

// The shared instance, back to a fresh start for every test.
class ConexionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    db.SetCnn(nullptr);
    db.gOpenFlag = false;
    db.gProveedor = db.gServidor = db.gDBName = db.gUsuario = db.gUserPassWord = QString();
    db.gConnString = db.gExtended = QString();
    db.gEsAdmin = false;
    ASSERT_TRUE(logs.isValid());
    db.gLogErr = logs.filePath("VMERR.LOG");
  }
  void Campos(const QString& servidor, const QString& base, const QString& usuario, const QString& clave) {
    db.gServidor = servidor;
    db.gDBName = base;
    db.gUsuario = usuario;
    db.gUserPassWord = clave;
  }
  // The dialog answers with these values (or cancels when aceptar is false).
  void Dialogo(bool aceptar, const QString& servidor = {}, const QString& base = {},
               const QString& usuario = {}, const QString& clave = {},
               int plataforma = SolicitudAcceso::SqlServer) {
    op->AlMostrar([=, this](DialogoModal& d) {
      auto& s = dynamic_cast<SolicitudAcceso&>(d);
      vistos.push_back(
          {s.TxtServidor, s.TxtDbName, s.TxtUserId, s.TxtUserPassword, s.CboPlataformaDB, s.Aceptar});
      if (!aceptar) return;
      s.TxtServidor = servidor;
      s.TxtDbName = base;
      s.TxtUserId = usuario;
      s.TxtUserPassword = clave;
      s.CboPlataformaDB = plataforma;
      s.Aceptar = true;
    });
  }
  struct Visto {
    QString servidor, base, usuario, clave;
    int plataforma;
    bool aceptar;
  };

  DB_Dll& db = DB_Dll::Instancia();
  std::shared_ptr<OperadorGuionado> op;
  std::vector<Visto> vistos;
  QTemporaryDir logs;
};

struct CasoArmado {
  const char* servidor;
  const char* base;
  const char* usuario;
  const char* clave;
  const char* extendido;
  const char* esperado;
};

TEST_F(ConexionTest, ArmadoDeLaCadenaDeConexion) {
  const CasoArmado casos[] = {
      {"SRV1", "GESTION", "sa", "", "", "PROVIDER=SQLOLEDB;Server=SRV1;Database =GESTION;UId=sa;Pwd=;"},
      {"", "", "", "", "", "PROVIDER=SQLOLEDB;Server=;Database =;UId=;Pwd=;"},
      {"SRV1", "GESTION", "sa", "x", "Network Library=DBMSSOCN;",
       "PROVIDER=SQLOLEDB;Server=SRV1;Database =GESTION;UId=sa;Pwd=x;Network Library=DBMSSOCN;"},
      {"ORA1#", "ORCL", "scott", "tiger", "Extra=1;",
       "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=scott;Password=tiger;"},
      {"#", "", "", "", "", "Provider=OraOLEDB.Oracle.1;Data Source=;User Id=;Password=;"},
      // Values that would end or open an item go in braces.
      {"SRV1", "/d/a;b.db", "'o", "{a;b}=c", "",
       "PROVIDER=SQLOLEDB;Server=SRV1;Database ={/d/a;b.db};UId={'o};Pwd={{a;b}}=c};"},
      {"#", "ORCL", "u", " x ", "", "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password={ x };"},
  };
  for (const auto& c : casos) {
    Campos(c.servidor, c.base, c.usuario, c.clave);
    db.gExtended = c.extendido;
    // The provider never chooses the grammar: only the "#" does.
    db.gProveedor = kOracle;
    DB_DllPrueba::Armar(db);
    EXPECT_EQ(db.gConnString, QString::fromUtf8(c.esperado)) << c.servidor;
  }
}

TEST(StripConnect, TextoAntesDeLaFlecha) {
  const std::pair<QString, QString> casos[] = {
      {"CLIENTES -> Conexion1", "CLIENTES"},
      {"CLIENTES", "CLIENTES"},
      {"", ""},
      {"A->x", ""},
      {"->x", ""},
      {"T  -> c", "T "},
      {"a -> b -> c", "a"},
      {"tabla ->", "tabla"},
  };
  for (const auto& [dado, esperado] : casos)
    EXPECT_EQ(DB_Dll::Instancia().StripConnect(dado), esperado) << dado.toStdString();
}

TEST_F(ConexionTest, CancelarElDialogoNoAbreNada) {
  Campos("SRV1", "GESTION", "sa", "clave");
  Dialogo(false);
  db.OpenServerADODB(true, 3, QString(), true);
  EXPECT_FALSE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn()->State(), ado::adStateClosed);
  // The caller's values stay as they were, and the dialog got them.
  EXPECT_EQ(db.gServidor, "SRV1");
  EXPECT_EQ(db.gUserPassWord, "clave");
  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].servidor, "SRV1");
  EXPECT_EQ(vistos[0].base, "GESTION");
  EXPECT_EQ(vistos[0].usuario, "sa");
  EXPECT_EQ(vistos[0].clave, "clave");
  EXPECT_EQ(vistos[0].plataforma, SolicitudAcceso::SqlServer);
  EXPECT_FALSE(vistos[0].aceptar);
  EXPECT_EQ(db.gConnString, "PROVIDER=SQLOLEDB;Server=SRV1;Database =GESTION;UId=sa;Pwd=clave;");
}

TEST_F(ConexionTest, PlataformaDelDialogoYMarcaOracle) {
  struct {
    const char* servidor;
    int plataforma;
    const char* servidorFinal;
    QString proveedor;
    bool cadenaOracle;
  } casos[] = {
      {"ORA1", SolicitudAcceso::Oracle, "ORA1#", kOracle, true},
      {"ORA1#", SolicitudAcceso::Oracle, "ORA1#", kOracle, true},
      {"ORA1#", SolicitudAcceso::SqlServer, "ORA1#", "SQLOLEDB", true},
      {"SRV9", SolicitudAcceso::SqlServer, "SRV9", "SQLOLEDB", false},
  };
  for (const auto& c : casos) {
    SetUp();
    Dialogo(true, c.servidor, "ORCL", "scott", "tiger", c.plataforma);
    op->Responder(vb::No);  // nothing answers at those servers
    // A given string is replaced by the dialog's values.
    db.OpenServerADODB(true, 3, QStringLiteral("PROVIDER=SQLOLEDB;Server=OTRO;"), false);
    EXPECT_EQ(db.gServidor, c.servidorFinal);
    EXPECT_EQ(db.gProveedor, c.proveedor);
    EXPECT_EQ(db.gConnString.startsWith(
                  "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=scott;Password=tiger;"),
              c.cadenaOracle)
        << db.gConnString.toStdString();
    EXPECT_FALSE(db.gOpenFlag) << c.servidor;
    // Whatever the failure, no box shows the password.
    for (const auto& m : op->mensajes) EXPECT_FALSE(m.prompt.contains("tiger")) << m.prompt.toStdString();
  }
}

TEST_F(ConexionTest, CadenaEnBlancoSeArmaConLosCampos) {
  Campos("NOEXISTE", "GESTION", "sa", "");
  op->Responder(vb::No);
  db.OpenServerADODB(false, 3, QStringLiteral("   "), false);
  EXPECT_EQ(db.gConnString, "PROVIDER=SQLOLEDB;Server=NOEXISTE;Database =GESTION;UId=sa;Pwd=;");
  EXPECT_EQ(db.gProveedor, "SQLOLEDB");
  EXPECT_TRUE(op->dialogos.isEmpty());
  EXPECT_FALSE(db.gOpenFlag);
}

TEST_F(ConexionTest, UnFalloQueNoEsDelProveedorNoDejaLaBanderaEnAlto) {
  op->AlMostrar([](DialogoModal&) { throw ado::Failure(51, QStringLiteral("El dialogo fallo")); });
  op->Responder(vb::OK);
  db.OpenServerADODB(true, 3, QString(), false);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, "El dialogo fallo");
  EXPECT_EQ(op->mensajes[0].style, vb::OKOnly);
  EXPECT_FALSE(db.gOpenFlag);
}

#ifdef MA_CON_BASES

const QString kPregunta = QStringLiteral(" - Desea Intentarlo Nuevamente??? ");

TEST_F(ConexionTest, SqliteAbreYMarcaAdministrador) {
  const auto demo = testdb::FreshDemo(testdb::Engine::Sqlite);
  struct {
    const char* usuario;
    bool valida;
    bool admin;
  } casos[] = {
      {"admin", true, true}, {"operador", true, false}, {"nadie", true, false}, {"nadie", false, true}};
  for (const auto& c : casos) {
    SetUp();
    Campos(demo.server, demo.dbName, c.usuario, QString());
    db.OpenServerADODB(false, 3, QString(), c.valida);
    EXPECT_TRUE(db.gOpenFlag) << c.usuario
                              << (op->mensajes.empty() ? "" : op->mensajes[0].prompt.toStdString());
    EXPECT_EQ(db.gCnn()->State(), ado::adStateOpen);
    EXPECT_EQ(db.gEsAdmin, c.admin) << c.usuario << " " << c.valida;
  }
}

TEST_F(ConexionTest, ReintentarMuestraElDialogoConLosValoresYConecta) {
  const auto demo = testdb::FreshDemo(testdb::Engine::Sqlite);
  const QString malo = QDir::tempPath() + "/no/existe/ma_empresas.sqlite";
  Campos(demo.server, malo, "admin", "secreta");
  op->Responder(vb::Yes);
  Dialogo(true, demo.server, demo.dbName, "admin", "secreta");
  db.OpenServerADODB(false, 3, QString(), true);

  ASSERT_EQ(op->mensajes.size(), 1u);
  const auto& m = op->mensajes[0];
  EXPECT_EQ(m.title, " Error de Conexion a Base de Datos");
  EXPECT_EQ(m.style, vb::YesNo + vb::Critical);
  EXPECT_TRUE(m.prompt.startsWith(" Estado de Sql: ")) << m.prompt.toStdString();
  EXPECT_TRUE(m.prompt.contains("\rNumero de Error: "));
  EXPECT_TRUE(m.prompt.contains("\rDescripcion: "));
  EXPECT_TRUE(m.prompt.contains("\rCodigo Nativo: "));
  EXPECT_TRUE(m.prompt.endsWith("\r" + kPregunta));
  EXPECT_FALSE(m.prompt.contains("secreta"));

  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].base, malo);
  EXPECT_EQ(vistos[0].clave, "secreta");
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn()->State(), ado::adStateOpen);
  EXPECT_TRUE(db.gEsAdmin);
}

TEST_F(ConexionTest, ReintentoRechazadoOCanceladoDejaSinConexion) {
  const auto demo = testdb::FreshDemo(testdb::Engine::Sqlite);
  const QString malo = QDir::tempPath() + "/no/existe/ma_empresas.sqlite";
  // Declined at the question.
  Campos(demo.server, malo, "admin", "");
  op->Responder(vb::No);
  db.OpenServerADODB(false, 3, QString(), true);
  EXPECT_FALSE(db.gOpenFlag);
  EXPECT_TRUE(op->dialogos.isEmpty());
  EXPECT_EQ(db.gCnn()->State(), ado::adStateClosed);

  // Yes, then the dialog cancelled.
  SetUp();
  Campos(demo.server, malo, "admin", "");
  op->Responder(vb::Yes);
  Dialogo(false);
  db.OpenServerADODB(false, 3, QString(), true);
  EXPECT_FALSE(db.gOpenFlag);
  EXPECT_EQ(op->dialogos.size(), 1);
  EXPECT_EQ(op->mensajes.size(), 1u);
}

TEST_F(ConexionTest, PostgresClaveErroneaPreguntaYReintenta) {
  const auto pg = testdb::FreshDemo(testdb::Engine::Postgres);
  Campos(pg.server, pg.dbName, pg.user, QStringLiteral("clave_erronea"));
  op->Responder(vb::Yes);
  Dialogo(true, pg.server, pg.dbName, pg.user, pg.password);
  db.OpenServerADODB(false, 3, QString(), true);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].prompt.endsWith(kPregunta));
  EXPECT_FALSE(op->mensajes[0].prompt.contains("clave_erronea"));
  ASSERT_EQ(vistos.size(), 1u);
  EXPECT_EQ(vistos[0].clave, "clave_erronea");
  EXPECT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn()->State(), ado::adStateOpen);
  db.gCnn()->Close();
}

// A password holding what ends or opens an item logs in through the dialog.
TEST_F(ConexionTest, PostgresClavesConSeparadoresDesdeElDialogo) {
  const auto pg = testdb::FreshDemo(testdb::Engine::Postgres);
  const QString rol = QStringLiteral("ma_clave_%1").arg(QCoreApplication::applicationPid());
  testdb::RunSql(pg, "DROP ROLE IF EXISTS " + rol + "; CREATE ROLE " + rol + " LOGIN");
  for (const QString clave : {"{a;b}=c", "'q;r", "\"x\"", " y}z "}) {
    SetUp();
    testdb::RunSql(pg, "ALTER ROLE " + rol + " PASSWORD '" + QString(clave).replace("'", "''") + "'");
    Dialogo(true, pg.server, pg.dbName, rol, clave);
    db.OpenServerADODB(true, 3, QString(), false);
    EXPECT_TRUE(db.gOpenFlag) << clave.toStdString()
                              << (op->mensajes.empty() ? "" : op->mensajes[0].prompt.toStdString());
    // Logged in as that role, with that password: the server says who it serves.
    ado::Recordset quien;
    quien.Open(QStringLiteral("SELECT current_user"), db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_EQ(quien.Fields(0).GetValue().toString(), rol);
    quien.Close();
    db.gCnn()->Close();
  }
  testdb::RunSql(pg, "DROP ROLE " + rol);
}

#endif

}  // namespace
