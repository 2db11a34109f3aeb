#pragma once
// `--importar`: companies from a sheet, checked and reported row by row, and
// stored when asked, without any window.
#include "app/LineaDeComandos.h"

// The exit status: 0 no row refused, 1 some refused, 2 the sheet or the
// database could not be read.
int EjecutarImportar(const OrdenesDeLinea& ordenes);
