#include "platform/client/Recordset.h"

#include <optional>

#include "platform/client/Busy.h"
#include "platform/client/Fetch.h"
#include "platform/client/OdbcText.h"
#include "platform/client/RecordsetImpl.h"
#include "platform/client/TypeMapping.h"

namespace ado {
namespace {

constexpr int adCmdText = 1;
constexpr int adCmdTable = 2;
constexpr int adCmdTableDirect = 512;

}  // namespace

// ---- Impl ----

void Recordset::Impl::RequireOpen() const {
  if (state != adStateOpen) odbc::Fail(err::ObjectClosed, Who());
}

void Recordset::Impl::RequireCurrent() const {
  RequireOpen();
  if (editMode == adEditAdd) return;
  if (!HasCurrent()) odbc::Fail(err::NoCurrentRecord, Who());
}

void Recordset::Impl::SetColumns(QVector<odbc::ColumnInfo> c) {
  cols = std::move(c);
  byName.clear();
  for (int i = 0; i < cols.size(); ++i) {
    const QString key = cols[i].name.toLower();
    if (!byName.contains(key)) byName.insert(key, i);
  }
  // Field objects: one per column, owned by the recordset.
  qDeleteAll(self->fields_);
  self->fields_.clear();
  for (int i = 0; i < cols.size(); ++i) self->fields_.push_back(new Field(self, i));
}

void Recordset::Impl::Clear() {
  cells.clear();
  cells.shrink_to_fit();
  rows = 0;
  pos = 0;
  deleted = false;
  editMode = adEditNone;
  pending.clear();
  base.reset();
  keyCols.clear();
  keyIsPrimary = false;
  keyKnown = false;
  state = adStateClosed;
}

Value Recordset::Impl::Stored(int row, int col) {
  Value& v = Cell(row, col);
  if (detail::IsUnloaded(v)) v = LoadLong(row, col);
  return v;
}

Value Recordset::Impl::Read(int col) {
  RequireOpen();
  if (editMode != adEditNone) {
    const auto it = pending.constFind(col);
    if (it != pending.constEnd()) return *it;
    if (editMode == adEditAdd) return Null();
  }
  RequireCurrent();
  return Stored(pos, col);
}

// ---- Recordset ----

Recordset::Recordset() : d_(std::make_unique<Impl>()) { d_->self = this; }

Recordset::~Recordset() {
  qDeleteAll(fields_);
  fields_.clear();
}

void Recordset::Open(const QString& source, const ConnectionPtr& connection, int cursorType, int lockType,
                     int options) {
  auto& d = *d_;
  if (!connection) odbc::Fail(3001, d.Who());
  if (d.state == adStateOpen) Close();
  auto& ci = connection->impl();
  ci.RequireOpen(d.Who());

  QString text = source;
  if (options != adOptionUnspecified && (options & (adCmdTable | adCmdTableDirect)) && !(options & adCmdText))
    text = QStringLiteral("SELECT * FROM ") + source;
  if (cursorType != adOpenUnspecified) d.cursorType = cursorType;
  if (lockType != adLockUnspecified) d.lockType = lockType;
  // Client cursors: pessimistic locking becomes optimistic, every cursor is static.
  if (d.lockType == adLockPessimistic) d.lockType = adLockOptimistic;
  if (ci.cursorLocation == adUseClient) d.cursorType = adOpenStatic;

  const auto ctx = ci.Ctx();
  const Dialect dialect = ci.dialect;
  QString adapted = connection->Adapt(text);
  odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
  std::optional<sql::TableSelect> base = sql::ParseTableSelect(text);
  // Over a network every exchange with the server counts: PostgreSQL's driver
  // spends four on a statement prepared and described before it runs, one on
  // a statement run directly. So there statements run directly and are
  // described from their result, unless long columns may have to be left out
  // of many rows: then a first statement without rows tells which columns are long.
  const bool direct = dialect == Dialect::Postgres;
  const bool fewRows = base && base->mostRows >= 0 && base->mostRows <= 1;
  // What a statement reads of a table: all of it, or the columns it names.
  const QString tableKey = base ? base->schema.toLower() + '.' + base->name.toLower() + '|' : QString();
  QString readKey = tableKey;
  if (base) {
    QStringList names;
    for (const auto& item : base->items) names << item.column.toLower();
    names.sort();
    readKey += (base->star ? QStringLiteral("*") : QString()) + names.join(',');
  }
  const bool knownShort =
      base && (ci.tablesWithoutLong.contains(tableKey + '*') || ci.tablesWithoutLong.contains(readKey));
  // A statement without rows, described before on this connection, is not sent again.
  const bool noRows = base && base->mostRows == 0;
  const auto shape = noRows ? ci.shapesWithoutRows.constFind(adapted) : ci.shapesWithoutRows.constEnd();
  const bool known = shape != ci.shapesWithoutRows.constEnd();
  bool executed = known;
  if (known) {
  } else if (!direct) {
    odbc::Check(odbc::Prepare(st.get(), adapted, dialect), SQL_HANDLE_STMT, st.get(), ctx, "SQLPrepare");
  } else if (!base || knownShort || fewRows) {
    const odbc::BusyScope busy;
    odbc::Check(ci.ExecDirect(st.get(), adapted), SQL_HANDLE_STMT, st.get(), ctx, "SQLExecDirect");
    executed = true;
  } else {
    const odbc::BusyScope busy;
    odbc::Check(ci.ExecDirect(st.get(), "SELECT * FROM (" + adapted + ") ma_q WHERE 1 = 0"), SQL_HANDLE_STMT,
                st.get(), ctx, "SQLExecDirect");
  }
  QVector<odbc::ColumnInfo> cols = known ? *shape : odbc::Describe(st.get(), ctx);
  if (noRows && !known && !cols.isEmpty()) ci.shapesWithoutRows.insert(adapted, cols);
  if (cols.isEmpty()) {
    // Not a query: run it; the recordset stays closed, as a provider leaves it.
    const odbc::BusyScope busy;
    SQLRETURN r = executed ? SQL_SUCCESS
                           : odbc::Check(SQLExecute(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLExecute");
    while (r != SQL_NO_DATA)
      r = odbc::Check(SQLMoreResults(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLMoreResults");
    return;
  }
  if (direct && !executed)
    odbc::Check(SQLFreeStmt(st.get(), SQL_CLOSE), SQL_HANDLE_STMT, st.get(), ctx, "SQLFreeStmt");

  d.Clear();
  d.conn = connection;
  d.source = text;
  d.base = std::move(base);
  if (d.base) {
    // Which result columns are columns of the base table.
    for (auto& c : cols) {
      for (const auto& item : d.base->items) {
        if (item.output.compare(c.name, Qt::CaseInsensitive) == 0) {
          c.baseColumn = item.column;
          break;
        }
      }
      if (c.baseColumn.isEmpty() && d.base->star) c.baseColumn = c.name;
    }
  }
  d.SetColumns(cols);

  bool anyLong = false;
  for (const auto& c : cols) anyLong = anyLong || c.isLong;
  if (direct && d.base && !anyLong) ci.tablesWithoutLong.insert(readKey);
  if (anyLong) {
    ci.tablesWithoutLong.remove(tableKey + '*');
    ci.tablesWithoutLong.remove(readKey);
  }
  // Long values stay in the database until read, when a row can be found again;
  // those of a statement already run are in its result, and one without rows has none.
  const bool lazy = anyLong && !executed && !noRows && d.base && d.AnyComparable();

  QVector<odbc::ColumnInfo> fetchCols;
  odbc::RowSink sink;
  sink.cells = &d.cells;
  sink.stride = cols.size();
  sink.filler = detail::UnloadedValue();
  std::vector<int> numbers;
  for (int i = 0; i < cols.size(); ++i) {
    if (lazy && cols[i].isLong) continue;
    fetchCols.push_back(cols[i]);
    sink.place.push_back(i);
    numbers.push_back(i + 1);
  }

  // PostgreSQL's driver keeps a whole result in memory, and SQLite's reads every
  // column of a row: there the long columns are left out of the statement itself.
  const bool wrap = lazy && (dialect == Dialect::Sqlite || dialect == Dialect::Postgres);
  QString wrapped;
  if (wrap) {
    QStringList names;
    for (const auto& c : fetchCols) names << "ma_q." + sql::Quote(c.name, dialect);
    wrapped = "SELECT " + names.join(", ") + " FROM (" + adapted + ") ma_q";
  } else {
    sink.columnNumbers = numbers;
  }

  if (known) {
    d.rows = 0;
    d.pos = 0;
    d.state = adStateOpen;
    return;
  }

  auto run = [&](odbc::StmtHandle& h) {
    const odbc::BusyScope busy;
    if (wrap) {
      h = ci.NewStatement(Connection::Impl::Carry::Keep);
      odbc::Check(ci.ExecDirect(h.get(), wrapped), SQL_HANDLE_STMT, h.get(), ctx, "SQLExecDirect");
    } else if (direct) {
      odbc::Check(ci.ExecDirect(h.get(), adapted), SQL_HANDLE_STMT, h.get(), ctx, "SQLExecDirect");
    } else {
      odbc::Check(SQLExecute(h.get()), SQL_HANDLE_STMT, h.get(), ctx, "SQLExecute");
    }
  };
  if (!executed || wrap) run(st);
  const bool bound = odbc::Bindable(fetchCols);
  if (!odbc::FetchAll(st.get(), ctx, fetchCols, bound ? odbc::FetchMode::Bound : odbc::FetchMode::GetData,
                      sink)) {
    // A value longer than its declared size (SQLite does not hold text to it): read again value by value.
    odbc::Check(SQLFreeStmt(st.get(), SQL_CLOSE), SQL_HANDLE_STMT, st.get(), ctx, "SQLFreeStmt");
    run(st);
    odbc::FetchAll(st.get(), ctx, fetchCols, odbc::FetchMode::GetData, sink);
  }
  d.rows = sink.rows;
  d.pos = 0;
  d.state = adStateOpen;
}

void Recordset::Close() {
  auto& d = *d_;
  if (d.state != adStateOpen) odbc::Fail(err::ObjectClosed, d.Who());
  // An edit in progress is dropped with the rows.
  d.Clear();
}

int Recordset::State() const { return d_->state; }

bool Recordset::Bof() const {
  const auto& d = *d_;
  d.RequireOpen();
  return d.rows == 0 || d.pos < 0;
}

bool Recordset::Eof() const {
  const auto& d = *d_;
  d.RequireOpen();
  return d.rows == 0 || d.pos >= d.rows;
}

void Recordset::MoveFirst() {
  auto& d = *d_;
  d.RequireOpen();
  d.FinishPendingEdit();
  if (d.rows == 0) odbc::Fail(err::NoCurrentRecord, d.Who());
  d.pos = 0;
  d.deleted = false;
}

void Recordset::MoveLast() {
  auto& d = *d_;
  d.RequireOpen();
  d.FinishPendingEdit();
  if (d.rows == 0) odbc::Fail(err::NoCurrentRecord, d.Who());
  d.pos = d.rows - 1;
  d.deleted = false;
}

void Recordset::MoveNext() {
  auto& d = *d_;
  d.RequireOpen();
  d.FinishPendingEdit();
  if (d.deleted) {  // the position already names the row after the deleted one
    d.deleted = false;
    return;
  }
  if (d.rows == 0 || d.pos >= d.rows) odbc::Fail(err::NoCurrentRecord, d.Who());
  ++d.pos;
}

void Recordset::MovePrevious() {
  auto& d = *d_;
  d.RequireOpen();
  d.FinishPendingEdit();
  if (d.deleted) {
    d.deleted = false;
    --d.pos;
    return;
  }
  if (d.rows == 0 || d.pos < 0) odbc::Fail(err::NoCurrentRecord, d.Who());
  if (d.pos >= d.rows) {
    d.pos = d.rows - 1;
    return;
  }
  --d.pos;
}

long Recordset::RecordCount() const {
  const auto& d = *d_;
  d.RequireOpen();
  return d.rows;
}

long Recordset::AbsolutePosition() const {
  const auto& d = *d_;
  d.RequireOpen();
  return d.HasCurrent() ? d.pos + 1 : 0;
}

int Recordset::CursorType() const { return d_->cursorType; }
void Recordset::SetCursorType(int t) {
  if (d_->state == adStateOpen) odbc::Fail(3705, d_->Who());
  d_->cursorType = t;
}
int Recordset::LockType() const { return d_->lockType; }
void Recordset::SetLockType(int t) {
  if (d_->state == adStateOpen) odbc::Fail(3705, d_->Who());
  d_->lockType = t;
}
int Recordset::EditMode() const { return d_->editMode; }
ConnectionPtr Recordset::ActiveConnection() const { return d_->conn; }
QString Recordset::Source() const { return d_->source; }

int Recordset::FieldCount() const {
  d_->RequireOpen();
  return d_->Cols();
}

Field& Recordset::Fields(int index) {
  auto& d = *d_;
  d.RequireOpen();
  if (index < 0 || index >= d.Cols()) odbc::Fail(err::ItemNotFound, d.Who(), QString::number(index));
  return *fields_[index];
}

Field& Recordset::Fields(const QString& name) {
  auto& d = *d_;
  d.RequireOpen();
  QString key = name.trimmed().toLower();
  if (key.startsWith('[') && key.endsWith(']')) key = key.mid(1, key.size() - 2);
  const auto it = d.byName.constFind(key);
  if (it == d.byName.constEnd()) odbc::Fail(err::ItemNotFound, d.Who(), QStringLiteral("(%1)").arg(name));
  return *fields_[*it];
}

bool Recordset::HasField(const QString& name) const {
  const auto& d = *d_;
  if (d.state != adStateOpen) return false;
  return d.byName.contains(name.trimmed().toLower());
}

void Recordset::AddNew() { d_->AddNew(); }
void Recordset::Update() { d_->Update(); }
void Recordset::CancelUpdate() { d_->CancelUpdate(); }
void Recordset::Delete() { d_->Delete(); }

QVector<QVector<Value>> Recordset::GetRows() {
  auto& d = *d_;
  d.RequireOpen();
  d.FinishPendingEdit();
  if (!d.HasCurrent()) odbc::Fail(err::NoCurrentRecord, d.Who());
  QVector<QVector<Value>> out(d.Cols());
  const int n = d.rows - d.pos;
  for (int c = 0; c < d.Cols(); ++c) {
    out[c].reserve(n);
    for (int r = d.pos; r < d.rows; ++r) out[c].push_back(d.Stored(r, c));
  }
  d.pos = d.rows;
  return out;
}

// ---- Field ----

QString Field::Name() const { return owner_->d_->cols[index_].name; }
Value Field::GetValue() const { return owner_->d_->Read(index_); }
void Field::SetValue(const Value& v) { owner_->d_->Assign(index_, v); }

Value Field::OriginalValue() const {
  auto& d = *owner_->d_;
  d.RequireOpen();
  if (d.editMode == adEditAdd) return Null();
  d.RequireCurrent();
  return d.Stored(d.pos, index_);
}

int Field::Type() const { return owner_->d_->cols[index_].adoType; }
long Field::DefinedSize() const { return owner_->d_->cols[index_].definedSize; }
int Field::Precision() const {
  const auto& c = owner_->d_->cols[index_];
  if (types::IsFloating(c.adoType) || types::IsInteger(c.adoType))
    return static_cast<int>(std::min<long long>(c.columnSize, 255));
  return 255;
}
int Field::NumericScale() const {
  const auto& c = owner_->d_->cols[index_];
  return types::IsFloating(c.adoType) ? c.digits : 255;
}
bool Field::IsNullable() const {
  auto& d = *owner_->d_;
  auto& c = d.cols[index_];
  if (!c.nullableKnown) {
    c.nullable = d.TakesNulls(index_);
    c.nullableKnown = true;
  }
  return c.nullable;
}

}  // namespace ado
