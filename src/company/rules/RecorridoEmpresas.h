#pragma once
// The companies the navigation bar moves over, in the order of their code (the
// table's key): every engine then gives the same first and last, whatever order
// it would scan the table in. Nothing of the whole table is read: each move
// reads the one company it reaches through the key's index (the smallest code
// above the one shown, and so on), however many companies there are.
#include <QString>
#include <optional>

#include "platform/client/Recordset.h"

enum class Movimiento { Primero, Anterior, Siguiente, Ultimo };

class RecorridoEmpresas {
 public:
  // Moves over `tabla` by `columnaClave` from now on, standing on the first company.
  void Empezar(const QString& tabla, const QString& columnaClave);
  // The main recordset holds something else now: the moves go to it again.
  void Olvidar();
  bool Activo() const { return activo_; }
  // As a recordset moves: 3021 past either end, and back from there onto the
  // last (or first) company. A read still owed is done first, into `rs`.
  void Mover(Movimiento m, ado::Recordset& rs);
  // False past either end (and on an empty table once read).
  bool EnFila() const { return lugar_ == Lugar::Fila; }
  // Opens `rs` on the company reached, unless it already holds it; a failure
  // reaches the caller and the read is still owed.
  void CargarActual(ado::Recordset& rs);

 private:
  enum class Lugar { Antes, Fila, Despues };
  bool activo_ = false;
  Lugar lugar_ = Lugar::Fila;
  std::optional<Movimiento> pendiente_;  // the read the last move owes
  QString clave_;                        // the code of the company `rs` holds, as stored
  QString tabla_, columna_;
};
