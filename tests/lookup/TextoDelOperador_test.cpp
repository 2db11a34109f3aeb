// Text the operator types, or that an operator stored, on its way into SQL on
// every path that builds a statement from it: the code check, the tree
// lookup's F5 and the list lookup's F12. It is data: it finds nothing it does
// not say, changes no table, and is stored exactly as it is.
#include <gtest/gtest.h>

#include "db/TextoSql.h"
#include "lookup/ArbolConsulta.h"
#include "lookup/ListaConsulta.h"
#include "support/ConexionDePrueba.h"

namespace {

using TextoDelOperador = ConexionDePrueba;

TEST_P(TextoDelOperador, NuncaSeVuelveSentencia) {
  testdb::RunSql(base, "CREATE TABLE victima (x INTEGER)");
  const QString hostiles[] = {
      "' OR 1=1 --", "zz order by",  "'; DROP TABLE victima; --", QString::fromUtf8("🍕' OR '1'='1"),
      "@Admin_1",    "@admin_Leche",  // the table marker is no marker inside a literal
      "1' --",
  };
  for (const QString& h : hostiles) {
    SCOPED_TRACE(h.toStdString());
    ado::Recordset rs;
    EXPECT_FALSE(db.ExisteEnTabla("P_MA_Empresas", h, "IdEmpresa", &rs, ado::adBSTR, QString()));
    db.CierraRecordset(rs);

    SolicitudArbol arbol;
    arbol.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
    ArbolConsulta a(arbol);
    a.Cargar();
    a.CambioBusqueda(h);
    a.TeclaBusqueda(teclas::F5);
    EXPECT_EQ(a.Nodos().size(), 1);  // the root only

    testdb::RunSql(base, "INSERT INTO V_MA_ARTICULOS (IDARTICULO, DESCRIPCION) VALUES ('HOSTIL', '" +
                             DuplicarApostrofes(h) + "')");
    SolicitudLista lista;
    lista.SQL = "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE IDARTICULO = 'HOSTIL'";
    ListaConsulta l(lista);
    l.Cargar();
    l.SeleccionarFila(0);
    op->Responder(vb::Yes);
    EXPECT_TRUE(l.TeclaFormulario(teclas::F12));
    EXPECT_EQ(testdb::Query(base, "SELECT Descripcion FROM V_MV_FALTANTES WHERE TRIM(IdArticulo) = 'HOSTIL'"),
              QStringList{h});
    testdb::RunSql(base,
                   "DELETE FROM V_MA_ARTICULOS WHERE IDARTICULO = 'HOSTIL'; DELETE FROM V_MV_FALTANTES");
  }
  EXPECT_EQ(testdb::Query(base, "SELECT COUNT(*) FROM victima"), QStringList{"0"});
  ASSERT_EQ(op->mensajes.size(), std::size(hostiles));  // the F12 questions, no error

  // A failing statement is reported even when a literal in it says "trans".
  SolicitudLista lista;
  lista.SQL = "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE DESCRIPCION LIKE 'Queso%'";
  ListaConsulta l(lista);
  l.Cargar();
  l.CambioCaja(0, "Queso");
  cnn->Close();
  db.gUsuario = "transportista";
  op->Responder(vb::Yes);
  op->Responder(vb::OK);
  l.TeclaFormulario(teclas::F12);
  ASSERT_EQ(op->mensajes.size(), std::size(hostiles) + 2);
  EXPECT_EQ(op->mensajes.back().style, vb::Critical + vb::OKOnly);
}

INSTANTIATE_TEST_SUITE_P(Motores, TextoDelOperador, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<testing::TestParamInfo<testdb::Engine>>);

}  // namespace
