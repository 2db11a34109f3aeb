#pragma once
// A sheet as its readers hand it on: the rows that hold anything, each with
// its number in the sheet (the header is row 1) and its cells by column, each
// cell with the kind of value the sheet gave it.
#include <QDateTime>
#include <QString>
#include <QVector>

struct CeldaPlanilla {
  enum class Clase { Vacia, Texto, Numero, Fecha, Logico, Error };
  Clase clase = Clase::Vacia;
  QString texto;      // Texto, and the error's text (Error)
  double numero = 0;  // Numero
  QDateTime fecha;    // Fecha: midnight for a date without a time
  bool logico = false;

  static CeldaPlanilla DeTexto(const QString& t) {
    CeldaPlanilla c;
    if (!t.isEmpty()) c.clase = Clase::Texto, c.texto = t;
    return c;
  }
  bool Vacia() const { return clase == Clase::Vacia || (clase == Clase::Texto && texto.trimmed().isEmpty()); }
};

struct FilaPlanilla {
  int numero = 0;
  QVector<CeldaPlanilla> celdas;  // column A first; missing cells at the end are empty
  const CeldaPlanilla& Celda(int columna) const {
    static const CeldaPlanilla vacia;
    return columna >= 0 && columna < celdas.size() ? celdas[columna] : vacia;
  }
};

struct Planilla {
  QVector<FilaPlanilla> filas;
  QString error;  // why the file could not be read; empty when it was
};
