// SQL Server statements run through the client on the demo data of each engine:
// the expected values are what the suite's SQL Server answers (a case-insensitive,
// accent-sensitive Spanish collation).
#include "ClientFixture.h"

namespace {

using namespace ado;
using clienttest::OpenProgram;

struct Answer {
  const char* name;
  const char* sql;       // SQL Server dialect
  const char* expected;  // first column of every row, joined by "|"
};

void PrintTo(const Answer& a, std::ostream* os) { *os << a.name; }

// Rows besides the demo's, to show the order of accented and Spanish letters.
const char* kPlaces =
    "INSERT INTO P_MA_Empresas (IdEmpresa, NombreEmpresa, Localidad) VALUES "
    "('             20', 'Uno', 'Corrientes'), ('             21', 'Dos', 'Zárate'), "
    "('             22', 'Tres', 'Álamo Alto'), ('             23', 'Cuatro', 'Ñorquincó'), "
    "('             24', 'Cinco', 'Navarro')";
const char* kOrdered =
    "SELECT Localidad FROM P_MA_Empresas WHERE LTRIM(IdEmpresa) IN ('8', '20', '21', '22', '23', '24') "
    "ORDER BY Localidad";

const Answer kAnswers[] = {
    // LIKE ignores letter case, accented letters included, and keeps accents
    {"like_lower_case", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE NombreEmpresa LIKE 'ferr%'", "8"},
    {"like_upper_accent", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE NombreEmpresa LIKE '%CÓRDOBA%'", "8"},
    {"like_accent_kept", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad LIKE '%cordoba%'", ""},
    {"like_count", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa LIKE '%s.a.'", "7"},
    {"not_like", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa NOT LIKE '%S.A.'", "10"},
    // = and <> the same way, on columns and on literals
    {"equal_column", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad = 'CÓRDOBA'", "8"},
    {"equal_column_accent", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad = 'cordoba'", ""},
    {"equal_trimmed_code", "SELECT NombreEmpresa FROM P_MA_Empresas WHERE LTRIM(RTRIM(P_Zona)) = 'noa' "
                           "ORDER BY IdEmpresa",
     "Clínica Privada del Norte S.A.|Consultora Andina S.A."},
    {"equal_literals", "SELECT CASE WHEN 'a' = 'A' THEN 1 ELSE 0 END", "1"},
    {"equal_literals_accent", "SELECT CASE WHEN 'cordoba' = 'córdoba' THEN 1 ELSE 0 END", "0"},
    {"unequal_literals", "SELECT CASE WHEN 'ÁRBOL' <> 'árbol' THEN 1 ELSE 0 END", "0"},
    {"less_literals", "SELECT CASE WHEN 'a' < 'B' THEN 1 ELSE 0 END", "1"},
    // ORDER BY in Spanish: an accented letter with its base letter, ñ after n
    {"order_spanish", kOrdered, "Álamo Alto|Córdoba|Corrientes|Navarro|Ñorquincó|Zárate"},
    {"order_top", "SELECT TOP 3 LTRIM(IdEmpresa) FROM P_MA_Empresas ORDER BY Localidad DESC", "21|4|10"},
    // Letters of every kind change case
    {"upper", "SELECT UPPER('ñandú')", "ÑANDÚ"},
    {"lower", "SELECT LOWER('ÁRBOL')", "árbol"},
    {"charindex", "SELECT CHARINDEX('R', 'Carla')", "3"},
    // "+" adds when a number is on either side, and concatenates text
    {"number_plus_text", "SELECT 1 + '1'", "2"},
    {"text_plus_text", "SELECT '1' + '1'", "11"},
    {"concat_column", "SELECT 'Empresa ' + LTRIM(IdEmpresa) + ': ' + Localidad FROM P_MA_Empresas "
                      "WHERE IdEmpresa = '              8'",
     "Empresa 8: Córdoba"},
    // Numbers and lengths
    {"cast_truncates", "SELECT CAST(3.7 AS int)", "3"},
    {"convert_truncates", "SELECT CONVERT(INT, -3.7)", "-3"},
    {"len_trailing_blanks", "SELECT LEN('abc   ')", "3"},
    {"datalength_trailing_blanks", "SELECT DATALENGTH('abc   ')", "6"},
    {"datalength_null", "SELECT ISNULL(DATALENGTH(NULL), -1)", "-1"},
    {"str_default", "SELECT STR(3.7)", "         4"},
    {"str_decimals", "SELECT STR(123.456, 8, 2)", "  123.46"},
    {"str_fewer_decimals", "SELECT STR(123.456, 5, 2)", "123.5"},
    {"str_overflow", "SELECT STR(12345678901)", "**********"},
    {"str_negative", "SELECT STR(-2.5, 4)", "  -3"},
    {"isnull", "SELECT ISNULL(P_Rubro, 'sin rubro') FROM P_MA_Empresas WHERE IdEmpresa = '             11'",
     "sin rubro"},
};

class SqlServerAnswers : public ::testing::TestWithParam<std::tuple<testdb::Engine, Answer>> {};

TEST_P(SqlServerAnswers, ThroughTheClient) {
  const auto& [engine, a] = GetParam();
  const auto db = testdb::FreshDemo(engine);
  const auto cn = OpenProgram(db);
  cn->Execute(kPlaces);
  Recordset rs;
  rs.Open(a.sql, cn, adOpenForwardOnly, adLockReadOnly);
  QStringList rows;
  for (; !rs.Eof(); rs.MoveNext()) rows << rs.Fields(0).GetValue().toString();
  EXPECT_EQ(rows.join('|').toStdString(), a.expected) << a.sql << "\n-> " << cn->Adapt(a.sql).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlServerAnswers,
                         ::testing::Combine(::testing::ValuesIn(testdb::AllEngines()), ::testing::ValuesIn(kAnswers)),
                         [](const auto& i) {
                           return std::string(testdb::Name(std::get<0>(i.param))) + "_" + std::get<1>(i.param).name;
                         });

// A code lookup keeps the primary key's index under the comparison rules above.
TEST(SqlServerAnswersIndex, CodeLookupUsesTheIndex) {
  for (const auto engine : testdb::AllEngines()) {
    const auto db = testdb::FreshDemo(engine);
    const auto cn = OpenProgram(db);
    const bool pg = engine == testdb::Engine::Postgres;
    if (pg) cn->Execute("SET enable_seqscan = off");  // twelve rows: a scan would win on cost alone
    const QString lookup = "SELECT * FROM P_MA_Empresas WHERE IdEmpresa = '              8'";
    Recordset rs;
    rs.Open((pg ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + lookup, cn, adOpenForwardOnly, adLockReadOnly);
    QStringList plan;
    for (; !rs.Eof(); rs.MoveNext()) plan << rs.Fields(pg ? 0 : 3).GetValue().toString();
    const QString text = plan.join('\n');
    EXPECT_TRUE(text.contains(pg ? "Index Scan using p_ma_empresas_pkey" : "USING INDEX sqlite_autoindex_P_MA_Empresas_1"))
        << testdb::Name(engine) << ":\n" << text.toStdString();
  }
}

}  // namespace
