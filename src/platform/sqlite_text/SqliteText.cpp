// A loadable SQLite extension that makes text compare as the suite's server
// does: letter case ignored, accents kept, Spanish order. The client loads it
// into every SQLite connection (the driver's LoadExt attribute) and the demo
// tools load it into the sqlite3 shell, so the demo schema's columns can be
// declared with its collation.
//
//   COLLATE ma_es      Spanish, case-insensitive, accent-sensitive, trailing blanks ignored
//   like(p, s[, e])    LIKE with the same rule: 'ferr%' finds "Ferretería", '%CÓRDOBA%' finds "Córdoba";
//                      [a-f], [^0-9] and [%] classes; no escape character but ESCAPE's
//   patindex(p, s)     PATINDEX with the same patterns
//   upper(s), lower(s) every letter, accented ones included
//   reverse(s), stuff(s, start, n, t), ma_char(s, n) (char(n): padded with blanks or cut)
//   ma_sqlite_text()   the extension's version, for the client's check that it is there
// Dates and numbers as the server gives them: SqliteDates.cpp, SqliteNumbers.cpp.
#include <sqlite3ext.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SqliteFunctions.h"

SQLITE_EXTENSION_INIT1

namespace ma_sqlite {

std::string TextOf(sqlite3_value* v) {
  const auto* t = sqlite3_value_text(v);
  return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(sqlite3_value_bytes(v)))
           : std::string();
}

}  // namespace ma_sqlite

namespace {

constexpr const char* kVersion = "2";

std::u32string Decode(const unsigned char* s, int n) {
  std::u32string out;
  out.reserve(static_cast<size_t>(n));
  int i = 0;
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(s, i, n, c);
    out.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(c));
  }
  return out;
}

void Encode(char32_t c, std::string& out) {
  uint8_t buf[U8_MAX_LENGTH];
  int32_t len = 0;
  UBool bad = false;
  U8_APPEND(buf, len, U8_MAX_LENGTH, static_cast<UChar32>(c), bad);
  if (bad) return;
  out.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(len));
}

int Collate(void* arg, int n1, const void* s1, int n2, const void* s2) {
  // 'x' = 'x   ', as the server pads the shorter text before comparing.
  while (n1 > 0 && static_cast<const char*>(s1)[n1 - 1] == ' ') --n1;
  while (n2 > 0 && static_cast<const char*>(s2)[n2 - 1] == ' ') --n2;
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator*>(arg), static_cast<const char*>(s1), n1,
                                              static_cast<const char*>(s2), n2, &status);
  if (U_FAILURE(status)) {  // not valid UTF-8: byte order keeps the answer consistent
    const int c = std::string(static_cast<const char*>(s1), static_cast<size_t>(n1))
                      .compare(std::string(static_cast<const char*>(s2), static_cast<size_t>(n2)));
    return c < 0 ? -1 : c > 0;
  }
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

void CloseCollator(void* arg) { ucol_close(static_cast<UCollator*>(arg)); }

char32_t Fold(char32_t c) {
  return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// One position of a pattern: a character, '_', a class [a-f] / [^0-9] / [%], or
// a character made plain by the escape. `next` is where the following one begins.
struct Item {
  enum Kind { Char, Any, Class, Run } kind = Char;
  char32_t c = 0;
  size_t from = 0, to = 0;  // the class's characters, between the brackets
  bool negated = false;
  size_t next = 0;
};

Item ItemAt(const std::u32string& p, size_t i, char32_t esc, bool hasEsc) {
  Item it;
  it.next = i + 1;
  const char32_t c = p[i];
  if (hasEsc && c == esc && i + 1 < p.size()) {
    it.c = p[i + 1];
    it.next = i + 2;
  } else if (c == U'%') {
    it.kind = Item::Run;
  } else if (c == U'_') {
    it.kind = Item::Any;
  } else if (c == U'[') {
    size_t j = i + 1;
    const bool negated = j < p.size() && p[j] == U'^';
    if (negated) ++j;
    const size_t from = j;
    if (j < p.size() && p[j] == U']') ++j;  // "[]]": a bracket is the first member
    while (j < p.size() && p[j] != U']') ++j;
    if (j < p.size() && j > from) {
      it.kind = Item::Class;
      it.from = from;
      it.to = j;
      it.negated = negated;
      it.next = j + 1;
    } else {
      it.c = c;  // no closing bracket: a plain '['
    }
  } else {
    it.c = c;
  }
  return it;
}

// A range of a class goes by the Spanish order, case ignored: [a-c] holds á, [m-o] holds ñ.
// One collator for every connection: comparing does not change it.
int Order(char32_t a, char32_t b) {
  static UCollator* const es = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("es", &status);
    if (U_FAILURE(status)) return static_cast<UCollator*>(nullptr);
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
  }();
  if (!es) return a < b ? -1 : a > b;
  UChar ua[2], ub[2];
  int32_t na = 0, nb = 0;
  UBool bad = false;
  U16_APPEND(ua, na, 2, static_cast<UChar32>(a), bad);
  U16_APPEND(ub, nb, 2, static_cast<UChar32>(b), bad);
  const UCollationResult r = ucol_strcoll(es, ua, na, ub, nb);
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

bool InClass(const std::u32string& p, const Item& it, char32_t s) {
  const char32_t f = Fold(s);
  bool in = false;
  for (size_t k = it.from; k < it.to && !in; ++k) {
    if (k + 2 < it.to && p[k + 1] == U'-') {
      in = Order(p[k], s) <= 0 && Order(s, p[k + 2]) <= 0;
      k += 2;
    } else {
      in = Fold(p[k]) == f;
    }
  }
  return in != it.negated;
}

// Iterative, going back only to the last '%', so no pattern takes more than
// length x length steps.
bool MatchExactly(const std::u32string& p, const std::u32string& s, char32_t esc, bool hasEsc) {
  size_t pi = 0, si = 0;
  size_t starP = std::u32string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size()) {
      const Item it = ItemAt(p, pi, esc, hasEsc);
      if (it.kind == Item::Run) {
        starP = pi = it.next;
        starS = si;
        continue;
      }
      const bool ok = it.kind == Item::Any ||
                      (it.kind == Item::Class ? InClass(p, it, s[si]) : Fold(it.c) == Fold(s[si]));
      if (ok) {
        pi = it.next;
        ++si;
        continue;
      }
    }
    if (starP == std::u32string::npos) return false;
    pi = starP;
    si = ++starS;
  }
  while (pi < p.size() && p[pi] == U'%') ++pi;
  return pi == p.size();
}

// Blanks at the end of the text matched are ignored, those of the pattern are not.
bool Match(const std::u32string& p, const std::u32string& s, char32_t esc, bool hasEsc) {
  if (MatchExactly(p, s, esc, hasEsc)) return true;
  size_t n = s.size();
  while (n > 0 && s[n - 1] == U' ') --n;
  return n < s.size() && MatchExactly(p, s.substr(0, n), esc, hasEsc);
}

void Like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;  // NULL
  const auto* pat = sqlite3_value_text(argv[0]);
  const int patLen = sqlite3_value_bytes(argv[0]);
  const auto* str = sqlite3_value_text(argv[1]);
  const int strLen = sqlite3_value_bytes(argv[1]);
  char32_t esc = 0;
  if (argc == 3) {
    const std::u32string e = Decode(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]));
    if (e.size() != 1) {
      sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
      return;
    }
    esc = e[0];
  }
  sqlite3_result_int(ctx, Match(Decode(pat, patLen), Decode(str, strLen), esc, argc == 3));
}

// PATINDEX: where the pattern first matches, 1-based; a pattern without a
// leading '%' matches at the start or not at all.
void PatIndex(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) return;
  const std::u32string p = Decode(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]));
  const std::u32string s = Decode(sqlite3_value_text(argv[1]), sqlite3_value_bytes(argv[1]));
  size_t lead = 0;
  while (lead < p.size() && p[lead] == U'%') ++lead;
  if (lead == 0) {
    sqlite3_result_int(ctx, Match(p, s, 0, false) ? 1 : 0);
    return;
  }
  const std::u32string rest = p.substr(lead);
  for (size_t i = 0; i <= s.size(); ++i) {
    if (Match(rest, s.substr(i), 0, false)) {
      sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(i + 1));
      return;
    }
  }
  sqlite3_result_int(ctx, 0);
}

void ResultText(sqlite3_context* ctx, const std::u32string& text) {
  std::string out;
  for (char32_t c : text) Encode(c, out);
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

std::u32string TextArg(sqlite3_value* v) { return Decode(sqlite3_value_text(v), sqlite3_value_bytes(v)); }

void Reverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  std::u32string s = TextArg(argv[0]);
  ResultText(ctx, std::u32string(s.rbegin(), s.rend()));
}

// STUFF(s, start, n, t): n characters from start replaced by t; NULL when start
// is outside the text or n is negative.
void Stuff(sqlite3_context* ctx, int, sqlite3_value** argv) {
  for (int i = 0; i < 3; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
  const std::u32string s = TextArg(argv[0]);
  const sqlite3_int64 start = sqlite3_value_int64(argv[1]), n = sqlite3_value_int64(argv[2]);
  if (start < 1 || start > static_cast<sqlite3_int64>(s.size()) || n < 0) return;
  const size_t from = static_cast<size_t>(start - 1);
  const size_t cut = std::min(s.size() - from, static_cast<size_t>(n));
  const std::u32string t = sqlite3_value_type(argv[3]) == SQLITE_NULL ? std::u32string() : TextArg(argv[3]);
  ResultText(ctx, s.substr(0, from) + t + s.substr(from + cut));
}

// char(n): blanks up to n characters, or cut to n.
void FixedWidth(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  std::u32string s = TextArg(argv[0]);
  const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
  s.resize(static_cast<size_t>(n < 0 ? 0 : n), U' ');
  ResultText(ctx, s);
}

// REPLACE finds its text as the server compares: letter case ignored, accents kept.
void Replace(sqlite3_context* ctx, int, sqlite3_value** argv) {
  for (int i = 0; i < 3; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
  const std::u32string s = TextArg(argv[0]), find = TextArg(argv[1]), with = TextArg(argv[2]);
  if (find.empty()) {
    ResultText(ctx, s);
    return;
  }
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    bool here = i + find.size() <= s.size();
    for (size_t k = 0; here && k < find.size(); ++k) here = Fold(s[i + k]) == Fold(find[k]);
    if (here) {
      out += with;
      i += find.size();
    } else {
      out += s[i++];
    }
  }
  ResultText(ctx, out);
}

// SPACE(n) and REPLICATE(s, n): NULL for a negative count, as the server gives.
void Repeat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;
  const sqlite3_int64 n = sqlite3_value_int64(argv[argc - 1]);
  if (n < 0) return;
  const std::string unit = argc == 1 ? std::string(" ") : ma_sqlite::TextOf(argv[0]);
  if (unit.size() * static_cast<size_t>(n) > 100000000) {
    sqlite3_result_error_toobig(ctx);
    return;
  }
  std::string out;
  out.reserve(unit.size() * static_cast<size_t>(n));
  for (sqlite3_int64 i = 0; i < n; ++i) out += unit;
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

template <UChar32 (*Map)(UChar32)>
void CaseMap(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const std::u32string in = Decode(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]));
  std::string out;
  out.reserve(in.size());
  for (char32_t c : in) Encode(static_cast<char32_t>(Map(static_cast<UChar32>(c))), out);
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void Version(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3_result_text(ctx, kVersion, -1, SQLITE_STATIC);
}

}  // namespace

extern "C" {

#ifdef _WIN32
__declspec(dllexport)
#endif
    int sqlite3_extension_init(sqlite3* db, char** errMsg, const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  UErrorCode status = U_ZERO_ERROR;
  UCollator* es = ucol_open("es", &status);
  if (U_FAILURE(status)) {
    *errMsg = sqlite3_mprintf("ma_sqlite_text: no Spanish collation in ICU (%s)", u_errorName(status));
    return SQLITE_ERROR;
  }
  ucol_setStrength(es, UCOL_SECONDARY);  // base letters and accents count, case does not
  int rc = sqlite3_create_collation_v2(db, "ma_es", SQLITE_UTF8, es, Collate, CloseCollator);
  if (rc != SQLITE_OK) {
    ucol_close(es);
    return rc;
  }
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  for (int n : {2, 3})
    if ((rc = sqlite3_create_function(db, "like", n, flags, nullptr, Like, nullptr, nullptr)) != SQLITE_OK)
      return rc;
  if ((rc = sqlite3_create_function(db, "upper", 1, flags, nullptr, CaseMap<u_toupper>, nullptr, nullptr)) !=
      SQLITE_OK)
    return rc;
  if ((rc = sqlite3_create_function(db, "lower", 1, flags, nullptr, CaseMap<u_tolower>, nullptr, nullptr)) !=
      SQLITE_OK)
    return rc;
  struct Function {
    const char* name;
    int args;
    void (*f)(sqlite3_context*, int, sqlite3_value**);
  };
  static const Function functions[] = {{"patindex", 2, PatIndex}, {"reverse", 1, Reverse},
                                       {"stuff", 4, Stuff},       {"ma_char", 2, FixedWidth},
                                       {"space", 1, Repeat},      {"replicate", 2, Repeat},
                                       {"replace", 3, Replace},   {"ma_sqlite_text", 0, Version}};
  for (const Function& f : functions)
    if ((rc = sqlite3_create_function(db, f.name, f.args, flags, nullptr, f.f, nullptr, nullptr)) !=
        SQLITE_OK)
      return rc;
  if ((rc = ma_sqlite::RegisterDates(db)) != SQLITE_OK) return rc;
  return ma_sqlite::RegisterNumbers(db);
}

}  // extern "C"
