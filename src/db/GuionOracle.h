#pragma once
// Running a SQL Server style script on Oracle: the script is normalised, cut
// into statements at their leading keywords, and each statement is translated
// and run, transaction statements going to the connection's transaction calls.
#include <QString>
#include <QStringList>
#include <functional>

// What the runner needs of a connection.
class EjecutorGuion {
 public:
  virtual ~EjecutorGuion() = default;
  virtual void IniciarTransaccion() = 0;
  virtual void ConfirmarTransaccion() = 0;
  virtual void DeshacerTransaccion() = 0;
  // Runs one statement and returns the count of affected rows.
  virtual long Ejecutar(const QString& sentencia) = 0;
};

// The keywords that start a statement, in the order they are looked for.
const QStringList& PalabrasInicioSentencia();

// "" for the statements Oracle cannot run ("SET NOCOUNT", "IF NOT EXIST");
// the caller's variable is emptied too.
QString FiltrarSentencia(QString& sentencia);

// Removes the batch separators and NOCOUNT settings and maps the transaction
// statements to SET TRANSACTION / COMMIT / ROLLBACK.
void NormalizarGuion(QString& guion);

// Runs the script statement by statement; `guion` is consumed (it keeps what
// could not be run, normally nothing) and `contador` grows by the affected
// rows. `traducir` turns each statement into Oracle syntax. Text before the
// first keyword starts no statement and is skipped.
void EjecutarGuionOracle(QString& guion, long& contador,
                         const std::function<QString(const QString&)>& traducir, EjecutorGuion& ejecutor);
