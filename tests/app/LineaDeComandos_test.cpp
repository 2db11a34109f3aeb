// The program's switches, run as the operator runs them: the real program in
// a process of its own, on a platform setting no window could open with.
#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "company/rules/InformeVerificacion.h"
#include "support/PadronDePrueba.h"
#include "support/TestDatabases.h"

namespace {

using testdb::Engine;

struct Salida {
  int estado = -1;
  QString out, err;
  QStringList Lineas() const {
    QStringList l = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::sort(l.begin(), l.end());
    return l;
  }
};

Salida Correr(const QStringList& argumentos) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // A window would need this platform and end the program at once.
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("ninguna"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(MA_PROGRAM_PATH), argumentos);
  if (!p.waitForFinished(120000)) p.kill();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

QString Parametros(const testdb::Database& db) {
  return QStringLiteral("@Server=%1;@DbName=%2;@Usuario=%3;@Password=%4;")
      .arg(db.server, db.dbName, db.user, db.password);
}

QString C15(const char* codigo) { return testdb::RightAligned(QString::fromLatin1(codigo), 15); }

TEST(LineaDeComandos, SwitchesOutsideACheckAnswerAsALinuxCommandDoes) {
  struct Caso {
    QStringList argumentos;
    int estado;
    const char* out;  // a line the standard output holds
    const char* err;  // a text the error output holds
  };
  const Caso casos[] = {
      {{"--help"},
       0,
       "     MA_Empresas --verificar \"<texto de parámetros>\" [--formato=csv] [--reparar]",
       ""},
      {{"-h"}, 0, "  --reparar          además completa las filas por empresa que faltan, una", ""},
      {{"--version"}, 0, "MA_Empresas 1.0.0", ""},
      {{"--bogus"}, 2, "", "MA_Empresas: opción desconocida: --bogus"},
      {{"--verificar"}, 2, "", "--verificar necesita el texto de parámetros"},
      {{"--verificar", "@Server=SQLITE;", "--formato=xml"}, 2, "", "formato desconocido: xml"},
      {{"--reparar"}, 2, "", "--formato y --reparar acompañan a --verificar"},
      {{"--verificar=@Server=SQLITE;", "sobra"}, 2, "", "argumento de más: sobra"},
      {{"--help"}, 0, "     MA_Empresas --reporte <código> <archivo.pdf> \"<texto de parámetros>\"", ""},
      {{"--reporte", "3", "3.pdf"},
       2,
       "",
       "--reporte necesita el código, el archivo PDF y el texto de parámetros"},
      {{"--importar", "a.csv"}, 2, "", "--importar necesita el archivo y el texto de parámetros"},
      {{"--aplicar"}, 2, "", "--aplicar acompaña a --importar"},
      {{"--importar", "a.ods", "@Server=SQLITE;"},
       2,
       "",
       "a.ods: se leen planillas .xlsx y .csv; no se importó nada."},
      {{"--help"}, 0, "     MA_Empresas --padron <archivo.zip|archivo.tmp> \"<texto de parámetros>\"", ""},
      {{"--padron", "padron.zip"}, 2, "", "--padron necesita el archivo del padrón y el texto de parámetros"},
      {{"--verificar", "@Server=SQLITE;", "--padron", "p.zip", "@Server=SQLITE;"},
       2,
       "",
       "--verificar y --padron van por separado"},
      {{"--padron", "/no/existe.zip", "@Server=SQLITE;"},
       2,
       "",
       "MA_Empresas: no existe el archivo /no/existe.zip. No se importó el padrón; el anterior, si lo hay, "
       "sigue "
       "en uso."},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.argumentos.join(' ').toStdString());
    const Salida s = Correr(c.argumentos);
    EXPECT_EQ(s.estado, c.estado);
    if (*c.out) {
      EXPECT_TRUE(s.out.split('\n').contains(QString::fromUtf8(c.out))) << s.out.toStdString();
    }
    if (*c.err) {
      EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.err))) << s.err.toStdString();
      EXPECT_TRUE(s.out.isEmpty());
    }
  }
}

// No connection, or a database without the suite's tables: status 2 and why.
TEST(LineaDeComandos, NoConnectionOrNothingToReadEndsWithStatus2AndSaysSo) {
  const testdb::Database vacia = testdb::FreshEmpty(Engine::Sqlite);
  const struct {
    QString parametros;
    QString motivo;
  } casos[] = {
      {"@Server=SQLITE;@DbName=/no/existe/empresas.sqlite;@Usuario=admin;@Password=;",
       "MA_Empresas: no se pudo conectar con la base de datos del texto de parámetros; no se verificó nada."},
      {Parametros(vacia), "MA_Empresas: no se pudo leer la tabla de empresas: "},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.parametros.toStdString());
    const Salida s = Correr({"--verificar", c.parametros});
    EXPECT_EQ(s.estado, 2) << s.err.toStdString();
    EXPECT_TRUE(s.out.isEmpty()) << s.out.toStdString();
    EXPECT_TRUE(s.err.contains(c.motivo)) << s.err.toStdString();
  }
}

// The demo an operator gets (made with the program at hand) is clean.
TEST(LineaDeComandos, TheOperatorsDemoDatabaseIsClean) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString archivo = tmp.filePath(QStringLiteral("demo.sqlite"));
  QProcess crear;
  crear.start(QStringLiteral("bash"), {QStringLiteral(MA_SOURCE_DIR "/demo/create_sqlite.sh"), archivo,
                                       QStringLiteral(MA_SQLITE_TEXT_PATH), QStringLiteral(MA_PROGRAM_PATH)});
  ASSERT_TRUE(crear.waitForFinished(120000));
  ASSERT_EQ(crear.exitCode(), 0) << crear.readAllStandardError().toStdString();
  const Salida s = Correr(
      {"--verificar", QStringLiteral("@Server=SQLITE;@DbName=%1;@Usuario=admin;@Password=;").arg(archivo)});
  EXPECT_EQ(s.estado, 0) << s.out.toStdString() << s.err.toStdString();
  EXPECT_EQ(s.out, QStringLiteral("12 empresas verificadas: sin hallazgos.\n"));
}

// AFIP's register imported: the summary on the standard output, nothing on the
// error output that is not a terminal; a file that is not one refused with status 2.
TEST(LineaDeComandos, PadronImportsTheRegisterOrSaysWhyNot) {
  const testdb::Database db = testdb::FreshDemo(Engine::Sqlite);
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString texto = tmp.filePath(QStringLiteral("SELE-SAL-CONSTA.p20out1.20260905.tmp"));
  const QString zip = tmp.filePath(QStringLiteral("padron.zip"));
  padron_prueba::Escribir(texto, 300);
  QFile f(texto);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write("20000000001 MAL\n");
  f.close();
  padron_prueba::Comprimir(zip, QFileInfo(texto).fileName(), texto);

  Salida s = Correr({"--padron", zip, Parametros(db)});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.out.startsWith(
      QStringLiteral("Padrón del 05/09/2026 importado en MA_PADRON_AFIP: 300 líneas, 1 mal formadas, en ")))
      << s.out.toStdString();
  EXPECT_TRUE(s.out.endsWith(QStringLiteral("\n  línea 301: línea corta (51 caracteres por línea)\n")))
      << s.out.toStdString();
  EXPECT_TRUE(s.err.isEmpty()) << s.err.toStdString();

  s = Correr({"--padron", QStringLiteral(MA_SOURCE_DIR "/README.md"), Parametros(db)});
  EXPECT_EQ(s.estado, 2);
  EXPECT_TRUE(s.err.startsWith(QStringLiteral("MA_Empresas: README.md no es un padrón: ")))
      << s.err.toStdString();
  EXPECT_EQ(testdb::Query(db, "SELECT LINEAS FROM MA_PADRON_AFIP_DATOS"), QStringList{"300"});
}

// A CSV cell a spreadsheet would run as a formula opens as text; the same
// characters further in are left alone.
TEST(InformeCsv, CellsThatLookLikeAFormulaOpenAsText) {
  const struct {
    const char* nombre;
    const char* celda;
  } casos[] = {
      {"=1+1", "'=1+1"},      {"+54 11 4000", "'+54 11 4000"},
      {"-2+3", "'-2+3"},      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tx", "'\tx"},        {"\rx", "\"'\rx\""},
      {"A=B-C+@", "A=B-C+@"}, {"", ""},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    LineaVerificacion l;
    l.codigo = QStringLiteral("-1");
    l.nombre = QString::fromUtf8(c.nombre);
    l.tipo = Hallazgo::Cuit;
    l.detalle = QStringLiteral("d");
    EXPECT_EQ(LineaInforme(FormatoInforme::Csv, l),
              QStringLiteral("'-1,%1,cuit,d").arg(QString::fromUtf8(c.celda)));
  }
}

class Verificar : public ::testing::TestWithParam<Engine> {};

// The demo as shipped has companies short of their per-company rows (company
// 3 was seeded in part); --reparar completes them and the table is then clean.
// A wrong CUIT, one shared, rows deleted and a code typed without its blanks
// are then each listed.
TEST_P(Verificar, FindingsListedRepairedAndCleanAfterwards) {
  const testdb::Database db = testdb::FreshDemo(GetParam());
  const QString p = Parametros(db);

  Salida s = Correr({"--verificar", p});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  EXPECT_TRUE(
      s.out.contains(QStringLiteral("Empresa 3 - Estudio Contable Pereyra & Asociados: filas por empresa "
                                    "incompletas: Comprobantes 3/8 · Talonarios 0/5 · Ejercicios 1/3\n")))
      << s.out.toStdString();

  s = Correr({"--verificar", p, "--reparar"});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  EXPECT_TRUE(
      s.out.contains(QStringLiteral("Empresa 3 - Estudio Contable Pereyra & Asociados: completada: se "
                                    "agregaron Comprobantes 5 · Talonarios 5 · Ejercicios 2; queda "
                                    "Comprobantes 8/8 · Talonarios 5/5 · Ejercicios 3/3\n")))
      << s.out.toStdString();
  EXPECT_TRUE(s.out.endsWith(
      QStringLiteral("12 empresas verificadas: 12 hallazgos; 12 completadas con 158 filas.\n")))
      << s.out.toStdString();
  EXPECT_EQ(testdb::Query(db, "SELECT COUNT(*) FROM TA_COMPROBANTES WHERE EMPRESA = '" + C15("12") + "'"),
            QStringList{"5"});

  s = Correr({"--verificar", p});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_EQ(s.out, QStringLiteral("12 empresas verificadas: sin hallazgos.\n"));

  testdb::RunSql(db,
                 "UPDATE P_MA_Empresas SET CUIT = '30-50112233-2', NombreEmpresa = "
                 "'=HYPERLINK(\"http://x\",\"y\")' WHERE IdEmpresa = '" +
                     C15("4") + "';\nUPDATE P_MA_Empresas SET CUIT = '30.70111222.5' WHERE IdEmpresa = '" +
                     C15("9") + "';\nDELETE FROM TA_COMPROBANTES WHERE EMPRESA = '" + C15("5") +
                     "' AND Codigo IN ('  FC', '  NC');\nUPDATE P_MA_Empresas SET IdEmpresa = '11' WHERE "
                     "IdEmpresa = '" +
                     C15("11") + "';\n");
  s = Correr({"--verificar", p, "--formato=csv"});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  const QStringList esperadas = {
      "empresa,nombre,hallazgo,detalle",
      "4,\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",cuit,CUIT 30-50112233-2: El dígito verificador debería "
      "ser 1: 30-50112233-1.",
      "8,Ferretería Industrial Córdoba S.R.L.,cuit_repetido,CUIT 30-70111222-5 también asignado a la empresa "
      "9 - "
      "Consultora Andina S.A.",
      "9,Consultora Andina S.A.,cuit_repetido,CUIT 30.70111222.5 también asignado a la empresa 8 - "
      "Ferretería "
      "Industrial Córdoba S.R.L.",
      "5,Transportes Patagónicos S.A.,filas_faltantes,filas por empresa incompletas: Comprobantes 8/8 · "
      "Talonarios 3/5 · Ejercicios 3/3",
      "11,Constructora Austral S.A.,codigo_no_alineado,código '11' no alineado a la derecha en 15 caracteres",
      "11,Constructora Austral S.A.,filas_faltantes,filas por empresa incompletas: Comprobantes 0/8 · "
      "Talonarios 0/5 · Ejercicios 0/3",
      ",,resumen,12 empresas verificadas: 6 hallazgos.",
  };
  QStringList ordenadas = esperadas;
  std::sort(ordenadas.begin(), ordenadas.end());
  EXPECT_EQ(s.Lineas(), ordenadas) << s.out.toStdString();
  EXPECT_EQ(s.out.section('\n', 0, 0), esperadas.first());
}

class Reporte : public ::testing::TestWithParam<Engine> {};

// The text of a PDF, each run of blanks and line ends as one blank.
QString TextoDePdf(const QString& archivo) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), archivo, QStringLiteral("-")});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// Every field of the company, each beside its caption, in a PDF written
// without any window (the platform set here could open none); and status 2
// with the reason, and no file, where there is nothing to write.
TEST_P(Reporte, ElPdfLlevaCadaCampoDeLaEmpresa) {
  const testdb::Database db = testdb::FreshDemo(GetParam());
  testdb::RunSql(db,
                 "ALTER TABLE P_MA_Empresas ADD COLUMN p_Cuota NUMERIC(12,2);"
                 "ALTER TABLE P_MA_Empresas ADD COLUMN P_Alta DATE;"
                 "UPDATE P_MA_Empresas SET p_Cuota = -1234.5, P_Alta = '2024-12-31' WHERE IdEmpresa = '" +
                     C15("3") +
                     "';"
                     "INSERT INTO MA_EMPRESAS_HISTORIA (Usuario, Estacion, IdEmpresa, Operacion, Columna, "
                     "ValorAnterior, ValorNuevo) VALUES ('mgarcia', 'pc-ventas', '" +
                     C15("3") + "', 'M', 'Telefono', '1', '2');");
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString pdf = tmp.filePath(QStringLiteral("empresa 3.pdf"));
  Salida s = Correr({"--reporte", " 3", pdf, Parametros(db)});
  ASSERT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.out.isEmpty()) << s.out.toStdString();
  const QString texto = TextoDePdf(pdf);
  const QString coma = QLocale::system().decimalPoint();
  const QString esperados[] = {
      "Empresa 3 - Estudio Contable Pereyra & Asociados",
      "Empresa: 3",
      "Nombre: Estudio Contable Pereyra & Asociados",
      "Calle: Viamonte",
      "Numero: 1560",
      "Piso: 4",
      "Dpto: B",
      "Localidad: Ciudad Autónoma de Buenos Aires",
      "Codigo Postal: C1055ABF",
      "Provincia 0 - Ciudad Autónoma de Buenos Aires",
      "CUIT: 30-30654321-7",
      "Telefono: (011) 4371-8890",
      "E-m@il: estudio@pereyra-asoc.com.ar",
      "Actividad: Servicios contables e impositivos",
      "Observaciones: Liquida sueldos de varias empresas del grupo.",
      "Pedir Honorarios",
      "Rubro Servicios",
      "Zona Capital",
      "Cuota -1234" + coma + "5",
      "Alta 31/12/2024",
      "Filas por empresa: Comprobantes 3/8 · Talonarios 0/5 · Ejercicios 1/3",
      ", modificación por mgarcia en pc-ventas",
      "Velmora · Maestro de empresas · " + QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")),
  };
  // PostgreSQL keeps unquoted column names in lower case, as the form shows them there.
  for (const QString& e : esperados)
    EXPECT_TRUE(texto.contains(e, Qt::CaseInsensitive)) << e.toStdString() << "\n" << texto.toStdString();

  // The logo is drawn: company 1 has one, company 3 none.
  const QString conLogo = tmp.filePath(QStringLiteral("1.pdf"));
  ASSERT_EQ(Correr({"--reporte", "1", conLogo, Parametros(db)}).estado, 0);
  for (const auto& [archivo, imagenes] : {std::pair{conLogo, 1}, std::pair{pdf, 0}}) {
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), archivo});
    p.waitForFinished(60000);
    // One row per picture; a picture with transparency adds its mask's row.
    EXPECT_EQ(
        QString::fromUtf8(p.readAllStandardOutput()).count(QRegularExpression("\\n +\\d+ +\\d+ +image ")),
        imagenes)
        << archivo.toStdString();
  }

  const struct {
    QString codigo, archivo, parametros, motivo;
  } fallos[] = {
      {"999", tmp.filePath("999.pdf"), Parametros(db), "MA_Empresas: no existe la empresa 999."},
      {"3", "/no/existe/3.pdf", Parametros(db),
       "MA_Empresas: no se pudo escribir el archivo /no/existe/3.pdf."},
      {"3", tmp.filePath("sin-base.pdf"),
       "@Server=SQLITE;@DbName=/no/existe/empresas.sqlite;@Usuario=admin;@Password=;",
       "MA_Empresas: no se pudo conectar con la base de datos del texto de parámetros; no se escribió ningún "
       "reporte."},
  };
  for (const auto& f : fallos) {
    SCOPED_TRACE(f.motivo.toStdString());
    s = Correr({"--reporte", f.codigo, f.archivo, f.parametros});
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.err.contains(f.motivo)) << s.err.toStdString();
    EXPECT_FALSE(QFile::exists(f.archivo));
  }
}

INSTANTIATE_TEST_SUITE_P(Motores, Reporte, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

// A sheet as an operator brings it: an XLSX a spreadsheet program wrote
// (Debian's python3-openpyxl here) and a CSV with a spreadsheet's semicolons.
TEST_P(Verificar, ImportingChecksEveryRowAndAppliesOnlyWhenAsked) {
  const testdb::Database db = testdb::FreshDemo(GetParam());
  const QString p = Parametros(db);
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QString xlsx = tmp.filePath(QStringLiteral("empresas.xlsx"));
  QProcess py;
  py.start(QStringLiteral("/usr/bin/python3"),
           {QStringLiteral("-c"),
            QStringLiteral("import sys, openpyxl\nwb = openpyxl.Workbook()\nws = wb.active\n"
                           "ws.append(['IdEmpresa', 'NombreEmpresa', 'CUIT', 'Numero', 'PideHonorarios'])\n"
                           "ws.append([40, 'Planilla S.A.', '30-50000000-3', 1245, True])\n"
                           "ws.append([1, 'Distribuidora del Litoral S.A.', '30-71234567-1', 1245, False])\n"
                           "ws.append([41, 'Otra S.A.', '30-71234567-1', None, None])\n"
                           "wb.save(sys.argv[1])\n"),
            xlsx});
  ASSERT_TRUE(py.waitForFinished(60000));
  ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
  const QString csv = tmp.filePath(QStringLiteral("empresas.csv"));
  QFile f(csv);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(
      "\xEF\xBB\xBF"
      "Empresa;Nombre;Teléfono\r\n40;Planilla S.A.;'+54 11 4000-0000\r\n");
  f.close();
  const QString cuenta = "SELECT COUNT(*) FROM P_MA_Empresas";

  Salida s = Correr({"--importar", xlsx, p});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  EXPECT_EQ(s.out,
            QStringLiteral(
                "Fila 2, empresa 40 - Planilla S.A.: nueva\n"
                "Fila 3, empresa 1 - Distribuidora del Litoral S.A.: sin cambios\n"
                "Fila 4, empresa 41 - Otra S.A.: rechazada: El CUIT 30-71234567-1 ya está asignado a la "
                "empresa 1 - Distribuidora del Litoral S.A.\n"
                "3 filas: 1 nueva, 0 con cambios, 1 sin cambios, 1 rechazada; no se grabó nada (--aplicar "
                "graba las filas aceptadas).\n"));
  EXPECT_EQ(testdb::Query(db, cuenta), QStringList{"12"});

  s = Correr({"--importar", xlsx, p, "--aplicar"});
  EXPECT_EQ(s.estado, 1) << s.err.toStdString();
  EXPECT_TRUE(
      s.out.startsWith("Fila 2, empresa 40 - Planilla S.A.: nueva, grabada; filas por empresa copiadas: "
                       "Comprobantes 8 · Talonarios 5 · Ejercicios 3\n"))
      << s.out.toStdString();
  EXPECT_EQ(testdb::Query(db, "SELECT Numero, CUIT FROM P_MA_Empresas WHERE IdEmpresa = '" + C15("40") + "'"),
            QStringList{"      1245|30-50000000-3"});

  s = Correr({"--importar", csv, p, "--aplicar"});
  EXPECT_EQ(s.estado, 0) << s.err.toStdString();
  EXPECT_TRUE(s.out.startsWith(
      "Fila 2, empresa 40 - Planilla S.A.: grabada: Teléfono (\"\" → \"+54 11 4000-0000\")\n"))
      << s.out.toStdString();
  EXPECT_EQ(testdb::Query(db, cuenta), QStringList{"13"});

  f.setFileName(tmp.filePath(QStringLiteral("mal.csv")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("Empresa,Fax\n40,1\n");
  f.close();
  s = Correr({"--importar", f.fileName(), p, "--aplicar"});
  EXPECT_EQ(s.estado, 2);
  EXPECT_TRUE(s.out.isEmpty());
  EXPECT_TRUE(s.err.contains("\"Fax\" no nombra ninguna columna de P_MA_Empresas; no se importó nada."))
      << s.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, Verificar, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
