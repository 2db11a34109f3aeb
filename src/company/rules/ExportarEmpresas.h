#pragma once
// The whole company table written to a spreadsheet file: every company a row,
// in code order, every column of the table a column (the custom ones
// included; the logo, a picture, left out), headed by the column's name so
// that the file reads back into the same columns. The format follows the
// file's extension: .xlsx (numbers as numbers, dates as dates, the header
// bold and frozen) or .csv (UTF-8 with a byte-order mark, RFC 4180). The
// companies are read a page at a time, so memory does not grow with the table.
#include <QString>

struct ResultadoExportacion {
  int filas = 0;
  QString error;  // empty: the file was written
  // XLSX: numbers a spreadsheet would show rounded (more than 15 significant
  // digits), written as text with every digit instead.
  int numerosComoTexto = 0;
};

enum class FormatoExportacion { Ninguno, Xlsx, Csv };

// By the extension, in any letter case.
FormatoExportacion FormatoDeArchivo(const QString& archivo);

// On the shared connection. A file already there is replaced only once the
// new one is complete; on any failure it stays as it was.
ResultadoExportacion ExportarEmpresas(const QString& archivo);
// The same, reading `porPagina` companies at a time.
ResultadoExportacion ExportarEmpresas(const QString& archivo, int porPagina);
