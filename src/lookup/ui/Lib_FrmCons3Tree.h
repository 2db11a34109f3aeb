#pragma once
// The tree lookup dialog: codes shown as a hierarchy.
#include <QDialog>
#include <QVector>

#include "lookup/ArbolConsulta.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class Lib_FrmCons3Tree : public QDialog {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3Tree(SolicitudArbol& solicitud, QWidget* padre = nullptr);
  ~Lib_FrmCons3Tree() override;

  void Cargar();
  void Descargar();

  ArbolConsulta& Logica() { return logica_; }
  QTreeWidget* Arbol() const { return arbol_; }
  QLineEdit* Caja() const { return caja_; }
  QTreeWidgetItem* Item(int nodo) const { return nodo >= 0 && nodo < items_.size() ? items_[nodo] : nullptr; }

  void reject() override;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Reconstruir();
  void RefrescarMarcas();

  ArbolConsulta logica_;
  QTreeWidget* arbol_;
  QLineEdit* caja_;
  QPushButton* aceptar_;
  QPushButton* cancelar_;
  QPushButton* nueva_;
  QVector<QTreeWidgetItem*> items_;
  bool armando_ = false;
};
