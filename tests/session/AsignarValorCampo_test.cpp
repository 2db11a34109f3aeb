// Typed-in texts stored into real columns of every family, on SQLite and PostgreSQL.
#include "session/AsignarValorCampo.h"

#include <gtest/gtest.h>

#include "support/ConexionDePrueba.h"
#include "support/Idioma.h"

namespace {

using testdb::Engine;

TEST(EsVerdadero, SoloLasPalabrasDeFalsoSonFalsas) {
  for (const char* t : {"FALSE", "false", "Falso", "0", "NO", "no", "N", "n"})
    EXPECT_FALSE(EsVerdadero(QString::fromUtf8(t))) << t;
  for (const char* t : {"", "SI", "1", "5", "-1", "TRUE", " NO", "00", "cualquiera"})
    EXPECT_TRUE(EsVerdadero(QString::fromUtf8(t))) << t;
}

class AsignarValor : public ConexionDePrueba {
 protected:
  void SetUp() override {
    base = testdb::FreshEmpty(GetParam());
    const bool pg = GetParam() == Engine::Postgres;
    testdb::RunSql(base,
                   QStringLiteral("CREATE TABLE CAMPOS (ID INTEGER PRIMARY KEY, CODIGO VARCHAR(10), "
                                  "IdEmpresa VARCHAR(15), NOMBRE VARCHAR(60), NOTAS TEXT, ENTERO INTEGER, "
                                  "CANTIDAD NUMERIC(12,4), IMPORTE %1, ACTIVO BOOLEAN, FECHA %2)")
                       .arg(pg ? QStringLiteral("NUMERIC(19,4)") : QStringLiteral("MONEY"),
                            pg ? QStringLiteral("TIMESTAMP") : QStringLiteral("DATETIME")));
    testdb::RunSql(base,
                   QStringLiteral("INSERT INTO CAMPOS (ID, CODIGO, NOMBRE) VALUES (1, 'previo', 'previo')"));
    Conectar();
  }

  // Stores the text through a fresh recordset on row 1 and reads back what the database holds.
  QString Guardar(QString campo, QString valor) {
    ado::Recordset rs;
    QString sql = QStringLiteral("SELECT * FROM CAMPOS WHERE ID = 1");
    db.AbrirRecordset(sql, rs, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
    AsignarValorCampo(rs, campo, valor);
    rs.Update();
    rs.Close();
    const QStringList filas = testdb::Query(
        base, QStringLiteral(
                  "SELECT CASE WHEN %1 IS NULL THEN '<NULL>' ELSE CAST(%1 AS VARCHAR(60)) END FROM CAMPOS")
                  .arg(campo));
    return filas.value(0);
  }
};

TEST_P(AsignarValor, TextosPorTamano) {
  const struct {
    const char* campo;
    const char* valor;
    const char* guardado;
  } casos[] = {
      {"CODIGO", "abc", "       abc"},
      {"IdEmpresa", " 8 ", "              8"},
      {"NOMBRE", "  Juan Perez  ", "Juan Perez"},
      {"NOTAS", "  nota larga  ", "nota larga"},
      {"NOMBRE", "", "<NULL>"},
      {"CODIGO", "   ", "<NULL>"},
      {"NOMBRE", "O'Brien", "O'Brien"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(Guardar(QString::fromUtf8(c.campo), QString::fromUtf8(c.valor)), QString::fromUtf8(c.guardado))
        << c.campo << " <- '" << c.valor << "'";
}

TEST_P(AsignarValor, NumerosImportesYLogicos) {
  EXPECT_EQ(Guardar(QStringLiteral("ENTERO"), QStringLiteral("12abc")).toDouble(), 12.0);
  EXPECT_EQ(Guardar(QStringLiteral("ENTERO"), QStringLiteral("abc")).toDouble(), 0.0);
  const struct {
    const char* valor;
    bool verdadero;
  } logicos[] = {{"", true}, {"N", false}, {"no", false}, {"0", false}, {"5", true}, {"SI", true}};
  for (const auto& l : logicos) {
    const QString g = Guardar(QStringLiteral("ACTIVO"), QString::fromUtf8(l.valor));
    const bool leido = g == QLatin1String("1") || g == QLatin1String("true") || g == QLatin1String("t");
    EXPECT_EQ(leido, l.verdadero) << "'" << l.valor << "' -> " << g.toStdString();
  }
}

// Amounts typed in each locale, one after another into the same row, compared
// by the engine: SQLite's MONEY is the currency family, PostgreSQL's NUMERIC
// the numeric one.
TEST_P(AsignarValor, ImportesEnCadaIdioma) {
  const char* const casos[][3] = {{"es_AR", "1234,5", "1234.5"},
                                  {"C", "1234.5", "1234.5"},
                                  {"es_AR", "1234.5", "1234"},
                                  {"C", "0.0001", "0.0001"},
                                  {"es_AR", "0,0005", "0.0005"},
                                  {"C", "100000", "100000"},
                                  {"es_AR", "1000000", "1000000"},
                                  {"C", "12000000", "12000000"},
                                  {"es_AR", "999999999999,9999", "999999999999.9999"},
                                  {"es_AR", "-1234,5", "-1234.5"}};
  for (const auto& [idioma, texto, guardado] : casos) {
    EnIdioma en(idioma);
    Guardar(QStringLiteral("IMPORTE"), QString::fromUtf8(texto));
    const QString igual =
        QStringLiteral("SELECT CASE WHEN IMPORTE = %1 THEN 'si' END FROM CAMPOS").arg(guardado);
    EXPECT_EQ(testdb::Query(base, igual).value(0), "si") << idioma << " " << texto;
  }
}

TEST_P(AsignarValor, FechasValidasOInvalidas) {
  EXPECT_TRUE(
      Guardar(QStringLiteral("FECHA"), QStringLiteral("31/12/2024")).startsWith(QLatin1String("2024-12-31")));
  EXPECT_EQ(Guardar(QStringLiteral("FECHA"), QStringLiteral("no es fecha")), QStringLiteral("<NULL>"));
  EXPECT_EQ(Guardar(QStringLiteral("FECHA"), QStringLiteral("31/02/2024")), QStringLiteral("<NULL>"));
  EXPECT_TRUE(Guardar(QStringLiteral("FECHA"), QStringLiteral("1/2/2024 10:30"))
                  .startsWith(QLatin1String("2024-02-01 10:30")));
}

TEST_P(AsignarValor, CorchetesFueraYCampoDesconocidoFalla) {
  ado::Recordset rs;
  QString sql = QStringLiteral("SELECT * FROM CAMPOS WHERE ID = 1");
  db.AbrirRecordset(sql, rs, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
  QString campo = QStringLiteral("[NOMBRE]");
  QString valor = QStringLiteral("x");
  AsignarValorCampo(rs, campo, valor);
  EXPECT_EQ(campo, QStringLiteral("NOMBRE"));
  QString desconocido = QStringLiteral("NO_EXISTE");
  try {
    AsignarValorCampo(rs, desconocido, valor);
    ADD_FAILURE() << "sin error";
  } catch (const ado::Failure& f) {
    EXPECT_EQ(f.Number(), ado::err::ItemNotFound);
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, AsignarValor, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
