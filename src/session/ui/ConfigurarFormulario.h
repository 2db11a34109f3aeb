#pragma once
// Gives a window of the suite its common look: the suite icon and the
// workstation's toolbar style.
class QWidget;

// Icons are looked for among the program's resources under ":/iconos/".
void ConfigurarFormulario(QWidget* Formulario);
