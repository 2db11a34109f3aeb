// ADO type codes from ODBC types and engine type names, table-driven, without a database.
#include "platform/client/TypeMapping.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include "platform/client/Constants.h"

namespace {

struct Case {
  const char* what;
  int sqlType;
  const char* typeName;
  long long size;
  int adoType;
  long definedSize;
  bool isLong;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class Map : public ::testing::TestWithParam<Case> {};

TEST_P(Map, Code) {
  const Case& c = GetParam();
  const auto t = ado::types::Map(c.sqlType, c.typeName, c.size);
  EXPECT_EQ(t.adoType, c.adoType);
  EXPECT_EQ(t.definedSize, c.definedSize);
  EXPECT_EQ(t.isLong, c.isLong);
}

using namespace ado;
const Case kCases[] = {
    // What the SQLite driver reports (it names the declared type).
    {"sqlite_varchar", SQL_VARCHAR, "VARCHAR", 15, adVarChar, 15, false},
    {"sqlite_varchar_with_length", SQL_VARCHAR, "VARCHAR(15)", 15, adVarChar, 15, false},
    {"sqlite_char", SQL_VARCHAR, "CHAR", 4, adChar, 4, false},
    {"sqlite_nvarchar", SQL_VARCHAR, "NVARCHAR", 10, adVarWChar, 10, false},
    {"sqlite_text", SQL_LONGVARCHAR, "TEXT", 65536, adLongVarChar, 65536, true},
    {"sqlite_long_varchar", SQL_LONGVARCHAR, "VARCHAR", 1000, adVarChar, 1000, false},
    {"sqlite_boolean", SQL_BIT, "BOOLEAN", 1, adBoolean, 2, false},
    {"sqlite_money", SQL_VARCHAR, "MONEY", 255, adCurrency, 8, false},
    {"sqlite_numeric", SQL_DOUBLE, "NUMERIC", 18, adNumeric, 19, false},
    {"sqlite_blob", SQL_BINARY, "BLOB", 255, adLongVarBinary, 255, true},
    {"sqlite_image", SQL_VARCHAR, "IMAGE", 255, adLongVarBinary, 255, true},
    {"sqlite_date", SQL_TYPE_DATE, "DATE", 10, adDBDate, 6, false},
    {"sqlite_datetime", SQL_TYPE_TIMESTAMP, "DATETIME", 32, adDBTimeStamp, 16, false},
    {"sqlite_integer", SQL_INTEGER, "INTEGER", 10, adInteger, 4, false},
    {"sqlite_smallint", SQL_SMALLINT, "SMALLINT", 6, adSmallInt, 2, false},
    {"sqlite_expression", SQL_VARCHAR, "varchar", 255, adVarChar, 255, false},
    // psqlODBC, Unicode driver: text types come as wide types, the name tells them apart.
    {"pg_varchar", SQL_WVARCHAR, "varchar", 15, adVarChar, 15, false},
    {"pg_varchar_1000", SQL_WLONGVARCHAR, "varchar", 1000, adVarChar, 1000, false},
    {"pg_char", SQL_WCHAR, "char", 4, adChar, 4, false},
    {"pg_bpchar", SQL_WCHAR, "bpchar", 4, adChar, 4, false},
    {"pg_text", SQL_WLONGVARCHAR, "text", 8190, adLongVarChar, 8190, true},
    {"pg_bool", SQL_BIT, "bool", 1, adBoolean, 2, false},
    {"pg_money", SQL_FLOAT, "money", 10, adCurrency, 8, false},
    {"pg_numeric", SQL_NUMERIC, "numeric", 19, adNumeric, 19, false},
    {"pg_bytea", SQL_LONGVARBINARY, "bytea", 0, adLongVarBinary, 0x7fffffff, true},
    {"pg_int2", SQL_SMALLINT, "int2", 5, adSmallInt, 2, false},
    {"pg_int4", SQL_INTEGER, "int4", 10, adInteger, 4, false},
    {"pg_int8", SQL_BIGINT, "int8", 19, adBigInt, 8, false},
    {"pg_float8", SQL_FLOAT, "float8", 17, adDouble, 8, false},
    {"pg_timestamp", SQL_TYPE_TIMESTAMP, "timestamp without time zone", 26, adDBTimeStamp, 16, false},
    {"pg_date", SQL_TYPE_DATE, "date", 10, adDBDate, 6, false},
    {"pg_time", SQL_TYPE_TIME, "time", 8, adDBTime, 6, false},
    {"pg_uuid", SQL_GUID, "uuid", 37, adGUID, 16, false},
    // SQL Server through FreeTDS.
    {"mssql_money", SQL_DECIMAL, "money", 19, adCurrency, 8, false},
    {"mssql_smallmoney", SQL_DECIMAL, "smallmoney", 10, adCurrency, 8, false},
    {"mssql_bit", SQL_BIT, "bit", 1, adBoolean, 2, false},
    {"mssql_nvarchar", SQL_WVARCHAR, "nvarchar", 50, adVarWChar, 50, false},
    {"mssql_nvarchar_max", SQL_WVARCHAR, "nvarchar", 0, adLongVarWChar, 0x7fffffff, true},
    {"mssql_varchar_max", SQL_LONGVARCHAR, "varchar(max)", 2147483647, adLongVarChar, 0x7fffffff, true},
    {"mssql_ntext", SQL_WLONGVARCHAR, "ntext", 1073741823, adLongVarWChar, 1073741823, true},
    {"mssql_image", SQL_LONGVARBINARY, "image", 2147483647, adLongVarBinary, 0x7fffffff, true},
    {"mssql_varbinary", SQL_VARBINARY, "varbinary", 50, adVarBinary, 50, false},
    {"mssql_tinyint", SQL_TINYINT, "tinyint", 3, adUnsignedTinyInt, 1, false},
    {"mssql_datetime", SQL_TYPE_TIMESTAMP, "datetime", 23, adDBTimeStamp, 16, false},
    {"mssql_identity", SQL_INTEGER, "int identity", 10, adInteger, 4, false},
    {"mssql_uniqueidentifier", SQL_GUID, "uniqueidentifier", 36, adGUID, 16, false},
    // Names nobody knows: the ODBC type decides.
    {"unknown_name_varchar", SQL_VARCHAR, "mytype", 20, adVarChar, 20, false},
    {"unknown_name_decimal", SQL_DECIMAL, "", 18, adDecimal, 19, false},
    {"unknown_name_longvarbinary", SQL_LONGVARBINARY, "", 100000, adLongVarBinary, 100000, true},
};

INSTANTIATE_TEST_SUITE_P(Cases, Map, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& i) { return std::string(i.param.what); });

TEST(BaseTypeName, LengthAndCase) {
  EXPECT_EQ(ado::types::BaseTypeName(" VARCHAR(15) "), "varchar");
  EXPECT_EQ(ado::types::BaseTypeName("NUMERIC(18, 4)"), "numeric");
  EXPECT_EQ(ado::types::BaseTypeName("character varying(40)"), "character varying");
  EXPECT_EQ(ado::types::BaseTypeName("varbinary(MAX)"), "varbinary(max)");
}

TEST(Families, SortTheTypeCodesIntoTextNumberDateAndBinary) {
  EXPECT_TRUE(ado::types::IsText(adVarChar));
  EXPECT_TRUE(ado::types::IsText(adChar));
  EXPECT_FALSE(ado::types::IsText(adCurrency));
  EXPECT_TRUE(ado::types::IsFloating(adCurrency));
  EXPECT_TRUE(ado::types::IsInteger(adUnsignedTinyInt));
  EXPECT_TRUE(ado::types::IsDateTime(adDBTimeStamp));
  EXPECT_TRUE(ado::types::IsBinary(adLongVarBinary));
}

}  // namespace
