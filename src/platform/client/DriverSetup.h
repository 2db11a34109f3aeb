#pragma once
// What the ODBC set-up files say (odbc.ini, odbcinst.ini), and the PostgreSQL
// driver's own log files. Connections turn its logs off (see
// ConnectionString.h), but the driver writes its farewell line when a link
// ends ("PQfinish: ...") under its installation's setting, whatever the
// connection asked: installed with CommLog=1, every disconnect would leave a
// psqlodbc_<program>_<user><pid>.log in its log folder.
#include <QString>

namespace ado::odbc {

// Whether the data source `name` sets `key` itself in odbc.ini.
bool DataSourceSets(const QString& name, const QString& key);

// Removes this process's communication log in `folder` when all it holds is
// such farewell lines; a log with anything else in it was asked for and stays.
void RemoveFarewellLog(const QString& folder);

// The driver's log folder: its installation's "Logdir", else /tmp.
QString DriverLogFolder(const QString& driver);

}  // namespace ado::odbc
