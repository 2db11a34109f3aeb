#include "company/form/ModeloPlanilla.h"

#include "company/rules/CamposEmpresa.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

namespace {

bool EsBinaria(int tipo) {
  return tipo == ado::adBinary || tipo == ado::adVarBinary || tipo == ado::adLongVarBinary;
}

// The form's caption for its fields; a custom field as its grid names it.
QString TituloDe(const QString& columna) {
  for (const CampoEmpresa& c : kTablaCampos)
    if (columna.compare(QLatin1String(c.columna), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(c.etiqueta).remove(QLatin1Char(':')).trimmed();
  if (columna.compare(QLatin1String("PideHonorarios"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("Pedir Honorarios");
  if (columna.left(2).compare(QLatin1String("P_"), Qt::CaseInsensitive) == 0) return columna.mid(2).trimmed();
  return columna;
}

QString Literal(const QString& texto) {
  return QLatin1Char('\'') + DuplicarApostrofes(texto) + QLatin1Char('\'');
}

// The typed text as the start of a LIKE pattern: its wildcards are plain characters.
QString PatronEmpiezaCon(const QString& texto) {
  QString r;
  for (QChar c : texto) {
    if (c == QLatin1Char('[') || c == QLatin1Char('%') || c == QLatin1Char('_'))
      r += QLatin1Char('[') + QString(c) + QLatin1Char(']');
    else
      r += c;
  }
  return Literal(r + QLatin1Char('%'));
}

}  // namespace

ModeloPlanilla::ModeloPlanilla(ado::ConnectionPtr conexion, QString tabla, QObject* padre)
    : QAbstractTableModel(padre), conexion_(std::move(conexion)), tabla_(std::move(tabla)) {}

void ModeloPlanilla::Abrir() {
  auto& db = DB_Dll::Instancia();
  ado::Recordset forma;
  forma.Open(db.SS_TSinonimos(QStringLiteral("SELECT * FROM ") + tabla_ + QStringLiteral(" WHERE 1 = 0")),
             conexion_, ado::adOpenForwardOnly, ado::adLockReadOnly);
  QVector<ColumnaPlanilla> columnas;
  for (int i = 0; i < forma.FieldCount(); ++i) {
    ado::Field& f = forma.Fields(i);
    // A picture says nothing in a cell, and reading every logo would slow every page.
    if (EsBinaria(f.Type())) continue;
    ColumnaPlanilla c;
    c.nombre = f.Name();
    c.titulo = TituloDe(c.nombre);
    c.texto = db.ADOText(f.Type()) || f.Type() == ado::adChar;
    c.logico = db.ADOBoolean(f.Type());
    if (!c.texto && !c.logico) c.tipo = TipoTecleado::De(f);
    columnas.push_back(c);
  }
  forma.Close();
  beginResetModel();
  columnas_ = columnas;
  filas_.clear();
  clave_ = ColumnaDe(QString::fromLatin1(kTablaCampos[0].columna));
  orden_ = clave_;
  sentido_ = Qt::AscendingOrder;
  completa_ = false;
  endResetModel();
  if (clave_ < 0)
    throw ado::Failure(ado::err::ItemNotFound,
                       QStringLiteral("La tabla %1 no tiene la columna IdEmpresa.").arg(tabla_));
  Agregar(QString(), kFilasPorPagina);
}

int ModeloPlanilla::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloPlanilla::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QVariant ModeloPlanilla::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= filas_.size() || indice.column() >= columnas_.size()) return {};
  if (rol == Qt::DisplayRole) return filas_[indice.row()].textos.value(indice.column());
  if (rol == Qt::TextAlignmentRole && columnas_[indice.column()].tipo.EsNumero())
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
  return {};
}

QVariant ModeloPlanilla::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion == Qt::Horizontal && seccion >= 0 && seccion < columnas_.size()) {
    if (rol == Qt::DisplayRole) return columnas_[seccion].titulo;
    if (rol == Qt::ToolTipRole) return columnas_[seccion].nombre;
  }
  return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

Qt::ItemFlags ModeloPlanilla::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool ModeloPlanilla::canFetchMore(const QModelIndex& padre) const {
  return !padre.isValid() && !completa_ && !columnas_.isEmpty();
}

void ModeloPlanilla::fetchMore(const QModelIndex& padre) {
  if (!canFetchMore(padre)) return;
  try {
    const int ancla = Ancla();
    Agregar(ancla < 0 ? QString() : Despues(filas_[ancla]), kFilasPorPagina);
  } catch (...) {
    Fallo(QStringLiteral("Planilla"));
  }
}

void ModeloPlanilla::Fallo(const QString& contexto) {
  // The view would ask again at once, and the operator would see the same box again.
  completa_ = true;
  Utilidades::Compartido().MostrarError(trampa::ErrorDe(std::current_exception()), {}, contexto);
}

void ModeloPlanilla::sort(int columna, Qt::SortOrder orden) {
  if (columna < 0 || columna >= columnas_.size()) return;
  beginResetModel();
  orden_ = columna;
  sentido_ = orden;
  filas_.clear();
  completa_ = false;
  endResetModel();
  Agregar(QString(), kFilasPorPagina);
}

bool ModeloPlanilla::LeerHasta(int columna, const QString& valor) {
  if (completa_ || columna < 0 || columna >= columnas_.size()) return false;
  const int ancla = Ancla();
  const QString despues = ancla < 0 ? QString() : Despues(filas_[ancla]);
  const ColumnaPlanilla& c = columnas_[columna];
  if (!c.texto) {
    // A number or a date is searched as it is shown, which the database cannot
    // compare with: the rest of the table is read.
    const int leidas = Agregar(despues, 0);
    completa_ = true;
    return leidas > 0;
  }
  QString donde = QStringLiteral("LTRIM(RTRIM(%1)) LIKE %2").arg(c.nombre, PatronEmpiezaCon(valor.trimmed()));
  if (!despues.isEmpty()) donde = despues + QStringLiteral(" AND ") + donde;
  auto& db = DB_Dll::Instancia();
  const QString& k = columnas_[clave_].nombre;
  const QString& s = columnas_[orden_].nombre;
  ado::Recordset rs;
  rs.Open(db.SS_TSinonimos(QStringLiteral("SELECT TOP 1 %1, %2 FROM %3 WHERE %4 ORDER BY %5")
                               .arg(k, s, tabla_, donde, OrdenSql())),
          conexion_, ado::adOpenForwardOnly, ado::adLockReadOnly);
  ++lecturas_;
  if (rs.Eof()) return false;
  FilaPlanilla hallada;
  hallada.clave = rs.Fields(0).GetValue().toString();
  hallada.ordenNulo = ado::IsNull(rs.Fields(1).GetValue());
  rs.Close();
  const QString hasta = HastaIncluida(hallada);
  return Agregar(despues.isEmpty() ? hasta : despues + QStringLiteral(" AND ") + hasta, 0) > 0;
}

QString ModeloPlanilla::Codigo(int fila) const {
  return fila >= 0 && fila < filas_.size() ? filas_[fila].clave.trimmed() : QString();
}

int ModeloPlanilla::ColumnaDe(const QString& nombre) const {
  for (int i = 0; i < columnas_.size(); ++i)
    if (columnas_[i].nombre.compare(nombre, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QString ModeloPlanilla::TextoDe(const ado::Value& v, const ColumnaPlanilla& c) const {
  if (ado::IsNull(v) || ado::IsEmpty(v)) return {};
  if (c.logico) return v.toBool() ? QStringLiteral("Sí") : QStringLiteral("No");
  if (c.tipo.clase != ClaseTecleada::Texto) return TextoAlmacenado(v, c.tipo);
  return Utilidades::Compartido().NuloATexto(v).trimmed();
}

QString ModeloPlanilla::OrdenSql() const {
  const QString baja = sentido_ == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString();
  const QString& k = columnas_[clave_].nombre;
  if (orden_ == clave_) return k + baja;
  // Empty values first going up and last going down, as the suite's server
  // sorts them (PostgreSQL would do the opposite); the code settles ties.
  const QString& s = columnas_[orden_].nombre;
  return QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END%2, %1%2, %3%2").arg(s, baja, k);
}

// The place of a row in the order is its value in the sorted column, read by
// its code: a value of any type is compared by the database as it stores it.
QString ModeloPlanilla::Despues(const FilaPlanilla& f) const {
  const bool sube = sentido_ == Qt::AscendingOrder;
  const QString& k = columnas_[clave_].nombre;
  const QString clave = Literal(f.clave);
  if (orden_ == clave_)
    return QStringLiteral("%1 %2 %3").arg(k, sube ? QStringLiteral(">") : QStringLiteral("<"), clave);
  const QString& s = columnas_[orden_].nombre;
  const QString valor = QStringLiteral("(SELECT %1 FROM %2 WHERE %3 = %4)").arg(s, tabla_, k, clave);
  if (sube)
    return f.ordenNulo ? QStringLiteral("((%1 IS NULL AND %2 > %3) OR %1 IS NOT NULL)").arg(s, k, clave)
                       : QStringLiteral("(%1 > %4 OR (%1 = %4 AND %2 > %3))").arg(s, k, clave, valor);
  return f.ordenNulo
             ? QStringLiteral("(%1 IS NULL AND %2 < %3)").arg(s, k, clave)
             : QStringLiteral("(%1 < %4 OR (%1 = %4 AND %2 < %3) OR %1 IS NULL)").arg(s, k, clave, valor);
}

QString ModeloPlanilla::HastaIncluida(const FilaPlanilla& f) const {
  const bool sube = sentido_ == Qt::AscendingOrder;
  const QString& k = columnas_[clave_].nombre;
  const QString clave = Literal(f.clave);
  if (orden_ == clave_)
    return QStringLiteral("%1 %2 %3").arg(k, sube ? QStringLiteral("<=") : QStringLiteral(">="), clave);
  const QString& s = columnas_[orden_].nombre;
  const QString valor = QStringLiteral("(SELECT %1 FROM %2 WHERE %3 = %4)").arg(s, tabla_, k, clave);
  if (sube)
    return f.ordenNulo
               ? QStringLiteral("(%1 IS NULL AND %2 <= %3)").arg(s, k, clave)
               : QStringLiteral("(%1 IS NULL OR %1 < %4 OR (%1 = %4 AND %2 <= %3))").arg(s, k, clave, valor);
  return f.ordenNulo ? QStringLiteral("(%1 IS NOT NULL OR %2 >= %3)").arg(s, k, clave)
                     : QStringLiteral("(%1 > %4 OR (%1 = %4 AND %2 >= %3))").arg(s, k, clave, valor);
}

int ModeloPlanilla::Ancla() const {
  int ancla = static_cast<int>(filas_.size()) - 1;
  // A row deleted meanwhile has no place in the order any more (its value is
  // read by its code): the next read goes on from the last one still there.
  if (orden_ != clave_)
    while (ancla >= 0 && !Existe(filas_[ancla].clave)) --ancla;
  return ancla;
}

bool ModeloPlanilla::Existe(const QString& clave) const {
  ado::Recordset rs;
  rs.Open(DB_Dll::Instancia().SS_TSinonimos(QStringLiteral("SELECT %1 FROM %2 WHERE %1 = %3")
                                                .arg(columnas_[clave_].nombre, tabla_, Literal(clave))),
          conexion_, ado::adOpenForwardOnly, ado::adLockReadOnly);
  return !rs.Eof();
}

int ModeloPlanilla::Agregar(const QString& donde, int tope) {
  QStringList nombres;
  for (const ColumnaPlanilla& c : columnas_) nombres << c.nombre;
  QString sql = QStringLiteral("SELECT ");
  if (tope > 0) sql += QStringLiteral("TOP %1 ").arg(tope);
  sql += nombres.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + tabla_;
  if (!donde.isEmpty()) sql += QStringLiteral(" WHERE ") + donde;
  sql += QStringLiteral(" ORDER BY ") + OrdenSql();
  ado::Recordset rs;
  rs.Open(DB_Dll::Instancia().SS_TSinonimos(sql), conexion_, ado::adOpenForwardOnly, ado::adLockReadOnly);
  ++lecturas_;
  const QVector<QVector<ado::Value>> datos = rs.Eof() ? QVector<QVector<ado::Value>>() : rs.GetRows();
  rs.Close();
  const int leidas = datos.isEmpty() ? 0 : static_cast<int>(datos[0].size());
  if (tope > 0 && leidas < tope) completa_ = true;
  if (leidas == 0) return 0;
  QVector<FilaPlanilla> nuevas(leidas);
  for (int r = 0; r < leidas; ++r) {
    FilaPlanilla& f = nuevas[r];
    f.textos.reserve(columnas_.size());
    for (int c = 0; c < columnas_.size(); ++c) f.textos << TextoDe(datos[c][r], columnas_[c]);
    f.clave = datos[clave_][r].toString();
    f.ordenNulo = ado::IsNull(datos[orden_][r]);
  }
  const int desde = static_cast<int>(filas_.size());
  beginInsertRows({}, desde, desde + leidas - 1);
  filas_ += nuevas;
  endInsertRows();
  return leidas;
}
