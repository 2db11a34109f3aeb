#pragma once
// The inside of a Connection, shared with the recordset and schema code.
#include <QHash>
#include <QStringList>

#include "platform/client/Connection.h"
#include "platform/client/Constants.h"
#include "platform/client/OdbcCheck.h"
#include "platform/client/OdbcHandles.h"

namespace ado {

struct Connection::Impl {
  QString connectionString;
  int cursorLocation = adUseServer;
  int commandTimeout = 30;
  int isolationLevel = adXactReadCommitted;
  QString defaultDatabase;
  int state = adStateClosed;
  ErrorCollection errors;

  odbc::DbcHandle dbc;
  Dialect dialect = Dialect::Unknown;
  QString dbmsName;
  QString source = QStringLiteral("ADODB.Connection");  // the provider's name once connected
  int transactionLevel = 0;

  // Primary keys of the base tables that recordsets wrote to, by table.
  QHash<QString, QStringList> primaryKeys;

  odbc::Context Ctx() { return {&errors, dialect, source}; }
  // Throws 3704 unless open.
  void RequireOpen(const QString& who) const;
  // A new statement with the command time-out applied.
  odbc::StmtHandle NewStatement();
  // The primary key columns of a table (empty when it has none), cached.
  QStringList PrimaryKey(const QString& table, const QString& schema, bool quoted);
  void ApplyIsolation();
};

}  // namespace ado
