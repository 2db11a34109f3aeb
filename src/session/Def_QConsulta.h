#pragma once
// Default lookups: the definition file and the per-table lookup catalogue.
#include <QString>

// Appends the default records to the definition file named by the lookup request.
void CrearMascarasConsultas();
// Runs the lookup for a table; CampoCodigo comes back with the chosen key ("" when none).
void ConsultaPorTabla(QString& Tabla, QString& CampoDescripcion, QString& CampoCodigo,
                      QString& CampoAdicional, bool& ConsultaLibre, QString& Where);
