#include "session/IniciarSesion.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "db/DB_Dll.h"
#include "db/SolicitudAcceso.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/services/ArchivoIni.h"
#include "platform/services/Cp1252.h"
#include "platform/services/Entorno.h"
#include "platform/services/Inicializador.h"
#include "platform/services/Utilidades.h"
#include "session/ParametrosInicio.h"
#include "settings/Configuracion.h"
#include "settings/Globales.h"
#include "support/OperadorGuionado.h"

#if __has_include("support/TestDatabases.h")
#include "support/TestDatabases.h"
#define MA_CON_BASES 1
#endif

namespace {

struct CasoClave {
  const char* texto;
  const char* clave;
  const char* esperado;
};

TEST(Parametros, ValorDeCadaClave) {
  const CasoClave casos[] = {
      {"@Server=SRV1;@DbName=GESTION;", "@Server", "SRV1"},
      {"@server=SRV1;", "@Server", "SRV1"},  // any letter case
      {"@SERVER = SRV1 ;", "@Server", "SRV1"},
      {"; @dbname= GESTION; ", "@DbName", "GESTION"},
      {"@Menu=;", "@Menu", ""},
      {"@Menu=a=b=c;", "@Menu", "a=b=c"},  // only the key's own "=" goes
      // A last item without ";" runs to the end of the text.
      {"@Caja=3", "@Caja", "3"},
      {"@Caja=12345", "@Caja", "12345"},
      {"@Password=UnaClaveBastanteLarga2024", "@Password", "UnaClaveBastanteLarga2024"},
      {"@Server=SRV1;@Password= a b ", "@Password", "a b"},
      // Only the whole key, wherever the longer one stands.
      {"@UsuarioLogeado=pepe;@Usuario=ma_test;", "@Usuario", "ma_test"},
      {"@UsuarioLogeado=pepe;@Usuario=ma_test;", "@UsuarioLogeado", "pepe"},
      {"@Usuario=sa;@UsuarioLogeado=pepe;", "@Usuario", "sa"},
      {"@UsuarioLogeado=pepe;", "@Usuario", "?"},
      {"@Usuario sa;", "@Usuario", "sa"},
      {"@Server=A;@Server=B;", "@Server", "A"},
      {"x@Server=SRV1;", "@Server", "SRV1"},
      {"@Server", "@Server", ""},
  };
  for (const auto& c : casos)
    EXPECT_EQ(ValorParametro(QString::fromUtf8(c.texto), QString::fromUtf8(c.clave), "?"),
              QString::fromUtf8(c.esperado))
        << c.texto << " " << c.clave;
  EXPECT_EQ(ValorParametro("@Server=SRV1;", "@DbName", "defecto"), "defecto");
}

TEST(Parametros, TextoCompletoYAusentes) {
  const ParametrosInicio vacio = InterpretarParametros("");
  EXPECT_EQ(vacio.Servidor, "");
  EXPECT_EQ(vacio.Usuario, "");
  EXPECT_EQ(vacio.UsuarioLogeado, "");
  EXPECT_EQ(vacio.Caja, "1");

  const ParametrosInicio p = InterpretarParametros(
      "@Server=#ORA1;@DbName=ORCL;@Usuario=scott;@Password=tiger;@UsuarioLogeado=juan;@Menu=M1;"
      "@ParametroAdicional=X Y;@Caja=2;");
  EXPECT_EQ(p.Servidor, "#ORA1");
  EXPECT_EQ(p.BaseDeDatos, "ORCL");
  EXPECT_EQ(p.Usuario, "scott");
  EXPECT_EQ(p.Password, "tiger");
  EXPECT_EQ(p.UsuarioLogeado, "juan");
  EXPECT_EQ(p.Menu, "M1");
  EXPECT_EQ(p.ParametroAdicional, "X Y");
  EXPECT_EQ(p.Caja, "2");
}

TEST(Parametros, ElTextoArmadoDesdeElIniSeLeeEntero) {
  const QString t = ParametrosDesdeIni("SRV1", "GESTION", "Velmora", "quillon");
  EXPECT_EQ(t,
            "@server=SRV1; @dbname= GESTION; @usuario= Velmora; @Password= quillon; @ParametroAdicional=; "
            "@Caja=1;zola@");
  const ParametrosInicio p = InterpretarParametros(t);
  EXPECT_EQ(p.Servidor, "SRV1");
  EXPECT_EQ(p.BaseDeDatos, "GESTION");
  EXPECT_EQ(p.Usuario, "Velmora");
  EXPECT_EQ(p.Password, "quillon");
  EXPECT_EQ(p.ParametroAdicional, "");
  EXPECT_EQ(p.Caja, "1");
}

TEST(ExtraerServidor, InstanciaSinHostNiPuerto) {
  const std::pair<QString, QString> casos[] = {{"SRV1", "SRV1"},
                                               {"host/INST:1433", "INST"},
                                               {"host/INST", "INST"},
                                               {"SRV1:1433", "SRV1"},
                                               {"a/b/c:1", "b/c"},
                                               {"", ""},
                                               {"/", ""},
                                               {":5", ""}};
  for (const auto& [dado, esperado] : casos) EXPECT_EQ(ExtraerServidor(dado), esperado) << dado.toStdString();
}

// The whole start-up, with the program's ending replaced and the workstation's
// INI folder and identity fixed.
class IniciarSesionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    ASSERT_TRUE(carpeta.isValid());
    ArchivoIni::Compartido().FijarCarpetas({carpeta.path()});
    Entorno::Compartido().FijarIdentificadores(QStringLiteral("pc1"), QStringLiteral("juan"));
    terminaciones = 0;
    EstablecerFinDelPrograma([this] { ++terminaciones; });
    EstablecerLineaDeComandos(QString());
    DB_Dll& db = DB_Dll::Instancia();
    db.SetCnn(nullptr);
    db.gOpenFlag = false;
    db.gProveedor = db.gServidor = db.gDBName = db.gUsuario = db.gUserPassWord = db.gConnString = QString();
    db.gLogErr = carpeta.filePath("VMERR.LOG");
    gColorFondo = 1;
    gColorLetra = 1;
    gConnStringDSN = QStringLiteral("sin tocar");
    gCaja = QStringLiteral("?");
  }
  void TearDown() override {
    ArchivoIni::Compartido().FijarCarpetas({});
    Entorno::Compartido().FijarIdentificadores(std::nullopt, std::nullopt);
    EstablecerFinDelPrograma({});
    EstablecerLineaDeComandos(QString());
    if (DB_Dll::Instancia().gCnn()->State() == ado::adStateOpen) DB_Dll::Instancia().gCnn()->Close();
  }
  void Ini(const QByteArray& contenido) {
    QFile f(carpeta.filePath("CN000pr.INI"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contenido);
  }
  void Iniciar(bool usarIni, QString parametros, QString connString = {}) {
    IniciarSesion(usarIni, parametros, connString);
    connStringDevuelta = connString;
  }
  QString BaseInexistente() const { return carpeta.filePath("no/existe/base.sqlite"); }

  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir carpeta;
  int terminaciones = 0;
  QString connStringDevuelta;
};

TEST_F(IniciarSesionTest, SinParametrosPideElDialogoYCancelarTermina) {
  EstablecerLineaDeComandos(QString());
  op->AlMostrar([](DialogoModal& d) { EXPECT_EQ(d.Nombre(), "frmAcceso"); });
  Iniciar(false, QString());
  EXPECT_EQ(op->dialogos, QStringList{"frmAcceso"});
  EXPECT_EQ(terminaciones, 1);
  EXPECT_EQ(gCaja, "1");
  EXPECT_EQ(gColorFondo, 0xFFFFFFu);
  EXPECT_EQ(gColorLetra, 0u);
  EXPECT_EQ(gSeccionEstacion, "PC1|JUAN");
  EXPECT_EQ(gFlatToolbars.toDouble(), 1.0);
  // Nothing after the ending runs.
  EXPECT_EQ(gConnStringDSN, "sin tocar");
}

TEST_F(IniciarSesionTest, LaLineaDeComandosSeUsaSiNoHayParametros) {
  EstablecerLineaDeComandos("@Server=SQLITE;@DbName=" + BaseInexistente() + ";@Usuario=sa;@Caja=7;");
  op->Responder(vb::No);     // the connection fails: not again
  Iniciar(true, QString());  // the INI is not read when there is a text
  const DB_Dll& db = DB_Dll::Instancia();
  EXPECT_EQ(db.gServidor, "SQLITE");
  EXPECT_EQ(db.gUsuario, "sa");
  EXPECT_EQ(gCaja, "7");
  EXPECT_TRUE(op->dialogos.isEmpty());
  EXPECT_EQ(terminaciones, 1);
}

// A folder given as the SQLite database is called a folder in the question,
// not a file that does not exist.
TEST_F(IniciarSesionTest, UnaCarpetaComoBaseSeNombraCarpeta) {
  op->Responder(vb::No);
  Iniciar(false, "@Server=SQLITE;@DbName=" + carpeta.path() + ";@Usuario=sa;");
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].prompt.contains(carpeta.path() + " es una carpeta, no el archivo"))
      << op->mensajes[0].prompt.toStdString();
  EXPECT_EQ(terminaciones, 1);
}

TEST_F(IniciarSesionTest, DesdeElIniConClavesCodificadas) {
  Utilidades& u = Utilidades::Compartido();
  Ini("[PC1|JUAN]\r\nFlatToolbars=0\r\n[pc1|juanBaseDeDatos]\r\nServidor=SQL|ITE\r\nDbName=" +
      HaciaCp1252(BaseInexistente()) + "\r\nUsuario=" + HaciaCp1252(u.Encriptar("Peña|")) + "\r\n");
  op->Responder(vb::No);  // the connection fails: not again
  Iniciar(true, QStringLiteral("   "));
  const DB_Dll& db = DB_Dll::Instancia();
  EXPECT_EQ(db.gServidor, "SQLITE");
  EXPECT_EQ(db.gDBName, BaseInexistente());
  EXPECT_EQ(db.gUsuario, "Peña");
  EXPECT_EQ(db.gUserPassWord, "quillon");  // the default when the key is missing
  EXPECT_EQ(gFlatToolbars.toDouble(), 0.0);
  EXPECT_EQ(terminaciones, 1);
}

TEST_F(IniciarSesionTest, SinIniValenLosValoresPorDefecto) {
  op->AlMostrar([](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudAcceso&>(d);
    EXPECT_EQ(s.TxtUserId, "Velmora");
    EXPECT_EQ(s.TxtUserPassword, "quillon");
  });
  Iniciar(true, QString());
  EXPECT_EQ(op->dialogos.size(), 1);  // no server: the dialog asks
  EXPECT_EQ(terminaciones, 1);
}

TEST_F(IniciarSesionTest, ServidorOracleArmaSuCadena) {
  op->Responder(vb::No);  // the connection fails: not again
  Iniciar(false, "@Server=#ORA1;@DbName=ORCL;@Usuario=scott;@Password=tiger;");
  EXPECT_EQ(connStringDevuelta, "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=scott;Password=tiger;");
  EXPECT_EQ(DB_Dll::Instancia().gServidor, "ORA1");
  EXPECT_EQ(DB_Dll::Instancia().gConnString, connStringDevuelta);
  EXPECT_TRUE(op->dialogos.isEmpty());
  EXPECT_EQ(terminaciones, 1);
  for (const auto& m : op->mensajes) EXPECT_FALSE(m.prompt.contains("tiger"));

  SetUp();
  op->Responder(vb::No);  // the connection fails: not again
  const QString dada = "PROVIDER=SQLOLEDB;Server=SQLITE;Database =" + BaseInexistente() + ";UId=;Pwd=;";
  Iniciar(false, "@Server=#ORA1;@DbName=ORCL;", dada);
  EXPECT_EQ(connStringDevuelta, dada);
  EXPECT_EQ(DB_Dll::Instancia().gConnString, dada);
}

TEST_F(IniciarSesionTest, ServidorConInstanciaYPuertoYSeccionLarga) {
  Entorno::Compartido().FijarIdentificadores(QString(30, QLatin1Char('m')), QString(30, QLatin1Char('u')));
  op->Responder(vb::No);  // the connection fails: not again
  Iniciar(false, "@Server=host/INST:1433;@DbName=" + BaseInexistente() + ";");
  EXPECT_EQ(DB_Dll::Instancia().gServidor, "INST");
  EXPECT_EQ(gSeccionEstacion, QString(30, QLatin1Char('M')) + "|" + QString(19, QLatin1Char('U')));
  EXPECT_EQ(gSeccionEstacion.size(), 50);
}

#ifdef MA_CON_BASES

TEST_F(IniciarSesionTest, ConectaAjustaYUnaSegundaLlamadaNoReabre) {
  const auto demo = testdb::FreshDemo(testdb::Engine::Sqlite);
  Iniciar(false, "@Server=" + demo.server + ";@DbName=" + demo.dbName +
                     ";@Usuario=admin;@Password=;@UsuarioLogeado=otro;@Menu=M;@ParametroAdicional=PA;");
  DB_Dll& db = DB_Dll::Instancia();
  EXPECT_EQ(terminaciones, 0);
  ASSERT_TRUE(db.gOpenFlag);
  EXPECT_EQ(db.gCnn()->State(), ado::adStateOpen);
  EXPECT_EQ(db.gCnn()->CommandTimeout(), 360);
  EXPECT_TRUE(db.gEsAdmin);
  EXPECT_EQ(gUsuarioLogeado, "admin");  // the database user prevails
  EXPECT_EQ(gMenu, "M");
  EXPECT_EQ(gParametroAdicional, "PA");
  EXPECT_EQ(gConnStringDSN, "DSN=" + demo.dbName + "; UID=admin; PWD=");
  const Lib_ClsCons3& consultas = Lib_ClsCons3::Instancia();
  EXPECT_EQ(consultas.gConnString, db.gConnString);
  EXPECT_TRUE(consultas.gUsarMascarasConsultas);
  EXPECT_TRUE(consultas.gRutaMascaraConsultas.endsWith("/consultas.vmt"));
  EXPECT_TRUE(QFile::exists(consultas.gRutaMascaraConsultas));
  EXPECT_TRUE(Inicializador::Compartido().Inicializado());
  EXPECT_TRUE(Inicializador::Compartido().CarpetaAplicacion().endsWith('/'));
  // The operator's row is read once, for the administrator flag and the business unit.
  // With the engine check and the settings table: three statements in all.
  EXPECT_LE(db.gCnn()->StatementsSent(), 3) << db.gCnn()->StatementsSent();

  // Connected already: nothing is parsed or opened again.
  Iniciar(false, "@Server=OTRO;@DbName=OTRA;@Usuario=x;");
  EXPECT_EQ(db.gServidor, demo.server);
  EXPECT_EQ(db.gUsuario, "admin");
  EXPECT_TRUE(op->dialogos.isEmpty());
  EXPECT_EQ(terminaciones, 0);
}

// A setting that does not fit (PERIODO 202401 in 16 bits) fails after the
// connection is open: the operator's answer decides, as in the load's trap,
// and Ignorar goes on with the rest of the settings and the session.
TEST_F(IniciarSesionTest, UnFalloConLaConexionAbiertaLoDecideElOperador) {
  const struct {
    const char* nombre;
    std::vector<int> respuestas;
    int terminaciones;
  } casos[] = {
      {"Ignorar", {vb::Ignore}, 0},
      {"Reintentar, luego Ignorar", {vb::Retry, vb::Ignore}, 0},
      {"Anular", {vb::Abort}, 1},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    SetUp();
    const auto demo = testdb::FreshDemo(testdb::Engine::Sqlite);
    testdb::RunSql(demo,
                   "UPDATE ta_configuracion SET VALOR = '202401' WHERE CLAVE = 'PERIODO';"
                   "UPDATE ta_configuracion SET VALOR = '77' WHERE CLAVE = 'Top_Default';");
    for (int r : c.respuestas) op->Responder(r);
    Iniciar(false, "@Server=" + demo.server + ";@DbName=" + demo.dbName + ";@Usuario=admin;@Password=;");
    EXPECT_EQ(terminaciones, c.terminaciones);
    ASSERT_EQ(op->mensajes.size(), c.respuestas.size());
    EXPECT_TRUE(op->mensajes[0].prompt.contains("Load")) << op->mensajes[0].prompt.toStdString();
    EXPECT_EQ(DB_Dll::Instancia().gCnn()->State(), ado::adStateOpen);
    if (!c.terminaciones) {
      EXPECT_EQ(ValorConfiguracion("Top_Default"), QVariant(QStringLiteral("77")));
    }
    TearDown();
  }
}

#endif

}  // namespace
