#pragma once
// A database connection in the connection / recordset / errors model the
// program is written against, over ODBC. The program writes SQL Server SQL;
// the connection adapts statements for the engine it is connected to.
#include <QString>
#include <QVector>
#include <memory>

#include "platform/client/Dialect.h"
#include "platform/core/Error.h"
#include "platform/core/Value.h"

namespace ado {

class Recordset;

// One diagnostic record of the last failing call.
struct ProviderError {
  long Number = 0;  // the model's error number (0x80040E2F, 0x80004005, ...)
  QString Description;
  QString SQLState;
  long NativeError = 0;  // SQL Server numbers; other engines' errors are mapped to them
  QString Source;
};

class ErrorCollection {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const ProviderError& Item(int i) const { return items_.at(i); }
  const ProviderError& operator[](int i) const { return items_.at(i); }
  void Clear() { items_.clear(); }
  void Add(ProviderError e) { items_.push_back(std::move(e)); }

 private:
  QVector<ProviderError> items_;
};

// Seconds a statement waits for a lock another connection holds before it fails.
constexpr int kDefaultLockTimeout = 10;

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  static std::shared_ptr<Connection> Create();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  QString ConnectionString() const;
  void SetConnectionString(const QString& s);
  int CursorLocation() const;
  void SetCursorLocation(int location);
  int CommandTimeout() const;  // seconds, applied to every statement
  void SetCommandTimeout(int seconds);
  // Seconds a statement waits for another connection's lock (0: fail at once).
  // SQLite's driver takes it when the connection opens.
  int LockTimeout() const;
  void SetLockTimeout(int seconds);
  int IsolationLevel() const;
  void SetIsolationLevel(int level);  // a driver that cannot set it is not an error
  QString DefaultDatabase() const;
  void SetDefaultDatabase(const QString& name);
  int State() const;  // adStateClosed / adStateOpen
  // How many times the link to the server broke while open. A broken
  // connection stays open: its next use reopens it (see Impl::Loss).
  int Losses() const;
  // How many statements (catalog calls included) it has sent since it was created.
  long StatementsSent() const;
  ErrorCollection& Errors();
  const ErrorCollection& Errors() const;

  // Empty arguments take the ConnectionString property. Throws Failure and
  // fills Errors on failure.
  void Open(const QString& connectionString = {}, const QString& user = {}, const QString& password = {},
            int options = -1);
  void Close();
  // Runs one statement; a result set is discarded.
  void Execute(const QString& sql, long* recordsAffected = nullptr, int options = -1);
  // A savepoint in the open transaction, and going back to it. On PostgreSQL the
  // savepoint reaches the server with the next statement, in the same exchange.
  void Savepoint(const QString& name);
  void RollbackToSavepoint(const QString& name);
  // adSchemaTables: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE.
  // adSchemaColumns: restrictions catalog, schema, table, column (Empty = none);
  // rows with TABLE_NAME, COLUMN_NAME, DATA_TYPE, ...
  std::unique_ptr<Recordset> OpenSchema(int schema, const QVector<Value>& restrictions = {});
  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  // The engine recognised after connecting.
  Dialect GetDialect() const;
  // The statement as it is sent to this engine (SQL Server SQL rewritten for
  // SQLite and PostgreSQL, translated for Oracle: see Translation.h). Every
  // statement, whoever sends it, passes here.
  QString Adapt(const QString& sql) const;

  struct Impl;
  Impl& impl() { return *d_; }

 private:
  Connection();
  std::unique_ptr<Impl> d_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// The connection string with the value of every password key masked, for
// anything shown to the operator or written to a log.
QString MaskPasswords(const QString& connectionString);

}  // namespace ado
