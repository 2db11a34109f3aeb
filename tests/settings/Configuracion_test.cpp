// Reading, writing and loading the suite's settings on SQLite and PostgreSQL.
#include "settings/Configuracion.h"

#include <gtest/gtest.h>

#include "settings/Globales.h"
#include "support/ConexionDePrueba.h"

namespace {

using testdb::Engine;

class Configuracion : public ConexionDePrueba {
 protected:
  void SetUp() override {
    ConexionDePrueba::SetUp();
    gTablaConfiguracion = QStringLiteral("ta_configuracion");
    gUsuarioLogeado = QStringLiteral("admin");
  }
  QStringList Filas(const QString& sql) { return testdb::Query(base, sql); }
};

TEST_P(Configuracion, CfgLeeValorYValorAux) {
  const struct {
    const char* clave;
    const char* valor;
    const char* aux;
  } casos[] = {
      {"TituloClientes", "Clientes", ""},
      {"  PERIODO ", "2024", "Ejercicio 2024"},
      {"tituloclientes", "Clientes", ""},
      {"NoExiste", " ", ""},
  };
  for (const auto& c : casos) {
    QString aux = QStringLiteral("previo");
    EXPECT_EQ(Cfg(QString::fromUtf8(c.clave), aux), QString::fromUtf8(c.valor)) << c.clave;
    EXPECT_EQ(aux, QString::fromUtf8(c.aux)) << c.clave;
  }
}

TEST_P(Configuracion, CfgSinTablaUsaLaDeSiempre) {
  gTablaConfiguracion = QStringLiteral("   ");
  EXPECT_EQ(Cfg(QStringLiteral("TituloProveedores")), QStringLiteral("Proveedores"));
  EXPECT_EQ(gTablaConfiguracion, QStringLiteral("TA_CONFIGURACION"));
}

// A configuration table that is not there is reported by the open once; its
// keys then read as missing without asking again.
TEST_P(Configuracion, CfgDeUnaTablaQueFaltaPreguntaUnaVez) {
  gTablaConfiguracion = QStringLiteral("NO_EXISTE");
  op->Responder(vb::Abort);
  EXPECT_EQ(Cfg(QStringLiteral("TituloClientes")), QStringLiteral(" "));
  EXPECT_EQ(Cfg(QStringLiteral("TituloProveedores")), QStringLiteral(" "));
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].title.contains(QLatin1String("AbrirRecordset - ")));
}

TEST_P(Configuracion, GrabaDfgInsertaYLuegoActualizaLaMismaFila) {
  GrabaDfg(QStringLiteral("nuevaclave"), QStringLiteral("  uno  "), QStringLiteral(" aux1 "), true,
           QStringLiteral("GRUPO1"));
  const QString consulta =
      QStringLiteral("SELECT CLAVE, VALOR, valoraux, Grupo FROM ta_configuracion WHERE CLAVE = 'NUEVACLAVE'");
  EXPECT_EQ(Filas(consulta), QStringList{QStringLiteral("NUEVACLAVE|uno|aux1|GRUPO1")});

  GrabaDfg(QStringLiteral("NUEVACLAVE"), QStringLiteral("dos"), QString(), false, QStringLiteral("GRUPO2"));
  EXPECT_EQ(Filas(consulta), QStringList{QStringLiteral("NUEVACLAVE|dos|aux1|GRUPO2")});
  const QStringList politica =
      Filas(QStringLiteral("SELECT PoliticaNegocio FROM ta_configuracion WHERE CLAVE = 'NUEVACLAVE'"));
  ASSERT_EQ(politica.size(), 1);
  EXPECT_TRUE(politica[0] == QLatin1String("0") || politica[0] == QLatin1String("f"))
      << politica[0].toStdString();
  // Other rows are untouched.
  EXPECT_EQ(Filas(QStringLiteral("SELECT VALOR FROM ta_configuracion WHERE CLAVE = 'TituloClientes'")),
            QStringList{QStringLiteral("Clientes")});
}

TEST_P(Configuracion, ApostrofesEnClavesYValores) {
  GrabaDfg(QStringLiteral("O'BRIEN"), QStringLiteral(" O'Brien "), QString(), false, QStringLiteral("DATOS"));
  GrabaDfg(QStringLiteral("O'BRIEN"), QStringLiteral("O'Brien e hijos"), QString(), false,
           QStringLiteral("DATOS"));
  EXPECT_EQ(Filas(QStringLiteral("SELECT CLAVE, VALOR FROM ta_configuracion WHERE CLAVE = 'O''BRIEN'")),
            QStringList{QStringLiteral("O'BRIEN|O'Brien e hijos")});
  EXPECT_EQ(Cfg(QStringLiteral("o'brien")), QStringLiteral("O'Brien e hijos"));
  // A key written to escape the literal is just a key that is not there.
  EXPECT_EQ(Cfg(QStringLiteral("x' OR '1'='1")), QStringLiteral(" "));
}

TEST_P(Configuracion, CargaDeLaBaseDeDemostracion) {
  gUsuarioLogeado = QStringLiteral("operador");
  CargarConfiguracion(QStringLiteral("/opt/ma/"));
  const struct {
    const char* clave;
    QVariant valor;
  } esperados[] = {
      {"MostrarStockenConsultas", true},
      {"TituloClientes", QStringLiteral("Clientes")},
      {"ArchivoTareas", QStringLiteral("/opt/ma/VMDOCTareas.vmt")},
      {"EXIGECLAVECONSULTALIKEARTICULOS", false},
      {"UsaConsultaLike", true},
      {"CantidadDecimales", QStringLiteral("2")},
      {"USACCOSTO", true},
      {"UnidadNegocio", QStringLiteral("   2")},
      {"UNIDADDEMEDIDA_KG", QStringLiteral("KG")},
      {"PERIODO", QVariant::fromValue<qint16>(2024)},
      {"VALIDACODIGOBARRA", false},
      {"Verdadero", true},
      {"ModuloOrdenDeTrabajo", false},
      {"V_ModificaCPrecio", true},
      {"C_ModificaCPrecio", false},
      {"MADERERA", false},
      {"MAD_ML_P2", QStringLiteral("ML/P2")},
      {"CuentaCtroDist", QStringLiteral("5.1.01.003")},
      {"PideClave_StockNeg", true},
      {"PideClave_MarkUpBase", false},
      {"SS_BloqueoActivo", false},
      {"Top_Default", QStringLiteral("500")},
  };
  for (const auto& e : esperados)
    EXPECT_EQ(ValorConfiguracion(QString::fromUtf8(e.clave)), e.valor) << e.clave;
  EXPECT_EQ(ValorConfiguracion(QStringLiteral("top_default")), QVariant(QStringLiteral("500")));
  EXPECT_EQ(gColorFondo, 15658734u);
  EXPECT_EQ(gColorLetra, 0u);
  EXPECT_EQ(ValorConfiguracion(QStringLiteral("MaxDto")), QVariant(15.5));
  EXPECT_EQ(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
}

// The load reads the table once, and finds its keys as the per-key read did:
// letter case does not count, a leading blank does.
TEST_P(Configuracion, LaCargaLeeLaTablaDeUnaVez) {
  testdb::RunSql(
      base, QStringLiteral("UPDATE ta_configuracion SET CLAVE = 'titulocLIENTES' WHERE CLAVE = "
                           "'TituloClientes';"
                           "UPDATE ta_configuracion SET CLAVE = ' USACCOSTO' WHERE CLAVE = 'USACCOSTO';"));
  const long antes = cnn->StatementsSent();
  CargarConfiguracion(QStringLiteral("/opt/ma/"));
  // The table, and the user's business unit.
  EXPECT_LE(cnn->StatementsSent() - antes, 2);
  EXPECT_EQ(ValorConfiguracion(QStringLiteral("TituloClientes")), QVariant(QStringLiteral("Clientes")));
  EXPECT_EQ(ValorConfiguracion(QStringLiteral("USACCOSTO")), QVariant(false));
  EXPECT_EQ(ValorConfiguracion(QStringLiteral("Top_Default")), QVariant(QStringLiteral("500")));
}

// Without rows, or without the table (reported once, by the first read),
// every setting takes its default.
TEST_P(Configuracion, CargaSinAjustesDaLosValoresPorDefecto) {
  const struct {
    const char* nombre;
    const char* sql;
    std::size_t cajas;
  } casos[] = {
      {"sin filas", "DELETE FROM ta_configuracion", 0},
      {"sin tabla", "DROP TABLE ta_configuracion", 1},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    testdb::RunSql(base, QString::fromLatin1(c.sql));
    op->mensajes.clear();
    if (c.cajas) op->Responder(vb::Ignore);
    gUsuarioLogeado = QStringLiteral("sin_fila");
    CargarConfiguracion(QStringLiteral("/opt/ma/"));
    EXPECT_EQ(Cfg(QStringLiteral("Stk_Nivel1")), QStringLiteral(" "));  // as the lookups read theirs
    for (const char* clave :
         {"MostrarStockenConsultas", "EXIGECLAVECONSULTALIKEARTICULOS", "UsaConsultaLike",
          "UsaMultilesMonedas", "UsaFacturaProforma", "USACCOSTO", "USA_STK_STOCK_UDKG", "VALIDACODIGOBARRA",
          "V_ModificaCPrecio", "C_ModificaCPrecio", "MADERERA", "PideClave_StockNeg", "PideClave_MarkUpBase",
          "PideClave_LimiteCredito", "SS_BloqueoActivo"})
      EXPECT_EQ(ValorConfiguracion(QString::fromUtf8(clave)), QVariant(false)) << clave;
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("ModuloOrdenDeTrabajo")), QVariant(true));
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("Top_Default")), QVariant(QStringLiteral("1000")));
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("CantidadDecimales")), QVariant(QStringLiteral(" ")));
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("TituloClientes")), QVariant(QString()));
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("PERIODO")), QVariant::fromValue<qint16>(0));
    EXPECT_EQ(ValorConfiguracion(QStringLiteral("UnidadNegocio")), QVariant(QStringLiteral("   1")));
    EXPECT_EQ(gColorFondo, 0xFFFF00u);
    EXPECT_EQ(gColorLetra, 0u);
    EXPECT_EQ(op->mensajes.size(), c.cajas);
  }
}

TEST_P(Configuracion, SiYNoSinMayusculas) {
  const struct {
    const char* clave;
    const char* valor;
    bool esperado;
  } casos[] = {
      {"UsaConsultaLike", "si", true},        {"USACCOSTO", "Si", true},
      {"UsaFacturaProforma", " SI", false},   {"MADERERA", "No", false},
      {"V_ModificaCPrecio", " no ", false},   {"C_ModificaCPrecio", "cualquiera", true},
      {"VALIDACODIGOBARRA", "sI", true},      {"ModuloOrdenDeTrabajo", "No ", false},
      {"PideClave_MarkUpBase", "   ", false},
  };
  for (const auto& c : casos)
    testdb::RunSql(base, QStringLiteral("UPDATE ta_configuracion SET VALOR = '%1' WHERE CLAVE = '%2'")
                             .arg(QString::fromUtf8(c.valor), QString::fromUtf8(c.clave)));
  testdb::RunSql(base, QStringLiteral("UPDATE ta_configuracion SET VALOR = '0' WHERE CLAVE = 'CFondo'"));
  CargarConfiguracion(QStringLiteral("/opt/ma/"));
  for (const auto& c : casos) {
    EXPECT_EQ(ValorConfiguracion(QString::fromUtf8(c.clave)), QVariant(c.esperado))
        << c.clave << "=" << c.valor;
  }
  EXPECT_EQ(gColorFondo, 0xFFFF00u);
}

INSTANTIATE_TEST_SUITE_P(Motores, Configuracion, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
