#pragma once
// --exportar: the whole company table into a spreadsheet file, without a window.
#include <QString>

// Connects with the parameter text and writes `archivo`; returns the exit
// status: 0 written (a line says how many companies), 2 not (the reason on
// the error output).
int EjecutarExportar(const QString& archivo, const QString& parametros);
