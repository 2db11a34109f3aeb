#include "platform/client/ValueConvert.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/client/Constants.h"
#include "platform/client/TypeMapping.h"

namespace ado::convert {
namespace {

// "YYYY-MM-DD[( |T)HH:MM[:SS[.fraction]]]" without anything after it, read by hand:
// drivers return dates as text and a recordset may hold many of them.
bool Digits(QStringView s, qsizetype at, int n, int& out) {
  if (at + n > s.size()) return false;
  int v = 0;
  for (int i = 0; i < n; ++i) {
    const ushort c = s[at + i].unicode();
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = v;
  return true;
}

struct Parts {
  QDate date;
  QTime time;
};

std::optional<Parts> ParseIsoParts(QStringView s) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, ms = 0;
  if (s.size() < 10 || !Digits(s, 0, 4, y) || s[4] != '-' || !Digits(s, 5, 2, mo) || s[7] != '-' ||
      !Digits(s, 8, 2, d))
    return std::nullopt;
  qsizetype i = 10;
  if (i < s.size()) {
    if ((s[i] != ' ' && s[i] != 'T') || !Digits(s, i + 1, 2, h) || i + 3 >= s.size() || s[i + 3] != ':' ||
        !Digits(s, i + 4, 2, mi))
      return std::nullopt;
    i += 6;
    if (i < s.size()) {
      if (s[i] != ':' || !Digits(s, i + 1, 2, se)) return std::nullopt;
      i += 3;
      if (i < s.size()) {
        if (s[i] != '.') return std::nullopt;
        ++i;
        int scale = 100;
        while (i < s.size() && s[i].isDigit()) {
          ms += (s[i].unicode() - '0') * scale;
          scale /= 10;
          ++i;
        }
        if (i != s.size()) return std::nullopt;
      }
    }
  }
  const QDate date(y, mo, d);
  const QTime time(h, mi, se, ms);
  if (!date.isValid() || !time.isValid()) return std::nullopt;
  return Parts{date, time};
}

std::optional<QDateTime> ParseIso(QStringView s) {
  const auto p = ParseIsoParts(s);
  if (!p) return std::nullopt;
  return QDateTime(p->date, p->time);
}

std::optional<QDateTime> ParseDateTime(const QString& in) {
  if (auto fast = ParseIso(in)) return fast;
  const QString t = in.trimmed();
  if (t.isEmpty()) return std::nullopt;
  if (t.size() != in.size())
    if (auto fast = ParseIso(t)) return fast;
  static const char* formats[] = {"yyyy-MM-dd HH:mm:ss.zzz",
                                  "yyyy-MM-dd HH:mm:ss",
                                  "yyyy-MM-dd HH:mm",
                                  "yyyy-MM-ddTHH:mm:ss.zzz",
                                  "yyyy-MM-ddTHH:mm:ss",
                                  "yyyy-MM-dd",
                                  "dd/MM/yyyy HH:mm:ss",
                                  "dd/MM/yyyy HH:mm",
                                  "dd/MM/yyyy",
                                  "d/M/yyyy",
                                  "yyyyMMdd"};
  // Fractions of more than three digits (PostgreSQL's microseconds) are cut to milliseconds.
  QString s = t;
  const qsizetype dot = s.indexOf('.', 10);
  if (dot > 0 && s.size() - dot - 1 > 3) {
    qsizetype end = dot + 1;
    while (end < s.size() && s[end].isDigit()) ++end;
    s = s.left(dot + 4) + s.mid(end);
  }
  for (const char* f : formats) {
    const QDateTime d = QDateTime::fromString(s, QLatin1String(f));
    if (d.isValid()) return d;
    const QDate only = QDate::fromString(s, QLatin1String(f));
    if (only.isValid()) return QDateTime(only, QTime(0, 0));
  }
  if (s.size() > 19 && (s[19] == '+' || s[19] == '-' || s.endsWith('Z'))) {  // with a time zone
    const QDateTime d = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (d.isValid()) return d.toLocalTime();
  }
  return std::nullopt;
}

std::optional<QTime> ParseTime(const QString& in) {
  const QString t = in.trimmed();
  for (const char* f : {"HH:mm:ss.zzz", "HH:mm:ss", "HH:mm"}) {
    const QTime x = QTime::fromString(t.left(QString(f).size()), QLatin1String(f));
    if (x.isValid()) return x;
  }
  return std::nullopt;
}

std::optional<double> ToNumber(const Value& v) {
  if (IsNumber(v)) return v.toDouble();
  if (v.typeId() == QMetaType::Bool) return v.toBool() ? 1.0 : 0.0;
  if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray)
    return NumberFromText(v.toString());
  return std::nullopt;
}

}  // namespace

Value BooleanFromText(const QString& text) {
  const QString t = text.trimmed().toLower();
  if (t == "1" || t == "t" || t == "true" || t == "y" || t == "yes" || t == "-1" || t == "s" || t == "si")
    return true;
  if (t == "0" || t == "f" || t == "false" || t == "n" || t == "no" || t.isEmpty()) return false;
  bool ok = false;
  const double d = t.toDouble(&ok);
  return ok ? Value(d != 0) : Value(true);
}

Value DateFromText(QStringView text, int adoType) {
  if (adoType == adDBDate) {
    // A date alone: no local-time conversion (and its cost) is needed.
    if (const auto p = ParseIsoParts(text)) return p->date;
  } else if (adoType != adDBTime) {
    if (const auto fast = ParseIso(text)) return *fast;
  }
  const QString whole = text.toString();
  if (adoType == adDBTime) {
    if (const auto t = ParseTime(whole)) return *t;
    return whole;
  }
  const auto d = ParseDateTime(whole);
  if (!d) return whole;
  if (adoType == adDBDate) return d->date();
  return *d;
}

std::optional<double> NumberFromText(const QString& text) {
  QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  bool ok = false;
  double d = t.toDouble(&ok);  // C locale: "." decimal separator
  if (ok) return d;
  // A decimal comma with no point ("1234,5").
  if (t.count(',') == 1 && !t.contains('.')) {
    d = QString(t).replace(',', '.').toDouble(&ok);
    if (ok) return d;
  }
  return std::nullopt;
}

namespace {

// A plain decimal text without the zeros that do not change it ("-007.50" is "-7.5").
QString WithoutIdleZeros(QString t) {
  const bool negative = t.startsWith(QLatin1Char('-'));
  if (negative) t.remove(0, 1);
  if (t.contains(QLatin1Char('.'))) {
    while (t.endsWith(QLatin1Char('0'))) t.chop(1);
    if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  }
  while (t.size() > 1 && t.startsWith(QLatin1Char('0')) && t.at(1) != QLatin1Char('.')) t.remove(0, 1);
  if (t.isEmpty() || t == QLatin1String("0")) return QStringLiteral("0");
  return negative ? QLatin1Char('-') + t : t;
}

}  // namespace

bool FitsDouble(const QString& text) {
  const QString t = WithoutIdleZeros(text.trimmed());
  const qsizetype point = t.indexOf(QLatin1Char('.'));
  const int decimals = point < 0 ? 0 : static_cast<int>(t.size() - point - 1);
  return WithoutIdleZeros(QString::number(t.toDouble(), 'f', decimals)) == t;
}

Value ExactNumber(const QString& text) {
  QString t = text.trimmed();
  // A driver may write the decimal separator of the process's locale.
  if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  const auto exact = ExactText(t);
  if (!exact) {
    if (const auto d = NumberFromText(text)) return *d;
    return text;
  }
  if (FitsDouble(*exact)) return exact->toDouble();
  return WithoutIdleZeros(*exact);
}

std::optional<QString> ExactText(const QString& text) {
  const QString t = text.trimmed();
  qsizetype i = t.startsWith(QLatin1Char('-')) ? 1 : 0;
  qsizetype digits = 0;
  bool point = false;
  for (; i < t.size(); ++i) {
    const ushort c = t[i].unicode();
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  return t;
}

std::optional<Value> ForColumn(const Value& v, const odbc::ColumnInfo& col) {
  if (IsEmpty(v) || IsNull(v)) return Null();
  const int t = col.adoType;
  if (types::IsText(t) || t == adGUID || t == adVariant || t == 0) {
    switch (v.typeId()) {
      case QMetaType::QString:
        return v;
      case QMetaType::Bool:
        return Value(v.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
      case QMetaType::Double:
      case QMetaType::Float:
        return Value(QString::number(v.toDouble(), 'g', 15));
      case QMetaType::QDate:
        return Value(v.toDate().toString(QStringLiteral("yyyy-MM-dd")));
      case QMetaType::QDateTime:
        return Value(v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
      case QMetaType::QByteArray:
        return Value(QString::fromUtf8(v.toByteArray()));
      default:
        if (IsNumber(v) || v.canConvert<QString>()) return Value(v.toString());
        return std::nullopt;
    }
  }
  if (types::IsInteger(t)) {
    const auto d = ToNumber(v);
    if (!d || !std::isfinite(*d)) return std::nullopt;
    const double r = std::nearbyint(*d);
    double lo = -9.2e18, hi = 9.2e18;
    switch (t) {
      case adTinyInt:
        lo = -128;
        hi = 127;
        break;
      case adUnsignedTinyInt:
        lo = 0;
        hi = 255;
        break;
      case adSmallInt:
        lo = -32768;
        hi = 32767;
        break;
      case adUnsignedSmallInt:
        lo = 0;
        hi = 65535;
        break;
      case adInteger:
        lo = -2147483648.0;
        hi = 2147483647.0;
        break;
      case adUnsignedInt:
        lo = 0;
        hi = 4294967295.0;
        break;
      default:
        break;
    }
    if (r < lo || r > hi) return std::nullopt;
    if (t == adBigInt || t == adUnsignedBigInt || t == adUnsignedInt) return Value(static_cast<qlonglong>(r));
    return Value(static_cast<int>(r));
  }
  if (types::IsExact(t) && v.typeId() == QMetaType::QString) {
    // A plain decimal text keeps every digit on its way to the engine; a
    // double would lose the fourth decimal of an amount above about 9e11.
    if (const auto exacto = ExactText(v.toString())) return Value(*exacto);
  }
  if (types::IsFloating(t)) {
    const auto d = ToNumber(v);
    if (!d || !std::isfinite(*d)) return std::nullopt;
    return Value(*d);
  }
  if (t == adBoolean) {
    if (v.typeId() == QMetaType::Bool) return v;
    if (IsNumber(v)) return Value(v.toDouble() != 0);
    if (v.typeId() == QMetaType::QString) {
      const QString s = v.toString().trimmed().toLower();
      if (s == "true" || s == "verdadero" || s == "yes" || s == "si" || s == "sí") return Value(true);
      if (s == "false" || s == "falso" || s == "no") return Value(false);
      if (const auto d = NumberFromText(s)) return Value(*d != 0);
    }
    return std::nullopt;
  }
  if (types::IsDateTime(t)) {
    QDateTime dt;
    switch (v.typeId()) {
      case QMetaType::QDateTime:
        dt = v.toDateTime();
        break;
      case QMetaType::QDate:
        dt = QDateTime(v.toDate(), QTime(0, 0));
        break;
      case QMetaType::QTime:
        if (t == adDBTime) return v;
        return std::nullopt;
      case QMetaType::QString: {
        if (t == adDBTime) {
          if (const auto x = ParseTime(v.toString())) return Value(*x);
          return std::nullopt;
        }
        const auto p = ParseDateTime(v.toString());
        if (!p) return std::nullopt;
        dt = *p;
        break;
      }
      default:
        return std::nullopt;
    }
    if (!dt.isValid()) return std::nullopt;
    if (t == adDBDate) return Value(dt.date());
    if (t == adDBTime) return Value(dt.time());
    return Value(dt);
  }
  if (types::IsBinary(t)) {
    if (v.typeId() == QMetaType::QByteArray) return v;
    return std::nullopt;
  }
  return v;
}

}  // namespace ado::convert
