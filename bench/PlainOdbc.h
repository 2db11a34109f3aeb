#pragma once
// The plain ODBC baseline the benchmarks hold the program against: a connection
// made from the same ODBC string the client would connect with, and the
// straightforward read of a statement (one bound buffer per column, SQLFetch row
// by row, every value looked at: text lengths added up, numbers summed; and,
// when asked, every value kept in memory).
#include <sql.h>
#include <sqlext.h>

#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/client/ConnectionString.h"
#include "support/TestDatabases.h"

// The ODBC connection string the client makes of the database's program string.
inline QString ClientOdbcString(const testdb::Database& db) {
  ado::cs::Environment env;
  env.dataSource = [&](const QString& name, QString* driver) {
    if (db.engine != testdb::Engine::Postgres || name != db.server) return false;
    *driver = "PostgreSQL Unicode";
    return true;
  };
  return ado::cs::Translate(db.programString, {}, {}, env).odbc;
}

// A benchmark cannot go on without its baseline: a failure ends the program.
struct Odbc {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  explicit Odbc(const QString& cs) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    const std::u16string w = cs.toStdU16String();
    const SQLRETURN r = SQLDriverConnectW(dbc, nullptr, (SQLWCHAR*)w.c_str(), SQL_NTS, nullptr, 0, nullptr,
                                          SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(r)) {
      std::fprintf(stderr, "plain ODBC connect failed\n");
      std::exit(1);
    }
  }
  Odbc(const Odbc&) = delete;
  Odbc& operator=(const Odbc&) = delete;
  ~Odbc() {
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
};

// Every value of a result kept in memory the cheapest plain way: a cell per
// value (a number, a date's yyyymmdd, or where its text starts in one shared
// buffer of UTF-16 units), the way a program holding a result would.
struct PlainTable {
  struct Cell {
    long long value = 0;
    int length = -1;  // text units; -1 NULL, -2 not text
  };
  std::vector<Cell> cells;  // rows x columns
  std::u16string text;
};

// Reads every row of `sql`; returns the row count, adds what it read to
// *checksum and, when asked, tells the column count and keeps every value.
inline long long PlainFetch(SQLHDBC dbc, const std::u16string& sql, long long* checksum,
                            int* columns = nullptr, PlainTable* keep = nullptr) {
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
  if (!SQL_SUCCEEDED(SQLExecDirectW(st, (SQLWCHAR*)sql.c_str(), SQL_NTS))) {
    std::fprintf(stderr, "plain ODBC query failed\n");
    std::exit(1);
  }
  SQLSMALLINT n = 0;
  SQLNumResultCols(st, &n);
  if (columns) *columns = n;
  std::vector<SQLSMALLINT> types(n);
  std::vector<std::vector<char>> bufs(n);
  std::vector<SQLLEN> ind(n);
  for (SQLUSMALLINT c = 1; c <= n; ++c) {
    SQLSMALLINT type = 0, digits = 0, nullable = 0, len = 0;
    SQLULEN size = 0;
    SQLWCHAR name[128];
    SQLDescribeColW(st, c, name, 128, &len, &type, &size, &digits, &nullable);
    SQLSMALLINT ctype;
    size_t bytes;
    switch (type) {
      case SQL_INTEGER:
      case SQL_SMALLINT:
      case SQL_BIGINT:
      case SQL_TINYINT:
        ctype = SQL_C_SBIGINT;
        bytes = sizeof(SQLBIGINT);
        break;
      case SQL_TYPE_DATE:
        ctype = SQL_C_TYPE_DATE;
        bytes = sizeof(SQL_DATE_STRUCT);
        break;
      default:
        ctype = SQL_C_WCHAR;
        bytes = (std::max<SQLULEN>(size, 64) * 2 + 1) * sizeof(SQLWCHAR);
        break;
    }
    types[c - 1] = ctype;
    bufs[c - 1].resize(bytes);
    SQLBindCol(st, c, ctype, bufs[c - 1].data(), static_cast<SQLLEN>(bytes), &ind[c - 1]);
  }
  long long rows = 0;
  while (SQL_SUCCEEDED(SQLFetch(st))) {
    ++rows;
    for (int c = 0; c < n; ++c) {
      PlainTable::Cell cell;
      if (ind[c] == SQL_NULL_DATA) {
        if (keep) keep->cells.push_back(cell);
        continue;
      }
      if (types[c] == SQL_C_SBIGINT) {
        SQLBIGINT v;
        std::memcpy(&v, bufs[c].data(), sizeof v);
        *checksum += v;
        cell = {v, -2};
      } else if (types[c] == SQL_C_TYPE_DATE) {
        SQL_DATE_STRUCT d;
        std::memcpy(&d, bufs[c].data(), sizeof d);
        *checksum += d.day;
        cell = {d.year * 10000LL + d.month * 100 + d.day, -2};
      } else {
        *checksum += ind[c];
        if (keep) {
          // What the buffer holds of it, should a value have been cut.
          const SQLLEN room = static_cast<SQLLEN>(bufs[c].size() - sizeof(SQLWCHAR));
          const auto units = static_cast<size_t>(std::clamp<SQLLEN>(ind[c], 0, room)) / sizeof(SQLWCHAR);
          cell = {static_cast<long long>(keep->text.size()), static_cast<int>(units)};
          keep->text.append(reinterpret_cast<const char16_t*>(bufs[c].data()), units);
        }
      }
      if (keep) keep->cells.push_back(cell);
    }
  }
  SQLFreeHandle(SQL_HANDLE_STMT, st);
  return rows;
}
