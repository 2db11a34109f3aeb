#pragma once
// AFIP's register into the suite's database, where every workstation reads it:
// MA_PADRON_AFIP (one row per CUIT) and MA_PADRON_AFIP_DATOS (its one row: the
// register's date, the lines imported and malformed, when). The register is
// loaded into a table of its own and only then takes the place of the previous
// one, in one transaction: a failed or interrupted import leaves the previous
// register whole.
#include <QDate>
#include <QString>
#include <QVector>
#include <functional>

#include "company/rules/LectorPadron.h"
#include "platform/client/Connection.h"

namespace padron {

extern const QString kTabla;       // MA_PADRON_AFIP
extern const QString kTablaDatos;  // MA_PADRON_AFIP_DATOS
extern const QString kTablaNueva;  // MA_PADRON_AFIP_NUEVO, while it loads

struct OpcionesImportacion {
  // Told now and then while the file is read (bytes of the text read, of all of it).
  std::function<void(const Lector&)> avance;
  // Told after each statement's rows reached the new table; what it throws
  // fails the import (tests use it to break a load half-way).
  std::function<void(qint64 cargadas)> trasLote;
  int filasPorSentencia = 0;  // 0: what suits the engine
};

struct ResultadoImportacion {
  qint64 importadas = 0;
  qint64 malformadas = 0;
  QVector<Malformada> primeras;
  QDate fecha;  // null when the file's name carries none
};

// Throws std::runtime_error with the reason when the file is not a register
// (most of its lines malformed, or none well formed) or the load fails; the
// previous register then stays as it was.
ResultadoImportacion Importar(const ado::ConnectionPtr& cnn, Lector& lector,
                              const OpcionesImportacion& opciones = {});

}  // namespace padron
