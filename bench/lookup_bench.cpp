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
//     1 ms). "SinCoincidencia" types GA / GAR, which no row starts with: every row
//     is compared. "AlFinal" types the beginning of the last rows' text: the
//     selection moves to the end of the list.
//
// SQLite and PostgreSQL (the run's private server, or one testdb starts);
// MA_BENCH_ENGINES=sqlite for one. The smoke run (MA_BENCH_SMOKE=1): 1,000 rows.
#include <benchmark/benchmark.h>

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
#include <memory>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "Collector.h"
#include "PlainOdbc.h"
#include "db/DB_Dll.h"
#include "lookup/ArchivoDefiniciones.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/ui/Lib_FrmCons3.h"
#include "platform/client/Connection.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

namespace {

const int kRows = ajustes::Tam(10000, 1000);
constexpr int kColumns = 5;
const char* kTable = "BENCH_ANCHA";
// The definition record a site would keep for the table: five columns, searched by DESCRIPCION.
const char* kDefinedColumns = "|DESCRIPCION|CODIGO|ID|FECHA4|TEXTO5|";
// What the search box types: no row starts with it; and the start of the last rows.
const QString kNoMatch = QStringLiteral("GA");
const QString kLastRows = QStringLiteral("Descripción del registro 999");
constexpr double kRatioTarget = 4.0;
constexpr double kKeystrokeTargetMs = 1.0;

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

  for (auto e : ajustes::Motores()) Engines().push_back(Preparar(e));

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
  return reporter.errores ? 1 : 0;
}
