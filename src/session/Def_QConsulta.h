#pragma once
// The per-table lookup catalogue: which columns describe a suite table and
// which one is its key.
#include <QString>

// Runs the lookup for a table; CampoCodigo comes back with the chosen key ("" when none).
void ConsultaPorTabla(QString& Tabla, QString& CampoDescripcion, QString& CampoCodigo,
                      QString& CampoAdicional, bool& ConsultaLibre, QString& Where);
