#include "lookup/ArbolConsulta.h"

#include <gtest/gtest.h>

#include "db/DB_Dll.h"
#include "lookup/ListaConsulta.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// "parent key > key" for every node but the root, in node order.
QStringList Forma(const ArbolConsulta& a) {
  QStringList f;
  for (const NodoArbol& n : a.Nodos())
    if (n.padre >= 0) f << a.Nodos()[n.padre].clave + ">" + n.clave;
  return f;
}

class Arbol : public ::testing::Test {
 protected:
  void SetUp() override { op = OperadorGuionado::Instalar(); }
  std::shared_ptr<OperadorGuionado> op;
  SolicitudArbol s;
  ArbolConsulta arbol{s};
};

TEST_F(Arbol, JerarquiaPorLargoDeCodigo) {
  arbol.Construir({{"1", "Uno"}, {"11", "Once"}, {"111", "Ciento once"}, {"12", "Doce"}, {"2", "Dos"}});
  EXPECT_EQ(Forma(arbol), (QStringList{"A>A1", "A1>A11", "A11>A111", "A1>A12", "A>A2"}));
  EXPECT_EQ(arbol.Nodos()[0].texto, "Consulta...");
  EXPECT_EQ(arbol.Nodos()[3].texto, "111 - Ciento once");

  // Only lengths count: a longer code hangs from the row before it, whatever its digits.
  arbol.Construir({{"10", "a"}, {"2", "b"}, {"30", "c"}, {"1234", "d"}, {"5", "e"}});
  EXPECT_EQ(Forma(arbol), (QStringList{"A>A10", "A>A2", "A2>A30", "A30>A1234", "A>A5"}));
}

TEST_F(Arbol, ClaveRepetidaVaAlDialogoDeError) {
  op->Responder(vb::Ignore);
  arbol.Construir({{"1", "Uno"}, {"1", "Otra vez"}, {"11", "Once"}});
  EXPECT_EQ(Forma(arbol), (QStringList{"A>A1", "A1>A11"}));
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].prompt.contains("ArmarTreeVAutomatico"));
}

TEST_F(Arbol, MarcarLlegaTresNiveles) {
  arbol.Construir(
      {{"1", "a"}, {"11", "b"}, {"111", "c"}, {"1111", "d"}, {"11111", "e"}, {"12", "f"}, {"2", "g"}});
  arbol.MarcarNodo(1, true);
  QVector<bool> marcas;
  for (const NodoArbol& n : arbol.Nodos()) marcas << n.marcado;
  // root, 1, 11, 111, 1111, 11111 (fourth level below: unchanged), 12, 2
  EXPECT_EQ(marcas, (QVector<bool>{false, true, true, true, true, false, true, false}));
  arbol.MarcarNodo(2, false);
  EXPECT_FALSE(arbol.Nodos()[4].marcado);
  EXPECT_TRUE(arbol.Nodos()[1].marcado);
}

TEST_F(Arbol, BusquedaPorCodigoODescripcion) {
  arbol.Construir({{"1", "Alimentos"}, {"101", "Lácteos"}, {"2", "Bebidas"}, {"201", "Con alcohol"}});
  const struct {
    const char* texto;
    int nodo;
  } casos[] = {{"Con", 0}, {"beb", 3}, {"10", 2}, {"con a", 4}, {"", 0}};
  for (const auto& c : casos) {
    arbol.SeleccionarNodo(-1);
    arbol.CambioBusqueda(c.texto);
    EXPECT_EQ(arbol.Seleccionado(), c.nodo) << c.texto;
  }
  arbol.SeleccionarNodo(3);
  arbol.CambioBusqueda("zzz");
  EXPECT_EQ(arbol.Seleccionado(), 3);
}

class ArbolConBase : public Arbol, public ::testing::WithParamInterface<testdb::Engine> {
 protected:
  void SetUp() override {
    Arbol::SetUp();
    base = testdb::FreshDemo(GetParam());
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    DB_Dll::Instancia().SetCnn(cnn);
  }
  void TearDown() override { DB_Dll::Instancia().SetCnn(nullptr); }
  testdb::Database base;
  ado::ConnectionPtr cnn;
};

TEST_P(ArbolConBase, FamiliasFiltroYSeleccion) {
  s.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
  s.CampoDevuelto = "IdFamilia";
  arbol.Cargar();
  ASSERT_TRUE(op->mensajes.empty());
  ASSERT_GT(arbol.Nodos().size(), 5);
  EXPECT_EQ(arbol.Nodos()[1].clave, "A1");
  EXPECT_EQ(arbol.Nodos()[2].padre, 1);  // 101 under 1
  arbol.CambioBusqueda("Leches");
  ASSERT_GT(arbol.Seleccionado(), 0);
  EXPECT_EQ(arbol.Nodos()[arbol.Seleccionado()].clave, "A10101");

  arbol.CambioBusqueda("Leche");
  arbol.TeclaBusqueda(teclas::F5);
  // The statement as the database class mapped it for this user, then the filter.
  EXPECT_TRUE(s.SQL.endsWith("V_TA_FAMILIAS  where Descripcion like '%Leche%' ORDER BY IDFAMILIA"))
      << s.SQL.toStdString();
  EXPECT_EQ(arbol.TextoBusqueda(), "");
  EXPECT_EQ(arbol.EtiquetaBusqueda(), "Descripcion");
  // Leches (10101), Leche entera, Leche descremada: all sit at the first level now.
  EXPECT_EQ(Forma(arbol), (QStringList{"A>A10101", "A10101>A1010101", "A10101>A1010102"}));
  arbol.NuevaBusqueda();  // keeps the filter
  EXPECT_EQ(arbol.Nodos().size(), 4);

  arbol.SeleccionarNodo(2);
  arbol.Aceptar();
  EXPECT_EQ(s.ValorDevuelto, "1010101");
  EXPECT_TRUE(arbol.Oculto());
}

TEST_P(ArbolConBase, SentenciaSinFilasDejaSoloLaRaiz) {
  s.SQL = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS WHERE 1 = 0";
  arbol.Cargar();
  ASSERT_EQ(arbol.Nodos().size(), 1);
  EXPECT_EQ(arbol.Nodos()[0].texto, "Consulta...");
}

TEST_P(ArbolConBase, PosicionesCasillasYNoEncontrada) {
  s.SQL = "SELECT IDPOSICION, DESCRIPCION FROM MA_POSICIONES ORDER BY IDPOSICION";
  s.CampoDevuelto = "IDPOSICION";
  arbol.Cargar();
  arbol.Construir({{"0102", "Gerencia Comercial"}, {"9999", "No existe"}});
  arbol.SeleccionarNodo(2);
  s.ValorDevuelto = "previo";
  arbol.Aceptar();
  EXPECT_EQ(s.ValorDevuelto, "");
  arbol.SeleccionarNodo(1);
  arbol.Aceptar();
  EXPECT_EQ(s.ValorDevuelto, "0102");

  s.CheckBoxes = true;
  s.ValorDevuelto = ado::Value();
  arbol.MarcarNodo(0, true);  // the root checks both; it returns nothing itself
  arbol.Aceptar();
  EXPECT_EQ(*s.Valores, Coleccion{"0102"});
  EXPECT_TRUE(ado::IsEmpty(s.ValorDevuelto));
  s.Valores->clear();
  s.CampoDevuelto = "codigo";
  arbol.Aceptar();
  EXPECT_EQ(*s.Valores, (Coleccion{"0102", "9999"}));
}

INSTANTIATE_TEST_SUITE_P(Motores, ArbolConBase, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<testing::TestParamInfo<testdb::Engine>>);

}  // namespace
