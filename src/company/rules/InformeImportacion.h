#pragma once
// How an import is reported: one line per row of the sheet, what it is (a
// new company, a change with each field's value before and after, no change,
// refused and why) and, when applied, that it was stored; and a summary.
#include <QString>

#include "company/rules/ImportarEmpresas.h"

QString LineaImportacionTexto(const LineaImportacion& linea, Aplicacion aplicacion);
QString ResumenImportacionTexto(const ResumenImportacion& resumen);
