// AFIP's register in the company database, and what it costs the program, on
// SQLite and PostgreSQL (MA_BENCH_ENGINES):
//  - the form's look-up of one CUIT in a register of MA_BENCH_PADRON_FILAS rows
//    (1,000,000 unless set; 20,000,000 is the size of the real one), against
//    the same row read by its key over plain ODBC; target under 2 ms;
//  - the form's start (connection, load, first company shown) and its moves
//    (ANTERIOR/SIGUIENTE), with the register and without it; target within 1.1x;
//  - `MA_Empresas --verificar` of 100,000 companies, with the register and
//    without it, in a process of its own; target within 1.5x.
// The database is the demo grown to 100,000 companies with well-formed CUITs;
// the register holds nine in ten of them (one in seven of those under another
// name) and the rest of its rows are other taxpayers. "Without" is the same
// database with the register's date table renamed: the program then finds no
// register. The smoke run (MA_BENCH_SMOKE=1): 500 companies, 20,000 rows.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "Collector.h"
#include "PlainOdbc.h"
#include "Proceso.h"
#include "company/form/ui/frmMA_Empresas.h"
#include "company/rules/ConsultaPadron.h"
#include "company/rules/Cuit.h"
#include "db/DB_Dll.h"
#include "settings/Configuracion.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

extern char** environ;

namespace {

const int kCompanies = ajustes::Tam(100000, 500);
const long long kFilas = ajustes::Humo() ? 20000
                         : qEnvironmentVariableIntValue("MA_BENCH_PADRON_FILAS") > 0
                             ? qEnvironmentVariableIntValue("MA_BENCH_PADRON_FILAS")
                             : 1000000;
const int kRuns = ajustes::Tam(3, 1);
constexpr double kLookupTargetMs = 2.0;
constexpr double kFormTarget = 1.1;
constexpr double kCheckTarget = 1.5;
// The other taxpayers' CUITs: 20000000000 + 3 i, never a company's (those begin with 3).
constexpr long long kPrimerOtro = 20000000000LL;

// ---- data

// A well-formed CUIT for company n: prefix 30, or 33 or 34 where 30 has no check digit.
QString CuitDe(long long n) {
  const QString cuerpo = QString::number(10000000 + n).right(8);
  for (const char* prefijo : {"30", "33", "34"}) {
    const QString diez = QLatin1String(prefijo) + cuerpo;
    const int d = Cuit::DigitoVerificador(diez);
    if (d < 10) return diez + QString::number(d);
  }
  return {};
}

QString DatosAparte() { return QStringLiteral("MA_PADRON_AFIP_DATOS_APARTE"); }

void Ejecutar(const testdb::Database& db, const QString& sql) { testdb::RunSql(db, sql); }

// The register as the import leaves it, and the companies' CUITs it is compared with.
void Preparar(const testdb::Database& db) {
  const bool lite = db.engine == testdb::Engine::Sqlite;
  testdb::GrowCompanies(db, kCompanies - 12, 0, 0);
  QString sql =
      QStringLiteral("BEGIN;\nCREATE TABLE cuits (id VARCHAR(15) PRIMARY KEY, cuit VARCHAR(13));\n");
  QStringList empresas, padron;
  for (long long n = 13; n <= kCompanies; ++n) {
    const QString cuit = CuitDe(n);
    empresas << QStringLiteral("('%1', '%2-%3-%4')")
                    .arg(testdb::RightAligned(QString::number(n), 15), cuit.left(2), cuit.mid(2, 8),
                         cuit.right(1));
    if (n % 10 == 0) continue;  // not in the register
    const QString nombre = n % 7 == 0 ? QStringLiteral("OTRA RAZON SOCIAL %1 SA").arg(n)
                                      : QStringLiteral("EMPRESA DE PRUEBA %1 SA").arg(n);
    padron << QStringLiteral("(%1, '%2', 'AC', 'AC', 'NI', 'N', 'S', '00')").arg(cuit, nombre);
  }
  for (int i = 0; i < empresas.size(); i += 500)
    sql += QStringLiteral("INSERT INTO cuits VALUES ") + empresas.mid(i, 500).join(',') + ";\n";
  sql += lite ? QStringLiteral(
                    "UPDATE P_MA_Empresas SET CUIT = (SELECT cuit FROM cuits WHERE cuits.id = "
                    "P_MA_Empresas.IdEmpresa) WHERE IdEmpresa IN (SELECT id FROM cuits);\n")
              : QStringLiteral(
                    "UPDATE P_MA_Empresas p SET CUIT = c.cuit FROM cuits c WHERE c.id = p.IdEmpresa;\n");
  sql += QStringLiteral("DROP TABLE cuits;\n");
  sql += QStringLiteral(
             "CREATE TABLE MA_PADRON_AFIP (CUIT %1 PRIMARY KEY, DENOMINACION VARCHAR(30) NOT NULL, "
             "GANANCIAS CHAR(2), IVA CHAR(2), MONOTRIBUTO CHAR(2), SOCIEDAD CHAR(1), EMPLEADOR CHAR(1), "
             "ACTIVIDAD CHAR(2));\n")
             .arg(lite ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT"));
  sql += lite ? QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO MA_PADRON_AFIP SELECT %2 + 3 * i, 'CONTRIBUYENTE ' || i, 'NI', 'AC', 'NI', "
                    "'N', 'N', '00' FROM n;\n")
                    .arg(kFilas)
                    .arg(kPrimerOtro)
              : QStringLiteral(
                    "INSERT INTO MA_PADRON_AFIP SELECT %2 + 3 * i, 'CONTRIBUYENTE ' || i, 'NI', 'AC', 'NI', "
                    "'N', 'N', '00' FROM generate_series(1, %1) AS i;\n")
                    .arg(kFilas)
                    .arg(kPrimerOtro);
  for (int i = 0; i < padron.size(); i += 500)
    sql += QStringLiteral("INSERT INTO MA_PADRON_AFIP VALUES ") + padron.mid(i, 500).join(',') + ";\n";
  sql += QStringLiteral(
             "CREATE TABLE %1 (FECHA_PADRON %2, LINEAS INTEGER, MAL_FORMADAS INTEGER, IMPORTADO %2);\n"
             "INSERT INTO %1 VALUES ('2026-09-05', %3, 0, '2026-09-06');\nCOMMIT;\n")
             .arg(DatosAparte(), lite ? QStringLiteral("DATETIME") : QStringLiteral("TIMESTAMP"))
             .arg(kFilas + padron.size());
  if (!lite) sql += QStringLiteral("ANALYZE;\n");
  Ejecutar(db, sql);
}

// The register is found, or not, by its date table's name; it starts apart.
void ConPadron(const testdb::Database& db, bool con) {
  static bool esta = false;
  if (con == esta) return;
  const QString de = con ? DatosAparte() : ConsultaPadron::kTablaDatos;
  const QString a = con ? ConsultaPadron::kTablaDatos : DatosAparte();
  Ejecutar(db, QStringLiteral("ALTER TABLE %1 RENAME TO %2;").arg(de, a));
  esta = con;
}

// ---- processes

// ---- the form, in this process

struct Sesion {
  std::unique_ptr<frmMA_Empresas> form;
  ado::ConnectionPtr cnn;
  std::shared_ptr<OperadorGuionado> op;
};

const testdb::Database* gBase = nullptr;
QString gLog;

// The program's start: its connection, the form loaded, the first company shown.
std::unique_ptr<Sesion> Abrir() {
  auto s = std::make_unique<Sesion>();
  s->cnn = ado::Connection::Create();
  s->cnn->Open(gBase->programString);
  DB_Dll& db = DB_Dll::Instancia();
  db.SetCnn(s->cnn);
  db.gOpenFlag = true;
  db.gConnString = gBase->programString;
  db.gDBName = gBase->dbName;
  db.gUsuario = gBase->user;
  db.gEsAdmin = true;
  db.gLogErr = gLog;
  gTablaConfiguracion = QStringLiteral("ta_configuracion");
  s->op = OperadorGuionado::Instalar();
  s->form = std::make_unique<frmMA_Empresas>();
  if (!s->form->Cargar()) std::exit(1);
  // Company 22 is in the register under its own name.
  s->form->PonerTexto(0, QStringLiteral("22"));
  s->form->Logica().txtFields_KeyDown(0, 13, 0);
  return s;
}

void Cerrar(std::unique_ptr<Sesion>& s) {
  s->form.reset();
  s->cnn.reset();
  DB_Dll::Instancia().SetCnn(nullptr);
  DB_Dll::Instancia().gOpenFlag = false;
  s.reset();
}

bool LineaEsperada(Sesion& s, bool con) { return s.form->LblPadron()->text().isEmpty() != con; }

void BM_Inicio(benchmark::State& state, bool con) {
  ConPadron(*gBase, con);
  for (auto _ : state) {
    auto s = Abrir();
    if (!LineaEsperada(*s, con)) state.SkipWithError("the line beside the CUIT is not as expected");
    Cerrar(s);
  }
  ConPadron(*gBase, false);
}

void BM_Mover(benchmark::State& state, bool con) {
  ConPadron(*gBase, con);
  auto s = Abrir();
  FormEmpresas& l = s->form->Logica();
  l.NavBar1_Click("PRIMERO");
  for (int i = 0; i < 20; ++i) l.NavBar1_Click("SIGUIENTE");
  bool adelante = true;
  for (auto _ : state) {
    l.NavBar1_Click(adelante ? "SIGUIENTE" : "ANTERIOR");
    adelante = !adelante;
  }
  if (!LineaEsperada(*s, con)) state.SkipWithError("the line beside the CUIT is not as expected");
  Cerrar(s);
  ConPadron(*gBase, false);
}

// Every other one a taxpayer of the register, the rest CUITs it does not hold.
std::vector<QString> Buscados() {
  std::mt19937 azar(20260905);
  std::uniform_int_distribution<long long> fila(1, kFilas);
  std::vector<QString> v;
  for (int i = 0; i < 1000; ++i) v.push_back(QString::number(kPrimerOtro + 3 * fila(azar) + (i % 2)));
  return v;
}

void BM_Buscar(benchmark::State& state) {
  ConPadron(*gBase, true);
  auto s = Abrir();
  const std::vector<QString> buscados = Buscados();
  std::size_t i = 0, hallados = 0;
  for (auto _ : state)
    hallados += ConsultaPadron::Buscar(buscados[i++ % buscados.size()], s->cnn).has_value();
  if (hallados == 0) state.SkipWithError("no CUIT found in the register");
  Cerrar(s);
  ConPadron(*gBase, false);
}

void BM_BuscarOdbc(benchmark::State& state) {
  Odbc odbc(ClientOdbcString(*gBase));
  const std::vector<QString> buscados = Buscados();
  std::size_t i = 0;
  long long suma = 0;
  for (auto _ : state)
    PlainFetch(odbc.dbc,
               (QStringLiteral("SELECT CUIT, DENOMINACION, GANANCIAS, IVA, MONOTRIBUTO, SOCIEDAD, EMPLEADOR, "
                               "ACTIVIDAD FROM MA_PADRON_AFIP WHERE CUIT = ") +
                buscados[i++ % buscados.size()])
                   .toStdU16String(),
               &suma);
}

bool Medir(testdb::Engine e, const QTemporaryDir& dir) {
  const std::string n = testdb::Name(e);
  std::fprintf(stderr, "Preparing %d companies and a register of %lld rows on %s...\n", kCompanies, kFilas,
               n.c_str());
  testdb::Database base = testdb::FreshDemo(e);
  const auto t0 = std::chrono::steady_clock::now();
  Preparar(base);
  const double preparacion = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  gBase = &base;
  gLog = dir.filePath("VMERR.LOG");
  const std::string log = dir.filePath("child.log").toStdString();

  // --verificar, the runs with and without the register taken in turns.
  const std::vector<std::string> verificar = {MA_PROGRAM_PATH, "--verificar",
                                              ("@Server=" + base.server + ";@DbName=" + base.dbName +
                                               ";@Usuario=" + base.user + ";@Password=" + base.password + ";")
                                                  .toStdString()};
  using Run = proceso::Corrida;
  Run sin, con;
  for (int i = 0; i < kRuns; ++i) {
    for (bool conPadron : {false, true}) {
      ConPadron(base, conPadron);
      const Run r = proceso::Ejecutar(verificar, log);
      ConPadron(base, false);
      if (r.status != 0 && r.status != 1) {  // 1: findings, which there are
        std::printf("--verificar failed (status %d):\n%s\n", r.status, proceso::Cola(log).c_str());
        return false;
      }
      Run& mejor = conPadron ? con : sin;
      if (!mejor.ok || r.wallMs < mejor.wallMs) mejor = r;
    }
  }

  benchmark::ClearRegisteredBenchmarks();
  for (const char* que : {"Inicio", "Mover"})
    for (bool conPadron : {false, true})
      benchmark::RegisterBenchmark(
          (std::string(que) + (conPadron ? "/ConPadron/" : "/SinPadron/") + n).c_str(),
          std::strcmp(que, "Inicio") == 0 ? BM_Inicio : BM_Mover, conPadron)
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(kRuns);
  benchmark::RegisterBenchmark(("Buscar/Programa/" + n).c_str(), BM_Buscar)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("Buscar/OdbcPlano/" + n).c_str(), BM_BuscarOdbc)
      ->Unit(benchmark::kMillisecond);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n== AFIP's register, %lld rows, %d companies, %s (prepared in %.0f s) ==\n", kFilas,
              kCompanies, n.c_str(), preparacion);
  auto razon = [](double con, double sin) { return sin > 0 ? con / sin : 0; };
  // A repeated benchmark's name ends in "/repeats:N".
  auto tiempo = [&](const std::string& nombre) {
    for (const auto& [k, t] : reporter.ms)
      if (k == nombre || k.rfind(nombre + "/repeats:", 0) == 0) return t;
    return Collector::Times{};
  };
  const auto buscar = tiempo("Buscar/Programa/" + n), plano = tiempo("Buscar/OdbcPlano/" + n);
  std::printf("%s  %s: look-up of one CUIT %.3f ms (plain ODBC %.3f ms; target under %.0f ms)\n",
              buscar.real > 0 && buscar.real < kLookupTargetMs ? "PASS" : "MISS", n.c_str(), buscar.real,
              plano.real, kLookupTargetMs);
  for (const char* que : {"Inicio", "Mover"}) {
    const auto s = tiempo(std::string(que) + "/SinPadron/" + n),
               c = tiempo(std::string(que) + "/ConPadron/" + n);
    const double r = razon(c.real, s.real);
    std::printf("%s  %s: %s with the register %.3f ms, without %.3f ms: %.2fx (target within %.1fx)\n",
                r > 0 && r <= kFormTarget ? "PASS" : "MISS", n.c_str(),
                std::strcmp(que, "Inicio") == 0 ? "start (load, first company)" : "a move", c.real, s.real, r,
                kFormTarget);
  }
  const double r = std::max(razon(con.wallMs, sin.wallMs), razon(con.cpuMs, sin.cpuMs));
  std::printf(
      "%s  %s: --verificar of %d companies with the register %.0f ms (cpu %.0f), without %.0f ms "
      "(cpu %.0f): %.2fx (target within %.1fx)\n",
      r <= kCheckTarget ? "PASS" : "MISS", n.c_str(), kCompanies, con.wallMs, con.cpuMs, sin.wallMs,
      sin.cpuMs, r, kCheckTarget);
  std::fflush(stdout);
  gBase = nullptr;
  return reporter.errores == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  bool ok = true;
  for (auto e : ajustes::Motores()) {
    QTemporaryDir dir(QDir::tempPath() + "/padron_consulta_bench.XXXXXX");
    ok = Medir(e, dir) && ok;
  }
  benchmark::Shutdown();
  return ok ? 0 : 1;
}
