#pragma once
// A save stored as one unit: one transaction around all its steps. On a
// failure the transaction is rolled back before the operator is asked, so
// that nothing stays locked while the box waits; then 4 runs the whole unit
// again from its beginning, 5 runs it again without the failed step where
// that step may be left out, any other answer leaves with nothing stored. A
// failure to begin or to commit cannot be left out. A connection lost in the
// middle takes the transaction with it: nothing is asked, the unit is ended
// and the failure is thrown on as a lost connection, for the action around
// it to run again.
#include <QString>
#include <vector>

#include "platform/client/Connection.h"
#include "platform/services/Trampa.h"

// `tabla` is one the unit writes: on SQLite the unit takes the database's
// write lock on it as it starts, so that it waits for another connection's
// save instead of failing half-way. The handler gets the index in `pasos`
// (its size for the commit, 0 for the beginning).
trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::PasoDeUnidad>& pasos,
                                           const trampa::ManejadorDeUnidad& manejador);
// Every step may be left out.
trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::Paso>& pasos,
                                           const trampa::Manejador& manejador);
