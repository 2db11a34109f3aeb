#pragma once
// The CUIT field when the operator confirms it. A wrong number is never
// refused, since stored data may already hold such: the operator is told what
// is wrong and may take the right number. A valid one is shown as
// "NN-NNNNNNNN-N", and another company holding the same digits is named. A
// CUIT nobody typed is not touched.
#include <QString>
#include <optional>

namespace campocuit {

// The text the field keeps after the check. `mostrado` is the CUIT as the
// company was shown (none for a company not shown): that one is the stored
// CUIT, kept exactly, whatever its form, without a word; the check is for what
// the operator types. `tabla` holds the companies, `codigo` is the company on
// screen, `largo` the characters its CUIT column holds (0: no limit known); a
// column too narrow for the usual form gets the digits alone, not a form cut short.
QString Confirmar(const QString& texto, const std::optional<QString>& mostrado, const QString& tabla,
                  const QString& codigo, int largo = 0);

// The condition that finds another company whose stored CUIT has these digits
// (blanks, dots and hyphens in the stored text ignored).
QString CondicionDuplicado(const QString& digitos, const QString& codigo);

}  // namespace campocuit
