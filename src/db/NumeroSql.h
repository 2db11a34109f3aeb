#pragma once
// Numbers written into SQL text: the leading number a text shows, and its
// plain decimal form ("." as separator, no grouping, no exponent).
#include <QString>

// The number at the start of the text, blanks ignored; "12abc" gives 12,
// "abc" and "" give 0. The decimal separator is always ".".
double NumeroInicial(const QString& texto);

// Every number written into a statement: 1234.5 -> "1234.5", 7 -> "7",
// 100000 -> "100000", -0.25 -> "-0.25"; at most four decimals, never an
// exponent. Infinity and NaN are error 6, never a literal.
QString NumeroSql(double valor);
