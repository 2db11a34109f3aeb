#pragma once
// Starting a program and waiting for it with a time-out, for the benchmarks
// that time whole processes: wall time, the child's CPU time and peak memory.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace proceso {

struct Hijo {
  std::string programa;
  std::vector<std::string> args;
  std::string log;     // its stderr, shown when it fails
  std::string salida;  // its stdout ("" for /dev/null)
};

struct Corrida {
  bool ok = false;
  int status = -1;  // the exit status, or minus the signal that ended it
  double wallMs = 0, cpuMs = 0, peakMb = 0;
  std::string porque;
};

inline std::string Cola(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().right(2000).toStdString();
}

// The environment as it is now, with `extra` ("NAME=value") replacing the same names.
inline std::vector<std::string> Entorno(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string s = *e;
    bool reemplazada = false;
    for (const auto& x : extra) reemplazada = reemplazada || s.rfind(x.substr(0, x.find('=') + 1), 0) == 0;
    if (!reemplazada) env.push_back(s);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// A spawned child's ru_maxrss is never below its parent's own peak at the
// spawn: keep the parent small.
inline Corrida Lanzar(const Hijo& c, const std::vector<std::string>& env, int timeoutMs) {
  Corrida r;
  std::vector<char*> argv{const_cast<char*>(c.programa.c_str())};
  for (const auto& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, c.salida.empty() ? "/dev/null" : c.salida.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, c.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  const auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int e = posix_spawn(&pid, c.programa.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (e != 0) {
    r.porque = "cannot start " + c.programa + ": " + std::strerror(e);
    return r;
  }
  int status = 0;
  rusage ru{};
  bool termino = true;
  const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  if (fd >= 0 && timeoutMs >= 0) {
    pollfd p{fd, POLLIN, 0};
    int n;
    while ((n = poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (n == 0) {
      kill(pid, SIGKILL);
      termino = false;
    }
  }
  if (fd >= 0) close(fd);
  wait4(pid, &status, 0, &ru);
  const auto t1 = std::chrono::steady_clock::now();
  r.wallMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
  r.cpuMs =
      (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
  r.peakMb = ru.ru_maxrss / 1024.0;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  if (!termino)
    r.porque = c.programa + " did not end within " + std::to_string(timeoutMs / 1000) + " s:\n" + Cola(c.log);
  else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    r.porque = c.programa + " failed (status " + std::to_string(status) + "):\n" + Cola(c.log);
  else
    r.ok = true;
  return r;
}

// `args[0]` run with the rest, in this environment, without a time-out; its
// stdout discarded, its stderr in `log`. `ok` when it ended by itself, whatever
// its status: the caller knows which statuses are answers.
inline Corrida Ejecutar(const std::vector<std::string>& args, const std::string& log) {
  Corrida r = Lanzar({args.front(), {args.begin() + 1, args.end()}, log, ""}, Entorno({}), -1);
  r.ok = r.status >= 0;
  return r;
}

}  // namespace proceso
