#pragma once
// The one place where the result of every ODBC call is checked. A failing call
// has every diagnostic record read, normalised (ErrorMapping.h) and put into
// the connection's Errors collection, and becomes a Failure exception carrying
// the first record's number, description and source.
#include <sql.h>
#include <sqlext.h>

#include <QString>
#include <vector>

#include "platform/client/Connection.h"
#include "platform/client/ErrorMapping.h"
#include "platform/core/Error.h"

namespace ado::odbc {

// Where a call's diagnostics go.
struct Context {
  ErrorCollection* errors = nullptr;  // the connection's collection (may be null)
  Dialect dialect = Dialect::Unknown;
  QString source;  // the provider's name for error records
  // The open connection the call was made on, told when the call finds its
  // link to the server gone (null while connecting).
  Connection::Impl* connection = nullptr;
};

enum class OnError {
  Throw,   // fill Errors and throw Failure
  Ignore,  // return the result: the caller treats the failure as harmless
};

// Returns `rc` when the call succeeded (with or without information) or found
// no data; otherwise acts as `on` says.
SQLRETURN Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const Context& ctx, const char* call,
                OnError on = OnError::Throw);

// Every diagnostic record of the handle's last call.
std::vector<errors::DiagRecord> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// A failure the client detects itself, reported like a provider's: Errors is
// refilled with `e` and a Failure with its number and text is thrown.
[[noreturn]] void Raise(const Context& ctx, const ProviderError& e);

// Failures that are not provider errors (no current record, wrong type, ...):
// the model's own numbers, with ADO's texts. Errors is left alone.
[[noreturn]] void Fail(long number, const QString& source, const QString& detail = {});

}  // namespace ado::odbc
