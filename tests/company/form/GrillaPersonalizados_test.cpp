// The custom-fields grid as the operator uses it: filled from the "P_"
// columns, edited in place with the floating editor and its keys, written
// back by the column's type when the company is saved.
#include <QKeyEvent>
#include <QTabWidget>
#include <functional>

#include "company/form/FormularioEnBase.h"
#include "company/form/ui/GrillaFlex.h"
#include "support/Idioma.h"

namespace {

using testdb::Engine;

// Custom columns of every kind besides the demo's P_Rubro (40) and P_Zona (30),
// and one that only looks like one.
const char* const kColumnasExtra =
    "ALTER TABLE P_MA_Empresas ADD COLUMN p_Cuota NUMERIC(12,2);"
    "ALTER TABLE P_MA_Empresas ADD COLUMN Personal VARCHAR(10);"
    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Alta DATE;"
    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Activa BOOLEAN;"
    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Sector VARCHAR(5);";

class GrillaPersonalizados : public FormularioEnBase {
 public:
  GrillaFlex& G() { return *form->MSFlexPers(); }
  EditorFlex& E() { return *form->TxtEdit(); }

  void Visible() {
    form->show();
    form->activateWindow();
    QApplication::processEvents();
  }
  // Shows a company with the grid's tab in front.
  void MostrarEnGrilla(const QString& codigo) {
    Mostrar(codigo);
    form->SSTab1()->setCurrentIndex(2);
    QApplication::processEvents();
  }
  static void Tecla(QWidget* w, int qt, const QString& texto = {}) {
    QKeyEvent e(QEvent::KeyPress, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &e);
    QKeyEvent s(QEvent::KeyRelease, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &s);
  }
  static void Caracteres(QWidget* w, const QString& texto) {
    for (QChar c : texto)
      Tecla(w, c.unicode() >= 'a' && c.unicode() <= 'z' ? c.toUpper().unicode() : c.unicode(), c);
  }
  // Selects a value cell and types `texto` the way the operator does: the
  // first character on the grid opens the editor, the rest go to the editor.
  void Teclear(int fila, const QString& texto) {
    G().setCurrentCell(fila, 1);
    G().setFocus();
    if (texto.isEmpty()) {
      L().MSFlexPers_DblClick();
      Tecla(&E(), Qt::Key_End);
      for (int i = 0; i < G().TextMatrix(fila, 1).size(); ++i) Tecla(&E(), Qt::Key_Backspace);
    } else {
      Caracteres(&G(), texto.left(1));
      Caracteres(&E(), texto.mid(1));
    }
  }
  QStringList Columna(int c) {
    QStringList r;
    for (int f = 0; f < G().Rows(); ++f) r << G().TextMatrix(f, c);
    return r;
  }
};

TEST_P(GrillaPersonalizados, UnaFilaPorColumnaP_EnElOrdenDeLaTabla) {
  Cargar(QString::fromLatin1(kColumnasExtra));
  const QStringList nombres{"Campo", "Rubro", "Zona", "Cuota", "Alta", "Activa", "Sector"};
  const struct {
    const char* codigo;
    QStringList valores;
  } casos[] = {
      {"1", {"Valor", "Alimentos", "Litoral", "", "", "", ""}},
      {"11", {"Valor", "", "Patagonia", "", "", "", ""}},  // Null shows empty
      {"93", {"Valor", "", "", "", "", "", ""}},           // not in the table: names only
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.codigo);
    Mostrar(QString::fromLatin1(c.codigo));
    // PostgreSQL keeps unquoted column names in lower case.
    EXPECT_EQ(Columna(0).join(",").toLower(), nombres.join(",").toLower());
    EXPECT_EQ(Columna(1), c.valores);
    EXPECT_EQ(G().FixedRows(), 1);
  }
  L().Inicializa();  // back to the header only
  EXPECT_EQ(G().Rows(), 1);
}

// Each key of the editor, after "x" was typed over a cell: where the text
// ends up and which cell is current afterwards. Rows: 1 Rubro, 2 Zona, 3 Sector.
TEST_P(GrillaPersonalizados, TeclasDelEditor) {
  Cargar(QStringLiteral("ALTER TABLE P_MA_Empresas ADD COLUMN P_Sector VARCHAR(5);"));
  Visible();
  const QStringList original{"Valor", "Alimentos", "Litoral", ""};
  const struct {
    const char* nombre;
    int fila;
    std::function<void(GrillaPersonalizados&)> salir;
    bool guardado;
    int filaDespues;
  } casos[] = {
      {"Enter baja a la fila siguiente", 1, [](auto& f) { Tecla(&f.E(), Qt::Key_Return, "\r"); }, true, 2},
      {"Enter en la última fila se queda", 3, [](auto& f) { Tecla(&f.E(), Qt::Key_Return, "\r"); }, true, 3},
      {"Escape descarta", 2, [](auto& f) { Tecla(&f.E(), Qt::Key_Escape, "\x1b"); }, false, 2},
      {"Arriba sube", 2, [](auto& f) { Tecla(&f.E(), Qt::Key_Up); }, true, 1},
      {"Arriba en la primera fila se queda", 1, [](auto& f) { Tecla(&f.E(), Qt::Key_Up); }, true, 1},
      {"Abajo baja", 2, [](auto& f) { Tecla(&f.E(), Qt::Key_Down); }, true, 3},
      {"Abajo en la última fila se queda", 3, [](auto& f) { Tecla(&f.E(), Qt::Key_Down); }, true, 3},
      {"un clic en otra celda", 3, [](auto& f) { f.G().setCurrentCell(1, 1); }, true, 1},
      {"el foco vuelve a la grilla", 2, [](auto& f) { f.G().setFocus(); }, true, 2},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    MostrarEnGrilla(QStringLiteral("1"));
    ASSERT_EQ(Columna(1), original);
    Teclear(c.fila, QStringLiteral("x"));
    ASSERT_TRUE(E().isVisible());
    EXPECT_EQ(E().text(), QStringLiteral("x"));
    EXPECT_EQ(G().TextMatrix(c.fila, 1), original[c.fila]);  // not stored while typing
    c.salir(*this);
    QApplication::processEvents();
    EXPECT_TRUE(E().isHidden());
    QStringList esperado = original;
    if (c.guardado) esperado[c.fila] = QStringLiteral("x");
    EXPECT_EQ(Columna(1), esperado);
    EXPECT_EQ(G().Row(), c.filaDespues);
    EXPECT_EQ(G().Col(), 1);
    EXPECT_TRUE(L().EnEdicion());  // the editor's keys are not the form's
  }
}

TEST_P(GrillaPersonalizados, ElEditorSeAbreSobreLaCelda) {
  Cargar();
  Visible();
  MostrarEnGrilla(QStringLiteral("1"));
  G().setCurrentCell(2, 1);
  L().MSFlexPers_DblClick();
  ASSERT_TRUE(E().isVisible());
  EXPECT_EQ(E().text(), QStringLiteral("Litoral"));
  EXPECT_EQ(E().cursorPosition(), 7);
  EXPECT_EQ(E().geometry(), G().visualRect(G().model()->index(2, 1)));
  Tecla(&E(), Qt::Key_Escape, "\x1b");
  // A letter typed on a cell replaces its text.
  Caracteres(&G(), QStringLiteral("m"));
  EXPECT_EQ(E().text(), QStringLiteral("m"));
  EXPECT_EQ(E().cursorPosition(), 1);
  Caracteres(&E(), QStringLiteral("ar"));
  Tecla(&E(), Qt::Key_Return, "\r");
  EXPECT_EQ(G().TextMatrix(2, 1), QStringLiteral("mar"));
}

// The header row and the names are fixed: keys do not reach them, and typing
// on one (as reached by a click) opens no editor, so a save never renames a
// field (nor fails on a column that does not exist).
TEST_P(GrillaPersonalizados, SoloLaColumnaDeValoresSeEdita) {
  Cargar();
  Visible();
  const struct {
    const char* nombre;
    std::function<void(GrillaPersonalizados&)> ir;
  } casos[] = {
      {"Izquierda", [](auto& f) { Tecla(&f.G(), Qt::Key_Left); }},
      {"Arriba", [](auto& f) { Tecla(&f.G(), Qt::Key_Up); }},
      {"un nombre", [](auto& f) { f.G().setCurrentCell(2, 0); }},
      {"el encabezado", [](auto& f) { f.G().setCurrentCell(0, 1); }},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    MostrarEnGrilla(QStringLiteral("1"));
    G().setCurrentCell(1, 1);
    G().setFocus();
    c.ir(*this);
    Caracteres(&G(), QStringLiteral("X"));
    Tecla(&E(), Qt::Key_Return, "\r");
    EXPECT_EQ(Columna(0).join(",").toLower(), QStringLiteral("campo,rubro,zona"));
    Accion("GRABAR");
  }
}

// What is typed reaches the column converted by its type when GRABAR stores
// the company, an edit still open in the editor included.
TEST_P(GrillaPersonalizados, LosValoresSeGrabanSegunElTipoDeLaColumna) {
  Cargar(QString::fromLatin1(kColumnasExtra));
  Visible();
  const struct {
    const char* nombre;
    int fila;  // 1 Rubro, 2 Zona, 3 Cuota, 4 Alta, 5 Activa, 6 Sector
    const char* teclas;
    const char* celda;  // what the grid shows afterwards
    const char* leer;   // how the column reads back
    const char* valor;
  } casos[] = {
      {"texto largo, recortado", 1, "Minería  ", "Minería  ", "P_Rubro", "Minería"},
      {"texto vacío, Null", 2, "", "", "CASE WHEN P_Zona IS NULL THEN 'nulo' END", "nulo"},
      {"fecha", 4, "31/12/2024", "31/12/2024", "P_Alta", "2024-12-31"},
      {"no", 5, "no", "no", "CASE WHEN P_Activa THEN 'si' ELSE 'no' END", "no"},
      {"vacío en un booleano, sin respuesta", 5, "", "",
       "CASE WHEN P_Activa IS NULL THEN 'nulo' WHEN P_Activa THEN 'si' ELSE 'no' END", "nulo"},
      {"código corto, alineado a la derecha", 6, "A1", "A1", "P_Sector", "   A1"},
      {"más largo que la columna, cortado", 6, "ABCDEFGH", "ABCDE", "P_Sector", "ABCDE"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    MostrarEnGrilla(QStringLiteral("2"));
    Teclear(c.fila, QString::fromUtf8(c.teclas));
    Tecla(&E(), Qt::Key_Return, "\r");
    EXPECT_EQ(G().TextMatrix(c.fila, 1), QString::fromUtf8(c.celda));
    Accion("GRABAR");
    EXPECT_EQ(Uno(QStringLiteral("SELECT %1 FROM P_MA_Empresas WHERE IdEmpresa = '%2'")
                      .arg(QString::fromUtf8(c.leer), Codigo15("2"))),
              QString::fromUtf8(c.valor));
  }
  // GRABAR with the editor still open stores what it holds.
  MostrarEnGrilla(QStringLiteral("2"));
  Teclear(1, QStringLiteral("Sin confirmar"));
  ASSERT_TRUE(E().isVisible());
  Accion("GRABAR");
  EXPECT_EQ(Uno("SELECT P_Rubro FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("2") + "'"),
            QStringLiteral("Sin confirmar"));
  // Other companies' custom fields are untouched.
  EXPECT_EQ(Uno("SELECT P_Rubro FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("1") + "'"),
            QStringLiteral("Alimentos"));
}

// A number is typed and shown in the workstation's convention: its group
// separator between thousands, either key types the decimal separator where
// no group can stand (the first key too); after Enter the cell shows what will
// be stored. What the column cannot take exactly is refused with a message
// naming the field and an accepted form; the editor stays open, nothing is
// stored. A stored amount shows every digit. Rows: 3 Cuota NUMERIC(12,2), 4
// Alta DATE, 7 Importe (MONEY; PostgreSQL NUMERIC(19,4)).
TEST_P(GrillaPersonalizados, NumerosYFechasExactosORechazados) {
  const bool pg = GetParam() == Engine::Postgres;
  Cargar(QString::fromLatin1(kColumnasExtra) + "ALTER TABLE P_MA_Empresas ADD COLUMN P_Importe " +
         (pg ? "NUMERIC(19,4);" : "MONEY;"));
  Visible();
  const char* const R = nullptr;  // refused
  const struct {
    const char* idioma;
    int fila;
    const char *guardado, *teclas, *celda, *igual;  // guardado: the column before, "" = NULL
  } casos[] = {
      {"es_AR", 7, "", "1.234,56", "1234,56", "1234.56"},
      {"C", 7, "", "1,234.56", "1234.56", "1234.56"},
      {"es_AR", 7, "", ".5", "0,5", "0.5"},
      {"C", 3, "", ",25", "0.25", "0.25"},
      {"es_AR", 3, "", "-7,5", "-7,5", "-7.5"},
      {"es_AR", 7, "", "12,345,678", R, "NULL"},
      {"es_AR", 7, "", "1e5", R, "NULL"},
      {"es_AR", 7, "", "\u0661\u0662\u0663", R, "NULL"},
      {"C", 7, "", "12 345", R, "NULL"},
      {"C", 7, "", "1,5", R, "NULL"},
      // SQLite's driver does not tell a column's scale: the engine keeps what it is given.
      {"es_AR", 3, "", "1,234", pg ? R : "1,234", pg ? "NULL" : "1.234"},
      {"C", 4, "", "31/02/2024", R, "NULL"},
      {"C", 4, "", "29/2/2024", "29/02/2024", "'2024-02-29'"},
      {"es_AR", 4, "'2024-12-31'", "", "31/12/2024", "'2024-12-31'"},
      {"C", 3, "100000", "", "100000", "100000"},
      {"es_AR", 3, "-1234.5", "", "-1234,5", "-1234.5"},
      {"es_AR", 7, pg ? "900719925474.0993" : "12345678.9999", "", pg ? "900719925474,0993" : "12345678,9999",
       pg ? "900719925474.0993" : "12345678.9999"},
  };
  const QString columnas[] = {{},       "P_Rubro",  "P_Zona",   "p_Cuota",
                              "P_Alta", "P_Activa", "P_Sector", "P_Importe"};
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.idioma) + " " + c.guardado + c.teclas);
    EnIdioma idioma(c.idioma);
    const QString columna = columnas[c.fila];
    testdb::RunSql(base, "UPDATE P_MA_Empresas SET " + columna + " = " + (*c.guardado ? c.guardado : "NULL") +
                             " WHERE IdEmpresa = '" + Codigo15("2") + "'");
    MostrarEnGrilla(QStringLiteral("2"));
    const QString antes = G().TextMatrix(c.fila, 1);
    if (*c.teclas) {
      Teclear(c.fila, QString::fromUtf8(c.teclas));
      if (!c.celda) op->Responder(vb::OK);
      Tecla(&E(), Qt::Key_Return, "\r");
    }
    if (c.celda) {
      EXPECT_EQ(G().TextMatrix(c.fila, 1), QString::fromUtf8(c.celda));
    } else {
      ASSERT_EQ(op->mensajes.size(), 1u);
      const QString aviso = op->mensajes.front().prompt;
      EXPECT_TRUE(aviso.contains(columna.mid(2), Qt::CaseInsensitive)) << aviso;
      EXPECT_TRUE(aviso.contains(c.fila == 4                               ? "31/12/2024"
                                 : QString(c.idioma) == QLatin1String("C") ? "1,234.5"
                                                                           : "1.234,5"))
          << aviso;
      // Still open with what was typed, the cell as it was; Escape cancels.
      EXPECT_TRUE(E().isVisible());
      EXPECT_EQ(E().text().size(), QString::fromUtf8(c.teclas).size());
      EXPECT_EQ(G().TextMatrix(c.fila, 1), antes);
      Tecla(&E(), Qt::Key_Escape, "\x1b");
      op->mensajes.clear();
    }
    Accion("GRABAR");
    const QString condicion = QString::fromLatin1(c.igual) == QLatin1String("NULL")
                                  ? columna + " IS NULL"
                                  : columna + " = " + QString::fromLatin1(c.igual);
    EXPECT_EQ(Uno("SELECT CASE WHEN " + condicion +
                  " THEN 'si' ELSE 'no' END FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("2") + "'"),
              "si")
        << Uno("SELECT " + columna + " FROM P_MA_Empresas WHERE IdEmpresa = '" + Codigo15("2") + "'")
               .toStdString();
  }
  // A refused value still open in the editor stops GRABAR, before anything is stored.
  EnIdioma idioma("es_AR");
  MostrarEnGrilla(QStringLiteral("2"));
  Teclear(7, QStringLiteral("1e5"));
  op->Responder(vb::OK);
  Accion("GRABAR");
  EXPECT_EQ(op->mensajes.size(), 1u);
  EXPECT_TRUE(E().isVisible());
  EXPECT_TRUE(L().EnEdicion());
  op->mensajes.clear();
}

INSTANTIATE_TEST_SUITE_P(Motores, GrillaPersonalizados, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<Engine>>);

}  // namespace
