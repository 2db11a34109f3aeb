#pragma once
// AFIP's register of taxpayers as the suite's database holds it (imported
// into MA_PADRON_AFIP, its date in MA_PADRON_AFIP_DATOS): whether there is
// one, its date, and the rows of given CUITs, looked up by their number.
// Without the tables there is no register: that is no failure, and nobody is
// told.
#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/client/Connection.h"

// One CUIT's row of the register; codes as the register writes them, trimmed.
struct InscripcionPadron {
  QString cuit;  // 11 digits
  QString denominacion;
  QString ganancias, iva, monotributo, sociedad, empleador, actividad;
};

namespace ConsultaPadron {

extern const QString kTabla;       // "MA_PADRON_AFIP"
extern const QString kTablaDatos;  // "MA_PADRON_AFIP_DATOS"

// The register's date when the database holds a register (its date unknown:
// a null date); none without one. Asked with one statement the first time
// for each connection, which must run outside any transaction (a failed
// statement ends PostgreSQL's); a failure is taken for no register.
std::optional<QDate> Fecha(const ado::ConnectionPtr& cnn = nullptr);
bool HayPadron(const ado::ConnectionPtr& cnn = nullptr);

// The row of one CUIT (11 digits), by the register's key. A failure throws ado::Failure.
std::optional<InscripcionPadron> Buscar(const QString& digitos, const ado::ConnectionPtr& cnn = nullptr);

// The registered names of many CUITs (11 digits each) in one statement, by
// their digits; those not in the register are absent.
QHash<QString, QString> NombresEnPadron(const QStringList& digitos, const ado::ConnectionPtr& cnn = nullptr);

// What follows "padrón" in a text: "del 05/09/2026", or "sin fecha".
QString FechaTexto(const QDate& fecha);

}  // namespace ConsultaPadron
