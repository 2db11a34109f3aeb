#pragma once
// How the table check's findings and summary are written: one line per
// finding as plain text, or as CSV records (RFC 4180) under a header. A CSV
// cell that begins with "=", "+", "-", "@", a tab or a carriage return gets a
// leading apostrophe, so that no spreadsheet runs it as a formula.
#include <QString>

#include "company/rules/VerificarEmpresas.h"

enum class FormatoInforme { Texto, Csv };

// The first line of the report; "" for plain text.
QString EncabezadoInforme(FormatoInforme formato);
QString LineaInforme(FormatoInforme formato, const LineaVerificacion& linea);
QString ResumenInforme(FormatoInforme formato, const ResumenVerificacion& resumen, Reparacion reparar);
