#include "company/UnidadGrabacion.h"

namespace {

// No savepoint is released: it ends with its transaction, and releasing it
// would only cost one more exchange with the server per step. Each has its own
// name, so that going back to one that never reached the server fails instead
// of going back to an earlier step's.
QString Punto(int n) { return QStringLiteral("grabar_empresa_") + QString::number(n); }

}  // namespace

trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::Paso>& pasos,
                                           const trampa::Manejador& manejador) {
  const ado::Dialect motor = cnn.GetDialect();
  bool abierta = false;
  // The statements the connection had sent when the last savepoint was set:
  // while a step sends none, the next one still starts where that savepoint
  // stands, and needs no savepoint of its own.
  long marcado = -1;
  int puntos = 0;
  QString punto;  // the last savepoint set
  std::vector<trampa::Paso> unidad;
  unidad.reserve(pasos.size() + 2);
  unidad.push_back([&] {
    if (!abierta) {
      cnn.BeginTrans();
      abierta = true;
    }
    // A write that touches no row: SQLite grants the write lock now, waiting
    // for another writer, rather than refusing it after this unit has read.
    if (motor == ado::Dialect::Sqlite) cnn.Execute(QStringLiteral("DELETE FROM ") + tabla + " WHERE 1 = 0");
  });
  for (const trampa::Paso& paso : pasos) {
    unidad.push_back([&cnn, &paso, &marcado, &puntos, &punto] {
      if (marcado != cnn.StatementsSent() || punto.isEmpty()) {
        punto = Punto(++puntos);
        cnn.Savepoint(punto);
        marcado = cnn.StatementsSent();
      }
      try {
        paso();
      } catch (...) {
        // What the step did goes, whatever the operator answers; a connection
        // that cannot even do that fails the unit at its commit.
        marcado = -1;
        trampa::IgnorarErrores({[&] { cnn.RollbackToSavepoint(punto); }});
        throw;
      }
    });
  }
  unidad.push_back([&] {
    cnn.CommitTrans();
    abierta = false;
  });

  const std::size_t ultimo = unidad.size() - 1;
  trampa::Resultado r = trampa::Resultado::Abandonado;
  try {
    r = trampa::Ejecutar(unidad, [&](const ado::ErrorInfo& e, std::size_t i) {
      const bool borde = i == 0 || i == ultimo;
      const int respuesta = manejador(e, i == 0 ? 0 : i - 1);
      // Going on without the transaction's beginning or end would store
      // outside the unit, or nothing at all while reporting success.
      if (borde && respuesta != trampa::Reintentar) return 0;
      return respuesta;
    });
  } catch (const ado::Failure& f) {
    if (f.Kind() != ado::FailureKind::TransactionLost) throw;
    // The server dropped the transaction with the link; ending it here lets
    // the connection reopen, and the unit is passed on as a lost connection.
    if (abierta) trampa::IgnorarErrores({[&] { cnn.RollbackTrans(); }});
    ado::ErrorInfo perdida = f.Info();
    perdida.Kind = ado::FailureKind::ConnectionLost;
    throw ado::Failure(perdida);
  }
  if (r == trampa::Resultado::Completo) return r;
  if (abierta) trampa::IgnorarErrores({[&] { cnn.RollbackTrans(); }});
  return r;
}
