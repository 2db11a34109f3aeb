#pragma once
// What an exported sheet is made of, apart from the file format that holds it:
// the columns, and each value sorted by what a spreadsheet makes of it.
#include <QDateTime>
#include <QString>
#include <QVector>
#include <memory>

#include "platform/core/Value.h"

class QIODevice;

struct ColumnaExportada {
  QString nombre;
  int ancho = 10;  // characters
};

// One cell: empty (NULL), a number a spreadsheet holds exactly, a date, a
// yes/no, or text (numbers beyond a spreadsheet's 15 digits among them).
struct Celda {
  enum class Clase { Vacia, Numero, Fecha, Logico, Texto };
  Clase clase = Clase::Vacia;
  double numero = 0;     // Numero; Logico: 1 or 0
  QDateTime fecha;       // Fecha
  bool conHora = false;  // Fecha: a time of day besides the date
  QString texto;         // how a text file writes it: plain decimals with ".", dates dd/mm/yyyy
  bool numeroComoTexto = false;
};

// `columnaNumerica`: the value comes from a number column (a text there is a
// number too long for a double, kept as its digits).
Celda CeldaDe(const ado::Value& valor, bool columnaNumerica);

class HojaExportada {
 public:
  virtual ~HojaExportada() = default;
  virtual void Encabezado(const QVector<ColumnaExportada>& columnas) = 0;
  virtual void Fila(const QVector<Celda>& celdas) = 0;
  // Writes what remains into `destino`; "" or why it could not.
  virtual QString Terminar(QIODevice& destino) = 0;
  // Why the sheet cannot go on (a write that failed); "" while it can.
  virtual QString Error() const = 0;
};

std::unique_ptr<HojaExportada> HojaXlsx();
std::unique_ptr<HojaExportada> HojaCsv(QIODevice& destino);
