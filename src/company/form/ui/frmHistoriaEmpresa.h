#pragma once
// The window of "frmHistoriaEmpresa": one company's change history in a
// read-only list.
class DialogoHistoria;
class QDialog;

// Fills `ventana` with the list of `d` (the test of the window looks at it).
void ArmarFrmHistoriaEmpresa(QDialog& ventana, const DialogoHistoria& d);
// Registers the window with the dialog registry.
void RegistrarFrmHistoriaEmpresa();
