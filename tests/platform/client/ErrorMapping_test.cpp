// Provider errors from driver diagnostics, normalised to SQL Server's numbers, table-driven.
#include "platform/client/ErrorMapping.h"

#include <gtest/gtest.h>

#include "platform/core/Error.h"

namespace {

using ado::Dialect;

struct Case {
  const char* what;
  Dialect dialect;
  const char* sqlState;
  long native;
  const char* message;
  long expectNumber;
  long expectNative;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class Normalise : public ::testing::TestWithParam<Case> {};

TEST_P(Normalise, NumberAndNative) {
  const Case& c = GetParam();
  const auto e = ado::errors::Normalise(c.dialect, {c.sqlState, c.native, c.message}, "src");
  EXPECT_EQ(e.Number, c.expectNumber);
  EXPECT_EQ(e.NativeError, c.expectNative);
  // The original state and text are kept (a lock time-out says first what to do).
  EXPECT_EQ(e.SQLState.toStdString(), c.sqlState);
  if (c.expectNative == ado::errors::kLockTimeout)
    EXPECT_TRUE(e.Description.startsWith("Otro usuario tiene bloqueados") &&
                e.Description.contains(QString::fromUtf8(c.message)))
        << e.Description.toStdString();
  else
    EXPECT_EQ(e.Description.toStdString(), c.message);
  EXPECT_EQ(e.Source, "src");
}

using namespace ado;
const long kIntegrity = err::IntegrityViolation, kMissing = err::TableMissing, kCommand = err::CommandText,
           kOther = err::Unspecified;

const Case kCases[] = {
    // SQLite: everything is HY000; the message tells the kind.
    {"sqlite_unique", Dialect::Sqlite, "HY000", 19, "[SQLite]UNIQUE constraint failed: P.IdEmpresa (19)",
     kIntegrity, 2627},
    {"sqlite_primary_key", Dialect::Sqlite, "HY000", 19, "[SQLite]PRIMARY KEY must be unique (19)",
     kIntegrity, 2627},
    {"sqlite_not_null", Dialect::Sqlite, "HY000", 19, "[SQLite]NOT NULL constraint failed: P.IdEmpresa (19)",
     kIntegrity, 515},
    {"sqlite_foreign_key", Dialect::Sqlite, "HY000", 19, "[SQLite]FOREIGN KEY constraint failed (19)",
     kIntegrity, 547},
    {"sqlite_length_check", Dialect::Sqlite, "HY000", 19,
     "[SQLite]CHECK constraint failed: length(x) <= 5 (19)", kOther, 8152},
    {"sqlite_other_check", Dialect::Sqlite, "HY000", 19, "[SQLite]CHECK constraint failed: ck_positivo (19)",
     kIntegrity, 19},
    {"sqlite_no_table", Dialect::Sqlite, "HY000", 1, "[SQLite]no such table: nothere (1)", kMissing, 208},
    {"sqlite_syntax", Dialect::Sqlite, "HY000", 1, "[SQLite]near \"SELEC\": syntax error (1)", kCommand, 102},
    {"sqlite_no_column", Dialect::Sqlite, "HY000", 1, "[SQLite]no such column: x (1)", kCommand, 207},
    // A lock wait that ran out of time reads as SQL Server's 1222 on every engine.
    {"sqlite_busy", Dialect::Sqlite, "HY000", 5, "[SQLite]database is locked (5)", kOther, 1222},
    {"pg_lock_timeout", Dialect::Postgres, "55P03", 7, "ERROR: canceling statement due to lock timeout",
     kOther, 1222},
    {"mssql_lock_timeout", Dialect::SqlServer, "HY000", 1222, "Lock request time out period exceeded.",
     kOther, 1222},
    // PostgreSQL: by SQLSTATE.
    {"pg_unique", Dialect::Postgres, "23505", 1,
     "ERROR: duplicate key value violates unique constraint \"p_pkey\"", kIntegrity, 2627},
    {"pg_not_null", Dialect::Postgres, "23502", 1, "ERROR: null value in column \"idempresa\"", kIntegrity,
     515},
    {"pg_foreign_key", Dialect::Postgres, "23503", 1, "ERROR: insert or update violates foreign key",
     kIntegrity, 547},
    {"pg_check", Dialect::Postgres, "23514", 1, "ERROR: new row violates check constraint", kIntegrity, 1},
    {"pg_truncation", Dialect::Postgres, "22001", 1, "ERROR: value too long for type character varying(15)",
     kOther, 8152},
    {"pg_no_table", Dialect::Postgres, "42P01", 1, "ERROR: relation \"nothere\" does not exist", kMissing,
     208},
    {"pg_syntax", Dialect::Postgres, "42601", 1, "ERROR: syntax error at or near \"SELEC\"", kCommand, 102},
    {"pg_no_column", Dialect::Postgres, "42703", 1, "ERROR: column \"x\" does not exist", kCommand, 207},
    {"pg_connection", Dialect::Postgres, "08001", 101, "could not connect to server", kOther, 101},
    // SQL Server: its own numbers are kept.
    {"mssql_duplicate", Dialect::SqlServer, "23000", 2627, "Violation of PRIMARY KEY constraint", kIntegrity,
     2627},
    {"mssql_null", Dialect::SqlServer, "23000", 515, "Cannot insert the value NULL", kIntegrity, 515},
    {"mssql_truncation", Dialect::SqlServer, "22001", 8152, "String or binary data would be truncated.",
     kOther, 8152},
    {"mssql_no_table", Dialect::SqlServer, "42S02", 208, "Invalid object name 'nothere'.", kMissing, 208},
    {"mssql_syntax", Dialect::SqlServer, "42000", 102, "Incorrect syntax near 'SELEC'.", kCommand, 102},
    {"mssql_login", Dialect::SqlServer, "28000", 18456, "Login failed for user 'sa'.", kOther, 18456},
};

INSTANTIATE_TEST_SUITE_P(Cases, Normalise, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.what); });

TEST(ConnectionLost, ByStateOrByTheDriversWords) {
  const struct {
    const char* sqlState;
    const char* message;
    bool lost;
  } cases[] = {
      {"08S01", "Communication link failure", true},
      {"08003", "Connection not open", true},
      {"57P01", "FATAL: terminating connection due to administrator command", true},
      {"HY000", "server closed the connection unexpectedly\n\tThis probably means", true},
      {"HY000", "no connection to the server", true},
      {"08001", "could not connect to server", true},  // only a connection that was open asks
      {"42P01", "relation \"no connection to the server\" does not exist", false},
      {"55P03", "canceling statement due to lock timeout", false},
      {"HY000", "[SQLite]database is locked (5)", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ado::errors::IsConnectionLost({c.sqlState, 0, c.message}), c.lost)
        << c.sqlState << " " << c.message;
}

TEST(Truncation, ReadsLikeSqlServer) {
  const auto e = ado::errors::Truncation("IdEmpresa", "src");
  EXPECT_EQ(e.NativeError, 8152);
  EXPECT_EQ(e.SQLState, "22001");
  EXPECT_EQ(e.Number, ado::err::Unspecified);
  EXPECT_TRUE(e.Description.contains("IdEmpresa"));
}

}  // namespace
