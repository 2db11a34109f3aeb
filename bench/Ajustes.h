#pragma once
// What one run of the benchmarks measures, the same for every benchmark program:
//  - the engines: MA_BENCH_ENGINES ("sqlite,postgres" by default; names may be shortened);
//  - the size: MA_BENCH_SMOKE=1 is the short run of the tests (small data, few
//    repetitions), which checks that every benchmark still runs; its figures say
//    nothing and its targets are not judged.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <string>
#include <vector>

#include "support/TestDatabases.h"

namespace ajustes {

inline bool Humo() { return qEnvironmentVariableIntValue("MA_BENCH_SMOKE") == 1; }

// `completo` in a real run, `humo` in the smoke run.
inline int Tam(int completo, int humo) { return Humo() ? humo : completo; }

// The engines asked for by `variable`, or by MA_BENCH_ENGINES when it is not set.
inline std::vector<testdb::Engine> Motores(const char* variable = "MA_BENCH_ENGINES") {
  QString pedidos = qEnvironmentVariable(variable);
  if (pedidos.isNull()) pedidos = qEnvironmentVariable("MA_BENCH_ENGINES", QStringLiteral("sqlite,postgres"));
  std::vector<testdb::Engine> r;
  for (auto e : testdb::AllEngines()) {
    bool quiere = false;
    for (const QString& w : pedidos.split(',', Qt::SkipEmptyParts))
      quiere = quiere || QString(testdb::Name(e)).startsWith(w.trimmed(), Qt::CaseInsensitive);
    if (quiere) r.push_back(e);
  }
  return r;
}

// The database a child process grows for its parent: on PostgreSQL the one the
// parent named on the run's server, on SQLite a fresh demo copy.
inline testdb::Database BaseDelHijo(const std::string& engine, const QString& nombre) {
  if (engine != "postgres") return testdb::FreshDemo(testdb::Engine::Sqlite);
  testdb::Database d;
  d.engine = testdb::Engine::Postgres;
  d.dbName = nombre;
  return d;
}

}  // namespace ajustes
