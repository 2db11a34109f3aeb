#pragma once
// The incremental search of the list lookup, kept fast on long lists: the
// trimmed, case-folded texts of a column are made once (and dropped whenever
// the rows change), and a text that grows searches on from its last match.
// Any table model serves: the cells' display texts are searched.
#include <QAbstractItemModel>
#include <QObject>
#include <QString>
#include <QVector>

class BuscadorLista : public QObject {
 public:
  explicit BuscadorLista(const QAbstractItemModel& modelo, QObject* padre = nullptr);

  // First row (list order) whose trimmed text in `columna` starts with the
  // trimmed `valor`, letter case aside; -1 when none.
  int Primera(int columna, const QString& valor);

  // `texto` as a case-insensitive comparison folds it, one unit for one unit.
  static QString Plegar(QStringView texto);

 private:
  void Olvidar();
  QString TextoCelda(int fila, int columna) const;
  const QVector<QString>& Columna(int columna);

  const QAbstractItemModel& modelo_;
  QVector<QVector<QString>> columnas_;  // [column][row], built on first use
  QVector<bool> hechas_;
  // The last search, to go on from when the operator types one more letter.
  int ultimaColumna_ = -1;
  QString ultimoValor_;
  int ultimaFila_ = -1;
};
