#pragma once
// The windowing layer registers, per dialog name, how to show a dialog for
// the logic's data; the Qt operator looks them up.
#include <QString>
#include <functional>

class DialogoModal;

using MostrarDialogo = std::function<void(DialogoModal&)>;

void RegistrarDialogo(const QString& nombre, MostrarDialogo mostrar);
// nullptr when nothing is registered under that name (case-insensitive).
const MostrarDialogo* BuscarDialogo(const QString& nombre);
