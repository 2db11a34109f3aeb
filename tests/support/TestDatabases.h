#pragma once
// Private databases for the tests: fresh copies of the demo database (demo/) or
// empty ones, as SQLite files and on a private PostgreSQL server. Everything here
// goes through the engines' command-line tools (sqlite3, psql), never through the
// program's own database client, so the fixtures do not depend on what they test.
//
// PostgreSQL: the server of scripts/test.sh when its environment is present
// (ODBCINI, MA_PG_DIR, MA_PG_PORT, ...), otherwise one started for this process
// with scripts/pg_server.sh and stopped at exit. A server that cannot be started
// is an error, never a skipped test.
//
// Failures throw std::runtime_error with the tool's message; inside a test body
// GoogleTest reports them as failures.
#include <QString>
#include <QStringList>
#include <ostream>
#include <string>
#include <vector>

namespace testdb {

enum class Engine { Sqlite, Postgres };

struct Database {
  Engine engine = Engine::Sqlite;
  QString server;  // "SQLITE", or the DSN name "MA_PG_TEST"
  QString dbName;  // absolute file path, or the database's name on the server
  QString user;    // "admin" on SQLite (a suite user), the server's login on PostgreSQL
  QString password;
  // The program's own connection string for this database:
  // "PROVIDER=SQLOLEDB;Server=<server>;Database =<db>;UId=<user>;Pwd=<pw>;".
  QString programString;
  // A plain ODBC connection string for the same database.
  QString odbcString;
  // On a server of its own (ServidorPropio): its socket folder and port.
  QString socketDir, port;
};

// A new private copy of the demo database.
Database FreshDemo(Engine e);
// A new database without tables.
Database FreshEmpty(Engine e);
// The SQLite database in the file `path`, as the suite's user "admin" reaches it.
Database SqliteFile(const QString& path);

const char* Name(Engine e);  // "SQLite" / "PostgreSQL"
std::vector<Engine> AllEngines();
inline void PrintTo(Engine e, std::ostream* os) { *os << Name(e); }
// For INSTANTIATE_TEST_SUITE_P(..., ::testing::ValuesIn(testdb::AllEngines()), testdb::ParamName).
template <class Info>
std::string ParamName(const Info& info) {
  return Name(info.param);
}

// A PostgreSQL server for one test alone, which it may stop and restart
// without disturbing the tests that share the run's server. Its databases
// are reached through the run's data source with the port given apart.
class ServidorPropio {
 public:
  ServidorPropio();  // throws std::runtime_error when it cannot start
  ~ServidorPropio();
  ServidorPropio(const ServidorPropio&) = delete;
  ServidorPropio& operator=(const ServidorPropio&) = delete;

  Database Demo();  // a new copy of the demo database on it
  void Detener();
  void Reiniciar();  // stopped or running: it runs again, on the same port

 private:
  std::string dir_, port_;
};

// Runs a script (any number of statements, the engine's own dialect).
void RunSql(const Database& db, const QString& sql);
// The rows of a query, fields separated by "|", NULL as an empty field.
// Booleans read 1/0 on SQLite and t/f on PostgreSQL.
QStringList Query(const Database& db, const QString& sql);

// A code right-aligned with blanks, as the suite stores company (15) and voucher (4) codes.
QString RightAligned(const QString& code, int width);

// Bench data: adds `count` companies after the greatest existing code, the first
// `withLogo` of them with a logo of `logoBytes` random bytes.
void GrowCompanies(const Database& db, int count, int withLogo, int logoBytes);
// Bench data: a table of `rows` rows and `columns` columns (at least 3): ID, CODIGO,
// DESCRIPCION, then text, integer, currency-like and date columns in turn.
void CreateWideTable(const Database& db, const QString& table, int rows, int columns);

}  // namespace testdb
