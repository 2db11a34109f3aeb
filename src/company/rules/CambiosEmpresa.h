#pragma once
// What a save changes in the company's row: one entry per column whose value
// differs between the row as it was stored and the row as it is written.
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/core/Value.h"

namespace ado {
class Recordset;
}

struct CambioEmpresa {
  QString columna;
  ado::Value antes;  // Null for a new company
  ado::Value despues;
};

// `antes` empty: a new company, every column that gets a value is a change.
// A Null and an empty text are the same value (a field left empty stores
// either, depending on the column); blanks around a text do not count (short
// text columns are stored right-aligned, the screen shows them trimmed);
// numbers compare by value, whatever type the driver read them as.
QVector<CambioEmpresa> CambiosEmpresa(const QStringList& columnas, const QVector<ado::Value>& antes,
                                      const QVector<ado::Value>& despues);

// The current row of `rs`: its column names, and its values (those being
// assigned included).
QStringList ColumnasDeFila(ado::Recordset& rs);
QVector<ado::Value> ValoresDeFila(ado::Recordset& rs);
