#include "lookup/ListaConsulta.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "db/DB_Dll.h"
#include "lookup/ui/Lib_FrmCons3.h"
#include "support/Idioma.h"
#include "support/OperadorGuionado.h"
#include "support/OperadorQueMiraElCursor.h"
#include "support/TestDatabases.h"
#include "support/VentanasDePrueba.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

QVector<QVector<ado::Value>> Columnas(const QVector<QStringList>& filas) {
  QVector<QVector<ado::Value>> datos(filas.isEmpty() ? 0 : filas[0].size());
  for (const QStringList& f : filas)
    for (int c = 0; c < f.size(); ++c) datos[c] << ado::Value(f[c]);
  return datos;
}

// The dialog's logic over rows given directly, no database.
class ListaSinBase : public ::testing::Test {
 protected:
  void SetUp() override {
    op = OperadorGuionado::Instalar();
    lista.FijarLector(
        [](const QString& k) { return k == "NOM_PCLASE2" ? QString("Mayorista") : QString(" "); });
  }
  void Poblar(const QVector<CampoLista>& campos, const QVector<QStringList>& filas) {
    lista.Poblar(campos, Columnas(filas));
  }
  void Clientes() {
    Poblar({{"RAZON_SOCIAL", 60}, {"CODIGO", 10}, {"**Cantidad**", 4}}, {{"Almacén Don Pedro", "1002", "1.0"},
                                                                         {"  Garibaldi Hnos", "1050", "0.00"},
                                                                         {"GARAJE SUR", "1003", ""},
                                                                         {"Zapatería", "1004", "2"}});
  }
  std::shared_ptr<OperadorGuionado> op;
  SolicitudLista s;
  ListaConsulta lista{s};
};

TEST_F(ListaSinBase, ColumnasAnchosYTitulosDePrecio) {
  s.SQL = " SELECT * FROM STK_MA_ARTICULOS";
  Poblar({{"DESCRIPCION", 200}, {"UNIDAD", 4}, {"precio2", 8}, {"PRECIO3", 8}}, {});
  EXPECT_EQ(lista.Modelo().Encabezados(), (QStringList{"DESCRIPCION", "UNIDAD", "Mayorista", "PRECIO3"}));
  EXPECT_EQ(lista.Anchos(), (QVector<double>{60 * 120, 4 * 120, 8 * 120, 8 * 120}));
  EXPECT_EQ(lista.Modelo().Filas(), 0);
  EXPECT_EQ(lista.CamposCajas(), (QStringList{"DESCRIPCION", "UNIDAD", "precio2", "PRECIO3"}));
  EXPECT_EQ(lista.CajasVisibles(), 4);
}

TEST_F(ListaSinBase, BusquedaIncremental) {
  Clientes();
  lista.CambioCaja(0, "GAR");
  EXPECT_EQ(lista.FilaActual(), 1);  // trimmed text, any letter case
  lista.CambioCaja(0, "gara");
  EXPECT_EQ(lista.FilaActual(), 2);
  lista.CambioCaja(0, "nada");
  EXPECT_EQ(lista.FilaActual(), 2);  // no match keeps the selection
  lista.CambioCaja(0, "");
  EXPECT_EQ(lista.FilaActual(), 0);
  lista.CambioCaja(1, "100");
  EXPECT_EQ(lista.FilaActual(), 0);
  lista.CambioCaja(1, "1004");
  EXPECT_EQ(lista.FilaActual(), 3);
  EXPECT_EQ(lista.IndiceColumna(" codigo "), 2);
  EXPECT_EQ(lista.IndiceColumna("NADA"), 0);
}

// The search keeps folded texts and its last match between keystrokes: each
// change to the rows must be seen by the next search.
TEST_F(ListaSinBase, BusquedaTrasCambiarLasFilas) {
  Clientes();
  EXPECT_EQ(lista.Busqueda(0, "gar"), 1);
  const std::function<void()> nada = [] {};
  const struct {
    std::function<void()> cambio;
    const char* texto;
    int fila;
  } pasos[] = {
      {[&] {
         Poblar({{"A", 20}}, {{" garaje norte"}, {"Árbol"}, {"Ñandú SA"}});
       },
       "gara", 0},
      {nada, "ÑAN", 2},
      {nada, "ár", 1},
      {[&] { lista.Modelo().sort(0, Qt::DescendingOrder); }, "gara", 2},
      {nada, "ñandú s", 0},
      {[&] { lista.Modelo().FijarTexto(0, 0, "Garaje Oeste"); }, "gara", 0},
      {[&] { lista.Modelo().Vaciar(); }, "g", -1},
  };
  for (const auto& p : pasos) {
    p.cambio();
    EXPECT_EQ(lista.Busqueda(0, QString::fromUtf8(p.texto)), p.fila) << p.texto;
  }
}

TEST_F(ListaSinBase, EscribirEnLaListaVaALaCajaConFoco) {
  Clientes();
  lista.FocoCaja(1);
  EXPECT_TRUE(lista.TeclaLista('1', 0, "1"));
  EXPECT_TRUE(lista.TeclaLista('0', 0));  // no text: the key's own character
  EXPECT_TRUE(lista.TeclaLista('5', 0, "5"));
  EXPECT_EQ(lista.TextosCajas()[1], "105");
  EXPECT_EQ(lista.FilaActual(), 1);
  EXPECT_TRUE(lista.TeclaLista(teclas::Retroceso, 0));
  EXPECT_EQ(lista.TextosCajas()[1], "10");
  EXPECT_FALSE(lista.TeclaLista(teclas::Abajo, 0));  // the list moves by itself
  EXPECT_TRUE(lista.TeclaLista(teclas::F5, 0));      // F-keys type nothing
  EXPECT_EQ(lista.TextosCajas()[1], "10");
}

TEST_F(ListaSinBase, TeclasDeCantidad) {
  EnIdioma idioma("C");  // the comma: CantidadesConComaDecimal
  s.UsaCantidades = true;
  Clientes();
  const int cant = 2;
  lista.SeleccionarFila(0);
  lista.TeclaLista(teclas::Suprimir, 0);
  EXPECT_EQ(lista.Modelo().Texto(0, cant), "0.00");
  EXPECT_FALSE(lista.Modelo().Marcada(0));
  lista.TeclaLista(teclas::Insertar, 0);
  EXPECT_EQ(lista.Modelo().Texto(0, cant), "1.0");
  EXPECT_TRUE(lista.Modelo().Marcada(0));
  lista.TeclaLista(teclas::Insertar, 0);
  lista.TeclaLista(teclas::Suprimir, 0);
  EXPECT_EQ(lista.Modelo().Texto(0, cant), "1.0");
  EXPECT_TRUE(lista.Modelo().Marcada(0));

  lista.SeleccionarFila(3);
  op->Escribir("3.456");
  lista.TeclaLista(teclas::Insertar, teclas::ShiftMask);
  EXPECT_EQ(lista.Modelo().Texto(3, cant), "3.46");
  ASSERT_EQ(op->entradas.size(), 1u);
  EXPECT_EQ(op->entradas[0].prompt, "Ingrese la Cantidad del Articulo...");
  EXPECT_EQ(op->entradas[0].title, "Carga de Datos");
  // What is not one number is said and asked again, never read as its leading digits.
  op->Escribir("12abc");
  op->Responder(vb::OK);
  op->Escribir("1,234.5");
  lista.TeclaLista(teclas::Insertar, teclas::ShiftMask);
  EXPECT_EQ(lista.Modelo().Texto(3, cant), "1234.50");
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt, "La Cantidad no acepta \"12abc\".\r\nEscriba un número, como 1,234.56.");
  EXPECT_EQ(op->entradas.back().prompt, "Ingrese la Cantidad del Articulo...");
  EXPECT_EQ(op->entradas.size(), 3u);
  op->Escribir("");  // cancelled box
  lista.TeclaLista(teclas::Insertar, teclas::ShiftMask);
  EXPECT_EQ(lista.Modelo().Texto(3, cant), "0.######");
  EXPECT_TRUE(lista.Modelo().Marcada(3));
}

// Under a decimal comma the operator's quantity is read and every quantity is
// shown with it; a cell from the database ("1.0") still counts.
TEST_F(ListaSinBase, CantidadesConComaDecimal) {
  EnIdioma idioma("es_AR");
  s.UsaCantidades = true;
  Clientes();
  lista.SeleccionarFila(3);
  op->Escribir("3,456");
  lista.TeclaLista(teclas::Insertar, teclas::ShiftMask);
  lista.TeclaLista(teclas::Insertar, 0);
  EXPECT_EQ(lista.Modelo().Texto(3, 2), "4,5");
  lista.SeleccionarFila(0);
  lista.TeclaLista(teclas::Suprimir, 0);  // 1.0 - 1
  EXPECT_EQ(lista.Modelo().Texto(0, 2), "0,00");
  // Thousands grouped as the operator writes them; a point is no decimal here.
  op->Escribir("3.45");
  op->Responder(vb::OK);
  op->Escribir("1.234,5");
  lista.TeclaLista(teclas::Insertar, teclas::ShiftMask);
  EXPECT_EQ(lista.Modelo().Texto(0, 2), "1234,50");
  EXPECT_EQ(op->mensajes.size(), 1u);
}

TEST_F(ListaSinBase, CantidadSinColumnaVaAlDialogoDeError) {
  s.UsaCantidades = true;
  Poblar({{"A", 5}}, {{"x"}});
  lista.SeleccionarFila(0);
  op->Responder(vb::Abort);
  lista.TeclaLista(teclas::Insertar, 0);
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(op->mensajes[0].prompt.contains("ListView1_KeyDown"));
  EXPECT_FALSE(lista.Modelo().Marcada(0));
}

TEST_F(ListaSinBase, PremarcadoPorSubcadenaComoEnLasConsultasDeLaSuite) {
  s.CheckBoxes = true;
  s.CampoDevuelto = "CODIGO";
  s.ValoresDefault = "'10021','1004'";
  Clientes();
  // 1002 is part of 10021: it is checked as well, as the suite's lookups do.
  // Kept: the program itself never asks for pre-checked rows (its requests
  // pass no ValoresDefault and no check boxes).
  EXPECT_EQ((QVector<bool>{lista.Modelo().Marcada(0), lista.Modelo().Marcada(1), lista.Modelo().Marcada(2),
                           lista.Modelo().Marcada(3)}),
            (QVector<bool>{true, false, false, true}));
}

TEST_F(ListaSinBase, AceptarEnModoCasillas) {
  s.CheckBoxes = true;
  Clientes();
  lista.Aceptar();
  ASSERT_TRUE(s.Valores);
  EXPECT_TRUE(s.Valores->isEmpty());
  EXPECT_TRUE(lista.Oculto());
  EXPECT_TRUE(ado::IsEmpty(s.ValorDevuelto));
  EXPECT_EQ(s.CampoDevuelto, "RAZON_SOCIAL");  // the first column when none was asked

  s.Valores->clear();
  s.CampoDevuelto = "codigo";
  lista.Modelo().Marcar(3, true);
  lista.Modelo().Marcar(1, true);
  lista.Aceptar();
  EXPECT_EQ(*s.Valores, (Coleccion{"1050", "1004"}));  // list order
}

TEST_F(ListaSinBase, AceptarEnModoSimple) {
  Clientes();
  lista.Aceptar();  // Enter with no row selected
  EXPECT_TRUE(lista.Oculto());
  EXPECT_TRUE(ado::IsEmpty(s.ValorDevuelto));

  s.CmpsDevueltos = std::make_shared<Coleccion>(Coleccion{"CODIGO", "RAZON_SOCIAL"});
  lista.SeleccionarFila(1);
  lista.TeclaLista(teclas::Enter, 0);
  EXPECT_EQ(*s.Valores, (Coleccion{"1050", "Garibaldi Hnos"}));
  EXPECT_EQ(s.ValorDevuelto, "Garibaldi Hnos");  // the last value read
  s.Valores->clear();
  s.CampoDevuelto = "Codigo";
  lista.Aceptar();
  EXPECT_EQ(s.ValorDevuelto, "1050");
}

TEST_F(ListaSinBase, CancelarDejaVacio) {
  Clientes();
  s.ValorDevuelto = "1002";
  s.Cantidades = std::make_shared<Coleccion>(Coleccion{1});
  lista.Cancelar();
  EXPECT_EQ(s.ValorDevuelto, "");
  EXPECT_FALSE(s.Valores);
  EXPECT_EQ(s.Cantidades->size(), 1);
}

TEST_F(ListaSinBase, ClickEnColumnaAlternaElOrden) {
  Clientes();
  lista.ClickColumna(1);
  EXPECT_EQ(lista.Orden(), Qt::DescendingOrder);
  EXPECT_EQ(lista.Modelo().Texto(0, 1), "1050");
  lista.ClickColumna(1);
  EXPECT_EQ(lista.Orden(), Qt::AscendingOrder);
  EXPECT_EQ(lista.Modelo().Texto(0, 1), "1002");
  EXPECT_EQ(lista.Modelo().Texto(3, 1), "1050");
  lista.ClickColumna(0);  // another column continues the toggle
  EXPECT_EQ(lista.Orden(), Qt::DescendingOrder);
  EXPECT_EQ(lista.Modelo().Texto(0, 0), "Zapatería");
}

// The dialog's logic on the demo database.
class ListaConBase : public ::testing::TestWithParam<testdb::Engine> {
 protected:
  void SetUp() override {
    base = testdb::FreshDemo(GetParam());
    cnn = ado::Connection::Create();
    cnn->Open(base.programString);
    DB_Dll::Instancia().SetCnn(cnn);
    DB_Dll::Instancia().gUsuario = "o'neil";
    op = OperadorGuionado::Instalar();
    lista.FijarCarpeta(carpeta.path());
  }
  void TearDown() override { DB_Dll::Instancia().SetCnn(nullptr); }
  testdb::Database base;
  ado::ConnectionPtr cnn;
  std::shared_ptr<OperadorGuionado> op;
  QTemporaryDir carpeta;
  SolicitudLista s;
  ListaConsulta lista{s};
};

TEST_P(ListaConBase, CargaFiltrosYNuevaBusqueda) {
  s.SQL = "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY RAZON_SOCIAL";
  lista.Cargar();
  ASSERT_TRUE(op->mensajes.empty()) << op->mensajes[0].prompt.toStdString();
  EXPECT_EQ(lista.TablaConsulta(), "VT_CLIENTES");
  EXPECT_EQ(lista.Modelo().Filas(), 7);
  EXPECT_EQ(lista.Modelo().Texto(0, 0), "Almacén Don Pedro");

  lista.CambioCaja(1, "1*2");
  lista.TeclaCaja(1, teclas::F5);
  // The box's field name as the engine reports it (folded to lower case by some).
  EXPECT_EQ(s.SQL.toUpper(),
            "  SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE DADA_DE_BAJA = 0  AND CODIGO LIKE "
            "'1%2%' ORDER BY RAZON_SOCIAL");
  EXPECT_EQ(lista.Modelo().Filas(), 4);  // 1002, 1012, 1020, 1121
  EXPECT_EQ(lista.TextosCajas()[1], "");
  lista.CambioCaja(0, "Hotel");
  lista.TeclaCaja(0, teclas::F5);
  ASSERT_EQ(lista.Modelo().Filas(), 1);
  EXPECT_EQ(lista.Modelo().Texto(0, 1), "1012");

  lista.NuevaBusqueda();
  EXPECT_EQ(lista.Modelo().Filas(), 7);
  EXPECT_FALSE(s.SQL.contains("like"));
}

TEST_P(ListaConBase, FiltroContieneYApostrofes) {
  s.SQL = "SELECT RAZON_SOCIAL,CODIGO FROM VT_CLIENTES ";
  s.CfgUsaConsultaLIKE = true;
  lista.Cargar();
  lista.CambioCaja(0, "Esquina");
  lista.TeclaCaja(0, teclas::F5);
  ASSERT_EQ(lista.Modelo().Filas(), 1);
  EXPECT_EQ(lista.Modelo().Texto(0, 1), "1003");
  lista.CambioCaja(0, "Don' OR 'a'='a");
  lista.TeclaCaja(0, teclas::F5);
  EXPECT_EQ(lista.Modelo().Filas(), 0);
}

// Text typed in one box and filtered with F5 before another box's F5 must stay
// data: no table dropped, no filter that matches every row, no failing statement.
TEST_P(ListaConBase, ElTextoDeLasCajasNoSeVuelveSentencia) {
  testdb::RunSql(base, "CREATE TABLE victima (x INTEGER)");
  const QString drop = " OR 1=1; DROP TABLE victima; SELECT 1 --";
  const QStringList segundos = {drop, "1 OR 1=1 OR 1", "%' OR '1'='1' --", "' where 1=1 order by 1 --",
                                QString::fromUtf8("🍕' OR 1=1 --")};
  for (const bool like : {false, true}) {
    for (const QString& primero : {QString("zz order by"), QString("x' where"), QString("zz ORDER BY '"),
                                   QString("stk_ma_articulos. order by")}) {
      for (const QString& segundo : segundos) {
        SCOPED_TRACE((QString(like ? "LIKE: " : "") + primero + " | " + segundo).toStdString());
        s.CfgUsaConsultaLIKE = like;
        s.SQL =
            "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 ORDER BY "
            "RAZON_SOCIAL";
        lista.Cargar();
        ASSERT_EQ(lista.Modelo().Filas(), 7);
        lista.CambioCaja(0, primero);
        lista.TeclaCaja(0, teclas::F5);
        lista.CambioCaja(1, segundo);
        lista.TeclaCaja(1, teclas::F5);
        EXPECT_EQ(lista.Modelo().Filas(), 0);
        EXPECT_FALSE(lista.TeclaFormulario(teclas::F12));  // still no article lookup
        op->mensajes.clear();
      }
    }
  }
  EXPECT_EQ(testdb::Query(base, "SELECT COUNT(*) FROM victima"), QStringList{"0"});

  // The statement's own OR: the filter holds for every branch.
  s.SQL =
      "SELECT RAZON_SOCIAL,CODIGO FROM VT_CLIENTES WHERE CODIGO = '1002' OR CODIGO = '1003' ORDER BY CODIGO";
  lista.Cargar();
  ASSERT_EQ(lista.Modelo().Filas(), 2);
  lista.CambioCaja(0, "Autoservicio");
  lista.TeclaCaja(0, teclas::F5);
  ASSERT_EQ(lista.Modelo().Filas(), 1);
  EXPECT_EQ(lista.Modelo().Texto(0, 1), "1003");
}

TEST_P(ListaConBase, SinFilasQuedanColumnasYCajas) {
  s.SQL = "SELECT RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE 1 = 0";
  lista.Cargar();
  EXPECT_EQ(lista.Modelo().Filas(), 0);
  EXPECT_EQ(lista.Modelo().Columnas(), 3);
  EXPECT_EQ(lista.CajasVisibles(), 3);
}

TEST_P(ListaConBase, NivelesDeStock) {
  s.SQL = "SELECT IDARTICULO,DESCRIPCION,PUNTOPEDIDO,Stock FROM VT_MA_ARTICULOS WHERE IDARTICULO < 'A0006' ";
  s.StkNivel1 = 1;
  s.StkNivel2 = 2;
  s.StkNivel3 = 3;
  s.StkNivel4 = 4;
  s.MuestraStock = "si";
  s.OrdenarPorLwv = true;
  lista.Cargar();
  ASSERT_EQ(lista.Modelo().Filas(), 5);
  QVector<quint32> colores;
  for (int r = 0; r < 5; ++r) {
    ASSERT_TRUE(lista.Modelo().Fila(r).color.has_value()) << r;
    EXPECT_TRUE(lista.Modelo().Fila(r).negrita);
    colores << *lista.Modelo().Fila(r).color;
  }
  // (0, 240) (50, 120) (20, 8) (10, 10) (0, 0)
  EXPECT_EQ(colores, (QVector<quint32>{1, 2, 3, 4, 4}));

  SolicitudLista sinMostrar = s;
  sinMostrar.MuestraStock = "NO";
  ListaConsulta otra(sinMostrar);
  otra.Cargar();
  EXPECT_FALSE(otra.Modelo().Fila(0).negrita);
}

TEST_P(ListaConBase, AnchosDelArchivo) {
  QFile f(QDir(carpeta.path()).filePath("CONSULTASLEN.VMT"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  const QByteArray antes =
      "\"VT_CLIENTES\",\"1000|2000|\"\r\n\"VT_PROVEEDORES\",\"7|7|\"\r\n\"vt_clientes\",\"3000|\"\r\n";
  f.write(antes);
  f.close();
  s.SQL = "SELECT RAZON_SOCIAL,CODIGO FROM VT_CLIENTES ";
  lista.Cargar();
  lista.Descargar();  // no column resized: nothing written
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), antes);
  f.close();
  lista.Cargar();
  EXPECT_EQ(lista.Anchos(), (QVector<double>{3000, 2000}));
  lista.FijarAnchoColumna(1, 1500);  // the operator drags a column
  lista.Descargar();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), "\"VT_PROVEEDORES\",\"7|7|\"\r\n\"VT_CLIENTES\",\"3000|1500|\"\r\n");
  EXPECT_EQ(lista.Modelo().Filas(), 0);
}

// Opening the list shows the wait cursor while it loads: the boxes of a
// statement that fails find it; it is gone once the dialog is up.
TEST_P(ListaConBase, ElCursorDeEsperaMientrasCarga) {
  App();
  auto mira = std::make_shared<OperadorQueMiraElCursor>();
  EstablecerOperador(mira);
  SolicitudLista sol;
  sol.SQL = "SELECT NOMBRE FROM NO_EXISTE ";
  Lib_FrmCons3 f(sol);
  mira->Responder(vb::Abort);
  f.Cargar();
  EXPECT_EQ(mira->mensajes.size(), 1u);
  EXPECT_EQ(mira->cursores, std::vector<int>(mira->mensajes.size(), Qt::WaitCursor));
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_P(ListaConBase, F12InformaElFaltante) {
  s.SQL = "SELECT DESCRIPCION,IDARTICULO FROM VT_MA_ARTICULOS ";
  lista.Cargar();
  EXPECT_TRUE(lista.EsArticulos());
  lista.CambioCaja(1, "A0003");
  op->Responder(vb::Yes);
  EXPECT_TRUE(lista.TeclaFormulario(teclas::F12));
  ASSERT_EQ(op->mensajes.size(), 1u);
  EXPECT_EQ(op->mensajes[0].prompt,
            "Desea informar el articulo A0003 Queso rallado 150 g\r\ncomo un faltante de stock?");
  EXPECT_EQ(op->mensajes[0].style, vb::Question | vb::YesNo);
  EXPECT_EQ(op->mensajes[0].title, "Atención!");
  EXPECT_EQ(
      testdb::Query(base,
                    "SELECT IdArticulo, Descripcion, Usuario FROM V_MV_FALTANTES WHERE Usuario = 'o''neil'"),
      (QStringList{QString(20, ' ') + "A0003|Queso rallado 150 g|o'neil"}));
  op->Responder(vb::No);
  lista.TeclaFormulario(teclas::F12);
  EXPECT_EQ(testdb::Query(base, "SELECT COUNT(*) FROM V_MV_FALTANTES WHERE Usuario = 'o''neil'"),
            QStringList{"1"});
}

INSTANTIATE_TEST_SUITE_P(Motores, ListaConBase, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<testing::TestParamInfo<testdb::Engine>>);

}  // namespace
