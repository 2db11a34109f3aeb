#pragma once
// Parameters of the statements a recordset generates, bound by the column's
// type so that every engine compares and stores them as that type.
#include <sql.h>
#include <sqlext.h>

#include <QByteArray>
#include <memory>
#include <vector>

#include "platform/client/ColumnInfo.h"
#include "platform/client/Connection.h"
#include "platform/client/OdbcCheck.h"
#include "platform/core/Value.h"

namespace ado::odbc {

class Params {
 public:
  explicit Params(Dialect d) : dialect_(d) {}
  // A value for a column of type `col` (already converted to that type, or Null).
  void Add(const Value& v, const ColumnInfo& col);
  void Bind(SQLHSTMT st, const Context& ctx);
  size_t Count() const { return params_.size(); }

 private:
  struct Param {
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLSMALLINT sqlType = SQL_WVARCHAR;
    SQLULEN size = 0;
    SQLSMALLINT digits = 0;
    QByteArray data;
    SQLLEN ind = 0;
  };
  Dialect dialect_;
  std::vector<std::unique_ptr<Param>> params_;  // stable addresses while bound
};

}  // namespace ado::odbc
