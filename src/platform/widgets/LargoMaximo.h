#pragma once
// Entry fields that take at most as many characters as their column holds.
// Characters are counted as the database counts them (a character outside
// the Basic Multilingual Plane is one, not two), and what would pass the
// limit is dropped where it was typed or pasted, as a full field does.
#include <QString>

class QWidget;

namespace largo {

// The number of characters of the text.
int Caracteres(const QString& texto);
// The text cut to `maximo` characters by removing the excess just before
// `cursor` (where the last input ended); `cursor` follows. A text within the
// limit, or `maximo` <= 0, is returned as it is.
QString Recortar(const QString& texto, int& cursor, int maximo);
// Limits a single or multi-line entry field; 0 removes the limit.
void Limitar(QWidget* campo, int maximo);

}  // namespace largo
