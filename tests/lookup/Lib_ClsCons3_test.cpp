#include "lookup/Lib_ClsCons3.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QTemporaryDir>

#include "db/DB_Dll.h"
#include "lookup/ArchivoDefiniciones.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// The request's arguments as a caller fills them.
struct Llamada {
  ColeccionPtr cmps = std::make_shared<Coleccion>();
  QString clave, campoBusqueda, where, opcional, defecto;
  bool arbol = false;
};

class Consulta : public ::testing::Test {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    ruta = dir.filePath("consultas.vmt");
    mascaras::Agregar(ruta, mascaras::PorDefecto());
  }
  std::unique_ptr<Lib_ClsCons3> Nueva() {
    auto c =
        std::make_unique<Lib_ClsCons3>([this](const QString& k) { return ajustes.value(k.toUpper(), " "); });
    c->gRutaMascaraConsultas = ruta;
    c->gUsarMascarasConsultas = true;
    return c;
  }
  // Runs the request; the dialog records what it was given and answers `respuesta`.
  SolicitudLista Pedir(Lib_ClsCons3& c, const QString& sql, Llamada& l, ado::Value respuesta = "X") {
    SolicitudLista vista;
    op->AlMostrar([&](DialogoModal& d) {
      auto& s = dynamic_cast<SolicitudLista&>(d);
      vista = s;
      s.ValorDevuelto = respuesta;
      s.Valores = std::make_shared<Coleccion>(Coleccion{"v"});
      s.Cantidades = std::make_shared<Coleccion>();
    });
    c.ConsultaSearch(sql, l.cmps, l.clave, l.campoBusqueda, l.where, l.opcional, l.arbol, l.defecto);
    return vista;
  }
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir dir;
  QString ruta;
  QHash<QString, QString> ajustes;
};

TEST_F(Consulta, ClientesDesdeElArchivo) {
  auto c = Nueva();
  Llamada l;
  const SolicitudLista s = Pedir(*c, "vt_clientes", l);
  EXPECT_EQ(s.SQL,
            "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY "
            "RAZON_SOCIAL");
  EXPECT_EQ(l.campoBusqueda, "RAZON_SOCIAL");
  EXPECT_FALSE(s.OrdenarPorLwv);
  EXPECT_EQ(op->dialogos, QStringList{"Lib_FrmCons3"});
  EXPECT_EQ(c->ValorDevuelto, "X");
  EXPECT_EQ(*c->Valores, Coleccion{"v"});
}

TEST_F(Consulta, ArticulosLimiteYCondicionDelLlamador) {
  ajustes["TOPCONSART"] = "250";
  auto c = Nueva();
  Llamada l;
  EXPECT_EQ(
      Pedir(*c, " V_MA_ARTICULOS ", l).SQL,
      "SELECT TOP 250 DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY DESCRIPCION");
  ajustes["TOPCONSART"] = "muchas";
  Llamada m;
  m.where = "A=1";
  EXPECT_EQ(Pedir(*c, "MA_CONTACTOS", m).SQL,
            "SELECT TOP 1000 Nombre_y_Apellido,Domicilio,Localidad,Telefono FROM MA_CONTACTOS WHERE  (A=1)  "
            "ORDER BY "
            "Nombre_y_Apellido");
  EXPECT_EQ(m.where, " (A=1) ");  // the caller sees the wrapped condition
}

// What the dialog gets that the request works out: the mapped statement, the
// order flag and the settings read under their keys.
TEST_F(Consulta, SentenciaDelLlamadorYAjustesAlDialogo) {
  ajustes["STK_NIVEL2"] = "255";
  ajustes["MOSTRARSTOCKENCONSULTAS"] = "Si";
  ajustes["USACONSULTALIKE"] = "si";
  auto c = Nueva();
  c->CampoDevuelto = "IDARTICULO";
  c->Checks = true;
  Llamada l;
  const SolicitudLista s = Pedir(*c, "select * from v_ma_articulos where x = 1", l);
  EXPECT_EQ(s.SQL, "select * from VT_MA_ARTICULOS where x = 1");
  EXPECT_TRUE(s.OrdenarPorLwv);
  EXPECT_TRUE(s.CfgUsaConsultaLIKE);
  EXPECT_EQ(s.MuestraStock, "Si");
  EXPECT_EQ(s.StkNivel1, 0);  // a blank colour setting
  EXPECT_EQ(s.StkNivel2, "255");
  // Reset by every call.
  EXPECT_FALSE(c->Checks);
  EXPECT_EQ(c->CampoDevuelto, "");
}

TEST_F(Consulta, CancelarYLimpieza) {
  auto c = Nueva();
  c->ValorDevuelto = "anterior";
  Llamada l;
  l.cmps->append("CODIGO");
  ColeccionPtr delLlamador = l.cmps;
  SolicitudLista vista;
  op->AlMostrar([&](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudLista&>(d);
    EXPECT_EQ(s.CmpsDevueltos, delLlamador);  // the caller's own collection
    s.ValorDevuelto = QString();
    s.Valores.reset();
  });
  c->ConsultaSearch("VT_CLIENTES", l.cmps, l.clave, l.campoBusqueda, l.where, l.opcional, l.arbol, l.defecto);
  EXPECT_EQ(c->ValorDevuelto, "");
  EXPECT_FALSE(l.cmps);
  EXPECT_TRUE(delLlamador->isEmpty());
  ASSERT_TRUE(c->Valores);
  EXPECT_TRUE(c->Valores->isEmpty());
}

TEST_F(Consulta, RegistroDeUnaColumnaPideConfigurar) {
  mascaras::Agregar(ruta, {{"SOLO", "MA_SOLO", "|CODIGO|", ""}});
  auto c = Nueva();
  c->ValorDevuelto = "anterior";
  Llamada l;
  op->Responder(vb::OK);
  c->ConsultaSearch("MA_SOLO", l.cmps, l.clave, l.campoBusqueda, l.where, l.opcional, l.arbol, l.defecto);
  EXPECT_TRUE(op->dialogos.isEmpty());
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, "Debe configurar la consulta para esta tabla");
  EXPECT_EQ(op->mensajes[0].style, vb::Information);
  EXPECT_EQ(op->mensajes[0].title, "Aviso al operador");
  EXPECT_EQ(c->ValorDevuelto, "");
  // With the search column given, the record is usable.
  Llamada m;
  m.campoBusqueda = "CODIGO";
  EXPECT_EQ(Pedir(*c, "MA_SOLO", m).SQL, "SELECT TOP 1000 CODIGO FROM MA_SOLO ORDER BY CODIGO");
}

TEST_F(Consulta, SinArchivoLlegaElNombreDeLaTabla) {
  auto c = Nueva();
  c->gRutaMascaraConsultas = dir.filePath("otro.vmt");
  Llamada l;
  EXPECT_EQ(Pedir(*c, "VT_CLIENTES", l).SQL, "VT_CLIENTES");
}

TEST_F(Consulta, ArbolRecibeSentenciaYCampo) {
  auto c = Nueva();
  c->CampoDevuelto = "IDFAMILIA";
  c->Checks = true;
  Llamada l;
  l.arbol = true;
  l.opcional = "SELECT IDFAMILIA, DESCRIPCION FROM V_TA_FAMILIAS ORDER BY IDFAMILIA";
  op->AlMostrar([&](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudArbol&>(d);
    EXPECT_EQ(s.SQL, l.opcional);
    EXPECT_EQ(s.CampoDevuelto, "IDFAMILIA");
    EXPECT_TRUE(s.CheckBoxes);
    s.ValorDevuelto = "101";
    s.Valores = std::make_shared<Coleccion>(Coleccion{"1", "2"});
  });
  c->ConsultaSearch("V_TA_FAMILIAS", l.cmps, l.clave, l.campoBusqueda, l.where, l.opcional, l.arbol,
                    l.defecto);
  EXPECT_EQ(op->dialogos, QStringList{"Lib_FrmCons3Tree"});
  EXPECT_EQ(c->ValorDevuelto, "101");
  EXPECT_EQ(*c->Valores, (Coleccion{"1", "2"}));
  EXPECT_FALSE(c->Checks);
}

class ConsultaConBase : public Consulta, public ::testing::WithParamInterface<testdb::Engine> {
 protected:
  void SetUp() override {
    Consulta::SetUp();
    base = testdb::FreshDemo(GetParam());
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    DB_Dll::Instancia().SetCnn(cnn);
    testdb::RunSql(
        base, "CREATE TABLE MA_PRUEBA (ID INTEGER, CODIGO VARCHAR(10), NOMBRE VARCHAR(30), PRECIO INTEGER)");
  }
  void TearDown() override { DB_Dll::Instancia().SetCnn(nullptr); }
  testdb::Database base;
  ado::ConnectionPtr cnn;
};

TEST_P(ConsultaConBase, CaminoDeTabla) {
  auto c = Nueva();
  Llamada l;
  l.campoBusqueda = "IGNORADO";
  l.where = "X=1";
  // Engines that fold names report them in lower case.
  EXPECT_EQ(Pedir(*c, "MA_PRUEBA", l).SQL.toUpper(),
            "SELECT TOP 1000 PRECIO,NOMBRE,CODIGO FROM MA_PRUEBA ORDER BY NOMBRE");
  EXPECT_EQ(l.campoBusqueda.toUpper(), "NOMBRE");
  c->gUsarMascarasConsultas = false;
  Llamada m;
  m.opcional = "select NOMBRE,CODIGO from MA_PRUEBA ";
  EXPECT_EQ(Pedir(*c, "MA_PRUEBA", m).SQL, "select NOMBRE,CODIGO from MA_PRUEBA ");
}

TEST_P(ConsultaConBase, AjustesDeLaBase) {
  testdb::RunSql(base, "DELETE FROM ta_configuracion WHERE CLAVE IN ('TopConsArt','UsaConsultaLIKE')");
  testdb::RunSql(base, "INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('TopConsArt', '250')");
  testdb::RunSql(base, "INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('UsaConsultaLIKE', 'Si')");
  Lib_ClsCons3 c;
  c.gRutaMascaraConsultas = ruta;
  c.gUsarMascarasConsultas = true;
  Llamada l;
  SolicitudLista vista;
  op->AlMostrar([&](DialogoModal& d) { vista = dynamic_cast<SolicitudLista&>(d); });
  c.ConsultaSearch("VT_PROVEEDORES", l.cmps, l.clave, l.campoBusqueda, l.where, l.opcional, l.arbol,
                   l.defecto);
  EXPECT_EQ(
      vista.SQL,
      "SELECT TOP 250 RAZON_SOCIAL,CODIGO FROM VT_PROVEEDORES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL");
  EXPECT_TRUE(vista.CfgUsaConsultaLIKE);
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsultaConBase, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<testing::TestParamInfo<testdb::Engine>>);

}  // namespace
