#pragma once
// Registers how the lookup requests "Lib_FrmCons3" and "Lib_FrmCons3Tree" are
// shown on screen. The Qt operator calls it at start-up.
void RegistrarDialogosConsulta();
