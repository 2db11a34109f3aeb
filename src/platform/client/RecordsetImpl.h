#pragma once
// The inside of a Recordset: the rows read at Open, the current position, the
// edit buffer, and what is known of the base table for writing rows back.
#include <QHash>
#include <QVector>
#include <optional>
#include <vector>

#include "platform/client/ColumnInfo.h"
#include "platform/client/ConnectionImpl.h"
#include "platform/client/Recordset.h"
#include "platform/client/TableSelect.h"

namespace ado {

namespace detail {
// The value of a long column that has not been read yet.
struct Unloaded {
  bool operator==(const Unloaded&) const { return true; }
};
inline Value UnloadedValue() { return QVariant::fromValue(Unloaded{}); }
inline bool IsUnloaded(const Value& v) { return v.metaType() == QMetaType::fromType<Unloaded>(); }
}  // namespace detail

struct Recordset::Impl {
  Recordset* self = nullptr;
  ConnectionPtr conn;
  QString source;
  int cursorType = adOpenForwardOnly;
  int lockType = adLockReadOnly;
  int state = adStateClosed;

  QVector<odbc::ColumnInfo> cols;
  QHash<QString, int> byName;  // lower-case name -> first column of that name
  std::vector<Value> cells;    // rows × columns
  int rows = 0;
  int pos = 0;           // -1 = BOF, rows = EOF
  bool deleted = false;  // the current row was deleted; the position names the row after it

  int editMode = adEditNone;
  QHash<int, Value> pending;  // column -> value assigned since the last Update
  int posBeforeAdd = 0;

  // Writing back.
  std::optional<sql::TableSelect> base;
  // Looked for on first need: finding the primary key costs the catalog's answers.
  mutable QVector<int> keyCols;       // columns that identify a row in the base table
  mutable bool keyIsPrimary = false;  // keyCols is the primary key (else: every comparable column)
  mutable bool keyKnown = false;

  int Cols() const { return static_cast<int>(cols.size()); }
  Value& Cell(int row, int col) { return cells[static_cast<size_t>(row) * cols.size() + col]; }

  QString Who() const { return QStringLiteral("ADODB.Recordset"); }
  void RequireOpen() const;
  bool HasCurrent() const { return state == adStateOpen && !deleted && pos >= 0 && pos < rows; }
  void RequireCurrent() const;  // 3021 unless on a row
  void SetColumns(QVector<odbc::ColumnInfo> c);
  void Clear();

  // A field's value on the current row (the edit buffer first; long values read on first use).
  Value Read(int col);
  // The value read from the database for a row, long values loaded on first use.
  Value Stored(int row, int col);
  void Assign(int col, const Value& v);

  // Write-back (RecordsetWrite.cpp).
  void RequireWritable() const;
  void Update();
  void CancelUpdate();
  void AddNew();
  void Delete();
  void FinishPendingEdit();  // the implicit Update before a move
  Value LoadLong(int row, int col);
  void FindKey() const;        // once per Open
  bool AnyComparable() const;  // a column that could find a row again
  bool TakesNulls(int col);    // from the catalog: a column not of the base table may
  QString TableRef() const;
};

}  // namespace ado
