// --exportar run as the operator runs it, the file read back by a reader of
// its own (Debian's openpyxl, Python's csv) and held against the table.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "support/TestDatabases.h"

namespace {

using testdb::Engine;

struct Salida {
  int estado = -1;
  QString out, err;
};

Salida Correr(const QString& programa, const QStringList& argumentos) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("ninguna"));  // no window could open
  p.setProcessEnvironment(env);
  p.start(programa, argumentos);
  if (!p.waitForFinished(120000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

Salida Exportar(const QString& archivo, const QString& parametros) {
  return Correr(QStringLiteral(MA_PROGRAM_PATH), {QStringLiteral("--exportar"), archivo, parametros});
}

QJsonObject Leer(const QString& archivo) {
  const Salida s = Correr(QStringLiteral(MA_PYTHON),
                          {QStringLiteral(MA_SOURCE_DIR "/tests/app/leer_planilla.py"), archivo});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  return QJsonDocument::fromJson(s.out.toUtf8()).object();
}

QString Parametros(const testdb::Database& db) {
  return QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
      .arg(db.server, db.dbName, db.user, db.password);
}

enum class Clase { Texto, Numero, Fecha, Logico };

struct Columna {
  const char* nombre;
  Clase clase;
};

// The demo's columns (its logo, a picture, is not exported) and three custom ones.
const Columna kColumnas[] = {
    {"IdEmpresa", Clase::Texto},     {"NombreEmpresa", Clase::Texto}, {"Calle", Clase::Texto},
    {"Numero", Clase::Texto},        {"Piso", Clase::Texto},          {"Dpto", Clase::Texto},
    {"Localidad", Clase::Texto},     {"CodigoPostal", Clase::Texto},  {"Telefono", Clase::Texto},
    {"eMail", Clase::Texto},         {"CUIT", Clase::Texto},          {"Actividad", Clase::Texto},
    {"Observaciones", Clase::Texto}, {"IdProvincia", Clase::Texto},   {"PideHonorarios", Clase::Logico},
    {"P_Rubro", Clase::Texto},       {"P_Zona", Clase::Texto},        {"P_Importe", Clase::Numero},
    {"P_Alta", Clase::Fecha},        {"P_Empleados", Clase::Numero},
};

QString C15(const char* codigo) { return testdb::RightAligned(QString::fromLatin1(codigo), 15); }

// Amounts, dates and counts in custom columns; texts a spreadsheet would take
// for formulas, with commas, quotes, accents and blanks at the ends; a date
// before spreadsheets' dates begin, and numbers longer than their 15 digits.
void Preparar(const testdb::Database& db) {
  const bool pg = db.engine == Engine::Postgres;
  QString sql = QStringLiteral(
                    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Importe %1;\n"
                    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Alta DATE;\n"
                    "ALTER TABLE P_MA_Empresas ADD COLUMN P_Empleados BIGINT;\n")
                    .arg(pg ? "NUMERIC(19,4)" : "MONEY");
  const struct {
    const char* codigo;
    const char* asignacion;
  } cambios[] = {
      {"1", "P_Importe = 1234.5, P_Alta = '2024-03-15', P_Empleados = 42"},
      {"2", "P_Importe = 0.1, P_Empleados = -7, Calle = '-Av, \"Sur\" 1'"},
      {"3", "P_Empleados = 1234567890123456789, P_Alta = '1899-12-31'"},
      {"4", "NombreEmpresa = '=HYPERLINK(\"http://x\",\"y\")', P_Importe = -0.0001"},
      {"5", "Localidad = '@Ñandú', Observaciones = ' con blancos ', P_Rubro = '+54 Córdoba'"},
  };
  for (const auto& c : cambios)
    sql += QStringLiteral("UPDATE P_MA_Empresas SET %1 WHERE IdEmpresa = '%2';\n")
               .arg(QString::fromUtf8(c.asignacion), C15(c.codigo));
  if (pg)
    sql +=
        "UPDATE P_MA_Empresas SET P_Importe = 123456789012345.6789 WHERE IdEmpresa = '" + C15("6") + "';\n";
  testdb::RunSql(db, sql);
}

QString SinCerosDeMas(QString t) {
  if (t.contains(QLatin1Char('.'))) {
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  }
  return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

int Cifras(const QString& t) {
  QString d = t;
  d.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
  while (d.startsWith(QLatin1Char('0'))) d.remove(0, 1);
  return static_cast<int>(d.size());
}

QJsonArray Par(const char* tipo, const QString& valor) { return {QString::fromLatin1(tipo), valor}; }

// Each cell as the reader should see it, from the table as the engine's own tool reads it.
QJsonArray Esperadas(const testdb::Database& db, bool xlsx) {
  QStringList nombres;
  for (const Columna& c : kColumnas) nombres << QString::fromLatin1(c.nombre);
  QJsonArray filas;
  QJsonArray encabezado;
  // PostgreSQL keeps the custom columns' names in lower case; the form's own keep the program's.
  for (const QString& n : nombres)
    encabezado.append(Par("s", db.engine == Engine::Postgres && n.startsWith("P_") ? n.toLower() : n));
  filas.append(encabezado);
  const QStringList tabla =
      testdb::Query(db, "SELECT " + nombres.join(", ") + " FROM P_MA_Empresas ORDER BY IdEmpresa");
  for (const QString& linea : tabla) {
    const QStringList valores = linea.split(QLatin1Char('|'));
    QJsonArray fila;
    for (int i = 0; i < valores.size(); ++i) {
      QString v = i == 0 ? valores[i].trimmed() : valores[i];
      if (v.isEmpty()) {
        fila.append(Par("v", {}));
        continue;
      }
      switch (kColumnas[i].clase) {
        case Clase::Texto:
          if (!xlsx && QStringLiteral("=+-@").contains(v.front())) v.prepend(QLatin1Char('\''));
          fila.append(Par("s", v));
          break;
        case Clase::Logico:
          fila.append(Par(xlsx ? "b" : "s", v == "t" || v == "1" ? "1" : "0"));
          break;
        case Clase::Numero:
          v = SinCerosDeMas(v);
          fila.append(Par(xlsx && Cifras(v) <= 15 ? "n" : "s", v));
          break;
        case Clase::Fecha: {
          const QDate f = QDate::fromString(v, Qt::ISODate);
          if (xlsx && f.year() >= 1900)
            fila.append(QJsonArray{"d", v, "dd/mm/yyyy"});
          else
            fila.append(Par("s", f.toString(QStringLiteral("dd/MM/yyyy"))));
          break;
        }
      }
    }
    filas.append(fila);
  }
  return filas;
}

void Comparar(const QJsonArray& leidas, const QJsonArray& esperadas) {
  ASSERT_EQ(leidas.size(), esperadas.size());
  for (int f = 0; f < leidas.size(); ++f) {
    SCOPED_TRACE("fila " + std::to_string(f));
    const QJsonArray a = leidas[f].toArray(), b = esperadas[f].toArray();
    ASSERT_EQ(a.size(), b.size());
    for (int c = 0; c < a.size(); ++c)
      EXPECT_EQ(QJsonDocument(a[c].toArray()).toJson(QJsonDocument::Compact).toStdString(),
                QJsonDocument(b[c].toArray()).toJson(QJsonDocument::Compact).toStdString())
          << kColumnas[c].nombre;
  }
}

class ExportarPlanilla : public ::testing::TestWithParam<Engine> {};

TEST_P(ExportarPlanilla, XlsxReadBackEqualsTheTableTypesIncluded) {
  const testdb::Database db = testdb::FreshDemo(GetParam());
  Preparar(db);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString archivo = dir.filePath(QStringLiteral("empresas.xlsx"));
  const Salida s = Exportar(archivo, Parametros(db));
  ASSERT_EQ(s.estado, 0) << s.err.toStdString();
  const bool pg = GetParam() == Engine::Postgres;
  EXPECT_EQ(s.out, QStringLiteral("12 empresas exportadas a %1. %2 de más de 15 cifras, que una planilla "
                                  "redondearía, van como texto.\n")
                       .arg(archivo, pg ? "2 números" : "1 número"));

  const QJsonObject hoja = Leer(archivo);
  Comparar(hoja["filas"].toArray(), Esperadas(db, true));
  EXPECT_EQ(hoja["congelada"].toString(), QStringLiteral("A2"));
  for (const auto negrita : hoja["negrita"].toArray()) EXPECT_TRUE(negrita.toBool());
  // Wide enough for a short code, and for a name.
  for (const auto ancho : hoja["anchos"].toArray()) EXPECT_GE(ancho.toDouble(), 8.0);
  EXPECT_GE(hoja["anchos"].toArray()[1].toDouble(), 40.0);
}

TEST_P(ExportarPlanilla, CsvRoundTripKeepsEveryTextAndRunsNoFormula) {
  const testdb::Database db = testdb::FreshDemo(GetParam());
  Preparar(db);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString archivo = dir.filePath(QStringLiteral("empresas.csv"));
  const Salida s = Exportar(archivo, Parametros(db));
  ASSERT_EQ(s.estado, 0) << s.err.toStdString();
  // Every number is written with its digits: none goes as a text.
  EXPECT_EQ(s.out, QStringLiteral("12 empresas exportadas a %1.\n").arg(archivo));

  const QJsonObject hoja = Leer(archivo);
  EXPECT_TRUE(hoja["bom"].toBool());
  EXPECT_TRUE(hoja["crlf"].toBool());
  Comparar(hoja["filas"].toArray(), Esperadas(db, false));
  QFile f(archivo);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString texto = QString::fromUtf8(f.readAll());
  EXPECT_TRUE(texto.contains(QStringLiteral(",\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",")));
  EXPECT_TRUE(texto.contains(QStringLiteral(",\"'-Av, \"\"Sur\"\" 1\",")));
  EXPECT_TRUE(texto.contains(QStringLiteral(",'@Ñandú,")));
}

INSTANTIATE_TEST_SUITE_P(Motores, ExportarPlanilla, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

// Nothing is written, and a file already there is kept, when the name says no
// format, the folder cannot be written or the table cannot be read.
TEST(ExportarPlanilla, RefusedWithTheReasonAndNothingWritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const testdb::Database demo = testdb::FreshDemo(Engine::Sqlite);
  const testdb::Database vacia = testdb::FreshEmpty(Engine::Sqlite);
  const QString previo = dir.filePath(QStringLiteral("previo.xlsx"));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("carpeta.xlsx")));
  const struct {
    QStringList argumentos;
    const char* motivo;
  } casos[] = {
      {{"--exportar"}, "--exportar necesita el archivo (.xlsx o .csv) y el texto de parámetros"},
      {{"--exportar", dir.filePath("empresas.ods"), Parametros(demo)},
       "empresas.ods: se exporta a .xlsx o a .csv; elija uno de esos nombres"},
      {{"--exportar", dir.filePath("no/hay/carpeta.csv"), Parametros(demo)}, "no se puede escribir "},
      {{"--exportar", dir.filePath("carpeta.xlsx"), Parametros(demo)}, "no se puede escribir "},
      {{"--exportar", previo, Parametros(vacia)}, "no se pudo leer la tabla de empresas: "},
      {{"--exportar", previo, "@Server=SQLITE;@DbName=/no/existe.sqlite;@Usuario=admin;@Password=;"},
       "no se pudo conectar con la base de datos del texto de parámetros; no se exportó nada."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.argumentos.join(' ').toStdString());
    QFile anterior(previo);
    ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
    anterior.write("anterior");
    anterior.close();
    const Salida s = Correr(QStringLiteral(MA_PROGRAM_PATH), c.argumentos);
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.out.isEmpty()) << s.out.toStdString();
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.motivo))) << s.err.toStdString();
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), QByteArray("anterior"));
    anterior.close();
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"previo.xlsx"});
}

}  // namespace
