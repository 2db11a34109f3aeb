#include "lookup/FiltrosConsulta.h"

#include "lookup/TextosConsulta.h"

namespace filtros {
namespace {

// Splits off the ORDER BY tail when the statement has one.
void SepararOrden(const QString& sql, EstadoFiltro& estado) {
  estado.ParteOrden.clear();
  if (!sql.contains(QLatin1String("order"), Qt::CaseInsensitive)) return;
  const int p = static_cast<int>(sql.indexOf(QLatin1String("order by"), 0, Qt::CaseInsensitive));
  if (p < 0) return;
  estado.ParteOrden = sql.mid(p);
  estado.SentenciaBase = sql.left(p);
}

QString Union(const QString& sql) {
  return sql.contains(QLatin1String("where"), Qt::CaseInsensitive) ? QStringLiteral(" and ")
                                                                   : QStringLiteral(" where ");
}

}  // namespace

QString TablaDeConsulta(const QString& sql) {
  const int p = static_cast<int>(sql.indexOf(QLatin1String("from"), 0, Qt::CaseInsensitive));
  if (p < 0) return QString();
  const int desde = p + 5;
  const int blanco = static_cast<int>(sql.indexOf(QLatin1Char(' '), desde));
  return (blanco < 0 ? sql.mid(desde) : sql.mid(desde, blanco - desde)).trimmed();
}

QString FiltrarLista(const QString& sql, const QString& campo, const QString& texto, Busqueda modo,
                     EstadoFiltro& estado) {
  SepararOrden(sql, estado);
  QString prefijo;
  if (estado.SentenciaBase.contains(QLatin1String("stk_ma_articulos."), Qt::CaseInsensitive))
    prefijo = QStringLiteral("stk_ma_articulos.");
  if (estado.SentenciaBase.contains(QLatin1String("v_ma_articulos."), Qt::CaseInsensitive))
    prefijo = QStringLiteral("v_ma_articulos.");
  const QString patron = modo == Busqueda::Contiene
                             ? QStringLiteral("'%") + textos::Literal(texto) + QStringLiteral("%' ")
                             : QStringLiteral("'") + textos::Literal(texto) + QStringLiteral("%' ");
  return estado.SentenciaBase + Union(sql) + prefijo + campo + QStringLiteral(" like ") + patron +
         estado.ParteOrden;
}

QString FiltrarArbol(const QString& sql, const QString& texto, EstadoFiltro& estado) {
  estado.SentenciaBase = sql;
  SepararOrden(sql, estado);
  return estado.SentenciaBase + Union(sql) + QStringLiteral("Descripcion like '%") + textos::Literal(texto) +
         QStringLiteral("%' ") + estado.ParteOrden;
}

QString SentenciaFaltante(const QString& fechaHora, const QString& idAlineado, const QString& descripcion,
                          const QString& usuario) {
  return QStringLiteral("INSERT INTO V_MV_FALTANTES (FechaHora,IdArticulo,Descripcion,Usuario) values('") +
         textos::Literal(fechaHora) + QStringLiteral("','") + textos::Literal(idAlineado) +
         QStringLiteral("','") + textos::Literal(descripcion.trimmed()) + QStringLiteral("','") +
         textos::Literal(usuario) + QStringLiteral("')");
}

}  // namespace filtros
