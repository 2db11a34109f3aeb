#pragma once
// What the register says of a company's CUIT, in the words the operator
// reads: the line beside the CUIT field, and the warning when the CUIT is not
// in the register or is registered under another name. Never a refusal: the
// register is days old, and a new company may not be in it yet.
#include <QDate>
#include <QString>
#include <optional>

#include "company/rules/ConsultaPadron.h"

enum class EstadoPadron { Coincide, NombreDistinto, NoFigura };

struct LineaPadron {
  EstadoPadron estado = EstadoPadron::Coincide;
  QString texto;   // "AFIP: BODEGAS VALLE DE UCO SA · IVA responsable inscripto · padrón del 05/09/2026"
  QString motivo;  // why it is a warning; empty when it is none
};

// The VAT status in words ("IVA responsable inscripto"); a monotributo taxpayer
// is said to be one. Empty when the register gives no code.
QString CondicionIva(const InscripcionPadron& fila);

// What the register says of a company: not there, under its name, or under another.
EstadoPadron CompararConPadron(const std::optional<InscripcionPadron>& fila, const QString& nombreEmpresa);

// `fila` is the register's row for `cuit` (the CUIT as shown), none when it
// is not there. An empty company name is compared with nothing.
LineaPadron ArmarLineaPadron(const std::optional<InscripcionPadron>& fila, const QDate& fecha,
                             const QString& cuit, const QString& nombreEmpresa);
