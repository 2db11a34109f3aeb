#include "platform/client/ErrorMapping.h"

#include "platform/core/Error.h"

namespace ado::errors {
namespace {

bool Has(const QString& text, const char* what) {
  return text.contains(QLatin1String(what), Qt::CaseInsensitive);
}

// Conversions the server refuses: text that is no number or no date. The
// extension and the schema's functions word them as the server does.
long ConversionNative(const QString& m) {
  if (Has(m, "Conversion failed when converting the varchar value")) return 245;
  if (Has(m, "Conversion failed when converting date and/or time")) return 241;
  if (Has(m, "Error converting data type varchar to numeric")) return 8114;
  if (Has(m, "is not a recognized datepart option")) return 155;
  return 0;
}

// SQLite reports everything as HY000 with its own result code (19 for every
// constraint); the kind is only in the message.
long SqliteNative(const DiagRecord& r) {
  const QString& m = r.message;
  if (const long n = ConversionNative(m)) return n;
  if (Has(m, "UNIQUE constraint failed") || Has(m, "PRIMARY KEY must be unique") || Has(m, "is not unique"))
    return native::DuplicateKey;
  if (Has(m, "NOT NULL constraint failed") || Has(m, "may not be NULL")) return native::NullNotAllowed;
  if (Has(m, "FOREIGN KEY constraint failed")) return 547;
  if (Has(m, "CHECK constraint failed") && (Has(m, "length(") || Has(m, "len("))) return native::Truncation;
  if (Has(m, "no such table") || Has(m, "no such view")) return native::MissingTable;
  if (Has(m, "no such column")) return 207;
  if (Has(m, "syntax error") || Has(m, "incomplete input") || Has(m, "unrecognized token"))
    return native::Syntax;
  if (r.native == 5 || r.native == 6 || Has(m, "database is locked") || Has(m, "database table is locked"))
    return kLockTimeout;
  return r.native;
}

long PostgresNative(const DiagRecord& r) {
  const QString s = r.sqlState.toUpper();
  if (const long n = ConversionNative(r.message)) return n;
  if (s == "22P02") return Has(r.message, "type integer") || Has(r.message, "type smallint") ? 245 : 8114;
  if (s == "22007" || s == "22008") return 241;
  if (s == "23505") return native::DuplicateKey;
  if (s == "23502") return native::NullNotAllowed;
  if (s == "23503") return 547;
  if (s == "22001") return native::Truncation;
  if (s == "42P01") return native::MissingTable;
  if (s == "42601") return native::Syntax;
  if (s == "42703") return 207;
  if (s == "55P03") return kLockTimeout;
  return r.native;
}

long NumberFor(const QString& sqlState, long sqlServerNative) {
  switch (sqlServerNative) {
    case native::DuplicateKey:
    case native::NullNotAllowed:
    case 547:
      return err::IntegrityViolation;
    case native::MissingTable:
      return err::TableMissing;
    case native::Syntax:
    case 155:
    case 207:
      return err::CommandText;
    default:
      break;
  }
  const QString s = sqlState.toUpper();
  if (s.startsWith("23")) return err::IntegrityViolation;
  if (s == "42S02" || s == "42P01" || s == "S0002") return err::TableMissing;
  if (s.startsWith("42") || s == "37000" || s.startsWith("S00")) return err::CommandText;
  return err::Unspecified;
}

}  // namespace

bool IsConnectionLost(const DiagRecord& r) {
  static const char* const kStates[] = {"08S01", "08003", "08006", "08007", "08001", "57P01", "57P02"};
  for (const char* s : kStates)
    if (r.sqlState.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
  // Drivers that report the broken link under a general state say so in
  // words; under any other state the words are the statement's own.
  if (!r.sqlState.isEmpty() && !r.sqlState.startsWith(QLatin1String("HY"), Qt::CaseInsensitive)) return false;
  static const char* const kTexts[] = {"server closed the connection unexpectedly",
                                       "no connection to the server",
                                       "could not send data to server",
                                       "could not receive data from server",
                                       "connection to server was lost",
                                       "terminating connection due to administrator command",
                                       "communication link failure"};
  for (const char* t : kTexts)
    if (Has(r.message, t)) return true;
  return false;
}

ProviderError Normalise(Dialect dialect, const DiagRecord& record, const QString& source) {
  ProviderError e;
  e.SQLState = record.sqlState;
  e.Description = record.message;
  e.Source = source;
  switch (dialect) {
    case Dialect::Sqlite:
      e.NativeError = SqliteNative(record);
      break;
    case Dialect::Postgres:
      e.NativeError = PostgresNative(record);
      break;
    default:
      e.NativeError = record.native;
      break;
  }
  // The number follows the normalised native number where there is one, so
  // SQL Server and the other engines agree; SQL Server's other numbers go by SQLSTATE.
  const bool normalised =
      dialect == Dialect::Sqlite || dialect == Dialect::Postgres || dialect == Dialect::SqlServer;
  e.Number = NumberFor(record.sqlState, normalised ? e.NativeError : 0);
  // SQLite's other constraints (CHECK) are integrity violations too.
  if (dialect == Dialect::Sqlite && record.native == 19 && e.Number == err::Unspecified &&
      e.NativeError != native::Truncation)
    e.Number = err::IntegrityViolation;
  if (e.NativeError == kLockTimeout) {
    e.Description = QStringLiteral(
                        "Otro usuario tiene bloqueados estos datos y no los liberó en el tiempo de espera. "
                        "Reintente para esperar de nuevo. (%1)")
                        .arg(record.message);
  }
  return e;
}

ProviderError Truncation(const QString& column, const QString& source) {
  ProviderError e;
  e.Number = err::Unspecified;
  e.SQLState = QStringLiteral("22001");
  e.NativeError = native::Truncation;
  e.Description = QStringLiteral("Los datos de cadena o binarios se truncarían. (columna %1)").arg(column);
  e.Source = source;
  return e;
}

}  // namespace ado::errors
