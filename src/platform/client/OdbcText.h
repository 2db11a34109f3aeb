#pragma once
// UTF-16 text across the ODBC wide-character API: unixODBC's SQLWCHAR is a
// 16-bit code unit, the same as QChar, so text converts without copies of
// its own encoding.
#include <sql.h>
#include <sqlext.h>

#include <QByteArray>
#include <QString>

#include "platform/client/Connection.h"

namespace ado::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC with 16-bit SQLWCHAR expected");

// A pointer the ODBC W functions accept; valid while `s` lives and is not changed.
inline SQLWCHAR* W(const QString& s) { return reinterpret_cast<SQLWCHAR*>(const_cast<ushort*>(s.utf16())); }

// The units as they are: QString::fromUtf16 would take a leading U+FEFF or
// U+FFFE for a byte-order mark, dropping it or swapping the bytes of the rest.
inline QString FromW(const SQLWCHAR* p, qsizetype units) {
  return QString(reinterpret_cast<const QChar*>(p), units);
}

// A NUL-terminated wide string of at most `max` units.
inline QString FromW(const SQLWCHAR* p) {
  qsizetype n = 0;
  while (p[n]) ++n;
  return FromW(p, n);
}

// Statement text. The SQLite driver's wide-character path cuts a statement at
// its first character outside the Basic Multilingual Plane (a surrogate pair);
// its narrow path reads UTF-8 as it is, so SQLite gets its statements that way.
inline SQLRETURN ExecDirect(SQLHSTMT st, const QString& text, Dialect dialect) {
  if (dialect != Dialect::Sqlite) return SQLExecDirectW(st, W(text), SQL_NTS);
  QByteArray utf8 = text.toUtf8();
  return SQLExecDirect(st, reinterpret_cast<SQLCHAR*>(utf8.data()), static_cast<SQLINTEGER>(utf8.size()));
}

inline SQLRETURN Prepare(SQLHSTMT st, const QString& text, Dialect dialect) {
  if (dialect != Dialect::Sqlite) return SQLPrepareW(st, W(text), SQL_NTS);
  QByteArray utf8 = text.toUtf8();
  return SQLPrepare(st, reinterpret_cast<SQLCHAR*>(utf8.data()), static_cast<SQLINTEGER>(utf8.size()));
}

}  // namespace ado::odbc
