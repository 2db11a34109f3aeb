#pragma once
// How complete a company's own rows in the per-company tables are against
// the template rows, for one company (the form's status line) and for every
// company (the command-line check), the latter a page of companies at a time
// so that memory does not grow with the table.
#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

#include "company/rules/SiembraEmpresa.h"
#include "platform/client/Connection.h"
#include "platform/client/Recordset.h"

// The tables in the order the seeding fills them.
constexpr std::array<TablaPorEmpresa, 3> kTablasPorEmpresa = {
    TablaPorEmpresa::TiposComprobante, TablaPorEmpresa::Comprobantes, TablaPorEmpresa::Ejercicios};

// "Comprobantes", "Talonarios", "Ejercicios".
QString TituloDe(TablaPorEmpresa tabla);

struct FilasDeTabla {
  int tiene = 0;  // template rows the company has its own copy of
  int pide = 0;   // template rows
  bool Corta() const { return tiene < pide; }
};

struct Completitud {
  std::array<FilasDeTabla, 3> tablas{};  // in the order of kTablasPorEmpresa
  bool Completa() const;
  // "Comprobantes 8/8 · Talonarios 5/5 · Ejercicios 3/3".
  QString Texto() const;
};

// Reads the rows of a query without asking anyone: a failure throws
// ado::Failure. The suite's table mapping applies as for every read.
void LeerConsulta(const QString& sql, const ado::ConnectionPtr& cnn,
                  const std::function<void(ado::Recordset&)>& fila);

// One query. `codigo15` is the company code as stored.
Completitud CompletitudDe(const QString& codigo15, ado::ConnectionPtr cnn = nullptr);

// The template rows of each table, in one query.
std::array<int, 3> PlantillasPorTabla(ado::ConnectionPtr cnn = nullptr);

// For a page of companies (codes as stored, none empty): the template rows
// each has its copy of, per table, in one query grouped by company. A
// company with no row in any table is absent.
QHash<QString, std::array<int, 3>> FilasPorEmpresa(const QStringList& codigos15,
                                                   ado::ConnectionPtr cnn = nullptr);
