#pragma once
// Many rows into one table, fast, for loads of millions of rows, where one
// statement per row would spend most of the time in exchanges. The caller
// fills the rows cell by cell into buffers; they go as an INSERT of many rows
// at once, prepared once and adapted to the engine like any statement, with
// its parameters bound to those buffers; on PostgreSQL as one array a column.
#include <QString>
#include <QStringView>
#include <QVector>
#include <memory>

#include "platform/client/Connection.h"

namespace ado {

class BulkInsert {
 public:
  enum class Kind { BigInt, Text };
  struct Column {
    QString name;
    Kind kind = Kind::Text;
    int length = 0;  // characters, for Text
  };
  // `rowsPerStatement` 0 takes the engine's best; any is cut to the engine's
  // bounds (SQL Server takes at most 2100 parameters a statement, Oracle one row per INSERT).
  BulkInsert(const ConnectionPtr& connection, const QString& table, const QVector<Column>& columns,
             int rowsPerStatement = 0);
  ~BulkInsert();
  BulkInsert(const BulkInsert&) = delete;
  BulkInsert& operator=(const BulkInsert&) = delete;

  // The cells of the row being filled; a cell not set is NULL.
  void SetBigInt(int column, qint64 value);
  void SetText(int column, QStringView text);  // cut to the column's length
  // Ends the row; a full statement's worth is sent. Throws Failure as Execute does.
  void EndRow();
  // Sends the rows not sent yet.
  void Flush();
  long RowsSent() const;

  struct Impl;

 private:
  void SendFull();
  std::unique_ptr<Impl> d_;
};

}  // namespace ado
