#pragma once
// Default lookups: the definition file and the per-table lookup catalogue.
#include <QString>

// Appends the default records to the definition file named by the lookup request.
void CrearMascarasConsultas();
// At start-up: a definition file that is missing, empty or cut short gets the
// default records it lacks; one that cannot be written leaves the lookups
// with the definitions in memory. Never fails.
void PrepararMascarasConsultas();
// Runs the lookup for a table; CampoCodigo comes back with the chosen key ("" when none).
void ConsultaPorTabla(QString& Tabla, QString& CampoDescripcion, QString& CampoCodigo,
                      QString& CampoAdicional, bool& ConsultaLibre, QString& Where);
