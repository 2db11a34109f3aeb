#pragma once
// The column widths remembered per table in CONSULTASLEN.VMT: lines of two
// quoted fields, "TABLE","1440|2000|", CRLF, in the single-byte code page.
#include <QString>
#include <QStringList>
#include <QVector>

namespace anchos {

inline QString Archivo() { return QStringLiteral("CONSULTASLEN.VMT"); }
inline QString Auxiliar() { return QStringLiteral("CONSULTASLEN.AUX"); }

// Widths above this (twips) are no width a window can take.
constexpr double kAnchoMaximo = 1000000;

// The fields of one delimited line; quoted fields lose their quotes, and a
// doubled quote inside one stands for a quote.
QStringList CamposDeLinea(const QString& linea);
// The widths of every line for `tabla` (any letter case), in file order. A
// line's widths stop at the first entry that is not followed by "|", or that
// is negative or above kAnchoMaximo.
QVector<QVector<double>> Leer(const QString& ruta, const QString& tabla);
QVector<QVector<double>> LeerDe(const QByteArray& contenido, const QString& tabla);
// Rewrites the file through the companion file: lines of other tables are
// kept, the table's line is written last. Throws ado::Failure on a file error.
void Grabar(const QString& carpeta, const QString& tabla, const QVector<double>& anchos);
// The file's new contents for Grabar. A line break in the table name is
// written as a blank and a quote doubled, so the line stays one line.
QByteArray Reescribir(const QByteArray& contenido, const QString& tabla, const QVector<double>& anchos);

}  // namespace anchos
