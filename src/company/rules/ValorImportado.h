#pragma once
// A cell of a sheet as the value its column would take had the operator typed
// it on the form: the same readers of numbers and dates (the workstation's
// convention, or the plain one a program writes when the workstation's cannot
// read it, never a guess between the two), text as it is stored (blanks
// around it aside, within the column's length), and yes/no in so many words.
// An empty cell is an emptied field (whether the column may be left empty is
// the caller's to say). What the column cannot hold is refused with the reason.
#include <QString>
#include <optional>

#include "platform/core/Value.h"
#include "platform/services/CeldaPlanilla.h"
#include "session/ValorTecleado.h"

enum class ClaseColumna { Texto, Logico, Tecleada };

struct ColumnaDestino {
  QString nombre;
  QString titulo;  // what the report calls it
  ClaseColumna clase = ClaseColumna::Texto;
  TipoTecleado tipo;        // Tecleada
  int largo = 0;            // Texto: characters it holds, 0 for no limit
  bool admiteVacio = true;  // neither NOT NULL nor a name
};

struct ValorImportado {
  bool vacio = true;
  QString texto;               // as the form shows it, and what is written through the field's assignment
  std::optional<bool> logico;  // Logico; none for an empty cell
  QString motivo;              // why it was refused; empty when read
  bool Rechazado() const { return !motivo.isEmpty(); }
};

ValorImportado LeerCelda(const CeldaPlanilla& celda, const ColumnaDestino& columna);

// A stored value as the form shows it, in the same terms as LeerCelda's.
ValorImportado ValorGuardado(const ado::Value& v, const ColumnaDestino& columna);

bool MismoValor(const ValorImportado& a, const ValorImportado& b);

// The cell's own text, as a report quotes it.
QString TextoDeCelda(const CeldaPlanilla& celda);
