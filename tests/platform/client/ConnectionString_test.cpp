// From the program's connection strings to ODBC, table-driven, without a database.
#include "platform/client/ConnectionString.h"

#include <gtest/gtest.h>

#include "platform/client/Connection.h"

namespace {

using ado::cs::Kind;

ado::cs::Environment Env() {
  ado::cs::Environment e;
  e.dataSource = [](const QString& name, QString* driver) {
    if (name.compare("MA_PG_TEST", Qt::CaseInsensitive) == 0 ||
        name.compare("MA_PG_LOGS", Qt::CaseInsensitive) == 0) {
      *driver = "PostgreSQL Unicode";
      return true;
    }
    if (name.compare("OTRA", Qt::CaseInsensitive) == 0) {
      *driver = "FreeTDS";
      return true;
    }
    return false;
  };
  // A data source that asks for the driver's communication log.
  e.dataSourceSets = [](const QString& name, const QString& key) {
    return name.compare("MA_PG_LOGS", Qt::CaseInsensitive) == 0 && key == "CommLog";
  };
  return e;
}

struct Case {
  const char* name;
  const char* input;
  Kind kind;
  const char* odbc;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Translate : public ::testing::TestWithParam<Case> {};

TEST_P(Translate, ToOdbc) {
  const Case& c = GetParam();
  const auto t = ado::cs::Translate(c.input, {}, {}, Env());
  EXPECT_EQ(static_cast<int>(t.kind), static_cast<int>(c.kind));
  EXPECT_EQ(t.odbc.toStdString(), c.odbc);
}

const Case kCases[] = {
    {"sqlite", "PROVIDER=SQLOLEDB;Server=SQLITE;Database =/tmp/x/demo.sqlite;UId=admin;Pwd=;", Kind::Sqlite,
     "DRIVER={SQLite3};Database=/tmp/x/demo.sqlite;Timeout=5000;NoCreat=1;StepAPI=1;"},
    {"sqlite_any_case", "PROVIDER=SQLOLEDB;Server=sqlite;Database =/d b/x.db;UId=;Pwd=;", Kind::Sqlite,
     "DRIVER={SQLite3};Database=/d b/x.db;Timeout=5000;NoCreat=1;StepAPI=1;"},
    {"sqlite_path_with_semicolon", "Provider=SQLOLEDB;Server=Sqlite;Database={/tmp/a;b.db};", Kind::Sqlite,
     "DRIVER={SQLite3};Database={/tmp/a;b.db};Timeout=5000;NoCreat=1;StepAPI=1;"},
    {"sqlite_extended_timeout", "PROVIDER=SQLOLEDB;Server=SQLITE;Database =/x.db;UId=;Pwd=;Timeout=100;",
     Kind::Sqlite, "DRIVER={SQLite3};Database=/x.db;Timeout=100;NoCreat=1;StepAPI=1;"},
    {"data_source_postgres", "PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =ma_t1;UId=ma_test;Pwd=secreto;",
     Kind::DataSource,
     "DSN=MA_PG_TEST;Database=ma_t1;UID=ma_test;PWD=secreto;BoolsAsChar=0;ByteaAsLongVarBinary=1;CommLog=0;"
     "Debug=0;UseServerSidePrepare=0;"},
    {"data_source_empty_database", "PROVIDER=SQLOLEDB;Server=ma_pg_test;Database =;UId=;Pwd=;",
     Kind::DataSource,
     "DSN=ma_pg_test;BoolsAsChar=0;ByteaAsLongVarBinary=1;CommLog=0;Debug=0;UseServerSidePrepare=0;"},
    {"data_source_asks_for_its_log", "PROVIDER=SQLOLEDB;Server=MA_PG_LOGS;Database =m;UId=;Pwd=;",
     Kind::DataSource,
     "DSN=MA_PG_LOGS;Database=m;BoolsAsChar=0;ByteaAsLongVarBinary=1;Debug=0;UseServerSidePrepare=0;"},
    {"string_asks_for_the_log", "PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =m;UId=;Pwd=;CommLog=1;",
     Kind::DataSource,
     "DSN=MA_PG_TEST;Database=m;CommLog=1;BoolsAsChar=0;ByteaAsLongVarBinary=1;Debug=0;"
     "UseServerSidePrepare=0;"},
    {"data_source_other_driver", "PROVIDER=SQLOLEDB;Server=OTRA;Database =G;UId=sa;Pwd=x;", Kind::DataSource,
     "DSN=OTRA;Database=G;UID=sa;PWD=x;"},
    {"sql_server", "PROVIDER=SQLOLEDB;Server=SRV1;Database =GESTION;UId=sa;Pwd=;", Kind::SqlServer,
     "DRIVER={FreeTDS};Server=SRV1;Database=GESTION;UID=sa;PWD=;ClientCharset=UTF-8;"},
    {"sql_server_port", "PROVIDER=SQLOLEDB;Server=10.0.0.5,1433;Database =G;UId=sa;Pwd=p;", Kind::SqlServer,
     "DRIVER={FreeTDS};Server=10.0.0.5;Port=1433;Database=G;UID=sa;PWD=p;ClientCharset=UTF-8;"},
    {"sql_server_extended",
     "PROVIDER=SQLOLEDB;Server=SRV1;Database =G;UId=sa;Pwd=p;Persist Security Info=False;Application Name=MA;"
     "TDS_Version=7.4;",
     Kind::SqlServer,
     "DRIVER={FreeTDS};Server=SRV1;Database=G;UID=sa;PWD=p;APP=MA;TDS_Version=7.4;ClientCharset=UTF-8;"},
    {"oracle", "Provider=OraOLEDB.Oracle.1;Data Source=ORCL;User Id=scott;Password=tiger;", Kind::Oracle,
     "DRIVER={Oracle};DBQ=ORCL;UID=scott;PWD=tiger;"},
    {"data_source_keeps_a_given_driver",
     "PROVIDER=SQLOLEDB;Server=OTRA;Database =G;UId=sa;Pwd=x;DRIVER=FreeTDS 1.3;", Kind::DataSource,
     "DSN=OTRA;Database=G;UID=sa;PWD=x;DRIVER={FreeTDS 1.3};"},
    {"odbc_driver_unchanged", "DRIVER={SQLite3};Database=/tmp/x.db;", Kind::PassThrough,
     "DRIVER={SQLite3};Database=/tmp/x.db;"},
    {"odbc_dsn_unchanged", "DSN=MA_PG_TEST;UID=u;PWD=p;", Kind::PassThrough, "DSN=MA_PG_TEST;UID=u;PWD=p;"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Translate, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(Translate, SqliteFileAndLoginTimeout) {
  const auto t = ado::cs::Translate(
      "PROVIDER=SQLOLEDB;Server=SQLITE;Database = /tmp/d.sqlite ;UId=;Pwd=;Connect Timeout=7;", {}, {},
      Env());
  EXPECT_EQ(t.sqliteFile, "/tmp/d.sqlite");
  EXPECT_EQ(t.loginTimeout, 7);
}

TEST(Translate, OpenArgumentsReplaceUserAndPassword) {
  const auto t =
      ado::cs::Translate("PROVIDER=SQLOLEDB;Server=SRV;Database =G;UId=a;Pwd=b;", "otro", "clave", Env());
  EXPECT_EQ(t.odbc, "DRIVER={FreeTDS};Server=SRV;Database=G;UID=otro;PWD=clave;ClientCharset=UTF-8;");
}

// The session's settings ride on the login, unless the string or the data source has its own.
TEST(Translate, PostgresSessionGoesWithTheLoginUnlessPqoptIsGiven) {
  auto env = Env();
  env.postgresSession = "-c lock_timeout=10000";
  const auto t =
      ado::cs::Translate("PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =m;UId=;Pwd=;", {}, {}, env);
  EXPECT_TRUE(t.sessionInLogin);
  EXPECT_TRUE(t.odbc.endsWith(";pqopt={options='-c lock_timeout=10000'};")) << t.odbc.toStdString();
  const auto own = ado::cs::Translate(
      "PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =m;UId=;Pwd=;pqopt={sslmode=require};", {}, {}, env);
  EXPECT_FALSE(own.sessionInLogin);
  EXPECT_EQ(own.odbc.count("pqopt"), 1);
  env.dataSourceSets = [](const QString&, const QString& key) { return key == "pqopt"; };
  EXPECT_FALSE(
      ado::cs::Translate("PROVIDER=SQLOLEDB;Server=MA_PG_TEST;Database =m;", {}, {}, env).sessionInLogin);
}

TEST(Translate, DriverNamesFromTheEnvironment) {
  auto env = Env();
  env.sqlServerDriver = "ODBC Driver 18 for SQL Server";
  env.oracleDriver = "Oracle 21 ODBC driver";
  EXPECT_TRUE(ado::cs::Translate("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=;Pwd=;", {}, {}, env)
                  .odbc.startsWith("DRIVER={ODBC Driver 18 for SQL Server};"));
  EXPECT_TRUE(ado::cs::Translate("Provider=OraOLEDB.Oracle.1;Data Source=X;User Id=;Password=;", {}, {}, env)
                  .odbc.startsWith("DRIVER={Oracle 21 ODBC driver};"));
}

TEST(Parse, KeysKeepTheirSpellingValuesAreTrimmed) {
  const auto p = ado::cs::Parse("PROVIDER=SQLOLEDB;Database =G ;Pwd={a;b};x;UId='q''r'");
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p[1].first, "Database ");
  EXPECT_EQ(p[1].second, "G");
  EXPECT_EQ(p[2].second, "a;b");
  EXPECT_EQ(p[3].second, "q'r");
  EXPECT_EQ(ado::cs::Find(p, {"database"}), "G");
}

// A password as the program writes it into its connection string reaches the
// driver whole, and no part of it survives masking, whatever it holds.
TEST(QuoteValue, PasswordsReachTheDriverWholeAndAreMasked) {
  const QString values[] = {"plain",  "{abc", "a;b",   "a}b}",   "x=y",        " lead",
                            "trail ", "'abc", "\"abc", "'a;b'c", "\"q\";PWD=", "z}"};
  for (const QString& v : values) {
    const QString oledb = "PROVIDER=SQLOLEDB;Server=SRV;Database =G;UId=sa;Pwd=" + ado::cs::QuoteValue(v) +
                          ";Application Name=MA;";
    const auto t = ado::cs::Translate(oledb, {}, {}, Env());
    const auto pairs = ado::cs::Parse(t.odbc);
    EXPECT_EQ(ado::cs::Find(pairs, {"pwd"}), v) << t.odbc.toStdString();
    EXPECT_EQ(ado::cs::Find(pairs, {"app"}), "MA") << t.odbc.toStdString();
    for (const QString& s : {oledb, t.odbc}) {
      const QString masked = ado::MaskPasswords(s);
      EXPECT_TRUE(masked.contains("=****;")) << masked.toStdString();
      EXPECT_FALSE(masked.contains(v.trimmed())) << masked.toStdString();
    }
  }
  EXPECT_EQ(ado::cs::QuoteValue("plain value"), "plain value");
  // A line break would end the masking inside the password and show the rest.
  EXPECT_EQ(ado::MaskPasswords("UId=sa;Pwd=" + ado::cs::QuoteValue("a\r\nsecreta") + ";"),
            "UId=sa;Pwd=****;");
}

TEST(MaskPasswords, WhereverTheKeyStands) {
  const std::pair<QString, QString> cases[] = {
      {"Fallo al conectar (DSN=X;UID=u;PWD=secreto)", "Fallo al conectar (DSN=X;UID=u;PWD=****"},
      {"@Usuario=u;@Password=clave", "@Usuario=u;@Password=****"},
      {"linea\r\npassword = clave\r\notra", "linea\r\npassword = ****\r\notra"},
      {"texto Pwd={a;b}};c};UID=u", "texto Pwd=****;UID=u"},
      {"UserPwd=x;NoPassword=y", "UserPwd=x;NoPassword=y"},  // other keys
      {"Pwd es la clave", "Pwd es la clave"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ado::MaskPasswords(in), out) << in.toStdString();
}

TEST(MaskPasswords, EveryPasswordKey) {
  EXPECT_EQ(ado::MaskPasswords("PROVIDER=SQLOLEDB;Server=S;Database =D;UId=sa;Pwd=secreto;"),
            "PROVIDER=SQLOLEDB;Server=S;Database =D;UId=sa;Pwd=****;");
  EXPECT_EQ(ado::MaskPasswords("Provider=OraOLEDB.Oracle.1;Data Source=O;User Id=u;Password=tiger;"),
            "Provider=OraOLEDB.Oracle.1;Data Source=O;User Id=u;Password=****;");
  EXPECT_EQ(ado::MaskPasswords("DSN=X;PWD={a;b};UID=u"), "DSN=X;PWD=****;UID=u");
  EXPECT_EQ(ado::MaskPasswords("UId=sa;Pwd=;"), "UId=sa;Pwd=;");
}

}  // namespace
