#pragma once
// "Control de Acceso": the dialog in which the operator types or corrects
// the connection parameters. It only records which button closed it.
#include <QDialog>
#include <QPoint>
#include <QSize>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class SolicitudAcceso;

class frmAcceso : public QDialog {
  Q_OBJECT
 public:
  explicit frmAcceso(QWidget* parent = nullptr);

  // True only when bcAceptar closed the dialog.
  bool Aceptar = false;

  QFrame* framAcceso;
  QLabel* lbUsuario;
  QLabel* lbcontrasena;
  QLabel* Label1;
  QLabel* Label2;
  QLineEdit* TxtUserId;
  QLineEdit* TxtUserPassword;
  QLineEdit* TxtDbName;
  QLineEdit* TxtServidor;
  QComboBox* CboPlataformaDB;
  QPushButton* bcAceptar;
  QPushButton* bcCancelar;

  // Shows the request's values, runs modally and, when accepted, writes
  // the values back; the request's Aceptar tells the outcome.
  void Atender(SolicitudAcceso& solicitud);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void bcAceptar_Click();
  void bcCancelar_Click();
};

// Top-left corner that centres a window of size `ventana` on a screen of size `pantalla`.
QPoint PosicionCentrada(const QSize& pantalla, const QSize& ventana);

// Registers the dialog's runner under "frmAcceso" for the operator interface.
void RegistrarFrmAcceso();
