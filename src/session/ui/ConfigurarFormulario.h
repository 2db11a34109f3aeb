#pragma once
// Gives a window of the suite its common look: the suite icon and the
// workstation's toolbar style.
class QWidget;

// The icon setting names a resource under ":/iconos/" or a picture file (a
// name without a folder is looked for beside the INI file, then in the
// program's folder).
void ConfigurarFormulario(QWidget* Formulario);
