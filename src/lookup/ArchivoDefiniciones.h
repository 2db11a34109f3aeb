#pragma once
// The lookup-definition file: fixed 1202-byte records in the single-byte code
// page, each text field left-aligned and padded with blanks.
#include <QByteArray>
#include <QString>
#include <QVector>

struct RegistroMascara {
  QString Titulo;     // 100 bytes
  QString Tabla;      // 100 bytes: the key requests are matched against
  QString Columnas;   // 500 bytes: "|COL1|COL2|"
  QString Condicion;  // 500 bytes: WHERE condition without the word WHERE
};

namespace mascaras {
constexpr int LargoTitulo = 100;
constexpr int LargoTabla = 100;
constexpr int LargoColumnas = 500;
constexpr int LargoCondicion = 500;
constexpr int LargoRegistro = 1202;

// One record, exactly LargoRegistro bytes; longer texts are cut at their field's length.
QByteArray Codificar(const RegistroMascara& r);
// The fields as stored (padding included); the caller cleans and trims them.
RegistroMascara Decodificar(const QByteArray& registro);
// Every whole record of the file; a trailing partial record is ignored and a
// missing or unreadable file gives none.
QVector<RegistroMascara> Leer(const QString& ruta);
// The whole records of a file's contents (a trailing partial record is ignored).
QVector<RegistroMascara> Registros(const QByteArray& contenido);
// Whether the file is there with whole records only, at least one.
bool Entero(const QString& ruta);
// Appends the records after the file's whole records (creating the file). The
// file is written whole through a temporary file renamed over it, so it ends
// either as it was or with every record. Throws ado::Failure (75) when the
// file cannot be read or written.
void Agregar(const QString& ruta, const QVector<RegistroMascara>& registros);
// The seven records the program writes when the file is missing.
QVector<RegistroMascara> PorDefecto();
}  // namespace mascaras
