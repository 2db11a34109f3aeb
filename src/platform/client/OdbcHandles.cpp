#include "platform/client/OdbcHandles.h"

#include <stdexcept>

namespace ado::odbc {

template <>
void Handle<SQL_HANDLE_ENV>::Reset() {
  if (h_) SQLFreeHandle(SQL_HANDLE_ENV, h_);
  h_ = SQL_NULL_HANDLE;
}

template <>
void Handle<SQL_HANDLE_DBC>::Reset() {
  // A connected handle is disconnected by its owner first (Connection::Close);
  // this only frees it.
  if (h_) SQLFreeHandle(SQL_HANDLE_DBC, h_);
  h_ = SQL_NULL_HANDLE;
}

template <>
void Handle<SQL_HANDLE_STMT>::Reset() {
  if (h_) SQLFreeHandle(SQL_HANDLE_STMT, h_);
  h_ = SQL_NULL_HANDLE;
}

SQLHENV Environment() {
  // Never freed: drivers may still be unloading at process exit.
  static SQLHENV env = [] {
    SQLHENV e = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &e)))
      throw std::runtime_error("cannot allocate the ODBC environment");
    SQLSetEnvAttr(e, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return e;
  }();
  return env;
}

}  // namespace ado::odbc
