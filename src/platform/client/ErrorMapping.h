#pragma once
// How a driver's diagnostic record becomes the provider error the program
// tests: the model's error number chosen from the SQLSTATE (and, for SQLite,
// the message), and the native number normalised to SQL Server's. Pure.
#include <QString>

#include "platform/client/Connection.h"

namespace ado::errors {

// A raw diagnostic record as the driver reports it.
struct DiagRecord {
  QString sqlState;
  long native = 0;
  QString message;
};

// The provider error for one record: SQLState and Description are kept as the
// driver wrote them; Number is 0x80040E2F (integrity), 0x80040E37 (missing
// table), 0x80040E14 (command text) or 0x80004005; NativeError is SQL Server's
// number for the same failure (2627, 515, 8152, 208, 102, 207, 547, 1222) on
// SQLite and PostgreSQL, and the driver's own number elsewhere. A lock
// time-out gets a description the operator can act on, the driver's text after it.
ProviderError Normalise(Dialect dialect, const DiagRecord& record, const QString& source);

// Whether the record says the link to the server is gone: the connection
// cannot be used again until it is reopened. (08001 means that only on a
// connection that was open: at the first connect it is a refusal.)
bool IsConnectionLost(const DiagRecord& record);

// SQL Server's number for a lock wait that ran out of time; the other engines'
// lock time-outs are normalised to it.
constexpr long kLockTimeout = 1222;

// SQL Server's texts for failures the client itself detects before sending
// anything (the truncation of a value longer than its column on SQLite, which
// does not check lengths).
ProviderError Truncation(const QString& column, const QString& source);

}  // namespace ado::errors
