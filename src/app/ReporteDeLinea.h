#pragma once
// --reporte: a company's sheet saved as PDF without any window.
#include <QString>

// The exit status: 0 written; 2 (with the reason on the error output) when
// there is no connection, no such company, or the file cannot be written.
// Needs a QGuiApplication: the sheet is painted.
int EjecutarReporte(const QString& codigo, const QString& archivo, const QString& parametros);
