// SQL Server statements run through the client on the demo data of each engine:
// the expected values are what the suite's SQL Server answers (a case-insensitive,
// accent-sensitive Spanish collation; SET LANGUAGE Spanish, DATEFORMAT dmy, DATEFIRST 1).
// A statement the server refuses expects "error N", N the number the program sees.
#include "ClientFixture.h"

namespace {

using namespace ado;
using clienttest::OpenProgram;

struct Answer {
  const char* name;
  const char* sql;       // SQL Server dialect
  const char* expected;  // first column of every row, joined by "|", or "error N"
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
    {"like_upper_accent", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE NombreEmpresa LIKE '%CÓRDOBA%'",
     "8"},
    {"like_accent_kept", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad LIKE '%cordoba%'", ""},
    {"like_count", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa LIKE '%s.a.'", "7"},
    {"not_like", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa NOT LIKE '%S.A.'", "10"},
    // = and <> the same way, on columns and on literals
    {"equal_column", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad = 'CÓRDOBA'", "8"},
    {"equal_column_accent", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad = 'cordoba'", ""},
    {"equal_trimmed_code",
     "SELECT NombreEmpresa FROM P_MA_Empresas WHERE LTRIM(RTRIM(P_Zona)) = 'noa' "
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
    {"concat_column",
     "SELECT 'Empresa ' + LTRIM(IdEmpresa) + ': ' + Localidad FROM P_MA_Empresas "
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
    // Date arithmetic: every datepart and its abbreviations; DATEDIFF counts boundaries
    {"dateadd_month_end", "SELECT CONVERT(varchar(10), DATEADD(month, 1, '20240131'), 120)", "2024-02-29"},
    {"dateadd_yy_leap", "SELECT CONVERT(varchar(10), DATEADD(yy, 1, '20240229'), 120)", "2025-02-28"},
    {"dateadd_quarter", "SELECT CONVERT(varchar(10), DATEADD(qq, 1, '20241130'), 103)", "28/02/2025"},
    {"dateadd_dd_back", "SELECT CONVERT(varchar(10), DATEADD(dd, -1, '20240301'), 103)", "29/02/2024"},
    {"dateadd_d_year_end", "SELECT CONVERT(varchar(10), DATEADD(d, 10, '25/12/2024'), 112)", "20250104"},
    {"dateadd_dy", "SELECT CONVERT(varchar(10), DATEADD(dy, 1, '20240228'), 104)", "29.02.2024"},
    {"dateadd_wk", "SELECT CONVERT(varchar(10), DATEADD(wk, 2, '20241220'), 105)", "03-01-2025"},
    {"dateadd_hh", "SELECT CONVERT(varchar(19), DATEADD(hh, 5, '2024-12-31T22:30:00'), 120)",
     "2025-01-01 03:30:00"},
    {"dateadd_n", "SELECT CONVERT(varchar(8), DATEADD(n, 90, '2024-01-01T23:00:00'), 108)", "00:30:00"},
    {"dateadd_mi_back", "SELECT CONVERT(varchar(19), DATEADD(mi, -1, '20240101'), 120)",
     "2023-12-31 23:59:00"},
    {"dateadd_ss", "SELECT CONVERT(varchar(8), DATEADD(ss, 61, '2024-01-01T10:00:00'), 108)", "10:01:01"},
    {"datediff_month_boundary", "SELECT DATEDIFF(month, '2024-01-31', '2024-02-01')", "1"},
    {"datediff_year_boundary", "SELECT DATEDIFF(year, '2024-12-31', '2025-01-01')", "1"},
    {"datediff_yyyy_same_year", "SELECT DATEDIFF(yyyy, '2024-01-01', '2024-12-31')", "0"},
    {"datediff_day_backwards", "SELECT DATEDIFF(day, '2024-03-01', '2024-02-28')", "-2"},
    {"datediff_qq", "SELECT DATEDIFF(qq, '2024-03-31', '2024-04-01')", "1"},
    {"datediff_week_sunday", "SELECT DATEDIFF(wk, '2024-01-06', '2024-01-07')", "1"},
    {"datediff_week_same", "SELECT DATEDIFF(week, '2024-01-07', '2024-01-13')", "0"},
    {"datediff_hour", "SELECT DATEDIFF(hour, '2024-01-01 10:59', '2024-01-01 11:00')", "1"},
    {"datediff_mi", "SELECT DATEDIFF(mi, '2024-01-01 10:00:59', '2024-01-01 10:01:00')", "1"},
    {"datediff_ss", "SELECT DATEDIFF(ss, '2024-01-01 10:00:00', '2024-01-01 10:02:30')", "150"},
    {"datediff_dmy", "SELECT DATEDIFF(dd, '01/02/2024', '01/03/2024')", "29"},
    {"datediff_bad_date", "SELECT DATEDIFF(day, '31/02/2024', '2024-03-01')", "error 241"},
    {"datepart_dw_monday", "SELECT DATEPART(dw, '2024-01-01')", "1"},
    {"datepart_weekday_sunday", "SELECT DATEPART(weekday, '2024-01-07')", "7"},
    {"datepart_wk_first", "SELECT DATEPART(wk, '2024-01-07')", "1"},
    {"datepart_week_monday", "SELECT DATEPART(week, '2025-01-06')", "2"},
    {"datepart_dy", "SELECT DATEPART(dy, '2024-12-31')", "366"},
    {"datepart_q", "SELECT DATEPART(q, '2024-08-15')", "3"},
    {"datepart_m_dmy", "SELECT DATEPART(m, '15/08/2024')", "8"},
    {"datepart_hh", "SELECT DATEPART(hh, '2024-01-01 17:45:00')", "17"},
    {"datepart_n", "SELECT DATEPART(n, '2024-01-01 17:45:00')", "45"},
    {"datepart_isowk", "SELECT DATEPART(isowk, '2021-01-03')", "53"},
    {"datepart_unknown", "SELECT DATEPART(dias, '2024-01-01')", "error 155"},
    {"dateadd_unknown", "SELECT DATEADD(fortnight, 1, '2024-01-01')", "error 155"},
    {"datediff_unknown", "SELECT DATEDIFF(semana, '2024-01-01', '2024-02-01')", "error 155"},
    {"datename_month", "SELECT DATENAME(month, '15/08/2024')", "Agosto"},
    {"datename_weekday_sunday", "SELECT DATENAME(dw, '2024-01-07')", "Domingo"},
    {"datename_weekday_wednesday", "SELECT DATENAME(weekday, '20240103')", "Miércoles"},
    {"datename_day_month", "SELECT DATENAME(day, '2024-03-05') + ' de ' + DATENAME(mm, '2024-03-05')",
     "5 de Marzo"},
    {"datename_year", "SELECT DATENAME(yyyy, '20240305')", "2024"},
    {"getdate_after_dmy", "SELECT CASE WHEN GETDATE() > '01/01/2020' THEN 1 ELSE 0 END", "1"},
    {"getdate_before_compact", "SELECT CASE WHEN GETDATE() < '29991231' THEN 1 ELSE 0 END", "1"},
    {"date_alone_equal",
     "SELECT CASE WHEN CONVERT(date, DATEADD(hh, 1, '2024-05-06T13:00:00')) = '06/05/2024' "
     "THEN 1 ELSE 0 END",
     "1"},
    // CONVERT and CAST to text: the length cuts, styles, decimals kept
    {"convert_varchar_cuts", "SELECT CONVERT(varchar(4), 'abcdef')", "abcd"},
    {"cast_nvarchar_cuts", "SELECT CAST('Córdoba' AS nvarchar(3))", "Cór"},
    {"convert_default_30", "SELECT LEN(CONVERT(varchar, REPLICATE('x', 40)))", "30"},
    {"convert_120_date_alone", "SELECT CONVERT(varchar(10), CONVERT(datetime, '2024-03-05T14:07:09'), 120)",
     "2024-03-05"},
    {"style_1", "SELECT CONVERT(varchar(8), CONVERT(datetime, '20240305'), 1)", "03/05/24"},
    {"style_3", "SELECT CONVERT(varchar(8), CONVERT(datetime, '20240305'), 3)", "05/03/24"},
    {"style_101", "SELECT CONVERT(varchar(10), CONVERT(datetime, '20240305'), 101)", "03/05/2024"},
    {"style_103", "SELECT CONVERT(varchar(10), CAST('20240305' AS datetime), 103)", "05/03/2024"},
    {"style_104", "SELECT CONVERT(varchar(10), CONVERT(datetime, '20240305'), 104)", "05.03.2024"},
    {"style_105", "SELECT CONVERT(varchar(10), CONVERT(datetime, '20240305'), 105)", "05-03-2024"},
    {"style_108", "SELECT CONVERT(varchar, CONVERT(datetime, '2024-03-05T14:07:09'), 108)", "14:07:09"},
    {"style_112", "SELECT CONVERT(varchar(8), CONVERT(datetime, '05/03/2024'), 112)", "20240305"},
    {"style_120", "SELECT CONVERT(varchar(19), CONVERT(datetime, '2024-03-05T14:07:09'), 120)",
     "2024-03-05 14:07:09"},
    {"style_121", "SELECT CONVERT(varchar(23), CONVERT(datetime, '2024-03-05T14:07:09.250'), 121)",
     "2024-03-05 14:07:09.250"},
    {"style_on_text_ignored", "SELECT CONVERT(varchar(10), '2024-03-05', 103)", "2024-03-05"},
    {"style_0_spanish", "SELECT CONVERT(varchar(30), CONVERT(datetime, '2024-03-05T14:07:09'), 0)",
     "Mar  5 2024  2:07PM"},
    {"style_100_morning", "SELECT CONVERT(varchar, CONVERT(datetime, '20241231 09:30'), 100)",
     "Dic 31 2024  9:30AM"},
    {"datetime_text_no_style", "SELECT CAST(DATEADD(dd, 1, '20240114') AS varchar(30))",
     "Ene 15 2024 12:00AM"},
    {"datetime_text_cut", "SELECT CONVERT(varchar(6), CONVERT(datetime, '20240815 12:05'))", "Ago 15"},
    {"date_text_iso", "SELECT CAST(CONVERT(date, '20240815') AS varchar(10))", "2024-08-15"},
    {"datetime2_text_iso", "SELECT CAST(CAST('2024-03-05T14:07:09' AS datetime2(0)) AS varchar(19))",
     "2024-03-05 14:07:09"},
    {"int_too_long_star", "SELECT CONVERT(varchar(2), 123)", "*"},
    {"int_fits", "SELECT CONVERT(varchar(3), -12)", "-12"},
    {"len_too_long_star", "SELECT CAST(LEN('abcdefghij') AS varchar(1))", "*"},
    {"round_truncate_keeps_scale", "SELECT CONVERT(varchar(10), ROUND(2.567, 2, 1))", "2.560"},
    {"round_keeps_scale", "SELECT CAST(ROUND(2.567, 2) AS varchar(10))", "2.570"},
    {"round_negative_keeps_scale", "SELECT CAST(ROUND(1250.5, -2) AS varchar(10))", "1300.0"},
    {"decimal_keeps_scale", "SELECT CAST(CAST(2.5 AS decimal(6,3)) AS varchar(10))", "2.500"},
    {"decimal_rounds", "SELECT CONVERT(varchar(10), CAST(2.5678 AS decimal(6,2)))", "2.57"},
    {"money_two_decimals", "SELECT CONVERT(varchar(20), CAST(2.5 AS money))", "2.50"},
    {"cast_text_to_int", "SELECT CAST(' 42 ' AS int) + 1", "43"},
    {"cast_text_to_int_refused", "SELECT CAST('4x' AS int)", "error 245"},
    {"number_to_text", "SELECT CONVERT(varchar(5), 12) + 'x'", "12x"},
    // char(n) pads to n: DATALENGTH counts the blanks, LEN does not
    {"char_datalength", "SELECT DATALENGTH(CAST('ab' AS char(5)))", "5"},
    {"char_len", "SELECT LEN(CAST('ab' AS char(5)))", "2"},
    {"char_cuts", "SELECT CAST('abcdef' AS char(3))", "abc"},
    {"char_concat", "SELECT CAST('ab' AS char(4)) + '|'", "ab  |"},
    {"char_default_30", "SELECT DATALENGTH(CONVERT(char, 'xyz'))", "30"},
    // Text against a number: the text is converted to the number
    {"text_equal_number", "SELECT NombreEmpresa FROM P_MA_Empresas WHERE IdEmpresa = 8",
     "Ferretería Industrial Córdoba S.R.L."},
    {"text_greater_number", "SELECT COUNT(*) FROM P_MA_Empresas WHERE IdEmpresa > 9", "8"},
    {"text_in_numbers", "SELECT COUNT(*) FROM P_MA_Empresas WHERE IdEmpresa IN (3, 4)", "2"},
    {"text_between_numbers", "SELECT COUNT(*) FROM P_MA_Empresas WHERE IdEmpresa BETWEEN 2 AND 9", "8"},
    {"text_below_decimal", "SELECT COUNT(*) FROM P_MA_Empresas WHERE IdEmpresa < 2.5", "2"},
    {"literal_text_number", "SELECT CASE WHEN '10' > 9 THEN 1 ELSE 0 END", "1"},
    {"literal_blank_number", "SELECT CASE WHEN ' 3' = 3 THEN 1 ELSE 0 END", "1"},
    {"text_number_refused", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa = 5", "error 245"},
    {"text_decimal_refused", "SELECT CASE WHEN 'abc' = 1.5 THEN 1 ELSE 0 END", "error 8114"},
    {"text_fraction_int_refused", "SELECT CASE WHEN '7.5' = 7 THEN 1 ELSE 0 END", "error 245"},
    // LIKE as the server reads it: classes, no backslash escape, ESCAPE
    {"like_class_range", "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa LIKE '[a-c]%'", "6"},
    {"like_class_negated", "SELECT CASE WHEN 'a1' LIKE 'a[^0-9]' THEN 1 ELSE 0 END", "0"},
    {"like_class_percent", "SELECT CASE WHEN '50%' LIKE '50[%]' THEN 1 ELSE 0 END", "1"},
    {"like_backslash_plain", "SELECT CASE WHEN 'C:\\x' LIKE 'C:\\%' THEN 1 ELSE 0 END", "1"},
    {"like_backslash_not_escape", "SELECT CASE WHEN 'C:x' LIKE 'C\\:x' THEN 1 ELSE 0 END", "0"},
    {"like_escape_clause", "SELECT CASE WHEN '10%' LIKE '10!%' ESCAPE '!' THEN 1 ELSE 0 END", "1"},
    {"like_escape_plain_percent", "SELECT CASE WHEN '100' LIKE '10!%' ESCAPE '!' THEN 1 ELSE 0 END", "0"},
    {"like_underscore", "SELECT CASE WHEN 'abc' LIKE 'A_C' THEN 1 ELSE 0 END", "1"},
    {"like_range_accented", "SELECT CASE WHEN 'Árbol' LIKE '[a-c]%' THEN 1 ELSE 0 END", "1"},
    {"like_range_enye_after_n", "SELECT CASE WHEN 'ñandú' LIKE '[a-n]%' THEN 1 ELSE 0 END", "0"},
    {"like_range_enye_in", "SELECT CASE WHEN 'Ñandú' LIKE '[m-o]%' THEN 1 ELSE 0 END", "1"},
    {"like_range_negated_accented", "SELECT CASE WHEN 'é' LIKE '[^a-f]' THEN 1 ELSE 0 END", "0"},
    {"like_range_accent_past_end", "SELECT CASE WHEN 'ó' LIKE '[a-o]' THEN 1 ELSE 0 END", "0"},
    {"patindex_range_accented", "SELECT PATINDEX('%[a-c]%', 'xyzñá')", "5"},
    // A pattern known only when it runs reads the same way
    {"like_expression_class", "SELECT CASE WHEN 'ab' LIKE 'a' + '[^0-9]' THEN 1 ELSE 0 END", "1"},
    {"like_expression_range",
     "SELECT COUNT(*) FROM P_MA_Empresas WHERE NombreEmpresa LIKE LOWER('[A-C]') + '%'", "6"},
    {"like_expression_accented", "SELECT CASE WHEN 'Árbol' LIKE LOWER('[A-C]%') THEN 1 ELSE 0 END", "1"},
    {"like_expression_escape", "SELECT CASE WHEN '10%' LIKE '10' + '!%' ESCAPE '!' THEN 1 ELSE 0 END", "1"},
    {"not_like_expression", "SELECT CASE WHEN 'abc' NOT LIKE UPPER('a') + '%' THEN 1 ELSE 0 END", "0"},
    {"like_text_trailing_blanks", "SELECT CASE WHEN 'abc  ' LIKE 'abc' THEN 1 ELSE 0 END", "1"},
    // = and <> ignore trailing blanks; any text expression compares as the columns do
    {"equal_trailing_blanks", "SELECT CASE WHEN 'x' = 'x   ' THEN 1 ELSE 0 END", "1"},
    {"unequal_trailing_blanks", "SELECT CASE WHEN 'X ' <> 'x' THEN 1 ELSE 0 END", "0"},
    {"column_trailing_blanks", "SELECT LTRIM(IdEmpresa) FROM P_MA_Empresas WHERE Localidad = 'córdoba   '",
     "8"},
    {"function_result_equal", "SELECT COUNT(*) FROM P_MA_Empresas WHERE UPPER(Localidad) = 'córdoba'", "1"},
    {"case_result_equal", "SELECT CASE WHEN (CASE WHEN 1 = 1 THEN 'ABC' END) = 'abc' THEN 1 ELSE 0 END", "1"},
    {"order_expression_spanish", "SELECT TOP 2 LOWER(Localidad) FROM P_MA_Empresas ORDER BY LOWER(Localidad)",
     "álamo alto|ciudad autónoma de buenos aires"},
    {"derived_column_ignores_case",
     "SELECT COUNT(*) FROM (SELECT UPPER(LEFT(NombreEmpresa, 1)) AS i FROM P_MA_Empresas) x WHERE x.i = 'c'",
     "5"},

    {"in_literals_ignore_case", "SELECT CASE WHEN 'A' IN ('b', 'a') THEN 1 ELSE 0 END", "1"},
    {"in_literals_accent", "SELECT CASE WHEN 'Á' IN ('a') THEN 1 ELSE 0 END", "0"},
    {"in_literals_trailing_blanks", "SELECT CASE WHEN 'x  ' IN ('X') THEN 1 ELSE 0 END", "1"},
    {"not_in_literals", "SELECT CASE WHEN 'A' NOT IN ('a') THEN 1 ELSE 0 END", "0"},
    {"union_literals_ignore_case", "SELECT COUNT(*) FROM (SELECT 'a' v UNION SELECT 'A') x", "1"},
    {"union_literals_keep_accents", "SELECT COUNT(*) FROM (SELECT 'a' v UNION SELECT 'á') x", "2"},
    {"union_expressions", "SELECT COUNT(*) FROM (SELECT UPPER('abc') v UNION SELECT 'Ab' + 'c') x", "1"},
    {"except_ignores_case", "SELECT COUNT(*) FROM (SELECT 'x' v EXCEPT SELECT 'X') x", "0"},
    {"distinct_expression",
     "SELECT COUNT(*) FROM (SELECT DISTINCT LEFT(x.v, 1) w FROM (SELECT 'ab' v UNION ALL SELECT 'AB') x) y",
     "1"},
    {"min_expression_spanish", "SELECT MIN(UPPER(Localidad)) FROM P_MA_Empresas", "ÁLAMO ALTO"},
    {"max_spanish", "SELECT MAX(Localidad) FROM P_MA_Empresas WHERE Localidad < 'O'", "Ñorquincó"},
    {"replace_ignores_case", "SELECT REPLACE('Córdoba', 'CÓR', 'x')", "xdoba"},
    {"replace_keeps_accents", "SELECT REPLACE('Córdoba', 'cor', 'x')", "Córdoba"},
    // Functions
    {"patindex_class", "SELECT PATINDEX('%[0-9]%', 'abc123')", "4"},
    {"patindex_anchored", "SELECT PATINDEX('ab%', 'ABC')", "1"},
    {"patindex_none", "SELECT PATINDEX('%z%', 'abc')", "0"},
    {"stuff", "SELECT STUFF('abcdef', 2, 3, 'XYZ')", "aXYZef"},
    {"stuff_delete", "SELECT STUFF('abcdef', 1, 2, '')", "cdef"},
    {"reverse", "SELECT REVERSE('ñandú')", "údnañ"},
    {"isnumeric_exponent", "SELECT ISNUMERIC('1.5e3')", "1"},
    {"isnumeric_currency", "SELECT ISNUMERIC('$12')", "1"},
    {"isnumeric_euro", "SELECT ISNUMERIC('€12')", "1"},
    {"isnumeric_pound_after_sign", "SELECT ISNUMERIC('-£5.5')", "1"},
    {"isnumeric_yen", "SELECT ISNUMERIC('¥100')", "1"},
    {"isnumeric_letters", "SELECT ISNUMERIC('12a')", "0"},
    {"isdate_dmy", "SELECT ISDATE('31/12/2024')", "1"},
    {"isdate_mdy_refused", "SELECT ISDATE('12/31/2024')", "0"},
    {"isdate_no_such_day", "SELECT ISDATE('2024-02-30')", "0"},
    {"square", "SELECT SQUARE(3)", "9"},
    {"char_ascii", "SELECT CHAR(65) + CAST(ASCII('a') AS varchar(3))", "A97"},
    {"nchar_unicode", "SELECT NCHAR(241) + CAST(UNICODE('ñ') AS varchar(3))", "ñ241"},
    {"ascii_empty", "SELECT ISNULL(ASCII(''), -1)", "-1"},
    {"round_truncates", "SELECT CASE WHEN ROUND(2.567, 2, 1) = 2.56 THEN 1 ELSE 0 END", "1"},
    {"round_negative_places", "SELECT CASE WHEN ROUND(1250.5, -2) = 1300 THEN 1 ELSE 0 END", "1"},
    {"round_half_away", "SELECT CASE WHEN ROUND(-2.5, 0) = -3 THEN 1 ELSE 0 END", "1"},
    {"sign", "SELECT SIGN(-7)", "-1"},
    {"ceiling_negative", "SELECT CEILING(-2.5)", "-2"},
    {"floor_negative", "SELECT FLOOR(-2.5)", "-3"},
    {"space_zero", "SELECT '[' + SPACE(0) + ']'", "[]"},
    {"space_negative", "SELECT ISNULL(SPACE(-1), 'nulo')", "nulo"},
    {"replicate_empty", "SELECT '[' + REPLICATE('', 5) + ']'", "[]"},
    {"replicate", "SELECT REPLICATE('ab', 3)", "ababab"},
    {"nullif_ignores_case", "SELECT ISNULL(NULLIF('ABC', 'abc'), 'igual')", "igual"},
    {"isnull", "SELECT ISNULL(P_Rubro, 'sin rubro') FROM P_MA_Empresas WHERE IdEmpresa = '             11'",
     "sin rubro"},
};

class SqlServerAnswers : public ::testing::TestWithParam<std::tuple<testdb::Engine, Answer>> {};

TEST_P(SqlServerAnswers, ThroughTheClient) {
  const auto& [engine, a] = GetParam();
  const auto db = testdb::FreshDemo(engine);
  const auto cn = OpenProgram(db);
  cn->Execute(kPlaces);
  QString got;
  try {
    Recordset rs;
    rs.Open(a.sql, cn, adOpenForwardOnly, adLockReadOnly);
    QStringList rows;
    for (; !rs.Eof(); rs.MoveNext()) rows << rs.Fields(0).GetValue().toString();
    got = rows.join('|');
  } catch (const Failure& f) {
    got = "error " + QString::number(cn->Errors().Count() ? cn->Errors().Item(0).NativeError : 0);
    if (!QString(a.expected).startsWith("error")) ADD_FAILURE() << f.what();
  }
  EXPECT_EQ(got.toStdString(), a.expected) << a.sql << "\n-> " << cn->Adapt(a.sql).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlServerAnswers,
                         ::testing::Combine(::testing::ValuesIn(testdb::AllEngines()),
                                            ::testing::ValuesIn(kAnswers)),
                         [](const auto& i) {
                           return std::string(testdb::Name(std::get<0>(i.param))) + "_" +
                                  std::get<1>(i.param).name;
                         });

// A text column added at run time (AddField, the custom fields) compares as the schema's own;
// on PostgreSQL the connection learns once whether the database has that collation.
class SqlServerAnswersAddedColumn : public ::testing::TestWithParam<testdb::Engine> {};

TEST_P(SqlServerAnswersAddedColumn, ComparesAsTheSchemasOwn) {
  const auto db = testdb::FreshDemo(GetParam());
  const auto cn = OpenProgram(db);
  cn->Execute("ALTER TABLE dbo.P_MA_Empresas ADD P_Extra VARCHAR(20) Null ");
  const long sent = cn->StatementsSent();
  cn->Execute("ALTER TABLE dbo.P_MA_Empresas ADD P_Otro VARCHAR(20) Null ");
  EXPECT_EQ(cn->StatementsSent() - sent, 1);  // learned at the first column, not asked again
  cn->Execute("UPDATE P_MA_Empresas SET P_Extra = 'Ábaco', P_Otro = 'x' WHERE IdEmpresa = '              8'");
  const char* checks[][2] = {{"P_Extra = 'ábaco' OR P_Extra = 'abaco'", "1"},
                             {"P_Extra = 'ÁBACO'", "1"},
                             {"P_Extra IN ('ábaco')", "1"},
                             {"P_Extra LIKE 'áB%'", "1"},
                             {"P_Otro = 'X'", "1"}};
  for (const auto& [where, expected] : checks) {
    Recordset rs;
    rs.Open(QString("SELECT COUNT(*) FROM P_MA_Empresas WHERE ") + where, cn, adOpenForwardOnly,
            adLockReadOnly);
    EXPECT_EQ(rs.Fields(0).GetValue().toString().toStdString(), expected) << where;
  }
}

// A PostgreSQL database made without the schema's collation still takes the column.
TEST(SqlServerAnswersNoCollation, TakesTheColumn) {
  const auto db = testdb::FreshEmpty(testdb::Engine::Postgres);
  const auto cn = OpenProgram(db);
  cn->Execute("CREATE TABLE T_Uno (Id INT)");
  cn->Execute("ALTER TABLE dbo.T_Uno ADD P_Extra VARCHAR(20) Null ");
  cn->Execute("INSERT INTO T_Uno (Id, P_Extra) VALUES (1, 'Ábaco')");
  Recordset rs;
  rs.Open("SELECT P_Extra FROM T_Uno", cn, adOpenForwardOnly, adLockReadOnly);
  EXPECT_EQ(rs.Fields(0).GetValue().toString(), "Ábaco");
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlServerAnswersAddedColumn, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

// A code lookup keeps the primary key's index under the comparison rules above, and so does
// an integer column compared with a number.
TEST(SqlServerAnswersIndex, LookupsUseTheIndex) {
  struct Lookup {
    const char* sql;
    const char* sqlite;
    const char* postgres;
  };
  const Lookup lookups[] = {
      {"SELECT * FROM P_MA_Empresas WHERE IdEmpresa = '              8'",
       "USING INDEX sqlite_autoindex_P_MA_Empresas_1", "Index Scan using p_ma_empresas_pkey"},
      {"SELECT * FROM MV_EJERCICIOS WHERE EMPRESA = '              1' AND PERIODO = 2024",
       "(EMPRESA=? AND PERIODO=?)", "Index Scan using mv_ejercicios_pkey"},
  };
  for (const auto engine : testdb::AllEngines()) {
    const auto db = testdb::FreshDemo(engine);
    const auto cn = OpenProgram(db);
    const bool pg = engine == testdb::Engine::Postgres;
    if (pg) cn->Execute("SET enable_seqscan = off");  // a dozen rows: a scan would win on cost alone
    for (const auto& l : lookups) {
      Recordset rs;
      rs.Open((pg ? "EXPLAIN " : "EXPLAIN QUERY PLAN ") + QString(l.sql), cn, adOpenForwardOnly,
              adLockReadOnly);
      QStringList plan;
      for (; !rs.Eof(); rs.MoveNext()) plan << rs.Fields(pg ? 0 : 3).GetValue().toString();
      const QString text = plan.join('\n');
      EXPECT_TRUE(text.contains(pg ? l.postgres : l.sqlite)) << testdb::Name(engine) << ": " << l.sql << "\n"
                                                             << text.toStdString();
    }
  }
  // The column kept as it is still reads text as the server does.
  for (const auto engine : testdb::AllEngines()) {
    const auto db = testdb::FreshDemo(engine);
    const auto cn = OpenProgram(db);
    Recordset rs;
    rs.Open("SELECT COUNT(*) FROM MV_EJERCICIOS WHERE PERIODO = 2024 AND EMPRESA = 1", cn, adOpenForwardOnly,
            adLockReadOnly);
    EXPECT_GT(rs.Fields(0).GetValue().toInt(), 0) << testdb::Name(engine);
  }
}

}  // namespace
