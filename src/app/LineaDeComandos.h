#pragma once
// The program's switches. Without any, the program opens its window on the
// parameter text; with them it runs without a window: the table check, its
// repair, the help and the version.
#include <QString>
#include <QStringList>

#include "company/rules/InformeVerificacion.h"
#include "company/rules/VerificarEmpresas.h"

enum class Orden { Ventana, Verificar, Padron, Ayuda, Version, MalUso };

struct OrdenesDeLinea {
  Orden orden = Orden::Ventana;
  QString parametros;  // the parameter text of --verificar
  QString archivo;     // the register's file of --padron
  FormatoInforme formato = FormatoInforme::Texto;
  Reparacion reparar = Reparacion::No;
  QString error;  // what is wrong, for MalUso
};

// The arguments after the program's name.
OrdenesDeLinea LeerOrdenes(const QStringList& argumentos);

// Runs every order but the window (needs a QCoreApplication); returns the
// exit status: 0 nothing found (or help, version), 1 findings, 2 no
// connection, a failed read, or a wrong use of the switches.
int EjecutarOrdenes(const OrdenesDeLinea& ordenes);
