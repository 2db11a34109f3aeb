#pragma once
// The companies the navigation bar moves over, in the order of their code (the
// table's key): every engine then gives the same first and last, whatever order
// it would scan the table in. Only the codes of the whole table are read; the
// row of a company is read when it is shown, so first and last cost two small
// reads however many companies there are.
#include <QString>
#include <memory>

#include "platform/client/Recordset.h"

class RecorridoEmpresas {
 public:
  RecorridoEmpresas();
  ~RecorridoEmpresas();

  // Reads every code of `tabla`, ordered by `columnaClave`, and stands on the first.
  void Leer(const QString& tabla, const QString& columnaClave);
  // The main recordset holds something else now: the moves go to it again.
  void Olvidar();
  bool Activo() const;
  // The codes, which the moves go to while active (3021 past either end, as a recordset).
  ado::Recordset& Claves() { return *claves_; }
  bool EnFila() const;
  // Opens `rs` on the company the codes stand on, unless it already holds it;
  // a failure reaches the caller.
  void CargarActual(ado::Recordset& rs);

 private:
  std::unique_ptr<ado::Recordset> claves_;
  QString tabla_, columna_;
  long cargada_ = 0;  // the position whose row `rs` holds; 0 none
};
