// The company form on big tables, against the same on a small one, measured in
// the same run on SQLite and PostgreSQL: 100,000 companies (2,000 of them with
// a 150 KB logo) with their per-company rows, against 5,000 (100 with a logo).
//
//   start          process start to the form shown and idle (the program, offscreen)
//   code + Enter   a company's code typed and confirmed
//   ... after PRIMERO  the same right after PRIMERO
//   PRIMERO, ULTIMO, PageDown (SIGUIENTE), CANCELAR
//   F3 on the code the list lookup opened (its row cap as the settings give it),
//                  painted once and cancelled
//   GRABAR         a new company stored, with its seeding
//   peak           of the program's start, and of the process that ran the steps
//
// The two sizes are measured in turn (5 starts each, 3 processes running the
// steps each), so that what else the machine does weighs on both alike; the
// figures are medians.
//
// Targets: start and code + Enter within 1.2x of 5,000 companies; PRIMERO and
// ULTIMO under 0.5 s; peak memory under 120 MB.
// The engines: MA_BENCH_BIG_ENGINES, else MA_BENCH_ENGINES (default "sqlite,postgres").
// The smoke run (MA_BENCH_SMOKE=1): 1,000 companies against 200, one start, one round.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "Proceso.h"
#include "company/form/ui/EnlaceDialogos.h"
#include "company/form/ui/frmMA_Empresas.h"
#include "db/DB_Dll.h"
#include "lookup/Lib_ClsCons3.h"
#include "lookup/SolicitudesConsulta.h"
#include "lookup/ui/Lib_FrmCons3.h"
#include "platform/widgets/CodigosTecla.h"
#include "session/CrearMascarasConsultas.h"
#include "settings/Configuracion.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

namespace {

const int kBase = ajustes::Tam(5000, 200);
const int kGrande = ajustes::Tam(100000, 1000);
constexpr int kLogoBytes = 150 * 1024;
const int kStarts = ajustes::Tam(5, 1);
const int kRondas = ajustes::Tam(3, 1);  // processes that run the steps, per size
constexpr double kRatioTarget = 1.2;
constexpr double kMoveTargetMs = 500;
constexpr double kPeakTargetMb = 120;

// ---------------------------------------------------------------- the data

// Companies 13 to n (the demo has 1 to 12), one in 50 with a logo (codes 25,
// 75, ...: none of those the steps show), and each new company's rows copied
// from the templates, as the program seeds them. One transaction.
QString Crecimiento(testdb::Engine e, int n) {
  const bool pg = e == testdb::Engine::Postgres;
  const QString fin = QString::number(n);
  const QString codigo = pg ? "lpad(n::text, 15)" : "substr('               ' || n, -15)";
  const QString logo = pg ? "logo.b" : QString("randomblob(%1)").arg(kLogoBytes);
  QString s = "BEGIN;\n";
  s += "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Calle, Numero, Localidad, CodigoPostal, "
       "Telefono, "
       "eMail, CUIT, Actividad, IdProvincia, PideHonorarios, Imagen, P_Rubro, P_Zona) ";
  s += pg ? "WITH logo AS (SELECT decode(string_agg(md5(g::text || random()::text), ''), 'hex') AS b "
            "FROM generate_series(1, " +
                QString::number(kLogoBytes / 16) + ") g) "
          : "WITH RECURSIVE g(n) AS (SELECT 13 UNION ALL SELECT n + 1 FROM g WHERE n < " + fin + ") ";
  s += "SELECT " + codigo +
       ", 'Empresa de prueba ' || n || ' S.A.', 'Calle ' || (n % 300), '' || (100 + n % 4000), 'Rosario', "
       "'' || (2000 + n % 6), '(0341) 400-' || (1000 + n % 9000), 'empresa' || n || '@ejemplo.com.ar', "
       "'30-' || (50000000 + n) || '-' || (n % 10), 'Actividad de prueba', '12', n % 2 = 1, "
       "CASE WHEN n % 50 = 25 THEN " +
       logo + " END, 'Servicios', 'Zona ' || (n % 5) ";
  s += pg ? "FROM generate_series(13, " + fin + ") n CROSS JOIN logo;\n" : "FROM g;\n";
  const struct {
    const char* tabla;
    const char* columnas;
  } porEmpresa[] = {
      {"V_TA_CPTE", "Codigo, Descripcion, Letra, Abreviatura, Talonario, ProximoNumero"},
      {"TA_COMPROBANTES", "Codigo, Descripcion, Tipo, Talonario, NumeroDesde, NumeroHasta"},
      {"MV_EJERCICIOS", "PERIODO, DESCRIPCION, FechaDesde, FechaHasta, Cerrado"},
  };
  for (const auto& t : porEmpresa) {
    const QString cols = t.columnas;
    QString sel = cols;
    sel.replace(", ", ", t.").prepend("t.");
    s += QString(
             "INSERT INTO %1 (EMPRESA, %2) SELECT c.IdEmpresa, %3 FROM P_MA_Empresas c CROSS JOIN %1 t "
             "WHERE t.EMPRESA = '' AND NOT EXISTS (SELECT 1 FROM %1 x WHERE x.EMPRESA = c.IdEmpresa);\n")
             .arg(t.tabla, cols, sel);
  }
  s += "COMMIT;\nANALYZE;\n";
  return s;
}

// ---------------------------------------------------------------- the steps (child process)

double Mediana(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double PicoPropioMb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

// Times `paso` `veces` times, `antes` untimed before each; prints the median.
void Medir(const char* nombre, int veces, const std::function<void(int)>& antes,
           const std::function<void(int)>& paso) {
  std::vector<double> ms;
  for (int i = 0; i < veces; ++i) {
    if (antes) antes(i);
    QApplication::processEvents();
    const auto t0 = std::chrono::steady_clock::now();
    paso(i);
    QApplication::processEvents();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::printf("%s %.3f\n", nombre, Mediana(ms));
}

// `ronda`: how many processes ran the steps before on this database, so that each
// stores companies not stored yet (a company stored again has its rows already).
int Pasos(const QString& cadena, const QString& dbName, const QString& usuario, int n, int ronda) {
  QTemporaryDir carpeta;
  auto& db = DB_Dll::Instancia();
  auto cnn = ado::Connection::Create();
  cnn->Open(cadena);
  db.SetCnn(cnn);
  db.gOpenFlag = true;
  db.gConnString = cadena;
  db.gDBName = dbName;
  db.gUsuario = usuario;
  db.gEsAdmin = true;
  db.gLogErr = carpeta.filePath("VMERR.LOG");
  gTablaConfiguracion = QStringLiteral("ta_configuracion");
  auto op = OperadorGuionado::Instalar();
  EnlazarDialogos();
  Lib_ClsCons3& c = Lib_ClsCons3::Instancia();
  c.gConnString = cadena;
  c.gUsarMascarasConsultas = true;
  c.gRutaMascaraConsultas = carpeta.filePath("consultas.vmt");
  CrearMascarasConsultas();

  frmMA_Empresas form;
  if (!form.Cargar()) return 1;
  form.show();
  QApplication::processEvents();
  FormEmpresas& L = form.Logica();
  auto mostrar = [&](int codigo) {
    form.PonerTexto(0, QString::number(codigo));
    L.txtFields_KeyDown(0, tecla::Enter, 0);
  };
  auto navegar = [&](const char* k) { L.NavBar1_Click(QString::fromLatin1(k)); };
  auto accion = [&](const char* k) { L.ActBar1_Click(QString::fromLatin1(k)); };

  Medir("codigo_enter", 20, {}, [&](int i) { mostrar(n - 1 - i % 2); });
  accion("CANCELAR");
  Medir("primero", 10, {}, [&](int) { navegar("PRIMERO"); });
  Medir("siguiente", 8, {}, [&](int) { navegar("SIGUIENTE"); });
  Medir("ultimo", 10, {}, [&](int) { navegar("ULTIMO"); });
  Medir(
      "codigo_enter_tras_primero", 10, [&](int) { navegar("PRIMERO"); },
      [&](int i) { mostrar(n - 1 - i % 2); });
  Medir(
      "cancelar", 10, [&](int i) { mostrar(n - 1 - i % 2); }, [&](int) { accion("CANCELAR"); });
  int filas = -1;
  Medir(
      "f3_codigo", 5,
      [&](int) {
        accion("NUEVO");
        form.PonerTexto(0, QString());
        L.txtFields_GotFocus(0);
        op->AlMostrar([&](DialogoModal& d) {
          auto* s = dynamic_cast<SolicitudLista*>(&d);
          if (!s) return;
          Lib_FrmCons3 f(*s);
          f.Logica().FijarCarpeta(carpeta.path());
          f.Cargar();
          f.show();
          QApplication::processEvents();
          filas = f.Logica().Modelo().Filas();
          f.CancelarBoton()->click();
          f.Descargar();
        });
      },
      [&](int) { L.ConsultarCampo(); });
  std::printf("f3_filas %d\n", filas);
  Medir(
      "grabar", 5,
      [&](int i) {
        accion("NUEVO");
        mostrar(n + 1 + ronda * 5 + i);
        form.PonerTexto(1, QStringLiteral("Empresa nueva"));
      },
      [&](int) { accion("GRABAR"); });
  std::printf("pico %.1f\n", PicoPropioMb());
  for (const auto& m : op->mensajes)
    std::fprintf(stderr, "box: %s | %s\n", qPrintable(m.title), qPrintable(m.prompt));
  std::printf("cajas %zu\n", op->mensajes.size());
  return 0;
}

// ---------------------------------------------------------------- the run (parent process)

struct Cifras {
  std::map<std::string, double> v;
  bool ok = false;
};

std::map<std::string, double> Leer(const QString& archivo) {
  std::map<std::string, double> r;
  QFile f(archivo);
  if (!f.open(QIODevice::ReadOnly)) return r;
  for (const QByteArray& l : f.readAll().split('\n')) {
    const QList<QByteArray> p = l.trimmed().split(' ');
    if (p.size() == 2) r[p[0].toStdString()] = p[1].toDouble();
  }
  return r;
}

struct Base {
  int n = 0;
  testdb::Database db;
  std::string nombre;
  proceso::Hijo programa;
  std::vector<double> ms;
  std::map<std::string, std::vector<double>> rondas;  // each step's figure, one per round
  Cifras cifras;
};

Base Preparar(testdb::Engine e, int n, const QTemporaryDir& dir) {
  Base b;
  b.n = n;
  b.nombre = std::string(testdb::Name(e)) + "_" + std::to_string(n);
  std::fprintf(stderr, "Preparing %d companies on %s...\n", n, testdb::Name(e));
  b.db = testdb::FreshDemo(e);
  testdb::RunSql(b.db, Crecimiento(e, n));
  const std::string parametros = ("@Server=" + b.db.server + ";@DbName=" + b.db.dbName +
                                  ";@Usuario=" + b.db.user + ";@Password=" + b.db.password + ";")
                                     .toStdString();
  b.programa = {MA_PROGRAM_PATH,
                {parametros},
                dir.filePath(QString::fromStdString(b.nombre + ".log")).toStdString(),
                {}};
  return b;
}

bool Arrancar(Base& b, bool cuenta) {
  // Taken at each start: the PostgreSQL server's settings join the environment only
  // when its first database is made, after the SQLite half has started programs.
  const auto env = proceso::Entorno({"QT_QPA_PLATFORM=offscreen", "MA_SALIR_AL_INACTIVAR=1"});
  const proceso::Corrida r = proceso::Lanzar(b.programa, env, 60000);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.porque.c_str());
    return false;
  }
  if (!cuenta) return true;
  b.ms.push_back(r.wallMs);
  b.cifras.v["pico_arranque"] = std::max(b.cifras.v["pico_arranque"], r.peakMb);
  return true;
}

bool Pasos(Base& b, const QTemporaryDir& dir) {
  const QString salida = dir.filePath(QString::fromStdString(b.nombre + ".pasos"));
  const proceso::Hijo pasos{
      QCoreApplication::applicationFilePath().toStdString(),
      {"--pasos", b.db.programString.toStdString(), b.db.dbName.toStdString(), b.db.user.toStdString(),
       std::to_string(b.n), std::to_string(b.rondas["grabar"].size())},
      dir.filePath(QString::fromStdString(b.nombre + ".pasos.log")).toStdString(),
      salida.toStdString()};
  const proceso::Corrida r = proceso::Lanzar(pasos, proceso::Entorno({"QT_QPA_PLATFORM=offscreen"}), 600000);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.porque.c_str());
    return false;
  }
  for (const auto& [k, v] : Leer(salida)) b.rondas[k].push_back(v);
  if (b.rondas["cajas"].back() > 0)
    std::fprintf(stderr, "%s: boxes shown:\n%s\n", b.nombre.c_str(), proceso::Cola(pasos.log).c_str());
  return true;
}

// Both sizes measured in turn, so that what else the machine does weighs on both alike.
void MedirAmbas(Base& base, Base& grande, const QTemporaryDir& dir) {
  for (Base* b : {&base, &grande})
    if (!Arrancar(*b, false)) return;  // outside the figures: the page cache warmed alike
  for (int i = 0; i < kStarts; ++i)
    for (Base* b : {&base, &grande})
      if (!Arrancar(*b, true)) return;
  for (int i = 0; i < kRondas; ++i)
    for (Base* b : {&base, &grande})
      if (!Pasos(*b, dir)) return;
  for (Base* b : {&base, &grande}) {
    b->cifras.v["arranque"] = Mediana(b->ms);
    for (const auto& [k, v] : b->rondas)
      b->cifras.v[k] = k == "pico" || k == "cajas" ? *std::max_element(v.begin(), v.end()) : Mediana(v);
  }
  base.cifras.ok = grande.cifras.ok = true;
}

void Informe(testdb::Engine e, const Cifras& base, const Cifras& grande) {
  std::printf("\n== %s: %d companies (2%% with a 150 KB logo) against %d, same run ==\n", testdb::Name(e),
              kGrande, kBase);
  if (!base.ok || !grande.ok) {
    std::printf("not measured (see above)\n");
    return;
  }
  const struct {
    const char* clave;
    const char* texto;
  } filas[] = {{"arranque", "start to idle form"},
               {"codigo_enter", "code + Enter"},
               {"codigo_enter_tras_primero", "code + Enter after PRIMERO"},
               {"primero", "PRIMERO"},
               {"ultimo", "ULTIMO"},
               {"siguiente", "PageDown"},
               {"cancelar", "CANCELAR"},
               {"f3_codigo", "F3 on the code"},
               {"grabar", "GRABAR of a new company"}};
  for (const auto& f : filas) {
    const double b = base.v.at(f.clave), g = grande.v.at(f.clave);
    std::printf("     %-28s %9.2f ms  %9.2f ms  %6.2fx\n", f.texto, g, b, g / b);
  }
  std::printf("     F3 rows listed: %.0f and %.0f\n", grande.v.at("f3_filas"), base.v.at("f3_filas"));
  auto meta = [](bool ok, const std::string& t) { std::printf("%s %s\n", ok ? "PASS" : "MISS", t.c_str()); };
  for (const char* k : {"arranque", "codigo_enter"}) {
    const double x = grande.v.at(k) / base.v.at(k);
    char t[160];
    std::snprintf(t, sizeof t, "%s: %s %.2fx of %d companies (target within %.1fx)", testdb::Name(e),
                  std::string(k) == "arranque" ? "start" : "code + Enter", x, kBase, kRatioTarget);
    meta(x <= kRatioTarget, t);
  }
  for (const char* k : {"primero", "ultimo"}) {
    char t[160];
    std::snprintf(t, sizeof t, "%s: %s %.1f ms (target under %.0f ms)", testdb::Name(e),
                  std::string(k) == "primero" ? "PRIMERO" : "ULTIMO", grande.v.at(k), kMoveTargetMs);
    meta(grande.v.at(k) < kMoveTargetMs, t);
  }
  for (const char* k : {"pico_arranque", "pico"}) {
    char t[160];
    std::snprintf(t, sizeof t, "%s: peak memory %s %.1f MB (target under %.0f MB)", testdb::Name(e),
                  std::string(k) == "pico" ? "over the steps" : "at start", grande.v.at(k), kPeakTargetMb);
    meta(grande.v.at(k) < kPeakTargetMb, t);
  }
  if (grande.v.at("cajas") > 0 || base.v.at("cajas") > 0)
    std::printf("MISS %s: the steps showed boxes\n", testdb::Name(e));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--pasos") {
    QApplication app(argc, argv);
    return Pasos(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                 QString::fromLocal8Bit(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
  }
  // The parent stays small: a spawned child's peak never reads below it.
  QCoreApplication app(argc, argv);
  QTemporaryDir dir(QDir::tempPath() + "/big_tables_bench.XXXXXX");
  bool falla = false;
  for (auto e : ajustes::Motores("MA_BENCH_BIG_ENGINES")) {
    Base base = Preparar(e, kBase, dir);
    Base grande = Preparar(e, kGrande, dir);
    MedirAmbas(base, grande, dir);
    Informe(e, base.cifras, grande.cifras);
    falla = falla || !base.cifras.ok || !grande.cifras.ok;
  }
  return falla ? 1 : 0;
}
