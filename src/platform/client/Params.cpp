#include "platform/client/Params.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

#include "platform/client/Constants.h"
#include "platform/client/TypeMapping.h"
#include "platform/client/ValueConvert.h"
#include "platform/core/Error.h"

namespace ado::odbc {
namespace {

bool IsCharSql(SQLSMALLINT t) {
  return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR || t == SQL_WVARCHAR ||
         t == SQL_WLONGVARCHAR;
}
bool IsBinarySql(SQLSMALLINT t) { return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY; }
bool IsIntegerSql(SQLSMALLINT t) {
  return t == SQL_TINYINT || t == SQL_SMALLINT || t == SQL_INTEGER || t == SQL_BIGINT;
}

template <class T>
QByteArray Raw(const T& v) {
  return QByteArray(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

void Params::Add(const Value& v, const ColumnInfo& col) {
  auto p = std::make_unique<Param>();
  const int t = col.adoType;
  const bool null = IsNull(v) || IsEmpty(v);
  if (types::IsBinary(t)) {
    p->cType = SQL_C_BINARY;
    p->sqlType = IsBinarySql(col.sqlType) ? col.sqlType : SQL_LONGVARBINARY;
    if (!null) p->data = v.toByteArray();
    if (p->data.size() > 8000) p->sqlType = SQL_LONGVARBINARY;
    // PostgreSQL's driver asks the server what a long binary parameter stands for (a
    // large object or bytea) in two more exchanges; the other binary types it writes as bytea.
    if (dialect_ == Dialect::Postgres) p->sqlType = SQL_VARBINARY;
    p->size = std::max<SQLULEN>(p->data.size(), 1);
    p->ind = p->data.size();
  } else if (types::IsInteger(t)) {
    p->cType = SQL_C_SBIGINT;
    p->sqlType = IsIntegerSql(col.sqlType) ? col.sqlType : SQL_BIGINT;
    p->data = Raw<SQLBIGINT>(null ? 0 : v.toLongLong());
    p->ind = sizeof(SQLBIGINT);
  } else if (types::IsExact(t) && !null && v.typeId() == QMetaType::QString && dialect_ == Dialect::Sqlite) {
    // SQLite keeps such a column as a double: a number it cannot hold would be stored as another one.
    const QString text = v.toString();
    if (!convert::FitsDouble(text))
      throw Failure(err::WrongType,
                    QStringLiteral("%1 tiene más cifras de las que esta base guarda exactamente.").arg(text),
                    QStringLiteral("MA_Empresas"));
    p->cType = SQL_C_DOUBLE;
    p->sqlType = SQL_DOUBLE;
    p->size = 15;
    p->data = Raw<double>(text.toDouble());
    p->ind = sizeof(double);
  } else if (types::IsExact(t) &&
             (dialect_ == Dialect::Postgres || (!null && v.typeId() == QMetaType::QString))) {
    // An exact column gets decimal text: the driver writes a double itself with
    // 17 digits, and "0.00050000000000000001" is not the 0.0005 a NUMERIC column
    // holds. A text the program gives is already the exact number.
    const QString text = null ? QString()
                         : v.typeId() == QMetaType::QString
                             ? v.toString()
                             : QString::number(v.toDouble(), 'f', QLocale::FloatingPointShortest);
    const int punto = static_cast<int>(text.indexOf(QLatin1Char('.')));
    p->cType = SQL_C_WCHAR;
    p->sqlType = SQL_NUMERIC;
    p->data = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    p->size = std::max<SQLULEN>(text.size(), 1);
    p->digits = static_cast<SQLSMALLINT>(punto < 0 ? 0 : text.size() - punto - 1);
    p->ind = p->data.size();
  } else if (types::IsFloating(t)) {
    p->cType = SQL_C_DOUBLE;
    p->sqlType = SQL_DOUBLE;
    p->size = 15;
    p->data = Raw<double>(null ? 0.0 : v.toDouble());
    p->ind = sizeof(double);
  } else if (t == adBoolean) {
    p->cType = SQL_C_BIT;
    p->sqlType = SQL_BIT;
    p->size = 1;
    p->data = Raw<unsigned char>(!null && v.toBool() ? 1 : 0);
    p->ind = 1;
  } else if (types::IsDateTime(t) && dialect_ == Dialect::Sqlite) {
    // SQLite keeps dates as text: written the way the demo data and the engine's
    // own functions write them.
    QString text;
    if (!null) {
      if (t == adDBDate) {
        text = v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
      } else if (t == adDBTime) {
        text = v.toTime().toString(QStringLiteral("HH:mm:ss"));
      } else {
        const QDateTime d = v.toDateTime();
        text = d.toString(d.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                          : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
      }
    }
    p->cType = SQL_C_WCHAR;
    p->sqlType = SQL_WVARCHAR;
    p->data = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    p->size = std::max<SQLULEN>(text.size(), 1);
    p->ind = p->data.size();
  } else if (types::IsDateTime(t)) {
    if (t == adDBDate) {
      SQL_DATE_STRUCT d{};
      if (!null) {
        const QDate x = v.toDate();
        d.year = static_cast<SQLSMALLINT>(x.year());
        d.month = static_cast<SQLUSMALLINT>(x.month());
        d.day = static_cast<SQLUSMALLINT>(x.day());
      }
      p->cType = SQL_C_TYPE_DATE;
      p->sqlType = SQL_TYPE_DATE;
      p->size = 10;
      p->data = Raw(d);
      p->ind = sizeof d;
    } else if (t == adDBTime) {
      SQL_TIME_STRUCT d{};
      if (!null) {
        const QTime x = v.toTime();
        d.hour = static_cast<SQLUSMALLINT>(x.hour());
        d.minute = static_cast<SQLUSMALLINT>(x.minute());
        d.second = static_cast<SQLUSMALLINT>(x.second());
      }
      p->cType = SQL_C_TYPE_TIME;
      p->sqlType = SQL_TYPE_TIME;
      p->size = 8;
      p->data = Raw(d);
      p->ind = sizeof d;
    } else {
      SQL_TIMESTAMP_STRUCT d{};
      if (!null) {
        const QDateTime x = v.toDateTime();
        d.year = static_cast<SQLSMALLINT>(x.date().year());
        d.month = static_cast<SQLUSMALLINT>(x.date().month());
        d.day = static_cast<SQLUSMALLINT>(x.date().day());
        d.hour = static_cast<SQLUSMALLINT>(x.time().hour());
        d.minute = static_cast<SQLUSMALLINT>(x.time().minute());
        d.second = static_cast<SQLUSMALLINT>(x.time().second());
        d.fraction = static_cast<SQLUINTEGER>(x.time().msec()) * 1000000u;
      }
      p->cType = SQL_C_TYPE_TIMESTAMP;
      p->sqlType = SQL_TYPE_TIMESTAMP;
      p->size = 23;
      p->digits = 3;
      p->data = Raw(d);
      p->ind = sizeof d;
    }
  } else {
    const QString text = null ? QString() : v.toString();
    p->cType = SQL_C_WCHAR;
    p->sqlType = IsCharSql(col.sqlType) ? col.sqlType : SQL_WVARCHAR;
    p->data = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    p->size = std::max<SQLULEN>(text.size(), 1);
    p->ind = p->data.size();
  }
  if (null) p->ind = SQL_NULL_DATA;
  params_.push_back(std::move(p));
}

void Params::Bind(SQLHSTMT st, const Context& ctx) {
  for (size_t i = 0; i < params_.size(); ++i) {
    Param& p = *params_[i];
    // Empty text still needs a valid pointer.
    if (p.data.isEmpty()) p.data = QByteArray(2, '\0');
    Check(SQLBindParameter(st, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.cType, p.sqlType, p.size,
                           p.digits, p.data.data(), p.data.size(), &p.ind),
          SQL_HANDLE_STMT, st, ctx, "SQLBindParameter");
  }
}

}  // namespace ado::odbc
