#pragma once
// What the client's database tests share: a fresh database per test on each
// engine (value-parameterised over testdb::Engine), a connection opened with
// the program's own connection string, and helpers to catch failures.
#include <gtest/gtest.h>

#include <QString>
#include <functional>

#include "platform/client/Connection.h"
#include "platform/client/Constants.h"
#include "platform/client/Recordset.h"
#include "platform/core/Error.h"
#include "support/TestDatabases.h"

namespace clienttest {

// The failure a call throws (Number 0 when it throws none).
inline ado::ErrorInfo FailureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ado::Failure& e) {
    return e.Info();
  }
  return {};
}

inline ado::ConnectionPtr OpenProgram(const testdb::Database& db) {
  auto cn = ado::Connection::Create();
  cn->SetCursorLocation(ado::adUseClient);
  cn->Open(db.programString);
  return cn;
}

class EngineTest : public ::testing::TestWithParam<testdb::Engine> {
 protected:
  void SetUp() override {
    db = testdb::FreshEmpty(GetParam());
    cn = OpenProgram(db);
  }
  void TearDown() override {
    if (cn) cn->Close();
  }

  bool Pg() const { return GetParam() == testdb::Engine::Postgres; }

  // A statement in the engine's own dialect, with {BOOL}, {BLOB}, {MONEY} and
  // {DATETIME} replaced by that engine's types, run outside the client.
  void Run(QString sql) const { testdb::RunSql(db, Types(sql)); }
  QStringList Query(const QString& sql) const { return testdb::Query(db, sql); }
  QString Types(QString sql) const {
    sql.replace("{BOOL}", "BOOLEAN");
    sql.replace("{BLOB}", Pg() ? "BYTEA" : "BLOB");
    sql.replace("{MONEY}", Pg() ? "NUMERIC(19,4)" : "MONEY");
    sql.replace("{DATETIME}", Pg() ? "TIMESTAMP" : "DATETIME");
    return sql;
  }

  std::unique_ptr<ado::Recordset> Open(const QString& sql, int lock = ado::adLockOptimistic,
                                       const ado::ConnectionPtr& on = nullptr) {
    auto rs = std::make_unique<ado::Recordset>();
    rs->Open(sql, on ? on : cn, ado::adOpenDynamic, lock);
    return rs;
  }

  testdb::Database db;
  ado::ConnectionPtr cn;
};

}  // namespace clienttest

#define CLIENT_ENGINE_SUITE(Suite)                                                    \
  INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::ValuesIn(testdb::AllEngines()), \
                           testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>)
