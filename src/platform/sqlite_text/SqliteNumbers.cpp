// SQL Server's numbers for SQLite: text compared with a number is converted to
// that number's type (or fails as the server fails, never a silent false), and
// the numeric functions SQLite lacks or answers differently.
//
//   ma_to_int(x), ma_to_decimal(x)   text -> number; a number passes unchanged
//   ma_is_int(x), ma_is_decimal(x)   1, or the error the conversion would raise
//   isnumeric(x)                     ISNUMERIC
//   ma_round(x, d[, f])              ROUND with negative places and its truncating third argument
//   ceiling(x), floor(x), square(x)
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SqliteFunctions.h"

SQLITE_EXTENSION_INIT3

namespace ma_sqlite {
namespace {

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return s.substr(a, b - a);
}

// An optional sign and digits, with a decimal point where `decimals` allows one.
bool Plain(const std::string& s, bool decimals) {
  size_t i = s[0] == '+' || s[0] == '-' ? 1 : 0;
  bool digit = false, point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digit = true;
    } else if (s[i] == '.' && decimals && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

// False when it refused the value (the error is the result).
bool Convert(sqlite3_context* ctx, sqlite3_value* v, bool decimals) {
  const int type = sqlite3_value_type(v);
  if (type == SQLITE_NULL) return true;
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
    sqlite3_result_value(ctx, v);
    return true;
  }
  const std::string raw = TextOf(v);
  const std::string s = Trim(raw);
  if (s.empty() && !decimals) {  // '' is 0 as an int
    sqlite3_result_int(ctx, 0);
    return true;
  }
  if (s.empty() || !Plain(s, decimals)) {
    const std::string message =
        decimals ? "Error converting data type varchar to numeric."
                 : "Conversion failed when converting the varchar value '" + raw + "' to data type int.";
    sqlite3_result_error(ctx, message.c_str(), -1);
    return false;
  }
  if (s.find('.') == std::string::npos) {
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(s.c_str(), &end, 10);
    if (errno == 0 && (decimals || (n >= -2147483648LL && n <= 2147483647LL))) {
      sqlite3_result_int64(ctx, n);
      return true;
    }
    if (!decimals) {
      sqlite3_result_error(
          ctx, ("The conversion of the varchar value '" + raw + "' overflowed an int column.").c_str(), -1);
      return false;
    }
  }
  sqlite3_result_double(ctx, std::strtod(s.c_str(), nullptr));
  return true;
}

void ToInt(sqlite3_context* ctx, int, sqlite3_value** argv) { Convert(ctx, argv[0], false); }
void ToDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) { Convert(ctx, argv[0], true); }
// 1 when the value converts as ma_to_int / ma_to_decimal would, their error when it does not.
template <bool Decimals>
void Converts(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (Convert(ctx, argv[0], Decimals)) sqlite3_result_int(ctx, 1);
}

// What converts to some number type: signs, digits, a point, an exponent,
// currency signs and thousands commas, blanks around.
void IsNumeric(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int type = sqlite3_value_type(argv[0]);
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
    sqlite3_result_int(ctx, 1);
    return;
  }
  if (type != SQLITE_TEXT) {
    sqlite3_result_int(ctx, 0);
    return;
  }
  std::string s = Trim(TextOf(argv[0]));
  // A currency sign before or after the sign: $ £ ¥ ¢ €.
  auto currency = [&](size_t at) -> size_t {
    for (const char* c : {"$", "\xC2\xA3", "\xC2\xA5", "\xC2\xA2", "\xE2\x82\xAC"})
      if (s.compare(at, std::strlen(c), c) == 0) return std::strlen(c);
    return 0;
  };
  auto sign = [&](size_t at) -> size_t { return at < s.size() && (s[at] == '+' || s[at] == '-') ? 1 : 0; };
  size_t i = 0;
  if (const size_t c = currency(i)) {
    i += c;
    i += sign(i);
  } else if (sign(i)) {
    ++i;
    i += currency(i);
  }
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == ',' && !point) {
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E') && digits) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool exp = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      ++i;
      exp = true;
    }
    if (!exp) digits = false;
  }
  sqlite3_result_int(ctx, digits && i == s.size() ? 1 : 0);
}

// Half away from zero at `places` (negative places round to tens, hundreds...);
// a third argument other than 0 truncates instead.
void Round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
  const int places = sqlite3_value_int(argv[1]);
  const bool truncate = argc == 3 && sqlite3_value_int(argv[2]) != 0;
  const bool integer = sqlite3_value_type(argv[0]) == SQLITE_INTEGER;
  const double x = sqlite3_value_double(argv[0]);
  const double scale = std::pow(10.0, places);
  // The decimal the value was written as, not its binary neighbour: 2.675 is 2.675.
  const double scaled = std::stod(std::to_string(x * scale).substr(0, 40));
  const double r = (truncate ? std::trunc(scaled) : std::round(scaled)) / scale;
  if (integer)
    sqlite3_result_int64(ctx, static_cast<long long>(r));
  else
    sqlite3_result_double(ctx, r);
}

// A whole number as an integer, as the server shows it: CEILING(-2.5) is -2.
void ResultWhole(sqlite3_context* ctx, double r) {
  if (std::isfinite(r) && std::trunc(r) == r && std::fabs(r) < 9e15)
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(r));
  else
    sqlite3_result_double(ctx, r);
}

template <double (*F)(double)>
void Whole(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int type = sqlite3_value_type(argv[0]);
  if (type == SQLITE_NULL) return;
  if (type == SQLITE_INTEGER) {
    sqlite3_result_value(ctx, argv[0]);
    return;
  }
  ResultWhole(ctx, F(sqlite3_value_double(argv[0])));
}

void Square(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const double x = sqlite3_value_double(argv[0]);
  ResultWhole(ctx, x * x);
}

}  // namespace

int RegisterNumbers(sqlite3* db) {
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  struct Function {
    const char* name;
    int args;
    void (*f)(sqlite3_context*, int, sqlite3_value**);
  };
  static const Function functions[] = {{"ma_to_int", 1, ToInt},
                                       {"ma_to_decimal", 1, ToDecimal},
                                       {"ma_is_int", 1, Converts<false>},
                                       {"ma_is_decimal", 1, Converts<true>},
                                       {"isnumeric", 1, IsNumeric},
                                       {"ma_round", 2, Round},
                                       {"ma_round", 3, Round},
                                       {"ceiling", 1, Whole<std::ceil>},
                                       {"floor", 1, Whole<std::floor>},
                                       {"square", 1, Square}};
  for (const Function& f : functions) {
    const int rc = sqlite3_create_function(db, f.name, f.args, flags, nullptr, f.f, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

}  // namespace ma_sqlite
