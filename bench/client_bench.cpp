// The database client against plain ODBC, measured in the same run.
//
//  1. Opening a 10,000-row × 5-column recordset through the client, and fetching
//     the same rows with plain ODBC calls (SQLExecDirect, SQLBindCol, SQLFetch)
//     on a connection made from the same ODBC connection string, every value
//     kept in memory, as the recordset keeps its rows. The ratio of the two is
//     printed at the end (target: the client within 1.2×).
//  2. The memory of opening 5,000 companies with 200 KB logos (1 GB of logos):
//     measured in a fresh child process as the growth of its peak resident set
//     (VmHWM) and of the bytes malloc holds, across Recordset::Open (target: under 50 MB).
//
// Both engines: SQLite, and PostgreSQL on a private server (the run's, or one
// testdb starts); MA_BENCH_ENGINES=sqlite limits the run to SQLite. The smoke run
// (MA_BENCH_SMOKE=1): 1,000 rows, 50 companies.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "Collector.h"
#include "PlainOdbc.h"
#include "platform/client/Connection.h"
#include "platform/client/Constants.h"
#include "platform/client/Recordset.h"
#include "support/TestDatabases.h"

namespace {

const int kRows = ajustes::Tam(10000, 1000);
constexpr int kColumns = 5;
const int kCompanies = ajustes::Tam(5000, 50);
constexpr int kLogoBytes = 200 * 1024;
const char* kWideTable = "BENCH_ANCHA";

struct EngineData {
  testdb::Engine engine;
  testdb::Database wide;  // the 10,000-row table
  QString odbc;           // the ODBC string the client makes of the program's string
};

std::vector<EngineData>& Engines() {
  static std::vector<EngineData> e;
  return e;
}

// ---- Client ----

void ClientOpen(benchmark::State& state, const EngineData* e) {
  auto cn = ado::Connection::Create();
  cn->SetCursorLocation(ado::adUseClient);
  cn->Open(e->wide.programString);
  const QString sql = QString("SELECT * FROM ") + kWideTable;
  long long rows = 0;
  for (auto _ : state) {
    ado::Recordset rs;
    rs.Open(sql, cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    rows = rs.RecordCount();
    benchmark::DoNotOptimize(rows);
  }
  if (rows != kRows) state.SkipWithError("wrong row count");
  state.counters["rows"] = static_cast<double>(rows);
}

// ---- Plain ODBC ----

void PlainOdbc(benchmark::State& state, const EngineData* e) {
  Odbc odbc(e->odbc);
  const std::u16string sql = (QString("SELECT * FROM ") + kWideTable).toStdU16String();
  long long rows = 0, checksum = 0;
  for (auto _ : state) {
    // Kept in memory and let go each time, as the recordset holds its rows and is closed.
    PlainTable table;
    rows = PlainFetch(odbc.dbc, sql, &checksum, nullptr, &table);
    benchmark::DoNotOptimize(table.cells.data());
    benchmark::DoNotOptimize(checksum);
  }
  if (rows != kRows) state.SkipWithError("wrong row count");
  state.counters["rows"] = static_cast<double>(rows);
}

// ---- Memory, in a child process ----

long StatusKb(const char* key) {
  std::ifstream f("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(key);
  while (std::getline(f, line))
    if (line.compare(0, n, key) == 0) return std::strtol(line.c_str() + n + 1, nullptr, 10);
  return -1;
}

size_t MallocBytes() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

// Runs in the child: opens the companies and prints "peak_kb malloc_kb ms rows logo_bytes".
int MemoryChild(const QString& programString) {
  auto cn = ado::Connection::Create();
  cn->SetCursorLocation(ado::adUseClient);
  cn->Open(programString);
  {  // warm up the driver (its own first-use allocations are not the recordset's)
    ado::Recordset warm;
    warm.Open("SELECT * FROM P_MA_Empresas WHERE IdEmpresa = ''", cn, ado::adOpenDynamic,
              ado::adLockOptimistic);
  }
  malloc_trim(0);
  const long hwmBefore = StatusKb("VmHWM:");
  const long rssBefore = StatusKb("VmRSS:");
  const size_t heapBefore = MallocBytes();
  const auto t0 = std::chrono::steady_clock::now();
  ado::Recordset rs;
  rs.Open("SELECT * FROM P_MA_Empresas", cn, ado::adOpenDynamic, ado::adLockOptimistic);
  const auto t1 = std::chrono::steady_clock::now();
  const long hwmAfter = StatusKb("VmHWM:");
  const size_t heapAfter = MallocBytes();
  // One logo read on first use, to show it is there.
  rs.MoveLast();
  const auto logo = rs.Fields("Imagen").GetValue().toByteArray();
  std::printf("%ld %ld %lld %ld %lld %ld\n", std::max(hwmAfter, rssBefore) - std::max(hwmBefore, rssBefore),
              static_cast<long>((heapAfter - heapBefore) / 1024),
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(t1 - t0).count()),
              rs.RecordCount(), static_cast<long long>(logo.size()), hwmAfter);
  return 0;
}

struct MemoryResult {
  QString engine;
  long peakKb = -1, heapKb = -1, ms = -1, rows = -1, logo = -1, hwm = -1;
};

MemoryResult MeasureMemory(testdb::Engine engine) {
  MemoryResult r;
  r.engine = testdb::Name(engine);
  std::fprintf(stderr, "Preparing %d companies with %d KB logos on %s...\n", kCompanies, kLogoBytes / 1024,
               testdb::Name(engine));
  const auto db = testdb::FreshDemo(engine);
  testdb::GrowCompanies(db, kCompanies, kCompanies, kLogoBytes);
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments({"--memory-child", db.programString});
  child.start();
  child.waitForFinished(-1);
  const QStringList parts = QString::fromLocal8Bit(child.readAllStandardOutput()).simplified().split(' ');
  if (child.exitCode() != 0 || parts.size() != 6) {
    std::fprintf(stderr, "memory child failed: %s\n", child.readAllStandardError().constData());
    return r;
  }
  r.peakKb = parts[0].toLong();
  r.heapKb = parts[1].toLong();
  r.ms = parts[2].toLong();
  r.rows = parts[3].toLong();
  r.logo = parts[4].toLong();
  r.hwm = parts[5].toLong();
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--memory-child") == 0)
    return MemoryChild(QString::fromLocal8Bit(argv[2]));

  const std::vector<testdb::Engine> engines = ajustes::Motores();

  for (auto e : engines) {
    std::fprintf(stderr, "Preparing %d × %d rows on %s...\n", kRows, kColumns, testdb::Name(e));
    EngineData d{e, testdb::FreshEmpty(e), {}};
    testdb::CreateWideTable(d.wide, kWideTable, kRows, kColumns);
    d.odbc = ClientOdbcString(d.wide);
    Engines().push_back(d);
  }
  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d.engine);
    benchmark::RegisterBenchmark(("Open10kx5/PlainOdbc/" + n).c_str(), PlainOdbc, &d)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Open10kx5/Client/" + n).c_str(), ClientOpen, &d)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::vector<MemoryResult> memory;
  if (!std::getenv("MA_BENCH_SKIP_MEMORY"))
    for (auto e : engines) memory.push_back(MeasureMemory(e));

  constexpr double kRatioTarget = 1.2;
  std::printf("\n== Client against plain ODBC (same run; target: client within %.1fx) ==\n", kRatioTarget);
  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d.engine);
    const auto plain = reporter.ms["Open10kx5/PlainOdbc/" + n], client = reporter.ms["Open10kx5/Client/" + n];
    if (plain.real > 0 && client.real > 0 && plain.cpu > 0) {
      const double ratio = client.real / plain.real, cpuRatio = client.cpu / plain.cpu;
      std::printf(
          "%s %-10s client %7.2f ms (cpu %7.2f)   plain ODBC %7.2f ms (cpu %7.2f)   ratio %.2fx (cpu "
          "%.2fx)\n",
          std::max(ratio, cpuRatio) <= kRatioTarget ? "PASS" : "MISS", n.c_str(), client.real, client.cpu,
          plain.real, plain.cpu, ratio, cpuRatio);
    }
  }
  if (!memory.empty()) {
    std::printf("\n== Opening %d companies with %d KB logos (target: under 50 MB) ==\n", kCompanies,
                kLogoBytes / 1024);
    for (const auto& m : memory) {
      if (m.rows < 0) {
        std::printf("%-10s failed\n", m.engine.toLocal8Bit().constData());
        ++reporter.errores;
        continue;
      }
      std::printf(
          "%-10s peak RSS growth %6.1f MB   malloc growth %6.1f MB   open %ld ms   rows %ld   "
          "last logo read on use: %ld bytes  %s\n",
          m.engine.toLocal8Bit().constData(), m.peakKb / 1024.0, m.heapKb / 1024.0, m.ms, m.rows, m.logo,
          m.peakKb < 50 * 1024 ? "(within target)" : "(ABOVE TARGET)");
    }
  }
  benchmark::Shutdown();
  return reporter.errores ? 1 : 0;
}
