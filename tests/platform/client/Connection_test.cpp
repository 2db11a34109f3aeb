// Connections on SQLite and PostgreSQL: opening with the program's strings,
// Execute, transactions, errors normalised to SQL Server's numbers, schema
// rowsets and the dialect rewrites as the engines run them.
#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ClientFixture.h"

namespace {

using clienttest::EngineTest;
using clienttest::FailureOf;
using namespace ado;

class ConnectionTest : public EngineTest {};
CLIENT_ENGINE_SUITE(ConnectionTest);

TEST_P(ConnectionTest, OpensTheProgramsStringAndRecognisesTheEngine) {
  EXPECT_EQ(cn->State(), adStateOpen);
  EXPECT_EQ(cn->GetDialect(), Pg() ? Dialect::Postgres : Dialect::Sqlite);
  EXPECT_EQ(cn->ConnectionString(), db.programString);
  EXPECT_EQ(cn->CursorLocation(), adUseClient);
  cn->Close();
  EXPECT_EQ(cn->State(), adStateClosed);
  // Open again on the same object.
  cn->Open();
  EXPECT_EQ(cn->State(), adStateOpen);
}

TEST_P(ConnectionTest, OpeningAnOpenConnectionFails) {
  EXPECT_EQ(FailureOf([&] { cn->Open(db.programString); }).Number, 3705);
}

TEST_P(ConnectionTest, ExecuteReportsAffectedRowsAndDiscardsResults) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(20));");
  long n = -99;
  cn->Execute("INSERT INTO T (Id, Nombre) VALUES (1, 'a'), (2, 'b'), (3, 'c')", &n);
  EXPECT_EQ(n, 3);
  cn->Execute("UPDATE T SET Nombre = 'x' WHERE Id >= 2", &n);
  EXPECT_EQ(n, 2);
  cn->Execute("UPDATE T SET Nombre = 'x' WHERE Id = 99", &n);
  EXPECT_EQ(n, 0);
  cn->Execute("DELETE FROM T WHERE Id = 1", &n);
  EXPECT_EQ(n, 1);
  cn->Execute("SELECT * FROM T", &n);  // a result set is discarded
  EXPECT_EQ(n, -1);
  cn->Execute("SELECT * FROM T");  // no counter
  EXPECT_EQ(Query("SELECT COUNT(*) FROM T"), QStringList{"2"});
}

TEST_P(ConnectionTest, ExecuteNeedsAnOpenConnection) {
  cn->Close();
  EXPECT_EQ(FailureOf([&] { cn->Execute("SELECT 1"); }).Number, err::ObjectClosed);
}

TEST_P(ConnectionTest, TransactionsCommitAndRollBack) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY);");
  cn->BeginTrans();
  cn->Execute("INSERT INTO T (Id) VALUES (1)");
  cn->RollbackTrans();
  EXPECT_EQ(Query("SELECT COUNT(*) FROM T"), QStringList{"0"});
  cn->BeginTrans();
  cn->Execute("INSERT INTO T (Id) VALUES (2)");
  cn->CommitTrans();
  EXPECT_EQ(Query("SELECT Id FROM T"), QStringList{"2"});
  // Back in autocommit: visible to others at once.
  cn->Execute("INSERT INTO T (Id) VALUES (3)");
  EXPECT_EQ(Query("SELECT COUNT(*) FROM T"), QStringList{"2"});
  EXPECT_EQ(FailureOf([&] { cn->CommitTrans(); }).Number, static_cast<long>(0x8004D00E));
}

TEST_P(ConnectionTest, SavepointsUndoWhatFollowedThemEvenAFailedStatement) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY);");
  cn->BeginTrans();
  cn->Execute("INSERT INTO T (Id) VALUES (1)");
  cn->Savepoint("a");
  const long sent = cn->StatementsSent();
  cn->RollbackToSavepoint("a");  // nothing was sent after it
  if (Pg()) EXPECT_EQ(cn->StatementsSent(), sent);
  cn->Savepoint("b");
  cn->Execute("INSERT INTO T (Id) VALUES (2)");
  cn->Savepoint("c");
  // The failing statement carried "c" to the server: going back to it saves the transaction.
  EXPECT_NE(FailureOf([&] { cn->Execute("INSERT INTO T (Id) VALUES (1)"); }).Number, 0);
  cn->RollbackToSavepoint("c");
  cn->Execute("INSERT INTO T (Id) VALUES (3)");
  cn->RollbackToSavepoint("b");
  cn->CommitTrans();
  EXPECT_EQ(Query("SELECT Id FROM T"), QStringList{"1"});
}

TEST_P(ConnectionTest, SettingsOfTheStartUp) {
  // Read uncommitted: not an error whether the driver can set it or not.
  cn->SetIsolationLevel(adXactReadUncommitted);
  EXPECT_EQ(cn->Errors().Count(), 0);
  if (Pg()) {
    // Both settings reach the server, not only the connection object.
    EXPECT_EQ(Open("SHOW transaction_isolation", adLockReadOnly)->Fields(0).GetValue().toString(),
              "read uncommitted");
    cn->SetCommandTimeout(1);
    EXPECT_NE(FailureOf([&] { cn->Execute("SELECT pg_sleep(5)"); }).Number, 0);
    cn->SetCommandTimeout(360);
    cn->Errors().Clear();
  }
  // The program names its database: nothing to switch on either engine.
  cn->SetDefaultDatabase(db.dbName);
  EXPECT_EQ(cn->Errors().Count(), 0);
  // What the server itself says it works on, not what the connection object keeps.
  const QString enUso =
      Open(Pg() ? "SELECT current_database()" : "SELECT file FROM pragma_database_list WHERE name = 'main'",
           adLockReadOnly)
          ->Fields(0)
          .GetValue()
          .toString();
  EXPECT_EQ(Pg() ? enUso : QFileInfo(enUso).canonicalFilePath(),
            Pg() ? db.dbName : QFileInfo(db.dbName).canonicalFilePath());
  if (Pg()) EXPECT_EQ(FailureOf([&] { cn->SetDefaultDatabase("otra_base"); }).Number, err::Unspecified);
  cn->Execute("SELECT 1");
}

// ---- Errors: SQL Server's numbers on every engine ----

struct ExpectedError {
  long number;
  long native;
  const char* sqliteState;
  const char* pgState;
};

void ExpectError(const Connection& cn, const ErrorInfo& info, bool pg, const ExpectedError& e) {
  EXPECT_EQ(info.Number, e.number);
  ASSERT_GE(cn.Errors().Count(), 1);
  const ProviderError& first = cn.Errors().Item(0);
  EXPECT_EQ(first.Number, e.number);
  EXPECT_EQ(first.NativeError, e.native);
  EXPECT_EQ(first.SQLState.toStdString(), pg ? e.pgState : e.sqliteState);
  EXPECT_FALSE(first.Description.isEmpty());
  EXPECT_EQ(info.Description, first.Description);
  EXPECT_FALSE(first.Source.isEmpty());
}

TEST_P(ConnectionTest, DuplicateKeyIs2627) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(5) NOT NULL);");
  cn->Execute("INSERT INTO T (Id, Nombre) VALUES (1, 'a')");
  const auto info = FailureOf([&] { cn->Execute("INSERT INTO T (Id, Nombre) VALUES (1, 'b')"); });
  ExpectError(*cn, info, Pg(), {err::IntegrityViolation, native::DuplicateKey, "HY000", "23505"});
}

TEST_P(ConnectionTest, NullIntoNotNullIs515) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY, Nombre VARCHAR(5) NOT NULL);");
  const auto info = FailureOf([&] { cn->Execute("INSERT INTO T (Id) VALUES (1)"); });
  ExpectError(*cn, info, Pg(), {err::IntegrityViolation, native::NullNotAllowed, "HY000", "23502"});
}

TEST_P(ConnectionTest, TruncationIs8152) {
  // SQLite keeps any length: a length check stands for the declared size there.
  Run(Pg() ? "CREATE TABLE T (Nombre VARCHAR(5));"
           : "CREATE TABLE T (Nombre VARCHAR(5) CHECK (length(Nombre) <= 5));");
  const auto info = FailureOf([&] { cn->Execute("INSERT INTO T (Nombre) VALUES ('demasiado largo')"); });
  ExpectError(*cn, info, Pg(), {err::Unspecified, native::Truncation, "HY000", "22001"});
}

TEST_P(ConnectionTest, MissingTableIs208) {
  const auto info = FailureOf([&] { cn->Execute("SELECT * FROM NoExiste"); });
  ExpectError(*cn, info, Pg(), {err::TableMissing, native::MissingTable, "HY000", "42P01"});
  // Through a recordset too.
  Recordset rs;
  const auto again = FailureOf([&] { rs.Open("SELECT * FROM NoExiste", cn); });
  EXPECT_EQ(again.Number, err::TableMissing);
  EXPECT_EQ(rs.State(), adStateClosed);
}

TEST_P(ConnectionTest, SyntaxErrorIs102) {
  const auto info = FailureOf([&] { cn->Execute("SELEC * FROM T"); });
  ExpectError(*cn, info, Pg(), {err::CommandText, native::Syntax, "HY000", "42601"});
}

// The engine rewriter refuses such a statement; the operator sees SQL Server's error 191.
TEST_P(ConnectionTest, NestedTooDeeplyIs191) {
  const QString deep = "SELECT " + QString("(").repeated(10000) + "1" + QString(")").repeated(10000);
  const auto info = FailureOf([&] { cn->Execute(deep); });
  ExpectError(*cn, info, Pg(), {err::CommandText, 191, "42000", "42000"});
  Recordset rs;
  EXPECT_EQ(FailureOf([&] {
              rs.Open("SELECT " + QString("STR(").repeated(30) + "1" + QString(")").repeated(30), cn);
            }).Number,
            err::CommandText);
}

TEST_P(ConnectionTest, ErrorsStayUntilTheNextFailureOrClear) {
  FailureOf([&] { cn->Execute("SELECT * FROM NoExiste"); });
  ASSERT_GE(cn->Errors().Count(), 1);
  cn->Execute("SELECT 1");  // a success leaves them, as the program expects
  EXPECT_GE(cn->Errors().Count(), 1);
  cn->Errors().Clear();
  EXPECT_EQ(cn->Errors().Count(), 0);
}

// ---- Schema rowsets ----

TEST_P(ConnectionTest, TablesRowsetListsTableNames) {
  Run("CREATE TABLE P_MA_Empresas (IdEmpresa VARCHAR(15) NOT NULL PRIMARY KEY, NombreEmpresa VARCHAR(60));"
      "CREATE TABLE Otra (a INTEGER);");
  auto rs = cn->OpenSchema(adSchemaTables);
  ASSERT_EQ(rs->State(), adStateOpen);
  QStringList names;
  for (; !rs->Eof(); rs->MoveNext()) names << rs->Fields("TABLE_NAME").GetValue().toString();
  EXPECT_TRUE(names.contains("P_MA_Empresas", Qt::CaseInsensitive)) << names.join(",").toStdString();
  EXPECT_TRUE(names.contains("Otra", Qt::CaseInsensitive));
  EXPECT_TRUE(rs->HasField("TABLE_TYPE"));
  // Restricted by table name, in the program's spelling.
  auto one = cn->OpenSchema(adSchemaTables, {Empty(), Empty(), QString("P_MA_Empresas")});
  ASSERT_FALSE(one->Eof());
  EXPECT_EQ(one->RecordCount(), 1);
  EXPECT_EQ(one->Fields("TABLE_NAME").GetValue().toString().compare("P_MA_Empresas", Qt::CaseInsensitive), 0);
}

TEST_P(ConnectionTest, ColumnsRowsetRestrictedByCatalogAndTable) {
  Run("CREATE TABLE P_MA_Empresas (IdEmpresa VARCHAR(15) NOT NULL PRIMARY KEY, NombreEmpresa VARCHAR(60), "
      "PideHonorarios {BOOL}, Imagen {BLOB});"
      "CREATE TABLE Otra (IdOtra INTEGER);");
  // As the schema helpers ask: catalog = the database name, schema none, the table as the program writes it.
  auto rs = cn->OpenSchema(adSchemaColumns, {db.dbName, Empty(), QString("P_MA_Empresas"), Empty()});
  QStringList names;
  for (; !rs->Eof(); rs->MoveNext()) {
    const QString name = rs->Fields("COLUMN_NAME").GetValue().toString();
    names << name.toLower();
    if (name.compare("IdEmpresa", Qt::CaseInsensitive) == 0) {
      EXPECT_EQ(rs->Fields("DATA_TYPE").GetValue().toInt(), adVarChar);
      EXPECT_EQ(rs->Fields("CHARACTER_MAXIMUM_LENGTH").GetValue().toInt(), 15);
      EXPECT_FALSE(rs->Fields("IS_NULLABLE").GetValue().toBool());
    }
    if (name.compare("PideHonorarios", Qt::CaseInsensitive) == 0)
      EXPECT_EQ(rs->Fields("DATA_TYPE").GetValue().toInt(), adBoolean);
    if (name.compare("Imagen", Qt::CaseInsensitive) == 0)
      EXPECT_EQ(rs->Fields("DATA_TYPE").GetValue().toInt(), adLongVarBinary);
  }
  EXPECT_EQ(names, (QStringList{"idempresa", "nombreempresa", "pidehonorarios", "imagen"}));
  // A table that is not there, and (where there are catalogs) another catalog: no rows.
  auto none = cn->OpenSchema(adSchemaColumns, {db.dbName, Empty(), QString("NoExiste"), Empty()});
  EXPECT_TRUE(none->Bof() && none->Eof());
  if (Pg()) {
    auto other =
        cn->OpenSchema(adSchemaColumns, {QString("otra_base"), Empty(), QString("P_MA_Empresas"), Empty()});
    EXPECT_TRUE(other->Bof() && other->Eof());
  }
  // Schema rowsets are read-only.
  auto ro = cn->OpenSchema(adSchemaTables);
  EXPECT_EQ(FailureOf([&] { ro->AddNew(); }).Number, err::ReadOnly);
}

// ---- The dialect rewrites, as the engines run them ----

TEST_P(ConnectionTest, SqlServerSqlRunsOnTheEngine) {
  Run("CREATE TABLE CLIENTES (CODIGO VARCHAR(10) NOT NULL PRIMARY KEY, NOMBRE VARCHAR(40), NOTA VARCHAR(40), "
      "ALTA {DATETIME});"
      "INSERT INTO CLIENTES (CODIGO, NOMBRE, NOTA) VALUES ('  0001', 'Ana', NULL), ('  0002', 'Beto', 'x'), "
      "('  0003', 'Carla', 'y');");
  auto first = [&](const QString& sql) {
    Recordset rs;
    rs.Open(sql, cn, adOpenForwardOnly, adLockReadOnly);
    EXPECT_FALSE(rs.Eof()) << sql.toStdString();
    return rs.Eof() ? Value() : rs.Fields(0).GetValue();
  };
  EXPECT_EQ(first("SELECT TOP 1  * FROM CLIENTES WHERE LTRIM(RTRIM(CODIGO)) ='0002'").toString(), "  0002");
  EXPECT_EQ(first("SELECT TOP 1 [NOMBRE] FROM [dbo].[CLIENTES] ORDER BY CODIGO DESC").toString(), "Carla");
  EXPECT_EQ(first("SELECT ISNULL(NOTA, '-') AS N FROM CLIENTES WHERE CODIGO = '  0001'").toString(), "-");
  EXPECT_EQ(first("SELECT LEN(CODIGO + '   ') AS L FROM CLIENTES WHERE NOMBRE = N'Ana'").toInt(), 6);
  EXPECT_EQ(
      first(
          "SELECT 'Cliente ' + NOMBRE + ' (' + LTRIM(CODIGO) + ')' AS T FROM CLIENTES WHERE NOMBRE = 'Beto'")
          .toString(),
      "Cliente Beto (0002)");
  EXPECT_EQ(first("SELECT CHARINDEX('r', NOMBRE) AS P FROM CLIENTES WHERE NOMBRE = 'Carla'").toInt(), 3);
  EXPECT_EQ(first("SELECT COUNT(*) AS C FROM CLIENTES WITH (NOLOCK)").toInt(), 3);
  long n = 0;
  cn->Execute("UPDATE CLIENTES SET ALTA = GETDATE(), NOTA = 'z' + NOMBRE WHERE CODIGO = '  0003'", &n);
  EXPECT_EQ(n, 1);
  Recordset rs;
  rs.Open("SELECT ALTA, NOTA FROM CLIENTES WHERE CODIGO = '  0003'", cn, adOpenForwardOnly, adLockReadOnly);
  const QDateTime alta = rs.Fields("ALTA").GetValue().toDateTime();
  EXPECT_LT(std::abs(alta.secsTo(QDateTime::currentDateTime())), 120) << alta.toString().toStdString();
  EXPECT_EQ(rs.Fields("NOTA").GetValue().toString(), "zCarla");
  // Adding a column the way AddField writes it.
  cn->Execute("ALTER TABLE dbo.CLIENTES ADD EMAIL VARCHAR(50) Null ");
  cn->Execute("ALTER TABLE dbo.CLIENTES ADD SALDO MONEY Not Null  CONSTRAINT DF_CLIENTES_SALDO DEFAULT (0)");
  EXPECT_EQ(first("SELECT SALDO FROM CLIENTES WHERE CODIGO = '  0001'").toDouble(), 0.0);
}

TEST_P(ConnectionTest, BooleansAreBooleans) {
  Run("CREATE TABLE T (Id INTEGER NOT NULL PRIMARY KEY, Activo {BOOL}); INSERT INTO T VALUES (1, TRUE), (2, "
      "FALSE);");
  Recordset rs;
  rs.Open("SELECT Activo FROM T ORDER BY Id", cn, adOpenForwardOnly, adLockReadOnly);
  EXPECT_EQ(rs.Fields(0).Type(), adBoolean);
  EXPECT_EQ(rs.Fields(0).GetValue().typeId(), QMetaType::Bool);
  EXPECT_TRUE(rs.Fields(0).GetValue().toBool());
  rs.MoveNext();
  EXPECT_FALSE(rs.Fields(0).GetValue().toBool());
}

// ---- Opening failures ----

// A missing file, or a folder given for the file: each said as it is.
TEST(ConnectionOpen, MissingSqliteFileIsAConnectionError) {
  QTemporaryDir dir;
  const struct {
    QString file;
    QString description;
  } casos[] = {
      {dir.filePath("no_esta.sqlite"),
       "No existe el archivo de la base de datos SQLite: " + dir.filePath("no_esta.sqlite")},
      {dir.path(), dir.path() + " es una carpeta, no el archivo de una base de datos SQLite."},
  };
  for (const auto& c : casos) {
    auto cn = Connection::Create();
    const auto info = FailureOf(
        [&] { cn->Open("PROVIDER=SQLOLEDB;Server=SQLITE;Database =" + c.file + ";UId=admin;Pwd=;"); });
    EXPECT_EQ(info.Number, err::Unspecified);
    EXPECT_EQ(info.Description, c.description);
    ASSERT_EQ(cn->Errors().Count(), 1);
    EXPECT_EQ(cn->Errors().Item(0).SQLState, "08001");
    EXPECT_EQ(cn->State(), adStateClosed);
  }
  EXPECT_FALSE(QFile::exists(casos[0].file));  // the driver did not make an empty database
}

TEST(ConnectionOpen, AnOdbcStringPassesThrough) {
  const auto db = testdb::FreshEmpty(testdb::Engine::Sqlite);
  auto cn = Connection::Create();
  cn->Open(db.odbcString);
  EXPECT_EQ(cn->GetDialect(), Dialect::Sqlite);
}

TEST(ConnectionOpen, WrongPasswordOnPostgres) {
  const auto db = testdb::FreshEmpty(testdb::Engine::Postgres);
  auto cn = Connection::Create();
  QString s = db.programString;
  s.replace("Pwd=" + db.password, "Pwd=equivocada");
  const auto info = FailureOf([&] { cn->Open(s); });
  EXPECT_EQ(info.Number, err::Unspecified);
  ASSERT_GE(cn->Errors().Count(), 1);
  EXPECT_FALSE(cn->Errors().Item(0).SQLState.isEmpty());
  EXPECT_EQ(cn->State(), adStateClosed);
}

// The driver's installation may turn its communication log on for everyone
// (Debian's does): a connection that did not ask for it leaves no log behind.
TEST(ConnectionOpen, PostgresLeavesNoDriverLog) {
  const auto db = testdb::FreshEmpty(testdb::Engine::Postgres);
  for (int vez = 0; vez < 2; ++vez) {
    auto cn = Connection::Create();
    cn->Open(db.programString);
    cn->Execute("SELECT 1");
    cn->Close();
  }
  const QString tail =
      "_" + QString::fromLocal8Bit(getpwuid(getuid())->pw_name) + QString::number(getpid()) + ".log";
  QStringList left;
  for (const QString& name : QDir("/tmp").entryList({"psqlodbc_*" + tail}, QDir::Files)) left << name;
  EXPECT_TRUE(left.isEmpty()) << left.join(", ").toStdString();
}

}  // namespace
