#pragma once
// The file-open dialog, shown through the operator interface so that it can
// be scripted.
#include <QString>

class DialogoArchivo {
 public:
  // "Description|*.a;*.b" pairs joined by "|".
  QString Filter;
  QString DialogTitle;
  QString InitDir;
  int FilterIndex = 1;
  bool ValidarExistencia = true;  // the chosen file must exist
  // The chosen file after ShowOpen; "" when the operator cancelled.
  QString FileName;

  void ShowOpen();
};
