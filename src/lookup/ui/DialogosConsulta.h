#pragma once
// Registers how the lookup requests "Lib_FrmCons3" and "Lib_FrmCons3Tree" are
// shown on screen; called once at start-up with every other dialog.
void RegistrarDialogosConsulta();
