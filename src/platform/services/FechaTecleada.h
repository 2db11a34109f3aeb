#pragma once
// A date as the suite writes it in text, typed or in a statement's literal.
#include <QDate>
#include <QString>

// Read day first (31/12/2024, 1-2-24, 31.12.2024) or year first (2024-12-31);
// false for a date that does not exist. Texts with a time part are not dates here.
bool FechaDeTexto(const QString& texto, QDate& fecha);
