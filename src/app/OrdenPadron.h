#pragma once
// MA_Empresas --padron <archivo> "<texto de parámetros>": AFIP's register into
// the database of the parameter text, without a window.
#include <QString>

// Returns the exit status: 0 imported, 2 not imported (the reason on the error output).
int EjecutarPadron(const QString& archivo, const QString& parametros);
