#pragma once
// Every company of the table as one row, every column (the binary logo aside)
// as one column, read a page at a time as the view scrolls: the table's size
// does not slow the opening. The database sorts (in its own collation), and
// each page goes on from the last row read by its place in the order, so no
// page reads what the previous ones already read.
#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

#include "platform/client/Connection.h"
#include "session/ValorTecleado.h"

class ModeloPlanilla : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kFilasPorPagina = 200;

  ModeloPlanilla(ado::ConnectionPtr conexion, QString tabla, QObject* padre = nullptr);

  // Reads the columns and the first page, by the code; failures reach the caller.
  void Abrir();

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;
  bool canFetchMore(const QModelIndex& padre) const override;
  // A failure is shown to the operator and ends the reading.
  void fetchMore(const QModelIndex& padre) override;
  // Reads the first page again in the new order; failures reach the caller.
  void sort(int columna, Qt::SortOrder orden) override;

  // Reads, after the rows already read, up to the first row whose trimmed text
  // in `columna` starts with `valor` (letter case aside); false when no row
  // further on has it. Failures reach the caller.
  bool LeerHasta(int columna, const QString& valor);

  // The company's code, trimmed, as the code field takes it.
  QString Codigo(int fila) const;
  QString Columna(int columna) const { return columnas_.value(columna).nombre; }
  int ColumnaDe(const QString& nombre) const;
  int ColumnaOrden() const { return orden_; }
  Qt::SortOrder Orden() const { return sentido_; }
  bool Completa() const { return completa_; }
  // Statements run on the table's rows since it was opened.
  int Lecturas() const { return lecturas_; }

 private:
  struct ColumnaPlanilla {
    QString nombre;  // as the driver names it
    QString titulo;
    TipoTecleado tipo;
    bool texto = false;
    bool logico = false;
  };
  struct FilaPlanilla {
    QStringList textos;
    QString clave;  // the code as stored
    bool ordenNulo = false;
  };

  QString TextoDe(const ado::Value& v, const ColumnaPlanilla& c) const;
  QString Seleccion(int filas) const;
  QString OrdenSql() const;
  // Rows after (or up to and including) the row `f` in the current order.
  QString Despues(const FilaPlanilla& f) const;
  QString HastaIncluida(const FilaPlanilla& f) const;
  // The last row read that is still in the table, to go on from; -1 for none.
  int Ancla() const;
  bool Existe(const QString& clave) const;
  // Reads the rows of `donde` in order and adds them; how many came.
  int Agregar(const QString& donde, int tope);
  void Fallo(const QString& contexto);

  ado::ConnectionPtr conexion_;
  QString tabla_;
  QVector<ColumnaPlanilla> columnas_;
  QVector<FilaPlanilla> filas_;
  int clave_ = -1;
  int orden_ = -1;
  Qt::SortOrder sentido_ = Qt::AscendingOrder;
  bool completa_ = true;
  int lecturas_ = 0;
};
