// Schema rowsets (Connection::OpenSchema) from the ODBC catalog functions.
#include <functional>

#include "platform/client/Connection.h"
#include "platform/client/ConnectionImpl.h"
#include "platform/client/Fetch.h"
#include "platform/client/OdbcText.h"
#include "platform/client/RecordsetImpl.h"
#include "platform/client/TableSelect.h"
#include "platform/client/TypeMapping.h"

namespace ado {
namespace {

using Rows = std::vector<std::vector<Value>>;

// Every row of a catalog call (made by `call` on a new statement).
Rows ReadCatalog(Connection::Impl& ci, const std::function<SQLRETURN(SQLHSTMT)>& call, const char* name) {
  const auto ctx = ci.Ctx();
  odbc::StmtHandle st = ci.NewStatement();
  odbc::Check(call(st.get()), SQL_HANDLE_STMT, st.get(), ctx, name);
  const auto cols = odbc::Describe(st.get(), ctx);
  std::vector<Value> cells;
  odbc::RowSink sink;
  sink.cells = &cells;
  sink.stride = cols.size();
  for (int i = 0; i < cols.size(); ++i) sink.place.push_back(i);
  odbc::FetchAll(st.get(), ctx, cols, odbc::FetchMode::GetData, sink);
  Rows rows(sink.rows);
  for (int r = 0; r < sink.rows; ++r)
    rows[r].assign(cells.begin() + static_cast<std::ptrdiff_t>(r) * sink.stride,
                   cells.begin() + static_cast<std::ptrdiff_t>(r + 1) * sink.stride);
  return rows;
}

Value At(const std::vector<Value>& row, int column1) {
  return column1 >= 1 && column1 <= static_cast<int>(row.size()) ? row[column1 - 1] : Null();
}

QString Restriction(const QVector<Value>& r, int i) {
  if (i >= r.size() || IsEmpty(r[i]) || IsNull(r[i])) return {};
  return r[i].toString();
}

// Restrictions are compared without regard to letter case or surrounding blanks,
// so that P_MA_Empresas finds PostgreSQL's p_ma_empresas.
bool Matches(const QString& restriction, const Value& v) {
  if (restriction.isEmpty()) return true;
  return restriction.trimmed().compare(v.toString().trimmed(), Qt::CaseInsensitive) == 0;
}

odbc::ColumnInfo Col(const QString& name, int adoType, long size = 0) {
  odbc::ColumnInfo c;
  c.name = name;
  c.adoType = adoType;
  c.definedSize = size;
  c.typeName = types::IsText(adoType) ? QStringLiteral("nvarchar") : QString();
  c.sqlType = types::IsText(adoType) ? SQL_WVARCHAR : SQL_INTEGER;
  c.columnSize = size;
  return c;
}

}  // namespace

std::unique_ptr<Recordset> Connection::OpenSchema(int schema, const QVector<Value>& restrictions) {
  auto& d = *d_;
  d.RequireOpen(QStringLiteral("ADODB.Connection"));
  if (schema != adSchemaTables && schema != adSchemaColumns)
    odbc::Fail(err::ReadOnly, QStringLiteral("ADODB.Connection"), QStringLiteral("(esquema %1)").arg(schema));

  const Dialect dialect = d.dialect;
  const QString catalog = dialect == Dialect::Sqlite ? QString() : Restriction(restrictions, 0);
  const QString owner = dialect == Dialect::Sqlite ? QString() : Restriction(restrictions, 1);
  const QString table = Restriction(restrictions, 2);
  const QString fourth = Restriction(restrictions, 3);

  // The driver is asked for the table by the name its catalog keeps (folded);
  // the other restrictions are applied here.
  auto fetch = [&](const QString& tableName) {
    QString pattern = tableName;
    if (schema == adSchemaTables) {
      return ReadCatalog(
          d,
          [&](SQLHSTMT st) {
            return SQLTablesW(st, nullptr, 0, nullptr, 0, pattern.isEmpty() ? nullptr : odbc::W(pattern),
                              pattern.isEmpty() ? 0 : SQL_NTS, nullptr, 0);
          },
          "SQLTables");
    }
    return ReadCatalog(
        d,
        [&](SQLHSTMT st) {
          return SQLColumnsW(st, nullptr, 0, nullptr, 0, pattern.isEmpty() ? nullptr : odbc::W(pattern),
                             pattern.isEmpty() ? 0 : SQL_NTS, nullptr, 0);
        },
        "SQLColumns");
  };
  const QString folded = sql::CatalogName(table, dialect);
  Rows raw = fetch(folded);
  if (raw.empty() && folded != table) raw = fetch(table);

  auto rs = std::make_unique<Recordset>();
  auto& r = *rs->d_;
  QVector<odbc::ColumnInfo> cols;
  std::vector<Value> cells;
  int rows = 0;
  // A catalog name is only compared where the engine reports one (SQLite has none).
  auto catalogOk = [&](const Value& v) {
    return catalog.isEmpty() || v.toString().isEmpty() || Matches(catalog, v);
  };

  if (schema == adSchemaTables) {
    cols = {Col("TABLE_CATALOG", adVarWChar, 128), Col("TABLE_SCHEMA", adVarWChar, 128),
            Col("TABLE_NAME", adVarWChar, 128), Col("TABLE_TYPE", adVarWChar, 32),
            Col("DESCRIPTION", adVarWChar, 255)};
    for (const auto& row : raw) {
      const Value cat = At(row, 1), sch = At(row, 2), name = At(row, 3), type = At(row, 4);
      if (!catalogOk(cat) || !Matches(owner, sch) || !Matches(table, name) || !Matches(fourth, type))
        continue;
      cells.insert(cells.end(), {cat, sch, name, type, At(row, 5)});
      ++rows;
    }
  } else {
    cols = {Col("TABLE_CATALOG", adVarWChar, 128),
            Col("TABLE_SCHEMA", adVarWChar, 128),
            Col("TABLE_NAME", adVarWChar, 128),
            Col("COLUMN_NAME", adVarWChar, 128),
            Col("ORDINAL_POSITION", adUnsignedInt, 4),
            Col("COLUMN_HASDEFAULT", adBoolean, 2),
            Col("COLUMN_DEFAULT", adVarWChar, 255),
            Col("IS_NULLABLE", adBoolean, 2),
            Col("DATA_TYPE", adUnsignedSmallInt, 2),
            Col("CHARACTER_MAXIMUM_LENGTH", adUnsignedInt, 4),
            Col("NUMERIC_PRECISION", adUnsignedSmallInt, 2),
            Col("NUMERIC_SCALE", adSmallInt, 2),
            Col("TYPE_NAME", adVarWChar, 128)};
    int ordinal = 0;
    for (const auto& row : raw) {
      const Value cat = At(row, 1), sch = At(row, 2), name = At(row, 3), column = At(row, 4);
      if (!catalogOk(cat) || !Matches(owner, sch) || !Matches(table, name) || !Matches(fourth, column))
        continue;
      const int sqlType = At(row, 5).toInt();
      const QString typeName = At(row, 6).toString();
      const Value size = At(row, 7);
      const Value digits = At(row, 9);
      const auto mapped = types::Map(sqlType, typeName, size.toLongLong(), digits.toInt());
      const Value def = At(row, 13);
      Value position = At(row, 17);
      ++ordinal;
      if (IsNull(position) || IsEmpty(position)) position = ordinal;
      const bool textual = types::IsText(mapped.adoType) || types::IsBinary(mapped.adoType);
      const bool numeric = types::IsInteger(mapped.adoType) || types::IsFloating(mapped.adoType);
      cells.insert(cells.end(),
                   {cat, sch, name, column, Value(position.toInt()),
                    Value(!(IsNull(def) || IsEmpty(def) || def.toString().isEmpty())), def,
                    Value(At(row, 11).toInt() != SQL_NO_NULLS), Value(mapped.adoType),
                    textual ? Value(static_cast<int>(mapped.definedSize)) : Null(),
                    numeric ? Value(size.toInt()) : Null(),
                    numeric && !IsNull(digits) ? Value(digits.toInt()) : Null(), Value(typeName)});
      ++rows;
    }
  }
  r.SetColumns(cols);
  r.cells = std::move(cells);
  r.rows = rows;
  r.pos = 0;
  r.conn = shared_from_this();
  r.lockType = adLockReadOnly;
  r.cursorType = adOpenStatic;
  r.source = schema == adSchemaTables ? QStringLiteral("adSchemaTables") : QStringLiteral("adSchemaColumns");
  r.state = adStateOpen;
  return rs;
}

}  // namespace ado
