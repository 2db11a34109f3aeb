#pragma once
// The ordered text rules that turn a SQL Server statement into Oracle syntax.
// Quoted literals are never rewritten, except that a literal holding a date
// becomes a TO_DATE call.
#include <QDate>
#include <QString>

// What an Oracle connection sends for a statement of `palabras` words: a
// single word only turns LEN into LENGTH; longer statements get all the rules.
// Every statement to Oracle passes here on its way (installed in the client by
// DB_Dll::Instancia), whoever sends it.
QString TraducirSentenciaOracle(const QString& sentencia, int palabras);

// All ten rules, in order, on a statement of more than one word. Throws
// ado::Failure (a command-text error) for a statement they cannot translate.
QString TraducirAOracle(const QString& sentencia);

// Rule 1, on every TOP, the statement's and its subqueries': "SELECT TOP n ..."
// gets a ROWNUM condition; one that sorts, groups or picks distinct rows is
// limited from outside ("SELECT * FROM (SELECT ...) WHERE ROWNUM <= n"), as
// ROWNUM is counted before those. The operand is a number or an expression in
// parentheses; anything else (or PERCENT, WITH TIES) throws ado::Failure.
QString ReglaTopARownum(const QString& s);
// Rule 2: LEN, zero to four blanks and "(" become "LENGTH(", after a blank or any
// other character that cannot be part of a name.
QString ReglaLen(const QString& s);
// Rule 4: date literals become TO_DATE('dd/mm/yyyy','DD/MM/YYYY').
QString ReglaFechas(const QString& s);
// Rule 7: comparisons with the empty text after the first WHERE (or a join's ON
// before it) become IS NULL, and IS NOT NULL for <> and !=: Oracle holds '' as NULL.
QString ReglaVacioANulo(const QString& s);
// Rule 8: the style 103 argument of a TO_CHAR( becomes 'DD/MM/YYYY'.
QString ReglaEstilo103(const QString& s);

// Beyond the suite's ten rules, what this program writes that Oracle lacks or reads
// otherwise, applied before them: "+" joining texts (an expression with a literal,
// a text function's call or a text in parentheses among its operands) becomes
// "||"; LEFT(x, n) and RIGHT(x, n) become SUBSTR calls; GETDATE() becomes SYSDATE.
QString ReglaConcatenacion(const QString& s);
QString ReglaIzquierdaDerecha(const QString& s);
QString ReglaFechaActual(const QString& s);

