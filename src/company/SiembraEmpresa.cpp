#include "company/SiembraEmpresa.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Utilidades.h"

SentenciasSiembra SentenciasDe(TablaPorEmpresa tabla, const QString& codigo15, const QString& codigo4) {
  const QString empresa = DuplicarApostrofes(codigo15) + QLatin1Char('\'');
  const QString talonario = DuplicarApostrofes(codigo4) + QLatin1Char('\'');
  switch (tabla) {
    case TablaPorEmpresa::TiposComprobante:
      return {
          QStringLiteral("SELECT * FROM V_TA_CPTE WHERE EMPRESA = '") + empresa,
          QStringLiteral("SELECT * FROM V_TA_CPTE WHERE EMPRESA = ''"),
          QStringLiteral("select MAX(TALONARIO) AS Talonario from v_ta_cpte where codigo = '") + talonario};
    case TablaPorEmpresa::Comprobantes:
      return {QStringLiteral("SELECT * FROM TA_COMPROBANTES WHERE EMPRESA = '") + empresa,
              QStringLiteral("SELECT * FROM TA_COMPROBANTES  WHERE EMPRESA = ''"),
              QStringLiteral("select MAX(TALONARIO) AS Talonario from TA_COMPROBANTES where codigo = '") +
                  talonario};
    case TablaPorEmpresa::Ejercicios:
      return {QStringLiteral("SELECT * FROM MV_EJERCICIOS WHERE EMPRESA = '") + empresa,
              QStringLiteral("SELECT * FROM MV_EJERCICIOS WHERE EMPRESA = ''"), QString()};
  }
  return {};
}

void SembrarTabla(TablaPorEmpresa tabla, const QString& codigo15) {
  auto& db = DB_Dll::Instancia();
  auto& util = Utilidades::Compartido();
  const SentenciasSiembra base = SentenciasDe(tabla, codigo15);
  const bool numera = !base.maximoTalonario.isEmpty();

  ado::Recordset propias;
  QString sql = base.filasEmpresa;
  db.AbrirRecordset(sql, propias, db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic,
                    ado::adOptionUnspecified, true);
  if (!propias.Bof()) {
    db.CierraRecordset(propias);
    return;
  }
  ado::Recordset plantillas;
  sql = base.plantillas;
  db.AbrirRecordset(sql, plantillas, db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly,
                    ado::adOptionUnspecified, true);
  if (plantillas.Bof()) {
    db.CierraRecordset(plantillas);
    db.CierraRecordset(propias);
    return;
  }
  plantillas.MoveFirst();
  while (!plantillas.Eof()) {
    propias.AddNew();
    for (int i = 0; i < propias.FieldCount(); ++i) {
      ado::Field& destino = propias.Fields(i);
      const QString nombre = destino.Name();
      if (numera && nombre.compare(QStringLiteral("Talonario"), Qt::CaseInsensitive) == 0) {
        const QString codigo4 =
            util.AlinearDerecha(util.NuloATexto(plantillas.Fields(QStringLiteral("Codigo")).GetValue()), 4);
        ado::Recordset maximo;
        QString q = SentenciasDe(tabla, codigo15, codigo4).maximoTalonario;
        db.AbrirRecordset(q, maximo, db.gCnn(), ado::adOpenForwardOnly, ado::adLockReadOnly,
                          ado::adOptionUnspecified, true);
        if (maximo.Bof()) {
          destino.SetValue(QStringLiteral("0"));
        } else {
          // A voucher code without any booklet number yet starts at 1.
          const double mayor =
              util.ValorNumerico(util.NuloATexto(maximo.Fields(QStringLiteral("talonario")).GetValue()));
          destino.SetValue(mayor + 1);
        }
        db.CierraRecordset(maximo);
      } else {
        destino.SetValue(plantillas.Fields(i).GetValue());
      }
    }
    propias.Fields(QStringLiteral("Empresa")).SetValue(codigo15);
    propias.Update();
    plantillas.MoveNext();
  }
  db.CierraRecordset(plantillas);
  db.CierraRecordset(propias);
}
