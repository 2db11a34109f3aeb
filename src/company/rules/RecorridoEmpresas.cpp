#include "company/rules/RecorridoEmpresas.h"

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/core/Error.h"

void RecorridoEmpresas::Empezar(const QString& tabla, const QString& columnaClave) {
  activo_ = true;
  tabla_ = tabla;
  columna_ = columnaClave;
  lugar_ = Lugar::Fila;
  pendiente_ = Movimiento::Primero;
}

void RecorridoEmpresas::Olvidar() {
  activo_ = false;
  pendiente_.reset();
}

void RecorridoEmpresas::Mover(Movimiento m, ado::Recordset& rs) {
  const auto sinFila = [] {
    throw ado::Failure(ado::err::NoCurrentRecord, QStringLiteral("No hay registro actual."),
                       QStringLiteral("ADODB.Recordset"));
  };
  if (m == Movimiento::Primero || m == Movimiento::Ultimo) {
    lugar_ = Lugar::Fila;
    pendiente_ = m;
    return;
  }
  // Next and previous start from the company the last move reached.
  if (pendiente_) CargarActual(rs);
  const bool adelante = m == Movimiento::Siguiente;
  if (lugar_ == (adelante ? Lugar::Despues : Lugar::Antes)) sinFila();
  pendiente_ = lugar_ == Lugar::Fila ? m : adelante ? Movimiento::Primero : Movimiento::Ultimo;
  lugar_ = Lugar::Fila;
}

void RecorridoEmpresas::CargarActual(ado::Recordset& rs) {
  if (!activo_ || !pendiente_) return;
  // MIN and MAX of the key, with or without a bound, are one seek of its index
  // on every engine; TOP with ORDER BY is not (Oracle's ROWNUM comes first).
  const QString k = columna_;
  const QString desde = QStringLiteral("'") + DuplicarApostrofes(clave_) + QLatin1Char('\'');
  QString cual;
  switch (*pendiente_) {
    case Movimiento::Primero:
      cual = QStringLiteral("SELECT MIN(%1) FROM %2").arg(k, tabla_);
      break;
    case Movimiento::Ultimo:
      cual = QStringLiteral("SELECT MAX(%1) FROM %2").arg(k, tabla_);
      break;
    case Movimiento::Siguiente:
      cual = QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %1 > %3").arg(k, tabla_, desde);
      break;
    case Movimiento::Anterior:
      cual = QStringLiteral("SELECT MAX(%1) FROM %2 WHERE %1 < %3").arg(k, tabla_, desde);
      break;
  }
  auto& db = DB_Dll::Instancia();
  // One row by its key; said in the text, so that the client reads it, logo
  // included, in one exchange with the server.
  const QString sql = QStringLiteral("SELECT TOP 1 * FROM %1 WHERE %2 = (%3)").arg(tabla_, k, cual);
  rs.Open(db.SS_TSinonimos(sql), db.gCnn(), ado::adOpenDynamic, ado::adLockOptimistic);
  if (!rs.Eof()) {
    lugar_ = Lugar::Fila;
    clave_ = rs.Fields(columna_).GetValue().toString();
  } else {
    lugar_ = *pendiente_ == Movimiento::Anterior ? Lugar::Antes : Lugar::Despues;
  }
  pendiente_.reset();
}
