#include "session/Def_QConsulta.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "db/DB_Dll.h"
#include "lookup/ArchivoDefiniciones.h"
#include "lookup/Lib_ClsCons3.h"
#include "session/CrearMascarasConsultas.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

struct Caso {
  const char* tabla;
  const char* tablaFinal;
  const char* d;
  const char* c;
  const char* x;
};

// The catalogue with no lookup run: the columns it chose stay in the arguments.
Caso Aplicar(const char* tabla) {
  QString t = tabla, d = "d?", c = "c?", x = "x?", where;
  bool libre = false;
  ConsultaPorTabla(t, d, c, x, libre, where);
  static std::string guardado[4];
  guardado[0] = t.toStdString();
  guardado[1] = d.toStdString();
  guardado[2] = c.toStdString();
  guardado[3] = x.toStdString();
  return {tabla, guardado[0].c_str(), guardado[1].c_str(), guardado[2].c_str(), guardado[3].c_str()};
}

class Catalogo : public ::testing::TestWithParam<testdb::Engine> {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    base = testdb::FreshDemo(GetParam());
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    DB_Dll::Instancia().SetCnn(cnn);
    Lib_ClsCons3& c = Lib_ClsCons3::Instancia();
    c.gRutaMascaraConsultas = dir.filePath("consultas.vmt");
    c.gUsarMascarasConsultas = true;
  }
  void TearDown() override { DB_Dll::Instancia().SetCnn(nullptr); }
  std::shared_ptr<OperadorGuionado> op;
  testdb::Database base;
  ado::ConnectionPtr cnn;
  QTemporaryDir dir;
};

TEST_P(Catalogo, ReglasEnOrden) {
  const Caso casos[] = {
      {"ta_comprobantes", "VT_TA_Cpte", "Descripcion", "Codigo", ""},
      {"V_TA_Cpte", "VT_TA_Cpte", "Descripcion", "Codigo", ""},
      {"V_TA_PERCEPCION", "V_TA_PERCEPCION", "DESCRIPCION", "IDPERCEPCION", ""},
      {"V_TA_RETENCIONES", "V_TA_RETENCIONES", "DESCRIPCION", "IDRETENCION", ""},
      {"V_TA_UNIDADNEGOCIO", "V_TA_UNIDADNEGOCIO", "DESCRIPCION", "CODIGO", ""},
      {"V_ta_PoliticaPrecios", "V_ta_PoliticaPrecios", "Descripcion", "codigo", ""},
      {"V_TA_CATEGORIAARTICULO", "V_TA_CATEGORIAARTICULO", "DESCRIPCION", "idcategoria", ""},
      {"V_TA_Rubros", "V_TA_Rubros", "DESCRIPCION", "IDRubro", ""},
      {"V_TA_Cajas", "V_TA_Cajas", "DESCRIPCION", "IDCajas", ""},
      {"V_TA_Tecnicos", "V_TA_Tecnicos", "NOMBRE", "IDTecnico", ""},
      {"V_TA_CPRA_VTA", "V_TA_CPRA_VTA", "DESCRIPCION", "IDCOND_CPRA_VTA", ""},
      {"V_TA_TipoArticulo", "V_TA_TipoArticulo", "DESCRIPCION", "IDTIPO", ""},
      {"V_TA_ORIGEN", "V_TA_ORIGEN", "DESCRIPCION", "IDORIGEN", ""},
      {"P_TA_Areas", "P_TA_Areas", "Descripcion", "IDAreas", ""},
      {"P_MA_Empresas", "P_MA_Empresas", "NombreEmpresa", "IDEmpresa", ""},
      {"P_TA_TITULOs", "P_TA_TITULOs", "Descripcion", "IDTITULO", ""},
      {"P_TA_ObraSocial", "P_TA_ObraSocial", "Descripcion", "IDObraSocial", ""},
      {"P_SINDICATOS", "P_SINDICATOS", "Descripcion", "IdSindicato", ""},
      {"P_TA_Funciones", "P_TA_Funciones", "DESCRIPCION", "IDFunciones", ""},
      {"TA_Rubros", "TA_Rubros", "DESCRIPCION", "IDRubro", ""},
      {"TA_TipoArticulo", "TA_TipoArticulo", "DESCRIPCION", "IDTIPO", ""},
      {"P_MA_Clientes", "P_MA_Clientes", "RAZON_SOCIAL", "IDCLIENTE", ""},
      {"TA_Cpte", "TA_Cpte", "DESCRIPCION", "CODIGO", "DESCRIPCION"},
      {"V_MA_ARTICULOS", "V_MA_ARTICULOS", "DESCRIPCION", "IDARTICULO", "DESCRIPCION"},
      {"V_MV_COTIZAR", "V_MV_COTIZAR", "COT_OBSERVACIONES", "IDARTICULO", "COT_OBSERVACIONES"},
      {"MA_ARTICULOS", "MA_ARTICULOS", "DESCRIPCION", "IDARTICULO", "DESCRIPCION"},
      {"MA_MODELOS", "MA_MODELOS", "NOMBRE", "NOMBRE", "NOMBRE"},
      {"MA_CHOFERES", "MA_CHOFERES", "APELLIDO", "CODIGO", "NOMBRES"},
      {"MA_DESTINATARIOS", "MA_DESTINATARIOS", "NOMBRE", "CODIGO", "NOMBRE"},
      {"MA_VEHICULOS", "MA_VEHICULOS", "PATENTE", "PATENTE", "MODELO"},
      {"MV_EJERCICIOS", "MV_EJERCICIOS", "DESCRIPCION", "PERIODO", "DESCRIPCION"},
      {"ta_usuarios", "ta_usuarios", "NOMBRE", "NOMBRE", ""},
      {"TA_CCOSTO", "TA_CCOSTO", "DESCRIPCION", "CODIGO", "DESCRIPCION"},
      {"MA_PROVEEDORES", "MA_PROVEEDORES", "Razon_Social", "Codigo", "Razon_Social"},
      {"MA_CONTACTOS", "MA_CONTACTOS", "Razon_Social", "Codigo", "Razon_Social"},
      {"MA_CLIENTES", "MA_CLIENTES", "Razon_Social", "Codigo", "Codigo_sucursal"},
      {"MA_POSICIONES", "MA_POSICIONES", "Descripcion", "Codigo", "Descripcion"},
      {"[MA_CAMIONES]", "[MA_CAMIONES]", "nombre", "Codigo", "nombre"},
      {"MV_PROYECTOS", "MV_PROYECTOS", "ASUNTO", "ID", "ASUNTO"},
      {"VT_CLIENTES", "VT_CLIENTES", "d?", "c?", "x?"},
      {"OTRA", "OTRA", "d?", "c?", "x?"},
  };
  for (const Caso& c : casos) {
    const Caso r = Aplicar(c.tabla);
    EXPECT_STREQ(r.tablaFinal, c.tablaFinal) << c.tabla;
    EXPECT_STREQ(r.d, c.d) << c.tabla;
    EXPECT_STREQ(r.c, c.c) << c.tabla;
    EXPECT_STREQ(r.x, c.x) << c.tabla;
  }
  EXPECT_TRUE(op->dialogos.isEmpty());
}

TEST_P(Catalogo, ConArchivoClientesDevuelveElCodigo) {
  CrearMascarasConsultas();
  QFile f(Lib_ClsCons3::Instancia().gRutaMascaraConsultas);
  EXPECT_EQ(f.size(), 7 * 1202);
  QString vista, devuelto;
  op->AlMostrar([&](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudLista&>(d);
    vista = s.SQL;
    devuelto = s.CampoDevuelto;
    s.ValorDevuelto = "1003";
  });
  QString t = "VT_CLIENTES", d, c = "IDCLIENTE", x, where;
  bool libre = true;
  ConsultaPorTabla(t, d, c, x, libre, where);
  EXPECT_EQ(vista,
            "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY "
            "RAZON_SOCIAL");
  EXPECT_EQ(devuelto, "CODIGO");
  EXPECT_EQ(c, "1003");

  // A table outside the file: its own statement, and the chosen key comes back.
  op->AlMostrar([&](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudLista&>(d);
    vista = s.SQL;
    devuelto = s.CampoDevuelto;
    s.ValorDevuelto = QString();  // cancelled
  });
  t = "TA_CCOSTO";
  ConsultaPorTabla(t, d, c, x, libre, where);
  EXPECT_EQ(vista, "select DESCRIPCION,CODIGO from TA_CCOSTO ");
  EXPECT_EQ(devuelto, "CODIGO");
  EXPECT_EQ(c, "");
}

TEST_P(Catalogo, SinArchivoSoloLaConsultaLibre) {
  ASSERT_FALSE(QFile::exists(Lib_ClsCons3::Instancia().gRutaMascaraConsultas));
  QString vista, devuelto;
  op->AlMostrar([&](DialogoModal& d) {
    auto& s = dynamic_cast<SolicitudLista&>(d);
    vista = s.SQL;
    devuelto = s.CampoDevuelto;
    s.ValorDevuelto = "0102";
  });
  QString t = "POSICIONES_X", d = " ", c = "IDPOSICION", x, where = "where IDPOSICION = '0102'";
  bool libre = true;
  ConsultaPorTabla(t, d, c, x, libre, where);
  EXPECT_EQ(vista, "select  * ,IDPOSICION from POSICIONES_X where IDPOSICION = '0102'");
  EXPECT_EQ(devuelto, "IDPOSICION");
  EXPECT_EQ(c, "0102");

  libre = false;
  c = "IDPOSICION";
  ConsultaPorTabla(t, d, c, x, libre, where);
  EXPECT_EQ(c, "IDPOSICION");
  EXPECT_EQ(op->dialogos.size(), 1);
}

// The definition file at start-up: a whole one stays as it is; a missing,
// empty or cut-short one gets the defaults it lacks, written whole; one that
// cannot be written leaves the definitions in memory, where the lookups find them.
TEST_P(Catalogo, ElArchivoDeDefinicionesAlIniciar) {
  const QByteArray propio = mascaras::Codificar({"MIA", "MA_MIA", "|CODIGO|", ""});
  const QByteArray clientes = mascaras::Codificar(mascaras::PorDefecto()[1]);
  const struct {
    const char* nombre;
    std::optional<QByteArray> antes;  // nullopt: no file
    bool sinCarpeta;                  // its folder cannot be made
    QByteArray empieza;
    int registros;  // in the file, or in memory
  } casos[] = {
      {"missing", std::nullopt, false, {}, 7},
      {"empty", QByteArray(), false, {}, 7},
      {"cut short", clientes + propio + "MEDIO", false, clientes + propio, 8},
      {"whole", clientes + propio, false, clientes + propio, 2},
      {"cannot be written", std::nullopt, true, {}, 7},
  };
  Lib_ClsCons3& consultas = Lib_ClsCons3::Instancia();
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    QTemporaryDir carpeta;
    QString ruta = carpeta.filePath("consultas.vmt");
    if (c.sinCarpeta) {
      QFile archivo(carpeta.filePath("archivo"));
      ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
      ruta = carpeta.filePath("archivo/consultas.vmt");
    }
    if (c.antes) {
      QFile f(ruta);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(*c.antes);
    }
    consultas.gRutaMascaraConsultas = ruta;
    PrepararMascarasConsultas();
    EXPECT_EQ(consultas.MascarasEnMemoria(), c.sinCarpeta);
    if (c.sinCarpeta) {
      EXPECT_FALSE(QFile::exists(ruta));
    } else {
      QFile f(ruta);
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      const QByteArray despues = f.readAll();
      EXPECT_EQ(despues.size(), c.registros * 1202);
      EXPECT_TRUE(despues.startsWith(c.empieza));
      EXPECT_EQ(mascaras::Leer(ruta).size(), c.registros);
      EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files), QStringList{"consultas.vmt"});  // no leftovers
    }
    QString vista;
    op->AlMostrar([&](DialogoModal& d) { vista = dynamic_cast<SolicitudLista&>(d).SQL; });
    QString t = "VT_CLIENTES", d, k = "IDCLIENTE", x, where;
    bool libre = true;
    ConsultaPorTabla(t, d, k, x, libre, where);
    EXPECT_EQ(vista,
              "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY "
              "RAZON_SOCIAL");
  }
  consultas.UsarMascarasEnMemoria(std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Motores, Catalogo, ::testing::Values(testdb::Engine::Sqlite),
                         testdb::ParamName<testing::TestParamInfo<testdb::Engine>>);

}  // namespace
