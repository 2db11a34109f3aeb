#pragma once
// The column widths remembered per table in CONSULTASLEN.VMT: lines of two
// quoted fields, "TABLE","1440|2000|", CRLF, in the single-byte code page.
#include <QString>
#include <QStringList>
#include <QVector>

namespace anchos {

inline QString Archivo() { return QStringLiteral("CONSULTASLEN.VMT"); }
inline QString Auxiliar() { return QStringLiteral("CONSULTASLEN.AUX"); }

// The fields of one delimited line; quoted fields lose their quotes.
QStringList CamposDeLinea(const QString& linea);
// The widths of every line for `tabla` (any letter case), in file order. A
// line's widths stop at the first entry that is not followed by "|".
QVector<QVector<double>> Leer(const QString& ruta, const QString& tabla);
// Rewrites the file through the companion file: lines of other tables are
// kept, the table's line is written last. Throws ado::Failure on a file error.
void Grabar(const QString& carpeta, const QString& tabla, const QVector<double>& anchos);

}  // namespace anchos
