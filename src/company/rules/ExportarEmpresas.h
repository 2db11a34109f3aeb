#pragma once
// Every company of the table written to a spreadsheet file; the format comes
// from the file's extension (.xlsx or .csv).
#include <QString>

struct ResultadoExportacion {
  int filas = 0;
  QString error;  // empty: written
};

ResultadoExportacion ExportarEmpresas(const QString& archivo);
