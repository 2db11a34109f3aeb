#include "company/SiembraEmpresa.h"

#include <QSet>

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

// Voucher codes and periods compare as the suite's server does: blanks
// around and letter case do not count.
QString Clave(const ado::Value& v) { return Utilidades::Compartido().NuloATexto(v).trimmed().toUpper(); }

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

void SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15, ado::ConnectionPtr cnn) {
  auto& db = DB_Dll::Instancia();
  auto& util = Utilidades::Compartido();
  if (!cnn) cnn = db.gCnn();
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);
  const bool numera = !base.maximoTalonario.isEmpty();

  ado::Recordset propias;
  QString sql = base.filasEmpresa;
  db.AbrirRecordset(sql, propias, cnn, ado::adOpenDynamic, ado::adLockOptimistic, ado::adOptionUnspecified,
                    true);
  QSet<QString> tiene;
  if (!propias.Bof())
    for (propias.MoveFirst(); !propias.Eof(); propias.MoveNext())
      tiene.insert(Clave(propias.Fields(base.clave).GetValue()));

  ado::Recordset plantillas;
  sql = base.plantillas;
  db.AbrirRecordset(sql, plantillas, cnn, ado::adOpenForwardOnly, ado::adLockReadOnly,
                    ado::adOptionUnspecified, true);
  if (plantillas.Bof()) {
    db.CierraRecordset(plantillas);
    db.CierraRecordset(propias);
    return;
  }
  bool bloqueada = false;
  plantillas.MoveFirst();
  for (; !plantillas.Eof(); plantillas.MoveNext()) {
    const QString clave = Clave(plantillas.Fields(base.clave).GetValue());
    if (tiene.contains(clave)) continue;
    if (numera && !bloqueada) {
      cnn->Execute(db.SS_TSinonimos(SentenciaBloqueo(cnn->GetDialect(), base.tabla)));
      bloqueada = true;
    }
    propias.AddNew();
    for (int i = 0; i < propias.FieldCount(); ++i) {
      ado::Field& destino = propias.Fields(i);
      const QString nombre = destino.Name();
      if (numera && nombre.compare(QStringLiteral("Talonario"), Qt::CaseInsensitive) == 0) {
        const QString codigo4 =
            util.AlinearDerecha(util.NuloATexto(plantillas.Fields(QStringLiteral("Codigo")).GetValue()), 4);
        ado::Recordset maximo;
        QString q = SentenciasDe(tabla, codigo15, codigo4).maximoTalonario;
        db.AbrirRecordset(q, maximo, cnn, ado::adOpenForwardOnly, ado::adLockReadOnly,
                          ado::adOptionUnspecified, true);
        if (maximo.Bof()) {
          destino.SetValue(QStringLiteral("0"));
        } else {
          // A voucher code without any booklet number yet starts at 1.
          const double mayor = util.ValorPuntoOComa(maximo.Fields(QStringLiteral("talonario")).GetValue());
          destino.SetValue(mayor + 1);
        }
        db.CierraRecordset(maximo);
      } else {
        destino.SetValue(plantillas.Fields(i).GetValue());
      }
    }
    propias.Fields(QStringLiteral("Empresa")).SetValue(codigo15);
    propias.Update();
    tiene.insert(clave);  // a template repeated by mistake is still copied once
  }
  db.CierraRecordset(plantillas);
  db.CierraRecordset(propias);
}
