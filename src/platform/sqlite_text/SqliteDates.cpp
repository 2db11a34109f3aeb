// SQL Server's date arithmetic on the dates SQLite keeps as text
// ('YYYY-MM-DD HH:MM:SS.fff'), with the suite's server settings: dates typed
// as dd/mm/yyyy, weeks beginning on Monday (DATEFIRST 1).
//
//   ma_dateadd(part, n, d)        DATEADD; the rewriter spells the part out ('day')
//   ma_datediff(part, a, b)       DATEDIFF: the boundaries crossed, not whole spans
//   ma_datepart(part, d)          DATEPART
//   ma_datetime(d)                a date as text in the form above (NULL when it is none)
//   ma_format_date(d, style)      CONVERT(varchar, d, style)
//   isdate(d)                     ISDATE
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "SqliteFunctions.h"

SQLITE_EXTENSION_INIT3

namespace ma_sqlite {
namespace {

constexpr long long kMsPerDay = 86400000LL;

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = FloorDiv(y, 400);
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
void CivilFromDays(long long z, long long& y, int& m, int& d) {
  z += 719468;
  const long long era = FloorDiv(z, 146097);
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}
bool Leap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int DaysIn(long long y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && Leap(y) ? 29 : days[m - 1];
}

struct Moment {
  long long days = 0;  // since 1970-01-01
  long long ms = 0;    // since midnight
};

// Reads digits at s[i..]: at least `min`, at most `max`.
bool Digits(const std::string& s, size_t& i, int min, int max, int& out) {
  int n = 0;
  out = 0;
  while (i < s.size() && n < max && s[i] >= '0' && s[i] <= '9') {
    out = out * 10 + (s[i] - '0');
    ++i;
    ++n;
  }
  return n >= min;
}

// The forms the suite's server reads under SET DATEFORMAT dmy: yyyy-mm-dd,
// yyyymmdd, yyyy-mm-ddThh:mi..., dd/mm/yyyy, dd-mm-yyyy and dd.mm.yyyy (two-digit
// years below 50 in this century), each with an optional time hh:mi[:ss[.fff]].
std::optional<Moment> Parse(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  int a = 0, b = 0, c = 0;
  long long y = 0;
  int m = 0, d = 0;
  const size_t start = i;
  if (!Digits(s, i, 1, 8, a)) return std::nullopt;
  const size_t len = i - start;
  if (len == 8) {  // yyyymmdd
    y = a / 10000;
    m = a / 100 % 100;
    d = a % 100;
  } else if (len == 4 && i < s.size() && (s[i] == '-' || s[i] == '/' || s[i] == '.')) {
    const char sep = s[i++];
    if (!Digits(s, i, 1, 2, b) || i >= s.size() || s[i++] != sep || !Digits(s, i, 1, 2, c))
      return std::nullopt;
    y = a;
    m = b;
    d = c;
  } else if (len <= 2 && i < s.size() && (s[i] == '/' || s[i] == '-' || s[i] == '.')) {
    const char sep = s[i++];
    const size_t ys = (Digits(s, i, 1, 2, b) && i < s.size() && s[i++] == sep) ? i : std::string::npos;
    if (ys == std::string::npos || !Digits(s, i, 2, 4, c) || (i - ys != 2 && i - ys != 4))
      return std::nullopt;
    d = a;
    m = b;
    y = i - ys == 2 ? (c < 50 ? 2000 + c : 1900 + c) : c;
  } else {
    return std::nullopt;
  }
  if (m < 1 || m > 12 || d < 1 || y < 1 || y > 9999 || d > DaysIn(y, m)) return std::nullopt;
  Moment r;
  r.days = DaysFromCivil(y, m, d);
  if (i < s.size() && (s[i] == ' ' || s[i] == 'T')) {
    while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
    int h = 0, mi = 0, sec = 0, frac = 0;
    if (!Digits(s, i, 1, 2, h) || i >= s.size() || s[i++] != ':' || !Digits(s, i, 2, 2, mi))
      return std::nullopt;
    if (i < s.size() && s[i] == ':') {
      ++i;
      if (!Digits(s, i, 2, 2, sec)) return std::nullopt;
      if (i < s.size() && s[i] == '.') {
        ++i;
        const size_t fs = i;
        if (!Digits(s, i, 1, 9, frac)) return std::nullopt;
        for (size_t k = i - fs; k < 3; ++k) frac *= 10;
        for (size_t k = i - fs; k > 3; --k) frac /= 10;
      }
    }
    if (h > 23 || mi > 59 || sec > 59) return std::nullopt;
    r.ms = ((h * 60LL + mi) * 60 + sec) * 1000 + frac;
  }
  return i == s.size() ? std::optional<Moment>(r) : std::nullopt;
}

enum class Part {
  None,
  Year,
  Quarter,
  Month,
  DayOfYear,
  Day,
  Week,
  Weekday,
  Hour,
  Minute,
  Second,
  Millisecond,
  IsoWeek
};

Part PartOf(const std::string& name) {
  std::string n;
  for (char c : name) n += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  struct Name {
    const char* text;
    Part part;
  };
  static const Name names[] = {{"year", Part::Year},       {"yy", Part::Year},
                               {"yyyy", Part::Year},       {"quarter", Part::Quarter},
                               {"qq", Part::Quarter},      {"q", Part::Quarter},
                               {"month", Part::Month},     {"mm", Part::Month},
                               {"m", Part::Month},         {"dayofyear", Part::DayOfYear},
                               {"dy", Part::DayOfYear},    {"y", Part::DayOfYear},
                               {"day", Part::Day},         {"dd", Part::Day},
                               {"d", Part::Day},           {"week", Part::Week},
                               {"wk", Part::Week},         {"ww", Part::Week},
                               {"weekday", Part::Weekday}, {"dw", Part::Weekday},
                               {"w", Part::Weekday},       {"hour", Part::Hour},
                               {"hh", Part::Hour},         {"minute", Part::Minute},
                               {"mi", Part::Minute},       {"n", Part::Minute},
                               {"second", Part::Second},   {"ss", Part::Second},
                               {"s", Part::Second},        {"millisecond", Part::Millisecond},
                               {"ms", Part::Millisecond},  {"iso_week", Part::IsoWeek},
                               {"isowk", Part::IsoWeek},   {"isoww", Part::IsoWeek}};
  for (const Name& x : names)
    if (n == x.text) return x.part;
  return Part::None;
}

std::string Format(const Moment& t) {
  long long y = 0;
  int m = 0, d = 0;
  CivilFromDays(t.days, y, m, d);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02lld:%02lld:%02lld.%03lld", y, m, d, t.ms / 3600000,
                t.ms / 60000 % 60, t.ms / 1000 % 60, t.ms % 1000);
  return buf;
}

// Monday 1 .. Sunday 7; 1970-01-01 was a Thursday.
int IsoWeekday(long long days) { return static_cast<int>(((days + 3) % 7 + 7) % 7) + 1; }

bool Arguments(sqlite3_context* ctx, sqlite3_value** argv, int n, Part& part) {
  for (int i = 0; i < n; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return false;
  part = PartOf(TextOf(argv[0]));
  if (part == Part::None) {
    sqlite3_result_error(ctx, ("'" + TextOf(argv[0]) + "' is not a recognized datepart option.").c_str(), -1);
    return false;
  }
  return true;
}

std::optional<Moment> DateArg(sqlite3_context* ctx, sqlite3_value* v) {
  auto t = Parse(TextOf(v));
  if (!t)
    sqlite3_result_error(ctx, "Conversion failed when converting date and/or time from character string.",
                         -1);
  return t;
}

Moment AddMonths(Moment t, long long months) {
  long long y = 0;
  int m = 0, d = 0;
  CivilFromDays(t.days, y, m, d);
  const long long total = y * 12 + (m - 1) + months;
  y = FloorDiv(total, 12);
  m = static_cast<int>(total - y * 12) + 1;
  t.days = DaysFromCivil(y, m, std::min(d, DaysIn(y, m)));
  return t;
}

void DateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Part part;
  if (!Arguments(ctx, argv, 3, part)) return;
  auto t = DateArg(ctx, argv[2]);
  if (!t) return;
  const long long n = static_cast<long long>(sqlite3_value_double(argv[1]));  // a fraction is dropped
  long long step = 0;
  switch (part) {
    case Part::Year:
      *t = AddMonths(*t, 12 * n);
      break;
    case Part::Quarter:
      *t = AddMonths(*t, 3 * n);
      break;
    case Part::Month:
      *t = AddMonths(*t, n);
      break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
      t->days += n;
      break;
    case Part::Week:
      t->days += 7 * n;
      break;
    case Part::Hour:
      step = 3600000;
      break;
    case Part::Minute:
      step = 60000;
      break;
    case Part::Second:
      step = 1000;
      break;
    case Part::Millisecond:
      step = 1;
      break;
    default:
      sqlite3_result_error(ctx, "The datepart is not supported by date function dateadd.", -1);
      return;
  }
  if (step) {
    const long long all = t->days * kMsPerDay + t->ms + n * step;
    t->days = FloorDiv(all, kMsPerDay);
    t->ms = all - t->days * kMsPerDay;
  }
  long long y = 0;
  int m = 0, d = 0;
  CivilFromDays(t->days, y, m, d);
  if (y < 1753 || y > 9999) {
    sqlite3_result_error(ctx, "Adding a value to a 'datetime' column caused an overflow.", -1);
    return;
  }
  const std::string out = Format(*t);
  sqlite3_result_text(ctx, out.c_str(), -1, SQLITE_TRANSIENT);
}

void DateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Part part;
  if (!Arguments(ctx, argv, 3, part)) return;
  const auto a = DateArg(ctx, argv[1]);
  if (!a) return;
  const auto b = DateArg(ctx, argv[2]);
  if (!b) return;
  long long ya = 0, yb = 0;
  int ma = 0, mb = 0, da = 0, db = 0;
  CivilFromDays(a->days, ya, ma, da);
  CivilFromDays(b->days, yb, mb, db);
  const long long msA = a->days * kMsPerDay + a->ms, msB = b->days * kMsPerDay + b->ms;
  long long r = 0;
  switch (part) {
    case Part::Year:
      r = yb - ya;
      break;
    case Part::Quarter:
      r = (yb * 4 + (mb - 1) / 3) - (ya * 4 + (ma - 1) / 3);
      break;
    case Part::Month:
      r = (yb * 12 + mb) - (ya * 12 + ma);
      break;
    case Part::DayOfYear:
    case Part::Day:
    case Part::Weekday:
      r = b->days - a->days;
      break;
    // Weeks are counted by Sundays whatever the first day of the week, as the server does.
    case Part::Week:
      r = FloorDiv(b->days + 4, 7) - FloorDiv(a->days + 4, 7);
      break;
    case Part::Hour:
      r = FloorDiv(msB, 3600000) - FloorDiv(msA, 3600000);
      break;
    case Part::Minute:
      r = FloorDiv(msB, 60000) - FloorDiv(msA, 60000);
      break;
    case Part::Second:
      r = FloorDiv(msB, 1000) - FloorDiv(msA, 1000);
      break;
    case Part::Millisecond:
      r = msB - msA;
      break;
    default:
      sqlite3_result_error(ctx, "The datepart is not supported by date function datediff.", -1);
      return;
  }
  if (r > 2147483647LL || r < -2147483648LL) {
    sqlite3_result_error(ctx, "The datediff function resulted in an overflow.", -1);
    return;
  }
  sqlite3_result_int64(ctx, r);
}

void DatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Part part;
  if (!Arguments(ctx, argv, 2, part)) return;
  const auto t = DateArg(ctx, argv[1]);
  if (!t) return;
  long long y = 0;
  int m = 0, d = 0;
  CivilFromDays(t->days, y, m, d);
  const long long doy = t->days - DaysFromCivil(y, 1, 1) + 1;
  long long r = 0;
  switch (part) {
    case Part::Year:
      r = y;
      break;
    case Part::Quarter:
      r = (m - 1) / 3 + 1;
      break;
    case Part::Month:
      r = m;
      break;
    case Part::DayOfYear:
      r = doy;
      break;
    case Part::Day:
      r = d;
      break;
    // Week 1 holds January 1st; each week begins on a Monday.
    case Part::Week:
      r = (doy - 1 + IsoWeekday(DaysFromCivil(y, 1, 1)) - 1) / 7 + 1;
      break;
    case Part::Weekday:
      r = IsoWeekday(t->days);
      break;
    case Part::Hour:
      r = t->ms / 3600000;
      break;
    case Part::Minute:
      r = t->ms / 60000 % 60;
      break;
    case Part::Second:
      r = t->ms / 1000 % 60;
      break;
    case Part::Millisecond:
      r = t->ms % 1000;
      break;
    case Part::IsoWeek: {
      // The week's Thursday decides its year.
      const long long thursday = t->days - IsoWeekday(t->days) + 4;
      long long ty = 0;
      int tm = 0, td = 0;
      CivilFromDays(thursday, ty, tm, td);
      r = (thursday - DaysFromCivil(ty, 1, 1)) / 7 + 1;
      break;
    }
    default:
      return;
  }
  sqlite3_result_int64(ctx, r);
}

void DateTime(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const auto t = Parse(TextOf(argv[0]));
  if (!t) return;
  const std::string out = Format(*t);
  sqlite3_result_text(ctx, out.c_str(), -1, SQLITE_TRANSIENT);
}

void IsDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int type = sqlite3_value_type(argv[0]);
  sqlite3_result_int(ctx, type == SQLITE_TEXT && Parse(TextOf(argv[0])) ? 1 : 0);
}

// CONVERT's styles for dates: the century-less ones (1-12) give two-digit years; 0 and 100
// (also a datetime made text without a style) name the month in Spanish.
void FormatDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const std::string text = TextOf(argv[0]);
  const auto t = Parse(text);
  if (!t) {  // not a date: CONVERT gives it as it is
    sqlite3_result_text(ctx, text.c_str(), -1, SQLITE_TRANSIENT);
    return;
  }
  long long y = 0;
  int m = 0, d = 0;
  CivilFromDays(t->days, y, m, d);
  const int h = static_cast<int>(t->ms / 3600000), mi = static_cast<int>(t->ms / 60000 % 60),
            s = static_cast<int>(t->ms / 1000 % 60), ms = static_cast<int>(t->ms % 1000);
  const int style = sqlite3_value_int(argv[1]);
  const int yy = static_cast<int>(y % 100);
  char buf[48];
  switch (style) {
    case 1:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", m, d, yy);
      break;
    case 2:
      std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", yy, m, d);
      break;
    case 3:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", d, m, yy);
      break;
    case 4:
      std::snprintf(buf, sizeof buf, "%02d.%02d.%02d", d, m, yy);
      break;
    case 5:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%02d", d, m, yy);
      break;
    case 10:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%02d", m, d, yy);
      break;
    case 11:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", yy, m, d);
      break;
    case 12:
      std::snprintf(buf, sizeof buf, "%02d%02d%02d", yy, m, d);
      break;
    case 8:
    case 24:
    case 108:
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, mi, s);
      break;
    case 23:
      std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d", y, m, d);
      break;
    case 101:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04lld", m, d, y);
      break;
    case 102:
      std::snprintf(buf, sizeof buf, "%04lld.%02d.%02d", y, m, d);
      break;
    case 103:
      std::snprintf(buf, sizeof buf, "%02d/%02d/%04lld", d, m, y);
      break;
    case 104:
      std::snprintf(buf, sizeof buf, "%02d.%02d.%04lld", d, m, y);
      break;
    case 105:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%04lld", d, m, y);
      break;
    case 110:
      std::snprintf(buf, sizeof buf, "%02d-%02d-%04lld", m, d, y);
      break;
    case 111:
      std::snprintf(buf, sizeof buf, "%04lld/%02d/%02d", y, m, d);
      break;
    case 112:
      std::snprintf(buf, sizeof buf, "%04lld%02d%02d", y, m, d);
      break;
    case 20:
    case 120:
      std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02d:%02d:%02d", y, m, d, h, mi, s);
      break;
    case 21:
    case 25:
    case 121:
      std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02d:%02d:%02d.%03d", y, m, d, h, mi, s, ms);
      break;
    case 0:
    case 100: {
      static const char* const months[] = {"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                           "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
      std::snprintf(buf, sizeof buf, "%s %2d %04lld %2d:%02d%s", months[m - 1], d, y, h % 12 ? h % 12 : 12,
                    mi, h < 12 ? "AM" : "PM");
      break;
    }
    default:
      sqlite3_result_error(
          ctx,
          (std::to_string(style) +
           " is not a valid style number when converting from datetime to a character string.")
              .c_str(),
          -1);
      return;
  }
  sqlite3_result_text(ctx, buf, -1, SQLITE_TRANSIENT);
}

}  // namespace

int RegisterDates(sqlite3* db) {
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  struct Function {
    const char* name;
    int args;
    void (*f)(sqlite3_context*, int, sqlite3_value**);
  };
  static const Function functions[] = {{"ma_dateadd", 3, DateAdd},   {"ma_datediff", 3, DateDiff},
                                       {"ma_datepart", 2, DatePart}, {"ma_datetime", 1, DateTime},
                                       {"isdate", 1, IsDate},        {"ma_format_date", 2, FormatDate}};
  for (const Function& f : functions) {
    const int rc = sqlite3_create_function(db, f.name, f.args, flags, nullptr, f.f, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace ma_sqlite
