// The database client against plain ODBC, measured in the same run.
//
//  1. Opening a 10,000-row × 5-column recordset through the client, and fetching
//     the same rows with plain ODBC calls (SQLExecDirect, SQLBindCol, SQLFetch)
//     on a connection made from the same ODBC connection string. The ratio of
//     the two is printed at the end (target: the client within 1.5×).
//  2. The memory of opening 5,000 companies with 200 KB logos (1 GB of logos):
//     measured in a fresh child process as the growth of its peak resident set
//     (VmHWM) and of the bytes malloc holds, across Recordset::Open (target: under 50 MB).
//
// Both engines: SQLite, and PostgreSQL on a private server (testdb starts one;
// MA_BENCH_ENGINES=sqlite limits the run to SQLite).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sql.h>
#include <sqlext.h>
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
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/client/Connection.h"
#include "platform/client/ConnectionString.h"
#include "platform/client/Constants.h"
#include "platform/client/Recordset.h"
#include "support/TestDatabases.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 5;
constexpr int kCompanies = 5000;
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

// The ODBC connection string the client connects with, for the plain ODBC side.
QString ClientOdbcString(const testdb::Database& db) {
  ado::cs::Environment env;
  env.dataSource = [&](const QString& name, QString* driver) {
    if (db.engine != testdb::Engine::Postgres || name != db.server) return false;
    *driver = "PostgreSQL Unicode";
    return true;
  };
  return ado::cs::Translate(db.programString, {}, {}, env).odbc;
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

struct Odbc {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  explicit Odbc(const QString& cs) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const std::u16string w = cs.toStdU16String();
    const SQLRETURN r = SQLDriverConnectW(dbc, nullptr, (SQLWCHAR*)w.c_str(), SQL_NTS, nullptr, 0, nullptr,
                                          SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(r)) {
      std::fprintf(stderr, "plain ODBC connect failed\n");
      std::exit(1);
    }
  }
  ~Odbc() {
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

// The straightforward plain-ODBC read: one bound buffer per column, SQLFetch row
// by row, every value looked at (text lengths added up, numbers summed).
long long PlainFetch(SQLHDBC dbc, const std::u16string& sql, long long* checksum) {
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
  if (!SQL_SUCCEEDED(SQLExecDirectW(st, (SQLWCHAR*)sql.c_str(), SQL_NTS))) {
    std::fprintf(stderr, "plain ODBC query failed\n");
    std::exit(1);
  }
  SQLSMALLINT n = 0;
  SQLNumResultCols(st, &n);
  std::vector<SQLSMALLINT> types(n);
  std::vector<std::vector<char>> bufs(n);
  std::vector<SQLLEN> ind(n);
  for (SQLUSMALLINT c = 1; c <= n; ++c) {
    SQLSMALLINT type = 0, digits = 0, nullable = 0, len = 0;
    SQLULEN size = 0;
    SQLWCHAR name[128];
    SQLDescribeColW(st, c, name, 128, &len, &type, &size, &digits, &nullable);
    SQLSMALLINT ctype;
    size_t bytes;
    switch (type) {
      case SQL_INTEGER:
      case SQL_SMALLINT:
      case SQL_BIGINT:
      case SQL_TINYINT:
        ctype = SQL_C_SBIGINT;
        bytes = sizeof(SQLBIGINT);
        break;
      case SQL_TYPE_DATE:
        ctype = SQL_C_TYPE_DATE;
        bytes = sizeof(SQL_DATE_STRUCT);
        break;
      default:
        ctype = SQL_C_WCHAR;
        bytes = (std::max<SQLULEN>(size, 64) * 2 + 1) * sizeof(SQLWCHAR);
        break;
    }
    types[c - 1] = ctype;
    bufs[c - 1].resize(bytes);
    SQLBindCol(st, c, ctype, bufs[c - 1].data(), static_cast<SQLLEN>(bytes), &ind[c - 1]);
  }
  long long rows = 0;
  while (SQL_SUCCEEDED(SQLFetch(st))) {
    ++rows;
    for (int c = 0; c < n; ++c) {
      if (ind[c] == SQL_NULL_DATA) continue;
      if (types[c] == SQL_C_SBIGINT) {
        SQLBIGINT v;
        std::memcpy(&v, bufs[c].data(), sizeof v);
        *checksum += v;
      } else if (types[c] == SQL_C_TYPE_DATE) {
        SQL_DATE_STRUCT d;
        std::memcpy(&d, bufs[c].data(), sizeof d);
        *checksum += d.day;
      } else {
        *checksum += ind[c];
      }
    }
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return rows;
}

void PlainOdbc(benchmark::State& state, const EngineData* e) {
  Odbc odbc(e->odbc);
  const std::u16string sql = (QString("SELECT * FROM ") + kWideTable).toStdU16String();
  long long rows = 0, checksum = 0;
  for (auto _ : state) {
    rows = PlainFetch(odbc.dbc, sql, &checksum);
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
    warm.Open("SELECT * FROM P_MA_Empresas WHERE IdEmpresa = ''", cn, ado::adOpenDynamic, ado::adLockOptimistic);
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

// Keeps every benchmark's time for the ratios printed at the end.
// Repetitions report their median.
class Collector : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;  // milliseconds (the benchmarks' unit)
  };
  std::map<std::string, Times> ms;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.error_occurred) continue;
      const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
      if (median || (r.run_type == Run::RT_Iteration && !medians_.count(r.run_name.str())))
        ms[r.run_name.str()] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
      if (median) medians_.insert(r.run_name.str());
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--memory-child") == 0) return MemoryChild(QString::fromLocal8Bit(argv[2]));

  const char* only = std::getenv("MA_BENCH_ENGINES");
  std::vector<testdb::Engine> engines;
  for (auto e : testdb::AllEngines()) {
    bool wanted = !only;
    for (const QString& w : QString(only ? only : "").split(',', Qt::SkipEmptyParts))
      wanted = wanted || QString(testdb::Name(e)).startsWith(w.trimmed(), Qt::CaseInsensitive);
    if (wanted) engines.push_back(e);
  }

  for (auto e : engines) {
    std::fprintf(stderr, "Preparing %d × %d rows on %s...\n", kRows, kColumns, testdb::Name(e));
    EngineData d{e, testdb::FreshEmpty(e), {}};
    testdb::CreateWideTable(d.wide, kWideTable, kRows, kColumns);
    d.odbc = ClientOdbcString(d.wide);
    Engines().push_back(d);
  }
  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d.engine);
    benchmark::RegisterBenchmark(("Open10kx5/PlainOdbc/" + n).c_str(), PlainOdbc, &d)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Open10kx5/Client/" + n).c_str(), ClientOpen, &d)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::vector<MemoryResult> memory;
  if (!std::getenv("MA_BENCH_SKIP_MEMORY"))
    for (auto e : engines) memory.push_back(MeasureMemory(e));

  std::printf("\n== Client against plain ODBC (same run; target: client within 1.5x) ==\n");
  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d.engine);
    const auto plain = reporter.ms["Open10kx5/PlainOdbc/" + n], client = reporter.ms["Open10kx5/Client/" + n];
    if (plain.real > 0 && client.real > 0 && plain.cpu > 0) {
      const double ratio = client.real / plain.real, cpuRatio = client.cpu / plain.cpu;
      std::printf("%-10s client %7.2f ms (cpu %7.2f)   plain ODBC %7.2f ms (cpu %7.2f)   ratio %.2fx (cpu %.2fx)  %s\n",
                  n.c_str(), client.real, client.cpu, plain.real, plain.cpu, ratio, cpuRatio,
                  std::max(ratio, cpuRatio) <= 1.5 ? "(within target)" : "(ABOVE TARGET)");
    }
  }
  if (!memory.empty()) {
    std::printf("\n== Opening %d companies with %d KB logos (target: under 50 MB) ==\n", kCompanies, kLogoBytes / 1024);
    for (const auto& m : memory) {
      if (m.rows < 0) {
        std::printf("%-10s failed\n", m.engine.toLocal8Bit().constData());
        continue;
      }
      std::printf("%-10s peak RSS growth %6.1f MB   malloc growth %6.1f MB   open %ld ms   rows %ld   "
                  "last logo read on use: %ld bytes  %s\n",
                  m.engine.toLocal8Bit().constData(), m.peakKb / 1024.0, m.heapKb / 1024.0, m.ms, m.rows, m.logo,
                  m.peakKb < 50 * 1024 ? "(within target)" : "(ABOVE TARGET)");
    }
  }
  benchmark::Shutdown();
  return 0;
}
