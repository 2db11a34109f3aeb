#pragma once
// The check of the whole company table: CUIT format and check digit,
// CUITs shared by several companies, per-company rows short of the
// templates and codes not right-aligned to 15; with AFIP's register in the
// database, also CUITs not in it and names other than the registered one. Companies are read a page at
// a time in code order and every finding is handed on as it is found, so
// that memory stays the same however many companies there are. Repairing
// completes the per-company rows of each short company in a transaction of
// its own.
#include <QDate>
#include <QString>
#include <functional>
#include <optional>

#include "platform/client/Connection.h"

enum class Hallazgo {
  Cuit,
  CuitRepetido,
  FilasFaltantes,
  CodigoNoAlineado,
  Completada,
  NoCompletada,
  CuitNoEnPadron,
  NombreDistintoEnPadron,
};

struct LineaVerificacion {
  Hallazgo tipo = Hallazgo::Cuit;
  QString codigo;  // trimmed
  QString nombre;
  QString detalle;
};

struct ResumenVerificacion {
  int empresas = 0;
  int hallazgos = 0;  // lines of every kind but Completada and NoCompletada
  int completadas = 0;
  int filasAgregadas = 0;
  std::optional<QDate> fechaPadron;  // the register's date; none without a register
};

enum class Reparacion { No, Completar };

using InformeVerificacion = std::function<void(const LineaVerificacion&)>;

// Runs on `cnn`, or on the shared connection. A failure to read throws
// ado::Failure; a company whose completion fails is reported and rolled back.
ResumenVerificacion VerificarEmpresas(Reparacion reparar, const InformeVerificacion& informe,
                                      ado::ConnectionPtr cnn = nullptr, int porPagina = 500);
