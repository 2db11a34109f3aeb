#pragma once
// The suite's files (INI, error log, lookup definitions, column widths) are
// written in the single-byte Windows code page.
#include <QByteArray>
#include <QString>

// Characters outside the code page become "?". The five unassigned bytes
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the C1 controls of the same value and
// are written back as those bytes, so every byte round-trips.
QByteArray HaciaCp1252(const QString& texto);
QString DesdeCp1252(const QByteArray& bytes);
