#pragma once
// How the table check's findings and summary are written: one line per
// finding as plain text, or as CSV records (RFC 4180) under a header.
#include <QString>

#include "company/VerificarEmpresas.h"

enum class FormatoInforme { Texto, Csv };

// The first line of the report; "" for plain text.
QString EncabezadoInforme(FormatoInforme formato);
QString LineaInforme(FormatoInforme formato, const LineaVerificacion& linea);
QString ResumenInforme(FormatoInforme formato, const ResumenVerificacion& resumen, Reparacion reparar);
