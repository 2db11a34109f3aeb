#pragma once
// What every switch that works without a window shares: its session and its
// lines on the console.
#include <QString>
#include <cstdio>

// The session of the parameter text, as the window's start-up opens it, with
// any box answered on the console; false when none opened (the reason, when
// there is one, already on the error output).
bool ConectarSinVentana(const QString& parametros);

// `texto` and a line end, in the terminal's encoding, at once.
void EscribirLinea(std::FILE* f, const QString& texto);
