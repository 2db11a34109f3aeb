#pragma once
// What the sheet of all companies does, apart from its widgets: the rows read
// as they are shown, the search box of the list lookup over the column the
// operator stands on, sorting by a column, the company chosen for the form,
// and the export of the table to a file.
#include <QObject>
#include <QString>

#include "company/form/ModeloPlanilla.h"
#include "lookup/BuscadorLista.h"
#include "platform/services/Operador.h"

class PlanillaEmpresas : public QObject {
  Q_OBJECT
 public:
  PlanillaEmpresas(ado::ConnectionPtr conexion, const QString& tabla, QObject* padre = nullptr);

  // Reads the columns and the first page; false when it failed (the operator was told).
  bool Abrir();

  ModeloPlanilla& Modelo() { return modelo_; }
  // The column the search box searches: the one the operator stands on.
  void FijarColumnaBusqueda(int columna);
  int ColumnaBusqueda() const { return columnaBusqueda_; }
  QString TituloBusqueda() const;
  // The first row, in the order shown, whose trimmed text in the search column
  // starts with the trimmed `texto` (letter case aside), reading on as far as it;
  // -1 when none. A found row is announced with FilaElegida.
  int Buscar(const QString& texto);
  // A click on a column's title (or its key): by that column, going up; again
  // on the sorted column, the other way.
  void Ordenar(int columna);
  // The company of `fila` goes to the form; the window hides.
  void Elegir(int fila);
  // Asks for a file and writes every company into it.
  void Exportar();
  // The code chosen, trimmed; "" when the window was closed without one.
  QString Elegido() const { return elegido_; }

  static const QString kFiltroExportar;

 signals:
  void FilaElegida(int fila);
  void Ocultar();

 private:
  ModeloPlanilla modelo_;
  BuscadorLista buscador_{modelo_};
  int columnaBusqueda_ = 0;
  QString elegido_;
};

// The window as the operator interface shows it.
class DialogoPlanillaEmpresas : public DialogoModal {
 public:
  static constexpr const char* kNombre = "frmPlanillaEmpresas";
  QString Nombre() const override { return QString::fromLatin1(kNombre); }
  PlanillaEmpresas* planilla = nullptr;
  QString titulo;
};
