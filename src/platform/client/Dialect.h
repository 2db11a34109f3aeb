#pragma once

namespace ado {

// The engine at the other end of a connection.
enum class Dialect { Unknown, SqlServer, Sqlite, Postgres, Oracle };

}  // namespace ado
