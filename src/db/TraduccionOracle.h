#pragma once
// The ordered text rules that turn a SQL Server statement into Oracle syntax.
// Quoted literals are never rewritten, except that a literal holding a date
// becomes a TO_DATE call.
#include <QDate>
#include <QString>

// All ten rules, in order, on a statement of more than one word.
QString TraducirAOracle(const QString& sentencia);

// Rule 1: "SELECT TOP n ..." becomes a ROWNUM condition placed before the
// GROUP BY / ORDER BY tail.
QString ReglaTopARownum(const QString& s);
// Rule 4: date literals become TO_DATE('dd/mm/yyyy','DD/MM/YYYY').
QString ReglaFechas(const QString& s);
// Rule 7: comparisons with the empty text after the first WHERE become IS NULL.
QString ReglaVacioANulo(const QString& s);
// Rule 8: the style 103 argument of a TO_CHAR( becomes 'DD/MM/YYYY'.
QString ReglaEstilo103(const QString& s);

// A literal's text read as a date written day first (31/12/2024, 1-2-24,
// 31.12.2024) or year first (2024-12-31). Texts with a time part are not dates here.
bool FechaDeTexto(const QString& texto, QDate& fecha);
