// Table-name mapping for non-administrators and the Oracle switch of the translation.
#include <gtest/gtest.h>

#include "db/DB_Dll.h"

namespace {

TEST(SS_TSinonimos, MapeaSoloEnSusContextosParaNoAdministradores) {
  DB_Dll db;
  db.gEsAdmin = false;
  const struct {
    const char* entrada;
    const char* salida;
  } casos[] = {
      {"SELECT * FROM MV_ASIENTOS WHERE A = 1", "SELECT * FROM SS_MV_ASIENTOS WHERE A = 1"},
      {"SELECT * FROM MV_ASIENTOS", "SELECT * FROM MV_ASIENTOS"},
      {"MV_ASIENTOS WHERE", "MV_ASIENTOS WHERE"},
      {"SELECT * FROM (V_TA_CAJAS.X", "SELECT * FROM (SS_V_TA_CAJAS.X"},
      {"SELECT MA_CUENTAS.CODIGO FROM MA_CUENTAS ORDER BY 1",
       "SELECT SS_MA_CUENTAS.CODIGO FROM SS_MA_CUENTAS ORDER BY 1"},
      {"SELECT A,V_TA_FAMILIAS.B FROM (V_TA_FAMILIAS )",
       "SELECT A,SS_V_TA_FAMILIAS.B FROM (SS_V_TA_FAMILIAS )"},
      {"{MA_CUENTAS.X} {V_TA_CAJAS.X}", "{SS_MA_CUENTAS.X} {V_TA_CAJAS.X}"},
      {"SELECT * FROM AC_CUENTASDIARIO_CCOSTO WHERE 1=1",
       "SELECT * FROM SS_AC_CUENTAS_DIARIO_CCOSTO WHERE 1=1"},
      {"SELECT * FROM AC_CUENTASDIARIO WHERE 1=1", "SELECT * FROM SS_AC_CUENTASDIARIO WHERE 1=1"},
      {"SELECT * FROM @Admin_MA_CUENTAS WHERE 1=1", "SELECT * FROM MA_CUENTAS WHERE 1=1"},
      {"SELECT * FROM @Admin_MV_ASIENTOS WHERE 1=1", "SELECT * FROM MV_ASIENTOS WHERE 1=1"},
      {"select * from mv_asientos where a = 1", "select * from SS_MV_ASIENTOS where a = 1"},
      {"SELECT * FROM MA_CUENTAS_X WHERE 1=1", "SELECT * FROM MA_CUENTAS_X WHERE 1=1"},
      {"SELECT ' MA_CUENTAS ' FROM T WHERE 1=1", "SELECT ' MA_CUENTAS ' FROM T WHERE 1=1"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(db.SS_TSinonimos(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.salida)) << c.entrada;
}

TEST(SS_TSinonimos, ElAdministradorSoloPierdeLaMarca) {
  DB_Dll db;
  db.gEsAdmin = true;
  EXPECT_EQ(db.SS_TSinonimos(
                QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE X IN (SELECT 1 FROM @Admin_MA_CUENTAS )")),
            QStringLiteral("SELECT * FROM MV_ASIENTOS WHERE X IN (SELECT 1 FROM MA_CUENTAS )"));
}

TEST(ORACLE_Dicc, SoloTraduceEnOracle) {
  DB_Dll db;
  const QString sql = QStringLiteral("SELECT TOP 1 ISNULL(A,0) FROM T");
  db.gConnString = QStringLiteral("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=u;Pwd=;");
  EXPECT_EQ(db.ORACLE_Dicc(sql), sql);
  EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("len")), QStringLiteral("len"));

  db.gConnString = QStringLiteral("Provider=OraOLEDB.Oracle.1;Data Source=D;User Id=u;Password=;");
  EXPECT_EQ(db.ORACLE_Dicc(sql), QStringLiteral("SELECT  NVL(A,0) FROM T  WHERE ROWNUM <= 1  "));
  EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("len")), QStringLiteral("LENGTH"));
  EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("LEN")), QStringLiteral("LENGTH"));
  // A single word gets no other rule.
  EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("ISNULL(A,0)")), QStringLiteral("ISNULL(A,0)"));
  EXPECT_EQ(db.ORACLE_Dicc(QStringLiteral("[X]")), QStringLiteral("[X]"));
}

}  // namespace
