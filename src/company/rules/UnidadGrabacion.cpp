#include "company/rules/UnidadGrabacion.h"

trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::PasoDeUnidad>& pasos,
                                           const trampa::ManejadorDeUnidad& manejador) {
  const ado::Dialect motor = cnn.GetDialect();
  bool abierta = false;
  std::vector<trampa::PasoDeUnidad> unidad;
  unidad.reserve(pasos.size() + 2);
  unidad.push_back({[&] {
                      cnn.BeginTrans();
                      abierta = true;
                      // A write that touches no row: SQLite grants the write lock now, waiting
                      // for another writer, rather than refusing it after this unit has read.
                      if (motor == ado::Dialect::Sqlite)
                        cnn.Execute(QStringLiteral("DELETE FROM ") + tabla + " WHERE 1 = 0");
                    },
                    trampa::Omision::Prohibida});
  unidad.insert(unidad.end(), pasos.begin(), pasos.end());
  unidad.push_back({[&] {
                      cnn.CommitTrans();
                      abierta = false;
                    },
                    trampa::Omision::Prohibida});
  const auto deshacer = [&] {
    if (!abierta) return;
    abierta = false;
    cnn.RollbackTrans();
  };
  try {
    return trampa::EjecutarUnidad(unidad, deshacer,
                                  [&](const ado::ErrorInfo& e, std::size_t i, trampa::Omision omision) {
                                    return manejador(e, i == 0 ? 0 : i - 1, omision);
                                  });
  } catch (const ado::Failure& f) {
    if (f.Kind() != ado::FailureKind::TransactionLost) throw;
    // The server dropped the transaction with the link (the unit ended it): the
    // unit is passed on as a lost connection, which reopens when next used.
    ado::ErrorInfo perdida = f.Info();
    perdida.Kind = ado::FailureKind::ConnectionLost;
    throw ado::Failure(perdida);
  }
}

trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::Paso>& pasos,
                                           const trampa::Manejador& manejador) {
  std::vector<trampa::PasoDeUnidad> unidad;
  unidad.reserve(pasos.size());
  for (const trampa::Paso& p : pasos) unidad.push_back({p});
  return EjecutarEnUnaTransaccion(
      cnn, tabla, unidad,
      [&](const ado::ErrorInfo& e, std::size_t i, trampa::Omision) { return manejador(e, i); });
}
