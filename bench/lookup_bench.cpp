// The list lookup against plain ODBC, measured in the same run.
//
//  1. BM_PlainOdbc: the statement the lookup runs for a 10,000-row × 5-column
//     table, fetched with plain ODBC calls (SQLExecDirect, SQLBindCol, SQLFetch).
//  2. BM_ListaAbierta: the lookup request for that table, as a site with
//     "TopConsArt" = 10000 makes it (definition file, statement built), with the
//     list dialog loaded, shown offscreen and painted once, then cancelled and
//     unloaded. The ratio to (1) is printed at the end (target: within 4×).
//  3. BM_BusquedaIncremental: one keystroke in a search box over the 10,000 loaded
//     rows, delivered as a key event to the box, repaint included (target: under
//     5 ms). "SinCoincidencia" types GA / GAR, which no row starts with: every row
//     is compared. "AlFinal" types the beginning of the last rows' text: the
//     selection moves to the end of the list.
//
// SQLite by default; MA_BENCH_ENGINES=sqlite,postgres adds PostgreSQL (testdb starts
// a private server).
#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "db/DB_Dll.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/MascarasConsultas.h"
#include "lookup/ui/Lib_FrmCons3.h"
#include "platform/client/Connection.h"
#include "platform/client/ConnectionString.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 5;
const char* kTable = "BENCH_ANCHA";
// The definition record a site would keep for the table: five columns, searched by DESCRIPCION.
const char* kDefinedColumns = "|DESCRIPCION|CODIGO|ID|FECHA4|TEXTO5|";
// What the search box types: no row starts with it; and the start of the last rows.
const QString kNoMatch = QStringLiteral("GA");
const QString kLastRows = QStringLiteral("Descripción del registro 999");
constexpr double kRatioTarget = 4.0;
constexpr double kKeystrokeTargetMs = 5.0;

struct EngineData {
  testdb::Engine engine;
  testdb::Database db;
  ado::ConnectionPtr cnn;  // the program's connection, handed to DB_Dll
  QString odbc;            // the ODBC string the client makes of the program's string
  QString statement;       // what the lookup sends to the driver
};

std::vector<std::unique_ptr<EngineData>>& Engines() {
  static std::vector<std::unique_ptr<EngineData>> e;
  return e;
}

// Folder of the definition file and of the widths file.
QTemporaryDir& Carpeta() {
  static QTemporaryDir d;
  return d;
}

std::shared_ptr<OperadorGuionado>& Op() {
  static std::shared_ptr<OperadorGuionado> op;
  return op;
}

QString ClientOdbcString(const testdb::Database& db) {
  ado::cs::Environment env;
  env.dataSource = [&](const QString& name, QString* driver) {
    if (db.engine != testdb::Engine::Postgres || name != db.server) return false;
    *driver = "PostgreSQL Unicode";
    return true;
  };
  return ado::cs::Translate(db.programString, {}, {}, env).odbc;
}

// The request's settings as a site that raised "TopConsArt" has them.
std::unique_ptr<Lib_ClsCons3> Consulta() {
  auto c = std::make_unique<Lib_ClsCons3>([](const QString& clave) {
    return clave.compare(QLatin1String("TopConsArt"), Qt::CaseInsensitive) == 0 ? QString::number(kRows)
                                                                                : QStringLiteral(" ");
  });
  c->gRutaMascaraConsultas = QDir(Carpeta().path()).filePath("consultas.vmt");
  c->gUsarMascarasConsultas = true;
  return c;
}

// One request for the table, the dialog opened by `abrir`.
void Pedir(Lib_ClsCons3& c, std::function<void(SolicitudLista&)> abrir) {
  Op()->AlMostrar([&](DialogoModal& d) { abrir(dynamic_cast<SolicitudLista&>(d)); });
  ColeccionPtr cmps = std::make_shared<Coleccion>();
  QString clave, campo, where, opcional, defecto;
  bool arbol = false;
  c.ConsultaSearch(kTable, cmps, clave, campo, where, opcional, arbol, defecto);
}

// The dialog as the program's runner opens it; show() and one pass of the event
// loop stand for the modal loop's first paint.
struct DialogoAbierto {
  explicit DialogoAbierto(SolicitudLista& s) : f(s) {
    f.Logica().FijarCarpeta(Carpeta().path());
    f.Cargar();
    f.show();
    QApplication::processEvents();
  }
  ~DialogoAbierto() {
    if (f.isVisible()) f.CancelarBoton()->click();
    f.Descargar();
  }
  Lib_FrmCons3 f;
};

bool SinMensajes(benchmark::State& state) {
  if (Op()->mensajes.empty()) return true;
  state.SkipWithError(("operator message: " + Op()->mensajes.front().prompt.toStdString()).c_str());
  return false;
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

// One bound buffer per column, SQLFetch row by row, every value looked at.
long long PlainFetch(SQLHDBC dbc, const std::u16string& sql, long long* checksum, int* columns) {
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
  if (!SQL_SUCCEEDED(SQLExecDirectW(st, (SQLWCHAR*)sql.c_str(), SQL_NTS))) {
    std::fprintf(stderr, "plain ODBC query failed\n");
    std::exit(1);
  }
  SQLSMALLINT n = 0;
  SQLNumResultCols(st, &n);
  *columns = n;
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

void BM_PlainOdbc(benchmark::State& state, const EngineData* e) {
  Odbc odbc(e->odbc);
  const std::u16string sql = e->statement.toStdU16String();
  long long rows = 0, checksum = 0;
  int columns = 0;
  for (auto _ : state) {
    rows = PlainFetch(odbc.dbc, sql, &checksum, &columns);
    benchmark::DoNotOptimize(checksum);
  }
  if (rows != kRows || columns != kColumns) state.SkipWithError("wrong row or column count");
  state.counters["rows"] = static_cast<double>(rows);
}

// ---- The list lookup ----

void BM_ListaAbierta(benchmark::State& state, const EngineData* e) {
  DB_Dll::Instancia().SetCnn(e->cnn);
  Op()->mensajes.clear();
  auto c = Consulta();
  int rows = 0, columns = 0;
  for (auto _ : state) {
    Pedir(*c, [&](SolicitudLista& s) {
      DialogoAbierto d(s);
      rows = d.f.Logica().Modelo().Filas();
      columns = d.f.Logica().Modelo().Columnas();
    });
  }
  if (!SinMensajes(state)) return;
  if (rows != kRows || columns != kColumns) state.SkipWithError("wrong row or column count");
  state.counters["rows"] = rows;
}

// A key press as the windowing system delivers it; letters carry their upper-case code.
void Teclear(QLineEdit* caja, int tecla, const QString& texto = {}) {
  QKeyEvent ev(QEvent::KeyPress, tecla, Qt::NoModifier, texto);
  QApplication::sendEvent(caja, &ev);
  QApplication::processEvents();
}

void BM_BusquedaIncremental(benchmark::State& state, const EngineData* e, const QString& prefijo,
                            const QString& letra) {
  DB_Dll::Instancia().SetCnn(e->cnn);
  Op()->mensajes.clear();
  auto c = Consulta();
  Pedir(*c, [&](SolicitudLista& s) {
    DialogoAbierto d(s);
    if (d.f.Logica().Modelo().Filas() != kRows) {
      state.SkipWithError("wrong row count");
      return;
    }
    QLineEdit* caja = d.f.Caja(0);  // DESCRIPCION, the first column
    caja->setFocus();
    for (const QChar ch : prefijo) Teclear(caja, ch.toUpper().unicode(), QString(ch));
    const int tecla = letra.at(0).toUpper().unicode();
    bool escrita = false;
    int ultimaFila = -1;
    // Each iteration is one keystroke: the letter typed, then taken back.
    for (auto _ : state) {
      if (escrita)
        Teclear(caja, Qt::Key_Backspace);
      else
        Teclear(caja, tecla, letra);
      escrita = !escrita;
      ultimaFila = d.f.Logica().FilaActual();
    }
    benchmark::DoNotOptimize(ultimaFila);
    const QString esperado = prefijo + (escrita ? letra : QString());
    if (caja->text() != esperado) state.SkipWithError("the box did not take the keystrokes");
    state.counters["row"] = ultimaFila;
  });
  SinMensajes(state);
}

// Keeps every benchmark's time for the figures printed at the end.
class Collector : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;  // milliseconds
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

std::unique_ptr<EngineData> Preparar(testdb::Engine engine) {
  std::fprintf(stderr, "Preparing %d × %d rows on %s...\n", kRows, kColumns, testdb::Name(engine));
  auto d = std::make_unique<EngineData>();
  d->engine = engine;
  d->db = testdb::FreshDemo(engine);
  testdb::CreateWideTable(d->db, kTable, kRows, kColumns);
  d->odbc = ClientOdbcString(d->db);
  d->cnn = ado::Connection::Create();
  d->cnn->Open(d->db.programString);
  DB_Dll::Instancia().SetCnn(d->cnn);
  // The statement as the request builds it and the dialog sends it.
  auto c = Consulta();
  QString sql;
  Pedir(*c, [&](SolicitudLista& s) { sql = s.SQL; });
  d->statement = d->cnn->Adapt(DB_Dll::Instancia().SS_TSinonimos(QLatin1Char(' ') + sql));
  std::fprintf(stderr, "  %s\n", qPrintable(d->statement));
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Op() = OperadorGuionado::Instalar();

  mascaras::Agregar(QDir(Carpeta().path()).filePath("consultas.vmt"),
                    {{QStringLiteral("Tabla ancha"), kTable, kDefinedColumns, QString()}});
  {  // remembered widths for the table, so that loading applies them
    QFile f(QDir(Carpeta().path()).filePath("CONSULTASLEN.VMT"));
    if (!f.open(QIODevice::WriteOnly)) return 1;
    f.write("\"VT_CLIENTES\",\"3000|1200|1500|\"\r\n");
    f.write(QByteArray("\"") + kTable + "\",\"4200|1500|900|1600|2700|\"\r\n");
  }

  const char* only = std::getenv("MA_BENCH_ENGINES");
  for (auto e : testdb::AllEngines()) {
    bool wanted = !only && e == testdb::Engine::Sqlite;
    for (const QString& w : QString(only ? only : "").split(',', Qt::SkipEmptyParts))
      wanted = wanted || QString(testdb::Name(e)).startsWith(w.trimmed(), Qt::CaseInsensitive);
    if (wanted) Engines().push_back(Preparar(e));
  }

  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d->engine);
    const EngineData* e = d.get();
    benchmark::RegisterBenchmark(("BM_PlainOdbc/" + n).c_str(), BM_PlainOdbc, e)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_ListaAbierta/" + n).c_str(), BM_ListaAbierta, e)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_BusquedaIncremental/SinCoincidencia/" + n).c_str(),
                                 BM_BusquedaIncremental, e, kNoMatch, QStringLiteral("R"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("BM_BusquedaIncremental/AlFinal/" + n).c_str(), BM_BusquedaIncremental, e,
                                 kLastRows, QStringLiteral("9"))
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n== List lookup of %d × %d against plain ODBC (same run) ==\n", kRows, kColumns);
  for (const auto& d : Engines()) {
    const std::string n = testdb::Name(d->engine);
    const auto plain = reporter.ms["BM_PlainOdbc/" + n], lista = reporter.ms["BM_ListaAbierta/" + n];
    if (plain.real > 0 && lista.real > 0) {
      const double ratio = lista.real / plain.real;
      std::printf(
          "%s %-10s open: lookup %7.2f ms   plain ODBC %7.2f ms   ratio %.2fx (target within %.0fx)\n",
          ratio <= kRatioTarget ? "PASS" : "MISS", n.c_str(), lista.real, plain.real, ratio, kRatioTarget);
    }
    for (const char* v : {"SinCoincidencia", "AlFinal"}) {
      const auto k = reporter.ms[std::string("BM_BusquedaIncremental/") + v + "/" + n];
      if (k.real > 0)
        std::printf("%s %-10s keystroke (%s): %.3f ms (target under %.0f ms)\n",
                    k.real < kKeystrokeTargetMs ? "PASS" : "MISS", n.c_str(), v, k.real, kKeystrokeTargetMs);
    }
  }
  Engines().clear();
  DB_Dll::Instancia().SetCnn(nullptr);
  benchmark::Shutdown();
  return 0;
}
