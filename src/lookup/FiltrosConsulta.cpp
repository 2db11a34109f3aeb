#include "lookup/FiltrosConsulta.h"

#include "db/TextoSql.h"
#include "lookup/TextosConsulta.h"

namespace filtros {
namespace {

bool Identificador(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Where a keyword of the statement itself stands, from `desde`: at the outer
// level, never inside a quoted literal (where the operator's earlier filters
// live), a subquery or a longer name.
int Palabra(const QString& sql, const QString& palabra, int desde = 0) {
  const QString m = MascaraLiterales(sql);
  const int largo = static_cast<int>(palabra.size());
  int nivel = 0;
  for (int i = 0; i < m.size(); ++i) {
    if (m.at(i) == QLatin1Char('('))
      ++nivel;
    else if (m.at(i) == QLatin1Char(')'))
      --nivel;
    if (nivel != 0 || i < desde) continue;
    if (QStringView(m).mid(i, largo).compare(palabra, Qt::CaseInsensitive) != 0) continue;
    if ((i == 0 || !Identificador(m.at(i - 1))) && (i + largo >= m.size() || !Identificador(m.at(i + largo))))
      return i;
  }
  return -1;
}

// Splits off the ORDER BY tail when the statement has one.
void SepararOrden(const QString& sql, EstadoFiltro& estado) {
  estado.ParteOrden.clear();
  const int p = Palabra(sql, QStringLiteral("order by"));
  if (p < 0) return;
  estado.ParteOrden = sql.mid(p);
  estado.SentenciaBase = sql.left(p);
}

// The base statement ready for one more condition: " and " after its own
// condition, which goes in parentheses when it has an OR of its own (else
// the filter would bind to its last branch only); " where " when it has none.
QString ConUnion(const QString& base) {
  const int w = Palabra(base, QStringLiteral("where"));
  if (w < 0) return base + QStringLiteral(" where ");
  const int desde = w + 5;
  if (Palabra(base, QStringLiteral("or"), desde) < 0) return base + QStringLiteral(" and ");
  // The line break keeps the parenthesis out of a trailing "--" comment.
  return base.left(desde) + QStringLiteral(" (") + base.mid(desde) + QStringLiteral("\n)  and ");
}

}  // namespace

QString TablaDeConsulta(const QString& sql) {
  const int p = Palabra(sql, QStringLiteral("from"));
  if (p < 0) return QString();
  int desde = p + 4;
  while (desde < sql.size() && sql.at(desde).isSpace()) ++desde;
  // A line break or a tab ends the name as a blank does.
  int fin = desde;
  while (fin < sql.size() && !sql.at(fin).isSpace()) ++fin;
  return sql.mid(desde, fin - desde);
}

QString FiltrarLista(const QString& sql, const QString& campo, const QString& texto, Busqueda modo,
                     EstadoFiltro& estado) {
  SepararOrden(sql, estado);
  QString prefijo;
  const QString base = MascaraLiterales(estado.SentenciaBase);
  if (base.contains(QLatin1String("stk_ma_articulos."), Qt::CaseInsensitive))
    prefijo = QStringLiteral("stk_ma_articulos.");
  if (base.contains(QLatin1String("v_ma_articulos."), Qt::CaseInsensitive))
    prefijo = QStringLiteral("v_ma_articulos.");
  const QString patron = modo == Busqueda::Contiene
                             ? QStringLiteral("'%") + textos::Literal(texto) + QStringLiteral("%' ")
                             : QStringLiteral("'") + textos::Literal(texto) + QStringLiteral("%' ");
  return ConUnion(estado.SentenciaBase) + prefijo + campo + QStringLiteral(" like ") + patron +
         estado.ParteOrden;
}

QString FiltrarArbol(const QString& sql, const QString& texto, EstadoFiltro& estado) {
  estado.SentenciaBase = sql;
  SepararOrden(sql, estado);
  return ConUnion(estado.SentenciaBase) + QStringLiteral("Descripcion like '%") + textos::Literal(texto) +
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
