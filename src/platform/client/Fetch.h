#pragma once
// Reading result sets: column descriptions, and every row at once, either
// through bound column buffers and a block cursor (the fast path) or value by
// value with SQLGetData (long values, and values longer than their declared size).
#include <sql.h>
#include <sqlext.h>

#include <QVector>
#include <vector>

#include "platform/client/ColumnInfo.h"
#include "platform/client/OdbcCheck.h"
#include "platform/core/Value.h"

namespace ado::odbc {

// The result columns of a prepared or executed statement, with their ADO types.
QVector<ColumnInfo> Describe(SQLHSTMT st, const Context& ctx);

enum class FetchMode { Bound, GetData };

struct RowSink {
  std::vector<Value>* cells = nullptr;  // rows of `stride` values each, appended
  int stride = 0;
  std::vector<int> place;  // recordset column of each fetched result column
  Value filler;            // for recordset columns that are not fetched
  int rows = 0;            // rows appended
  // The result column number (1-based) of each entry of `cols`; empty means 1, 2, 3, ...
  std::vector<int> columnNumbers;
};

// Reads every remaining row of the executed statement `st`, whose result
// columns are `cols`. In Bound mode it returns false, having appended nothing,
// when a value did not fit its buffer: the statement must then be run again and
// read in GetData mode.
bool FetchAll(SQLHSTMT st, const Context& ctx, const QVector<ColumnInfo>& cols, FetchMode mode,
              RowSink& sink);

// Whether every column can be read through bound buffers.
bool Bindable(const QVector<ColumnInfo>& cols);

// One value of the current row (1-based column).
Value GetValue(SQLHSTMT st, const Context& ctx, int column, const ColumnInfo& c);

}  // namespace ado::odbc
