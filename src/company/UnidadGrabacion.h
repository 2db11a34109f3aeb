#pragma once
// A save stored as one unit: one transaction around all its steps, and a
// savepoint around each step, so that a failure never leaves part of it.
// The trap's answers keep their meaning inside the unit: 4 undoes what the
// failed step did and runs it again, 5 undoes it and goes on without it,
// any other answer rolls back the whole unit. A failure to begin or to
// commit is retried with 4 and rolls everything back otherwise. A connection
// lost in the middle takes the transaction with it: nothing is asked, the
// unit is ended and the failure is thrown on as a lost connection, for the
// action around it to run again.
#include <QString>
#include <vector>

#include "platform/client/Connection.h"
#include "platform/services/Trampa.h"

// `tabla` is one the unit writes: on SQLite the unit takes the database's
// write lock on it as it starts, so that it waits for another connection's
// save instead of failing half-way. The handler gets the index in `pasos`
// (its size for the commit).
trampa::Resultado EjecutarEnUnaTransaccion(ado::Connection& cnn, const QString& tabla,
                                           const std::vector<trampa::Paso>& pasos,
                                           const trampa::Manejador& manejador);
