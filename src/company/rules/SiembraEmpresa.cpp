#include "company/rules/SiembraEmpresa.h"

#include <algorithm>

#include "company/rules/CompletitudEmpresa.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Utilidades.h"

namespace {

// Keeps other connections from numbering booklets of the table until this
// transaction ends; the maximum read after it is then the last one taken.
QString SentenciaBloqueo(ado::Dialect motor, const QString& tabla) {
  switch (motor) {
    case ado::Dialect::Postgres:
      return QStringLiteral("LOCK TABLE ") + tabla + QStringLiteral(" IN SHARE ROW EXCLUSIVE MODE");
    case ado::Dialect::Oracle:
      return QStringLiteral("LOCK TABLE ") + tabla + QStringLiteral(" IN EXCLUSIVE MODE");
    case ado::Dialect::Sqlite:
      // A write that touches no row takes the database's write lock.
      return QStringLiteral("DELETE FROM ") + tabla + QStringLiteral(" WHERE 1 = 0");
    default:
      return QStringLiteral("SELECT COUNT(*) FROM ") + tabla +
             QStringLiteral(" WITH (TABLOCKX, HOLDLOCK) WHERE 1 = 0");
  }
}

}  // namespace

SentenciasSiembra SentenciasDe(TablaPorEmpresa tabla, const QString& codigo15, const QString& codigo4) {
  const QString empresa = DuplicarApostrofes(codigo15) + QLatin1Char('\'');
  const QString talonario = DuplicarApostrofes(codigo4) + QLatin1Char('\'');
  switch (tabla) {
    case TablaPorEmpresa::TiposComprobante:
      return {
          QStringLiteral("SELECT * FROM V_TA_CPTE WHERE EMPRESA = '") + empresa,
          QStringLiteral("SELECT * FROM V_TA_CPTE WHERE EMPRESA = ''"),
          QStringLiteral("select MAX(TALONARIO) AS Talonario from v_ta_cpte where codigo = '") + talonario,
          QStringLiteral("Codigo"), QStringLiteral("V_TA_CPTE")};
    case TablaPorEmpresa::Comprobantes:
      return {QStringLiteral("SELECT * FROM TA_COMPROBANTES WHERE EMPRESA = '") + empresa,
              QStringLiteral("SELECT * FROM TA_COMPROBANTES  WHERE EMPRESA = ''"),
              QStringLiteral("select MAX(TALONARIO) AS Talonario from TA_COMPROBANTES where codigo = '") +
                  talonario,
              QStringLiteral("Codigo"), QStringLiteral("TA_COMPROBANTES")};
    case TablaPorEmpresa::Ejercicios:
      return {QStringLiteral("SELECT * FROM MV_EJERCICIOS WHERE EMPRESA = '") + empresa,
              QStringLiteral("SELECT * FROM MV_EJERCICIOS WHERE EMPRESA = ''"), QString(),
              QStringLiteral("PERIODO"), QStringLiteral("MV_EJERCICIOS")};
  }
  return {};
}

namespace {

bool EsTexto(int tipo) {
  switch (tipo) {
    case ado::adBSTR:
    case ado::adChar:
    case ado::adWChar:
    case ado::adVarChar:
    case ado::adLongVarChar:
    case ado::adVarWChar:
    case ado::adLongVarWChar:
      return true;
    default:
      return false;
  }
}

// A voucher code or period as the copy compares them (see Clave).
QString ClaveSql(const QString& alias, const QString& columna, bool texto) {
  const QString c = alias + QLatin1Char('.') + columna;
  return texto ? QStringLiteral("UPPER(LTRIM(RTRIM(") + c + QStringLiteral(")))") : c;
}

}  // namespace

bool PlanSiembra::Numera() const {
  return numerada && !claves.isEmpty() && columnas.contains(QStringLiteral("Talonario"), Qt::CaseInsensitive);
}

PlanSiembra PlanearSiembra(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra,
                           ado::ConnectionPtr cnn) {
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);
  const bool numerada = !base.maximoTalonario.isEmpty();
  PlanSiembra plan;
  plan.numerada = numerada;
  // The empty code is the templates' own: the suite's company has no copies.
  if (codigo15.trimmed().isEmpty()) return plan;
  auto& util = Utilidades::Compartido();
  // Keys as the copy compares them (see ClaveSql).
  const auto clave = [&](const ado::Value& v) {
    const QString t = util.NuloATexto(v).trimmed();
    return plan.claveEsTexto ? t.toUpper() : t;
  };
  QStringList plantillas, propias;
  LeerConsulta(QStringLiteral("SELECT * FROM ") + base.tabla +
                   QStringLiteral(" WHERE EMPRESA = '' OR EMPRESA = '") + DuplicarApostrofes(codigo15) +
                   QLatin1Char('\''),
               cnn, [&](ado::Recordset& rs) {
                 if (plan.columnas.isEmpty())
                   for (int i = 0; i < rs.FieldCount(); ++i) {
                     ado::Field& f = rs.Fields(i);
                     plan.columnas << f.Name();
                     if (f.Name().compare(base.clave, Qt::CaseInsensitive) == 0)
                       plan.claveEsTexto = EsTexto(f.Type());
                   }
                 const ado::Value k = rs.Fields(base.clave).GetValue();
                 if (!util.NuloATexto(rs.Fields(QStringLiteral("EMPRESA")).GetValue()).trimmed().isEmpty()) {
                   propias << clave(k);
                   return;
                 }
                 plantillas << clave(k);
                 if (!numerada) return;
                 const QString codigo = util.NuloATexto(k);
                 const QString alineado = util.AlinearDerecha(codigo, 4);
                 if (codigo != alineado && !plan.codigos.contains(codigo)) {
                   plan.codigos << codigo;
                   plan.alineados << alineado;
                 }
               });
  if (siembra == Siembra::SinFilas && !propias.isEmpty()) return plan;
  for (const QString& k : plantillas)
    if (siembra == Siembra::SinFilas || (!propias.contains(k) && !plan.claves.contains(k))) plan.claves << k;
  std::sort(plan.claves.begin(), plan.claves.end());
  return plan;
}

QString SentenciaCopia(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra,
                       const PlanSiembra& plan) {
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);
  const bool numera = !base.maximoTalonario.isEmpty();
  const QString empresa = QLatin1Char('\'') + DuplicarApostrofes(codigo15) + QLatin1Char('\'');
  // A voucher code right-aligned to 4, as the suite stores it: a plain column
  // while every template is stored so, so that the index on (Codigo, Talonario)
  // answers the greatest number; the copies of a template written otherwise
  // keep its spelling, and count with the others of their code.
  const auto codigo4 = [&](const QString& alias) {
    const QString columna = alias + QStringLiteral(".Codigo");
    if (plan.codigos.isEmpty()) return columna;
    QString caso = QStringLiteral("CASE ") + columna;
    for (int i = 0; i < plan.codigos.size(); ++i)
      caso += QStringLiteral(" WHEN '") + DuplicarApostrofes(plan.codigos[i]) + QStringLiteral("' THEN '") +
              DuplicarApostrofes(plan.alineados[i]) + QLatin1Char('\'');
    return caso + QStringLiteral(" ELSE ") + columna + QStringLiteral(" END");
  };
  QStringList valores;
  for (const QString& c : plan.columnas) {
    if (c.compare(QStringLiteral("Empresa"), Qt::CaseInsensitive) == 0) {
      valores << empresa;
    } else if (numera && c.compare(QStringLiteral("Talonario"), Qt::CaseInsensitive) == 0) {
      valores << QStringLiteral("(SELECT COALESCE(MAX(m.TALONARIO), 0) FROM ") + base.tabla +
                     QStringLiteral(" m WHERE ") + codigo4(QStringLiteral("m")) + QStringLiteral(" = ") +
                     codigo4(QStringLiteral("t")) + QStringLiteral(") + ROW_NUMBER() OVER (PARTITION BY ") +
                     codigo4(QStringLiteral("t")) + QStringLiteral(" ORDER BY t.Codigo)");
    } else {
      valores << QStringLiteral("t.") + c;
    }
  }
  const QString clave = base.clave;
  QString sql = QStringLiteral("INSERT INTO ") + base.tabla + QStringLiteral(" (") +
                plan.columnas.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") +
                valores.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + base.tabla +
                QStringLiteral(" t WHERE t.EMPRESA = '' AND NOT EXISTS (SELECT 1 FROM ") + base.tabla +
                QStringLiteral(" p WHERE p.EMPRESA = ") + empresa;
  if (siembra == Siembra::SinFilas) return sql + QLatin1Char(')');
  sql += QStringLiteral(" AND ") + ClaveSql(QStringLiteral("p"), clave, plan.claveEsTexto) +
         QStringLiteral(" = ") + ClaveSql(QStringLiteral("t"), clave, plan.claveEsTexto) + QLatin1Char(')');
  // A template repeated by mistake (the same code written another way) is still copied once.
  if (plan.claveEsTexto)
    sql += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + base.tabla +
           QStringLiteral(" d WHERE d.EMPRESA = '' AND ") + ClaveSql(QStringLiteral("d"), clave, true) +
           QStringLiteral(" = ") + ClaveSql(QStringLiteral("t"), clave, true) + QStringLiteral(" AND d.") +
           clave + QStringLiteral(" < t.") + clave + QLatin1Char(')');
  return sql;
}

int SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15, Siembra siembra, ado::ConnectionPtr cnn) {
  auto& db = DB_Dll::Instancia();
  if (!cnn) cnn = db.gCnn();
  const PlanSiembra plan = PlanearSiembra(tabla, codigo15, siembra, cnn);
  if (plan.claves.isEmpty()) return 0;
  const QString copia = db.SS_TSinonimos(SentenciaCopia(tabla, codigo15, siembra, plan));
  if (plan.Numera()) {
    const QString bloqueo =
        db.SS_TSinonimos(SentenciaBloqueo(cnn->GetDialect(), SentenciasDe(tabla, codigo15).tabla));
    // PostgreSQL takes both in one exchange.
    if (cnn->GetDialect() == ado::Dialect::Postgres) {
      cnn->Execute(bloqueo + QStringLiteral("; ") + copia);
      return static_cast<int>(plan.claves.size());
    }
    cnn->Execute(bloqueo);
  }
  cnn->Execute(copia);
  return static_cast<int>(plan.claves.size());
}
