#pragma once
// The list lookup dialog: one column and one search box per field.
#include <QDialog>
#include <QVector>

#include "lookup/ListaConsulta.h"
#include "lookup/SolicitudesConsulta.h"

class QFrame;
class QLineEdit;
class QPushButton;
class QTreeView;
class QIdentityProxyModel;

class Lib_FrmCons3 : public QDialog {
  Q_OBJECT
 public:
  explicit Lib_FrmCons3(SolicitudLista& solicitud, QWidget* padre = nullptr);
  ~Lib_FrmCons3() override;

  // Form_Load and Form_Unload.
  void Cargar();
  void Descargar();

  ListaConsulta& Logica() { return logica_; }
  QTreeView* Lista() const { return lista_; }
  QLineEdit* Caja(int i) const { return i >= 0 && i < cajas_.size() ? cajas_[i] : nullptr; }
  int Cajas() const { return static_cast<int>(cajas_.size()); }
  QPushButton* Aceptar() const { return aceptar_; }
  QPushButton* CancelarBoton() const { return cancelar_; }
  QPushButton* Nueva() const { return nueva_; }

  void reject() override;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void AlRecargar();
  void UbicarCajas();
  void ColorCaja(int i, bool foco);
  QLineEdit* NuevaCaja(int i);

  ListaConsulta logica_;
  QIdentityProxyModel* vista_;
  QWidget* picFields_;
  QTreeView* lista_;
  QVector<QLineEdit*> cajas_;
  QFrame* frame1_;
  QPushButton* aceptar_;
  QPushButton* cancelar_;
  QPushButton* nueva_;
  bool ajustando_ = false;
};
