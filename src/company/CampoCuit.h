#pragma once
// The CUIT field when the operator confirms it. A wrong number is never
// refused, since stored data may already hold such: the operator is told what
// is wrong and may take the right number. A valid one is shown as
// "NN-NNNNNNNN-N", and another company holding the same digits is named.
#include <QString>

namespace campocuit {

// The text the field keeps after the check. `tabla` holds the companies,
// `codigo` is the company on screen, `largo` the characters its CUIT column
// holds (0: no limit known); a column too narrow for the usual form gets the
// digits alone, not a form cut short.
QString Confirmar(const QString& texto, const QString& tabla, const QString& codigo, int largo = 0);

// The condition that finds another company whose stored CUIT has these digits
// (blanks, dots and hyphens in the stored text ignored).
QString CondicionDuplicado(const QString& digitos, const QString& codigo);

}  // namespace campocuit
