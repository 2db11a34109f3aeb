#pragma once
// The sheet of all companies: a search box over the column the operator
// stands on, the table, and its buttons.
#include <QDialog>

#include "company/form/PlanillaEmpresas.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class frmPlanillaEmpresas : public QDialog {
  Q_OBJECT
 public:
  frmPlanillaEmpresas(PlanillaEmpresas& planilla, const QString& titulo, QWidget* padre = nullptr);

  QLineEdit* Busqueda() const { return busqueda_; }
  QTableView* Tabla() const { return tabla_; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void IrAFila(int fila, int columna);
  void MostrarColumnaBusqueda();
  void Ordenar(int columna);
  int FilaActual() const;

  PlanillaEmpresas& planilla_;
  QLabel* etiqueta_;
  QLineEdit* busqueda_;
  QTableView* tabla_;
  QPushButton* mostrar_;
  QPushButton* ordenar_;
  QPushButton* exportar_;
  QPushButton* cerrar_;
};

// Registers the window with the dialog registry.
void RegistrarFrmPlanillaEmpresas();
