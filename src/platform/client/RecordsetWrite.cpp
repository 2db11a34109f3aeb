// Writing rows back: AddNew / Update / Delete through generated, parameter-bound
// INSERT, UPDATE and DELETE statements against the base table, with optimistic
// checks; and reading long values when they are first used.
#include <algorithm>

#include "platform/client/Busy.h"
#include "platform/client/Fetch.h"
#include "platform/client/OdbcText.h"
#include "platform/client/Params.h"
#include "platform/client/RecordsetImpl.h"
#include "platform/client/Translation.h"
#include "platform/client/TypeMapping.h"
#include "platform/client/ValueConvert.h"

namespace ado {
namespace {

const QString kConflict =
    QStringLiteral("El registro fue modificado o eliminado por otro usuario desde que se leyó.");

bool Comparable(const odbc::ColumnInfo& c) {
  // Long values and binary values are not compared in WHERE clauses (SQL Server
  // cannot compare text and image columns).
  return !c.isLong && !types::IsBinary(c.adoType) && !c.baseColumn.isEmpty();
}

// Text longer than a VARCHAR(n) or CHAR(n) column: SQL Server refuses it (8152),
// PostgreSQL too (mapped to 8152), SQLite would keep it; the client refuses it there.
bool TooLong(const odbc::ColumnInfo& c, const Value& v) {
  if (!types::IsText(c.adoType) || c.isLong || c.definedSize <= 0 || IsNull(v)) return false;
  const QString t = types::BaseTypeName(c.typeName);
  if (!(t.contains("char") || t == "character varying" || t == "character")) return false;
  // Characters, not UTF-16 units: an emoji is one character to the other engines too.
  const QString text = v.toString();
  if (text.size() <= c.definedSize) return false;
  const auto pares = std::count_if(text.cbegin(), text.cend(), [](QChar ch) { return ch.isLowSurrogate(); });
  return text.size() - pares > c.definedSize;
}

}  // namespace

QString Recordset::Impl::TableRef() const { return AdaptFor(base->table, conn->impl().dialect); }

bool Recordset::Impl::AnyComparable() const {
  return std::any_of(cols.cbegin(), cols.cend(), [](const odbc::ColumnInfo& c) { return Comparable(c); });
}

bool Recordset::Impl::TakesNulls(int col) {
  const auto& c = cols[col];
  if (!base || c.baseColumn.isEmpty() || !conn) return true;
  auto& ci = conn->impl();
  ci.RequireOpen(Who());
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement();
  const QString table = sql::CatalogName(base->name, ci.dialect, base->nameQuoted);
  const QString schema = base->schema.isEmpty() || base->schema.compare("dbo", Qt::CaseInsensitive) == 0
                             ? QString()
                             : sql::CatalogName(base->schema, ci.dialect);
  const QString column = sql::CatalogName(c.baseColumn, ci.dialect);
  odbc::Check(SQLColumnsW(st.get(), nullptr, 0, schema.isEmpty() ? nullptr : odbc::W(schema),
                          schema.isEmpty() ? 0 : SQL_NTS, odbc::W(table), SQL_NTS, odbc::W(column), SQL_NTS),
              SQL_HANDLE_STMT, st.get(), ctx, "SQLColumns");
  if (odbc::Check(SQLFetch(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLFetch") == SQL_NO_DATA) return true;
  SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
  SQLLEN ind = 0;
  odbc::Check(SQLGetData(st.get(), 11, SQL_C_SSHORT, &nullable, sizeof nullable, &ind), SQL_HANDLE_STMT,
              st.get(), ctx, "SQLGetData");
  return ind == SQL_NULL_DATA || nullable != SQL_NO_NULLS;
}

void Recordset::Impl::FindKey() const {
  if (keyKnown) return;
  keyCols.clear();
  keyIsPrimary = false;
  if (!base) return;
  keyKnown = true;
  auto& ci = conn->impl();
  const QStringList pk = ci.PrimaryKey(base->name, base->schema, base->nameQuoted);
  if (!pk.isEmpty()) {
    QVector<int> found;
    for (const QString& k : pk) {
      int at = -1;
      for (int i = 0; i < Cols(); ++i) {
        if (cols[i].baseColumn.compare(k, Qt::CaseInsensitive) == 0 && Comparable(cols[i])) {
          at = i;
          break;
        }
      }
      if (at < 0) break;
      found.push_back(at);
    }
    if (found.size() == pk.size()) {
      keyCols = found;
      keyIsPrimary = true;
      return;
    }
  }
  // No primary key among the columns: the row is found by every comparable value.
  for (int i = 0; i < Cols(); ++i)
    if (Comparable(cols[i])) keyCols.push_back(i);
}

void Recordset::Impl::RequireWritable() const {
  RequireOpen();
  if (lockType == adLockReadOnly) odbc::Fail(err::ReadOnly, Who());
  if (base) {
    conn->impl().RequireOpen(Who());
    FindKey();
  }
  if (!base || keyCols.isEmpty())
    odbc::Fail(
        err::ReadOnly, Who(),
        QStringLiteral("(solo se escribe a través de una consulta SELECT de columnas de una sola tabla)"));
  conn->impl().RequireOpen(Who());
}

void Recordset::Impl::Assign(int col, const Value& v) {
  RequireOpen();
  if (lockType == adLockReadOnly) odbc::Fail(err::ReadOnly, Who());
  if (editMode != adEditAdd && !HasCurrent()) odbc::Fail(err::NoCurrentRecord, Who());
  RequireWritable();
  const auto& c = cols[col];
  if (c.baseColumn.isEmpty())
    odbc::Fail(err::ReadOnly, Who(), QStringLiteral("(la columna %1 no es de la tabla)").arg(c.name));
  const auto converted = convert::ForColumn(v, c);
  if (!converted)
    odbc::Fail(err::WrongType, QStringLiteral("ADODB.Field"), QStringLiteral("(columna %1)").arg(c.name));
  if (editMode == adEditNone) editMode = adEditInProgress;
  pending.insert(col, *converted);
}

namespace {

struct Statement {
  QString sql;
  std::unique_ptr<odbc::Params> params;
};

// "col = ?" for a value read from the database; IS NULL for a Null.
void Condition(Recordset::Impl& d, int col, const Value& original, QStringList& where, odbc::Params& ps) {
  const auto& c = d.cols[col];
  const Dialect dialect = d.conn->impl().dialect;
  const QString q = sql::Quote(c.baseColumn, dialect);
  if (IsNull(original) || IsEmpty(original)) {
    where << q + " IS NULL";
    return;
  }
  if (dialect == Dialect::Sqlite && types::IsDateTime(c.adoType)) {
    // Dates are text in SQLite: compare them as dates, whatever their spelling.
    where << "julianday(" + q + ") = julianday(?)";
  } else if (dialect == Dialect::Sqlite && types::IsFloating(c.adoType)) {
    // The driver reads a REAL through its text, 15 digits: 999999999999.9999
    // comes back as 1e12. Compare what it read with what it would read.
    where << "CAST(CAST(" + q + " AS TEXT) AS REAL) = ?";
  } else {
    where << q + " = ?";
  }
  ps.Add(original, c);
}

// A statement with parameters, run once: on PostgreSQL directly, as a
// prepared one would cost the driver four exchanges with the server.
SQLRETURN Execute(SQLHSTMT st, const QString& sql, odbc::Params& ps, const odbc::Context& ctx) {
  Witnessed(sql);
  if (ctx.dialect != Dialect::Postgres)
    odbc::Check(odbc::Prepare(st, sql, ctx.dialect), SQL_HANDLE_STMT, st, ctx, "SQLPrepare");
  ps.Bind(st, ctx);
  if (ctx.dialect == Dialect::Postgres)
    return odbc::Check(ctx.connection->ExecDirect(st, sql), SQL_HANDLE_STMT, st, ctx, "SQLExecDirect");
  return odbc::Check(SQLExecute(st), SQL_HANDLE_STMT, st, ctx, "SQLExecute");
}

long long Run(Recordset::Impl& d, const QString& text, odbc::Params& ps) {
  auto& ci = d.conn->impl();
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
  QString sql = text;
  const odbc::BusyScope busy;
  const SQLRETURN r = Execute(st.get(), sql, ps, ctx);
  if (r == SQL_NO_DATA) return 0;
  SQLLEN n = -1;
  odbc::Check(SQLRowCount(st.get(), &n), SQL_HANDLE_STMT, st.get(), ctx, "SQLRowCount");
  return n;
}

[[noreturn]] void Conflict(Recordset::Impl& d) {
  auto& ci = d.conn->impl();
  ProviderError e;
  e.Number = err::RowChanged;
  e.Description = kConflict;
  e.Source = ci.source;
  odbc::Raise(ci.Ctx(), e);
}

void RefuseTooLong(Recordset::Impl& d, const QVector<int>& colsToWrite) {
  auto& ci = d.conn->impl();
  if (ci.dialect != Dialect::Sqlite) return;  // the other engines check it themselves
  for (int c : colsToWrite)
    if (TooLong(d.cols[c], d.pending.value(c)))
      odbc::Raise(ci.Ctx(), errors::Truncation(d.cols[c].name, ci.source));
}

// The columns read again after a write, so that later checks compare with what
// the database holds (defaults, rounding, padding); their names in `select`.
QVector<int> ReadBack(const Recordset::Impl& d, QStringList& select) {
  QVector<int> read;
  const Dialect dialect = d.conn->impl().dialect;
  for (int i = 0; i < d.Cols(); ++i) {
    if (d.cols[i].isLong || d.cols[i].baseColumn.isEmpty()) continue;
    select << sql::Quote(d.cols[i].baseColumn, dialect);
    read << i;
  }
  return read;
}

// PostgreSQL hands the row back with the write itself (RETURNING), in the same
// exchange with the server: the write's text, and how many rows it changed.
struct Returned {
  long long rows = 0;
  std::vector<Value> values;  // of ReadBack's columns, when a row came back
};
Returned RunReturning(Recordset::Impl& d, const QString& text, odbc::Params& ps, const QVector<int>& read) {
  auto& ci = d.conn->impl();
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
  const odbc::BusyScope busy;
  Returned out;
  if (Execute(st.get(), text, ps, ctx) == SQL_NO_DATA) return out;
  // A write that found no row may come back without a result at all.
  SQLSMALLINT ncols = 0;
  odbc::Check(SQLNumResultCols(st.get(), &ncols), SQL_HANDLE_STMT, st.get(), ctx, "SQLNumResultCols");
  if (ncols == 0) return out;
  if (odbc::Check(SQLFetch(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLFetch") == SQL_NO_DATA) return out;
  out.rows = 1;
  for (int j = 0; j < read.size(); ++j)
    out.values.push_back(odbc::GetValue(st.get(), ctx, j + 1, d.cols[read[j]]));
  return out;
}

// Reads the row's stored values again by its primary key.
void Refresh(Recordset::Impl& d, int row) {
  if (!d.keyIsPrimary) return;
  auto& ci = d.conn->impl();
  const Dialect dialect = ci.dialect;
  QStringList select, where;
  odbc::Params ps(dialect);
  const QVector<int> read = ReadBack(d, select);
  for (int k : d.keyCols) {
    const Value& v = d.Cell(row, k);
    if (IsNull(v) || IsEmpty(v)) return;  // a key left to the database (identity): cannot find the row
    Condition(d, k, v, where, ps);
  }
  if (select.isEmpty()) return;
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
  QString sql = "SELECT " + select.join(", ") + " FROM " + d.TableRef() + " WHERE " + where.join(" AND ");
  const odbc::BusyScope busy;
  Execute(st.get(), sql, ps, ctx);
  if (odbc::Check(SQLFetch(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLFetch") == SQL_NO_DATA) return;
  for (int j = 0; j < read.size(); ++j)
    d.Cell(row, read[j]) = odbc::GetValue(st.get(), ctx, j + 1, d.cols[read[j]]);
}

}  // namespace

void Recordset::Impl::Update() {
  RequireOpen();
  if (editMode == adEditNone) return;
  RequireWritable();
  auto& ci = conn->impl();
  const Dialect dialect = ci.dialect;
  QVector<int> changed = pending.keys().toVector();
  std::sort(changed.begin(), changed.end());
  RefuseTooLong(*this, changed);
  QStringList backNames;
  const QVector<int> backCols = ReadBack(*this, backNames);
  const bool returning = dialect == Dialect::Postgres && keyIsPrimary && !backCols.isEmpty();
  // The row as the database holds it after the write.
  auto keep = [&](const Returned& back) {
    for (size_t j = 0; j < back.values.size(); ++j) Cell(pos, backCols[static_cast<int>(j)]) = back.values[j];
  };

  if (editMode == adEditAdd) {
    QStringList names, marks;
    odbc::Params ps(dialect);
    for (int c : changed) {
      names << sql::Quote(cols[c].baseColumn, dialect);
      marks << "?";
      ps.Add(pending.value(c), cols[c]);
    }
    QString text = names.isEmpty() ? "INSERT INTO " + TableRef() + " DEFAULT VALUES"
                                   : "INSERT INTO " + TableRef() + " (" + names.join(", ") + ") VALUES (" +
                                         marks.join(", ") + ")";
    Returned back;
    if (returning) {
      back = RunReturning(*this, text + " RETURNING " + backNames.join(", "), ps, backCols);
    } else {
      Run(*this, text, ps);
    }
    for (int c = 0; c < Cols(); ++c) {
      const auto it = pending.constFind(c);
      // Columns not given hold what the database chose: read again below, long ones on first use.
      Cell(pos, c) = it != pending.constEnd()
                         ? *it
                         : (cols[c].isLong && keyIsPrimary ? detail::UnloadedValue() : Null());
    }
    keep(back);
  } else {
    QStringList sets, where;
    odbc::Params ps(dialect);
    for (int c : changed) {
      sets << sql::Quote(cols[c].baseColumn, dialect) + " = ?";
      ps.Add(pending.value(c), cols[c]);
    }
    // The row as it was read: its key, and the old values of the columns being changed.
    for (int k : keyCols) Condition(*this, k, Cell(pos, k), where, ps);
    for (int c : changed)
      if (!keyCols.contains(c) && Comparable(cols[c])) Condition(*this, c, Stored(pos, c), where, ps);
    const QString text = "UPDATE " + TableRef() + " SET " + sets.join(", ") + " WHERE " + where.join(" AND ");
    if (returning) {
      const Returned back = RunReturning(*this, text + " RETURNING " + backNames.join(", "), ps, backCols);
      if (back.rows == 0) Conflict(*this);
      for (int c : changed) Cell(pos, c) = pending.value(c);
      keep(back);
    } else {
      if (Run(*this, text, ps) == 0) Conflict(*this);
      for (int c : changed) Cell(pos, c) = pending.value(c);
    }
  }
  editMode = adEditNone;
  pending.clear();
  if (returning) return;
  try {
    Refresh(*this, pos);
  } catch (const Failure&) {
    // The row was written; a failed re-read leaves the values as assigned.
  }
}

void Recordset::Impl::CancelUpdate() {
  RequireOpen();
  if (editMode == adEditAdd) {
    cells.resize(cells.size() - cols.size());
    --rows;
    pos = posBeforeAdd;
  }
  editMode = adEditNone;
  pending.clear();
}

void Recordset::Impl::FinishPendingEdit() {
  if (editMode != adEditNone) Update();
}

void Recordset::Impl::AddNew() {
  RequireWritable();
  FinishPendingEdit();
  posBeforeAdd = pos;
  deleted = false;
  cells.resize(cells.size() + cols.size(), Null());
  ++rows;
  pos = rows - 1;
  editMode = adEditAdd;
  pending.clear();
}

void Recordset::Impl::Delete() {
  RequireOpen();
  if (editMode == adEditAdd) {  // deleting a row being added: nothing was stored
    CancelUpdate();
    return;
  }
  RequireWritable();
  if (!HasCurrent()) odbc::Fail(err::NoCurrentRecord, Who());
  pending.clear();
  editMode = adEditNone;
  const Dialect dialect = conn->impl().dialect;
  QStringList where;
  odbc::Params ps(dialect);
  for (int k : keyCols) Condition(*this, k, Cell(pos, k), where, ps);
  const QString text = "DELETE FROM " + TableRef() + " WHERE " + where.join(" AND ");
  if (Run(*this, text, ps) == 0) Conflict(*this);
  const auto first = cells.begin() + static_cast<std::ptrdiff_t>(pos) * Cols();
  cells.erase(first, first + Cols());
  --rows;
  deleted = true;
}

Value Recordset::Impl::LoadLong(int row, int col) {
  auto& ci = conn->impl();
  ci.RequireOpen(Who());
  FindKey();
  const Dialect dialect = ci.dialect;
  QStringList where;
  odbc::Params ps(dialect);
  for (int k : keyCols) Condition(*this, k, Cell(row, k), where, ps);
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
  QString text = "SELECT " + sql::Quote(cols[col].baseColumn, dialect) + " FROM " + TableRef() + " WHERE " +
                 where.join(" AND ");
  const odbc::BusyScope busy;
  Execute(st.get(), text, ps, ctx);
  // A row deleted since it was read has no value any more.
  if (odbc::Check(SQLFetch(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLFetch") == SQL_NO_DATA)
    return Null();
  return odbc::GetValue(st.get(), ctx, 1, cols[col]);
}

}  // namespace ado
