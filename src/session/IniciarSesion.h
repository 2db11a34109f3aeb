#pragma once
#include <QString>
#include <functional>

// Turns the started program into a connected session. Ends the program when
// no connection could be opened.
void IniciarSesion(bool& UsarIni, QString& Parametros, QString& ConnString);
QString ExtraerServidor(const QString& Servidor);

// What ends the program when no connection could be opened: by default
// std::exit with a non-zero status. An empty function restores the default;
// when a replacement returns, IniciarSesion returns at once.
void EstablecerFinDelPrograma(std::function<void()> fin);

// The parameter text used when the caller passes none: the program's
// command-line arguments after its name, joined by blanks.
void EstablecerLineaDeComandos(const QString& texto);
QString LineaDeComandos();
