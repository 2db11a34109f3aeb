// Start-up of the company form against a bare Qt window, measured in the same run.
//
// Each iteration starts a fresh process and waits for it to end: the program on a
// demo database grown to 5,000 companies (500 of them with a 150 KB logo), and the
// bare window with one table widget (bare_window). Both run offscreen and quit on
// their first idle pass after show() (MA_SALIR_AL_INACTIVAR=1), so the time is
// process start to the window shown and idle. Peak memory is the child's ru_maxrss.
// Targets: the program within 2x the bare window's time, its peak under 150 MB.
// On SQLite and PostgreSQL (MA_BENCH_ENGINES); the smoke run (MA_BENCH_SMOKE=1):
// 200 companies, 20 with a logo, 2 starts.
#include <benchmark/benchmark.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Ajustes.h"
#include "support/TestDatabases.h"

extern char** environ;

namespace {

const int kCompanies = ajustes::Tam(5000, 200);
const int kWithLogo = ajustes::Tam(500, 20);
constexpr int kLogoBytes = 150 * 1024;
constexpr double kRatioTarget = 2.0;
constexpr double kPeakTargetMb = 150.0;
const int kStarts = ajustes::Tam(10, 2);
constexpr int kTimeoutMs = 60000;  // a dialog waiting for an operator must not hang the run

struct Child {
  std::string program;
  std::vector<std::string> args;
  std::string log;  // the child's stderr, shown when it fails
};

struct Run {
  bool ok = false;
  double wallMs = 0, cpuMs = 0, peakMb = 0;
  std::string why;
};

struct Results {
  std::vector<double> wallMs, cpuMs;
  double peakMb = 0;
};

bool startFailed = false;

Results& Of(const std::string& name) {
  static std::map<std::string, Results> r;
  return r[name];
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string s = *e;
    if (s.rfind("QT_QPA_PLATFORM=", 0) == 0 || s.rfind("MA_SALIR_AL_INACTIVAR=", 0) == 0) continue;
    env.push_back(s);
  }
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("MA_SALIR_AL_INACTIVAR=1");
  return env;
}

std::string Tail(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray all = f.readAll();
  return all.right(2000).toStdString();
}

// This process's own peak: a spawned child's ru_maxrss is never below it.
double OwnPeakMb() {
  QFile f("/proc/self/status");
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}

// Waits for the child with a time-out; the rusage is the child's own.
bool WaitWithTimeout(pid_t pid, int timeoutMs, int* status, rusage* ru) {
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd >= 0) {
    pollfd p{fd, POLLIN, 0};
    int n;
    while ((n = poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    close(fd);
    if (n == 0) {
      kill(pid, SIGKILL);
      wait4(pid, status, 0, ru);
      return false;
    }
  }
  return wait4(pid, status, 0, ru) == pid;
}

Run Start(const Child& c, int timeoutMs = kTimeoutMs) {
  Run r;
  std::vector<char*> argv{const_cast<char*>(c.program.c_str())};
  for (const auto& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Taken at each start: a PostgreSQL server's settings join the environment late.
  const std::vector<std::string> envText = ChildEnvironment();
  std::vector<char*> envp;
  for (const auto& e : envText) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, c.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);

  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int e = posix_spawn(&pid, c.program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (e != 0) {
    r.why = "cannot start " + c.program + ": " + std::strerror(e);
    return r;
  }
  int status = 0;
  rusage ru{};
  const bool ended = WaitWithTimeout(pid, timeoutMs, &status, &ru);
  const auto t1 = std::chrono::steady_clock::now();
  r.wallMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
  r.cpuMs =
      (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
  r.peakMb = ru.ru_maxrss / 1024.0;
  if (!ended) {
    r.why =
        c.program + " did not reach idle within " + std::to_string(timeoutMs / 1000) + " s:\n" + Tail(c.log);
  } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    r.why = c.program + " failed (status " + std::to_string(status) + "):\n" + Tail(c.log);
  } else {
    r.ok = true;
  }
  return r;
}

void StartUp(benchmark::State& state, const Child* c, const char* name) {
  // One start outside the timing: loads the binaries and libraries into the page
  // cache for both sides alike, and stops a program that cannot start.
  const Run warm = Start(*c);
  if (!warm.ok) {
    std::fprintf(stderr, "%s\n", warm.why.c_str());
    startFailed = true;
    state.SkipWithError(warm.why.c_str());
    return;
  }
  Results& res = Of(name);
  for (auto _ : state) {
    const Run r = Start(*c);
    if (!r.ok) {
      std::fprintf(stderr, "%s\n", r.why.c_str());
      startFailed = true;
      state.SkipWithError(r.why.c_str());
      return;
    }
    state.SetIterationTime(r.wallMs / 1e3);
    res.wallMs.push_back(r.wallMs);
    res.cpuMs.push_back(r.cpuMs);
    res.peakMb = std::max(res.peakMb, r.peakMb);
  }
  state.counters["ms_per_start"] = Median(res.wallMs);
  state.counters["cpu_ms"] = Median(res.cpuMs);
  state.counters["peak_MB"] = res.peakMb;
}

// Runs in a child process: grows the demo database to kCompanies. SQLite: a fresh
// copy, copied to `target`; PostgreSQL: the database named `target` that the parent
// made on the run's server (whose settings the child inherits). Building the logo
// data takes a few hundred MB; in the benchmark's own process it would count
// against every program it starts, since a spawned child's ru_maxrss starts from
// its parent's high-water mark.
int Prepare(const std::string& engine, const QString& target) {
  testdb::Database db = ajustes::BaseDelHijo(engine, target);
  const QStringList n = testdb::Query(db, "SELECT COUNT(*) FROM P_MA_Empresas");
  const int existing = n.isEmpty() ? 0 : n.first().toInt();
  testdb::GrowCompanies(db, kCompanies - existing, kWithLogo, kLogoBytes);
  if (db.engine == testdb::Engine::Postgres) return 0;
  QFile::remove(target);
  return QFile::copy(db.dbName, target) ? 0 : 1;
}

// The program's command line for a database grown for the benchmark, or "" when
// preparing it failed.
std::string Parametros(testdb::Engine e, const QTemporaryDir& dir) {
  std::fprintf(stderr, "Preparing %d companies, %d of them with a %d KB logo, on %s...\n", kCompanies,
               kWithLogo, kLogoBytes / 1024, testdb::Name(e));
  testdb::Database db;
  std::string engine = "sqlite";
  if (e == testdb::Engine::Postgres) {
    db = testdb::FreshDemo(e);
    engine = "postgres";
  } else {
    db.server = "SQLITE";
    db.dbName = dir.filePath("empresas.sqlite");
    db.user = "admin";
  }
  const Child prepare{QCoreApplication::applicationFilePath().toStdString(),
                      {"--prepare", engine, db.dbName.toStdString()},
                      dir.filePath("preparar.log").toStdString()};
  const Run prepared = Start(prepare, -1);
  if (!prepared.ok) {
    std::fprintf(stderr, "preparing the database failed: %s\n", prepared.why.c_str());
    return {};
  }
  return ("@Server=" + db.server + ";@DbName=" + db.dbName + ";@Usuario=" + db.user +
          ";@Password=" + db.password + ";")
      .toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--prepare") == 0)
    return Prepare(argv[2], QString::fromLocal8Bit(argv[3]));

  QTemporaryDir dir(QDir::tempPath() + "/startup_bench.XXXXXX");
  const Child bare{MA_BARE_WINDOW_PATH, {}, dir.filePath("bare.log").toStdString()};
  benchmark::RegisterBenchmark("StartUp/BareWindow", StartUp, &bare, "bare")
      ->UseManualTime()
      ->Iterations(kStarts)
      ->Unit(benchmark::kMillisecond);
  std::vector<std::unique_ptr<Child>> programs;
  std::vector<std::string> names;
  names.reserve(testdb::AllEngines().size());  // each benchmark keeps its name's address
  for (auto e : ajustes::Motores()) {
    const std::string parametros = Parametros(e, dir);
    if (parametros.empty()) return 1;
    names.push_back(testdb::Name(e));
    programs.push_back(std::make_unique<Child>(
        Child{MA_PROGRAM_PATH,
              {parametros},
              dir.filePath("program_" + QString::fromStdString(names.back()) + ".log").toStdString()}));
    benchmark::RegisterBenchmark(("StartUp/MA_Empresas/" + names.back()).c_str(), StartUp,
                                 programs.back().get(), names.back().c_str())
        ->UseManualTime()
        ->Iterations(kStarts)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const Results& b = Of("bare");
  for (const std::string& name : names) {
    const Results& p = Of(name);
    std::printf("\n== Start-up to the form shown and idle, %d companies (%d with %d KB logos), %s ==\n",
                kCompanies, kWithLogo, kLogoBytes / 1024, name.c_str());
    if (p.wallMs.empty() || b.wallMs.empty()) {
      std::printf("not measured%s\n", startFailed ? ": a start failed (see above)" : "");
      continue;
    }
    const double pm = Median(p.wallMs), bm = Median(b.wallMs);
    std::printf("MA_Empresas  %8.1f ms (cpu %7.1f ms)   peak RSS %6.1f MB\n", pm, Median(p.cpuMs), p.peakMb);
    std::printf("bare window  %8.1f ms (cpu %7.1f ms)   peak RSS %6.1f MB\n", bm, Median(b.cpuMs), b.peakMb);
    const double ratio = pm / bm, cpuRatio = Median(p.cpuMs) / Median(b.cpuMs);
    std::printf("%s  %s: time ratio %.2fx, cpu %.2fx (target within %.0fx)\n",
                ratio <= kRatioTarget ? "PASS" : "MISS", name.c_str(), ratio, cpuRatio, kRatioTarget);
    std::printf("%s  %s: peak RSS %.1f MB (target under %.0f MB)\n",
                p.peakMb < kPeakTargetMb ? "PASS" : "MISS", name.c_str(), p.peakMb, kPeakTargetMb);
  }
  std::printf("(a peak never reads below this benchmark's own, %.1f MB)\n", OwnPeakMb());
  return startFailed ? 1 : 0;
}
