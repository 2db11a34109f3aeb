#pragma once
// The program's switches. Without any, the program opens its window on the
// parameter text; with them it runs without a window: the table check and its
// repair, the company's sheet, the export and import of the table, the load of
// the tax register, the help and the version.
#include <QString>
#include <QStringList>

#include "company/rules/ImportarEmpresas.h"
#include "company/rules/InformeVerificacion.h"
#include "company/rules/VerificarEmpresas.h"

enum class Orden { Ventana, Verificar, Reporte, Exportar, Importar, Padron, Ayuda, Version, MalUso };

struct OrdenesDeLinea {
  Orden orden = Orden::Ventana;
  QString parametros;  // the parameter text of every order but help and version
  QString archivo;     // the file the order writes or reads
  QString codigo;      // --reporte's company
  Aplicacion aplicar = Aplicacion::Revisar;
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
