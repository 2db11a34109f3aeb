#include "platform/client/Connection.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdlib>
#include <map>
#include <utility>

#include "platform/client/Busy.h"
#include "platform/client/ConnectionImpl.h"
#include "platform/client/ConnectionString.h"
#include "platform/client/DriverSetup.h"
#include "platform/client/Fetch.h"
#include "platform/client/OdbcText.h"
#include "platform/client/TableSelect.h"
#include "platform/client/Translation.h"
#include "platform/client/rewrite/EngineRewrite.h"
#include "platform/client/rewrite/SqlTree.h"

namespace ado {
namespace {

constexpr long kNoTransaction = static_cast<long>(0x8004D00E);  // XACT_E_NOTRANSACTION

QString EnvOr(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? QString::fromLocal8Bit(v) : QString::fromLatin1(fallback);
}

// Whether `name` is a data source of odbc.ini (the user's, $ODBCINI, or the system's).
bool FindDataSource(const QString& name, QString* driver) {
  SQLHENV env = odbc::Environment();
  const odbc::Context ctx{nullptr, Dialect::Unknown, QStringLiteral("ODBC")};
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLWCHAR dsn[SQL_MAX_DSN_LENGTH + 1];
    SQLWCHAR desc[512];
    SQLSMALLINT dsnLen = 0, descLen = 0;
    const SQLRETURN r = odbc::Check(
        SQLDataSourcesW(env, direction, dsn, SQL_MAX_DSN_LENGTH + 1, &dsnLen, desc, 512, &descLen),
        SQL_HANDLE_ENV, env, ctx, "SQLDataSources", odbc::OnError::Ignore);
    if (!SQL_SUCCEEDED(r)) return false;
    direction = SQL_FETCH_NEXT;
    if (odbc::FromW(dsn).compare(name, Qt::CaseInsensitive) == 0) {
      if (driver) *driver = odbc::FromW(desc);
      return true;
    }
  }
}

// The SQLite extension that compares text as the suite's server does: $MA_SQLITE_TEXT,
// else beside the program, else where the package puts it (lib/MA_Empresas/sqlite next
// to the program's bin: a folder of its own, so that it is not taken for a shared library
// of the system's), else where this build made it.
QString SqliteTextExtension() {
  const QString given = EnvOr("MA_SQLITE_TEXT", "");
  if (!given.isEmpty()) return given;
  if (QCoreApplication::instance()) {
    const QString bin = QCoreApplication::applicationDirPath();
    for (const QString& en : {bin + QStringLiteral("/ma_sqlite_text.so"),
                              bin + QStringLiteral("/../lib/MA_Empresas/sqlite/ma_sqlite_text.so")})
      if (QFileInfo::exists(en)) return QFileInfo(en).canonicalFilePath();
  }
  return QStringLiteral(MA_SQLITE_TEXT_BUILT);
}

Dialect DialectOf(const QString& dbms) {
  if (dbms.contains("SQLite", Qt::CaseInsensitive)) return Dialect::Sqlite;
  if (dbms.contains("PostgreSQL", Qt::CaseInsensitive)) return Dialect::Postgres;
  if (dbms.contains("SQL Server", Qt::CaseInsensitive)) return Dialect::SqlServer;
  if (dbms.contains("Oracle", Qt::CaseInsensitive)) return Dialect::Oracle;
  return Dialect::Unknown;
}

SQLUINTEGER IsolationOf(int level) {
  switch (level) {
    case adXactReadUncommitted:
      return SQL_TXN_READ_UNCOMMITTED;
    case adXactRepeatableRead:
      return SQL_TXN_REPEATABLE_READ;
    case adXactSerializable:
      return SQL_TXN_SERIALIZABLE;
    case 16:  // adXactChaos: the closest the engines offer
      return SQL_TXN_READ_UNCOMMITTED;
    default:  // adXactReadCommitted / adXactCursorStability, adXactUnspecified
      return SQL_TXN_READ_COMMITTED;
  }
}

}  // namespace

// ---- Impl ----

void Connection::Impl::RequireOpen(const QString& who) {
  if (state != adStateOpen) odbc::Fail(err::ObjectClosed, who);
  if (loss == Loss::LostInTransaction) ThrowTransactionLost();
  if (loss == Loss::Lost) Reopen();
}

FailureKind Connection::Impl::MarkLost() {
  if (loss == Loss::None) ++losses;
  // The server ended the transaction with the link: going on without it
  // would store the rest outside it.
  if (transactionLevel > 0) loss = Loss::LostInTransaction;
  if (loss == Loss::None) loss = Loss::Lost;
  return loss == Loss::LostInTransaction ? FailureKind::TransactionLost : FailureKind::ConnectionLost;
}

QString Connection::Impl::LostText(FailureKind kind, const QString& driverText) const {
  const QString texto =
      kind == FailureKind::TransactionLost
          ? QStringLiteral(
                "Se perdió la conexión con la base de datos durante una transacción: lo hecho en "
                "ella no quedó grabado.")
          : QStringLiteral("Se perdió la conexión con la base de datos.");
  return driverText.isEmpty() ? texto : texto + QStringLiteral(" (") + driverText + QLatin1Char(')');
}

void Connection::Impl::ThrowTransactionLost(const QString& driverText) {
  throw Failure(ErrorInfo{err::Unspecified, LostText(FailureKind::TransactionLost, driverText), source,
                          FailureKind::TransactionLost});
}

void Connection::Impl::Reopen() {
  // What is left of the broken link goes; the errors of tearing it down do not count.
  odbc::Check(SQLDisconnect(dbc.get()), SQL_HANDLE_DBC, dbc.get(), {}, "SQLDisconnect",
              odbc::OnError::Ignore);
  dbc.Reset();
  Disconnected();
  state = adStateClosed;
  loss = Loss::None;
  try {
    self.Open();
  } catch (const Failure& f) {
    // Still open to its users: the next use tries again.
    state = adStateOpen;
    loss = Loss::Lost;
    throw Failure(ErrorInfo{
        f.Number(),
        QStringLiteral("No se pudo restablecer la conexión con la base de datos. ") + f.Info().Description,
        f.Info().Source});
  }
}

void Connection::Impl::Disconnected() {
  if (dialect == Dialect::Postgres) odbc::RemoveFarewellLog(odbc::DriverLogFolder(driverName));
}

void Connection::Impl::ApplyLockTimeout() {
  if (state != adStateOpen) return;
  const QString ms = QString::number(static_cast<qint64>(lockTimeout) * 1000);
  QString sql;
  switch (dialect) {
    case Dialect::Postgres:
      sql = QStringLiteral("SET lock_timeout = ") + ms + QStringLiteral("; ") + CommandTimeoutStatement();
      break;
    case Dialect::SqlServer:
      sql = QStringLiteral("SET LOCK_TIMEOUT ") + ms;
      break;
    default:  // SQLite's driver takes its bound when it connects; Oracle's is per statement
      return;
  }
  odbc::StmtHandle st = NewStatement();
  // An engine that refuses the setting keeps its own bound: not an error.
  odbc::Check(odbc::ExecDirect(st.get(), sql, dialect), SQL_HANDLE_STMT, st.get(), Ctx(), "SQLExecDirect",
              odbc::OnError::Ignore);
}

QString Connection::Impl::CommandTimeoutStatement() const {
  return QStringLiteral("SET statement_timeout = ") +
         QString::number(static_cast<qint64>(commandTimeout) * 1000);
}

QString Connection::Impl::IsolationStatement() const {
  QString level;
  switch (IsolationOf(isolationLevel)) {
    case SQL_TXN_READ_UNCOMMITTED:
      level = QStringLiteral("READ UNCOMMITTED");
      break;
    case SQL_TXN_REPEATABLE_READ:
      level = QStringLiteral("REPEATABLE READ");
      break;
    case SQL_TXN_SERIALIZABLE:
      level = QStringLiteral("SERIALIZABLE");
      break;
    default:
      level = QStringLiteral("READ COMMITTED");
  }
  return QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL ") + level;
}

QString Connection::Impl::SessionOptions() const {
  // A blank inside a value is escaped for the server, and that escape again for the login text.
  QString level = IsolationStatement().section(QStringLiteral("LEVEL "), 1).toLower();
  level.replace(' ', QStringLiteral("\\\\ "));
  return QStringLiteral("-c lock_timeout=%1 -c statement_timeout=%2 -c default_transaction_isolation=%3")
      .arg(static_cast<qint64>(lockTimeout) * 1000)
      .arg(static_cast<qint64>(commandTimeout) * 1000)
      .arg(level);
}

void Connection::Impl::SetSession(const QString& sql) {
  // A later value of the same setting replaces one not sent yet.
  const auto kind = [](const QString& t) {
    return t.section(QLatin1Char('='), 0, 0).section(" LEVEL ", 0, 0);
  };
  for (qsizetype i = session.size() - 1; i >= 0; --i)
    if (kind(session[i]) == kind(sql)) session.removeAt(i);
  session << sql;
}

void Connection::Impl::SendAlone(QStringList& statements, odbc::OnError onError) {
  if (statements.isEmpty()) return;
  const QString sql = std::exchange(statements, {}).join(QStringLiteral("; "));
  odbc::StmtHandle st = NewStatement(Carry::Keep);
  SQLRETURN r = odbc::Check(odbc::ExecDirect(st.get(), sql, dialect), SQL_HANDLE_STMT, st.get(), Ctx(),
                            "SQLExecDirect", onError);
  while (SQL_SUCCEEDED(r))
    r = odbc::Check(SQLMoreResults(st.get()), SQL_HANDLE_STMT, st.get(), Ctx(), "SQLMoreResults", onError);
}

SQLRETURN Connection::Impl::ExecDirect(SQLHSTMT st, const QString& sql) {
  if (carried.isEmpty()) return odbc::ExecDirect(st, sql, dialect);
  const QStringList ahead = std::exchange(carried, {});
  SQLRETURN r = odbc::ExecDirect(st, ahead.join(QStringLiteral("; ")) + QStringLiteral("; ") + sql, dialect);
  // Past their own results. Had the statement failed, the server still ran them
  // first: undoing a step goes back to its savepoint, as if sent alone.
  for (qsizetype i = 0; i < ahead.size() && SQL_SUCCEEDED(r); ++i) r = SQLMoreResults(st);
  return r;
}

odbc::StmtHandle Connection::Impl::NewStatement(Carry carry) {
  RequireOpen(QStringLiteral("ADODB.Connection"));
  // Settings go in a statement of their own, which no failure of another takes back;
  // an engine that refuses one keeps its own bound: not an error.
  if (!session.isEmpty()) {
    QStringList sql = std::exchange(session, {});
    SendAlone(sql, odbc::OnError::Ignore);
  }
  if (carry == Carry::SendFirst) SendAlone(carried);
  SQLHANDLE h = SQL_NULL_HANDLE;
  odbc::Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc.get(), &h), SQL_HANDLE_DBC, dbc.get(), Ctx(),
              "SQLAllocHandle");
  odbc::StmtHandle st(h);
  ++statements;
  // SQLite's driver would take it for its lock time-out. PostgreSQL's driver
  // sets it on the server around each of its own catalog queries, at one
  // exchange each: there the connection's session holds it instead.
  if (commandTimeout >= 0 && dialect != Dialect::Sqlite && dialect != Dialect::Postgres)
    odbc::Check(SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
                               reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(commandTimeout)), 0),
                SQL_HANDLE_STMT, h, Ctx(), "SQLSetStmtAttr", odbc::OnError::Ignore);
  return st;
}

bool Connection::Impl::HasSpanishCollation() {
  if (spanishCollation != Known::Unknown) return spanishCollation == Known::Yes;
  if (state != adStateOpen) return false;  // the statement will not run either
  odbc::StmtHandle st = NewStatement();
  const auto ctx = Ctx();
  const QString sql = QStringLiteral(
      "SELECT COUNT(*) FROM pg_collation WHERE collname = 'ma_es' AND pg_collation_is_visible(oid)");
  // Not learned (a transaction that already failed): the column goes without, as the statement will.
  if (!SQL_SUCCEEDED(odbc::Check(ExecDirect(st.get(), sql), SQL_HANDLE_STMT, st.get(), ctx, "SQLExecDirect",
                                 odbc::OnError::Ignore)))
    return false;
  const auto cols = odbc::Describe(st.get(), ctx);
  std::vector<Value> cells;
  odbc::RowSink sink;
  sink.cells = &cells;
  sink.stride = cols.size();
  sink.place.push_back(0);
  odbc::FetchAll(st.get(), ctx, cols, odbc::FetchMode::GetData, sink);
  spanishCollation = sink.rows > 0 && cells[0].toInt() > 0 ? Known::Yes : Known::No;
  return spanishCollation == Known::Yes;
}

void Connection::Impl::ApplyIsolation(bool opening) {
  if (state != adStateOpen) return;
  if (dialect == Dialect::Postgres && !opening) {
    SetSession(IsolationStatement());
    return;
  }
  // A driver that cannot set the level keeps its own: not an error.
  odbc::Check(
      SQLSetConnectAttrW(dbc.get(), SQL_ATTR_TXN_ISOLATION,
                         reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(IsolationOf(isolationLevel))), 0),
      SQL_HANDLE_DBC, dbc.get(), Ctx(), "SQLSetConnectAttr", odbc::OnError::Ignore);
}

QStringList Connection::Impl::PrimaryKey(const QString& table, const QString& schema, bool quoted) {
  const QString cacheKey = schema.toLower() + '.' + table.toLower();
  const auto it = primaryKeys.constFind(cacheKey);
  if (it != primaryKeys.constEnd()) return *it;

  auto lookup = [&](const QString& name) {
    odbc::StmtHandle st = NewStatement();
    QString schemaArg;
    if (dialect == Dialect::SqlServer || dialect == Dialect::Unknown) {
      schemaArg = schema;
    } else if (dialect != Dialect::Sqlite && !schema.isEmpty() &&
               schema.compare("dbo", Qt::CaseInsensitive) != 0) {
      schemaArg = sql::CatalogName(schema, dialect);
    }
    odbc::Check(SQLPrimaryKeysW(st.get(), nullptr, 0, schemaArg.isEmpty() ? nullptr : odbc::W(schemaArg),
                                schemaArg.isEmpty() ? 0 : SQL_NTS, odbc::W(name), SQL_NTS),
                SQL_HANDLE_STMT, st.get(), Ctx(), "SQLPrimaryKeys");
    const auto cols = odbc::Describe(st.get(), Ctx());
    std::vector<Value> cells;
    odbc::RowSink sink;
    sink.cells = &cells;
    sink.stride = cols.size();
    for (int i = 0; i < cols.size(); ++i) sink.place.push_back(i);
    odbc::FetchAll(st.get(), Ctx(), cols, odbc::FetchMode::GetData, sink);
    // COLUMN_NAME is the 4th column and KEY_SEQ the 5th.
    QVector<QPair<int, QString>> keys;
    for (int r = 0; r < sink.rows; ++r) {
      const Value& name = cells[static_cast<size_t>(r) * sink.stride + 3];
      const Value& seq = cells[static_cast<size_t>(r) * sink.stride + 4];
      keys.push_back({seq.toInt(), name.toString()});
    }
    std::sort(keys.begin(), keys.end());
    QStringList out;
    for (const auto& k : keys) out << k.second;
    return out;
  };
  const QString folded = sql::CatalogName(table, dialect, quoted);
  QStringList keys = lookup(folded);
  if (keys.isEmpty() && folded != table) keys = lookup(table);
  primaryKeys.insert(cacheKey, keys);
  return keys;
}

// ---- Connection ----

std::shared_ptr<Connection> Connection::Create() { return std::shared_ptr<Connection>(new Connection()); }

Connection::Connection() : d_(std::make_unique<Impl>(*this)) {}

Connection::~Connection() {
  try {
    Close();
  } catch (...) {
  }
}

QString Connection::ConnectionString() const { return d_->connectionString; }
void Connection::SetConnectionString(const QString& s) {
  if (d_->state == adStateOpen) odbc::Fail(3705, QStringLiteral("ADODB.Connection"));
  d_->connectionString = s;
}
int Connection::CursorLocation() const { return d_->cursorLocation; }
void Connection::SetCursorLocation(int location) {
  if (location != adUseClient && location != adUseServer && location != 1)
    odbc::Fail(3001, QStringLiteral("ADODB.Connection"));
  d_->cursorLocation = location;
}
int Connection::CommandTimeout() const { return d_->commandTimeout; }
void Connection::SetCommandTimeout(int seconds) {
  if (seconds < 0) odbc::Fail(3001, QStringLiteral("ADODB.Connection"));
  d_->commandTimeout = seconds;
  auto& d = *d_;
  if (d.state == adStateOpen && d.dialect == Dialect::Postgres && d.loss == Impl::Loss::None)
    d.SetSession(d.CommandTimeoutStatement());
}
int Connection::LockTimeout() const { return d_->lockTimeout; }
void Connection::SetLockTimeout(int seconds) {
  if (seconds < 0) odbc::Fail(3001, QStringLiteral("ADODB.Connection"));
  d_->lockTimeout = seconds;
  d_->ApplyLockTimeout();
}
int Connection::IsolationLevel() const { return d_->isolationLevel; }
void Connection::SetIsolationLevel(int level) {
  d_->isolationLevel = level;
  d_->ApplyIsolation();
}

QString Connection::DefaultDatabase() const {
  auto& d = *d_;
  if (d.state != adStateOpen || d.dialect == Dialect::Sqlite) return d.defaultDatabase;
  SQLWCHAR buf[512] = {0};
  SQLINTEGER len = 0;
  const SQLRETURN r =
      odbc::Check(SQLGetConnectAttrW(d.dbc.get(), SQL_ATTR_CURRENT_CATALOG, buf, sizeof buf, &len),
                  SQL_HANDLE_DBC, d.dbc.get(), d.Ctx(), "SQLGetConnectAttr", odbc::OnError::Ignore);
  if (!SQL_SUCCEEDED(r)) return d.defaultDatabase;
  return odbc::FromW(buf);
}

void Connection::SetDefaultDatabase(const QString& name) {
  auto& d = *d_;
  if (d.state != adStateOpen) {
    d.defaultDatabase = name;
    return;
  }
  switch (d.dialect) {
    case Dialect::Sqlite:  // one database per file: nothing to switch
      d.defaultDatabase = name;
      return;
    case Dialect::Postgres: {
      const QString current = DefaultDatabase();
      if (name.trimmed().isEmpty() || name.trimmed().compare(current, Qt::CaseInsensitive) == 0) {
        d.defaultDatabase = name;
        return;
      }
      ProviderError e;
      e.Number = err::Unspecified;
      e.SQLState = QStringLiteral("HY000");
      e.Description = QStringLiteral(
                          "PostgreSQL no cambia de base de datos en una conexión abierta (%1 en uso, "
                          "se pidió %2)")
                          .arg(current, name);
      e.Source = d.source;
      odbc::Raise(d.Ctx(), e);
    }
    default: {
      QString value = name;
      odbc::Check(SQLSetConnectAttrW(d.dbc.get(), SQL_ATTR_CURRENT_CATALOG, odbc::W(value), SQL_NTS),
                  SQL_HANDLE_DBC, d.dbc.get(), d.Ctx(), "SQLSetConnectAttr");
      d.defaultDatabase = name;
    }
  }
}

int Connection::State() const { return d_->state; }
int Connection::Losses() const { return d_->losses; }
long Connection::StatementsSent() const { return d_->statements; }
ErrorCollection& Connection::Errors() { return d_->errors; }
const ErrorCollection& Connection::Errors() const { return d_->errors; }
Dialect Connection::GetDialect() const { return d_->dialect; }

namespace {

std::map<Dialect, Translation>& Translations() {
  static std::map<Dialect, Translation> translations;
  return translations;
}

std::pair<Dialect, Witness>& Witnessing() {
  static std::pair<Dialect, Witness> witnessing{Dialect::Unknown, {}};
  return witnessing;
}

}  // namespace

void SetTranslation(Dialect dialect, Translation translation) {
  Translations()[dialect] = std::move(translation);
}

QString AdaptFor(const QString& sql, Dialect dialect) {
  if (dialect == Dialect::Oracle) {
    const auto t = Translations().find(dialect);
    return t != Translations().end() && t->second ? t->second(sql) : sql;
  }
  return sql::Rewrite(sql, dialect);
}

void SetWitness(Dialect as, Witness witness) { Witnessing() = {as, std::move(witness)}; }

void Witnessed(const QString& generated) {
  if (Witnessing().second) Witnessing().second(generated, false);
}

QString Connection::Adapt(const QString& sql) const {
  try {
    if (const auto& [as, witness] = Witnessing(); witness) {
      QString seen;
      bool refused = false;
      try {
        seen = AdaptFor(sql, as);
      } catch (const Failure& f) {
        seen = f.Info().Description;
        refused = true;
      }
      witness(seen, refused);
    }
    if (d_->dialect == Dialect::Postgres)
      return sql::Rewrite(sql, d_->dialect, [this] { return d_->HasSpanishCollation(); });
    return AdaptFor(sql, d_->dialect);
  } catch (const sql::NestingTooDeep&) {
    // Reported as SQL Server reports a statement nested too deeply (error 191).
    ProviderError e;
    e.Number = err::CommandText;
    e.NativeError = 191;
    e.SQLState = QStringLiteral("42000");
    e.Description = QStringLiteral(
        "Alguna parte de la instrucción SQL está anidada a demasiada profundidad. Vuelva a escribir la "
        "consulta o divídala en consultas más pequeñas.");
    e.Source = d_->source;
    odbc::Raise(d_->Ctx(), e);
  } catch (const Failure& f) {
    // A statement the engine's translation cannot read: nothing is sent.
    ProviderError e;
    e.Number = f.Number();
    e.NativeError = native::Syntax;
    e.SQLState = QStringLiteral("42000");
    e.Description = f.Info().Description;
    e.Source = d_->source;
    odbc::Raise(d_->Ctx(), e);
  }
}

void Connection::Open(const QString& connectionString, const QString& user, const QString& password,
                      int options) {
  (void)options;  // always synchronous
  auto& d = *d_;
  if (d.state == adStateOpen) odbc::Fail(3705, QStringLiteral("ADODB.Connection"));
  if (!connectionString.isEmpty()) d.connectionString = connectionString;

  cs::Environment env;
  QString driverName;
  env.dataSource = [&driverName](const QString& name, QString* driver) {
    const bool found = FindDataSource(name, &driverName);
    if (driver) *driver = driverName;
    return found;
  };
  env.dataSourceSets = odbc::DataSourceSets;
  env.sqlServerDriver = EnvOr("MA_ODBC_SQLSERVER_DRIVER", "FreeTDS");
  env.oracleDriver = EnvOr("MA_ODBC_ORACLE_DRIVER", "Oracle");
  env.sqliteExtension = SqliteTextExtension();
  // SQLite's driver waits for a lock twice the time-out it is given.
  env.sqliteBusyTimeoutMs = d.lockTimeout * 500;
  env.postgresSession = d.SessionOptions();
  const cs::Target target = cs::Translate(d.connectionString, user, password, env);

  d.dialect = Dialect::Unknown;
  d.source = QStringLiteral("ODBC");
  switch (target.kind) {
    case cs::Kind::Sqlite:
      d.source = QStringLiteral("ODBC (SQLite3)");
      d.dialect = Dialect::Sqlite;
      break;
    case cs::Kind::SqlServer:
      d.source = QStringLiteral("ODBC (%1)").arg(env.sqlServerDriver);
      d.dialect = Dialect::SqlServer;
      break;
    case cs::Kind::Oracle:
      d.source = QStringLiteral("ODBC (%1)").arg(env.oracleDriver);
      d.dialect = Dialect::Oracle;
      break;
    default:
      break;
  }
  const odbc::Context openCtx{&d.errors, d.dialect, d.source};

  if (target.kind == cs::Kind::Sqlite) {
    // The driver would make an empty database of a missing file.
    const QFileInfo file(target.sqliteFile);
    if (target.sqliteFile.isEmpty() || !file.exists() || file.isDir()) {
      ProviderError e;
      e.Number = err::Unspecified;
      e.SQLState = QStringLiteral("08001");
      e.Description =
          target.sqliteFile.isEmpty() ? QStringLiteral("No se indicó el archivo de la base de datos SQLite.")
          : file.isDir()
              ? QStringLiteral("%1 es una carpeta, no el archivo de una base de datos SQLite.")
                    .arg(target.sqliteFile)
              : QStringLiteral("No existe el archivo de la base de datos SQLite: %1").arg(target.sqliteFile);
      e.Source = d.source;
      d.dialect = Dialect::Unknown;
      odbc::Raise(openCtx, e);
    }
  }

  SQLHENV henv = odbc::Environment();
  SQLHANDLE h = SQL_NULL_HANDLE;
  odbc::Check(SQLAllocHandle(SQL_HANDLE_DBC, henv, &h), SQL_HANDLE_ENV, henv, openCtx, "SQLAllocHandle");
  odbc::DbcHandle dbc(h);
  if (target.loginTimeout >= 0)
    odbc::Check(
        SQLSetConnectAttrW(h, SQL_ATTR_LOGIN_TIMEOUT,
                           reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(target.loginTimeout)), 0),
        SQL_HANDLE_DBC, h, openCtx, "SQLSetConnectAttr", odbc::OnError::Ignore);
  QString odbcString = target.odbc;
  SQLWCHAR out[2048];
  SQLSMALLINT outLen = 0;
  odbc::Check(
      SQLDriverConnectW(h, nullptr, odbc::W(odbcString), SQL_NTS, out, 2048, &outLen, SQL_DRIVER_NOPROMPT),
      SQL_HANDLE_DBC, h, openCtx, "SQLDriverConnect");

  SQLWCHAR dbms[256] = {0};
  SQLSMALLINT dbmsLen = 0;
  odbc::Check(SQLGetInfoW(h, SQL_DBMS_NAME, dbms, sizeof dbms, &dbmsLen), SQL_HANDLE_DBC, h, openCtx,
              "SQLGetInfo", odbc::OnError::Ignore);
  d.dbmsName = odbc::FromW(dbms);
  d.driverName = driverName;
  d.dialect = DialectOf(d.dbmsName);
  d.source = QStringLiteral("ODBC (%1)").arg(d.dbmsName.isEmpty() ? QStringLiteral("?") : d.dbmsName);
  d.dbc = std::move(dbc);
  d.state = adStateOpen;
  d.transactionLevel = 0;
  d.ForgetTables();
  d.spanishCollation = Impl::Known::Unknown;
  d.loss = Impl::Loss::None;
  d.carried.clear();
  d.session.clear();
  const bool sessionSent = target.sessionInLogin && d.dialect == Dialect::Postgres;
  if (!sessionSent) d.ApplyIsolation(true);
  if (target.kind == cs::Kind::Sqlite) {
    // Without the extension, text would compare by code points and the demo schema's
    // collation would be missing: better no connection than wrong answers.
    odbc::StmtHandle st = d.NewStatement();
    if (!SQL_SUCCEEDED(
            odbc::Check(odbc::ExecDirect(st.get(), QStringLiteral("SELECT ma_sqlite_text()"), d.dialect),
                        SQL_HANDLE_STMT, st.get(), d.Ctx(), "SQLExecDirect", odbc::OnError::Ignore))) {
      st.Reset();
      Close();
      ProviderError e;
      e.Number = err::Unspecified;
      e.SQLState = QStringLiteral("08001");
      e.Description =
          QStringLiteral("No se pudo cargar la extensión de texto de SQLite: %1").arg(env.sqliteExtension);
      e.Source = d.source;
      odbc::Raise(openCtx, e);
    }
  }
  if (!sessionSent) d.ApplyLockTimeout();
  if (!d.defaultDatabase.isEmpty()) {
    try {
      SetDefaultDatabase(d.defaultDatabase);
    } catch (...) {
      Close();
      throw;
    }
  }
}

void Connection::Close() {
  auto& d = *d_;
  if (d.state != adStateOpen) return;
  const auto ctx = d.Ctx();
  if (d.transactionLevel > 0)
    odbc::Check(SQLEndTran(SQL_HANDLE_DBC, d.dbc.get(), SQL_ROLLBACK), SQL_HANDLE_DBC, d.dbc.get(), ctx,
                "SQLEndTran", odbc::OnError::Ignore);
  odbc::Check(SQLDisconnect(d.dbc.get()), SQL_HANDLE_DBC, d.dbc.get(), ctx, "SQLDisconnect",
              odbc::OnError::Ignore);
  d.dbc.Reset();
  d.Disconnected();
  d.state = adStateClosed;
  d.transactionLevel = 0;
  d.loss = Impl::Loss::None;
  d.ForgetTables();
}

void Connection::Execute(const QString& sql, long* recordsAffected, int options) {
  (void)options;
  auto& d = *d_;
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  QString text = Adapt(sql);
  if (sql::IsDefinition(sql)) {
    d.ForgetTables();
  }
  odbc::StmtHandle st = d.NewStatement(Impl::Carry::Keep);
  const auto ctx = d.Ctx();
  const odbc::BusyScope busy;
  SQLRETURN r = odbc::Check(d.ExecDirect(st.get(), text), SQL_HANDLE_STMT, st.get(), ctx, "SQLExecDirect");
  long total = r == SQL_NO_DATA ? 0 : -1;  // a searched UPDATE or DELETE that found nothing
  // Every result of a batch: counts are added up, rows are discarded, and a
  // failure in a later statement still fails the call.
  while (r != SQL_NO_DATA) {
    SQLSMALLINT ncols = 0;
    odbc::Check(SQLNumResultCols(st.get(), &ncols), SQL_HANDLE_STMT, st.get(), ctx, "SQLNumResultCols");
    if (ncols == 0) {
      SQLLEN n = -1;
      odbc::Check(SQLRowCount(st.get(), &n), SQL_HANDLE_STMT, st.get(), ctx, "SQLRowCount");
      if (n >= 0) total = (total < 0 ? 0 : total) + static_cast<long>(n);
    }
    r = odbc::Check(SQLMoreResults(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLMoreResults");
  }
  if (recordsAffected) *recordsAffected = total;
}

namespace {
bool SaysSavepointsAsSqlServer(Dialect d) { return d == Dialect::SqlServer || d == Dialect::Unknown; }
}  // namespace

void Connection::Savepoint(const QString& name) {
  auto& d = *d_;
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  if (d.dialect == Dialect::Postgres) {
    d.carried << QStringLiteral("SAVEPOINT ") + name;
    return;
  }
  Execute((SaysSavepointsAsSqlServer(d.dialect) ? QStringLiteral("SAVE TRANSACTION ")
                                                : QStringLiteral("SAVEPOINT ")) +
          name);
}

void Connection::RollbackToSavepoint(const QString& name) {
  auto& d = *d_;
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  const qsizetype at = d.carried.indexOf(QStringLiteral("SAVEPOINT ") + name);
  if (at >= 0) {  // not sent yet: nothing was sent after it either
    d.carried.erase(d.carried.begin() + at, d.carried.end());
    return;
  }
  Execute((SaysSavepointsAsSqlServer(d.dialect) ? QStringLiteral("ROLLBACK TRANSACTION ")
                                                : QStringLiteral("ROLLBACK TO SAVEPOINT ")) +
          name);
}

void Connection::BeginTrans() {
  auto& d = *d_;
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  if (d.transactionLevel == 0)
    odbc::Check(SQLSetConnectAttrW(d.dbc.get(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
                SQL_HANDLE_DBC, d.dbc.get(), d.Ctx(), "SQLSetConnectAttr");
  ++d.transactionLevel;
}

namespace {
void EndTransaction(Connection::Impl& d, SQLSMALLINT how) {
  using Loss = Connection::Impl::Loss;
  if (d.state == adStateOpen && d.loss == Loss::LostInTransaction && d.transactionLevel > 0) {
    if (--d.transactionLevel > 0) return;
    // The server ended it with the link; the connection may now reopen.
    d.loss = Loss::Lost;
    if (how == SQL_ROLLBACK) return;
    d.ThrowTransactionLost();
  }
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  if (d.transactionLevel == 0)
    throw Failure(kNoTransaction, QStringLiteral("No hay ninguna transacción activa."),
                  QStringLiteral("ADODB.Connection"));
  if (--d.transactionLevel > 0) return;  // nested levels end with the outermost one
  d.carried.clear();                     // savepoints that never reached the server end with it too
  const auto ctx = d.Ctx();
  try {
    odbc::Check(SQLEndTran(SQL_HANDLE_DBC, d.dbc.get(), how), SQL_HANDLE_DBC, d.dbc.get(), ctx, "SQLEndTran");
  } catch (const Failure& f) {
    odbc::Check(SQLSetConnectAttrW(d.dbc.get(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER),
                SQL_HANDLE_DBC, d.dbc.get(), ctx, "SQLSetConnectAttr", odbc::OnError::Ignore);
    // A commit that lost the link may or may not have been kept: whoever
    // ran the transaction has to know it did not end as asked.
    if (how == SQL_COMMIT && f.Kind() == FailureKind::ConnectionLost) d.ThrowTransactionLost();
    throw;
  }
  odbc::Check(SQLSetConnectAttrW(d.dbc.get(), SQL_ATTR_AUTOCOMMIT,
                                 reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER),
              SQL_HANDLE_DBC, d.dbc.get(), ctx, "SQLSetConnectAttr");
}
}  // namespace

void Connection::CommitTrans() { EndTransaction(*d_, SQL_COMMIT); }
void Connection::RollbackTrans() { EndTransaction(*d_, SQL_ROLLBACK); }

}  // namespace ado
