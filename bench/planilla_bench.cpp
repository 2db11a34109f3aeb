// The sheet of all companies (Ctrl+P) on 100,000 companies against the same on
// 5,000, measured in the same run on SQLite and PostgreSQL.
//
//   BM_PlanillaAbierta/<n>  the columns and the first page read, the window built,
//                           shown offscreen and painted once, then closed
//   peak                    of a fresh process that opens the sheet on 100,000
//                           companies (VmHWM after the first paint)
//
// Targets: 100,000 within 1.5x of 5,000; peak memory under 150 MB.
// In both tables the first 50 companies carry a 150 KB logo, which the sheet leaves
// unread (SQLite still walks past it to the custom columns stored after it).
// The smoke run (MA_BENCH_SMOKE=1): 1,000 companies against 200.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "Collector.h"
#include "Proceso.h"
#include "company/form/PlanillaEmpresas.h"
#include "company/form/ui/frmPlanillaEmpresas.h"
#include "db/DB_Dll.h"
#include "platform/client/Connection.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

namespace {

const int kBase = ajustes::Tam(5000, 200);
const int kGrande = ajustes::Tam(100000, 1000);
const int kVeces = ajustes::Tam(5, 1);
constexpr int kLogoBytes = 150 * 1024;
constexpr int kConLogo = 50;
constexpr double kRatioTarget = 1.5;
constexpr double kPeakTargetMb = 150;

struct Datos {
  testdb::Engine engine;
  int empresas = 0;
  testdb::Database db;
  ado::ConnectionPtr cnn;
};

std::vector<std::unique_ptr<Datos>>& Todos() {
  static std::vector<std::unique_ptr<Datos>> d;
  return d;
}

void Conectar(const ado::ConnectionPtr& cnn) {
  auto& db = DB_Dll::Instancia();
  db.SetCnn(cnn);
  db.gOpenFlag = true;
  db.gEsAdmin = true;
}

// Opens the sheet as Ctrl+P does, up to its first paint; the rows it shows.
int Abrir(const ado::ConnectionPtr& cnn) {
  PlanillaEmpresas p(cnn, QStringLiteral("P_MA_Empresas"));
  if (!p.Abrir()) return -1;
  frmPlanillaEmpresas w(p, QStringLiteral("Planilla de Empresas"));
  w.show();
  QApplication::processEvents();
  const int filas = p.Modelo().rowCount();
  w.close();
  return filas;
}

void BM_PlanillaAbierta(benchmark::State& state, const Datos* d) {
  Conectar(d->cnn);
  int filas = 0;
  for (auto _ : state) filas = Abrir(d->cnn);
  if (filas != ModeloPlanilla::kFilasPorPagina) state.SkipWithError("the first page is not what was read");
  state.counters["filas"] = filas;
}

double PicoPropioMb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

// In the child: opens the sheet once and prints its own peak.
int Pico(const QString& conexion) {
  auto op = std::make_shared<OperadorGuionado>();
  EstablecerOperador(op);
  auto cnn = ado::Connection::Create();
  cnn->Open(conexion);
  Conectar(cnn);
  const int filas = Abrir(cnn);
  std::printf("%.1f\n", PicoPropioMb());
  return filas > 0 && op->mensajes.empty() ? 0 : 1;
}

double PicoDeHijo(const std::string& programa, const Datos& d, const QTemporaryDir& dir) {
  proceso::Hijo h;
  h.programa = programa;
  h.args = {"--pico", d.db.programString.toStdString()};
  h.log = QDir(dir.path()).filePath("pico.log").toStdString();
  h.salida = QDir(dir.path()).filePath("pico.txt").toStdString();
  const proceso::Corrida c = proceso::Lanzar(h, proceso::Entorno({"QT_QPA_PLATFORM=offscreen"}), 120000);
  if (!c.ok) {
    std::fprintf(stderr, "the peak's process failed: %s\n%s\n", c.porque.c_str(),
                 proceso::Cola(h.log).c_str());
    return -1;
  }
  QFile f(QString::fromStdString(h.salida));
  return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toDouble() : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::string(argv[1]) == "--pico") {
    QApplication app(argc, argv);
    return Pico(QString::fromLocal8Bit(argv[2]));
  }
  QApplication app(argc, argv);
  auto op = OperadorGuionado::Instalar();
  QTemporaryDir dir;

  for (auto e : ajustes::Motores()) {
    for (int n : {kBase, kGrande}) {
      std::fprintf(stderr, "Preparing %d companies on %s...\n", n, testdb::Name(e));
      auto d = std::make_unique<Datos>();
      d->engine = e;
      d->empresas = n;
      d->db = testdb::FreshDemo(e);
      testdb::GrowCompanies(d->db, n - 12, kConLogo, kLogoBytes);  // the demo has 12
      d->cnn = ado::Connection::Create();
      d->cnn->Open(d->db.programString);
      Todos().push_back(std::move(d));
    }
  }
  for (const auto& d : Todos())
    benchmark::RegisterBenchmark(
        ("BM_PlanillaAbierta/" + std::string(testdb::Name(d->engine)) + "/" + std::to_string(d->empresas))
            .c_str(),
        BM_PlanillaAbierta, d.get())
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(kVeces)
        ->ReportAggregatesOnly(true);
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n== Planilla on %d companies against %d (same run) ==\n", kGrande, kBase);
  for (auto e : ajustes::Motores()) {
    const std::string n = testdb::Name(e);
    const auto medida = [&](int empresas) {
      return reporter
          .ms["BM_PlanillaAbierta/" + n + "/" + std::to_string(empresas) +
              "/repeats:" + std::to_string(kVeces)]
          .real;
    };
    const double base = medida(kBase), grande = medida(kGrande);
    if (base > 0 && grande > 0) {
      const double x = grande / base;
      std::printf("%s %-10s open: %7.2f ms against %7.2f ms, %.2fx (target within %.1fx)\n",
                  x <= kRatioTarget ? "PASS" : "MISS", n.c_str(), grande, base, x, kRatioTarget);
    }
    for (const auto& d : Todos()) {
      if (d->engine != e || d->empresas != kGrande) continue;
      const double pico = PicoDeHijo(QCoreApplication::applicationFilePath().toStdString(), *d, dir);
      std::printf("%s %-10s peak of a process opening it on %d companies: %.1f MB (target under %.0f MB)\n",
                  pico > 0 && pico < kPeakTargetMb ? "PASS" : "MISS", n.c_str(), kGrande, pico,
                  kPeakTargetMb);
      if (pico <= 0) ++reporter.errores;
    }
  }
  Todos().clear();
  DB_Dll::Instancia().SetCnn(nullptr);
  benchmark::Shutdown();
  return reporter.errores ? 1 : 0;
}
