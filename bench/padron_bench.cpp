// The import of AFIP's register (MA_Empresas --padron) on a synthetic register
// the benchmark writes (sorted valid CUITs, names, codes) and zips as AFIP
// publishes it: 1 million lines, MA_BENCH_PADRON_LINEAS for another count
// (20000000 for the full register); the smoke run 20,000. On SQLite and
// PostgreSQL (MA_BENCH_ENGINES), each into an empty database and then again
// over the register just loaded (the everyday case: the previous one replaced).
// Targets, for 20 million lines (a smaller run is judged on its time scaled to
// 20 million): under 4 minutes, peak memory under 200 MB, table plus index no
// larger than 1.5x the text file. Also the reading alone (the zip's lines
// parsed, no database), in this process.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "Ajustes.h"
#include "Collector.h"
#include "Proceso.h"
#include "company/rules/LectorPadron.h"
#include "support/PadronDePrueba.h"
#include "support/TestDatabases.h"

namespace {

constexpr double kLineasObjetivo = 20e6;
constexpr double kSegundosObjetivo = 240;
constexpr double kPicoObjetivoMb = 200;
constexpr double kTamanoObjetivo = 1.5;

qint64 Lineas() {
  const qint64 pedidas = qEnvironmentVariableIntValue("MA_BENCH_PADRON_LINEAS");
  return ajustes::Humo() ? 20000 : pedidas > 0 ? pedidas : 1000000;
}

QString Zip;  // the register the runs read

void BM_Leer(benchmark::State& state) {
  qint64 n = 0;
  for (auto _ : state) {
    auto lector = padron::Lector::Abrir(Zip);
    padron::Linea l;
    while (lector->Siguiente(l)) ++n;
  }
  state.counters["lineas/s"] = benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsRate);
}

// Bytes of the table and its index.
qint64 Tamano(const testdb::Database& d) {
  const QStringList r =
      testdb::Query(d, d.engine == testdb::Engine::Sqlite
                           ? QStringLiteral("SELECT SUM(pgsize) FROM dbstat WHERE name = 'MA_PADRON_AFIP';")
                           : QStringLiteral("SELECT pg_total_relation_size('ma_padron_afip');"));
  return r.isEmpty() ? -1 : r.first().toLongLong();
}

bool Medir(testdb::Engine e, const QTemporaryDir& dir, qint64 lineas, qint64 bytesTexto) {
  const std::string n = testdb::Name(e);
  const testdb::Database d = testdb::FreshEmpty(e);
  const std::string log = dir.filePath(QStringLiteral("hijo.log")).toStdString();
  const proceso::Hijo hijo{MA_PROGRAM_PATH,
                           {"--padron", Zip.toStdString(),
                            ("@Server=" + d.server + ";@DbName=" + d.dbName + ";@Usuario=" + d.user +
                             ";@Password=" + d.password + ";")
                                .toStdString()},
                           log,
                           dir.filePath(QStringLiteral("hijo.out")).toStdString()};
  const auto entorno = proceso::Entorno({});
  const int limite = static_cast<int>(std::max<qint64>(600, lineas / 20000)) * 1000;
  std::printf("\n== --padron, %lld lines (%.0f MB of text), %s ==\n", static_cast<long long>(lineas),
              bytesTexto / 1e6, n.c_str());
  std::fflush(stdout);
  const proceso::Corrida primera = proceso::Lanzar(hijo, entorno, limite);
  const qint64 tamano = primera.ok ? Tamano(d) : -1;
  const proceso::Corrida segunda = primera.ok ? proceso::Lanzar(hijo, entorno, limite) : proceso::Corrida{};
  if (!primera.ok || !segunda.ok) {
    std::printf("not measured: %s\n", (primera.ok ? segunda : primera).porque.c_str());
    return false;
  }
  auto mostrar = [](const char* que, const proceso::Corrida& r) {
    std::printf("%-34s %9.1f s (cpu %8.1f s)   peak RSS %6.1f MB\n", que, r.wallMs / 1e3, r.cpuMs / 1e3,
                r.peakMb);
  };
  mostrar("into an empty database", primera);
  mostrar("replacing the register loaded", segunda);
  const double escala = kLineasObjetivo / static_cast<double>(lineas);
  const double segundos = std::max(primera.wallMs, segunda.wallMs) / 1e3 * escala;
  const double pico = std::max(primera.peakMb, segunda.peakMb);
  const double proporcion = static_cast<double>(tamano) / static_cast<double>(bytesTexto);
  std::printf("%s  %s: %.0f s for 20 million lines%s (target under %.0f s)\n",
              segundos < kSegundosObjetivo ? "PASS" : "MISS", n.c_str(), segundos,
              escala == 1 ? "" : " (scaled from this run)", kSegundosObjetivo);
  std::printf("%s  %s: peak %.1f MB (target under %.0f MB)\n", pico < kPicoObjetivoMb ? "PASS" : "MISS",
              n.c_str(), pico, kPicoObjetivoMb);
  std::printf("%s  %s: table and index %.0f MB, %.2fx the text (target within %.1fx)\n",
              tamano > 0 && proporcion <= kTamanoObjetivo ? "PASS" : "MISS", n.c_str(), tamano / 1e6,
              proporcion, kTamanoObjetivo);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/padron_bench.XXXXXX"));
  const qint64 lineas = Lineas();
  const QString texto = dir.filePath(QStringLiteral("SELE-SAL-CONSTA.p20out1.20260905.tmp"));
  Zip = dir.filePath(QStringLiteral("apellidoNombreDenominacion.zip"));
  std::fprintf(stderr, "Writing a register of %lld lines and its zip...\n", static_cast<long long>(lineas));
  padron_prueba::Escribir(texto, lineas);
  padron_prueba::Comprimir(Zip, QFileInfo(texto).fileName(), texto);
  const qint64 bytesTexto = QFileInfo(texto).size();
  QFile::remove(texto);  // only the zip is read

  benchmark::RegisterBenchmark("Padron/LeerElZip", BM_Leer)->Unit(benchmark::kMillisecond)->Iterations(1);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  bool ok = reporter.errores == 0;
  for (auto e : ajustes::Motores()) ok = Medir(e, dir, lineas, bytesTexto) && ok;
  benchmark::Shutdown();
  return ok ? 0 : 1;
}
