#pragma once
// A company's own rows in the suite's per-company tables, copied from the
// template rows (EMPRESA = ''), with booklet numbers continuing from the
// greatest per voucher code.
#include <QString>
#include <QStringList>

#include "platform/client/Connection.h"

enum class TablaPorEmpresa { Comprobantes, TiposComprobante, Ejercicios };

struct SentenciasSiembra {
  QString filasEmpresa;     // the company's rows
  QString plantillas;       // the template rows
  QString maximoTalonario;  // "" when the table has no booklet numbers
  QString clave;            // the column that tells a company's rows apart
  QString tabla;
};

// The statements for a table, the company code (right-aligned to 15) and a
// template's voucher code (right-aligned to 4); apostrophes doubled.
SentenciasSiembra SentenciasDe(TablaPorEmpresa tabla, const QString& codigo15, const QString& codigo4 = {});

// The one statement that copies the missing template rows of `tabla` for the
// company, given the table's columns in its order; voucher codes (`claveEsTexto`)
// compare as the suite's server does, blanks around and letter case not counting.
QString SentenciaCopia(TablaPorEmpresa tabla, const QString& codigo15, const QStringList& columnas,
                       bool claveEsTexto);

// Copies every template row the company has no row for yet (same voucher
// code, or same period), so that a company seeded only in part is completed
// and no row is copied twice. Booklet numbers are taken under a lock on the
// table that lasts until the caller's transaction ends, so that two
// connections never take the same one. Runs on `cnn`, or on the shared
// connection when none is given. Failures reach the caller.
void SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15, ado::ConnectionPtr cnn = nullptr);
