#pragma once
#include <QString>

// The folder of the program's executable, without a trailing separator.
QString CarpetaDelPrograma();

// The user's folder for the files the program keeps beside itself when its own
// folder cannot be written (an installed program): $XDG_DATA_HOME/MA_Empresas,
// or ~/.local/share/MA_Empresas.
QString CarpetaDeDatos();

// Where one of those files (VMERR.LOG, consultas.vmt, CONSULTASLEN.VMT) is read
// and where it is written. A copy in the data folder wins for both; otherwise it
// is read beside the program and written there when that folder can be written,
// else in the data folder.
struct ArchivoPropio {
  QString leer;
  QString escribir;
};
ArchivoPropio UbicarArchivoPropio(const QString& nombre);
ArchivoPropio UbicarArchivoPropio(const QString& nombre, const QString& carpetaPrograma,
                                  const QString& carpetaDatos);

// Makes the folder that `escribir` goes to; a file read beside the program that
// has to be written elsewhere is copied there first, so it goes on from what it
// held. False when the folder cannot be made.
bool PrepararEscritura(const ArchivoPropio& archivo);
// The one path for a file read and rewritten in place: `escribir` once it can be
// written to, else `leer`.
QString RutaParaActualizar(const ArchivoPropio& archivo);
