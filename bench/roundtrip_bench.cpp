// The program over a slow link: statements and round trips per operator action,
// and their times with 5 ms added each way against the same link without delay,
// in the same run.
//
// Between the program and the private PostgreSQL server sits DelayingProxy, a
// loopback proxy of this benchmark that counts what the client sends. Measured:
//  - start to the idle form: the real program, a fresh process per start
//    (MA_SALIR_AL_INACTIVAR=1), reaching the server through a data source that
//    points at the proxy;
//  - in this process, the company form loaded as the program loads it: a code
//    typed and Enter, PRIMERO, F3 on the code (the list lookup opened and
//    closed) and GRABAR of a new company with its seeding.
// Statements are the server's executions ('Q' and 'E' messages); round trips
// are the client's sends after the server last answered.
// Targets at 10 ms round trip: start under 0.25 s, code + Enter under 50 ms,
// GRABAR of a new company under 150 ms.
// PostgreSQL only (nothing when MA_BENCH_ENGINES leaves it out): SQLite runs inside the
// program, there is no link to delay. The smoke run (MA_BENCH_SMOKE=1): 1 start
// and 2 repeats of each action.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "DelayingProxy.h"
#include "company/form/ui/EnlaceDialogos.h"
#include "company/form/ui/frmMA_Empresas.h"
#include "db/DB_Dll.h"
#include "lookup/Lib_ClsCons3.h"
#include "platform/widgets/CodigosTecla.h"
#include "session/CrearMascarasConsultas.h"
#include "settings/Configuracion.h"
#include "support/OperadorGuionado.h"
#include "support/TestDatabases.h"

extern char** environ;

namespace {

constexpr double kDelayMs = 5.0;  // each way
const int kStarts = ajustes::Tam(7, 1);
const int kRepeats = ajustes::Tam(9, 2);
constexpr double kStartTargetMs = 250, kEnterTargetMs = 50, kSaveTargetMs = 150;
const char* kDsn = "MA_PG_RETARDO";

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double MsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The run's data source again, under another name and with the proxy's port.
QString DataSourceThroughProxy(const QString& odbcIni, const QString& dsn, int port) {
  QFile f(odbcIni);
  if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + odbcIni.toStdString());
  const QString all = QString::fromUtf8(f.readAll());
  const qsizetype at = all.indexOf('[' + dsn + ']');
  if (at < 0)
    throw std::runtime_error("no data source " + dsn.toStdString() + " in " + odbcIni.toStdString());
  qsizetype end = all.indexOf(QRegularExpression(QStringLiteral("\\n\\[")), at + 1);
  QString section = all.mid(at, end < 0 ? -1 : end - at + 1);
  section.replace('[' + dsn + ']', QStringLiteral("[%1]").arg(QLatin1String(kDsn)));
  section.replace(QRegularExpression(QStringLiteral("(?m)^\\s*Port\\s*=.*$")),
                  QStringLiteral("Port = %1").arg(port));
  return all + QLatin1Char('\n') + section + QLatin1Char('\n');
}

// Runs the program once; its wall time, or a negative number when it failed.
double StartProgram(const std::string& program, const std::string& parameters,
                    const std::vector<std::string>& env, const std::string& log) {
  std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(parameters.c_str()), nullptr};
  std::vector<char*> envp;
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int e = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (e != 0) return -1;
  // A box waiting for an operator must not hang the run.
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd >= 0) {
    pollfd p{fd, POLLIN, 0};
    int n;
    while ((n = poll(&p, 1, 60000)) < 0 && errno == EINTR) {
    }
    close(fd);
    if (n == 0) kill(pid, SIGKILL);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const double ms = MsSince(t0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

struct Figure {
  std::string name;
  double directMs = 0, delayedMs = 0, targetMs = 0;  // target 0: none
  DelayingProxy::Counts counts;
};

void Print(const DelayingProxy::Counts& c, const std::string& name) {
  std::printf("%-28s %5ld statements (%ld Q, %ld E, %ld Parse), %5ld sends, %5ld round trips\n", name.c_str(),
              c.Statements(), c.query, c.execute, c.parse, c.sends, c.roundTrips);
}

// The company form loaded as the program loads it, on a connection through the proxy.
class Form {
 public:
  Form(const testdb::Database& base, int proxyPort, const QString& folder) : base_(base) {
    programString_ = base.programString + QStringLiteral("Port=%1;").arg(proxyPort);
    cnn_ = ado::Connection::Create();
    cnn_->Open(programString_);
    auto& db = DB_Dll::Instancia();
    db.SetCnn(cnn_);
    db.gOpenFlag = true;
    db.gConnString = programString_;
    db.gDBName = base.dbName;
    db.gUsuario = base.user;
    db.gEsAdmin = true;
    db.gLogErr = folder + QStringLiteral("/VMERR.LOG");
    gTablaConfiguracion = QStringLiteral("ta_configuracion");
    op_ = OperadorGuionado::Instalar();
    EnlazarDialogos();
    form_ = std::make_unique<frmMA_Empresas>();
    if (!form_->Cargar()) throw std::runtime_error("the form did not load");
    Lib_ClsCons3& c = Lib_ClsCons3::Instancia();
    c.gConnString = programString_;
    c.gUsarMascarasConsultas = true;
    c.gRutaMascaraConsultas = folder + QStringLiteral("/consultas.vmt");
    CrearMascarasConsultas();
    form_->show();
    QApplication::processEvents();
  }
  ~Form() {
    form_.reset();
    DB_Dll::Instancia().SetCnn(nullptr);
    DB_Dll::Instancia().gOpenFlag = false;
  }

  FormEmpresas& L() { return form_->Logica(); }
  void CodigoYEnter(const QString& codigo) {
    form_->PonerTexto(0, codigo);
    L().txtFields_KeyDown(0, tecla::Enter, 0);
  }
  void Cancelar() { L().ActBar1_Click(QStringLiteral("CANCELAR")); }
  void Primero() { L().NavBar1_Click(QStringLiteral("PRIMERO")); }
  void Grabar() { L().ActBar1_Click(QStringLiteral("GRABAR")); }
  void Nombre(const QString& n) { form_->PonerTexto(1, n); }
  // F3 on the code: the list lookup opens, loads, and is closed with Escape.
  void ConsultarCodigo() {
    op_->MostrarComoElPrograma();
    auto* t = new QTimer(form_.get());
    t->setInterval(0);
    QObject::connect(t, &QTimer::timeout, t, [t] {
      QWidget* d = QApplication::activeModalWidget();
      if (!d) return;
      t->stop();
      t->deleteLater();
      QWidget* w = d->focusWidget() ? d->focusWidget() : d;
      QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
      QApplication::sendEvent(w, &e);
    });
    t->start();
    L().txtFields_GotFocus(0);
    L().ActBar1_Click(QStringLiteral("CONSULTAR"));
  }
  // The boxes that appeared since the last call, as one text ("" when none).
  std::string Boxes() {
    std::string s;
    for (const auto& m : op_->mensajes) s += m.title.toStdString() + ": " + m.prompt.toStdString() + "\n";
    op_->mensajes.clear();
    return s;
  }

 private:
  testdb::Database base_;
  QString programString_;
  ado::ConnectionPtr cnn_;
  std::shared_ptr<OperadorGuionado> op_;
  std::unique_ptr<frmMA_Empresas> form_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const auto motores = ajustes::Motores();
  if (std::find(motores.begin(), motores.end(), testdb::Engine::Postgres) == motores.end()) {
    std::printf("PostgreSQL not asked for (MA_BENCH_ENGINES): nothing to measure\n");
    return 0;
  }
  std::fprintf(stderr, "Preparing the demo database on PostgreSQL...\n");
  testdb::Database base;
  try {
    base = testdb::FreshDemo(testdb::Engine::Postgres);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  const char* port = std::getenv("MA_PG_PORT");
  const char* odbcIni = std::getenv("ODBCINI");
  const char* dsn = std::getenv("MA_PG_DSN");
  if (!port || !odbcIni) {
    std::fprintf(stderr, "no PostgreSQL server in the environment\n");
    return 1;
  }
  DelayingProxy proxy(std::atoi(port));
  QTemporaryDir dir(QDir::tempPath() + "/roundtrip_bench.XXXXXX");
  const QString ini = dir.filePath("odbc.ini");
  {
    QFile f(ini);
    f.open(QIODevice::WriteOnly);
    f.write(DataSourceThroughProxy(QString::fromLocal8Bit(odbcIni),
                                   QString::fromLatin1(dsn ? dsn : "MA_PG_TEST"), proxy.Port())
                .toUtf8());
  }

  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string s = *e;
    if (s.rfind("QT_QPA_PLATFORM=", 0) == 0 || s.rfind("MA_SALIR_AL_INACTIVAR=", 0) == 0 ||
        s.rfind("ODBCINI=", 0) == 0)
      continue;
    env.push_back(s);
  }
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("MA_SALIR_AL_INACTIVAR=1");
  env.push_back("ODBCINI=" + ini.toStdString());
  const std::string parameters = ("@Server=" + QString::fromLatin1(kDsn) + ";@DbName=" + base.dbName +
                                  ";@Usuario=" + base.user + ";@Password=" + base.password + ";")
                                     .toStdString();
  const std::string log = dir.filePath("program.log").toStdString();

  std::vector<Figure> figures;
  bool failed = false;

  // Start to the idle form: one warm start, then the starts counted and timed.
  {
    Figure f{"start to idle form", 0, 0, kStartTargetMs, {}};
    if (StartProgram(MA_PROGRAM_PATH, parameters, env, log) < 0) {
      std::fprintf(stderr, "the program did not start; its log is %s\n", log.c_str());
      return 1;
    }
    for (double delay : {0.0, kDelayMs}) {
      proxy.SetDelayMs(delay);
      std::vector<double> ms;
      for (int i = 0; i < kStarts; ++i) {
        DelayingProxy::Counts mark = proxy.Taken();
        const double t = StartProgram(MA_PROGRAM_PATH, parameters, env, log);
        if (t < 0) {
          std::fprintf(stderr, "a start failed; its log is %s\n", log.c_str());
          failed = true;
          break;
        }
        ms.push_back(t);
        f.counts = proxy.Since(mark);
      }
      (delay == 0 ? f.directMs : f.delayedMs) = Median(ms);
    }
    figures.push_back(f);
  }

  // In this process: the form through the proxy.
  try {
    proxy.SetDelayMs(0);
    DelayingProxy::Counts mark = proxy.Taken();
    Form form(base, proxy.Port(), dir.path());
    figures.push_back({"form load (in process)", 0, 0, 0, proxy.Since(mark)});
    if (const std::string b = form.Boxes(); !b.empty()) std::fprintf(stderr, "boxes on load:\n%s", b.c_str());

    int serie = 0;
    struct Action {
      std::string name;
      double target;
      std::function<void()> before, action, after;
    };
    const std::vector<Action> actions = {
        {"code + Enter", kEnterTargetMs, [] {}, [&] { form.CodigoYEnter(QStringLiteral("2")); },
         [&] { form.Cancelar(); }},
        {"PRIMERO", 0, [] {}, [&] { form.Primero(); }, [] {}},
        {"F3 on the code", 0, [] {}, [&] { form.ConsultarCodigo(); }, [] {}},
        {"GRABAR of a new company", kSaveTargetMs,
         [&] {
           const QString codigo = QStringLiteral("9%1").arg(++serie, 3, 10, QLatin1Char('0'));
           form.CodigoYEnter(codigo);
           form.Nombre(QStringLiteral("Empresa ") + codigo);
         },
         [&] { form.Grabar(); }, [] {}},
    };
    const bool trace = std::getenv("MA_PROXY_TRACE") != nullptr;
    for (const Action& a : actions) {
      Figure f{a.name, 0, 0, a.target, {}};
      for (double delay : {0.0, kDelayMs}) {
        proxy.SetDelayMs(delay);
        std::vector<double> ms;
        for (int i = 0; i < kRepeats; ++i) {
          a.before();
          QApplication::processEvents();
          DelayingProxy::Counts m = proxy.Taken();
          if (trace) std::fprintf(stderr, "== %s\n", a.name.c_str());
          const auto t0 = std::chrono::steady_clock::now();
          a.action();
          ms.push_back(MsSince(t0));
          if (trace) std::fprintf(stderr, "== end of %s\n", a.name.c_str());
          f.counts = proxy.Since(m);
          a.after();
          if (const std::string b = form.Boxes(); !b.empty()) {
            std::fprintf(stderr, "%s showed boxes:\n%s", a.name.c_str(), b.c_str());
            failed = true;
          }
        }
        (delay == 0 ? f.directMs : f.delayedMs) = Median(ms);
      }
      figures.push_back(f);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "the form failed: %s\n", e.what());
    failed = true;
  }

  std::printf("\n== Statements and round trips on PostgreSQL (counted at the proxy) ==\n");
  for (const Figure& f : figures) Print(f.counts, f.name);
  std::printf("\n== Times: direct vs %.0f ms each way, medians ==\n", kDelayMs);
  for (const Figure& f : figures) {
    if (f.directMs == 0 && f.delayedMs == 0) continue;
    std::printf("%-28s %8.1f ms direct %8.1f ms delayed (%.1fx)", f.name.c_str(), f.directMs, f.delayedMs,
                f.directMs > 0 ? f.delayedMs / f.directMs : 0.0);
    if (f.targetMs > 0)
      std::printf("   %s (target under %.0f ms)", f.delayedMs < f.targetMs ? "PASS" : "MISS", f.targetMs);
    std::printf("\n");
  }
  return failed ? 1 : 0;
}
