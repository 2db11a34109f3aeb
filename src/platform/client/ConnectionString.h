#pragma once
// From the program's OLE DB style connection strings to ODBC connection
// strings. Pure: the environment (data sources, driver names) is passed in.
//
//   PROVIDER=SQLOLEDB;Server=SQLITE;Database =/path/x.sqlite;UId=;Pwd=;
//       -> DRIVER={SQLite3};Database=/path/x.sqlite;Timeout=5000;NoCreat=1;StepAPI=1;LoadExt=<extension>;
//   PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =ma;UId=u;Pwd=p;   (an ODBC data source)
//       -> DSN=MA_PG_TEST;Database=ma;UID=u;PWD=p;  (+ BoolsAsChar=0;... for PostgreSQL,
//          CommLog=0;Debug=0 unless the data source or the string sets them, and the
//          session's settings as pqopt unless either sets that)
//   PROVIDER=SQLOLEDB;Server=SRV1;Database =GESTION;UId=sa;Pwd=;
//       -> DRIVER={FreeTDS};Server=SRV1;Database=GESTION;UID=sa;PWD=;ClientCharset=UTF-8;
//   Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=u;Password=p;
//       -> DRIVER={Oracle};DBQ=ORCL;UID=u;PWD=p;
//   DRIVER=... or DSN=... without Provider=   -> unchanged
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace ado::cs {

// Key/value pairs in their order; keys keep their spelling (and blanks) as written.
using Pairs = std::vector<std::pair<QString, QString>>;

// Splits "k=v;k2=v2;" (values may be in {braces} or quotes). Pairs without "=" are dropped.
Pairs Parse(const QString& s);
// The value of the first key equal to one of `keys` (blanks around keys and letter case ignored).
QString Find(const Pairs& pairs, const QStringList& keys, bool* found = nullptr);

// A value as a connection string holds it: in braces, with "}" doubled, when
// it holds ";", "{", "}", "=" or a line break, has blanks at either end, or
// begins with an apostrophe or a quote; otherwise as it is.
QString QuoteValue(const QString& value);
// The value in braces, "}" doubled.
QString Braced(const QString& value);

enum class Kind { PassThrough, Sqlite, DataSource, SqlServer, Oracle };

struct Environment {
  // Whether `name` is an ODBC data source (odbc.ini); its driver's name in *driver.
  std::function<bool(const QString& name, QString* driver)> dataSource;
  // Whether the data source `name` sets `key` itself (odbc.ini).
  std::function<bool(const QString& name, const QString& key)> dataSourceSets;
  QString sqlServerDriver = QStringLiteral("FreeTDS");  // MA_ODBC_SQLSERVER_DRIVER
  QString oracleDriver = QStringLiteral("Oracle");      // MA_ODBC_ORACLE_DRIVER
  int sqliteBusyTimeoutMs = 5000;
  QString sqliteExtension;  // loaded into every SQLite connection (LoadExt); a path without ","
  // PostgreSQL: server settings for the session ("-c lock_timeout=10000 ..."), sent
  // with the login instead of as statements after it.
  QString postgresSession;
};

struct Target {
  Kind kind = Kind::PassThrough;
  QString odbc;                 // the ODBC connection string
  QString sqliteFile;           // Kind::Sqlite: the database file, which must exist
  int loginTimeout = -1;        // "Connect Timeout" of the OLE DB string, in seconds
  bool sessionInLogin = false;  // postgresSession went with the login
};

// `user` and `password` (the arguments of Connection::Open) replace the
// string's own when not empty.
Target Translate(const QString& connectionString, const QString& user, const QString& password,
                 const Environment& env);

// The connection string with every password value replaced by "****".
QString MaskPasswords(const QString& connectionString);

}  // namespace ado::cs
