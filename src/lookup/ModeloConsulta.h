#pragma once
// The rows of the list lookup: one text per column (the first is the row's
// own text), a check state, and the stock colour of article rows.
#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <optional>

struct FilaConsulta {
  QStringList textos;
  bool marcada = false;
  std::optional<quint32> color;  // &HBBGGRR
  bool negrita = false;
};

class ModeloConsulta : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Colour (&HBBGGRR as an unsigned int) and bold flag of a row, for the view.
  static constexpr int RolColor = Qt::UserRole + 1;
  static constexpr int RolNegrita = Qt::UserRole + 2;

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int rol) override;
  QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;
  void sort(int columna, Qt::SortOrder orden) override;

  // Replaces headers and rows in one batch.
  void Reiniciar(QStringList encabezados, QVector<FilaConsulta> filas);
  void Vaciar();
  void MostrarCasillas(bool si);
  bool Casillas() const { return casillas_; }

  int Filas() const { return static_cast<int>(filas_.size()); }
  int Columnas() const { return static_cast<int>(encabezados_.size()); }
  const QStringList& Encabezados() const { return encabezados_; }
  // Column 0 is the row text, column i > 0 its sub-item i; "" out of range.
  QString Texto(int fila, int columna) const;
  void FijarTexto(int fila, int columna, const QString& texto);
  bool Marcada(int fila) const;
  void Marcar(int fila, bool si);
  const FilaConsulta& Fila(int fila) const { return filas_.at(fila); }

 private:
  QStringList encabezados_;
  QVector<FilaConsulta> filas_;
  bool casillas_ = false;
};
