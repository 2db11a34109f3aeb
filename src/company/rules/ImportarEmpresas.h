#pragma once
// Companies from a sheet: each row, one company by its code, checked as the
// form checks what is typed (and more strictly: a CUIT with a wrong check
// digit, or one another company holds, and a province that does not exist
// are refused), compared with the company as stored, and, when asked,
// stored through the form's own save: one transaction per company, the
// seeding of a new one, the change history. Only the columns the sheet names
// are written, and of those only the ones whose value differs as the form
// would show it: everything else stays exactly as stored. A refused row, or
// one whose save fails, never stops the others.
#include <QString>
#include <QVector>
#include <functional>

#include "platform/client/Connection.h"
#include "platform/services/CeldaPlanilla.h"

enum class Veredicto { Nueva, Cambiada, SinCambios, Rechazada, Aviso };

struct CambioImportado {
  QString titulo;  // the sheet's header
  QString antes, despues;
};

struct LineaImportacion {
  int fila = 0;  // in the sheet
  Veredicto veredicto = Veredicto::Aviso;
  QString codigo;  // trimmed
  QString nombre;
  QVector<CambioImportado> cambios;
  QString motivo;        // Rechazada: why; Aviso: what
  bool grabada = false;  // stored (only when applying)
  QString filasEmpresa;  // the per-company rows the save copied: "Comprobantes 8 · ..."
};

struct ResumenImportacion {
  int filas = 0, nuevas = 0, cambiadas = 0, sinCambios = 0, rechazadas = 0;
  bool aplicada = false;
};

enum class Aplicacion { Revisar, Grabar };

using InformeImportacion = std::function<void(const LineaImportacion&)>;

// Runs on `cnn`, or on the shared connection. A sheet whose header cannot be
// taken throws ImportacionImposible; a failure to read the table, ado::Failure.
struct ImportacionImposible {
  QString motivo;
};
ResumenImportacion ImportarEmpresas(const Planilla& planilla, Aplicacion aplicacion,
                                    const InformeImportacion& informe, ado::ConnectionPtr cnn = nullptr);
