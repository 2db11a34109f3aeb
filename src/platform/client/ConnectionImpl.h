#pragma once
// The inside of a Connection, shared with the recordset and schema code.
#include <QHash>
#include <QSet>
#include <QStringList>

#include "platform/client/ColumnInfo.h"
#include "platform/client/Connection.h"
#include "platform/client/Constants.h"
#include "platform/client/OdbcCheck.h"
#include "platform/client/OdbcHandles.h"

namespace ado {

struct Connection::Impl {
  explicit Impl(Connection& owner) : self(owner) {}

  Connection& self;
  QString connectionString;
  int cursorLocation = adUseServer;
  int commandTimeout = 30;
  int lockTimeout = kDefaultLockTimeout;
  int isolationLevel = adXactReadCommitted;
  QString defaultDatabase;
  int state = adStateClosed;
  ErrorCollection errors;

  odbc::DbcHandle dbc;
  Dialect dialect = Dialect::Unknown;
  QString dbmsName;
  QString driverName;                                   // of the data source, when it was reached through one
  QString source = QStringLiteral("ADODB.Connection");  // the provider's name once connected
  int transactionLevel = 0;

  // Primary keys of the base tables that recordsets wrote to, by table.
  QHash<QString, QStringList> primaryKeys;
  // What statements read of tables ("schema.table|*" for all of it, or the
  // sorted columns) that was seen to hold no long column: such a statement
  // can run before it is described. Kept as the primary keys are.
  QSet<QString> tablesWithoutLong;
  // The columns of statements that by their text return no rows ("... WHERE 1 = 0"),
  // by their text as sent: asked for again, they need not reach the server.
  QHash<QString, QVector<odbc::ColumnInfo>> shapesWithoutRows;
  void ForgetTables() {
    primaryKeys.clear();
    tablesWithoutLong.clear();
    shapesWithoutRows.clear();
  }

  // PostgreSQL: whether the database has the collation ma_es, learned at the first
  // statement that adds a text column and kept until the connection is opened again.
  enum class Known { Unknown, Yes, No };
  Known spanishCollation = Known::Unknown;
  bool HasSpanishCollation();

  // A connection whose link broke stays open to its users and reopens itself,
  // with its own connection string and settings, when it is next used; one
  // that broke inside a transaction first waits for that transaction to end.
  enum class Loss { None, Lost, LostInTransaction };
  Loss loss = Loss::None;
  int losses = 0;  // how many times the link broke
  long statements = 0;

  odbc::Context Ctx() { return {&errors, dialect, source, this}; }
  // Throws 3704 unless open; reopens a connection whose link broke.
  void RequireOpen(const QString& who);
  // The link broke: the kind of failure that reports it.
  FailureKind MarkLost();
  QString LostText(FailureKind kind, const QString& driverText) const;
  [[noreturn]] void ThrowTransactionLost(const QString& driverText = {});
  void Reopen();
  void ApplyLockTimeout();                  // and, on PostgreSQL, the command time-out
  QString CommandTimeoutStatement() const;  // PostgreSQL's
  // After the link was ended: what the driver leaves behind is cleared up.
  void Disconnected();
  // PostgreSQL: savepoints set and not sent yet. They reach the server at the head
  // of the next statement run through ExecDirect, in the same exchange; before a
  // statement made any other way they are sent on their own.
  QStringList carried;
  // PostgreSQL: the time-out and the isolation level set while open, sent together
  // before the next statement.
  QStringList session;
  void SetSession(const QString& sql);
  void SendAlone(QStringList& statements, odbc::OnError onError = odbc::OnError::Throw);
  enum class Carry { SendFirst, Keep };
  // A new statement with the command time-out applied.
  odbc::StmtHandle NewStatement(Carry carry = Carry::SendFirst);
  // Runs `sql` (already adapted) with the savepoints carried, if any, ahead of it;
  // the result is the statement's own.
  SQLRETURN ExecDirect(SQLHSTMT st, const QString& sql);
  // The primary key columns of a table (empty when it has none), cached.
  QStringList PrimaryKey(const QString& table, const QString& schema, bool quoted);
  void ApplyIsolation(bool opening = false);
  QString IsolationStatement() const;
  QString SessionOptions() const;  // the same settings for the login
};

}  // namespace ado
