#pragma once
// A company's own rows in the suite's per-company tables, copied from the
// template rows (EMPRESA = ''), each copy of a numbered table with the next
// booklet number of its voucher code.
#include <QString>
#include <QStringList>

#include "platform/client/Connection.h"

enum class TablaPorEmpresa { Comprobantes, TiposComprobante, Ejercicios };

// Which template rows a seeding copies.
enum class Siembra {
  SinFilas,   // all of them, where the company has no row in the table (a save)
  Faltantes,  // those the company has no row for (same voucher code or period), asked for
};

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

// What a seeding of one table would copy, read in one statement.
struct PlanSiembra {
  QStringList columnas;  // the table's, in its order
  bool claveEsTexto = true;
  QStringList claves;  // the keys of the template rows to copy, trimmed, in key order
  // Template voucher codes not stored right-aligned to 4, and their aligned form.
  QStringList codigos, alineados;
  bool numerada = false;  // the table has booklet numbers
  bool Numera() const;    // a copy draws booklet numbers
};
PlanSiembra PlanearSiembra(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra,
                           ado::ConnectionPtr cnn = nullptr);

// The one statement that copies the rows of the plan. Voucher codes
// (`claveEsTexto`) compare as the suite's server does, blanks around and
// letter case not counting. Each copy is numbered as if copied one after the
// other: the greatest booklet number of its voucher code (right-aligned) over
// every company, templates included, plus its place among the copies of
// that code.
QString SentenciaCopia(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra,
                       const PlanSiembra& plan);

// Copies what the plan says. Booklet numbers are drawn under a lock on the
// table that lasts until the caller's transaction ends, so that two
// connections never draw the same one; a seeding that draws none takes no
// lock. Runs on `cnn`, or on the shared connection when none is given.
// Failures reach the caller. Returns the rows it copied.
int SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra,
                 ado::ConnectionPtr cnn = nullptr);
