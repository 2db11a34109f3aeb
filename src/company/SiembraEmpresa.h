#pragma once
// A new company's own rows in the suite's per-company tables, copied from
// the template rows (EMPRESA = ''), with booklet numbers continuing from the
// greatest per voucher code.
#include <QString>

enum class TablaPorEmpresa { Comprobantes, TiposComprobante, Ejercicios };

struct SentenciasSiembra {
  QString filasEmpresa;     // the company's rows
  QString plantillas;       // the template rows
  QString maximoTalonario;  // "" when the table has no booklet numbers
};

// The statements for a table, the company code (right-aligned to 15) and a
// template's voucher code (right-aligned to 4); apostrophes doubled.
SentenciasSiembra SentenciasDe(TablaPorEmpresa tabla, const QString& codigo15, const QString& codigo4 = {});

// Copies the templates into the company's rows unless it has rows already.
// Failures reach the caller.
void SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15);
