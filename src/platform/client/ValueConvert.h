#pragma once
// Values between the engine's representation and the model's: parsing text
// that a driver returns for booleans and dates, and converting an assigned
// value to a column's type (error 3421 when it cannot be).
#include <QString>

#include "platform/client/ColumnInfo.h"
#include "platform/core/Value.h"

namespace ado::convert {

// A boolean from the text a driver gives for it ("1", "0", "t", "true", "-1", ...).
Value BooleanFromText(const QString& text);
// A date, time or date-and-time value (by ADO type) from ISO-like text; the text
// itself when it is not one.
Value DateFromText(QStringView text, int adoType);

// The value to store into a column of type `col`, or std::nullopt when it
// cannot be converted. Empty and Null give Null.
std::optional<Value> ForColumn(const Value& v, const odbc::ColumnInfo& col);

// A plain decimal text ("-1234.5678", "." only, no exponent), trimmed;
// nullopt when it is not one. Exact columns take it as it is.
std::optional<QString> ExactText(const QString& text);

// Whether a double holds that plain decimal text: read back at the text's
// decimals it shows the same number (900719925474.0993 it does not).
bool FitsDouble(const QString& text);
// An exact column's value from the text an engine gives for it: a double when
// it holds the number, otherwise the plain text, every digit kept.
Value ExactNumber(const QString& text);

// A number from text as the program writes it ("1234.5", " 12 ", "1,5"); nullopt when it is not one.
std::optional<double> NumberFromText(const QString& text);

}  // namespace ado::convert
