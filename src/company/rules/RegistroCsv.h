#pragma once
// CSV records as spreadsheets read them (RFC 4180): a field is quoted when it
// holds a comma, a quote, a line break or blanks at either end, its quotes
// doubled. A field that begins with "=", "+", "-", "@", a tab or a carriage
// return gets a leading apostrophe, so that no spreadsheet runs it as a formula.
#include <QString>
#include <QStringList>

QString CampoCsv(const QString& valor);
// The fields joined by commas, without a line end.
QString RegistroCsv(const QStringList& campos);
