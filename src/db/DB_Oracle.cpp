// The Oracle hand-off: statements go to the translation rules and scripts to
// the script runner, both written for SQL Server text.
#include "db/DB_Dll.h"
#include "db/GuionOracle.h"
#include "db/TraduccionOracle.h"
#include "platform/services/Utilidades.h"

QString DB_Dll::ORACLE_Dicc(const QString& Valor) {
  if (!gConnString.contains(QLatin1String("ORACLE"), Qt::CaseInsensitive)) return Valor;
  return TraducirSentenciaOracle(Valor, Servicios().ContarPalabras(Valor));
}

QString DB_Dll::FiltraSentencia(QString& sentencia) const { return FiltrarSentencia(sentencia); }

namespace {

class EjecutorConexion : public EjecutorGuion {
 public:
  explicit EjecutorConexion(ado::Connection& c) : c_(c) {}
  void IniciarTransaccion() override { c_.BeginTrans(); }
  void ConfirmarTransaccion() override { c_.CommitTrans(); }
  void DeshacerTransaccion() override { c_.RollbackTrans(); }
  long Ejecutar(const QString& sentencia) override {
    long n = 0;
    c_.Execute(sentencia, &n, ado::adOptionUnspecified);
    return n;
  }

 private:
  ado::Connection& c_;
};

// An informational status the Oracle provider can leave after a script; not a failure.
constexpr long kAvisoOracle = 265929;

}  // namespace

QString DB_Dll::EjecutaScriptOracle(QString& script, long& RecordsAffected) {
  EjecutorConexion ejecutor(*gCnn());
  // Each statement is translated on its way through the connection.
  EjecutarGuionOracle(
      script, RecordsAffected, [](const QString& s) { return s; }, ejecutor);
  ado::ErrorCollection& errores = gCnn()->Errors();
  if (errores.Count() == 1 && errores[0].Number == kAvisoOracle) errores.Clear();
  return script;
}
