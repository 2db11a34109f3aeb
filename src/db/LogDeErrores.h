#pragma once
// The error log: VMERR.LOG in the program's folder (or the user's data folder
// when the program's cannot be written), or the file chosen
// through DB_Dll::ArchivoErrores. One line per error box shown, appended,
// never truncated, in the single-byte code page:
//   MM-dd-yyyy HH:mm:ss Rutina: <routine> Mensaje <message> Respondió : <answer word>
#include <QDateTime>
#include <QString>

namespace logerrores {

// The log file for the chosen path: "" stands for VMERR.LOG beside the program or in
// the user's data folder; the data folder is made when the log goes there.
QString Ruta(const QString& archivoElegido);
// The answer's word in the log ("Aceptar", "Reintentar", ...), the button's own;
// "" for an answer no button gives.
QString PalabraRespuesta(int respuesta);
// One entry, without its line end. Line breaks inside a field become blanks and
// passwords are masked, so an entry is always one line and never shows a password.
QString Linea(const QDateTime& cuando, const QString& rutina, const QString& mensaje, int respuesta);
// Appends the line and its CRLF with a single write; when the file does not end
// in a line break (an earlier write was cut short) the entry starts a new line.
// A file that cannot be written is skipped silently.
void Anotar(const QString& ruta, const QString& linea);
// The entry for a box of routine `rutina` answered now, in the shared database
// object's log; the routine stands as "name -", as the database's own entries.
void AnotarRespuesta(const QString& rutina, const QString& mensaje, int respuesta);
// Shows an error box through the operator interface, logs it and returns the answer.
int Avisar(const QString& rutina, const QString& mensaje, int estilo, const QString& titulo);

}  // namespace logerrores
