// `MA_Empresas --importar --aplicar` of 10,000 new companies (a CSV sheet:
// code, name, street, CUIT, province, a custom column), each stored as the
// form stores it: one transaction per company with its change history and the
// seeding of its per-company rows (8 + 5 + 3 from the demo's templates). The
// smoke run (MA_BENCH_SMOKE=1): 50 companies.
//
// Baseline, in the same run: a plain ODBC program that stores the same
// companies and copies the same template rows, one transaction per company,
// with nothing checked, compared or recorded. Target: under 60 s on SQLite
// (PostgreSQL is measured and shown, not judged). SQLite is measured twice:
// as the database comes (a rollback journal: each commit waits for the disk
// three times, whatever the program does) and in write-ahead-log mode.
#include <sql.h>
#include <sqlext.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "Ajustes.h"
#include "PlainOdbc.h"
#include "Proceso.h"
#include "support/TestDatabases.h"

namespace {

const int kEmpresas = ajustes::Tam(10000, 50);
constexpr double kObjetivoMs = 60000;
constexpr int kPrimerCodigo = 1001;

QString Codigo(int i) { return QString::number(kPrimerCodigo + i); }

// A valid CUIT of its own for each company: prefix 30, the body, the check digit.
QString CuitDe(int i) {
  static const int pesos[] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  for (int cuerpo = 40000000 + i * 7;; ++cuerpo) {
    const QString diez = QStringLiteral("30") + QString::number(cuerpo);
    int suma = 0;
    for (int k = 0; k < 10; ++k) suma += pesos[k] * (diez.at(k).unicode() - u'0');
    const int d = (11 - suma % 11) % 11;
    if (d < 10) return diez.left(2) + '-' + diez.mid(2) + '-' + QString::number(d);
  }
}

QByteArray Hoja() {
  QByteArray csv = "Empresa;Nombre;Calle;CUIT;Provincia;Rubro\r\n";
  for (int i = 0; i < kEmpresas; ++i)
    csv += QStringLiteral("%1;Empresa Importada %1 S.A.;Calle %2;%3;%4;Rubro %5\r\n")
               .arg(Codigo(i))
               .arg(i % 900 + 1)
               .arg(CuitDe(i))
               .arg(i % 15)
               .arg(i % 7)
               .toUtf8();
  return csv;
}

QString Literal(const QString& t) {
  return QLatin1Char('\'') + QString(t).replace('\'', "''") + QLatin1Char('\'');
}

bool Ejecutar(SQLHDBC dbc, const QString& sql) {
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
  const std::u16string w = sql.toStdU16String();
  const SQLRETURN r = SQLExecDirectW(st, (SQLWCHAR*)w.c_str(), SQL_NTS);
  if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA) {
    SQLCHAR estado[8] = {}, texto[512] = {};
    SQLINTEGER nativo = 0;
    SQLSMALLINT largo = 0;
    SQLGetDiagRecA(SQL_HANDLE_STMT, st, 1, estado, &nativo, texto, sizeof texto, &largo);
    std::fprintf(stderr, "%s: %s\n", reinterpret_cast<char*>(estado), reinterpret_cast<char*>(texto));
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return SQL_SUCCEEDED(r) || r == SQL_NO_DATA;
}

// In a child: the baseline.
int GrabarPlano(const QString& odbcString) {
  Odbc odbc(odbcString);
  SQLSetConnectAttr(odbc.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
  for (int i = 0; i < kEmpresas; ++i) {
    const QString c15 = Literal(testdb::RightAligned(Codigo(i), 15));
    const bool ok =
        Ejecutar(odbc.dbc, QStringLiteral("INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Calle, CUIT, "
                                          "IdProvincia, P_Rubro) VALUES (%1, %2, %3, %4, %5, %6)")
                               .arg(c15, Literal("Empresa Importada " + Codigo(i) + " S.A."),
                                    Literal(QStringLiteral("Calle %1").arg(i % 900 + 1)), Literal(CuitDe(i)),
                                    Literal(testdb::RightAligned(QString::number(i % 15), 3)),
                                    Literal(QStringLiteral("Rubro %1").arg(i % 7)))) &&
        Ejecutar(odbc.dbc, QStringLiteral("INSERT INTO V_TA_CPTE (EMPRESA, Codigo, Descripcion, Letra, "
                                          "Abreviatura, Talonario, ProximoNumero) SELECT %1, Codigo, "
                                          "Descripcion, Letra, Abreviatura, Talonario, ProximoNumero FROM "
                                          "V_TA_CPTE WHERE EMPRESA = ''")
                               .arg(c15)) &&
        Ejecutar(odbc.dbc,
                 QStringLiteral("INSERT INTO TA_COMPROBANTES (EMPRESA, Codigo, Descripcion, Tipo, "
                                "Talonario, NumeroDesde, NumeroHasta) SELECT %1, Codigo, Descripcion, "
                                "Tipo, Talonario, NumeroDesde, NumeroHasta FROM TA_COMPROBANTES WHERE "
                                "EMPRESA = ''")
                     .arg(c15)) &&
        Ejecutar(odbc.dbc,
                 QStringLiteral("INSERT INTO MV_EJERCICIOS (EMPRESA, PERIODO, DESCRIPCION, FechaDesde, "
                                "FechaHasta, Cerrado) SELECT %1, PERIODO, DESCRIPCION, FechaDesde, "
                                "FechaHasta, Cerrado FROM MV_EJERCICIOS WHERE EMPRESA = ''")
                     .arg(c15));
    if (!ok || !SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, odbc.dbc, SQL_COMMIT))) {
      std::fprintf(stderr, "plain ODBC store of company %d failed\n", i);
      return 1;
    }
  }
  return 0;
}

QString Parametros(const testdb::Database& d) {
  return "@Server=" + d.server + ";@DbName=" + d.dbName + ";@Usuario=" + d.user + ";@Password=" + d.password +
         ";";
}

// The companies and their per-company rows, all of them.
QString Filas(const testdb::Database& d) {
  return testdb::Query(d,
                       "SELECT (SELECT COUNT(*) FROM P_MA_Empresas), (SELECT COUNT(*) FROM V_TA_CPTE) + "
                       "(SELECT COUNT(*) FROM TA_COMPROBANTES) + (SELECT COUNT(*) FROM MV_EJERCICIOS)")
      .join(',');
}

// What a store added: companies and per-company rows.
QString Agregado(const QString& antes, const QString& despues) {
  const QStringList a = antes.split('|'), b = despues.split('|');
  if (a.size() != 2 || b.size() != 2) return despues;
  return QStringLiteral("%1|%2").arg(b[0].toInt() - a[0].toInt()).arg(b[1].toInt() - a[1].toInt());
}

// for the disk once (its log) instead of for the journal and the database.
bool Medir(testdb::Engine e, const QTemporaryDir& dir, bool wal = false) {
  const std::string n = std::string(testdb::Name(e)) + (wal ? " (WAL)" : "");
  std::fprintf(stderr, "Preparing %d companies to import on %s...\n", kEmpresas, n.c_str());
  const testdb::Database importada = testdb::FreshDemo(e), plana = testdb::FreshDemo(e);
  if (wal)
    for (const auto* d : {&importada, &plana}) testdb::RunSql(*d, QStringLiteral("PRAGMA journal_mode=WAL;"));
  const QString hoja = dir.filePath(QStringLiteral("empresas.csv"));
  QFile f(hoja);
  if (!f.open(QIODevice::WriteOnly) || f.write(Hoja()) < 0) return false;
  f.close();
  const QString antes = Filas(importada);
  const std::string log = dir.filePath("hijo.log").toStdString();
  const auto env = proceso::Entorno({"QT_QPA_PLATFORM=ninguna"});
  const proceso::Corrida aplicar =
      proceso::Lanzar({MA_PROGRAM_PATH,
                       {"--importar", hoja.toStdString(), Parametros(importada).toStdString(), "--aplicar"},
                       log,
                       ""},
                      env, 900000);
  const proceso::Corrida revisar = proceso::Lanzar(
      {MA_PROGRAM_PATH, {"--importar", hoja.toStdString(), Parametros(importada).toStdString()}, log, ""},
      env, 900000);
  const std::string self = QCoreApplication::applicationFilePath().toStdString();
  // Writing text columns on SQLite needs the collation of the program's extension, beside the program.
  QString odbc = ClientOdbcString(plana);
  if (e == testdb::Engine::Sqlite)
    odbc +=
        (odbc.endsWith(';') ? "" : ";") + QStringLiteral("LoadExt=%1/ma_sqlite_text.so;")
                                              .arg(QFileInfo(QStringLiteral(MA_PROGRAM_PATH)).absolutePath());
  const proceso::Corrida plano =
      proceso::Lanzar({self, {"--plain", odbc.toStdString()}, log, ""}, env, 900000);

  std::printf("\n== --importar --aplicar of %d new companies, %s ==\n", kEmpresas, n.c_str());
  for (const auto* c : {&aplicar, &revisar, &plano})
    if (!c->ok) {
      std::printf("not measured: %s\n", c->porque.c_str());
      return false;
    }
  const QString esperado = QStringLiteral("%1|%2").arg(kEmpresas).arg(kEmpresas * 16);
  const QString guardado = Agregado(antes, Filas(importada)), base = Agregado(antes, Filas(plana));
  if (guardado != esperado || base != esperado) {
    std::printf("not measured: stored %s (plain %s), expected %s companies|per-company rows\n",
                qPrintable(guardado), qPrintable(base), qPrintable(esperado));
    return false;
  }
  auto mostrar = [](const char* que, const proceso::Corrida& r) {
    std::printf("%-44s %9.1f ms (cpu %9.1f ms)   peak RSS %6.1f MB\n", que, r.wallMs, r.cpuMs, r.peakMb);
  };
  mostrar("--importar --aplicar", aplicar);
  mostrar("--importar, dry run (the same rows, stored)", revisar);
  mostrar("plain ODBC store of the same rows", plano);
  std::printf("%.2f ms per company, %.2fx the plain store\n", aplicar.wallMs / kEmpresas,
              aplicar.wallMs / plano.wallMs);
  if (e == testdb::Engine::Sqlite && !wal && !ajustes::Humo())
    std::printf("%s  %s: %.1f s (target under %.0f s)\n", aplicar.wallMs <= kObjetivoMs ? "PASS" : "MISS",
                n.c_str(), aplicar.wallMs / 1000, kObjetivoMs / 1000);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--plain") == 0) return GrabarPlano(QString::fromLocal8Bit(argv[2]));
  bool ok = true;
  for (auto e : ajustes::Motores()) {
    QTemporaryDir dir(QDir::tempPath() + "/importar_bench.XXXXXX");
    ok = Medir(e, dir) && ok;
    if (e == testdb::Engine::Sqlite) {
      QTemporaryDir otra(QDir::tempPath() + "/importar_bench.XXXXXX");
      ok = Medir(e, otra, true) && ok;
    }
  }
  return ok ? 0 : 1;
}
