#pragma once
// Text helpers of the lookup dialogs: cell texts, the suite's leading-number
// reading, quantity formats and SQL text literals.
#include <QDateTime>
#include <QString>
#include <optional>

#include "platform/core/Value.h"

namespace textos {

// A field value as a list cell shows it: Null and Empty give "".
QString DeValor(const ado::Value& v);
// The number at the start of the text ("." as decimal separator, blanks
// skipped); 0 when the text does not start with one.
double Numero(const QString& texto);
// A quantity as a cell holds it or the operator types it: "." or a lone ","
// as the decimal separator, so that a cell from the database still counts.
double Cantidad(const QString& texto);
// The number with exactly `decimales` decimals, the workstation's separator
// and no grouping; a text that is not a number is returned as it is.
QString FormatoCantidad(const QString& texto, int decimales);
QString FormatoCantidad(double valor, int decimales);
// Apostrophes doubled, so the text stays one literal inside '...'.
QString Literal(const QString& texto);
// A colour setting (decimal, or "&H" hexadecimal) as &HBBGGRR; none for empty.
std::optional<quint32> Color(const ado::Value& v);
bool EmpiezaCon(const QString& texto, const QString& prefijo);
// A moment as a date-and-time text that any server reads unambiguously.
QString FechaHoraGeneral(const QDateTime& momento);

}  // namespace textos
