#pragma once
// What the parts of the SQLite extension share. SqliteText.cpp holds the
// extension's entry point; each part registers its functions on a connection.
#include <sqlite3ext.h>

#include <string>

namespace ma_sqlite {

// SQL Server's date arithmetic (SqliteDates.cpp).
int RegisterDates(sqlite3* db);
// SQL Server's conversions of text to numbers and its numeric functions (SqliteNumbers.cpp).
int RegisterNumbers(sqlite3* db);

// A value's text as SQLite gives it, empty for NULL.
std::string TextOf(sqlite3_value* v);

}  // namespace ma_sqlite
