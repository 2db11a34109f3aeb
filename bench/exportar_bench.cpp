// --exportar of 100,000 companies to XLSX (and to CSV, for comparison), on
// SQLite and PostgreSQL (MA_BENCH_ENGINES), each a process of its own, against
// the baseline of the same run: a plain ODBC program reading the same columns
// of the same rows in the same order once. Peak memory is the child's ru_maxrss.
// Targets: XLSX under 10 s, within 3x the plain read's time (wall clock: the
// operator waits for it; the CPU times are shown beside), peak under 200 MB.
// The smoke run (MA_BENCH_SMOKE=1): 500 companies, one run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "PlainOdbc.h"
#include "Proceso.h"
#include "support/TestDatabases.h"

namespace {

const int kCompanies = ajustes::Tam(100000, 500);
const int kRuns = ajustes::Tam(3, 1);
constexpr double kTimeTargetMs = 10000;
constexpr double kRatioTarget = 3.0;
constexpr double kPeakTargetMb = 200;
constexpr int kTimeoutMs = 300000;

// The columns --exportar writes: all of the demo's but the logo.
const char* kSelect =
    "SELECT IdEmpresa, NombreEmpresa, Calle, Numero, Piso, Dpto, Localidad, CodigoPostal, Telefono, eMail, "
    "CUIT, Actividad, Observaciones, IdProvincia, PideHonorarios, P_Rubro, P_Zona FROM P_MA_Empresas "
    "ORDER BY IdEmpresa";
// Plain ODBC on SQLite has not the program's collation: the codes, right-aligned
// digits, come in the same order compared byte by byte.
const char* kSinColacion = " COLLATE BINARY";

proceso::Corrida Best(const proceso::Hijo& hijo) {
  proceso::Corrida best;
  for (int i = 0; i < kRuns; ++i) {
    const proceso::Corrida r = proceso::Lanzar(hijo, proceso::Entorno({}), kTimeoutMs);
    if (!r.ok) return r;
    const double peak = std::max(best.peakMb, r.peakMb);
    if (!best.ok || r.wallMs < best.wallMs) best = r;
    best.peakMb = peak;
  }
  return best;
}

// In a child, so that this process stays small: the companies added (SQLite: to
// a fresh demo copied to `name`; PostgreSQL: to the database of that name).
int Prepare(const std::string& engine, const QString& name) {
  testdb::Database d = ajustes::BaseDelHijo(engine, name);
  testdb::GrowCompanies(d, kCompanies - 12, 0, 0);
  if (engine == "postgres") return 0;
  return QFile::copy(d.dbName, name) ? 0 : 1;
}

int ReadPlain(const QString& odbcString, bool sqlite) {
  Odbc odbc(odbcString);
  long long checksum = 0;
  const QString sql = QString::fromLatin1(kSelect) + (sqlite ? kSinColacion : "");
  const long long rows = PlainFetch(odbc.dbc, sql.toStdU16String(), &checksum);
  return rows == kCompanies && checksum != 0 ? 0 : 1;
}

bool Medir(testdb::Engine e, const QTemporaryDir& dir) {
  const std::string n = testdb::Name(e);
  const std::string log = dir.filePath("child.log").toStdString();
  const std::string self = QCoreApplication::applicationFilePath().toStdString();
  std::fprintf(stderr, "Preparing %d companies on %s...\n", kCompanies, n.c_str());
  testdb::Database db;
  std::string engine = "sqlite";
  if (e == testdb::Engine::Postgres) {
    db = testdb::FreshDemo(e);
    engine = "postgres";
  } else {
    db = testdb::SqliteFile(dir.filePath("empresas.sqlite"));
  }
  const proceso::Corrida prep = proceso::Lanzar(
      {self, {"--prepare", engine, db.dbName.toStdString()}, log, ""}, proceso::Entorno({}), -1);
  if (!prep.ok) {
    std::printf("not measured on %s: preparing the data failed\n%s\n", n.c_str(), prep.porque.c_str());
    return false;
  }
  const std::string params = ("@Server=" + db.server + ";@DbName=" + db.dbName + ";@Usuario=" + db.user +
                              ";@Password=" + db.password + ";")
                                 .toStdString();
  const QString xlsx = dir.filePath("empresas.xlsx"), csv = dir.filePath("empresas.csv");
  const proceso::Corrida alXlsx =
      Best({MA_PROGRAM_PATH, {"--exportar", xlsx.toStdString(), params}, log, ""});
  const proceso::Corrida alCsv = Best({MA_PROGRAM_PATH, {"--exportar", csv.toStdString(), params}, log, ""});
  const proceso::Corrida plain =
      Best({self, {"--plain", engine, ClientOdbcString(db).toStdString()}, log, ""});

  std::printf("\n== --exportar of %d companies, %s ==\n", kCompanies, n.c_str());
  for (const auto* r : {&alXlsx, &alCsv, &plain})
    if (!r->ok) {
      std::printf("not measured: %s\n", r->porque.c_str());
      return false;
    }
  auto show = [](const std::string& what, const proceso::Corrida& r, const QString& file) {
    std::printf("%-30s %8.1f ms (cpu %8.1f ms)   peak RSS %6.1f MB", what.c_str(), r.wallMs, r.cpuMs,
                r.peakMb);
    if (!file.isEmpty()) std::printf("   file %.1f MB", QFileInfo(file).size() / 1048576.0);
    std::printf("\n");
  };
  show("--exportar to XLSX", alXlsx, xlsx);
  show("--exportar to CSV", alCsv, csv);
  show("plain ODBC read of the rows", plain, {});
  const double ratio = alXlsx.wallMs / plain.wallMs;
  std::printf("%s  %s: XLSX in %.2f s (target under %.0f s)\n",
              alXlsx.wallMs < kTimeTargetMs ? "PASS" : "MISS", n.c_str(), alXlsx.wallMs / 1000,
              kTimeTargetMs / 1000);
  std::printf("%s  %s: XLSX %.2fx the plain read's time (cpu %.2fx; target within %.0fx)\n",
              ratio <= kRatioTarget ? "PASS" : "MISS", n.c_str(), ratio, alXlsx.cpuMs / plain.cpuMs,
              kRatioTarget);
  std::printf("%s  %s: XLSX peak %.1f MB (target under %.0f MB)\n",
              alXlsx.peakMb < kPeakTargetMb ? "PASS" : "MISS", n.c_str(), alXlsx.peakMb, kPeakTargetMb);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--prepare") == 0)
    return Prepare(argv[2], QString::fromLocal8Bit(argv[3]));
  if (argc == 4 && std::strcmp(argv[1], "--plain") == 0)
    return ReadPlain(QString::fromLocal8Bit(argv[3]), std::strcmp(argv[2], "sqlite") == 0);

  benchmark::Initialize(&argc, argv);
  bool ok = true;
  for (auto e : ajustes::Motores()) {
    QTemporaryDir dir(QDir::tempPath() + "/exportar_bench.XXXXXX");
    ok = Medir(e, dir) && ok;
  }
  benchmark::Shutdown();
  return ok ? 0 : 1;
}
