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
                                  "CANTIDAD NUMERIC(12,4), IMPORTE %1, ACTIVO BOOLEAN, FECHA %2, "
                                  "PRECIO DECIMAL(10,2), FLOTANTE DOUBLE PRECISION, DIA DATE)")
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
    try {
      AsignarValorCampo(rs, campo, valor);
      rs.Update();
    } catch (const ado::Failure&) {
      rs.CancelUpdate();
      throw;
    }
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

// A yes/no column emptied holds no answer, as an emptied text or number does.
TEST_P(AsignarValor, Logicos) {
  enum class Queda { Si, No, Nada };
  const struct {
    const char* valor;
    Queda queda;
  } logicos[] = {{"", Queda::Nada}, {"  ", Queda::Nada}, {"N", Queda::No}, {"no", Queda::No},
                 {"0", Queda::No},  {"5", Queda::Si},    {"SI", Queda::Si}};
  for (const auto& l : logicos) {
    const QString g = Guardar(QStringLiteral("ACTIVO"), QString::fromUtf8(l.valor));
    const Queda leido = g == QLatin1String("<NULL>") ? Queda::Nada
                        : g == QLatin1String("1") || g == QLatin1String("true") || g == QLatin1String("t")
                            ? Queda::Si
                            : Queda::No;
    EXPECT_EQ(leido, l.queda) << "'" << l.valor << "' -> " << g.toStdString();
  }
}

// A typed number or date, in each locale, into each kind of column: stored
// exactly as the engine compares it, Null when emptied, or refused (error
// 3421, the column left as it was). IMPORTE is SQLite's MONEY and
// PostgreSQL's NUMERIC(19,4); PRECIO DECIMAL(10,2); CANTIDAD NUMERIC(12,4).
TEST_P(AsignarValor, LoTecleadoSeGuardaExactoOSeRechaza) {
  const char* const R = nullptr;  // refused
  const bool sqlite = GetParam() == Engine::Sqlite;
  const struct {
    const char *idioma, *campo, *texto, *igual;
  } casos[] = {
      {"C", "IMPORTE", "1,234.56", "1234.56"},
      {"es_AR", "IMPORTE", "1.234,56", "1234.56"},
      {"es_AR", "IMPORTE", "1234,5", "1234.5"},
      {"C", "IMPORTE", "-0.0001", "-0.0001"},
      {"es_AR", "IMPORTE", "999999999999,9999", "999999999999.9999"},
      // Past a double's digits: PostgreSQL keeps the fourth decimal, SQLite (a double) refuses.
      {"C", "IMPORTE", "900719925474.0993", sqlite ? R : "900719925474.0993"},
      {"es_AR", "IMPORTE", "-900.719.925.474,0993", sqlite ? R : "-900719925474.0993"},
      {"C", "IMPORTE", "", "NULL"},
      {"es_AR", "IMPORTE", "1234.5", R},
      {"es_AR", "IMPORTE", "12,345,678", R},
      {"C", "IMPORTE", "12,345,678", "12345678"},
      {"es_AR", "IMPORTE", "1e5", R},
      {"es_AR", "IMPORTE", "\u0661\u0662\u0663", R},
      {"C", "IMPORTE", "12 345", R},
      {"C", "IMPORTE", "12abc", R},
      {"C", "IMPORTE", "abc", R},
      {"es_AR", "IMPORTE", "-0,00005", R},
      {"C", "IMPORTE", "1,5", R},
      {"C", "PRECIO", "1,234.5", "1234.5"},
      {"es_AR", "PRECIO", "-99.999.999,99", "-99999999.99"},
      // SQLite's driver does not tell the declared scale: the engine keeps what it is given.
      {"es_AR", "PRECIO", "1,234", sqlite ? "1.234" : R},
      {"es_AR", "PRECIO", "123.456.789,5", sqlite ? "123456789.5" : R},
      {"C", "CANTIDAD", "0.0005", "0.0005"},
      {"C", "CANTIDAD", "0.00005", sqlite ? "0.00005" : R},
      {"C", "ENTERO", "1,234", "1234"},
      {"es_AR", "ENTERO", "1.234", "1234"},
      {"es_AR", "ENTERO", "-7,000", "-7"},
      {"es_AR", "ENTERO", "1,5", R},
      {"C", "ENTERO", "12abc", R},
      {"C", "ENTERO", "abc", R},
      {"C", "ENTERO", "3000000000", R},
      {"C", "ENTERO", "", "NULL"},
      {"es_AR", "FLOTANTE", "0,1", "0.1"},
      {"es_AR", "FLOTANTE", "-1.234,5", "-1234.5"},
      {"C", "FLOTANTE", "1e5", R},
      {"es_AR", "FLOTANTE", "0.1", R},
      {"C", "DIA", "31/12/2024", "'2024-12-31'"},
      {"es_AR", "DIA", "2024-02-29", "'2024-02-29'"},
      {"C", "DIA", "31/02/2024", R},
      {"es_AR", "DIA", "mañana", R},
      {"C", "DIA", "", "NULL"},
      {"C", "FECHA", "1/2/2024 10:30", "'2024-02-01 10:30:00'"},
      {"C", "FECHA", "1/2/2024 25:30", R},
      {"C", "FECHA", "no es fecha", R},
  };
  for (const auto& c : casos) {
    const QString campo = QString::fromUtf8(c.campo);
    SCOPED_TRACE(std::string(c.idioma) + " " + c.campo + " <- " + c.texto);
    EnIdioma en(c.idioma);
    testdb::RunSql(base, QStringLiteral("UPDATE CAMPOS SET %1 = NULL").arg(campo));
    if (c.igual) {
      Guardar(campo, QString::fromUtf8(c.texto));
      const QString condicion = QString::fromLatin1(c.igual) == QLatin1String("NULL")
                                    ? campo + QStringLiteral(" IS NULL")
                                    : campo + QStringLiteral(" = ") + QString::fromUtf8(c.igual);
      EXPECT_EQ(testdb::Query(base, "SELECT CASE WHEN " + condicion + " THEN 'si' ELSE 'no' END FROM CAMPOS")
                    .value(0),
                "si")
          << testdb::Query(base, "SELECT " + campo + " FROM CAMPOS").value(0).toStdString();
      continue;
    }
    try {
      Guardar(campo, QString::fromUtf8(c.texto));
      ADD_FAILURE() << "guardado: "
                    << testdb::Query(base, "SELECT " + campo + " FROM CAMPOS").value(0).toStdString();
    } catch (const ado::Failure& f) {
      EXPECT_EQ(f.Number(), ado::err::WrongType) << f.what();
      EXPECT_TRUE(f.Info().Description.contains(QString::fromUtf8(c.texto).left(3))) << f.what();
    }
    EXPECT_EQ(
        testdb::Query(base, "SELECT CASE WHEN " + campo + " IS NULL THEN 'nulo' END FROM CAMPOS").value(0),
        "nulo");
  }
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
