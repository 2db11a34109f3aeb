#pragma once
// The button row that both lookup dialogs end with.
class QBoxLayout;
class QPushButton;
class QWidget;

struct BotonesConsulta {
  QPushButton* aceptar;
  QPushButton* cancelar;
  QPushButton* nueva;
};

// Creates "&Aceptar", "&Cancelar" and "&Nueva Busqueda" in `padre`, added to `fila`.
// None is a default button: Enter belongs to the search box and the list.
BotonesConsulta CrearBotonesConsulta(QWidget* padre, QBoxLayout* fila);
