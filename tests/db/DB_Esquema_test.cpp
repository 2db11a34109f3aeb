// Schema inspection and column addition against real databases.
#include <gtest/gtest.h>

#include <functional>

#include "support/ConexionDePrueba.h"

namespace {

using testdb::Engine;

using Esquema = ConexionDePrueba;

TEST_P(Esquema, TablasYColumnasSinMayusculasNiBlancos) {
  EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("  p_ma_empresas ")));
  EXPECT_TRUE(db.ExisteTablaDB(QStringLiteral("TA_CONFIGURACION")));
  EXPECT_FALSE(db.ExisteTablaDB(QStringLiteral("NO_EXISTE")));
  EXPECT_TRUE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral(" cuit ")));
  EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral("NO_EXISTE")));
  // A column of another table is not a column of this one.
  EXPECT_FALSE(db.ExisteCampoDB(QStringLiteral("P_MA_Empresas"), QStringLiteral("VALOR")));
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
}

// With the connection gone, every helper's open fails: answered with Ignorar,
// the helper asks once and reads nothing of what was never opened.
TEST_P(Esquema, IgnorarTrasUnaAperturaFallidaNoLeeNiPreguntaDeNuevo) {
  const QString t = QStringLiteral("P_MA_Empresas");
  ado::Recordset rs;
  const struct {
    const char* nombre;
    std::function<bool()> llamada;  // true when it reported a row or a value
  } casos[] = {
      {"ExisteTablaDB", [&] { return db.ExisteTablaDB(t); }},
      {"ExisteCampoDB", [&] { return db.ExisteCampoDB(t, QStringLiteral("CUIT")); }},
      {"ExisteEnTabla", [&] { return db.ExisteEnTabla(t, "8", "IdEmpresa", nullptr, 8, QString()); }},
      {"ExisteEnTabla, recordset", [&] { return db.ExisteEnTabla(t, "8", "IdEmpresa", &rs, 8, QString()); }},
      {"ExisteEnTablaST", [&] { return db.ExisteEnTablaST(t, "8", "IdEmpresa", &rs, 8, QString(), true); }},
      {"DatosTabla",
       [&] { return !db.DatosTabla(t, "8", "NombreEmpresa", "IdEmpresa", 8).toString().isEmpty(); }},
  };
  cnn->Close();
  for (const auto& c : casos) {
    op->mensajes.clear();
    op->Responder(vb::Ignore);
    EXPECT_FALSE(c.llamada()) << c.nombre;
    EXPECT_EQ(op->mensajes.size(), 1u) << c.nombre;
  }
  op->Responder(vb::Abort);
  EXPECT_EQ(db.ComprobarEnTabla(t, "8", "IdEmpresa", &rs, 8, QString()), DB_Dll::Existencia::Fallo);
}

INSTANTIATE_TEST_SUITE_P(Motores, Esquema, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
