#include "lookup/ModeloConsulta.h"

#include <algorithm>
#include <numeric>

int ModeloConsulta::rowCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : Filas(); }

int ModeloConsulta::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : Columnas(); }

QVariant ModeloConsulta::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= Filas()) return {};
  const FilaConsulta& f = filas_.at(indice.row());
  switch (rol) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return Texto(indice.row(), indice.column());
    case Qt::CheckStateRole:
      if (casillas_ && indice.column() == 0) return f.marcada ? Qt::Checked : Qt::Unchecked;
      return {};
    case RolColor:
      if (f.color && f.negrita) return *f.color;
      return {};
    case RolNegrita:
      return f.negrita;
    default:
      return {};
  }
}

bool ModeloConsulta::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
  if (rol != Qt::CheckStateRole || !casillas_ || !indice.isValid() || indice.column() != 0) return false;
  Marcar(indice.row(), valor.toInt() == Qt::Checked);
  return true;
}

QVariant ModeloConsulta::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole && seccion >= 0 && seccion < Columnas())
    return encabezados_.at(seccion);
  return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (casillas_ && indice.column() == 0) f |= Qt::ItemIsUserCheckable;
  return f;
}

void ModeloConsulta::sort(int columna, Qt::SortOrder orden) {
  if (columna < 0 || columna >= Columnas() || filas_.size() < 2) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  QVector<int> orden_(filas_.size());
  std::iota(orden_.begin(), orden_.end(), 0);
  // The list compares texts without regard to letter case; equal texts keep their order.
  std::stable_sort(orden_.begin(), orden_.end(), [&](int a, int b) {
    const int c = Texto(a, columna).compare(Texto(b, columna), Qt::CaseInsensitive);
    return orden == Qt::AscendingOrder ? c < 0 : c > 0;
  });
  QVector<FilaConsulta> nuevas;
  nuevas.reserve(filas_.size());
  QVector<int> destino(filas_.size());
  for (int i = 0; i < orden_.size(); ++i) {
    nuevas.push_back(std::move(filas_[orden_[i]]));
    destino[orden_[i]] = i;
  }
  filas_ = std::move(nuevas);
  const QModelIndexList viejos = persistentIndexList();
  QModelIndexList nuevos;
  nuevos.reserve(viejos.size());
  for (const QModelIndex& i : viejos) nuevos << index(destino[i.row()], i.column());
  changePersistentIndexList(viejos, nuevos);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ModeloConsulta::Reiniciar(QStringList encabezados, QVector<FilaConsulta> filas) {
  beginResetModel();
  encabezados_ = std::move(encabezados);
  filas_ = std::move(filas);
  endResetModel();
}

void ModeloConsulta::Vaciar() {
  if (filas_.isEmpty()) return;
  beginResetModel();
  filas_.clear();
  endResetModel();
}

void ModeloConsulta::MostrarCasillas(bool si) {
  if (si == casillas_) return;
  beginResetModel();
  casillas_ = si;
  endResetModel();
}

QString ModeloConsulta::Texto(int fila, int columna) const {
  if (fila < 0 || fila >= Filas()) return QString();
  const QStringList& t = filas_.at(fila).textos;
  return columna >= 0 && columna < t.size() ? t.at(columna) : QString();
}

void ModeloConsulta::FijarTexto(int fila, int columna, const QString& texto) {
  if (fila < 0 || fila >= Filas() || columna < 0) return;
  QStringList& t = filas_[fila].textos;
  while (t.size() <= columna) t << QString();
  t[columna] = texto;
  emit dataChanged(index(fila, columna), index(fila, columna), {Qt::DisplayRole});
}

bool ModeloConsulta::Marcada(int fila) const {
  return fila >= 0 && fila < Filas() && filas_.at(fila).marcada;
}

void ModeloConsulta::Marcar(int fila, bool si) {
  if (fila < 0 || fila >= Filas() || filas_[fila].marcada == si) return;
  filas_[fila].marcada = si;
  emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}
