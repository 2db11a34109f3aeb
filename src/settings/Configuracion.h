#pragma once
// The suite's settings: one row per key in the configuration table.
#include <QString>
#include <QVariant>

#include "platform/services/Trampa.h"

extern QString gTablaConfiguracion;

// VALOR of the key; " " (one blank) and ValorAux "" when the key is missing.
QString Cfg(const QString& Clave, QString& ValorAux);
QString Cfg(const QString& Clave);
// False when a failure made the operator give the key up.
bool GrabaDfg(const QString& Clave, const QVariant& Valor, const QString& ValorAux, bool PoliticaNegocio,
              const QString& Grupo);
// Loads the session settings once at start-up, one setting a step. AppPath
// ends with a separator. With a handler, a failing setting goes to it (and
// its answer decides: 4 again, 5 the next setting, else stop); without one
// the failure ends the load and reaches the caller.
void CargarConfiguracion(const QString& AppPath, const trampa::Manejador& alFallar = {});
// While one lives (the program's load), Cfg answers from one read of the
// settings table, made by the first Cfg; a key the table lacks still reads
// " ". When that read fails, every key is read on its own, as without it.
class AjustesDeUnaLectura {
 public:
  AjustesDeUnaLectura();
  ~AjustesDeUnaLectura();
  AjustesDeUnaLectura(const AjustesDeUnaLectura&) = delete;
  AjustesDeUnaLectura& operator=(const AjustesDeUnaLectura&) = delete;
};

// The session settings loaded by CargarConfiguracion, under their keys
// (matched without regard to letter case).
QVariant ValorConfiguracion(const QString& clave);
