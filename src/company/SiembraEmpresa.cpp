#include "company/SiembraEmpresa.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"

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

QString SentenciaCopia(TablaPorEmpresa tabla, const QString& codigo15, const QStringList& columnas,
                       bool claveEsTexto) {
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);
  const bool numera = !base.maximoTalonario.isEmpty();
  const QString empresa = QLatin1Char('\'') + DuplicarApostrofes(codigo15) + QLatin1Char('\'');
  QStringList valores;
  for (const QString& c : columnas) {
    if (c.compare(QStringLiteral("Empresa"), Qt::CaseInsensitive) == 0) {
      valores << empresa;
    } else if (numera && c.compare(QStringLiteral("Talonario"), Qt::CaseInsensitive) == 0) {
      // The next free booklet number of the voucher code over every company, templates
      // included: the code right-aligned to 4, as the suite stores it, so that the
      // index on (Codigo, Talonario) answers it whatever the number of companies.
      valores << QStringLiteral("(SELECT COALESCE(MAX(m.TALONARIO), 0) + 1 FROM ") + base.tabla +
                     QStringLiteral(" m WHERE m.Codigo = RIGHT('    ' + LTRIM(RTRIM(t.Codigo)), 4))");
    } else {
      valores << QStringLiteral("t.") + c;
    }
  }
  const QString clave = base.clave;
  QString sql = QStringLiteral("INSERT INTO ") + base.tabla + QStringLiteral(" (") +
                columnas.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") +
                valores.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + base.tabla +
                QStringLiteral(" t WHERE t.EMPRESA = '' AND NOT EXISTS (SELECT 1 FROM ") + base.tabla +
                QStringLiteral(" p WHERE p.EMPRESA = ") + empresa + QStringLiteral(" AND ") +
                ClaveSql(QStringLiteral("p"), clave, claveEsTexto) + QStringLiteral(" = ") +
                ClaveSql(QStringLiteral("t"), clave, claveEsTexto) + QLatin1Char(')');
  // A template repeated by mistake (the same code written another way) is still copied once.
  if (claveEsTexto)
    sql += QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM ") + base.tabla +
           QStringLiteral(" d WHERE d.EMPRESA = '' AND ") + ClaveSql(QStringLiteral("d"), clave, true) +
           QStringLiteral(" = ") + ClaveSql(QStringLiteral("t"), clave, true) + QStringLiteral(" AND d.") +
           clave + QStringLiteral(" < t.") + clave + QLatin1Char(')');
  return sql;
}

void SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15, ado::ConnectionPtr cnn) {
  auto& db = DB_Dll::Instancia();
  if (!cnn) cnn = db.gCnn();
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);

  // The table's columns, in its order, so that every one is copied.
  ado::Recordset forma;
  QString sql = QStringLiteral("SELECT * FROM ") + base.tabla + QStringLiteral(" WHERE 1 = 0");
  db.AbrirRecordset(sql, forma, cnn, ado::adOpenForwardOnly, ado::adLockReadOnly, ado::adOptionUnspecified,
                    true);
  if (forma.State() == ado::adStateClosed) return;
  QStringList columnas;
  bool claveEsTexto = true;
  for (int i = 0; i < forma.FieldCount(); ++i) {
    ado::Field& f = forma.Fields(i);
    columnas << f.Name();
    if (f.Name().compare(base.clave, Qt::CaseInsensitive) == 0) claveEsTexto = EsTexto(f.Type());
  }
  db.CierraRecordset(forma);

  // Every missing template row in one statement, numbered under the lock.
  QString copia = db.SS_TSinonimos(SentenciaCopia(tabla, codigo15, columnas, claveEsTexto));
  if (cnn->GetDialect() == ado::Dialect::Oracle) copia = db.ORACLE_Dicc(copia);
  if (!base.maximoTalonario.isEmpty()) {
    const QString bloqueo = db.SS_TSinonimos(SentenciaBloqueo(cnn->GetDialect(), base.tabla));
    // PostgreSQL takes both in one exchange.
    if (cnn->GetDialect() == ado::Dialect::Postgres) {
      cnn->Execute(bloqueo + QStringLiteral("; ") + copia);
      return;
    }
    cnn->Execute(bloqueo);
  }
  cnn->Execute(copia);
}
