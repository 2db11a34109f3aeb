#include "lookup/BuscadorLista.h"

BuscadorLista::BuscadorLista(const QAbstractItemModel& modelo, QObject* padre)
    : QObject(padre), modelo_(modelo) {
  // Any change the views are told of may change a text or its row.
  const auto olvidar = [this] { Olvidar(); };
  connect(&modelo_, &QAbstractItemModel::modelReset, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::layoutChanged, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::dataChanged, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::rowsInserted, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::rowsRemoved, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::rowsMoved, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::columnsInserted, this, olvidar);
  connect(&modelo_, &QAbstractItemModel::columnsRemoved, this, olvidar);
}

QString BuscadorLista::Plegar(QStringView texto) {
  // Unit by unit, as a case-insensitive comparison folds: a pair's low half
  // is folded with its high half, and the length never changes.
  QString r(texto.size(), Qt::Uninitialized);
  char16_t anterior = 0;
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const char16_t u = texto[i].unicode();
    if (QChar::isLowSurrogate(u) && QChar::isHighSurrogate(anterior))
      r[i] = QChar(QChar::lowSurrogate(QChar::toCaseFolded(QChar::surrogateToUcs4(anterior, u))));
    else
      r[i] = QChar(static_cast<char16_t>(QChar::toCaseFolded(char32_t(u))));
    anterior = u;
  }
  return r;
}

QString BuscadorLista::TextoCelda(int fila, int columna) const {
  if (columna < 0 || columna >= modelo_.columnCount()) return QString();
  return modelo_.data(modelo_.index(fila, columna), Qt::DisplayRole).toString();
}

void BuscadorLista::Olvidar() {
  columnas_.clear();
  hechas_.clear();
  ultimaColumna_ = -1;
  ultimoValor_.clear();
  ultimaFila_ = -1;
}

const QVector<QString>& BuscadorLista::Columna(int columna) {
  if (columna >= columnas_.size()) {
    columnas_.resize(columna + 1);
    hechas_.resize(columna + 1);
  }
  if (!hechas_[columna]) {
    QVector<QString>& c = columnas_[columna];
    const int filas = modelo_.rowCount();
    c.resize(filas);
    for (int r = 0; r < filas; ++r) c[r] = Plegar(QStringView(TextoCelda(r, columna)).trimmed());
    hechas_[columna] = true;
  }
  return columnas_[columna];
}

int BuscadorLista::Primera(int columna, const QString& valor) {
  const QStringView recortado = QStringView(valor).trimmed();
  if (recortado.isEmpty()) {
    // Nothing typed: the first row with a text matches at once, nothing to keep.
    // Every row's trimmed text starts with the empty text.
    return modelo_.rowCount() > 0 ? 0 : -1;
  }
  const QString buscado = Plegar(recortado);
  const QVector<QString>& textos = Columna(columna);
  // A row that starts with the longer text starts with the shorter one too,
  // so none before the shorter text's first match can match the longer.
  int desde = 0;
  if (columna == ultimaColumna_ && buscado.startsWith(ultimoValor_)) {
    if (ultimaFila_ < 0) return -1;
    desde = ultimaFila_;
  }
  int fila = -1;
  for (int r = desde; r < textos.size(); ++r)
    if (textos[r].startsWith(buscado)) {
      fila = r;
      break;
    }
  ultimaColumna_ = columna;
  ultimoValor_ = buscado;
  ultimaFila_ = fila;
  return fila;
}
