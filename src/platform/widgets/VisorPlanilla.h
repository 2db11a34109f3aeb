#pragma once
// A read-only sheet view of a whole table, shown as the modal dialog
// "VisorPlanilla" through the operator interface.
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/client/Connection.h"
#include "platform/services/Operador.h"

class DialogoPlanilla : public DialogoModal {
 public:
  QString Nombre() const override { return QStringLiteral("VisorPlanilla"); }
  QString titulo;
  QStringList columnas;
  QVector<QStringList> filas;
};

class VisorPlanilla {
 public:
  static VisorPlanilla& Compartido();

  // Reads "SELECT * FROM tabla" on `abierta` when it is given and open,
  // otherwise on a connection of its own opened on `conexion`, and shows it.
  // Failures reach the caller.
  void MostrarPlanilla(const QString& tabla, const QString& conexion, const QString& titulo,
                       const ado::ConnectionPtr& abierta = nullptr);

  // Fills the sheet from an open recordset (binary columns are not shown).
  static DialogoPlanilla Leer(ado::Recordset& rs, const QString& titulo);
};

// Registers the Qt window of "VisorPlanilla" with the dialog registry.
void RegistrarVisorPlanilla();
