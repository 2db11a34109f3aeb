#include "lookup/ArmadoConsulta.h"

#include <gtest/gtest.h>

#include "lookup/FiltrosConsulta.h"
#include "lookup/TextosConsulta.h"
#include "support/Idioma.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

TEST(Armado, CondicionSeEnvuelveSoloConMasDeUnCaracter) {
  const struct {
    const char* where;
    const char* esperado;
  } casos[] = {
      {"", ""},
      {"A", "A"},
      {" A ", " A "},  // one character once trimmed
      {"A=1", " (A=1) "},
      {"(A=1)", "(A=1)"},
      {"  (A=1) OR B=2", "  (A=1) OR B=2"},  // first character after trimming
  };
  for (const auto& c : casos) EXPECT_EQ(armado::EnvolverCondicion(c.where), c.esperado) << c.where;
}

TEST(Armado, LimiteDeFilas) {
  const struct {
    QString texto;
    int limite;
  } casos[] = {{"", 1000},
               {" ", 1000},
               {"abc", 1000},
               {"0", 1000},
               {"250", 250},
               {" 250 ", 250},
               {"250.6", 251},
               {"12abc", 12},
               {"-5", 1000},
               // Beyond an int: bounded, never negative.
               {"3000000000", armado::kMaximoFilas},
               {QString(400, '9'), armado::kMaximoFilas},
               {"1000000", 1000000}};
  for (const auto& c : casos) EXPECT_EQ(armado::LimiteFilas(c.texto), c.limite) << c.texto.toStdString();
}

TEST(Armado, MascaraDeClientes) {
  RegistroMascara r{"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|", ""};
  QString campo, sentencia;
  ASSERT_EQ(armado::SentenciaDeMascara(r, 1000, campo, "", sentencia), armado::ResultadoMascara::Sentencia);
  EXPECT_EQ(sentencia,
            "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 "
            "ORDER BY RAZON_SOCIAL");
  EXPECT_EQ(campo, "RAZON_SOCIAL");
}

TEST(Armado, MascaraDeArticulosUsaLaVistaYSuCondicion) {
  RegistroMascara r{"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|", ""};
  QString campo = "IDARTICULO", sentencia;
  armado::SentenciaDeMascara(r, 250, campo, " (X=1) ", sentencia);
  // The caller's condition is used when the record has none, before the default.
  EXPECT_EQ(sentencia,
            "SELECT TOP 250 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE  (X=1)  ORDER BY IDARTICULO");
  sentencia.clear();
  armado::SentenciaDeMascara(r, 250, campo, "", sentencia);
  EXPECT_EQ(
      sentencia,
      "SELECT TOP 250 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY IDARTICULO");
  RegistroMascara propia{"X", "V_MA_ARTICULOS", "|A|B|", "STOCK > 0"};
  armado::SentenciaDeMascara(propia, 5, campo, "IGNORADA", sentencia);
  EXPECT_EQ(sentencia, "SELECT TOP 5 A,B FROM VT_MA_ARTICULOS WHERE STOCK > 0 ORDER BY IDARTICULO");
}

TEST(Armado, MascaraConUnaSolaColumnaPideConfigurar) {
  QString campo, sentencia;
  RegistroMascara una{"T", "MA_X", "|CODIGO|", ""};
  EXPECT_EQ(armado::SentenciaDeMascara(una, 10, campo, "", sentencia),
            armado::ResultadoMascara::FaltaConfigurar);
  RegistroMascara vacia{"T", "MA_X", "", ""};
  EXPECT_EQ(armado::SentenciaDeMascara(vacia, 10, campo, "", sentencia),
            armado::ResultadoMascara::FaltaConfigurar);
  // With the search column given, an empty list selects every column.
  campo = "CODIGO";
  ASSERT_EQ(armado::SentenciaDeMascara(vacia, 10, campo, "", sentencia), armado::ResultadoMascara::Sentencia);
  EXPECT_EQ(sentencia, "SELECT TOP 10 * FROM MA_X ORDER BY CODIGO");
}

TEST(Armado, CaminoDeTablaInvierteLasColumnas) {
  QString campo = "LO_QUE_DIO_EL_LLAMADOR";
  EXPECT_EQ(armado::SentenciaDeCampos("MA_PRUEBA", 1000, {"ID", "CODIGO", "NOMBRE", "PRECIO"}, campo),
            "SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM MA_PRUEBA ORDER BY NOMBRE");
  EXPECT_EQ(campo, "NOMBRE");
  campo.clear();
  EXPECT_EQ(armado::SentenciaDeCampos("T", 7, {"id", "Fechahora_Grabacion", "CODIGO", "IMPORTE"}, campo),
            "SELECT TOP 7 IMPORTE,CODIGO FROM T ORDER BY CODIGO");
  campo.clear();
  // The last of DESCRIPCION / NOMBRE / DETALLE wins.
  armado::SentenciaDeCampos("T", 7, {"DESCRIPCION", "X", "DETALLE"}, campo);
  EXPECT_EQ(campo, "DETALLE");
  campo = "C";
  EXPECT_EQ(armado::SentenciaDeCampos("T", 7, {"ID"}, campo), "SELECT TOP 7  *  FROM T ORDER BY C");
}

TEST(Armado, VistaDeArticulosEnSentenciasDelLlamador) {
  EXPECT_EQ(armado::ConVistaArticulos("select * from v_ma_articulos a join V_MA_ARTICULOS b"),
            "select * from VT_MA_ARTICULOS a join VT_MA_ARTICULOS b");
  EXPECT_EQ(armado::ConVistaArticulos("select * from V_MA_ARTICULOS where D like '%v_ma_articulos%'"),
            "select * from VT_MA_ARTICULOS where D like '%v_ma_articulos%'");
  EXPECT_TRUE(armado::EsSentencia("  select 1"));
  EXPECT_FALSE(armado::EsSentencia("VT_CLIENTES"));
}

TEST(Filtros, F5SobreSentenciaConOrden) {
  const QString sql =
      " SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL";
  filtros::EstadoFiltro e{sql, ""};
  EXPECT_EQ(
      filtros::FiltrarLista(sql, "CODIGO", "12", filtros::Busqueda::EmpiezaCon, e),
      " SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0  and CODIGO like '12%' "
      "ORDER BY RAZON_SOCIAL");
  EXPECT_EQ(e.ParteOrden, "ORDER BY RAZON_SOCIAL");
  filtros::EstadoFiltro e2{sql, ""};
  EXPECT_EQ(
      filtros::FiltrarLista(sql, "CODIGO", "12", filtros::Busqueda::Contiene, e2),
      " SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0  and CODIGO like '%12%' "
      "ORDER BY RAZON_SOCIAL");
}

TEST(Filtros, DosFiltrosSeSumanYLosPrefijosDeArticulos) {
  QString sql = " select a from t";
  filtros::EstadoFiltro e{sql, ""};
  sql = filtros::FiltrarLista(sql, "A", "x", filtros::Busqueda::EmpiezaCon, e);
  EXPECT_EQ(sql, " select a from t where A like 'x%' ");
  e.SentenciaBase = sql;
  sql = filtros::FiltrarLista(sql, "B", "y", filtros::Busqueda::Contiene, e);
  EXPECT_EQ(sql, " select a from t where A like 'x%'  and B like '%y%' ");

  filtros::EstadoFiltro p{" select v_ma_articulos.x from v_ma_articulos", ""};
  EXPECT_EQ(filtros::FiltrarLista(p.SentenciaBase, "X", "1", filtros::Busqueda::EmpiezaCon, p),
            " select v_ma_articulos.x from v_ma_articulos where v_ma_articulos.X like '1%' ");
}

TEST(Filtros, ElTextoDelOperadorQuedaDentroDelLiteral) {
  filtros::EstadoFiltro e{" select a from t", ""};
  EXPECT_EQ(filtros::FiltrarLista(e.SentenciaBase, "A", "O'Brien", filtros::Busqueda::Contiene, e),
            " select a from t where A like '%O''Brien%' ");
  filtros::EstadoFiltro a;
  EXPECT_EQ(filtros::FiltrarArbol("select c,d from f order by c", "x' or '1'='1", a),
            "select c,d from f  where Descripcion like '%x'' or ''1''=''1%' order by c");
  EXPECT_EQ(
      filtros::SentenciaFaltante("2024-03-15T10:30:00", "     A'1", "Queso 'rallado' ", "o'neil"),
      "INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('2024-03-15T10:30:00',"
      "'     A''1','Queso ''rallado''','o''neil')");
}

// Keywords inside the literals of earlier filters are the operator's text, not the statement's.
TEST(Filtros, LasPalabrasDentroDeLiteralesNoCortanLaSentencia) {
  const struct {
    QString sql;
    QString lista;  // F5 in the list, box "B", text "y", contains
    QString arbol;  // F5 in the tree, text "y"
  } casos[] = {
      {" select a from t where A like '%zz order by%' ORDER BY a",
       " select a from t where A like '%zz order by%'  and B like '%y%' ORDER BY a",
       " select a from t where A like '%zz order by%'  and Descripcion like '%y%' ORDER BY a"},
      {" select a from t where A like '%it''s where order by%' ",
       " select a from t where A like '%it''s where order by%'  and B like '%y%' ",
       " select a from t where A like '%it''s where order by%'  and Descripcion like '%y%' "},
      {" select a from t_whereabouts order by a",
       " select a from t_whereabouts  where B like '%y%' order by a",
       " select a from t_whereabouts  where Descripcion like '%y%' order by a"},
      {" select a from t where a = 'where' ", " select a from t where a = 'where'  and B like '%y%' ",
       " select a from t where a = 'where'  and Descripcion like '%y%' "},
      // The statement's own OR keeps the filter on every branch; a subquery's keywords are its own.
      {" select a from t where a = 1 or b = 2 order by a",
       " select a from t where ( a = 1 or b = 2 \n)  and B like '%y%' order by a",
       " select a from t where ( a = 1 or b = 2 \n)  and Descripcion like '%y%' order by a"},
      {" select a from (select b from u where c = 1 order by b) x order by a",
       " select a from (select b from u where c = 1 order by b) x  where B like '%y%' order by a",
       " select a from (select b from u where c = 1 order by b) x  where Descripcion like '%y%' order by a"},
  };
  for (const auto& c : casos) {
    filtros::EstadoFiltro e{c.sql, ""}, a;
    EXPECT_EQ(filtros::FiltrarLista(c.sql, "B", "y", filtros::Busqueda::Contiene, e), c.lista)
        << c.sql.toStdString();
    EXPECT_EQ(filtros::FiltrarArbol(c.sql, "y", a), c.arbol) << c.sql.toStdString();
  }
  EXPECT_EQ(filtros::TablaDeConsulta(" select 'from x' as a from t"), "t");
}

TEST(Filtros, TablaDeLaConsulta) {
  EXPECT_EQ(filtros::TablaDeConsulta(" SELECT TOP 5 A FROM VT_CLIENTES WHERE X"), "VT_CLIENTES");
  EXPECT_EQ(filtros::TablaDeConsulta(" select a from t"), "t");  // no blank after the name
  EXPECT_EQ(filtros::TablaDeConsulta(" select 1"), "");
}

TEST(Textos, NumerosYCantidades) {
  EXPECT_DOUBLE_EQ(textos::Numero(" 12.5abc"), 12.5);
  EXPECT_DOUBLE_EQ(textos::Numero("0.######"), 0);
  EXPECT_DOUBLE_EQ(textos::Numero("abc"), 0);
  EXPECT_DOUBLE_EQ(textos::Numero("-1 000"), -1000);
  EnIdioma idioma("C");  // the comma: ListaSinBase.CantidadesConComaDecimal
  EXPECT_EQ(textos::FormatoCantidad(1.0, 1), "1.0");
  EXPECT_EQ(textos::FormatoCantidad("7", 2), "7.00");
  EXPECT_EQ(textos::FormatoCantidad("0.######", 2), "0.######");
  EXPECT_EQ(textos::DeValor(1e15), "1000000000000000");
  EXPECT_EQ(textos::DeValor(0.00001), "0.00001");
  EXPECT_EQ(textos::Color(ado::Value("&HFF00&")).value(), 0xFF00u);
  EXPECT_EQ(textos::Color(ado::Value(255)).value(), 255u);
  EXPECT_FALSE(textos::Color(ado::Value()).has_value());
}

}  // namespace
