#pragma once
// Owners of ODBC handles. The environment is shared by every connection of the
// process and created on first use.
#include <sql.h>
#include <sqlext.h>

#include <utility>

namespace ado::odbc {

template <SQLSMALLINT Type>
class Handle {
 public:
  Handle() = default;
  explicit Handle(SQLHANDLE h) : h_(h) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Handle& operator=(Handle&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  void Reset();
  SQLHANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != SQL_NULL_HANDLE; }

 private:
  SQLHANDLE h_ = SQL_NULL_HANDLE;
};

using EnvHandle = Handle<SQL_HANDLE_ENV>;
using DbcHandle = Handle<SQL_HANDLE_DBC>;
using StmtHandle = Handle<SQL_HANDLE_STMT>;

template <>
void Handle<SQL_HANDLE_ENV>::Reset();
template <>
void Handle<SQL_HANDLE_DBC>::Reset();
template <>
void Handle<SQL_HANDLE_STMT>::Reset();

// The process's ODBC 3 environment.
SQLHENV Environment();

}  // namespace ado::odbc
