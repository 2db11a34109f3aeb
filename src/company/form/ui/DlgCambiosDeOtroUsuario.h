#pragma once
// "Cambios de otro usuario": one row per field both operators changed, with
// the value when shown, the value stored now and the value on this screen.
// The operator picks, per row, the stored value or this screen's; "Grabar"
// is offered once every row has its pick. Keys: the arrows move, Space picks
// the value under the cursor (again on the other value: switches), Enter is
// "Grabar", Escape "Cancelar".
#include <QDialog>

#include "company/form/CambiosDeOtroUsuario.h"

class QLabel;
class QPushButton;
class QTableWidget;

class DlgCambiosDeOtroUsuario : public QDialog {
  Q_OBJECT
 public:
  explicit DlgCambiosDeOtroUsuario(CambiosDeOtroUsuario& datos, QWidget* parent = nullptr);

  // Columns of the table.
  enum Columna { Dato = 0, AlMostrarse = 1, Guardado = 2, Pantalla = 3 };

  QTableWidget* Tabla() const { return tabla_; }
  QPushButton* BotonGrabar() const { return grabar_; }
  QPushButton* BotonCancelar() const { return cancelar_; }

  // Runs it modally and leaves the picks and the answer in the data.
  void Atender();

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Elegir(int fila, int columna);
  void Marcar(int fila);

  CambiosDeOtroUsuario& datos_;
  QLabel* explicacion_ = nullptr;
  QTableWidget* tabla_ = nullptr;
  QPushButton* grabar_ = nullptr;
  QPushButton* cancelar_ = nullptr;
};

void RegistrarDlgCambiosDeOtroUsuario();
