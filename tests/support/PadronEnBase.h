#pragma once
// AFIP's register as its import leaves it in a database, written by a test
// through the program's own client, in the SQL Server dialect the program
// writes. Header-only, as the connection's layer is the program's.
#include <QString>
#include <vector>

#include "platform/client/Connection.h"

struct FilaPadron {
  const char* cuit;  // 11 digits
  const char* denominacion;
  const char* iva;
  const char* monotributo = "NI";
};

// `fecha` is the register's date as yyyymmdd.
inline void CrearPadron(ado::Connection& cnn, const std::vector<FilaPadron>& filas,
                        const char* fecha = "20260905") {
  cnn.Execute(QStringLiteral(
      "CREATE TABLE MA_PADRON_AFIP (CUIT bigint NOT NULL PRIMARY KEY, DENOMINACION varchar(30) NOT NULL, "
      "GANANCIAS char(2), IVA char(2), MONOTRIBUTO char(2), SOCIEDAD char(1), EMPLEADOR char(1), "
      "ACTIVIDAD char(2))"));
  cnn.Execute(QStringLiteral(
      "CREATE TABLE MA_PADRON_AFIP_DATOS (FECHA_PADRON datetime, LINEAS int, MAL_FORMADAS int, "
      "IMPORTADO datetime)"));
  for (const FilaPadron& f : filas)
    cnn.Execute(
        QStringLiteral("INSERT INTO MA_PADRON_AFIP VALUES (%1, '%2', 'AC', '%3', '%4', 'N', 'S', '00')")
            .arg(QString::fromLatin1(f.cuit), QString::fromUtf8(f.denominacion).replace("'", "''"),
                 QString::fromLatin1(f.iva), QString::fromLatin1(f.monotributo)));
  cnn.Execute(QStringLiteral("INSERT INTO MA_PADRON_AFIP_DATOS VALUES ('%1', %2, 0, GETDATE())")
                  .arg(QString::fromLatin1(fecha))
                  .arg(filas.size()));
}
