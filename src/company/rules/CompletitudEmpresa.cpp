#include "company/rules/CompletitudEmpresa.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/services/Utilidades.h"

namespace {

QString Literal(const QString& texto) {
  return QLatin1Char('\'') + DuplicarApostrofes(texto) + QLatin1Char('\'');
}

// Rows are read with the engine's own number types: whatever comes back
// counts as its integer value.
int Entero(const ado::Value& v) { return static_cast<int>(Utilidades::Compartido().ValorPuntoOComa(v)); }

ado::ConnectionPtr Conexion(ado::ConnectionPtr cnn) { return cnn ? cnn : DB_Dll::Instancia().gCnn(); }

int Indice(const ado::Value& v) {
  const int i = Entero(v);
  return i >= 0 && i < static_cast<int>(kTablasPorEmpresa.size()) ? i : 0;
}

}  // namespace

void LeerConsulta(const QString& sql, const ado::ConnectionPtr& cnn,
                  const std::function<void(ado::Recordset&)>& fila) {
  auto& db = DB_Dll::Instancia();
  const ado::ConnectionPtr conexion = Conexion(cnn);
  const QString sentencia = db.SS_TSinonimos(sql);
  ado::Recordset rs;
  rs.Open(sentencia, conexion, ado::adOpenForwardOnly, ado::adLockReadOnly);
  for (; !rs.Eof(); rs.MoveNext()) fila(rs);
  rs.Close();
}

QString TituloDe(TablaPorEmpresa tabla) {
  switch (tabla) {
    case TablaPorEmpresa::TiposComprobante:
      return QStringLiteral("Comprobantes");
    case TablaPorEmpresa::Comprobantes:
      return QStringLiteral("Talonarios");
    case TablaPorEmpresa::Ejercicios:
      return QStringLiteral("Ejercicios");
  }
  return {};
}

bool Completitud::Completa() const {
  for (const FilasDeTabla& t : tablas)
    if (t.Corta()) return false;
  return true;
}

QString Completitud::Texto() const {
  QStringList partes;
  for (std::size_t i = 0; i < tablas.size(); ++i)
    partes << QStringLiteral("%1 %2/%3")
                  .arg(TituloDe(kTablasPorEmpresa[i]))
                  .arg(tablas[i].tiene)
                  .arg(tablas[i].pide);
  return partes.join(QStringLiteral(" · "));
}

Completitud CompletitudDe(const QString& codigo15, ado::ConnectionPtr cnn) {
  // From the templates, each joined to the company's copy of it if there is one.
  QStringList partes;
  for (std::size_t i = 0; i < kTablasPorEmpresa.size(); ++i) {
    const SentenciasSiembra s = SentenciasDe(kTablasPorEmpresa[i], codigo15);
    partes << QStringLiteral(
                  "SELECT %1 AS Tabla, COUNT(*) AS Pide, COUNT(e.EMPRESA) AS Tiene FROM %2 t "
                  "LEFT JOIN %2 e ON e.EMPRESA = %3 AND e.%4 = t.%4 WHERE t.EMPRESA = ''")
                  .arg(i)
                  .arg(s.tabla, Literal(codigo15), s.clave);
  }
  Completitud c;
  LeerConsulta(partes.join(QStringLiteral(" UNION ALL ")), cnn, [&](ado::Recordset& rs) {
    FilasDeTabla& t = c.tablas[Indice(rs.Fields(QStringLiteral("Tabla")).GetValue())];
    t.pide = Entero(rs.Fields(QStringLiteral("Pide")).GetValue());
    t.tiene = Entero(rs.Fields(QStringLiteral("Tiene")).GetValue());
  });
  return c;
}

std::array<int, 3> PlantillasPorTabla(ado::ConnectionPtr cnn) {
  QStringList partes;
  for (std::size_t i = 0; i < kTablasPorEmpresa.size(); ++i)
    partes << QStringLiteral("SELECT %1 AS Tabla, COUNT(*) AS Pide FROM %2 WHERE EMPRESA = ''")
                  .arg(i)
                  .arg(SentenciasDe(kTablasPorEmpresa[i], QString()).tabla);
  std::array<int, 3> pide{};
  LeerConsulta(partes.join(QStringLiteral(" UNION ALL ")), cnn, [&](ado::Recordset& rs) {
    pide[Indice(rs.Fields(QStringLiteral("Tabla")).GetValue())] =
        Entero(rs.Fields(QStringLiteral("Pide")).GetValue());
  });
  return pide;
}

QHash<QString, std::array<int, 3>> FilasPorEmpresa(const QStringList& codigos15, ado::ConnectionPtr cnn) {
  QHash<QString, std::array<int, 3>> filas;
  if (codigos15.isEmpty()) return filas;
  QStringList literales;
  literales.reserve(codigos15.size());
  for (const QString& c : codigos15) literales << Literal(c);
  const QString lista = literales.join(QLatin1Char(','));
  QStringList partes;
  for (std::size_t i = 0; i < kTablasPorEmpresa.size(); ++i) {
    const SentenciasSiembra s = SentenciasDe(kTablasPorEmpresa[i], QString());
    partes << QStringLiteral(
                  "SELECT %1 AS Tabla, e.EMPRESA AS Empresa, COUNT(*) AS Tiene FROM %2 e "
                  "JOIN %2 t ON t.EMPRESA = '' AND t.%3 = e.%3 WHERE e.EMPRESA IN (%4) "
                  "GROUP BY e.EMPRESA")
                  .arg(i)
                  .arg(s.tabla, s.clave, lista);
  }
  auto& util = Utilidades::Compartido();
  LeerConsulta(partes.join(QStringLiteral(" UNION ALL ")), cnn, [&](ado::Recordset& rs) {
    const QString empresa = util.NuloATexto(rs.Fields(QStringLiteral("Empresa")).GetValue());
    filas[empresa][Indice(rs.Fields(QStringLiteral("Tabla")).GetValue())] =
        Entero(rs.Fields(QStringLiteral("Tiene")).GetValue());
  });
  return filas;
}
