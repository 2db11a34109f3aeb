#pragma once
#include <QString>

// Turns the started program into a connected session. Ends the program when
// no connection could be opened.
void IniciarSesion(bool& UsarIni, QString& Parametros, QString& ConnString);
QString ExtraerServidor(const QString& Servidor);
