#pragma once
// The suite's files (INI, error log, lookup definitions, column widths) are
// written in the single-byte Windows code page.
#include <QByteArray>
#include <QString>

// Characters outside the code page become "?".
QByteArray HaciaCp1252(const QString& texto);
QString DesdeCp1252(const QByteArray& bytes);
