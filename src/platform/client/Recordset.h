#pragma once
// A client-side recordset. Open reads the rows (long binary and text columns
// are read on first use); AddNew / Update / Delete write through generated
// statements against the base table, keyed by the primary key (or all the
// original values where there is none), with optimistic checks.
//
// Bof()/Eof() stand for BOF/EOF: EOF is a macro of the C library.
#include <QString>
#include <QVector>
#include <memory>

#include "platform/client/Connection.h"
#include "platform/client/Constants.h"

namespace ado {

class Recordset;

class Field {
 public:
  QString Name() const;
  // Throws Failure 3021 at BOF/EOF.
  Value GetValue() const;
  // Throws 3421 when the value cannot be converted to the column's type,
  // 3251 on a read-only recordset, 3021 with no current row.
  void SetValue(const Value& v);
  Value OriginalValue() const;
  int Type() const;          // adVarChar, adCurrency, ...
  long DefinedSize() const;  // characters for text, bytes for binary
  int Precision() const;
  int NumericScale() const;  // -1: the engine does not say (SQLite's decimals)
  bool IsNullable() const;

 private:
  friend class Recordset;
  Field(Recordset* owner, int index) : owner_(owner), index_(index) {}
  Recordset* owner_;
  int index_;
};

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  void Open(const QString& source, const ConnectionPtr& connection, int cursorType = adOpenUnspecified,
            int lockType = adLockUnspecified, int options = adOptionUnspecified);
  void Close();
  int State() const;

  bool Bof() const;
  bool Eof() const;
  void MoveFirst();
  void MovePrevious();
  void MoveNext();
  void MoveLast();
  long RecordCount() const;
  long AbsolutePosition() const;  // 1-based; 0 with no current row

  int CursorType() const;
  void SetCursorType(int t);
  int LockType() const;
  void SetLockType(int t);
  int EditMode() const;
  ConnectionPtr ActiveConnection() const;
  QString Source() const;

  int FieldCount() const;
  Field& Fields(int index);            // throws 3265 when out of range
  Field& Fields(const QString& name);  // case-insensitive; throws 3265
  bool HasField(const QString& name) const;

  void AddNew();
  void Update();
  void CancelUpdate();
  void Delete();

  // All rows from the current one on, as [column][row]; leaves the recordset at EOF.
  QVector<QVector<Value>> GetRows();

  struct Impl;

 private:
  friend class Field;
  friend class Connection;
  std::unique_ptr<Impl> d_;
  QVector<Field*> fields_;
};

using RecordsetPtr = std::shared_ptr<Recordset>;

}  // namespace ado
