// Schema inspection and column addition against real databases.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "db/DB_Dll.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

namespace {

using testdb::Engine;

class Esquema : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    base = testdb::FreshDemo(GetParam());
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    db.SetCnn(cnn);
    db.gConnString = base.programString;
    db.gDBName = base.dbName;
    db.gProveedor = QStringLiteral("SQLOLEDB");
    db.gEsAdmin = true;
    ASSERT_TRUE(logs.isValid());
    db.gLogErr = logs.filePath(QStringLiteral("VMERR.LOG"));
    op = OperadorGuionado::Instalar();
  }
  void TearDown() override { db.SetCnn(nullptr); }

  DB_Dll& db = DB_Dll::Instancia();
  testdb::Database base;
  ado::ConnectionPtr cnn;
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir logs;
};

TEST_P(Esquema, TablasYColumnasSinMayusculasNiBlancos) {
  EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("  p_ma_empresas ")));
  EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("TA_CONFIGURACION")));
  EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("NO_EXISTE")));
  EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral(" cuit ")));
  EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral("NO_EXISTE")));
  // A column of another table is not a column of this one.
  EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral("VALOR")));
  EXPECT_TRUE(op->mensajes.empty());
}

TEST_P(Esquema, EnOracleTodaColumnaExiste) {
  db.gProveedor = QStringLiteral("OraOLEDB.Oracle.1");
  EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral("NO_EXISTE")));
}

TEST_P(Esquema, VerCampoDBAgregaSoloCuandoSeLePide) {
  const QString t = QStringLiteral("P_MA_Empresas");
  EXPECT_TRUE(db.VerCampoDB(t, QStringLiteral("P_Nuevo"), false, QStringLiteral("VARCHAR(20)"), true));
  EXPECT_FALSE(db.ExisteCampoDB(t, QStringLiteral("P_Nuevo")));
  EXPECT_TRUE(db.VerCampoDB(t, QStringLiteral("P_Nuevo"), true, QStringLiteral("VARCHAR(20)"), true));
  EXPECT_TRUE(db.ExisteCampoDB(t, QStringLiteral("P_Nuevo")));
  // With a default the existing rows get it.
  db.AddField(t, QStringLiteral("P_Saldo"), QStringLiteral("INTEGER"), false, 0);
  EXPECT_TRUE(db.ExisteCampoDB(t, QStringLiteral("P_Saldo")));
  EXPECT_EQ(testdb::Query(base, QStringLiteral(
                                    "SELECT P_Saldo FROM P_MA_Empresas WHERE IdEmpresa = '              8'")),
            QStringList{QStringLiteral("0")});
  // A missing table is not an error and creates nothing.
  EXPECT_TRUE(
      db.VerCampoDB(QStringLiteral("NO_EXISTE"), QStringLiteral("X"), true, QStringLiteral("INTEGER"), true));
  EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("NO_EXISTE")));
  EXPECT_TRUE(op->mensajes.empty());
}

INSTANTIATE_TEST_SUITE_P(Motores, Esquema, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
