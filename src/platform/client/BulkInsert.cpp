#include "platform/client/BulkInsert.h"

#include <algorithm>
#include <vector>

#include "platform/client/Busy.h"
#include "platform/client/ConnectionImpl.h"
#include "platform/client/OdbcText.h"
#include "platform/client/Translation.h"

namespace ado {

struct BulkInsert::Impl {
  struct Buffer {
    Column column;
    std::vector<SQLBIGINT> integers;
    std::vector<SQLWCHAR> text;  // (length + 1) units a row
    std::vector<SQLLEN> ind;
  };
  ConnectionPtr connection;
  QString table;
  QVector<Buffer> buffers;
  int rows = 0;    // per full statement
  int filled = 0;  // rows waiting
  long sent = 0;
  odbc::StmtHandle full;  // prepared for `rows` rows, on first use

  QString Text(int count) const {
    QStringList names;
    for (const Buffer& b : buffers) names << b.column.name;
    const QString one =
        QLatin1Char('(') + QStringList(buffers.size(), QStringLiteral("?")).join(',') + QLatin1Char(')');
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES ") + QStringList(count, one).join(',');
  }

  odbc::StmtHandle Prepare(int count) {
    auto& ci = connection->impl();
    const QString adapted = connection->Adapt(Text(count));
    odbc::StmtHandle st = ci.NewStatement();
    const auto ctx = ci.Ctx();
    odbc::Check(odbc::Prepare(st.get(), adapted, ci.dialect), SQL_HANDLE_STMT, st.get(), ctx, "SQLPrepare");
    const int columns = static_cast<int>(buffers.size());
    for (int r = 0; r < count; ++r)
      for (int c = 0; c < columns; ++c) {
        Buffer& b = buffers[c];
        const auto n = static_cast<SQLUSMALLINT>(r * columns + c + 1);
        if (b.column.kind == Kind::BigInt) {
          odbc::Check(SQLBindParameter(st.get(), n, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                       &b.integers[r], 0, &b.ind[r]),
                      SQL_HANDLE_STMT, st.get(), ctx, "SQLBindParameter");
        } else {
          const int width = b.column.length + 1;
          odbc::Check(SQLBindParameter(st.get(), n, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                       static_cast<SQLULEN>(b.column.length), 0, &b.text[r * width],
                                       width * static_cast<SQLLEN>(sizeof(SQLWCHAR)), &b.ind[r]),
                      SQL_HANDLE_STMT, st.get(), ctx, "SQLBindParameter");
        }
      }
    return st;
  }

  // PostgreSQL parses a long VALUES list slowly; a column's values as one array
  // it reads several times faster. The statement is PostgreSQL's own: the
  // client writes it for the engine, as it writes a recordset's.
  QString PostgresText() const {
    QStringList names, arrays;
    for (const Buffer& b : buffers) {
      names << b.column.name;
      QString a;
      a.reserve(filled * (b.column.length + 3) + 16);
      a += QStringLiteral("'{");
      for (int r = 0; r < filled; ++r) {
        if (r) a += QLatin1Char(',');
        if (b.ind[r] == SQL_NULL_DATA) {
          a += QStringLiteral("NULL");
        } else if (b.column.kind == Kind::BigInt) {
          a += QString::number(b.integers[r]);
        } else {
          a += QLatin1Char('"');
          const SQLWCHAR* t = &b.text[static_cast<size_t>(r) * (b.column.length + 1)];
          for (SQLLEN i = 0; i < b.ind[r] / static_cast<SQLLEN>(sizeof(SQLWCHAR)); ++i) {
            const QChar c(t[i]);
            if (c == QLatin1Char('"') || c == QLatin1Char('\\')) a += QLatin1Char('\\');
            if (c == QLatin1Char('\'')) a += c;
            a += c;
          }
          a += QLatin1Char('"');
        }
      }
      a += QStringLiteral("}'::") +
           (b.column.kind == Kind::BigInt ? QStringLiteral("bigint")
                                          : QStringLiteral("varchar(%1)").arg(b.column.length)) +
           QStringLiteral("[]");
      arrays << a;
    }
    return QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
           QStringLiteral(") SELECT * FROM unnest(") + arrays.join(QStringLiteral(", ")) + QLatin1Char(')');
  }

  void SendPostgres() {
    auto& ci = connection->impl();
    const QString text = PostgresText();
    Witnessed(text);
    odbc::StmtHandle st = ci.NewStatement(Connection::Impl::Carry::Keep);
    const auto ctx = ci.Ctx();
    const odbc::BusyScope busy;
    SQLRETURN r = odbc::Check(ci.ExecDirect(st.get(), text), SQL_HANDLE_STMT, st.get(), ctx, "SQLExecDirect");
    while (r != SQL_NO_DATA)
      r = odbc::Check(SQLMoreResults(st.get()), SQL_HANDLE_STMT, st.get(), ctx, "SQLMoreResults");
    sent += filled;
    filled = 0;
    ClearRow();
  }

  void Send(SQLHSTMT st) {
    auto& ci = connection->impl();
    ci.RequireOpen(QStringLiteral("ADODB.Connection"));
    const auto ctx = ci.Ctx();
    const odbc::BusyScope busy;
    SQLRETURN r = odbc::Check(SQLExecute(st), SQL_HANDLE_STMT, st, ctx, "SQLExecute");
    while (r != SQL_NO_DATA) r = odbc::Check(SQLMoreResults(st), SQL_HANDLE_STMT, st, ctx, "SQLMoreResults");
    sent += filled;
    filled = 0;
    ClearRow();
  }

  void ClearRow() {
    for (Buffer& b : buffers) b.ind[filled] = SQL_NULL_DATA;
  }
};

BulkInsert::BulkInsert(const ConnectionPtr& connection, const QString& table, const QVector<Column>& columns,
                       int rowsPerStatement)
    : d_(std::make_unique<Impl>()) {
  d_->connection = connection;
  d_->table = table;
  // What each engine was measured fastest with, within its bounds.
  const int n = std::max<int>(1, static_cast<int>(columns.size()));
  int most = rowsPerStatement;
  switch (connection->GetDialect()) {
    case Dialect::SqlServer:
    case Dialect::Unknown:  // at most 2100 parameters a statement
      most = std::min(most > 0 ? most : 1000, 2000 / n);
      break;
    case Dialect::Oracle:  // no INSERT of several rows
      most = 1;
      break;
    case Dialect::Sqlite:  // its bound on a statement's parameters
      most = std::min(most > 0 ? most : 100, 32000 / n);
      break;
    case Dialect::Postgres:  // one statement without parameters
      most = most > 0 ? most : 5000;
      break;
  }
  d_->rows = std::max(1, most);
  for (const Column& c : columns) {
    Impl::Buffer b;
    b.column = c;
    if (c.kind == Kind::BigInt)
      b.integers.resize(d_->rows);
    else
      b.text.resize(static_cast<size_t>(d_->rows) * (c.length + 1));
    b.ind.assign(d_->rows, SQL_NULL_DATA);
    d_->buffers.push_back(std::move(b));
  }
}

BulkInsert::~BulkInsert() = default;

void BulkInsert::SetBigInt(int column, qint64 value) {
  auto& b = d_->buffers[column];
  b.integers[d_->filled] = value;
  b.ind[d_->filled] = 0;
}

void BulkInsert::SetText(int column, QStringView text) {
  auto& b = d_->buffers[column];
  const int width = b.column.length + 1;
  const auto n = std::min<qsizetype>(text.size(), b.column.length);
  SQLWCHAR* to = &b.text[static_cast<size_t>(d_->filled) * width];
  std::copy_n(reinterpret_cast<const SQLWCHAR*>(text.utf16()), n, to);
  to[n] = 0;
  b.ind[d_->filled] = static_cast<SQLLEN>(n * sizeof(SQLWCHAR));
}

void BulkInsert::EndRow() {
  if (++d_->filled < d_->rows) {
    d_->ClearRow();
    return;
  }
  SendFull();
}

void BulkInsert::SendFull() {
  if (d_->connection->GetDialect() == Dialect::Postgres) return d_->SendPostgres();
  if (!d_->full) d_->full = d_->Prepare(d_->rows);
  d_->Send(d_->full.get());
}

void BulkInsert::Flush() {
  if (d_->filled == 0) return;
  if (d_->filled == d_->rows || d_->connection->GetDialect() == Dialect::Postgres) return SendFull();
  odbc::StmtHandle rest = d_->Prepare(d_->filled);
  d_->Send(rest.get());
}

long BulkInsert::RowsSent() const { return d_->sent; }

}  // namespace ado
