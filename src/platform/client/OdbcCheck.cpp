#include "platform/client/OdbcCheck.h"

#include "platform/client/ConnectionImpl.h"
#include "platform/client/OdbcText.h"

namespace ado::odbc {
namespace {

QString AdoText(long number) {
  switch (number) {
    case err::NoCurrentRecord:
      return QStringLiteral(
          "BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere un registro "
          "actual.");
    case err::ItemNotFound:
      return QStringLiteral(
          "No se encontró el elemento en la colección que corresponde con el nombre o el ordinal "
          "solicitado.");
    case err::WrongType:
      return QStringLiteral("La aplicación usa un valor de tipo incorrecto para la operación actual.");
    case err::ReadOnly:
      return QStringLiteral(
          "El conjunto de registros actual no admite actualizaciones. Puede que se trate de una limitación "
          "del "
          "proveedor o del tipo de bloqueo seleccionado.");
    case err::ObjectClosed:
      return QStringLiteral("No se permite realizar esta operación si el objeto está cerrado.");
    case 3705:
      return QStringLiteral("No se permite realizar esta operación si el objeto está abierto.");
    case 3001:
      return QStringLiteral(
          "Los argumentos son de tipo incorrecto, están fuera del intervalo aceptable o están en conflicto.");
    case 3219:
      return QStringLiteral("No se permite realizar esta operación en este contexto.");
    default:
      return QStringLiteral("Error %1.").arg(number);
  }
}

}  // namespace

std::vector<errors::DiagRecord> Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::vector<errors::DiagRecord> out;
  if (!handle) return out;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLWCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    std::vector<SQLWCHAR> msg(1024);
    SQLRETURN r = SQLGetDiagRecW(handleType, handle, i, state, &native, msg.data(),
                                 static_cast<SQLSMALLINT>(msg.size()), &len);
    if (r == SQL_SUCCESS_WITH_INFO && len >= static_cast<SQLSMALLINT>(msg.size())) {
      msg.resize(static_cast<size_t>(len) + 1);
      r = SQLGetDiagRecW(handleType, handle, i, state, &native, msg.data(),
                         static_cast<SQLSMALLINT>(msg.size()), &len);
    }
    if (!SQL_SUCCEEDED(r)) break;
    errors::DiagRecord d;
    d.sqlState = FromW(state, 5);
    d.native = native;
    d.message = FromW(msg.data(), std::min<qsizetype>(len, static_cast<qsizetype>(msg.size()) - 1)).trimmed();
    out.push_back(std::move(d));
  }
  return out;
}

SQLRETURN Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const Context& ctx, const char* call,
                OnError on) {
  if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA) return rc;
  if (on == OnError::Ignore) return rc;
  std::vector<ProviderError> records;
  FailureKind kind = FailureKind::Ordinary;
  QString lost;
  for (const auto& d : Diagnostics(handleType, handle)) {
    records.push_back(errors::Normalise(ctx.dialect, d, ctx.source));
    if (ctx.connection && errors::IsConnectionLost(d)) {
      kind = ctx.connection->MarkLost();
      records.back().Description = ctx.connection->LostText(kind, d.message);
      if (lost.isEmpty()) lost = records.back().Description;
    }
  }
  if (records.empty()) {
    ProviderError e;
    e.Number = err::Unspecified;
    e.Description = rc == SQL_INVALID_HANDLE
                        ? QStringLiteral("%1: identificador ODBC no válido").arg(QLatin1String(call))
                        : QStringLiteral("%1 falló (código %2) sin información del controlador")
                              .arg(QLatin1String(call))
                              .arg(rc);
    e.Source = ctx.source;
    records.push_back(e);
  }
  if (ctx.errors) {
    ctx.errors->Clear();
    for (const auto& e : records) ctx.errors->Add(e);
  }
  const ProviderError& first = records.front();
  throw Failure(ErrorInfo{first.Number, lost.isEmpty() ? first.Description : lost, first.Source, kind});
}

void Raise(const Context& ctx, const ProviderError& e) {
  if (ctx.errors) {
    ctx.errors->Clear();
    ctx.errors->Add(e);
  }
  throw Failure(ErrorInfo{e.Number, e.Description, e.Source});
}

void Fail(long number, const QString& source, const QString& detail) {
  QString text = AdoText(number);
  if (!detail.isEmpty()) text += ' ' + detail;
  throw Failure(ErrorInfo{number, text, source});
}

}  // namespace ado::odbc
