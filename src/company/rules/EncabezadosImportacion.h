#pragma once
// The header row of a sheet of companies: which column of P_MA_Empresas each
// cell names, by the column's own name or by its caption on the form ("Codigo
// Postal", "E-m@il", "Honorarios", a custom column without its "P_"), with no
// regard to letter case, accents, blanks around it or a final colon. A
// column's own name wins over another's caption; a header naming nothing, or
// a column another header already named, makes the sheet unreadable.
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/services/CeldaPlanilla.h"

struct ColumnaImportada {
  int indice = 0;      // in the sheet, from 0
  QString encabezado;  // as the sheet writes it
  QString columna;     // as the table names it
};

struct Encabezados {
  QVector<ColumnaImportada> columnas;
  QVector<int> sinNombre;  // sheet columns under an empty header
  QStringList ignoradas;   // headers of columns no sheet can carry (the logo)
  QString error;           // empty when every header names a column
  // The sheet column that names `columna`; -1 when none.
  int IndiceDe(const QString& columna) const;
};

// `columnas`: the table's, in its order.
Encabezados LeerEncabezados(const FilaPlanilla& encabezado, const QStringList& columnas);

// The caption the form gives a column ("Codigo Postal" for CodigoPostal), or the column itself.
QString TituloDeColumna(const QString& columna);

// A text as headers are compared: lower case, without accents, trimmed, one blank between words.
QString ClaveDeEncabezado(const QString& texto);
