// What the client reads from a statement: its one table, quoted names, catalog names.
#include "platform/client/TableSelect.h"

#include <gtest/gtest.h>

namespace {

using ado::Dialect;

TEST(ParseTableSelect, StarFromOneTable) {
  const auto t = ado::sql::ParseTableSelect("SELECT * FROM P_MA_Empresas");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->table, "P_MA_Empresas");
  EXPECT_EQ(t->name, "P_MA_Empresas");
  EXPECT_TRUE(t->schema.isEmpty());
  EXPECT_TRUE(t->star);
}

TEST(ParseTableSelect, TopWhereOrder) {
  const auto t = ado::sql::ParseTableSelect(
      "SELECT TOP 1  * FROM P_MA_Empresas WHERE LTRIM(RTRIM(IdEmpresa)) ='7' ORDER BY IdEmpresa, Nombre");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->name, "P_MA_Empresas");
}

// What the text itself bounds decides whether a statement may run before it is described.
TEST(ParseTableSelect, MostRowsByTheText) {
  const struct {
    const char* sql;
    long long mostRows;
  } cases[] = {
      {"SELECT * FROM P_MA_Empresas WHERE 1 = 0", 0},
      {"SELECT * FROM P_MA_Empresas WHERE 1=0 ORDER BY IdEmpresa", 0},
      {"SELECT TOP 1  * FROM ta_usuarios WHERE LTRIM(RTRIM(nombre)) ='x'", 1},
      {"SELECT TOP 1000 Nombre FROM T", 1000},
      {"SELECT * FROM T WHERE 1 = 0 OR Id > 5", -1},
      {"SELECT * FROM T WHERE 1 = 01", -1},
      {"SELECT * FROM T WITH (TABLOCKX, HOLDLOCK) WHERE 1 = 0", -1},
      {"SELECT * FROM T WHERE Id = 1", -1},
      {"SELECT TOP (1) * FROM T", -1},
      {"SELECT * FROM T", -1},
  };
  for (const auto& c : cases) {
    const auto t = ado::sql::ParseTableSelect(c.sql);
    ASSERT_TRUE(t) << c.sql;
    EXPECT_EQ(t->mostRows, c.mostRows) << c.sql;
  }
}

TEST(ParseTableSelect, OwnerBracketsAndColumns) {
  const auto t =
      ado::sql::ParseTableSelect("select IdEmpresa, NombreEmpresa AS Nombre, x.Calle from dbo.[Mi Tabla] x");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->table, "dbo.[Mi Tabla]");
  EXPECT_EQ(t->name, "Mi Tabla");
  EXPECT_EQ(t->schema, "dbo");
  EXPECT_TRUE(t->nameQuoted);
  EXPECT_FALSE(t->star);
  ASSERT_EQ(t->items.size(), 3);
  EXPECT_EQ(t->items[1].column, "NombreEmpresa");
  EXPECT_EQ(t->items[1].output, "Nombre");
  EXPECT_EQ(t->items[2].column, "Calle");
}

TEST(ParseTableSelect, RefusesWhatCannotBeWrittenBack) {
  for (const char* sql :
       {"SELECT MAX(Talonario) AS Talonario FROM V_TA_CPTE", "SELECT a FROM t JOIN u ON t.x = u.x",
        "SELECT a FROM t, u", "SELECT DISTINCT a FROM t", "SELECT a, COUNT(*) FROM t GROUP BY a",
        "SELECT a FROM t UNION SELECT a FROM u", "UPDATE t SET a = 1", "SELECT 'x' + a AS b FROM t",
        "SELECT a FROM t; DELETE FROM t"}) {
    EXPECT_FALSE(ado::sql::ParseTableSelect(sql)) << sql;
  }
}

TEST(Quote, ByEngine) {
  EXPECT_EQ(ado::sql::Quote("a]b", Dialect::SqlServer), "[a]]b]");
  EXPECT_EQ(ado::sql::Quote("a\"b", Dialect::Postgres), "\"a\"\"b\"");
  EXPECT_EQ(ado::sql::Quote("IdEmpresa", Dialect::Sqlite), "\"IdEmpresa\"");
}

TEST(CatalogName, FoldsLikeTheEngine) {
  EXPECT_EQ(ado::sql::CatalogName("P_MA_Empresas", Dialect::Postgres), "p_ma_empresas");
  EXPECT_EQ(ado::sql::CatalogName("P_MA_Empresas", Dialect::Postgres, true), "P_MA_Empresas");
  EXPECT_EQ(ado::sql::CatalogName("P_MA_Empresas", Dialect::Sqlite), "P_MA_Empresas");
  EXPECT_EQ(ado::sql::CatalogName("p_ma_empresas", Dialect::Oracle), "P_MA_EMPRESAS");
}

TEST(IsDefinition, FirstWord) {
  EXPECT_TRUE(ado::sql::IsDefinition("  ALTER TABLE x ADD y INT"));
  EXPECT_TRUE(ado::sql::IsDefinition("-- c\ncreate table x (a int)"));
  EXPECT_FALSE(ado::sql::IsDefinition("UPDATE x SET created = 1"));
}

}  // namespace
