#include "platform/client/Fetch.h"

#include <QByteArray>
#include <QDate>
#include <QRegularExpression>
#include <cstring>
#include <utility>

#include "platform/client/Constants.h"
#include "platform/client/OdbcText.h"
#include "platform/client/TypeMapping.h"
#include "platform/client/ValueConvert.h"

namespace ado::odbc {
namespace {

// How a column's values are read.
enum class Read { Text, Integer, Double, Exact, Boolean, DateText, Binary };

// An exact number is read as the engine's text, so that no digit of an amount
// is lost in a double; SQLite holds it as a double, whose text has 15 digits.
Read ReadOf(const ColumnInfo& c, Dialect d = Dialect::Unknown) {
  const int t = c.adoType;
  if (types::IsInteger(t)) return Read::Integer;
  if (types::IsExact(t) && d != Dialect::Sqlite && d != Dialect::Unknown) return Read::Exact;
  if (types::IsFloating(t)) return Read::Double;
  if (t == adBoolean) return Read::Boolean;
  if (types::IsDateTime(t)) return Read::DateText;
  if (types::IsBinary(t)) return Read::Binary;
  return Read::Text;
}

// SQLite's driver reports "DECIMAL(10,2)" as "DECIMAL" with no decimals: its
// scale is unknown (-1) unless the type name still says it.
void DeclaredScale(ColumnInfo& c) {
  static const QRegularExpression declared(QStringLiteral("\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*\\)"));
  const QRegularExpressionMatch m = declared.match(c.typeName);
  c.digits = m.hasMatch() ? m.captured(2).toInt() : -1;
  if (m.hasMatch()) c.columnSize = m.captured(1).toLongLong();
}

Value IntegerValue(SQLBIGINT v, int adoType) {
  if (adoType == adBigInt || adoType == adUnsignedBigInt || adoType == adUnsignedInt) return qlonglong(v);
  return static_cast<int>(v);
}

// "1" and "0", as drivers give booleans, without a string of their own; other text as BooleanFromText reads
// it.
Value BooleanValue(const SQLWCHAR* p, qsizetype units) {
  if (units == 1 && (p[0] == u'1' || p[0] == u'0')) return p[0] == u'1';
  return convert::BooleanFromText(FromW(p, units));
}

// The most cells a driver's count of rows may reserve room for ahead of reading them.
constexpr size_t kMaxHintedCells = size_t{1} << 22;

// Widest text (in UTF-16 units) read through a bound buffer; wider goes through SQLGetData.
constexpr long kMaxBoundUnits = 4000;
constexpr long kMaxBoundBytes = 8000;

long BoundUnits(const ColumnInfo& c) {
  // Twice the declared size: characters outside the BMP take two units, and
  // SQLite does not hold text to its declared size.
  const long declared = c.definedSize > 0 ? c.definedSize : 0;
  return std::max<long>(declared * 2, 64) + 1;
}

struct Buffer {
  Read read;
  bool dateStruct = false;  // a date read as SQL_DATE_STRUCT (DatesAsStructs)
  SQLSMALLINT cType;
  SQLLEN width;  // bytes per row
  std::vector<char> data;
  std::vector<SQLLEN> ind;
};

// PostgreSQL's driver gives a date for much less as a structure than as text,
// which it makes by reading the value into numbers and printing them again.
// Where it cannot read one ('infinity', years past 9999) it leaves zeros, and
// the structure gets the month and day (and year) of the day it runs on: dates
// on that month and day are read again as text (FilledInDays), so that those
// values stay the text the driver makes of them. Should the driver refuse to
// read one row of a block again, the whole result is read value by value.
bool DatesAsStructs(const Context& ctx, const ColumnInfo& c) {
  return ctx.dialect == Dialect::Postgres && c.adoType == adDBDate &&
         (c.sqlType == SQL_TYPE_DATE || c.sqlType == SQL_DATE);
}

// The months and days the driver may have filled in: of the day the reading
// began on, and of the days either side, should it run past midnight.
class FilledInDays {
 public:
  FilledInDays() {
    const QDate today = QDate::currentDate();
    for (int k = 0; k < 3; ++k) {
      const QDate day = today.addDays(k - 1);
      days_[k] = {day.month(), day.day()};
    }
  }
  bool Maybe(const SQL_DATE_STRUCT& d) const {
    for (const auto& [month, day] : days_)
      if (d.month == month && d.day == day) return true;
    return false;
  }

 private:
  std::pair<int, int> days_[3];
};

// The filler in the columns of a new row that are not fetched.
void PlaceFiller(std::vector<Value>& cells, size_t base, int stride, const RowSink& sink) {
  std::vector<bool> fetched(stride, false);
  for (int p : sink.place) fetched[p] = true;
  for (int c = 0; c < stride; ++c)
    if (!fetched[c]) cells[base + c] = sink.filler;
}

QString TextAttribute(SQLHSTMT st, const Context& ctx, SQLUSMALLINT column, SQLUSMALLINT field) {
  SQLWCHAR text[512] = {0};
  SQLSMALLINT len = 0;
  Check(SQLColAttributeW(st, column, field, text, sizeof text, &len, nullptr), SQL_HANDLE_STMT, st, ctx,
        "SQLColAttribute", field == SQL_DESC_NAME ? OnError::Throw : OnError::Ignore);
  return FromW(text);
}

SQLLEN NumberAttribute(SQLHSTMT st, const Context& ctx, SQLUSMALLINT column, SQLUSMALLINT field) {
  SQLLEN v = 0;
  Check(SQLColAttributeW(st, column, field, nullptr, 0, nullptr, &v), SQL_HANDLE_STMT, st, ctx,
        "SQLColAttribute", OnError::Ignore);
  return v;
}

// PostgreSQL's driver answers SQLDescribeCol, the type's name and whether a column
// takes nulls from the catalog: one more exchange with the server for every table a
// result comes from. The result itself tells the rest, read field by field here as
// SQLDescribeCol would give it; whether the column takes nulls is asked when wanted.
void DescribeFromResult(SQLHSTMT st, const Context& ctx, SQLUSMALLINT i, ColumnInfo& c) {
  c.name = TextAttribute(st, ctx, i, SQL_DESC_NAME);
  c.typeName = TextAttribute(st, ctx, i, SQL_DESC_LOCAL_TYPE_NAME);
  SQLLEN type = NumberAttribute(st, ctx, i, SQL_DESC_TYPE);
  SQLLEN size = NumberAttribute(st, ctx, i, SQL_DESC_LENGTH);
  SQLLEN digits = 0;
  switch (type) {
    case SQL_DATETIME: {  // the driver leaves the subcode out: its type name tells
      const QString n = c.typeName.toLower();
      type = n.startsWith("timestamp") ? SQL_TYPE_TIMESTAMP
             : n == "date"             ? SQL_TYPE_DATE
             : n.startsWith("time")    ? SQL_TYPE_TIME
                                       : SQL_TYPE_TIMESTAMP;
      if (type != SQL_TYPE_DATE) digits = NumberAttribute(st, ctx, i, SQL_DESC_PRECISION);
      break;
    }
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      size = NumberAttribute(st, ctx, i, SQL_DESC_PRECISION);
      digits = NumberAttribute(st, ctx, i, SQL_DESC_SCALE);
      break;
    case SQL_SMALLINT:  // digits, as SQLDescribeCol counts them
      size = 5;
      break;
    case SQL_TINYINT:
      size = 3;
      break;
    default:
      break;
  }
  c.sqlType = static_cast<int>(type);
  c.columnSize = size < 0 ? 0 : static_cast<long long>(size);
  c.digits = static_cast<int>(digits);
  c.nullableKnown = false;
}

}  // namespace

QVector<ColumnInfo> Describe(SQLHSTMT st, const Context& ctx) {
  SQLSMALLINT n = 0;
  Check(SQLNumResultCols(st, &n), SQL_HANDLE_STMT, st, ctx, "SQLNumResultCols");
  QVector<ColumnInfo> cols;
  cols.reserve(n);
  for (SQLUSMALLINT i = 1; i <= n; ++i) {
    ColumnInfo c;
    if (ctx.dialect == Dialect::Postgres) {
      DescribeFromResult(st, ctx, i, c);
    } else {
      SQLWCHAR name[512];
      SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = SQL_NULLABLE_UNKNOWN;
      SQLULEN size = 0;
      Check(SQLDescribeColW(st, i, name, 512, &nameLen, &type, &size, &digits, &nullable), SQL_HANDLE_STMT,
            st, ctx, "SQLDescribeCol");
      c.name = FromW(name, std::min<qsizetype>(nameLen, 511));
      c.typeName = TextAttribute(st, ctx, i, SQL_DESC_TYPE_NAME);
      c.sqlType = type;
      c.columnSize = static_cast<long long>(size);
      c.digits = digits;
      c.nullable = nullable != SQL_NO_NULLS;
    }
    const auto mapped = types::Map(c.sqlType, c.typeName, c.columnSize, c.digits);
    if (types::IsExact(mapped.adoType) && ctx.dialect == Dialect::Sqlite) DeclaredScale(c);
    c.adoType = mapped.adoType;
    c.definedSize = mapped.definedSize;
    c.isLong = mapped.isLong;
    cols.push_back(c);
  }
  return cols;
}

bool Bindable(const QVector<ColumnInfo>& cols) {
  for (const auto& c : cols) {
    if (c.isLong) return false;
    const Read r = ReadOf(c);
    if (r == Read::Text && BoundUnits(c) > kMaxBoundUnits) return false;
    if (r == Read::Binary && (c.definedSize <= 0 || c.definedSize > kMaxBoundBytes)) return false;
  }
  return true;
}

Value GetValue(SQLHSTMT st, const Context& ctx, int column, const ColumnInfo& c) {
  const SQLUSMALLINT col = static_cast<SQLUSMALLINT>(column);
  SQLLEN ind = 0;
  switch (ReadOf(c, ctx.dialect)) {
    case Read::Integer: {
      SQLBIGINT v = 0;
      Check(SQLGetData(st, col, SQL_C_SBIGINT, &v, sizeof v, &ind), SQL_HANDLE_STMT, st, ctx, "SQLGetData");
      return ind == SQL_NULL_DATA ? Null() : IntegerValue(v, c.adoType);
    }
    case Read::Double: {
      double v = 0;
      Check(SQLGetData(st, col, SQL_C_DOUBLE, &v, sizeof v, &ind), SQL_HANDLE_STMT, st, ctx, "SQLGetData");
      return ind == SQL_NULL_DATA ? Null() : Value(v);
    }
    case Read::Binary: {
      QByteArray out;
      char chunk[32768];
      for (;;) {
        const SQLRETURN r = Check(SQLGetData(st, col, SQL_C_BINARY, chunk, sizeof chunk, &ind),
                                  SQL_HANDLE_STMT, st, ctx, "SQLGetData");
        if (r == SQL_NO_DATA) break;
        if (ind == SQL_NULL_DATA) return Null();
        if (out.isEmpty() && ind != SQL_NO_TOTAL && ind > static_cast<SQLLEN>(sizeof chunk)) out.reserve(ind);
        const SQLLEN got =
            (ind == SQL_NO_TOTAL || ind > static_cast<SQLLEN>(sizeof chunk)) ? sizeof chunk : ind;
        out.append(chunk, got);
        if (r == SQL_SUCCESS) break;
      }
      return out;
    }
    case Read::Text:
    case Read::Exact:
    case Read::Boolean:
    case Read::DateText: {
      QString out;
      SQLWCHAR chunk[8192];
      bool any = false;
      for (;;) {
        const SQLRETURN r = Check(SQLGetData(st, col, SQL_C_WCHAR, chunk, sizeof chunk, &ind),
                                  SQL_HANDLE_STMT, st, ctx, "SQLGetData");
        if (r == SQL_NO_DATA) break;
        if (ind == SQL_NULL_DATA) return Null();
        any = true;
        const SQLLEN room = sizeof chunk - sizeof(SQLWCHAR);
        const SQLLEN got = (ind == SQL_NO_TOTAL || ind > room) ? room : ind;
        if (out.isEmpty() && ind != SQL_NO_TOTAL && ind > room) out.reserve(ind / 2);
        out.append(FromW(chunk, got / static_cast<SQLLEN>(sizeof(SQLWCHAR))));
        if (r == SQL_SUCCESS) break;
      }
      if (!any) return Null();
      if (ReadOf(c) == Read::Boolean) return convert::BooleanFromText(out);
      if (ReadOf(c) == Read::DateText) return convert::DateFromText(out, c.adoType);
      if (ReadOf(c, ctx.dialect) == Read::Exact) return convert::ExactNumber(out);
      return out;
    }
  }
  return Null();
}

bool FetchAll(SQLHSTMT st, const Context& ctx, const QVector<ColumnInfo>& cols, FetchMode mode,
              RowSink& sink) {
  const int ncols = cols.size();
  const int stride = sink.stride;
  auto& cells = *sink.cells;
  auto number = [&](int j) { return sink.columnNumbers.empty() ? j + 1 : sink.columnNumbers[j]; };

  if (mode == FetchMode::GetData) {
    Check(SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0), SQL_HANDLE_STMT,
          st, ctx, "SQLSetStmtAttr", OnError::Ignore);
    for (;;) {
      const SQLRETURN r = Check(SQLFetch(st), SQL_HANDLE_STMT, st, ctx, "SQLFetch");
      if (r == SQL_NO_DATA) break;
      const size_t base = cells.size();
      cells.resize(base + stride);
      if (ncols < stride) PlaceFiller(cells, base, stride, sink);
      for (int j = 0; j < ncols; ++j) cells[base + sink.place[j]] = GetValue(st, ctx, number(j), cols[j]);
      ++sink.rows;
    }
    return true;
  }

  // Bound buffers and a block cursor.
  SQLULEN rowsPerFetch = 256;
  std::vector<Buffer> bufs(ncols);
  for (int j = 0; j < ncols; ++j) {
    Buffer& b = bufs[j];
    b.read = ReadOf(cols[j], ctx.dialect);
    switch (b.read) {
      case Read::Integer:
        b.cType = SQL_C_SBIGINT;
        b.width = sizeof(SQLBIGINT);
        break;
      case Read::Double:
        b.cType = SQL_C_DOUBLE;
        b.width = sizeof(double);
        break;
      case Read::Exact:
        b.cType = SQL_C_WCHAR;
        b.width = 48 * sizeof(SQLWCHAR);
        break;
      case Read::Boolean:
        b.cType = SQL_C_WCHAR;
        b.width = 8 * sizeof(SQLWCHAR);
        break;
      case Read::DateText:
        b.dateStruct = DatesAsStructs(ctx, cols[j]);
        b.cType = b.dateStruct ? SQL_C_TYPE_DATE : SQL_C_WCHAR;
        b.width = b.dateStruct ? sizeof(SQL_DATE_STRUCT) : 48 * sizeof(SQLWCHAR);
        break;
      case Read::Binary:
        b.cType = SQL_C_BINARY;
        b.width = std::max<SQLLEN>(cols[j].definedSize, 1);
        break;
      case Read::Text:
        b.cType = SQL_C_WCHAR;
        b.width = BoundUnits(cols[j]) * sizeof(SQLWCHAR);
        break;
    }
  }
  SQLLEN rowBytes = 0;
  for (const auto& b : bufs) rowBytes += b.width + sizeof(SQLLEN);
  while (rowsPerFetch > 16 && static_cast<SQLLEN>(rowsPerFetch) * rowBytes > (4 << 20)) rowsPerFetch /= 2;

  SQLULEN fetched = 0;
  std::vector<SQLUSMALLINT> status(rowsPerFetch);
  Check(SQLSetStmtAttr(st, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
        SQL_HANDLE_STMT, st, ctx, "SQLSetStmtAttr");
  if (!SQL_SUCCEEDED(
          Check(SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rowsPerFetch), 0),
                SQL_HANDLE_STMT, st, ctx, "SQLSetStmtAttr", OnError::Ignore)))
    rowsPerFetch = 1;
  // A driver may lower the size it was asked for.
  SQLULEN actual = rowsPerFetch;
  if (SQL_SUCCEEDED(Check(SQLGetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, &actual, 0, nullptr), SQL_HANDLE_STMT,
                          st, ctx, "SQLGetStmtAttr", OnError::Ignore)) &&
      actual >= 1 && actual <= rowsPerFetch)
    rowsPerFetch = actual;
  Check(SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0), SQL_HANDLE_STMT, st, ctx,
        "SQLSetStmtAttr");
  Check(SQLSetStmtAttr(st, SQL_ATTR_ROW_STATUS_PTR, status.data(), 0), SQL_HANDLE_STMT, st, ctx,
        "SQLSetStmtAttr");

  for (int j = 0; j < ncols; ++j) {
    Buffer& b = bufs[j];
    b.data.assign(static_cast<size_t>(b.width) * rowsPerFetch, 0);
    b.ind.assign(rowsPerFetch, 0);
    Check(SQLBindCol(st, static_cast<SQLUSMALLINT>(number(j)), b.cType, b.data.data(), b.width, b.ind.data()),
          SQL_HANDLE_STMT, st, ctx, "SQLBindCol");
  }

  // Where each recordset column of a row comes from: a fetched column, or -1 for the filler.
  std::vector<int> source(stride, -1);
  for (int j = 0; j < ncols; ++j) source[sink.place[j]] = j;

  const size_t startCells = cells.size();
  const int startRows = sink.rows;
  // Room for every row at once when the driver tells how many there are
  // (PostgreSQL's does; others say 0 or -1).
  SQLLEN expected = 0;
  bool hinted = false;
  if (SQL_SUCCEEDED(SQLRowCount(st, &expected)) && expected > 0) {
    const size_t want = startCells + std::min(static_cast<size_t>(expected) * stride, kMaxHintedCells);
    if (want > cells.capacity()) {
      cells.reserve(want);
      hinted = true;
    }
  }
  const FilledInDays filledIn;
  bool fits = true;
  for (;;) {
    fetched = 0;
    const SQLRETURN r =
        Check(SQLFetchScroll(st, SQL_FETCH_NEXT, 0), SQL_HANDLE_STMT, st, ctx, "SQLFetchScroll");
    if (r == SQL_NO_DATA) break;
    const SQLULEN n = std::min<SQLULEN>(fetched, rowsPerFetch);
    if (cells.capacity() < cells.size() + n * stride)
      cells.reserve(std::max(cells.capacity() * 2, cells.size() + n * stride));
    for (SQLULEN row = 0; row < n && fits; ++row) {
      if (status[row] == SQL_ROW_NOROW) continue;
      if (status[row] == SQL_ROW_ERROR) {  // read again value by value, where the error shows
        fits = false;
        break;
      }
      // Cells are built in place, in column order; a row cut short is dropped below.
      for (int c = 0; c < stride && fits; ++c) {
        const int j = source[c];
        if (j < 0) {
          cells.push_back(sink.filler);
          continue;
        }
        const Buffer& b = bufs[j];
        const SQLLEN ind = b.ind[row];
        if (ind == SQL_NULL_DATA) {
          cells.push_back(Null());
          continue;
        }
        const char* p = b.data.data() + static_cast<size_t>(b.width) * row;
        switch (b.read) {
          case Read::Integer: {
            SQLBIGINT v;
            std::memcpy(&v, p, sizeof v);
            cells.push_back(IntegerValue(v, cols[j].adoType));
            break;
          }
          case Read::Double: {
            double v;
            std::memcpy(&v, p, sizeof v);
            cells.emplace_back(v);
            break;
          }
          case Read::Binary:
            if (ind == SQL_NO_TOTAL || ind > b.width) {
              fits = false;
              break;
            }
            cells.emplace_back(QByteArray(p, ind));
            break;
          default: {
            if (b.dateStruct) {
              SQL_DATE_STRUCT d;
              std::memcpy(&d, p, sizeof d);
              const QDate date(d.year, d.month, d.day);
              if (date.isValid() && !filledIn.Maybe(d)) {
                cells.emplace_back(date);
              } else if (SQL_SUCCEEDED(Check(SQLSetPos(st, static_cast<SQLSETPOSIROW>(row + 1), SQL_POSITION,
                                                       SQL_LOCK_NO_CHANGE),
                                             SQL_HANDLE_STMT, st, ctx, "SQLSetPos", OnError::Ignore))) {
                cells.push_back(GetValue(st, ctx, number(j), cols[j]));
              } else {
                fits = false;
              }
              break;
            }
            if (ind == SQL_NO_TOTAL || ind > b.width - static_cast<SQLLEN>(sizeof(SQLWCHAR))) {
              fits = false;
              break;
            }
            const auto* w = reinterpret_cast<const SQLWCHAR*>(p);
            const qsizetype units = static_cast<qsizetype>(ind / static_cast<SQLLEN>(sizeof(SQLWCHAR)));
            if (b.read == Read::Text) {
              // Moved into a cell that already holds a string: QVariant(const QString&)
              // would copy it, a reference count up and down for every value.
              cells.emplace_back(QString());
              cells.back().setValue(FromW(w, units));
            } else if (b.read == Read::Boolean) {
              cells.push_back(BooleanValue(w, units));
            } else if (b.read == Read::Exact) {
              cells.push_back(convert::ExactNumber(FromW(w, units)));
            } else {
              const QStringView text(reinterpret_cast<const QChar*>(w), units);
              cells.push_back(convert::DateFromText(text, cols[j].adoType));
            }
            break;
          }
        }
      }
      if (!fits) break;
      ++sink.rows;
    }
    if (!fits) break;
  }
  // Unbind before the buffers go.
  Check(SQLFreeStmt(st, SQL_UNBIND), SQL_HANDLE_STMT, st, ctx, "SQLFreeStmt", OnError::Ignore);
  Check(SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0), SQL_HANDLE_STMT, st, ctx, "SQLSetStmtAttr",
        OnError::Ignore);
  Check(SQLSetStmtAttr(st, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0), SQL_HANDLE_STMT, st, ctx, "SQLSetStmtAttr",
        OnError::Ignore);
  if (!fits) {
    cells.resize(startCells);
    sink.rows = startRows;
    return false;
  }
  // A count that promised more rows than came leaves no unused room behind.
  if (hinted && cells.capacity() > cells.size() + cells.size() / 4) cells.shrink_to_fit();
  return true;
}

}  // namespace ado::odbc
